#pragma once

// The real program started as a user starts it, in an X session of its own,
// and watched from outside, as the end-to-end tests watch it: nothing in the
// program knows it is being timed.

#include <sys/types.h>

#include <cstdint>

#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace tavelin::bench {

using Environment = std::vector<std::pair<std::string, std::string>>;

// A process this program started; ended by its id when the object goes.
class Process {
public:
    Process() = default;
    // Runs the program with the environment added to this one's and its
    // output going to `log` (appended). `resultFd`, when not -1, becomes the
    // child's file descriptor `childFd`.
    static Process start(const std::vector<std::string>& argv, const Environment& environment,
                         const std::filesystem::path& log, int resultFd = -1, int childFd = -1);
    ~Process() { stop(); }
    Process(Process&& other) noexcept : pid_(std::exchange(other.pid_, -1)) {}
    Process& operator=(Process&& other) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    pid_t pid() const { return pid_; }
    bool running() const;
    // Asks it to end (SIGTERM), and kills it when it has not ended within a second.
    void stop();
    // Waits for the end; the exit status, or -1 when a signal ended it.
    int wait();

private:
    explicit Process(pid_t pid) : pid_(pid) {}
    pid_t pid_ = -1;
};

// Xvfb on a display it picks itself (-displayfd), openbox and trayer: the
// session the end-to-end tests run the program in.
class XSession {
public:
    // `work` is an empty directory for the session's home, runtime directory
    // and logs. Throws when a part does not come up within 10 seconds.
    explicit XSession(const std::filesystem::path& work);
    ~XSession();
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    // DISPLAY, HOME, XDG_RUNTIME_DIR, XDG_CACHE_HOME and the locale, as a
    // program in the session gets them.
    const Environment& environment() const { return environment_; }
    const std::string& display() const { return display_; }
    const std::filesystem::path& log() const { return log_; }
    // The cache folder of programs in the session (XDG_CACHE_HOME).
    const std::filesystem::path& cache() const { return cache_; }

private:
    std::filesystem::path log_;
    std::filesystem::path cache_;
    std::string display_;
    Environment environment_;
    // Ended in the opposite order: trayer, openbox, then Xvfb.
    Process xvfb_;
    Process openbox_;
    Process trayer_;
};

// One start of the program, seen from outside.
struct Launch {
    // From the start of the process to its main window found mapped, with the
    // main window's title.
    double mappedSeconds;
    // To the first moment the window's status bar showed what it went on to
    // show for good: the word count, once the lists are filled.
    double shownSeconds;
    // The program's peak resident memory (VmHWM) once it has settled.
    long peakKb;
};

// Starts the program and watches it until its main window has settled (its
// status bar unchanged for half a second); the program goes on running as
// `app`, and `mainWindow` is its main window.
Launch startSettled(const XSession& session, const std::filesystem::path& program,
                    const std::function<void()>& poll, Process& app, std::uint32_t& mainWindow);

// The peak resident memory (VmHWM) of a running process, in kB; -1 when unreadable.
long peakKbOf(pid_t pid);

// Starts the program, watches it until its window has settled, and ends it.
// `poll` runs between looks and throws to give up (an interruption).
Launch launchOnce(const XSession& session, const std::filesystem::path& program,
                  const std::function<void()>& poll);

// The same as a plain process: the time from its start to its end, in
// seconds. Throws when it does not end with status 0.
double runOnce(const std::vector<std::string>& argv);

} // namespace tavelin::bench
