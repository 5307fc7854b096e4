#pragma once

#include "WordStore.h"
#include "data/WordList.h"
#include "text/CharacterSet.h"

#include <QAbstractListModel>

#include <functional>
#include <string_view>
#include <utility>

namespace tavelin {

// The words of one list, kept as the dictionary's 8-bit codes in pages
// (WordStore), shown through the side's character set (only the rows a view
// asks for are converted). The loaders fill it through the word-list
// interface: emptied, words appended, then finished in one go. A change of
// the dictionary is then followed word by word: insertWord and removeWord
// keep the list as a fresh load would give it, moving the codes of one page.
class WordListModel final : public QAbstractListModel, public WordList {
    Q_OBJECT
public:
    explicit WordListModel(Side side, QObject* parent = nullptr);
    ~WordListModel() override;
    WordListModel(const WordListModel&) = delete;
    WordListModel& operator=(const WordListModel&) = delete;

    Side side() const { return side_; }
    int count() const { return static_cast<int>(words_.size()); }
    std::string_view word(int index) const { return words_[static_cast<std::size_t>(index)]; }
    // Whether the words stand in dictionary order, so that a prefix can be
    // found by halving the list.
    bool inDictionaryOrder() const { return ordered_; }

    void clear() override;
    void append(std::string_view word) override;
    void reserve(std::size_t count) override;
    void finish() override;

    // Puts the word where a fresh load would: after every word that does not
    // stand after it in dictionary order. Returns its position. In a list out
    // of dictionary order the word goes at the end.
    int insertWord(std::string_view word);
    // The first item whose codes equal the word, or -1.
    int indexOf(std::string_view word) const;
    // Takes out one item whose codes equal the word; returns where it stood,
    // or -1 (nothing changed) when there is none.
    int removeWord(std::string_view word);

    // The words as stored, for a copy of the list on disk.
    const WordStore& store() const { return words_; }
    // Between clear() and finish(), in place of appending words one by one:
    // `read` appends the pages of a copy on disk to the empty store and says
    // whether it could and whether the words stand in dictionary order. On
    // failure the list is left empty.
    bool fillFromPages(const std::function<bool(WordStore& store, bool& ordered)>& read);

    // Runs before the list's words change (emptied, a word put in or taken
    // out): whoever reads the words on another thread waits there.
    void setBeforeChange(std::function<void()> hook) { beforeChange_ = std::move(hook); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    // Appends a word's codes, and notes whether it stands where it should.
    void store(std::string_view word);
    // Whether the second stored word may follow the first in dictionary order.
    bool inOrder(std::string_view before, std::string_view after) const;
    void checkSize() const;
    // Runs the hook set by setBeforeChange.
    void aboutToChange() const;

    Side side_;
    const CharacterSet& set_;
    WordStore words_;
    // The codes of the word appended last while loading.
    std::string_view lastStored_;
    bool loading_ = false;
    bool ordered_ = true;
    std::function<void()> beforeChange_;
};

} // namespace tavelin
