#include "Tavelin.h"

#include "LatinKeysTypeArmenian.h"
#include "NearWordsPopup.h"
#include "PrefixSearch.h"
#include "data/DatabaseError.h"
#include "ini/IniErrorReport.h"
#include "ini/modIni.h"
#include "platform/Twips.h"
#include "services/KeyCombination.h"
#include "services/OnTop.h"
#include "widgets/Notice.h"
#include "widgets/StatusBar.h"
#include "widgets/TabControl.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolBar>

#include <array>

namespace tavelin {
namespace {

Tavelin* theWindow = nullptr;

// Design sizes, in twips.
constexpr int kClientWidth = 6435;
constexpr int kClientHeight = 6495;
constexpr int kToolbarHeight = 510;
constexpr int kStatusBarHeight = 375;

const char* const kWindowFont = "MS Sans Serif";
const char* const kArmenianFont = "Tavelin";
constexpr double kFontPoints = 9.75;

QFont designFont(const char* family, bool bold = false) {
    QFont f(QString::fromLatin1(family));
    f.setPointSizeF(kFontPoints);
    f.setBold(bold);
    return f;
}

// A step of a search box's behaviour goes on to the next even when the
// dictionary fails underneath it.
// Marks the steps of a search box's behaviour while they run.
class SearchScope {
public:
    explicit SearchScope(int& depth) : depth_(depth) { ++depth_; }
    ~SearchScope() { --depth_; }
    SearchScope(const SearchScope&) = delete;
    SearchScope& operator=(const SearchScope&) = delete;

private:
    int& depth_;
};

template <typename Step> void ignoringFailure(Step step) {
    try {
        step();
    } catch (const DatabaseError&) {
    }
}

using Lookup = std::string (*)(std::string_view);

// The near words a search box offers when its text begins no word.
NearWordsPopup* nearWordsOf(const WordBox* box) {
    return box->findChild<NearWordsPopup*>(QString(), Qt::FindDirectChildrenOnly);
}

} // namespace

const QString Tavelin::kCaptionPage0 = QStringLiteral(" Tavelin (Eng - Arm) ");
const QString Tavelin::kCaptionPage1 = QStringLiteral(" Tavelin (Rus - Arm) ");

Tavelin& Tavelin::instance() {
    if (theWindow == nullptr) {
        theWindow = new Tavelin();
        theWindow->Form_Load();
    }
    return *theWindow;
}

bool Tavelin::exists() {
    return theWindow != nullptr;
}

Tavelin::~Tavelin() {
    if (theWindow == this) {
        theWindow = nullptr;
    }
}

Tavelin::Tavelin() {
    setObjectName(QStringLiteral("Tavelin"));
    setWindowTitle(QStringLiteral("Tavelin (Eng - Arm)"));
    setFont(designFont(kWindowFont));
    setWindowIcon(QIcon(QStringLiteral(":/icon.png")));

    clientArea = new QWidget(this);
    clientArea->setObjectName(QStringLiteral("ClientArea"));
    clientArea->installEventFilter(this);
    setCentralWidget(clientArea);

    latinKeys_ = new LatinKeysTypeArmenian(this);
    buildMenus();
    buildToolbar();
    buildPages();
    buildTimers();
    describePages();

    StatusBar1 = new StatusBar(clientArea);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setFont(designFont(kWindowFont, true));
}

void Tavelin::buildMenus() {
    QMenu* mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuQuit = mnuFile->addAction(QStringLiteral("&Quit"), this, &Tavelin::mnuQuit_Click);
    mnuQuit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu* mnuEdit = menuBar()->addMenu(QStringLiteral("&Edit"));
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    mnuAdd = mnuEdit->addAction(QStringLiteral("&Add..."), this, &Tavelin::mnuAdd_Click);
    mnuAdd->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    mnuDelete = mnuEdit->addAction(QStringLiteral("&Delete..."), this, &Tavelin::mnuDelete_Click);

    QMenu* mnuOption = menuBar()->addMenu(QStringLiteral("&Tools"));
    mnuOption->setObjectName(QStringLiteral("mnuOption"));
    mnuProperties =
        mnuOption->addAction(QStringLiteral("&Properties..."), this, &Tavelin::mnuProperties_Click);
    mnuProperties->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    buildLookUpAidsMenu(mnuOption);

    QMenu* mnuhelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuhelp->setObjectName(QStringLiteral("mnuhelp"));
    mnuhelptopics = mnuhelp->addAction(QStringLiteral("&Help Topics..."));
    mnuhelptopics->setShortcut(QKeySequence(Qt::Key_F1));
    connect(mnuhelptopics, &QAction::triggered, this, &Tavelin::mnuhelptopics_Click);
    mnuabout = mnuhelp->addAction(QStringLiteral("&About..."), this, &Tavelin::mnuabout_Click);

    // The notification-area icon's pop-up menu; not on the menu bar.
    mApps = new QMenu(QStringLiteral("&Apps"), this);
    mApps->setObjectName(QStringLiteral("mApps"));
    mnuabout1 = mApps->addAction(QStringLiteral("&About"));
    mnutavelin = mApps->addAction(QStringLiteral("&Show Dictionary"));
    connect(mnutavelin, &QAction::triggered, this, &Tavelin::mnutavelin_Click);

    const std::pair<QAction*, const char*> names[] = {{mnuQuit, "mnuQuit"},
                                                      {mnuAdd, "mnuAdd"},
                                                      {mnuDelete, "mnuDelete"},
                                                      {mnuProperties, "mnuProperties"},
                                                      {mnuhelptopics, "mnuhelptopics"},
                                                      {mnuabout, "mnuabout"},
                                                      {mnuabout1, "mnuabout1"},
                                                      {mnutavelin, "mnutavelin"}};
    for (const auto& [action, name] : names) {
        action->setObjectName(QString::fromLatin1(name));
    }
}

void Tavelin::buildLookUpAidsMenu(QMenu* tools) {
    tools->addSeparator();
    const auto addSwitch = [this, tools](const QString& caption, const char* name,
                                         bool LookUpAids::*field) {
        QAction* action = tools->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, [this, field](bool on) {
            LookUpAids aids = aids_;
            aids.*field = on;
            setLookUpAids(aids);
        });
        return action;
    };
    mnuYoIsYe =
        addSwitch(QString::fromUtf8("\u0401 and \u0415 &Alike"), "mnuYoIsYe", &LookUpAids::yoIsYe);
    mnuLatinArmenian = addSwitch(QStringLiteral("&Latin Keys Type Armenian"), "mnuLatinArmenian",
                                 &LookUpAids::latinTypesArmenian);
    mnuNearWords = addSwitch(QStringLiteral("&Near Words"), "mnuNearWords", &LookUpAids::nearWords);
    mnuSelectionLookUp = addSwitch(QStringLiteral("Look Up &Selection"), "mnuSelectionLookUp",
                                   &LookUpAids::selectionLookUp);
    showLookUpAids();
}

void Tavelin::showLookUpAids() {
    const std::pair<QAction*, bool> switches[] = {{mnuYoIsYe, aids_.yoIsYe},
                                                  {mnuLatinArmenian, aids_.latinTypesArmenian},
                                                  {mnuNearWords, aids_.nearWords},
                                                  {mnuSelectionLookUp, aids_.selectionLookUp}};
    for (const auto& [action, on] : switches) {
        action->setChecked(on);
    }
    latinKeys_->setOn(aids_.latinTypesArmenian);
    // The global key shows where menus show keys, as this program writes it;
    // none for "None" or a text that names no key.
    const hotkey::KeyText key = hotkey::parseKeyCombination(aids_.selectionKey);
    const bool named = key.kind == hotkey::KeyText::Kind::Key;
    mnuSelectionLookUp->setText(QStringLiteral("Look Up &Selection") +
                                (named ? QLatin1Char('\t') + hotkey::keyName(key.key) : QString()));
}

void Tavelin::setLookUpAids(const LookUpAids& aids) {
    aids_ = aids;
    showLookUpAids();
    reportingIniErrors([this] { writeLookUpAids(aids_, optionsFilePath()); });
    emit lookUpAidsChanged();
}

void Tavelin::buildToolbar() {
    Toolbar1 = new QToolBar(clientArea);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setIconSize(QSize(22, 22));
    Toolbar1->setMovable(false);
    Toolbar1->setFloatable(false);
    // Index 1 to 9: separators and buttons; each button shows its key as tooltip.
    const char* const keys[] = {nullptr, "Quit",       nullptr, "Add", "Delete",
                                nullptr, "Properties", nullptr, "Help"};
    const char* const images[] = {nullptr, "tb-quit",       nullptr, "tb-add", "tb-delete",
                                  nullptr, "tb-properties", nullptr, "tb-help"};
    for (int i = 0; i < 9; ++i) {
        if (keys[i] == nullptr) {
            Toolbar1->addSeparator();
            continue;
        }
        const QString key = QString::fromLatin1(keys[i]);
        QAction* button = Toolbar1->addAction(
            QIcon(QStringLiteral(":/%1.png").arg(QString::fromLatin1(images[i]))), QString());
        button->setObjectName(key);
        button->setToolTip(key);
        connect(button, &QAction::triggered, this, [this, key] { Toolbar1_ButtonClick(key); });
    }
    deleteButton()->setEnabled(false);
}

void Tavelin::buildPages() {
    tab1 = new TabControl(clientArea);
    tab1->setObjectName(QStringLiteral("tab1"));
    tab1->setFont(designFont(kWindowFont));
    tab1->tabBar()->setIconSize(QSize(43, 43));
    tab1->addPage(QStringLiteral("  English - Armenian"), QIcon(QStringLiteral(":/tab-en-hy.png")));
    tab1->addPage(QStringLiteral("  Russian - Armenian"), QIcon(QStringLiteral(":/tab-ru-hy.png")));
    twips::place(tab1, 0, 520, 6450, 5565);
    // The window is designed with the second page active; loading selects the first.
    tab1->setCurrentPage(1);

    struct BoxDesign {
        WordBox** box;
        const char* name;
        Side side;
        int page;
        int left, top, width, height;
        const char* family;
        bool readOnly;
    };
    const BoxDesign boxes[] = {
        {&Text1, "Text1", Side::English, 0, 75, 840, 2460, 435, kWindowFont, false},
        {&Text2, "Text2", Side::Armenian, 0, 2620, 840, 3735, 435, kArmenianFont, false},
        {&Text3, "Text3", Side::English, 0, 75, 5040, 1935, 400, "Times New Roman", true},
        {&Text7, "Text7", Side::Armenian, 0, 2620, 5040, 3230, 400, kArmenianFont, true},
        {&Text5, "Text5", Side::Russian, 1, 75, 840, 2460, 435, kWindowFont, false},
        {&Text4, "Text4", Side::Armenian, 1, 2620, 840, 3735, 435, kArmenianFont, false},
        {&Text6, "Text6", Side::Russian, 1, 75, 5040, 1935, 400, kWindowFont, true},
        {&Text8, "Text8", Side::Armenian, 1, 2620, 5040, 3230, 400, kArmenianFont, true},
    };
    for (const BoxDesign& design : boxes) {
        auto* box = new WordBox(design.side, tab1);
        box->setObjectName(QString::fromLatin1(design.name));
        box->setFont(designFont(design.family));
        box->setReadOnly(design.readOnly);
        twips::place(box, design.left, design.top, design.width, design.height);
        tab1->addToPage(design.page, box);
        *design.box = box;
    }

    struct ListDesign {
        ListBox** list;
        const char* name;
        Side side;
        int page;
        int left;
        int width;
        const char* family;
    };
    const ListDesign lists[] = {
        {&list1, "list1", Side::English, 0, 75, 2460, kWindowFont},
        {&list2, "list2", Side::Armenian, 0, 2620, 3735, kArmenianFont},
        {&List4, "List4", Side::Russian, 1, 75, 2460, kWindowFont},
        {&List3, "List3", Side::Armenian, 1, 2620, 3735, kArmenianFont},
    };
    for (const ListDesign& design : lists) {
        auto* list = new ListBox(design.side, tab1);
        list->setObjectName(QString::fromLatin1(design.name));
        list->setFont(designFont(design.family));
        twips::place(list, design.left, 1320, design.width, 3675);
        tab1->addToPage(design.page, list);
        *design.list = list;
    }

    struct ButtonDesign {
        QPushButton** button;
        const char* name;
        int page;
        int left;
    };
    const ButtonDesign buttons[] = {{&Command1, "Command1", 0, 2040},
                                    {&Command2, "Command2", 0, 5880},
                                    {&Command3, "Command3", 1, 2040},
                                    {&Command4, "Command4", 1, 5880}};
    for (const ButtonDesign& design : buttons) {
        auto* button = new QPushButton(tab1);
        button->setObjectName(QString::fromLatin1(design.name));
        button->setIcon(QIcon(QStringLiteral(":/copy.png")));
        button->setIconSize(QSize(24, 23));
        button->setToolTip(QStringLiteral("Copy"));
        twips::place(button, design.left, 5055, 495, 400);
        tab1->addToPage(design.page, button);
        *design.button = button;
    }

    connect(tab1, &TabControl::pageChanged, this, &Tavelin::tab1_Click);
    // Ctrl+Tab and Ctrl+Shift+Tab turn to the other page, as in other tabbed windows.
    for (const QKeySequence& keys : {QKeySequence(Qt::CTRL | Qt::Key_Tab),
                                     QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab)}) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this,
                [this] { tab1->setCurrentPage(1 - tab1->currentPage()); });
    }
    latinKeys_->watch(Text2);
    latinKeys_->watch(Text4);
    connect(Text1, &WordBox::change, this, &Tavelin::Text1_Change);
    connect(Text2, &WordBox::change, this, &Tavelin::Text2_Change);
    connect(Text4, &WordBox::change, this, &Tavelin::Text4_Change);
    connect(Text5, &WordBox::change, this, &Tavelin::Text5_Change);
    for (const auto& [box, list] : {std::pair{Text1, list1}, std::pair{Text2, list2},
                                    std::pair{Text5, List4}, std::pair{Text4, List3}}) {
        new NearWordsPopup(box, list, [this] { return aids_.nearWords; });
    }
    const std::pair<ListBox*, std::array<void (Tavelin::*)(), 2>> listHandlers[] = {
        {list1, {&Tavelin::list1_Click, &Tavelin::list1_DblClick}},
        {list2, {&Tavelin::list2_Click, &Tavelin::list2_DblClick}},
        {List3, {&Tavelin::List3_Click, &Tavelin::List3_DblClick}},
        {List4, {&Tavelin::List4_Click, &Tavelin::List4_DblClick}}};
    for (const auto& [list, handlers] : listHandlers) {
        const auto click = handlers[0];
        const auto dblClick = handlers[1];
        connect(list, &ListBox::click, this, [this, click] { guarded(click); });
        connect(list, &ListBox::dblClick, this, [this, dblClick] { guarded(dblClick); });
    }
    connect(Command1, &QPushButton::clicked, this, &Tavelin::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Tavelin::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Tavelin::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Tavelin::Command4_Click);
}

void Tavelin::buildTimers() {
    QTimer** timers[] = {&Timer1, &Timer2, &Timer3, &Timer4, &Timer5, &Timer6};
    void (Tavelin::*ticks[])() = {&Tavelin::Timer1_Timer, &Tavelin::Timer2_Timer,
                                  &Tavelin::Timer3_Timer, &Tavelin::Timer4_Timer,
                                  &Tavelin::Timer5_Timer, &Tavelin::Timer6_Timer};
    for (int i = 0; i < 6; ++i) {
        auto* timer = new QTimer(this);
        timer->setObjectName(QStringLiteral("Timer%1").arg(i + 1));
        timer->setInterval(100);
        connect(timer, &QTimer::timeout, this, ticks[i]);
        *timers[i] = timer;
    }
}

void Tavelin::describePages() {
    using Fill = PageControls::Fill;
    PageControls& english = pages_[0];
    english.index = 0;
    english.sourceSearch = Text1;
    english.armenianSearch = Text2;
    english.sourceList = list1;
    english.armenianList = list2;
    english.sourceShown = Text3;
    english.armenianShown = Text7;
    english.copySource = Command1;
    english.copyArmenian = Command2;
    english.countTimer = Timer1;
    english.copyTimer = Timer3;
    english.deleteTimer = Timer5;
    english.kind = &kEnglishArmenian;
    english.sourceSearchChange = [this] { Text1_Change(); };
    english.armenianKeys = latinKeys_;
    english.sourceDoubleClick = {Fill::SelectOther, Fill::OtherSearch, Fill::OtherShown,
                                 Fill::OwnShown, Fill::OwnSearch};
    english.armenianDoubleClick = {Fill::OtherShown, Fill::SelectOther, Fill::OtherSearch,
                                   Fill::OwnSearch, Fill::OwnShown};
    english.chosenLineEnd = "  line";

    PageControls& russian = pages_[1];
    russian.index = 1;
    russian.sourceSearch = Text5;
    russian.armenianSearch = Text4;
    russian.sourceList = List4;
    russian.armenianList = List3;
    russian.sourceShown = Text6;
    russian.armenianShown = Text8;
    russian.copySource = Command3;
    russian.copyArmenian = Command4;
    russian.countTimer = Timer2;
    russian.copyTimer = Timer4;
    russian.deleteTimer = Timer6;
    russian.kind = &kRussianArmenian;
    russian.sourceSearchChange = [this] { Text5_Change(); };
    russian.armenianKeys = latinKeys_;
    russian.sourceDoubleClick = {Fill::SelectOther, Fill::OtherShown, Fill::OtherSearch,
                                 Fill::OwnSearch, Fill::OwnShown};
    russian.armenianDoubleClick = {Fill::SelectOther, Fill::OtherSearch, Fill::OtherShown,
                                   Fill::OwnShown, Fill::OwnSearch};
    russian.chosenLineEnd = " line";
}

PageControls& Tavelin::page(int index) {
    return pages_.at(static_cast<std::size_t>(index));
}

bool Tavelin::eventFilter(QObject* watched, QEvent* event) {
    if (watched == clientArea && event->type() == QEvent::Resize) {
        layOutDocked();
    }
    return QMainWindow::eventFilter(watched, event);
}

void Tavelin::layOutDocked() {
    // The toolbar keeps to the top edge and the status bar to the bottom, each as wide as the
    // window.
    const int width = clientArea->width();
    Toolbar1->setGeometry(0, 0, width, twips::toPixels(kToolbarHeight));
    const int statusHeight = twips::toPixels(kStatusBarHeight);
    StatusBar1->setGeometry(0, clientArea->height() - statusHeight, width, statusHeight);
}

QAction* Tavelin::deleteButton() const {
    return Toolbar1->actions().at(4); // button 5 of the toolbar
}

int Tavelin::pageFromCaption() const {
    const QString caption = windowTitle();
    if (caption == kCaptionPage0) {
        return 0;
    }
    if (caption == kCaptionPage1) {
        return 1;
    }
    return -1;
}

// ---- Load and close ----

void Tavelin::Form_Load() {
    reportingIniErrors([this] { aids_ = readLookUpAids(optionsFilePath()); });
    showLookUpAids();
    tab1->setCurrentPage(0);
    Timer2->stop();
    Timer4->stop();
    Timer6->stop();
    Timer1->start();
    Timer3->start();
    Timer5->start();
    installHotKeys();
    resize(twips::toPixels(kClientWidth),
           twips::toPixels(kClientHeight) + menuBar()->sizeHint().height());
    MakeTopmost(this);
    LoadPositions();
    focusSearchBox();
}

void Tavelin::focusSearchBox() {
    (pageFromCaption() == 1 ? Text5 : Text1)->setFocus(Qt::OtherFocusReason);
}

void Tavelin::Form_Unload() {
    SavePositions();
    removeTrayIcon();
    hide();
    QCoreApplication::exit(0);
}

void Tavelin::closeEvent(QCloseEvent* event) {
    event->accept();
    Form_Unload();
}

void Tavelin::mnuQuit_Click() {
    Form_Unload();
}

// ---- Commands ----

void Tavelin::mnuAdd_Click() {
    const int page = pageFromCaption();
    if (page >= 0 && commands_.add) {
        commands_.add(page);
    }
}

void Tavelin::mnuDelete_Click() {
    const int page = pageFromCaption();
    if (page >= 0 && commands_.remove) {
        commands_.remove(page);
    }
}

void Tavelin::mnuProperties_Click() {
    const int page = pageFromCaption();
    if (page >= 0 && commands_.options) {
        commands_.options(page);
    }
}

void Tavelin::mnuabout_Click() {
    if (commands_.about) {
        commands_.about();
    }
}

void Tavelin::mnuhelptopics_Click() {
    if (commands_.help) {
        commands_.help();
    }
}

void Tavelin::Toolbar1_ButtonClick(const QString& key) {
    if (key == QLatin1String("Quit")) {
        mnuQuit_Click();
    } else if (key == QLatin1String("Add")) {
        mnuAdd_Click();
    } else if (key == QLatin1String("Delete")) {
        mnuDelete_Click();
    } else if (key == QLatin1String("Properties")) {
        mnuProperties_Click();
    } else if (key == QLatin1String("Help")) {
        mnuhelptopics_Click();
    }
}

// ---- Failures of the dictionary under the lists ----

void Tavelin::guarded(void (Tavelin::*handler)()) {
    try {
        (this->*handler)();
    } catch (const DatabaseError& e) {
        // A search box's own steps go on past a failure; a click or double
        // click by the user says what went wrong.
        if (searching_ == 0) {
            const Database* dictionary = pages_[pageFromCaption() == 1 ? 1 : 0].dictionary;
            showWarning(QStringLiteral("Tavelin"),
                        QStringLiteral("The dictionary could not be read.\n\n%1\n\nError %2: %3")
                            .arg(QDir::toNativeSeparators(QFile::decodeName(
                                dictionary != nullptr ? dictionary->path().c_str() : "")))
                            .arg(e.code())
                            .arg(QString::fromStdString(e.text())),
                        this);
        }
    }
}

// ---- The handlers of the controls: each serves the page its control is on ----

void Tavelin::Text1_Change() {
    searchSource(pages_[0]);
}
void Tavelin::Text5_Change() {
    searchSource(pages_[1]);
}
void Tavelin::Text2_Change() {
    searchArmenian(pages_[0]);
}
void Tavelin::Text4_Change() {
    searchArmenian(pages_[1]);
}
void Tavelin::list1_Click() {
    clickSource(pages_[0]);
}
void Tavelin::List4_Click() {
    clickSource(pages_[1]);
}
void Tavelin::list2_Click() {
    clickArmenian(pages_[0]);
}
void Tavelin::List3_Click() {
    clickArmenian(pages_[1]);
}
void Tavelin::list1_DblClick() {
    doubleClick(pages_[0], pages_[0].sourceDoubleClick, true);
}
void Tavelin::List4_DblClick() {
    doubleClick(pages_[1], pages_[1].sourceDoubleClick, true);
}
void Tavelin::list2_DblClick() {
    doubleClick(pages_[0], pages_[0].armenianDoubleClick, false);
}
void Tavelin::List3_DblClick() {
    doubleClick(pages_[1], pages_[1].armenianDoubleClick, false);
}
void Tavelin::Timer1_Timer() {
    showWordCount(pages_[0]);
}
void Tavelin::Timer2_Timer() {
    showWordCount(pages_[1]);
}
void Tavelin::Timer3_Timer() {
    enableCopyButtons(pages_[0]);
}
void Tavelin::Timer4_Timer() {
    enableCopyButtons(pages_[1]);
}
void Tavelin::Timer5_Timer() {
    enableDelete(pages_[0]);
}
void Tavelin::Timer6_Timer() {
    enableDelete(pages_[1]);
}
void Tavelin::Command1_Click() {
    copyToClipboard(pages_[0].sourceShown);
}
void Tavelin::Command2_Click() {
    copyToClipboard(pages_[0].armenianShown);
}
void Tavelin::Command3_Click() {
    copyToClipboard(pages_[1].sourceShown);
}
void Tavelin::Command4_Click() {
    copyToClipboard(pages_[1].armenianShown);
}

// ---- Incremental search ----

// A search box's change moves the list's selection, which runs the list's
// click; the click runs once more only when the selection stayed where it
// was (a word from a file made elsewhere can be megabytes long, and each
// click reads it and its translation).
void Tavelin::searchSource(PageControls& page) {
    const SearchScope scope(searching_);
    const int before = page.sourceList->listIndex();
    ignoringFailure([&] {
        page.sourceList->setListIndex(
            findPrefix(page.sourceList->words(), page.sourceSearch->codes(), aids_.yoIsYe));
    });
    if (page.sourceList->listIndex() == before) {
        ignoringFailure([&] { clickSource(page); });
    }
    nearWordsOf(page.sourceSearch)->searched(page.sourceList->listIndex() >= 0);
}

void Tavelin::searchArmenian(PageControls& page) {
    const SearchScope scope(searching_);
    ignoringFailure([&] {
        page.armenianList->setListIndex(
            findPrefix(page.armenianList->words(), page.armenianSearch->codes()));
    });
    nearWordsOf(page.armenianSearch)->searched(page.armenianList->listIndex() >= 0);
}

// ---- Clicks ----

void Tavelin::setChosenLine(const QString& before, int index, const QString& after) {
    StatusBar1->setPanelText(2, before + QString::number(index + 1) + after);
}

void Tavelin::clickSource(PageControls& page) {
    // The word and its translation are had once: a word from a file made
    // elsewhere can be megabytes long.
    const std::string word = page.sourceList->selectedWord();
    const std::string translation = page.armenianOf(word);
    {
        // What the Armenian list's click would show is replaced at once.
        const QSignalBlocker quiet(page.armenianList);
        page.armenianList->selectWord(translation);
    }
    page.sourceShown->setCodes(word);
    page.armenianShown->setCodes(translation);
    setChosenLine(QStringLiteral(" Is chosen "), page.sourceList->listIndex(),
                  QStringLiteral(" line"));
}

void Tavelin::clickArmenian(PageControls& page) {
    const std::string word = page.armenianList->selectedWord();
    page.sourceShown->setCodes(page.sourceOf(word));
    page.armenianShown->setCodes(word);
}

// ---- Double-clicks: show the pair and copy it into both search boxes ----

void Tavelin::doubleClick(PageControls& page, const std::array<PageControls::Fill, 5>& order,
                          bool sourceList) {
    ListBox* own = sourceList ? page.sourceList : page.armenianList;
    ListBox* other = sourceList ? page.armenianList : page.sourceList;
    WordBox* ownSearch = sourceList ? page.sourceSearch : page.armenianSearch;
    WordBox* otherSearch = sourceList ? page.armenianSearch : page.sourceSearch;
    WordBox* ownShown = sourceList ? page.sourceShown : page.armenianShown;
    WordBox* otherShown = sourceList ? page.armenianShown : page.sourceShown;
    const std::string word = own->selectedWord();
    const std::string translation = sourceList ? page.armenianOf(word) : page.sourceOf(word);
    for (const PageControls::Fill step : order) {
        switch (step) {
        case PageControls::Fill::SelectOther:
            other->selectWord(translation);
            break;
        case PageControls::Fill::OtherSearch:
            otherSearch->setCodes(translation);
            break;
        case PageControls::Fill::OtherShown:
            otherShown->setCodes(translation);
            break;
        case PageControls::Fill::OwnShown:
            ownShown->setCodes(word);
            break;
        case PageControls::Fill::OwnSearch:
            ownSearch->setCodes(word);
            break;
        }
    }
}

// ---- Pages and timers ----

void Tavelin::tab1_Click() {
    PageControls& shown = pages_[tab1->currentPage() == 0 ? 0 : 1];
    const PageControls& hidden = pages_[shown.index == 0 ? 1 : 0];
    setWindowTitle(shown.index == 0 ? kCaptionPage0 : kCaptionPage1);
    // Each timer of the other page stops before its twin starts.
    for (const auto timer :
         {&PageControls::countTimer, &PageControls::copyTimer, &PageControls::deleteTimer}) {
        (hidden.*timer)->stop();
        (shown.*timer)->start();
    }
    setChosenLine(QStringLiteral(" Is chosen  "), shown.sourceList->listIndex(),
                  QString::fromLatin1(shown.chosenLineEnd));
}

namespace {
const QString kWordCount = QStringLiteral("In total number of words in the dictionary - ");
}

void Tavelin::showWordCount(const PageControls& page) {
    const int count = page.sourceList->listCount();
    StatusBar1->setPanelText(1, kWordCount + QString::number(count));
    // The chosen line is never past the count: its panel keeps room for the
    // longest number from now on, and typing moves nothing in the bar.
    StatusBar1->reserveForNumber(QStringLiteral(" Is chosen  "), count, QStringLiteral("  line"));
}

void Tavelin::enableCopyButtons(const PageControls& page) {
    page.copySource->setEnabled(!page.sourceShown->text().isEmpty());
    page.copyArmenian->setEnabled(!page.armenianShown->text().isEmpty());
}

void Tavelin::enableDelete(const PageControls& page) {
    const bool selected = page.sourceList->listIndex() >= 0;
    mnuDelete->setEnabled(selected);
    deleteButton()->setEnabled(selected);
}

// ---- Copy buttons ----

void Tavelin::copyToClipboard(const WordBox* box) {
    // The clipboard takes the word as Unicode text, readable wherever it is
    // pasted: the word itself, whole and with its control characters, not
    // the pictures and the beginning the box shows of it.
    QGuiApplication::clipboard()->setText(box->wholeText());
}

} // namespace tavelin
