#pragma once
// TGoPageForm: asks for the page to go to.
#include <QDialog>

class QSpinBox;

namespace vitrina {

class TGoPageForm : public QDialog {
public:
    // The value starts at current (1-based), between 1 and count.
    TGoPageForm(int current, int count, QWidget* parent = nullptr);
    QSpinBox* PageNum = nullptr;
};

}  // namespace vitrina
