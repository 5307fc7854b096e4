// Where the main window opens: restored from and stored to the Positions
// section of Options.ini. Top, Left, Height and Width are the window's outer
// edges and size (frame included), in twips.
#include "Tavelin.h"

#include "ini/IniErrorReport.h"
#include "ini/IniValues.h"
#include "ini/modIni.h"
#include "platform/Twips.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace tavelin {
namespace {

const QString kSection = QStringLiteral("Positions");

enum Edge { Top, Left, Height, Width };
const char* const kKeys[] = {"Top", "Left", "Height", "Width"};

// Geometry this far out (about 7000 inches) is no window's.
constexpr float kMaxTwips = 1e8F;

QString read(const char* key) {
    return GetINIValue(kSection, QString::fromLatin1(key), optionsFilePath());
}

void write(const char* key, const QString& value) {
    SetINIValue(kSection, QString::fromLatin1(key), value, optionsFilePath());
}

// The outer geometry the window was given from Options.ini: the twips read
// and the pixels they came to. It serves twice. Until the window manager has
// framed the window, only its inner size and position are in the program's
// hands, so once the frame is known the outer geometry is put right. And a
// window that has not moved since writes back the very twips it was given
// rather than its pixels turned back into twips, so the stored values do not
// creep by rounding from run to run.
class StoredPlacement : public QObject {
public:
    explicit StoredPlacement(QWidget* window) : QObject(window), window_(window) {
        setObjectName(QStringLiteral("StoredPlacement"));
        window_->installEventFilter(this);
    }

    static StoredPlacement* of(QWidget* window) {
        auto* found = window->findChild<StoredPlacement*>(QStringLiteral("StoredPlacement"),
                                                          Qt::FindDirectChildrenOnly);
        return found != nullptr ? found : new StoredPlacement(window);
    }

    std::array<std::optional<std::pair<float, int>>, 4> given;

    // Puts the outer geometry right once the window manager has framed the window.
    void waitForFrame() { waiting_ = true; }

    // The window's outer geometry. Once a window has been hidden and shown
    // again, the window system reports no frame until the window is moved;
    // the frame it last reported in the normal state stands in for it.
    QRect outer() {
        noteFrame();
        const QRect frame = window_->frameGeometry();
        if (frame != window_->geometry() || lastFrame_.isNull()) {
            return frame;
        }
        return window_->geometry().marginsAdded(lastFrame_);
    }

    // Moves and sizes the window so that its outer edges are where `given` says.
    void apply() {
        const QSize frame = window_->frameGeometry().size() - window_->size();
        if (given[Top] || given[Left]) {
            const QPoint outer = window_->frameGeometry().topLeft();
            window_->move(given[Left] ? given[Left]->second : outer.x(),
                          given[Top] ? given[Top]->second : outer.y());
        }
        if (given[Height] || given[Width]) {
            window_->resize(given[Width] ? std::max(1, given[Width]->second - frame.width())
                                         : window_->width(),
                            given[Height] ? std::max(1, given[Height]->second - frame.height())
                                          : window_->height());
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != window_) {
            return false;
        }
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Hide:
        case QEvent::WindowStateChange:
            noteFrame();
            break;
        default:
            break;
        }
        if (!waiting_) {
            return false;
        }
        switch (event->type()) {
        case QEvent::Show:
            // A window manager that draws no frame never tells of one.
            QTimer::singleShot(5000, this, [this] { stopWaiting(); });
            [[fallthrough]];
        case QEvent::Move:
        case QEvent::Resize:
            if (window_->isVisible() && window_->frameGeometry() != window_->geometry()) {
                stopWaiting();
                if ((window_->windowState() &
                     (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)) == 0) {
                    apply();
                }
            }
            break;
        default:
            break;
        }
        return false;
    }

private:
    void stopWaiting() { waiting_ = false; }

    void noteFrame() {
        const QRect frame = window_->frameGeometry();
        const QRect inner = window_->geometry();
        if (window_->isVisible() && frame != inner &&
            (window_->windowState() &
             (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)) == 0) {
            lastFrame_ = QMargins(inner.left() - frame.left(), inner.top() - frame.top(),
                                  frame.right() - inner.right(), frame.bottom() - inner.bottom());
        }
    }

    QWidget* window_;
    bool waiting_ = false;
    QMargins lastFrame_;
};

// A value in twips, rounded, in pixels; |twipsValue| <= kMaxTwips, so it fits an int.
int roundedPixels(float twipsValue) {
    return twips::toPixels(static_cast<int>(std::lround(twipsValue)));
}

std::optional<float> geometryValue(const QString& text, Edge edge) {
    const std::optional<float> value = iniSingle(text);
    if (!value || std::fabs(*value) > kMaxTwips) {
        return std::nullopt;
    }
    if ((edge == Height || edge == Width) && roundedPixels(*value) < 1) {
        return std::nullopt; // no window has no size
    }
    return value;
}

// The strip along a window's top edge that its title bar takes, and how
// much of it must lie on a screen for the user to take hold of the window.
constexpr int kTitleBarHeight = 24;
constexpr int kTitleBarGrip = 100;

bool titleBarReachable(const QRect& outer) {
    const QRect strip(outer.left(), outer.top(), outer.width(), kTitleBarHeight);
    const int grip = std::min(kTitleBarGrip, outer.width());
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect area = screen->availableGeometry();
        const QRect onScreen = area.intersected(strip);
        if (strip.top() >= area.top() && onScreen.height() == strip.height() &&
            onScreen.width() >= grip) {
            return true;
        }
    }
    return false;
}

// Where a window of this outer geometry opens: no larger than the screen it
// is on, and, unless its title bar is within reach there, at the designed
// place, moved as far as needed to be wholly on that screen.
QRect fitOnScreen(QRect outer, const QRect& designed) {
    if (QGuiApplication::screens().isEmpty()) {
        return outer; // nothing to measure against
    }
    const QScreen* screen = QGuiApplication::screenAt(outer.center());
    if (screen == nullptr) {
        screen = QGuiApplication::screenAt(designed.center());
    }
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    const QRect area = screen->availableGeometry();
    outer.setSize(outer.size().boundedTo(area.size()));
    if (outer.topLeft() == designed.topLeft() || !titleBarReachable(outer)) {
        outer.moveTopLeft(designed.topLeft());
        outer.moveLeft(std::clamp(outer.left(), area.left(), area.right() + 1 - outer.width()));
        outer.moveTop(std::clamp(outer.top(), area.top(), area.bottom() + 1 - outer.height()));
    }
    return outer;
}

int pixelsOf(const QRect& outer, Edge edge) {
    switch (edge) {
    case Top:
        return outer.top();
    case Left:
        return outer.left();
    case Height:
        return outer.height();
    case Width:
        return outer.width();
    }
    return 0;
}

// Puts the window where fitOnScreen says, and notes every edge that moved
// as given: what the next save writes unless the user moves it.
void fitWindow(QWidget* window, StoredPlacement* placement, const QRect& outer,
               const QRect& designed) {
    const QRect fitted = fitOnScreen(outer, designed);
    for (const Edge edge : {Top, Left, Height, Width}) {
        const int pixels = pixelsOf(fitted, edge);
        auto& given = placement->given[edge];
        if (given && given->second == pixels) {
            continue; // as stored
        }
        if (pixels == pixelsOf(designed, edge)) {
            given.reset(); // as designed
        } else {
            given = std::pair{static_cast<float>(twips::fromPixels(pixels)), pixels};
        }
    }
    placement->apply();
    if (!window->isVisible() && window->frameGeometry() == window->geometry()) {
        placement->waitForFrame();
    }
}

} // namespace

void Tavelin::LoadPositions() {
    reportingIniErrors([this] {
        StoredPlacement* placement = StoredPlacement::of(this);
        if (iniBool(read("WindowMaximized"))) {
            // The stored geometry is not read: restored later, the window takes
            // its designed size (as far as the screen holds it).
            placement->given = {};
            const QRect designed = frameGeometry();
            fitWindow(this, placement, designed, designed);
            setWindowState(Qt::WindowMaximized);
            Form_Resize();
        } else {
            LoadPositions1();
            Form_Resize();
        }
    });
}

void Tavelin::LoadPositions1() {
    Form_Resize();
    StoredPlacement* placement = StoredPlacement::of(this);
    placement->given = {};
    const QRect designed = frameGeometry();
    QRect outer = designed;
    for (const Edge edge : {Top, Left, Height, Width}) {
        const QString text = read(kKeys[edge]);
        if (text.isEmpty()) {
            continue;
        }
        const std::optional<float> value = geometryValue(text, edge);
        if (!value) {
            continue; // not a number: as if missing
        }
        const int pixels = roundedPixels(*value);
        placement->given[edge] = std::pair{*value, pixels};
        switch (edge) {
        case Top:
            outer.moveTop(pixels);
            break;
        case Left:
            outer.moveLeft(pixels);
            break;
        case Height:
            outer.setHeight(pixels);
            break;
        case Width:
            outer.setWidth(pixels);
            break;
        }
    }
    // A size larger than the screen (a damaged file, a screen since made
    // smaller) is cut to the screen; a place where the title bar is out of
    // reach (a monitor since unplugged) gives way to the designed place.
    fitWindow(this, placement, outer, designed);
}

void Tavelin::SavePositions() {
    reportingIniErrors([this] {
        const Qt::WindowStates state = windowState();
        const bool minimised = state.testFlag(Qt::WindowMinimized);
        if (!minimised && state.testFlag(Qt::WindowMaximized)) {
            // The geometry keys keep what an earlier save wrote.
            write("WindowMaximized", iniBoolText(true));
            Form_Resize();
        } else {
            write("WindowMaximized", iniBoolText(false));
            SavePositions1();
            Form_Resize();
        }
        if (minimised) {
            // A window closed from the notification area opens next time
            // normal, 512 x 531 pixels at 128, 18.
            write("Top", QStringLiteral("270"));
            write("Left", QStringLiteral("1920"));
            write("Height", QStringLiteral("7965"));
            write("Width", QStringLiteral("7680"));
        }
    });
}

void Tavelin::SavePositions1() {
    Form_Resize();
    StoredPlacement* placement = StoredPlacement::of(this);
    const QRect outer = placement->outer();
    for (const Edge edge : {Top, Left, Height, Width}) {
        const int pixels = pixelsOf(outer, edge);
        const auto& given = placement->given[edge];
        const float twipsValue = given && given->second == pixels
                                     ? given->first
                                     : static_cast<float>(twips::fromPixels(pixels));
        write(kKeys[edge], iniSingleText(twipsValue));
    }
}

} // namespace tavelin
