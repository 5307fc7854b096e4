#include "DictTool.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace tavelin;
using tavelin::test::readFile;
using tavelin::test::TempDir;
using tavelin::test::writeFile;

namespace {

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

ToolRun tool(std::vector<std::string> arguments) {
    std::ostringstream out, err;
    const int status = runDictTool(arguments, out, err);
    return {status, out.str(), err.str()};
}

} // namespace

TEST(DictTool, ImportThenExportGivesThePairsInListOrder) {
    TempDir dir;
    const std::string ea = dir.file("EA.tvl");
    writeFile(dir.file("in.tsv"), "\xEF\xBB\xBFyellow\tդեղին\r\napple\tխնձոր\n\nBread\tհաց\n"
                                  "o'clock\tժամը\nYerevan\tԵրևան\n");
    ToolRun run = tool({"import", ea, dir.file("in.tsv")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(tool({"count", ea}).out, "5\n");
    run = tool({"export", ea});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "apple\tխնձոր\nBread\tհաց\no'clock\tժամը\nyellow\tդեղին\nYerevan\tԵրևան\n");
    ASSERT_EQ(tool({"export", ea, dir.file("out.tsv")}).status, 0);
    EXPECT_EQ(readFile(dir.file("out.tsv")), run.out);
}

TEST(DictTool, LookUpInBothDirections) {
    TempDir dir;
    const std::string ru = dir.file("words.db");
    writeFile(dir.file("in.tsv"), "дом\tտուն\nмир\tաշխարհ\n");
    ASSERT_EQ(tool({"import", "--kind", "ru", ru, dir.file("in.tsv")}).status, 0);
    EXPECT_EQ(tool({"lookup", "--kind=ru", ru, "дом"}).out, "տուն\n");
    EXPECT_EQ(tool({"lookup", "--kind", "ru", "--armenian", ru, "աշխարհ"}).out, "мир\n");
    ToolRun absent = tool({"lookup", "--kind", "ru", ru, "кот"});
    EXPECT_EQ(absent.status, 1);
    EXPECT_EQ(absent.out, "");
    EXPECT_EQ(tool({"lookup", "--kind", "ru", ru, "cat"}).status, 1) << "no Cyrillic code";
}

TEST(DictTool, ImportRefusesABadLineAndImportsNothing) {
    TempDir dir;
    const std::string ea = dir.file("EA.tvl");
    writeFile(dir.file("good.tsv"), "cat\tկատու\n");
    ASSERT_EQ(tool({"import", ea, dir.file("good.tsv")}).status, 0);

    const std::pair<std::string, std::string> bad[] = {
        {"dog\tշուն\nno tab here\n", "bad.tsv:2: no tab between the two words"},
        {"dog\tշուն\n\tշուն\n", "bad.tsv:2: the English word is empty"},
        {"dog\t\n", "bad.tsv:1: the Armenian word is empty"},
        {"dog\tշուն\nсобака\tշուն\n", "bad.tsv:2: the English word 'собака' has a character"},
        {"dog\tdog\xFF\n", "bad.tsv:1: the Armenian word"},
        {"a\tb\tc\n", "bad.tsv:1: more than one tab"},
        {"dog\tշուն\r\r\n", "bad.tsv:1: a carriage return inside the line"},
        {"do\rg\tշուն\n", "bad.tsv:1: a carriage return inside the line"},
    };
    for (const auto& [content, message] : bad) {
        writeFile(dir.file("bad.tsv"), content);
        ToolRun run = tool({"import", ea, dir.file("bad.tsv")});
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
        EXPECT_EQ(tool({"count", ea}).out, "1\n") << content;
    }
    // A refused import does not leave a new file behind either.
    ToolRun run = tool({"import", dir.file("RA.tvl"), dir.file("bad.tsv")});
    EXPECT_EQ(run.status, 2);
    EXPECT_FALSE(std::filesystem::exists(dir.file("RA.tvl")));
}

TEST(DictTool, ErrorsNameTheFileAndExitNonZero) {
    TempDir dir;
    ToolRun run = tool({"count", dir.file("EA.tvl")});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("EA.tvl: unable to open database file (error 14)"), std::string::npos)
        << run.err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("EA.tvl")));

    run = tool({"count", dir.file("other.tvl")});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("give --kind en or --kind ru"), std::string::npos);

    writeFile(dir.file("EA.tvl"), "user's notes");
    run = tool({"create", dir.file("EA.tvl")});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(readFile(dir.file("EA.tvl")), "user's notes");

    EXPECT_EQ(tool({"frobnicate"}).status, 2);
    EXPECT_EQ(tool({"lookup", dir.file("EA.tvl")}).status, 2);
    EXPECT_EQ(tool({"count", "--kind", "de", dir.file("x")}).status, 2);
}

TEST(DictTool, HelpExplainsEveryCommand) {
    ToolRun run = tool({"--help"});
    EXPECT_EQ(run.status, 0);
    for (const char* command :
         {"create", "import", "export", "lookup", "count", "--kind", "--armenian"}) {
        EXPECT_NE(run.out.find(command), std::string::npos) << command;
    }
}

TEST(DictTool, CreateMakesAnEmptyDictionary) {
    TempDir dir;
    EXPECT_EQ(tool({"create", dir.file("RA.tvl")}).status, 0);
    EXPECT_EQ(tool({"count", dir.file("RA.tvl")}).out, "0\n");
    EXPECT_EQ(tool({"count", "--kind", "en", dir.file("RA.tvl")}).status, 2)
        << "a Russian-Armenian file is no English-Armenian dictionary";
}
