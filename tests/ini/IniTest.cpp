// The INI routines and the text forms of Options.ini's values.
#include "ini/IniValues.h"
#include "ini/modIni.h"
#include "support/TempDir.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tavelin;
using tavelin::test::readFile;
using tavelin::test::TempDir;
using tavelin::test::writeFile;

namespace {

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

std::string get(const std::string& path, const char* section, const char* key) {
    return GetINIValue(section, key, q(path)).toStdString();
}

short set(const std::string& path, const char* section, const char* key, const QString& value) {
    return SetINIValue(section, key, value, q(path));
}

// Runs `body` in a child process that has no more rights than an ordinary
// user (when the tests run as root it becomes nobody), so that permissions
// mean what they say; returns the body's exit status.
int inChildProcess(const std::function<int()>& body) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            ::_exit(99);
        }
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 98;
}

// Runs `body` in a child process that is stopped after ten seconds, so that
// a routine waiting for ever fails the test instead of hanging it.
int inChildWithDeadline(const std::function<int()>& body) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::alarm(10);
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 98;
}

// The names in a directory, to see that a failed write leaves no temporary file.
std::vector<std::string> namesIn(const std::filesystem::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

const std::string kHandEdited = "; Tavelin settings, edited by hand\r\n"
                                "orphan=before any section\r\n"
                                "[EnglishList]\r\n"
                                "ForeColor = 255 \r\n"
                                "  bold=True\r\n"
                                "Size=\"9.75\"\r\n"
                                "Fontname='MS Sans Serif'\r\n"
                                "Quoted=\"unbalanced'\r\n"
                                "Equals=a=b\r\n"
                                "Empty=\r\n"
                                "NoEquals\r\n"
                                "\r\n"
                                "; the Armenian side\r\n"
                                "[ArmenianList]\r\n"
                                "Bold=False\r\n"
                                "[englishlist]\r\n"
                                "Italic=True\r\n"
                                "ForeColor=1\r\n"
                                "[Other]\r\n"
                                "Key=kept";

class Ini : public ::testing::Test {
protected:
    TempDir dir;
    std::string path = dir.file("Options.ini");
};

} // namespace

// ---- Reading ----

TEST_F(Ini, MissingFileSectionOrKeyReadsAsEmptyAndCreatesNothing) {
    EXPECT_EQ(get(path, "EnglishList", "Bold"), "");
    EXPECT_FALSE(std::filesystem::exists(path));
    writeFile(path, kHandEdited);
    EXPECT_EQ(get(path, "RussianList", "Bold"), "");
    EXPECT_EQ(get(path, "ArmenianList", "Italic"), "");
    EXPECT_EQ(get(path, "EnglishList", "Empty"), "");
    EXPECT_EQ(get(path, "EnglishList", "NoEquals"), "");
    // Keys before the first section belong to none.
    EXPECT_EQ(get(path, "", "orphan"), "");
}

TEST_F(Ini, NamesMatchWithoutCaseAndValuesLoseBlanksAndOnePairOfQuotes) {
    writeFile(path, kHandEdited);
    EXPECT_EQ(get(path, "ENGLISHLIST", "forecolor"), "255");
    EXPECT_EQ(get(path, "EnglishList", "Bold"), "True");
    EXPECT_EQ(get(path, "EnglishList", "Size"), "9.75");
    EXPECT_EQ(get(path, "EnglishList", "Fontname"), "MS Sans Serif");
    EXPECT_EQ(get(path, "EnglishList", "Quoted"), "\"unbalanced'");
    EXPECT_EQ(get(path, "EnglishList", "Equals"), "a=b");
    EXPECT_EQ(get(path, "Other", "Key"), "kept");
    writeFile(path, "[S]\nA=\"\"x\"\"\nB= ' spaced ' \n");
    EXPECT_EQ(get(path, "S", "A"), "\"x\"");
    EXPECT_EQ(get(path, "S", "B"), " spaced ");
}

TEST_F(Ini, FirstMatchingSectionAndKeyWin) {
    writeFile(path, kHandEdited);
    // The second [englishlist] is never looked at.
    EXPECT_EQ(get(path, "EnglishList", "ForeColor"), "255");
    EXPECT_EQ(get(path, "EnglishList", "Italic"), "");
    writeFile(path, "[S]\nK=first\nk=second\n");
    EXPECT_EQ(get(path, "S", "K"), "first");
}

TEST_F(Ini, TheTwoArmenianSectionsStayApart) {
    writeFile(path, "[ArmenianList.]\nSize=20\n[ArmenianList]\nSize=11\n");
    EXPECT_EQ(get(path, "ArmenianList", "Size"), "11");
    EXPECT_EQ(get(path, "ArmenianList.", "Size"), "20");
    EXPECT_EQ(set(path, "ArmenianList", "Bold", "True"), -1);
    EXPECT_EQ(set(path, "ArmenianList.", "Bold", "False"), -1);
    EXPECT_EQ(get(path, "ArmenianList", "Bold"), "True");
    EXPECT_EQ(get(path, "ArmenianList.", "Bold"), "False");
    EXPECT_EQ(readFile(path), "[ArmenianList.]\nSize=20\nBold=False\n[ArmenianList]\nSize=11\n"
                              "Bold=True\n");
}

TEST_F(Ini, LongValuesReadAsTheirFirst1023Characters) {
    writeFile(path, "[S]\nK=" + std::string(1500, 'v') + "\n");
    EXPECT_EQ(get(path, "S", "K"), std::string(1023, 'v'));
    ASSERT_EQ(set(path, "S", "K", QString(1023, QChar('w'))), -1);
    EXPECT_EQ(get(path, "S", "K"), std::string(1023, 'w'));
}

TEST_F(Ini, NothingIsCached) {
    writeFile(path, "[S]\nK=1\n");
    EXPECT_EQ(get(path, "S", "K"), "1");
    writeFile(path, "[S]\nK=2\n");
    EXPECT_EQ(get(path, "S", "K"), "2");
    std::filesystem::remove(path);
    EXPECT_EQ(get(path, "S", "K"), "");
}

TEST_F(Ini, TextIsUtf8) {
    ASSERT_EQ(set(path, "EnglishList", "Fontname", QString::fromUtf8("Шрифт Ա")), -1);
    EXPECT_EQ(readFile(path), "[EnglishList]\nFontname=Шрифт Ա\n");
    EXPECT_EQ(GetINIValue("englishlist", "FONTNAME", q(path)), QString::fromUtf8("Шрифт Ա"));
}

// ---- Writing ----

TEST_F(Ini, AWriteCreatesTheFileWithSectionsInTheOrderFirstWritten) {
    EXPECT_EQ(set(path, "Positions", "WindowMaximized", "False"), -1);
    EXPECT_EQ(set(path, "Positions", "Top", "270"), -1);
    EXPECT_EQ(set(path, "EnglishList", "Bold", "True"), -1);
    EXPECT_EQ(set(path, "Positions", "Left", "1920"), -1);
    EXPECT_EQ(readFile(path), "[Positions]\nWindowMaximized=False\nTop=270\nLeft=1920\n\n"
                              "[EnglishList]\nBold=True\n");
}

TEST_F(Ini, AWriteChangesOnlyItsLineAndKeepsTheRestByteForByte) {
    writeFile(path, kHandEdited);
    ASSERT_EQ(set(path, "englishLIST", "FORECOLOR", "-2147483630"), -1);
    std::string expected = kHandEdited;
    expected.replace(expected.find("ForeColor = 255 "), 16, "ForeColor=-2147483630");
    EXPECT_EQ(readFile(path), expected);
    // A key that was missing goes after the section's last key, before the
    // blank line and the comment that lead to the next section.
    ASSERT_EQ(set(path, "EnglishList", "Italic", "False"), -1);
    expected.replace(expected.find("Empty=\r\n"), 8, "Empty=\r\nItalic=False\r\n");
    EXPECT_EQ(readFile(path), expected);
    // A missing section goes to the end, after a line break the file lacked.
    ASSERT_EQ(set(path, "Positions", "Top", "200"), -1);
    expected += "\r\n\r\n[Positions]\r\nTop=200\r\n";
    EXPECT_EQ(readFile(path), expected);
    EXPECT_EQ(get(path, "Other", "Key"), "kept");
    EXPECT_EQ(get(path, "EnglishList", "Fontname"), "MS Sans Serif");
}

TEST_F(Ini, AKeyIsAppendedToTheLastLineOfAFileWithoutLineBreak) {
    writeFile(path, "[S]\nA=1");
    ASSERT_EQ(set(path, "S", "B", "2"), -1);
    EXPECT_EQ(readFile(path), "[S]\nA=1\nB=2\n");
    writeFile(path, "[S]");
    ASSERT_EQ(set(path, "s", "B", "2"), -1);
    EXPECT_EQ(readFile(path), "[S]\nB=2\n");
}

TEST_F(Ini, LineBreaksInAValueMakeNoLinesOfTheirOwn) {
    ASSERT_EQ(set(path, "S", "Fontname", "evil\r\n[Positions]\nWindowMaximized=True"), -1);
    EXPECT_EQ(get(path, "Positions", "WindowMaximized"), "");
    EXPECT_EQ(get(path, "S", "Fontname"), "evil [Positions] WindowMaximized=True");
}

TEST_F(Ini, AWriteKeepsTheFilesPermissionsOwnerAndLink) {
    writeFile(path, "[S]\nK=1\n");
    ::chmod(path.c_str(), 0640);
    ASSERT_EQ(set(path, "S", "K", "2"), -1);
    struct stat info {};
    ::stat(path.c_str(), &info);
    EXPECT_EQ(info.st_mode & 07777, 0640u);

    // Saved through a symbolic link, by another user (root) where the test can be.
    const std::string target = dir.file("real.ini");
    writeFile(target, "[S]\nK=1\n");
    ::chmod(target.c_str(), 0604);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(target.c_str(), 1, 1), 0);
    }
    const std::string link = dir.file("link.ini");
    std::filesystem::create_symlink(target, link);
    ASSERT_EQ(set(link, "S", "K", "3"), -1);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(readFile(target), "[S]\nK=3\n");
    ::stat(target.c_str(), &info);
    EXPECT_EQ(info.st_mode & 07777, 0604u);
    if (root) {
        EXPECT_EQ(info.st_uid, 1u);
        EXPECT_EQ(info.st_gid, 1u);
    }
}

TEST_F(Ini, AByteOrderMarkBelongsToNoLineAndIsKept) {
    writeFile(path, "\xEF\xBB\xBF[Positions]\r\nTop=200\r\n");
    EXPECT_EQ(get(path, "Positions", "Top"), "200");
    ASSERT_EQ(set(path, "Positions", "Top", "300"), -1);
    ASSERT_EQ(set(path, "Positions", "Left", "10"), -1);
    EXPECT_EQ(readFile(path), "\xEF\xBB\xBF[Positions]\r\nTop=300\r\nLeft=10\r\n");
}

// ---- Failures ----

TEST_F(Ini, ADirectoryWithoutWritePermissionLeavesTheFileUnchanged) {
    const std::filesystem::path program = dir.path() / "program";
    std::filesystem::create_directory(program);
    const std::string file = (program / "Options.ini").string();
    writeFile(file, "[EnglishList]\nBold=True\n");
    ::chmod(dir.path().c_str(), 0755);
    ::chmod(file.c_str(), 0644);
    ::chmod(program.c_str(), 0555);
    const int status = inChildProcess([&] {
        return SetINIValue("EnglishList", "Bold", "False", q(file)) == 0 &&
                       SetINIValue("Positions", "Top", "1", q(file)) == 0 &&
                       GetINIValue("EnglishList", "Bold", q(file)) == "True"
                   ? 0
                   : 1;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(readFile(file), "[EnglishList]\nBold=True\n");
    EXPECT_EQ(namesIn(program), std::vector<std::string>{"Options.ini"});
}

TEST_F(Ini, AFileThatCannotBeReadIsNotReplaced) {
    writeFile(path, "[EnglishList]\nBold=True\nSize=14\n");
    ::chmod(dir.path().c_str(), 0777);
    ::chmod(path.c_str(), 0222);
    const int status = inChildProcess([&] {
        return GetINIValue("EnglishList", "Bold", q(path)).isEmpty() &&
                       SetINIValue("EnglishList", "Italic", "True", q(path)) == 0
                   ? 0
                   : 1;
    });
    EXPECT_EQ(status, 0);
    ::chmod(path.c_str(), 0644);
    EXPECT_EQ(readFile(path), "[EnglishList]\nBold=True\nSize=14\n");
}

TEST_F(Ini, AFullDiskLeavesTheOldFileWhole) {
    std::string old = "[EnglishList]\n";
    for (int i = 0; i < 200; ++i) {
        old += "Key" + std::to_string(i) + "=some value\n";
    }
    writeFile(path, old);
    const int status = inChildWithDeadline([&] {
        // Room for a few bytes only, as on a disk that is all but full.
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{64, 64};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        return SetINIValue("EnglishList", "Key199", "changed", q(path)) == 0 ? 0 : 1;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(readFile(path), old);
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"Options.ini"});
}

TEST_F(Ini, PathsThatAreNoPlainFilesReadEmptyAndAreNotWritten) {
    std::filesystem::create_directory(path);
    EXPECT_EQ(get(path, "S", "K"), "");
    EXPECT_EQ(set(path, "S", "K", "1"), 0);
    EXPECT_TRUE(std::filesystem::is_directory(path));
    const std::string pipe = dir.file("pipe.ini");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    // Opening a pipe that nobody reads or writes would wait for ever.
    EXPECT_EQ(inChildWithDeadline([&] { return get(pipe, "S", "K").empty() ? 0 : 1; }), 0);
    EXPECT_EQ(inChildWithDeadline([&] { return set(pipe, "S", "K", "1") == 0 ? 0 : 1; }), 0);
    EXPECT_TRUE(std::filesystem::is_fifo(pipe));
    EXPECT_EQ(set(dir.file("no-such-dir/Options.ini"), "S", "K", "1"), 0);
}

TEST(IniErrors, ErrorsInsideTheRoutinesReachTheCallerWithSourceAndDescription) {
    try {
        detail::underIniTrap("GetINIValue", "Cannot read from INI File.",
                             []() -> QString { throw std::bad_alloc(); });
        FAIL() << "no error";
    } catch (const IniError& e) {
        EXPECT_EQ(e.number(), 7);
        EXPECT_EQ(e.source(), "GetINIValue");
        EXPECT_EQ(e.description(), "Cannot read from INI File.");
    }
    try {
        detail::underIniTrap("SetINIValue", "Cannot write To INI file.",
                             []() -> short { throw std::length_error("too long"); });
        FAIL() << "no error";
    } catch (const IniError& e) {
        EXPECT_EQ(e.number(), 51);
        EXPECT_EQ(e.source(), "SetINIValue");
        EXPECT_EQ(e.description(), "Cannot write To INI file.");
    }
}

// ---- Values ----

TEST(IniValues, OnlyTheExactTextTrueIsTrue) {
    EXPECT_TRUE(iniBool("True"));
    for (const char* text : {"true", "TRUE", "1", "-1", "", " True", "Yes"}) {
        EXPECT_FALSE(iniBool(text)) << text;
    }
    EXPECT_EQ(iniBoolText(true), "True");
    EXPECT_EQ(iniBoolText(false), "False");
}

TEST(IniValues, ColoursAreSignedDecimal32BitNumbers) {
    EXPECT_EQ(iniColourText(static_cast<std::int32_t>(0x80000012u)), "-2147483630");
    EXPECT_EQ(iniColour("-2147483630"), static_cast<std::int32_t>(0x80000012u));
    EXPECT_EQ(iniColour(" 16777215 "), 0x00FFFFFF);
    EXPECT_EQ(iniColour("0"), 0);
    for (const char* text : {"", "abc", "12abc", "1.5", "2147483648", "-2147483649", "&HFF"}) {
        EXPECT_FALSE(iniColour(text)) << text;
    }
}

TEST(IniValues, NumbersReadWithEitherDecimalSeparator) {
    EXPECT_EQ(iniSingle("9.75"), 9.75F);
    EXPECT_EQ(iniSingle("9,75"), 9.75F);
    EXPECT_EQ(iniSingle(" 10 "), 10.0F);
    EXPECT_EQ(iniSingle("-1920"), -1920.0F);
    EXPECT_EQ(iniSingle("1e3"), 1000.0F);
    EXPECT_EQ(iniSingle(".5"), 0.5F);
    for (const char* text : {"", "abc", "1.2.3", "1,2,3", "nan", "inf", "1e39", "10pt", "0x10"}) {
        EXPECT_FALSE(iniSingle(text)) << text;
    }
}

TEST(IniValues, NumbersAreWrittenInTheLocalesFormWithoutFractionWhenWhole) {
    const QLocale before;
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(iniSingleText(270), "270");
    EXPECT_EQ(iniSingleText(7965), "7965");
    EXPECT_EQ(iniSingleText(-15), "-15");
    EXPECT_EQ(iniSingleText(9.75F), "9.75");
    EXPECT_EQ(iniSingleText(0.1F), "0.1");
    EXPECT_EQ(iniSingleText(12000000), "12000000");
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(iniSingleText(9.75F), "9,75");
    EXPECT_EQ(iniSingleText(12000), "12000");
    for (const float value : {9.75F, 0.1F, 10.0F, 1920.0F, -3.5F, 1234.567F}) {
        EXPECT_EQ(iniSingle(iniSingleText(value)), value);
    }
    // A separator that is neither: the number is written with a point.
    QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));
    EXPECT_EQ(iniSingleText(12.5F), "12.5");
    EXPECT_EQ(iniSingle(iniSingleText(12.5F)), 12.5F);
    QLocale::setDefault(before);
}
