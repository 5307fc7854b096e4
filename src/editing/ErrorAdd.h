#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace tavelin {

// The modal notice in which the add and delete dialogs report a refused entry
// or a failure. It beeps when it is made. Its only control that takes the
// focus is Ok, so Enter or Space closes it; Esc does nothing.
class ErrorAdd : public QDialog {
    Q_OBJECT
public:
    explicit ErrorAdd(QWidget* parent = nullptr);

    // Sets the message. Only once: a message longer than the designed room
    // makes the notice taller rather than cutting it off.
    void setMessage(const QString& message);
    QString message() const;

    void Command1_Click();

    QLabel* Image1;
    QLabel* Label1;
    QPushButton* Command1;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// Shows a message in a fresh notice, topmost and modal; returns when it is closed.
void showErrorAdd(const QString& message, QWidget* parent = nullptr);

} // namespace tavelin
