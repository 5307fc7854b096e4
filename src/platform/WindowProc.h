#pragma once

// Window procedures: each window has a chain of procedures that its messages
// go through. Installing a procedure puts it in front and gives back the one
// it replaced; a procedure consumes the messages it handles and passes every
// other one on by calling the procedure it replaced. Putting that procedure
// back takes the layer out again.
//
// Events of the desktop reach a window's chain as messages: a press of a
// global hot key as kHotKeyMessage, the notification-area icon's mouse events
// as the message its owner chose (see services/SysTray.h).

#include <cstdint>
#include <functional>
#include <memory>

namespace tavelin::winproc {

// A window as the chain knows it: its address (for a Qt window, its QWidget).
// The chain only compares it, never follows it.
using Window = const void*;
using Result = std::int32_t;
using WParam = std::uintptr_t;
using LParam = std::intptr_t;

using Procedure = std::function<Result(Window, unsigned message, WParam, LParam)>;
// Procedures are shared: a layer keeps the one it replaced for as long as it
// passes messages on to it, even after that one was replaced in turn.
using ProcedurePtr = std::shared_ptr<const Procedure>;

// A global hot key was pressed; wParam is its identifier.
inline constexpr unsigned kHotKeyMessage = 786;

// Mouse codes that a notification-area message carries in lParam.
inline constexpr LParam kMouseMove = 0x200;
inline constexpr LParam kLeftButtonDown = 0x201;
inline constexpr LParam kLeftButtonUp = 0x202;
inline constexpr LParam kLeftButtonDoubleClick = 0x203;
inline constexpr LParam kRightButtonDown = 0x204;
inline constexpr LParam kRightButtonUp = 0x205;
inline constexpr LParam kMiddleButtonDown = 0x207;

ProcedurePtr makeProcedure(Procedure procedure);

// The window's own procedure, at the end of every chain: it consumes nothing
// and answers 0.
const ProcedurePtr& defaultProcedure();

// Puts a procedure in front of the window's chain and returns the one it
// replaces (the default procedure for a window that has no other). A null
// procedure puts the default procedure back.
ProcedurePtr setWindowProc(Window window, ProcedurePtr procedure);

// The procedure in front of the window's chain.
ProcedurePtr windowProc(Window window);

// Calls a procedure that a layer replaced; a null one acts as the default.
Result callWindowProc(const ProcedurePtr& procedure, Window window, unsigned message, WParam wParam,
                      LParam lParam);

// Delivers a message to the front of the window's chain now and returns its result.
Result sendMessage(Window window, unsigned message, WParam wParam, LParam lParam);

// Queues a message for the window: it goes through the chain from the event
// loop, after what is already queued. Without an application object it is
// delivered at once.
void postMessage(Window window, unsigned message, WParam wParam, LParam lParam);

// Drops the window's chain (when the window goes); messages for it then meet
// the default procedure.
void forgetWindow(Window window);

// ---- Global hot keys ----
//
// A key combination that reaches the program whichever program has the
// focus. Each press is posted to the window's chain as kHotKeyMessage with
// the identifier in wParam. Modifiers and keys are given as on Windows.

inline constexpr unsigned kModAlt = 1;
inline constexpr unsigned kModControl = 2;
inline constexpr unsigned kModShift = 4;
inline constexpr unsigned kModWin = 8;
// Virtual keys: F1 is 112 ... F24 is 135; letters and digits are their
// upper-case ASCII codes.
inline constexpr unsigned kKeyF1 = 112;

// Whether this desktop offers global keys at all.
bool hotKeysAvailable();

// Registers a combination for the window under an identifier. False when it
// cannot be had: another program holds it, or the desktop offers no global
// keys (a Wayland session without X11, the offscreen platform).
bool registerHotKey(Window window, int id, unsigned modifiers, unsigned virtualKey);

// Gives a registered combination up; nothing for one that is not registered.
void unregisterHotKey(Window window, int id);

} // namespace tavelin::winproc
