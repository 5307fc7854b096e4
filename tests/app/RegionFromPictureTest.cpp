#include "app/RegionFromPicture.h"
#include "app/Splash.h"
#include "support/WindowFixture.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QPointer>
#include <QScreen>
#include <QTimer>

#include <map>
#include <string_view>

using namespace tavelin;

namespace {

using test::needApplication;

// A picture drawn as text, one string a row: '.' is magenta (the key colour
// when it is at the top left), '#' dark blue, '-' white; 'r', 'g', 'b' are
// magenta one shade off in that channel, 'a' and 'z' magenta with half and no
// alpha.
QImage drawn(std::initializer_list<std::string_view> rows) {
    static const std::map<char, QRgb> colours = {
        {'.', qRgb(255, 0, 255)},       {'#', qRgb(31, 58, 104)},    {'-', qRgb(255, 255, 255)},
        {'r', qRgb(254, 0, 255)},       {'g', qRgb(255, 1, 255)},    {'b', qRgb(255, 0, 254)},
        {'a', qRgba(255, 0, 255, 128)}, {'z', qRgba(255, 0, 255, 0)}};
    QImage image(int(rows.begin()->size()), int(rows.size()), QImage::Format_ARGB32);
    int y = 0;
    for (std::string_view row : rows) {
        for (int x = 0; x < image.width(); ++x) {
            image.setPixel(x, y, colours.at(row[x]));
        }
        ++y;
    }
    return image;
}

QRegion rects(std::initializer_list<QRect> list) {
    QRegion region;
    for (const QRect& rect : list) {
        region += rect;
    }
    return region;
}

// Compares the areas covered, whatever rectangles make them up.
testing::AssertionResult sameArea(const QRegion& actual, const QRegion& expected) {
    if ((actual ^ expected).isEmpty()) {
        return testing::AssertionSuccess();
    }
    auto failure = testing::AssertionFailure() << "got";
    for (const QRect& r : actual) {
        failure << " (" << r.x() << "," << r.y() << " " << r.width() << "x" << r.height() << ")";
    }
    return failure;
}

} // namespace

TEST(RegionFromPicture, PictureOfOneColourHasNoShape) {
    EXPECT_TRUE(RegionFromPicture(drawn({"....", "...."})).isEmpty());
    EXPECT_TRUE(RegionFromPicture(drawn({"###", "###"})).isEmpty());
    EXPECT_TRUE(RegionFromPicture(QImage()).isEmpty());
}

TEST(RegionFromPicture, RunsCloseAtTheRightEdgeOfTheirRow) {
    EXPECT_TRUE(sameArea(RegionFromPicture(drawn({"..##", "#...", "...#"})),
                         rects({{2, 0, 2, 1}, {0, 1, 1, 1}, {3, 2, 1, 1}})));
    EXPECT_TRUE(
        sameArea(RegionFromPicture(drawn({".###", "####"})), rects({{1, 0, 3, 1}, {0, 1, 4, 1}})));
}

TEST(RegionFromPicture, KeyColourInsideTheShapeMakesHoles) {
    EXPECT_TRUE(sameArea(RegionFromPicture(drawn({".....", ".###.", ".#.#.", ".###.", "....."})),
                         rects({{1, 1, 3, 3}}) - QRegion(2, 2, 1, 1)));
    EXPECT_TRUE(sameArea(RegionFromPicture(drawn({".#.#-#", "......", ".#.#-#"})),
                         rects({{1, 0, 1, 1}, {3, 0, 3, 1}, {1, 2, 1, 1}, {3, 2, 3, 1}})));
}

TEST(RegionFromPicture, OnlyTheExactKeyColourIsCutAway) {
    // One shade off in any channel is shape; alpha plays no part.
    EXPECT_TRUE(sameArea(RegionFromPicture(drawn({".r.g.b", "azaz.."})),
                         rects({{1, 0, 1, 1}, {3, 0, 1, 1}, {5, 0, 1, 1}})));
    // The key is whatever the top-left pixel holds, magenta or not.
    EXPECT_TRUE(
        sameArea(RegionFromPicture(drawn({"-.", ".-"})), rects({{1, 0, 1, 1}, {0, 1, 1, 1}})));
}

TEST(RegionFromPicture, SkinIsCutToItsShape) {
    const QImage skin(QStringLiteral(":/splash.png"));
    ASSERT_FALSE(skin.isNull());
    EXPECT_FALSE(skin.hasAlphaChannel());
    const QRegion shape = RegionFromPicture(skin);
    EXPECT_TRUE(shape.contains(skin.rect().center()));
    EXPECT_FALSE(shape.contains(QPoint(0, 0)));
    EXPECT_FALSE(shape.contains(QPoint(skin.width() - 1, skin.height() - 1)));
    EXPECT_TRUE(skin.rect().contains(shape.boundingRect()));
}

namespace {

// Runs the event loop until `done` holds, or gives up after five seconds.
template <typename Done> bool processEventsUntil(Done done) {
    const QDeadlineTimer deadline(5000);
    while (!done() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return done();
}

} // namespace

TEST(Splash, IsABorderlessWindowOfTheSkinsShape) {
    needApplication();
    Splash splash({}, nullptr);
    const QPixmap skin(QStringLiteral(":/splash.png"));
    EXPECT_EQ(splash.size(), skin.size());
    EXPECT_TRUE(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(splash.windowType(), Qt::SplashScreen);
    EXPECT_TRUE(sameArea(splash.mask(), RegionFromPicture(skin.toImage())));

    splash.show();
    EXPECT_EQ(splash.frameGeometry().center(), splash.screen()->geometry().center());
}

TEST(Splash, FillsTheListsThenGivesWayToTheMainWindow) {
    needApplication();
    QWidget mainWindow;
    QPointer<Splash> splash;
    int calls = 0;
    bool splashShown = false, timerStopped = false, mainWindowHidden = false;
    splash = new Splash(
        [&] {
            ++calls;
            splashShown = splash && splash->isVisible();
            timerStopped = !splash->findChild<QTimer*>("Timer1")->isActive();
            mainWindowHidden = !mainWindow.isVisible();
            return true;
        },
        &mainWindow);
    splash->show();

    ASSERT_TRUE(processEventsUntil([&] { return splash.isNull(); }));
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(splashShown) << "the splash stays up while the lists fill";
    EXPECT_TRUE(timerStopped);
    EXPECT_TRUE(mainWindowHidden);
    EXPECT_TRUE(mainWindow.isVisible());

    QPointer<Splash> alone = new Splash({}, nullptr);
    alone->show();
    EXPECT_TRUE(processEventsUntil([&] { return alone.isNull(); })) << "without a main window";
}
