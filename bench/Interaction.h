#pragma once

// Typing and editing in the real program as a user does it, timed from
// outside: keys pressed through the X server's XTEST extension, and the
// window's pixels watched through its DAMAGE extension. Nothing in the
// program knows it is being timed.

#include "Launch.h"

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace tavelin::bench {

// What the user does, planned before the program starts.
struct InteractionPlan {
    // Beginnings of words typed into the English search box, in small Latin
    // letters; the box is emptied (Ctrl+A, Backspace) before each.
    std::vector<std::string> prefixes;
    // Pairs added through the add dialog (Ctrl+I; Tab, Tab; the English word;
    // Tab; the Armenian word; Return): English in small Latin letters, the
    // Armenian word as Unicode small letters. None may be in the dictionary.
    std::vector<std::pair<std::string, std::u32string>> adds;
    // Beginnings of words typed into the emptied English search box, whose
    // chosen word is then deleted (Alt+E, D; Return on Yes).
    std::vector<std::string> deletePrefixes;
};

// One wait of the user's, from the key press, as the X server saw it.
struct Felt {
    // To the last change of the window's pixels the key caused (for an edit,
    // and not before the dialog is gone).
    double seconds = 0;
    // To the first change of the window's pixels.
    double firstSeconds = 0;
    // Edits: to the dialog unmapped.
    double goneSeconds = 0;
    // The window's pixels changed, as the sum of the damaged rectangles.
    long area = 0;
    int rectangles = 0;
};

struct Interactions {
    std::vector<Felt> keystrokes;
    std::vector<Felt> adds;
    std::vector<Felt> deletes;
    // The 1-minute load average at the start and at the end of each part.
    double load[3][2] = {};
    // Each rectangle the keystrokes damaged ("x,y w×h"), and how many of
    // them damaged it: which widgets a keystroke repaints.
    std::map<std::string, int> keystrokeRectangles;
    long peakKb = 0;
    // The main window's size.
    int width = 0;
    int height = 0;
};

// Starts the program (its folder holds the dictionaries the plan was made
// for), waits until its main window has settled, carries the plan out and
// ends the program. The session's keyboard gets keys for the plan's letters.
// `poll` runs between steps and throws to give up.
Interactions interact(const XSession& session, const std::filesystem::path& program,
                      const InteractionPlan& plan, const std::function<void()>& poll);

// The title of tavelin-bench-stock-window's window.
inline constexpr char kStockWindowTitle[] = "Stock Qt";

// Starts a window of stock Qt widgets (`argv`, titled kStockWindowTitle),
// types the plan's beginnings of words into it as into Tavelin's search box,
// and ends it: the yardstick for Tavelin's keystrokes.
std::vector<Felt> typeInStockWindow(const XSession& session, const std::vector<std::string>& argv,
                                    const std::vector<std::string>& prefixes,
                                    const std::function<void()>& poll);

// The 1-minute load average of the machine.
double loadAverage();

} // namespace tavelin::bench
