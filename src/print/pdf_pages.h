#pragma once
// The pages of a PDF the engine printed, read back with Qt PDF: each drawn at the resolution it
// is painted at, and the text of each with the place of every line.
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QPdfDocument>
#include <QRectF>
#include <QString>

#include <vector>

namespace vitrina {

struct TTextLine {
    QString text;
    QRectF rect;  // in points from the page's top-left corner
};

class TPdfPages {
public:
    // False when the bytes are no readable PDF.
    bool Load(QByteArray pdf);
    int PageCount() const;
    QSizeF PagePointSize(int page) const;
    // The page at size pixels on white (the engine's pages are transparent where nothing is drawn).
    QImage Render(int page, QSize size);
    std::vector<TTextLine> TextLines(int page);

private:
    QByteArray bytes_;
    QBuffer buffer_;
    QPdfDocument document_;
};

}  // namespace vitrina
