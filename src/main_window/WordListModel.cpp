#include "WordListModel.h"

#include "platform/TextCodec.h"

namespace tavelin {

WordListModel::WordListModel(Side side, QObject* parent)
    : QAbstractListModel(parent), side_(side) {}

std::string_view WordListModel::word(int index) const {
    const std::uint32_t begin = index == 0 ? 0 : ends_[index - 1];
    return std::string_view(bytes_).substr(begin, ends_[index] - begin);
}

void WordListModel::clear() {
    if (!loading_) {
        beginResetModel();
        loading_ = true;
    }
    bytes_.clear();
    ends_.clear();
    ordered_ = true;
}

void WordListModel::reserve(std::size_t count) {
    ends_.reserve(count);
    bytes_.reserve(count * 8);
}

void WordListModel::append(std::string_view word) {
    const bool notify = !loading_;
    if (notify) {
        beginInsertRows(QModelIndex(), count(), count());
    }
    if (ordered_ && !ends_.empty() && compareWords(side_, this->word(count() - 1), word) > 0) {
        ordered_ = false;
    }
    bytes_.append(word);
    ends_.push_back(static_cast<std::uint32_t>(bytes_.size()));
    if (notify) {
        endInsertRows();
    }
}

void WordListModel::finish() {
    if (loading_) {
        loading_ = false;
        endResetModel();
    }
}

int WordListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

QVariant WordListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= count()) {
        return {};
    }
    return toDisplay(side_, word(index.row()));
}

} // namespace tavelin
