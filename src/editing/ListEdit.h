#pragma once

// Changing a page's dictionary and keeping the page's lists in step.

#include "data/Database.h"
#include "data/DatabaseError.h"
#include "main_window/PageControls.h"

#include <QString>

#include <memory>
#include <string_view>

namespace tavelin::editing {

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
    static ListEdit add(const PageControls& page, std::string_view source,
                        std::string_view armenian);
    // Deletes the first pair (in storage order) of the source word. Its
    // Armenian word is the one the look-up gives when the source word has no
    // other pair; otherwise the Armenian list is read back. A word without a
    // pair deletes nothing, and both lists are read back: they were behind
    // the file.
    static ListEdit remove(const PageControls& page, std::string_view source);

    ListEdit(ListEdit&&) noexcept;
    ~ListEdit();

    // Changes the page's source list, then its Armenian list. Like a refill,
    // it leaves neither with a selection and runs no click.
    void show();

private:
    struct Step;
    explicit ListEdit(const PageControls& page);

    const PageControls* page_;
    std::unique_ptr<Step> source_;
    std::unique_ptr<Step> armenian_;
};

// A failed change of a dictionary in words a user understands: what did not
// happen, the file, and the engine's error number and text.
QString failureMessage(const PageControls& page, const QString& whatFailed,
                       const DatabaseError& error);

} // namespace tavelin::editing
