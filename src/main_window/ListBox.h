#pragma once

#include "WordListModel.h"

#include <QListView>

#include <string>

namespace tavelin {

// A list of dictionary words. Its selection is one item or none; every change
// of the selection, by the user or by the program, emits click() at once.
class ListBox : public QListView {
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

signals:
    void click();
    void dblClick();

private:
    WordListModel* model_;
    int lastIndex_ = -1;
};

} // namespace tavelin
