// The add and delete dialogs and the error notice, in-process on temporary
// dictionaries, with the real main window behind them.
#include "app/Dictionaries.h"
#include "editing/AddDialog.h"
#include "editing/DeleteDialog.h"
#include "editing/EditingCommands.h"
#include "editing/ErrorAdd.h"
#include "editing/FilteredWordBox.h"
#include "editing/Stugum.h"
#include "ini/modIni.h"
#include "main_window/Tavelin.h"
#include "support/GuiTestSupport.h"
#include "support/QtTestMain.h"
#include "support/WindowFixture.h"
#include "widgets/TabControl.h"

#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <csignal>
#include <sys/resource.h>

using namespace tavelin;
using test::hy;
using test::Pairs;
using test::ru;
using test::type;

namespace {

Pairs contents(Database& database) {
    Pairs pairs;
    database.forEachPair([&](std::string_view source, std::string_view armenian) {
        pairs.emplace_back(source, armenian);
    });
    return pairs;
}

std::vector<std::string> words(const ListBox* list) {
    std::vector<std::string> all;
    for (int i = 0; i < list->words().count(); ++i) {
        all.emplace_back(list->words().word(i));
    }
    return all;
}

// Runs a modal dialog that `open` shows, acting on it once it is in front.
// Returns whether it was still open after the action (it is closed then).
template <typename Dialog>
bool whileOpen(const std::function<void()>& open, const std::function<void(Dialog*)>& act) {
    bool stillOpen = false;
    QTimer::singleShot(0, [&] {
        QPointer<Dialog> dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            QFAIL("the dialog is not in front");
        }
        if (QTest::qWaitForWindowActive(dialog)) {
            act(dialog);
        }
        if (dialog != nullptr && dialog->isVisible()) {
            stillOpen = true;
            dialog->done(QDialog::Rejected);
        }
    });
    open();
    return stillOpen;
}

// In dictionary order; dog stands at line 12.
const Pairs kEnglish = {
    {"abandon", hy("լքել")}, {"abbey", hy("աբբայություն")}, {"apple", hy("խնձոր")},
    {"bread", hy("հաց")},    {"cake", hy("տորթ")},          {"cat", hy("կատու")},
    {"chair", hy("աթոռ")},   {"city", hy("քաղաք")},         {"cloud", hy("ամպ")},
    {"day", hy("օր")},       {"desk", hy("գրասեղան")},      {"dog", hy("շուն")},
    {"o'clock", hy("ժամը")}, {"water", hy("ջուր")},         {"Yerevan", hy("Երևան")},
};
const Pairs kRussian = {{ru("вода"), hy("ջուր")},
                        {ru("дом"), hy("տուն")},
                        {ru("кот"), hy("կատու")},
                        {ru("хлеб"), hy("հաց")}};

} // namespace

class EditingDialogsTest : public QObject {
    Q_OBJECT

    test::TempDir dir;
    Tavelin* w = nullptr;
    int beeps = 0;
    test::NoticeCloser noticeCloser;
    QStringList& notices = noticeCloser.notices;

    void makeDictionary(Database& database, const char* name, const DictionaryKind& kind,
                        const Pairs& pairs) {
        database = Database();
        std::filesystem::remove(dir.file(name));
        database = Database::create(dir.file(name), kind);
        test::fillDictionary(database, pairs);
    }

    void reload() { test::reloadLists(*w); }

    // An add dialog shown (not modal) in front of the main window.
    std::unique_ptr<AddDialog> addDialog(const AddDialogConfig& config, const QString& source = {},
                                         const QString& armenian = {}) {
        auto dialog = std::make_unique<AddDialog>(config, w->page(&config == &frmAdd ? 0 : 1), w);
        dialog->show();
        fill(*dialog, source, armenian);
        return dialog;
    }

    static void fill(AddDialog& dialog, const QString& source, const QString& armenian) {
        dialog.sourceField->setText(source);
        dialog.armenianField->setText(armenian);
    }

private slots:
    void initTestCase() {
        Stugum::setBeep([this] { ++beeps; });
        // Every notice is read and closed with Ok as soon as it is in front.
        noticeCloser.start();
        w = &Tavelin::instance();
        attachDictionaries(*w);
        w->setCommands({[this](int page) { openAddDialog(w->page(page), w); },
                        [this](int page) { openDeleteDialog(w->page(page), w); },
                        {},
                        {},
                        {}});
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
    }

    void init() {
        makeDictionary(db, "EA.tvl", kEnglishArmenian, kEnglish);
        makeDictionary(db1, "RA.tvl", kRussianArmenian, kRussian);
        reload();
        w->tab1->setCurrentPage(0);
        for (WordBox* box : {w->Text1, w->Text2, w->Text4, w->Text5}) {
            box->clear();
        }
        w->list1->setListIndex(-1);
        w->List4->setListIndex(-1);
        beeps = 0;
        notices.clear();
    }

    void cleanupTestCase() {
        noticeCloser.stop();
        Stugum::setBeep({});
        delete w;
        db = Database();
        db1 = Database();
    }

    void noticeBeepsAndOnlyOkClosesIt() {
        noticeCloser.stop();
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Space}) {
            beeps = 0;
            const bool stillOpen =
                whileOpen<ErrorAdd>([] { showErrorAdd("The English text field begins by a gap"); },
                                    [&](ErrorAdd* notice) {
                                        QCOMPARE(notice->windowTitle(), QString("ErrorAdd"));
                                        QVERIFY(notice->windowFlags() & Qt::WindowStaysOnTopHint);
                                        QCOMPARE(beeps, 1);
                                        QCOMPARE(QApplication::focusWidget(), notice->Command1);
                                        QTest::keyClick(notice->Command1, Qt::Key_Escape);
                                        QVERIFY(notice->isVisible());
                                        QTest::keyClick(notice->Command1, key);
                                    });
            QVERIFY(!stillOpen);
        }
        noticeCloser.start();
        // A long message makes the notice taller instead of being cut off.
        ErrorAdd notice;
        notice.setMessage(QString("The word pair was not added. ").repeated(6));
        const int needed = notice.Label1->heightForWidth(notice.Label1->width());
        QVERIFY(notice.Command1->y() >= notice.Label1->y() + needed);
        QVERIFY(notice.Command1->geometry().bottom() < notice.height());
    }

    void addTwinsDifferOnlyWhereTheyShould() {
        for (const AddDialogConfig* config : {&frmAdd, &frmAdd1}) {
            const bool english = config == &frmAdd;
            auto dialog = addDialog(*config);
            QCOMPARE(dialog->windowTitle(), QString(english ? "Add" : "Add1"));
            QCOMPARE(dialog->Label1->text(), QString(english ? "English word" : "Russian word"));
            QCOMPARE(dialog->sourceField->objectName(), QString(english ? "Text1" : "Text3"));
            QCOMPARE(dialog->armenianField->objectName(), QString(english ? "Text2" : "Text4"));
            QCOMPARE(dialog->lineBox->objectName(), QString(english ? "Text3" : "Text5"));
            QVERIFY(dialog->lineBox->isHidden());
            QCOMPARE(dialog->sourceField->maxLength(), 100);
            QCOMPARE(dialog->Check1->text(),
                     QString("To not close a window the ambassador pressing of a button Add"));
            // The check box runs past the right edge; its text does not.
            QVERIFY(dialog->Check1->x() + dialog->Check1->sizeHint().width() <= dialog->width());
            QCOMPARE(dialog->Command1->nextInFocusChain(), dialog->Command2);
            QCOMPARE(dialog->Command2->nextInFocusChain(), dialog->sourceField);
            QCOMPARE(dialog->sourceField->nextInFocusChain(), dialog->armenianField);
            QCOMPARE(dialog->armenianField->nextInFocusChain(), dialog->Check1);
        }
    }

    void checksRunInOrderWithTheirExactMessages() {
        const QString hyWord = QString::fromUtf8("շուն");
        for (const AddDialogConfig* config : {&frmAdd, &frmAdd1}) {
            const QString source = config == &frmAdd ? "English" : "Russian";
            const QString word = config == &frmAdd ? "kite" : QString::fromUtf8("нос");
            auto dialog = addDialog(*config);
            dialog->Command1_Click();
            // Pasted text is not filtered, but what has no code cannot be stored.
            for (const auto& [typedSource, typedArmenian] :
                 std::vector<std::pair<QString, QString>>{
                     {word, ""},
                     {" " + word, " " + hyWord},
                     {word, " " + hyWord},
                     {word + QString::fromUtf8("λ"), hyWord},
                     {word, hyWord + QString::fromUtf8("λ")}}) {
                fill(*dialog, typedSource, typedArmenian);
                dialog->Command1_Click();
            }
            const QString empty = QString::fromUtf8(config == &frmAdd ? "emptyЄ" : "empty Є");
            QCOMPARE(notices, QStringList({"The " + source + " text field is " + empty,
                                           QString::fromUtf8("The Armenian text field is empty Є"),
                                           "The " + source + " text field begins by a gap",
                                           "The Armenian text field begins by a gap",
                                           "The " + source +
                                               " text field holds a character the dictionary "
                                               "cannot store",
                                           "The Armenian text field holds a character the "
                                           "dictionary cannot store"}));
            QCOMPARE(beeps, 6); // one for each notice
            QVERIFY(dialog->isVisible());
            notices.clear();
            beeps = 0;

            // Pasted control characters (a tab, a line feed, an escape, a carriage
            // return, NUL, DEL) would not come back from an export of the dictionary.
            const auto paste = [](WordBox* field, const QString& text) {
                field->clear();
                QGuiApplication::clipboard()->setText(text);
                field->paste();
            };
            QStringList expected;
            for (const char16_t control : {u'\t', u'\n', u'\x1b', u'\r', u'\0', u'\x7f'}) {
                paste(dialog->sourceField, word + QChar(control) + word);
                paste(dialog->armenianField, hyWord);
                QCOMPARE(dialog->sourceField->text().size(), 2 * word.size() + 1);
                dialog->Command1_Click();
                fill(*dialog, word, QChar(control) + hyWord);
                dialog->Command1_Click();
                for (const QString& field : {source, QString("Armenian")}) {
                    expected << "The " + field +
                                    " text field holds a character the dictionary cannot store";
                }
            }
            QCOMPARE(notices, expected);
            notices.clear();
            beeps = 0;
        }
        QCOMPARE(contents(db), kEnglish);
        QCOMPARE(contents(db1), kRussian);
    }

    void duplicateIgnoresCaseSelectsTheWordAndNamesItsLine() {
        auto dialog = addDialog(frmAdd, "DoG", QString::fromUtf8("շնիկ"));
        dialog->Command1_Click();
        const QString expected = "Already exists '' DoG '' line, Which is   12 in a line";
        QCOMPARE(expected.size(), 54);
        QCOMPARE(notices, QStringList{expected});
        QCOMPARE(dialog->lineBox->text(), QString("12"));
        QCOMPARE(w->list1->listIndex(), 11);
        QCOMPARE(w->Text7->text(), QString::fromUtf8("շուն")); // the main window shows the pair
        QCOMPARE(dialog->sourceField->text(), QString("DoG"));

        fill(*dialog, "CAT", QString::fromUtf8("կատու"));
        dialog->Command1_Click();
        QCOMPARE(notices.last(), QString("Already exists '' CAT '' line, Which is   6 in a line"));
        QCOMPARE(w->list1->selectedWord(), "cat");
        QCOMPARE(contents(db), kEnglish);

        auto russian = addDialog(frmAdd1, QString::fromUtf8("КОТ"), QString::fromUtf8("կատու"));
        russian->Command1_Click();
        QCOMPARE(notices.last(),
                 QString::fromUtf8("Already exists '' КОТ '' line, Which is   3 in a line"));
        QCOMPARE(w->List4->selectedWord(), ru("кот"));
        QCOMPARE(contents(db1), kRussian);
    }

    void addStoresThePairAsTypedAndShowsItInTheMainWindow() {
        // Text in the Armenian search box must not leave another pair shown.
        w->Text2->setText(QString::fromUtf8("կ"));
        auto dialog = addDialog(frmAdd);
        type(dialog->sourceField, "kite ");
        type(dialog->armenianField, QString::fromUtf8("օդապարուկ"));
        dialog->Command1_Click();
        QVERIFY(notices.isEmpty());
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QVERIFY(!dialog->isVisible());
        Pairs expected = kEnglish;
        expected.insert(expected.begin() + 12, {"kite ", hy("օդապարուկ")}); // trailing space kept
        QCOMPARE(contents(db), expected);
        QCOMPARE(w->list2->listCount(), 16);
        QCOMPARE(w->Text1->text(), QString("kite "));
        QCOMPARE(w->Text2->text(), QString());
        QCOMPARE(w->list1->selectedWord(), "kite ");
        QCOMPARE(w->Text3->text(), QString("kite "));
        QCOMPARE(w->Text7->text(), QString::fromUtf8("օդապարուկ"));

        // Looked up in vain, then added: the search box already holds the word.
        w->Text4->setText(QString::fromUtf8("կ"));
        w->Text5->setText(QString::fromUtf8("сон"));
        auto russian = addDialog(frmAdd1, QString::fromUtf8("сон"), QString::fromUtf8("քուն"));
        russian->Command1_Click();
        QCOMPARE(contents(db1).size(), kRussian.size() + 1);
        QCOMPARE(w->List4->selectedWord(), ru("сон"));
        QCOMPARE(w->Text6->text(), QString::fromUtf8("сон"));
        QCOMPARE(w->Text8->text(), QString::fromUtf8("քուն"));
        QCOMPARE(w->Text4->text(), QString());
        QCOMPARE(w->List3->listCount(), 5);
    }

    void withCheck1TheDialogStaysAndTheSecondAddIsADuplicate() {
        auto dialog = addDialog(frmAdd, "kite", QString::fromUtf8("օդապարուկ"));
        dialog->Check1->setChecked(true);
        dialog->Command1_Click();
        QVERIFY(notices.isEmpty());
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->armenianField->text(), QString::fromUtf8("օդապարուկ"));
        dialog->Command1_Click();
        QCOMPARE(notices, QStringList{"Already exists '' kite '' line, Which is   13 in a line"});
        QCOMPARE(contents(db).size(), kEnglish.size() + 1);
    }

    void typedCharactersPassTheFieldsFilters() {
        auto english = addDialog(frmAdd);
        type(english->sourceField, QString::fromUtf8("Jack-o'(lan)tern, 1@\"é.д"));
        QCOMPARE(english->sourceField->text(), QString("Jack-o'(lan)tern, ."));
        QCOMPARE(beeps, 5);
        // Editing keys are not filtered.
        QTest::keyClick(english->sourceField, Qt::Key_Backspace);
        QTest::keyClick(english->sourceField, Qt::Key_Home);
        QTest::keyClick(english->sourceField, Qt::Key_Delete);
        QCOMPARE(english->sourceField->text(), QString("ack-o'(lan)tern, "));
        QCOMPARE(beeps, 5);

        auto russian = addDialog(frmAdd1);
        type(russian->sourceField, QString::fromUtf8("Жар-птица (d1ёЁ)"));
        QCOMPARE(russian->sourceField->text(), QString::fromUtf8("Жар-птица ()"));
        QCOMPARE(beeps, 9);

        // Latin keys typing Armenian letters switched off: Latin is refused.
        setOptionsFilePath(QString::fromStdString(dir.file("Options.ini")));
        LookUpAids aids;
        aids.latinTypesArmenian = false;
        w->setLookUpAids(aids);
        for (AddDialog* dialog : {english.get(), russian.get()}) {
            beeps = 0;
            type(dialog->armenianField, QString::fromUtf8("Երևան, (եւ) a7Z։"));
            QCOMPARE(dialog->armenianField->text(), QString::fromUtf8("Երևան, (եւ) "));
            QCOMPARE(dialog->armenianField->codes()->at(2), '\xA8'); // the ligature as typed
            QCOMPARE(beeps, 4);
        }
        // Switched on, the filter sees the phonetic layout's letters; the
        // word's marks stay themselves.
        w->setLookUpAids(LookUpAids());
        for (AddDialog* dialog : {english.get(), russian.get()}) {
            beeps = 0;
            dialog->armenianField->clear();
            type(dialog->armenianField, QString::fromUtf8("Երևան, a7Z։ (barev-'.)"));
            QCOMPARE(dialog->armenianField->text(), QString::fromUtf8("Երևան, աևԶ (բարեվ-'.)"));
            QCOMPARE(dialog->armenianField->codes()->at(8), '\xA8');
            QCOMPARE(beeps, 1); // ։ is no mark of a word
        }
        setOptionsFilePath(QString());
    }

    void enterInEitherFieldAndEscAdd() {
        for (const AddDialogConfig* config : {&frmAdd, &frmAdd1}) {
            Database& dictionary = config == &frmAdd ? db : db1;
            const size_t before = contents(dictionary).size();
            const QString word = config == &frmAdd ? "kite" : QString::fromUtf8("нос");
            auto dialog = addDialog(*config, word, QString::fromUtf8("բառ"));
            dialog->Check1->setChecked(true);
            QTest::keyClick(dialog->sourceField, Qt::Key_Return);
            dialog->sourceField->setText(word + word);
            QTest::keyClick(dialog->armenianField, Qt::Key_Return);
            // Enter elsewhere than on a button or in a field does nothing.
            dialog->Command2->setFocus();
            dialog->Check1->setFocus();
            QTest::keyClick(dialog->Check1, Qt::Key_Return);
            QVERIFY(dialog->isVisible());
            QVERIFY(notices.isEmpty());
            QCOMPARE(dialog->armenianField->text(), QString::fromUtf8("բառ")); // Enter not typed
            QCOMPARE(contents(dictionary).size(), before + 2);
        }

        // Opened as the command opens it: Add has the focus, and Esc presses it.
        const bool stillOpen = whileOpen<AddDialog>(
            [this] { openAddDialog(w->page(0), w); },
            [&](AddDialog* d) {
                QCOMPARE(QApplication::focusWidget(), d->Command1);
                QTest::keyClick(d->Command1, Qt::Key_Escape);
                QCOMPARE(notices,
                         QStringList{QString::fromUtf8("The English text field is emptyЄ")});
                type(d->sourceField, "wind");
                type(d->armenianField, QString::fromUtf8("քամի"));
                QTest::keyClick(d->armenianField, Qt::Key_Escape);
            });
        QVERIFY(!stillOpen);
        QCOMPARE(w->list1->selectedWord(), "wind");

        // Close writes nothing.
        whileOpen<AddDialog>([this] { openAddDialog(w->page(0), w); },
                             [](AddDialog* d) {
                                 fill(*d, "kite2", "x");
                                 d->Command2->click();
                             });
        QVERIFY(GetArmenian("kite2").empty());
    }

    void deleteQuestions() {
        w->list1->setListIndex(11);
        DeleteDialog english(frmdelete, w->page(0));
        QCOMPARE(english.windowTitle(), QString("Delete"));
        QCOMPARE(english.Label1->text(),
                 QString("Are you sure you want to delete      '' dog ''  line"));
        w->List4->setListIndex(2);
        DeleteDialog russian(frmdelete1, w->page(1));
        QCOMPARE(russian.Label1->text(),
                 QString::fromUtf8("Are you sure you want to delete     '' кот ''  line"));

        // A long phrase makes the question taller instead of being cut off.
        const char* phrase = "to take something into account before making up one's mind";
        db.append(phrase, hy("հաշվի առնել"));
        reload();
        w->list1->selectWord(phrase);
        DeleteDialog longer(frmdelete, w->page(0));
        const int needed = longer.Label1->heightForWidth(longer.Label1->width());
        QVERIFY(longer.Command1->y() >= longer.Label1->y() + needed);
        QVERIFY(longer.Command1->geometry().bottom() < longer.height());

        // A word only a file made elsewhere can hold: its beginning, with the
        // control characters visible.
        const std::string huge = "tab\there" + std::string(20'000, 'w');
        db.append(huge, hy("երկար"));
        reload();
        w->list1->selectWord(huge);
        DeleteDialog hugeQuestion(frmdelete, w->page(0));
        QVERIFY(hugeQuestion.Label1->text().startsWith(
            QString::fromUtf8("Are you sure you want to delete      '' tab␉hereww")));
        QVERIFY(hugeQuestion.Label1->text().size() < 400);
    }

    void enterRightAfterOpeningDeletesOneRowOfTheWord() {
        db.append("cat", hy("կատվիկ")); // stored twice
        reload();
        w->Text1->setText("ca");
        w->Text2->setText(QString::fromUtf8("կ"));
        w->list1->selectWord("cat");
        const bool stillOpen =
            whileOpen<DeleteDialog>([this] { w->mnuDelete_Click(); },
                                    [](DeleteDialog* d) {
                                        QCOMPARE(QApplication::focusWidget(), d->Command1);
                                        QTest::keyClick(d->Command1, Qt::Key_Return);
                                    });
        QVERIFY(!stillOpen);
        const auto listed = words(w->list1);
        QCOMPARE(std::count(listed.begin(), listed.end(), "cat"), 1);
        QCOMPARE(GetArmenian("cat"), hy("կատվիկ")); // the first row went
        QCOMPARE(w->Text1->text(), QString());
        QCOMPARE(w->Text2->text(), QString());
        QCOMPARE(w->list2->listCount(), int(kEnglish.size()));
    }

    void escOrNoDeletesNothing() {
        w->list1->setListIndex(3);
        for (bool esc : {true, false}) {
            QVERIFY(!whileOpen<DeleteDialog>([this] { openDeleteDialog(w->page(0), w); },
                                             [esc](DeleteDialog* d) {
                                                 esc ? QTest::keyClick(d->Command1, Qt::Key_Escape)
                                                     : d->Command2->click();
                                             }));
        }
        QCOMPARE(contents(db), kEnglish);
        QCOMPARE(w->list1->selectedWord(), "bread");
    }

    void deletesWordsWithQuotesInBothDictionaries() {
        db.append("say \"hi\"", hy("բարև"));
        reload();
        for (const char* word : {"o'clock", "say \"hi\""}) {
            w->list1->selectWord(word);
            DeleteDialog(frmdelete, w->page(0)).Command1_Click();
            QVERIFY(GetArmenian(word).empty());
        }
        QCOMPARE(contents(db).size(), kEnglish.size() - 1);

        w->tab1->setCurrentPage(1);
        w->Text5->setText(QString::fromUtf8("хл"));
        w->Text4->setText(QString::fromUtf8("հ"));
        w->List4->selectWord(ru("хлеб"));
        whileOpen<DeleteDialog>([this] { w->Toolbar1_ButtonClick("Delete"); },
                                [](DeleteDialog* d) { d->Command1->click(); });
        QVERIFY(GetArmenian1(ru("хлеб")).empty());
        QCOMPARE(w->List4->listCount(), 3);
        QCOMPARE(w->List3->listCount(), 3);
        QCOMPARE(w->Text5->text() + w->Text4->text(), QString());
    }

    void yesWithoutASelectionOrARowChangesNothingAndCloses() {
        DeleteDialog none(frmdelete, w->page(0));
        QCOMPARE(none.Label1->text(), QString("Are you sure you want to delete      ''  ''  line"));
        none.show();
        none.Command1_Click();
        QVERIFY(!none.isVisible());
        QCOMPARE(contents(db), kEnglish);

        // The row went behind the list's back: nothing to delete, and the
        // list is brought in step with the file.
        w->list1->selectWord("water");
        db.removeFirst("water");
        DeleteDialog stale(frmdelete, w->page(0));
        stale.show();
        stale.Command1_Click();
        QVERIFY(!stale.isVisible());
        QVERIFY(notices.isEmpty());
        QCOMPARE(w->list1->listCount(), int(kEnglish.size()) - 1);
    }

    void failedWritesLeaveFileAndListsAsTheyWere() {
        const std::string englishFile = dir.file("EA.tvl");
        const std::string russianFile = dir.file("RA.tvl");
        const std::string englishBytes = test::readFile(englishFile);
        const std::string russianBytes = test::readFile(russianFile);
        const auto englishList = words(w->list1);
        const auto russianList = words(w->List4);

        // A dictionary file that can only be read, even by root.
        db = Database::open("file:" + englishFile + "?mode=ro", kEnglishArmenian);
        auto dialog = addDialog(frmAdd, "kite", QString::fromUtf8("օդապարուկ"));
        dialog->Command1_Click();
        QCOMPARE(notices.size(), 1);
        QVERIFY(notices[0].startsWith("The word pair was not added. The dictionary file EA.tvl "
                                      "could not be changed and is left as it was. (Error 8: "));
        QVERIFY(notices[0].contains("readonly"));
        QVERIFY(notices[0].contains(QString::fromStdString(englishFile))); // the full path
        QVERIFY(dialog->isVisible());                                      // nothing typed is lost
        QCOMPARE(dialog->sourceField->text(), QString("kite"));
        QVERIFY(dialog->cursor().shape() != Qt::WaitCursor);

        w->list1->selectWord("dog");
        DeleteDialog remove(frmdelete, w->page(0));
        remove.show();
        remove.Command1_Click();
        QCOMPARE(notices.size(), 2);
        QVERIFY(notices[1].startsWith("The word was not deleted. The dictionary file EA.tvl"));
        QCOMPARE(words(w->list1), englishList);
        db = Database::open(englishFile, kEnglishArmenian);
        QCOMPARE(test::readFile(englishFile), englishBytes);

        // A full disk: no file may grow.
        struct sigaction ignore {
        }, previous{};
        ignore.sa_handler = SIG_IGN;
        sigaction(SIGXFSZ, &ignore, &previous);
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit limit = saved;
        limit.rlim_cur = 1;
        setrlimit(RLIMIT_FSIZE, &limit);
        auto russian = addDialog(frmAdd1, QString::fromUtf8("нос"), QString::fromUtf8("քիթ"));
        russian->Command1_Click();
        setrlimit(RLIMIT_FSIZE, &saved);
        sigaction(SIGXFSZ, &previous, nullptr);
        QCOMPARE(notices.size(), 3);
        QVERIFY(notices[2].startsWith("The word pair was not added. The dictionary file RA.tvl"));
        QVERIFY(russian->isVisible());
        QCOMPARE(words(w->List4), russianList);
        QCOMPARE(test::readFile(russianFile), russianBytes);

        // The program carries on: the same add now goes through.
        russian->Command1_Click();
        QCOMPARE(notices.size(), 3);
        QCOMPARE(contents(db1).size(), kRussian.size() + 1);
    }

    void commandsOpenTheDialogOfThePageInView() {
        QPointer<QDialog> opened;
        w->tab1->setCurrentPage(1);
        whileOpen<AddDialog>([this] { w->mnuAdd->trigger(); },
                             [&](AddDialog* d) {
                                 opened = d;
                                 QCOMPARE(d->windowTitle(), QString("Add1"));
                                 QVERIFY(d->windowFlags() & Qt::WindowStaysOnTopHint);
                                 QVERIFY(d->isModal());
                             });
        QVERIFY(opened.isNull()); // gone once closed
        w->List4->setListIndex(0);
        whileOpen<DeleteDialog>(
            [this] { w->mnuDelete->trigger(); },
            [](DeleteDialog* d) { QCOMPARE(d->objectName(), QString("frmdelete1")); });
    }
};

TAVELIN_QTEST_MAIN(EditingDialogsTest)
#include "EditingDialogsTest.moc"
