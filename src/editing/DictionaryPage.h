#pragma once

// What the add and delete dialogs of one page of the main window work on:
// its dictionary, its two word lists and its two search boxes.

#include "data/Database.h"
#include "data/DatabaseError.h"
#include "main_window/Tavelin.h"

#include <QString>

#include <memory>
#include <string_view>

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
    // The page's loaders: the lists as a fresh load gives them.
    void (*loadSource)(WordList&);
    void (*loadArmenian)(WordList&);
};

// Page 0: English-Armenian (db; list1, list2; Text1, Text2).
extern const DictionaryPage kEnglishPage;
// Page 1: Russian-Armenian (db1; List4, List3; Text5, Text4).
extern const DictionaryPage kRussianPage;

// A change of a page's dictionary, and what it does to the page's two lists.
//
// The change, and whatever is read to follow it, run in one transaction: when
// any of it fails (DatabaseError), the file keeps what it held and the main
// window's lists are untouched. show() then brings each list in step with the
// file: one word put in or taken out where a fresh load would have it, or,
// where that cannot be told, the list's words as read back in the transaction.
class ListEdit {
public:
    // Appends the pair.
    static ListEdit add(const DictionaryPage& page,
                        void (*append)(std::string_view source, std::string_view armenian),
                        std::string_view source, std::string_view armenian, const Tavelin& window);
    // Deletes the first pair (in storage order) of the source word. Its
    // Armenian word is the one the look-up gives when the source word has no
    // other pair; otherwise the Armenian list is read back. A word without a
    // pair deletes nothing, and both lists are read back: they were behind
    // the file.
    static ListEdit remove(const DictionaryPage& page, void (*removeFirst)(std::string_view source),
                           std::string_view source, const Tavelin& window);

    ListEdit(ListEdit&&) noexcept;
    ~ListEdit();

    // Changes the page's source list, then its Armenian list. Like a refill,
    // it leaves neither with a selection and runs no click.
    void show(Tavelin& window);

private:
    struct Step;
    explicit ListEdit(const DictionaryPage& page);

    const DictionaryPage* page_;
    std::unique_ptr<Step> source_;
    std::unique_ptr<Step> armenian_;
};

// A failed change of a dictionary in words a user understands: what did not
// happen, the file, and the engine's error number and text.
QString failureMessage(const DictionaryPage& page, const QString& whatFailed,
                       const DatabaseError& error);

} // namespace tavelin::editing
