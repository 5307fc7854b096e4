#include "WordBox.h"

#include "platform/TextCodec.h"

namespace tavelin {

WordBox::WordBox(Side side, QWidget* parent) : QLineEdit(parent), side_(side) {
    connect(this, &QLineEdit::textChanged, this, [this] { emit change(); });
}

std::optional<std::string> WordBox::codes() const {
    return fromDisplay(side_, text());
}

void WordBox::setCodes(std::string_view codes) {
    setText(toDisplay(side_, codes));
}

} // namespace tavelin
