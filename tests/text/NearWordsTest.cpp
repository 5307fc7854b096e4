#include "text/NearWords.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

using namespace tavelin;

namespace {

// Words of a side in dictionary order, given as UTF-8.
class Words : public WordSequence {
public:
    Words(Side side, std::vector<std::string> utf8) : side_(side) {
        for (const std::string& word : utf8) {
            words_.push_back(*fromUtf8(side, word));
        }
        std::stable_sort(words_.begin(), words_.end(), [side](const auto& a, const auto& b) {
            return compareWords(side, a, b) < 0;
        });
    }
    int count() const override { return static_cast<int>(words_.size()); }
    std::string_view word(int index) const override {
        return words_[static_cast<std::size_t>(index)];
    }

    // The near words, as UTF-8, found both ways; the two must agree.
    std::vector<std::string> near(const std::string& typedUtf8) const {
        const std::string typed = *fromUtf8(side_, typedUtf8);
        const std::vector<NearWord> tree = findNearWords(*this, side_, typed, true);
        const std::vector<NearWord> eachWord = findNearWords(*this, side_, typed, false);
        EXPECT_EQ(indexes(tree), indexes(eachWord)) << typedUtf8;
        std::vector<std::string> shown;
        for (const NearWord& near : tree) {
            shown.push_back(toUtf8(side_, word(near.index)));
        }
        return shown;
    }

    static std::vector<int> indexes(const std::vector<NearWord>& near) {
        std::vector<int> result;
        for (const NearWord& word : near) {
            result.push_back(word.index);
        }
        return result;
    }

private:
    Side side_;
    std::vector<std::string> words_;
};

using Shown = std::vector<std::string>;

TEST(NearWordsTest, TyposFindTheWordMeant) {
    const Words english(Side::English,
                        {"halo", "held", "hell", "hello", "helmet", "help", "helicopter", "hero",
                         "mount", "mountain", "mountaineer", "mountains", "moutain", "water"});
    // A doubled letter left out costs less than any other edit.
    EXPECT_EQ(english.near("helo"), (Shown{"hello", "halo", "held", "hell", "help"}));
    // Two letters swapped are one edit; the nearer beginning comes first,
    // then the nearer whole word.
    EXPECT_EQ(english.near("mountian").front(), "mountain");
    // Text that is the beginning of a word, typed wrong, offers the words it begins.
    EXPECT_EQ(english.near("mountia"),
              (Shown{"mountain", "mountains", "mountaineer", "mount", "moutain"}));
    EXPECT_EQ(english.near("HELO").front(), "hello"); // without regard to case

    const Words russian(Side::Russian, {"Ереван", "еревань", "ерунда", "река", "Армения"});
    EXPECT_EQ(russian.near("Ереаан").front(), "Ереван");
    EXPECT_EQ(russian.near("ереаан").front(), "Ереван");

    const Words armenian(Side::Armenian, {"ջուր", "ջրել", "ջերմ", "Ջուր", "ջութակ"});
    // Ջուր and ջուր are the same word: offered once, by the first in the list.
    EXPECT_EQ(armenian.near("ջուրր"), (Shown{"Ջուր"}));
}

TEST(NearWordsTest, NothingFartherThanTheTextAllows) {
    const Words english(Side::English, {"cat", "catalogue", "dog", "house", "mouse", "water"});
    // Up to five characters one edit, from six on two.
    EXPECT_EQ(english.near("xyz"), Shown{});
    EXPECT_EQ(english.near("dgo"), Shown{"dog"});
    EXPECT_EQ(english.near("hxuxe"), Shown{});
    EXPECT_EQ(english.near("hxusxe"), (Shown{"house"}));
    EXPECT_EQ(english.near(std::string(65, 'w')), Shown{}); // too long to be a typo
}

// The distances, the plain way: the whole table for the typed text and the
// word, letters compared without regard to case.
std::pair<int, int> distances(Side side, const std::string& typed, std::string_view word) {
    const std::string t = foldCase(side, typed);
    const std::string w = foldCase(side, word);
    const std::size_t m = t.size();
    const std::size_t n = w.size();
    const auto leaveOut = [&](std::size_t i) { return i >= 2 && t[i - 1] == t[i - 2] ? 1 : 2; };
    const auto putIn = [&](std::size_t j) { return j >= 2 && w[j - 1] == w[j - 2] ? 1 : 2; };
    std::vector<std::vector<int>> d(m + 1, std::vector<int>(n + 1, 0));
    for (std::size_t i = 0; i <= m; ++i) {
        for (std::size_t j = 0; j <= n; ++j) {
            if (i == 0 && j == 0) {
                continue;
            }
            int best = 1 << 20;
            if (i > 0) {
                best = std::min(best, d[i - 1][j] + leaveOut(i));
            }
            if (j > 0) {
                best = std::min(best, d[i][j - 1] + putIn(j));
            }
            if (i > 0 && j > 0) {
                best = std::min(best, d[i - 1][j - 1] + (t[i - 1] == w[j - 1] ? 0 : 2));
            }
            if (i > 1 && j > 1 && t[i - 1] == w[j - 2] && t[i - 2] == w[j - 1]) {
                best = std::min(best, d[i - 2][j - 2] + 2);
            }
            d[i][j] = best;
        }
    }
    int toBeginning = d[m][0];
    for (std::size_t j = 0; j <= n; ++j) {
        toBeginning = std::min(toBeginning, d[m][j]);
    }
    return {toBeginning, d[m][n]};
}

// Searching the tree skips what cannot be near, and reading word by word
// stops early; both must find what measuring every word finds, among many
// words that share beginnings.
TEST(NearWordsTest, SearchesFindWhatMeasuringEveryWordFinds) {
    std::mt19937 random(18);
    const auto text = [&](std::size_t length) {
        std::string word;
        for (std::size_t i = 0; i < length; ++i) {
            word += "abcdeAB"[random() % 7];
        }
        return word;
    };
    std::vector<std::string> made;
    for (int i = 0; i < 3000; ++i) {
        made.push_back(text(1 + random() % 9));
    }
    const Words list(Side::English, made);
    for (int query = 0; query < 300; ++query) {
        const std::string typed = text(1 + random() % 10);
        const int allowed = typed.size() >= 6 ? 4 : 2;
        std::vector<NearWord> expected;
        for (int i = 0; i < list.count(); ++i) {
            const auto [toBeginning, toWord] = distances(Side::English, typed, list.word(i));
            const bool seen = std::any_of(expected.begin(), expected.end(), [&](auto& near) {
                return equalIgnoringCase(Side::English, list.word(near.index), list.word(i));
            });
            if (toBeginning <= allowed && !seen) {
                expected.push_back({i, toBeginning, toWord});
            }
        }
        std::stable_sort(expected.begin(), expected.end(), [](const auto& a, const auto& b) {
            return std::pair(a.toBeginning, a.toWord) < std::pair(b.toBeginning, b.toWord);
        });
        expected.resize(std::min<std::size_t>(expected.size(), 5));
        for (const bool inOrder : {true, false}) {
            EXPECT_EQ(Words::indexes(findNearWords(list, Side::English, typed, inOrder)),
                      Words::indexes(expected))
                << typed;
        }
    }
}

} // namespace
