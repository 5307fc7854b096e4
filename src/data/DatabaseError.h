#pragma once

#include <stdexcept>
#include <string>

namespace tavelin {

// A failure of a dictionary file: what kind of failure it is, and the storage
// engine's error number and text.
//
// The data layer reports every failure this way (it throws; nothing in it
// shows a message). The windows and the tool catch it at their edge and tell
// the user, choosing their words by the kind.
class DatabaseError : public std::runtime_error {
public:
    enum class Kind {
        Missing,        // no such file
        Unreadable,     // there, but cannot be opened or read (rights, a directory)
        NotADictionary, // damaged, not a database, or without the table of its kind
        Busy,           // another program holds it
        ReadOnly,       // cannot be written
        Full,           // the disk or the file-size limit is reached
        Other,
    };

    // The kind follows from the engine's error number.
    DatabaseError(int code, const std::string& text) : DatabaseError(kindOf(code), code, text) {}
    DatabaseError(Kind kind, int code, const std::string& text)
        : std::runtime_error(text), kind_(kind), code_(code), text_(text) {}

    Kind kind() const { return kind_; }
    int code() const { return code_; }
    const std::string& text() const { return text_; }

    // The kind of failure an engine error number (extended or primary) stands for.
    static Kind kindOf(int code) {
        switch (code & 0xFF) {
        case 3:  // SQLITE_PERM
        case 23: // SQLITE_AUTH
        case 14: // SQLITE_CANTOPEN
            return Kind::Unreadable;
        case 1:  // SQLITE_ERROR: no such table or field
        case 11: // SQLITE_CORRUPT
        case 26: // SQLITE_NOTADB
            return Kind::NotADictionary;
        case 5: // SQLITE_BUSY
        case 6: // SQLITE_LOCKED
            return Kind::Busy;
        case 8: // SQLITE_READONLY
            return Kind::ReadOnly;
        case 13: // SQLITE_FULL
            return Kind::Full;
        default:
            return Kind::Other;
        }
    }

private:
    Kind kind_;
    int code_;
    std::string text_;
};

} // namespace tavelin
