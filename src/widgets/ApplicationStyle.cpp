#include "ApplicationStyle.h"

#include <QStyleFactory>

namespace tavelin {

QStyle* newApplicationStyle() {
    return QStyleFactory::create(QApplication::style()->name());
}

bool isFusion(const QStyle& style) {
    return style.name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) == 0;
}

} // namespace tavelin
