// Adds and deletes through the dialogs change the main window's lists in
// place instead of reading them back. After every one, on both pages, the
// four lists must hold what a fresh load of the files gives, entry by entry;
// the main window must be left as a refill left it; and a change the file
// refuses must leave file and lists as they were.
#include "app/Dictionaries.h"
#include "editing/AddDialog.h"
#include "editing/DeleteDialog.h"
#include "editing/ErrorAdd.h"
#include "editing/FilteredWordBox.h"
#include "editing/Stugum.h"
#include "main_window/PrefixSearch.h"
#include "main_window/Tavelin.h"
#include "support/GuiTestSupport.h"
#include "support/QtTestMain.h"
#include "support/VectorList.h"
#include "support/WindowFixture.h"

#include <QPushButton>
#include <QTimer>

#include <csignal>
#include <random>
#include <sys/resource.h>

using namespace tavelin;
using test::hy;
using test::Pairs;

namespace {

std::vector<std::string> words(const ListBox* list) {
    std::vector<std::string> all;
    for (int i = 0; i < list->words().count(); ++i) {
        all.emplace_back(list->words().word(i));
    }
    return all;
}

struct Page {
    const AddDialogConfig* add;
    const DeleteDialogConfig* remove;
    Database* dictionary;
    const char* file;
    Side side;
    ListBox* Tavelin::*sourceList;
    ListBox* Tavelin::*armenianList;
    WordBox* Tavelin::*sourceSearch;
    WordBox* Tavelin::*armenianSearch;
    void (*loadSource)(WordList&);
    void (*loadArmenian)(WordList&);
};

const Page kPages[] = {
    {&frmAdd, &frmdelete, &db, "EA.tvl", Side::English, &Tavelin::list1, &Tavelin::list2,
     &Tavelin::Text1, &Tavelin::Text2, LoadEnglish, LoadArmenian},
    {&frmAdd1, &frmdelete1, &db1, "RA.tvl", Side::Russian, &Tavelin::List4, &Tavelin::List3,
     &Tavelin::Text5, &Tavelin::Text4, LoadRussian, LoadArmenian1},
};

// Short words from a few letters of a side in both cases, so that they share
// beginnings, differ in case only, and repeat.
std::string madeUp(Side side, std::mt19937& random) {
    const CharacterSet& set = CharacterSet::of(side);
    std::string letters;
    for (int code = 0; code < 256 && letters.size() < 6; ++code) {
        const auto c = static_cast<unsigned char>(code);
        if (set.isLetter(c) && set.fold(c) != c) {
            letters += static_cast<char>(c);
            letters += static_cast<char>(set.fold(c));
        }
    }
    std::string word;
    for (int i = 0, n = 1 + static_cast<int>(random() % 4); i < n; ++i) {
        word += letters[random() % letters.size()];
    }
    return word;
}

// Sets a limit on file sizes that no write gets past: every change fails.
class FullDisk {
public:
    FullDisk() {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        sigaction(SIGXFSZ, &ignore, &previous_);
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limit = saved_;
        limit.rlim_cur = 1;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FullDisk() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        sigaction(SIGXFSZ, &previous_, nullptr);
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

private:
    struct sigaction previous_ {};
    rlimit saved_{};
};

} // namespace

class ListEditTest : public QObject {
    Q_OBJECT

    test::TempDir dir;
    Tavelin* w = nullptr;
    test::NoticeCloser noticeCloser;
    QStringList& notices = noticeCloser.notices;
    std::mt19937 random{20240611};

    void reload() { test::reloadLists(*w); }

    // The lists against what the loaders give now, entry by entry.
    void compareWithFreshLoad(const char* after) {
        for (const Page& page : kPages) {
            for (const auto& [list, load] : {std::pair{w->*page.sourceList, page.loadSource},
                                             std::pair{w->*page.armenianList, page.loadArmenian}}) {
                test::VectorList fresh;
                load(fresh);
                const auto held = words(list);
                QVERIFY2(held.size() == fresh.words.size(),
                         qPrintable(QString("%1: %2 holds %3 words, a fresh load %4")
                                        .arg(after, list->objectName())
                                        .arg(held.size())
                                        .arg(fresh.words.size())));
                for (std::size_t i = 0; i < held.size(); ++i) {
                    QVERIFY2(
                        held[i] == fresh.words[i],
                        qPrintable(
                            QString("%1: %2 differs at %3").arg(after, list->objectName()).arg(i)));
                }
            }
        }
    }

    // Adds a pair as a user does: fills the dialog, presses Add.
    void add(const Page& page, const std::string& source, const std::string& armenian) {
        AddDialog dialog(*page.add, w->page(page.add == &frmAdd ? 0 : 1), w);
        dialog.sourceField->setText(toDisplay(page.side, source));
        dialog.armenianField->setText(toDisplay(Side::Armenian, armenian));
        dialog.Command1_Click();
    }

    // Deletes the pair of the word at a position of the source list: selects
    // it, answers Yes.
    void remove(const Page& page, int row) {
        (w->*page.sourceList)->setListIndex(row);
        DeleteDialog dialog(*page.remove, w->page(page.remove == &frmdelete ? 0 : 1), w);
        dialog.Command1_Click();
    }

private slots:
    void initTestCase() {
        Stugum::setBeep([] {});
        noticeCloser.start();
        w = &Tavelin::instance();
        attachDictionaries(*w);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
    }

    void init() {
        // Source words stored more than once, each time with another
        // translation; Armenian words shared by many pairs.
        std::vector<std::string> armenian;
        for (int i = 0; i < 12; ++i) {
            armenian.push_back(madeUp(Side::Armenian, random));
        }
        for (const Page& page : kPages) {
            *page.dictionary = Database();
            std::filesystem::remove(dir.file(page.file));
            *page.dictionary =
                Database::create(dir.file(page.file),
                                 page.side == Side::English ? kEnglishArmenian : kRussianArmenian);
            Pairs pairs;
            for (int i = 0; i < 60; ++i) {
                pairs.emplace_back(madeUp(page.side, random), armenian[random() % armenian.size()]);
                if (i % 6 == 0) {
                    pairs.emplace_back(pairs.back().first, madeUp(Side::Armenian, random));
                }
            }
            test::fillDictionary(*page.dictionary, pairs);
        }
        reload();
        notices.clear();
    }

    void cleanupTestCase() {
        noticeCloser.stop();
        Stugum::setBeep({});
        delete w;
        db = Database();
        db1 = Database();
    }

    void randomAddsAndDeletesLeaveWhatAFreshLoadGives() {
        for (int step = 0; step < 300; ++step) {
            const Page& page = kPages[random() % 2];
            ListBox* sources = w->*page.sourceList;
            ListBox* armenians = w->*page.armenianList;
            const std::string what = "step " + std::to_string(step);
            if (random() % 2 == 0 || sources->listCount() == 0) {
                // A word the page does not list yet, even in other letter
                // case; its translation often one stored already.
                std::string source;
                do {
                    source = madeUp(page.side, random) + madeUp(page.side, random);
                } while (findWord(sources->words(), source) >= 0);
                const std::string armenian =
                    armenians->listCount() > 0 && random() % 2
                        ? std::string(armenians->words().word(
                              static_cast<int>(random() % armenians->listCount())))
                        : madeUp(Side::Armenian, random);
                add(page, source, armenian);
                QCOMPARE((w->*page.sourceSearch)->codes(), source);
                QCOMPARE((w->*page.armenianSearch)->text(), QString());
                QCOMPARE(sources->listIndex(), findPrefix(sources->words(), source));
            } else {
                remove(page, static_cast<int>(random() % sources->listCount()));
                // As after a refill: the boxes emptied, nothing selected.
                QCOMPARE((w->*page.sourceSearch)->text(), QString());
                QCOMPARE((w->*page.armenianSearch)->text(), QString());
                QCOMPARE(sources->listIndex(), -1);
                QCOMPARE(armenians->listIndex(), -1);
            }
            QVERIFY2(notices.isEmpty(), qPrintable(notices.join('\n')));
            compareWithFreshLoad(what.c_str());
            if (QTest::currentTestFailed()) {
                return;
            }
        }
    }

    void deletingTheFirstOfRepeatedPairsTakesItsOwnTranslation() {
        const Page& page = kPages[0];
        db.inTransaction([] {
            db.append("zz", hy("առաջին"));
            db.append("zz", hy("երկրորդ"));
            db.append("zy", hy("առաջին"));
        });
        reload();
        const int row = findWord(w->list1->words(), "zz");
        remove(page, row);
        QCOMPARE(GetArmenian("zz"), hy("երկրորդ"));
        compareWithFreshLoad("the first zz deleted");
        remove(page, findWord(w->list1->words(), "zz"));
        QVERIFY(GetArmenian("zz").empty());
        compareWithFreshLoad("the second zz deleted");
        QVERIFY(notices.isEmpty());
    }

    void refusedChangesLeaveFileAndListsAsTheyWere() {
        for (const Page& page : kPages) {
            const std::string bytes = test::readFile(dir.file(page.file));
            const auto sources = words(w->*page.sourceList);
            const auto armenians = words(w->*page.armenianList);
            {
                FullDisk full;
                add(page, madeUp(page.side, random) + "xyz", hy("նոր"));
                remove(page, 3);
            }
            QCOMPARE(notices.size(), 2);
            QVERIFY(notices[0].startsWith("The word pair was not added."));
            QVERIFY(notices[1].startsWith("The word was not deleted."));
            notices.clear();
            QCOMPARE(test::readFile(dir.file(page.file)), bytes);
            QVERIFY(words(w->*page.sourceList) == sources);
            QVERIFY(words(w->*page.armenianList) == armenians);
        }
    }
};

TAVELIN_QTEST_MAIN(ListEditTest)
#include "ListEditTest.moc"
