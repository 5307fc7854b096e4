#include "Splash.h"

#include "RegionFromPicture.h"

#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

namespace tavelin {

namespace {

const QString kSkin = QStringLiteral(":/splash.png");

} // namespace

Splash::Splash(std::function<bool()> fillLists, QWidget* mainWindow, QWidget* parent)
    : QWidget(parent), fillLists_(std::move(fillLists)), mainWindow_(mainWindow),
      picMainSkin(new QLabel(this)), Timer1(new QTimer(this)) {
    setObjectName(QStringLiteral("Splash"));
    setWindowTitle(QStringLiteral("Form1"));
    picMainSkin->setObjectName(QStringLiteral("picMainSkin"));
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(10);
    connect(Timer1, &QTimer::timeout, this, &Splash::Timer1_Timer);
    Form_Load();
}

void Splash::Form_Load() {
    const QPixmap skin(kSkin);
    picMainSkin->setFrameShape(QFrame::NoFrame);
    picMainSkin->setContentsMargins(0, 0, 0, 0);
    picMainSkin->setPixmap(skin);
    picMainSkin->setGeometry(0, 0, skin.width(), skin.height());

    // A splash-screen window has no task-bar button; without a frame it has
    // no title bar either.
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);

    setFixedSize(picMainSkin->size());

    const QRegion shape = RegionFromPicture(skin.toImage());
    if (!shape.isEmpty()) {
        setMask(shape);
    }

    Timer1->start();
}

void Splash::Timer1_Timer() {
    Timer1->stop();
    const bool filled = !fillLists_ || fillLists_();
    close();
    deleteLater();
    if (filled && mainWindow_) {
        mainWindow_->show();
    }
}

void Splash::showEvent(QShowEvent* event) {
    if (const QScreen* where = screen()) {
        QRect frame = geometry();
        frame.moveCenter(where->geometry().center());
        move(frame.topLeft());
    }
    QWidget::showEvent(event);
}

} // namespace tavelin
