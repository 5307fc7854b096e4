#include "DeleteDialog.h"

#include "ErrorAdd.h"
#include "Forms.h"
#include "main_window/ListBox.h"
#include "main_window/WordBox.h"
#include "platform/TextCodec.h"
#include "platform/Twips.h"

#include <QLabel>
#include <QPushButton>

#include <optional>

namespace tavelin {
namespace {

constexpr int kClientWidth = 3960;

} // namespace

const DeleteDialogConfig frmdelete{
    "frmdelete", 1440, 720, 240, 3105, 585, 840, "Are you sure you want to delete      '' ",
};

const DeleteDialogConfig frmdelete1{
    "frmdelete1", 1455, 600, 240, 2985, 705, 720, "Are you sure you want to delete     '' ",
};

DeleteDialog::DeleteDialog(const DeleteDialogConfig& config, PageControls& page, QWidget* parent)
    : QDialog(parent), config_(config), page_(page) {
    editing::makeFixedDialog(this, config.formName, QStringLiteral("Delete"), kClientWidth,
                             config.clientHeight);

    Image1 = editing::warningImage(this, 120, 300);

    const ListBox* list = page_.sourceList;
    Label1 = new QLabel(QString::fromLatin1(config.questionPrefix) +
                            toShown(list->words().side(), list->selectedWord()) +
                            QStringLiteral(" ''  line"),
                        this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(editing::designFont(editing::kWindowFont, 9.75));
    Label1->setTextFormat(Qt::PlainText);
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    twips::place(Label1, config.labelLeft, config.labelTop, config.labelWidth, config.labelHeight);

    Command1 = new QPushButton(QStringLiteral("Yes"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    twips::place(Command1, config.yesLeft, 960, 1095, 375);
    connect(Command1, &QPushButton::clicked, this, &DeleteDialog::Command1_Click);

    // No is the dialog's cancel button: Esc closes the dialog as No does.
    Command2 = new QPushButton(QStringLiteral("No"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    twips::place(Command2, 2400, 960, 1095, 375);
    connect(Command2, &QPushButton::clicked, this, &DeleteDialog::Command2_Click);

    Command1->setFocus();
    editing::centreOnScreen(this);
    // A long word makes the question taller rather than being cut off.
    editing::growLabelToFit(this, Label1, Label1->height(), {Command1, Command2});
}

void DeleteDialog::Command1_Click() {
    const PageControls& page = page_;
    ListBox* list = page.sourceList;
    // The selection can have gone since the Delete command was last enabled:
    // then there is nothing to delete.
    if (list->listIndex() < 0) {
        accept();
        return;
    }
    const std::string word = list->selectedWord();

    std::optional<editing::BusyPointer> busy(std::in_place, this);
    std::optional<editing::ListEdit> edit;
    try {
        // A word that matches no row (the list was behind the file) deletes
        // nothing; the lists are then read back, in step with the file.
        edit.emplace(editing::ListEdit::remove(page, word));
    } catch (const DatabaseError& error) {
        busy.reset();
        showErrorAdd(
            editing::failureMessage(page, QStringLiteral("The word was not deleted."), error),
            this);
        reject();
        return;
    }
    page.sourceSearch->clear();
    page.armenianSearch->clear();
    edit->show();
    accept();
}

void DeleteDialog::Command2_Click() {
    reject();
}

} // namespace tavelin
