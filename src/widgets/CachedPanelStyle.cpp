#include "CachedPanelStyle.h"

#include "ApplicationStyle.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QStyleOption>

namespace tavelin {

CachedPanelStyle::CachedPanelStyle()
    : QProxyStyle(newApplicationStyle()), caches_(isFusion(*baseStyle())) {}

void CachedPanelStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                     QPainter* painter, const QWidget* widget) const {
    const QRect area = option->rect;
    // Device pixels only: where the painter does nothing but move.
    if (element != PE_PanelLineEdit || !caches_ || area.isEmpty() || area.width() > 4096 ||
        area.height() > 512 || painter->deviceTransform().type() > QTransform::TxTranslate ||
        painter->device()->devicePixelRatio() != 1) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
    const QString key = QStringLiteral("tavelin-panel:%1x%2:%3:%4:%5:%6:%7")
                            .arg(area.width())
                            .arg(area.height())
                            .arg(static_cast<int>(option->state))
                            .arg(option->palette.cacheKey())
                            .arg(static_cast<int>(option->direction))
                            .arg(frame != nullptr ? frame->lineWidth : -1)
                            .arg(frame != nullptr ? static_cast<int>(frame->features) : -1);
    QPixmap panel;
    if (!QPixmapCache::find(key, &panel)) {
        QImage image(area.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter imagePainter(&image);
        imagePainter.translate(-area.topLeft());
        imagePainter.setRenderHints(painter->renderHints());
        QProxyStyle::drawPrimitive(element, option, &imagePainter, widget);
        imagePainter.end();
        panel = QPixmap::fromImage(image);
        QPixmapCache::insert(key, panel);
    }
    painter->drawPixmap(area.topLeft(), panel);
}

} // namespace tavelin
