// Global hot keys on X11: the combination is grabbed on every root window,
// so the X server hands its presses to this program whichever window has the
// focus; a native event filter turns them into hot-key messages.
#include "platform/WindowProc.h"

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QGuiApplication>

#include <X11/keysym.h>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

namespace tavelin::winproc {
namespace {

// The modifier bits of a key event's state; the rest are buttons and the
// keyboard group.
constexpr std::uint16_t kModifierBits = 0xff;

struct Grab {
    Window window;
    int id;
    std::uint16_t modifiers;
    std::vector<xcb_keycode_t> keycodes;
};

// The connection of the X11 platform, or null on any other. Under the
// offscreen platform Qt still hands out an X11 interface, with no connection.
xcb_connection_t* connection() {
    if (qGuiApp == nullptr || QGuiApplication::platformName() != QLatin1String("xcb")) {
        return nullptr;
    }
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->connection() : nullptr;
}

std::vector<xcb_window_t> rootWindows(xcb_connection_t* c) {
    std::vector<xcb_window_t> roots;
    for (auto it = xcb_setup_roots_iterator(xcb_get_setup(c)); it.rem > 0; xcb_screen_next(&it)) {
        roots.push_back(it.data->root);
    }
    return roots;
}

xcb_keysym_t keysymOf(unsigned virtualKey) {
    if (virtualKey >= kKeyF1 && virtualKey < kKeyF1 + 24) {
        return XK_F1 + (virtualKey - kKeyF1);
    }
    if (virtualKey >= 'A' && virtualKey <= 'Z') {
        return XK_a + (virtualKey - 'A');
    }
    if (virtualKey >= '0' && virtualKey <= '9') {
        return XK_0 + (virtualKey - '0');
    }
    return XCB_NO_SYMBOL;
}

std::uint16_t modifiersOf(unsigned modifiers) {
    std::uint16_t mask = 0;
    if (modifiers & kModAlt) {
        mask |= XCB_MOD_MASK_1;
    }
    if (modifiers & kModControl) {
        mask |= XCB_MOD_MASK_CONTROL;
    }
    if (modifiers & kModShift) {
        mask |= XCB_MOD_MASK_SHIFT;
    }
    if (modifiers & kModWin) {
        mask |= XCB_MOD_MASK_4;
    }
    return mask;
}

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

// The modifier bit that Num Lock sets (Mod2 on most keyboards), found from
// the server's modifier map; 0 when no modifier holds Num Lock.
std::uint16_t numLockMask(xcb_connection_t* c, xcb_key_symbols_t* symbols) {
    Reply<xcb_keycode_t> numLock(xcb_key_symbols_get_keycode(symbols, XK_Num_Lock), &std::free);
    Reply<xcb_get_modifier_mapping_reply_t> map(
        xcb_get_modifier_mapping_reply(c, xcb_get_modifier_mapping(c), nullptr), &std::free);
    if (!numLock || !map) {
        return 0;
    }
    const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(map.get());
    const int perModifier = map->keycodes_per_modifier;
    for (int modifier = 0; modifier < 8; ++modifier) {
        for (int k = 0; k < perModifier; ++k) {
            const xcb_keycode_t code = codes[modifier * perModifier + k];
            for (const xcb_keycode_t* n = numLock.get(); code != 0 && *n != XCB_NO_SYMBOL; ++n) {
                if (*n == code) {
                    return static_cast<std::uint16_t>(1u << modifier);
                }
            }
        }
    }
    return 0;
}

class HotKeyFilter : public QAbstractNativeEventFilter {
public:
    std::vector<Grab> grabs;
    // Num Lock and Caps Lock: a press counts whatever their state.
    std::uint16_t lockMask = XCB_MOD_MASK_LOCK;

    std::vector<std::uint16_t> lockVariants() const {
        std::vector<std::uint16_t> variants{0, XCB_MOD_MASK_LOCK};
        const auto numLock = static_cast<std::uint16_t>(lockMask & ~XCB_MOD_MASK_LOCK);
        if (numLock != 0) {
            variants.push_back(numLock);
            variants.push_back(numLock | XCB_MOD_MASK_LOCK);
        }
        return variants;
    }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override {
        if (eventType != "xcb_generic_event_t") {
            return false;
        }
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & ~0x80) != XCB_KEY_PRESS) {
            return false;
        }
        const auto* press = reinterpret_cast<const xcb_key_press_event_t*>(event);
        const std::uint16_t state = press->state & kModifierBits & ~lockMask;
        for (const Grab& grab : grabs) {
            if (grab.modifiers == state && std::find(grab.keycodes.begin(), grab.keycodes.end(),
                                                     press->detail) != grab.keycodes.end()) {
                postMessage(grab.window, kHotKeyMessage, static_cast<WParam>(grab.id), 0);
                return true;
            }
        }
        return false;
    }
};

HotKeyFilter* filter() {
    static HotKeyFilter* instance = [] {
        auto* f = new HotKeyFilter; // lives as long as the process
        qGuiApp->installNativeEventFilter(f);
        return f;
    }();
    return instance;
}

void ungrab(xcb_connection_t* c, const Grab& grab) {
    for (xcb_window_t root : rootWindows(c)) {
        for (xcb_keycode_t code : grab.keycodes) {
            for (std::uint16_t variant : filter()->lockVariants()) {
                xcb_ungrab_key(c, code, root, grab.modifiers | variant);
            }
        }
    }
    xcb_flush(c);
}

} // namespace

bool hotKeysAvailable() {
    return connection() != nullptr;
}

bool registerHotKey(Window window, int id, unsigned modifiers, unsigned virtualKey) {
    xcb_connection_t* c = connection();
    const xcb_keysym_t keysym = keysymOf(virtualKey);
    if (c == nullptr || keysym == XCB_NO_SYMBOL) {
        return false;
    }
    unregisterHotKey(window, id);

    std::unique_ptr<xcb_key_symbols_t, decltype(&xcb_key_symbols_free)> symbols(
        xcb_key_symbols_alloc(c), &xcb_key_symbols_free);
    if (!symbols) {
        return false;
    }
    HotKeyFilter* f = filter();
    f->lockMask = XCB_MOD_MASK_LOCK | numLockMask(c, symbols.get());

    Grab grab{window, id, modifiersOf(modifiers), {}};
    Reply<xcb_keycode_t> codes(xcb_key_symbols_get_keycode(symbols.get(), keysym), &std::free);
    for (const xcb_keycode_t* n = codes.get(); n != nullptr && *n != XCB_NO_SYMBOL; ++n) {
        grab.keycodes.push_back(*n);
    }
    if (grab.keycodes.empty()) {
        return false;
    }

    // A grab that another client holds fails with BadAccess; the combination
    // without locks decides whether the key is ours.
    bool held = true;
    for (xcb_window_t root : rootWindows(c)) {
        for (xcb_keycode_t code : grab.keycodes) {
            for (std::uint16_t variant : f->lockVariants()) {
                const xcb_void_cookie_t cookie =
                    xcb_grab_key_checked(c, 1, root, grab.modifiers | variant, code,
                                         XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
                if (xcb_generic_error_t* error = xcb_request_check(c, cookie)) {
                    if (variant == 0) {
                        held = false;
                    }
                    std::free(error);
                }
            }
        }
    }
    if (!held) {
        ungrab(c, grab);
        return false;
    }
    f->grabs.push_back(std::move(grab));
    return true;
}

void unregisterHotKey(Window window, int id) {
    xcb_connection_t* c = connection();
    if (c == nullptr) {
        return;
    }
    auto& grabs = filter()->grabs;
    for (auto it = grabs.begin(); it != grabs.end();) {
        if (it->window == window && it->id == id) {
            ungrab(c, *it);
            it = grabs.erase(it);
        } else {
            ++it;
        }
    }
}

} // namespace tavelin::winproc
