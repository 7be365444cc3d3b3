#include "dialogs/control_pictures.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

#include "imaging/windows_color.h"
#include "platform/qt_text.h"
#include "resources/description.h"
#include "resources/read_bin.h"

namespace vitrina {

QImage LoadSkinPicture(const TReadBin& container, const std::string& name) {
    std::string bytes;
    if (name.empty() || !container.ReadStream(name, bytes)) return {};
    QImage image = QImage::fromData(reinterpret_cast<const uchar*>(bytes.data()), int(bytes.size()));
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

void DrawCaption(QImage& picture, const std::string& caption, int tx, int ty, int bx, int by, const std::string& font,
                 int size, TStyleSet style, TColor color, int spacing) {
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
