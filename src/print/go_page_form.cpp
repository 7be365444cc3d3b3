#include "print/go_page_form.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace vitrina {

TGoPageForm::TGoPageForm(int current, int count, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromUtf8("Переход на страницу"));
    setObjectName("GoPageForm");
    auto* layout = new QVBoxLayout(this);
    PageNum = new QSpinBox(this);
    PageNum->setObjectName("PageNum");
    PageNum->setRange(1, std::max(1, count));
    PageNum->setValue(current);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText("OK");
    buttons->button(QDialogButtonBox::Cancel)->setText(QString::fromUtf8("Отмена"));
    layout->addWidget(PageNum);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    PageNum->setFocus();
    QTimer::singleShot(0, PageNum, [spin = PageNum] { spin->selectAll(); });
}

}  // namespace vitrina
