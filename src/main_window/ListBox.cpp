#include "ListBox.h"

#include "PrefixSearch.h"

#include <QHoverEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <cstdint>
#include <limits>

namespace tavelin {
namespace {

// Division rounding towards minus infinity: rows above the list's top are
// negative rows, not row 0.
int floorDivide(std::int64_t a, int b) {
    const std::int64_t q = a / b;
    return static_cast<int>(q * b > a ? q - 1 : q);
}

int clampToInt(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

} // namespace

ListBox::ListBox(Side side, QWidget* parent)
    : QAbstractItemView(parent), model_(new WordListModel(side, this)) {
    setModel(model_);
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
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        lastIndex_ = -1;
        rowHeight_ = 0;
        hoverRow_ = -1;
        updateGeometries();
    });
    // Words added or taken out one by one move the items below them; the
    // scroll range follows at once, so that the item a search selects next
    // can be scrolled to.
    const auto rowsChanged = [this](const QModelIndex&, int first, int) {
        if (first == 0) {
            rowHeight_ = 0; // measured from the first item
        }
        hoverRow_ = -1;
        updateGeometries();
        viewport()->update();
    };
    connect(model_, &QAbstractItemModel::rowsInserted, this, rowsChanged);
    connect(model_, &QAbstractItemModel::rowsRemoved, this, rowsChanged);
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

void ListBox::forgetSelection() {
    selectionModel()->reset(); // tells no one, as a reset of the list does
    lastIndex_ = -1;
    viewport()->update();
}

// ---- Geometry: every item as high as the first, as wide as the viewport ----

int ListBox::rowHeight() const {
    if (rowHeight_ > 0) {
        return rowHeight_;
    }
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    if (model_->count() == 0) {
        return std::max(1, option.fontMetrics.height());
    }
    const QModelIndex first = model_->index(0);
    rowHeight_ = std::max(1, itemDelegateForIndex(first)->sizeHint(option, first).height());
    return rowHeight_;
}

int ListBox::rowsPerPage() const {
    return std::max(1, viewport()->height() / rowHeight());
}

std::pair<int, int> ListBox::rowsBetween(int top, int bottom) const {
    const int height = rowHeight();
    const int first = std::max(0, floorDivide(std::int64_t{top} + verticalOffset(), height));
    const int last =
        std::min(listCount() - 1, floorDivide(std::int64_t{bottom} + verticalOffset(), height));
    return {first, last};
}

QRect ListBox::visualRect(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != model_ || index.row() >= listCount()) {
        return {};
    }
    const int height = rowHeight();
    return {-horizontalOffset(), clampToInt(std::int64_t{index.row()} * height - verticalOffset()),
            viewport()->width(), height};
}

QModelIndex ListBox::indexAt(const QPoint& point) const {
    if (point.x() < 0 || point.x() >= viewport()->width()) {
        return {};
    }
    const auto [first, last] = rowsBetween(point.y(), point.y());
    return first == last ? model_->index(first) : QModelIndex();
}

int ListBox::horizontalOffset() const {
    return horizontalScrollBar()->value();
}

int ListBox::verticalOffset() const {
    const int value = verticalScrollBar()->value();
    return verticalScrollMode() == ScrollPerItem ? clampToInt(std::int64_t{value} * rowHeight())
                                                 : value;
}

bool ListBox::isIndexHidden(const QModelIndex&) const {
    return false;
}

void ListBox::updateGeometries() {
    const std::int64_t rows = listCount();
    const int height = rowHeight();
    const int page = viewport()->height();
    QScrollBar* bar = verticalScrollBar();
    if (verticalScrollMode() == ScrollPerItem) {
        // The bar's value is the top item; a page is the items that fit wholly.
        const int fit = page / height;
        if (rows > 0 && rows * height > page) {
            bar->setSingleStep(1);
            bar->setPageStep(fit);
            bar->setRange(0, clampToInt(rows - fit));
        } else {
            bar->setPageStep(clampToInt(rows + 1));
            bar->setRange(0, 0);
        }
    } else {
        bar->setSingleStep(height);
        bar->setPageStep(page);
        bar->setRange(0, clampToInt(std::max<std::int64_t>(0, rows * height - page)));
    }
    horizontalScrollBar()->setRange(0, 0);
    QAbstractItemView::updateGeometries();
}

void ListBox::scrollContentsBy(int dx, int dy) {
    if (verticalScrollMode() == ScrollPerItem) {
        dy = clampToInt(std::int64_t{dy} * rowHeight());
    }
    QAbstractItemView::scrollContentsBy(dx, dy);
}

void ListBox::scrollTo(const QModelIndex& index, ScrollHint hint) {
    const QRect rect = visualRect(index);
    if (!rect.isValid()) {
        return;
    }
    const QRect area = viewport()->rect();
    if (hint == EnsureVisible && area.contains(rect)) {
        viewport()->update(rect);
        return;
    }
    const bool above = hint == EnsureVisible && rect.top() < area.top();
    const bool below = hint == EnsureVisible && rect.bottom() > area.bottom();
    QScrollBar* bar = verticalScrollBar();
    if (verticalScrollMode() == ScrollPerItem) {
        const int row = index.row();
        // The items that fit wholly from the top of the list down to this one.
        const int fit = std::min(rowsPerPage(), row + 1);
        if (hint == PositionAtTop || above) {
            bar->setValue(row);
        } else if (hint == PositionAtBottom || below) {
            bar->setValue(row - fit + 1);
        } else if (hint == PositionAtCenter) {
            bar->setValue(row - fit / 2);
        }
        return;
    }
    int value = bar->value();
    if (hint == PositionAtTop || above) {
        value += rect.top();
    } else if (hint == PositionAtBottom || below) {
        value += std::min(rect.top(), rect.bottom() - area.height() + 1);
    } else if (hint == PositionAtCenter) {
        value += rect.top() - (area.height() - rect.height()) / 2;
    }
    bar->setValue(value);
}

QModelIndex ListBox::moveCursor(CursorAction action, Qt::KeyboardModifiers) {
    const int rows = listCount();
    if (rows == 0) {
        return {};
    }
    const QModelIndex current = currentIndex();
    if (!current.isValid()) {
        return model_->index(0);
    }
    const int row = current.row();
    const int height = rowHeight();
    const int page = viewport()->height();
    // Page keys move to the last item that was wholly in view below (or
    // above) the current one, as in other list views.
    const int pageStep = height >= page ? 1 : std::max(0, page / height - 1);
    int target = row;
    switch (action) {
    case MoveUp:
    case MovePrevious:
        target = row - 1;
        break;
    case MoveDown:
    case MoveNext:
        target = row + 1;
        break;
    case MovePageUp:
        target = row - pageStep;
        break;
    case MovePageDown:
        target = row + pageStep;
        break;
    case MoveHome:
        target = 0;
        break;
    case MoveEnd:
        target = rows - 1;
        break;
    case MoveLeft:
    case MoveRight:
        break; // one column: nothing beside the current item
    }
    return model_->index(std::clamp(target, 0, rows - 1));
}

void ListBox::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) {
    // A press (or a drag) selects the item under it; a larger rectangle, from
    // the item at its top left to the one at its bottom right, both of which
    // must be there.
    QItemSelection selection;
    const QModelIndex first = indexAt(rect.topLeft());
    const QModelIndex last =
        rect.width() == 1 && rect.height() == 1 ? first : indexAt(rect.bottomRight());
    if (first.isValid() && last.isValid()) {
        selection.select(model_->index(std::min(first.row(), last.row())),
                         model_->index(std::max(first.row(), last.row())));
    }
    selectionModel()->select(selection, command);
}

QRegion ListBox::visualRegionForSelection(const QItemSelection& selection) const {
    QRegion region;
    const auto [firstShown, lastShown] = rowsBetween(0, viewport()->height() - 1);
    for (const QItemSelectionRange& range : selection) {
        if (!range.isValid()) {
            continue;
        }
        const int first = std::max(range.top(), firstShown);
        const int last = std::min(range.bottom(), lastShown);
        if (first <= last) {
            const QRect top = visualRect(model_->index(first));
            const QRect bottom = visualRect(model_->index(last));
            region += top.united(bottom);
        }
    }
    return region;
}

void ListBox::initViewItemOption(QStyleOptionViewItem* option) const {
    QAbstractItemView::initViewItemOption(option);
    // What a list view sets for its items in list mode.
    if (!iconSize().isValid()) {
        const int size = style()->pixelMetric(QStyle::PM_ListViewIconSize, nullptr, this);
        option->decorationSize = QSize(size, size);
    }
    option->decorationPosition = QStyleOptionViewItem::Left;
    option->viewItemPosition = QStyleOptionViewItem::OnlyOne;
}

void ListBox::paintEvent(QPaintEvent* event) {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    QPainter painter(viewport());
    const auto [first, last] = rowsBetween(event->rect().top(), event->rect().bottom());
    const QModelIndex current = currentIndex();
    const bool focus = (hasFocus() || viewport()->hasFocus()) && current.isValid();
    const QStyle::State state = option.state;
    const bool enabled = (state & QStyle::State_Enabled) != 0;
    const bool alternate = alternatingRowColors();
    for (int row = first; row <= last; ++row) {
        const QModelIndex index = model_->index(row);
        option.rect = visualRect(index);
        option.state = state;
        if (selectionModel()->isSelected(index)) {
            option.state |= QStyle::State_Selected;
        }
        if (enabled) {
            option.palette.setCurrentColorGroup(QPalette::Normal);
        }
        if (focus && current == index) {
            option.state |= QStyle::State_HasFocus;
        }
        option.state.setFlag(QStyle::State_MouseOver, row == hoverRow_);
        if (alternate) {
            option.features.setFlag(QStyleOptionViewItem::Alternate, (row & 1) != 0);
            const QStyle::State withSelection = option.state;
            option.state &= ~QStyle::State_Selected;
            style()->drawPrimitive(QStyle::PE_PanelItemViewRow, &option, &painter, this);
            option.state = withSelection;
        }
        itemDelegateForIndex(index)->paint(&painter, option, index);
    }
}

void ListBox::setHoverRow(int row) {
    if (row == hoverRow_) {
        return;
    }
    for (int changed : {hoverRow_, row}) {
        if (changed >= 0 && changed < listCount()) {
            viewport()->update(visualRect(model_->index(changed)));
        }
    }
    hoverRow_ = row;
}

bool ListBox::viewportEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::HoverEnter:
    case QEvent::HoverMove: {
        const QModelIndex index = indexAt(static_cast<QHoverEvent*>(event)->position().toPoint());
        setHoverRow(index.isValid() ? index.row() : -1);
        break;
    }
    case QEvent::HoverLeave:
    case QEvent::Leave:
        setHoverRow(-1);
        break;
    default:
        break;
    }
    return QAbstractItemView::viewportEvent(event);
}

void ListBox::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        rowHeight_ = 0;
        updateGeometries();
        viewport()->update();
    }
    QAbstractItemView::changeEvent(event);
}

} // namespace tavelin
