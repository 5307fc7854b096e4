#pragma once

#include <QRect>

class QWidget;

// Window and control geometry is designed in twips: 1440 to the inch, so 15
// to a pixel at 96 dots per inch. On a screen of another logical resolution
// the conversion scales, and windows keep their designed proportions.
namespace tavelin::twips {

int toPixels(int twips);
int fromPixels(int pixels);

// Places a widget at a position and size given in twips (in its parent's coordinates).
void place(QWidget* widget, int left, int top, int width, int height);
// A widget's geometry in twips.
QRect geometry(const QWidget* widget);

} // namespace tavelin::twips
