#include "client/publish/QrCode.h"

#include <QPainter>

#include <qrencode.h>

#include <memory>

namespace publish {
namespace {

struct QrDeleter {
    void operator()(QRcode* code) const { QRcode_free(code); }
};
using QrPointer = std::unique_ptr<QRcode, QrDeleter>;

QrPointer Encode(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    // Version 0: the smallest version that holds the text.
    return QrPointer(QRcode_encodeString8bit(bytes.constData(), 0, QR_ECLEVEL_M));
}

}  // namespace

int QrModules(const QString& text) {
    const QrPointer code = Encode(text);
    return code ? code->width + 2 * kQuietZone : 0;
}

QImage QrImage(const QString& text, int pixelsPerModule) {
    const QrPointer code = Encode(text);
    if (!code || pixelsPerModule < 1)
        return QImage();
    const int modules = code->width + 2 * kQuietZone;
    QImage image(modules * pixelsPerModule, modules * pixelsPerModule, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    for (int y = 0; y < code->width; ++y) {
        for (int x = 0; x < code->width; ++x) {
            // The lowest bit of each module's byte says dark or light.
            if (code->data[y * code->width + x] & 1) {
                painter.fillRect((x + kQuietZone) * pixelsPerModule,
                                 (y + kQuietZone) * pixelsPerModule, pixelsPerModule,
                                 pixelsPerModule, Qt::black);
            }
        }
    }
    return image;
}

}  // namespace publish
