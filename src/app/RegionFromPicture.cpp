#include "RegionFromPicture.h"

#include <vector>

namespace tavelin {

namespace {

constexpr QRgb kColourBits = 0x00ffffff;

// The runs of one row, as [left, right) column pairs.
struct Span {
    int left;
    int right;
    bool operator==(const Span&) const = default;
};

void scanRow(const QRgb* pixels, int width, QRgb key, std::vector<Span>& spans) {
    spans.clear();
    int start = -1; // the first column of the open run, or -1
    for (int x = 0; x < width; ++x) {
        const bool shape = (pixels[x] & kColourBits) != key;
        if (shape && start < 0) {
            start = x;
        } else if (!shape && start >= 0) {
            spans.push_back({start, x});
            start = -1;
        }
    }
    if (start >= 0) {
        spans.push_back({start, width});
    }
}

} // namespace

QRegion RegionFromPicture(const QImage& picture) {
    if (picture.isNull()) {
        return {};
    }
    // Plain (not premultiplied) ARGB gives every format's colours as stored.
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    const int width = image.width();
    const QRgb key = image.pixel(0, 0) & kColourBits;

    // Rows with the same runs as the row above are merged into one band of
    // taller rectangles, which keeps the list short and in the banded order
    // QRegion::setRects expects.
    std::vector<QRect> rects;
    std::vector<Span> band; // the runs of the last band
    std::vector<Span> row;
    std::size_t bandFirst = 0; // index in rects of the last band's first rectangle
    int bandBottom = -2;       // the last row of the last band
    for (int y = 0; y < image.height(); ++y) {
        scanRow(reinterpret_cast<const QRgb*>(image.constScanLine(y)), width, key, row);
        if (row.empty()) {
            continue;
        }
        if (bandBottom == y - 1 && row == band) {
            for (std::size_t i = bandFirst; i < rects.size(); ++i) {
                rects[i].setBottom(y);
            }
        } else {
            bandFirst = rects.size();
            for (const Span& span : row) {
                rects.emplace_back(QPoint(span.left, y), QPoint(span.right - 1, y));
            }
            band.swap(row);
        }
        bandBottom = y;
    }

    QRegion region;
    region.setRects(rects.data(), static_cast<int>(rects.size()));
    return region;
}

} // namespace tavelin
