#include "OnTop.h"

#include <QWidget>

namespace tavelin {

void MakeTopmost(QWidget* form) {
    if (form->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
        return;
    }
    // Changing a window's flags takes it off the screen; a visible window is
    // shown again where it was.
    const bool visible = form->isVisible();
    const QRect geometry = form->geometry();
    form->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    if (visible) {
        form->setGeometry(geometry);
        form->show();
    }
}

} // namespace tavelin
