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

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void layOut();
    void fitFirstPanel();

    QLabel* panels_[2];
};

} // namespace tavelin
