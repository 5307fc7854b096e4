#pragma once

#include "ListEdit.h"

#include <QDialog>

#include <string_view>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tavelin {

namespace editing {
class FilteredWordBox;
}

// What sets the two add dialogs apart.
struct AddDialogConfig {
    const char* formName;
    const char* title;
    int clientWidth; // twips
    const char* sourceLabel;
    const char* sourceFieldName;
    const char* armenianFieldName;
    const char* lineBoxName;
    int lineBoxLeft; // twips
    int checkWidth;  // twips
    // The source field's key filter: CheckKey with Latin letters accepted, or
    // the Russian field's own test.
    enum class SourceFilter { Latin, Russian } sourceFilter;
    // Messages (UTF-8).
    const char* sourceEmpty;
    const char* sourceBeginsWithGap;
    const char* sourceCannotBeStored;
};

// English-Armenian: "Add", Text1 and Text2, list1, AddWord.
extern const AddDialogConfig frmAdd;
// Russian-Armenian: "Add1", Text3 and Text4, List4, AddWord1.
extern const AddDialogConfig frmAdd1;

// The add dialog of one page: two word fields, whose typed characters are
// filtered; Add checks the pair, refuses a source word the page's list holds,
// appends the pair, refills the page's lists and shows the new word in the
// main window. Refusals and failures go to the error notice.
class AddDialog : public QDialog {
    Q_OBJECT
public:
    // `page` is the main window's page the dialog adds to.
    AddDialog(const AddDialogConfig& config, PageControls& page, QWidget* parent = nullptr);

    const AddDialogConfig& config() const { return config_; }

    // Add: the checks, then the write.
    void Command1_Click();
    // Close: nothing is written.
    void Command2_Click();
    // Filters Stugum::CurrentKey for an Armenian word field.
    void IMSall();

    QLabel* Label1;
    QLabel* Label2;
    editing::FilteredWordBox* sourceField;   // Text1 (English) or Text3 (Russian)
    editing::FilteredWordBox* armenianField; // Text2 or Text4
    QCheckBox* Check1;
    QPushButton* Command1;
    QLineEdit* lineBox; // hidden: Text3 or Text5
    QPushButton* Command2;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    int latinKeyPress(int code);
    int russianKeyPress(int code);
    int armenianKeyPress(int code);
    int afterFilter(int code);
    void refuse(const QString& message);
    bool isListed(const std::string& word);

    const AddDialogConfig& config_;
    PageControls& page_;
};

} // namespace tavelin
