// The list box finds its items by arithmetic instead of laying them out; it
// must look and behave as the list view it stands for. A QListView with
// uniform item sizes over the same words is the yardstick.
#include "main_window/ListBox.h"
#include "main_window/WordBox.h"
#include "support/QtTestMain.h"

#include <QLineEdit>
#include <QListView>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>

#include <memory>
#include <string>

using namespace tavelin;

namespace {

constexpr int kWords = 1000;

std::string wordAt(int i) {
    // Words of different lengths, in dictionary order, some with letters
    // that fonts kern or join ("AV", "To", "fi", "ffl").
    std::string word = "w" + std::to_string(10000 + i);
    switch (i % 4) {
    case 0:
        return word + " and more";
    case 1:
        return word + " AVATAR To office";
    case 2:
        return word + " ffl";
    default:
        return word;
    }
}

void fill(WordListModel& list, int count) {
    list.clear();
    for (int i = 0; i < count; ++i) {
        list.append(wordAt(i));
    }
    list.finish();
}

} // namespace

class ListBoxTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ListBox> box;
    std::unique_ptr<QListView> view;
    std::unique_ptr<WordListModel> viewWords;

    // Both shown side by side, the same size and font, without the focus.
    void makeBoth(int words, const QSize& size) {
        box = std::make_unique<ListBox>(Side::English);
        fill(box->words(), words);
        viewWords = std::make_unique<WordListModel>(Side::English);
        fill(*viewWords, words);
        view = std::make_unique<QListView>();
        view->setModel(viewWords.get());
        view->setUniformItemSizes(true);
        view->setSelectionMode(QAbstractItemView::SingleSelection);
        view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        int x = 0;
        for (QAbstractItemView* v : {static_cast<QAbstractItemView*>(box.get()),
                                     static_cast<QAbstractItemView*>(view.get())}) {
            v->setFocusPolicy(Qt::NoFocus);
            v->setGeometry(x, 0, size.width(), size.height());
            x += size.width() + 20;
            v->show();
            QVERIFY(QTest::qWaitForWindowExposed(v));
        }
    }

    void selectInBoth(int row, QAbstractItemView::ScrollHint hint) {
        for (QAbstractItemView* v : {static_cast<QAbstractItemView*>(box.get()),
                                     static_cast<QAbstractItemView*>(view.get())}) {
            const QModelIndex index = v->model()->index(row, 0);
            v->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
            v->scrollTo(index, hint);
        }
    }

    // What the two show on screen, scrolled pixels and all, not a fresh paint.
    void compareLooks(const char* where) {
        QCoreApplication::processEvents();
        const QImage boxLooks = box->screen()->grabWindow(box->winId()).toImage();
        const QImage viewLooks = view->screen()->grabWindow(view->winId()).toImage();
        QCOMPARE(boxLooks.size(), box->size());
        if (boxLooks != viewLooks) {
            boxLooks.save(QDir::temp().filePath("listbox-box.png"));
            viewLooks.save(QDir::temp().filePath("listbox-view.png"));
        }
        QVERIFY2(boxLooks == viewLooks, where);
    }

    int topRow(const QAbstractItemView* v) { return v->indexAt(QPoint(2, 2)).row(); }

private slots:
    void cleanup() {
        box.reset();
        view.reset();
        viewWords.reset();
    }

    void looksLikeAListView() {
        makeBoth(kWords, QSize(150, 203));
        compareLooks("nothing selected");
        selectInBoth(4, QAbstractItemView::EnsureVisible);
        compareLooks("an item selected");
        selectInBoth(700, QAbstractItemView::EnsureVisible);
        compareLooks("scrolled down to a selected item");
        selectInBoth(kWords - 1, QAbstractItemView::EnsureVisible);
        compareLooks("the last item");
        // Scrolled by the bar, a few items and a page at a time.
        for (int value : {kWords - 20, kWords - 17, kWords - 25, 40, 500, 503, 497, 499}) {
            box->verticalScrollBar()->setValue(value);
            view->verticalScrollBar()->setValue(value);
            compareLooks("scrolled by the bar");
        }
        QFont larger = box->font();
        larger.setPointSizeF(larger.pointSizeF() * 1.6);
        box->setFont(larger);
        view->setFont(larger);
        selectInBoth(300, QAbstractItemView::PositionAtCenter);
        compareLooks("a larger font");
        QPalette colours = box->palette();
        colours.setColor(QPalette::Base, Qt::yellow);
        colours.setColor(QPalette::Text, Qt::darkBlue);
        box->setPalette(colours);
        view->setPalette(colours);
        compareLooks("other colours");

        // A list shorter than its box.
        makeBoth(3, QSize(150, 203));
        selectInBoth(2, QAbstractItemView::EnsureVisible);
        compareLooks("a short list");
    }

    // A word box copies its panel from what the style drew before: it must
    // look as a line edit drawn anew, in every size, colour and state.
    void wordBoxLooksLikeALineEdit() {
        WordBox box(Side::English);
        QLineEdit edit;
        for (QLineEdit* e : {static_cast<QLineEdit*>(&box), &edit}) {
            e->setText(QStringLiteral("watch"));
            e->show();
            QVERIFY(QTest::qWaitForWindowExposed(e));
        }
        const auto compare = [&](const char* where) {
            const QImage boxLooks = box.grab().toImage();
            const QImage editLooks = edit.grab().toImage();
            QVERIFY2(boxLooks == editLooks, where);
        };
        // Twice each: drawn, then copied.
        for (const QSize size : {QSize(164, 29), QSize(215, 27), QSize(164, 29)}) {
            box.resize(size);
            edit.resize(size);
            compare("a size");
            compare("the same size again");
        }
        QPalette colours = box.palette();
        colours.setColor(QPalette::Base, Qt::yellow);
        box.setPalette(colours);
        edit.setPalette(colours);
        compare("other colours");
        box.setReadOnly(true);
        edit.setReadOnly(true);
        compare("read-only");
        box.setEnabled(false);
        edit.setEnabled(false);
        compare("disabled");
    }

    void scrollsAsAListView() {
        makeBoth(kWords, QSize(150, 203));
        QCOMPARE(box->verticalScrollBar()->maximum(), view->verticalScrollBar()->maximum());
        QCOMPARE(box->verticalScrollBar()->pageStep(), view->verticalScrollBar()->pageStep());
        for (const auto hint :
             {QAbstractItemView::EnsureVisible, QAbstractItemView::PositionAtTop,
              QAbstractItemView::PositionAtBottom, QAbstractItemView::PositionAtCenter}) {
            for (int row : {0, 5, 400, 401, 380, 999, 990, 3}) {
                selectInBoth(row, hint);
                QCOMPARE(box->verticalScrollBar()->value(), view->verticalScrollBar()->value());
                QCOMPARE(box->visualRect(box->model()->index(row, 0)),
                         view->visualRect(view->model()->index(row, 0)));
            }
        }
        // The keys move the current item as in a list view.
        box->setFocusPolicy(Qt::StrongFocus);
        view->setFocusPolicy(Qt::StrongFocus);
        selectInBoth(500, QAbstractItemView::EnsureVisible);
        for (Qt::Key key : {Qt::Key_Down, Qt::Key_PageDown, Qt::Key_PageDown, Qt::Key_Up,
                            Qt::Key_PageUp, Qt::Key_End, Qt::Key_PageUp, Qt::Key_Home, Qt::Key_Up,
                            Qt::Key_PageDown, Qt::Key_Right, Qt::Key_Left}) {
            QTest::keyClick(box.get(), key);
            QTest::keyClick(view.get(), key);
            QCOMPARE(box->currentIndex().row(), view->currentIndex().row());
            QCOMPARE(box->listIndex(), view->currentIndex().row());
            QCOMPARE(topRow(box.get()), topRow(view.get()));
        }
    }

    void itemsAreFoundWhereTheyAreDrawn() {
        makeBoth(kWords, QSize(150, 203));
        selectInBoth(650, QAbstractItemView::PositionAtCenter);
        const int height = box->rowHeight();
        QVERIFY(height > 0);
        for (int y = 0; y < box->viewport()->height(); y += 3) {
            const QModelIndex at = box->indexAt(QPoint(10, y));
            QCOMPARE(at.row(), view->indexAt(QPoint(10, y)).row());
            QVERIFY(box->visualRect(at).contains(QPoint(10, y)));
        }
        QVERIFY(!box->indexAt(QPoint(-1, 5)).isValid());
        QVERIFY(!box->indexAt(QPoint(box->viewport()->width(), 5)).isValid());
        QVERIFY(!box->visualRect(QModelIndex()).isValid());
    }

    void clicksSelectAndTellOnce() {
        makeBoth(3, QSize(150, 203));
        QSignalSpy clicks(box.get(), &ListBox::click);
        QSignalSpy doubleClicks(box.get(), &ListBox::dblClick);
        const QPoint second = box->visualRect(box->model()->index(1, 0)).center();
        QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, second);
        QCOMPARE(box->listIndex(), 1);
        QCOMPARE(box->selectedWord(), wordAt(1));
        QCOMPARE(clicks.count(), 1);
        QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, second);
        QCOMPARE(clicks.count(), 1); // the same item: nothing changed
        QTest::mouseDClick(box->viewport(), Qt::LeftButton, {}, second);
        QCOMPARE(doubleClicks.count(), 1);
        // Below the last item: nothing is there to select.
        const QPoint below = box->visualRect(box->model()->index(2, 0)).bottomLeft() + QPoint(5, 9);
        QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, below);
        QCOMPARE(box->listIndex(), -1);
        QCOMPARE(clicks.count(), 2);
    }

    void wordsPutInOrTakenOutKeepTheScrollRangeAndTellNoOne() {
        makeBoth(kWords, QSize(150, 203));
        QSignalSpy clicks(box.get(), &ListBox::click);
        box->setListIndex(kWords - 1);
        QCOMPARE(clicks.count(), 1);
        const int maximum = box->verticalScrollBar()->maximum();
        box->forgetSelection();
        QCOMPARE(box->listIndex(), -1);
        QVERIFY(!box->currentIndex().isValid());
        QCOMPARE(clicks.count(), 1); // as after a refill: no click
        box->words().insertWord("a");
        box->words().insertWord(wordAt(kWords) + "z");
        QCOMPARE(box->verticalScrollBar()->maximum(), maximum + 2);
        box->setListIndex(kWords + 1); // the new last item is reached at once
        QCOMPARE(topRow(box.get()), kWords + 2 - box->verticalScrollBar()->pageStep());
        QCOMPARE(box->selectedWord(), wordAt(kWords) + "z");
        box->forgetSelection();
        box->words().removeWord("a");
        QCOMPARE(box->verticalScrollBar()->maximum(), maximum + 1);
        QCOMPARE(clicks.count(), 2);
        // A list that is emptied has nothing to scroll.
        fill(box->words(), 0);
        QCOMPARE(box->verticalScrollBar()->maximum(), 0);
        QVERIFY(!box->indexAt(QPoint(5, 5)).isValid());
    }
};

TAVELIN_QTEST_MAIN(ListBoxTest)
#include "ListBoxTest.moc"
