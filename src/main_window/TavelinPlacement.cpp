// Where the main window opens: restored from and stored to the Positions
// section of Options.ini. Top, Left, Height and Width are the window's outer
// edges and size (frame included), in twips.
#include "Tavelin.h"

#include "platform/Twips.h"
#include "settings/IniErrorReport.h"
#include "settings/IniValues.h"
#include "settings/modIni.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

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
    }

    static StoredPlacement* of(QWidget* window) {
        auto* found = window->findChild<StoredPlacement*>(QStringLiteral("StoredPlacement"),
                                                          Qt::FindDirectChildrenOnly);
        return found != nullptr ? found : new StoredPlacement(window);
    }

    std::array<std::optional<std::pair<float, int>>, 4> given;

    // Puts the outer geometry right once the window manager has framed the window.
    void waitForFrame() {
        if (!waiting_) {
            waiting_ = true;
            window_->installEventFilter(this);
        }
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
        if (watched != window_ || !waiting_) {
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
    void stopWaiting() {
        if (waiting_) {
            waiting_ = false;
            window_->removeEventFilter(this);
        }
    }

    QWidget* window_;
    bool waiting_ = false;
};

std::optional<float> geometryValue(const QString& text, Edge edge) {
    const std::optional<float> value = iniSingle(text);
    if (!value || std::fabs(*value) > kMaxTwips) {
        return std::nullopt;
    }
    if ((edge == Height || edge == Width) && twips::toPixels(std::lround(*value)) < 1) {
        return std::nullopt; // no window has no size
    }
    return value;
}

bool onSomeScreen(const QRect& outer) {
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (screens.isEmpty()) {
        return true; // nothing to measure against
    }
    for (const QScreen* screen : screens) {
        if (screen->geometry().intersects(outer)) {
            return true;
        }
    }
    return false;
}

int outerPixels(const QWidget* window, Edge edge) {
    const QRect outer = window->frameGeometry();
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

} // namespace

void Tavelin::LoadPositions() {
    reportingIniErrors([this] {
        if (iniBool(read("WindowMaximized"))) {
            // The stored geometry is not read: restored later, the window takes
            // its designed size.
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
    QRect outer = frameGeometry();
    for (const Edge edge : {Top, Left, Height, Width}) {
        const QString text = read(kKeys[edge]);
        if (text.isEmpty()) {
            continue;
        }
        const std::optional<float> value = geometryValue(text, edge);
        if (!value) {
            continue; // not a number: as if missing
        }
        const int pixels = twips::toPixels(std::lround(*value));
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
    // A place outside every screen (a monitor since unplugged, a damaged
    // file) would open the window out of the user's reach: it opens at its
    // designed place instead. The file keeps its values until the next save.
    if (!onSomeScreen(outer)) {
        placement->given[Top].reset();
        placement->given[Left].reset();
    }
    placement->apply();
    if (!isVisible() && frameGeometry() == geometry()) {
        placement->waitForFrame();
    }
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
    const StoredPlacement* placement = StoredPlacement::of(this);
    for (const Edge edge : {Top, Left, Height, Width}) {
        const int pixels = outerPixels(this, edge);
        const auto& given = placement->given[edge];
        const float twipsValue = given && given->second == pixels
                                     ? given->first
                                     : static_cast<float>(twips::fromPixels(pixels));
        write(kKeys[edge], iniSingleText(twipsValue));
    }
}

} // namespace tavelin
