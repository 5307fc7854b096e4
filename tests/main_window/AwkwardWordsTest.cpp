#include "app/Dictionaries.h"
#include "main_window/PrefixSearch.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace tavelin;

namespace {

// Words a user can paste or a file can bring: the longest a field takes,
// quotes and other characters with a meaning elsewhere, control codes, and
// every 8-bit code at once.
std::vector<std::string> awkwardWords() {
    std::vector<std::string> words = {std::string(100, 'w'), "say \"yes\"", "o'clock",
                                      "back\\slash",         "100%",        "_under_",
                                      "x' OR '1'='1",        "tab\there"};
    std::string controls;
    for (int code = 1; code < 32; ++code) {
        controls += static_cast<char>(code);
    }
    words.push_back(controls);
    std::string every;
    for (int code = 1; code < 256; ++code) {
        every += static_cast<char>(code);
    }
    words.push_back(every);
    return words;
}

} // namespace

TEST(AwkwardWords, StoredFoundAndDeletedInEveryField) {
    test::TempDir dir;
    db = Database::create(dir.file("EA.tvl"), kEnglishArmenian);
    db1 = Database::create(dir.file("RA.tvl"), kRussianArmenian);
    const auto words = awkwardWords();
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string tag = "#" + std::to_string(i);
        AddWord(words[i], words[i] + tag);
        AddWord1(words[i] + tag, words[i]);
    }
    WordListModel english(Side::English), armenian(Side::Armenian), russian(Side::Russian),
        armenian1(Side::Armenian);
    LoadEnglish(english);
    LoadArmenian(armenian);
    LoadRussian(russian);
    LoadArmenian1(armenian1);
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        const std::string tagged = word + "#" + std::to_string(i);
        EXPECT_EQ(GetArmenian(word), tagged) << i;
        EXPECT_EQ(GetEnglish(tagged), word) << i;
        EXPECT_EQ(GetArmenian1(tagged), word) << i;
        EXPECT_EQ(GetRussian(word), tagged) << i;
        const std::pair<WordListModel*, std::string> searches[] = {
            {&english, word}, {&armenian, tagged}, {&russian, tagged}, {&armenian1, word}};
        for (const auto& [list, stored] : searches) {
            const int exact = findWord(*list, stored);
            ASSERT_GE(exact, 0) << i;
            EXPECT_EQ(list->word(exact), stored) << i;
            const int found = findPrefix(*list, stored);
            ASSERT_GE(found, 0) << i;
            EXPECT_TRUE(startsWithIgnoringCase(list->side(), list->word(found), stored)) << i;
        }
    }
    for (size_t i = 0; i < words.size(); ++i) {
        DeleteWord(words[i]);
        DeleteWord1(words[i] + "#" + std::to_string(i));
    }
    EXPECT_EQ(db.count(), 0);
    EXPECT_EQ(db1.count(), 0);
    db = Database();
    db1 = Database();
}
