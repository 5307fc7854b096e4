#pragma once

// One page of the main window: its controls, its dictionary and the data
// routines that serve it. The main window holds two, and the dialogs of a
// page are handed the page's. The window fills in its controls; start-up
// hands in the dictionary and its routines (app/Dictionaries.h).
//
// The controls keep the names the window was designed with; the twins of
// page 1 carry other numbers:
//
// | What                         | Page 0 English-Armenian | Page 1 Russian-Armenian |
// |------------------------------|-------------------------|-------------------------|
// | source search box            | Text1                   | Text5                   |
// | Armenian search box          | Text2                   | Text4                   |
// | source word list             | list1 (English words)   | List4 (Russian words)   |
// | Armenian word list           | list2                   | List3                   |
// | chosen source word           | Text3                   | Text6                   |
// | chosen Armenian word         | Text7                   | Text8                   |
// | copy the source word         | Command1                | Command3                |
// | copy the Armenian word       | Command2                | Command4                |
// | word count timer             | Timer1                  | Timer2                  |
// | copy buttons timer           | Timer3                  | Timer4                  |
// | Delete command timer         | Timer5                  | Timer6                  |
// | dictionary (handed in)       | db (EA.tvl)             | db1 (RA.tvl)            |
// | list loaders                 | LoadEnglish, LoadArmenian | LoadRussian, LoadArmenian1 |
// | look-ups                     | GetArmenian, GetEnglish | GetArmenian1, GetRussian |
// | add, delete                  | AddWord, DeleteWord     | AddWord1, DeleteWord1   |

#include "data/Database.h"

#include <array>
#include <functional>
#include <string>
#include <string_view>

class QObject;
class QPushButton;
class QTimer;

namespace tavelin {

class ListBox;
class WordBox;

struct PageControls {
    int index = 0;
    WordBox* sourceSearch = nullptr;
    WordBox* armenianSearch = nullptr;
    ListBox* sourceList = nullptr;
    ListBox* armenianList = nullptr;
    WordBox* sourceShown = nullptr;
    WordBox* armenianShown = nullptr;
    QPushButton* copySource = nullptr;
    QPushButton* copyArmenian = nullptr;
    QTimer* countTimer = nullptr;
    QTimer* copyTimer = nullptr;
    QTimer* deleteTimer = nullptr;

    Database* dictionary = nullptr;
    const DictionaryKind* kind = nullptr;
    void (*loadSource)(WordList&) = nullptr;
    void (*loadArmenian)(WordList&) = nullptr;
    std::string (*armenianOf)(std::string_view source) = nullptr;
    std::string (*sourceOf)(std::string_view armenian) = nullptr;
    void (*append)(std::string_view source, std::string_view armenian) = nullptr;
    void (*removeFirst)(std::string_view source) = nullptr;

    // What the window does when the source search box changes (the dialogs
    // run it when the box already holds the word they want looked up).
    std::function<void()> sourceSearchChange;

    // What the Armenian word fields of the page's dialogs install to take
    // Latin keys as Armenian letters (LatinKeysTypeArmenian); may be null.
    QObject* armenianKeys = nullptr;

    // What a double-click fills, in order; the two pages were designed with
    // different orders, and the cascade of each assignment makes the order
    // matter. "Other" is the translation's side, "own" the clicked list's.
    enum class Fill { SelectOther, OtherSearch, OtherShown, OwnShown, OwnSearch };
    std::array<Fill, 5> sourceDoubleClick{};
    std::array<Fill, 5> armenianDoubleClick{};

    // What follows the line number in the status bar when the page is turned to.
    const char* chosenLineEnd = "";
};

} // namespace tavelin
