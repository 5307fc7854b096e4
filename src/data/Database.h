#pragma once

#include "DictionaryKind.h"
#include "WordList.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace tavelin {

// An open dictionary file: one table of word pairs in an SQLite database.
//
// Words are stored as the dictionary's 8-bit codes, unchanged, in TEXT columns
// (the bytes are not UTF-8; nothing in the schema or the statements interprets
// them). Lists are sorted with the side's own collation; look-ups compare the
// codes exactly. Every change is committed before the call returns. A
// dictionary belongs to the thread that opened it.
class Database {
public:
    Database() = default;
    ~Database() = default;
    Database(Database&& other) noexcept = default;
    Database& operator=(Database&& other) noexcept = default;
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens an existing dictionary for reading and writing; never creates a
    // file. Throws DatabaseError when the file is missing, unreadable, not a
    // database, or lacks the table or its fields.
    static Database open(const std::string& path, const DictionaryKind& kind);
    // Makes a new, empty dictionary; throws when the file already exists.
    static Database create(const std::string& path, const DictionaryKind& kind);

    bool isOpen() const { return handle_ != nullptr; }
    const DictionaryKind& kind() const { return *kind_; }
    // The path the dictionary was opened by.
    const std::string& path() const { return path_; }

    // Empties the list and appends every word of the column in dictionary order.
    void loadWords(Column column, WordList& list);
    // The other column's value of the last row (in storage order) whose
    // column equals the word exactly; nothing when no row matches.
    std::optional<std::string> lookUp(Column column, std::string_view word);
    // Every pair whose word in the column equals the word without regard to
    // case (the side's case folding, as the window's search compares): the
    // column's word, then the other column's, in the column's dictionary
    // order and then in storage order.
    void forEachIgnoringCase(Column column, std::string_view word,
                             const std::function<void(std::string_view, std::string_view)>& visit);
    // Appends a pair.
    void append(std::string_view source, std::string_view armenian);
    // Deletes the first row (in storage order) whose source word equals the
    // word; returns false, changing nothing, when there is none.
    bool removeFirst(std::string_view source);
    // Every pair in the order of the source list.
    void forEachPair(const std::function<void(std::string_view, std::string_view)>& visit);
    long long count();
    // Runs the work in one transaction: all of it is stored, or none.
    void inTransaction(const std::function<void()>& work);

private:
    enum Statement {
        LoadSource,
        LoadArmenian,
        LookUpSource,
        LookUpArmenian,
        EqualSource,
        EqualArmenian,
        Append,
        Remove,
        AllPairs,
        Count,
        HighestRowid,
        FileBytes,
        StatementCount
    };

    Database(sqlite3* handle, const DictionaryKind& kind);
    static Database connect(const std::string& path, const DictionaryKind& kind, int flags);
    // About the number of rows, found at once: a size hint for lists. Keys
    // are what the file says they are (a file made elsewhere may hold a key
    // of 10^12, or only negative ones), so the hint never exceeds the rows
    // the file is large enough to hold.
    std::size_t rowsHint();
    sqlite3_stmt* statement(Statement which);
    void execute(const char* sql);
    void useWriteAheadJournal();
    // Throws when the file no longer starts as a database (overwritten).
    void checkStillADatabase() const;
    [[noreturn]] void fail() const;
    void rememberFile(const std::string& path);
    // Throws when the file at the dictionary's path, or its write-ahead
    // journal beside it, is no longer the one opened.
    void checkFileInPlace() const;
    void close();

    struct CloseHandle {
        void operator()(sqlite3* handle) const;
    };
    struct FinalizeStatement {
        void operator()(sqlite3_stmt* statement) const;
    };
    // Declared first, so that it is closed after its statements are finalized.
    std::unique_ptr<sqlite3, CloseHandle> handle_;
    const DictionaryKind* kind_ = nullptr;
    std::string path_;
    struct FileIdentity {
        std::string path;
        unsigned long long device = 0;
        unsigned long long inode = 0;
    };
    FileIdentity file_;
    FileIdentity journal_; // the -wal file, while the dictionary uses one
    std::array<std::unique_ptr<sqlite3_stmt, FinalizeStatement>, StatementCount> statements_;
};

} // namespace tavelin
