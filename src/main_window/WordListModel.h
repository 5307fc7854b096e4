#pragma once

#include "data/WordList.h"
#include "text/CharacterSet.h"

#include <QAbstractListModel>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tavelin {

// The words of one list, kept as the dictionary's 8-bit codes in one block,
// shown through the side's character set (only the rows a view asks for are
// converted). The loaders fill it through the word-list interface: emptied,
// words appended, then finished in one go. A change of the dictionary is
// then followed word by word: insertWord and removeWord keep the list as a
// fresh load would give it.
class WordListModel final : public QAbstractListModel, public WordList {
    Q_OBJECT
public:
    explicit WordListModel(Side side, QObject* parent = nullptr);

    Side side() const { return side_; }
    int count() const { return static_cast<int>(ends_.size()); }
    std::string_view word(int index) const {
        const std::uint32_t begin = startOf(index);
        return {bytes_.get() + begin, ends_[static_cast<std::size_t>(index)] - begin};
    }
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

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    // Appends a word's codes, and notes whether it stands where it should.
    void store(std::string_view word);
    // Whether the last word may follow the one before it in dictionary order.
    bool lastInOrder() const;
    // Makes room for `size` bytes of words (and the slack reads need after them).
    void makeRoom(std::size_t size);
    void grow(std::size_t size);
    void checkSize(std::size_t added) const;
    // Where the codes of the word in the row begin in bytes_.
    std::uint32_t startOf(int row) const {
        return row == 0 ? 0 : ends_[static_cast<std::size_t>(row) - 1];
    }

    Side side_;
    const CharacterSet& set_;
    // Every word's codes back to back, then room for more.
    std::unique_ptr<char[]> bytes_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
    // Where each word ends in bytes_.
    std::vector<std::uint32_t> ends_;
    bool loading_ = false;
    bool ordered_ = true;
};

} // namespace tavelin
