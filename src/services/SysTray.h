#pragma once

// The notification-area icon and the window layer that receives its mouse
// events.
//
// The icon's events come to the window that AddIconToTray names as messages
// TrayCallbackMessage with the mouse code in lParam (winproc::kLeftButton-
// DoubleClick for a double click, winproc::kRightButtonDown for a right
// click, and so on). Hook puts WindowProc in front of that window's
// procedure: it answers a right click and a double click with the handlers
// set here and passes everything else on. Unhook takes it out again.

#include "platform/WindowProc.h"

#include <QIcon>
#include <QString>

#include <functional>

class QMenu;
class QSystemTrayIcon;
class QWidget;

namespace tavelin::SysTray {

inline constexpr unsigned TrayCallbackMessage = 5130;
// The longest tip the icon shows; a longer one is cut.
inline constexpr int MaxTipLength = 63;

// What AddIconToTray last asked for; RemoveIconFromTray takes that icon away.
struct IconRecord {
    QWidget* window = nullptr;
    QIcon icon;
    QString tip;
    unsigned callbackMessage = 0;
};

// What the window does about its icon.
struct Handlers {
    std::function<void()> SysTrayMouseEventHandler;  // a double click
    std::function<void()> SysTrayMouseEventHandler1; // a right-button press
    // The icon's menu: notification areas that only show a menu handed to
    // them (StatusNotifierItem hosts) get its commands.
    QMenu* menu = nullptr;
};
void setHandlers(Handlers handlers);

// Shows the icon with its tip; while an icon is shown a second add changes nothing.
void AddIconToTray(QWidget* window, const QIcon& icon, const QString& tip);
// Takes the icon away; nothing when there is none.
void RemoveIconFromTray();
// Puts WindowProc in front of the window's procedure, unless it is already hooked.
void Hook(winproc::Window window);
// Puts back the procedure that Hook replaced; nothing when not hooked.
void Unhook();
winproc::Result WindowProc(winproc::Window window, unsigned message, winproc::WParam wParam,
                           winproc::LParam lParam);

bool isHooked();
// The icon shown now, or null.
QSystemTrayIcon* trayIcon();
const IconRecord& iconRecord();

// Whether the desktop has a notification area to show the icon in.
bool notificationAreaAvailable();
// Whether the notification area shows the menu handed to it rather than
// passing right clicks on (a StatusNotifierItem host on the session bus).
bool hostShowsHandedMenu();
// Replace the two look-ups (for tests); an empty function restores the real one.
void setNotificationAreaProbe(std::function<bool()> probe);
void setHostMenuProbe(std::function<bool()> probe);

// A failure inside Hook, Unhook, RemoveIconFromTray or WindowProc is shown in
// a message box with one OK button, titled "Tavelin". Tests may take the
// report instead; an empty function restores the message box.
using FailureReport = std::function<void(const QString& caption, const QString& text)>;
void setFailureReport(FailureReport report);
// The text of such a report: the description, CR LF, "in
// RodaRivIzoz.SysTray.<routine> ", "at line " and the number of the statement.
QString failureText(const QString& description, const QString& routine, int line);

// The window is going: its hook and its icon go with it.
void windowGone(winproc::Window window);

} // namespace tavelin::SysTray
