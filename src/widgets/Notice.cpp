#include "Notice.h"

#include <QMessageBox>

#include <cstdio>

namespace tavelin {
namespace {
std::function<void(const QString&, const QString&)>& warningHandler() {
    static std::function<void(const QString&, const QString&)> handler;
    return handler;
}
} // namespace

void showWarning(const QString& title, const QString& text, QWidget* parent) {
    std::fprintf(
        stderr, "%s: %s\n", title.toLocal8Bit().constData(),
        QString(text).replace(QLatin1Char('\n'), QLatin1Char(' ')).toLocal8Bit().constData());
    std::fflush(stderr);
    if (warningHandler()) {
        warningHandler()(title, text);
        return;
    }
    // Above every window, the program's own always-on-top ones included: a
    // second copy's box would otherwise open beneath the running copy's window.
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, parent);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
}

void setWarningHandler(std::function<void(const QString&, const QString&)> handler) {
    warningHandler() = std::move(handler);
}

} // namespace tavelin
