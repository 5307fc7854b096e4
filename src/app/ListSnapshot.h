#pragma once

// A copy on disk of a dictionary's two word lists, as the lists hold them,
// read at start-up in place of the dictionary's index while the dictionary
// is exactly as it was when the copy was made.
//
// The copy is no user data: it lives in the user's cache folder
// ($XDG_CACHE_HOME/tavelin, else ~/.cache/tavelin), named after the
// dictionary's full path; deleting it costs one slower start. It never wins
// over the dictionary: it is trusted only while the dictionary file and its
// write-ahead journal are the same files, as large, and last changed at the
// same moments as when the copy was made, and while the copy is whole (a
// checksum over all of it) and made for this program's order of words.
// Anything else, and the lists are read from the dictionary.

#include <cstdint>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace tavelin {

class WordListModel;

// What tells one state of a dictionary file from another: the file and its
// write-ahead journal, as the file system describes them. A journal that is
// missing or empty holds no changes, and counts as none.
struct DictionaryState {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modified = 0; // nanoseconds since 1970
    std::int64_t changed = 0;  // the inode's change time
    std::uint64_t journalInode = 0;
    std::uint64_t journalSize = 0;
    std::int64_t journalModified = 0;
    std::int64_t journalChanged = 0;

    bool operator==(const DictionaryState&) const = default;

    // Nothing when the dictionary file cannot be looked at.
    static std::optional<DictionaryState> of(const std::string& path);
    // Whether the files were last written long enough ago that any change
    // made from now on gives them a later time: a state read sooner may be
    // followed, within the file system's time steps, by a change that keeps
    // size and times.
    bool settled() const;
};

// The folder the copies are kept in; empty when there is none.
std::string listSnapshotFolder();

class ListSnapshot {
public:
    // The copy of the dictionary at this path.
    explicit ListSnapshot(const std::string& dictionaryPath);

    // Where the copy is kept; empty when there is no cache folder.
    const std::string& path() const { return path_; }

    // Between the lists' clear() and finish(): fills both from the copy
    // when it was made of the dictionary in exactly this state. False, the
    // lists left empty, otherwise.
    bool read(const DictionaryState& state, WordListModel& source, WordListModel& armenian) const;

    // Keeps the lists, read from the dictionary in this state, for the next
    // start: written under another name, then renamed over the old copy.
    // A failure is silent (the next start reads the dictionary).
    void write(const DictionaryState& state, const WordListModel& source,
               const WordListModel& armenian) const;

private:
    std::string dictionary_; // its full path, as the copy records it
    std::string path_;
};

// Writes copies of lists on a thread of its own, so that the first start
// after a dictionary changed shows the window without waiting for them. The
// lists must not change meanwhile: whoever changes them calls wait() first
// (WordListModel::setBeforeChange), and so does whoever destroys them.
class ListSnapshotWriter {
public:
    struct Copy {
        ListSnapshot snapshot;
        DictionaryState state;
        const WordListModel* source;
        const WordListModel* armenian;
    };

    ListSnapshotWriter() = default;
    ListSnapshotWriter(const ListSnapshotWriter&) = delete;
    ListSnapshotWriter& operator=(const ListSnapshotWriter&) = delete;
    ~ListSnapshotWriter() { wait(); }

    // Starts writing the copies, after the writing started before is over.
    void start(std::vector<Copy> copies);
    // Returns once nothing is being written.
    void wait();

private:
    std::thread thread_;
};

} // namespace tavelin
