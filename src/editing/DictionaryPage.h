#pragma once

// What the add and delete dialogs of one page of the main window work on:
// its dictionary, its two word lists and its two search boxes.

#include "data/Database.h"
#include "data/DatabaseError.h"
#include "main_window/Tavelin.h"

#include <QString>

#include <functional>
#include <memory>

namespace tavelin::editing {

struct DictionaryPage {
    Database* dictionary;
    const DictionaryKind* kind;
    ListBox* Tavelin::*sourceList;
    ListBox* Tavelin::*armenianList;
    WordBox* Tavelin::*sourceSearch;
    WordBox* Tavelin::*armenianSearch;
    // What the main window does when the source search box changes.
    void (Tavelin::*sourceSearchChange)();
    void (*loadSource)(WordList&);
    void (*loadArmenian)(WordList&);
};

// Page 0: English-Armenian (db; list1, list2; Text1, Text2).
extern const DictionaryPage kEnglishPage;
// Page 1: Russian-Armenian (db1; List4, List3; Text5, Text4).
extern const DictionaryPage kRussianPage;

// The lists of a page refilled after a change of its dictionary.
class Refill {
public:
    // Changes the dictionary and reads both lists back, in one transaction:
    // when any of it fails (DatabaseError), the file keeps what it held and
    // the main window's lists are untouched.
    Refill(const DictionaryPage& page, const std::function<void()>& change);
    ~Refill();
    Refill(const Refill&) = delete;
    Refill& operator=(const Refill&) = delete;

    // Puts the words read back into the page's source list, then its Armenian list.
    void show(Tavelin& window);

private:
    struct Words;
    const DictionaryPage& page_;
    std::unique_ptr<Words> source_;
    std::unique_ptr<Words> armenian_;
};

// A failed change of a dictionary in words a user understands: what did not
// happen, the file, and the engine's error number and text.
QString failureMessage(const DictionaryPage& page, const QString& whatFailed,
                       const DatabaseError& error);

} // namespace tavelin::editing
