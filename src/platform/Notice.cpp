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
    std::fprintf(stderr, "%s: %s\n", title.toLocal8Bit().constData(),
                 QString(text).replace('\n', ' ').toLocal8Bit().constData());
    std::fflush(stderr);
    if (warningHandler()) {
        warningHandler()(title, text);
        return;
    }
    QMessageBox::warning(parent, title, text, QMessageBox::Ok);
}

void setWarningHandler(std::function<void(const QString&, const QString&)> handler) {
    warningHandler() = std::move(handler);
}

} // namespace tavelin
