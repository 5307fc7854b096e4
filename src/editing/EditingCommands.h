#pragma once

// The main window's Add and Delete commands: each opens the dialog of a page
// of the main window, fresh, topmost and modal over `parent`, and returns
// when it is closed.

class QWidget;

namespace tavelin {

struct PageControls;

void openAddDialog(PageControls& page, QWidget* parent);
void openDeleteDialog(PageControls& page, QWidget* parent);

} // namespace tavelin
