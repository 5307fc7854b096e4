#include "Database.h"

#include "DatabaseError.h"

#include <sqlite3.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <utility>

namespace tavelin {
namespace {

// The sides a dictionary's collations order by. The collation callback's
// context points at its side here.
Side collationSides[] = {Side::English, Side::Russian, Side::Armenian};

// Collation callbacks: the engine gives each text with its length (never negative).
int collate(void* context, int lengthA, const void* a, int lengthB, const void* b) {
    const Side side = *static_cast<const Side*>(context);
    return compareWords(
        side, std::string_view(static_cast<const char*>(a), static_cast<std::size_t>(lengthA)),
        std::string_view(static_cast<const char*>(b), static_cast<std::size_t>(lengthB)));
}

const char* collationName(Side side) {
    switch (side) {
    case Side::English:
        return "tavelin_english";
    case Side::Russian:
        return "tavelin_russian";
    case Side::Armenian:
        return "tavelin_armenian";
    }
    return "binary";
}

// Resets a statement when the routine that stepped it returns.
class StatementUse {
public:
    explicit StatementUse(sqlite3_stmt* statement) : statement_(statement) {}
    ~StatementUse() {
        sqlite3_reset(statement_);
        sqlite3_clear_bindings(statement_);
    }
    StatementUse(const StatementUse&) = delete;
    StatementUse& operator=(const StatementUse&) = delete;

private:
    sqlite3_stmt* statement_;
};

std::string_view columnText(sqlite3_stmt* statement, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    if (text == nullptr) {
        return {}; // a field without a value reads as the empty text
    }
    return {text, static_cast<size_t>(sqlite3_column_bytes(statement, column))};
}

void bindText(sqlite3_stmt* statement, int index, std::string_view text) {
    sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()),
                      SQLITE_TRANSIENT);
}

// The lowest and the highest code of each code's letter class (a code that
// is no letter is its own class).
struct CaseClasses {
    std::array<unsigned char, 256> lowest;
    std::array<unsigned char, 256> highest;
};

const CaseClasses& caseClasses(Side side) {
    static const auto make = [](Side of) {
        // The lowest and highest code of each weight, then each code's.
        const CharacterSet& set = CharacterSet::of(of);
        std::array<unsigned char, 256> lowestOfWeight{};
        std::array<unsigned char, 256> highestOfWeight{};
        lowestOfWeight.fill(255);
        for (std::size_t code = 0; code < 256; ++code) {
            const unsigned char weight = set.weight(static_cast<unsigned char>(code));
            const auto c = static_cast<unsigned char>(code);
            lowestOfWeight[weight] = std::min(lowestOfWeight[weight], c);
            highestOfWeight[weight] = std::max(highestOfWeight[weight], c);
        }
        CaseClasses classes{};
        for (std::size_t code = 0; code < 256; ++code) {
            const unsigned char weight = set.weight(static_cast<unsigned char>(code));
            classes.lowest[code] = lowestOfWeight[weight];
            classes.highest[code] = highestOfWeight[weight];
        }
        return classes;
    };
    static const CaseClasses all[3] = {make(Side::English), make(Side::Russian),
                                       make(Side::Armenian)};
    return all[static_cast<int>(side)];
}

// The first and the last word, in the side's collation, of the words equal
// to this one without regard to case: those weigh the same code by code and
// differ only in their raw codes, so the collation puts exactly them
// between the two.
std::pair<std::string, std::string> caseRange(Side side, std::string_view word) {
    const CaseClasses& classes = caseClasses(side);
    std::pair<std::string, std::string> range{std::string(word), std::string(word)};
    for (size_t i = 0; i < word.size(); ++i) {
        const auto code = static_cast<unsigned char>(word[i]);
        range.first[i] = static_cast<char>(classes.lowest[code]);
        range.second[i] = static_cast<char>(classes.highest[code]);
    }
    return range;
}

} // namespace

void Database::CloseHandle::operator()(sqlite3* handle) const {
    sqlite3_close_v2(handle);
}

void Database::FinalizeStatement::operator()(sqlite3_stmt* statement) const {
    sqlite3_finalize(statement);
}

Database::Database(sqlite3* handle, const DictionaryKind& kind) : handle_(handle), kind_(&kind) {
    for (Side& side : collationSides) {
        if (sqlite3_create_collation_v2(handle, collationName(side), SQLITE_UTF8, &side, collate,
                                        nullptr) != SQLITE_OK) {
            fail(); // without its order no list or look-up of the file can work
        }
    }
    sqlite3_busy_timeout(handle, 2000);
}

void Database::rememberFile(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        file_ = {path, info.st_dev, info.st_ino};
    } else {
        file_ = {}; // not a plain path (an address with options): nothing to watch
    }
}

void Database::checkFileInPlace() const {
    // A file removed or replaced under the program would take every later
    // change with it: the changes would go to a file that no longer has a name.
    if (file_.path.empty()) {
        return;
    }
    struct stat info {};
    if (::stat(file_.path.c_str(), &info) != 0 || info.st_dev != file_.device ||
        info.st_ino != file_.inode) {
        throw DatabaseError(SQLITE_CANTOPEN,
                            "the dictionary file was removed or replaced while the program ran");
    }
    // Its write-ahead journal holds the latest changes until they are copied
    // into the file. Removed, the changes would go where no other program
    // sees them, and that program's own would be overwritten by them later.
    if (!journal_.path.empty() &&
        (::stat(journal_.path.c_str(), &info) != 0 || info.st_dev != journal_.device ||
         info.st_ino != journal_.inode)) {
        throw DatabaseError(SQLITE_CANTOPEN, "the dictionary's journal file " + journal_.path +
                                                 " was removed or replaced while the program ran");
    }
}

void Database::close() {
    for (auto& statement : statements_) {
        statement.reset();
    }
    handle_.reset();
}

Database Database::connect(const std::string& path, const DictionaryKind& kind, int flags) {
    sqlite3* handle = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &handle, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const std::string text = handle ? sqlite3_errmsg(handle) : sqlite3_errstr(rc);
        sqlite3_close_v2(handle);
        struct stat info {};
        const bool missing =
            (rc & 0xFF) == SQLITE_CANTOPEN && ::stat(path.c_str(), &info) != 0 && errno == ENOENT;
        throw DatabaseError(missing ? DatabaseError::Kind::Missing : DatabaseError::kindOf(rc), rc,
                            text);
    }
    Database database(handle, kind);
    database.path_ = path;
    database.rememberFile(path);
    return database;
}

namespace {

// Reading the table's two fields proves the file is a dictionary of this
// kind: SQLITE_OK, or the engine's number (its message stays on the handle).
int probeDictionary(sqlite3* handle, const DictionaryKind& kind) {
    const std::string probe =
        std::string("SELECT ") + kind.sourceField + ", Armenian FROM " + kind.table + " LIMIT 0";
    sqlite3_stmt* statement = nullptr;
    int rc = sqlite3_prepare_v2(handle, probe.c_str(), -1, &statement, nullptr);
    if (rc == SQLITE_OK) {
        rc = sqlite3_step(statement);
        sqlite3_finalize(statement);
    }
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

// A dictionary in the write-ahead journal's form can only be read where its
// journal files (-wal, -shm) can be made beside it. Where the user may not
// write (the installed starters, another user's folder, a read-only medium)
// it is read from the file alone, as it stands, when no journal beside it
// holds changes the file lacks.
bool onlyReadableAsItStands(int rc, const std::string& path) {
    if ((rc & 0xFF) != SQLITE_READONLY && (rc & 0xFF) != SQLITE_CANTOPEN) {
        return false;
    }
    unsigned char header[20] = {};
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    const bool whole = std::fread(header, 1, sizeof header, file) == sizeof header;
    std::fclose(file);
    struct stat journal {};
    const bool journalHoldsChanges =
        ::stat((path + "-wal").c_str(), &journal) == 0 && journal.st_size > 0;
    return whole && std::memcmp(header, "SQLite format 3", 16) == 0 && header[18] == 2 &&
           header[19] == 2 && !journalHoldsChanges;
}

// The engine's address of a file that nobody changes while it is open: read
// without locks and without journal files, never written.
std::string unchangingFileAddress(const std::string& path) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string address = path.starts_with('/') ? "file://" : "file:";
    for (const char c : path) {
        const auto code = static_cast<unsigned char>(c);
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
            (c != '\0' && std::strchr("-._~/", c) != nullptr)) {
            address += c;
        } else {
            address += '%';
            address += kHex[code >> 4];
            address += kHex[code & 0xF];
        }
    }
    return address + "?immutable=1";
}

} // namespace

Database Database::open(const std::string& path, const DictionaryKind& kind) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        throw DatabaseError(SQLITE_CANTOPEN, "unable to open database file: it is a directory");
    }
    Database database = connect(path, kind, SQLITE_OPEN_READWRITE);
    const int rc = probeDictionary(database.handle_.get(), kind);
    if (rc != SQLITE_OK && onlyReadableAsItStands(rc, path)) {
        sqlite3* handle = nullptr;
        if (sqlite3_open_v2(unchangingFileAddress(path).c_str(), &handle,
                            SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX,
                            nullptr) != SQLITE_OK) {
            sqlite3_close_v2(handle);
            database.fail(); // the first failure tells more
        }
        Database reader(handle, kind);
        reader.path_ = path;
        reader.rememberFile(path);
        if (probeDictionary(handle, kind) != SQLITE_OK) {
            reader.fail();
        }
        return reader;
    }
    if (rc != SQLITE_OK) {
        database.fail();
    }
    database.useWriteAheadJournal();
    return database;
}

void Database::useWriteAheadJournal() {
    // With the write-ahead journal a reader (the window looking a word up)
    // never waits for a writer (another program importing into the same
    // file), and a writer for no reader. A file that cannot switch (it or its
    // folder cannot be written) keeps its journal and is read as before.
    bool journalled = false;
    sqlite3_exec(
        handle_.get(), "PRAGMA journal_mode=WAL",
        [](void* context, int, char** values, char**) {
            *static_cast<bool*>(context) =
                values[0] != nullptr && std::strcmp(values[0], "wal") == 0;
            return 0;
        },
        &journalled, nullptr);
    // Every commit reaches the disk before it returns: a confirmed change
    // survives a power cut.
    sqlite3_exec(handle_.get(), "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
    // The journal the connection keeps open from its first read on, watched
    // as the file is.
    struct stat info {};
    if (journalled && !file_.path.empty() &&
        sqlite3_exec(handle_.get(), "SELECT 1 FROM sqlite_master LIMIT 1", nullptr, nullptr,
                     nullptr) == SQLITE_OK &&
        ::stat((file_.path + "-wal").c_str(), &info) == 0) {
        journal_ = {file_.path + "-wal", info.st_dev, info.st_ino};
    }
}

Database Database::create(const std::string& path, const DictionaryKind& kind) {
    // A new file only: an existing one is never taken over.
    Database database =
        connect(path, kind, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_EXCLUSIVE);
    const std::string table = kind.table;
    const std::string source = kind.sourceField;
    // Each column has one index, in the dictionary order of its side: the
    // lists read it in order without sorting, and look-ups find a word in it
    // (the order tells equal words only when their codes are equal).
    database.execute(("CREATE TABLE " + table + " (Id INTEGER PRIMARY KEY, " + source +
                      " TEXT, Armenian TEXT);"
                      "CREATE INDEX " +
                      table + source + " ON " + table + " (" + source + " COLLATE " +
                      collationName(kind.sourceSide) +
                      ");"
                      "CREATE INDEX " +
                      table + "Armenian ON " + table + " (Armenian COLLATE " +
                      collationName(Side::Armenian) + ");")
                         .c_str());
    database.useWriteAheadJournal();
    return database;
}

namespace {

// The engine's failure as a DatabaseError. A write refused by the disk being
// full or by the file-size limit is one failure to the user: no room.
DatabaseError errorOf(sqlite3* handle, const std::string& text) {
    // The engine tells a write past the limit (EFBIG) only as a failed write.
    const auto underFileSizeLimit = [] {
        rlimit limit{};
        return ::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY;
    };
    const int system = sqlite3_system_errno(handle);
    if ((sqlite3_errcode(handle) & 0xFF) == SQLITE_IOERR &&
        (system == EFBIG || system == ENOSPC ||
         (sqlite3_extended_errcode(handle) == SQLITE_IOERR_WRITE && underFileSizeLimit()))) {
        return {DatabaseError::Kind::Full, SQLITE_FULL, sqlite3_errstr(SQLITE_FULL)};
    }
    return {sqlite3_errcode(handle), text};
}

} // namespace

void Database::fail() const {
    throw errorOf(handle_.get(), sqlite3_errmsg(handle_.get()));
}

void Database::execute(const char* sql) {
    char* message = nullptr;
    if (sqlite3_exec(handle_.get(), sql, nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string text = message ? message : sqlite3_errmsg(handle_.get());
        sqlite3_free(message);
        throw errorOf(handle_.get(), text);
    }
}

sqlite3_stmt* Database::statement(Statement which) {
    if (statements_[which] != nullptr) {
        return statements_[which].get();
    }
    const std::string table = kind_->table;
    const std::string source = kind_->sourceField;
    const std::string sourceOrder = source + " COLLATE " + collationName(kind_->sourceSide);
    const std::string armenianOrder =
        std::string("Armenian COLLATE ") + collationName(Side::Armenian);
    std::string sql;
    switch (which) {
    case LoadSource:
        sql = "SELECT " + source + " FROM " + table + " ORDER BY " + sourceOrder;
        break;
    case LoadArmenian:
        sql = "SELECT armenian FROM " + table + " ORDER BY " + armenianOrder;
        break;
    case LookUpSource:
        sql = "SELECT armenian FROM " + table + " WHERE " + sourceOrder +
              " = ?1 ORDER BY rowid DESC LIMIT 1";
        break;
    case LookUpArmenian:
        sql = "SELECT " + source + " FROM " + table + " WHERE " + armenianOrder +
              " = ?1 ORDER BY rowid DESC LIMIT 1";
        break;
    case EqualSource:
        sql = "SELECT " + source + ", armenian FROM " + table + " WHERE " + sourceOrder +
              " BETWEEN ?1 AND ?2 ORDER BY " + sourceOrder + ", rowid";
        break;
    case EqualArmenian:
        sql = "SELECT armenian, " + source + " FROM " + table + " WHERE " + armenianOrder +
              " BETWEEN ?1 AND ?2 ORDER BY " + armenianOrder + ", rowid";
        break;
    case Append:
        sql = "INSERT INTO " + table + " (" + source + ", armenian) VALUES (?1, ?2)";
        break;
    case Remove:
        sql = "DELETE FROM " + table + " WHERE rowid = (SELECT rowid FROM " + table + " WHERE " +
              sourceOrder + " = ?1 ORDER BY rowid LIMIT 1)";
        break;
    case AllPairs:
        sql = "SELECT " + source + ", armenian FROM " + table + " ORDER BY " + sourceOrder +
              ", rowid";
        break;
    case Count:
        sql = "SELECT count(*) FROM " + table;
        break;
    case HighestRowid:
        sql = "SELECT coalesce(max(rowid), 0) FROM " + table;
        break;
    case FileBytes:
        sql = "SELECT page_count * page_size FROM pragma_page_count(), pragma_page_size()";
        break;
    case StatementCount:
        break;
    }
    sqlite3_stmt* prepared = nullptr;
    const int rc = sqlite3_prepare_v3(handle_.get(), sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT,
                                      &prepared, nullptr);
    statements_[which].reset(prepared);
    if (rc != SQLITE_OK) {
        fail();
    }
    return prepared;
}

void Database::loadWords(Column column, WordList& list) {
    list.clear();
    list.reserve(rowsHint());
    sqlite3_stmt* query = statement(column == Column::Source ? LoadSource : LoadArmenian);
    StatementUse use(query);
    int rc;
    while ((rc = sqlite3_step(query)) == SQLITE_ROW) {
        list.append(columnText(query, 0));
    }
    list.finish();
    if (rc != SQLITE_DONE) {
        fail();
    }
}

void Database::checkStillADatabase() const {
    // The write-ahead journal lets a connection keep the pages it has read:
    // a file overwritten under the program would go unnoticed. Its first
    // bytes tell, at the cost of one small read.
    sqlite3_file* file = nullptr;
    if (sqlite3_file_control(handle_.get(), "main", SQLITE_FCNTL_FILE_POINTER, &file) !=
            SQLITE_OK ||
        file == nullptr || file->pMethods == nullptr) {
        return;
    }
    static const char kMagic[] = "SQLite format 3";
    char start[sizeof kMagic] = {};
    const int rc = file->pMethods->xRead(file, start, sizeof start, 0);
    if ((rc == SQLITE_OK && std::memcmp(start, kMagic, sizeof kMagic) != 0) ||
        rc == SQLITE_IOERR_SHORT_READ) {
        throw DatabaseError(DatabaseError::Kind::NotADictionary, SQLITE_NOTADB,
                            sqlite3_errstr(SQLITE_NOTADB));
    }
}

std::optional<std::string> Database::lookUp(Column column, std::string_view word) {
    checkStillADatabase();
    sqlite3_stmt* query = statement(column == Column::Source ? LookUpSource : LookUpArmenian);
    StatementUse use(query);
    bindText(query, 1, word);
    const int rc = sqlite3_step(query);
    if (rc == SQLITE_ROW) {
        return std::string(columnText(query, 0));
    }
    if (rc != SQLITE_DONE) {
        fail();
    }
    return std::nullopt;
}

void Database::forEachIgnoringCase(
    Column column, std::string_view word,
    const std::function<void(std::string_view, std::string_view)>& visit) {
    sqlite3_stmt* query = statement(column == Column::Source ? EqualSource : EqualArmenian);
    StatementUse use(query);
    const auto [first, last] = caseRange(sideOf(*kind_, column), word);
    bindText(query, 1, first);
    bindText(query, 2, last);
    int rc;
    while ((rc = sqlite3_step(query)) == SQLITE_ROW) {
        visit(columnText(query, 0), columnText(query, 1));
    }
    if (rc != SQLITE_DONE) {
        fail();
    }
}

void Database::append(std::string_view source, std::string_view armenian) {
    checkFileInPlace();
    sqlite3_stmt* insert = statement(Append);
    StatementUse use(insert);
    bindText(insert, 1, source);
    bindText(insert, 2, armenian);
    if (sqlite3_step(insert) != SQLITE_DONE) {
        fail();
    }
}

bool Database::removeFirst(std::string_view source) {
    checkFileInPlace();
    sqlite3_stmt* remove = statement(Remove);
    StatementUse use(remove);
    bindText(remove, 1, source);
    if (sqlite3_step(remove) != SQLITE_DONE) {
        fail();
    }
    return sqlite3_changes(handle_.get()) > 0;
}

void Database::forEachPair(const std::function<void(std::string_view, std::string_view)>& visit) {
    sqlite3_stmt* query = statement(AllPairs);
    StatementUse use(query);
    int rc;
    while ((rc = sqlite3_step(query)) == SQLITE_ROW) {
        visit(columnText(query, 0), columnText(query, 1));
    }
    if (rc != SQLITE_DONE) {
        fail();
    }
}

std::size_t Database::rowsHint() {
    const auto single = [this](Statement which) {
        sqlite3_stmt* query = statement(which);
        StatementUse use(query);
        if (sqlite3_step(query) != SQLITE_ROW) {
            fail();
        }
        return sqlite3_column_int64(query, 0);
    };
    // A row takes more than 8 bytes of the file: its cell in the table and
    // one in each index.
    constexpr long long kFewestBytesPerRow = 8;
    const long long highest = single(HighestRowid);
    const long long fits = single(FileBytes) / kFewestBytesPerRow;
    return static_cast<std::size_t>(std::clamp(highest, 0LL, std::max(fits, 0LL)));
}

long long Database::count() {
    sqlite3_stmt* query = statement(Count);
    StatementUse use(query);
    if (sqlite3_step(query) != SQLITE_ROW) {
        fail();
    }
    return sqlite3_column_int64(query, 0);
}

void Database::inTransaction(const std::function<void()>& work) {
    checkFileInPlace();
    execute("BEGIN IMMEDIATE");
    try {
        work();
        execute("COMMIT");
    } catch (...) {
        sqlite3_exec(handle_.get(), "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

} // namespace tavelin
