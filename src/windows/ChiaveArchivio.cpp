#include "ChiaveArchivio.h"

#include "ConnessioneCondivisa.h"
#include "Messaggio.h"

#include <QDir>

namespace chiave {

bool ArchivioProtetto(const QString&) { return false; }

bool ChiaveInMemoria() { return false; }

frmChiave::Prova Sblocca(const QString&, const PassphraseDigitata&) {
    return {frmChiave::Prova::Esito::Errore, QString()};
}

void Blocca() { archivio::ChiudiConnessioneCondivisa(); }

frmChiave::Prova CambiaPassphrase(const QString&, const PassphraseDigitata*, const PassphraseDigitata*) {
    return {frmChiave::Prova::Esito::Errore, QString()};
}

}  // namespace chiave

bool ChiediPassphraseArchivio(QWidget* finestra, const QString& file) {
    if (chiave::ChiaveInMemoria() || !chiave::ArchivioProtetto(file)) return true;
    return ChiediPassphrase(finestra, Messaggio("0692").arg(QDir::toNativeSeparators(file)),
                            [&](const PassphraseDigitata& p) { return chiave::Sblocca(file, p); });
}
