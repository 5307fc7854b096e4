#include "FilteredWordBox.h"

#include "Stugum.h"
#include "platform/TextCodec.h"

#include <QKeyEvent>

namespace tavelin::editing {
namespace {

constexpr int kEnter = 13;

bool isEnter(const QKeyEvent* event) {
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
           (event->key() == 0 && event->text() == QLatin1String("\r"));
}

// Whether the key types text, rather than editing, moving or being a shortcut.
bool typesText(const QKeyEvent* event) {
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        return false;
    }
    const QString text = event->text();
    if (text.isEmpty()) {
        return false;
    }
    for (QChar ch : text) {
        if (ch.unicode() < 32 || ch.unicode() == 127) {
            return false; // Backspace, Esc, Delete and the like
        }
    }
    return true;
}

} // namespace

FilteredWordBox::FilteredWordBox(Side side, QWidget* parent) : WordBox(side, parent) {}

void FilteredWordBox::keyPressEvent(QKeyEvent* event) {
    if (!keyPress_) {
        WordBox::keyPressEvent(event);
        return;
    }
    if (isEnter(event)) {
        event->accept();
        const int code = keyPress_(kEnter);
        if (code != 0 && code != kEnter) {
            insert(toDisplay(side(), std::string(1, static_cast<char>(code))));
        }
        return;
    }
    if (!typesText(event)) {
        WordBox::keyPressEvent(event);
        return;
    }
    event->accept();
    const CharacterSet& set = CharacterSet::of(side());
    const QString text = event->text();
    QString typed;
    for (qsizetype i = 0; i < text.size(); ++i) {
        std::optional<unsigned char> code;
        if (text[i].isHighSurrogate() && i + 1 < text.size()) {
            ++i; // a character beyond the basic plane has no 8-bit code
        } else if (!text[i].isSurrogate()) {
            code = set.fromUnicode(text[i].unicode());
        }
        if (!code) {
            Stugum::Beep();
            continue;
        }
        const int result = keyPress_(*code);
        if (result > 0 && result < 256) {
            typed += toDisplay(side(), std::string(1, static_cast<char>(result)));
        }
    }
    if (typed == text) {
        WordBox::keyPressEvent(event);
    } else if (!typed.isEmpty()) {
        insert(typed);
    }
}

} // namespace tavelin::editing
