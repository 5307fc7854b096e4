#pragma once

// What text selected in another program gives to look up: its first line
// that holds anything, as one would type it into a search box, and the
// script that says which search box takes it.

#include <QString>

namespace tavelin {

// At most as many characters as a stored word has.
inline constexpr qsizetype kSelectedTextLength = 100;

struct SelectedText {
    enum class Script { None, Latin, Cyrillic, Armenian };
    // The script of its first letter; None when it has no letter of the three.
    Script script = Script::None;
    // The first line that holds a letter or digit: blanks (tabs, no-break
    // spaces) run together into one space, invisible characters (soft
    // hyphens, zero-width spaces) dropped, punctuation and symbols at both
    // ends dropped (a quotation mark, a full stop), then cut to
    // kSelectedTextLength characters.
    QString phrase;
    // Its first word: up to the first blank, punctuation at the end dropped.
    QString word;
};

SelectedText selectedText(const QString& selection);

} // namespace tavelin
