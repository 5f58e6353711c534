// The condition sheet: age, body build, basal metabolism and daily energy
// need, body mass index with class, ideal weight and normal range, maximum
// heart rate and the Cooper and Karvonen zones with the energy of a training
// of the chosen length, for the athlete shown. Every edit recomputes all of
// it at once.
#pragma once

#include "FinestraAtleta.h"
#include "Modulo1.h"

#include <QWidget>

#include <memory>

class QCloseEvent;
class QLineEdit;

namespace Ui {
class frmCondizione;
}

class frmCondizione : public FinestraAtleta {
    Q_OBJECT

public:
    explicit frmCondizione(QWidget* genitore = nullptr);
    ~frmCondizione() override;

    // Recomputes and fills every result label; does nothing while the
    // window's tag holds a text (the window is still loading).
    void AggiornaCondizione();
    // The condition values the sheet's boxes hold now, with the measured
    // maximum of the athlete's latest test.
    Modulo1::ValoriCondizione LeggiDatiCondizione();
    // Reads the athlete's latest test anew (its measured maximum heart rate
    // replaces the estimate) and recomputes.
    void AggiornaTestInUso();
    // The latest test's measured maximum; 0 for none.
    double FcMaxMisurata() const { return fcMisurata_; }

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

private:
    // Both boxes of one column (Text7 and txtCavallo, Text8 and txtBusto)
    // hold the same text: an edit of either one is copied to the other, and
    // the sheet recomputes once the two agree.
    void ColonnaDoppia(QLineEdit* box, QLineEdit* compagno);
    // Puts txtMin into the gap of its caption.
    void SistemaDurata();
    void RiempiAttivita();

    // Inseam and torso for the body build, from the hidden boxes.
    double cavallo_ = 0;
    double busto_ = 0;
    double fcMisurata_ = 0;

    std::unique_ptr<Ui::frmCondizione> ui;
};
