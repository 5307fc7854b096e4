#include "Fonts.h"

#include <QFont>
#include <QStringList>

namespace tavelin {

void installFontSubstitutes() {
    QFont::insertSubstitutions(QStringLiteral("Tavelin"), QStringList() << "DejaVu Sans"
                                                                        << "Noto Sans Armenian"
                                                                        << "FreeSans");
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), QStringList()
                                                                    << "DejaVu Sans Condensed"
                                                                    << "DejaVu Sans"
                                                                    << "Liberation Sans");
    QFont::insertSubstitutions(QStringLiteral("Times New Roman"), QStringList()
                                                                      << "DejaVu Serif"
                                                                      << "Liberation Serif");
}

} // namespace tavelin
