// How long a search box waits for its near words: the words of made-up
// lists of 1,000,000 words (English, Russian, Armenian) are loaded into the
// lists the main window uses, in dictionary order as the dictionaries give
// them; then words of the list, each with one typo (two letters swapped,
// a letter left out, doubled, or put in place of another), that begin no
// word are searched for their near words, and timed one by one.
//
//   tavelin-bench-near-words [WORDS] [TYPOS]
//
// Prints, per list, the time the list took to load (there is nothing else
// to build: the ordered list is searched as it is), the median, 99th
// percentile and longest search, how often the word meant was offered and
// how often first; the same for a list out of dictionary order, which is
// read word by word up to the search's step limit; and, for the English
// list, the whole way from the key that completes the typo in a search box
// to the near words shown below it (the box's own search, the near words,
// the popup filled and shown; on the offscreen platform, so without the X
// server's drawing).

#include "WordGenerator.h"

#include "main_window/ListBox.h"
#include "main_window/NearWordsPopup.h"
#include "main_window/PrefixSearch.h"
#include "main_window/WordBox.h"
#include "main_window/WordListModel.h"
#include "platform/TextCodec.h"
#include "text/NearWords.h"

#include <QApplication>
#include <QKeyEvent>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

using namespace tavelin;
using namespace tavelin::bench;

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double percentile(std::vector<double> times, double share) {
    std::sort(times.begin(), times.end());
    const auto at = static_cast<std::size_t>(share * static_cast<double>(times.size() - 1));
    return times[at];
}

bool beginsAWord(const WordListModel& list, const std::string& text) {
    return findPrefix(list, text) >= 0;
}

void fill(WordListModel& list, const std::vector<std::string>& words) {
    list.clear();
    list.reserve(words.size());
    for (const std::string& word : words) {
        list.append(word);
    }
    list.finish();
}

void printRow(const char* name, std::size_t words, double load, const std::vector<double>& times,
              int offered, int first) {
    const auto typos = static_cast<double>(times.size());
    std::printf("%-34s %9zu %9.1f %9.2f %9.2f %9.2f %8.1f%% %8.1f%%\n", name, words, load,
                percentile(times, 0.5), percentile(times, 0.99), percentile(times, 1.0),
                100.0 * offered / typos, 100.0 * first / typos);
}

std::string withTypo(Rng& rng, std::string word) {
    const auto at = rng.below(static_cast<std::uint32_t>(word.size() - 1)) + 1;
    switch (rng.below(4)) {
    case 0:
        std::swap(word[at - 1], word[at]);
        break;
    case 1:
        word.erase(at, 1);
        break;
    case 2:
        word.insert(at, 1, word[at]);
        break;
    default:
        word[at] = word[rng.below(static_cast<std::uint32_t>(word.size()))];
        break;
    }
    return word;
}

// A word meant and a typo of it, for a word of four codes or more whose typo
// begins no word of the list (there the box finds a word and nothing is
// offered); `checkBeginning` false takes every typo.
struct Typo {
    std::string meant;
    std::string typed;
};
Typo nextTypo(Rng& rng, const std::vector<std::string>& words, const WordListModel& list,
              bool checkBeginning) {
    for (;;) {
        std::string meant(words[rng.below(static_cast<std::uint32_t>(words.size()))]);
        if (meant.size() < 4) {
            continue;
        }
        std::string typed = withTypo(rng, meant);
        if (checkBeginning && beginsAWord(list, typed)) {
            continue;
        }
        return {std::move(meant), std::move(typed)};
    }
}

void measure(const char* name, Side side, const std::vector<std::string>& words, int typos,
             bool ordered) {
    WordListModel list(side);
    const Clock::time_point loadStart = Clock::now();
    fill(list, words);
    const double load = millisecondsSince(loadStart);
    if (list.inDictionaryOrder() != ordered) {
        std::fprintf(stderr, "%s: the list is not in the order asked for\n", name);
        std::exit(2);
    }

    Rng rng(18);
    std::vector<double> times;
    int offered = 0;
    int first = 0;
    while (static_cast<int>(times.size()) < typos) {
        const Typo typo = nextTypo(rng, words, list, ordered);
        const std::string& meant = typo.meant;
        const std::string& typed = typo.typed;
        const Clock::time_point start = Clock::now();
        const std::vector<NearWord> near = nearWordsIn(list, typed);
        times.push_back(millisecondsSince(start));
        const auto isMeant = [&](const NearWord& word) {
            return equalIgnoringCase(side, list.word(word.index), meant);
        };
        offered += std::any_of(near.begin(), near.end(), isMeant) ? 1 : 0;
        first += !near.empty() && isMeant(near.front()) ? 1 : 0;
    }
    printRow(name, words.size(), load, times, offered, first);
}

// A search box and its list joined as in the main window; each typo is put
// into the box but for its last code, which is then typed.
void measureKeystrokes(const char* name, Side side, const std::vector<std::string>& words,
                       int typos) {
    QWidget window;
    auto* box = new WordBox(side, &window);
    auto* list = new ListBox(side, &window);
    const Clock::time_point loadStart = Clock::now();
    fill(list->words(), words);
    const double load = millisecondsSince(loadStart);
    auto* popup = new NearWordsPopup(box, list, [] { return true; });
    QObject::connect(box, &WordBox::change, box, [box, list, popup] {
        const int found = findPrefix(list->words(), box->codesOrEmpty());
        list->setListIndex(found);
        popup->searched(found >= 0);
    });
    window.show();

    Rng rng(18);
    std::vector<double> times;
    int offered = 0;
    int first = 0;
    while (static_cast<int>(times.size()) < typos) {
        const Typo typo = nextTypo(rng, words, list->words(), true);
        const std::string& meant = typo.meant;
        const std::string& typed = typo.typed;
        box->setCodes(std::string_view(typed).substr(0, typed.size() - 1));
        QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier,
                      toDisplay(side, typed.substr(typed.size() - 1)));
        const Clock::time_point start = Clock::now();
        QApplication::sendEvent(box, &key);
        times.push_back(millisecondsSince(start));
        if (!popup->isVisible()) {
            continue;
        }
        const QStringList shown = popup->offered();
        const auto isMeant = [&](const QString& word) {
            return equalIgnoringCase(side, fromDisplay(side, word).value_or(""), meant);
        };
        offered += std::any_of(shown.begin(), shown.end(), isMeant) ? 1 : 0;
        first += isMeant(shown.front()) ? 1 : 0;
        popup->hide();
    }
    printRow(name, words.size(), load, times, offered, first);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // It cannot raise windows, and says so at each one shown.
        qputenv("QT_LOGGING_RULES", "default.warning=false");
    }
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    const std::size_t count = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 1'000'000;
    const int typos = argc > 2 ? std::atoi(argv[2]) : 2'000;
    if (count < 2 || typos < 1) {
        std::fprintf(stderr, "usage: tavelin-bench-near-words [WORDS] [TYPOS]\n");
        return 2;
    }
    std::printf("Near words: %d typos per list; times in ms (goal: under 50 ms a keystroke)\n",
                typos);
    std::printf("%-34s %9s %9s %9s %9s %9s %9s %9s\n", "list", "words", "load", "median", "p99",
                "longest", "offered", "first");
    const auto sorted = [](Side side, std::vector<std::string> words) {
        std::stable_sort(words.begin(), words.end(), [side](const auto& a, const auto& b) {
            return compareWords(side, a, b) < 0;
        });
        return words;
    };
    for (const Side source : {Side::English, Side::Russian}) {
        const WordPairs pairs = WordGenerator(source, 18).generate(count);
        std::vector<std::string> sourceWords;
        std::vector<std::string> armenianWords;
        sourceWords.reserve(pairs.size());
        armenianWords.reserve(pairs.size());
        for (std::size_t i = 0; i < pairs.size(); ++i) {
            sourceWords.emplace_back(pairs.source(i));
            armenianWords.emplace_back(pairs.armenian(i));
        }
        const bool english = source == Side::English;
        measure(english ? "English" : "Russian", source, sorted(source, sourceWords), typos, true);
        if (english) {
            measure("Armenian", Side::Armenian, sorted(Side::Armenian, armenianWords), typos, true);
            measureKeystrokes("English, key to list shown", source, sorted(source, sourceWords),
                              typos);
            // As generated: out of dictionary order, read word by word.
            measure("English, out of order", source, sourceWords, typos / 10, false);
        }
    }
    return 0;
}
