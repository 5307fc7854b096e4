// The word list behind each list box: words put in and taken out one by one
// must leave it as a fresh load of the dictionary would, and the loaders'
// order check must agree with the dictionary's collation. Its pages, made
// small, must hold every word where it was put whatever comes and goes.
#include "main_window/WordListModel.h"
#include "main_window/WordStore.h"
#include "support/WordLists.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

using namespace tavelin;

namespace {

using test::contents;
using test::fill;

// What a loader gives: the stored words in dictionary order.
std::vector<std::string> freshLoad(Side side, std::vector<std::string> stored) {
    std::stable_sort(stored.begin(), stored.end(),
                     [side](const auto& a, const auto& b) { return compareWords(side, a, b) < 0; });
    return stored;
}

// Words from a few letters of the side (both cases), a space and a hyphen,
// so that words share beginnings, differ only in case, and repeat.
class Words {
public:
    Words(Side side, unsigned seed) : random_(seed) {
        const CharacterSet& set = CharacterSet::of(side);
        for (int code = 0; code < 256 && letters_.size() < 10; ++code) {
            const auto c = static_cast<unsigned char>(code);
            if (set.isLetter(c) && set.fold(c) != c) {
                letters_.push_back(static_cast<char>(c));           // small
                letters_.push_back(static_cast<char>(set.fold(c))); // capital
            }
        }
        letters_ += " -";
    }
    std::string next(std::size_t longest = 4) {
        std::string word;
        const std::size_t length = 1 + random_() % longest;
        for (std::size_t i = 0; i < length; ++i) {
            word += letters_[random_() % letters_.size()];
        }
        return word;
    }
    // A word sharing a long beginning with another, longer than eight codes.
    std::string longer(const std::string& stem) { return stem + stem + stem + next(12); }
    std::mt19937& random() { return random_; }

private:
    std::mt19937 random_;
    std::string letters_;
};

} // namespace

TEST(WordListModel, WordsPutInAndTakenOutLeaveWhatAFreshLoadGives) {
    for (Side side : {Side::English, Side::Russian, Side::Armenian}) {
        Words make(side, 7 + static_cast<unsigned>(side));
        std::vector<std::string> stored;
        for (int i = 0; i < 200; ++i) {
            stored.push_back(make.next());
        }
        WordListModel list(side);
        fill(list, freshLoad(side, stored));
        ASSERT_TRUE(list.inDictionaryOrder());

        for (int step = 0; step < 2000; ++step) {
            if (make.random()() % 2 == 0 || stored.empty()) {
                // New words, words stored already, and long ones.
                std::string word = make.next();
                if (step % 7 == 0 && !stored.empty()) {
                    word = stored[make.random()() % stored.size()];
                } else if (step % 11 == 0) {
                    word = make.longer(word);
                }
                const int row = list.insertWord(word);
                ASSERT_EQ(list.word(row), word);
                stored.push_back(word);
            } else {
                const std::string word = stored[make.random()() % stored.size()];
                const int row = list.removeWord(word);
                ASSERT_GE(row, 0) << word;
                stored.erase(std::find(stored.begin(), stored.end(), word));
            }
            ASSERT_EQ(contents(list), freshLoad(side, stored)) << "step " << step;
        }
        EXPECT_TRUE(list.inDictionaryOrder());
    }
}

TEST(WordListModel, TakingOutAWordItDoesNotHoldChangesNothing) {
    WordListModel list(Side::English);
    fill(list, {"Cat", "cat", "cats"});
    int removed = 0;
    QObject::connect(&list, &QAbstractItemModel::rowsRemoved, [&] { ++removed; });
    EXPECT_EQ(list.removeWord("CAT"), -1) << "codes must be equal, not only the letters";
    EXPECT_EQ(list.removeWord("ca"), -1);
    EXPECT_EQ(list.removeWord(""), -1);
    EXPECT_EQ(contents(list), (std::vector<std::string>{"Cat", "cat", "cats"}));
    EXPECT_EQ(removed, 0);
    EXPECT_EQ(list.indexOf("cat"), 1);
    EXPECT_EQ(list.removeWord("cat"), 1);
    EXPECT_EQ(removed, 1);
}

TEST(WordListModel, ViewsHearOfEachWordWhereItGoes) {
    WordListModel list(Side::English);
    fill(list, {"apple", "cat", "dog"});
    std::vector<std::pair<int, int>> inserted;
    std::vector<std::pair<int, int>> removed;
    int resets = 0;
    QObject::connect(
        &list, &QAbstractItemModel::rowsInserted,
        [&](const QModelIndex&, int first, int last) { inserted.emplace_back(first, last); });
    QObject::connect(
        &list, &QAbstractItemModel::rowsRemoved,
        [&](const QModelIndex&, int first, int last) { removed.emplace_back(first, last); });
    QObject::connect(&list, &QAbstractItemModel::modelReset, [&] { ++resets; });
    EXPECT_EQ(list.insertWord("bird"), 1);
    EXPECT_EQ(list.insertWord("cat"), 3) << "after the word stored before it";
    EXPECT_EQ(list.insertWord("zebra"), 5);
    EXPECT_EQ(list.insertWord("Apple"), 0);
    EXPECT_EQ(list.removeWord("dog"), 5);
    EXPECT_EQ(inserted, (std::vector<std::pair<int, int>>{{1, 1}, {3, 3}, {5, 5}, {0, 0}}));
    EXPECT_EQ(removed, (std::vector<std::pair<int, int>>{{5, 5}}));
    EXPECT_EQ(resets, 0);
    EXPECT_EQ(list.data(list.index(1), Qt::DisplayRole).toString(), QString("apple"));
    EXPECT_EQ(contents(list),
              (std::vector<std::string>{"Apple", "apple", "bird", "cat", "cat", "zebra"}));
}

TEST(WordListModel, AListOutOfOrderTakesNewWordsAtItsEnd) {
    WordListModel list(Side::English);
    fill(list, {"zebra", "apple", "zebra"});
    ASSERT_FALSE(list.inDictionaryOrder());
    EXPECT_EQ(list.insertWord("cat"), 3);
    EXPECT_EQ(list.removeWord("zebra"), 0) << "the first of the two";
    EXPECT_EQ(contents(list), (std::vector<std::string>{"apple", "zebra", "cat"}));
}

TEST(WordListModel, OrderCheckAgreesWithTheCollation) {
    for (Side side : {Side::English, Side::Russian, Side::Armenian}) {
        Words make(side, 3 + static_cast<unsigned>(side));
        for (int i = 0; i < 20000; ++i) {
            std::string a = make.next(6);
            std::string b;
            switch (i % 4) {
            case 0: // unrelated words
                b = make.next(6);
                break;
            case 1: // a long common beginning, then anything
                a = make.longer(a);
                while (a.size() <= 8) {
                    a += make.next(6);
                }
                b = a.substr(0, 8 + make.random()() % (a.size() - 8)) + make.next(3);
                break;
            case 2: // the same letters in other cases
                b = a;
                for (char& c : b) {
                    if (make.random()() % 2) {
                        c = static_cast<char>(
                            CharacterSet::of(side).fold(static_cast<unsigned char>(c)));
                    }
                }
                break;
            default: // one a beginning of the other
                b = a + make.next(10);
                if (i % 8 == 3) {
                    std::swap(a, b);
                }
            }
            WordListModel list(side);
            fill(list, {a, b});
            ASSERT_EQ(list.inDictionaryOrder(), compareWords(side, a, b) <= 0)
                << "'" << a << "' then '" << b << "'";
        }
    }
}

TEST(WordStore, PagesHoldEveryWordWhereItWasPutWhateverComesAndGoes) {
    // Pages of 64 and 256 bytes split and empty all the time; words from
    // empty to several pages long, put in and taken out anywhere.
    for (const std::size_t pageBytes : {std::size_t{64}, std::size_t{256}}) {
        std::mt19937 random(static_cast<unsigned>(pageBytes));
        WordStore store(pageBytes);
        std::vector<std::string> expected;
        const auto makeWord = [&] {
            const std::size_t length =
                random() % 10 == 0 ? random() % (2 * pageBytes) : random() % 12;
            std::string word(length, ' ');
            for (char& c : word) {
                c = static_cast<char>('a' + random() % 26);
            }
            return word;
        };
        for (int step = 0; step < 6000; ++step) {
            const unsigned what = random() % 10;
            if (what < 5 || expected.empty()) {
                const std::size_t at = random() % (expected.size() + 1);
                const std::string word = makeWord();
                store.insert(at, word);
                expected.insert(expected.begin() + static_cast<std::ptrdiff_t>(at), word);
            } else if (what < 9) {
                const std::size_t at = random() % expected.size();
                store.erase(at);
                expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(at));
            } else if (step % 500 == 9) {
                store.clear();
                expected.clear();
                for (int i = 0; i < 100; ++i) {
                    expected.push_back(makeWord());
                    store.push_back(expected.back());
                }
            }
            ASSERT_EQ(store.size(), expected.size());
            // Read in order and out of order, as searches and views do.
            for (std::size_t i = 0; i < expected.size(); ++i) {
                ASSERT_EQ(store[i], expected[i]) << "step " << step << ", word " << i;
            }
            if (!expected.empty()) {
                const std::size_t i = random() % expected.size();
                ASSERT_EQ(store[i], expected[i]);
            }
        }
    }
}
