// One run of the main window for tavelin-bench, in a process of its own:
//
//   tavelin-bench-window DIRECTORY PAIRS KEYSTROKES EDITS SEED
//
// starts as the program does (dictionaries open, main window made hidden,
// splash shown), times the splash's timer tick until the main window has
// painted, and then, when KEYSTROKES is not 0, times that many keystrokes in
// each of the English-Armenian page's search boxes, and when EDITS is not 0,
// that many adds and then deletes through the add and delete dialogs, turn
// about on the two pages. The result goes to file descriptor 3 as a
// WindowRun. DIRECTORY holds EA.tvl and RA.tvl of PAIRS pairs each; the edits
// change them. Meant to run on the offscreen platform.

#include "WindowRun.h"
#include "WordGenerator.h"

#include "app/Dictionaries.h"
#include "app/Splash.h"
#include "app/modMain.h"
#include "editing/AddDialog.h"
#include "editing/DeleteDialog.h"
#include "editing/ErrorAdd.h"
#include "editing/FilteredWordBox.h"
#include "main_window/PrefixSearch.h"
#include "main_window/Tavelin.h"
#include "platform/Fonts.h"
#include "platform/TextCodec.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

using namespace tavelin;
using namespace tavelin::bench;

namespace {

using Clock = std::chrono::steady_clock;

// A run that has not finished by then has hung; the parent sees it fail.
constexpr unsigned kGiveUpSeconds = 300;

double secondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

long maxRssKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Watches the start-up: when the main window shows (the splash must be gone by
// then), and when its first paint, the one that draws list1's words, is over;
// then it ends the event loop.
class StartWatch : public QObject {
public:
    StartWatch(Tavelin& window, QWidget*& splash) : window_(window), splash_(splash) {
        window_.installEventFilter(this);
        window_.list1->viewport()->installEventFilter(this);
    }

    Clock::time_point tick;
    Clock::time_point filled;
    Clock::time_point visible;
    Clock::time_point painted;
    long tickMaxRssKb = 0;
    bool done = false;
    // Nothing may be thrown through the event loop; a fault waits here.
    const char* problem = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &window_ && event->type() == QEvent::Show && !shown_) {
            shown_ = true;
            visible = Clock::now();
            if (splash_ != nullptr && splash_->isVisible()) {
                problem = "the main window showed before the splash went away";
            }
        } else if (watched == window_.list1->viewport() && event->type() == QEvent::Paint &&
                   shown_ && !listPainted_) {
            listPainted_ = true;
            // Runs once the paint under way, and its flush, are over.
            QMetaObject::invokeMethod(
                this,
                [this] {
                    painted = Clock::now();
                    done = true;
                    QCoreApplication::exit(0);
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    Tavelin& window_;
    QWidget*& splash_;
    bool shown_ = false;
    bool listPainted_ = false;
};

// The offscreen platform says, every run, that it cannot shape the splash or
// pass size hints on; the rest of what Qt says goes through.
QtMessageHandler qtHandler = nullptr;

void quietOffscreen(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("This plugin does not support"))) {
        return;
    }
    qtHandler(type, context, message);
}

// Counts the paints of a widget.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++count;
        }
        return false;
    }
};

// Types the first one to three letters of words picked at random from the
// box's list, one key at a time, emptying the box before each word; times
// each key press, and the whole keystroke: press, release and the events
// they leave behind, the repaint among them.
// `chosen` is the box that shows the list's chosen word, `other` the one that
// shows its translation.
Typing typeInto(WordBox* box, ListBox* list, WordBox* chosen, WordBox* other, int keystrokes,
                Rng& rng) {
    const WordListModel& words = list->words();
    if (words.count() == 0) {
        throw std::runtime_error("the list to type from is empty");
    }
    PaintCounter paints(list->viewport());
    box->setFocus();
    std::vector<double> press;
    std::vector<double> keystroke;
    press.reserve(keystrokes);
    keystroke.reserve(keystrokes);
    int repainted = 0;
    while (static_cast<int>(press.size()) < keystrokes) {
        const std::string word(
            words.word(static_cast<int>(rng.below(static_cast<std::uint32_t>(words.count())))));
        const std::size_t letters = std::min<std::size_t>(1 + rng.below(3), word.size());
        box->clear();
        QCoreApplication::processEvents();
        for (std::size_t i = 0; i < letters && static_cast<int>(press.size()) < keystrokes; ++i) {
            const QString typed = toDisplay(box->side(), word.substr(i, 1));
            QKeyEvent down(QEvent::KeyPress, 0, Qt::NoModifier, typed);
            QKeyEvent up(QEvent::KeyRelease, 0, Qt::NoModifier, typed);
            const int paintsBefore = paints.count;
            const auto start = Clock::now();
            QApplication::sendEvent(box, &down);
            const auto pressed = Clock::now();
            QApplication::sendEvent(box, &up);
            QCoreApplication::processEvents();
            const auto settled = Clock::now();
            press.push_back(secondsBetween(start, pressed));
            keystroke.push_back(secondsBetween(start, settled));
            if (paints.count > paintsBefore) {
                ++repainted;
            }

            // The key did what a key does: the box holds the prefix, the list
            // has chosen a word beginning with it, and the pair's boxes show
            // that word and a translation (the made-up words are never empty).
            const std::string prefix = word.substr(0, i + 1);
            if (box->codes() != prefix) {
                throw std::runtime_error("the search box does not hold what was typed");
            }
            const int index = list->listIndex();
            if (index < 0 || !startsWithIgnoringCase(box->side(), words.word(index), prefix)) {
                throw std::runtime_error("a keystroke did not find its prefix in the list");
            }
            if (chosen->codes() != words.word(index) || other->text().isEmpty()) {
                throw std::runtime_error("a keystroke did not show the chosen pair");
            }
        }
    }
    return {Spread::of(std::move(press)), Spread::of(std::move(keystroke)), repainted};
}

// A notice from an add or delete dialog (a refusal or a failure) would wait
// for a click for ever: it is read, closed, and the run fails.
class NoticeWatch : public QObject {
public:
    NoticeWatch() {
        timer_.setInterval(20);
        connect(&timer_, &QTimer::timeout, this, [this] {
            if (auto* notice = qobject_cast<ErrorAdd*>(QApplication::activeModalWidget())) {
                message = notice->message().toStdString();
                notice->done(QDialog::Rejected);
            }
        });
        timer_.start();
    }
    std::string message;

    void check() const {
        if (!message.empty()) {
            throw std::runtime_error("a dialog refused or failed: " + message);
        }
    }

private:
    QTimer timer_;
};

struct Page {
    const AddDialogConfig* add;
    const DeleteDialogConfig* remove;
    ListBox* Tavelin::*sourceList;
    ListBox* Tavelin::*armenianList;
    WordBox* Tavelin::*sourceSearch;
    WordBox* Tavelin::*armenianSearch;
};

const Page kPages[2] = {
    {&frmAdd, &frmdelete, &Tavelin::list1, &Tavelin::list2, &Tavelin::Text1, &Tavelin::Text2},
    {&frmAdd1, &frmdelete1, &Tavelin::List4, &Tavelin::List3, &Tavelin::Text5, &Tavelin::Text4},
};

// Adds `count` new pairs through the add dialogs, turn about on the two
// pages, as a user fills the dialog and presses Add; times each Add.
Editing addPairs(Tavelin& window, int count, std::uint64_t seed) {
    const WordPairs made[2] = {WordGenerator(Side::English, seed).generate(count),
                               WordGenerator(Side::Russian, seed + 1).generate(count)};
    NoticeWatch notices;
    std::vector<double> click;
    std::vector<double> settled;
    std::size_t next[2] = {0, 0};
    for (int i = 0; i < count; ++i) {
        const int p = i % 2;
        const Page& page = kPages[p];
        ListBox* sources = window.*page.sourceList;
        ListBox* armenians = window.*page.armenianList;
        // A made-up word the dictionary holds already would be refused.
        std::string_view source;
        std::string_view armenian;
        do {
            if (next[p] == made[p].size()) {
                throw std::runtime_error("too few new words to add");
            }
            source = made[p].source(next[p]);
            armenian = made[p].armenian(next[p]);
            ++next[p];
        } while (findWord(sources->words(), source) >= 0);
        const int sourceCount = sources->listCount();
        const int armenianCount = armenians->listCount();

        AddDialog dialog(*page.add, window.page(page.add == &frmAdd ? 0 : 1), &window);
        dialog.sourceField->setText(toDisplay(sources->words().side(), source));
        dialog.armenianField->setText(toDisplay(Side::Armenian, armenian));
        const auto start = Clock::now();
        dialog.Command1_Click();
        const auto clicked = Clock::now();
        QCoreApplication::processEvents();
        const auto done = Clock::now();
        click.push_back(secondsBetween(start, clicked));
        settled.push_back(secondsBetween(start, done));
        notices.check();

        // The pair went in: both lists grew by it, and the main window
        // looks the new word up.
        if (sources->listCount() != sourceCount + 1 ||
            armenians->listCount() != armenianCount + 1) {
            throw std::runtime_error("an add did not grow both lists by one word");
        }
        // The search box holds the new word, and the list has chosen the word
        // a search for it finds.
        if ((window.*page.sourceSearch)->codes() != source ||
            sources->listIndex() != findPrefix(sources->words(), std::string(source))) {
            throw std::runtime_error("an add did not show the new word in the main window");
        }
        if (findWord(armenians->words(), armenian) < 0) {
            throw std::runtime_error("an add did not put the Armenian word in its list");
        }
    }
    return {Spread::of(std::move(click)), Spread::of(std::move(settled))};
}

// Deletes `count` pairs chosen at random through the delete dialogs, turn
// about on the two pages, as a user selects a word and answers Yes; times
// each Yes.
Editing deletePairs(Tavelin& window, int count, Rng& rng) {
    NoticeWatch notices;
    std::vector<double> click;
    std::vector<double> settled;
    for (int i = 0; i < count; ++i) {
        const Page& page = kPages[i % 2];
        ListBox* sources = window.*page.sourceList;
        ListBox* armenians = window.*page.armenianList;
        const int sourceCount = sources->listCount();
        const int armenianCount = armenians->listCount();
        sources->setListIndex(static_cast<int>(rng.below(static_cast<std::uint32_t>(sourceCount))));
        QCoreApplication::processEvents();

        DeleteDialog dialog(*page.remove, window.page(page.remove == &frmdelete ? 0 : 1), &window);
        const auto start = Clock::now();
        dialog.Command1_Click();
        const auto clicked = Clock::now();
        QCoreApplication::processEvents();
        const auto done = Clock::now();
        click.push_back(secondsBetween(start, clicked));
        settled.push_back(secondsBetween(start, done));
        notices.check();

        if (sources->listCount() != sourceCount - 1 ||
            armenians->listCount() != armenianCount - 1) {
            throw std::runtime_error("a delete did not shrink both lists by one word");
        }
        if (!(window.*page.sourceSearch)->text().isEmpty() ||
            !(window.*page.armenianSearch)->text().isEmpty()) {
            throw std::runtime_error("a delete did not clear the search boxes");
        }
    }
    return {Spread::of(std::move(click)), Spread::of(std::move(settled))};
}

WindowRun run(int argc, char** argv) {
    if (argc != 6) {
        throw std::runtime_error(
            "usage: tavelin-bench-window DIRECTORY PAIRS KEYSTROKES EDITS SEED");
    }
    const std::string dir = argv[1];
    const long pairs = std::strtol(argv[2], nullptr, 10);
    const int keystrokes = static_cast<int>(std::strtol(argv[3], nullptr, 10));
    const int edits = static_cast<int>(std::strtol(argv[4], nullptr, 10));
    const std::uint64_t seed = std::strtoull(argv[5], nullptr, 10);
    Rng rng(seed);

    WindowRun result{};
    qtHandler = qInstallMessageHandler(quietOffscreen);
    QApplication app(argc, argv);
    std::snprintf(result.qtVersion, sizeof result.qtVersion, "%s", qVersion());
    QApplication::setApplicationName(QStringLiteral("Tavelin"));
    installFontSubstitutes();
    db = Database::open(dir + "/" + kEnglishArmenian.fileName, kEnglishArmenian);
    db1 = Database::open(dir + "/" + kRussianArmenian.fileName, kRussianArmenian);

    Tavelin& window = Tavelin::instance();
    attachDictionaries(window);
    QWidget* splash = nullptr;
    StartWatch watch(window, splash);
    splash = new Splash(
        [&] {
            watch.tick = Clock::now();
            watch.tickMaxRssKb = maxRssKb();
            const bool filled = fillLists(window);
            watch.filled = Clock::now();
            return filled;
        },
        &window);
    // The splash deletes itself after its tick.
    QObject::connect(splash, &QObject::destroyed, [&] { splash = nullptr; });
    splash->show();
    QApplication::exec();
    if (watch.problem != nullptr) {
        throw std::runtime_error(watch.problem);
    }
    if (!watch.done) {
        throw std::runtime_error("the main window never painted its list");
    }

    result.filledSeconds = secondsBetween(watch.tick, watch.filled);
    result.visibleSeconds = secondsBetween(watch.tick, watch.visible);
    result.paintedSeconds = secondsBetween(watch.tick, watch.painted);
    result.tickMaxRssKb = watch.tickMaxRssKb;
    result.shownMaxRssKb = maxRssKb();
    ListBox* lists[4] = {window.list1, window.list2, window.List3, window.List4};
    for (int k = 0; k < 4; ++k) {
        result.listWords[k] = lists[k]->listCount();
        if (result.listWords[k] != pairs) {
            throw std::runtime_error("a list holds " + std::to_string(result.listWords[k]) +
                                     " words, not " + std::to_string(pairs));
        }
    }
    if (!window.isVisible()) {
        throw std::runtime_error("the main window is not visible");
    }

    if (keystrokes > 0) {
        window.activateWindow();
        result.english =
            typeInto(window.Text1, window.list1, window.Text3, window.Text7, keystrokes, rng);
        result.armenian =
            typeInto(window.Text2, window.list2, window.Text7, window.Text3, keystrokes, rng);
    }
    if (edits > 0) {
        result.add = addPairs(window, edits, seed ^ 0xADDADD);
        result.remove = deletePairs(window, edits, rng);
    }
    delete &window;
    return result;
}

} // namespace

int main(int argc, char** argv) {
    ::alarm(kGiveUpSeconds);
    try {
        const WindowRun result = run(argc, argv);
        const char* bytes = reinterpret_cast<const char*>(&result);
        std::size_t done = 0;
        while (done < sizeof result) {
            const ssize_t n = ::write(kResultFd, bytes + done, sizeof result - done);
            if (n <= 0) {
                std::fprintf(stderr, "tavelin-bench-window: cannot hand the result back: %s\n",
                             std::strerror(errno));
                return 1;
            }
            done += static_cast<std::size_t>(n);
        }
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tavelin-bench-window: %s\n", e.what());
        return 1;
    }
}
