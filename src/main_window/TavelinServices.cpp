// The main window's resize handler, notification-area icon and hot keys.
#include "Tavelin.h"

#include "platform/WindowProc.h"
#include "services/HotKey.h"
#include "services/Resize.h"
#include "services/SysTray.h"
#include "widgets/TabControl.h"

#include <QAction>
#include <QCursor>
#include <QEvent>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

namespace tavelin {
namespace {

const QString kTitle = QStringLiteral("Tavelin");

// Runs the resize handler whenever the client area changes size and
// whenever the window is minimised, maximised or restored.
class ResizeWatcher : public QObject {
public:
    explicit ResizeWatcher(Tavelin* window)
        : QObject(window), window_(window), windowObject_(window), clientArea_(window->clientArea) {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // Compared as plain objects: events still arrive while the window is
        // being destroyed, when it is no longer a Tavelin.
        if ((watched == clientArea_ && event->type() == QEvent::Resize) ||
            (watched == windowObject_ && event->type() == QEvent::WindowStateChange)) {
            window_->Form_Resize();
        }
        return false;
    }

private:
    Tavelin* window_;
    const QObject* windowObject_;
    const QObject* clientArea_;
};

void showNormalInFront(Tavelin& window);

// Brings back a window hidden behind its icon when the notification area
// goes away (its host ended): there would be nothing left to restore it from.
class TrayHostWatch : public QTimer {
public:
    explicit TrayHostWatch(Tavelin& window) : QTimer(&window), window_(window) {
        setObjectName(QStringLiteral("TrayHostWatch"));
        setInterval(500);
        connect(this, &QTimer::timeout, this, [this] { look(); });
    }

    static TrayHostWatch& of(Tavelin& window) {
        auto* found = window.findChild<TrayHostWatch*>(QStringLiteral("TrayHostWatch"),
                                                       Qt::FindDirectChildrenOnly);
        return found != nullptr ? *found : *new TrayHostWatch(window);
    }

private:
    void look() {
        if (window_.isVisible()) {
            stop();
        } else if (!SysTray::notificationAreaAvailable()) {
            stop();
            std::fprintf(stderr, "Tavelin: the notification area went away; the dictionary "
                                 "is shown again.\n");
            showNormalInFront(window_);
        }
    }

    Tavelin& window_;
};

// Sends the window behind its notification-area icon. Where the desktop has
// no notification area there would be no icon to bring it back from, so it
// stays minimised in the task bar instead.
void sendToTray(Tavelin& window) {
    if (SysTray::notificationAreaAvailable()) {
        window.hide();
        TrayHostWatch::of(window).start();
        return;
    }
    static bool said = false;
    if (!said) {
        said = true;
        std::fprintf(stderr, "Tavelin: the desktop has no notification area; the minimised "
                             "dictionary stays in the task bar.\n");
    }
    if (!window.isMinimized()) {
        window.showMinimized();
    }
}

// Whether the window is sent away: hidden, or minimised for want of a
// notification area.
bool isAway(const Tavelin& window) {
    return !window.isVisible() || (window.isMinimized() && !SysTray::notificationAreaAvailable());
}

void showNormalInFront(Tavelin& window) {
    window.setWindowState(Qt::WindowNoState);
    window.show();
    window.raise();
    window.activateWindow();
    window.focusSearchBox();
}

// Brings the window back as Ctrl+F8 does, or in front when it is on show
// (a maximised window stays so), and looks up the selected text in it.
void lookUpSelectionInFront(Tavelin& window) {
    if (isAway(window)) {
        window.mnutavelin_Click();
    } else {
        window.raise();
        window.activateWindow();
    }
    window.lookUpSelection();
}

// The key that looks up the selection follows its switch and its name.
void applyLookUpKey(const Tavelin& window) {
    hotkey::setLookUpKey(window.lookUpAids().selectionLookUp, window.lookUpAids().selectionKey);
}

// Joins the window to the services once: its resize handler, its icon's
// handlers and menu, and the farewell when it goes.
void attach(Tavelin& window) {
    static QPointer<Tavelin> attached;
    if (attached == &window) {
        return;
    }
    attached = &window;
    auto* watcher = new ResizeWatcher(&window);
    window.installEventFilter(watcher);
    window.clientArea->installEventFilter(watcher);
    SysTray::setHandlers({[&window] { window.SysTrayMouseEventHandler(); },
                          [&window] { window.SysTrayMouseEventHandler1(); }, window.mApps});
    // The icon menu's "&About" does what the Help menu's does.
    QObject::connect(window.mnuabout1, &QAction::triggered, &window, &Tavelin::mnuabout_Click);
    QObject::connect(&window, &Tavelin::lookUpAidsChanged, &window,
                     [&window] { applyLookUpKey(window); });
    const winproc::Window id = &window;
    QObject::connect(&window, &QObject::destroyed, [id] {
        hotkey::uninstall(id);
        SysTray::windowGone(id);
    });
}

} // namespace

void Tavelin::Form_Resize() {
    QWidget* const controls[] = {Text1, Text2,    Text3,    list1,    list2,   Text4,
                                 Text5, Text6,    List3,    List4,    Text7,   Text8,
                                 tab1,  Command1, Command2, Command3, Command4};
    for (QWidget* control : controls) {
        Resize::ScaleControl(control, this);
    }
    if (isMinimized()) {
        mnuTray();
        sendToTray(*this);
    } else {
        mnuTray();
    }
}

void Tavelin::mnuTray() {
    SysTray::Hook(this);
    SysTray::AddIconToTray(this, windowIcon(), kTitle);
}

void Tavelin::SysTrayMouseEventHandler() {
    mnutavelin_Click();
}

void Tavelin::SysTrayMouseEventHandler1() {
    activateWindow();
    mApps->exec(QCursor::pos());
}

void Tavelin::mnutavelin_Click() {
    if (!isAway(*this)) {
        return;
    }
    SysTray::Unhook();
    showNormalInFront(*this);
    // Shown again without a change of state, no resize puts the icon's layer
    // back; the icon's menu must answer all the same.
    mnuTray();
}

void Tavelin::installHotKeys() {
    attach(*this);
    hotkey::install(this, {[this] { mnuTray(); }, [this] { return !isAway(*this); },
                           [this] { sendToTray(*this); }, [this] { showNormalInFront(*this); },
                           [this] { lookUpSelectionInFront(*this); }});
    applyLookUpKey(*this);
}

void Tavelin::removeTrayIcon() {
    SysTray::RemoveIconFromTray();
}

} // namespace tavelin
