#include "Interaction.h"

#include "XConnection.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <stdexcept>
#include <thread>

namespace fs = std::filesystem;

namespace tavelin::bench {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// A key's repaint is over when the window's pixels have not changed for
// this long. Qt draws a window's changes in one go; the text cursor blinks
// only half a second after the last key.
constexpr auto kKeystrokeQuiet = milliseconds(50);
// An edit's: the dialog's window going and the main window's pixels it
// uncovers and changes.
constexpr auto kEditQuiet = milliseconds(80);
constexpr auto kGiveUp = std::chrono::seconds(10);
// Between keys that are not timed, as a quick typist.
constexpr auto kBetweenKeys = milliseconds(8);
// The Delete command follows a selection on a timer of 100 ms.
constexpr auto kDeleteEnabled = milliseconds(250);

double secondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

[[noreturn]] void fail(const std::string& what) {
    throw std::runtime_error(what);
}

// The program under test, seen through one X connection.
class Driver {
public:
    Driver(const XSession& session, const std::function<void()>& poll)
        : x_(session.display()), poll_(poll), clientList_(x_.atom("_NET_CLIENT_LIST")),
          wmName_(x_.atom("_NET_WM_NAME")), utf8_(x_.atom("UTF8_STRING")),
          wmPid_(x_.atom("_NET_WM_PID")) {}

    XConnection& x() { return x_; }
    int width() const { return width_; }
    int height() const { return height_; }

    // The program's windows are those with its process id.
    void follow(pid_t pid) { pid_ = pid; }

    void attach(pid_t pid, xcb_window_t window) {
        pid_ = pid;
        main_ = window;
        x_.watchDamage(main_);
        const auto size = x_.size(main_);
        if (!size) {
            fail("the main window went away");
        }
        width_ = size->first;
        height_ = size->second;
        // The pointer stays away from the window, so that no item is hovered.
        x_.movePointer(x_.screenWidth() - 1, x_.screenHeight() - 1);
        waitForFocus(main_, "the main window");
    }

    std::uint8_t keycode(std::uint32_t keysym) {
        const std::uint8_t code = x_.keycodeOf(keysym);
        if (code == 0) {
            fail("no key types the keysym " + std::to_string(keysym));
        }
        return code;
    }

    // A key pressed and released, untimed.
    void tap(std::uint32_t keysym, std::uint32_t modifier = 0) {
        const std::uint8_t code = keycode(keysym);
        const std::uint8_t held = modifier != 0 ? keycode(modifier) : 0;
        if (held != 0) {
            x_.key(held, true);
        }
        x_.key(code, true);
        x_.key(code, false);
        if (held != 0) {
            x_.key(held, false);
        }
        std::this_thread::sleep_for(kBetweenKeys);
    }

    void type(const std::u32string& text) {
        for (const char32_t ch : text) {
            tap(keysym::ofUnicode(ch));
        }
    }

    // Takes in events until none has come for this long; the window is
    // still then.
    void settle(Clock::duration quiet) {
        const auto start = Clock::now();
        auto last = Clock::now();
        while (x_.nextEvent(last + quiet)) {
            last = Clock::now();
            if (last - start > kGiveUp) {
                fail("the window never came to rest");
            }
        }
        poll_();
    }

    // Presses the key and follows what it changes on screen until the window
    // is still again; with a dialog given, not before the dialog is gone.
    // The key is released afterwards.
    Felt timedKey(std::uint32_t keysym, Clock::duration quiet, xcb_window_t dialog,
                  std::map<std::string, int>* rectangles) {
        const std::uint8_t code = keycode(keysym);
        Felt felt;
        bool changed = false;
        bool gone = dialog == XCB_WINDOW_NONE;
        std::set<std::string> seen;
        const auto start = Clock::now();
        x_.key(code, true);
        Clock::time_point last = start;
        for (;;) {
            const auto deadline = changed && gone ? last + quiet : start + kGiveUp;
            auto event = x_.nextEvent(deadline);
            if (!event) {
                if (!changed || !gone) {
                    x_.key(code, false);
                    fail(gone ? "a key changed nothing in the main window"
                              : "the dialog did not go away (a notice?)");
                }
                break;
            }
            if (event->type() == x_.damageEvent()) {
                const auto* damage =
                    reinterpret_cast<const xcb_damage_notify_event_t*>(event->event.get());
                if (damage->drawable != main_) {
                    continue;
                }
                const xcb_rectangle_t& r = damage->area;
                // The word count is written by a timer every 100 ms, not by
                // the key: an edit's new count is left out.
                if (dialog != XCB_WINDOW_NONE && isWordCount(r)) {
                    continue;
                }
                if (trace_) {
                    std::fprintf(stderr, "  %8.3f ms  damage %d,%d %d×%d\n",
                                 secondsBetween(start, event->arrived) * 1e3, r.x, r.y, r.width,
                                 r.height);
                }
                if (!changed) {
                    felt.firstSeconds = secondsBetween(start, event->arrived);
                }
                changed = true;
                last = event->arrived;
                felt.seconds = secondsBetween(start, last);
                felt.area += long{r.width} * r.height;
                ++felt.rectangles;
                if (rectangles != nullptr) {
                    seen.insert(std::to_string(r.x) + "," + std::to_string(r.y) + " " +
                                std::to_string(r.width) + "×" + std::to_string(r.height));
                }
            } else if ((event->type() == XCB_UNMAP_NOTIFY &&
                        reinterpret_cast<const xcb_unmap_notify_event_t*>(event->event.get())
                                ->window == dialog) ||
                       (event->type() == XCB_DESTROY_NOTIFY &&
                        reinterpret_cast<const xcb_destroy_notify_event_t*>(event->event.get())
                                ->window == dialog)) {
                if (trace_) {
                    std::fprintf(stderr, "  %8.3f ms  dialog gone\n",
                                 secondsBetween(start, event->arrived) * 1e3);
                }
                if (!gone) {
                    gone = true;
                    last = std::max(last, event->arrived);
                    felt.goneSeconds = secondsBetween(start, event->arrived);
                    felt.seconds = std::max(felt.seconds, felt.goneSeconds);
                }
            }
        }
        x_.key(code, false);
        if (trace_) {
            std::fprintf(stderr, "key %u: %.3f ms\n", keysym, felt.seconds * 1e3);
        }
        if (rectangles != nullptr) {
            for (const std::string& r : seen) {
                ++(*rectangles)[r];
            }
        }
        poll_();
        return felt;
    }

    // A new top-level window of the program with this title, once it is on
    // screen and has the keyboard.
    xcb_window_t waitForWindow(const char* title) {
        const auto start = Clock::now();
        for (;;) {
            poll_();
            for (std::uint32_t window : x_.items(x_.root(), clientList_, XCB_ATOM_WINDOW)) {
                const auto pid = x_.items(window, wmPid_, XCB_ATOM_CARDINAL);
                if (window == main_ || pid.empty() || static_cast<pid_t>(pid[0]) != pid_) {
                    continue;
                }
                const std::string name = x_.text(window, wmName_, utf8_);
                if (name != title) {
                    fail("the program showed \"" + name + "\" instead of \"" + title + "\"");
                }
                x_.watchStructure(window);
                waitForFocus(window, title);
                return window;
            }
            if (Clock::now() - start > kGiveUp) {
                fail(std::string("the dialog \"") + title + "\" did not come");
            }
            std::this_thread::sleep_for(milliseconds(2));
        }
    }

private:
    void waitForFocus(xcb_window_t window, const std::string& what) {
        const auto start = Clock::now();
        while (!x_.viewable(window) || x_.inputFocus() != window) {
            if (Clock::now() - start > kGiveUp) {
                fail(what + " did not get the keyboard");
            }
            std::this_thread::sleep_for(milliseconds(2));
        }
    }

    // The status bar's first panel, inside its frame: at the window's bottom
    // left corner, and not as wide as the window.
    bool isWordCount(const xcb_rectangle_t& r) const {
        return r.x <= 2 && r.y >= height_ - 40 && r.y + r.height >= height_ - 3 &&
               r.width < width_ - 40;
    }

    XConnection x_;
    const std::function<void()>& poll_;
    xcb_atom_t clientList_;
    xcb_atom_t wmName_;
    xcb_atom_t utf8_;
    xcb_atom_t wmPid_;
    // Every timed key's events on standard error.
    bool trace_ = std::getenv("TAVELIN_BENCH_TRACE") != nullptr;
    pid_t pid_ = -1;
    xcb_window_t main_ = XCB_WINDOW_NONE;
    int width_ = 0;
    int height_ = 0;
};

std::u32string latin(const std::string& text) {
    return {text.begin(), text.end()};
}

// Empties the focused search box.
void emptyBox(Driver& driver) {
    driver.tap('a', keysym::kControl);
    driver.tap(keysym::kBackSpace);
    driver.settle(kKeystrokeQuiet);
}

// Types the beginnings of words into the focused search box, emptied before
// each, timing every key; a few keys first, which bring the glyphs in, untimed.
void typePrefixes(Driver& driver, const std::vector<std::string>& prefixes,
                  std::vector<Felt>& keystrokes, std::map<std::string, int>* rectangles) {
    emptyBox(driver);
    driver.type(U"ab");
    driver.settle(kKeystrokeQuiet);
    for (const std::string& prefix : prefixes) {
        emptyBox(driver);
        for (const char letter : prefix) {
            keystrokes.push_back(driver.timedKey(static_cast<unsigned char>(letter),
                                                 kKeystrokeQuiet, XCB_WINDOW_NONE, rectangles));
        }
    }
}

} // namespace

double loadAverage() {
    double load = 0;
    std::ifstream("/proc/loadavg") >> load;
    return load;
}

Interactions interact(const XSession& session, const fs::path& program, const InteractionPlan& plan,
                      const std::function<void()>& poll) {
    Driver driver(session, poll);
    XConnection& x = driver.x();
    // Every letter to type gets a key before the program reads the keyboard.
    std::vector<std::uint32_t> keysyms;
    for (const auto& [english, armenian] : plan.adds) {
        for (const char32_t ch : armenian) {
            keysyms.push_back(keysym::ofUnicode(ch));
        }
    }
    x.addKeys(keysyms);
    x.stopKeyRepeat();
    x.sync();

    Interactions result;
    Process app;
    std::uint32_t window = 0;
    startSettled(session, program, poll, app, window);
    driver.attach(app.pid(), window);

    result.width = driver.width();
    result.height = driver.height();
    result.load[0][0] = loadAverage();
    typePrefixes(driver, plan.prefixes, result.keystrokes, &result.keystrokeRectangles);
    result.load[0][1] = loadAverage();

    result.load[1][0] = loadAverage();
    for (const auto& [english, armenian] : plan.adds) {
        driver.tap('i', keysym::kControl);
        const xcb_window_t dialog = driver.waitForWindow("Add");
        // The Add button has the focus; the English field is two along.
        driver.tap(keysym::kTab);
        driver.tap(keysym::kTab);
        driver.type(latin(english));
        driver.tap(keysym::kTab);
        driver.type(armenian);
        driver.settle(kKeystrokeQuiet);
        result.adds.push_back(driver.timedKey(keysym::kReturn, kEditQuiet, dialog, nullptr));
        driver.settle(kKeystrokeQuiet);
    }
    result.load[1][1] = loadAverage();

    result.load[2][0] = loadAverage();
    for (const std::string& prefix : plan.deletePrefixes) {
        emptyBox(driver);
        driver.type(latin(prefix));
        std::this_thread::sleep_for(kDeleteEnabled);
        driver.tap('e', keysym::kAlt);
        std::this_thread::sleep_for(milliseconds(30));
        driver.tap('d');
        const xcb_window_t dialog = driver.waitForWindow("Delete");
        driver.settle(kKeystrokeQuiet);
        // Yes has the focus.
        result.deletes.push_back(driver.timedKey(keysym::kReturn, kEditQuiet, dialog, nullptr));
        driver.settle(kKeystrokeQuiet);
    }
    result.load[2][1] = loadAverage();

    result.peakKb = peakKbOf(app.pid());
    app.stop();
    return result;
}

std::vector<Felt> typeInStockWindow(const XSession& session, const std::vector<std::string>& argv,
                                    const std::vector<std::string>& prefixes,
                                    const std::function<void()>& poll) {
    Driver driver(session, poll);
    driver.x().stopKeyRepeat();
    driver.x().sync();
    Process app = Process::start(argv, session.environment(), session.log());
    driver.follow(app.pid());
    const xcb_window_t window = driver.waitForWindow(kStockWindowTitle);
    driver.attach(app.pid(), window);
    driver.settle(kKeystrokeQuiet);
    std::vector<Felt> keystrokes;
    typePrefixes(driver, prefixes, keystrokes, nullptr);
    app.stop();
    return keystrokes;
}

} // namespace tavelin::bench
