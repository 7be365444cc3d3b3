#include "print/pdf_pages.h"

#include <QPainter>
#include <QPdfSelection>

namespace vitrina {

bool TPdfPages::Load(QByteArray pdf) {
    document_.close();
    buffer_.close();
    bytes_ = std::move(pdf);
    buffer_.setBuffer(&bytes_);
    if (!buffer_.open(QIODevice::ReadOnly)) return false;
    document_.load(&buffer_);
    return document_.status() == QPdfDocument::Status::Ready;
}

int TPdfPages::PageCount() const { return document_.status() == QPdfDocument::Status::Ready ? document_.pageCount() : 0; }

QSizeF TPdfPages::PagePointSize(int page) const { return document_.pagePointSize(page); }

QImage TPdfPages::Render(int page, QSize size) {
    QImage white(size, QImage::Format_RGB32);
    white.fill(Qt::white);
    const QImage drawn = document_.render(page, size);
    QPainter p(&white);
    p.drawImage(0, 0, drawn);
    return white;
}

std::vector<TTextLine> TPdfPages::TextLines(int page) {
    std::vector<TTextLine> lines;
    const QString all = document_.getAllText(page).text();
    // Character indices of the page follow the text as the engine gives it, line breaks included.
    int start = 0;
    for (int i = 0; i <= all.size(); ++i) {
        if (i < all.size() && all[i] != u'\n' && all[i] != u'\r') continue;
        if (i > start) {
            const QPdfSelection line = document_.getSelectionAtIndex(page, start, i - start);
            const QString text = all.mid(start, i - start).trimmed();
            if (!text.isEmpty() && line.isValid()) lines.push_back({text, line.boundingRectangle()});
        }
        start = i + 1;
    }
    return lines;
}

}  // namespace vitrina
