#pragma once

#include "ListEdit.h"

#include <QDialog>

#include <string_view>

class QLabel;
class QPushButton;

namespace tavelin {

// What sets the two delete dialogs apart.
struct DeleteDialogConfig {
    const char* formName;
    int clientHeight; // twips
    int labelLeft, labelTop, labelWidth, labelHeight;
    int yesLeft;
    const char* questionPrefix;
};

// English-Armenian: the word selected in list1, DeleteWord.
extern const DeleteDialogConfig frmdelete;
// Russian-Armenian: the word selected in List4, DeleteWord1.
extern const DeleteDialogConfig frmdelete1;

// Asks whether to delete the pair whose source word is selected in the page's
// source list. Yes deletes the first row with that word, clears the page's
// search boxes, refills its lists and closes; No (or Esc) closes.
class DeleteDialog : public QDialog {
    Q_OBJECT
public:
    // `page` is the main window's page the dialog deletes from.
    DeleteDialog(const DeleteDialogConfig& config, PageControls& page, QWidget* parent = nullptr);

    const DeleteDialogConfig& config() const { return config_; }

    void Command1_Click(); // Yes
    void Command2_Click(); // No

    QLabel* Image1;
    QLabel* Label1;
    QPushButton* Command1;
    QPushButton* Command2;

private:
    const DeleteDialogConfig& config_;
    PageControls& page_;
};

} // namespace tavelin
