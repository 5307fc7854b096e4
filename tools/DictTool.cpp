#include "DictTool.h"

#include "data/Database.h"
#include "data/DatabaseError.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

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
    "                          return other than at the end) and nothing is imported\n"
    "  export FILE [TSV]       write all pairs as UTF-8 text in the order of the source\n"
    "                          list, to TSV or to standard output\n"
    "  lookup FILE WORD        print the Armenian translation of a source word; exit\n"
    "                          status 1, printing nothing, when the word is absent\n"
    "  count FILE              print the number of pairs\n"
    "\n"
    "Options:\n"
    "  --kind en|ru            the dictionary's kind: English-Armenian or\n"
    "                          Russian-Armenian; needed unless FILE is named\n"
    "                          EA.tvl (en) or RA.tvl (ru)\n"
    "  --armenian              with lookup: WORD is Armenian; print its source word\n"
    "  --help                  show this text\n";

struct Arguments {
    std::string command;
    std::vector<std::string> positional;
    std::string kind;
    bool armenian = false;
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

struct Pair {
    std::string source;
    std::string armenian;
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
                throw std::runtime_error(where + "the " + sideName(sides[i]) + " word '" +
                                         texts[i] +
                                         "' has a character that the dictionary cannot hold");
            }
            codes[i] = std::move(*encoded);
        }
        pairs.push_back({std::move(codes[0]), std::move(codes[1])});
    }
    if (in.bad()) {
        throw std::runtime_error(tsvPath + ": cannot read the file");
    }
    return pairs;
}

int import(const Arguments& args, std::ostream& out) {
    expectArguments(args, 2, 2);
    const std::string& file = args.positional[0];
    const DictionaryKind& kind = kindOf(args, file);
    const std::vector<Pair> pairs = readPairs(args.positional[1], kind);
    Database database =
        std::filesystem::exists(file) ? Database::open(file, kind) : Database::create(file, kind);
    database.inTransaction([&] {
        for (const Pair& pair : pairs) {
            database.append(pair.source, pair.armenian);
        }
    });
    out << "imported " << pairs.size() << " pairs into " << file << "\n";
    return 0;
}

int exportPairs(const Arguments& args, std::ostream& out) {
    expectArguments(args, 1, 2);
    const std::string& file = args.positional[0];
    const DictionaryKind& kind = kindOf(args, file);
    Database database = Database::open(file, kind);
    std::ostringstream text;
    database.forEachPair([&](std::string_view source, std::string_view armenian) {
        text << toUtf8(kind.sourceSide, source) << '\t' << toUtf8(Side::Armenian, armenian) << '\n';
    });
    if (args.positional.size() == 1) {
        out << text.str();
        return 0;
    }
    const std::string& tsvPath = args.positional[1];
    std::ofstream tsv(tsvPath, std::ios::binary | std::ios::trunc);
    tsv << text.str();
    tsv.close();
    if (!tsv) {
        throw std::runtime_error(tsvPath + ": cannot write the file");
    }
    return 0;
}

int lookup(const Arguments& args, std::ostream& out) {
    expectArguments(args, 2, 2);
    const std::string& file = args.positional[0];
    const DictionaryKind& kind = kindOf(args, file);
    Database database = Database::open(file, kind);
    const Column column = args.armenian ? Column::Armenian : Column::Source;
    const Side side = sideOf(kind, column);
    const auto word = fromUtf8(side, args.positional[1]);
    if (!word) {
        return 1; // a word the dictionary cannot hold is in no dictionary
    }
    const auto translation = database.lookUp(column, *word);
    if (!translation) {
        return 1;
    }
    const Side other = column == Column::Source ? Side::Armenian : kind.sourceSide;
    out << toUtf8(other, *translation) << "\n";
    return 0;
}

int create(const Arguments& args, std::ostream&) {
    expectArguments(args, 1, 1);
    const std::string& file = args.positional[0];
    const DictionaryKind& kind = kindOf(args, file);
    if (std::filesystem::exists(file)) {
        throw std::runtime_error(file + ": the file already exists");
    }
    Database::create(file, kind);
    return 0;
}

int count(const Arguments& args, std::ostream& out) {
    expectArguments(args, 1, 1);
    const std::string& file = args.positional[0];
    Database database = Database::open(file, kindOf(args, file));
    out << database.count() << "\n";
    return 0;
}

} // namespace

int runDictTool(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    std::string file;
    try {
        const Arguments args = parse(arguments);
        if (!args.positional.empty()) {
            file = args.positional[0];
        }
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
