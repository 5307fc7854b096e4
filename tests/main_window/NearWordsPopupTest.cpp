#include "main_window/NearWordsPopup.h"
#include "main_window/ListBox.h"
#include "main_window/WordBox.h"
#include "platform/TextCodec.h"
#include "support/GuiTestSupport.h"
#include "support/QtTestMain.h"

#include <QListWidget>
#include <QTest>
#include <QVBoxLayout>

using namespace tavelin;

// A search box and its list as the main window joins them: every change of
// the box selects the first word it begins (or none) and tells the popup.
class NearWordsPopupTest : public QObject {
    Q_OBJECT

    QWidget window;
    WordBox* box = nullptr;
    ListBox* list = nullptr;
    NearWordsPopup* popup = nullptr;
    bool on = true;

    void load(Side side, const QStringList& words) {
        WordListModel& model = list->words();
        model.clear();
        for (const QString& word : words) {
            model.append(*fromDisplay(side, word));
        }
        model.finish();
    }

    void build(Side side, const QStringList& words) {
        delete box;
        delete list;
        box = new WordBox(side, &window);
        list = new ListBox(side, &window);
        window.layout()->addWidget(box);
        window.layout()->addWidget(list);
        load(side, words);
        popup = new NearWordsPopup(box, list, [this] { return on; });
        connect(box, &WordBox::change, this, [this] {
            const std::string typed = box->codesOrEmpty();
            int found = -1;
            for (int i = 0; i < list->listCount() && found < 0; ++i) {
                if (startsWithIgnoringCase(list->words().side(), list->words().word(i), typed)) {
                    found = i;
                }
            }
            list->setListIndex(found);
            popup->searched(found >= 0);
        });
    }

    QString chosen() const { return toDisplay(list->words().side(), list->selectedWord()); }

private slots:
    void initTestCase() {
        new QVBoxLayout(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }

    void init() {
        on = true;
        build(Side::English, {"halo", "held", "hell", "hello", "help", "mountain", "water"});
    }

    void downAndEnterPutTheMarkedWordIn() {
        QTest::keyClicks(box, "helo");
        QVERIFY(popup->isVisible());
        QCOMPARE(popup->offered(), (QStringList{"hello", "halo", "held", "hell", "help"}));
        QCOMPARE(popup->marked(), -1);
        QVERIFY(popup->geometry().top() >= box->mapToGlobal(QPoint(0, box->height())).y());
        QTest::keyClick(box, Qt::Key_Down);
        QTest::keyClick(box, Qt::Key_Down);
        QTest::keyClick(box, Qt::Key_Up);
        QCOMPARE(popup->marked(), 0);
        QCOMPARE(box->text(), QString("helo")); // marking changes nothing yet
        QTest::keyClick(box, Qt::Key_Return);
        QVERIFY(!popup->isVisible());
        QCOMPARE(box->text(), QString("hello"));
        QCOMPARE(chosen(), QString("hello")); // the box's search ran
        // Up from the first word marks none, and Enter then only closes the list.
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, "p");
        QVERIFY(popup->isVisible());
        QTest::keyClick(box, Qt::Key_Down);
        QTest::keyClick(box, Qt::Key_Up);
        QCOMPARE(popup->marked(), -1);
        QTest::keyClick(box, Qt::Key_Enter);
        QVERIFY(!popup->isVisible());
        QCOMPARE(box->text(), QString("hellp"));
    }

    void escAndTypingOnClose() {
        QTest::keyClicks(box, "mountian");
        QVERIFY(popup->isVisible());
        QCOMPARE(popup->offered().front(), QString("mountain"));
        QTest::keyClick(box, Qt::Key_Escape);
        QVERIFY(!popup->isVisible());
        QCOMPARE(box->text(), QString("mountian"));
        // Typing on closes the list; text that still begins no word is offered anew.
        QTest::keyClick(box, Qt::Key_Down); // no list: the box has the key
        QTest::keyClicks(box, "s");
        QVERIFY(popup->isVisible());
        QTest::keyClick(box, Qt::Key_Down);
        QTest::keyClick(box, Qt::Key_Left); // any other key closes it
        QVERIFY(!popup->isVisible());
        QTest::keyClick(box, Qt::Key_End);
        for (int i = 0; i < 5; ++i) {
            QTest::keyClick(box, Qt::Key_Backspace);
        }
        QCOMPARE(box->text(), QString("moun")); // begins a word: nothing offered
        QVERIFY(!popup->isVisible());
        QTest::keyClick(box, Qt::Key_Shift); // a modifier alone keeps the list
        QTest::keyClicks(box, "x");
        QVERIFY(popup->isVisible());
        QTest::keyClick(box, Qt::Key_Shift);
        QVERIFY(popup->isVisible());
    }

    void aClickPutsTheWordIn() {
        QTest::keyClicks(box, "watr");
        QVERIFY(popup->isVisible());
        auto* view = popup->findChild<QListWidget*>();
        QCOMPARE(popup->offered(), QStringList{"water"});
        QVERIFY(popup->height() < 2 * view->sizeHintForRow(0)); // as high as one word
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualItemRect(view->item(0)).center());
        QCOMPARE(box->text(), QString("water"));
        QCOMPARE(chosen(), QString("water"));
        QVERIFY(!popup->isVisible());
    }

    void onlyTypedTextIsOfferedWords() {
        box->setText("helo"); // the program's text, not the user's
        QVERIFY(!popup->isVisible());
        box->clear();
        on = false;
        QTest::keyClicks(box, "helo");
        QVERIFY(!popup->isVisible());
        on = true;
        QTest::keyClicks(box, "xqz"); // nothing near enough
        QVERIFY(!popup->isVisible());
    }

    void aChangedListClosesItAndIsSearchedAfresh() {
        QTest::keyClicks(box, "helo");
        QVERIFY(popup->offered().contains("hello"));
        QCOMPARE(list->words().removeWord("hello"), 3);
        QVERIFY(!popup->isVisible());
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, "o");
        QVERIFY(!popup->offered().contains("hello"));
        QCOMPARE(list->words().insertWord("hello"), 3);
        QVERIFY(!popup->isVisible());
    }

    void armenianAndRussianWordsAreOffered() {
        build(Side::Armenian, {QString::fromUtf8("ջերմ"), QString::fromUtf8("Ջուր"),
                               QString::fromUtf8("ջուր"), QString::fromUtf8("ջրել")});
        test::type(box, QString::fromUtf8("ջուրր"));
        QCOMPARE(popup->offered(), QStringList{QString::fromUtf8("Ջուր")});
        QTest::keyClick(box, Qt::Key_Down);
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(chosen(), QString::fromUtf8("Ջուր"));

        build(Side::Russian, {QString::fromUtf8("Ереван"), QString::fromUtf8("река")});
        test::type(box, QString::fromUtf8("Ереаан"));
        QCOMPARE(popup->offered(), QStringList{QString::fromUtf8("Ереван")});
    }
};

TAVELIN_QTEST_MAIN(NearWordsPopupTest)
#include "NearWordsPopupTest.moc"
