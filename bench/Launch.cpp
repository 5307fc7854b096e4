#include "Launch.h"

#include <xcb/xcb.h>

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

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T> Reply<T> owned(T* reply) {
    return Reply<T>(reply, &std::free);
}

// A connection to the session's display, asking only what any X client may
// ask: the window manager's list of windows, their titles, their map state and
// the pixels on screen.
class XConnection {
public:
    explicit XConnection(const std::string& display) {
        int screenNumber = 0;
        connection_ = xcb_connect(display.c_str(), &screenNumber);
        if (xcb_connection_has_error(connection_)) {
            xcb_disconnect(connection_);
            connection_ = nullptr;
            fail("cannot connect to the X display " + display);
        }
        xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection_));
        for (int i = 0; i < screenNumber; ++i) {
            xcb_screen_next(&screens);
        }
        root_ = screens.data->root;
        screenNumber_ = screenNumber;
    }
    ~XConnection() {
        if (connection_ != nullptr) {
            xcb_disconnect(connection_);
        }
    }
    XConnection(const XConnection&) = delete;
    XConnection& operator=(const XConnection&) = delete;

    static std::unique_ptr<XConnection> tryConnect(const std::string& display) {
        try {
            return std::make_unique<XConnection>(display);
        } catch (const std::runtime_error&) {
            return nullptr;
        }
    }

    xcb_window_t root() const { return root_; }
    int screenNumber() const { return screenNumber_; }

    xcb_atom_t atom(const char* name) {
        auto reply = owned(xcb_intern_atom_reply(
            connection_,
            xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
            nullptr));
        return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    }

    // A property's value as 32-bit items, or as bytes.
    std::vector<std::uint32_t> items(xcb_window_t window, xcb_atom_t property, xcb_atom_t type) {
        auto reply = property_(window, property, type);
        std::vector<std::uint32_t> values;
        if (reply && reply->format == 32) {
            const auto* data =
                static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
            values.assign(data, data + xcb_get_property_value_length(reply.get()) / 4);
        }
        return values;
    }
    std::string text(xcb_window_t window, xcb_atom_t property, xcb_atom_t type) {
        auto reply = property_(window, property, type);
        if (!reply || reply->format != 8) {
            return {};
        }
        return std::string(static_cast<const char*>(xcb_get_property_value(reply.get())),
                           static_cast<std::size_t>(xcb_get_property_value_length(reply.get())));
    }

    bool viewable(xcb_window_t window) {
        auto reply = owned(xcb_get_window_attributes_reply(
            connection_, xcb_get_window_attributes(connection_, window), nullptr));
        return reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
    }

    xcb_window_t selectionOwner(xcb_atom_t selection) {
        auto reply = owned(xcb_get_selection_owner_reply(
            connection_, xcb_get_selection_owner(connection_, selection), nullptr));
        return reply ? reply->owner : xcb_window_t{XCB_WINDOW_NONE};
    }

    // A hash of the pixels along the bottom edge of a window; nothing when
    // they cannot be read (the window is not, or no longer, on screen).
    std::optional<std::uint64_t> bottomEdge(xcb_window_t window, int height) {
        auto geometry = owned(
            xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window), nullptr));
        if (!geometry || geometry->width == 0 || geometry->height == 0) {
            return std::nullopt;
        }
        const int strip = std::min<int>(height, geometry->height);
        xcb_generic_error_t* error = nullptr;
        auto image = owned(xcb_get_image_reply(
            connection_,
            xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0,
                          static_cast<std::int16_t>(geometry->height - strip), geometry->width,
                          static_cast<std::uint16_t>(strip), ~0U),
            &error));
        std::free(error);
        if (!image) {
            return std::nullopt;
        }
        const auto* bytes = xcb_get_image_data(image.get());
        const int length = xcb_get_image_data_length(image.get());
        std::uint64_t hash = 0xCBF29CE484222325ULL;
        for (int i = 0; i < length; ++i) {
            hash = (hash ^ bytes[i]) * 0x100000001B3ULL;
        }
        return hash ^ (static_cast<std::uint64_t>(geometry->width) << 32) ^ geometry->height;
    }

private:
    Reply<xcb_get_property_reply_t> property_(xcb_window_t window, xcb_atom_t property,
                                              xcb_atom_t type) {
        return owned(xcb_get_property_reply(
            connection_, xcb_get_property(connection_, 0, window, property, type, 0, 4096),
            nullptr));
    }

    xcb_connection_t* connection_ = nullptr;
    xcb_window_t root_ = XCB_WINDOW_NONE;
    int screenNumber_ = 0;
};

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
    environment_ = {
        {"DISPLAY", display_},  {"HOME", home.string()}, {"XDG_RUNTIME_DIR", runtime.string()},
        {"LC_ALL", "C.UTF-8"},  {"QT_QPA_PLATFORM", ""}, // empty: taken out of the environment
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

Launch launchOnce(const XSession& session, const fs::path& program,
                  const std::function<void()>& poll) {
    XConnection x(session.display());
    const xcb_atom_t clientList = x.atom("_NET_CLIENT_LIST");
    const xcb_atom_t wmName = x.atom("_NET_WM_NAME");
    const xcb_atom_t utf8 = x.atom("UTF8_STRING");
    const xcb_atom_t wmPid = x.atom("_NET_WM_PID");

    Launch launch{};
    const auto start = Clock::now();
    Process app = Process::start({program.string()}, session.environment(), session.log());

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
    app.stop();
    return launch;
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
