// The body mass index reference table: the classes with their ranges for
// women and for men, translated when it opens.
#pragma once

#include <memory>

#include <QWidget>

namespace Ui {
class frmValoriIMC;
}

class frmValoriIMC : public QWidget {
    Q_OBJECT

public:
    explicit frmValoriIMC(QWidget* genitore = nullptr);
    ~frmValoriIMC() override;

private:
    std::unique_ptr<Ui::frmValoriIMC> ui;
};

// Opens the table (once) beside the body mass index values of the condition
// sheet, without covering them.
frmValoriIMC* MostraValoriIMC(QWidget* scheda);
