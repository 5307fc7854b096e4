#pragma once

#include <QProxyStyle>

namespace tavelin {

// The application's style, drawing a text box's panel (its background and
// frame) once for each size, state and palette, and copying it from then on.
// A box whose text changes at every keystroke is drawn whole each time, and
// the style's rounded, antialiased frame costs more than the text inside.
// Only for the Fusion style, whose panel depends on nothing but the option
// it is drawn from; any other style draws it as always.
class CachedPanelStyle : public QProxyStyle {
public:
    CachedPanelStyle();

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;

private:
    bool caches_;
};

} // namespace tavelin
