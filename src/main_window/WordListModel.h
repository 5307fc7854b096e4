#pragma once

#include "data/WordList.h"
#include "platform/CharacterSet.h"

#include <QAbstractListModel>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavelin {

// The words of one list, kept as the dictionary's 8-bit codes in one block,
// shown through the side's character set. The loaders fill it through the
// word-list interface: emptied, words appended, then finished in one go.
class WordListModel : public QAbstractListModel, public WordList {
    Q_OBJECT
public:
    explicit WordListModel(Side side, QObject* parent = nullptr);

    Side side() const { return side_; }
    int count() const { return static_cast<int>(ends_.size()); }
    std::string_view word(int index) const;
    // Whether the words stand in dictionary order, so that a prefix can be
    // found by halving the list.
    bool inDictionaryOrder() const { return ordered_; }

    void clear() override;
    void append(std::string_view word) override;
    void reserve(std::size_t count) override;
    void finish() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    Side side_;
    std::string bytes_;
    std::vector<std::uint32_t> ends_;
    bool loading_ = false;
    bool ordered_ = true;
};

} // namespace tavelin
