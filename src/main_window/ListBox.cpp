#include "ListBox.h"

#include "PrefixSearch.h"

namespace tavelin {

ListBox::ListBox(Side side, QWidget* parent)
    : QListView(parent), model_(new WordListModel(side, this)) {
    setModel(model_);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        const int index = listIndex();
        if (index != lastIndex_) {
            lastIndex_ = index;
            emit click();
        }
    });
    // A refill selects nothing and runs no click.
    connect(model_, &QAbstractItemModel::modelReset, this, [this] { lastIndex_ = -1; });
    connect(this, &QAbstractItemView::doubleClicked, this, [this] { emit dblClick(); });
}

int ListBox::listIndex() const {
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void ListBox::setListIndex(int index) {
    if (index < 0 || index >= listCount()) {
        selectionModel()->clearSelection();
        return;
    }
    const QModelIndex item = model_->index(index);
    selectionModel()->setCurrentIndex(item, QItemSelectionModel::ClearAndSelect);
    scrollTo(item);
}

std::string ListBox::selectedWord() const {
    const int index = listIndex();
    return index < 0 ? std::string() : std::string(model_->word(index));
}

void ListBox::selectWord(std::string_view word) {
    setListIndex(findWord(*model_, word));
}

} // namespace tavelin
