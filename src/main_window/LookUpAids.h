#pragma once

// Look-up aids beyond the plain prefix search. Each is on unless Options.ini
// switches it off (section "LookUp", "False" in any case means off; anything
// else, or no key, means on) and each can be switched from the Tools menu,
// which writes the change back at once.

#include <QString>

namespace tavelin {

struct LookUpAids {
    // "YoIsYe": in the Russian searches е and ё (Е and Ё) are one letter.
    bool yoIsYe = true;
    // "LatinTypesArmenian": a Latin letter typed into an Armenian box becomes
    // the Armenian letter of the same key on the phonetic Armenian layout.
    bool latinTypesArmenian = true;
    // "NearWords": a box whose text matches no word offers the nearest words.
    bool nearWords = true;
    // "SelectionLookUp": a global key looks up the text selected in any
    // program; "SelectionKey" names the key ("Ctrl+F9" when absent or empty,
    // "None" for no key at all).
    bool selectionLookUp = true;
    QString selectionKey = QStringLiteral("Ctrl+F9");
};

// Reads section "LookUp" of the given Options.ini.
LookUpAids readLookUpAids(const QString& iniFile);
// Writes the four switches and the key to section "LookUp".
void writeLookUpAids(const LookUpAids& aids, const QString& iniFile);

} // namespace tavelin
