// Looking up the text selected in another program.
#include "SelectedText.h"
#include "Tavelin.h"
#include "widgets/TabControl.h"

#include <QClipboard>
#include <QGuiApplication>

namespace tavelin {
namespace {

// The selection, or the clipboard when nothing (or only blanks) is selected.
QString selectionOrClipboard() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard->supportsSelection()) {
        QString selected = clipboard->text(QClipboard::Selection);
        if (!selected.trimmed().isEmpty()) {
            return selected;
        }
    }
    return clipboard->text(QClipboard::Clipboard);
}

} // namespace

void Tavelin::lookUpSelection() {
    const SelectedText selected = selectedText(selectionOrClipboard());
    int shown = tab1->currentPage() == 1 ? 1 : 0;
    bool armenian = false;
    switch (selected.script) {
    case SelectedText::Script::Latin:
        shown = 0;
        break;
    case SelectedText::Script::Cyrillic:
        shown = 1;
        break;
    case SelectedText::Script::Armenian:
        armenian = true;
        break;
    case SelectedText::Script::None:
        return; // nothing either dictionary could hold: the boxes stay as they are
    }
    tab1->setCurrentPage(shown);
    PageControls& on = page(shown);
    WordBox* box = armenian ? on.armenianSearch : on.sourceSearch;
    const ListBox* list = armenian ? on.armenianList : on.sourceList;
    // The text goes in as typed: the box's own change runs the look-up. A
    // character the page cannot store stays in the box and matches nothing.
    box->setText(selected.phrase);
    // A phrase that begins no word of the list gives way to its first word.
    if (list->listIndex() < 0 && selected.word != selected.phrase) {
        box->setText(selected.word);
    }
    box->setFocus(Qt::OtherFocusReason);
}

} // namespace tavelin
