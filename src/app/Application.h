#pragma once

#include <QApplication>

namespace tavelin {

// The program's application object. A failure that escapes a handler is
// reported to the user and the program goes on, instead of ending it.
class Application : public QApplication {
public:
    Application(int& argc, char** argv) : QApplication(argc, argv) {}

    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace tavelin
