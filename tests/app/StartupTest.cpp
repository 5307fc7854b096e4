#include "app/Dictionaries.h"
#include "app/modMain.h"
#include "main_window/Tavelin.h"
#include "platform/InstanceLock.h"
#include "support/TempDir.h"
#include "support/WindowFixture.h"
#include "widgets/Notice.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <sqlite3.h>

#include <cstdio>
#include <string>
#include <tuple>
#include <utility>

#include <sys/wait.h>

using namespace tavelin;
using tavelin::test::TempDir;

namespace {

struct Warning {
    QString title;
    QString text;
};

class Startup : public testing::Test {
protected:
    void SetUp() override {
        setWarningHandler([this](const QString& title, const QString& text) {
            warnings.push_back({title, text});
        });
    }
    void TearDown() override {
        setWarningHandler({});
        db = Database();
        db1 = Database();
    }
    std::vector<Warning> warnings;
    TempDir dir;
};

} // namespace

TEST_F(Startup, SecondCopyIsRefusedWithItsMessage) {
    InstanceLock first;
    ASSERT_TRUE(refuseSecondCopy(first));
    EXPECT_TRUE(warnings.empty());
    InstanceLock second;
    EXPECT_FALSE(refuseSecondCopy(second));
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].title, "Tavelin");
    EXPECT_EQ(warnings[0].text, "Tavelin Already Running!");
}

TEST_F(Startup, LockGoesWithItsHolder) {
    {
        InstanceLock first;
        ASSERT_TRUE(first.acquire());
    }
    InstanceLock next;
    EXPECT_TRUE(next.acquire());
}

TEST_F(Startup, OpensBothDictionaries) {
    Database::create(dir.file("EA.tvl"), kEnglishArmenian).append("cat", "\xAF");
    Database::create(dir.file("RA.tvl"), kRussianArmenian);
    ASSERT_TRUE(openDictionaries(QString::fromStdString(dir.path().string())));
    EXPECT_TRUE(warnings.empty());
    EXPECT_EQ(GetArmenian("cat"), "\xAF");
    EXPECT_TRUE(db1.isOpen());
}

TEST_F(Startup, MissingEnglishDictionaryStopsBeforeTheRussianOne) {
    Database::create(dir.file("RA.tvl"), kRussianArmenian);
    EXPECT_FALSE(openDictionaries(QString::fromStdString(dir.path().string())));
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].title, "Tavelin");
    EXPECT_TRUE(warnings[0].text.startsWith("The dictionary EA.tvl cannot be opened: the file "
                                            "is missing."));
    EXPECT_TRUE(warnings[0].text.contains("Error 14: unable to open database file"));
    EXPECT_FALSE(db1.isOpen());
    EXPECT_FALSE(std::filesystem::exists(dir.file("EA.tvl")));
}

TEST_F(Startup, BrokenRussianDictionaryIsReportedByName) {
    Database::create(dir.file("EA.tvl"), kEnglishArmenian);
    test::writeFile(dir.file("RA.tvl"), "дом\tտուն\n");
    EXPECT_FALSE(openDictionaries(QString::fromStdString(dir.path().string())));
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_TRUE(warnings[0].text.startsWith("The dictionary RA.tvl cannot be opened: the file "
                                            "is damaged or is no dictionary of this kind."));
    EXPECT_TRUE(warnings[0].text.contains("Error 26: file is not a database"));
    EXPECT_EQ(test::readFile(dir.file("RA.tvl")), "дом\tտուն\n");
}

// Every kind of broken dictionary stops start-up with its name in the message
// and leaves the file exactly as it was.
TEST_F(Startup, BrokenFilesAreReportedAndLeftAlone) {
    Database::create(dir.file("RA.tvl"), kRussianArmenian);
    std::string fullDictionary;
    {
        Database::create(dir.file("full.tvl"), kEnglishArmenian);
        Database full = Database::open(dir.file("full.tvl"), kEnglishArmenian);
        full.inTransaction([&] {
            for (int i = 0; i < 2000; ++i) {
                full.append("word" + std::to_string(i), "\xB3\xB5");
            }
        });
    }
    fullDictionary = test::readFile(dir.file("full.tvl"));
    struct Broken {
        const char* what;
        std::function<void(const std::string&)> make;
        const char* error;
    };
    const Broken cases[] = {
        {"empty file", [](const std::string& p) { test::writeFile(p, ""); },
         "no such table: Tavelin"},
        {"text file", [](const std::string& p) { test::writeFile(p, "cat\tկատու\n"); },
         "file is not a database"},
        {"truncated database",
         [&](const std::string& p) { test::writeFile(p, fullDictionary.substr(0, 3000)); },
         "database disk image is malformed"},
        {"no table",
         [](const std::string& p) {
             Database::create(p, kRussianArmenian); // a Russian-Armenian file named EA.tvl
         },
         "no such table: Tavelin"},
        {"no column",
         [](const std::string& p) {
             sqlite3* handle = nullptr;
             sqlite3_open(p.c_str(), &handle);
             sqlite3_exec(handle, "CREATE TABLE Tavelin (English TEXT)", nullptr, nullptr, nullptr);
             sqlite3_close(handle);
         },
         "no such column: Armenian"},
    };
    for (const Broken& broken : cases) {
        const std::string path = dir.file("EA.tvl");
        std::filesystem::remove_all(path);
        broken.make(path);
        const std::string before = test::readFile(path);
        warnings.clear();
        EXPECT_FALSE(openDictionaries(QString::fromStdString(dir.path().string()))) << broken.what;
        ASSERT_EQ(warnings.size(), 1u) << broken.what;
        EXPECT_TRUE(warnings[0].text.startsWith("The dictionary EA.tvl cannot be opened: "));
        EXPECT_TRUE(warnings[0].text.contains(QString::fromLatin1(broken.error)))
            << broken.what << ": " << warnings[0].text.toStdString();
        EXPECT_EQ(test::readFile(path), before) << broken.what;
        EXPECT_FALSE(std::filesystem::exists(path + "-journal")) << broken.what;
    }
    std::filesystem::remove_all(dir.file("EA.tvl"));
    std::filesystem::create_directory(dir.file("EA.tvl"));
    warnings.clear();
    EXPECT_FALSE(openDictionaries(QString::fromStdString(dir.path().string())));
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_TRUE(warnings[0].text.contains("the file cannot be read"));
    EXPECT_TRUE(warnings[0].text.contains("Error 14"));
}

namespace {

using test::needApplication;

void runSql(const std::string& path, const char* sql) {
    sqlite3* handle = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &handle), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(handle, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sql;
    sqlite3_close(handle);
}

} // namespace

// Keys are whatever a file made elsewhere holds: a huge or a negative one
// fills the lists like any other. A dictionary that fails while the lists
// fill is named, with its path, and start-up ends.
TEST_F(Startup, ListsFillWhateverTheKeysAndAFailureEndsStartUp) {
    needApplication();
    // Made with the sqlite3 shell: no indexes, keys of the maker's choosing.
    runSql(dir.file("EA.tvl"),
           "CREATE TABLE Tavelin (Id INTEGER PRIMARY KEY, English TEXT, Armenian TEXT);"
           "INSERT INTO Tavelin VALUES (1000000000000, 'cat', x'AF')");
    runSql(dir.file("RA.tvl"),
           "CREATE TABLE Tavelin1 (Id INTEGER PRIMARY KEY, Russian TEXT, Armenian TEXT);"
           "INSERT INTO Tavelin1 VALUES (-1, x'EAEEF2', x'AF')");
    ASSERT_TRUE(openDictionaries(QString::fromStdString(dir.path().string())));
    Tavelin& window = Tavelin::instance();
    attachDictionaries(window);
    EXPECT_TRUE(fillLists(window));
    EXPECT_TRUE(warnings.empty());
    EXPECT_EQ(window.list1->listCount(), 1);
    EXPECT_EQ(window.List4->listCount(), 1);
    EXPECT_EQ(window.List3->listCount(), 1);

    // The Russian-Armenian dictionary loses its Armenian field under the program.
    runSql(dir.file("RA.tvl"), "ALTER TABLE Tavelin1 RENAME COLUMN Armenian TO Other");
    EXPECT_FALSE(fillLists(window));
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_TRUE(warnings[0].text.startsWith("The dictionary RA.tvl cannot be read."));
    EXPECT_TRUE(warnings[0].text.contains(QString::fromStdString(dir.file("RA.tvl"))));
    EXPECT_TRUE(warnings[0].text.contains("no such column: armenian"));
}

// Without a display there is nothing to show: the program says so and ends,
// instead of aborting inside the toolkit.
TEST(NoDisplay, IsToldAndTheProgramEndsWithStatus1) {
    // Runs the program with the environment changed as `env` does; its
    // status and what it said.
    const auto run = [](const std::string& environment) {
        const std::string command = "env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + environment +
                                    " '" + TAVELIN_PROGRAM + "' 2>&1";
        FILE* out = ::popen(command.c_str(), "r");
        std::string said;
        char buffer[256];
        while (out != nullptr && std::fgets(buffer, sizeof buffer, out) != nullptr) {
            said += buffer;
        }
        return std::make_pair(out ? ::pclose(out) : -1, said);
    };
    auto [status, said] = run("-u DISPLAY");
    ASSERT_TRUE(WIFEXITED(status)) << "ended by a signal: " << said;
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_NE(said.find("Tavelin: no display found"), std::string::npos) << said;

#ifdef TAVELIN_XCB_PROBE
    // A display named where no server answers.
    std::tie(status, said) = run("DISPLAY=:4711");
    ASSERT_TRUE(WIFEXITED(status)) << "ended by a signal: " << said;
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_NE(said.find("Tavelin: the display :4711 cannot be reached"), std::string::npos) << said;
#endif
}
