#pragma once

#include "text/CharacterSet.h"

namespace tavelin {

// What tells the two dictionaries apart: the table, the source-language
// field, the source side's character set and the file name beside the program.
struct DictionaryKind {
    const char* table;
    const char* sourceField;
    Side sourceSide;
    const char* fileName;
};

inline constexpr DictionaryKind kEnglishArmenian{"Tavelin", "English", Side::English, "EA.tvl"};
inline constexpr DictionaryKind kRussianArmenian{"Tavelin1", "Russian", Side::Russian, "RA.tvl"};

// The two columns of a word pair.
enum class Column { Source, Armenian };

inline Side sideOf(const DictionaryKind& kind, Column column) {
    return column == Column::Source ? kind.sourceSide : Side::Armenian;
}

} // namespace tavelin
