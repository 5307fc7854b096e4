#pragma once

// A global key combination as a person writes it in Options.ini: modifiers
// and one key joined by '+', in any case and with blanks allowed around each
// part, such as "Ctrl+F9", "ctrl + alt + L" or "Shift+Win+F12".
//
// Modifiers: Ctrl (or Control), Alt, Shift, Win (or Super, Meta). Keys: F1
// to F24, a letter A-Z, a digit 0-9. A letter or a digit needs Ctrl, Alt or
// Win: with Shift alone or nothing it would take that character from every
// program. "None" names no key.

#include <QString>
#include <QStringView>

namespace tavelin::hotkey {

struct KeyCombination {
    unsigned modifiers = 0;  // winproc::kModControl, kModAlt, kModShift, kModWin
    unsigned virtualKey = 0; // winproc::kKeyF1 + n, or the letter's or digit's ASCII code

    friend bool operator==(const KeyCombination&, const KeyCombination&) = default;
};

struct KeyText {
    enum class Kind { Key, None, Bad };
    Kind kind = Kind::Bad;
    KeyCombination key; // for Key
    QString why;        // for Bad: what is wrong, in a user's words
};

KeyText parseKeyCombination(QStringView text);

// The combination as this program writes it: "Ctrl+Alt+Shift+Win+F9", in that order.
QString keyName(const KeyCombination& key);

} // namespace tavelin::hotkey
