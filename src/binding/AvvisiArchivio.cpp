#include "AvvisiArchivio.h"

#include "IdMessaggiArchivio.h"
#include "Messaggio.h"

#include <QDir>

namespace {

// Never empty: these texts make up questions that risk data.
QString M(msg::Id id) { return Messaggio(id); }

QString NomeFile(const QString& file) { return QDir::toNativeSeparators(file); }

QString NomeAtleta(const QString& atleta) {
    return atleta.isEmpty() ? M(msg::SenzaNome) : QStringLiteral("\"%1\"").arg(atleta);
}

}  // namespace

namespace {

// A fault of the fittings' or the tests' table, whose name and column (or
// index) the detail gives as "atleta_test.ftp": the table named as the coach
// knows it, then what is wrong. Empty for a fault of the athletes' table.
QString TabellaDeiRecord(const std::string& dettaglio, msg::Id cosa) {
    const auto punto = dettaglio.find('.');
    if (punto == std::string::npos) return {};
    const std::string_view tabella = std::string_view(dettaglio).substr(0, punto);
    const msg::Id frase = tabella == archivio::TabellaAssetti ? msg::TabellaAssettiEstranea
                          : tabella == archivio::TabellaTest  ? msg::TabellaTestEstranea
                                                              : msg::Id();
    if (frase.empty()) return {};
    return M(frase).arg(M(cosa).arg(QString::fromStdString(dettaglio.substr(punto + 1))));
}

}  // namespace

QString DescriviMotivo(const archivio::Errore& errore) {
    using archivio::Motivo;
    if (errore.motivo == Motivo::ColonnaMancante || errore.motivo == Motivo::TabellaEstranea ||
        errore.motivo == Motivo::IndiceEstraneo) {
        const msg::Id cosa = errore.motivo == Motivo::ColonnaMancante   ? msg::MancaColonna
                             : errore.motivo == Motivo::TabellaEstranea ? msg::ColonnaDiversa
                                                                        : msg::IndiceEstraneo;
        if (QString testo = TabellaDeiRecord(errore.dettaglio, cosa); !testo.isEmpty()) return testo;
    }
    switch (errore.motivo) {
    case Motivo::NonArchivio: return M(msg::NonArchivio);
    case Motivo::Danneggiato: return M(msg::FileDanneggiato);
    case Motivo::InUso: return M(msg::FileInUso);
    case Motivo::SolaLettura: return M(msg::SolaLettura);
    case Motivo::DiscoPieno: return M(msg::DiscoPieno);
    case Motivo::AccessoNegato: return M(msg::AccessoNegato);
    case Motivo::Inesistente: return M(msg::CartellaInesistente);
    case Motivo::FileMancante: return M(msg::FileInesistente);
    case Motivo::SenzaTabella: return M(msg::SenzaTabellaAtleti);
    case Motivo::ColonnaMancante: return M(msg::ColonnaAtletiMancante).arg(QString::fromStdString(errore.dettaglio));
    case Motivo::TabellaEstranea: {
        const std::string& perche = errore.dettaglio;
        return M(msg::TabellaAtletiEstranea)
            .arg(M(perche == "view"            ? msg::UnaVista
                   : perche == "without rowid" ? msg::SenzaRowid
                                               : msg::ColonneDiverse));
    }
    case Motivo::OggettoEstraneo: return M(msg::OggettoEstraneo).arg(QString::fromStdString(errore.dettaglio));
    case Motivo::IndiceEstraneo: return M(msg::OggettoEstraneo).arg(QString::fromStdString(errore.dettaglio));
    case Motivo::StessoArchivio: return M(msg::StessoArchivio);
    case Motivo::TroppoGrande:
        return M(msg::FileTroppoGrande).arg(QString::fromStdString(errore.dettaglio).toULongLong() >> 20);
    case Motivo::NonUnFile: return M(msg::NonUnFile);
    case Motivo::RigaMancante: return M(msg::AtletaScomparso);
    case Motivo::ErroreDisco: return M(msg::ErroreDisco);
    case Motivo::AssettoPiuRecente: return M(msg::AssettoPiuRecente);
    case Motivo::TestPiuRecente: return M(msg::TestPiuRecente);
    case Motivo::PassphraseRichiesta: return M(msg::PassphraseRichiesta);
    case Motivo::PassphraseErrata: return M(msg::PassphraseErrata);
    case Motivo::Nessuno:
    case Motivo::Altro: break;
    }
    return M(msg::ErroreImprevisto) + QStringLiteral(" (%1)").arg(QString::fromStdString(errore.dettaglio));
}

namespace {

// A message: what failed, the file, the reason, and what follows from it.
QString Avviso(const QString& cosa, const QString& file, const archivio::Errore& errore, const QString& seguito = {}) {
    QString testo = cosa + QLatin1Char('\n') + NomeFile(file) + QStringLiteral("\n\n") + M(msg::Motivo) +
                    QStringLiteral(": ") + DescriviMotivo(errore) + QLatin1Char('.');
    if (!seguito.isEmpty()) testo += QStringLiteral("\n\n") + seguito;
    return testo;
}

}  // namespace

QString TestoArchivioNonAperto(const QString& file, const archivio::Errore& errore) {
    return Avviso(M(msg::ArchivioNonAperto), file, errore, M(msg::FinestreVuote));
}

QString TestoModificheNonScritte(const QString& file, const QString& atleta, const archivio::Errore& errore) {
    return Avviso(M(msg::AtletaNonScritto).arg(NomeAtleta(atleta)), file, errore, M(msg::ModificheNellaFinestra));
}

QString TestoModifichePerse(const QString& file, const QString& atleta, const archivio::Errore& errore) {
    return Avviso(M(msg::AtletaNonScritto).arg(NomeAtleta(atleta)), file, errore, M(msg::ModifichePerse));
}

QString TestoChiudereComunque(const QString& file, const QString& atleta, const archivio::Errore& errore) {
    return Avviso(M(msg::AtletaNonScritto).arg(NomeAtleta(atleta)), file, errore, M(msg::ChiudereComunque));
}

QString TestoEliminazioneNonRiuscita(const QString& file, const QString& atleta, const archivio::Errore& errore) {
    return Avviso(M(msg::AtletaNonEliminato).arg(NomeAtleta(atleta)), file, errore);
}

QString TestoRigaNonLetta(const QString& file, const archivio::Errore& errore) {
    return Avviso(M(msg::AtletaNonLetto), file, errore);
}

QString TestoAssettoNonRegistrato(const QString& file, const QString& atleta, const archivio::Errore& errore) {
    return Avviso(M(msg::AssettoNonRegistrato).arg(NomeAtleta(atleta)), file, errore);
}

QString TestoAssettoNonEliminato(const QString& file, const QString& atleta, const archivio::Errore& errore) {
    return Avviso(M(msg::AssettoNonEliminato).arg(NomeAtleta(atleta)), file, errore);
}

QString TestoAssettiNonLetti(const QString& file, const QString& atleta, const archivio::Errore& errore) {
    return Avviso(M(msg::AssettiNonLetti).arg(NomeAtleta(atleta)), file, errore);
}

QString TestoTestNonLetti(const QString& file, const QString& atleta, const archivio::Errore& errore) {
    return Avviso(M(msg::TestNonLetti).arg(NomeAtleta(atleta)), file, errore);
}

QString TestoTestNonRegistrato(const QString& file, const QString& atleta, const archivio::Errore& errore) {
    return Avviso(M(msg::TestNonScritto).arg(NomeAtleta(atleta)), file, errore);
}
