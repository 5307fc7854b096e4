// The main routine of the GoogleTest programs: each test process gets a
// runtime directory of its own (mode 700), so locks and sockets of one test
// never meet those of another or of a running dictionary, and a cache folder
// of its own, so that no copy of a word list lands in the user's.
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

int main(int argc, char** argv) {
    auto runtime = std::make_unique<tavelin::test::TempDir>();
    ::setenv("XDG_RUNTIME_DIR", runtime->path().c_str(), 1);
    auto cache = std::make_unique<tavelin::test::TempDir>();
    ::setenv("XDG_CACHE_HOME", cache->path().c_str(), 1);
    testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    return status;
}
