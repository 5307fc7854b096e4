#include "AddDialog.h"

#include "ErrorAdd.h"
#include "FilteredWordBox.h"
#include "Forms.h"
#include "Stugum.h"
#include "data/WordRule.h"
#include "main_window/ListBox.h"
#include "main_window/PrefixSearch.h"
#include "main_window/WordBox.h"
#include "platform/TextCodec.h"
#include "platform/Twips.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include <optional>

namespace tavelin {
namespace {

constexpr int kClientHeight = 2130;
constexpr int kEnter = 13;

const char* const kArmenianEmpty = "The Armenian text field is empty \u0404";
const char* const kArmenianBeginsWithGap = "The Armenian text field begins by a gap";
const char* const kArmenianCannotBeStored =
    "The Armenian text field holds a character the dictionary cannot store";

// The characters , . ' ( ) - that the word fields accept besides their letters.
constexpr std::int16_t kPunctuation[] = {',', '.', '\'', '(', ')', '-'};
// The Armenian field also accepts code 168, the ligature "ev" as typed.
constexpr std::int16_t kArmenianEv = 168;

void installExceptions(bool withEv) {
    std::size_t slot = 1;
    for (std::int16_t code : kPunctuation) {
        Stugum::ExceptionChars[slot++] = code;
    }
    if (withEv) {
        Stugum::ExceptionChars[slot++] = kArmenianEv;
    }
    Stugum::ExceptionCount = static_cast<std::int16_t>(slot - 1);
}

// What the add dialog tells of a field's word, in the order it tells it:
// both fields are checked for being empty, then both for a leading space,
// then each for what the dictionary cannot store.
enum class Refusal { None, Empty, BeginsWithGap, CannotBeStored };

// The word rule (data/WordRule.h) on a field's codes. Pasted text can hold
// what no key would type: a character without an 8-bit code, or a control
// character; the dictionary can store neither.
Refusal refusalOf(const WordBox& field, const std::optional<std::string>& codes) {
    if (!codes) {
        // A character without a code; a space before it is still told first.
        const std::optional<std::string> first = fromDisplay(field.side(), field.text().left(1));
        return first && wordFault(*first) == WordFault::BeginsWithSpace ? Refusal::BeginsWithGap
                                                                        : Refusal::CannotBeStored;
    }
    switch (wordFault(*codes)) {
    case WordFault::None:
        return Refusal::None;
    case WordFault::Empty:
        return Refusal::Empty;
    case WordFault::BeginsWithSpace:
        return Refusal::BeginsWithGap;
    case WordFault::TooLong: // the fields take no more, pasted text included
    case WordFault::ControlCharacter:
        break;
    }
    return Refusal::CannotBeStored;
}

} // namespace

const AddDialogConfig frmAdd{
    "frmAdd",
    "Add",
    5025,
    "English word",
    "Text1",
    "Text2",
    "Text3",
    2160,
    5055,
    AddDialogConfig::SourceFilter::Latin,
    "The English text field is empty\u0404",
    "The English text field begins by a gap",
    "The English text field holds a character the dictionary cannot store",
};

const AddDialogConfig frmAdd1{
    "frmAdd1",
    "Add1",
    5040,
    "Russian word",
    "Text3",
    "Text4",
    "Text5",
    2040,
    5250,
    AddDialogConfig::SourceFilter::Russian,
    "The Russian text field is empty \u0404",
    "The Russian text field begins by a gap",
    "The Russian text field holds a character the dictionary cannot store",
};

AddDialog::AddDialog(const AddDialogConfig& config, PageControls& page, QWidget* parent)
    : QDialog(parent), config_(config), page_(page) {
    using editing::designFont;
    editing::makeFixedDialog(this, config.formName, QString::fromUtf8(config.title),
                             config.clientWidth, kClientHeight);

    // Made in tab order: Add, Close, the two fields, the check box.
    Command1 = new QPushButton(QStringLiteral("Add"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    twips::place(Command1, 240, 1560, 1695, 495);
    connect(Command1, &QPushButton::clicked, this, &AddDialog::Command1_Click);

    Command2 = new QPushButton(QStringLiteral("Close"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    twips::place(Command2, 2880, 1560, 1935, 495);
    connect(Command2, &QPushButton::clicked, this, &AddDialog::Command2_Click);

    sourceField = new editing::FilteredWordBox(page.kind->sourceSide, this);
    sourceField->setObjectName(QString::fromLatin1(config.sourceFieldName));
    sourceField->setFont(designFont(editing::kWindowFont, 9.75));
    twips::place(sourceField, 1680, 120, 3255, 375);
    if (config.sourceFilter == AddDialogConfig::SourceFilter::Latin) {
        sourceField->setKeyPress([this](int code) { return latinKeyPress(code); });
    } else {
        sourceField->setKeyPress([this](int code) { return russianKeyPress(code); });
    }

    armenianField = new editing::FilteredWordBox(Side::Armenian, this);
    armenianField->setObjectName(QString::fromLatin1(config.armenianFieldName));
    armenianField->setFont(designFont(editing::kArmenianFont, 9.75));
    twips::place(armenianField, 1680, 600, 3255, 375);
    armenianField->setKeyPress([this](int code) { return armenianKeyPress(code); });
    if (page.armenianKeys != nullptr) {
        // Latin keys type Armenian letters before the key filter sees them.
        armenianField->installEventFilter(page.armenianKeys);
    }

    sourceField->setMaxLength(static_cast<int>(kLongestWord));
    armenianField->setMaxLength(static_cast<int>(kLongestWord));

    Check1 = new QCheckBox(QStringLiteral("To not close a window the ambassador pressing of a "
                                          "button Add"),
                           this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setFont(designFont(editing::kWindowFont, 8.25));
    twips::place(Check1, 120, 1080, config.checkWidth, 375);
    // The box runs past the window's right edge; its text must end inside it.
    editing::fitTextToWidth(Check1, twips::toPixels(config.clientWidth - 120 - 60));

    Label1 = new QLabel(QString::fromLatin1(config.sourceLabel), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    twips::place(Label1, 120, 120, 1455, 375);

    Label2 = new QLabel(QStringLiteral("Armenian word"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    twips::place(Label2, 120, 600, 1455, 375);

    lineBox = new QLineEdit(this);
    lineBox->setObjectName(QString::fromLatin1(config.lineBoxName));
    twips::place(lineBox, config.lineBoxLeft, 1560, 495, 495);
    lineBox->hide();

    setTabOrder(Command1, Command2);
    setTabOrder(Command2, sourceField);
    setTabOrder(sourceField, armenianField);
    setTabOrder(armenianField, Check1);
    Command1->setFocus();
    // A button shows as the one Enter presses only while it has the focus.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now != Command1 && now != Command2 && isAncestorOf(now)) {
            Command1->setDefault(false);
            Command2->setDefault(false);
        }
    });

    editing::centreOnScreen(this);
}

void AddDialog::Command1_Click() {
    const PageControls& page = page_;
    const QString source = sourceField->text();
    const std::optional<std::string> sourceCodes = sourceField->codes();
    const std::optional<std::string> armenianCodes = armenianField->codes();

    const Refusal sourceRefusal = refusalOf(*sourceField, sourceCodes);
    const Refusal armenianRefusal = refusalOf(*armenianField, armenianCodes);
    const struct {
        Refusal refusal;
        const char* source;
        const char* armenian;
    } messages[] = {
        {Refusal::Empty, config_.sourceEmpty, kArmenianEmpty},
        {Refusal::BeginsWithGap, config_.sourceBeginsWithGap, kArmenianBeginsWithGap},
        {Refusal::CannotBeStored, config_.sourceCannotBeStored, kArmenianCannotBeStored},
    };
    for (const auto& message : messages) {
        if (sourceRefusal == message.refusal || armenianRefusal == message.refusal) {
            refuse(QString::fromUtf8(sourceRefusal == message.refusal ? message.source
                                                                      : message.armenian));
            return;
        }
    }
    if (isListed(*sourceCodes)) {
        refuse(QStringLiteral("Already exists '' ") + source +
               QStringLiteral(" '' line, Which is   ") + lineBox->text() +
               QStringLiteral(" in a line"));
        return;
    }

    std::optional<editing::BusyPointer> busy(std::in_place, this);
    std::optional<editing::ListEdit> edit;
    try {
        edit.emplace(editing::ListEdit::add(page, *sourceCodes, *armenianCodes));
    } catch (const DatabaseError& error) {
        busy.reset();
        // The dialog stays open with both words, so nothing typed is lost.
        refuse(
            editing::failureMessage(page, QStringLiteral("The word pair was not added."), error));
        return;
    }
    edit->show();
    // The Armenian search box is emptied first: emptying it chooses a word of
    // the Armenian list, and the pair just added must be the one left shown.
    page.armenianSearch->clear();
    WordBox* search = page.sourceSearch;
    if (search->codes() == sourceCodes) {
        page.sourceSearchChange(); // the same text changes nothing, so look it up
    } else {
        search->setCodes(*sourceCodes);
    }
    if (!Check1->isChecked()) {
        accept();
    }
}

bool AddDialog::isListed(const std::string& word) {
    ListBox* list = page_.sourceList;
    const int i = findWord(list->words(), word);
    if (i < 0) {
        return false;
    }
    list->setListIndex(i);
    lineBox->setText(QString::number(i + 1));
    return true;
}

void AddDialog::refuse(const QString& message) {
    showErrorAdd(message, this);
}

void AddDialog::Command2_Click() {
    reject();
}

void AddDialog::keyPressEvent(QKeyEvent* event) {
    // Add is the dialog's cancel button: Esc presses it.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        Command1->click();
        return;
    }
    // There is no default button: Enter presses a button only where it has
    // the focus (the buttons see to that themselves), and does nothing elsewhere.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

// ---- Key handling of the word fields ----

int AddDialog::latinKeyPress(int code) {
    Stugum::CurrentKey = static_cast<std::int16_t>(code);
    installExceptions(false);
    Stugum::CheckKey(false, true, true, false, false, true, true);
    return afterFilter(Stugum::CurrentKey);
}

int AddDialog::russianKeyPress(int code) {
    const bool kept = code == 8 || code == 13 || code == 32 || code == 39 || code == 40 ||
                      code == 41 || code == 44 || code == 45 || code == 46 ||
                      (code >= 191 && code <= 255);
    if (!kept) {
        Stugum::Beep();
        return 0;
    }
    return afterFilter(code);
}

int AddDialog::armenianKeyPress(int code) {
    Stugum::CurrentKey = static_cast<std::int16_t>(code);
    IMSall();
    return afterFilter(Stugum::CurrentKey);
}

void AddDialog::IMSall() {
    installExceptions(true);
    Stugum::CheckKey(true, false, false, false, false, true, true);
}

int AddDialog::afterFilter(int code) {
    if (code == kEnter) {
        Command1_Click();
        return 0;
    }
    return code;
}

} // namespace tavelin
