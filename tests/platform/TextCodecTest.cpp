#include "platform/TextCodec.h"

#include <gtest/gtest.h>

using namespace tavelin;

TEST(TextCodec, ShowsCodesAsTheirLetters) {
    EXPECT_EQ(toDisplay(Side::Armenian, "\xBA\xF1\xA8\xB3\xDD"), QString::fromUtf8("Երևան"));
    EXPECT_EQ(toDisplay(Side::Russian, "\xEC\xE8\xF0"), QString::fromUtf8("мир"));
    EXPECT_EQ(toDisplay(Side::English, "caf\xE9"), QString::fromUtf8("café"));
    EXPECT_EQ(toDisplay(Side::English, "\x81"), QString(QChar(0xFFFD)));
}

TEST(TextCodec, TypedTextBecomesCodesOrNothing) {
    EXPECT_EQ(fromDisplay(Side::Armenian, QString::fromUtf8("Երևան")),
              std::string("\xBA\xF1\xA8\xB3\xDD"));
    EXPECT_EQ(fromDisplay(Side::Russian, QString::fromUtf8("Мир")), std::string("\xCC\xE8\xF0"));
    EXPECT_FALSE(fromDisplay(Side::English, QString::fromUtf8("мир")));
    EXPECT_FALSE(fromDisplay(Side::Armenian, QString::fromUtf8("a😀")));
    EXPECT_EQ(fromDisplay(Side::English, QString()), std::string());
}

TEST(TextCodec, WordsAreShownBoundedWithTheirControlCharactersVisible) {
    EXPECT_EQ(toShown(Side::English, std::string("a\tb\0c\x1B\x7F", 7)),
              QString::fromUtf8("a␉b␀c␛␡"));
    EXPECT_EQ(toShown(Side::Armenian, "\n\xBA\xF1\xA8\xB3\xDD"), QString::fromUtf8("␊Երևան"));
    const std::string longest(kShownCodes, 'w');
    EXPECT_EQ(toShown(Side::English, longest), QString::fromStdString(longest));
    EXPECT_EQ(toShown(Side::Russian, std::string(10'000'000, '\xE0')),
              QString(kShownCodes, QChar(0x0430)) + QChar(0x2026));
}
