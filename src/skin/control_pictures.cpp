#include "skin/control_pictures.h"

#include <QFile>
#include <QFontMetrics>
#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <memory>

#include "imaging/windows_color.h"
#include "platform/device_pixels.h"
#include "platform/qt_text.h"
#include "platform/regular_file.h"
#include "resources/description.h"
#include "resources/read_bin.h"

namespace vitrina {

namespace {

// One entry of the container as a device: the picture reader takes its bytes from the file as it
// decodes, where a copy of a screen-sized picture in memory first cost as much as the decoding.
class TEntryDevice : public QIODevice {
public:
    TEntryDevice(const std::filesystem::path& file, const RBin& entry)
        : file_(OpenRegularQFile(file)), base_(entry.offset), size_(entry.size) {}
    bool Open() { return file_ && open(QIODevice::ReadOnly | QIODevice::Unbuffered); }
    bool isSequential() const override { return false; }
    qint64 size() const override { return size_; }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        const qint64 count = std::min(maxSize, size_ - pos());
        if (count <= 0) return 0;
        if (file_->pos() != base_ + pos() && !file_->seek(base_ + pos())) return -1;
        return file_->read(data, count);
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    std::unique_ptr<QFile> file_;
    qint64 base_;
    qint64 size_;
};

}  // namespace

QImage LoadSkinPicture(const TReadBin& container, const std::string& name) {
    const RBin* entry = name.empty() ? nullptr : container.Entry(name);
    if (!entry) return {};
    TEntryDevice device(container.Path(), *entry);
    if (!device.Open()) return {};
    QImage image = QImageReader(&device).read();
    if (image.isNull()) return {};
    // In place: a copy of a screen-sized picture costs more than its decoding.
    image.convertTo(QImage::Format_RGB888);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    return image;
}

QFont SkinFont(const std::string& name, int size, TStyleSet style) {
    QFont f(QText(name));
    f.setPointSize(std::max(1, size));
    f.setBold(style & kStyleBold);
    f.setItalic(style & kStyleItalic);
    f.setUnderline(style & kStyleUnderline);
    f.setStrikeOut(style & kStyleStrikeout);
    return f;
}

void DrawCaption(QImage& picture, qreal devicePixelRatio, const std::string& caption, int tx, int ty, int bx, int by,
                 const std::string& font, int size, TStyleSet style, TColor color, int spacing) {
    picture = PictureAtDevicePixels(picture, devicePixelRatio);
    if (picture.isNull() || Trim(caption).empty()) return;
    QPainter p(&picture);
    const QFont stateFont = SkinFont(font, size, style);
    const QFontMetrics bold(SkinFont(font, size, style | kStyleBold), &picture);
    p.setPen(ToQColor(color));
    p.setFont(stateFont);
    int left = tx;
    const QString text = QText(caption);
    for (const QChar ch : text) {
        const int advance = bold.horizontalAdvance(ch);
        const QRect clip(QPoint(left, ty), QPoint(bx - 1, by - 1));
        if (clip.isValid()) {
            p.save();
            p.setClipRect(clip);
            p.drawText(clip, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip, QString(ch));
            p.restore();
        }
        left += advance + spacing;
    }
}

void TrackButtonHover(TBtnPic& pic, const RBtn& button, bool inside) {
    if (inside && !pic.hovered) {
        pic.effect->CrossFade(pic.up, pic.mv, QPoint(button.vx, button.vy));
        pic.hovered = true;
    } else if (!inside && pic.hovered) {
        pic.effect->CrossFade(pic.mv, pic.up, QPoint(button.vx, button.vy));
        pic.hovered = pic.pressed = false;
    }
}

}  // namespace vitrina
