#include "frmfont.h"

#include "OleColour.h"
#include "OptionsDialog.h"
#include "SettingsWidgets.h"
#include "platform/Twips.h"

#include <QColorDialog>
#include <QFontDatabase>
#include <QGroupBox>
#include <QPushButton>

#include <algorithm>

namespace tavelin {
namespace {

constexpr int kClientWidth = 6075;
constexpr int kClientHeight = 4680;

template <typename W> W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// What a style entry means: bold and italic, or nothing for any other text.
std::optional<std::pair<bool, bool>> styleOf(const QString& text) {
    const QStringList& styles = frmfont::styles();
    const qsizetype index = styles.indexOf(text);
    if (index < 0) {
        return std::nullopt;
    }
    return std::pair{index == 1 || index == 3, index == 2 || index == 3};
}

} // namespace

const QStringList& frmfont::sizes() {
    static const QStringList list = {
        QStringLiteral("8"),  QStringLiteral("9"),  QStringLiteral("10"), QStringLiteral("11"),
        QStringLiteral("12"), QStringLiteral("14"), QStringLiteral("16"), QStringLiteral("18"),
        QStringLiteral("20"), QStringLiteral("22"), QStringLiteral("24"), QStringLiteral("26"),
        QStringLiteral("28"), QStringLiteral("36"), QStringLiteral("48"), QStringLiteral("72")};
    return list;
}

const QStringList& frmfont::styles() {
    static const QStringList list = {QStringLiteral("Regular"), QStringLiteral("Bold"),
                                     QStringLiteral("Italic"), QStringLiteral("Bold Italic")};
    return list;
}

QStringList frmfont::screenFonts() {
    QStringList fonts;
    for (const QString& family : QFontDatabase::families()) {
        if (!QFontDatabase::isPrivateFamily(family)) {
            fonts << family;
        }
    }
    std::sort(fonts.begin(), fonts.end(), [](const QString& a, const QString& b) {
        const int order = a.compare(b, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a < b;
    });
    fonts.removeDuplicates();
    return fonts;
}

frmfont::frmfont(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmfont"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    QFont dialogFont(QStringLiteral("MS Sans Serif"));
    dialogFont.setPointSizeF(8.25);
    setFont(dialogFont);
    setFixedSize(twips::toPixels(kClientWidth), twips::toPixels(kClientHeight));

    lblFName = named(new QLabel(QStringLiteral("Font:"), this), "lblFName");
    cmbFName = named(new SimpleCombo(this), "cmbFName");
    lblFStyle = named(new QLabel(QStringLiteral("Font style:"), this), "lblFStyle");
    cmbFStyle = named(new SimpleCombo(this), "cmbFStyle");
    lblFSize = named(new QLabel(QStringLiteral("Size"), this), "lblFSize");
    cmbFSize = named(new SimpleCombo(this), "cmbFSize");
    cmdOK = named(new QPushButton(QStringLiteral("Ok"), this), "cmdOK");
    cmdCancel = named(new QPushButton(QStringLiteral("Cancel"), this), "cmdCancel");
    fraEffects = named(new QGroupBox(QStringLiteral("Color"), this), "fraEffects");
    lblBGColor = named(new QLabel(QStringLiteral("Back color"), fraEffects), "lblBGColor");
    picBGColor = named(new ColourPanel(fraEffects), "picBGColor");
    lblTextColor = named(new QLabel(QStringLiteral("Fore color"), fraEffects), "lblTextColor");
    picTextColor = named(new ColourPanel(fraEffects), "picTextColor");
    fraPreview = named(new QGroupBox(QStringLiteral("Sample"), this), "fraPreview");
    picPreview = named(new ColourPanel(fraPreview), "picPreview");
    lblPreview = named(new SampleLabel(picPreview), "lblPreview");
    lblPreview->setText(QStringLiteral("AaBbCc"));
    lblPreview->unsetCursor();

    placeLabel(lblFName, 120, 240, 435, 240);
    twips::place(cmbFName, 120, 480, 1935, 2325);
    placeLabel(lblFStyle, 2160, 240, 900, 240);
    twips::place(cmbFStyle, 2160, 480, 1215, 2325);
    placeLabel(lblFSize, 3480, 240, 390, 240);
    twips::place(cmbFSize, 3480, 480, 855, 2325);
    twips::place(cmdOK, 4560, 480, 1335, 375);
    twips::place(cmdCancel, 4560, 1080, 1335, 375);
    twips::place(fraEffects, 120, 3000, 2775, 1455);
    placeLabel(lblBGColor, 240, 360, 0, 0);
    twips::place(picBGColor, 240, 650, 855, 350);
    placeLabel(lblTextColor, 1440, 360, 0, 0);
    twips::place(picTextColor, 1440, 600, 855, 350);
    twips::place(fraPreview, 3000, 3000, 3015, 1455);
    twips::place(picPreview, 240, 240, 2535, 1095);
    twips::place(lblPreview, 840, 240, 0, 0);
    lblPreview->adjustSize();

    // Esc is Cancel; Enter presses no button of its own accord.
    for (QPushButton* button : {cmdOK, cmdCancel}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    // Load: the three lists.
    for (const QString& family : screenFonts()) {
        cmbFName->addItem(family);
    }
    for (const QString& size : sizes()) {
        cmbFSize->addItem(size);
    }
    for (const QString& style : styles()) {
        cmbFStyle->addItem(style);
    }

    connect(cmbFName, &SimpleCombo::click, this, &frmfont::cmbFName_Click);
    connect(cmbFSize, &SimpleCombo::click, this, &frmfont::cmbFSize_Click);
    connect(cmbFStyle, &SimpleCombo::click, this, &frmfont::cmbFStyle_Click);
    connect(picBGColor, &ColourPanel::click, this, &frmfont::picBGColor_Click);
    connect(picTextColor, &ColourPanel::click, this, &frmfont::picTextColor_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmfont::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmfont::cmdCancel_Click);
}

void frmfont::cmbFName_Click() {
    if (!cmbFName->text().isEmpty()) {
        lblPreview->setFontName(cmbFName->text());
    }
}

void frmfont::cmbFSize_Click() {
    if (const std::optional<float> size = fontSizeFrom(cmbFSize->text())) {
        lblPreview->setFontSize(*size);
    }
}

void frmfont::cmbFStyle_Click() {
    if (const auto style = styleOf(cmbFStyle->text())) {
        lblPreview->setFontBold(style->first);
        lblPreview->setFontItalic(style->second);
    }
}

void frmfont::pickColour(ColourPanel* swatch) {
    QColorDialog CDColor(this);
    CDColor.setObjectName(QStringLiteral("CDColor"));
    CDColor.setCurrentColor(fromOleColour(swatch->backColor()));
    if (CDColor.exec() == QDialog::Accepted) {
        swatch->setBackColor(toOleColour(CDColor.selectedColor()));
    }
}

void frmfont::picBGColor_Click() {
    pickColour(picBGColor);
    lblPreview->setBackColor(picBGColor->backColor());
    picPreview->setBackColor(picBGColor->backColor());
}

void frmfont::picTextColor_Click() {
    pickColour(picTextColor);
    lblPreview->setForeColor(picTextColor->backColor());
}

void frmfont::cmdOK_Click() {
    const auto [label, panel] = OptionsDialog::sampleForChooser(windowTitle());
    if (label != nullptr) {
        label->setFontName(cmbFName->text());
        // A size that is no number (or none a list can show) keeps the sample's size.
        if (const std::optional<float> size = fontSizeFrom(cmbFSize->text())) {
            label->setFontSize(*size);
        }
        if (const auto style = styleOf(cmbFStyle->text())) {
            label->setFontBold(style->first);
            label->setFontItalic(style->second);
        }
        label->setBackColor(picBGColor->backColor());
        label->setForeColor(picTextColor->backColor());
        panel->setBackColor(picBGColor->backColor());
    }
    accept();
}

void frmfont::cmdCancel_Click() {
    reject();
}

} // namespace tavelin
