#pragma once

// What tavelin-bench-window measures in one process and hands back to
// tavelin-bench, as raw bytes through a pipe on file descriptor 3. Both
// programs are built from the same tree, so the layout is the same on both ends.

#include <algorithm>
#include <cstddef>
#include <type_traits>
#include <vector>

namespace tavelin::bench {

// The descriptor the window program writes its result to.
inline constexpr int kResultFd = 3;

// Median, extremes and the 99th percentile of a set of timings, in seconds.
struct Spread {
    int count;
    double median;
    double min;
    double max;
    double p99;

    static Spread of(std::vector<double> values) {
        Spread s{};
        s.count = static_cast<int>(values.size());
        if (values.empty()) {
            return s;
        }
        std::sort(values.begin(), values.end());
        const std::size_t n = values.size();
        s.median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
        s.min = values.front();
        s.max = values.back();
        s.p99 = values[std::min(n - 1, (n * 99 + 99) / 100 - 1)];
        return s;
    }
};

// Typing into one search box: the key press alone (the search, the look-ups
// and the boxes' new text all happen while it is handled), and the whole
// keystroke: press, release and the events they leave behind, the repaint
// among them.
struct Typing {
    Spread press;
    Spread keystroke;
    // How many presses were followed by a repaint of the box's word list.
    int listRepaints;
};

// Adding or deleting pairs through the dialogs' code: the click on Add or
// Yes alone (the write, both lists and the main window's search cascade all
// happen while it is handled), and with the events it leaves behind.
struct Editing {
    Spread click;
    Spread settled;
};

struct WindowRun {
    char qtVersion[16];
    // Words in list1, list2, List3 and List4 once filled.
    long listWords[4];
    // From the start of the splash's timer tick to: the four lists filled;
    // the main window visible; its first paint done.
    double filledSeconds;
    double visibleSeconds;
    double paintedSeconds;
    // ru_maxrss at the start of the tick, and once the window has painted.
    long tickMaxRssKb;
    long shownMaxRssKb;
    // Keystrokes, when the run was asked for them (count 0 otherwise).
    Typing english;  // Text1
    Typing armenian; // Text2
    // Adds and deletes, when the run was asked for them, alternating between
    // the two pages.
    Editing add;
    Editing remove;
};

static_assert(std::is_trivially_copyable_v<WindowRun>);

} // namespace tavelin::bench
