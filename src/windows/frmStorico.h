// The fitting history: an athlete window (navigator, picker, current athlete
// as on the sheets) with the athlete's recorded fittings, newest first; the
// chosen fitting's values beside today's or another recorded fitting's
// ("Compare with"), with the change of each; today's fit coordinates against
// the athlete's own set-up; the chosen fitting's frame, where its cockpit
// puts the bars and the cockpit that comes closest.
#pragma once

#include "FinestraAtleta.h"

#include <memory>
#include <vector>

namespace Ui {
class frmStorico;
}

class frmStorico : public FinestraAtleta {
    Q_OBJECT

public:
    explicit frmStorico(QWidget* genitore = nullptr);
    ~frmStorico() override;

    // Reads the athlete's fittings anew and shows the newest.
    void AggiornaElenco();
    // The fittings shown, newest first.
    const std::vector<archivio::Assetto>& Assetti() const { return assetti_; }

    // Deletes the chosen fitting, after its question.
    void EliminaAssetto();

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

private:
    void PreparaTesti();
    void MostraAssetto();
    void MostraCoordinate(const archivio::Assetto& oggi);

    std::vector<archivio::Assetto> assetti_;
    bool elencoMostrato_ = false;
    QString titoloAssetti_, nessunAssetto_, intestazioneAssetto_;
    std::unique_ptr<Ui::frmStorico> ui;
};
