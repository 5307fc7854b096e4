// The main window's resize handler, notification-area icon and hot keys, the
// About box and the help window, on the offscreen platform. The icon's
// events are given as the tray would give them; hot keys as their messages.
#include "main_window/Tavelin.h"
#include "platform/Twips.h"
#include "platform/WindowProc.h"
#include "services/HotKey.h"
#include "services/Resize.h"
#include "services/SysTray.h"
#include "services/frmAbout.h"
#include "support/QtTestMain.h"
#include "widgets/TabControl.h"

#include <QDesktopServices>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTimer>

#include <functional>

using namespace tavelin;

namespace {

// Runs a check on the window that opens next (a pop-up menu or a modal
// box) once it is up; the check closes it.
void whenOpen(std::function<QWidget*()> find, std::function<void(QWidget*)> check) {
    auto* timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, find, check] {
        if (QWidget* window = find(); window != nullptr && window->isVisible()) {
            timer->stop();
            timer->deleteLater();
            check(window);
        }
    });
    timer->start();
}

QStringList actionTexts(const QWidget* menu) {
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        texts << action->text();
    }
    return texts;
}

} // namespace

class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};

class ServicesGuiTest : public QObject {
    Q_OBJECT

    Tavelin* w = nullptr;
    bool areaAvailable = true;
    bool hostMenu = false;
    QStringList failures;

    QSystemTrayIcon* icon() const { return SysTray::trayIcon(); }
    // Icons on show; a removed one is hidden at once and deleted later.
    int iconCount() const {
        int count = 0;
        for (const QSystemTrayIcon* i : w->findChildren<QSystemTrayIcon*>()) {
            count += i->isVisible() ? 1 : 0;
        }
        return count;
    }

    void sendTrayClick(QSystemTrayIcon::ActivationReason reason) {
        QVERIFY(icon() != nullptr);
        emit icon()->activated(reason);
        QCoreApplication::processEvents(); // the icon's message is posted to the window
    }

    void sendHotKey(int id) {
        winproc::postMessage(w, winproc::kHotKeyMessage, static_cast<winproc::WParam>(id), 0);
        QCoreApplication::processEvents();
    }

    void resizeClientTo(int width, int height) {
        w->resize(width, w->height() - w->clientArea->height() + height);
        QTRY_COMPARE(w->clientArea->size(), QSize(width, height));
    }

private slots:
    void initTestCase() {
        SysTray::setNotificationAreaProbe([this] { return areaAvailable; });
        SysTray::setHostMenuProbe([this] { return hostMenu; });
        SysTray::setFailureReport(
            [this](const QString&, const QString& text) { failures << text; });
        w = &Tavelin::instance();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
    }

    void init() {
        if (!w->isVisible() || w->windowState() != Qt::WindowNoState) {
            w->mnutavelin_Click();
            w->setWindowState(Qt::WindowNoState);
        }
        areaAvailable = true;
        hostMenu = false;
        failures.clear();
    }

    void cleanup() { QVERIFY(failures.isEmpty()); }

    void cleanupTestCase() { delete w; }

    // ---- Resize ----

    void theSnapshotIsTheDesignedWindowTakenWhileItLoaded() {
        const auto& forms = Resize::engine().FormGeometry();
        QCOMPARE(forms.size(), std::size_t{1});
        QCOMPARE(forms[0].FormName, std::string("Tavelin"));
        QCOMPARE(forms[0].BaseScaleWidth, 6435);
        QVERIFY2(std::abs(forms[0].BaseScaleHeight - 6495) <= 30,
                 qPrintable(QString::number(forms[0].BaseScaleHeight)));
        // Every named control was recorded, the inactive page's unparked.
        const auto& controls = Resize::engine().ControlGeometry();
        auto entry = [&](const char* name) {
            for (const auto& c : controls) {
                if (c.ControlName == name) {
                    return c;
                }
            }
            return Resize::ControlEntry{};
        };
        QCOMPARE(entry("list1").BaseWidth, 2460);
        QCOMPARE(entry("Text5").BaseLeft, 75);
        QCOMPARE(entry("List3").BaseLeft, 2625); // 2620 twips are 174.7 pixels, taken as 175
        QCOMPARE(entry("tab1").BaseHeight, 5565);
    }

    void doublingTheWindowDoublesEveryControl() {
        const Resize::FormEntry base = Resize::engine().FormGeometry().at(0);
        const QSize design(twips::toPixels(base.BaseScaleWidth),
                           twips::toPixels(base.BaseScaleHeight));
        resizeClientTo(design.width() * 2, design.height() * 2);
        QCOMPARE(twips::geometry(w->list1), QRect(150, 2640, 4920, 7350));
        QCOMPARE(twips::geometry(w->Text2), QRect(5250, 1680, 7470, 870));
        QCOMPARE(twips::geometry(w->tab1), QRect(0, 1050, 12900, 11130)); // 520 twips are 35 pixels
        QCOMPARE(twips::geometry(w->Command4), QRect(11760 - 75000, 10110, 990, 810));
        // The other page's controls stayed parked, at their doubled places.
        w->tab1->setCurrentPage(1);
        QCOMPARE(twips::geometry(w->Text5), QRect(150, 1680, 4920, 870));
        QCOMPARE(twips::geometry(w->List4).x(), 150);
        QCOMPARE(twips::geometry(w->list1).x(), 150 - 75000);
        w->tab1->setCurrentPage(0);

        // One pixel below the design width is a whole percent less.
        resizeClientTo(design.width() - 1, design.height());
        QCOMPARE(twips::geometry(w->list2).width(), 3735 * 99 / 100 / 15 * 15);
        resizeClientTo(design.width(), design.height());
        QCOMPARE(twips::geometry(w->list1), QRect(75, 1320, 2460, 3675));
        QCOMPARE(twips::geometry(w->Text2), QRect(2625, 840, 3735, 435));
        QCOMPARE(twips::geometry(w->Command4), QRect(5880 - 75000, 5055, 495, 405));
        // Fonts are not scaled.
        QCOMPARE(w->list1->font().pointSizeF(), 9.75);
    }

    // ---- The notification-area icon ----

    void theIconHasTheWindowIconAndTheTitleAsTip() {
        QVERIFY(icon() != nullptr);
        QVERIFY(icon()->isVisible());
        QCOMPARE(icon()->toolTip(), QString("Tavelin"));
        QCOMPARE(icon()->icon().cacheKey(), w->windowIcon().cacheKey());
        QVERIFY(SysTray::isHooked());
        // Nothing is handed to the area when it passes the clicks on.
        QVERIFY(icon()->contextMenu() == nullptr);
        // A long tip is cut to 63 characters.
        SysTray::RemoveIconFromTray();
        SysTray::AddIconToTray(w, w->windowIcon(), QString(70, 'x'));
        QCOMPARE(icon()->toolTip(), QString(63, 'x'));
        SysTray::RemoveIconFromTray();
        w->mnuTray();
        QCOMPARE(icon()->toolTip(), QString("Tavelin"));
    }

    void minimisingHidesTheWindowAndADoubleClickBringsItBack() {
        w->setWindowState(Qt::WindowMinimized);
        QVERIFY(!w->isVisible());
        QCOMPARE(iconCount(), 1);
        QVERIFY(icon()->isVisible());

        // Single clicks do nothing.
        sendTrayClick(QSystemTrayIcon::Trigger);
        sendTrayClick(QSystemTrayIcon::MiddleClick);
        QVERIFY(!w->isVisible());

        sendTrayClick(QSystemTrayIcon::DoubleClick);
        QVERIFY(w->isVisible());
        QCOMPARE(w->windowState(), Qt::WindowNoState);
        QVERIFY(SysTray::isHooked()); // hooked again by the resize that the restore brings
        QCOMPARE(iconCount(), 1);

        // On a shown window a double click does nothing: a maximised one stays so.
        w->showMaximized();
        sendTrayClick(QSystemTrayIcon::DoubleClick);
        QVERIFY(w->isMaximized());
    }

    void repeatedResizesNeverMakeASecondIconOrHook() {
        for (int i = 0; i < 3; ++i) {
            w->Form_Resize();
            w->showMaximized();
            w->showNormal();
        }
        QCOMPARE(iconCount(), 1);
        // One layer of the icon: after one Unhook a double click goes unanswered.
        w->hide();
        SysTray::Unhook();
        sendTrayClick(QSystemTrayIcon::DoubleClick);
        QVERIFY(!w->isVisible());
    }

    void aRightClickPopsUpTheMenuVisibleOrHidden() {
        for (bool visible : {true, false}) {
            w->setVisible(visible);
            QStringList shown;
            whenOpen([] { return QApplication::activePopupWidget(); },
                     [&](QWidget* menu) {
                         shown = actionTexts(menu);
                         menu->close();
                     });
            sendTrayClick(QSystemTrayIcon::Context);
            QCOMPARE(shown, (QStringList{"&About", "&Show Dictionary"}));
            QCOMPARE(w->isVisible(), visible);
        }
    }

    void showDictionaryFromTheMenuRestoresAHiddenWindow() {
        w->setWindowState(Qt::WindowMinimized);
        QVERIFY(!w->isVisible());
        whenOpen([] { return QApplication::activePopupWidget(); },
                 [&](QWidget* menu) {
                     static_cast<QMenu*>(menu)->setActiveAction(w->mnutavelin);
                     QTest::keyClick(menu, Qt::Key_Return);
                 });
        sendTrayClick(QSystemTrayIcon::Context);
        QVERIFY(w->isVisible());
        QCOMPARE(w->windowState(), Qt::WindowNoState);
        // Shown, the command does nothing: a maximised window stays so.
        w->showMaximized();
        w->mnutavelin->trigger();
        QVERIFY(w->isMaximized());
    }

    void aHostThatShowsAHandedMenuGetsTheMenuCommands() {
        hostMenu = true;
        SysTray::RemoveIconFromTray();
        w->mnuTray();
        QMenu* handed = icon()->contextMenu();
        QVERIFY(handed != nullptr);
        QVERIFY(handed != w->mApps);
        QCOMPARE(handed->actions(), (QList<QAction*>{w->mnuabout1, w->mnutavelin}));
        QCOMPARE(w->mApps->actions(), (QList<QAction*>{w->mnuabout1, w->mnutavelin}));

        sendHotKey(hotkey::kHideId);
        QVERIFY(!w->isVisible());
        handed->actions().at(1)->trigger(); // the host reports the choice
        QVERIFY(w->isVisible());

        hostMenu = false;
        SysTray::RemoveIconFromTray();
        w->mnuTray();
        QVERIFY(icon()->contextMenu() == nullptr);
    }

    void removingTheIconTwiceIsHarmlessAndTheNextResizeAddsItAgain() {
        w->removeTrayIcon();
        QVERIFY(icon() == nullptr);
        w->removeTrayIcon();
        QVERIFY(icon() == nullptr);
        w->Form_Resize();
        QVERIFY(icon() != nullptr);
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(iconCount(), 1);
    }

    // ---- Hot keys ----

    void ctrlF7HidesAndCtrlF8BringsBack() {
        w->showMaximized();
        sendHotKey(hotkey::kHideId);
        QVERIFY(!w->isVisible());
        sendHotKey(hotkey::kHideId);
        QVERIFY(!w->isVisible());
        QCOMPARE(iconCount(), 1);

        sendHotKey(hotkey::kShowId);
        QVERIFY(w->isVisible());
        QCOMPARE(w->windowState(), Qt::WindowNoState);
        QVERIFY(SysTray::isHooked());

        // Visible (here maximised), Ctrl+F8 changes nothing.
        w->showMaximized();
        sendHotKey(hotkey::kShowId);
        QVERIFY(w->isMaximized());
        sendHotKey(7);
        QVERIFY(w->isVisible());
    }

    void withoutANotificationAreaTheWindowStaysReachable() {
        areaAvailable = false;
        w->setWindowState(Qt::WindowMinimized);
        QVERIFY(w->isVisible());
        QVERIFY(w->isMinimized());
        w->showNormal();
        sendHotKey(hotkey::kHideId);
        QVERIFY(w->isVisible());
        QVERIFY(w->isMinimized());
        sendHotKey(hotkey::kShowId);
        QVERIFY(w->isVisible());
        QCOMPARE(w->windowState(), Qt::WindowNoState);
    }

    // ---- About box ----

    void theAboutBoxStartsFreshWithItsTextsAndPictures() {
        frmAbout box;
        QCOMPARE(box.windowTitle(), QString("About MyApp"));
        QCOMPARE(box.size(), QSize(381, 246));
        QVERIFY(!box.picScroll->isVisibleTo(&box));
        QVERIFY(!box.tmrScroll->isActive());
        QCOMPARE(box.tmrScroll->interval(), 100);
        QCOMPARE(box.cmdCredits->text(), QString("&Scroll About"));
        QCOMPARE(box.cmdOK->text(), QString("Close"));
        QVERIFY(box.cmdOK->isDefault());
        QCOMPARE(box.Label1->text(), QString("E - Mail:  ") + frmAbout::kEmail);
        QCOMPARE(box.Label2->text(), frmAbout::kWebShown);
        QCOMPARE(box.Label1->cursor().shape(), Qt::PointingHandCursor);
        // The pictures are made from the program's resources.
        QCOMPARE(box.Image1->pixmap().size(), QSize(128, 210));
        QCOMPARE(box.Image2->pixmap().size(), QSize(208, 70));
        // The captions fit their buttons.
        for (QPushButton* button : {box.cmdCredits, box.cmdOK}) {
            const int textWidth =
                button->fontMetrics().horizontalAdvance(QString(button->text()).remove('&'));
            QVERIFY2(textWidth + 8 <= button->width(), qPrintable(button->text()));
        }
    }

    void theCreditsScrollStopAndGoOnFromWhereTheyStopped() {
        frmAbout box;
        box.show();
        QTest::mouseClick(box.cmdCredits, Qt::LeftButton);
        QCOMPARE(box.cmdCredits->text(), QString("&Stop Scroll"));
        QVERIFY(box.picScroll->isVisible());
        QVERIFY(box.tmrScroll->isActive());
        QCOMPARE(box.txtScroll->toPlainText(), frmAbout::creditsText().replace("\r\n", "\n"));

        for (int i = 0; i < 4; ++i) {
            box.tmrScroll_Timer();
        }
        QCOMPARE(box.textTop(), 20);
        QCOMPARE(box.txtScroll->y(), twips::toPixels(20));

        QTest::mouseClick(box.cmdCredits, Qt::LeftButton);
        QCOMPARE(box.cmdCredits->text(), QString("&Scroll About"));
        QVERIFY(!box.tmrScroll->isActive());
        QVERIFY(box.picScroll->isVisible());
        QCOMPARE(box.textTop(), 20);

        QTest::mouseClick(box.cmdCredits, Qt::LeftButton);
        box.tmrScroll_Timer();
        QCOMPARE(box.textTop(), -5);
        // The timer itself moves it too.
        QTRY_VERIFY(box.textTop() < -5);
    }

    void theLinksOpenMailAndTheWebSite() {
        UrlRecorder recorder;
        QDesktopServices::setUrlHandler("mailto", &recorder, "open");
        QDesktopServices::setUrlHandler("https", &recorder, "open");
        frmAbout box;
        box.show();
        QTest::mouseClick(box.Label1, Qt::LeftButton);
        QTest::mouseClick(box.Label2, Qt::LeftButton);
        box.OpenEmail("MAILTO:someone@example.org", "", "Hello there");
        QDesktopServices::unsetUrlHandler("mailto");
        QDesktopServices::unsetUrlHandler("https");
        QCOMPARE(recorder.urls.size(), 3);
        QCOMPARE(
            recorder.urls[0].toString(),
            QString("mailto:tavelin@example.org?subject=Ask&body=Please type your text here!"));
        QCOMPARE(recorder.urls[1], QUrl(frmAbout::kWebOpened));
        QVERIFY(recorder.urls[1] != QUrl("https://" + frmAbout::kWebShown));
        QCOMPARE(recorder.urls[2].toString(),
                 QString("mailto:someone@example.org?body=Hello there"));
    }

    void theAboutBoxOpensOnTopAndEnterOrEscCloseIt() {
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
            bool seen = false;
            whenOpen([] { return QApplication::activeModalWidget(); },
                     [&](QWidget* box) {
                         seen = qobject_cast<frmAbout*>(box) != nullptr &&
                                box->windowFlags().testFlag(Qt::WindowStaysOnTopHint) &&
                                !static_cast<frmAbout*>(box)->picScroll->isVisibleTo(box);
                         QTest::keyClick(box, key);
                     });
            openAboutBox(w);
            QVERIFY(seen);
        }
    }
};

TAVELIN_QTEST_MAIN(ServicesGuiTest)
#include "ServicesGuiTest.moc"
