// Where the main window opens: the Positions section of Options.ini.
#include "ini/modIni.h"
#include "main_window/Tavelin.h"
#include "platform/Twips.h"
#include "support/QtTestMain.h"

#include <QScreen>

using namespace tavelin;
using tavelin::test::readFile;
using tavelin::test::writeFile;

class PlacementTest : public QObject {
    Q_OBJECT

    test::TempDir dir;
    std::string ini = dir.file("Options.ini");
    Tavelin* w = nullptr;
    QRect designed; // outer geometry with no Options.ini, in pixels

    // A new run of the program: the main window made afresh, its load
    // sequence reading Options.ini.
    Tavelin& start() {
        delete w;
        w = &Tavelin::instance();
        return *w;
    }

    QString fileText() const { return QString::fromStdString(readFile(ini)); }

    static int px(int twips) { return twips::toPixels(twips); }

private slots:
    void initTestCase() {
        setOptionsFilePath(QString::fromStdString(ini));
        std::filesystem::remove(ini);
        designed = start().frameGeometry();
        QVERIFY(!std::filesystem::exists(ini));
    }

    void init() { std::filesystem::remove(ini); }

    void cleanupTestCase() {
        delete w;
        setOptionsFilePath(QString());
    }

    void noFileKeepsTheDesignedPlacementAndTheFirstSaveMakesTheFile() {
        Tavelin& window = start();
        QCOMPARE(window.frameGeometry(), designed);
        QCOMPARE(window.windowState(), Qt::WindowNoState);
        QVERIFY(!window.testAttribute(Qt::WA_Moved));
        window.move(30, 45);
        window.resize(500, 400);
        window.SavePositions();
        QCOMPARE(fileText(),
                 QString::fromStdString("[Positions]\nWindowMaximized=False\nTop=675\nLeft=450\n"
                                        "Height=6000\nWidth=7500\n"));
    }

    void closedNormalReopensWhereItWas() {
        writeFile(ini, "[Positions]\nWindowMaximized=False\nTop=200\nLeft=100\nHeight=5000\n"
                       "Width=6000\n");
        Tavelin& window = start();
        QCOMPARE(window.windowState(), Qt::WindowNoState);
        QCOMPARE(window.frameGeometry(), QRect(px(100), px(200), px(6000), px(5000)));
        // Closed again without moving: the very twips it was given, not their
        // rounding to pixels (100 twips is no whole pixel).
        std::filesystem::remove(ini);
        window.SavePositions();
        QCOMPARE(fileText(),
                 QString::fromStdString("[Positions]\nWindowMaximized=False\nTop=200\nLeft=100\n"
                                        "Height=5000\nWidth=6000\n"));
        // Saving twice (Quit, then the unload) writes the same again.
        window.SavePositions();
        QCOMPARE(fileText(),
                 QString::fromStdString("[Positions]\nWindowMaximized=False\nTop=200\nLeft=100\n"
                                        "Height=5000\nWidth=6000\n"));
    }

    void closedMaximisedKeepsTheStoredGeometryAndReopensMaximised() {
        const std::string geometry = "Top=1500\nLeft=1200\nHeight=4500\nWidth=6000\n";
        writeFile(ini, "[Positions]\nWindowMaximized=False\n" + geometry);
        Tavelin& window = start();
        window.setWindowState(Qt::WindowMaximized);
        window.SavePositions();
        QCOMPARE(fileText(),
                 QString::fromStdString("[Positions]\nWindowMaximized=True\n" + geometry));
        Tavelin& again = start();
        QVERIFY(again.windowState().testFlag(Qt::WindowMaximized));
        // The stored geometry is not applied: restored, the window has its designed size.
        QCOMPARE(again.geometry().size(), designed.size());
    }

    void closedMinimisedStoresTheFixedGeometry() {
        Tavelin& window = start();
        window.move(50, 60);
        window.setWindowState(Qt::WindowMinimized);
        window.SavePositions();
        QCOMPARE(fileText(),
                 QString::fromStdString("[Positions]\nWindowMaximized=False\nTop=270\nLeft=1920\n"
                                        "Height=7965\nWidth=7680\n"));
        Tavelin& again = start();
        QCOMPARE(again.windowState(), Qt::WindowNoState);
        QCOMPARE(again.frameGeometry(), QRect(px(1920), px(270), px(7680), px(7965)));
    }

    void onlyTheExactTextTrueMaximises() {
        writeFile(ini, "[Positions]\nWindowMaximized=true\nTop=300\nLeft=600\n");
        Tavelin& window = start();
        QCOMPARE(window.windowState(), Qt::WindowNoState);
        QCOMPARE(window.frameGeometry().topLeft(), QPoint(px(600), px(300)));
    }

    void eachStoredKeyChangesOnlyItsEdge() {
        writeFile(ini, "[Positions]\nWidth=9000\n");
        Tavelin& window = start();
        QCOMPARE(window.frameGeometry(),
                 QRect(designed.topLeft(), QSize(px(9000), designed.height())));
        QVERIFY(!window.testAttribute(Qt::WA_Moved));
        writeFile(ini, "[positions]\ntop=450\n");
        QCOMPARE(start().frameGeometry(), designed.translated(0, px(450) - designed.top()));
    }

    void valuesThatAreNoGeometryAreIgnored() {
        writeFile(ini, "[Positions]\nTop=abc\nLeft=1e30\nHeight=-50\nWidth=0\n");
        QCOMPARE(start().frameGeometry(), designed);
        // A locale's decimal comma reads as well.
        writeFile(ini, "[Positions]\nTop=150,0\nLeft=\"300\"\n");
        QCOMPARE(start().frameGeometry().topLeft(), QPoint(px(300), px(150)));
    }

    void aPlaceOutsideEveryScreenOpensAtTheDesignedPlace() {
        const std::string stored = "[Positions]\nWindowMaximized=False\nTop=-90000\nLeft=-90000\n"
                                   "Height=5000\nWidth=6000\n";
        writeFile(ini, stored);
        Tavelin& window = start();
        QCOMPARE(window.frameGeometry().topLeft(), designed.topLeft());
        QVERIFY(!window.testAttribute(Qt::WA_Moved));
        QCOMPARE(window.frameGeometry().size(), QSize(px(6000), px(5000)));
        QCOMPARE(fileText(), QString::fromStdString(stored));
        // Beyond the right edge of the screen, too.
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        writeFile(ini, "[Positions]\nLeft=" +
                           std::to_string(twips::fromPixels(screen.right() + 5)) + "\n");
        QCOMPARE(start().frameGeometry().topLeft(), designed.topLeft());
        // Partly on a screen is on it while the title bar can be taken hold
        // of; a title bar above the screen cannot.
        writeFile(ini, "[Positions]\nTop=1500\nLeft=-3000\nHeight=6000\nWidth=6000\n");
        QCOMPARE(start().frameGeometry().topLeft(), QPoint(px(-3000), px(1500)));
        writeFile(ini, "[Positions]\nTop=-3000\nLeft=-3000\nHeight=6000\nWidth=6000\n");
        QCOMPARE(start().frameGeometry().topLeft(), designed.topLeft());
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        writeFile(ini, "[Positions]\nTop=1500\nLeft=" +
                           std::to_string(twips::fromPixels(area.right() - 50)) + "\n");
        QCOMPARE(start().frameGeometry().topLeft(), designed.topLeft());
    }

    void aSizeBeyondTheScreenIsCutToItAndSavedSo() {
        writeFile(ini, "[Positions]\nWindowMaximized=False\nTop=0\nLeft=0\nHeight=600000\n"
                       "Width=99999999\n");
        Tavelin& window = start();
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(window.frameGeometry(), area);
        window.SavePositions();
        QCOMPARE(fileText(), QString::fromStdString(
                                 "[Positions]\nWindowMaximized=False\nTop=0\nLeft=0\nHeight=" +
                                 std::to_string(twips::fromPixels(area.height())) + "\nWidth=" +
                                 std::to_string(twips::fromPixels(area.width())) + "\n"));
    }

    void theStoredOuterGeometryHoldsOnceTheWindowHasItsFrame() {
        const std::string stored = "[Positions]\nWindowMaximized=False\nTop=1500\nLeft=3000\n"
                                   "Height=6000\nWidth=7500\n";
        writeFile(ini, stored);
        Tavelin& window = start();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_VERIFY(window.frameGeometry() != window.geometry());
        QTRY_COMPARE(window.frameGeometry(), QRect(px(3000), px(1500), px(7500), px(6000)));
        // Run after run, the window keeps its size: no frame added each time.
        std::filesystem::remove(ini);
        window.SavePositions();
        QCOMPARE(fileText(), QString::fromStdString(stored));
        window.hide();
    }

    void aSaveKeepsTheRestOfAHandEditedFile() {
        const std::string head = "; my settings\r\n[EnglishList]\r\nBold=True\r\n\r\n"
                                 "[Positions]\r\n; where it was\r\nWindowMaximized=True\r\n"
                                 "Extra=kept\r\n";
        const std::string tail = "\r\n[ArmenianList.]\r\nSize=12\r\n";
        writeFile(ini, head + tail);
        Tavelin& window = start();
        window.setWindowState(Qt::WindowNoState);
        window.move(px(1500), px(750));
        window.resize(400, 300);
        window.SavePositions();
        std::string expected = head;
        expected.replace(expected.find("WindowMaximized=True"), 20, "WindowMaximized=False");
        const QRect outer = window.frameGeometry();
        expected +=
            "Top=750\r\nLeft=1500\r\nHeight=" + std::to_string(twips::fromPixels(outer.height())) +
            "\r\nWidth=" + std::to_string(twips::fromPixels(outer.width())) + "\r\n";
        QCOMPARE(fileText(), QString::fromStdString(expected + tail));
    }
};

TAVELIN_QTEST_MAIN(PlacementTest)
#include "PlacementTest.moc"
