// The dictionary tool's importer on any text.
//
// Input: the TSV file, English-Armenian; a first line "ru" makes it
// Russian-Armenian. The import must end with status 0 or 2, never crash. It
// succeeds exactly when every line is a pair of words the add dialogs would
// take (not empty, no leading space, at most 100 characters, no control
// character) and no source word repeats, case aside; with --skip-existing
// the repeats are skipped instead. When it succeeds the dictionary holds
// exactly the pairs taken, the export gives them in dictionary order,
// importing the export again gives the same export, and importing the file
// again adds nothing.
#include "FuzzCheck.h"

#include "DictTool.h"
#include "text/CharacterSet.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <sstream>
#include <vector>

namespace tavelin::fuzz {
namespace {

struct Run {
    int status;
    std::string out;
    std::string err;
};

Run tool(const std::vector<std::string>& arguments) {
    std::ostringstream out, err;
    const int status = runDictTool(arguments, out, err);
    return {status, out.str(), err.str()};
}

// The lines of a text file as the importer reads them: a byte-order mark at
// the start and one carriage return before each line feed dropped, empty
// lines left out.
std::vector<std::string> pairLines(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }
    std::vector<std::string> lines;
    while (!text.empty()) {
        std::string_view line = takeField(text, '\n');
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (!line.empty()) {
            lines.emplace_back(line);
        }
    }
    return lines;
}

// Text with its control characters spelt out, for messages.
std::string visible(std::string_view text) {
    static const char digits[] = "0123456789abcdef";
    std::string shown;
    for (char c : text) {
        const auto code = static_cast<unsigned char>(c);
        if (c == '\n') {
            shown += "\\n\n";
        } else if (c == '\t') {
            shown += "\\t";
        } else if (c == '\r') {
            shown += "\\r";
        } else if (code < 32 || code == 127) {
            shown += std::string("\\x") + digits[code >> 4] + digits[code & 15];
        } else {
            shown += c;
        }
    }
    return shown;
}

// Whether a line is a pair the import takes: one tab between two words of
// the sides' character sets, each not empty, not beginning with a space, of
// at most 100 characters and without a control character.
bool takenLine(Side side, std::string_view line, std::string& source) {
    const size_t tab = line.find('\t');
    if (tab == std::string_view::npos || line.find('\t', tab + 1) != std::string_view::npos ||
        line.find('\r') != std::string_view::npos) {
        return false;
    }
    const std::string_view texts[2] = {line.substr(0, tab), line.substr(tab + 1)};
    const Side sides[2] = {side, Side::Armenian};
    for (int i = 0; i < 2; ++i) {
        const auto codes = fromUtf8(sides[i], texts[i]);
        if (!codes || codes->empty() || codes->size() > 100 || codes->front() == ' ' ||
            std::any_of(codes->begin(), codes->end(),
                        [](char c) { return static_cast<unsigned char>(c) < 32 || c == 127; })) {
            return false;
        }
        if (i == 0) {
            source = *codes;
        }
    }
    return true;
}

std::vector<std::string> sorted(std::vector<std::string> lines) {
    std::sort(lines.begin(), lines.end());
    return lines;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return text;
}

} // namespace

int fuzzTsv(const uint8_t* data, size_t size) {
    std::string_view tsv(reinterpret_cast<const char*>(data), size);
    const bool russian = tsv.substr(0, 3) == "ru\n";
    if (russian) {
        tsv.remove_prefix(3);
    }
    const std::string kind = russian ? "ru" : "en";
    const Side side = russian ? Side::Russian : Side::English;
    const std::string dir = scratchDirectory();
    const std::string input = dir + "/in.tsv";
    const std::string first = dir + "/first.tvl";
    const std::string second = dir + "/second.tvl";
    const std::string exported = dir + "/out.tsv";
    for (const std::string& file : {first, second, exported}) {
        std::remove(file.c_str());
    }
    writeBytes(input, tsv);

    // What the import must take: every line, each source word once.
    const std::vector<std::string> fileLines = pairLines(tsv);
    std::vector<std::string> lines;
    std::set<std::string> sources;
    bool allTaken = true;
    for (const std::string& line : fileLines) {
        std::string source;
        if (!takenLine(side, line, source)) {
            allTaken = false;
            break;
        }
        if (sources.insert(foldCase(side, source)).second) {
            lines.push_back(line);
        }
    }
    const size_t repeats = fileLines.size() - lines.size();

    Run import = tool({"import", "--kind", kind, first, input});
    FUZZ_CHECK(import.status == 0 || import.status == 2,
               "import status " + std::to_string(import.status) + ": " + import.err);
    FUZZ_CHECK((import.status == 0) == (allTaken && repeats == 0),
               "import status " + std::to_string(import.status) + " " + import.err +
                   "\nfor the file:\n" + visible(joined(fileLines)));
    if (import.status != 0) {
        FUZZ_CHECK(!import.err.empty(), "a failed import says why");
        FUZZ_CHECK(readBytes(first).empty(), "a failed import left a dictionary behind");
        if (!allTaken) {
            return 0;
        }
        // Only repeats: skipped, the first of each taken.
        import = tool({"import", "--skip-existing", "--kind", kind, first, input});
        FUZZ_CHECK(import.status == 0 && import.out == "imported " + std::to_string(lines.size()) +
                                                           " pairs into " + first + ", skipped " +
                                                           std::to_string(repeats) +
                                                           " already in the dictionary\n",
                   "import --skip-existing: " + import.out + import.err + "\nfor the file:\n" +
                       visible(joined(fileLines)));
    }
    FUZZ_CHECK(import.out.find("imported " + std::to_string(lines.size()) + " pairs") == 0,
               import.out + " for " + std::to_string(lines.size()) + " lines");
    const Run count = tool({"count", "--kind", kind, first});
    FUZZ_CHECK(count.status == 0 && count.out == std::to_string(lines.size()) + "\n",
               "count " + count.out + count.err);

    const Run out = tool({"export", "--kind", kind, first});
    FUZZ_CHECK(out.status == 0, "export: " + out.err);
    const std::vector<std::string> exportedLines = pairLines(out.out);
    FUZZ_CHECK(sorted(exportedLines) == sorted(lines),
               "the export holds other pairs than the file\nfile:\n" + visible(joined(lines)) +
                   "export, read back:\n" + visible(joined(exportedLines)));
    FUZZ_CHECK(joined(exportedLines) == out.out,
               "the export is not one pair a line:\n" + visible(out.out));
    for (size_t i = 1; i < exportedLines.size(); ++i) {
        std::string_view a = exportedLines[i - 1];
        std::string_view b = exportedLines[i];
        const auto wordA = fromUtf8(side, a.substr(0, a.find('\t')));
        const auto wordB = fromUtf8(side, b.substr(0, b.find('\t')));
        FUZZ_CHECK(wordA && wordB && compareWords(side, *wordA, *wordB) <= 0,
                   "the export is out of order:\n" + visible(out.out));
    }

    writeBytes(exported, out.out);
    const Run again = tool({"import", "--kind", kind, second, exported});
    FUZZ_CHECK(again.status == 0,
               "the export does not import again: " + again.err + "\nexport:\n" + visible(out.out));
    const Run outAgain = tool({"export", "--kind", kind, second});
    FUZZ_CHECK(outAgain.status == 0 && outAgain.out == out.out,
               "export, import and export give another export\nfirst:\n" + visible(out.out) +
                   "then:\n" + visible(outAgain.out) + outAgain.err);

    // The same file once more: refused, or every line skipped.
    const Run twice = tool({"import", "--kind", kind, first, input});
    FUZZ_CHECK(twice.status == (lines.empty() ? 0 : 2),
               "a second import: " + twice.out + twice.err);
    const Run skipping = tool({"import", "--skip-existing", "--kind", kind, first, input});
    FUZZ_CHECK(skipping.status == 0 && skipping.out == "imported 0 pairs into " + first +
                                                           ", skipped " +
                                                           std::to_string(fileLines.size()) +
                                                           " already in the dictionary\n",
               "a second import skipping: " + skipping.out + skipping.err);
    const Run countAgain = tool({"count", "--kind", kind, first});
    FUZZ_CHECK(countAgain.out == std::to_string(lines.size()) + "\n",
               "a second import changed the dictionary: " + countAgain.out + countAgain.err);
    return 0;
}

} // namespace tavelin::fuzz
