#pragma once

#include <QWidget>

#include <functional>

class QLabel;
class QTimer;

namespace tavelin {

// The start-up splash: the skin picture cut to its own shape, with no border
// and no task-bar button, in the middle of the screen. Once the event loop
// runs it fills the main window's lists, goes away and shows the main window.
class Splash : public QWidget {
    Q_OBJECT

public:
    // `fillLists` fills the main window's word lists and says whether it
    // could; `mainWindow` (may be null) is shown when they are filled.
    Splash(std::function<bool()> fillLists, QWidget* mainWindow, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Form_Load();
    void Timer1_Timer();

    std::function<bool()> fillLists_;
    QWidget* mainWindow_;
    QLabel* picMainSkin;
    QTimer* Timer1;
};

} // namespace tavelin
