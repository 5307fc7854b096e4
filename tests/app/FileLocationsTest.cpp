// Where the dictionaries and the settings are: beside the program, or the
// user's own in the XDG folders, made once from the installed starters.
#include "app/FileLocations.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QString>

#include <cstdlib>
#include <filesystem>

using namespace tavelin;
using tavelin::test::readFile;
using tavelin::test::TempDir;
using tavelin::test::writeFile;

namespace {

QString q(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

// An install: bin/ with the program, share/tavelin with the starters; and a
// user whose XDG folders are in the temporary directory.
class Locations : public testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(bin);
        std::filesystem::create_directories(share);
        writeFile((share / "EA.tvl").string(), "english starter");
        writeFile((share / "RA.tvl").string(), "russian starter");
        ::setenv("XDG_DATA_HOME", (dir.path() / "data").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (dir.path() / "config").c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("XDG_DATA_HOME");
        ::unsetenv("XDG_CONFIG_HOME");
    }
    TempDir dir;
    std::filesystem::path bin = dir.path() / "usr/bin";
    std::filesystem::path share = dir.path() / "usr/share/tavelin";
    std::filesystem::path data = dir.path() / "data/tavelin";
};

} // namespace

TEST_F(Locations, ADictionaryBesideTheProgramMeansPortable) {
    writeFile((bin / "RA.tvl").string(), "");
    const FileLocations files = FileLocations::find(q(bin));
    EXPECT_EQ(files.mode, FileLocations::Mode::Portable);
    EXPECT_EQ(files.dictionaryDirectory, q(bin));
    EXPECT_EQ(files.optionsFile, q(bin / "Options.ini"));
    EXPECT_TRUE(files.makeMissingDictionaries().isEmpty());
    EXPECT_FALSE(std::filesystem::exists(bin / "EA.tvl")) << "portable: nothing is made";
}

TEST_F(Locations, InstalledMakesOnlyWhatIsMissingAndNeverReplaces) {
    const FileLocations files = FileLocations::find(q(bin));
    EXPECT_EQ(files.mode, FileLocations::Mode::Installed);
    EXPECT_EQ(files.dictionaryDirectory, q(data));
    EXPECT_EQ(files.optionsFile, q(dir.path() / "config/tavelin/Options.ini"));
    EXPECT_EQ(files.starterDirectory, q(share));
    EXPECT_TRUE(files.describe().contains(q(data)));

    std::filesystem::create_directories(data);
    writeFile((data / "EA.tvl").string(), "my words");
    EXPECT_TRUE(files.makeMissingDictionaries().isEmpty());
    EXPECT_EQ(readFile((data / "EA.tvl").string()), "my words");
    EXPECT_EQ(readFile((data / "RA.tvl").string()), "russian starter");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(data), {}), 2)
        << "no file left behind";

    // A folder that cannot take the files is named in the failure.
    std::filesystem::remove_all(data);
    std::filesystem::create_directories(data.parent_path());
    writeFile(data.string(), "a file where the folder goes");
    EXPECT_TRUE(files.makeMissingDictionaries().contains(q(data)));
}
