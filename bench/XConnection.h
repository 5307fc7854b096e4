#pragma once

// A connection to the benchmark's X display, asking only what any X client
// may ask and doing only what a user's keyboard may do: the window manager's
// list of windows, their titles, map state, pixels and damage, and keys
// pressed through the XTEST extension.

#include <xcb/damage.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace tavelin::bench {

template <typename T> using XReply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T> XReply<T> owned(T* reply) {
    return XReply<T>(reply, &std::free);
}

// Keysyms of the keys the benchmark presses.
namespace keysym {
inline constexpr std::uint32_t kBackSpace = 0xFF08;
inline constexpr std::uint32_t kTab = 0xFF09;
inline constexpr std::uint32_t kReturn = 0xFF0D;
inline constexpr std::uint32_t kControl = 0xFFE3;
inline constexpr std::uint32_t kAlt = 0xFFE9;
// A Unicode character's keysym.
inline std::uint32_t ofUnicode(char32_t ch) {
    return ch < 0x100 ? static_cast<std::uint32_t>(ch) : 0x1000000 + static_cast<std::uint32_t>(ch);
}
} // namespace keysym

class XConnection {
public:
    using Clock = std::chrono::steady_clock;

    explicit XConnection(const std::string& display) {
        int screenNumber = 0;
        connection_ = xcb_connect(display.c_str(), &screenNumber);
        if (xcb_connection_has_error(connection_)) {
            xcb_disconnect(connection_);
            connection_ = nullptr;
            throw std::runtime_error("cannot connect to the X display " + display);
        }
        xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection_));
        for (int i = 0; i < screenNumber; ++i) {
            xcb_screen_next(&screens);
        }
        root_ = screens.data->root;
        screenWidth_ = screens.data->width_in_pixels;
        screenHeight_ = screens.data->height_in_pixels;
        screenNumber_ = screenNumber;
    }
    ~XConnection() {
        if (connection_ != nullptr) {
            xcb_disconnect(connection_);
        }
    }
    XConnection(const XConnection&) = delete;
    XConnection& operator=(const XConnection&) = delete;

    xcb_connection_t* raw() const { return connection_; }
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
        auto reply = propertyOf(window, property, type);
        std::vector<std::uint32_t> values;
        if (reply && reply->format == 32) {
            const auto* data =
                static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
            values.assign(data, data + xcb_get_property_value_length(reply.get()) / 4);
        }
        return values;
    }
    std::string text(xcb_window_t window, xcb_atom_t property, xcb_atom_t type) {
        auto reply = propertyOf(window, property, type);
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

    xcb_window_t inputFocus() {
        auto reply = owned(
            xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
        return reply ? reply->focus : xcb_window_t{XCB_WINDOW_NONE};
    }

    // The window's size; nothing when it is gone.
    std::optional<std::pair<int, int>> size(xcb_window_t window) {
        auto geometry = owned(
            xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window), nullptr));
        if (!geometry) {
            return std::nullopt;
        }
        return std::pair<int, int>{geometry->width, geometry->height};
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

    // ---- Keys ----------------------------------------------------------------

    // The key that types the keysym without a modifier; 0 when none does.
    std::uint8_t keycodeOf(std::uint32_t keysym) {
        loadKeyboardMap();
        for (std::size_t i = 0; i * perKeycode_ < keysyms_.size(); ++i) {
            if (keysyms_[i * perKeycode_] == keysym) {
                return static_cast<std::uint8_t>(firstKeycode_ + i);
            }
        }
        return 0;
    }

    // Gives each keysym no key types yet a key of its own: a key that types
    // nothing, or else one of the multimedia keys no benchmark presses. Done
    // before the program under test starts: a program reads the keyboard map
    // again when it changes.
    void addKeys(const std::vector<std::uint32_t>& keysyms) {
        loadKeyboardMap();
        std::vector<std::size_t> spare;
        for (std::size_t i = 0; i * perKeycode_ < keysyms_.size(); ++i) {
            const auto row = keysyms_.begin() + static_cast<long>(i * perKeycode_);
            if (firstKeycode_ + i >= 9 && std::all_of(row, row + static_cast<long>(perKeycode_),
                                                      [](std::uint32_t k) { return k == 0; })) {
                spare.push_back(i);
            }
        }
        for (std::size_t i = keysyms_.size() / perKeycode_; i-- > 0;) {
            const std::uint32_t first = keysyms_[i * perKeycode_];
            if (first >= 0x1008FF00 && first <= 0x1008FFFF) {
                spare.push_back(i); // XF86 multimedia keysyms
            }
        }
        std::size_t next = 0;
        for (std::uint32_t wanted : keysyms) {
            if (keycodeOf(wanted) != 0) {
                continue;
            }
            if (next == spare.size()) {
                throw std::runtime_error("the keyboard has no key left for the letters to type");
            }
            const std::size_t free = spare[next++];
            std::vector<std::uint32_t> row(perKeycode_, 0);
            row[0] = wanted;
            if (perKeycode_ > 1) {
                row[1] = wanted;
            }
            const auto keycode = static_cast<std::uint8_t>(firstKeycode_ + free);
            checked(xcb_change_keyboard_mapping_checked(connection_, 1, keycode,
                                                        static_cast<std::uint8_t>(perKeycode_),
                                                        row.data()),
                    "cannot give a letter a key of its own");
            std::copy(row.begin(), row.end(),
                      keysyms_.begin() + static_cast<long>(free * perKeycode_));
        }
    }

    // Keys held down repeat after a while; a keystroke timed under a busy
    // machine could be held that long.
    void stopKeyRepeat() {
        const std::uint32_t off = XCB_AUTO_REPEAT_MODE_OFF;
        checked(xcb_change_keyboard_control_checked(connection_, XCB_KB_AUTO_REPEAT_MODE, &off),
                "cannot turn key repeat off");
    }

    // Presses or releases a key, as the keyboard would; sent at once.
    void key(std::uint8_t keycode, bool press) {
        xcb_test_fake_input(connection_, press ? XCB_KEY_PRESS : XCB_KEY_RELEASE, keycode,
                            XCB_CURRENT_TIME, XCB_WINDOW_NONE, 0, 0, 0);
        xcb_flush(connection_);
    }

    void movePointer(int x, int y) {
        xcb_test_fake_input(connection_, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, root_,
                            static_cast<std::int16_t>(x), static_cast<std::int16_t>(y), 0);
        xcb_flush(connection_);
    }
    int screenWidth() const { return screenWidth_; }
    int screenHeight() const { return screenHeight_; }

    // Waits until the server has handled every request sent so far.
    void sync() {
        std::free(
            xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    }

    // ---- Events ----------------------------------------------------------------

    // Reports every change of the window's pixels as a DamageNotify event
    // with its rectangle.
    void watchDamage(xcb_window_t window) {
        if (!damageReady_) {
            const xcb_query_extension_reply_t* damage =
                xcb_get_extension_data(connection_, &xcb_damage_id);
            const xcb_query_extension_reply_t* test =
                xcb_get_extension_data(connection_, &xcb_test_id);
            if (damage == nullptr || !damage->present || test == nullptr || !test->present) {
                throw std::runtime_error("the X server lacks the DAMAGE or the XTEST extension");
            }
            damageEvent_ = damage->first_event + XCB_DAMAGE_NOTIFY;
            std::free(xcb_damage_query_version_reply(
                connection_,
                xcb_damage_query_version(connection_, XCB_DAMAGE_MAJOR_VERSION,
                                         XCB_DAMAGE_MINOR_VERSION),
                nullptr));
            std::free(xcb_test_get_version_reply(connection_,
                                                 xcb_test_get_version(connection_, 2, 2), nullptr));
            damageReady_ = true;
        }
        const xcb_damage_damage_t damage = xcb_generate_id(connection_);
        checked(xcb_damage_create_checked(connection_, damage, window,
                                          XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES),
                "cannot watch the window's damage");
    }

    // Asks for the window's map and unmap events.
    void watchStructure(xcb_window_t window) {
        const std::uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        checked(xcb_change_window_attributes_checked(connection_, window, XCB_CW_EVENT_MASK, &mask),
                "cannot watch a window");
    }

    std::uint8_t damageEvent() const { return damageEvent_; }

    struct Event {
        // Freed with the event.
        XReply<xcb_generic_event_t> event{nullptr, &std::free};
        Clock::time_point arrived;
        std::uint8_t type() const { return event->response_type & 0x7F; }
    };

    // The next event, waiting until the deadline at the latest; nothing then.
    std::optional<Event> nextEvent(Clock::time_point deadline) {
        for (;;) {
            if (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
                return Event{owned(event), Clock::now()};
            }
            if (xcb_connection_has_error(connection_)) {
                throw std::runtime_error("the X connection broke");
            }
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0) {
                return std::nullopt;
            }
            pollfd fd{xcb_get_file_descriptor(connection_), POLLIN, 0};
            ::poll(&fd, 1, static_cast<int>(std::min<long>(left.count() + 1, 1000)));
        }
    }

private:
    XReply<xcb_get_property_reply_t> propertyOf(xcb_window_t window, xcb_atom_t name,
                                                xcb_atom_t type) {
        return owned(xcb_get_property_reply(
            connection_, xcb_get_property(connection_, 0, window, name, type, 0, 4096), nullptr));
    }

    void checked(xcb_void_cookie_t cookie, const char* what) {
        if (xcb_generic_error_t* error = xcb_request_check(connection_, cookie)) {
            std::free(error);
            throw std::runtime_error(what);
        }
    }

    void loadKeyboardMap() {
        if (!keysyms_.empty()) {
            return;
        }
        const xcb_setup_t* setup = xcb_get_setup(connection_);
        firstKeycode_ = setup->min_keycode;
        const auto count = static_cast<std::uint8_t>(setup->max_keycode - setup->min_keycode + 1);
        auto reply = owned(xcb_get_keyboard_mapping_reply(
            connection_, xcb_get_keyboard_mapping(connection_, firstKeycode_, count), nullptr));
        if (!reply) {
            throw std::runtime_error("cannot read the keyboard map");
        }
        perKeycode_ = reply->keysyms_per_keycode;
        const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(reply.get());
        keysyms_.assign(keysyms, keysyms + xcb_get_keyboard_mapping_keysyms_length(reply.get()));
    }

    xcb_connection_t* connection_ = nullptr;
    xcb_window_t root_ = XCB_WINDOW_NONE;
    int screenWidth_ = 0;
    int screenHeight_ = 0;
    int screenNumber_ = 0;
    bool damageReady_ = false;
    std::uint8_t damageEvent_ = 0;
    std::uint8_t firstKeycode_ = 0;
    std::size_t perKeycode_ = 1;
    std::vector<std::uint32_t> keysyms_;
};

} // namespace tavelin::bench
