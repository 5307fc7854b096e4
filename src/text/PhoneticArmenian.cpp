#include "PhoneticArmenian.h"

#include <array>
#include <string_view>

namespace tavelin {
namespace {

// The keys of the phonetic layout that give Armenian letters, row by row:
// the characters the US layout types with them, and the letters they give,
// one for one. The layout's other keys give punctuation (` ~ & _ ; : ' " , <
// . > / ?) and are left alone, as are 9 and 0 shifted, which give Չ and Ճ:
// the parentheses are marks a word may hold.
struct Row {
    std::string_view latin;
    std::u32string_view armenian;
};

constexpr Row kRows[] = {
    {"1234567890=", U"էթփձջւևռչճժ"},
    {"!@#$%^*+", U"ԷԹՓՁՋՒՌԺ"},
    {"qwertyuiop[]\\", U"քոերտըւիօպխծշ"},
    {"QWERTYUIOP{}|", U"ՔՈԵՐՏԸՒԻՕՊԽԾՇ"},
    {"asdfghjkl", U"ասդֆգհյկլ"},
    {"ASDFGHJKL", U"ԱՍԴՖԳՀՅԿԼ"},
    {"zxcvbnm", U"զղցվբնմ"},
    {"ZXCVBNM", U"ԶՂՑՎԲՆՄ"},
};

constexpr bool rowsPair() {
    for (const Row& row : kRows) {
        if (row.latin.size() != row.armenian.size()) {
            return false;
        }
    }
    return true;
}
static_assert(rowsPair(), "every key of a row gives one letter");

constexpr std::array<char32_t, 128> kByCharacter = [] {
    std::array<char32_t, 128> table{};
    for (char32_t ch = 0; ch < 128; ++ch) {
        table[ch] = ch;
    }
    for (const Row& row : kRows) {
        for (std::size_t i = 0; i < row.latin.size(); ++i) {
            table[static_cast<unsigned char>(row.latin[i])] = row.armenian[i];
        }
    }
    return table;
}();

} // namespace

char32_t phoneticArmenian(char32_t typed) {
    return typed < kByCharacter.size() ? kByCharacter[typed] : typed;
}

} // namespace tavelin
