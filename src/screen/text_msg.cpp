#include "screen/text_msg.h"

#include <QFontMetrics>
#include <QPainter>
#include <QWidget>

#include "platform/cp1251.h"
#include "platform/qt_text.h"
#include "resources/description.h"

namespace vitrina {

TTextMsg::TTextMsg(const TDynamicTextArray& areas, QWidget* window) : window_(window) {
    for (const RText& a : areas) {
        TArea t;
        t.font = QFont(QText(a.font));
        // Point sizes are those of a 96 dpi screen.
        t.font.setPixelSize(std::max(1, (a.size * 96 + 36) / 72));
        t.font.setItalic(Contains(a.style, "italic"));
        t.font.setBold(Contains(a.style, "bold"));
        t.font.setUnderline(Contains(a.style, "underline"));
        t.font.setStrikeOut(Contains(a.style, "strikeout"));
        t.color = ToQColor(a.color);
        t.rect = QRect(a.vx, a.vy, 0, 0);
        t.text = a.value;
        t.screen = a.screen;
        t.number = a.number;
        t.ident = a.ident;
        areas_.push_back(std::move(t));
    }
}

void TTextMsg::Paint(QPainter& painter, int currentScreen, bool dialogAreas) {
    for (TArea& a : areas_) {
        if (a.screen != currentScreen || (a.number == kDialogNumber) != dialogAreas) continue;
        painter.setFont(a.font);
        painter.setPen(a.color);
        const QString text = QText(a.text);
        const QFontMetrics m(a.font);
        a.rect.setWidth(m.horizontalAdvance(text));
        a.rect.setHeight(m.height());
        painter.save();
        painter.setClipRect(a.rect);
        painter.drawText(a.rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
        painter.restore();
    }
}

void TTextMsg::SetText(const std::string& text, int number, bool repaint) {
    for (TArea& a : areas_) {
        const bool chosen = number >= 0 ? a.number == number : SameText1251(a.ident, "statusline");
        if (!chosen) continue;
        if (a.text != text) {
            const QRect old = a.rect;
            a.text = text;
            if (repaint && a.number == kDialogNumber) {
                if (OnDialogText) OnDialogText();
            } else if (repaint && window_) {
                ++repaints_;
                // The old rectangle shows the background again, the new text is drawn over it.
                const QFontMetrics m(a.font);
                window_->update(old.united(QRect(old.topLeft(), QSize(m.horizontalAdvance(QText(text)), m.height()))));
            }
        }
        if (number >= 0) break;
    }
}

}  // namespace vitrina
