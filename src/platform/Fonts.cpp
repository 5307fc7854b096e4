#include "Fonts.h"

#include <QFont>
#include <QStringList>

namespace tavelin {

void installFontSubstitutes() {
    QFont::insertSubstitutions(QStringLiteral("Tavelin"),
                               {QStringLiteral("DejaVu Sans"), QStringLiteral("FreeSans")});
    // A narrow sans serif close to the window font's own width, so that
    // captions designed for it fit; DejaVu Sans for the letters it lacks.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(
        QStringLiteral("Times New Roman"),
        {QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")});
}

} // namespace tavelin
