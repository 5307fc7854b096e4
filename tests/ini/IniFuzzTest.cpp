// The INI reader and writer on files nobody meant to be INI files: random
// bytes, random INI-like lines, very long lines, files of several megabytes.
// They must never crash or hang, and a write must never disturb another key.
#include "ini/modIni.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <random>

using namespace tavelin;
using tavelin::test::readFile;
using tavelin::test::TempDir;
using tavelin::test::writeFile;

namespace {

const char* const kSections[] = {"EnglishList", "ArmenianList", "ArmenianList.", "Positions", "S"};
const char* const kKeys[] = {"ForeColor", "BackColor", "Bold", "Size", "Top", "K"};

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

// Bytes in which the characters that mean something to an INI file are common.
std::string randomBytes(std::mt19937& random, size_t size) {
    static const std::string special = "[]=\n\r \t\"';.\0";
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> pick(0, 3);
    std::string text;
    text.reserve(size);
    for (size_t i = 0; i < size; ++i) {
        text += pick(random) == 0 ? special[static_cast<size_t>(byte(random)) % special.size()]
                                  : static_cast<char>(byte(random));
    }
    return text;
}

// Lines an INI file may hold, including odd ones.
std::string randomIniLine(std::mt19937& random) {
    std::uniform_int_distribution<int> kind(0, 9);
    std::uniform_int_distribution<size_t> section(0, std::size(kSections) - 1);
    std::uniform_int_distribution<size_t> key(0, std::size(kKeys) - 1);
    std::uniform_int_distribution<int> number(-100, 100000);
    auto mixCase = [&](std::string name) {
        for (char& c : name) {
            if (random() % 3 == 0) {
                c = static_cast<char>(std::isupper(static_cast<unsigned char>(c))
                                          ? std::tolower(static_cast<unsigned char>(c))
                                          : std::toupper(static_cast<unsigned char>(c)));
            }
        }
        return name;
    };
    switch (kind(random)) {
    case 0:
        return "[" + mixCase(kSections[section(random)]) + "]";
    case 1:
        return " [ " + std::string(kSections[section(random)]) + " ] ";
    case 2:
        return "; " + std::string(kKeys[key(random)]) + "=commented";
    case 3:
        return "";
    case 4:
        return std::string(kKeys[key(random)]) + "  =  \"" + std::to_string(number(random)) + "\"";
    case 5:
        return "garbage without equals";
    case 6:
        return "[unclosed";
    default:
        return mixCase(kKeys[key(random)]) + "=" + std::to_string(number(random));
    }
}

std::map<std::pair<std::string, std::string>, QString> allValues(const std::string& path) {
    std::map<std::pair<std::string, std::string>, QString> values;
    for (const char* section : kSections) {
        for (const char* key : kKeys) {
            values[{section, key}] = GetINIValue(section, key, q(path));
        }
    }
    return values;
}

class IniFuzz : public ::testing::Test {
protected:
    TempDir dir;
    std::string path = dir.file("Options.ini");
};

} // namespace

TEST_F(IniFuzz, RandomBytesNeverCrashTheReader) {
    std::mt19937 random(20240601);
    std::uniform_int_distribution<size_t> size(0, 20000);
    for (int round = 0; round < 300; ++round) {
        writeFile(path, randomBytes(random, size(random)));
        for (const char* section : kSections) {
            for (const char* key : kKeys) {
                EXPECT_LE(GetINIValue(section, key, q(path)).size(), 1023);
            }
        }
    }
}

TEST_F(IniFuzz, AWriteOnARandomFileChangesThatKeyAloneAndReadsBack) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> lines(0, 40);
    std::uniform_int_distribution<size_t> section(0, std::size(kSections) - 1);
    std::uniform_int_distribution<size_t> key(0, std::size(kKeys) - 1);
    for (int round = 0; round < 400; ++round) {
        std::string text;
        const char* eol = round % 2 ? "\r\n" : "\n";
        for (int n = lines(random); n > 0; --n) {
            text += randomIniLine(random) + (n > 1 || round % 3 ? eol : "");
        }
        writeFile(path, text);
        auto expected = allValues(path);
        const std::string s = kSections[section(random)];
        const std::string k = kKeys[key(random)];
        const QString value = QStringLiteral("v%1").arg(round);
        ASSERT_EQ(SetINIValue(q(s), q(k), value, q(path)), -1) << text;
        expected[{s, k}] = value;
        ASSERT_EQ(allValues(path), expected) << "file before:\n"
                                             << text << "\nafter:\n"
                                             << readFile(path);
        // Every line of the old file is still there, in its order, but one.
        const std::string after = readFile(path);
        size_t kept = 0;
        size_t from = 0;
        size_t total = 0;
        for (size_t start = 0; start < text.size();) {
            size_t end = text.find('\n', start);
            end = end == std::string::npos ? text.size() : end;
            const std::string line = text.substr(start, end - start);
            ++total;
            const size_t at = after.find(line, from);
            if (at != std::string::npos) {
                ++kept;
                from = at + line.size();
            }
            start = end + 1;
        }
        EXPECT_GE(kept + 1, total) << text;
    }
}

TEST_F(IniFuzz, VeryLongLinesAndLargeFilesAreReadInGoodTime) {
    const auto start = std::chrono::steady_clock::now();
    // One line of 8 megabytes.
    writeFile(path, "[S]\nK=" + std::string(8 << 20, 'x'));
    EXPECT_EQ(GetINIValue("S", "K", q(path)), QString(1023, QChar('x')));
    writeFile(path, std::string(8 << 20, 'y'));
    EXPECT_EQ(GetINIValue("S", "K", q(path)), "");
    writeFile(path, "[" + std::string(4 << 20, 'S'));
    EXPECT_EQ(GetINIValue("S", "K", q(path)), "");
    // Six megabytes of sections, the key wanted at the very end.
    std::string big;
    for (int i = 0; big.size() < (6u << 20); ++i) {
        big += "[Section" + std::to_string(i) + "]\nForeColor=" + std::to_string(i) +
               "\nFontname=Some font name\n";
    }
    big += "[Positions]\nTop=270\n";
    writeFile(path, big);
    EXPECT_EQ(GetINIValue("positions", "top", q(path)), "270");
    ASSERT_EQ(SetINIValue("Positions", "Left", "1920", q(path)), -1);
    EXPECT_EQ(readFile(path), big + "Left=1920\n");
    const auto seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 20.0);
}

TEST_F(IniFuzz, BinaryFilesWithNulBytesAreReadAndWrittenAround) {
    static const char bytes[] = "[S]\nK=a\0b\n\0\0junk\n[T]\nL=\xff\xfe\n";
    const std::string binary(bytes, sizeof bytes - 1);
    writeFile(path, binary);
    EXPECT_EQ(GetINIValue("S", "K", q(path)), QString::fromUtf8("a\0b", 3));
    ASSERT_EQ(SetINIValue("T", "M", "1", q(path)), -1);
    EXPECT_EQ(readFile(path), binary + "M=1\n");
}
