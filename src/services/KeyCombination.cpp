#include "KeyCombination.h"

#include "platform/WindowProc.h"

#include <QList>

namespace tavelin::hotkey {
namespace {

constexpr unsigned kFunctionKeys = 24;

struct ModifierName {
    const char* name;
    unsigned bit;
};

constexpr ModifierName kModifiers[] = {
    {"Ctrl", winproc::kModControl}, {"Control", winproc::kModControl}, {"Alt", winproc::kModAlt},
    {"Shift", winproc::kModShift},  {"Win", winproc::kModWin},         {"Super", winproc::kModWin},
    {"Meta", winproc::kModWin},
};

// The modifier bit a part names, or 0.
unsigned modifierOf(QStringView part) {
    for (const ModifierName& modifier : kModifiers) {
        if (part.compare(QLatin1String(modifier.name), Qt::CaseInsensitive) == 0) {
            return modifier.bit;
        }
    }
    return 0;
}

// The virtual key a part names, or 0.
unsigned keyOf(QStringView part) {
    if (part.size() == 1) {
        const char16_t ch = part.front().toUpper().unicode();
        if ((ch >= u'A' && ch <= u'Z') || (ch >= u'0' && ch <= u'9')) {
            return ch;
        }
        return 0;
    }
    if (part.size() <= 3 && (part.front() == u'F' || part.front() == u'f')) {
        bool number = false;
        const unsigned n = part.mid(1).toUInt(&number);
        // Digits only, without a leading zero: "F09" or "F 9" is no key's name.
        const QChar first = part.at(1);
        if (number && n >= 1 && n <= kFunctionKeys && first.isDigit() && first != u'0' &&
            part.back().isDigit()) {
            return winproc::kKeyF1 + n - 1;
        }
    }
    return 0;
}

KeyText bad(const QString& why) {
    return {KeyText::Kind::Bad, {}, why};
}

} // namespace

KeyText parseKeyCombination(QStringView text) {
    const QStringView trimmed = text.trimmed();
    if (trimmed.compare(QLatin1String("None"), Qt::CaseInsensitive) == 0) {
        return {KeyText::Kind::None, {}, {}};
    }
    if (trimmed.isEmpty()) {
        return bad(QStringLiteral("it is empty"));
    }
    const QList<QStringView> parts = trimmed.split(u'+');
    KeyCombination key;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QStringView part = parts[i].trimmed();
        if (part.isEmpty()) {
            return bad(QStringLiteral("a part between two '+' is missing"));
        }
        const bool last = i + 1 == parts.size();
        if (const unsigned bit = modifierOf(part); bit != 0) {
            if (last) {
                return bad(QStringLiteral("it names modifiers but no key"));
            }
            key.modifiers |= bit;
            continue;
        }
        const unsigned virtualKey = keyOf(part);
        if (virtualKey == 0) {
            return bad(QStringLiteral("\"%1\" is no key this program knows (F1 to F24, A to Z, "
                                      "0 to 9)")
                           .arg(part));
        }
        if (!last) {
            return bad(QStringLiteral("it names more than one key"));
        }
        key.virtualKey = virtualKey;
    }
    const bool character = key.virtualKey < winproc::kKeyF1;
    if (character &&
        (key.modifiers & (winproc::kModControl | winproc::kModAlt | winproc::kModWin)) == 0) {
        return bad(QStringLiteral("a letter or digit needs Ctrl, Alt or Win, or it would be "
                                  "taken from every program"));
    }
    return {KeyText::Kind::Key, key, {}};
}

QString keyName(const KeyCombination& key) {
    QString name;
    const std::pair<unsigned, const char*> modifiers[] = {{winproc::kModControl, "Ctrl+"},
                                                          {winproc::kModAlt, "Alt+"},
                                                          {winproc::kModShift, "Shift+"},
                                                          {winproc::kModWin, "Win+"}};
    for (const auto& [bit, text] : modifiers) {
        if ((key.modifiers & bit) != 0) {
            name += QLatin1String(text);
        }
    }
    if (key.virtualKey >= winproc::kKeyF1) {
        name += QStringLiteral("F%1").arg(key.virtualKey - winproc::kKeyF1 + 1);
    } else {
        name += QChar(static_cast<char16_t>(key.virtualKey));
    }
    return name;
}

} // namespace tavelin::hotkey
