#pragma once

#include <QApplication>
#include <QPointer>
#include <QStyle>

namespace tavelin {

// A new style of the application style's kind, for a proxy style to own.
QStyle* newApplicationStyle();

// Whether the style is Fusion: the style whose drawing the widgets' own
// shortcuts are known to match.
bool isFusion(const QStyle& style);

// The one style of this kind for all the widgets that use it; it lives as
// long as the application.
template <class Style> Style* sharedStyle() {
    static QPointer<Style> style;
    if (style.isNull()) {
        style = new Style;
        style->setParent(qApp);
    }
    return style;
}

} // namespace tavelin
