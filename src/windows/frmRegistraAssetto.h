// Recording a fitting: today's values of the fit sheet with its date (today,
// or an earlier visit typed in later, never a day to come), the bike, its
// discipline, the frame and cockpit when the fitter gives them, and notes.
// As the frame is typed the dialog tells where its cockpit puts the bars
// and which cockpit comes closest to the fit.
#pragma once

#include "Archivio.h"

#include <QDialog>

#include <memory>
#include <vector>

class QLineEdit;

namespace Ui {
class frmRegistraAssetto;
}

class frmRegistraAssetto : public QDialog {
    Q_OBJECT

public:
    // `oggi`: the fitting of today as the sheet shows it; `precedenti`: the
    // athlete's fittings, newest first. The discipline and the frame are
    // those of the latest fitting on the same bike, the discipline of the
    // latest fitting when there is none.
    frmRegistraAssetto(const archivio::Assetto& oggi, const std::vector<archivio::Assetto>& precedenti,
                       QWidget* genitore = nullptr);
    ~frmRegistraAssetto() override;

    // Today's fitting with what the fitter gave here.
    archivio::Assetto Assetto() const;

    // Record: the date and the frame checked first; the dialog stays open,
    // the box at fault chosen, on a value refused or not confirmed.
    void Conferma();

private:
    void MostraPosizione();
    // The box of a frame field.
    QLineEdit* Casella(archivio::CampoTelaio campo) const;

    archivio::Assetto oggi_;
    std::unique_ptr<Ui::frmRegistraAssetto> ui;
};
