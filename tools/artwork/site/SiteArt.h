#pragma once

// The pictures the service serves under /biaobai/: what the page styles load and what their
// sample entries point at. One function per folder group, each in its own file under site/,
// so that the styles' pictures are drawn side by side without touching one another.
// A path ending in ".jpg" is written as JPEG (photos), anything else as PNG (line art).

#include "Catalogue.h"

#include <vector>

namespace art {

inline const QString kBiaobaiFolder = QStringLiteral("assets/site/biaobai");

std::vector<Picture> fg1Pictures();
std::vector<Picture> fg2Pictures();
std::vector<Picture> fg3Pictures();
std::vector<Picture> fg4Pictures();
std::vector<Picture> fg5Pictures();
std::vector<Picture> fg6Pictures();
std::vector<Picture> fg7Pictures();
std::vector<Picture> fg8Pictures();
// Pictures that go with the sample music and video (covers, posters).
std::vector<Picture> mediaPictures();

}  // namespace art
