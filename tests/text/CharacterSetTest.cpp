#include "text/CharacterSet.h"
#include "text/PhoneticArmenian.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include <algorithm>
#include <optional>
#include <random>
#include <vector>

using namespace tavelin;

namespace {

// glibc's converters are the reference for the three sets.
class Iconv {
public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Iconv() { iconv_close(cd_); }
    std::optional<std::string> convert(std::string input) const {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char out[16];
        char* in = input.data();
        size_t inLeft = input.size();
        char* outPtr = out;
        size_t outLeft = sizeof out;
        if (iconv(cd_, &in, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
            return std::nullopt;
        }
        return std::string(out, outPtr);
    }

private:
    iconv_t cd_;
};

const char* iconvName(Side side) {
    switch (side) {
    case Side::English:
        return "CP1252";
    case Side::Russian:
        return "CP1251";
    case Side::Armenian:
        return "ARMSCII-8";
    }
    return "";
}

std::string utf32be(char32_t ch) {
    return {static_cast<char>(ch >> 24), static_cast<char>(ch >> 16), static_cast<char>(ch >> 8),
            static_cast<char>(ch)};
}

char32_t fromUtf32be(const std::string& bytes) {
    char32_t ch = 0;
    for (unsigned char b : bytes) {
        ch = (ch << 8) | b;
    }
    return ch;
}

constexpr char32_t kEv = 0x0587;

class EveryCode : public testing::TestWithParam<Side> {};

} // namespace

TEST_P(EveryCode, DecodesLikeIconv) {
    const Side side = GetParam();
    const CharacterSet& set = CharacterSet::of(side);
    Iconv decoder("UTF-32BE", iconvName(side));
    for (int code = 1; code < 256; ++code) {
        const auto expected = decoder.convert(std::string(1, static_cast<char>(code)));
        const char32_t actual = set.toUnicode(static_cast<unsigned char>(code));
        if (side == Side::Armenian && code == 168) {
            EXPECT_EQ(actual, kEv) << "168 is the typed ligature ev";
            continue;
        }
        if (!expected) {
            EXPECT_EQ(actual, U'\uFFFD') << "code " << code;
        } else {
            EXPECT_EQ(actual, fromUtf32be(*expected)) << "code " << code;
        }
    }
}

TEST_P(EveryCode, EncodesLikeIconv) {
    const Side side = GetParam();
    const CharacterSet& set = CharacterSet::of(side);
    Iconv decoder("UTF-32BE", iconvName(side));
    Iconv encoder(iconvName(side), "UTF-32BE");
    for (int code = 1; code < 256; ++code) {
        const auto decoded = decoder.convert(std::string(1, static_cast<char>(code)));
        if (!decoded) {
            continue;
        }
        const char32_t ch = fromUtf32be(*decoded);
        const auto expected = encoder.convert(utf32be(ch));
        const auto actual = set.fromUnicode(ch);
        if (side == Side::Armenian && ch == kEv) {
            EXPECT_EQ(actual, 168) << "ev is typed as 168";
            continue;
        }
        if (side == Side::Armenian && ch == 0x2014) {
            EXPECT_FALSE(actual) << "168 no longer holds the dash";
            continue;
        }
        ASSERT_TRUE(expected) << "code " << code;
        ASSERT_TRUE(actual) << "code " << code;
        EXPECT_EQ(*actual, static_cast<unsigned char>((*expected)[0])) << "code " << code;
    }
}

TEST_P(EveryCode, CharactersOutsideTheSetHaveNoCode) {
    const CharacterSet& set = CharacterSet::of(GetParam());
    Iconv encoder(iconvName(GetParam()), "UTF-32BE");
    for (char32_t ch : {U'\u4E2D', U'\u0416', U'\u0531', U'\u00E9', U'\u20AC', U'\U0001F600'}) {
        const bool expected = encoder.convert(utf32be(ch)).has_value();
        EXPECT_EQ(set.fromUnicode(ch).has_value(), expected)
            << "U+" << std::hex << static_cast<uint32_t>(ch);
    }
    EXPECT_FALSE(set.fromUnicode(U'\uFFFD'));
}

INSTANTIATE_TEST_SUITE_P(Sets, EveryCode,
                         testing::Values(Side::English, Side::Russian, Side::Armenian));

TEST(CaseFolding, PairsOfEachAlphabet) {
    EXPECT_EQ(foldCase(Side::English, "Cat's-eye"), "CAT'S-EYE");
    // Latin letters are only folded on the English side.
    EXPECT_EQ(foldCase(Side::Russian, "abc"), "abc");
    // Cyrillic: а-я to А-Я, ё to Ё; Latin-1 look-alikes of the English side are not touched.
    EXPECT_EQ(foldCase(Side::Russian, "\xE0\xFF\xB8"), "\xC0\xDF\xA8");
    EXPECT_EQ(foldCase(Side::English, "\xE0\xFF"), "\xE0\xFF");
    // Armenian: even code capital, the next odd one its small letter.
    EXPECT_EQ(foldCase(Side::Armenian, "\xB3\xFD\xB2"), "\xB2\xFC\xB2");
    EXPECT_EQ(foldCase(Side::Armenian, "\xA2"), "\xA8") << "both codes of ev are one letter";
    EXPECT_EQ(foldCase(Side::Armenian, "\xFE\xB1"), "\xFE\xB1") << "punctuation is not folded";
}

TEST(CaseFolding, ComparisonsIgnoreCase) {
    EXPECT_TRUE(equalIgnoringCase(Side::English, "CAT", "cat"));
    EXPECT_FALSE(equalIgnoringCase(Side::English, "cat", "cats"));
    EXPECT_TRUE(startsWithIgnoringCase(Side::English, "Abbey", "aB"));
    EXPECT_FALSE(startsWithIgnoringCase(Side::English, "a", "ab"));
    EXPECT_TRUE(startsWithIgnoringCase(Side::Russian, "\xC4\xEE\xEC", "\xE4\xCE"));
    EXPECT_TRUE(startsWithIgnoringCase(Side::English, "anything", ""));
}

namespace {

std::vector<std::string> sorted(Side side, std::vector<std::string> words) {
    std::sort(words.begin(), words.end(), [side](const std::string& a, const std::string& b) {
        return compareWords(side, a, b) < 0;
    });
    return words;
}

} // namespace

TEST(WordOrder, LettersByAlphabetWithoutRegardToCase) {
    EXPECT_EQ(
        sorted(Side::English, {"beta", "Alpha", "alp", "1st", "zeta", "Zed", "o'clock", "apple"}),
        (std::vector<std::string>{"1st", "alp", "Alpha", "apple", "beta", "o'clock", "Zed",
                                  "zeta"}));
    // Words that weigh the same are ordered by their codes: capital first.
    EXPECT_EQ(sorted(Side::English, {"cat", "Cat", "CAT"}),
              (std::vector<std::string>{"CAT", "Cat", "cat"}));
    // The same far into long words, past a long common beginning.
    const std::string common(130, 'w');
    EXPECT_EQ(sorted(Side::English, {common + "cat", common + "Cat" + common, common + "Cat",
                                     common + "Bat", common + "CAT"}),
              (std::vector<std::string>{common + "Bat", common + "CAT", common + "Cat",
                                        common + "cat", common + "Cat" + common}));
}

TEST(WordOrder, RussianYoBetweenYeAndZhe) {
    // е (229), ё (184), ж (230), and Я (223) after а (224) by letter, not by code.
    EXPECT_EQ(sorted(Side::Russian, {"\xE6", "\xB8", "\xE5", "\xDF", "\xE0", "-"}),
              (std::vector<std::string>{"-", "\xE0", "\xE5", "\xB8", "\xE6", "\xDF"}));
}

TEST(WordOrder, ArmenianEvBetweenQeAndO) {
    // ք (249), և (168 and 162), օ (251), ֆ (253), ա (179), Բ (180).
    EXPECT_EQ(sorted(Side::Armenian, {"\xFB", "\xA8", "\xF9", "\xFD", "\xB3", "\xB4", "\xA2"}),
              (std::vector<std::string>{"\xB3", "\xB4", "\xF9", "\xA2", "\xA8", "\xFB", "\xFD"}));
}

TEST(WordOrder, NonLettersBelowLettersByValue) {
    for (Side side : {Side::English, Side::Russian, Side::Armenian}) {
        const CharacterSet& set = CharacterSet::of(side);
        for (int a = 0; a < 256; ++a) {
            for (int b = 0; b < 256; ++b) {
                const auto ca = static_cast<unsigned char>(a);
                const auto cb = static_cast<unsigned char>(b);
                if (!set.isLetter(ca) && set.isLetter(cb)) {
                    ASSERT_LT(set.weight(ca), set.weight(cb)) << a << " " << b;
                }
                if (!set.isLetter(ca) && !set.isLetter(cb) && a < b) {
                    ASSERT_LT(set.weight(ca), set.weight(cb)) << a << " " << b;
                }
                // Same weight exactly when same letter without regard to case.
                ASSERT_EQ(set.weight(ca) == set.weight(cb), set.fold(ca) == set.fold(cb))
                    << a << " " << b;
            }
        }
    }
}

// The main window finds a prefix by binary search: every word that begins
// with a prefix, without regard to case, must stand in one run.
TEST(WordOrder, WordsWithACommonPrefixStandTogether) {
    std::mt19937 random(7);
    for (Side side : {Side::English, Side::Russian, Side::Armenian}) {
        const CharacterSet& set = CharacterSet::of(side);
        std::vector<unsigned char> alphabet;
        for (int code = 32; code < 256; ++code) {
            if (set.isLetter(static_cast<unsigned char>(code)) || code == ' ' || code == '-') {
                alphabet.push_back(static_cast<unsigned char>(code));
            }
        }
        // Few letters, so that prefixes repeat often.
        alphabet.resize(std::min<size_t>(alphabet.size(), 12));
        std::vector<std::string> words;
        for (int i = 0; i < 3000; ++i) {
            std::string word;
            const int length = 1 + static_cast<int>(random() % 5);
            for (int k = 0; k < length; ++k) {
                word += static_cast<char>(alphabet[random() % alphabet.size()]);
            }
            words.push_back(word);
        }
        words = sorted(side, words);
        for (int i = 0; i < 200; ++i) {
            const std::string prefix = words[random() % words.size()].substr(0, 1 + random() % 3);
            std::vector<size_t> positions;
            for (size_t k = 0; k < words.size(); ++k) {
                if (startsWithIgnoringCase(side, words[k], prefix)) {
                    positions.push_back(k);
                }
                // comparePrefix agrees with the order.
                const int c = comparePrefix(side, words[k], prefix);
                if (k > 0) {
                    ASSERT_GE(c, comparePrefix(side, words[k - 1], prefix));
                }
            }
            ASSERT_FALSE(positions.empty());
            EXPECT_EQ(positions.back() - positions.front() + 1, positions.size())
                << "prefix run broken";
        }
    }
}

TEST(Utf8, RoundTripsEveryDefinedCode) {
    for (Side side : {Side::English, Side::Russian, Side::Armenian}) {
        std::string codes;
        for (int code = 1; code < 256; ++code) {
            const auto c = static_cast<unsigned char>(code);
            const char32_t ch = CharacterSet::of(side).toUnicode(c);
            if (ch == U'\uFFFD' || (side == Side::Armenian && code == 162)) {
                continue;
            }
            if (CharacterSet::of(side).fromUnicode(ch) == c) {
                codes += static_cast<char>(c);
            }
        }
        const auto back = fromUtf8(side, toUtf8(side, codes));
        ASSERT_TRUE(back);
        EXPECT_EQ(*back, codes);
    }
}

TEST(Utf8, RefusesMalformedAndForeignText) {
    EXPECT_FALSE(fromUtf8(Side::English, "\xC3"));         // cut short
    EXPECT_FALSE(fromUtf8(Side::English, "\xC0\xAF"));     // overlong
    EXPECT_FALSE(fromUtf8(Side::English, "\xED\xA0\x80")); // surrogate
    EXPECT_FALSE(fromUtf8(Side::English, "\xD0\x96"));     // Ж has no Latin code
    EXPECT_EQ(fromUtf8(Side::Russian, "\xD0\x96"), std::string("\xC6"));
    EXPECT_EQ(fromUtf8(Side::Armenian, "\xD4\xB5\xD6\x80\xD6\x87\xD5\xA1\xD5\xB6"),
              std::string("\xBA\xF1\xA8\xB3\xDD"))
        << "Երևան";
    EXPECT_EQ(toUtf8(Side::Armenian, "\xA2"), "\xD6\x87") << "ArmSCII's own ev reads as ev";
}

TEST(PhoneticArmenian, LatinKeysGiveTheLettersOfTheirKeys) {
    std::u32string typed;
    for (char32_t ch : std::u32string_view(U"barev BAR7 8*")) {
        typed += phoneticArmenian(ch);
    }
    EXPECT_EQ(typed, U"բարեվ ԲԱՐև ռՌ");
    // The marks a word may hold stay themselves, though 9 and 0 shifted
    // give letters; keys giving punctuation and what is not Latin pass.
    for (char32_t ch : std::u32string_view(U",.'()-&?;`ա\u0436\U0001F600")) {
        EXPECT_EQ(phoneticArmenian(ch), ch) << static_cast<unsigned>(ch);
    }
    // Every Latin letter's key gives an Armenian letter the dictionary
    // stores, and Shift gives its capital.
    const CharacterSet& armenian = CharacterSet::of(Side::Armenian);
    for (char32_t small = U'a'; small <= U'z'; ++small) {
        const auto code = armenian.fromUnicode(phoneticArmenian(small));
        const auto capital = armenian.fromUnicode(phoneticArmenian(small - 32));
        ASSERT_TRUE(code && capital) << static_cast<char>(small);
        EXPECT_TRUE(armenian.isLetter(*code));
        EXPECT_NE(*code, *capital);
        EXPECT_EQ(armenian.fold(*code), *capital) << static_cast<char>(small);
    }
}
