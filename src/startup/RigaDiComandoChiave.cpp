#include "RigaDiComandoChiave.h"

#include "ArchivioPrecedente.h"
#include "AvvisiArchivio.h"
#include "ChiavePersonale.h"
#include "IdMessaggiRigaDiComando.h"
#include "Messaggio.h"
#include "Segreto.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <filesystem>

namespace {

std::filesystem::path Percorso(const QString& file) {
    return std::filesystem::path(QFile::encodeName(file).toStdString());
}
QString Nativo(const QString& file) { return QDir::toNativeSeparators(file); }

void Errore(const QString& testo) {
    std::fprintf(stderr, "%s\n", QString(testo).replace(QLatin1Char('\n'), QLatin1Char(' ')).toUtf8().constData());
}
void Detto(const QString& testo) { std::fprintf(stdout, "%s\n", testo.toUtf8().constData()); }

// Why a file of a passphrase was not read, as a phrase.
QString PercheNonLetto(sistema::RifiutoFileSegreto rifiuto, const sistema::ErroreFile& errore) {
    using sistema::RifiutoFileSegreto;
    switch (rifiuto) {
    case RifiutoFileSegreto::LeggibileDaAltri: return Messaggio(msg::FileFraseLeggibile);
    case RifiutoFileSegreto::NonUnFile: return Messaggio(msg::FileFraseNonRegolare);
    case RifiutoFileSegreto::TroppoLungo: return Messaggio(msg::FileFraseTroppoLungo).arg(sistema::Segreto::Capienza);
    case RifiutoFileSegreto::Vuoto: return Messaggio(msg::FileFraseVuoto);
    case RifiutoFileSegreto::Illeggibile:
    case RifiutoFileSegreto::Nessuno: break;
    }
    QString perche = Messaggio(msg::FileFraseIlleggibile);
    if (errore.numero) perche += QStringLiteral(" (%1)").arg(QString::fromLocal8Bit(std::strerror(errore.numero)));
    return perche;
}

// The passphrase in the file, or nothing (said why).
bool DalFile(const QString& file, sistema::Segreto& frase) {
    sistema::ErroreFile errore;
    const auto rifiuto = sistema::LeggiFileSegreto(Percorso(file), frase, errore);
    if (rifiuto == sistema::RifiutoFileSegreto::Nessuno) return true;
    Errore(Messaggio(msg::FileFraseNonLetto).arg(Nativo(file), PercheNonLetto(rifiuto, errore)));
    return false;
}

// Typed at the terminal after `invito`; false when there is no terminal or
// nothing was typed (`mancante` said then).
bool DalTerminale(const QString& invito, const QString& mancante, sistema::Segreto& frase) {
    const QByteArray testo = invito.toUtf8();
    const auto esito =
        sistema::LeggiDalTerminale(std::string_view(testo.constData(), std::size_t(testo.size())), frase);
    if (esito == sistema::EsitoTerminale::Letto && !frase.empty()) return true;
    if (esito == sistema::EsitoTerminale::TroppoLungo)
        Errore(Messaggio(msg::FileFraseTroppoLungo).arg(sistema::Segreto::Capienza));
    else
        Errore(mancante);
    return false;
}

// Unlocks the archive: with the file's passphrase once, or with the one
// typed, up to three times. False, said why, when it stays locked.
bool Sblocca(const QString& archivioFile, const QString& fileFrase) {
    const auto file = Percorso(archivioFile);
    const int tentativi = fileFrase.isEmpty() ? 3 : 1;
    for (int t = 0; t < tentativi; ++t) {
        sistema::Segreto frase;
        const bool letta = fileFrase.isEmpty()
                               ? DalTerminale(Messaggio(msg::PassphraseDellArchivio).arg(Nativo(archivioFile)),
                                              Messaggio(msg::PassphraseNonData).arg(Nativo(archivioFile)), frase)
                               : DalFile(fileFrase, frase);
        if (!letta) return false;
        const archivio::Esito e = archivio::Sblocca(file, frase);
        if (e) return true;
        if (e.errore().motivo != archivio::Motivo::PassphraseErrata || t + 1 == tentativi) {
            Errore(TestoArchivioNonApertoOPrecedente(archivioFile, e.errore()));
            return false;
        }
        QString perche = DescriviMotivo(e.errore());
        if (!perche.isEmpty()) perche[0] = perche[0].toUpper();
        Errore(perche + QLatin1Char('.'));
    }
    return false;
}

bool Esiste(const QString& archivioFile) {
    std::error_code ec;
    return std::filesystem::exists(Percorso(archivioFile), ec);
}

// --protect: the new passphrase from its file, or typed twice.
int Proteggi(const QString& archivioFile, const OpzioniPassphrase& opzioni) {
    const auto file = Percorso(archivioFile);
    if (!Esiste(archivioFile)) {
        Errore(Messaggio(msg::ArchivioInesistente).arg(Nativo(archivioFile)));
        return 1;
    }
    const bool protetto = archivio::HaPassphrase(file);
    if (protetto && !archivio::ChiaveRicordata(file) && !Sblocca(archivioFile, opzioni.file)) return 1;
    sistema::Segreto nuova;
    if (!opzioni.nuovoFile.isEmpty()) {
        if (!DalFile(opzioni.nuovoFile, nuova)) return 1;
    } else {
        const QString mancante = Messaggio(msg::NuovaPassphraseMancante);
        sistema::Segreto ancora;
        if (!DalTerminale(Messaggio(msg::NuovaPassphrase), mancante, nuova) ||
            !DalTerminale(Messaggio(msg::NuovaPassphraseAncora), mancante, ancora))
            return 1;
        if (!(nuova == ancora)) {
            Errore(Messaggio(msg::PassphraseDiverse));
            return 1;
        }
    }
    const archivio::Chiave attuale = archivio::ChiaveRicordata(file).value_or(archivio::Chiave());
    if (archivio::Esito e = archivio::CambiaPassphrase(file, attuale, &nuova); !e) {
        Errore(Messaggio(msg::PassphraseNonCambiata).arg(Nativo(archivioFile)) + QLatin1Char(' ') +
               DescriviMotivo(e.errore()) + QLatin1Char('.'));
        return 1;
    }
    Detto(Messaggio(protetto ? msg::PassphraseSostituita : msg::OraProtetto).arg(Nativo(archivioFile)));
    return 0;
}

// --unprotect: the passphrase in use from its file, or typed.
int Sproteggi(const QString& archivioFile, const OpzioniPassphrase& opzioni) {
    const auto file = Percorso(archivioFile);
    if (!Esiste(archivioFile)) {
        Errore(Messaggio(msg::ArchivioInesistente).arg(Nativo(archivioFile)));
        return 1;
    }
    if (!archivio::HaPassphrase(file)) {
        // Not one that opens with the fixed key either: said as any other
        // archive that does not open.
        archivio::Archivio a;
        if (archivio::Esito e = a.ApriInLettura(file); !e) {
            Errore(TestoArchivioNonApertoOPrecedente(archivioFile, e.errore()));
            return 1;
        }
        Errore(Messaggio(msg::NienteDaRimuovere).arg(Nativo(archivioFile)));
        return 1;
    }
    if (!Sblocca(archivioFile, opzioni.file)) return 1;
    const archivio::Chiave attuale = archivio::ChiaveRicordata(file).value_or(archivio::Chiave());
    if (archivio::Esito e = archivio::CambiaPassphrase(file, attuale, nullptr); !e) {
        Errore(Messaggio(msg::PassphraseNonCambiata).arg(Nativo(archivioFile)) + QLatin1Char(' ') +
               DescriviMotivo(e.errore()) + QLatin1Char('.'));
        return 1;
    }
    Detto(Messaggio(msg::PassphraseRimossa).arg(Nativo(archivioFile)));
    return 0;
}

}  // namespace

int EstraiOpzioniPassphrase(QStringList& argomenti, OpzioniPassphrase& opzioni) {
    for (qsizetype i = 1; i < argomenti.size();) {
        QString* dove = argomenti[i] == QLatin1String("--passphrase-file")       ? &opzioni.file
                        : argomenti[i] == QLatin1String("--new-passphrase-file") ? &opzioni.nuovoFile
                                                                                 : nullptr;
        if (!dove) {
            ++i;
            continue;
        }
        if (!dove->isEmpty() || i + 1 >= argomenti.size() || argomenti[i + 1].isEmpty()) return 2;
        *dove = argomenti[i + 1];
        argomenti.remove(i, 2);
    }
    return 0;
}

bool SbloccaPerComando(const QString& archivioFile, const OpzioniPassphrase& opzioni) {
    const auto file = Percorso(archivioFile);
    // A missing archive is the verb's to tell; one unlocked already, or
    // without a passphrase, opens as it is.
    if (!Esiste(archivioFile) || archivio::ChiaveRicordata(file) || !archivio::HaPassphrase(file)) return true;
    return Sblocca(archivioFile, opzioni.file);
}

std::optional<int> EseguiComandoPassphrase(const QStringList& argomenti, const QString& archivioFile,
                                           const OpzioniPassphrase& opzioni) {
    const QString comando = argomenti.value(0);
    if (comando == QLatin1String("--protect") && argomenti.size() == 1) return Proteggi(archivioFile, opzioni);
    if (comando == QLatin1String("--unprotect") && argomenti.size() == 1 && opzioni.nuovoFile.isEmpty())
        return Sproteggi(archivioFile, opzioni);
    // The new passphrase belongs to --protect alone.
    if (!opzioni.nuovoFile.isEmpty()) return 2;
    // Every other verb that opens the archive.
    static const QStringList verbi{QStringLiteral("--export-csv"),    QStringLiteral("--import-csv"),
                                   QStringLiteral("--import-access"), QStringLiteral("--backup"),
                                   QStringLiteral("--report"),        QStringLiteral("--fit"),
                                   QStringLiteral("--zones")};
    if (verbi.contains(comando) && !SbloccaPerComando(archivioFile, opzioni)) return 1;
    return std::nullopt;
}
