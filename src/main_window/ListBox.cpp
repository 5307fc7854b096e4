#include "ListBox.h"

#include "PrefixSearch.h"
#include "widgets/ApplicationStyle.h"

#include <QApplication>
#include <QHoverEvent>
#include <QImage>
#include <QPainter>
#include <QProxyStyle>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QStyledItemDelegate>
#include <QTextLayout>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

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

// The application's style, drawing the lists' scroll bars in bands a few
// rows high. The raster engine hands a fill or a line taller than a band to
// other threads and waits for them, which on a busy machine costs more than
// the drawing itself. Each band is drawn into an image of its own (a style
// may replace the painter's clip, never an image's edges) and copied in.
// The style fills the whole bar; a band it leaves partly transparent would
// not copy as drawn, and the bar is then drawn as it always is.
class BandStyle : public QProxyStyle {
public:
    // The proxy owns its base: a fresh style of the application style's kind.
    BandStyle() : QProxyStyle(newApplicationStyle()) {}

    // Whether a scroll bar's parts other than its slider stay as they are
    // when only its value changes (known of the style the lists are tried
    // with).
    bool drawsValueInSliderOnly() const { return isFusion(*baseStyle()); }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override;
};

// A list's scroll bar: as the style draws it, in bands (BandStyle), and when
// only the value changed, only where the slider was and where it is.
class ListScrollBar : public QScrollBar {
public:
    explicit ListScrollBar(QWidget* parent) : QScrollBar(Qt::Vertical, parent) {
        setStyle(sharedStyle<BandStyle>());
    }

    // The part of the bar being drawn, while it is.
    const QRegion& drawing() const { return drawing_; }

protected:
    void sliderChange(SliderChange change) override {
        const QRect slider = sliderArea();
        // The ends of the range are left to the style, which may draw them
        // otherwise.
        const bool atEnd = value() == minimum() || value() == maximum();
        if (change == SliderValueChange && !atEnd && !wasAtEnd_ && !shownSlider_.isNull() &&
            sharedStyle<BandStyle>()->drawsValueInSliderOnly()) {
            update(shownSlider_);
            update(slider);
        } else {
            QScrollBar::sliderChange(change);
        }
        shownSlider_ = slider;
        wasAtEnd_ = atEnd;
    }

    void paintEvent(QPaintEvent* event) override {
        drawing_ = event->region();
        shownSlider_ = sliderArea();
        wasAtEnd_ = value() == minimum() || value() == maximum();
        QScrollBar::paintEvent(event);
        drawing_ = QRegion();
    }

private:
    // The slider and the lines the style draws around it, across the bar.
    QRect sliderArea() const {
        QStyleOptionSlider option;
        initStyleOption(&option);
        const QRect slider = style()->subControlRect(QStyle::CC_ScrollBar, &option,
                                                     QStyle::SC_ScrollBarSlider, this);
        constexpr int kOutline = 2;
        return {0, slider.top() - kOutline, width(), slider.height() + 2 * kOutline};
    }

    QRegion drawing_;
    QRect shownSlider_;
    bool wasAtEnd_ = true;
};

void BandStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                   QPainter* painter, const QWidget* widget) const {
    const auto* bar = dynamic_cast<const ListScrollBar*>(widget);
    // Bands are device pixels: only where the painter does nothing but move.
    if (control != CC_ScrollBar || bar == nullptr || bar->drawing().isEmpty() ||
        painter->deviceTransform().type() > QTransform::TxTranslate ||
        painter->device()->devicePixelRatio() != 1) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    // Fewer rows than the raster engine shares out among threads.
    constexpr int kBand = 64;
    std::vector<std::pair<QPoint, QImage>> bands;
    for (const QRect& drawn : bar->drawing()) {
        const QRect area = drawn.intersected(option->rect);
        for (int top = area.top(); top <= area.bottom(); top += kBand) {
            const QRect band(area.left(), top, area.width(),
                             std::min(kBand, area.bottom() + 1 - top));
            QImage image(band.size(), QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter bandPainter(&image);
            bandPainter.translate(-band.topLeft());
            bandPainter.setFont(painter->font());
            bandPainter.setPen(painter->pen());
            bandPainter.setBrush(painter->brush());
            bandPainter.setBrushOrigin(painter->brushOrigin());
            bandPainter.setBackground(painter->background());
            bandPainter.setBackgroundMode(painter->backgroundMode());
            bandPainter.setRenderHints(painter->renderHints());
            bandPainter.setLayoutDirection(painter->layoutDirection());
            bandPainter.setOpacity(painter->opacity());
            QProxyStyle::drawComplexControl(control, option, &bandPainter, widget);
            bandPainter.end();
            for (int y = 0; y < image.height(); ++y) {
                const auto* pixels = reinterpret_cast<const QRgb*>(image.constScanLine(y));
                if (!std::all_of(pixels, pixels + image.width(),
                                 [](QRgb pixel) { return qAlpha(pixel) == 255; })) {
                    QProxyStyle::drawComplexControl(control, option, painter, widget);
                    return;
                }
            }
            bands.emplace_back(band.topLeft(), std::move(image));
        }
    }
    for (const auto& [at, image] : bands) {
        painter->drawImage(at, image);
    }
}

} // namespace

ListBox::ListBox(Side side, QWidget* parent)
    : QAbstractItemView(parent), model_(new WordListModel(side, this)) {
    setVerticalScrollBar(new ListScrollBar(this));
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

bool ListBox::drawsRowsItself(const QStyleOptionViewItem& option) const {
    // What a row of words needs of the item delegate and of the style, when
    // both are those the rows are known to look like.
    const QAbstractItemDelegate* delegate = itemDelegate();
    return delegate != nullptr &&
           delegate->metaObject() == &QStyledItemDelegate::staticMetaObject && isFusion(*style()) &&
           qApp->styleSheet().isEmpty() && styleSheet().isEmpty() &&
           style()->styleHint(QStyle::SH_ItemView_ShowDecorationSelected, &option, this) != 0 &&
           option.direction == Qt::LeftToRight && textElideMode() == Qt::ElideRight &&
           !option.features.testFlag(QStyleOptionViewItem::WrapText);
}

WordGlyphs& ListBox::glyphsFor(const QFont& font) const {
    if (!glyphs_ || glyphs_->font() != font) {
        glyphs_ = std::make_unique<WordGlyphs>(font);
    }
    return *glyphs_;
}

bool ListBox::drawRow(QPainter& painter, const QStyleOptionViewItem& option,
                      const QModelIndex& index, int textMargin, WordGlyphs& glyphs) const {
    // The item delegate and the style lay a row's text out four times to
    // find where it goes and whether it must be cut short; once tells, and
    // for most words the font's glyphs and kerning tell without the text
    // layout (WordGlyphs). A row they would draw otherwise (a focus frame, a
    // word cut short, more than one line) is left to them.
    if (option.state.testFlag(QStyle::State_HasFocus)) {
        return false;
    }
    const QString text = model_->data(index, Qt::DisplayRole).toString();
    const QRect textRect = option.rect.adjusted(textMargin, 0, -textMargin, 0);
    const Qt::Alignment alignment =
        QStyle::visualAlignment(option.direction, option.displayAlignment);
    const bool fromLeft = (alignment & Qt::AlignLeft) != 0;
    std::optional<WordGlyphs::Line> quick = fromLeft ? glyphs.layOut(text) : std::nullopt;
    // Whether a word close to the row's width is cut short is for the text
    // layout to say, which counts the last glyph's overhang.
    if (quick && quick->width + glyphs.lineHeight() > textRect.width()) {
        quick.reset();
    }
    std::optional<QTextLayout> layout;
    QSize textSize;
    if (quick) {
        textSize = QSize(textRect.width(), glyphs.lineHeight());
    } else {
        QTextOption textOption;
        textOption.setWrapMode(QTextOption::ManualWrap);
        textOption.setTextDirection(option.direction);
        textOption.setAlignment(alignment);
        layout.emplace(text, option.font);
        layout->setTextOption(textOption);
        layout->beginLayout();
        QTextLine line = layout->createLine();
        if (line.isValid()) {
            line.setLineWidth(textRect.width());
            line.setPosition(QPointF(0, 0));
        }
        const bool oneLine = !layout->createLine().isValid();
        layout->endLayout();
        if (!oneLine || text.contains(QLatin1Char('\n')) ||
            (line.isValid() && line.naturalTextWidth() > textRect.width())) {
            return false;
        }
        if (fromLeft && glyphs.worthLearning(text)) {
            glyphs.learn(text, *layout);
        }
        textSize = layout->boundingRect().size().toSize();
    }
    painter.save();
    painter.setClipRect(option.rect);
    style()->drawPrimitive(QStyle::PE_PanelItemViewItem, &option, &painter, this);
    if (!text.isEmpty()) {
        QPalette::ColorGroup group =
            option.state.testFlag(QStyle::State_Enabled) ? QPalette::Normal : QPalette::Disabled;
        if (group == QPalette::Normal && !option.state.testFlag(QStyle::State_Active)) {
            group = QPalette::Inactive;
        }
        painter.setPen(option.palette.color(group, option.state.testFlag(QStyle::State_Selected)
                                                       ? QPalette::HighlightedText
                                                       : QPalette::Text));
        const QRect placed = QStyle::alignedRect(Qt::LayoutDirectionAuto, option.displayAlignment,
                                                 textSize, textRect);
        if (quick) {
            painter.drawGlyphRun(QPointF(textRect.x(), placed.top() + glyphs.ascent()),
                                 quick->glyphs);
        } else {
            layout->draw(&painter, QPointF(textRect.x(), placed.top()));
        }
    }
    painter.restore();
    return true;
}

void ListBox::paintEvent(QPaintEvent* event) {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    QPainter painter(viewport());
    const bool itself = drawsRowsItself(option);
    WordGlyphs& glyphs = glyphsFor(option.font);
    const int textMargin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
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
        if (!itself || !drawRow(painter, option, index, textMargin, glyphs)) {
            itemDelegateForIndex(index)->paint(&painter, option, index);
        }
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

void ListBox::verticalScrollbarValueChanged(int value) {
    // The view looks where the pointer is, to show the item now under it as
    // hovered; asking the display where the pointer is means waiting for its
    // answer, at every scroll a search makes. Only worth it when the pointer
    // is over the list.
    if (viewport()->underMouse()) {
        QAbstractItemView::verticalScrollbarValueChanged(value);
    }
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
