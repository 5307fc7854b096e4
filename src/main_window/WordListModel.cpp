#include "WordListModel.h"

#include "platform/TextCodec.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace tavelin {
namespace {

[[noreturn]] void tooLarge() {
    throw std::length_error("a word list holds 2^31 words at most");
}

std::uint64_t eightCodes(const char* at) {
    std::uint64_t codes;
    std::memcpy(&codes, at, sizeof codes);
    return codes;
}

} // namespace

WordListModel::WordListModel(Side side, QObject* parent)
    : QAbstractListModel(parent), side_(side), set_(CharacterSet::of(side)) {}

bool WordListModel::inOrder(std::string_view beforeWord, std::string_view afterWord) const {
    // compareWords(side_, before, after) <= 0 for two stored words, which
    // runs for every word a loader appends. Codes that are equal weigh the
    // same, so their common beginning is skipped first, eight codes at a
    // time: both words lie in the store with slack after them, and the codes
    // read past the shorter one are masked off.
    const char* const before = beforeWord.data();
    const char* const after = afterWord.data();
    const std::size_t beforeSize = beforeWord.size();
    const std::size_t afterSize = afterWord.size();
    const std::size_t n = std::min(beforeSize, afterSize);
    std::size_t i = 0;
    if constexpr (std::endian::native == std::endian::little) {
        while (i < n) {
            std::uint64_t differ = eightCodes(before + i) ^ eightCodes(after + i);
            if (n - i < 8) {
                differ &= (std::uint64_t{1} << (8 * (n - i))) - 1;
            }
            if (differ != 0) {
                // The lowest differing byte is the first differing code.
                i += static_cast<std::size_t>(std::countr_zero(differ)) / 8;
                break;
            }
            i += 8;
        }
        i = std::min(i, n);
    } else {
        while (i < n && before[i] == after[i]) {
            ++i;
        }
    }
    for (; i < n; ++i) {
        const int a = set_.weight(static_cast<unsigned char>(before[i]));
        const int b = set_.weight(static_cast<unsigned char>(after[i]));
        if (a != b) {
            return a < b;
        }
    }
    if (beforeSize != afterSize) {
        return beforeSize < afterSize;
    }
    return std::memcmp(before, after, n) <= 0;
}

WordListModel::~WordListModel() {
    aboutToChange();
}

void WordListModel::aboutToChange() const {
    if (beforeChange_) {
        beforeChange_();
    }
}

void WordListModel::checkSize() const {
    if (words_.size() >= static_cast<std::size_t>(std::numeric_limits<int>::max())) [[unlikely]] {
        tooLarge();
    }
}

void WordListModel::clear() {
    aboutToChange();
    if (!loading_) {
        beginResetModel();
        loading_ = true;
    }
    words_.clear();
    lastStored_ = {};
    ordered_ = true;
}

void WordListModel::reserve(std::size_t count) {
    words_.reserve(count);
}

inline void WordListModel::store(std::string_view word) {
    checkSize();
    // While loading, the word appended before is where it was stored.
    const bool first = words_.empty();
    const std::string_view before = first ? std::string_view()
                                    : loading_ && lastStored_.data() != nullptr
                                        ? lastStored_
                                        : words_[words_.size() - 1];
    lastStored_ = words_.push_back(word);
    if (ordered_ && !first && !inOrder(before, lastStored_)) {
        ordered_ = false;
    }
}

void WordListModel::append(std::string_view word) {
    if (loading_) [[likely]] {
        store(word);
        return;
    }
    beginInsertRows(QModelIndex(), count(), count());
    store(word);
    endInsertRows();
}

bool WordListModel::fillFromPages(
    const std::function<bool(WordStore& store, bool& ordered)>& read) {
    words_.clear();
    lastStored_ = {};
    bool ordered = false;
    if (!read(words_, ordered) ||
        words_.size() >= static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        words_.clear();
        ordered_ = true;
        return false;
    }
    ordered_ = ordered;
    return true;
}

void WordListModel::finish() {
    if (loading_) {
        loading_ = false;
        endResetModel();
    }
}

int WordListModel::insertWord(std::string_view word) {
    aboutToChange();
    checkSize();
    int row = count();
    if (ordered_) {
        // The first item the word stands before; equal words keep the order
        // they were stored in, and the new one was stored last.
        int first = 0;
        int last = count();
        while (first < last) {
            const int middle = first + (last - first) / 2;
            if (compareWords(side_, this->word(middle), word) <= 0) {
                first = middle + 1;
            } else {
                last = middle;
            }
        }
        row = first;
    }
    beginInsertRows(QModelIndex(), row, row);
    words_.insert(static_cast<std::size_t>(row), word);
    endInsertRows();
    return row;
}

int WordListModel::indexOf(std::string_view word) const {
    if (!ordered_) {
        for (int i = 0; i < count(); ++i) {
            if (this->word(i) == word) {
                return i;
            }
        }
        return -1;
    }
    // Equal codes stand together: the first item not before the word.
    int first = 0;
    int last = count();
    while (first < last) {
        const int middle = first + (last - first) / 2;
        if (compareWords(side_, this->word(middle), word) < 0) {
            first = middle + 1;
        } else {
            last = middle;
        }
    }
    return first < count() && this->word(first) == word ? first : -1;
}

int WordListModel::removeWord(std::string_view word) {
    const int row = indexOf(word);
    if (row < 0) {
        return -1;
    }
    aboutToChange();
    beginRemoveRows(QModelIndex(), row, row);
    words_.erase(static_cast<std::size_t>(row));
    endRemoveRows();
    return row;
}

int WordListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

QVariant WordListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= count()) {
        return {};
    }
    return toShown(side_, word(index.row()));
}

} // namespace tavelin
