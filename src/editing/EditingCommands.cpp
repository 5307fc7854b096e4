#include "EditingCommands.h"

#include "AddDialog.h"
#include "DeleteDialog.h"
#include "services/OnTop.h"

namespace tavelin {
namespace {

template <typename Dialog, typename Config>
void openDialog(int page, const Config& englishArmenian, const Config& russianArmenian) {
    if (page != 0 && page != 1) {
        return;
    }
    Tavelin& window = Tavelin::instance();
    Dialog dialog(page == 0 ? englishArmenian : russianArmenian, window, &window);
    MakeTopmost(&dialog);
    dialog.exec();
}

} // namespace

void openAddDialog(int page) {
    openDialog<AddDialog>(page, frmAdd, frmAdd1);
}

void openDeleteDialog(int page) {
    openDialog<DeleteDialog>(page, frmdelete, frmdelete1);
}

} // namespace tavelin
