#include "HotKey.h"

#include "SysTray.h"

#include <cstdio>

namespace tavelin::hotkey {
namespace {

struct State {
    winproc::Window window = nullptr;
    MainWindow mainWindow;
    winproc::ProcedurePtr previous;
    LookUpKey lookUp;
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
        winproc::unregisterHotKey(s.window, kLookUpId);
        s.lookUp = LookUpKey{};
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
    winproc::unregisterHotKey(window, kLookUpId);
    winproc::forgetWindow(window);
    s = State{};
}

const LookUpKey& setLookUpKey(bool on, const QString& text) {
    State& s = state();
    LookUpKey& key = s.lookUp;
    if (key.on == on && key.text == text && key.state != LookUpKey::State::NoGlobalKeys) {
        return key;
    }
    if (s.window != nullptr) {
        winproc::unregisterHotKey(s.window, kLookUpId);
    }
    key = LookUpKey{};
    key.on = on;
    key.text = text;
    const KeyText parsed = parseKeyCombination(text);
    key.key = parsed.kind == KeyText::Kind::Key ? keyName(parsed.key) : text.trimmed();
    key.why = parsed.why;
    const KeyCombination ownKeys[] = {{winproc::kModControl, kKeyF7},
                                      {winproc::kModControl, kKeyF8}};
    if (!on) {
        key.state = LookUpKey::State::Off;
    } else if (parsed.kind == KeyText::Kind::None) {
        key.state = LookUpKey::State::NoKey;
    } else if (parsed.kind == KeyText::Kind::Key &&
               (parsed.key == ownKeys[0] || parsed.key == ownKeys[1])) {
        key.state = LookUpKey::State::Bad;
        key.why = QStringLiteral("%1 is the dictionary's own key").arg(key.key);
    } else if (parsed.kind == KeyText::Kind::Bad) {
        key.state = LookUpKey::State::Bad;
    } else if (s.window == nullptr || !winproc::hotKeysAvailable()) {
        key.state = LookUpKey::State::NoGlobalKeys;
    } else if (winproc::registerHotKey(s.window, kLookUpId, parsed.key.modifiers,
                                       parsed.key.virtualKey)) {
        key.state = LookUpKey::State::Registered;
    } else {
        key.state = LookUpKey::State::Held;
        std::fprintf(stderr,
                     "Tavelin: %s is held by another program, so it does not look up the "
                     "selected text. SelectionKey in section [LookUp] of Options.ini can name "
                     "another key.\n",
                     qPrintable(key.key));
    }
    if (key.state == LookUpKey::State::Bad) {
        std::fprintf(stderr,
                     "Tavelin: SelectionKey=%s in section [LookUp] of Options.ini names no key "
                     "to look up the selected text with: %s.\n",
                     qPrintable(key.key), qPrintable(key.why));
    }
    return key;
}

const LookUpKey& lookUpKey() {
    return state().lookUp;
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
        case kLookUpId:
            if (w.lookUpSelection) {
                w.lookUpSelection();
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
