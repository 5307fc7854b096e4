// Measures Tavelin as a user feels it, on made-up dictionaries of 100,000 and
// 1,000,000 pairs each, and prints one table with the goal beside each figure
// and the machine's load while it was measured:
//
//  - the real program started in an X session of its own (Xvfb, openbox,
//    trayer, as the end-to-end tests run it) from a program directory with a
//    copy of the program and the two dictionaries, until its main window is
//    mapped and its status bar shows the word count; its peak memory then;
//  - in that program, keys pressed through the X server (XTEST) and timed to
//    the changes of the main window's pixels (DAMAGE): typing in the English
//    search box, Return in the add dialog, Return on the delete dialog's Yes;
//  - the same keys typed into a window of stock Qt widgets holding the same
//    words (tavelin-bench-stock-window), the yardstick for a keystroke;
//  - keystrokes in the search boxes, and adds and deletes through the add and
//    delete dialogs, in-process against the real main window with full lists
//    (tavelin-bench-window, on the offscreen platform), to tell the program's
//    own work from the drawing and the X server's;
//  - `tavelin-dict lookup` as a whole process;
//  - and, to tell where the time goes, the data layer's own timings.
//
//   tavelin-bench [OPTIONS] [PAIRS...]  other sizes than the two above
//     --program PROGRAM   time this build of the program (launch, typing, edits)
//     --user-felt-only    only the real program: no in-process runs, no tool,
//                         no data layer
//     --priority          run every process of the benchmark at priority -10,
//                         ahead of the machine's other work (needs root)
//   tavelin-bench --make DIR PAIRS      only makes EA.tvl and RA.tvl in DIR
//
// Setting TAVELIN_BENCH_TRACE prints each timed key's damage events.
//
// Everything happens in a fresh directory under /tmp, removed at the end.
// Each size is generated in two processes (one per dictionary, side by side)
// and measured in others, so that no measuring process's peak memory is the
// generator's, and no run finds the heap or the caches another one warmed.

#include "CompactWordList.h"
#include "Interaction.h"
#include "Launch.h"
#include "WindowRun.h"
#include "WordGenerator.h"

#include "data/Database.h"
#include "data/DictionaryKind.h"
#include "text/CharacterSet.h"

#include <sqlite3.h>

#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

namespace fs = std::filesystem;
using namespace tavelin;
using namespace tavelin::bench;

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kSizes[] = {100'000, 1'000'000};
constexpr int kMaxLoadRuns = 9;
constexpr int kLookUps = 2'000; // per column, half in each dictionary
constexpr int kChanges = 50;    // appends, and deletes, half in each dictionary
constexpr int kMaxWindowRuns = 5;
constexpr int kKeystrokes = 2'000; // per search box, in the first window run
constexpr int kEdits = 12;         // adds, then deletes, in the first window run
constexpr int kMaxLaunches = 9;
constexpr int kLookUpProcesses = 21;
// Typed in the real program: words whose first one to three letters are
// typed (about twice as many keys), and adds and deletes through the dialogs.
constexpr int kTypedWords = 150;
constexpr int kFeltEdits = 15;

int loadRunsFor(std::size_t pairs) {
    return pairs <= 100'000 ? kMaxLoadRuns : 5;
}

int windowRunsFor(std::size_t) {
    return kMaxWindowRuns;
}

// Timed starts of the real program, after one that warms the caches.
int launchesFor(std::size_t pairs) {
    return pairs <= 100'000 ? kMaxLaunches : 5;
}

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

// The 1-minute load averages seen while a part of the benchmark ran.
struct Load {
    double low = 1e9;
    double high = 0;
    void see(double load) {
        low = std::min(low, load);
        high = std::max(high, load);
    }
    void see() { see(loadAverage()); }
};

// A field of /proc/self/status in kB ("VmRSS", "VmHWM"); -1 when unreadable.
long statusKb(const char* field) {
    std::ifstream status("/proc/self/status");
    const std::string key = std::string(field) + ":";
    std::string line;
    while (std::getline(status, line)) {
        if (line.compare(0, key.size(), key) == 0) {
            return std::strtol(line.c_str() + key.size(), nullptr, 10);
        }
    }
    return -1;
}

// Starts the peak (VmHWM and ru_maxrss) afresh from the present size.
void resetPeakMemory() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

long maxRssKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// ---- Work in child processes -----------------------------------------------

volatile sig_atomic_t interrupted = 0;
std::vector<pid_t> liveChildren;

struct Interrupted {};

void onSignal(int) {
    interrupted = 1;
}

void catchSignals(bool on) {
    struct sigaction action {};
    action.sa_handler = on ? onSignal : SIG_DFL;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no SA_RESTART: a blocked read or wait returns
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

struct Child {
    pid_t pid = -1;
    int fd = -1;
};

// Runs the work in a child process, which hands its result back through a pipe.
template <class Result, class Work> Child startChild(Work work) {
    static_assert(std::is_trivially_copyable_v<Result>);
    std::fflush(stdout);
    std::fflush(stderr);
    int fds[2];
    if (::pipe(fds) != 0) {
        throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
    }
    const pid_t pid = ::fork();
    if (pid < 0) {
        throw std::runtime_error(std::string("fork: ") + std::strerror(errno));
    }
    if (pid == 0) {
        catchSignals(false);
        ::close(fds[0]);
        int status = 0;
        try {
            const Result result = work();
            const char* bytes = reinterpret_cast<const char*>(&result);
            std::size_t done = 0;
            while (done < sizeof result) {
                const ssize_t n = ::write(fds[1], bytes + done, sizeof result - done);
                if (n <= 0) {
                    status = 1;
                    break;
                }
                done += static_cast<std::size_t>(n);
            }
        } catch (const std::exception& e) {
            std::fprintf(stderr, "tavelin-bench: %s\n", e.what());
            status = 1;
        }
        std::fflush(stderr);
        ::_exit(status); // leaves the parent's cleanup to the parent
    }
    ::close(fds[1]);
    liveChildren.push_back(pid);
    return {pid, fds[0]};
}

template <class Result> Result finishChild(Child& child) {
    Result result{};
    char* bytes = reinterpret_cast<char*>(&result);
    std::size_t done = 0;
    while (done < sizeof result) {
        const ssize_t n = ::read(child.fd, bytes + done, sizeof result - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            if (interrupted) {
                throw Interrupted{};
            }
        } else {
            break;
        }
    }
    ::close(child.fd);
    int status = 0;
    while (::waitpid(child.pid, &status, 0) < 0) {
        if (errno != EINTR || interrupted) {
            throw Interrupted{};
        }
    }
    std::erase(liveChildren, child.pid);
    if (done != sizeof result || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error("a benchmark process failed");
    }
    return result;
}

// Runs another program with its file descriptor kResultFd writing into a
// pipe, which finishChild reads its result from.
Child startProgram(const fs::path& program, const std::vector<std::string>& args,
                   const std::vector<std::pair<std::string, std::string>>& environment) {
    std::vector<std::string> argvStrings = {program.string()};
    argvStrings.insert(argvStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : argvStrings) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    std::fflush(stdout);
    std::fflush(stderr);
    int fds[2];
    if (::pipe(fds) != 0) {
        throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
    }
    const pid_t pid = ::fork();
    if (pid < 0) {
        throw std::runtime_error(std::string("fork: ") + std::strerror(errno));
    }
    if (pid == 0) {
        catchSignals(false);
        ::close(fds[0]);
        if (fds[1] != kResultFd) {
            ::dup2(fds[1], kResultFd);
            ::close(fds[1]);
        }
        for (const auto& [name, value] : environment) {
            ::setenv(name.c_str(), value.c_str(), 1);
        }
        ::execv(argv[0], argv.data());
        std::fprintf(stderr, "tavelin-bench: cannot run %s: %s\n", argv[0], std::strerror(errno));
        ::_exit(127);
    }
    ::close(fds[1]);
    liveChildren.push_back(pid);
    return {pid, fds[0]};
}

void stopChildren() {
    for (pid_t pid : liveChildren) {
        ::kill(pid, SIGTERM);
    }
    for (pid_t pid : liveChildren) {
        int status;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }
    liveChildren.clear();
}

// The benchmark's directory, removed with everything in it at the end.
class ScratchDir {
public:
    ScratchDir() {
        std::string pattern = "/tmp/tavelin-bench-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot make a temporary directory: " +
                                     std::string(std::strerror(errno)));
        }
        path_ = pattern;
    }
    ~ScratchDir() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

// ---- Making the dictionaries -----------------------------------------------

struct Made {
    double generateSeconds;
    double writeSeconds;
    std::uint64_t fileBytes;
};

Made makeDictionary(const fs::path& file, const DictionaryKind& kind, std::size_t pairs,
                    std::uint64_t seed) {
    Made made{};
    auto start = Clock::now();
    WordGenerator generator(kind.sourceSide, seed);
    const WordPairs words = generator.generate(pairs);
    made.generateSeconds = secondsSince(start);
    start = Clock::now();
    writeDictionary(file.string(), kind, words);
    made.writeSeconds = secondsSince(start);
    made.fileBytes = fs::file_size(file);
    return made;
}

// ---- Measuring -------------------------------------------------------------

struct Measured {
    int loadRuns;
    double loadSeconds[kMaxLoadRuns];
    double loaderMedian[4];
    double lookUpSource;
    double lookUpArmenian;
    double appendSeconds[kChanges];
    double removeSeconds[kChanges];
    long loadPeakKb; // peak growth over the size before loading
    long heldKb;     // growth while the four lists are held
    std::uint64_t listUsedBytes;
    std::uint64_t listAllocatedBytes;
    long maxRssKb;
};

struct Loader {
    Database* database;
    Column column;
};

using Lists = std::array<CompactWordList, 4>;

// What the timings rest on: every word arrived, in dictionary order, and the
// source words are unique without regard to case as the generator promises.
void checkLists(const Lists& lists, const std::array<Loader, 4>& loaders, std::size_t pairs) {
    for (std::size_t k = 0; k < lists.size(); ++k) {
        const CompactWordList& list = lists[k];
        const Loader& loader = loaders[k];
        const Side side = sideOf(loader.database->kind(), loader.column);
        if (list.size() != pairs) {
            throw std::runtime_error("loaded " + std::to_string(list.size()) + " words, not " +
                                     std::to_string(pairs));
        }
        for (std::size_t i = 1; i < list.size(); ++i) {
            if (compareWords(side, list[i - 1], list[i]) > 0) {
                throw std::runtime_error("a loaded list is out of order at word " +
                                         std::to_string(i));
            }
            if (loader.column == Column::Source && equalIgnoringCase(side, list[i - 1], list[i])) {
                throw std::runtime_error("the generator repeated a source word");
            }
        }
    }
}

Measured measure(const fs::path& dir, std::size_t pairs) {
    Measured result{};
    Database ea = Database::open((dir / kEnglishArmenian.fileName).string(), kEnglishArmenian);
    Database ra = Database::open((dir / kRussianArmenian.fileName).string(), kRussianArmenian);
    Database* databases[2] = {&ea, &ra};
    const std::array<Loader, 4> loaders = {{{&ea, Column::Source},
                                            {&ea, Column::Armenian},
                                            {&ra, Column::Source},
                                            {&ra, Column::Armenian}}};
    if (ea.count() != static_cast<long long>(pairs) ||
        ra.count() != static_cast<long long>(pairs)) {
        throw std::runtime_error("a dictionary does not hold the pairs written to it");
    }

    // Loading, as at start-up: four fresh lists each run.
    const long baselineKb = statusKb("VmRSS");
    resetPeakMemory();
    result.loadRuns = loadRunsFor(pairs);
    std::vector<double> perLoader[4];
    std::unique_ptr<Lists> lists;
    for (int run = 0; run < result.loadRuns; ++run) {
        lists.reset();
        lists = std::make_unique<Lists>();
        double total = 0;
        for (std::size_t k = 0; k < loaders.size(); ++k) {
            const auto start = Clock::now();
            loaders[k].database->loadWords(loaders[k].column, (*lists)[k]);
            const double seconds = secondsSince(start);
            perLoader[k].push_back(seconds);
            total += seconds;
        }
        result.loadSeconds[run] = total;
        if (run == 0) {
            result.heldKb = statusKb("VmRSS") - baselineKb;
            for (const auto& list : *lists) {
                result.listUsedBytes += list.usedBytes();
                result.listAllocatedBytes += list.allocatedBytes();
            }
            checkLists(*lists, loaders, pairs);
        }
    }
    result.loadPeakKb = statusKb("VmHWM") - baselineKb;
    for (std::size_t k = 0; k < loaders.size(); ++k) {
        result.loaderMedian[k] = median(perLoader[k]);
    }

    // Look-ups of words picked at random from the lists just loaded.
    Rng rng(0x100C0 + pairs);
    for (Column column : {Column::Source, Column::Armenian}) {
        std::vector<double> times;
        for (int i = 0; i < kLookUps; ++i) {
            const int d = i % 2;
            const CompactWordList& list = (*lists)[2 * d + (column == Column::Armenian ? 1 : 0)];
            const std::string word(list[rng.below(static_cast<std::uint32_t>(list.size()))]);
            const auto start = Clock::now();
            const auto found = databases[d]->lookUp(column, word);
            times.push_back(secondsSince(start));
            if (!found) {
                throw std::runtime_error("a stored word was not found");
            }
        }
        (column == Column::Source ? result.lookUpSource : result.lookUpArmenian) = median(times);
    }

    // Appends of new pairs, then deletes of stored words; each commits alone.
    const WordPairs added[2] = {WordGenerator(Side::English, 0xADD1).generate(kChanges / 2 + 1),
                                WordGenerator(Side::Russian, 0xADD2).generate(kChanges / 2 + 1)};
    std::vector<double> times;
    for (int i = 0; i < kChanges; ++i) {
        const int d = i % 2;
        const auto start = Clock::now();
        databases[d]->append(added[d].source(i / 2), added[d].armenian(i / 2));
        times.push_back(secondsSince(start));
    }
    std::copy(times.begin(), times.end(), result.appendSeconds);

    times.clear();
    std::set<std::uint32_t> deleted[2];
    for (int i = 0; i < kChanges; ++i) {
        const int d = i % 2;
        const CompactWordList& list = (*lists)[2 * d];
        std::uint32_t index;
        do {
            index = rng.below(static_cast<std::uint32_t>(list.size()));
        } while (!deleted[d].insert(index).second);
        const std::string word(list[index]);
        const auto start = Clock::now();
        const bool removed = databases[d]->removeFirst(word);
        times.push_back(secondsSince(start));
        if (!removed) {
            throw std::runtime_error("a stored word could not be deleted");
        }
    }
    std::copy(times.begin(), times.end(), result.removeSeconds);

    result.maxRssKb = maxRssKb();
    return result;
}

// ---- The programs -------------------------------------------------------------

// This program's folder (bench/ in the build tree), where
// tavelin-bench-window is; the program and the tool are one folder up.
fs::path benchFolder() {
    return fs::read_symlink("/proc/self/exe").parent_path();
}

fs::path windowProgram() {
    return benchFolder() / "tavelin-bench-window";
}

fs::path stockWindowProgram() {
    return benchFolder() / "tavelin-bench-stock-window";
}

fs::path builtProgram(const char* name) {
    const fs::path path = benchFolder().parent_path() / name;
    if (!fs::exists(path)) {
        throw std::runtime_error(path.string() + " is not built");
    }
    return path;
}

// ---- The main window, in-process -------------------------------------------

struct WindowRuns {
    int count;
    WindowRun run[kMaxWindowRuns];
};

WindowRuns measureWindow(const fs::path& dir, std::size_t pairs, const fs::path& runtimeDir) {
    WindowRuns runs{};
    runs.count = windowRunsFor(pairs);
    // The in-process runs always read the dictionary: their cache folder is
    // a file, where no copy of the lists can be kept.
    const fs::path noCache = runtimeDir / "no-cache";
    std::ofstream{noCache};
    const std::vector<std::pair<std::string, std::string>> environment = {
        {"QT_QPA_PLATFORM", "offscreen"},
        {"XDG_RUNTIME_DIR", runtimeDir.string()},
        {"XDG_CACHE_HOME", noCache.string()}};
    // The runs that only start the window come first: the edits of the first
    // run change the files, and each run expects them to hold `pairs` pairs.
    for (int i = runs.count - 1; i >= 0; --i) {
        const int keystrokes = i == 0 ? kKeystrokes : 0;
        const int edits = i == 0 ? kEdits : 0;
        Child child = startProgram(windowProgram(),
                                   {dir.string(), std::to_string(pairs), std::to_string(keystrokes),
                                    std::to_string(edits), std::to_string(0x4B3E5 + pairs)},
                                   environment);
        runs.run[i] = finishChild<WindowRun>(child);
    }
    return runs;
}

// ---- The real program, and the tool ---------------------------------------------

void checkInterrupted() {
    if (interrupted) {
        throw Interrupted{};
    }
}

struct Launches {
    int count;
    Launch run[kMaxLaunches];
    Load load;
};

// Starts that find no copy of the lists (the first after the dictionary
// changed): each reads the dictionary, and keeps a copy for the next.
Launches measureLaunchesWithoutCopy(const XSession& session, const fs::path& program,
                                    std::size_t pairs) {
    Launches launches{};
    launches.count = pairs <= 100'000 ? 5 : 3;
    for (int i = 0; i < launches.count; ++i) {
        fs::remove_all(session.cache() / "tavelin");
        launches.load.see();
        launches.run[i] = launchOnce(session, program, checkInterrupted);
    }
    launches.load.see();
    return launches;
}

// Waits until the dictionaries were last written two seconds ago and more:
// the program copies the lists only of a dictionary that has settled, as a
// user's has by the time the program starts.
void waitUntilSettled(const fs::path& dir) {
    for (const DictionaryKind* kind : {&kEnglishArmenian, &kRussianArmenian}) {
        for (;;) {
            checkInterrupted();
            const auto age =
                fs::file_time_type::clock::now() - fs::last_write_time(dir / kind->fileName);
            if (age > std::chrono::milliseconds(2'100)) {
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
}

Launches measureLaunches(const XSession& session, const fs::path& program, std::size_t pairs) {
    Launches launches{};
    launches.count = launchesFor(pairs);
    launchOnce(session, program, checkInterrupted); // fills the caches; not counted
    for (int i = 0; i < launches.count; ++i) {
        launches.load.see();
        launches.run[i] = launchOnce(session, program, checkInterrupted);
    }
    launches.load.see();
    return launches;
}

// What the user does in the real program: words of the dictionary begun in
// the English search box, new pairs added, words of it deleted. The words
// are the generator's, made again from the dictionary's seed.
InteractionPlan makePlan(const fs::path& dir, std::size_t pairs, std::uint64_t seed) {
    InteractionPlan plan;
    const WordPairs words = WordGenerator(Side::English, seed).generate(pairs);
    Rng rng(0x7E1F + pairs);
    // The word's first small Latin letters, at most `most` of them.
    const auto beginning = [](std::string_view word, std::size_t most) {
        std::string letters;
        for (const char c : word) {
            const char small = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
            if (small < 'a' || small > 'z' || letters.size() == most) {
                break;
            }
            letters += small;
        }
        return letters;
    };
    const auto randomWord = [&] {
        return words.source(rng.below(static_cast<std::uint32_t>(words.size())));
    };
    while (plan.prefixes.size() < static_cast<std::size_t>(kTypedWords)) {
        const std::string prefix = beginning(randomWord(), 1 + rng.below(3));
        if (!prefix.empty()) {
            plan.prefixes.push_back(prefix);
        }
    }
    while (plan.deletePrefixes.size() < static_cast<std::size_t>(kFeltEdits)) {
        const std::string prefix = beginning(randomWord(), 6);
        if (!prefix.empty()) {
            plan.deletePrefixes.push_back(prefix);
        }
    }
    // New pairs the add dialog takes: small letters only, and no English
    // word the dictionary holds in any case.
    Database dictionary =
        Database::open((dir / kEnglishArmenian.fileName).string(), kEnglishArmenian);
    const WordPairs made = WordGenerator(Side::English, seed ^ 0xADDFE17).generate(200);
    const CharacterSet& armenianSet = CharacterSet::of(Side::Armenian);
    for (std::size_t i = 0; i < made.size() && plan.adds.size() < kFeltEdits; ++i) {
        const std::string english = beginning(made.source(i), 100);
        if (english.size() < 2 || english.size() != made.source(i).size()) {
            continue;
        }
        std::u32string armenian;
        for (const char c : made.armenian(i)) {
            const auto code = static_cast<unsigned char>(c);
            if (code < 178 || code > 253) {
                armenian.clear();
                break;
            }
            armenian += armenianSet.toUnicode(static_cast<unsigned char>(code | 1));
        }
        bool stored = false;
        dictionary.forEachIgnoringCase(Column::Source, english,
                                       [&](std::string_view, std::string_view) { stored = true; });
        if (!armenian.empty() && !stored) {
            plan.adds.emplace_back(english, armenian);
        }
    }
    if (plan.adds.size() < kFeltEdits) {
        throw std::runtime_error("too few new pairs to add");
    }
    return plan;
}

// `tavelin-dict lookup` of stored words, half of them in each dictionary.
std::vector<double> measureLookUpProcesses(const fs::path& dir, std::size_t pairs,
                                           const std::uint64_t (&seeds)[2]) {
    const DictionaryKind* kinds[2] = {&kEnglishArmenian, &kRussianArmenian};
    // The generator gives the first pairs of a dictionary whatever the count.
    const std::size_t picked = std::min<std::size_t>(pairs, kLookUpProcesses);
    const WordPairs words[2] = {
        WordGenerator(Side::English, seeds[0]).generate(picked),
        WordGenerator(Side::Russian, seeds[1]).generate(picked),
    };
    const std::string tool = builtProgram("tavelin-dict").string();
    runOnce({tool, "lookup", (dir / kinds[0]->fileName).string(),
             toUtf8(Side::English, words[0].source(0))}); // fills the caches; not counted
    std::vector<double> times;
    for (int i = 0; i < kLookUpProcesses; ++i) {
        const int d = i % 2;
        const std::string_view word = words[d].source(static_cast<std::size_t>(i) % picked);
        times.push_back(runOnce({tool, "lookup", (dir / kinds[d]->fileName).string(),
                                 toUtf8(kinds[d]->sourceSide, word)}));
        checkInterrupted();
    }
    return times;
}

// ---- The table -------------------------------------------------------------

std::string withCommas(std::uint64_t n) {
    const std::string digits = std::to_string(n);
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            out += ',';
        }
        out += digits[i];
    }
    return out;
}

std::string printed(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string duration(double seconds) {
    if (seconds < 1e-3) {
        return printed("%.1f µs", seconds * 1e6);
    }
    if (seconds < 1) {
        return printed("%.1f ms", seconds * 1e3);
    }
    return printed("%.2f s", seconds);
}

std::string mebibytes(double bytes) {
    return printed("%.1f MiB", bytes / (1024.0 * 1024.0));
}

// Columns on screen: UTF-8 continuation bytes take none.
std::size_t width(const std::string& text) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

struct Row {
    std::string label;
    std::vector<std::string> cells; // none: a rule across the table
};

void printTable(const std::vector<std::vector<std::string>>& heads, const std::vector<Row>& rows) {
    std::vector<std::size_t> widths(heads.front().size());
    for (const auto& head : heads) {
        for (std::size_t c = 0; c < head.size(); ++c) {
            widths[c] = std::max(widths[c], width(head[c]));
        }
    }
    for (const Row& row : rows) {
        widths[0] = std::max(widths[0], width(row.label));
        for (std::size_t c = 0; c < row.cells.size(); ++c) {
            widths[c + 1] = std::max(widths[c + 1], width(row.cells[c]));
        }
    }
    const auto pad = [](const std::string& text, std::size_t to) {
        return std::string(to - width(text), ' ');
    };
    const auto line = [&](const std::string& label, const std::vector<std::string>& cells) {
        std::string out = label + pad(label, widths[0]);
        for (std::size_t c = 0; c < cells.size(); ++c) {
            out += " | " + pad(cells[c], widths[c + 1]) + cells[c];
        }
        std::printf("%s\n", out.c_str());
    };
    const auto rule = [&] {
        std::string out(widths[0], '-');
        for (std::size_t c = 1; c < widths.size(); ++c) {
            out += "-+-" + std::string(widths[c], '-');
        }
        std::printf("%s\n", out.c_str());
    };
    for (const auto& head : heads) {
        line(head[0], std::vector<std::string>(head.begin() + 1, head.end()));
    }
    rule();
    for (const Row& row : rows) {
        if (row.cells.empty()) {
            rule();
        } else {
            line(row.label, row.cells);
        }
    }
}

struct SizeResult {
    std::size_t pairs;
    Made made[2];
    Launches launches;
    Launches launchesWithoutCopy;
    Interactions felt;
    // The same keys typed into a window of stock Qt widgets.
    std::vector<Felt> stock;
    Load stockLoad;
    double lookUpProcess[kLookUpProcesses];
    Load lookUpLoad;
    WindowRuns window;
    Load windowLoad;
    Measured measured;
    Load dataLoad;
};

std::vector<double> windowTimes(const WindowRuns& runs, double WindowRun::*field) {
    std::vector<double> times;
    for (int i = 0; i < runs.count; ++i) {
        times.push_back(runs.run[i].*field);
    }
    return times;
}

// What a row of the table shows for one size: a spread, in seconds, bytes or
// a plain number, the goal it is held against (none: a row that only
// explains), and the machine's load while it was measured.
struct Figure {
    enum class Unit { Seconds, Bytes, Number };
    Spread spread{};
    Unit unit = Unit::Seconds;
    double goal = 0;
    Load load{};
};

std::string shown(const Figure& f, double value) {
    switch (f.unit) {
    case Figure::Unit::Bytes:
        return mebibytes(value);
    case Figure::Unit::Number:
        return withCommas(static_cast<std::uint64_t>(value + 0.5));
    case Figure::Unit::Seconds:
        break;
    }
    return duration(value);
}

std::string shown(const Load& load) {
    if (load.high == 0 && load.low > load.high) {
        return "";
    }
    return printed("%.1f", load.low) + "–" + printed("%.1f", load.high);
}

constexpr double kMiB = 1024.0 * 1024.0;

// The goals, for 100,000 pairs per dictionary or fewer, and above.
double goal(std::size_t pairs, double small, double large) {
    return pairs <= 100'000 ? small : large;
}

Load loadOf(const double (&range)[2]) {
    Load load;
    load.see(range[0]);
    load.see(range[1]);
    return load;
}

Spread feltSpread(const std::vector<Felt>& felt, double Felt::*field) {
    std::vector<double> values;
    for (const Felt& f : felt) {
        values.push_back(f.*field);
    }
    return Spread::of(std::move(values));
}

Spread feltArea(const std::vector<Felt>& felt) {
    std::vector<double> values;
    for (const Felt& f : felt) {
        values.push_back(static_cast<double>(f.area));
    }
    return Spread::of(std::move(values));
}

void report(const std::vector<SizeResult>& results, bool userFeltOnly) {
    std::vector<std::vector<std::string>> heads(2);
    heads[0] = {""};
    heads[1] = {"measurement"};
    for (const auto& r : results) {
        heads[0].insert(heads[0].end(),
                        {withCommas(r.pairs) + " pairs per dictionary", "", "", "", "", "", ""});
        heads[1].insert(heads[1].end(), {"median", "min", "max", "runs", "goal", "met", "load"});
    }
    std::vector<Row> rows;
    const auto add = [&](std::string label, const std::function<Figure(const SizeResult&)>& of) {
        Row row{std::move(label), {}};
        for (const auto& r : results) {
            const Figure f = of(r);
            const Spread& s = f.spread;
            row.cells.insert(row.cells.end(), {shown(f, s.median), shown(f, s.min), shown(f, s.max),
                                               std::to_string(s.count)});
            if (f.goal > 0) {
                row.cells.push_back("≤ " + shown(f, f.goal));
                row.cells.push_back(s.median <= f.goal ? "yes" : "NO");
            } else {
                row.cells.insert(row.cells.end(), {"", ""});
            }
            row.cells.push_back(shown(f.load));
        }
        rows.push_back(std::move(row));
    };
    const auto rule = [&] { rows.push_back({}); };
    const auto launchFigure = [](const SizeResult& r, auto Launch::*field) {
        std::vector<double> values;
        for (int i = 0; i < r.launches.count; ++i) {
            values.push_back(static_cast<double>(r.launches.run[i].*field));
        }
        return Spread::of(std::move(values));
    };
    using Unit = Figure::Unit;

    // As the user feels it: the real program, timed from outside.
    add("Launch to main window mapped, four lists filled (Xvfb)", [&](const SizeResult& r) {
        return Figure{launchFigure(r, &Launch::shownSeconds), Unit::Seconds,
                      goal(r.pairs, 0.09, 0.20), r.launches.load};
    });
    add("  main window mapped with its title", [&](const SizeResult& r) {
        return Figure{launchFigure(r, &Launch::mappedSeconds), Unit::Seconds, 0, r.launches.load};
    });
    const auto withoutCopy = [](const SizeResult& r, auto Launch::*field) {
        std::vector<double> values;
        for (int i = 0; i < r.launchesWithoutCopy.count; ++i) {
            values.push_back(static_cast<double>(r.launchesWithoutCopy.run[i].*field));
        }
        return Spread::of(std::move(values));
    };
    add("  first start after a change: lists read from the dictionary", [&](const SizeResult& r) {
        return Figure{withoutCopy(r, &Launch::shownSeconds), Unit::Seconds, 0,
                      r.launchesWithoutCopy.load};
    });
    add("Keystroke in Text1 to window pixels changed (XTEST, DAMAGE)", [](const SizeResult& r) {
        return Figure{feltSpread(r.felt.keystrokes, &Felt::seconds), Unit::Seconds, 1.3e-3,
                      loadOf(r.felt.load[0])};
    });
    add("  to the first pixels changed", [](const SizeResult& r) {
        return Figure{feltSpread(r.felt.keystrokes, &Felt::firstSeconds), Unit::Seconds, 0,
                      loadOf(r.felt.load[0])};
    });
    add("  pixels changed per keystroke", [](const SizeResult& r) {
        return Figure{feltArea(r.felt.keystrokes), Unit::Number, 0, loadOf(r.felt.load[0])};
    });
    add("  the same keys in stock Qt: a line edit and a list view", [](const SizeResult& r) {
        return Figure{feltSpread(r.stock, &Felt::seconds), Unit::Seconds, 0, r.stockLoad};
    });
    add("    its pixels changed per keystroke", [](const SizeResult& r) {
        return Figure{feltArea(r.stock), Unit::Number, 0, r.stockLoad};
    });
    add("Return in Add to dialog gone, list showing the word", [](const SizeResult& r) {
        return Figure{feltSpread(r.felt.adds, &Felt::seconds), Unit::Seconds, 8e-3,
                      loadOf(r.felt.load[1])};
    });
    add("  to the dialog unmapped", [](const SizeResult& r) {
        return Figure{feltSpread(r.felt.adds, &Felt::goneSeconds), Unit::Seconds, 0,
                      loadOf(r.felt.load[1])};
    });
    add("Yes in Delete to list repainted without the word", [](const SizeResult& r) {
        return Figure{feltSpread(r.felt.deletes, &Felt::seconds), Unit::Seconds, 8e-3,
                      loadOf(r.felt.load[2])};
    });
    add("  to the dialog unmapped", [](const SizeResult& r) {
        return Figure{feltSpread(r.felt.deletes, &Felt::goneSeconds), Unit::Seconds, 0,
                      loadOf(r.felt.load[2])};
    });
    add("Peak memory of the program after start (VmHWM)", [&](const SizeResult& r) {
        Spread s = launchFigure(r, &Launch::peakKb);
        for (double* v : {&s.median, &s.min, &s.max, &s.p99}) {
            *v *= 1024; // kB to bytes
        }
        return Figure{s, Unit::Bytes, goal(r.pairs, 44 * kMiB, 85 * kMiB), r.launches.load};
    });
    add("  first start after a change", [&](const SizeResult& r) {
        Spread s = withoutCopy(r, &Launch::peakKb);
        for (double* v : {&s.median, &s.min, &s.max, &s.p99}) {
            *v *= 1024; // kB to bytes
        }
        return Figure{s, Unit::Bytes, 0, r.launchesWithoutCopy.load};
    });
    add("  after the typing and the edits", [](const SizeResult& r) {
        const double bytes = static_cast<double>(r.felt.peakKb) * 1024;
        return Figure{Spread{1, bytes, bytes, bytes, bytes}, Unit::Bytes, 0,
                      loadOf(r.felt.load[2])};
    });
    if (userFeltOnly) {
        printTable(heads, rows);
        return;
    }
    add("`tavelin-dict lookup` as a whole process", [](const SizeResult& r) {
        return Figure{
            Spread::of(std::vector<double>(r.lookUpProcess, r.lookUpProcess + kLookUpProcesses)),
            Unit::Seconds, 3e-3, r.lookUpLoad};
    });
    rule();
    // In-process, on the offscreen platform: where the time goes.
    add("In-process: splash tick to four lists read from the dictionary", [](const SizeResult& r) {
        return Figure{Spread::of(windowTimes(r.window, &WindowRun::filledSeconds)), Unit::Seconds,
                      0, r.windowLoad};
    });
    add("In-process: splash tick to window painted", [](const SizeResult& r) {
        return Figure{Spread::of(windowTimes(r.window, &WindowRun::paintedSeconds)), Unit::Seconds,
                      0, r.windowLoad};
    });
    const auto typing = [&](const std::string& box, Typing WindowRun::*which) {
        add("In-process: keystroke in " + box, [which](const SizeResult& r) {
            return Figure{(r.window.run[0].*which).press, Unit::Seconds,
                          goal(r.pairs, 0.3e-3, 1e-3), r.windowLoad};
        });
        add("  with the release and the repaint", [which](const SizeResult& r) {
            return Figure{(r.window.run[0].*which).keystroke, Unit::Seconds, 0, r.windowLoad};
        });
    };
    typing("Text1 (English)", &WindowRun::english);
    typing("Text2 (Armenian)", &WindowRun::armenian);
    const auto editing = [&](const std::string& what, Editing WindowRun::*which) {
        add(what, [which](const SizeResult& r) {
            return Figure{(r.window.run[0].*which).click, Unit::Seconds,
                          goal(r.pairs, 20e-3, 100e-3), r.windowLoad};
        });
        add("  with the repaint", [which](const SizeResult& r) {
            return Figure{(r.window.run[0].*which).settled, Unit::Seconds, 0, r.windowLoad};
        });
    };
    editing("In-process: Add (write, lists, cascade)", &WindowRun::add);
    editing("In-process: Yes in Delete (write, lists, cascade)", &WindowRun::remove);
    rule();
    add("Data layer: load the four lists, one thread", [](const SizeResult& r) {
        const Measured& m = r.measured;
        return Figure{Spread::of(std::vector<double>(m.loadSeconds, m.loadSeconds + m.loadRuns)),
                      Unit::Seconds, 0, r.dataLoad};
    });
    add("Data layer: append a pair, committed", [](const SizeResult& r) {
        return Figure{Spread::of(std::vector<double>(r.measured.appendSeconds,
                                                     r.measured.appendSeconds + kChanges)),
                      Unit::Seconds, 0, r.dataLoad};
    });
    add("Data layer: delete a pair, committed", [](const SizeResult& r) {
        return Figure{Spread::of(std::vector<double>(r.measured.removeSeconds,
                                                     r.measured.removeSeconds + kChanges)),
                      Unit::Seconds, 0, r.dataLoad};
    });
    add("Data layer: look a word up (both columns)", [](const SizeResult& r) {
        return Figure{Spread::of({r.measured.lookUpSource, r.measured.lookUpArmenian}),
                      Unit::Seconds, 0, r.dataLoad};
    });
    add("The four lists' words and offsets", [](const SizeResult& r) {
        const double bytes = static_cast<double>(r.measured.listUsedBytes);
        return Figure{Spread{1, bytes, bytes, bytes, bytes}, Unit::Bytes};
    });
    add("Size of EA.tvl and RA.tvl", [](const SizeResult& r) {
        return Figure{Spread::of({static_cast<double>(r.made[0].fileBytes),
                                  static_cast<double>(r.made[1].fileBytes)}),
                      Unit::Bytes};
    });
    printTable(heads, rows);
}

// Which parts of the window the keystrokes repainted.
void reportRectangles(const std::vector<SizeResult>& results) {
    for (const auto& r : results) {
        std::vector<std::pair<int, std::string>> often;
        for (const auto& [rectangle, count] : r.felt.keystrokeRectangles) {
            often.emplace_back(count, rectangle);
        }
        std::sort(often.rbegin(), often.rend());
        std::printf("\n%s pairs: rectangles of the main window the %zu timed keystrokes changed, "
                    "most often first:\n",
                    withCommas(r.pairs).c_str(), r.felt.keystrokes.size());
        for (std::size_t i = 0; i < often.size() && i < 10; ++i) {
            std::printf("  %5d × %s\n", often[i].first, often[i].second.c_str());
        }
        if (often.size() > 10) {
            std::printf("  ...and %zu rectangles more\n", often.size() - 10);
        }
    }
}

// Makes EA.tvl and RA.tvl in the directory, side by side in two processes.
void makeDictionaries(const fs::path& dir, std::size_t pairs, const std::uint64_t (&seeds)[2],
                      Made (&made)[2]) {
    const DictionaryKind* kinds[2] = {&kEnglishArmenian, &kRussianArmenian};
    Child makers[2];
    for (int d = 0; d < 2; ++d) {
        const DictionaryKind& kind = *kinds[d];
        const std::uint64_t seed = seeds[d];
        makers[d] = startChild<Made>(
            [&, seed] { return makeDictionary(dir / kind.fileName, kind, pairs, seed); });
    }
    for (int d = 0; d < 2; ++d) {
        made[d] = finishChild<Made>(makers[d]);
    }
}

void dictionarySeeds(std::size_t pairs, std::uint64_t (&seeds)[2]) {
    for (int d = 0; d < 2; ++d) {
        seeds[d] = 0x7A7E11 * (d + 1) + pairs;
    }
}

struct Options {
    std::vector<std::size_t> sizes{std::begin(kSizes), std::end(kSizes)};
    // The program whose launch, typing and edits are timed (the one built
    // beside this benchmark unless named).
    fs::path program;
    // Only the real program: no in-process runs, no data layer, no tool.
    bool userFeltOnly = false;
    // Every process of the benchmark runs at a higher priority than the
    // machine's other work.
    bool priority = false;
};

int run(const Options& options) {
    ScratchDir scratch;
    const auto began = Clock::now();
    if (options.priority && ::setpriority(PRIO_PROCESS, 0, -10) != 0) {
        throw std::runtime_error(std::string("cannot raise the priority: ") + std::strerror(errno));
    }
    std::printf("Tavelin as a user feels it: SQLite %s, %ld CPUs, working in %s\n",
                sqlite3_libversion(), ::sysconf(_SC_NPROCESSORS_ONLN), scratch.path().c_str());
    std::fflush(stdout);
    const fs::path runtimeDir = scratch.path() / "runtime";
    fs::create_directory(runtimeDir);
    fs::permissions(runtimeDir, fs::perms::owner_all, fs::perm_options::replace);
    const fs::path program =
        options.program.empty() ? builtProgram("tavelin") : fs::absolute(options.program);
    std::vector<SizeResult> results;
    Load whole;
    whole.see();
    try {
        std::fprintf(stderr, "starting an X session (Xvfb, openbox, trayer)...\n");
        XSession session(scratch.path() / "x");
        for (std::size_t pairs : options.sizes) {
            // The program's folder: a copy of the program beside its dictionaries.
            const fs::path dir = scratch.path() / std::to_string(pairs);
            fs::create_directory(dir);
            auto result = std::make_unique<SizeResult>();
            result->pairs = pairs;
            std::uint64_t seeds[2];
            dictionarySeeds(pairs, seeds);
            const std::string size = withCommas(pairs);

            std::fprintf(stderr, "%s pairs: making EA.tvl and RA.tvl...\n", size.c_str());
            makeDictionaries(dir, pairs, seeds, result->made);
            fs::copy_file(program, dir / "tavelin");

            std::fprintf(stderr, "%s pairs: starting the program in the X session...\n",
                         size.c_str());
            waitUntilSettled(dir);
            result->launches = measureLaunches(session, dir / "tavelin", pairs);
            result->launchesWithoutCopy =
                measureLaunchesWithoutCopy(session, dir / "tavelin", pairs);

            // The edits change the files: they get copies of their own.
            const auto copied = [&](const char* name, bool withProgram) {
                const fs::path copies = dir / name;
                fs::create_directory(copies);
                for (const DictionaryKind* kind : {&kEnglishArmenian, &kRussianArmenian}) {
                    fs::copy_file(dir / kind->fileName, copies / kind->fileName);
                }
                if (withProgram) {
                    fs::copy_file(program, copies / "tavelin");
                }
                return copies;
            };
            std::fprintf(stderr, "%s pairs: typing, adding and deleting in the program...\n",
                         size.c_str());
            {
                const fs::path felt = copied("felt", true);
                const InteractionPlan plan = makePlan(felt, pairs, seeds[0]);
                result->felt = interact(session, felt / "tavelin", plan, checkInterrupted);
                fs::remove_all(felt);
                std::fprintf(stderr, "%s pairs: typing in a window of stock Qt widgets...\n",
                             size.c_str());
                result->stockLoad.see();
                result->stock = typeInStockWindow(
                    session,
                    {stockWindowProgram().string(), std::to_string(pairs), std::to_string(seeds[0]),
                     std::to_string(result->felt.width), std::to_string(result->felt.height)},
                    plan.prefixes, checkInterrupted);
                result->stockLoad.see();
            }
            if (!options.userFeltOnly) {
                std::fprintf(stderr, "%s pairs: running tavelin-dict lookup...\n", size.c_str());
                result->lookUpLoad.see();
                const auto lookUps = measureLookUpProcesses(dir, pairs, seeds);
                std::copy(lookUps.begin(), lookUps.end(), result->lookUpProcess);
                result->lookUpLoad.see();

                std::fprintf(stderr,
                             "%s pairs: the main window in-process: start, typing, edits...\n",
                             size.c_str());
                result->windowLoad.see();
                result->window = measureWindow(copied("edited", false), pairs, runtimeDir);
                result->windowLoad.see();

                std::fprintf(stderr, "%s pairs: the data layer...\n", size.c_str());
                result->dataLoad.see();
                Child measurer = startChild<Measured>([&] { return measure(dir, pairs); });
                result->measured = finishChild<Measured>(measurer);
                result->dataLoad.see();
            }
            results.push_back(std::move(*result));
            fs::remove_all(dir);
        }
        whole.see();
    } catch (const Interrupted&) {
        stopChildren();
        std::fprintf(stderr, "tavelin-bench: interrupted\n");
        return 130;
    } catch (...) {
        stopChildren();
        throw;
    }

    std::printf("Qt %s; program %s; 1-minute load average %.2f to %.2f%s; took %.0f s\n\n",
                options.userFeltOnly ? "(not run)" : results.front().window.run[0].qtVersion,
                program.c_str(), whole.low, whole.high,
                options.priority ? ", the benchmark's processes at priority -10" : "",
                secondsSince(began));
    report(results, options.userFeltOnly);
    reportRectangles(results);
    std::printf(
        "\nGoals are held against the median; \"load\" is the machine's 1-minute load\n"
        "average while a row was measured (other work slows every figure). The first rows\n"
        "are the real program in its own Xvfb session with openbox and trayer, watched\n"
        "from outside through the X server: the launch from the start of its process until\n"
        "its main window is mapped with its title and its status bar shows, for good, what\n"
        "it shows once the four lists are filled (the bar's pixels looked at every 2 ms;\n"
        "one start before the timed ones fills the caches and keeps the copy of the lists\n"
        "the timed ones read), and its peak memory then; the first start after a change\n"
        "finds no copy, reads the dictionary and keeps a copy.\n"
        "Keys are pressed through XTEST and timed to the DAMAGE events of the main window:\n"
        "a keystroke (the first one to three letters of %d words, the box emptied before\n"
        "each) until the window's pixels have not changed for 50 ms, counted to the last\n"
        "change; Return in the add dialog's Armenian field, and Return on the delete\n"
        "dialog's Yes (%d each, on the English-Armenian page), until the dialog is unmapped\n"
        "and the main window's pixels have not changed for 80 ms, leaving out the word\n"
        "count, which a timer writes every 100 ms. Writes wait for the disk\n"
        "(synchronous=FULL).\n"
        "The stock Qt row types the same keys, timed the same way, into a window of the\n"
        "main window's size holding only a QLineEdit above a QListView of the same English\n"
        "words: each change of the text chooses the first word at or after it. It is what\n"
        "Qt's widgets cost on this machine without any of Tavelin's own work.\n"
        "The in-process rows run the main window on the offscreen platform, reading the\n"
        "dictionary (%s keystrokes per box, %d adds and deletes turn about on both pages):\n"
        "a keystroke is the key press, whose handling searches, looks up and fills the\n"
        "boxes and the status text; an add or a delete is the dialog's Add or Yes, which\n"
        "writes, updates both lists and runs the main window's search cascade.\n",
        kTypedWords, kFeltEdits, withCommas(kKeystrokes).c_str(), kEdits);
    return 0;
}

int makeOnly(const fs::path& dir, std::size_t pairs) {
    std::uint64_t seeds[2];
    dictionarySeeds(pairs, seeds);
    Made made[2];
    makeDictionaries(dir, pairs, seeds, made);
    std::printf("%s: EA.tvl and RA.tvl of %s pairs each\n", dir.c_str(), withCommas(pairs).c_str());
    return 0;
}

std::size_t parsePairs(const char* text) {
    char* end = nullptr;
    const unsigned long long pairs = std::strtoull(text, &end, 10);
    if (*end != '\0' || pairs < 1 || pairs > 10'000'000) {
        return 0;
    }
    return pairs;
}

} // namespace

int main(int argc, char** argv) {
    catchSignals(true);
    const char* usage =
        "usage: tavelin-bench [--program PROGRAM] [--user-felt-only] [--priority] [PAIRS...]\n"
        "       tavelin-bench --make DIR PAIRS\n"
        "PAIRS: 1 to 10,000,000 each (100,000 and 1,000,000 when none is given)\n";
    try {
        if (argc > 1 && std::string(argv[1]) == "--make") {
            const std::size_t pairs = argc == 4 ? parsePairs(argv[3]) : 0;
            if (pairs == 0) {
                std::fprintf(stderr, "%s", usage);
                return 2;
            }
            return makeOnly(argv[2], pairs);
        }
        Options options;
        std::vector<std::size_t> sizes;
        for (int i = 1; i < argc; ++i) {
            const std::string argument = argv[i];
            if (argument == "--help" || argument == "-h") {
                std::printf("%s"
                            "  --program PROGRAM  time this build of the program\n"
                            "  --user-felt-only   only the real program's rows\n"
                            "  --priority         the benchmark's processes at priority -10\n",
                            usage);
                return 0;
            }
            if (argument == "--program" && i + 1 < argc) {
                options.program = argv[++i];
            } else if (argument == "--user-felt-only") {
                options.userFeltOnly = true;
            } else if (argument == "--priority") {
                options.priority = true;
            } else if (const std::size_t pairs = parsePairs(argv[i]); pairs != 0) {
                sizes.push_back(pairs);
            } else {
                std::fprintf(stderr, "%s", usage);
                return 2;
            }
        }
        if (!sizes.empty()) {
            options.sizes = sizes;
        }
        return run(options);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tavelin-bench: %s\n", e.what());
        return 1;
    }
}
