#pragma once

// The main window's Add and Delete commands: each opens the dialog of the
// page in view (0 English-Armenian, 1 Russian-Armenian), fresh, topmost and
// modal, and returns when it is closed. Another page number opens nothing.

namespace tavelin {

void openAddDialog(int page);
void openDeleteDialog(int page);

} // namespace tavelin
