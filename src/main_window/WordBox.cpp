#include "WordBox.h"

#include "platform/TextCodec.h"
#include "widgets/ApplicationStyle.h"
#include "widgets/CachedPanelStyle.h"

namespace tavelin {

WordBox::WordBox(Side side, QWidget* parent) : QLineEdit(parent), side_(side) {
    // Drawn whole at every change of its text: the panel around the text is
    // copied, not drawn anew.
    setStyle(sharedStyle<CachedPanelStyle>());
    connect(this, &QLineEdit::textChanged, this, [this] { emit change(); });
}

bool WordBox::showsWord() const {
    return isReadOnly() && !shownText_.isNull() && text() == shownText_;
}

std::optional<std::string> WordBox::codes() const {
    if (showsWord()) {
        return shownWord_;
    }
    return fromDisplay(side_, text());
}

QString WordBox::wholeText() const {
    return showsWord() ? toDisplay(side_, shownWord_) : text();
}

void WordBox::setCodes(std::string_view codes) {
    if (!isReadOnly()) {
        shownWord_.clear();
        shownText_ = QString();
        setText(toDisplay(side_, codes.substr(0, kShownCodes)));
        return;
    }
    shownWord_.assign(codes);
    shownText_ = toShown(side_, codes);
    setText(shownText_);
}

} // namespace tavelin
