#pragma once
// The panel that holds the document area: trees and HTML viewers are placed inside it.
#include <QWidget>

namespace vitrina {

class TPanelBkgrd : public QWidget {
public:
    explicit TPanelBkgrd(QWidget* parent);
    QWidget* Splitter() const { return splitter_; }

private:
    QWidget* splitter_;
};

}  // namespace vitrina
