// The single-instance lock: kept where only the user can write, never
// through a link, never in another user's file, and two copies never both
// run while any place can hold it.
#include "platform/InstanceLock.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tavelin;
using tavelin::test::TempDir;

namespace {

namespace fs = std::filesystem;

// A user whose runtime, cache and home folders are in a temporary directory.
class Lock : public testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"XDG_RUNTIME_DIR", "XDG_CACHE_HOME", "HOME"}) {
            const char* value = std::getenv(name);
            saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
        }
        fs::create_directory(runtime);
        fs::permissions(runtime, fs::perms::owner_all, fs::perm_options::replace);
        fs::create_directory(home);
        ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        ::setenv("XDG_CACHE_HOME", cache.c_str(), 1);
        ::setenv("HOME", home.c_str(), 1);
    }
    void TearDown() override {
        for (const auto& [name, value] : saved_) {
            value ? ::setenv(name, value->c_str(), 1) : ::unsetenv(name);
        }
    }
    // Two copies of the program: the second is refused while the first runs.
    void expectExclusion(const fs::path& where) {
        InstanceLock first;
        ASSERT_TRUE(first.acquire());
        EXPECT_EQ(first.path().toStdString(), (where / "tavelin.lock").string());
        InstanceLock second;
        EXPECT_FALSE(second.acquire());
    }

    TempDir dir;
    fs::path runtime = dir.path() / "runtime";
    fs::path cache = dir.path() / "cache";
    fs::path home = dir.path() / "home";

private:
    std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

mode_t modeOf(const fs::path& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

} // namespace

TEST_F(Lock, LivesInTheRuntimeDirectory) {
    expectExclusion(runtime);
}

TEST_F(Lock, ALinkAtTheLockIsNotFollowed) {
    const fs::path victim = dir.path() / "victim";
    fs::create_symlink(victim, runtime / "tavelin.lock");
    expectExclusion(cache / "tavelin");
    EXPECT_FALSE(fs::exists(victim)) << "the link's target was created";
    EXPECT_TRUE(fs::is_symlink(runtime / "tavelin.lock"));
}

TEST_F(Lock, WithoutARuntimeDirectoryAPrivateCacheFolder) {
    ::unsetenv("XDG_RUNTIME_DIR");
    expectExclusion(cache / "tavelin");
    EXPECT_EQ(modeOf(cache / "tavelin"), 0700u);
    // Without a cache folder named, under the home's.
    ::unsetenv("XDG_CACHE_HOME");
    expectExclusion(home / ".cache/tavelin");
}

// A runtime directory the user cannot write to holds no lock: the next place
// does, and two copies still exclude each other. (Permissions do not bind the
// superuser: as root the copies run as another user, in a child process.)
TEST_F(Lock, AnUnwritableRuntimeDirectoryFallsBack) {
    fs::create_directory(cache);
    if (::geteuid() == 0) {
        for (const fs::path& folder : {runtime, cache, home}) {
            ASSERT_EQ(::chown(folder.c_str(), 65534, 65534), 0);
        }
        fs::permissions(dir.path(), fs::perms::owner_all | fs::perms::others_exec,
                        fs::perm_options::replace);
    }
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            ::_exit(3);
        }
        ::chmod(runtime.c_str(), 0500);
        InstanceLock first;
        InstanceLock second;
        if (!first.acquire() || !first.held()) {
            ::_exit(4);
        }
        if (first.path().toStdString() != (cache / "tavelin/tavelin.lock").string()) {
            ::_exit(5);
        }
        ::_exit(second.acquire() ? 6 : 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0)
        << "4: no lock held; 5: held elsewhere than the cache; 6: two copies ran";
}

TEST_F(Lock, AFolderOthersCanWriteToIsPassedOver) {
    fs::permissions(runtime, fs::perms::all, fs::perm_options::replace);
    expectExclusion(cache / "tavelin");
    // The cache folder too: the home's own folder is left.
    fs::permissions(cache / "tavelin", fs::perms::all, fs::perm_options::replace);
    expectExclusion(home / ".tavelin");
}

TEST_F(Lock, AnotherUsersLockFileIsPassedOver) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "giving a file to another user needs root";
    }
    const fs::path planted = runtime / "tavelin.lock";
    {
        std::FILE* f = std::fopen(planted.c_str(), "w");
        std::fclose(f);
    }
    ASSERT_EQ(::chown(planted.c_str(), 1, 1), 0);
    expectExclusion(cache / "tavelin");
    // Another user's folder, too.
    ASSERT_EQ(::chown(runtime.c_str(), 1, 1), 0);
    ::unlink(planted.c_str());
    expectExclusion(cache / "tavelin");
}

TEST_F(Lock, WithNoPlaceAtAllTheProgramRuns) {
    for (const char* name : {"XDG_RUNTIME_DIR", "XDG_CACHE_HOME", "HOME"}) {
        ::unsetenv(name);
    }
    InstanceLock lock;
    testing::internal::CaptureStderr();
    EXPECT_TRUE(lock.acquire());
    EXPECT_NE(testing::internal::GetCapturedStderr().find("starting without it"),
              std::string::npos);
    EXPECT_FALSE(lock.held());
}
