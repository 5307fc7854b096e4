#pragma once

#include <QLabel>
#include <QWidget>

namespace tavelin {

// A status bar of two sunken text panels, numbered from 1.
class StatusBar : public QWidget {
    Q_OBJECT
public:
    explicit StatusBar(QWidget* parent = nullptr);

    void setPanelText(int panel, const QString& text);
    QString panelText(int panel) const;
    // Keeps the second panel wide enough for its text with any number up to
    // the largest, so that a changing number neither moves the panels nor
    // refits the first one: its text is before, the number and after.
    void reserveForNumber(const QString& before, long long largest, const QString& after);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void layOut();
    void fitFirstPanel();

    QLabel* panels_[2];
    // The text the second panel keeps room for (its digits as zeros), and
    // that room in pixels.
    QString reservedFor_;
    int reserved_ = 0;
};

} // namespace tavelin
