// The starter word lists in data/: what the dictionaries are first filled with
// and what an install ships. A bad line there fails the build of the starter
// dictionaries, or worse, shows a user a word they cannot look up.
#include "DictTool.h"
#include "support/TempDir.h"
#include "text/CharacterSet.h"

#include <QString>
#include <QStringDecoder>
#include <QStringList>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

using namespace tavelin;

namespace {

struct StarterList {
    const char* file;
    const char* kind;
    Side side;
};

void PrintTo(const StarterList& list, std::ostream* out) {
    *out << list.file;
}

bool isArmenianLetter(char16_t c) {
    return (c >= 0x531 && c <= 0x556) || (c >= 0x561 && c <= 0x587);
}

bool isSourceLetter(Side side, char16_t c) {
    if (side == Side::Russian) {
        return (c >= 0x410 && c <= 0x44F) || c == 0x401 || c == 0x451;
    }
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'\'';
}

// The lines of a file, each without its line feed.
std::vector<std::string> linesOf(const std::string& path) {
    const std::string bytes = test::readFile(path);
    EXPECT_TRUE(!bytes.empty() && bytes.back() == '\n')
        << path << ": the last line ends with a line feed";
    std::vector<std::string> result;
    std::istringstream in(bytes);
    for (std::string line; std::getline(in, line);) {
        result.push_back(line);
    }
    return result;
}

class StarterListTest : public testing::TestWithParam<StarterList> {
protected:
    std::string path() const { return std::string(TAVELIN_DATA_DIR) + "/" + GetParam().file; }
    std::vector<std::string> lines() const { return linesOf(path()); }
};

// What is wrong with one field, or an empty string. A source word is letters
// with single blanks and hyphens between them; the Armenian side is one or
// more senses of that kind, separated by a comma and a blank.
std::string fault(Side side, const QString& text) {
    if (text.isEmpty() || text.size() > 100) {
        return "empty or longer than 100 characters";
    }
    if (text.startsWith(u' ') || text.endsWith(u' ') || text.contains(QStringLiteral("  "))) {
        return "a blank at an end or two together";
    }
    const QStringList senses =
        side == Side::Armenian ? text.split(QStringLiteral(", ")) : QStringList{text};
    for (const QString& sense : senses) {
        bool letters = false;
        for (const QChar ch : sense) {
            const char16_t c = ch.unicode();
            const bool letter =
                side == Side::Armenian ? isArmenianLetter(c) : isSourceLetter(side, c);
            if (!letter && c != u' ' && c != u'-') {
                return "the character U+" + QString::number(c, 16).toStdString();
            }
            letters = letters || letter;
        }
        if (!letters || sense.startsWith(u' ') || sense.endsWith(u' ')) {
            return "a sense without letters or with a blank at an end";
        }
    }
    if (!fromUtf8(side, text.toStdString())) {
        return "a character the dictionary's 8-bit set cannot hold";
    }
    return {};
}

TEST_P(StarterListTest, EveryLineIsAPairOfCleanFields) {
    const Side source = GetParam().side;
    int number = 0;
    for (const std::string& line : lines()) {
        SCOPED_TRACE(GetParam().file + (":" + std::to_string(++number)) + ": " + line);
        QStringDecoder decode(QStringConverter::Utf8);
        const QString text = decode(QByteArray::fromStdString(line));
        ASSERT_FALSE(decode.hasError()) << "not UTF-8";
        const QStringList fields = text.split(u'\t');
        ASSERT_EQ(fields.size(), 2) << "exactly one tab";
        EXPECT_EQ(fault(source, fields[0]), "");
        EXPECT_EQ(fault(Side::Armenian, fields[1]), "");
        if (source == Side::Russian) {
            EXPECT_FALSE(fields[0].contains(QChar(0x451)) || fields[0].contains(QChar(0x401)))
                << "written with е, as the rest of the list";
        }
    }
}

TEST_P(StarterListTest, NoSourceWordTwiceWhateverItsCase) {
    std::set<std::string> seen;
    for (const std::string& line : lines()) {
        const auto codes = fromUtf8(GetParam().side, line.substr(0, line.find('\t')));
        ASSERT_TRUE(codes) << line;
        EXPECT_TRUE(seen.insert(foldCase(GetParam().side, *codes)).second) << "twice: " << line;
    }
}

TEST_P(StarterListTest, ImportsWholeIntoANewDictionary) {
    const size_t count = lines().size();
    EXPECT_GE(count, 3000u) << "the starter vocabulary has shrunk";
    test::TempDir dir;
    std::ostringstream out, err;
    ASSERT_EQ(runDictTool({"import", "--kind", GetParam().kind, dir.file("starter.tvl"), path()},
                          out, err),
              0)
        << err.str();
    out.str("");
    EXPECT_EQ(runDictTool({"count", "--kind", GetParam().kind, dir.file("starter.tvl")}, out, err),
              0);
    EXPECT_EQ(out.str(), std::to_string(count) + "\n");
}

// The Armenian senses of each source word of a list.
std::map<std::string, std::set<std::string>> sensesOf(const std::string& file) {
    std::map<std::string, std::set<std::string>> senses;
    for (const std::string& line : linesOf(std::string(TAVELIN_DATA_DIR) + "/" + file)) {
        const std::size_t tab = line.find('\t');
        std::set<std::string>& field = senses[line.substr(0, tab)];
        for (std::size_t from = tab + 1;;) {
            const std::size_t comma = line.find(", ", from);
            field.insert(line.substr(from, comma - from));
            if (comma == std::string::npos) {
                break;
            }
            from = comma + 2;
        }
    }
    return senses;
}

// The "english|russian" pairs of a file, without its comments and blank lines.
std::vector<std::pair<std::string, std::string>> pairsIn(const std::string& file) {
    std::vector<std::pair<std::string, std::string>> pairs;
    for (std::string line : linesOf(std::string(TAVELIN_WORD_LIST_CHECKS_DIR) + "/" + file)) {
        line = line.substr(0, line.find('#'));
        line.erase(line.find_last_not_of(' ') + 1);
        if (!line.empty()) {
            const std::size_t bar = line.find('|');
            pairs.emplace_back(line.substr(0, bar), line.substr(bar + 1));
        }
    }
    return pairs;
}

// The two lists are translated apart; where an English and a Russian word
// mean the same, their Armenian should meet. A pair that does not is either a
// wrong translation on one side or a difference someone read and wrote down.
TEST(StarterLists, WordsOfOneMeaningShareAnArmenianWord) {
    const auto english = sensesOf("en-hy.tsv");
    const auto russian = sensesOf("ru-hy.tsv");
    const auto shareAWord = [&](const std::pair<std::string, std::string>& pair) {
        const auto& a = english.at(pair.first);
        const auto& b = russian.at(pair.second);
        return std::any_of(a.begin(), a.end(),
                           [&](const std::string& sense) { return b.count(sense) != 0; });
    };
    const auto known = [&](const std::pair<std::string, std::string>& pair) {
        return english.count(pair.first) != 0 && russian.count(pair.second) != 0;
    };
    const auto differing = pairsIn("different-words.txt");
    const std::set<std::pair<std::string, std::string>> judged(differing.begin(), differing.end());
    const auto pairs = pairsIn("same-meaning.txt");
    ASSERT_GT(pairs.size(), 5000u);
    for (const auto& pair : pairs) {
        SCOPED_TRACE(pair.first + "|" + pair.second);
        ASSERT_TRUE(known(pair)) << "a word the lists no longer hold";
        EXPECT_TRUE(shareAWord(pair) || judged.count(pair) != 0)
            << "the Armenian of the two lists shares no word";
    }
    const std::set<std::pair<std::string, std::string>> listed(pairs.begin(), pairs.end());
    for (const auto& pair : differing) {
        SCOPED_TRACE(pair.first + "|" + pair.second);
        EXPECT_TRUE(listed.count(pair) != 0 && !shareAWord(pair))
            << "written down as differing, but the lists now agree or the pair is gone";
    }
}

INSTANTIATE_TEST_SUITE_P(Data, StarterListTest,
                         testing::Values(StarterList{"en-hy.tsv", "en", Side::English},
                                         StarterList{"ru-hy.tsv", "ru", Side::Russian}),
                         [](const auto& info) { return std::string(info.param.kind); });

} // namespace
