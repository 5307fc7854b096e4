#include "HotKey.h"

#include "SysTray.h"

#include <cstdio>

namespace tavelin::hotkey {
namespace {

struct State {
    winproc::Window window = nullptr;
    MainWindow mainWindow;
    winproc::ProcedurePtr previous;
};

State& state() {
    static State s;
    return s;
}

const winproc::ProcedurePtr& hotKeyProcedure() {
    static const winproc::ProcedurePtr procedure = winproc::makeProcedure(&HotKeyWindowProc);
    return procedure;
}

} // namespace

void install(winproc::Window window, MainWindow mainWindow) {
    State& s = state();
    s.mainWindow = std::move(mainWindow);
    if (s.window == window) {
        return;
    }
    if (s.window != nullptr) {
        winproc::unregisterHotKey(s.window, kHideId);
        winproc::unregisterHotKey(s.window, kShowId);
    }
    s.window = window;
    if (winproc::hotKeysAvailable()) {
        winproc::registerHotKey(window, kHideId, winproc::kModControl, kKeyF7);
        winproc::registerHotKey(window, kShowId, winproc::kModControl, kKeyF8);
    } else {
        static bool said = false;
        if (!said) {
            said = true;
            std::fprintf(stderr, "Tavelin: this desktop offers no global keys, so Ctrl+F7 and "
                                 "Ctrl+F8 do nothing.\n");
        }
    }
    s.previous = winproc::setWindowProc(window, hotKeyProcedure());
}

void uninstall(winproc::Window window) {
    State& s = state();
    if (s.window != window) {
        return;
    }
    winproc::unregisterHotKey(window, kHideId);
    winproc::unregisterHotKey(window, kShowId);
    winproc::forgetWindow(window);
    s = State{};
}

winproc::Result HotKeyWindowProc(winproc::Window window, unsigned message, winproc::WParam wParam,
                                 winproc::LParam lParam) {
    if (message == winproc::kHotKeyMessage) {
        OnHotKey(static_cast<int>(wParam));
        return 1;
    }
    return winproc::callWindowProc(state().previous, window, message, wParam, lParam);
}

void OnHotKey(int identifier) {
    // Copies: an action may replace the state while it runs.
    const MainWindow w = state().mainWindow;
    try {
        switch (identifier) {
        case kHideId:
            w.mnuTray();
            w.hide();
            break;
        case kShowId:
            if (!w.isVisible()) {
                SysTray::Unhook();
                w.showNormalInFront();
                w.mnuTray();
            }
            break;
        default:
            break;
        }
    } catch (...) {
        // The rest of the action is skipped; nothing is shown.
    }
}

} // namespace tavelin::hotkey
