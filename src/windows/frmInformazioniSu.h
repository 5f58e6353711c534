// The about window: program, version, credit line and the three links.
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

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

private:
    std::unique_ptr<Ui::frmInformazioniSu> ui;
};
