#include "EditingCommands.h"

#include "AddDialog.h"
#include "DeleteDialog.h"
#include "services/OnTop.h"

namespace tavelin {
namespace {

template <typename Dialog, typename Config>
void openDialog(PageControls& page, QWidget* parent, const Config& englishArmenian,
                const Config& russianArmenian) {
    Dialog dialog(page.index == 0 ? englishArmenian : russianArmenian, page, parent);
    MakeTopmost(&dialog);
    dialog.exec();
}

} // namespace

void openAddDialog(PageControls& page, QWidget* parent) {
    openDialog<AddDialog>(page, parent, frmAdd, frmAdd1);
}

void openDeleteDialog(PageControls& page, QWidget* parent) {
    openDialog<DeleteDialog>(page, parent, frmdelete, frmdelete1);
}

} // namespace tavelin
