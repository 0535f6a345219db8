#pragma once

// The gallery's preview pictures: one for each of the eight page styles and one shared by the
// tiles of styles still to come. Each suggests at a glance what its style's page looks like.

#include <QImage>
#include <QSize>

namespace art {

constexpr QSize kPreviewSize{300, 155};
constexpr int kStyleCount = 8;

// `style` is 1 to 8.
QImage drawPreview(int style);
QImage drawPreviewSoon();

}  // namespace art
