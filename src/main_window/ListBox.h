#pragma once

#include "WordGlyphs.h"
#include "WordListModel.h"

#include <QAbstractItemView>

#include <memory>
#include <string>

namespace tavelin {

// A list of dictionary words. Its selection is one item or none; every change
// of the selection, by the user or by the program, emits click() at once.
//
// It looks and behaves as a list view of one column whose items are all as
// high as the first, but it finds where an item stands by arithmetic: a list
// of a million words is shown, scrolled and changed without laying out every
// item first.
class ListBox : public QAbstractItemView {
    Q_OBJECT
public:
    explicit ListBox(Side side, QWidget* parent = nullptr);

    WordListModel& words() { return *model_; }
    const WordListModel& words() const { return *model_; }

    int listCount() const { return model_->count(); }
    // The selected position, or -1.
    int listIndex() const;
    // Selects a position (and scrolls it into view); -1 clears the selection.
    void setListIndex(int index);
    // The selected word, or the empty text.
    std::string selectedWord() const;
    // Selects the first item equal to the word without regard to case; clears
    // the selection when there is none.
    void selectWord(std::string_view word);
    // Drops the selection and the current item as a refill of the list
    // would: without a click.
    void forgetSelection();

    // The height of every item, in pixels.
    int rowHeight() const;

    QRect visualRect(const QModelIndex& index) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint& point) const override;

signals:
    void click();
    void dblClick();

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex& index) const override;
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;
    void initViewItemOption(QStyleOptionViewItem* option) const override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    void paintEvent(QPaintEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

protected slots:
    void verticalScrollbarValueChanged(int value) override;

private:
    // The rows on the viewport's lines from `top` to `bottom` (its coordinates),
    // clipped to the list; first > last when there are none.
    std::pair<int, int> rowsBetween(int top, int bottom) const;
    // How many items fit wholly in the viewport (at least one).
    int rowsPerPage() const;
    void setHoverRow(int row);
    // Whether the rows may be drawn by drawRow: the item delegate and the
    // style are those whose rows drawRow draws alike.
    bool drawsRowsItself(const QStyleOptionViewItem& option) const;
    // Draws a row as the item delegate and the style would, pixel for pixel;
    // false, drawing nothing, for a row it leaves to them.
    bool drawRow(QPainter& painter, const QStyleOptionViewItem& option, const QModelIndex& index,
                 int textMargin, WordGlyphs& glyphs) const;
    // The quick layout of the rows' words in this font.
    WordGlyphs& glyphsFor(const QFont& font) const;

    WordListModel* model_;
    int lastIndex_ = -1;
    // The items' height, measured from the first item; 0 until measured.
    mutable int rowHeight_ = 0;
    int hoverRow_ = -1;
    mutable std::unique_ptr<WordGlyphs> glyphs_;
};

} // namespace tavelin
