#include "TabControl.h"

#include "platform/Twips.h"

#include <QPainter>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>

namespace tavelin {

TabControl::TabControl(QWidget* parent) : QWidget(parent), bar_(new QTabBar(this)) {
    bar_->setDrawBase(false);
    bar_->setExpanding(false);
    bar_->setFocusPolicy(Qt::TabFocus);
    connect(bar_, &QTabBar::currentChanged, this, [this](int index) {
        if (index >= 0) {
            setCurrentPage(index);
        }
    });
}

int TabControl::parkOffsetPixels() {
    return twips::toPixels(kParkOffsetTwips);
}

int TabControl::pageCount() const {
    return static_cast<int>(pages_.size());
}

int TabControl::addPage(const QString& caption, const QIcon& icon) {
    pages_.emplace_back();
    const QSignalBlocker blocker(bar_);
    bar_->addTab(icon, caption);
    if (current_ < 0) {
        current_ = 0;
    }
    bar_->setCurrentIndex(current_);
    bar_->adjustSize();
    return pageCount() - 1;
}

void TabControl::addToPage(int page, QWidget* control) {
    control->setParent(this);
    controlsOn(page).push_back(control);
    if (page == current_) {
        control->show();
    } else {
        park(control);
    }
}

void TabControl::park(QWidget* control) {
    control->move(control->x() - parkOffsetPixels(), control->y());
    control->hide();
}

void TabControl::unpark(QWidget* control) {
    control->move(control->x() + parkOffsetPixels(), control->y());
    control->show();
}

void TabControl::setCurrentPage(int page) {
    if (page == current_ || page < 0 || page >= pageCount()) {
        return;
    }
    for (QWidget* control : controlsOn(current_)) {
        park(control);
    }
    current_ = page;
    for (QWidget* control : controlsOn(current_)) {
        unpark(control);
    }
    {
        const QSignalBlocker blocker(bar_);
        bar_->setCurrentIndex(page);
    }
    emit pageChanged(page);
}

void TabControl::resizeEvent(QResizeEvent*) {
    bar_->setGeometry(0, 0, std::min(width(), bar_->sizeHint().width()), bar_->sizeHint().height());
}

void TabControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = rect().adjusted(0, bar_->height() - 1, 0, 0);
    frame.tabBarSize = bar_->size();
    frame.tabBarRect = bar_->geometry();
    frame.shape = QTabBar::RoundedNorth;
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
}

} // namespace tavelin
