#pragma once
// A QR code of a page address, for the phone's camera: error correction level M, a quiet zone
// of four modules, black modules on white, every module a square of whole pixels.

#include <QImage>
#include <QString>

namespace publish {

inline constexpr int kQuietZone = 4;

// The code of `text` with `pixelsPerModule` pixels a module; a null image when the text cannot
// be encoded.
QImage QrImage(const QString& text, int pixelsPerModule);
// The modules across, quiet zone included; 0 when the text cannot be encoded.
int QrModules(const QString& text);

}  // namespace publish
