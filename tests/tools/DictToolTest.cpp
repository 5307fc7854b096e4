#include "DictTool.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
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

// Runs the program itself in `dir`, its standard output going to `output`
// (a file in `dir` when empty), each file it writes limited to `fileSize`
// bytes. The status is 128 + the signal when a signal ended it.
ToolRun program(const TempDir& dir, const std::vector<std::string>& arguments,
                std::string output = {}, rlim_t fileSize = RLIM_INFINITY) {
    const bool ownOutput = output.empty();
    if (ownOutput) {
        output = dir.file("stdout.txt");
    }
    const std::string errors = dir.file("stderr.txt");
    const pid_t child = ::fork();
    if (child == 0) {
        const int out = ::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const rlimit limit{fileSize, fileSize};
        if (out < 0 || err < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0 ||
            ::chdir(dir.path().c_str()) != 0 || ::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            ::_exit(126);
        }
        std::vector<char*> argv{const_cast<char*>(TAVELIN_DICT_PROGRAM)};
        for (const std::string& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status),
            ownOutput ? readFile(output) : std::string(), readFile(errors)};
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
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
    writeFile(dir.file("in.tsv"), "дом\tտուն\nмир\tաշխարհ\nкошка\tկատու\nкот\tԿատու\n");
    ASSERT_EQ(tool({"import", "--kind", "ru", ru, dir.file("in.tsv")}).status, 0);
    EXPECT_EQ(tool({"lookup", "--kind=ru", ru, "дом"}).out, "տուն\n");
    EXPECT_EQ(tool({"lookup", "--kind", "ru", "--armenian", ru, "աշխարհ"}).out, "мир\n");
    // Without regard to case, as the window's search finds words; every
    // source word of a translation, in the order of the source list.
    EXPECT_EQ(tool({"lookup", "--kind=ru", ru, "ДоМ"}).out, "տուն\n");
    EXPECT_EQ(tool({"lookup", "--kind=ru", "--armenian", ru, "ԿԱՏՈՒ"}).out, "кот\nкошка\n");
    ToolRun absent = tool({"lookup", "--kind", "ru", ru, "пёс"});
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
        // What the add dialogs refuse.
        {"dog\tշուն\n" + std::string(10'000'000, 'w') + "\tշուն\n",
         "bad.tsv:2: the English word is longer than 100 characters"},
        {"dog\t" + std::string(101, 'w') + "\n", "bad.tsv:1: the Armenian word is longer than 100"},
        {" \tշուն\n", "bad.tsv:1: the English word begins with a space"},
        {"dog\t շուն\n", "bad.tsv:1: the Armenian word begins with a space"},
        {"do\x1Bg\tշուն\n", "bad.tsv:1: the English word holds a control character"},
        {std::string("dog\0\tշուն\n", 10), "bad.tsv:1: the English word holds a control"},
        {"dog\tշուն\x7F\n", "bad.tsv:1: the Armenian word holds a control character"},
        // A word the dictionary holds, or the file already brought, without regard to case.
        {"dog\tշուն\nCAT\tկատու\n",
         "bad.tsv:2: the English word 'CAT' is already in the dictionary"},
        {"dog\tշուն\nfish\tձուկ\nDOG\tշնիկ\n",
         "bad.tsv:3: the English word 'DOG' is already on line 1"},
        // A quoted word is shown with its control characters visible, and cut short.
        {"\x1B]0;λ\tշուն\n", "bad.tsv:1: the English word '␛]0;λ' has a character"},
        {std::string(10'000'000, 'w') + "λ\tշուն\n", "bad.tsv:1: the English word 'wwww"},
    };
    for (const auto& [content, message] : bad) {
        writeFile(dir.file("bad.tsv"), content);
        ToolRun run = tool({"import", ea, dir.file("bad.tsv")});
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err.substr(0, 200);
        EXPECT_LT(run.err.size(), 300u);
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
    for (const char* command : {"create", "import", "export", "lookup", "count", "--kind",
                                "--armenian", "--skip-existing"}) {
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

TEST(DictTool, ImportingAgainRefusesOrSkipsTheWordsTheDictionaryHolds) {
    TempDir dir;
    const std::string ra = dir.file("RA.tvl");
    std::string longest;
    for (int i = 0; i < 100; ++i) {
        longest += "ы";
    }
    writeFile(dir.file("in.tsv"), "дом\tտուն\nмир\tաշխարհ\n" + longest + "\tերկար\n");
    ASSERT_EQ(tool({"import", ra, dir.file("in.tsv")}).status, 0);
    ToolRun again = tool({"import", ra, dir.file("in.tsv")});
    EXPECT_EQ(again.status, 2);
    EXPECT_TRUE(
        contains(again.err, "in.tsv:1: the Russian word 'дом' is already in the dictionary"))
        << again.err;
    EXPECT_EQ(tool({"count", ra}).out, "3\n");

    // Skipped instead: the words the dictionary holds and the file's own
    // repeats, each compared in the Russian letters' own case.
    writeFile(dir.file("more.tsv"), "ДОМ\tտնակ\nкот\tկատու\nКОТ\tկատվիկ\nМир\tխաղաղություն\n");
    ToolRun skipping = tool({"import", "--skip-existing", ra, dir.file("more.tsv")});
    EXPECT_EQ(skipping.status, 0) << skipping.err;
    EXPECT_EQ(skipping.out,
              "imported 1 pairs into " + ra + ", skipped 3 already in the dictionary\n");
    EXPECT_EQ(tool({"export", ra}).out,
              "дом\tտուն\nкот\tկատու\nмир\tաշխարհ\n" + longest + "\tերկար\n");
    skipping = tool({"import", "--skip-existing", ra, dir.file("in.tsv")});
    EXPECT_EQ(skipping.out,
              "imported 0 pairs into " + ra + ", skipped 3 already in the dictionary\n");
    EXPECT_EQ(tool({"count", ra}).out, "4\n");
}

TEST(DictTool, ExportNeverWritesOverTheDictionary) {
    TempDir dir;
    const std::string ea = dir.file("EA.tvl");
    writeFile(dir.file("in.tsv"), "cat\tկատու\n");
    ASSERT_EQ(tool({"import", ea, dir.file("in.tsv")}).status, 0);
    const std::string before = readFile(ea);
    std::filesystem::create_hard_link(ea, dir.file("link.tvl"));
    std::filesystem::create_symlink(ea, dir.file("symlink.tsv"));
    for (const std::string& output : {ea, dir.file("link.tvl"), dir.file("symlink.tsv"),
                                      (dir.path() / "." / "EA.tvl").string()}) {
        ToolRun run = tool({"export", ea, output});
        EXPECT_EQ(run.status, 2) << output;
        EXPECT_TRUE(contains(run.err, output + ": this is the dictionary file itself")) << run.err;
    }
    ToolRun run = program(dir, {"export", "EA.tvl", "./EA.tvl"});
    EXPECT_EQ(run.status, 2) << run.err;
    // Nor a file SQLite keeps beside the dictionary, which would be taken for its journal.
    run = tool({"export", ea, ea + "-journal"});
    EXPECT_TRUE(contains(run.err, "-journal: this is a file the dictionary keeps beside it"));
    EXPECT_FALSE(std::filesystem::exists(ea + "-journal"));
    EXPECT_EQ(readFile(ea), before);
    EXPECT_EQ(tool({"count", ea}).out, "1\n");

    // Any other file is replaced, as before.
    writeFile(dir.file("out.tsv"), std::string(1000, 'x'));
    ASSERT_EQ(tool({"export", ea, dir.file("out.tsv")}).status, 0);
    EXPECT_EQ(readFile(dir.file("out.tsv")), "cat\tկատու\n");
}

TEST(DictTool, NamesAreAlwaysPlainFiles) {
    TempDir dir;
    writeFile(dir.file("in.tsv"), "cat\tկատու\n");
    ToolRun run = tool({"import", "--kind", "en", "", dir.file("in.tsv")});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(contains(run.err, "the dictionary file name is empty")) << run.err;
    EXPECT_EQ(tool({"create", "--kind", "en", ""}).status, 2);
    // Names SQLite would take for its in-memory database or an address.
    for (const std::string name : {":memory:", "file:named.tvl", "file:other.tvl?mode=memory"}) {
        run = program(dir, {"import", "--kind", "en", name, "in.tsv"});
        EXPECT_EQ(run.status, 0) << name << run.err;
        EXPECT_TRUE(std::filesystem::is_regular_file(dir.file(name))) << name;
        EXPECT_EQ(program(dir, {"count", "--kind", "en", name}).out, "1\n") << name;
    }
}

TEST(DictTool, AFullDiskOrAFileSizeLimitIsReportedNeverASuccess) {
    TempDir dir;
    std::string pairs;
    for (int i = 0; i < 6000; ++i) {
        pairs += "word" + std::to_string(1000 + i) + "\tբառ\n";
    }
    writeFile(dir.file("words.tsv"), pairs);
    ASSERT_EQ(tool({"import", dir.file("EA.tvl"), dir.file("words.tsv")}).status, 0);

    const std::vector<std::string> printing[] = {
        {"count", "EA.tvl"}, {"export", "EA.tvl"}, {"lookup", "EA.tvl", "word1500"}, {"--help"}};
    for (const auto& arguments : printing) {
        ToolRun run = program(dir, arguments, "/dev/full");
        EXPECT_EQ(run.status, 2) << arguments[0];
        EXPECT_TRUE(contains(run.err, "tavelin-dict: standard output: ")) << run.err;
    }
    ToolRun run = program(dir, {"export", "EA.tvl", "/dev/full"});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(contains(run.err, "tavelin-dict: /dev/full: ")) << run.err;

    // A limit on the size of files stops the writes as a full disk does,
    // rather than ending the program. (Reading a dictionary writes its
    // journal's shared index, 32 KiB: the limit leaves room for that.)
    run = program(dir, {"export", "EA.tvl", "out.tsv"}, {}, 65536);
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(contains(run.err, "tavelin-dict: out.tsv: ")) << run.err;
    run = program(dir, {"export", "EA.tvl"}, dir.file("out.tsv"), 65536);
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(contains(run.err, "tavelin-dict: standard output: ")) << run.err;

    writeFile(dir.file("one.tsv"), "cat\tկատու\n");
    ASSERT_EQ(tool({"import", "--kind", "en", dir.file("small.tvl"), dir.file("one.tsv")}).status,
              0);
    const std::string before = readFile(dir.file("small.tvl"));
    run = program(dir, {"import", "--kind", "en", "small.tvl", "words.tsv"}, {}, 40000);
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(contains(run.err, "tavelin-dict: small.tvl: ")) << run.err;
    EXPECT_EQ(tool({"count", "--kind", "en", dir.file("small.tvl")}).out, "1\n");
    // Nor is a new dictionary left behind half made.
    run = program(dir, {"import", "--kind", "en", "new.tvl", "words.tsv"}, {}, 40000);
    EXPECT_EQ(run.status, 2);
    for (const char* file : {"new.tvl", "new.tvl-wal", "new.tvl-shm", "new.tvl-journal"}) {
        EXPECT_FALSE(std::filesystem::exists(dir.file(file))) << file;
    }
}
