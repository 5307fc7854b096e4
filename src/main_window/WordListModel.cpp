#include "WordListModel.h"

#include "platform/TextCodec.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace tavelin {
namespace {

// Room reserved per word: more than most dictionary words take, and room for
// words added later. Room a list never fills costs address space, not memory.
constexpr std::size_t kReservedBytesPerWord = 12;
constexpr std::size_t kSpareWordsPer64 = 1;
// The order check reads the codes of two words eight at a time, so the block
// always has this much room after the last word.
constexpr std::size_t kSlack = 8;

[[noreturn]] void tooLarge() {
    throw std::length_error("a word list holds 4 GiB or 2^31 words at most");
}

std::uint64_t eightCodes(const char* at) {
    std::uint64_t codes;
    std::memcpy(&codes, at, sizeof codes);
    return codes;
}

} // namespace

WordListModel::WordListModel(Side side, QObject* parent)
    : QAbstractListModel(parent), side_(side), set_(CharacterSet::of(side)) {}

bool WordListModel::lastInOrder() const {
    // compareWords(side_, before, after) <= 0 for the last two words, which
    // runs for every word a loader appends. Codes that are equal weigh the
    // same, so their common beginning is skipped first, eight codes at a
    // time: both words lie in the block with slack after them, and the codes
    // read past the shorter one are masked off.
    const std::size_t last = ends_.size() - 1;
    const std::size_t afterBegin = ends_[last - 1];
    const std::size_t beforeBegin = last == 1 ? 0 : ends_[last - 2];
    const char* const before = bytes_.get() + beforeBegin;
    const char* const after = bytes_.get() + afterBegin;
    const std::size_t beforeSize = afterBegin - beforeBegin;
    const std::size_t afterSize = ends_[last] - afterBegin;
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

void WordListModel::checkSize(std::size_t added) const {
    if (size_ + added > std::numeric_limits<std::uint32_t>::max() ||
        ends_.size() >= static_cast<std::size_t>(std::numeric_limits<int>::max())) [[unlikely]] {
        tooLarge();
    }
}

void WordListModel::makeRoom(std::size_t size) {
    if (size + kSlack > capacity_) [[unlikely]] {
        grow(size);
    }
}

void WordListModel::grow(std::size_t size) {
    const std::size_t capacity = std::max(size + kSlack, capacity_ * 2);
    // Not value-initialised: pages never written take no memory.
    std::unique_ptr<char[]> bytes(new char[capacity]);
    if (size_ > 0) {
        std::memcpy(bytes.get(), bytes_.get(), size_);
    }
    bytes_ = std::move(bytes);
    capacity_ = capacity;
}

void WordListModel::clear() {
    if (!loading_) {
        beginResetModel();
        loading_ = true;
    }
    size_ = 0;
    ends_.clear();
    ordered_ = true;
}

void WordListModel::reserve(std::size_t count) {
    ends_.reserve(count + count * kSpareWordsPer64 / 64 + 64);
    makeRoom(count * kReservedBytesPerWord);
}

inline void WordListModel::store(std::string_view word) {
    checkSize(word.size());
    const std::size_t end = size_ + word.size();
    makeRoom(end);
    if (!word.empty()) {
        std::memcpy(bytes_.get() + size_, word.data(), word.size());
    }
    size_ = end;
    ends_.push_back(static_cast<std::uint32_t>(end));
    if (ordered_ && ends_.size() > 1 && !lastInOrder()) {
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

void WordListModel::finish() {
    if (loading_) {
        loading_ = false;
        endResetModel();
    }
}

int WordListModel::insertWord(std::string_view word) {
    checkSize(word.size());
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
    makeRoom(size_ + word.size());
    const std::uint32_t at = startOf(row);
    const auto length = static_cast<std::uint32_t>(word.size());
    char* const bytes = bytes_.get();
    std::memmove(bytes + at + length, bytes + at, size_ - at);
    if (length > 0) {
        std::memcpy(bytes + at, word.data(), length);
    }
    size_ += length;
    ends_.insert(ends_.begin() + row, at + length);
    for (auto it = ends_.begin() + row + 1; it != ends_.end(); ++it) {
        *it += length;
    }
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
    beginRemoveRows(QModelIndex(), row, row);
    const std::uint32_t at = startOf(row);
    const auto length = static_cast<std::uint32_t>(word.size());
    char* const bytes = bytes_.get();
    std::memmove(bytes + at, bytes + at + length, size_ - at - length);
    size_ -= length;
    ends_.erase(ends_.begin() + row);
    for (auto it = ends_.begin() + row; it != ends_.end(); ++it) {
        *it -= length;
    }
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
