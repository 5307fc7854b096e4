#include "Forms.h"

#include "platform/Twips.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QScreen>
#include <QStyle>

namespace tavelin::editing {

QFont designFont(const char* family, double points) {
    QFont font(QString::fromLatin1(family));
    font.setPointSizeF(points);
    return font;
}

void makeFixedDialog(QDialog* dialog, const char* objectName, const QString& title, int clientWidth,
                     int clientHeight) {
    dialog->setObjectName(QString::fromLatin1(objectName));
    dialog->setWindowTitle(title);
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                           Qt::MSWindowsFixedSizeDialogHint);
    dialog->setFont(designFont(kWindowFont, 8.25));
    dialog->setFixedSize(twips::toPixels(clientWidth), twips::toPixels(clientHeight));
}

void centreOnScreen(QWidget* window) {
    const QWidget* parent = window->parentWidget();
    QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    // Moving it before it is shown also keeps the dialog from centring itself on its parent.
    window->move(frame.topLeft());
}

QLabel* warningImage(QWidget* parent, int left, int top) {
    auto* image = new QLabel(parent);
    image->setObjectName(QStringLiteral("Image1"));
    twips::place(image, left, top, 480, 480);
    const QIcon icon = parent->style()->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, parent);
    image->setPixmap(icon.pixmap(image->size()));
    image->setAlignment(Qt::AlignCenter);
    return image;
}

void growLabelToFit(QDialog* dialog, QLabel* label, int room,
                    std::initializer_list<QWidget*> below) {
    const int needed = label->heightForWidth(label->width());
    if (needed <= room) {
        return;
    }
    const int extra = needed - room;
    label->resize(label->width(), label->height() + extra);
    for (QWidget* control : below) {
        control->move(control->x(), control->y() + extra);
    }
    dialog->setFixedSize(dialog->width(), dialog->height() + extra);
    centreOnScreen(dialog);
}

void fitTextToWidth(QWidget* control, int width) {
    QFont font = control->font();
    while (control->sizeHint().width() > width && font.pointSizeF() > 6.0) {
        font.setPointSizeF(font.pointSizeF() - 0.25);
        control->setFont(font);
    }
}

BusyPointer::BusyPointer(QWidget* window) : window_(window) {
    window_->setCursor(Qt::WaitCursor);
}

BusyPointer::~BusyPointer() {
    window_->unsetCursor();
}

} // namespace tavelin::editing
