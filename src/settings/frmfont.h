#pragma once

// The font and colour chooser: a small modal dialog in which the user picks
// the face, size and style and the text and background colours of one sample
// of an options dialog. The caller fills its fields and sets its caption; on
// Ok it writes into the sample that its caption names (see OptionsDialog.h),
// on Cancel (or Esc, or closing it) it writes nothing.

#include <QDialog>
#include <QStringList>

#include <functional>
#include <optional>

class QGroupBox;
class QLabel;
class QPushButton;

namespace tavelin {

class ColourPanel;
class SampleLabel;
class SimpleCombo;

class frmfont : public QDialog {
    Q_OBJECT
public:
    // Making the chooser loads it: the three lists are filled.
    explicit frmfont(QWidget* parent = nullptr);

    // The sixteen sizes and the four styles, in their list order.
    static const QStringList& sizes();
    static const QStringList& styles();
    // The screen's font families, sorted without regard to case.
    static QStringList screenFonts();

    QLabel* lblFName;
    SimpleCombo* cmbFName;
    QLabel* lblFStyle;
    SimpleCombo* cmbFStyle;
    QLabel* lblFSize;
    SimpleCombo* cmbFSize;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
    QGroupBox* fraEffects;
    QLabel* lblBGColor;
    ColourPanel* picBGColor;
    QLabel* lblTextColor;
    ColourPanel* picTextColor;
    QGroupBox* fraPreview;
    ColourPanel* picPreview;
    SampleLabel* lblPreview;

    // Handlers, named after their control and event.
    void cmbFName_Click();
    void cmbFSize_Click();
    void cmbFStyle_Click();
    void picBGColor_Click();
    void picTextColor_Click();
    void cmdOK_Click();
    void cmdCancel_Click();

private:
    void pickColour(ColourPanel* swatch);
};

} // namespace tavelin
