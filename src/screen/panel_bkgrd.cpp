#include "screen/panel_bkgrd.h"

namespace vitrina {

TPanelBkgrd::TPanelBkgrd(QWidget* parent) : QWidget(parent) {
    setGeometry(33, 90, 673, 421);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    splitter_ = new QWidget(this);
    splitter_->setAutoFillBackground(true);
    QPalette sp = splitter_->palette();
    sp.setColor(QPalette::Window, QColor(137, 154, 164));
    splitter_->setPalette(sp);
    splitter_->setGeometry(0, 0, 3, height());
    splitter_->setCursor(Qt::SplitHCursor);
    hide();
}

}  // namespace vitrina
