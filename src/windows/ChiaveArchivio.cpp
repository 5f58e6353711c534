#include "ChiaveArchivio.h"

#include "AtletaCorrente.h"
#include "AvvisiArchivio.h"
#include "BloccoInattivita.h"
#include "ChiavePersonale.h"
#include "ConnessioneCondivisa.h"
#include "IdMessaggiChiave.h"
#include "IdMessaggiDati.h"
#include "Messaggio.h"

#include <QDir>
#include <QPointer>

#include <QFile>
#include <memory>

namespace chiave {

std::filesystem::path Percorso(const QString& file) {
    return std::filesystem::path(QFile::encodeName(file).toStdString());
}

bool ArchivioProtetto(const QString& file) {
    if (const auto c = archivio::ChiaveRicordata(Percorso(file)); c && c->personale()) return true;
    return archivio::HaPassphrase(Percorso(file));
}

bool ChiaveInMemoria() {
    const QString file = PercorsoArchivio.isEmpty() ? PercorsoArchivioPredefinito() : PercorsoArchivio;
    const auto c = archivio::ChiaveRicordata(Percorso(file));
    return c && c->personale();
}

frmChiave::Prova Sblocca(const QString& file, const PassphraseDigitata& passphrase) {
    const archivio::Esito e = archivio::Sblocca(Percorso(file), passphrase.Segreto());
    if (e) return {frmChiave::Prova::Esito::Giusta, {}};
    if (e.errore().motivo == archivio::Motivo::PassphraseErrata)
        return {frmChiave::Prova::Esito::Errata, Messaggio(msg::PassphraseSbagliata)};
    return {frmChiave::Prova::Esito::Errore, TestoArchivioNonAperto(file, e.errore())};
}

void Blocca() {
    const QString file = PercorsoArchivio.isEmpty() ? PercorsoArchivioPredefinito() : PercorsoArchivio;
    archivio::ChiudiConnessioneCondivisa();
    archivio::DimenticaChiave(Percorso(file));
}

frmChiave::Prova CambiaPassphrase(const QString& file, const PassphraseDigitata* attuale,
                                  const PassphraseDigitata* nuova) {
    const auto percorso = Percorso(file);
    // The current passphrase typed is the one checked, whatever key the
    // program holds: whoever finds the program open cannot change it.
    archivio::Chiave chiave;
    if (attuale) {
        archivio::Errore errore;
        const auto sale = archivio::SaleDelFile(percorso, errore);
        if (!sale)
            return {frmChiave::Prova::Esito::Errore, Messaggio(msg::ArchivioNonCambiato) + QStringLiteral("\n\n") +
                                                         DescriviMotivo(errore) + QLatin1Char('.')};
        chiave = archivio::Chiave::Deriva(attuale->Segreto(), *sale);
    }
    const archivio::Esito e = archivio::CambiaPassphrase(percorso, chiave, nuova ? &nuova->Segreto() : nullptr);
    if (e) return {frmChiave::Prova::Esito::Giusta, {}};
    if (e.errore().motivo == archivio::Motivo::PassphraseErrata) return {frmChiave::Prova::Esito::Errata, {}};
    return {frmChiave::Prova::Esito::Errore, Messaggio(msg::ArchivioNonCambiato) + QStringLiteral("\n\n") +
                                                 DescriviMotivo(e.errore()) + QLatin1Char('.')};
}

}  // namespace chiave

bool ChiediPassphraseArchivio(QWidget* finestra, const QString& file) {
    if (!chiave::ArchivioProtetto(file)) return true;
    if (const auto c = archivio::ChiaveRicordata(chiave::Percorso(file)); c && c->personale()) return true;
    const bool aperto =
        ChiediPassphrase(finestra, Messaggio(msg::ArchivioConPassphrase).arg(QDir::toNativeSeparators(file)),
                         [&](const PassphraseDigitata& p) { return chiave::Sblocca(file, p); });
    if (aperto)
        if (BloccoInattivita* blocco = BloccoInattivita::Istanza()) blocco->Rileggi();
    return aperto;
}

archivio::ChiediPassphrase ChiediPassphraseCopia(QWidget* finestra) {
    auto data = std::make_shared<sistema::Segreto>();
    QPointer<QWidget> sopra(finestra);
    return [data, sopra](const std::filesystem::path& file, bool errata, sistema::Segreto& frase) {
        if (!errata && !data->empty()) {
            frase = *data;
            return true;
        }
        data->Svuota();
        frmChiave dialogo(
            Messaggio(msg::CopiaConPassphrase).arg(QDir::toNativeSeparators(QFile::decodeName(file.string().c_str()))),
            [&](const PassphraseDigitata& p) {
                *data = p.Segreto();
                return frmChiave::Prova{frmChiave::Prova::Esito::Giusta, {}};
            },
            sopra);
        if (errata) dialogo.MostraErrore(Messaggio(msg::PassphraseSbagliata));
        if (dialogo.exec() != QDialog::Accepted) return false;
        frase = *data;
        return true;
    };
}
