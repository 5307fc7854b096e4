#include "Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace tavelin::twips {
namespace {

constexpr double kTwipsPerInch = 1440.0;

double dotsPerInch() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return dpi > 0 ? dpi : 96.0;
}

} // namespace

int toPixels(int twips) {
    return static_cast<int>(std::lround(twips * dotsPerInch() / kTwipsPerInch));
}

int fromPixels(int pixels) {
    return static_cast<int>(std::lround(pixels * kTwipsPerInch / dotsPerInch()));
}

void place(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

QRect geometry(const QWidget* widget) {
    const QRect g = widget->geometry();
    return {fromPixels(g.x()), fromPixels(g.y()), fromPixels(g.width()), fromPixels(g.height())};
}

} // namespace tavelin::twips
