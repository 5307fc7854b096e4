#include "SysTray.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QWidget>

#include <cstdio>
#include <exception>

namespace tavelin::SysTray {
namespace {

const QString kTitle = QStringLiteral("Tavelin");

struct State {
    IconRecord record;
    QPointer<QSystemTrayIcon> icon;
    QPointer<QMenu> hostMenu;
    bool hooked = false;
    winproc::Window hookedWindow = nullptr;
    winproc::ProcedurePtr previous;
    Handlers handlers;
    std::function<bool()> areaProbe;
    std::function<bool()> hostMenuProbe;
    FailureReport report;
};

State& state() {
    static State s;
    return s;
}

const winproc::ProcedurePtr& windowProcedure() {
    static const winproc::ProcedurePtr procedure = winproc::makeProcedure(&WindowProc);
    return procedure;
}

void reportFailure(const QString& routine, int line, const QString& description) {
    const QString text = failureText(description, routine, line);
    std::fprintf(stderr, "%s: %s\n", qPrintable(kTitle),
                 qPrintable(QString(text).replace(QLatin1String("\r\n"), QLatin1String(" "))));
    if (state().report) {
        state().report(kTitle, text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, kTitle, text, QMessageBox::Ok);
    box.exec();
}

// Runs one statement of a routine; a failure is reported with the
// statement's number and the routine goes on with the next one.
template <typename Statement> bool run(const char* routine, int line, Statement statement) {
    try {
        statement();
        return true;
    } catch (const std::exception& e) {
        reportFailure(QString::fromLatin1(routine), line, QString::fromLocal8Bit(e.what()));
    } catch (...) {
        reportFailure(QString::fromLatin1(routine), line, QStringLiteral("Unknown error"));
    }
    return false;
}

winproc::LParam mouseCode(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
    case QSystemTrayIcon::Context:
        return winproc::kRightButtonDown;
    case QSystemTrayIcon::DoubleClick:
        return winproc::kLeftButtonDoubleClick;
    case QSystemTrayIcon::Trigger:
        return winproc::kLeftButtonDown;
    case QSystemTrayIcon::MiddleClick:
        return winproc::kMiddleButtonDown;
    default:
        return winproc::kMouseMove;
    }
}

bool statusNotifierHostRegistered() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    const QString watcher = QStringLiteral("org.kde.StatusNotifierWatcher");
    if (!bus.isConnected() || bus.interface() == nullptr ||
        !bus.interface()->isServiceRegistered(watcher)) {
        return false;
    }
    QDBusInterface iface(watcher, QStringLiteral("/StatusNotifierWatcher"), watcher, bus);
    return iface.property("IsStatusNotifierHostRegistered").toBool();
}

} // namespace

QString failureText(const QString& description, const QString& routine, int line) {
    return description + QLatin1String("\r\n") + QLatin1String("in RodaRivIzoz.SysTray.") +
           routine + QLatin1Char(' ') + QLatin1String("at line ") + QString::number(line);
}

void setHandlers(Handlers handlers) {
    state().handlers = std::move(handlers);
}

void setFailureReport(FailureReport report) {
    state().report = std::move(report);
}

void setNotificationAreaProbe(std::function<bool()> probe) {
    state().areaProbe = std::move(probe);
}

void setHostMenuProbe(std::function<bool()> probe) {
    state().hostMenuProbe = std::move(probe);
}

bool notificationAreaAvailable() {
    return state().areaProbe ? state().areaProbe() : QSystemTrayIcon::isSystemTrayAvailable();
}

bool hostShowsHandedMenu() {
    return state().hostMenuProbe ? state().hostMenuProbe() : statusNotifierHostRegistered();
}

void AddIconToTray(QWidget* window, const QIcon& icon, const QString& tip) {
    State& s = state();
    s.record = {window, icon, tip.left(MaxTipLength), TrayCallbackMessage};
    if (s.icon) {
        return; // the area has this program's icon already
    }
    auto* trayIcon = new QSystemTrayIcon(icon, window);
    trayIcon->setToolTip(s.record.tip);
    const winproc::Window target = window;
    const unsigned message = s.record.callbackMessage;
    QObject::connect(trayIcon, &QSystemTrayIcon::activated, trayIcon,
                     [target, message](QSystemTrayIcon::ActivationReason reason) {
                         winproc::postMessage(target, message, 0, mouseCode(reason));
                     });
    if (s.handlers.menu != nullptr && hostShowsHandedMenu()) {
        // A copy of the menu: the host shows it itself, the window's own menu
        // stays the window's.
        auto* hostMenu = new QMenu(window);
        hostMenu->addActions(s.handlers.menu->actions());
        trayIcon->setContextMenu(hostMenu);
        s.hostMenu = hostMenu;
    }
    s.icon = trayIcon;
    trayIcon->show();
}

void RemoveIconFromTray() {
    State& s = state();
    run("RemoveIconFromTray", 1, [&] {
        if (QSystemTrayIcon* icon = s.icon) {
            s.icon = nullptr;
            icon->hide();
            icon->deleteLater();
        }
        if (QMenu* menu = s.hostMenu) {
            s.hostMenu = nullptr;
            menu->deleteLater();
        }
    });
}

void Hook(winproc::Window window) {
    State& s = state();
    if (s.hooked) {
        return;
    }
    run("Hook", 1, [&] { s.hookedWindow = window; });
    run("Hook", 2, [&] { s.previous = winproc::setWindowProc(window, windowProcedure()); });
    s.hooked = true;
}

void Unhook() {
    State& s = state();
    if (!s.hooked) {
        return;
    }
    run("Unhook", 1, [&] { winproc::setWindowProc(s.hookedWindow, s.previous); });
    s.hooked = false;
}

winproc::Result WindowProc(winproc::Window window, unsigned message, winproc::WParam wParam,
                           winproc::LParam lParam) {
    State& s = state();
    int line = 0;
    try {
        if (message == TrayCallbackMessage && lParam == winproc::kRightButtonDown) {
            line = 1;
            if (s.handlers.SysTrayMouseEventHandler1) {
                s.handlers.SysTrayMouseEventHandler1();
            }
            return -1;
        }
        if (message == TrayCallbackMessage && lParam == winproc::kLeftButtonDoubleClick) {
            line = 2;
            if (s.handlers.SysTrayMouseEventHandler) {
                s.handlers.SysTrayMouseEventHandler();
            }
            return -1;
        }
        line = 3;
        // The layer may have been taken out while this message was on its
        // way; it still passes it on to the procedure it replaced.
        const winproc::ProcedurePtr previous = s.previous;
        return winproc::callWindowProc(previous, window, message, wParam, lParam);
    } catch (const std::exception& e) {
        reportFailure(QStringLiteral("WindowProc"), line, QString::fromLocal8Bit(e.what()));
    } catch (...) {
        reportFailure(QStringLiteral("WindowProc"), line, QStringLiteral("Unknown error"));
    }
    return 0;
}

bool isHooked() {
    return state().hooked;
}

QSystemTrayIcon* trayIcon() {
    return state().icon;
}

const IconRecord& iconRecord() {
    return state().record;
}

void windowGone(winproc::Window window) {
    State& s = state();
    if (s.hookedWindow == window) {
        s.hooked = false;
        s.hookedWindow = nullptr;
        s.previous = nullptr;
    }
    if (s.record.window == window) {
        if (QSystemTrayIcon* icon = s.icon) {
            icon->hide();
        }
        s.icon = nullptr;
        s.hostMenu = nullptr;
        s.record = {};
        s.handlers = {};
    }
    winproc::forgetWindow(window);
}

} // namespace tavelin::SysTray
