// The copy of a dictionary's lists kept for the next start: it gives back the
// lists exactly, only for the dictionary in the state it was made of, never
// when damaged, and is made only of a dictionary no longer being written.
#include "app/ListSnapshot.h"
#include "data/Database.h"
#include "data/DictionaryKind.h"
#include "main_window/WordListModel.h"
#include "support/TempDir.h"
#include "support/WordLists.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

using namespace tavelin;
using tavelin::test::TempDir;

namespace {

using test::contents;
using test::fill;

// Reads the copy into two fresh lists; nothing when it was refused.
struct ReadBack {
    bool read;
    std::vector<std::string> source;
    std::vector<std::string> armenian;
    bool sourceOrdered;
};

ReadBack readBack(const ListSnapshot& snapshot, const DictionaryState& state) {
    WordListModel source(Side::English);
    WordListModel armenian(Side::Armenian);
    source.clear();
    armenian.clear();
    const bool read = snapshot.read(state, source, armenian);
    source.finish();
    armenian.finish();
    return {read, contents(source), contents(armenian), source.inDictionaryOrder()};
}

} // namespace

TEST(ListSnapshot, GivesTheListsBackOnlyForTheDictionaryAsItWas) {
    TempDir dir;
    const std::string path = dir.file("EA.tvl");
    Database dictionary = Database::create(path, kEnglishArmenian);
    dictionary.append("cat", "\xAF");
    const ListSnapshot snapshot(path);
    ASSERT_FALSE(snapshot.path().empty());
    EXPECT_EQ(snapshot.path().find(std::getenv("XDG_CACHE_HOME")), 0u)
        << "in the cache folder, never beside the dictionary: " << snapshot.path();

    // Lists of every kind of word: empty, longer than a page, many (several
    // pages), and a list out of dictionary order, which must stay so marked.
    std::vector<std::string> english = {"", "a"};
    for (int i = 0; i < 30000; ++i) {
        english.push_back("word" + std::to_string(100000 + i));
    }
    english.push_back(std::string(70000, 'z'));
    const std::vector<std::string> armenian = {"\xB3", "\xB1\xB3", "\xB3"};
    WordListModel source(Side::English);
    WordListModel target(Side::Armenian);
    fill(source, english);
    fill(target, armenian);
    ASSERT_TRUE(source.inDictionaryOrder());
    ASSERT_FALSE(target.inDictionaryOrder());

    // A state of long ago: the dictionary is no longer being written.
    DictionaryState state = *DictionaryState::of(path);
    state.modified = state.changed = 1'000'000'000;
    state.journalModified = state.journalChanged = 1'000'000'000;
    // Written on a thread of its own while the lists are in use: a change
    // of a list waits for the copy, which holds the lists as they were.
    {
        ListSnapshotWriter writer;
        source.setBeforeChange([&writer] { writer.wait(); });
        writer.start({{snapshot, state, &source, &target}});
        source.insertWord("a word put in at once");
        source.setBeforeChange({});
    }
    ReadBack back = readBack(snapshot, state);
    ASSERT_TRUE(back.read);
    EXPECT_EQ(back.source, english);
    EXPECT_EQ(back.armenian, armenian);
    EXPECT_TRUE(back.sourceOrdered);

    // Any other state of the dictionary: the lists are read from it.
    for (auto field : {&DictionaryState::inode, &DictionaryState::size,
                       &DictionaryState::journalInode, &DictionaryState::journalSize}) {
        DictionaryState other = state;
        other.*field += 1;
        EXPECT_FALSE(readBack(snapshot, other).read);
    }
    for (auto field : {&DictionaryState::modified, &DictionaryState::changed,
                       &DictionaryState::journalModified, &DictionaryState::journalChanged}) {
        DictionaryState other = state;
        other.*field += 1;
        back = readBack(snapshot, other);
        EXPECT_FALSE(back.read);
        EXPECT_TRUE(back.source.empty()) << "a refused copy leaves the lists empty";
    }

    // A damaged copy is refused: a byte changed anywhere, cut short, or longer.
    const std::string whole = test::readFile(snapshot.path());
    for (const std::size_t at : {std::size_t{20}, whole.size() / 2, whole.size() - 3}) {
        std::string damaged = whole;
        damaged[at] = static_cast<char>(damaged[at] ^ 0x10);
        test::writeFile(snapshot.path(), damaged);
        EXPECT_FALSE(readBack(snapshot, state).read) << "byte " << at;
    }
    test::writeFile(snapshot.path(), whole.substr(0, whole.size() - 1));
    EXPECT_FALSE(readBack(snapshot, state).read);
    test::writeFile(snapshot.path(), whole + "x");
    EXPECT_FALSE(readBack(snapshot, state).read);
    test::writeFile(snapshot.path(), whole);
    EXPECT_TRUE(readBack(snapshot, state).read);

    // The dictionary's state follows each change: an added pair grows its
    // journal; and a dictionary written moments ago is not copied at all.
    const DictionaryState now = *DictionaryState::of(path);
    EXPECT_EQ(*DictionaryState::of(path), now);
    dictionary.append("dog", "\xB1");
    EXPECT_NE(*DictionaryState::of(path), now);
    ASSERT_FALSE(DictionaryState::of(path)->settled());
    std::filesystem::remove(snapshot.path());
    snapshot.write(*DictionaryState::of(path), source, target);
    EXPECT_FALSE(std::filesystem::exists(snapshot.path()));
}
