#include "DictTool.h"

#include "data/Database.h"
#include "data/DatabaseError.h"
#include "data/WordRule.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <unordered_map>
#include <utility>

namespace tavelin {
namespace {

const char* const kUsage =
    "Usage: tavelin-dict COMMAND [--kind en|ru] FILE [ARGUMENTS]\n"
    "\n"
    "Works on a Tavelin dictionary file.\n"
    "\n"
    "Commands:\n"
    "  create FILE             make a new, empty dictionary (never replaces a file)\n"
    "  import FILE TSV         add the pairs of a UTF-8 text file, one pair a line:\n"
    "                          source word, a tab, Armenian word; FILE is created when\n"
    "                          missing; one bad line (no tab, an empty word, a\n"
    "                          character the dictionary cannot hold, a carriage\n"
    "                          return other than at the end) and nothing is imported;\n"
    "                          the words follow the add dialogs' rule: none begins\n"
    "                          with a space, holds a control character (a tab, an\n"
    "                          escape...) or is longer than 100 characters, and no\n"
    "                          source word is one the dictionary or an earlier line\n"
    "                          holds, compared without regard to case\n"
    "  export FILE [TSV]       write all pairs as UTF-8 text in the order of the source\n"
    "                          list, to TSV or to standard output; TSV is never the\n"
    "                          dictionary file itself\n"
    "  lookup FILE WORD        print the Armenian translation of a source word; exit\n"
    "                          status 1, printing nothing, when the word is absent;\n"
    "                          found without regard to case, as the window finds it\n"
    "  count FILE              print the number of pairs\n"
    "\n"
    "Options:\n"
    "  --kind en|ru            the dictionary's kind: English-Armenian or\n"
    "                          Russian-Armenian; needed unless FILE is named\n"
    "                          EA.tvl (en) or RA.tvl (ru)\n"
    "  --armenian              with lookup: WORD is Armenian; print its source word\n"
    "                          (every one it translates, one a line)\n"
    "  --skip-existing         with import: skip the lines whose source word the\n"
    "                          dictionary or an earlier line holds, instead of\n"
    "                          importing nothing, and say how many were skipped\n"
    "  --help                  show this text\n"
    "\n"
    "Exit status: 0 done, 1 word not found, 2 error (a refused line, a file that\n"
    "cannot be read or written, a full disk or a file-size limit).\n";

struct Arguments {
    std::string command;
    std::vector<std::string> positional;
    std::string kind;
    bool armenian = false;
    bool skipExisting = false;
    bool help = false;
};

class UsageError : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

Arguments parse(const std::vector<std::string>& args) {
    Arguments parsed;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            parsed.help = true;
        } else if (arg == "--armenian") {
            parsed.armenian = true;
        } else if (arg == "--skip-existing") {
            parsed.skipExisting = true;
        } else if (arg == "--kind") {
            if (i + 1 == args.size()) {
                throw UsageError("--kind needs a value: en or ru");
            }
            parsed.kind = args[++i];
        } else if (arg.rfind("--kind=", 0) == 0) {
            parsed.kind = arg.substr(7);
        } else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
            throw UsageError("unknown option " + arg);
        } else if (parsed.command.empty()) {
            parsed.command = arg;
        } else {
            parsed.positional.push_back(arg);
        }
    }
    return parsed;
}

const DictionaryKind& kindOf(const Arguments& args, const std::string& file) {
    if (args.kind == "en") {
        return kEnglishArmenian;
    }
    if (args.kind == "ru") {
        return kRussianArmenian;
    }
    if (!args.kind.empty()) {
        throw UsageError("unknown kind '" + args.kind + "': use en or ru");
    }
    const std::string name = std::filesystem::path(file).filename().string();
    if (name == kEnglishArmenian.fileName) {
        return kEnglishArmenian;
    }
    if (name == kRussianArmenian.fileName) {
        return kRussianArmenian;
    }
    throw UsageError("cannot tell the kind of " + file +
                     " from its name: give --kind en or --kind ru");
}

void expectArguments(const Arguments& args, size_t least, size_t most) {
    if (args.positional.size() < least || args.positional.size() > most) {
        throw UsageError("wrong number of arguments for " + args.command);
    }
}

// The name of a dictionary file as SQLite is given it: always a plain file.
// SQLite reads ":memory:" as a database kept in memory, a name beginning
// with "file:" as an address with options and the empty name as a temporary
// database, none of which would keep what the tool writes.
std::string plainPath(const std::string& name) {
    if (name.empty()) {
        throw std::runtime_error("the dictionary file name is empty");
    }
    return name.front() == '/' ? name : "./" + name;
}

// A text of the user's for a message: at most its first 40 characters, and
// its control characters shown as their pictures (U+2400-U+241F, U+2421),
// never sent raw to the terminal.
std::string quotedWord(std::string_view utf8) {
    constexpr int kLongest = 40;
    std::string shown = "'";
    int characters = 0;
    for (char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        const bool starts = (byte & 0xC0) != 0x80;
        if (starts && ++characters > kLongest) {
            shown += "\u2026";
            break;
        }
        if (byte < 32) {
            shown += {'\xE2', '\x90', static_cast<char>(0x80 + byte)};
        } else if (byte == 127) {
            shown += "\u2421";
        } else {
            shown += c;
        }
    }
    return shown + "'";
}

struct Pair {
    std::string source;
    std::string armenian;
    std::string where; // "file:line: ", for messages
    int line;
};

const char* sideName(Side side) {
    switch (side) {
    case Side::English:
        return "English";
    case Side::Russian:
        return "Russian";
    case Side::Armenian:
        return "Armenian";
    }
    return "";
}

// Reads and checks every line before anything is written.
std::vector<Pair> readPairs(const std::string& tsvPath, const DictionaryKind& kind) {
    std::ifstream in(tsvPath, std::ios::binary);
    if (!in) {
        throw std::runtime_error(tsvPath + ": cannot read the file");
    }
    std::vector<Pair> pairs;
    std::string line;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        const std::string where = tsvPath + ":" + std::to_string(lineNumber) + ": ";
        if (lineNumber == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) {
            line.erase(0, 3);
        }
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty()) {
            continue;
        }
        // Export ends every line with a bare line feed, so a word ending in a
        // carriage return would lose it when the export is imported again.
        if (line.find('\r') != std::string::npos) {
            throw std::runtime_error(where + "a carriage return inside the line");
        }
        const size_t tab = line.find('\t');
        if (tab == std::string::npos) {
            throw std::runtime_error(where + "no tab between the two words");
        }
        if (line.find('\t', tab + 1) != std::string::npos) {
            throw std::runtime_error(where + "more than one tab");
        }
        const std::string texts[2] = {line.substr(0, tab), line.substr(tab + 1)};
        const Side sides[2] = {kind.sourceSide, Side::Armenian};
        std::string codes[2];
        for (int i = 0; i < 2; ++i) {
            if (texts[i].empty()) {
                throw std::runtime_error(where + "the " + sideName(sides[i]) + " word is empty");
            }
            auto encoded = fromUtf8(sides[i], texts[i]);
            if (!encoded) {
                throw std::runtime_error(where + "the " + sideName(sides[i]) + " word " +
                                         quotedWord(texts[i]) +
                                         " has a character that the dictionary cannot hold");
            }
            // The rule the add dialogs keep (data/WordRule.h).
            const std::string word = std::string("the ") + sideName(sides[i]) + " word ";
            switch (wordFault(*encoded)) {
            case WordFault::None:
                break;
            case WordFault::Empty:
                throw std::runtime_error(where + word + "is empty");
            case WordFault::BeginsWithSpace:
                throw std::runtime_error(where + word + "begins with a space");
            case WordFault::TooLong:
                throw std::runtime_error(where + word + "is longer than " +
                                         std::to_string(kLongestWord) + " characters");
            case WordFault::ControlCharacter:
                throw std::runtime_error(where + word +
                                         "holds a control character (a tab, an escape...)");
            }
            codes[i] = std::move(*encoded);
        }
        pairs.push_back({std::move(codes[0]), std::move(codes[1]), where, lineNumber});
    }
    if (in.bad()) {
        throw std::runtime_error(tsvPath + ": cannot read the file");
    }
    return pairs;
}

int import(const Arguments& args, std::ostream& out) {
    expectArguments(args, 2, 2);
    const std::string& file = args.positional[0];
    const std::string path = plainPath(file);
    const DictionaryKind& kind = kindOf(args, file);
    const std::vector<Pair> pairs = readPairs(args.positional[1], kind);
    const char* const source = sideName(kind.sourceSide);

    // A source word once only, compared as the add dialogs compare: without
    // regard to case, in the side's own letters.
    std::vector<const Pair*> fresh;
    std::size_t skipped = 0;
    std::unordered_map<std::string, int> earlier; // folded word, its line
    for (const Pair& pair : pairs) {
        const auto [first, added] =
            earlier.emplace(foldCase(kind.sourceSide, pair.source), pair.line);
        if (added) {
            fresh.push_back(&pair);
        } else if (args.skipExisting) {
            ++skipped;
        } else {
            throw std::runtime_error(pair.where + "the " + source + " word " +
                                     quotedWord(toUtf8(kind.sourceSide, pair.source)) +
                                     " is already on line " + std::to_string(first->second));
        }
    }

    const bool made = !std::filesystem::exists(path);
    Database database = made ? Database::create(path, kind) : Database::open(path, kind);
    try {
        database.inTransaction([&] {
            for (const Pair* pair : fresh) {
                bool held = false;
                database.forEachIgnoringCase(
                    Column::Source, pair->source,
                    [&](std::string_view, std::string_view) { held = true; });
                if (!held) {
                    database.append(pair->source, pair->armenian);
                } else if (args.skipExisting) {
                    ++skipped;
                } else {
                    throw std::runtime_error(pair->where + "the " + source + " word " +
                                             quotedWord(toUtf8(kind.sourceSide, pair->source)) +
                                             " is already in the dictionary");
                }
            }
        });
    } catch (...) {
        if (made) {
            // Nothing was imported: the dictionary made for it goes again.
            database = Database();
            std::error_code ignored;
            std::filesystem::remove(path, ignored);
        }
        throw;
    }
    out << "imported " << pairs.size() - skipped << " pairs into " << file;
    if (args.skipExisting) {
        out << ", skipped " << skipped << " already in the dictionary";
    }
    out << "\n";
    return 0;
}

// The text an export writes, to an output file: every write and the closing
// are checked, and the file is never the dictionary or a file SQLite keeps
// beside it.
class OutputFile {
public:
    OutputFile(const std::string& path, const std::string& dictionary) : path_(path) {
        // Opened without emptying it, so that it can be told apart from the
        // dictionary first.
        fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        made_ = fd_ >= 0;
        if (fd_ < 0 && errno == EEXIST) {
            fd_ = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
        }
        if (fd_ < 0) {
            fail();
        }
        try {
            struct stat output {};
            if (::fstat(fd_, &output) != 0) {
                fail();
            }
            for (const char* side : {"", "-journal", "-wal", "-shm"}) {
                struct stat held {};
                if (::stat((dictionary + side).c_str(), &held) == 0 &&
                    held.st_dev == output.st_dev && held.st_ino == output.st_ino) {
                    throw std::runtime_error(
                        path +
                        (*side == '\0' ? ": this is the dictionary file itself"
                                       : ": this is a file the dictionary keeps beside it") +
                        "; nothing was written");
                }
            }
            if (S_ISREG(output.st_mode) && ::ftruncate(fd_, 0) != 0) {
                fail();
            }
        } catch (...) {
            abandon();
            throw;
        }
    }
    ~OutputFile() { abandon(); }
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    void write(std::string_view text) {
        while (!text.empty()) {
            const ssize_t written = ::write(fd_, text.data(), text.size());
            if (written < 0 && errno == EINTR) {
                continue;
            }
            if (written <= 0) {
                fail();
            }
            text.remove_prefix(static_cast<size_t>(written));
        }
    }
    void close() {
        if (::close(std::exchange(fd_, -1)) != 0) {
            const int error = errno;
            if (made_) {
                ::unlink(path_.c_str());
            }
            errno = error;
            fail();
        }
    }

private:
    // An export that did not finish leaves no file it made, which could be
    // taken for a whole one.
    void abandon() {
        if (fd_ >= 0) {
            ::close(std::exchange(fd_, -1));
            if (made_) {
                ::unlink(path_.c_str());
            }
        }
    }

    [[noreturn]] void fail() const {
        const int error = errno == 0 ? EIO : errno;
        throw std::runtime_error(path_ + ": cannot write the file: " + std::strerror(error));
    }

    std::string path_;
    int fd_ = -1;
    bool made_ = false;
};

[[noreturn]] void cannotWriteStandardOutput() {
    const int error = errno;
    throw std::runtime_error(std::string("standard output: ") +
                             (error != 0 ? std::strerror(error) : "cannot write"));
}

int exportPairs(const Arguments& args, std::ostream& out) {
    expectArguments(args, 1, 2);
    const std::string& file = args.positional[0];
    const std::string path = plainPath(file);
    const DictionaryKind& kind = kindOf(args, file);
    Database database = Database::open(path, kind);
    std::optional<OutputFile> tsv;
    if (args.positional.size() == 2) {
        tsv.emplace(args.positional[1], path);
    }
    // Written a piece at a time, and stopped at the first failure.
    constexpr std::size_t kPiece = 1 << 16;
    std::string text;
    const auto write = [&] {
        if (tsv) {
            tsv->write(text);
        } else {
            errno = 0;
            out.write(text.data(), static_cast<std::streamsize>(text.size()));
            if (!out) {
                cannotWriteStandardOutput();
            }
        }
        text.clear();
    };
    database.forEachPair([&](std::string_view source, std::string_view armenian) {
        text += toUtf8(kind.sourceSide, source);
        text += '\t';
        text += toUtf8(Side::Armenian, armenian);
        text += '\n';
        if (text.size() >= kPiece) {
            write();
        }
    });
    write();
    if (tsv) {
        tsv->close();
    }
    return 0;
}

int lookup(const Arguments& args, std::ostream& out) {
    expectArguments(args, 2, 2);
    const std::string& file = args.positional[0];
    const std::string path = plainPath(file);
    const DictionaryKind& kind = kindOf(args, file);
    Database database = Database::open(path, kind);
    const Column column = args.armenian ? Column::Armenian : Column::Source;
    const Side side = sideOf(kind, column);
    const auto word = fromUtf8(side, args.positional[1]);
    if (!word) {
        return 1; // a word the dictionary cannot hold is in no dictionary
    }
    if (args.armenian) {
        // Every source word of the translation, in the order of the source list.
        std::vector<std::string> sources;
        database.forEachIgnoringCase(
            Column::Armenian, *word,
            [&](std::string_view, std::string_view source) { sources.emplace_back(source); });
        std::sort(sources.begin(), sources.end(), [&](const auto& a, const auto& b) {
            return compareWords(kind.sourceSide, a, b) < 0;
        });
        sources.erase(std::unique(sources.begin(), sources.end()), sources.end());
        for (const std::string& source : sources) {
            out << toUtf8(kind.sourceSide, source) << "\n";
        }
        return sources.empty() ? 1 : 0;
    }
    // The word as the window's search finds it, without regard to case; of
    // words that differ only in case, the one spelt as given, or else the
    // first in the list. Of its pairs, the last stored, as the window shows.
    std::optional<std::string> first;
    std::optional<std::string> firstTranslation;
    std::optional<std::string> exactTranslation;
    database.forEachIgnoringCase(Column::Source, *word,
                                 [&](std::string_view source, std::string_view armenian) {
                                     if (!first) {
                                         first = source;
                                     }
                                     if (source == *first) {
                                         firstTranslation = armenian;
                                     }
                                     if (source == *word) {
                                         exactTranslation = armenian;
                                     }
                                 });
    const std::optional<std::string>& translation =
        exactTranslation ? exactTranslation : firstTranslation;
    if (!translation) {
        return 1;
    }
    out << toUtf8(Side::Armenian, *translation) << "\n";
    return 0;
}

int create(const Arguments& args, std::ostream&) {
    expectArguments(args, 1, 1);
    const std::string& file = args.positional[0];
    const std::string path = plainPath(file);
    const DictionaryKind& kind = kindOf(args, file);
    if (std::filesystem::exists(path)) {
        throw std::runtime_error(file + ": the file already exists");
    }
    Database::create(path, kind);
    return 0;
}

int count(const Arguments& args, std::ostream& out) {
    expectArguments(args, 1, 1);
    const std::string& file = args.positional[0];
    const std::string path = plainPath(file);
    Database database = Database::open(path, kindOf(args, file));
    out << database.count() << "\n";
    return 0;
}

int run(const Arguments& args, std::ostream& out) {
    if (args.help) {
        out << kUsage;
        return 0;
    }
    if (args.command == "create") {
        return create(args, out);
    }
    if (args.command == "import") {
        return import(args, out);
    }
    if (args.command == "export") {
        return exportPairs(args, out);
    }
    if (args.command == "lookup") {
        return lookup(args, out);
    }
    if (args.command == "count") {
        return count(args, out);
    }
    throw UsageError(args.command.empty() ? "no command given"
                                          : "unknown command '" + args.command + "'");
}

} // namespace

int runDictTool(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    std::string file;
    try {
        const Arguments args = parse(arguments);
        if (!args.positional.empty()) {
            file = args.positional[0];
        }
        const int status = run(args, out);
        // What is written to standard output is only known to have gone once it is flushed.
        errno = 0;
        out.flush();
        if (!out) {
            cannotWriteStandardOutput();
        }
        return status;
    } catch (const UsageError& e) {
        err << "tavelin-dict: " << e.what() << "\n\n" << kUsage;
        return 2;
    } catch (const DatabaseError& e) {
        err << "tavelin-dict: " << file << ": " << e.text() << " (error " << e.code() << ")\n";
        return 2;
    } catch (const std::exception& e) {
        err << "tavelin-dict: " << e.what() << "\n";
        return 2;
    }
}

} // namespace tavelin
