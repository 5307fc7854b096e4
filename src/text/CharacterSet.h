#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tavelin {

// The three language sides of the dictionaries. Every dictionary word is a
// string of 8-bit codes in the character set of its side.
enum class Side { English, Russian, Armenian };

// One 8-bit character set: how its codes look in Unicode, how typed Unicode
// turns back into codes, which codes are letters of one case pair, and the
// order of the codes when words are sorted.
class CharacterSet {
public:
    static const CharacterSet& of(Side side);

    Side side() const { return side_; }

    // The Unicode character shown for a code; U+FFFD for a code the set leaves undefined.
    char32_t toUnicode(unsigned char code) const { return unicode_[code]; }
    // The code of a Unicode character, or nothing when the set has no code for it.
    std::optional<unsigned char> fromUnicode(char32_t ch) const;

    // Capital and small letter of a pair fold to the same code (the capital one).
    unsigned char fold(unsigned char code) const { return fold_[code]; }
    // Sort weight: capital and small letter weigh the same, letters in their
    // alphabet's order above every other code, other codes by their value.
    unsigned char weight(unsigned char code) const { return weight_[code]; }
    bool isLetter(unsigned char code) const { return letter_[code]; }

private:
    explicit CharacterSet(Side side);

    Side side_;
    std::array<char32_t, 256> unicode_{};
    std::array<unsigned char, 256> fold_{};
    std::array<unsigned char, 256> weight_{};
    std::array<bool, 256> letter_{};
};

// Upper-case form of a word: every code replaced by its fold.
std::string foldCase(Side side, std::string_view word);

// Whether the word begins with the prefix, without regard to case.
bool startsWithIgnoringCase(Side side, std::string_view word, std::string_view prefix);

// Whether the two words are the same without regard to case.
bool equalIgnoringCase(Side side, std::string_view a, std::string_view b);

// The dictionary order of a side: letter by letter by weight, a shorter word
// before its continuations; words of equal weight by their raw codes. Returns
// <0, 0 or >0.
int compareWords(Side side, std::string_view a, std::string_view b);

// Compares a word's beginning with a prefix by weight only: 0 when the word
// starts with the prefix without regard to case, otherwise the sign of where
// the word stands relative to all words that do.
int comparePrefix(Side side, std::string_view word, std::string_view prefix);

// Conversions between a side's codes and UTF-8 text.
std::string toUtf8(Side side, std::string_view codes);
// Nothing when the text is not valid UTF-8 or holds a character without a code.
std::optional<std::string> fromUtf8(Side side, std::string_view utf8);

} // namespace tavelin
