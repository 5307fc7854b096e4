#pragma once

// Helpers of the settings dialogs' tests.

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>

namespace tavelin::test {

// Acts on the next modal window other than `over` as soon as it is open,
// from inside its own event loop, and closes it afterwards if the action left
// it open. Gives up after five seconds. Call it before the step that opens
// the window.
inline void whenOpen(std::function<void(QWidget*)> act, QWidget* over = nullptr) {
    auto* timer = new QTimer(qApp);
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QObject::connect(timer, &QTimer::timeout, [timer, clock, act, over] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal != over && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            QPointer<QWidget> guard(modal);
            act(modal);
            if (auto* dialog = qobject_cast<QDialog*>(guard.data());
                dialog && dialog->isVisible()) {
                dialog->reject();
            }
        } else if (clock->elapsed() > 5000) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(10);
}

} // namespace tavelin::test
