// The about window: program, version, credit line and the three links; the
// studio that uses the program, with the button to its details.
#pragma once

#include <memory>

#include <QWidget>

namespace Ui {
class frmInformazioniSu;
}

class frmInformazioniSu : public QWidget {
    Q_OBJECT

public:
    explicit frmInformazioniSu(QWidget* genitore = nullptr);
    ~frmInformazioniSu() override;

    // The studio's details, as last saved, under the links; the button that
    // changes them.
    void MostraStudio();

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

private:
    std::unique_ptr<Ui::frmInformazioniSu> ui;
};
