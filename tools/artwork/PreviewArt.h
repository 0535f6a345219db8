#pragma once

// The gallery's picture for the tiles of styles still to come. The eight styles' own pictures
// are photographs of their real sample pages, taken in the browser by
// tools/previews/render-previews.mjs.

#include <QImage>
#include <QSize>
#include <QStringList>

namespace art {

constexpr QSize kPreviewSize{300, 155};
constexpr int kStyleCount = 8;

QImage drawPreviewSoon();

// The client pictures that the browser tool makes: preview-1.png … preview-8.png.
QStringList browserPreviewNames();

}  // namespace art
