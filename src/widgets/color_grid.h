#pragma once
// TColorGrid: the sixteen basic colours in a 4 x 4 grid. A click (or an arrow key) chooses a
// colour and reports it; the mark on the chosen cell can be switched off when the colour is set
// from elsewhere and need not be one of the sixteen.
#include <QWidget>

#include <functional>

#include "resources/dynamic_arrays.h"

namespace vitrina {

class TColorGrid : public QWidget {
public:
    explicit TColorGrid(QWidget* parent = nullptr);

    // The marked cell, -1 for none.
    int Selected() const { return selected_; }
    TColor ColorAt(int cell) const;
    // Marks the cell without reporting it.
    void SetSelected(int cell);
    void ClearMark() { SetSelected(-1); }
    // Marks and reports the cell, as a click does.
    void Choose(int cell);
    QRect CellRect(int cell) const;

    std::function<void(TColor)> OnChange;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int selected_ = -1;
};

}  // namespace vitrina
