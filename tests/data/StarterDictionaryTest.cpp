// The build step that makes a starter dictionary beside the program
// (cmake/StarterDictionary.cmake): the dictionary holds exactly the word
// list, whatever journal files stand beside it, and nothing of a failed
// attempt is left.
#include "data/Database.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

using namespace tavelin;
using tavelin::test::TempDir;

namespace {

namespace fs = std::filesystem;

int makeStarter(const TempDir& dir, const std::string& tsv) {
    const std::string command = std::string("'") + TAVELIN_CMAKE + "' -DTOOL='" +
                                TAVELIN_DICT_PROGRAM + "' -DKIND=en -DTSV='" + dir.file(tsv) +
                                "' -DOUT='" + dir.file("EA.tvl") + "' -P '" +
                                TAVELIN_STARTER_SCRIPT + "' >/dev/null 2>&1";
    return std::system(command.c_str());
}

// The names in the folder, sorted.
std::vector<std::string> filesIn(const TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(StarterDictionary, HoldsTheWordListWhateverJournalStoodBesideIt) {
    TempDir dir;
    test::writeFile(dir.file("words.tsv"), "cat\tկատու\ndog\tշուն\n");

    // The journal of a dictionary removed while its last changes were in it.
    sqlite3* old = nullptr;
    ASSERT_EQ(sqlite3_open(dir.file("old.tvl").c_str(), &old), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(old,
                           "PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0;"
                           "CREATE TABLE Tavelin (Id INTEGER PRIMARY KEY, English TEXT, "
                           "Armenian TEXT); INSERT INTO Tavelin VALUES (1, 'ghost', 'x');",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    fs::copy_file(dir.file("old.tvl-wal"), dir.file("EA.tvl-wal"));
    sqlite3_close(old);
    fs::remove(dir.file("old.tvl"));
    const std::string journal = test::readFile(dir.file("EA.tvl-wal"));
    ASSERT_FALSE(journal.empty());

    ASSERT_EQ(makeStarter(dir, "words.tsv"), 0);
    {
        Database made = Database::open(dir.file("EA.tvl"), kEnglishArmenian);
        EXPECT_EQ(made.count(), 2);
        EXPECT_TRUE(made.lookUp(Column::Source, "dog"));
        EXPECT_FALSE(made.lookUp(Column::Source, "ghost"));
    }
    // The old journal is kept aside, whole, under a name make clean keeps;
    // nothing of the making is left.
    const std::vector<std::string> files = filesIn(dir);
    ASSERT_EQ(files.size(), 3u) << testing::PrintToString(files);
    const std::string& aside = files[0];
    EXPECT_TRUE(aside.starts_with("EA-left-") && aside.ends_with(".tvl-wal")) << aside;
    EXPECT_TRUE(test::readFile(dir.file(aside)) == journal) << "the old journal changed";
    EXPECT_EQ(files[1], "EA.tvl");
    EXPECT_EQ(files[2], "words.tsv");

    // A word list that cannot be imported leaves no dictionary and no
    // journal of one; a dictionary already there is never touched.
    fs::remove(dir.file(aside));
    fs::rename(dir.file("EA.tvl"), dir.file("kept.tvl"));
    test::writeFile(dir.file("bad.tsv"), "cat\tկատու\nno tab here\n");
    EXPECT_NE(makeStarter(dir, "bad.tsv"), 0);
    EXPECT_EQ(filesIn(dir), (std::vector<std::string>{"bad.tsv", "kept.tvl", "words.tsv"}));
    fs::rename(dir.file("kept.tvl"), dir.file("EA.tvl"));
    const std::string before = test::readFile(dir.file("EA.tvl"));
    EXPECT_EQ(makeStarter(dir, "bad.tsv"), 0);
    EXPECT_EQ(test::readFile(dir.file("EA.tvl")), before);
}
