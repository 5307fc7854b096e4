// The options dialogs Properties and Properties1 and the font chooser frmfont.
#include "settings/OptionsDialog.h"
#include "DialogTestSupport.h"
#include "ini/modIni.h"
#include "main_window/Tavelin.h"
#include "platform/Fonts.h"
#include "settings/OleColour.h"
#include "settings/SettingsWidgets.h"
#include "settings/frmfont.h"
#include "support/QtTestMain.h"
#include "widgets/Notice.h"

#include <QColorDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <csignal>
#include <sys/resource.h>

using namespace tavelin;
using tavelin::test::readFile;
using tavelin::test::whenOpen;
using tavelin::test::writeFile;

namespace {

QColor buttonText() {
    return QApplication::palette().color(QPalette::Active, QPalette::ButtonText);
}

struct Look {
    QColor text;
    QColor base;
    qreal points;
    bool bold;
    bool italic;
    QString family;
};

Look lookOf(const QWidget* control) {
    const QFont f = control->font();
    return {control->palette().color(QPalette::Active, QPalette::Text),
            control->palette().color(QPalette::Active, QPalette::Base),
            f.pointSizeF(),
            f.bold(),
            f.italic(),
            f.family()};
}

bool operator==(const Look& a, const Look& b) {
    return a.text == b.text && a.base == b.base && a.points == b.points && a.bold == b.bold &&
           a.italic == b.italic && a.family == b.family;
}

char* toString(const Look& look) {
    return QTest::toString(
        QStringLiteral("%1 on %2, %3 pt%4%5, %6")
            .arg(look.text.name(), look.base.name())
            .arg(look.points)
            .arg(look.bold ? " bold" : "", look.italic ? " italic" : "", look.family));
}

// Chooses an entry of a chooser list as a user does, with the mouse.
void choose(SimpleCombo* combo, const QString& entry) {
    QListWidget* list = combo->list();
    const QList<QListWidgetItem*> found = list->findItems(entry, Qt::MatchExactly);
    QVERIFY2(!found.isEmpty(), qPrintable(entry));
    list->scrollToItem(found.first());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(found.first()).center());
}

void typeInto(SimpleCombo* combo, const QString& text) {
    combo->editField()->selectAll();
    QTest::keyClicks(combo->editField(), text);
}

} // namespace

class OptionsDialogTest : public QObject {
    Q_OBJECT

    test::TempDir dir;
    std::string ini = dir.file("Options.ini");
    Tavelin* w = nullptr;
    QStringList warnings;

    QString fileText() const { return QString::fromStdString(readFile(ini)); }

    std::vector<QWidget*> page0Source() { return {w->Text1, w->Text3, w->list1}; }
    std::vector<QWidget*> page0Armenian() { return {w->Text2, w->Text7, w->list2}; }
    std::vector<QWidget*> page1Source() { return {w->Text5, w->Text6, w->List4}; }
    std::vector<QWidget*> page1Armenian() { return {w->Text4, w->Text8, w->List3}; }

    void loadBoth() {
        LoadOptions();
        LoadOptions1();
    }

    // Opens the chooser of a dialog's sample the way a user does and acts on it.
    void withChooser(OptionsDialog& d, QWidget* target, bool doubleClick,
                     const std::function<void(frmfont*)>& act) {
        bool opened = false;
        whenOpen(
            [&](QWidget* modal) {
                auto* chooser = qobject_cast<frmfont*>(modal);
                QVERIFY(chooser != nullptr);
                opened = true;
                act(chooser);
            },
            &d);
        if (doubleClick) {
            QTest::mouseDClick(target, Qt::LeftButton, {}, QPoint(3, 3));
        } else {
            QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(3, 3));
        }
        QVERIFY(opened);
    }

    // Shows a dialog modally as the Options command does and acts on it.
    void withDialog(int page, const std::function<void(OptionsDialog*)>& act) {
        bool opened = false;
        whenOpen([&](QWidget* modal) {
            auto* d = qobject_cast<OptionsDialog*>(modal);
            QVERIFY(d != nullptr);
            opened = true;
            act(d);
        });
        openOptionsDialog(page);
        QVERIFY(opened);
    }

private slots:
    void initTestCase() {
        setOptionsFilePath(QString::fromStdString(ini));
        installFontSubstitutes();
        setWarningHandler([this](const QString&, const QString& text) { warnings << text; });
        w = &Tavelin::instance();
        OptionsDialog::attach(w->page(0), w->page(1), w);
    }

    void init() {
        std::filesystem::remove(ini);
        loadBoth();
        warnings.clear();
    }

    void cleanup() { QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join('\n'))); }

    void cleanupTestCase() {
        delete w;
        setOptionsFilePath(QString());
        setWarningHandler({});
    }

    void noFileGivesEveryListAndBoxTheBuiltInLook() {
        const Look source{Qt::black, Qt::white, 10, false, false, "MS Sans Serif"};
        const Look armenian{Qt::black, Qt::white, 10, false, false, "Tavelin"};
        for (const auto& controls : {page0Source(), page1Source()}) {
            for (QWidget* control : controls) {
                QCOMPARE(lookOf(control), source);
            }
        }
        for (const auto& controls : {page0Armenian(), page1Armenian()}) {
            for (QWidget* control : controls) {
                QCOMPARE(lookOf(control), armenian);
            }
        }
        QVERIFY(!std::filesystem::exists(ini));
    }

    void storedStylesReachTheirOwnPageOnly() {
        writeFile(ini, "[EnglishList]\nForeColor=255\nBackColor=65280\nBold=True\nItalic=true\n"
                       "Size=14\nFontname=DejaVu Serif\n"
                       "[ArmenianList.]\nSize=20\nItalic=True\nBackColor=16711680\n");
        loadBoth();
        const Look english{QColor(255, 0, 0), QColor(0, 255, 0), 14, true, false, "DejaVu Serif"};
        for (QWidget* control : page0Source()) {
            QCOMPARE(lookOf(control), english);
        }
        const Look armenianPage1{Qt::black, QColor(0, 0, 255), 20, false, true, "Tavelin"};
        for (QWidget* control : page1Armenian()) {
            QCOMPARE(lookOf(control), armenianPage1);
        }
        // The English-Armenian page's Armenian side has no section: built-in look.
        for (QWidget* control : page0Armenian()) {
            QCOMPARE(lookOf(control), (Look{Qt::black, Qt::white, 10, false, false, "Tavelin"}));
        }
        // The samples and their panels show the same.
        QCOMPARE(Properties().Label4->backColor(), 65280);
        QCOMPARE(Properties().Picture3->backColor(), 65280);
        QCOMPARE(Properties1().Picture2->backColor(), 16711680);
        QCOMPARE(Properties1().Label3->fontSize(), 20.0F);
    }

    void systemColoursAndDamagedValues() {
        writeFile(ini, "[EnglishList]\nForeColor=-2147483630\nBackColor=-2147483643\n"
                       "[ArmenianList]\nForeColor=abc\nBackColor=2147483647\nBold=\nSize=abc\n"
                       "Fontname=\n"
                       "[RussianList]\nSize=9,75\nForeColor=-2147483623\n"
                       "[ArmenianList.]\nSize=-3\n");
        loadBoth();
        QCOMPARE(Properties().Label4->foreColor(), kOleButtonText);
        QCOMPARE(lookOf(w->Text1).text, buttonText());
        QCOMPARE(lookOf(w->Text1).base, QApplication::palette().color(QPalette::Base));
        // Not numbers, no colour, an empty value: the fallbacks.
        QCOMPARE(lookOf(w->list2),
                 (Look{Qt::black, Qt::white, 10, false, false, QString("Tavelin")}));
        QCOMPARE(lookOf(w->List4).points, 9.75);
        // Index 25 is no system colour.
        QCOMPARE(lookOf(w->List4).text, QColor(Qt::black));
        QCOMPARE(lookOf(w->List3).points, 10.0);
        writeFile(ini, "[ArmenianList.]\nSize=100000\n");
        LoadOptions1();
        QCOMPARE(lookOf(w->List3).points, 10.0);
    }

    void defaultThenCancelChangesNothing() {
        const std::string stored = "[EnglishList]\nBold=True\nSize=16\nFontname=DejaVu Serif\n"
                                   "[ArmenianList]\nItalic=True\nForeColor=255\n";
        writeFile(ini, stored);
        loadBoth();
        const Look before1 = lookOf(w->Text1);
        const Look before2 = lookOf(w->list2);
        withDialog(0, [&](OptionsDialog* d) {
            QTest::mouseClick(d->Command1, Qt::LeftButton);
            QCOMPARE(d->Label4->fontName(), QString("MS Sans Serif"));
            QCOMPARE(d->Label3->foreColor(), kOleButtonText);
            QVERIFY(!d->Label4->fontBold());
            QTest::mouseClick(d->Command3, Qt::LeftButton);
            QVERIFY(!d->isVisible());
        });
        QCOMPARE(fileText(), QString::fromStdString(stored));
        QCOMPARE(lookOf(w->Text1), before1);
        QCOMPARE(lookOf(w->list2), before2);
        // Unconfirmed changes do not survive: the next opening shows the file.
        withDialog(0, [&](OptionsDialog* d) {
            QCOMPARE(d->Label4->fontName(), QString("DejaVu Serif"));
            QVERIFY(d->Label4->fontBold());
            QCOMPARE(d->Label3->foreColor(), 255);
            QTest::keyClick(d, Qt::Key_Escape);
        });
        QCOMPARE(fileText(), QString::fromStdString(stored));
    }

    void defaultThenOkWritesThatDialogsTwoSectionsOnly() {
        const std::string stored = "; mine\n[RussianList]\nSize=18\n\n[ArmenianList.]\nBold=True\n"
                                   "[Positions]\nTop=200\n";
        writeFile(ini, stored);
        loadBoth();
        const Look russian = lookOf(w->Text6);
        const Look armenian1 = lookOf(w->Text8);
        withDialog(0, [&](OptionsDialog* d) {
            QTest::mouseClick(d->Command1, Qt::LeftButton);
            QTest::mouseClick(d->Command2, Qt::LeftButton);
            QVERIFY(!d->isVisible());
        });
        const std::string section = "Bold=False\nItalic=False\nForeColor=-2147483630\nSize=10\n";
        QCOMPARE(fileText(),
                 QString::fromStdString(stored + "\n[EnglishList]\n" + section +
                                        "Fontname=MS Sans Serif\nBackColor=16777215\n\n"
                                        "[ArmenianList]\n" +
                                        section + "Fontname=Tavelin\nBackColor=16777215\n"));
        for (QWidget* control : page0Source()) {
            QCOMPARE(lookOf(control),
                     (Look{buttonText(), Qt::white, 10, false, false, "MS Sans Serif"}));
        }
        for (QWidget* control : page0Armenian()) {
            QCOMPARE(lookOf(control), (Look{buttonText(), Qt::white, 10, false, false, "Tavelin"}));
        }
        QCOMPARE(lookOf(w->Text6), russian);
        QCOMPARE(lookOf(w->Text8), armenian1);
    }

    void okOfProperties1ChangesOnlyTheRussianArmenianPage() {
        writeFile(ini, "[ArmenianList]\nSize=18\n");
        loadBoth();
        withDialog(1, [&](OptionsDialog* d) {
            withChooser(*d, d->Label3, false, [](frmfont* chooser) {
                QCOMPARE(chooser->windowTitle(), QString("Font - Armenian."));
                typeInto(chooser->cmbFSize, "22");
                choose(chooser->cmbFStyle, "Italic");
                QTest::mouseClick(chooser->cmdOK, Qt::LeftButton);
            });
            QCOMPARE(d->Label3->fontSize(), 22.0F);
            QCOMPARE(Properties().Label3->fontSize(), 18.0F);
            QTest::mouseClick(d->Command2, Qt::LeftButton);
        });
        for (QWidget* control : page1Armenian()) {
            QCOMPARE(lookOf(control).points, 22.0);
            QVERIFY(lookOf(control).italic);
        }
        for (QWidget* control : page0Armenian()) {
            QCOMPARE(lookOf(control).points, 18.0);
            QVERIFY(!lookOf(control).italic);
        }
        // Properties1 writes its own two sections, after what was there.
        QVERIFY(readFile(ini).starts_with("[ArmenianList]\nSize=18\n\n[RussianList]\n"));
        QVERIFY(readFile(ini).find("[EnglishList]") == std::string::npos);
        QCOMPARE(GetINIValue("ArmenianList.", "Size", QString::fromStdString(ini)), "22");
    }

    void okWithAFileThatCannotBeWrittenShowsWhatTheFileHolds() {
        std::string stored = "[EnglishList]\nSize=14\n";
        stored += std::string(200, ';') + "\n"; // larger than what may be written
        writeFile(ini, stored);
        loadBoth();
        withDialog(0, [&](OptionsDialog* d) {
            withChooser(*d, d->Picture3, true, [](frmfont* chooser) {
                typeInto(chooser->cmbFSize, "30");
                QTest::mouseClick(chooser->cmdOK, Qt::LeftButton);
            });
            QCOMPARE(d->Label4->fontSize(), 30.0F);
            // A disk with no room: nothing can be written.
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit old{};
            getrlimit(RLIMIT_FSIZE, &old);
            const rlimit tight{16, old.rlim_max};
            setrlimit(RLIMIT_FSIZE, &tight);
            QTest::mouseClick(d->Command2, Qt::LeftButton);
            setrlimit(RLIMIT_FSIZE, &old);
            QVERIFY(!d->isVisible());
        });
        QCOMPARE(fileText(), QString::fromStdString(stored));
        QCOMPARE(lookOf(w->Text1).points, 14.0);
        QCOMPARE(Properties().Label4->fontSize(), 14.0F);
        QVERIFY(warnings.isEmpty());
    }

    void theChooserOpensOnTheSampleItWasOpenedFrom() {
        withDialog(0, [&](OptionsDialog* d) {
            d->Label4->setFontName("DejaVu Serif");
            d->Label4->setFontSize(14);
            d->Label4->setFontBold(true);
            d->Label4->setFontItalic(true);
            d->Label4->setForeColor(0x0000FF);
            d->Label4->setBackColor(0x00FFFF);
            // A single click on the source sample does nothing.
            QTest::mouseClick(d->Label4, Qt::LeftButton, {}, QPoint(3, 3));
            QCOMPARE(QApplication::activeModalWidget(), d);
            withChooser(*d, d->Label4, true, [](frmfont* chooser) {
                QCOMPARE(chooser->windowTitle(), QString("Font - English"));
                QCOMPARE(chooser->cmbFStyle->text(), QString("Bold"));
                QCOMPARE(chooser->cmbFName->text(), QString("DejaVu Serif"));
                QCOMPARE(chooser->cmbFSize->text(), QString("14"));
                QCOMPARE(chooser->picBGColor->backColor(), 0x00FFFF);
                QCOMPARE(chooser->picTextColor->backColor(), 0x0000FF);
                QCOMPARE(chooser->picPreview->backColor(), 0x00FFFF);
                QCOMPARE(chooser->lblPreview->foreColor(), 0x0000FF);
                QCOMPARE(chooser->lblPreview->fontSize(), 14.0F);
                QCOMPARE(chooser->lblPreview->fontName(), QString("DejaVu Serif"));
                QVERIFY(chooser->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
                QTest::mouseClick(chooser->cmdCancel, Qt::LeftButton);
            });
            withChooser(*d, d->Label3, false, [](frmfont* chooser) {
                QCOMPARE(chooser->windowTitle(), QString("Font - Armenian"));
                QCOMPARE(chooser->cmbFStyle->text(), QString("Regular"));
            });
            d->Label3->setFontItalic(true);
            withChooser(*d, d->Picture2, true, [](frmfont* chooser) {
                QCOMPARE(chooser->windowTitle(), QString("Font - Armenian"));
                QCOMPARE(chooser->cmbFStyle->text(), QString("Italic"));
            });
            withChooser(*d, d->Picture3, true, [](frmfont* chooser) {
                QCOMPARE(chooser->windowTitle(), QString("Font - English"));
            });
        });
    }

    void theDialogsLookAsDesigned() {
        withDialog(1, [&](OptionsDialog* d) {
            QCOMPARE(d->objectName(), QString("Properties1"));
            QCOMPARE(d->windowTitle(), QString("Properties"));
            QVERIFY(d->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
            QCOMPARE(d->Label4->text(), QString::fromUtf8("Русский"));
            QCOMPARE(d->Label3->text(), QString::fromUtf8("Հայերեն"));
            QCOMPARE(d->Label1->text(),
                     QString("Pressing two times on fields, you can the appeared window change a "
                             "current fout, size, colour of a field"));
            QCOMPARE(d->Command1->text() + d->Command2->text() + d->Command3->text(),
                     QString("DefaultOkCancel"));
            // Every caption has the room its text needs.
            for (QWidget* label :
                 {static_cast<QWidget*>(d->Label1), static_cast<QWidget*>(d->Label3),
                  static_cast<QWidget*>(d->Label4)}) {
                QVERIFY(label->width() >= label->sizeHint().width() ||
                        label == static_cast<QWidget*>(d->Label1));
                QVERIFY(label->height() >= label->heightForWidth(label->width()));
            }
        });
        withDialog(0, [&](OptionsDialog* d) {
            QCOMPARE(d->objectName(), QString("Properties"));
            QCOMPARE(d->Label4->text(), QString("English"));
        });
        // Any other page opens nothing (and does not wait).
        openOptionsDialog(2);
        openOptionsDialog(-1);
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
    }

    // ---- The chooser on its own ----

    void theChooserListsTheScreensFontsSixteenSizesAndFourStyles() {
        frmfont chooser;
        const QStringList fonts = frmfont::screenFonts();
        QVERIFY(fonts.contains("DejaVu Sans"));
        QCOMPARE(chooser.cmbFName->count(), fonts.size());
        for (int i = 1; i < chooser.cmbFName->count(); ++i) {
            QVERIFY(chooser.cmbFName->itemText(i - 1).compare(chooser.cmbFName->itemText(i),
                                                              Qt::CaseInsensitive) <= 0);
        }
        QStringList sizes;
        for (int i = 0; i < chooser.cmbFSize->count(); ++i) {
            sizes << chooser.cmbFSize->itemText(i);
        }
        QCOMPARE(sizes.join(' '), QString("8 9 10 11 12 14 16 18 20 22 24 26 28 36 48 72"));
        QStringList styles;
        for (int i = 0; i < chooser.cmbFStyle->count(); ++i) {
            styles << chooser.cmbFStyle->itemText(i);
        }
        QCOMPARE(styles.join(','), QString("Regular,Bold,Italic,Bold Italic"));
    }

    void thePreviewFollowsChoicesInTheListsOnly() {
        frmfont chooser;
        chooser.show();
        QVERIFY(QTest::qWaitForWindowExposed(&chooser));
        chooser.lblPreview->setFontSize(10);
        choose(chooser.cmbFStyle, "Bold Italic");
        QVERIFY(chooser.lblPreview->fontBold() && chooser.lblPreview->fontItalic());
        QCOMPARE(chooser.cmbFStyle->text(), QString("Bold Italic"));
        choose(chooser.cmbFStyle, "Regular");
        QVERIFY(!chooser.lblPreview->fontBold() && !chooser.lblPreview->fontItalic());
        choose(chooser.cmbFSize, "36");
        QCOMPARE(chooser.lblPreview->fontSize(), 36.0F);
        choose(chooser.cmbFName, "DejaVu Serif");
        QCOMPARE(chooser.lblPreview->fontName(), QString("DejaVu Serif"));
        // The preview label grows with its font.
        QVERIFY(chooser.lblPreview->width() >= chooser.lblPreview->sizeHint().width());
        // Typed text is not previewed.
        typeInto(chooser.cmbFSize, "15");
        typeInto(chooser.cmbFStyle, "Bold");
        typeInto(chooser.cmbFName, "DejaVu Sans");
        QCOMPARE(chooser.lblPreview->fontSize(), 36.0F);
        QVERIFY(!chooser.lblPreview->fontBold());
        QCOMPARE(chooser.lblPreview->fontName(), QString("DejaVu Serif"));
        // The arrow keys walk the list and choose.
        chooser.cmbFSize->setText("8");
        QTest::keyClick(chooser.cmbFSize->editField(), Qt::Key_Down);
        QCOMPARE(chooser.cmbFSize->text(), QString("9"));
        QCOMPARE(chooser.lblPreview->fontSize(), 9.0F);
    }

    void okAppliesTypedTextAndKeepsWhatItCannotRead() {
        OptionsDialog& d = Properties();
        d.Label4->setFontBold(true);
        d.Label4->setFontItalic(false);
        d.Label4->setFontSize(12);
        auto ok = [&](const QString& size, const QString& style) {
            frmfont chooser(&d);
            chooser.setWindowTitle("Font - English");
            chooser.cmbFName->setText("DejaVu Serif");
            chooser.cmbFSize->setText(size);
            chooser.cmbFStyle->setText(style);
            chooser.picBGColor->setBackColor(0x123456);
            chooser.picTextColor->setBackColor(kOleButtonText);
            chooser.cmdOK_Click();
        };
        ok("15", "Heavy");
        QCOMPARE(d.Label4->fontSize(), 15.0F);
        QVERIFY(d.Label4->fontBold() && !d.Label4->fontItalic());
        QCOMPARE(d.Label4->fontName(), QString("DejaVu Serif"));
        QCOMPARE(d.Label4->backColor(), 0x123456);
        QCOMPARE(d.Picture3->backColor(), 0x123456);
        QCOMPARE(d.Label4->foreColor(), kOleButtonText);
        ok("", "Italic");
        QCOMPARE(d.Label4->fontSize(), 15.0F);
        QVERIFY(!d.Label4->fontBold() && d.Label4->fontItalic());
        ok("big", "Bold Italic");
        QCOMPARE(d.Label4->fontSize(), 15.0F);
        QVERIFY(d.Label4->fontBold() && d.Label4->fontItalic());
        ok("0", "Regular");
        QCOMPARE(d.Label4->fontSize(), 15.0F);
        QVERIFY(!d.Label4->fontBold() && !d.Label4->fontItalic());
    }

    void escapeAndUnknownCaptionsWriteNothing() {
        OptionsDialog& d = Properties1();
        const float size = d.Label3->fontSize();
        const float otherSize = Properties().Label3->fontSize();
        const auto back = d.Label3->backColor();
        whenOpen([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
        {
            frmfont chooser(&d);
            chooser.setWindowTitle("Font - Armenian.");
            chooser.cmbFSize->setText("40");
            chooser.picBGColor->setBackColor(0x00FF00);
            QCOMPARE(chooser.exec(), int(QDialog::Rejected));
        }
        QCOMPARE(d.Label3->fontSize(), size);
        // One full stop too many names no sample.
        frmfont chooser(&d);
        chooser.setWindowTitle("Font - Armenian..");
        chooser.cmbFSize->setText("40");
        chooser.cmdOK_Click();
        QCOMPARE(d.Label3->fontSize(), size);
        QCOMPARE(d.Label3->backColor(), back);
        QCOMPARE(Properties().Label3->fontSize(), otherSize);
    }

    void theColourDialogStartsAtTheSwatchsColour() {
        frmfont chooser;
        chooser.show();
        QVERIFY(QTest::qWaitForWindowExposed(&chooser));
        chooser.picTextColor->setBackColor(kOleButtonText);
        chooser.picBGColor->setBackColor(kOleWhite);
        bool seen = false;
        whenOpen(
            [&](QWidget* modal) {
                auto* dialog = qobject_cast<QColorDialog*>(modal);
                QVERIFY(dialog != nullptr);
                QCOMPARE(dialog->objectName(), QString("CDColor"));
                QCOMPARE(dialog->currentColor(), buttonText());
                dialog->setCurrentColor(QColor(10, 20, 30));
                dialog->accept();
                seen = true;
            },
            &chooser);
        QTest::mouseClick(chooser.picTextColor, Qt::LeftButton);
        QVERIFY(seen);
        QCOMPARE(chooser.picTextColor->backColor(), 0x1E140A);
        QCOMPARE(chooser.lblPreview->foreColor(), 0x1E140A);
        // Cancelled: the swatch keeps its colour, a system colour staying one.
        chooser.picTextColor->setBackColor(kOleButtonText);
        seen = false;
        whenOpen(
            [&](QWidget* modal) {
                auto* dialog = qobject_cast<QColorDialog*>(modal);
                QVERIFY(dialog != nullptr);
                dialog->setCurrentColor(Qt::red);
                dialog->reject();
                seen = true;
            },
            &chooser);
        QTest::mouseClick(chooser.picTextColor, Qt::LeftButton);
        QVERIFY(seen);
        QCOMPARE(chooser.picTextColor->backColor(), kOleButtonText);
        // The background swatch colours the preview's background too.
        whenOpen(
            [&](QWidget* modal) {
                auto* dialog = qobject_cast<QColorDialog*>(modal);
                QVERIFY(dialog != nullptr);
                QCOMPARE(dialog->currentColor(), QColor(Qt::white));
                dialog->setCurrentColor(QColor(0, 0, 128));
                dialog->accept();
            },
            &chooser);
        QTest::mouseClick(chooser.picBGColor, Qt::LeftButton);
        QCOMPARE(chooser.picBGColor->backColor(), 0x800000);
        QCOMPARE(chooser.picPreview->backColor(), 0x800000);
        QCOMPARE(chooser.lblPreview->backColor(), 0x800000);
    }
};

TAVELIN_QTEST_MAIN(OptionsDialogTest)
#include "OptionsDialogTest.moc"
