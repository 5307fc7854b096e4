#include "main_window/PrefixSearch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace tavelin;

namespace {

void fill(WordListModel& model, const std::vector<std::string>& words) {
    model.clear();
    for (const auto& word : words) {
        model.append(word);
    }
    model.finish();
}

} // namespace

TEST(PrefixSearch, StartsAfterTheFirstItemAndComesBackToItLast) {
    WordListModel list(Side::English);
    fill(list, {"abandon", "abbey", "able", "cat"});
    EXPECT_EQ(findPrefix(list, "ab"), 1) << "abbey, though abandon matches too";
    EXPECT_EQ(findPrefix(list, "AB"), 1);
    EXPECT_EQ(findPrefix(list, "aba"), 0) << "abandon when it is the only match";
    EXPECT_EQ(findPrefix(list, ""), 1) << "an empty box selects item 1";
    EXPECT_EQ(findPrefix(list, "d"), -1);
    EXPECT_EQ(findPrefix(list, std::nullopt), -1) << "text without codes matches nothing";
    fill(list, {"one"});
    EXPECT_EQ(findPrefix(list, ""), 0);
    fill(list, {});
    EXPECT_EQ(findPrefix(list, ""), -1);
}

TEST(PrefixSearch, FindsTheSameItemAsAScan) {
    std::mt19937 random(11);
    for (Side side : {Side::English, Side::Russian, Side::Armenian}) {
        const CharacterSet& set = CharacterSet::of(side);
        std::vector<unsigned char> letters;
        for (int code = 0; code < 256; ++code) {
            if (set.isLetter(static_cast<unsigned char>(code))) {
                letters.push_back(static_cast<unsigned char>(code));
            }
        }
        letters.resize(8); // few letters: long runs of common prefixes
        letters.push_back(' ');
        std::vector<std::string> words;
        for (int i = 0; i < 2000; ++i) {
            std::string word;
            for (int k = 0, n = 1 + static_cast<int>(random() % 6); k < n; ++k) {
                word += static_cast<char>(letters[random() % letters.size()]);
            }
            words.push_back(word);
        }
        std::sort(words.begin(), words.end(),
                  [side](const auto& a, const auto& b) { return compareWords(side, a, b) < 0; });
        WordListModel list(side);
        fill(list, words);
        ASSERT_TRUE(list.inDictionaryOrder());
        for (int i = 0; i < 500; ++i) {
            std::string prefix = words[random() % words.size()].substr(0, random() % 4);
            if (random() % 3 == 0) {
                prefix = foldCase(side, prefix);
            }
            if (random() % 5 == 0) {
                prefix += static_cast<char>(letters[random() % letters.size()]);
            }
            ASSERT_EQ(findPrefix(list, prefix), findPrefixByScan(list, prefix)) << prefix;
            // The Russian letters taken hold Е, Ё and ё.
            ASSERT_EQ(findPrefix(list, prefix, true), findPrefixByScan(list, prefix, true))
                << prefix;
        }
    }
}

TEST(PrefixSearch, YeAndYoAreOneLetterInRussianWhenAsked) {
    const auto ru = [](const char* utf8) { return *fromUtf8(Side::Russian, utf8); };
    WordListModel list(Side::Russian);
    fill(list, {ru("аист"), ru("еда"), ru("ель"), ru("еще"), ru("ёж"), ru("ёлка"), ru("ёмкость")});
    ASSERT_TRUE(list.inDictionaryOrder()) << "ё stands after е";
    EXPECT_EQ(findPrefix(list, ru("елк"), true), 5) << "ёлка, past ель";
    EXPECT_EQ(findPrefix(list, ru("ЕЛК"), true), 5);
    EXPECT_EQ(findPrefix(list, ru("елк")), -1);
    EXPECT_EQ(findPrefix(list, ru("ещё"), true), 3);
    EXPECT_EQ(findPrefix(list, ru("Ёж"), true), 4);
    EXPECT_EQ(findPrefix(list, ru("ё"), true), 1) << "еда, the first е or ё";
    EXPECT_EQ(findPrefix(list, ru("ё")), 4);
    EXPECT_EQ(findPrefix(list, ru("ёмкостьь"), true), -1);
    fill(list, {ru("елка"), ru("ёж")});
    EXPECT_EQ(findPrefix(list, ru("ёл"), true), 0) << "item 0 is visited last";
    // The codes of Ё and ё are other characters in the English set.
    WordListModel english(Side::English);
    fill(english, {"a", "\xB8x"});
    EXPECT_EQ(findPrefix(english, "\xA8", true), -1);
}

TEST(PrefixSearch, ListOutOfOrderIsScanned) {
    WordListModel list(Side::English);
    fill(list, {"zebra", "apple", "zoo", "ant"});
    EXPECT_FALSE(list.inDictionaryOrder());
    EXPECT_EQ(findPrefix(list, "a"), 1);
    EXPECT_EQ(findPrefix(list, "z"), 2);
    EXPECT_EQ(findWord(list, "ANT"), 3);
}

TEST(FindWord, FirstEqualItemWithoutRegardToCase) {
    WordListModel list(Side::Armenian);
    // ա, Աբ, աբ, աբգ: the first of the two spellings of "աբ" is found.
    fill(list, {"\xB3", "\xB2\xB5", "\xB3\xB5", "\xB3\xB5\xB7"});
    ASSERT_TRUE(list.inDictionaryOrder());
    EXPECT_EQ(findWord(list, "\xB3\xB5"), 1);
    EXPECT_EQ(findWord(list, "\xB3\xB5\xB7"), 3);
    EXPECT_EQ(findWord(list, "\xB3\xB5\xB5"), -1);
    EXPECT_EQ(findWord(list, ""), -1);
}
