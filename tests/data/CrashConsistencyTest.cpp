#include "data/Database.h"
#include "data/DatabaseError.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <random>
#include <set>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tavelin;
using tavelin::test::TempDir;

namespace {

std::string wordFor(int n) {
    return "w" + std::to_string(n) + "'\"%";
}

// Adds pairs one by one and, after each add has returned, reports its number
// on the pipe. Never returns.
[[noreturn]] void addForever(const std::string& path, int reportFd, int first) {
    try {
        Database database = Database::open(path, kEnglishArmenian);
        for (int n = first;; ++n) {
            database.append(wordFor(n), "\xB3\xB4");
            if (::write(reportFd, &n, sizeof n) != sizeof n) {
                ::_exit(3);
            }
        }
    } catch (...) {
        ::_exit(2);
    }
}

std::string integrityOf(const std::string& path) {
    Database check = Database::open(path, kEnglishArmenian); // our collations are registered
    sqlite3* handle = nullptr;
    sqlite3_open_v2(path.c_str(), &handle, SQLITE_OPEN_READONLY, nullptr);
    for (const char* name : {"tavelin_english", "tavelin_armenian", "tavelin_russian"}) {
        sqlite3_create_collation(handle, name, SQLITE_UTF8, nullptr,
                                 [](void*, int la, const void* a, int lb, const void* b) {
                                     return compareWords(Side::English,
                                                         {static_cast<const char*>(a), size_t(la)},
                                                         {static_cast<const char*>(b), size_t(lb)});
                                 });
    }
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(handle, "PRAGMA integrity_check", -1, &statement, nullptr);
    std::string result;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        result += reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    }
    sqlite3_finalize(statement);
    sqlite3_close(handle);
    return result;
}

} // namespace

// A process killed at any moment keeps every pair whose add had returned, and
// leaves a sound dictionary behind.
TEST(CrashConsistency, KilledWhileAddingKeepsEveryReportedPair) {
    TempDir dir;
    const std::string path = dir.file("EA.tvl");
    Database::create(path, kEnglishArmenian);
    std::mt19937 random(2026);
    std::set<int> reported;
    int next = 0;
    for (int round = 0; round < 20; ++round) {
        int fds[2];
        ASSERT_EQ(::pipe(fds), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(fds[0]);
            addForever(path, fds[1], next);
        }
        ::close(fds[1]);
        ::usleep(5000 + random() % 60000);
        ::kill(child, SIGKILL);
        int n;
        while (::read(fds[0], &n, sizeof n) == sizeof n) {
            reported.insert(n);
            next = std::max(next, n + 1);
        }
        ::close(fds[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status))
            << "the adding process failed on its own, round " << round << " status " << status;
        next += 1000; // numbers of a killed add may or may not be stored; never reuse them
        ASSERT_EQ(integrityOf(path), "ok") << "round " << round;
    }
    Database database = Database::open(path, kEnglishArmenian);
    for (int n : reported) {
        ASSERT_EQ(database.lookUp(Column::Source, wordFor(n)), "\xB3\xB4") << "lost pair " << n;
    }
    ASSERT_GT(reported.size(), 20u);
    std::printf("checked %zu reported pairs over 20 kills; %lld pairs stored\n", reported.size(),
                database.count());
}
