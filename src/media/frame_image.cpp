#include "media/frame_image.h"

#include <QVideoFrame>
#include <QVideoFrameFormat>

#include <algorithm>

namespace vitrina {

namespace {

// Studio-range BT.601, the colours of the clips of such discs.
QRgb YuvToRgb(int y, int u, int v) {
    const int c = y - 16, d = u - 128, e = v - 128;
    const int r = (298 * c + 409 * e + 128) >> 8;
    const int g = (298 * c - 100 * d - 208 * e + 128) >> 8;
    const int b = (298 * c + 516 * d + 128) >> 8;
    return qRgb(std::clamp(r, 0, 255), std::clamp(g, 0, 255), std::clamp(b, 0, 255));
}

// Planar 4:2:0 (Y, then U and V at half size) or semi-planar (Y, then interleaved UV or VU).
QImage FromYuv420(const QVideoFrame& f, int uPlane, int vPlane, int step, int uOffset, int vOffset) {
    const int w = f.width(), h = f.height();
    QImage image(w, h, QImage::Format_RGB32);
    const uchar* yBits = f.bits(0);
    const uchar* uBits = f.bits(uPlane);
    const uchar* vBits = f.bits(vPlane);
    const int yLine = f.bytesPerLine(0), uLine = f.bytesPerLine(uPlane), vLine = f.bytesPerLine(vPlane);
    for (int y = 0; y < h; ++y) {
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        const uchar* yRow = yBits + y * yLine;
        const uchar* uRow = uBits + (y / 2) * uLine;
        const uchar* vRow = vBits + (y / 2) * vLine;
        for (int x = 0; x < w; ++x)
            out[x] = YuvToRgb(yRow[x], uRow[(x / 2) * step + uOffset], vRow[(x / 2) * step + vOffset]);
    }
    return image;
}

}  // namespace

QImage FrameImage(const QVideoFrame& frame) {
    QVideoFrame f(frame);
    if (!f.isValid() || !f.map(QVideoFrame::ReadOnly)) return {};
    QImage image;
    const auto pixels = f.pixelFormat();
    const QImage::Format rgb = QVideoFrameFormat::imageFormatFromPixelFormat(pixels);
    if (rgb != QImage::Format_Invalid) {
        image = QImage(f.bits(0), f.width(), f.height(), f.bytesPerLine(0), rgb).copy();
    } else if (pixels == QVideoFrameFormat::Format_YUV420P) {
        image = FromYuv420(f, 1, 2, 1, 0, 0);
    } else if (pixels == QVideoFrameFormat::Format_YV12) {
        image = FromYuv420(f, 2, 1, 1, 0, 0);
    } else if (pixels == QVideoFrameFormat::Format_NV12) {
        image = FromYuv420(f, 1, 1, 2, 0, 1);
    } else if (pixels == QVideoFrameFormat::Format_NV21) {
        image = FromYuv420(f, 1, 1, 2, 1, 0);
    }
    f.unmap();
    // Anything else goes the host's way.
    return image.isNull() ? frame.toImage() : image;
}

}  // namespace vitrina
