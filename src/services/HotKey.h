#pragma once

// Two system-wide keys send the dictionary to the notification area and
// bring it back, whichever program has the focus: Ctrl+F7 (identifier 0)
// and Ctrl+F8 (identifier 1). Their presses reach the main window's chain of
// procedures, where HotKeyWindowProc answers them.
//
// A third key (identifier 2, Ctrl+F9 unless Options.ini names another or
// none) looks up the text selected in any program; it comes and goes with
// its switch.

#include "KeyCombination.h"
#include "platform/WindowProc.h"

#include <QString>

#include <functional>

namespace tavelin::hotkey {

inline constexpr int kHideId = 0;
inline constexpr int kShowId = 1;
inline constexpr int kLookUpId = 2;
inline constexpr unsigned kKeyF7 = 118;
inline constexpr unsigned kKeyF8 = 119;

// What the keys do to the main window.
struct MainWindow {
    std::function<void()> mnuTray;           // hook the window, show the icon
    std::function<bool()> isVisible;         // false while sent to the notification area
    std::function<void()> hide;              // into the notification area
    std::function<void()> showNormalInFront; // normal state, in front, shown
    std::function<void()> lookUpSelection;   // brought back, the selected text looked up
};

// Registers both keys for the window (a key another program holds just never
// arrives; a desktop without global keys is mentioned once on standard
// error) and puts HotKeyWindowProc in front of the window's procedure. The
// keys stay registered while the program runs; a second call for the same
// window only takes the new actions.
void install(winproc::Window window, MainWindow mainWindow);

// The key that looks up the selection, as it stands.
struct LookUpKey {
    enum class State {
        Off,          // its switch is off
        NoKey,        // Options.ini names none
        Registered,   // it works
        Held,         // another program holds the combination
        Bad,          // the text names no key, or one of the dictionary's own
        NoGlobalKeys, // the desktop offers none (or no window is installed)
    };
    State state = State::Off;
    QString key; // the combination as this program writes it, or the text as given when bad
    QString why; // when bad: what is wrong with the text
    // What it was set from.
    bool on = false;
    QString text;
};

// Registers the key the text names for the installed window, or gives it up
// when the switch is off. A combination another program holds, or a text
// that names no key, is said on standard error; the program goes on without
// the key. Setting what is already set changes nothing.
const LookUpKey& setLookUpKey(bool on, const QString& text);
const LookUpKey& lookUpKey();

// Takes the keys back and drops the window's chain of procedures (when the
// window goes).
void uninstall(winproc::Window window);

// Answers the hot-key message with OnHotKey and 1; passes everything else on.
winproc::Result HotKeyWindowProc(winproc::Window window, unsigned message, winproc::WParam wParam,
                                 winproc::LParam lParam);

// 0: mnuTray, then hide. 1: when the window is not visible, Unhook, normal
// state, in front, shown, then mnuTray. 2: lookUpSelection. Anything else:
// nothing. A failure ends the action silently.
void OnHotKey(int identifier);

} // namespace tavelin::hotkey
