#include "LatinKeysTypeArmenian.h"

#include "text/PhoneticArmenian.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace tavelin {

LatinKeysTypeArmenian::LatinKeysTypeArmenian(QObject* parent) : QObject(parent) {
    setObjectName(QStringLiteral("LatinKeysTypeArmenian"));
}

bool LatinKeysTypeArmenian::eventFilter(QObject* watched, QEvent* event) {
    if (!on_ || event->type() != QEvent::KeyPress) {
        return false;
    }
    auto* key = static_cast<QKeyEvent*>(event);
    constexpr auto kNotTyping =
        Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier | Qt::KeypadModifier;
    const QString text = key->text();
    if ((key->modifiers() & kNotTyping) != 0 || text.size() != 1) {
        return false;
    }
    const char32_t armenian = phoneticArmenian(text[0].unicode());
    if (armenian == text[0].unicode()) {
        return false;
    }
    // The box gets the same key with the Armenian letter as its text.
    QKeyEvent typed(QEvent::KeyPress, key->key(), key->modifiers(), key->nativeScanCode(),
                    key->nativeVirtualKey(), key->nativeModifiers(),
                    QString(QChar(static_cast<char16_t>(armenian))), key->isAutoRepeat(),
                    static_cast<quint16>(key->count()));
    QCoreApplication::sendEvent(watched, &typed);
    event->setAccepted(typed.isAccepted());
    return true;
}

} // namespace tavelin
