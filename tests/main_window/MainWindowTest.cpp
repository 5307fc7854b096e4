#include "app/Dictionaries.h"
#include "ini/modIni.h"
#include "main_window/Tavelin.h"
#include "platform/TextCodec.h"
#include "services/HotKey.h"
#include "support/GuiTestSupport.h"
#include "support/QtTestMain.h"
#include "widgets/Notice.h"
#include "widgets/StatusBar.h"
#include "widgets/TabControl.h"

#include <QClipboard>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QToolBar>

#include <fstream>

using namespace tavelin;

using namespace tavelin::test;

class MainWindowTest : public QObject {
    Q_OBJECT

    test::TempDir dir;
    Tavelin* w = nullptr;
    Pairs english = {
        {"abandon", hy("լքել")}, {"abbey", hy("աբբայություն")}, {"apple", hy("խնձոր")},
        {"bread", hy("հաց")},    {"cat", hy("կատու")},          {"dog", hy("շուն")},
        {"o'clock", hy("ժամը")}, {"water", hy("ջուր")},         {"Yerevan", hy("Երևան")},
    };

    Pairs russian = {{ru("дом"), hy("տուն")},
                     {ru("вода"), hy("ջուր")},
                     {ru("кот"), hy("կատու")},
                     {ru("мир"), hy("աշխարհ")},
                     {ru("хлеб"), hy("հաց")}};

    void reload() {
        LoadEnglish(w->list1->words());
        LoadArmenian(w->list2->words());
        LoadArmenian1(w->List3->words());
        LoadRussian(w->List4->words());
    }

    void resetRussian(const Pairs& pairs) {
        std::filesystem::remove(dir.file("RA.tvl"));
        db1 = Database::create(dir.file("RA.tvl"), kRussianArmenian);
        fillDictionary(db1, pairs);
        reload();
    }

    void resetDictionaries(const Pairs& pairs) {
        std::filesystem::remove(dir.file("EA.tvl"));
        db = Database::create(dir.file("EA.tvl"), kEnglishArmenian);
        fillDictionary(db, pairs);
        reload();
    }

    QString panel(int n) { return w->StatusBar1->panelText(n); }

private slots:
    void initTestCase() {
        db = Database::create(dir.file("EA.tvl"), kEnglishArmenian);
        db1 = Database::create(dir.file("RA.tvl"), kRussianArmenian);
        fillDictionary(db, english);
        fillDictionary(db1, russian);
        w = &Tavelin::instance();
        attachDictionaries(*w);
        reload();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
    }

    void init() {
        w->tab1->setCurrentPage(0);
        w->Text1->clear();
        w->Text2->clear();
        w->Text5->clear();
        w->Text4->clear();
        w->list1->setListIndex(-1);
        w->List4->setListIndex(-1);
    }

    void cleanupTestCase() {
        delete w;
        db = Database();
        db1 = Database();
    }

    void loadLeavesTheFirstPageInViewAndCaptionsExact() {
        QCOMPARE(w->windowTitle(), QString(" Tavelin (Eng - Arm) "));
        QCOMPARE(w->pageFromCaption(), 0);
        QVERIFY(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(w->tab1->tabBar()->tabText(0), QString("  English - Armenian"));
        QCOMPARE(w->tab1->tabBar()->tabText(1), QString("  Russian - Armenian"));
        QVERIFY(w->Timer1->isActive() && w->Timer3->isActive() && w->Timer5->isActive());
        QVERIFY(!w->Timer2->isActive() && !w->Timer4->isActive() && !w->Timer6->isActive());
        QCOMPARE(w->findChild<QObject*>("mnuDelete"), w->mnuDelete);
        QCOMPARE(w->mnuAdd->shortcut(), QKeySequence("Ctrl+I"));
        QCOMPARE(w->mnuProperties->shortcut(), QKeySequence("Ctrl+D"));
        QCOMPARE(w->mnuQuit->shortcut(), QKeySequence("Ctrl+Q"));
        QStringList tips;
        for (QAction* action : w->Toolbar1->actions()) {
            tips << (action->isSeparator() ? "|" : action->toolTip());
        }
        QCOMPARE(tips.join(' '), QString("| Quit | Add Delete | Properties | Help"));
    }

    void typingAPrefixSelectsTheWordAfterTheFirstItem() {
        type(w->Text1, "ab");
        QCOMPARE(w->list1->listIndex(), 1);
        QCOMPARE(w->Text3->text(), QString("abbey"));
        QCOMPARE(w->Text7->text(), QString::fromUtf8("աբբայություն"));
        QCOMPARE(w->list2->selectedWord(), hy("աբբայություն"));
        QCOMPARE(panel(2), QString(" Is chosen 2 line"));
        w->Text1->clear();
        type(w->Text1, "ABA");
        QCOMPARE(w->list1->listIndex(), 0);
        QCOMPARE(w->Text3->text(), QString("abandon"));
        QCOMPARE(panel(2), QString(" Is chosen 1 line"));
    }

    void onlyMatchAtTheFirstItemIsFound() {
        resetDictionaries({{"abandon", hy("լքել")}, {"cat", hy("կատու")}});
        type(w->Text1, "ab");
        QCOMPARE(w->list1->listIndex(), 0);
        resetDictionaries(english);
    }

    void clearingTheBoxSelectsItemOne() {
        type(w->Text1, "dog");
        QCOMPARE(w->list1->listIndex(), 5);
        w->Text1->clear();
        QCOMPARE(w->list1->listIndex(), 1);
        QCOMPARE(w->Text3->text(), QString("abbey"));
        resetDictionaries({{"single", hy("մեկ")}});
        w->Text1->setText("x");
        w->Text1->clear();
        QCOMPARE(w->list1->listIndex(), 0);
        resetDictionaries(english);
    }

    void noMatchClearsSelectionAndBoxes() {
        type(w->Text1, "ca");
        QCOMPARE(w->Text3->text(), QString("cat"));
        type(w->Text1, "q");
        QCOMPARE(w->list1->listIndex(), -1);
        QCOMPARE(w->Text3->text(), QString());
        QCOMPARE(w->Text7->text(), QString());
        QCOMPARE(panel(2), QString(" Is chosen 0 line"));
        // Letters that have no code in the list's set match nothing either.
        w->Text1->setText(QString::fromUtf8("дом"));
        QCOMPARE(w->list1->listIndex(), -1);
    }

    void armenianSearchLeavesTheSourceListAlone() {
        type(w->Text1, "bread");
        const int englishIndex = w->list1->listIndex();
        const QString chosen = panel(2);
        type(w->Text2, QString::fromUtf8("շո"));
        QCOMPARE(w->list2->selectedWord(), hy("շուն"));
        QCOMPARE(w->Text7->text(), QString::fromUtf8("շուն"));
        QCOMPARE(w->Text3->text(), QString("dog"));
        QCOMPARE(w->list1->listIndex(), englishIndex);
        QCOMPARE(panel(2), chosen);
        // The ligature typed as one character finds words written with it.
        w->Text2->clear();
        type(w->Text2, QString::fromUtf8("Երև"));
        QCOMPARE(w->Text3->text(), QString("Yerevan"));
    }

    void clickingTheTwentyFifthWordShows25() {
        Pairs many;
        for (char a = 'a'; a <= 'c'; ++a) {
            for (char b = 'a'; b <= 'j'; ++b) {
                many.push_back({std::string{a, b}, hy("բառ") + std::string(1, a) + b});
            }
        }
        resetDictionaries(many);
        w->list1->setListIndex(24);
        QCOMPARE(panel(2), QString(" Is chosen 25 line"));
        QCOMPARE(w->Text3->text(), QString("ce"));
        resetDictionaries(english);
    }

    void doubleClicksFillBothSearchBoxes() {
        w->list1->setListIndex(4); // cat
        w->list1_DblClick();
        QCOMPARE(w->Text1->text(), QString("cat"));
        QCOMPARE(w->Text2->text(), QString::fromUtf8("կատու"));
        QCOMPARE(w->Text3->text(), QString("cat"));
        QCOMPARE(w->Text7->text(), QString::fromUtf8("կատու"));
        QCOMPARE(w->list1->selectedWord(), "cat");
        QCOMPARE(w->list2->selectedWord(), hy("կատու"));

        w->list2->selectWord(hy("ջուր"));
        w->list2_DblClick();
        QCOMPARE(w->Text1->text(), QString("water"));
        QCOMPARE(w->Text2->text(), QString::fromUtf8("ջուր"));
        QCOMPARE(w->Text3->text(), QString("water"));
        QCOMPARE(w->Text7->text(), QString::fromUtf8("ջուր"));

        w->tab1->setCurrentPage(1);
        w->List4->selectWord(ru("кот"));
        w->List4_DblClick();
        QCOMPARE(w->Text5->text(), QString::fromUtf8("кот"));
        QCOMPARE(w->Text4->text(), QString::fromUtf8("կատու"));
        QCOMPARE(w->Text6->text(), QString::fromUtf8("кот"));
        QCOMPARE(w->Text8->text(), QString::fromUtf8("կատու"));

        w->List3->selectWord(hy("հաց"));
        w->List3_DblClick();
        QCOMPARE(w->Text5->text(), QString::fromUtf8("хлеб"));
        QCOMPARE(w->Text4->text(), QString::fromUtf8("հաց"));
        QCOMPARE(w->Text6->text(), QString::fromUtf8("хлеб"));
        QCOMPARE(w->Text8->text(), QString::fromUtf8("հաց"));
    }

    void russianPageLooksUpBothDirections() {
        w->tab1->setCurrentPage(1);
        type(w->Text5, QString::fromUtf8("ми"));
        QCOMPARE(w->Text6->text(), QString::fromUtf8("мир"));
        QCOMPARE(w->Text8->text(), QString::fromUtf8("աշխարհ"));
        QCOMPARE(w->List3->selectedWord(), hy("աշխարհ"));
        QCOMPARE(panel(2), QString(" Is chosen 4 line"));
        type(w->Text4, QString::fromUtf8("ջ"));
        QCOMPARE(w->Text6->text(), QString::fromUtf8("вода"));
        QCOMPARE(w->Text8->text(), QString::fromUtf8("ջուր"));
        QCOMPARE(w->List4->listIndex(), 3); // the Russian list stays
    }

    void pageSwitchSetsCaptionTimersAndChosenLine() {
        w->List4->setListIndex(2);
        w->list1->setListIndex(4);
        w->tab1->setCurrentPage(1);
        QCOMPARE(w->windowTitle(), QString(" Tavelin (Rus - Arm) "));
        QCOMPARE(w->pageFromCaption(), 1);
        QCOMPARE(panel(2), QString(" Is chosen  3 line"));
        QVERIFY(w->Timer2->isActive() && w->Timer4->isActive() && w->Timer6->isActive());
        QVERIFY(!w->Timer1->isActive() && !w->Timer3->isActive() && !w->Timer5->isActive());
        QTRY_COMPARE_WITH_TIMEOUT(panel(1),
                                  QString("In total number of words in the dictionary - 5"), 150);
        w->tab1->setCurrentPage(0);
        QCOMPARE(w->windowTitle(), QString(" Tavelin (Eng - Arm) "));
        QCOMPARE(panel(2), QString(" Is chosen  5  line"));
        QTRY_COMPARE_WITH_TIMEOUT(panel(1),
                                  QString("In total number of words in the dictionary - 9"), 150);

        // A word count too long for its panel is drawn smaller, never cut
        // off, and at the bar's own size again once there is room; the
        // second time over from what the first measured.
        auto* first = w->StatusBar1->findChild<QLabel*>(QStringLiteral("Panel1"));
        QVERIFY(first != nullptr);
        const qreal full = first->font().pointSizeF();
        const QSize size = w->StatusBar1->size();
        for (int round = 0; round < 2; ++round) {
            w->StatusBar1->resize(size.width() * 9 / 10, size.height());
            QVERIFY(first->font().pointSizeF() < full);
            QVERIFY(QFontMetrics(first->font()).horizontalAdvance(first->text()) <=
                    first->contentsRect().width());
            w->StatusBar1->resize(size);
            QCOMPARE(first->font().pointSizeF(), full);
        }
    }

    void inactivePageIsParkedAndTakesNoFocus() {
        const int x = w->Text5->x();
        w->tab1->setCurrentPage(1);
        QCOMPARE(w->Text5->x(), x + TabControl::parkOffsetPixels());
        QCOMPARE(w->Text1->x(), w->Text5->x() - TabControl::parkOffsetPixels());
        QVERIFY(w->Text5->isVisible());
        QVERIFY(!w->Text1->isVisible());
        w->tab1->setCurrentPage(0);
        QCOMPARE(w->Text5->x(), x);
        // Tabbing round the window never lands on a control of the other page.
        w->Text1->setFocus();
        for (int i = 0; i < 20; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* focus = QApplication::focusWidget();
            QVERIFY(focus != w->Text5 && focus != w->Text4 && focus != w->List4 &&
                    focus != w->List3);
        }
    }

    void copyButtonsAndDeleteFollowTheControlsWithinATick() {
        w->Text3->setText("cat");
        w->Text7->clear();
        QTRY_VERIFY_WITH_TIMEOUT(w->Command1->isEnabled() && !w->Command2->isEnabled(), 150);
        w->list1->setListIndex(-1);
        QTRY_VERIFY_WITH_TIMEOUT(!w->mnuDelete->isEnabled() && !w->deleteButton()->isEnabled(),
                                 150);
        w->list1->setListIndex(2);
        QTRY_VERIFY_WITH_TIMEOUT(w->mnuDelete->isEnabled() && w->deleteButton()->isEnabled(), 150);
        // A selection in the Armenian list alone does not enable Delete.
        w->list1->setListIndex(-1);
        w->list2->setListIndex(1);
        QTest::qWait(150);
        QVERIFY(!w->mnuDelete->isEnabled());
    }

    void copyButtonsPutUnicodeOnTheClipboard() {
        type(w->Text1, "Yer");
        QTest::mouseClick(w->Command1, Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("Yerevan"));
        QTest::mouseClick(w->Command2, Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString::fromUtf8("Երևան"));
        w->tab1->setCurrentPage(1);
        type(w->Text5, QString::fromUtf8("х"));
        w->Command3_Click();
        QCOMPARE(QGuiApplication::clipboard()->text(), QString::fromUtf8("хлеб"));
        w->Command4_Click();
        QCOMPARE(QGuiApplication::clipboard()->text(), QString::fromUtf8("հաց"));
    }

    // Words only a file made elsewhere can hold: the lists and the boxes show
    // at most the first 256 codes, control characters as their pictures; the
    // copy buttons copy the word itself.
    void longWordsAndControlCharactersAreShownNeverWhole() {
        const std::string huge(10'000'000, 'w');
        resetDictionaries(
            {{"tab\there", hy("ներդիր")}, {"water", hy("ջուր")}, {huge, "\x1b" + hy("երկար")}});
        const auto shown = [](ListBox* list, int row) {
            return list->model()->index(row, 0).data().toString();
        };
        type(w->Text1, "ta");
        QCOMPARE(w->Text3->text(), QString::fromUtf8("tab␉here"));
        QCOMPARE(shown(w->list1, 0), QString::fromUtf8("tab␉here"));
        QTest::mouseClick(w->Command1, Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("tab\there"));

        w->Text1->clear();
        type(w->Text1, "ww");
        QCOMPARE(w->list1->selectedWord().size(), huge.size());
        const QString beginning = QString(256, 'w') + QString::fromUtf8("…");
        QCOMPARE(w->Text3->text(), beginning);
        QCOMPARE(shown(w->list1, 2), beginning);
        QCOMPARE(w->Text7->text(), QString::fromUtf8("␛երկար"));
        QCOMPARE(shown(w->list2, 0), QString::fromUtf8("␛երկար"));
        w->list1->grab(); // drawn, and measured, from what is shown
        w->list1_DblClick();
        QCOMPARE(w->Text1->text(), QString(256, 'w'));
        QCOMPARE(w->list1->listIndex(), 2);
        resetDictionaries(english);
    }

    void commandsChooseTheWindowByCaption() {
        std::vector<QString> opened;
        w->setCommands({[&](int page) { opened.push_back(QString("add %1").arg(page)); },
                        [&](int page) { opened.push_back(QString("delete %1").arg(page)); },
                        [&](int page) { opened.push_back(QString("options %1").arg(page)); },
                        [&] { opened.push_back("about"); }, [&] { opened.push_back("help"); }});
        w->mnuAdd->trigger();
        w->Toolbar1_ButtonClick("Properties");
        w->tab1->setCurrentPage(1);
        w->mnuAdd_Click();
        w->mnuDelete_Click();
        w->mnuProperties_Click();
        w->Toolbar1_ButtonClick("Help");
        w->Toolbar1_ButtonClick("add"); // keys compare with case
        w->Toolbar1_ButtonClick("Other");
        w->mnuhelptopics->trigger();
        w->mnuabout1->trigger(); // the tray menu's About opens the About box too
        w->setWindowTitle("Tavelin (Rus - Arm)");
        w->mnuAdd_Click();
        w->mnuabout->trigger();
        QCOMPARE(opened, (std::vector<QString>{"add 0", "options 0", "add 1", "delete 1",
                                               "options 1", "help", "help", "about", "about"}));
        w->tab1->setCurrentPage(0);
        w->setCommands({});
    }

    // A dictionary damaged under the running program: typing goes on quietly,
    // a click says what went wrong, and nothing ends the program.
    void damagedDictionaryIsReportedNotFatal() {
        std::vector<QString> warnings;
        setWarningHandler([&](const QString&, const QString& text) { warnings.push_back(text); });
        {
            std::fstream file(dir.file("EA.tvl"), std::ios::in | std::ios::out | std::ios::binary);
            file.write(std::string(8192, '\x5A').data(), 8192);
        }
        type(w->Text1, "ca");
        QVERIFY(warnings.empty());
        w->list1->setListIndex(3);
        QCOMPARE(warnings.size(), size_t(1));
        QVERIFY(warnings[0].startsWith("The dictionary could not be read."));
        QVERIFY(warnings[0].contains(QString::fromStdString(dir.file("EA.tvl"))));
        w->list2->setListIndex(0);
        QCOMPARE(warnings.size(), size_t(2));
        setWarningHandler({});
        resetDictionaries(english);
        w->Text1->clear();
        type(w->Text1, "wat");
        QCOMPARE(w->Text7->text(), QString::fromUtf8("ջուր"));
    }

    void lookUpAidsSwitchFromTheToolsMenuAndOptionsIni() {
        const QString ini = QString::fromStdString(dir.file("Options.ini"));
        {
            std::ofstream out(dir.file("Options.ini"));
            out << "[Positions]\nTop=10\n[LookUp]\nYoIsYe=false\nLatinTypesArmenian=FALSE\n"
                   "NearWords=no\nSelectionKey=\n";
        }
        LookUpAids aids = readLookUpAids(ini);
        QVERIFY(!aids.yoIsYe && !aids.latinTypesArmenian);
        QVERIFY(aids.nearWords && aids.selectionLookUp); // only "False" switches off
        QCOMPARE(aids.selectionKey, QString("Ctrl+F9"));

        setOptionsFilePath(ini);
        w->setLookUpAids(aids);
        const QList<QAction*> tools = w->findChild<QMenu*>("mnuOption")->actions();
        QStringList names;
        for (QAction* action : tools.mid(tools.indexOf(w->mnuProperties) + 1)) {
            names << (action->isSeparator() ? "|" : action->objectName());
        }
        QCOMPARE(names.join(' '), QString("| mnuYoIsYe mnuLatinArmenian mnuNearWords "
                                          "mnuSelectionLookUp"));
        QVERIFY(!w->mnuYoIsYe->isChecked() && w->mnuNearWords->isChecked());
        QVERIFY(w->mnuSelectionLookUp->text().endsWith("\tCtrl+F9"));

        QSignalSpy changed(w, &Tavelin::lookUpAidsChanged);
        w->mnuYoIsYe->trigger();
        w->mnuNearWords->trigger();
        QCOMPARE(changed.count(), 2);
        QVERIFY(w->lookUpAids().yoIsYe && !w->lookUpAids().nearWords);
        const LookUpAids stored = readLookUpAids(ini);
        QVERIFY(stored.yoIsYe && !stored.latinTypesArmenian && !stored.nearWords);
        QCOMPARE(GetINIValue("Positions", "Top", ini), QString("10"));
        QCOMPARE(GetINIValue("LookUp", "NearWords", ini), QString("False"));

        w->setLookUpAids(LookUpAids());
        setOptionsFilePath(QString());
    }

    void yeAndYoAreOneLetterInTheRussianSearchUntilSwitchedOff() {
        resetRussian(
            {{ru("ель"), hy("եղևնի")}, {ru("еще"), hy("դեռ")}, {ru("ёлка"), hy("տոնածառ")}});
        w->tab1->setCurrentPage(1);
        type(w->Text5, QString::fromUtf8("елк"));
        QCOMPARE(w->Text6->text(), QString::fromUtf8("ёлка"));
        QCOMPARE(w->Text8->text(), QString::fromUtf8("տոնածառ"));
        w->Text5->clear();
        type(w->Text5, QString::fromUtf8("ещё"));
        QCOMPARE(w->Text6->text(), QString::fromUtf8("еще"));

        setOptionsFilePath(QString::fromStdString(dir.file("Options.ini")));
        w->mnuYoIsYe->trigger();
        w->Text5->clear();
        type(w->Text5, QString::fromUtf8("елк"));
        QCOMPARE(w->List4->listIndex(), -1);
        w->setLookUpAids(LookUpAids());
        setOptionsFilePath(QString());
        resetRussian(russian);
    }

    void latinKeysTypeArmenianInTheArmenianBoxesUntilSwitchedOff() {
        resetDictionaries(
            {{"hello", hy("բարև")}, {"hi", hy("բարեվ")}, {"relative", hy("բարեկամ")}});
        type(w->Text2, "barev");
        QCOMPARE(w->Text2->text(), QString::fromUtf8("բարեվ"));
        QCOMPARE(w->list2->listIndex(), 1); // after բարեկամ, before the ligature's բարև
        QCOMPARE(w->Text3->text(), QString("hi"));
        w->Text2->clear();
        type(w->Text2, "BAR7");
        QCOMPARE(w->Text2->text(), QString::fromUtf8("ԲԱՐև"));
        QCOMPARE(w->Text3->text(), QString("hello"));
        // Pasted text stays as it is.
        w->Text2->clear();
        QGuiApplication::clipboard()->setText("barev");
        QTest::keyClick(w->Text2, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(w->Text2->text(), QString("barev"));

        setOptionsFilePath(QString::fromStdString(dir.file("Options.ini")));
        w->mnuLatinArmenian->trigger();
        w->tab1->setCurrentPage(1);
        w->Text4->clear();
        type(w->Text4, "b");
        QCOMPARE(w->Text4->text(), QString("b"));
        w->setLookUpAids(LookUpAids());
        setOptionsFilePath(QString());
        resetDictionaries(english);
    }

    void theSelectedTextIsLookedUpInTheBoxOfItsScript() {
        const auto lookUp = [](const char* selected) {
            QGuiApplication::clipboard()->setText(QString::fromUtf8(selected));
            hotkey::OnHotKey(hotkey::kLookUpId);
        };
        lookUp("  Water,\nthe second line");
        QCOMPARE(w->pageFromCaption(), 0);
        QCOMPARE(w->Text1->text(), QString("Water"));
        QCOMPARE(w->Text7->text(), QString::fromUtf8("ջուր"));
        QCOMPARE(w->focusWidget(), w->Text1);
        lookUp("\u00abдом\u00bb");
        QCOMPARE(w->pageFromCaption(), 1);
        QCOMPARE(w->Text5->text(), QString::fromUtf8("дом"));
        QCOMPARE(w->Text8->text(), QString::fromUtf8("տուն"));
        // Armenian stays on the page in view.
        lookUp("հաց");
        QCOMPARE(w->pageFromCaption(), 1);
        QCOMPARE(w->Text4->text(), QString::fromUtf8("հաց"));
        QCOMPARE(w->Text6->text(), QString::fromUtf8("хлеб"));
        QCOMPARE(w->focusWidget(), w->Text4);
        // A phrase that begins no word gives way to its first word; a hidden
        // window comes back.
        w->hide();
        lookUp("cat food");
        QVERIFY(w->isVisible());
        QCOMPARE(w->pageFromCaption(), 0);
        QCOMPARE(w->Text1->text(), QString("cat"));
        QCOMPARE(w->Text7->text(), QString::fromUtf8("կատու"));

        // A letter English words cannot hold stays in the box and matches
        // nothing; text of no script of the dictionaries changes nothing.
        lookUp("d\u014fg");
        QCOMPARE(w->Text1->text(), QString::fromUtf8("d\u014fg"));
        QCOMPARE(w->list1->listIndex(), -1);
        QCOMPARE(w->Text3->text(), QString());
        for (const char* nothing : {"λόγος", "", " \n "}) {
            lookUp(nothing);
            QCOMPARE(w->Text1->text(), QString::fromUtf8("d\u014fg"));
        }
        QCOMPARE(w->list1->listCount(), int(english.size()));

        // The key follows the switches; the Tools menu shows it as this
        // program writes it, and no key for a text that names none.
        setOptionsFilePath(QString::fromStdString(dir.file("Options.ini")));
        LookUpAids aids;
        aids.selectionKey = " ctrl + alt + l";
        w->setLookUpAids(aids);
        QVERIFY(w->mnuSelectionLookUp->text().endsWith("\tCtrl+Alt+L"));
        QCOMPARE(hotkey::lookUpKey().key, QString("Ctrl+Alt+L"));
        aids.selectionKey = "Ctrl+Foo";
        w->setLookUpAids(aids);
        QVERIFY(!w->mnuSelectionLookUp->text().contains('\t'));
        QCOMPARE(hotkey::lookUpKey().state, hotkey::LookUpKey::State::Bad);
        w->mnuSelectionLookUp->trigger();
        QCOMPARE(hotkey::lookUpKey().state, hotkey::LookUpKey::State::Off);
        w->setLookUpAids(LookUpAids());
        setOptionsFilePath(QString());
    }

    void aMillionPairsLoadAndAreSearched() {
        Pairs pairs;
        pairs.reserve(1000000);
        const char letters[] = "abcdefghijklmnopqrstuvwxyz";
        for (int i = 0; i < 1000000; ++i) {
            std::string word;
            for (int n = i, k = 0; k < 5; ++k, n /= 26) {
                word += letters[n % 26];
            }
            pairs.push_back({word + "x", hy("բառ")});
        }
        resetDictionaries(pairs);
        QCOMPARE(w->list1->listCount(), 1000000);
        QCOMPARE(w->list2->listCount(), 1000000);
        type(w->Text1, "zzy");
        QVERIFY(w->Text3->text().startsWith("zzy"));
        QCOMPARE(w->list1->selectedWord().substr(0, 3), "zzy");
        QCOMPARE(findPrefixByScanIndex("zzy"), w->list1->listIndex());

        // The chosen line's panel has room for the longest line number from
        // the word count's tick on: lines 1 to 1,000,000 move neither panel,
        // nor resize the word count's letters.
        w->Timer1_Timer();
        auto* chosen = w->StatusBar1->findChild<QLabel*>(QStringLiteral("Panel2"));
        auto* count = w->StatusBar1->findChild<QLabel*>(QStringLiteral("Panel1"));
        const QRect place = chosen->geometry();
        const QFont countFont = count->font();
        for (const char* prefix : {"a", "zzy", "mmm", "b"}) {
            w->Text1->clear();
            type(w->Text1, prefix);
            QCOMPARE(chosen->geometry(), place);
            QCOMPARE(count->font(), countFont);
            QVERIFY(QFontMetrics(chosen->font()).horizontalAdvance(chosen->text()) <=
                    chosen->contentsRect().width());
        }
        w->list1->setListIndex(999999);
        QCOMPARE(panel(2), QString(" Is chosen 1000000 line"));
        QCOMPARE(chosen->geometry(), place);
        QVERIFY(QFontMetrics(chosen->font()).horizontalAdvance(chosen->text()) <=
                chosen->contentsRect().width());
        resetDictionaries(english);
    }

private:
    int findPrefixByScanIndex(const std::string& prefix) {
        for (int i = 1; i < w->list1->listCount(); ++i) {
            if (w->list1->words().word(i).substr(0, prefix.size()) == prefix) {
                return i;
            }
        }
        return -1;
    }
};

TAVELIN_QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
