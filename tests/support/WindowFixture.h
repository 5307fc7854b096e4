#pragma once

// What the tests of the main window and its dialogs share: an application for
// the GoogleTest programs, the error notices answered as they come, the lists
// filled as start-up fills them.

#include "editing/ErrorAdd.h"
#include "main_window/ListBox.h"
#include "main_window/Tavelin.h"

#include <QApplication>
#include <QPushButton>
#include <QStringList>
#include <QTimer>

namespace tavelin::test {

// The widgets need a QApplication. It is made on first use and never
// destroyed: at exit Qt's own globals are already gone.
inline void needApplication() {
    static int argc = 1;
    static char name[] = "tavelin_tests";
    static char* argv[] = {name, nullptr};
    [[maybe_unused]] static auto* app = new QApplication(argc, argv);
}

// Reads every error notice and closes it with Ok as soon as it is in front.
class NoticeCloser : public QObject {
public:
    NoticeCloser() {
        timer_.setInterval(5);
        connect(&timer_, &QTimer::timeout, this, [this] {
            if (auto* notice = qobject_cast<ErrorAdd*>(QApplication::activeModalWidget())) {
                notices << notice->message();
                notice->Command1->click();
            }
        });
    }
    void start() { timer_.start(); }
    void stop() { timer_.stop(); }

    QStringList notices;

private:
    QTimer timer_;
};

// Fills the main window's four lists from the dictionaries, as start-up does.
inline void reloadLists(Tavelin& window) {
    for (int index : {0, 1}) {
        PageControls& page = window.page(index);
        page.loadSource(page.sourceList->words());
        page.loadArmenian(page.armenianList->words());
    }
}

} // namespace tavelin::test
