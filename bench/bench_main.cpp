// Times the dictionary files' routines on made-up dictionaries of 100,000 and
// 1,000,000 pairs each: loading the four word lists the main window shows,
// looking a word up, appending and deleting a pair, and the memory it takes;
// then the main window on the same dictionaries: from the splash's timer tick
// to the window shown, and one keystroke in each search box of the first page.
//
//   tavelin-bench [PAIRS...]    other sizes than the two above
//
// Everything happens in a fresh directory under /tmp, removed at the end.
// Each size is generated in two processes (one per dictionary, side by side)
// and measured in a third, so that the measuring process's peak memory is its
// own and not the generator's. Every start of the main window runs in a
// process of its own (tavelin-bench-window, beside this program, on the
// offscreen platform), so that no run finds the heap or the caches another
// one warmed.

#include "CompactWordList.h"
#include "WindowRun.h"
#include "WordGenerator.h"

#include "data/Database.h"
#include "data/DictionaryKind.h"

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
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
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
constexpr int kMaxWindowRuns = 9;
constexpr int kKeystrokes = 2'000; // per search box, in the first window run

int loadRunsFor(std::size_t pairs) {
    return pairs <= 100'000 ? kMaxLoadRuns : 5;
}

int windowRunsFor(std::size_t pairs) {
    return pairs <= 100'000 ? kMaxWindowRuns : 5;
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
    double append;
    double remove;
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
    result.append = median(times);

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
    result.remove = median(times);

    result.maxRssKb = maxRssKb();
    return result;
}

// ---- The main window ---------------------------------------------------------

// tavelin-bench-window, built beside this program.
fs::path windowProgram() {
    return fs::read_symlink("/proc/self/exe").parent_path() / "tavelin-bench-window";
}

struct WindowRuns {
    int count;
    WindowRun run[kMaxWindowRuns];
};

WindowRuns measureWindow(const fs::path& dir, std::size_t pairs, const fs::path& runtimeDir) {
    WindowRuns runs{};
    runs.count = windowRunsFor(pairs);
    const std::vector<std::pair<std::string, std::string>> environment = {
        {"QT_QPA_PLATFORM", "offscreen"}, {"XDG_RUNTIME_DIR", runtimeDir.string()}};
    for (int i = 0; i < runs.count; ++i) {
        const int keystrokes = i == 0 ? kKeystrokes : 0;
        Child child = startProgram(windowProgram(),
                                   {dir.string(), std::to_string(pairs), std::to_string(keystrokes),
                                    std::to_string(0x4B3E5 + pairs)},
                                   environment);
        runs.run[i] = finishChild<WindowRun>(child);
    }
    return runs;
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

void printTable(const std::vector<std::string>& heads, const std::vector<Row>& rows) {
    std::vector<std::size_t> widths(heads.size());
    for (std::size_t c = 0; c < heads.size(); ++c) {
        widths[c] = width(heads[c]);
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
    line(heads[0], std::vector<std::string>(heads.begin() + 1, heads.end()));
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
    Measured measured;
    WindowRuns window;
};

std::vector<double> windowTimes(const WindowRuns& runs, double WindowRun::*field) {
    std::vector<double> times;
    for (int i = 0; i < runs.count; ++i) {
        times.push_back(runs.run[i].*field);
    }
    return times;
}

long mostOf(const WindowRuns& runs, long WindowRun::*field) {
    long most = 0;
    for (int i = 0; i < runs.count; ++i) {
        most = std::max(most, runs.run[i].*field);
    }
    return most;
}

void report(const std::vector<SizeResult>& results) {
    std::vector<std::string> heads = {"measurement"};
    for (const auto& r : results) {
        heads.push_back(withCommas(r.pairs) + " pairs");
    }
    std::vector<Row> rows;
    const auto add = [&](std::string label, auto cell) {
        Row row{std::move(label), {}};
        for (const auto& r : results) {
            row.cells.push_back(cell(r));
        }
        rows.push_back(std::move(row));
    };
    const auto rule = [&] { rows.push_back({}); };

    add("load the four lists, median", [](const SizeResult& r) {
        const Measured& m = r.measured;
        return duration(median(std::vector<double>(m.loadSeconds, m.loadSeconds + m.loadRuns)));
    });
    add("  fastest run", [](const SizeResult& r) {
        const Measured& m = r.measured;
        return duration(*std::min_element(m.loadSeconds, m.loadSeconds + m.loadRuns));
    });
    add("  slowest run", [](const SizeResult& r) {
        const Measured& m = r.measured;
        return duration(*std::max_element(m.loadSeconds, m.loadSeconds + m.loadRuns));
    });
    add("  runs", [](const SizeResult& r) { return std::to_string(r.measured.loadRuns); });
    const char* loaderNames[4] = {"  English list (EA), median", "  Armenian list (EA), median",
                                  "  Russian list (RA), median", "  Armenian list (RA), median"};
    for (int k = 0; k < 4; ++k) {
        add(loaderNames[k],
            [k](const SizeResult& r) { return duration(r.measured.loaderMedian[k]); });
    }
    rule();
    add("look up a source word, median of " + withCommas(kLookUps),
        [](const SizeResult& r) { return duration(r.measured.lookUpSource); });
    add("look up an Armenian word, median of " + withCommas(kLookUps),
        [](const SizeResult& r) { return duration(r.measured.lookUpArmenian); });
    add("append a pair, committed, median of " + std::to_string(kChanges),
        [](const SizeResult& r) { return duration(r.measured.append); });
    add("delete a pair, committed, median of " + std::to_string(kChanges),
        [](const SizeResult& r) { return duration(r.measured.remove); });
    rule();
    add("splash tick to main window shown, median", [](const SizeResult& r) {
        return duration(median(windowTimes(r.window, &WindowRun::paintedSeconds)));
    });
    add("  fastest run", [](const SizeResult& r) {
        const auto times = windowTimes(r.window, &WindowRun::paintedSeconds);
        return duration(*std::min_element(times.begin(), times.end()));
    });
    add("  slowest run", [](const SizeResult& r) {
        const auto times = windowTimes(r.window, &WindowRun::paintedSeconds);
        return duration(*std::max_element(times.begin(), times.end()));
    });
    add("  runs, one process each",
        [](const SizeResult& r) { return std::to_string(r.window.count); });
    add("  four lists filled, median", [](const SizeResult& r) {
        return duration(median(windowTimes(r.window, &WindowRun::filledSeconds)));
    });
    add("  window visible, median", [](const SizeResult& r) {
        return duration(median(windowTimes(r.window, &WindowRun::visibleSeconds)));
    });
    add("peak memory of the window process, shown (ru_maxrss)", [](const SizeResult& r) {
        return mebibytes(mostOf(r.window, &WindowRun::shownMaxRssKb) * 1024.0);
    });
    add("  of it at the tick, before the lists", [](const SizeResult& r) {
        return mebibytes(mostOf(r.window, &WindowRun::tickMaxRssKb) * 1024.0);
    });
    const auto typing = [&](const std::string& box, Typing WindowRun::*which) {
        add("key press in " + box + ", median of " + withCommas(kKeystrokes),
            [which](const SizeResult& r) {
                return duration((r.window.run[0].*which).press.median);
            });
        add("  fastest / slowest", [which](const SizeResult& r) {
            const Spread& s = (r.window.run[0].*which).press;
            return duration(s.min) + " / " + duration(s.max);
        });
        add("  99th percentile",
            [which](const SizeResult& r) { return duration((r.window.run[0].*which).press.p99); });
        add("  with release and repaint, median", [which](const SizeResult& r) {
            return duration((r.window.run[0].*which).keystroke.median);
        });
        add("  with release and repaint, 99th percentile", [which](const SizeResult& r) {
            return duration((r.window.run[0].*which).keystroke.p99);
        });
        add("  keys that repainted the list", [which](const SizeResult& r) {
            return withCommas(static_cast<std::uint64_t>((r.window.run[0].*which).listRepaints));
        });
    };
    typing("Text1 (English)", &WindowRun::english);
    typing("Text2 (Armenian)", &WindowRun::armenian);
    rule();
    add("peak memory, whole run (ru_maxrss)",
        [](const SizeResult& r) { return mebibytes(r.measured.maxRssKb * 1024.0); });
    add("peak growth while loading",
        [](const SizeResult& r) { return mebibytes(r.measured.loadPeakKb * 1024.0); });
    add("growth with the four lists held",
        [](const SizeResult& r) { return mebibytes(r.measured.heldKb * 1024.0); });
    add("  the lists' words and offsets", [](const SizeResult& r) {
        return mebibytes(static_cast<double>(r.measured.listUsedBytes));
    });
    add("  the lists' heap blocks, spare room included", [](const SizeResult& r) {
        return mebibytes(static_cast<double>(r.measured.listAllocatedBytes));
    });
    rule();
    add("generate EA / RA pairs in memory", [](const SizeResult& r) {
        return duration(r.made[0].generateSeconds) + " / " + duration(r.made[1].generateSeconds);
    });
    add("write EA.tvl / RA.tvl, one transaction", [](const SizeResult& r) {
        return duration(r.made[0].writeSeconds) + " / " + duration(r.made[1].writeSeconds);
    });
    add("size of EA.tvl / RA.tvl", [](const SizeResult& r) {
        return mebibytes(static_cast<double>(r.made[0].fileBytes)) + " / " +
               mebibytes(static_cast<double>(r.made[1].fileBytes));
    });
    printTable(heads, rows);
}

int run(const std::vector<std::size_t>& sizes) {
    ScratchDir scratch;
    std::printf("Tavelin data layer and main window, SQLite %s, %ld CPUs, working in %s\n",
                sqlite3_libversion(), ::sysconf(_SC_NPROCESSORS_ONLN), scratch.path().c_str());
    std::fflush(stdout);
    const fs::path runtimeDir = scratch.path() / "runtime";
    fs::create_directory(runtimeDir);
    fs::permissions(runtimeDir, fs::perms::owner_all, fs::perm_options::replace);
    const DictionaryKind* kinds[2] = {&kEnglishArmenian, &kRussianArmenian};
    std::vector<SizeResult> results;
    try {
        for (std::size_t pairs : sizes) {
            const fs::path dir = scratch.path() / std::to_string(pairs);
            fs::create_directory(dir);
            SizeResult result{};
            result.pairs = pairs;

            std::fprintf(stderr, "%s pairs: making EA.tvl and RA.tvl...\n",
                         withCommas(pairs).c_str());
            Child makers[2];
            for (int d = 0; d < 2; ++d) {
                const DictionaryKind& kind = *kinds[d];
                const std::uint64_t seed = 0x7A7E11 * (d + 1) + pairs;
                makers[d] = startChild<Made>(
                    [&, seed] { return makeDictionary(dir / kind.fileName, kind, pairs, seed); });
            }
            for (int d = 0; d < 2; ++d) {
                result.made[d] = finishChild<Made>(makers[d]);
            }

            std::fprintf(stderr, "%s pairs: starting the main window...\n",
                         withCommas(pairs).c_str());
            result.window = measureWindow(dir, pairs, runtimeDir);

            std::fprintf(stderr, "%s pairs: measuring...\n", withCommas(pairs).c_str());
            Child measurer = startChild<Measured>([&] { return measure(dir, pairs); });
            result.measured = finishChild<Measured>(measurer);
            results.push_back(result);
            fs::remove_all(dir);
        }
    } catch (const Interrupted&) {
        stopChildren();
        std::fprintf(stderr, "tavelin-bench: interrupted\n");
        return 130;
    } catch (...) {
        stopChildren();
        throw;
    }

    std::printf("Qt %s on the offscreen platform\n\n", results.front().window.run[0].qtVersion);
    report(results);
    std::printf("\nThe files are fresh in the page cache. Appends and deletes commit one by one\n"
                "with SQLite's defaults (rollback journal, synchronous=FULL), so they wait for\n"
                "the disk. Generating and writing run for both dictionaries side by side.\n"
                "The main window paints into memory on the offscreen platform; no display\n"
                "server's time is in its figures. A keystroke is timed in the window's first\n"
                "run; its repaint is what the event loop handles right after the key.\n");
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    catchSignals(true);
    std::vector<std::size_t> sizes(std::begin(kSizes), std::end(kSizes));
    if (argc > 1) {
        sizes.clear();
        for (int i = 1; i < argc; ++i) {
            char* end = nullptr;
            const unsigned long long pairs = std::strtoull(argv[i], &end, 10);
            if (*end != '\0' || pairs < 1 || pairs > 10'000'000) {
                std::fprintf(stderr, "usage: tavelin-bench [PAIRS...] (1 to 10,000,000 each)\n");
                return 2;
            }
            sizes.push_back(pairs);
        }
    }
    try {
        return run(sizes);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tavelin-bench: %s\n", e.what());
        return 1;
    }
}
