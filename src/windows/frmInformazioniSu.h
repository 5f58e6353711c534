// The about window: program, version, credit line and the three links.
#pragma once

#include "ui_frmInformazioniSu.h"

#include <QWidget>

class frmInformazioniSu : public QWidget {
    Q_OBJECT

public:
    explicit frmInformazioniSu(QWidget* genitore = nullptr);

    Ui::frmInformazioniSu ui;

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override;
};
