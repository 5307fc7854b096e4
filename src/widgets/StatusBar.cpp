#include "StatusBar.h"

#include <QFontMetrics>

#include <algorithm>

namespace tavelin {

StatusBar::StatusBar(QWidget* parent) : QWidget(parent) {
    for (int i = 0; i < 2; ++i) {
        panels_[i] = new QLabel(this);
        panels_[i]->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
        panels_[i]->setFrameShape(QFrame::Panel);
        panels_[i]->setFrameShadow(QFrame::Sunken);
        panels_[i]->setTextFormat(Qt::PlainText);
        panels_[i]->setMinimumWidth(0);
    }
}

void StatusBar::setPanelText(int panel, const QString& text) {
    if (panels_[panel - 1]->text() == text) {
        return;
    }
    panels_[panel - 1]->setText(text);
    if (panel == 2) {
        layOut();
    } else {
        fitFirstPanel();
    }
}

QString StatusBar::panelText(int panel) const {
    return panels_[panel - 1]->text();
}

void StatusBar::reserveForNumber(const QString& before, long long largest, const QString& after) {
    const auto digits = QString::number(largest).size();
    const QString wanted = before + QString(digits, QLatin1Char('0')) + after;
    if (wanted == reservedFor_) {
        return; // the word count's tick asks every 100 ms
    }
    reservedFor_ = wanted;
    // Every digit as the font's widest.
    QLabel* label = panels_[1];
    const QFontMetrics metrics = label->fontMetrics();
    QChar widest = QLatin1Char('0');
    for (char16_t digit = u'1'; digit <= u'9'; ++digit) {
        if (metrics.horizontalAdvance(QChar(digit)) > metrics.horizontalAdvance(widest)) {
            widest = QChar(digit);
        }
    }
    const QString text = before + QString(digits, widest) + after;
    // As the label would measure itself showing that text: its frame and
    // margins are what its size hint adds to its own text's width.
    const int around = label->sizeHint().width() - metrics.horizontalAdvance(label->text());
    reserved_ = metrics.horizontalAdvance(text) + std::max(0, around);
    layOut();
}

void StatusBar::resizeEvent(QResizeEvent*) {
    layOut();
}

void StatusBar::layOut() {
    // The second panel is as wide as its text; the first takes the rest.
    int second = std::min(width() / 2, std::max(panels_[1]->sizeHint().width(), reserved_) + 8);
    // A new line number a digit or two narrower keeps the panel as it is:
    // nothing moves, and the first panel is neither fitted nor drawn again.
    const int shown = panels_[1]->width() + 1;
    const int slack = 2 * panels_[1]->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    if (shown >= second && shown - second <= slack && shown <= width() / 2 &&
        panels_[1]->geometry().right() == width() - 1) {
        second = shown;
    }
    const int first = width() - second;
    const QRect firstPlace(0, 0, first - 1, height());
    const QRect secondPlace(first + 1, 0, second - 1, height());
    if (panels_[0]->geometry() == firstPlace && panels_[1]->geometry() == secondPlace) {
        return;
    }
    panels_[0]->setGeometry(firstPlace);
    panels_[1]->setGeometry(secondPlace);
    fitFirstPanel();
}

void StatusBar::fitFirstPanel() {
    // A long word count is drawn a little smaller rather than cut off. With
    // the second panel's room kept for the longest line number, this runs
    // only when the bar's size or the word count changes, not as the user
    // types.
    QLabel* panel = panels_[0];
    const int room = panel->contentsRect().width() - 2 * panel->margin() - 4;
    QFont fitted = font();
    while (fitted.pointSizeF() > 6.0 &&
           QFontMetrics(fitted).horizontalAdvance(panel->text()) > room) {
        fitted.setPointSizeF(fitted.pointSizeF() - 0.5);
    }
    if (panel->font() != fitted) {
        panel->setFont(fitted);
    }
}

} // namespace tavelin
