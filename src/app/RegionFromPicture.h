#pragma once

#include <QImage>
#include <QRegion>

namespace tavelin {

// The shape of a skin picture: every pixel whose colour differs from the
// top-left pixel's (the transparent key colour). Colours are compared as
// exact 24-bit RGB values; alpha is ignored. Returns an empty region when the
// whole picture is the key colour (or the picture is null).
QRegion RegionFromPicture(const QImage& picture);

} // namespace tavelin
