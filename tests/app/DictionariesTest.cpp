#include "app/Dictionaries.h"
#include "support/TempDir.h"
#include "support/VectorList.h"

#include <gtest/gtest.h>

using namespace tavelin;
using tavelin::test::TempDir;
using tavelin::test::VectorList;

namespace {

// Both dictionaries open in a temporary program directory, as after start-up.
class DataRoutines : public testing::Test {
protected:
    void SetUp() override {
        db = Database::create(dir.file("EA.tvl"), kEnglishArmenian);
        db1 = Database::create(dir.file("RA.tvl"), kRussianArmenian);
    }
    void TearDown() override {
        db = Database();
        db1 = Database();
    }
    TempDir dir;
};

} // namespace

TEST_F(DataRoutines, EmptyTablesGiveEmptyListsAndEmptyTranslations) {
    VectorList list;
    list.words = {"stale"};
    for (auto load : {LoadEnglish, LoadArmenian, LoadRussian, LoadArmenian1}) {
        list.words = {"stale"};
        load(list);
        EXPECT_TRUE(list.words.empty());
    }
    EXPECT_EQ(GetArmenian("cat"), "");
    EXPECT_EQ(GetEnglish("\xB3"), "");
    EXPECT_EQ(GetArmenian1("\xEC"), "");
    EXPECT_EQ(GetRussian("\xB3"), "");
}

TEST_F(DataRoutines, LoadersListEveryRowInDictionaryOrder) {
    AddWord("dog", "\xB7\xB3\xDF\xFF"); // not a letter at the end: sorts by code
    AddWord("Apple", "\xBD\xDD\xDE\xFB\xF1");
    AddWord("cat", "\xAF\xB3\xEF\xF3\xF5");
    AddWord("cat", "\xAF\xB3\xEF\xF3\xF5");
    AddWord("abbey", "\xBE\xB3\xDF\xB3\xEA");
    VectorList english;
    LoadEnglish(english);
    EXPECT_EQ(english.words, (std::vector<std::string>{"abbey", "Apple", "cat", "cat", "dog"}));
    VectorList armenian;
    LoadArmenian(armenian);
    ASSERT_EQ(armenian.words.size(), 5u);
    EXPECT_TRUE(std::is_sorted(armenian.words.begin(), armenian.words.end(),
                               [](const std::string& a, const std::string& b) {
                                   return compareWords(Side::Armenian, a, b) < 0;
                               }));

    AddWord1("\xE4\xEE\xEC", "\xBF\xEF\xDD"); // дом
    AddWord1("\xC0\xE8\xF1\xF2", "\xB1");     // Аист
    VectorList russian;
    LoadRussian(russian);
    EXPECT_EQ(russian.words, (std::vector<std::string>{"\xC0\xE8\xF1\xF2", "\xE4\xEE\xEC"}));
    VectorList armenian1;
    LoadArmenian1(armenian1);
    EXPECT_EQ(armenian1.words.size(), 2u);
    // The dictionaries stay apart.
    LoadEnglish(english);
    EXPECT_EQ(english.words.size(), 5u);
}

TEST_F(DataRoutines, AnAddedWordIsListedAtItsPlace) {
    AddWord("ant", "\xB3");
    AddWord("cow", "\xB5");
    AddWord("Bee", "\xB7");
    VectorList english;
    LoadEnglish(english);
    EXPECT_EQ(english.words, (std::vector<std::string>{"ant", "Bee", "cow"}));
}

TEST_F(DataRoutines, RepeatedWordLooksUpTheLastRowAndDeletesTheFirst) {
    AddWord("bank", "first");
    AddWord("bank", "second");
    EXPECT_EQ(GetArmenian("bank"), "second");
    DeleteWord("bank");
    EXPECT_EQ(GetArmenian("bank"), "second") << "the first row went";
    VectorList english;
    LoadEnglish(english);
    EXPECT_EQ(english.words, (std::vector<std::string>{"bank"}));

    AddWord1("\xEA", "one");
    AddWord1("\xEA", "two");
    EXPECT_EQ(GetArmenian1("\xEA"), "two");
    EXPECT_EQ(GetRussian("one"), "\xEA");
    DeleteWord1("\xEA");
    EXPECT_EQ(GetArmenian1("\xEA"), "two");
}

TEST_F(DataRoutines, LookUpAndDeleteAreExact) {
    AddWord("Cat", "\xAF");
    EXPECT_EQ(GetArmenian("cat"), "") << "look-ups take stored values, exactly";
    EXPECT_EQ(GetArmenian("Cat "), "");
    DeleteWord("cat");
    EXPECT_EQ(GetArmenian("Cat"), "\xAF");
}

TEST_F(DataRoutines, QuotesAndApostrophesAreOrdinaryCharacters) {
    AddWord("o'clock", "\xAA");
    AddWord("say \"yes\"", "\xAB");
    AddWord1("\xEF\xF0\xE8'\xE2\xE5\xF2", "\"\xAC\"");
    EXPECT_EQ(GetArmenian("o'clock"), "\xAA");
    EXPECT_EQ(GetArmenian("say \"yes\""), "\xAB");
    EXPECT_EQ(GetEnglish("\xAB"), "say \"yes\"");
    EXPECT_EQ(GetRussian("\"\xAC\""), "\xEF\xF0\xE8'\xE2\xE5\xF2");
    DeleteWord("o'clock");
    DeleteWord("say \"yes\"");
    DeleteWord1("\xEF\xF0\xE8'\xE2\xE5\xF2");
    EXPECT_EQ(db.count(), 0);
    EXPECT_EQ(db1.count(), 0);
}

TEST_F(DataRoutines, DeletingAnAbsentWordChangesNothing) {
    AddWord("keep", "\xB3");
    DeleteWord("absent");
    DeleteWord("");
    DeleteWord1("absent");
    EXPECT_EQ(db.count(), 1);
    EXPECT_EQ(GetArmenian("keep"), "\xB3");
}
