#include "Messaggi.h"

#include "Messaggio.h"

namespace {

GestoreMessaggiFn& Gestore() {
    static GestoreMessaggiFn gestore;
    return gestore;
}

}  // namespace

void ImpostaGestoreMessaggi(GestoreMessaggiFn gestore) { Gestore() = std::move(gestore); }

QMessageBox::StandardButton MostraMessaggio(QWidget* finestra, const QString& testo,
                                            QMessageBox::StandardButtons pulsanti, QMessageBox::Icon icona) {
    if (Gestore()) return Gestore()(finestra, TitoloApplicazione, testo, pulsanti);
    QMessageBox scatola(icona, TitoloApplicazione, testo, pulsanti, finestra);
    scatola.setDefaultButton(pulsanti.testFlag(QMessageBox::No) ? QMessageBox::No : QMessageBox::Ok);
    return static_cast<QMessageBox::StandardButton>(scatola.exec());
}

bool Chiedi(QWidget* finestra, const QString& domanda) {
    return MostraMessaggio(finestra, domanda, QMessageBox::Yes | QMessageBox::No, QMessageBox::Question) ==
           QMessageBox::Yes;
}
