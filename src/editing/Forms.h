#pragma once

// What the editing dialogs have in common: their fixed frame, their fonts,
// their warning picture and the busy pointer.

#include <QFont>
#include <QString>

#include <initializer_list>

class QDialog;
class QLabel;
class QWidget;

namespace tavelin::editing {

inline constexpr const char* kWindowFont = "MS Sans Serif";
inline constexpr const char* kArmenianFont = "Tavelin";

QFont designFont(const char* family, double points);

// A dialog with a fixed single border, a title and a close box, no minimise or
// maximise button, and a client area of the given size in twips.
void makeFixedDialog(QDialog* dialog, const char* objectName, const QString& title, int clientWidth,
                     int clientHeight);

// Opens the window centred on its screen (the parent's, else the primary one).
void centreOnScreen(QWidget* window);

// The warning picture (a yellow triangle with an exclamation mark), 480 twips square.
QLabel* warningImage(QWidget* parent, int left, int top);

// Makes a word-wrapped label taller when its text needs more than `room`
// pixels, and moves the controls below it and the dialog's bottom down by as
// much, so that a long text is never cut off.
void growLabelToFit(QDialog* dialog, QLabel* label, int room,
                    std::initializer_list<QWidget*> below);

// Lowers a control's font size, step by step, until its text fits the width
// in pixels (fonts here are wider than the ones the dialogs were drawn for).
void fitTextToWidth(QWidget* control, int width);

// Shows the busy pointer over a window for as long as it lives.
class BusyPointer {
public:
    explicit BusyPointer(QWidget* window);
    ~BusyPointer();
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    QWidget* window_;
};

} // namespace tavelin::editing
