#include "ErrorAdd.h"

#include "Forms.h"
#include "Stugum.h"
#include "platform/Twips.h"
#include "services/OnTop.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace tavelin {
namespace {

// Design sizes, in twips.
constexpr int kClientWidth = 4995;
constexpr int kClientHeight = 1290;
constexpr int kLabelLeft = 840;
constexpr int kLabelTop = 240;
constexpr int kLabelWidth = 3735;
constexpr int kLabelHeight = 735; // it runs on under the button
constexpr int kButtonTop = 840;

} // namespace

ErrorAdd::ErrorAdd(QWidget* parent) : QDialog(parent) {
    editing::makeFixedDialog(this, "ErrorAdd", QStringLiteral("ErrorAdd"), kClientWidth,
                             kClientHeight);

    Image1 = editing::warningImage(this, 240, 240);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(editing::designFont(editing::kWindowFont, 9.75));
    Label1->setTextFormat(Qt::PlainText);
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    twips::place(Label1, kLabelLeft, kLabelTop, kLabelWidth, kLabelHeight);

    Command1 = new QPushButton(QStringLiteral("&Ok"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    twips::place(Command1, 1830, kButtonTop, 1335, 375);
    connect(Command1, &QPushButton::clicked, this, &ErrorAdd::Command1_Click);
    Command1->setFocus();

    editing::centreOnScreen(this);
    Stugum::Beep();
}

void ErrorAdd::setMessage(const QString& message) {
    Label1->setText(message);
    // The label runs on under the button; the lines above the button must hold the message.
    editing::growLabelToFit(this, Label1, twips::toPixels(kButtonTop - kLabelTop), {Command1});
}

QString ErrorAdd::message() const {
    return Label1->text();
}

void ErrorAdd::Command1_Click() {
    accept();
}

void ErrorAdd::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept(); // the notice has no cancel button
        return;
    }
    QDialog::keyPressEvent(event);
}

void showErrorAdd(const QString& message, QWidget* parent) {
    ErrorAdd notice(parent);
    notice.setMessage(message);
    MakeTopmost(&notice);
    notice.exec();
}

} // namespace tavelin
