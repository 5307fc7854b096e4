#pragma once

#include "ListBox.h"
#include "LookUpAids.h"
#include "PageControls.h"
#include "WordBox.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <string>

class QAction;
class QMenu;
class QPushButton;
class QTimer;
class QToolBar;

namespace tavelin {

class LatinKeysTypeArmenian;
class StatusBar;
class TabControl;

// The dictionary's main window: two pages (English-Armenian and
// Russian-Armenian), each with two search boxes, two word lists, two boxes
// showing the chosen pair and a copy button beside each.
class Tavelin : public QMainWindow {
    Q_OBJECT
public:
    // The windows the commands open, chosen by page (0 or 1); set by whoever
    // builds the program. A command without a window does nothing.
    struct Commands {
        std::function<void(int page)> add;
        std::function<void(int page)> remove;
        std::function<void(int page)> options;
        std::function<void()> about;
        std::function<void()> help;
    };

    // The main window exists once per run; it is made on first use, hidden,
    // and runs its load sequence then.
    static Tavelin& instance();
    static bool exists();
    ~Tavelin() override;

    void setCommands(Commands commands) { commands_ = std::move(commands); }

    // The toolbar's Delete button.
    QAction* deleteButton() const;

    // The page the caption names: 0, 1, or -1 for neither.
    int pageFromCaption() const;
    // A page's controls, dictionary and data routines (0 English-Armenian,
    // 1 Russian-Armenian); what the dialogs of that page work on.
    PageControls& page(int index);
    // Gives the keyboard to the source search box of the page in view
    // (Text1 or Text5), for a user who types as soon as the window shows.
    void focusSearchBox();

    // The look-up aids in force; setting them applies them at once and writes
    // them to Options.ini.
    const LookUpAids& lookUpAids() const { return aids_; }
    void setLookUpAids(const LookUpAids& aids);

    // Handlers, named after their control and event.
    void Form_Load();
    void Form_Unload();
    void Text1_Change();
    void Text2_Change();
    void Text4_Change();
    void Text5_Change();
    void list1_Click();
    void list2_Click();
    void List3_Click();
    void List4_Click();
    void list1_DblClick();
    void list2_DblClick();
    void List3_DblClick();
    void List4_DblClick();
    void tab1_Click();
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();
    void Timer4_Timer();
    void Timer5_Timer();
    void Timer6_Timer();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void mnuQuit_Click();
    void mnuAdd_Click();
    void mnuDelete_Click();
    void mnuProperties_Click();
    void mnuabout_Click();
    void mnuhelptopics_Click();
    void mnutavelin_Click();
    void Toolbar1_ButtonClick(const QString& key);
    void Form_Resize();

    // Window placement, kept in Options.ini (TavelinPlacement.cpp).
    void LoadPositions();
    void LoadPositions1();
    void SavePositions();
    void SavePositions1();

    // The notification-area icon and the hot keys (TavelinServices.cpp).
    void mnuTray();
    void SysTrayMouseEventHandler();
    void SysTrayMouseEventHandler1();
    // Registers Ctrl+F7 and Ctrl+F8 and installs the hot-key window procedure.
    void installHotKeys();
    // Looks up the text selected in any program (the clipboard's when none
    // is): Latin in Text1, Cyrillic in Text5, Armenian in the Armenian box of
    // the page in view, as if typed there (TavelinSelection.cpp).
    void lookUpSelection();
    // Takes the notification-area icon away (the close sequence).
    void removeTrayIcon();

    // Controls other windows and the tests use.
    WordBox* Text1;
    WordBox* Text2;
    WordBox* Text3;
    WordBox* Text4;
    WordBox* Text5;
    WordBox* Text6;
    WordBox* Text7;
    WordBox* Text8;
    ListBox* list1;
    ListBox* list2;
    ListBox* List3;
    ListBox* List4;
    QPushButton* Command1;
    QPushButton* Command2;
    QPushButton* Command3;
    QPushButton* Command4;
    TabControl* tab1;
    StatusBar* StatusBar1;
    QToolBar* Toolbar1;
    QTimer* Timer1;
    QTimer* Timer2;
    QTimer* Timer3;
    QTimer* Timer4;
    QTimer* Timer5;
    QTimer* Timer6;
    QAction* mnuQuit;
    QAction* mnuAdd;
    QAction* mnuDelete;
    QAction* mnuProperties;
    QAction* mnuhelptopics;
    QAction* mnuabout;
    // The look-up aids' switches at the end of the Tools menu.
    QAction* mnuYoIsYe;
    QAction* mnuLatinArmenian;
    QAction* mnuNearWords;
    QAction* mnuSelectionLookUp;
    QMenu* mApps;
    QAction* mnuabout1;
    QAction* mnutavelin;
    QWidget* clientArea;

    static const QString kCaptionPage0;
    static const QString kCaptionPage1;

signals:
    // The look-up aids were changed (the Tools menu or setLookUpAids).
    void lookUpAidsChanged();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    Tavelin();
    void buildMenus();
    void buildToolbar();
    void buildPages();
    void buildTimers();
    void layOutDocked();
    void describePages();
    void buildLookUpAidsMenu(QMenu* tools);
    void showLookUpAids();

    // What the twin handlers of the two pages do, for one page.
    void searchSource(PageControls& page);
    void searchArmenian(PageControls& page);
    void clickSource(PageControls& page);
    void clickArmenian(PageControls& page);
    void doubleClick(PageControls& page, const std::array<PageControls::Fill, 5>& order,
                     bool sourceList);
    void showWordCount(const PageControls& page);
    void enableCopyButtons(const PageControls& page);
    void enableDelete(const PageControls& page);
    bool eventFilter(QObject* watched, QEvent* event) override;
    void copyToClipboard(const WordBox* box);
    void setChosenLine(const QString& before, int index, const QString& after);

    // Runs a list's click or double-click handler; a failure of the dictionary
    // is reported to the user, or ignored inside a search box's behaviour.
    void guarded(void (Tavelin::*handler)());

    Commands commands_;
    std::array<PageControls, 2> pages_;
    LookUpAids aids_;
    LatinKeysTypeArmenian* latinKeys_ = nullptr;
    int searching_ = 0;
};

} // namespace tavelin
