#include "OptionsDialog.h"

#include "OleColour.h"
#include "SettingsWidgets.h"
#include "frmfont.h"
#include "ini/IniErrorReport.h"
#include "ini/IniValues.h"
#include "ini/modIni.h"
#include "main_window/ListBox.h"
#include "main_window/PageControls.h"
#include "main_window/WordBox.h"
#include "platform/TextCodec.h"
#include "platform/Twips.h"
#include "services/OnTop.h"

#include <QGuiApplication>
#include <QPointer>
#include <QPushButton>
#include <QScreen>

#include <stdexcept>

namespace tavelin {

// What tells the two dialogs apart.
struct OptionsPage {
    int page;
    const char* objectName;
    Side sourceSide;
    const char* sourceCaption; // codes of the source side's character set
    const char* sourceSection;
    const char* armenianSection;
    const char* sourceChooserCaption;
    const char* armenianChooserCaption;
    int clientWidth; // twips
    int label4Width; // twips
};

namespace {

const OptionsPage kPages[2] = {
    {0, "Properties", Side::English, "English", "EnglishList", "ArmenianList", "Font - English",
     "Font - Armenian", 4860, 780},
    // "Русский" in Windows-1251.
    {1, "Properties1", Side::Russian, "\xD0\xF3\xF1\xF1\xEA\xE8\xE9", "RussianList",
     "ArmenianList.", "Font - Russian", "Font - Armenian.", 4920, 885},
};

// "Հայերեն" in ArmSCII-8.
const char* const kArmenianCaption = "\xD0\xB3\xDB\xBB\xF1\xBB\xDD";

constexpr int kClientHeight = 4185;
const char* const kSourceFace = "MS Sans Serif";
const char* const kArmenianFace = "Tavelin";
constexpr float kSampleDesignPoints = 12;
constexpr float kDialogPoints = 9.75F;
constexpr float kFallbackPoints = 10;

QPointer<OptionsDialog> theDialogs[2];

// The main window's pages the dialogs style, and the window that owns the
// dialogs; handed in by whoever builds the program.
struct Attachment {
    PageControls* pages[2] = {};
    QPointer<QWidget> owner;
};
Attachment& attachment() {
    static Attachment a;
    return a;
}

QString latin(const char* text) {
    return QString::fromLatin1(text);
}

QString read(const QString& section, const char* key) {
    return GetINIValue(section, latin(key), optionsFilePath());
}

void write(const QString& section, const char* key, const QString& value) {
    SetINIValue(section, latin(key), value, optionsFilePath());
}

std::int32_t colourOr(const QString& text, std::int32_t fallback) {
    const std::optional<std::int32_t> colour = iniColour(text);
    return colour && isOleColour(*colour) ? *colour : fallback;
}

// A main-window control takes a sample's style: face, size, bold, italic,
// text colour and background.
void applyStyle(QWidget* control, const SampleLabel* label) {
    QFont font = control->font();
    font.setFamily(label->fontName());
    font.setPointSizeF(label->fontSize());
    font.setBold(label->fontBold());
    font.setItalic(label->fontItalic());
    control->setFont(font);
    QPalette palette = control->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Text, fromOleColour(label->foreColor()));
        palette.setColor(group, QPalette::Base, fromOleColour(label->backColor()));
    }
    control->setPalette(palette);
}

void setBuiltInStyle(SampleLabel* label, const char* face) {
    label->setFontName(latin(face));
    label->setFontSize(iniSingle(QStringLiteral("10")).value_or(kFallbackPoints));
    label->setBackColor(kOleWhite);
    label->setForeColor(kOleButtonText);
    label->setFontBold(false);
    label->setFontItalic(false);
}

} // namespace

const QString OptionsDialog::kHint =
    QStringLiteral("Pressing two times on fields, you can the appeared window change a current "
                   "fout, size, colour of a field");

OptionsDialog::OptionsDialog(const OptionsPage& page, PageControls& controls, QWidget* parent)
    : QDialog(parent), page_(page), controls_(controls) {
    setObjectName(latin(page.objectName));
    setWindowTitle(QStringLiteral("Properties"));
    // A fixed dialog: a caption and a close button, nothing to minimise or maximise.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    QFont dialogFont(latin(kSourceFace));
    dialogFont.setPointSizeF(kDialogPoints);
    setFont(dialogFont);
    setFixedSize(twips::toPixels(page.clientWidth), twips::toPixels(kClientHeight));

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Picture3 = new ColourPanel(this);
    Picture3->setObjectName(QStringLiteral("Picture3"));
    Picture3->setCursor(Qt::PointingHandCursor);
    Label4 = new SampleLabel(Picture3);
    Label4->setObjectName(QStringLiteral("Label4"));
    Picture2 = new ColourPanel(this);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->setCursor(Qt::PointingHandCursor);
    Label3 = new SampleLabel(Picture2);
    Label3->setObjectName(QStringLiteral("Label3"));

    const std::pair<QPushButton**, const char*> buttons[] = {
        {&Command1, "Default"}, {&Command2, "Ok"}, {&Command3, "Cancel"}};
    int left = 120;
    int number = 1;
    for (const auto& [button, caption] : buttons) {
        *button = new QPushButton(latin(caption), this);
        (*button)->setObjectName(QStringLiteral("Command%1").arg(number++));
        twips::place(*button, left, 3600, 1335, 495);
        left += 1680;
    }

    twips::place(Picture3, 120, 840, 2295, 2625);
    twips::place(Picture2, 2520, 840, 2295, 2625);

    connect(Command1, &QPushButton::clicked, this, &OptionsDialog::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &OptionsDialog::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &OptionsDialog::Command3_Click);
    connect(Picture3, &ColourPanel::dblClick, this, &OptionsDialog::Picture3_DblClick);
    connect(Label4, &SampleLabel::dblClick, this, &OptionsDialog::Label4_DblClick);
    connect(Picture2, &ColourPanel::dblClick, this, &OptionsDialog::Picture2_DblClick);
    connect(Label3, &SampleLabel::click, this, &OptionsDialog::Label3_Click);

    Form_Load();
}

OptionsDialog& OptionsDialog::forPage(int page) {
    if (theDialogs[page].isNull()) {
        // Made hidden, owned by the main window.
        Attachment& a = attachment();
        if (a.pages[page] == nullptr) {
            throw std::logic_error("the options dialogs were not given the main window's pages");
        }
        theDialogs[page] = new OptionsDialog(kPages[page], *a.pages[page], a.owner);
    }
    return *theDialogs[page];
}

int OptionsDialog::page() const {
    return page_.page;
}

void OptionsDialog::setDesignLook() {
    const std::pair<SampleLabel*, const char*> samples[] = {{Label4, kSourceFace},
                                                            {Label3, kArmenianFace}};
    for (const auto& [label, face] : samples) {
        QFont font(latin(face));
        font.setPointSizeF(kSampleDesignPoints);
        label->setFont(font);
        label->setForeColor(kOleButtonText);
        label->setBackColor(kOleWhite);
    }
    Label4->setText(toDisplay(page_.sourceSide, page_.sourceCaption));
    Label3->setText(toDisplay(Side::Armenian, kArmenianCaption));
    twips::place(Label4, 600, 1080, page_.label4Width, 300);
    twips::place(Label3, 600, 1080, 930, 300);
    Label4->adjustSize();
    Label3->adjustSize();
    Picture3->setBackColor(kOleWhite);
    Picture2->setBackColor(kOleWhite);
    Label1->clear();
}

void OptionsDialog::Form_Load() {
    setDesignLook();
    reportingIniErrors([this] { loadOptions(); });
    Label1->setText(kHint);
    twips::place(Label1, 240, 120, 4575, 615);
    // Up to the panels' top edge when the hint needs it in the font it is drawn with.
    Label1->resize(Label1->width(),
                   std::min(std::max(Label1->height(), Label1->heightForWidth(Label1->width())),
                            twips::toPixels(840 - 120)));
    loaded_ = true;
}

void OptionsDialog::loadSide(SampleLabel* label, const QString& section) {
    QString text = read(section, "ForeColor");
    label->setForeColor(colourOr(text, kOleBlack));
    text = read(section, "BackColor");
    label->setBackColor(colourOr(text, kOleWhite));
    label->setFontBold(iniBool(read(section, "Bold")));
    label->setFontItalic(iniBool(read(section, "Italic")));
    label->setFontSize(fontSizeFrom(read(section, "Size")).value_or(kFallbackPoints));
    text = read(section, "Fontname");
    if (!text.isEmpty()) {
        label->setFontName(text);
    }
}

void OptionsDialog::loadOptions() {
    loadSide(Label4, latin(page_.sourceSection));
    loadSide(Label3, latin(page_.armenianSection));
    Picture3->setBackColor(Label4->backColor());
    Picture2->setBackColor(Label3->backColor());
    for (QWidget* control : {static_cast<QWidget*>(controls_.sourceSearch),
                             static_cast<QWidget*>(controls_.sourceShown),
                             static_cast<QWidget*>(controls_.sourceList)}) {
        applyStyle(control, Label4);
    }
    for (QWidget* control : {static_cast<QWidget*>(controls_.armenianSearch),
                             static_cast<QWidget*>(controls_.armenianShown),
                             static_cast<QWidget*>(controls_.armenianList)}) {
        applyStyle(control, Label3);
    }
}

void OptionsDialog::saveSide(const SampleLabel* label, const QString& section) {
    write(section, "Bold", iniBoolText(label->fontBold()));
    write(section, "Italic", iniBoolText(label->fontItalic()));
    write(section, "ForeColor", iniColourText(label->foreColor()));
    write(section, "Size", iniSingleText(label->fontSize()));
    write(section, "Fontname", label->fontName());
    write(section, "BackColor", iniColourText(label->backColor()));
}

void OptionsDialog::saveOptions() {
    saveSide(Label4, latin(page_.sourceSection));
    saveSide(Label3, latin(page_.armenianSection));
}

void OptionsDialog::showModal() {
    if (!loaded_) {
        Form_Load();
    }
    MakeTopmost(this);
    const QScreen* screen =
        parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen != nullptr) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    exec();
}

void OptionsDialog::done(int result) {
    loaded_ = false; // unloaded: the next opening reads Options.ini again
    QDialog::done(result);
}

void OptionsDialog::Command1_Click() {
    setBuiltInStyle(Label4, kSourceFace);
    Picture3->setBackColor(kOleWhite);
    setBuiltInStyle(Label3, kArmenianFace);
    Picture2->setBackColor(kOleWhite);
}

void OptionsDialog::Command2_Click() {
    reportingIniErrors([this] {
        for (QWidget* control : {static_cast<QWidget*>(controls_.sourceSearch),
                                 static_cast<QWidget*>(controls_.sourceList),
                                 static_cast<QWidget*>(controls_.sourceShown)}) {
            applyStyle(control, Label4);
        }
        for (QWidget* control : {static_cast<QWidget*>(controls_.armenianSearch),
                                 static_cast<QWidget*>(controls_.armenianList),
                                 static_cast<QWidget*>(controls_.armenianShown)}) {
            applyStyle(control, Label3);
        }
        saveOptions();
        // What the file now holds: the same styles, or, when the save failed,
        // the stored ones again.
        loadOptions();
        accept();
    });
}

void OptionsDialog::Command3_Click() {
    reject();
}

void OptionsDialog::Picture3_DblClick() {
    openChooser(Label4, latin(page_.sourceChooserCaption));
}

void OptionsDialog::Label4_DblClick() {
    Picture3_DblClick();
}

void OptionsDialog::Picture2_DblClick() {
    openChooser(Label3, latin(page_.armenianChooserCaption));
}

void OptionsDialog::Label3_Click() {
    Picture2_DblClick();
}

void OptionsDialog::openChooser(SampleLabel* label, const QString& caption) {
    frmfont chooser(this);
    chooser.cmbFName->setText(label->fontName());
    chooser.cmbFSize->setText(iniSingleText(label->fontSize()));
    chooser.picBGColor->setBackColor(label->backColor());
    chooser.picTextColor->setBackColor(label->foreColor());
    chooser.lblPreview->setForeColor(label->foreColor());
    chooser.picPreview->setBackColor(label->backColor());
    chooser.lblPreview->setBackColor(label->backColor());
    chooser.lblPreview->setFontSize(label->fontSize());
    chooser.lblPreview->setFontName(label->fontName());
    chooser.setWindowTitle(caption);
    chooser.cmbFStyle->setText(label->fontBold()     ? QStringLiteral("Bold")
                               : label->fontItalic() ? QStringLiteral("Italic")
                                                     : QStringLiteral("Regular"));
    MakeTopmost(&chooser);
    chooser.exec();
}

std::pair<SampleLabel*, ColourPanel*> OptionsDialog::sampleForChooser(const QString& caption) {
    for (const OptionsPage& page : kPages) {
        if (caption == latin(page.sourceChooserCaption)) {
            OptionsDialog& d = forPage(page.page);
            return {d.Label4, d.Picture3};
        }
        if (caption == latin(page.armenianChooserCaption)) {
            OptionsDialog& d = forPage(page.page);
            return {d.Label3, d.Picture2};
        }
    }
    return {nullptr, nullptr};
}

void OptionsDialog::attach(PageControls& englishArmenian, PageControls& russianArmenian,
                           QWidget* owner) {
    Attachment& a = attachment();
    a.pages[0] = &englishArmenian;
    a.pages[1] = &russianArmenian;
    a.owner = owner;
}

OptionsDialog& Properties() {
    return OptionsDialog::forPage(0);
}

OptionsDialog& Properties1() {
    return OptionsDialog::forPage(1);
}

void LoadOptions() {
    reportingIniErrors([] { Properties().loadOptions(); });
}

void LoadOptions1() {
    reportingIniErrors([] { Properties1().loadOptions(); });
}

void SaveOptions() {
    Properties().saveOptions();
}

void SaveOptions1() {
    Properties1().saveOptions();
}

void openOptionsDialog(int page) {
    if (page == 0 || page == 1) {
        OptionsDialog::forPage(page).showModal();
    }
}

} // namespace tavelin
