#pragma once

// The two options dialogs, one per dictionary page: Properties for the
// English-Armenian page and Properties1 for the Russian-Armenian page. They
// are one dialog configured by what tells them apart (the source language's
// sample and section, the Armenian section, the main-window controls of the
// page and the chooser captions). Each shows the page's two list styles on
// sample labels, lets the user change them with the font chooser, and on Ok
// applies them to the page's six main-window controls and stores them in
// Options.ini.
//
// Each dialog exists once per run: it is made hidden at its first use (which
// makes the main window too) and stays. Ok, Cancel and closing it count as
// unloading it: the next opening reads Options.ini again, so unconfirmed
// changes never survive.

#include <QDialog>

#include <cstdint>
#include <utility>

class QLabel;
class QPushButton;

namespace tavelin {

class ColourPanel;
class IniError;
class SampleLabel;
struct OptionsPage;
struct PageControls;

class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    // The dialog of a page (0 Properties, 1 Properties1), made hidden at its
    // first use together with the main window.
    static OptionsDialog& forPage(int page);
    // The main window's two pages, whose controls the dialogs style, and the
    // window that owns the dialogs: handed in once, before the first dialog
    // is made.
    static void attach(PageControls& englishArmenian, PageControls& russianArmenian,
                       QWidget* owner);
    // 0 for Properties, 1 for Properties1.
    int page() const;

    // The dialog's load handler: the samples as designed, the load routine,
    // the hint text.
    void Form_Load();
    // The load routine (LoadOptions / LoadOptions1): reads the dialog's two
    // sections and applies them to the samples, their panels and the page's
    // six main-window controls. Throws IniError.
    void loadOptions();
    // The save routine (SaveOptions / SaveOptions1): twelve writes. Throws IniError.
    void saveOptions();
    // Makes the dialog topmost and shows it modally; returns when it closes.
    void showModal();

    void Command1_Click(); // Default
    void Command2_Click(); // Ok
    void Command3_Click(); // Cancel
    void Picture3_DblClick();
    void Label4_DblClick();
    void Picture2_DblClick();
    void Label3_Click();

    // The sample label and panel a chooser caption names; nulls for any other caption.
    static std::pair<SampleLabel*, ColourPanel*> sampleForChooser(const QString& caption);

    QLabel* Label1;
    ColourPanel* Picture3;
    SampleLabel* Label4;
    ColourPanel* Picture2;
    SampleLabel* Label3;
    QPushButton* Command1;
    QPushButton* Command2;
    QPushButton* Command3;

    static const QString kHint;

protected:
    void done(int result) override;

private:
    OptionsDialog(const OptionsPage& page, PageControls& controls, QWidget* parent);

    void setDesignLook();
    void loadSide(SampleLabel* label, const QString& section);
    void saveSide(const SampleLabel* label, const QString& section);
    void openChooser(SampleLabel* label, const QString& caption);

    const OptionsPage& page_;
    PageControls& controls_;
    bool loaded_ = false;
};

// The two dialogs, made hidden at their first use (the main window with them).
OptionsDialog& Properties();
OptionsDialog& Properties1();

// The load routines, as start-up calls them: LoadOptions before LoadOptions1,
// both before the splash. An IniError is reported to the user and ends the
// routine, leaving what was applied so far.
void LoadOptions();
void LoadOptions1();
// The save routines of the two dialogs (no reporting: IniError passes).
void SaveOptions();
void SaveOptions1();

// The main window's Options command: page 0 opens Properties, page 1
// Properties1, each topmost and modal; any other page opens nothing.
void openOptionsDialog(int page);

} // namespace tavelin
