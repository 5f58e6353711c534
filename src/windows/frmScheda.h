// The fit sheet: one athlete's six body measures and saddle length, bound to
// the archive, and beside them the ten frame, saddle and handlebar measures,
// recomputed at every change of a measure; the athlete's own set-up values in
// the "set" column; the two pictures that open their enlarged windows.
#pragma once

#include "FinestraAtleta.h"

#include <QColor>
#include <QWidget>

#include <memory>

namespace Ui {
class frmScheda;
}

class frmScheda : public FinestraAtleta {
    Q_OBJECT

public:
    explicit frmScheda(QWidget* genitore = nullptr);
    ~frmScheda() override;

    // Recomputes every result from the seven measure boxes. Does nothing while
    // the window's tag is not empty. An empty saddle length becomes "27.5",
    // in grey until the next recomputation.
    void CalcolaMisure();

    // True while txtSella shows its text in grey: right after the default
    // saddle length has been filled in.
    bool SellaInGrigio() const;

    // "Registra assetto": the pending edit written, then today's fitting of
    // the athlete recorded through its dialog. False when nothing was recorded.
    bool RegistraAssetto();

protected:
    // Leaving an emptied saddle box fills in the default.
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

private:
    // The coach is typing in the saddle box: an emptied box stays empty
    // until it is left or the row is written.
    bool SellaInDigitazione() const;
    // The default saddle length, in grey, when the box gives none.
    void RiempiSellaSeManca();
    bool riempiSella_ = false;

    std::unique_ptr<Ui::frmScheda> ui;
};
