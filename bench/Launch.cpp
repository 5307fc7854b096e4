#include "Launch.h"

#include "XConnection.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace fs = std::filesystem;

namespace tavelin::bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kPollEvery = std::chrono::milliseconds(2);
// The window has settled when its status bar has not changed for this long.
// The word count is written by a timer of 100 ms, so a count still to come
// would have shown well within it.
constexpr double kSettleSeconds = 0.5;
constexpr double kGiveUpSeconds = 60;
// How much of the window's bottom edge is compared: the status bar's two
// panels and their text (the bar is 25 pixels high at 96 dots per inch).
constexpr int kStripHeight = 20;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

[[noreturn]] void fail(const std::string& what) {
    throw std::runtime_error(what);
}

// A field of /proc/PID/status in kB; -1 when unreadable.
long statusKb(pid_t pid, const char* field) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    const std::string key = std::string(field) + ":";
    std::string line;
    while (std::getline(status, line)) {
        if (line.compare(0, key.size(), key) == 0) {
            return std::strtol(line.c_str() + key.size(), nullptr, 10);
        }
    }
    return -1;
}

// Waits until the check holds, looking every 10 ms; false after 10 seconds.
template <typename Check> bool waitFor(Check check) {
    const auto start = Clock::now();
    while (secondsSince(start) < 10) {
        if (check()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

// The titles the main window has, one for each page.
bool isMainWindowTitle(const std::string& title) {
    return title == " Tavelin (Eng - Arm) " || title == " Tavelin (Rus - Arm) ";
}

} // namespace

// ---- Processes -------------------------------------------------------------

Process Process::start(const std::vector<std::string>& argv, const Environment& environment,
                       const fs::path& log, int resultFd, int childFd) {
    std::vector<std::string> args = argv;
    std::vector<char*> pointers;
    for (std::string& arg : args) {
        pointers.push_back(arg.data());
    }
    pointers.push_back(nullptr);
    const int output = ::open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (output < 0) {
        fail("cannot open " + log.string() + ": " + std::strerror(errno));
    }
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(output);
        fail(std::string("fork: ") + std::strerror(errno));
    }
    if (pid == 0) {
        ::signal(SIGINT, SIG_DFL);
        ::signal(SIGTERM, SIG_DFL);
        const int input = ::open("/dev/null", O_RDONLY);
        ::dup2(input, 0);
        ::dup2(output, 1);
        ::dup2(output, 2);
        if (resultFd >= 0 && resultFd != childFd) {
            ::dup2(resultFd, childFd);
            ::close(resultFd);
        }
        for (const auto& [name, value] : environment) {
            if (value.empty()) {
                ::unsetenv(name.c_str());
            } else {
                ::setenv(name.c_str(), value.c_str(), 1);
            }
        }
        ::execvp(pointers[0], pointers.data());
        std::fprintf(stderr, "cannot run %s: %s\n", pointers[0], std::strerror(errno));
        ::_exit(127);
    }
    ::close(output);
    return Process(pid);
}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        stop();
        pid_ = std::exchange(other.pid_, -1);
    }
    return *this;
}

bool Process::running() const {
    if (pid_ <= 0) {
        return false;
    }
    siginfo_t info{};
    // Looks without reaping, so that wait() still finds the status.
    return ::waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
           info.si_pid == 0;
}

void Process::stop() {
    if (pid_ <= 0) {
        return;
    }
    ::kill(pid_, SIGTERM);
    const auto start = Clock::now();
    int status = 0;
    while (::waitpid(pid_, &status, WNOHANG) == 0) {
        if (secondsSince(start) > 1) {
            ::kill(pid_, SIGKILL);
            while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
            }
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    pid_ = -1;
}

int Process::wait() {
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0) {
        if (errno != EINTR) {
            break;
        }
    }
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// ---- The X session -----------------------------------------------------------

XSession::XSession(const fs::path& work) : log_(work / "session.log") {
    const fs::path home = work / "home";
    const fs::path runtime = work / "runtime";
    fs::create_directories(home);
    fs::create_directories(runtime);
    fs::permissions(runtime, fs::perms::owner_all, fs::perm_options::replace);

    // Xvfb writes the display it took to the descriptor once it takes clients.
    int fds[2];
    if (::pipe(fds) != 0) {
        fail(std::string("pipe: ") + std::strerror(errno));
    }
    xvfb_ = Process::start(
        {"Xvfb", "-displayfd", "3", "-noreset", "-nolisten", "tcp", "-screen", "0", "1280x800x24"},
        {}, log_, fds[1], 3);
    ::close(fds[1]);
    std::string number;
    pollfd pending{fds[0], POLLIN, 0};
    const auto start = Clock::now();
    while (number.find('\n') == std::string::npos && secondsSince(start) < 10) {
        if (::poll(&pending, 1, 100) > 0) {
            char buffer[32];
            const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
            if (n <= 0) {
                break;
            }
            number.append(buffer, static_cast<std::size_t>(n));
        }
    }
    ::close(fds[0]);
    if (number.find('\n') == std::string::npos) {
        fail("Xvfb did not start; see " + log_.string());
    }
    display_ = ":" + number.substr(0, number.find('\n'));
    cache_ = home / ".cache";
    environment_ = {{"DISPLAY", display_},
                    {"HOME", home.string()},
                    {"XDG_RUNTIME_DIR", runtime.string()},
                    {"XDG_CACHE_HOME", cache_.string()},
                    {"LC_ALL", "C.UTF-8"},
                    {"QT_QPA_PLATFORM", ""}, // empty: taken out of the environment
                    {"WAYLAND_DISPLAY", ""}};

    XConnection x(display_);
    openbox_ = Process::start({"openbox", "--sm-disable"}, environment_, log_);
    const xcb_atom_t supportingWm = x.atom("_NET_SUPPORTING_WM_CHECK");
    if (!waitFor([&] { return !x.items(x.root(), supportingWm, XCB_ATOM_WINDOW).empty(); })) {
        fail("openbox did not start; see " + log_.string());
    }
    trayer_ = Process::start({"trayer", "--edge", "top", "--align", "right", "--widthtype", "pixel",
                              "--width", "200", "--height", "32", "--SetDockType", "true",
                              "--transparent", "false"},
                             environment_, log_);
    const xcb_atom_t tray =
        x.atom(("_NET_SYSTEM_TRAY_S" + std::to_string(x.screenNumber())).c_str());
    if (!waitFor([&] { return x.selectionOwner(tray) != XCB_WINDOW_NONE; })) {
        fail("trayer did not start; see " + log_.string());
    }
}

XSession::~XSession() = default;

// ---- Watching a start --------------------------------------------------------

Launch startSettled(const XSession& session, const fs::path& program,
                    const std::function<void()>& poll, Process& app, std::uint32_t& mainWindow) {
    XConnection x(session.display());
    const xcb_atom_t clientList = x.atom("_NET_CLIENT_LIST");
    const xcb_atom_t wmName = x.atom("_NET_WM_NAME");
    const xcb_atom_t utf8 = x.atom("UTF8_STRING");
    const xcb_atom_t wmPid = x.atom("_NET_WM_PID");

    Launch launch{};
    const auto start = Clock::now();
    app = Process::start({program.string()}, session.environment(), session.log());

    // The main window: a window the window manager took on, of this process,
    // with the main window's title.
    const auto findMainWindow = [&]() -> xcb_window_t {
        for (std::uint32_t window : x.items(x.root(), clientList, XCB_ATOM_WINDOW)) {
            const auto pid = x.items(window, wmPid, XCB_ATOM_CARDINAL);
            if (!pid.empty() && static_cast<pid_t>(pid[0]) == app.pid() &&
                isMainWindowTitle(x.text(window, wmName, utf8))) {
                return window;
            }
        }
        return XCB_WINDOW_NONE;
    };

    xcb_window_t window = XCB_WINDOW_NONE;
    bool mapped = false;
    std::optional<std::uint64_t> shown;
    double changed = 0;
    for (;;) {
        poll();
        if (!app.running()) {
            fail("the program ended by itself; see " + session.log().string());
        }
        const double now = secondsSince(start);
        if (now > kGiveUpSeconds) {
            fail("the main window did not settle within a minute");
        }
        if (window == XCB_WINDOW_NONE) {
            window = findMainWindow();
        }
        if (window != XCB_WINDOW_NONE && !mapped && x.viewable(window)) {
            mapped = true;
            launch.mappedSeconds = now;
        }
        if (mapped) {
            const auto edge = x.bottomEdge(window, kStripHeight);
            if (edge && edge != shown) {
                shown = edge;
                changed = now;
            }
            if (shown && now - changed >= kSettleSeconds &&
                now - launch.mappedSeconds >= kSettleSeconds) {
                break;
            }
        }
        std::this_thread::sleep_for(kPollEvery);
    }
    launch.shownSeconds = changed;
    launch.peakKb = statusKb(app.pid(), "VmHWM");
    mainWindow = window;
    return launch;
}

Launch launchOnce(const XSession& session, const fs::path& program,
                  const std::function<void()>& poll) {
    Process app;
    std::uint32_t window = 0;
    const Launch launch = startSettled(session, program, poll, app, window);
    app.stop();
    return launch;
}

long peakKbOf(pid_t pid) {
    return statusKb(pid, "VmHWM");
}

double runOnce(const std::vector<std::string>& argv) {
    std::vector<std::string> args = argv;
    std::vector<char*> pointers;
    for (std::string& arg : args) {
        pointers.push_back(arg.data());
    }
    pointers.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const auto start = Clock::now();
    pid_t pid = -1;
    const int rc = ::posix_spawn(&pid, pointers[0], &actions, nullptr, pointers.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        fail("cannot run " + args[0] + ": " + std::strerror(rc));
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            fail(std::string("waitpid: ") + std::strerror(errno));
        }
    }
    const double seconds = secondsSince(start);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        fail(args[0] + " " + args[1] + " failed");
    }
    return seconds;
}

} // namespace tavelin::bench
