// The look-up key timed as a user feels it: from the press of Ctrl+F9 in
// another program to the pair shown in the dictionary's main window, with the
// window on show and with it hidden behind its notification-area icon.
//
//   tavelin-bench-selection [PAIRS] [--rounds N]
//
// Makes EA.tvl and RA.tvl of PAIRS made-up pairs each (1,000,000 when not
// given) in a fresh folder under /tmp, starts a copy of the program there in
// an X session of its own (Xvfb, openbox, trayer, as the end-to-end tests run
// it), and then, N times (20 when not given) for each of the two states:
// gives the keyboard to a window of this program's own, makes a source word
// of either dictionary (English and Russian by turns) its primary selection,
// presses Ctrl+F9 through XTEST, and watches the main window's pixels
// through DAMAGE. A round is over when the program has asked for the
// selection and the window's pixels then stay unchanged for 50 ms; its time
// is from the press to the last change. Nothing in the program knows it is
// being timed.

#include "Launch.h"
#include "WordGenerator.h"
#include "XConnection.h"

#include "data/DictionaryKind.h"
#include "text/CharacterSet.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using namespace tavelin;
using namespace tavelin::bench;

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// The key's repaint is over when the pixels have not changed for this long;
// the search box's text cursor blinks only half a second after it shows.
constexpr auto kQuiet = milliseconds(50);
constexpr auto kGiveUp = std::chrono::seconds(10);
constexpr double kGoalMs = 100;
constexpr std::size_t kDefaultPairs = 1'000'000;
constexpr int kDefaultRounds = 20;

namespace keys {
constexpr std::uint32_t kF7 = 0xFFC4;
constexpr std::uint32_t kF9 = 0xFFC6;
} // namespace keys

double msBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

[[noreturn]] void fail(const std::string& what) {
    throw std::runtime_error(what);
}

// A window of this program's own: it has the keyboard while a key is pressed
// (the other program the user works in), and it owns the primary selection,
// answering the dictionary's requests for it with the word of the round.
class OtherProgram {
public:
    explicit OtherProgram(XConnection& x)
        : x_(x), window_(xcb_generate_id(x.raw())), primary_(XCB_ATOM_PRIMARY),
          targets_(x.atom("TARGETS")), utf8_(x.atom("UTF8_STRING")) {
        const std::uint32_t values[] = {XCB_EVENT_MASK_PROPERTY_CHANGE};
        xcb_create_window(x.raw(), XCB_COPY_FROM_PARENT, window_, x.root(), 900, 600, 200, 100, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK,
                          values);
        const char title[] = "another program";
        xcb_change_property(x.raw(), XCB_PROP_MODE_REPLACE, window_, XCB_ATOM_WM_NAME,
                            XCB_ATOM_STRING, 8, sizeof title - 1, title);
        xcb_map_window(x.raw(), window_);
        x.sync();
        const auto start = Clock::now();
        while (!x.viewable(window_)) {
            if (Clock::now() - start > kGiveUp) {
                fail("the selection's window was not mapped");
            }
            std::this_thread::sleep_for(milliseconds(10));
        }
    }

    // Takes the keyboard, as a click into another program would.
    void takeFocus() {
        xcb_set_input_focus(x_.raw(), XCB_INPUT_FOCUS_POINTER_ROOT, window_, XCB_CURRENT_TIME);
        x_.sync();
    }

    void select(const std::string& utf8) {
        word_ = utf8;
        xcb_set_selection_owner(x_.raw(), window_, primary_, XCB_CURRENT_TIME);
        x_.sync();
        if (x_.selectionOwner(primary_) != window_) {
            fail("cannot own the primary selection");
        }
    }

    // Answers a request for the selection; true when it was for the text.
    bool answer(const xcb_selection_request_event_t& request) {
        xcb_selection_notify_event_t notify{};
        notify.response_type = XCB_SELECTION_NOTIFY;
        notify.time = request.time;
        notify.requestor = request.requestor;
        notify.selection = request.selection;
        notify.target = request.target;
        notify.property = request.property != XCB_ATOM_NONE ? request.property : request.target;
        bool text = false;
        if (request.selection != primary_ || request.owner != window_) {
            notify.property = XCB_ATOM_NONE;
        } else if (request.target == targets_) {
            const xcb_atom_t offered[] = {targets_, utf8_};
            xcb_change_property(x_.raw(), XCB_PROP_MODE_REPLACE, request.requestor, notify.property,
                                XCB_ATOM_ATOM, 32, 2, offered);
        } else if (request.target == utf8_) {
            xcb_change_property(x_.raw(), XCB_PROP_MODE_REPLACE, request.requestor, notify.property,
                                utf8_, 8, static_cast<std::uint32_t>(word_.size()), word_.data());
            text = true;
        } else {
            notify.property = XCB_ATOM_NONE;
        }
        xcb_send_event(x_.raw(), 0, request.requestor, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&notify));
        xcb_flush(x_.raw());
        return text;
    }

private:
    XConnection& x_;
    xcb_window_t window_;
    xcb_atom_t primary_;
    xcb_atom_t targets_;
    xcb_atom_t utf8_;
    std::string word_;
};

struct Round {
    double shownMs = 0; // press to the last change of the pixels
    double askedMs = 0; // press to the program asking for the text
};

class Bench {
public:
    Bench(const XSession& session, xcb_window_t mainWindow)
        : x_(session.display()), other_(x_), main_(mainWindow) {
        x_.watchDamage(main_);
        x_.movePointer(x_.screenWidth() - 1, x_.screenHeight() - 1);
        control_ = keycode(keysym::kControl);
    }

    // Ctrl+F7 sends the window behind its icon; waits until it is gone and still.
    void hide() {
        press(keys::kF7);
        const auto start = Clock::now();
        while (x_.viewable(main_)) {
            if (Clock::now() - start > kGiveUp) {
                fail("Ctrl+F7 did not hide the window");
            }
            std::this_thread::sleep_for(milliseconds(5));
        }
        settle();
    }

    Round lookUp(const std::string& word) {
        other_.takeFocus();
        other_.select(word);
        settle();
        Round round;
        const auto pressed = press(keys::kF9);
        // When the program asked for the text, and the last change of the
        // pixels after that; the press itself until then.
        Clock::time_point asked = pressed;
        Clock::time_point lastChange = pressed;
        bool hasAsked = false;
        bool changed = false;
        for (;;) {
            const auto deadline =
                hasAsked && changed ? lastChange + kQuiet : pressed + std::chrono::seconds(10);
            auto event = x_.nextEvent(deadline);
            if (!event) {
                if (hasAsked && changed) {
                    break;
                }
                fail("no look-up within 10 seconds of Ctrl+F9 (\"" + word + "\")");
            }
            if (event->type() == x_.damageEvent()) {
                lastChange = event->arrived;
                changed = true;
            } else if (event->type() == XCB_SELECTION_REQUEST) {
                const auto* request =
                    reinterpret_cast<const xcb_selection_request_event_t*>(event->event.get());
                if (other_.answer(*request) && !hasAsked) {
                    hasAsked = true;
                    asked = event->arrived;
                    changed = false; // what changed before was not the pair
                }
            }
        }
        round.askedMs = msBetween(pressed, asked);
        round.shownMs = msBetween(pressed, lastChange);
        return round;
    }

private:
    std::uint8_t keycode(std::uint32_t keysym) {
        const std::uint8_t code = x_.keycodeOf(keysym);
        if (code == 0) {
            fail("no key types the keysym " + std::to_string(keysym));
        }
        return code;
    }

    // Ctrl and the key; the time the key went down.
    Clock::time_point press(std::uint32_t keysym) {
        const std::uint8_t code = keycode(keysym);
        x_.key(control_, true);
        const auto pressed = Clock::now();
        x_.key(code, true);
        x_.key(code, false);
        x_.key(control_, false);
        return pressed;
    }

    // Waits until the window's pixels have not changed for a quarter second,
    // answering selection requests meanwhile.
    void settle() {
        auto quietUntil = Clock::now() + milliseconds(250);
        while (auto event = x_.nextEvent(quietUntil)) {
            if (event->type() == x_.damageEvent()) {
                quietUntil = event->arrived + milliseconds(250);
            } else if (event->type() == XCB_SELECTION_REQUEST) {
                other_.answer(
                    *reinterpret_cast<const xcb_selection_request_event_t*>(event->event.get()));
            }
        }
    }

    XConnection x_;
    OtherProgram other_;
    xcb_window_t main_;
    std::uint8_t control_ = 0;
};

struct Spread {
    double median = 0;
    double min = 0;
    double p90 = 0;
    double max = 0;

    static Spread of(std::vector<double> values) {
        std::sort(values.begin(), values.end());
        const std::size_t n = values.size();
        Spread s;
        s.median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
        s.min = values.front();
        s.max = values.back();
        s.p90 = values[std::min(n - 1, (n * 9 + 9) / 10 - 1)];
        return s;
    }
};

// Words of the dictionary to select: every so often one, as UTF-8, without
// the blanks and punctuation some made-up words hold.
std::vector<std::string> wordsToSelect(const WordPairs& pairs, Side side, int count) {
    std::vector<std::string> words;
    const std::size_t step =
        std::max<std::size_t>(pairs.size() / static_cast<std::size_t>(count + 1), 1);
    for (std::size_t i = step / 2; i < pairs.size() && static_cast<int>(words.size()) < count;
         i += step) {
        const std::string_view word = pairs.source(i);
        if (word.find_first_of(" '-") == std::string_view::npos) {
            words.push_back(toUtf8(side, word));
        }
    }
    return words;
}

void printRow(const char* what, const std::vector<Round>& rounds) {
    std::vector<double> shown;
    std::vector<double> asked;
    for (const Round& round : rounds) {
        shown.push_back(round.shownMs);
        asked.push_back(round.askedMs);
    }
    const Spread s = Spread::of(shown);
    const Spread a = Spread::of(asked);
    std::printf("%-34s %8.1f %8.1f %8.1f %8.1f %10.1f %8.0f  %s\n", what, s.median, s.min, s.p90,
                s.max, a.median, kGoalMs, s.median <= kGoalMs ? "ok" : "SLOW");
}

int run(std::size_t pairs, int rounds) {
    char pattern[] = "/tmp/tavelin-bench-selection-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) {
        fail(std::string("mkdtemp: ") + std::strerror(errno));
    }
    const fs::path work = pattern;
    struct Remove {
        fs::path path;
        ~Remove() {
            std::error_code ignored;
            fs::remove_all(path, ignored);
        }
    } remove{work};

    const fs::path programDir = work / "program";
    fs::create_directories(programDir);
    const fs::path built =
        fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "tavelin";
    fs::copy_file(built, programDir / "tavelin");
    std::fprintf(stderr, "making two dictionaries of %zu pairs...\n", pairs);
    const WordPairs english = WordGenerator(Side::English, 1).generate(pairs);
    writeDictionary((programDir / "EA.tvl").string(), kEnglishArmenian, english);
    const WordPairs russian = WordGenerator(Side::Russian, 2).generate(pairs);
    writeDictionary((programDir / "RA.tvl").string(), kRussianArmenian, russian);
    const std::vector<std::string> englishWords = wordsToSelect(english, Side::English, rounds);
    const std::vector<std::string> russianWords = wordsToSelect(russian, Side::Russian, rounds);

    fs::create_directories(work / "session");
    XSession session(work / "session");
    Process app;
    std::uint32_t mainWindow = 0;
    startSettled(
        session, programDir / "tavelin", [] {}, app, mainWindow);
    Bench bench(session, mainWindow);

    std::vector<Round> onShow;
    std::vector<Round> fromTray;
    bench.lookUp(englishWords.front()); // warms the caches; not counted
    for (int i = 0; i < rounds; ++i) {
        const std::vector<std::string>& words = i % 2 == 0 ? englishWords : russianWords;
        const std::string& word = words[static_cast<std::size_t>(i) % words.size()];
        onShow.push_back(bench.lookUp(word));
        bench.hide();
        const std::vector<std::string>& others = i % 2 == 0 ? russianWords : englishWords;
        fromTray.push_back(bench.lookUp(others[static_cast<std::size_t>(i) % others.size()]));
    }
    app.stop();

    std::printf("Ctrl+F9 in another program to the pair shown, %zu pairs each dictionary, %d "
                "rounds (ms)\n",
                pairs, rounds);
    std::printf("%-34s %8s %8s %8s %8s %10s %8s\n", "", "median", "min", "p90", "max", "asked at",
                "goal");
    printRow("window on show", onShow);
    printRow("window in the notification area", fromTray);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::size_t pairs = kDefaultPairs;
    int rounds = kDefaultRounds;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--rounds" && i + 1 < argc) {
            rounds = std::max(1, std::atoi(argv[++i]));
        } else if (const long n = std::atol(argument.c_str()); n > 0 && n <= 10'000'000) {
            pairs = static_cast<std::size_t>(n);
        } else {
            std::fprintf(stderr, "Usage: tavelin-bench-selection [PAIRS] [--rounds N]\n");
            return 2;
        }
    }
    try {
        return run(pairs, rounds);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tavelin-bench-selection: %s\n", e.what());
        return 1;
    }
}
