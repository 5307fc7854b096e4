// What taking е and ё as one letter costs the Russian search box: a made-up
// Russian list of 1,000,000 words, some of whose е written ё, is loaded into
// the list the main window uses, in dictionary order; then prefixes of its
// words holding е or ё, typed with е throughout as most people type, are
// searched with е and ё as one letter and, for comparison, as two, and timed
// one by one.
//
//   tavelin-bench-yo-search [WORDS] [PREFIXES]
//
// Prints the median, 99th percentile and longest search of each, how many
// prefixes found a word, and the longest search for a prefix of nothing but
// е, which makes the search try both letters at every step.

#include "WordGenerator.h"

#include "main_window/PrefixSearch.h"
#include "main_window/WordListModel.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace tavelin;
using namespace tavelin::bench;

namespace {

using Clock = std::chrono::steady_clock;

constexpr unsigned char kYe = 0xE5; // е in Windows-1251
constexpr unsigned char kYo = 0xB8; // ё
constexpr unsigned char kCapitalYe = 0xC5;
constexpr unsigned char kCapitalYo = 0xA8;

double microsecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

double percentile(std::vector<double> times, double share) {
    std::sort(times.begin(), times.end());
    return times[static_cast<std::size_t>(share * static_cast<double>(times.size() - 1))];
}

bool holdsYeOrYo(const std::string& text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto code = static_cast<unsigned char>(c);
        return code == kYe || code == kYo || code == kCapitalYe || code == kCapitalYo;
    });
}

void report(const char* name, const std::vector<double>& times, int found) {
    std::printf("%-32s %9.2f %9.2f %9.2f %9d\n", name, percentile(times, 0.5),
                percentile(times, 0.99), percentile(times, 1.0), found);
}

} // namespace

int main(int argc, char** argv) {
    const std::size_t count = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 1'000'000;
    const int prefixes = argc > 2 ? std::atoi(argv[2]) : 20'000;
    if (count < 2 || prefixes < 1) {
        std::fprintf(stderr, "usage: tavelin-bench-yo-search [WORDS] [PREFIXES]\n");
        return 2;
    }
    // One е in five written ё, as in a list that writes ё where it belongs.
    Rng rng(18);
    const WordPairs pairs = WordGenerator(Side::Russian, 18).generate(count);
    std::vector<std::string> words;
    words.reserve(pairs.size());
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        std::string word(pairs.source(i));
        for (char& c : word) {
            const auto code = static_cast<unsigned char>(c);
            if ((code == kYe || code == kCapitalYe) && rng.below(5) == 0) {
                c = static_cast<char>(code == kYe ? kYo : kCapitalYo);
            }
        }
        words.push_back(std::move(word));
    }
    std::stable_sort(words.begin(), words.end(), [](const auto& a, const auto& b) {
        return compareWords(Side::Russian, a, b) < 0;
    });
    WordListModel list(Side::Russian);
    list.reserve(words.size());
    for (const std::string& word : words) {
        list.append(word);
    }
    list.finish();
    if (!list.inDictionaryOrder()) {
        std::fprintf(stderr, "the list is not in dictionary order\n");
        return 2;
    }

    // Prefixes of 1 to 8 letters of the list's words, ё typed as е.
    std::vector<std::string> typed;
    while (static_cast<int>(typed.size()) < prefixes) {
        const std::string& word = words[rng.below(static_cast<std::uint32_t>(words.size()))];
        std::string prefix = word.substr(0, 1 + rng.below(8));
        if (!holdsYeOrYo(prefix)) {
            continue;
        }
        for (char& c : prefix) {
            const auto code = static_cast<unsigned char>(c);
            c = static_cast<char>(code == kYo ? kYe : (code == kCapitalYo ? kCapitalYe : code));
        }
        typed.push_back(std::move(prefix));
    }

    std::printf("Russian search box, %zu words, %d prefixes holding е or ё; times in us "
                "(goal: a keystroke well under 1 ms)\n",
                words.size(), prefixes);
    std::printf("%-32s %9s %9s %9s %9s\n", "search", "median", "p99", "longest", "found");
    for (const bool yoIsYe : {true, false}) {
        std::vector<double> times;
        times.reserve(typed.size());
        int found = 0;
        for (const std::string& prefix : typed) {
            const Clock::time_point start = Clock::now();
            const int index = findPrefix(list, prefix, yoIsYe);
            times.push_back(microsecondsSince(start));
            found += index >= 0 ? 1 : 0;
        }
        report(yoIsYe ? "е and ё one letter" : "е and ё two letters", times, found);
    }
    // Nothing but е: both letters at every step, as deep as the list goes.
    std::vector<double> times;
    int found = 0;
    for (int length = 1; length <= 20; ++length) {
        const std::string prefix(static_cast<std::size_t>(length), static_cast<char>(kYe));
        for (int i = 0; i < 50; ++i) {
            const Clock::time_point start = Clock::now();
            found += findPrefix(list, prefix, true) >= 0 ? 1 : 0;
            times.push_back(microsecondsSince(start));
        }
    }
    report("е repeated 1 to 20 times", times, found / 50);
    return 0;
}
