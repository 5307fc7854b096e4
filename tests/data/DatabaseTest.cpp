#include "data/Database.h"
#include "data/DatabaseError.h"
#include "support/TempDir.h"
#include "support/VectorList.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tavelin;
using tavelin::test::TempDir;

namespace {

// A dictionary file made by hand, as another program might have made it.
void makeRawFile(const std::string& path, const char* sql) {
    sqlite3* handle = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &handle), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(handle, sql, nullptr, nullptr, nullptr), SQLITE_OK)
        << sqlite3_errmsg(handle);
    sqlite3_close(handle);
}

int openError(const std::string& path, const DictionaryKind& kind, std::string* text = nullptr) {
    try {
        Database::open(path, kind);
    } catch (const DatabaseError& e) {
        if (text) {
            *text = e.text();
        }
        return e.code();
    }
    return SQLITE_OK;
}

} // namespace

TEST(DatabaseOpen, RefusesWhatIsNotADictionaryAndCreatesNothing) {
    TempDir dir;
    std::string text;
    EXPECT_EQ(openError(dir.file("EA.tvl"), kEnglishArmenian, &text), SQLITE_CANTOPEN);
    EXPECT_FALSE(std::filesystem::exists(dir.file("EA.tvl"))) << "a missing file is not created";

    test::writeFile(dir.file("text.tvl"), "English\tArmenian\ncat\tկատու\n");
    EXPECT_EQ(openError(dir.file("text.tvl"), kEnglishArmenian, &text), SQLITE_NOTADB);
    EXPECT_EQ(text, "file is not a database");
    EXPECT_EQ(test::readFile(dir.file("text.tvl")), "English\tArmenian\ncat\tկատու\n");

    test::writeFile(dir.file("empty.tvl"), "");
    EXPECT_EQ(openError(dir.file("empty.tvl"), kEnglishArmenian, &text), SQLITE_ERROR);
    EXPECT_EQ(text, "no such table: Tavelin");
    EXPECT_EQ(std::filesystem::file_size(dir.file("empty.tvl")), 0u);

    makeRawFile(dir.file("nocolumn.tvl"), "CREATE TABLE Tavelin (English TEXT, Armenia TEXT)");
    EXPECT_EQ(openError(dir.file("nocolumn.tvl"), kEnglishArmenian, &text), SQLITE_ERROR);
    EXPECT_EQ(text, "no such column: Armenian");

    // An English-Armenian file is not a Russian-Armenian dictionary.
    Database::create(dir.file("ea.tvl"), kEnglishArmenian);
    EXPECT_EQ(openError(dir.file("ea.tvl"), kRussianArmenian, &text), SQLITE_ERROR);
    EXPECT_EQ(text, "no such table: Tavelin1");

    std::filesystem::create_directory(dir.file("dir.tvl"));
    EXPECT_EQ(openError(dir.file("dir.tvl"), kEnglishArmenian), SQLITE_CANTOPEN);

    const std::string truncated = dir.file("truncated.tvl");
    {
        Database full = Database::create(truncated, kEnglishArmenian);
        for (int i = 0; i < 500; ++i) {
            full.append("word" + std::to_string(i), "\xB3");
        }
    }
    std::filesystem::resize_file(truncated, 1500);
    EXPECT_NE(openError(truncated, kEnglishArmenian), SQLITE_OK);
}

// File permissions do not bind the superuser, so the opening is tried in a
// child process that has given up its rights.
TEST(DatabaseOpen, UnreadableFileIsAnError) {
    TempDir dir;
    Database::create(dir.file("EA.tvl"), kEnglishArmenian);
    ::chmod(dir.path().c_str(), 0755);
    ::chmod(dir.file("EA.tvl").c_str(), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            ::_exit(3);
        }
        ::_exit(openError(dir.file("EA.tvl"), kEnglishArmenian) == SQLITE_CANTOPEN ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "an unreadable file opened, or gave another error";
}

// A dictionary where the user may only read (the installed starters, another
// user's folder, a read-only medium) is read as always, though its journal
// files cannot be made beside it; a change is refused as read-only.
TEST(DatabaseOpen, DictionaryInAFolderThatCannotBeWrittenIsRead) {
    TempDir dir;
    {
        Database made = Database::create(dir.file("EA.tvl"), kEnglishArmenian);
        made.append("cat", "\xAF");
        made.append("dog", "\xB7");
    }
    ::chmod(dir.file("EA.tvl").c_str(), 0644);
    ::chmod(dir.path().c_str(), 0555);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            ::_exit(3);
        }
        try {
            Database d = Database::open(dir.file("EA.tvl"), kEnglishArmenian);
            test::VectorList words;
            d.loadWords(Column::Source, words);
            if (d.lookUp(Column::Source, "cat") != "\xAF" ||
                words.words != std::vector<std::string>{"cat", "dog"}) {
                ::_exit(4);
            }
            try {
                d.append("owl", "\xB3");
            } catch (const DatabaseError& e) {
                ::_exit(e.kind() == DatabaseError::Kind::ReadOnly ? 0 : 5);
            }
            ::_exit(6);
        } catch (const DatabaseError& e) {
            std::fprintf(stderr, "%s\n", e.text().c_str());
            ::_exit(1);
        }
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ::chmod(dir.path().c_str(), 0700);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0)
        << "1: not opened or read; 4: wrong words; 5: a change failed otherwise; 6: changed";
    EXPECT_EQ(Database::open(dir.file("EA.tvl"), kEnglishArmenian).count(), 2);
}

TEST(DatabaseCreate, NeverReplacesAFile) {
    TempDir dir;
    test::writeFile(dir.file("EA.tvl"), "user's data");
    EXPECT_THROW(Database::create(dir.file("EA.tvl"), kEnglishArmenian), DatabaseError);
    EXPECT_EQ(test::readFile(dir.file("EA.tvl")), "user's data");
}

TEST(DatabaseContent, EveryByteIsStoredAndReadBackUnchanged) {
    TempDir dir;
    Database database = Database::create(dir.file("EA.tvl"), kEnglishArmenian);
    std::string everyCode;
    for (int code = 1; code < 256; ++code) {
        everyCode += static_cast<char>(code);
    }
    const std::string awkward[] = {everyCode,
                                   "say \"hi\"",
                                   "o'clock",
                                   "100%",
                                   "back\\slash",
                                   "x' OR '1'='1",
                                   "\"; DROP TABLE Tavelin; --"};
    for (const std::string& word : awkward) {
        database.append(word, word + "\xB3");
    }
    Database reopened = Database::open(dir.file("EA.tvl"), kEnglishArmenian);
    for (const std::string& word : awkward) {
        EXPECT_EQ(reopened.lookUp(Column::Source, word), word + "\xB3");
        EXPECT_EQ(reopened.lookUp(Column::Armenian, word + "\xB3"), word);
    }
    EXPECT_EQ(reopened.count(), 7);
    for (const std::string& word : awkward) {
        EXPECT_TRUE(reopened.removeFirst(word));
    }
    EXPECT_EQ(reopened.count(), 0);
}

TEST(DatabaseContent, FilesMadeElsewhereAreReadAsTheyAre) {
    TempDir dir;
    // No key column, a null field, lower-case field names.
    makeRawFile(dir.file("EA.tvl"), "CREATE TABLE Tavelin (english TEXT, armenian TEXT);"
                                    "INSERT INTO Tavelin VALUES ('cat', NULL);"
                                    "INSERT INTO Tavelin VALUES (NULL, 'x');"
                                    "INSERT INTO Tavelin VALUES ('dog', 'y');");
    Database database = Database::open(dir.file("EA.tvl"), kEnglishArmenian);
    EXPECT_EQ(database.lookUp(Column::Source, "cat"), std::string());
    test::VectorList list;
    database.loadWords(Column::Source, list);
    EXPECT_EQ(list.words, (std::vector<std::string>{"", "cat", "dog"}));
    database.append("ant", "z");
    EXPECT_EQ(database.lookUp(Column::Armenian, "z"), "ant");
}

TEST(DatabaseContent, ChangesAreCommittedAtOnce) {
    TempDir dir;
    Database writer = Database::create(dir.file("RA.tvl"), kRussianArmenian);
    writer.append("\xEC\xE8\xF0", "\xB3\xDD");
    // Another connection, as after a crash, sees the pair without any close.
    Database reader = Database::open(dir.file("RA.tvl"), kRussianArmenian);
    EXPECT_EQ(reader.lookUp(Column::Source, "\xEC\xE8\xF0"), "\xB3\xDD");
    writer.removeFirst("\xEC\xE8\xF0");
    EXPECT_EQ(reader.count(), 0);
}

TEST(DatabaseContent, TransactionKeepsAllOrNothing) {
    TempDir dir;
    Database database = Database::create(dir.file("EA.tvl"), kEnglishArmenian);
    EXPECT_THROW(database.inTransaction([&] {
        database.append("one", "\xB3");
        throw std::runtime_error("stop");
    }),
                 std::runtime_error);
    EXPECT_EQ(database.count(), 0);
    database.inTransaction([&] { database.append("two", "\xB3"); });
    EXPECT_EQ(database.count(), 1);
}

// Changes never go to a file that has lost its name: a dictionary removed or
// replaced under the program refuses them and leaves both files alone.
TEST(DatabaseFaults, RemovedOrReplacedFileRefusesChanges) {
    TempDir dir;
    const std::string path = dir.file("EA.tvl");
    Database::create(path, kEnglishArmenian).append("cat", "\xAF");
    Database database = Database::open(path, kEnglishArmenian);

    std::filesystem::rename(path, dir.file("moved.tvl"));
    EXPECT_THROW(database.append("dog", "\xB7"), DatabaseError);
    EXPECT_THROW(database.removeFirst("cat"), DatabaseError);
    EXPECT_EQ(Database::open(dir.file("moved.tvl"), kEnglishArmenian).count(), 1);

    test::writeFile(path, "garbage, not a dictionary");
    try {
        database.append("dog", "\xB7");
        ADD_FAILURE() << "a replaced file took a change";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.text(), "the dictionary file was removed or replaced while the program ran");
    }
    EXPECT_EQ(test::readFile(path), "garbage, not a dictionary");
    // Reading goes on from what was opened.
    EXPECT_EQ(database.lookUp(Column::Source, "cat"), "\xAF");

    // The write-ahead journal beside the file is part of it: removed, it
    // takes no more changes, and those it held still reach the file.
    const std::string other = dir.file("RA.tvl");
    {
        Database journalled = Database::create(other, kRussianArmenian);
        journalled.append("\xEA\xEE\xF2", "\xAF");
        ASSERT_TRUE(std::filesystem::exists(other + "-wal"));
        std::filesystem::remove(other + "-wal");
        std::filesystem::remove(other + "-shm");
        try {
            journalled.append("\xF1\xEE\xE2\xE0", "\xB7");
            ADD_FAILURE() << "a change went to a removed journal";
        } catch (const DatabaseError& e) {
            EXPECT_EQ(e.text(), "the dictionary's journal file " + other +
                                    "-wal was removed or replaced while the program ran");
        }
    }
    EXPECT_EQ(Database::open(other, kRussianArmenian).count(), 1);
}

// Another program holding the file busy makes a change wait a little, then fail
// cleanly; nothing is half written.
TEST(DatabaseFaults, BusyFileIsRetriedThenReported) {
    TempDir dir;
    const std::string path = dir.file("EA.tvl");
    Database::create(path, kEnglishArmenian);
    Database holder = Database::open(path, kEnglishArmenian);
    Database writer = Database::open(path, kEnglishArmenian);
    holder.inTransaction([&] {
        holder.append("held", "\xB3");
        try {
            writer.append("blocked", "\xB3");
            ADD_FAILURE() << "a change went through a locked file";
        } catch (const DatabaseError& e) {
            EXPECT_EQ(e.code() & 0xFF, SQLITE_BUSY) << e.text();
        }
    });
    writer.append("after", "\xB3");
    EXPECT_EQ(writer.count(), 2);
    EXPECT_FALSE(writer.lookUp(Column::Source, "blocked"));
}

// The file-size limit stops a change as a full disk does: the same kind of
// failure, the file as it was. (The program ignores the limit's signal; the
// child here does the same.)
TEST(DatabaseFaults, AFileSizeLimitIsAFullDisk) {
    TempDir dir;
    const std::string path = dir.file("EA.tvl");
    Database::create(path, kEnglishArmenian);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = 64 * 1024;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        try {
            Database d = Database::open(path, kEnglishArmenian);
            d.inTransaction([&] {
                for (int i = 0; i < 20000; ++i) {
                    d.append("word" + std::to_string(i), "\xB3\xB5");
                }
            });
        } catch (const DatabaseError& e) {
            ::_exit(e.kind() == DatabaseError::Kind::Full && (e.code() & 0xFF) == SQLITE_FULL ? 0
                                                                                              : 1);
        }
        ::_exit(2);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: another failure than a full disk; 2: no failure";
    EXPECT_EQ(Database::open(path, kEnglishArmenian).count(), 0);
}

// Another program writing the same file for long (a large import) never makes
// the window's look-ups and list loads wait: they read what was committed.
TEST(DatabaseFaults, ReadersNeverWaitForAWriter) {
    TempDir dir;
    const std::string path = dir.file("EA.tvl");
    Database::create(path, kEnglishArmenian).append("cat", "\xAF");
    Database window = Database::open(path, kEnglishArmenian);
    Database importer = Database::open(path, kEnglishArmenian);
    importer.inTransaction([&] {
        // More than the writer's page cache holds: pages reach the file
        // before the commit.
        for (int i = 0; i < 200000; ++i) {
            importer.append("w" + std::to_string(i), "\xB3");
        }
        using Clock = std::chrono::steady_clock;
        const auto seconds = [](Clock::time_point since) {
            return std::chrono::duration<double>(Clock::now() - since).count();
        };
        Clock::time_point start = Clock::now();
        EXPECT_EQ(window.lookUp(Column::Source, "cat"), "\xAF");
        test::VectorList words;
        window.loadWords(Column::Source, words);
        EXPECT_EQ(words.words, std::vector<std::string>{"cat"});
        // Well under the two seconds a busy file is waited for.
        EXPECT_LT(seconds(start), 1.0) << "the reads waited for the writer";
        // A change of the window's still waits for the writer, and says so.
        start = Clock::now();
        try {
            window.append("dog", "\xB3");
            ADD_FAILURE() << "two writers at once";
        } catch (const DatabaseError& e) {
            EXPECT_EQ(e.kind(), DatabaseError::Kind::Busy) << e.text();
        }
        EXPECT_GT(seconds(start), 1.5) << "a busy file was not waited for";
    });
    EXPECT_EQ(window.count(), 200001);
}
