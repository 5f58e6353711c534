#include "AvvisiArchivio.h"

#include "Messaggio.h"

#include <QDir>

namespace {

// Never empty: these texts make up questions that risk data.
QString M(const char* id) { return Messaggio(id); }

QString NomeFile(const QString& file) { return QDir::toNativeSeparators(file); }

QString NomeAtleta(const QString& atleta) {
    return atleta.isEmpty() ? M("0093") : QStringLiteral("\"%1\"").arg(atleta);
}

}  // namespace

namespace {

// A fault of the fittings' or the tests' table, whose name and column (or
// index) the detail gives as "atleta_test.ftp": the table named as the coach
// knows it, then what is wrong. Empty for a fault of the athletes' table.
QString TabellaDeiRecord(const std::string& dettaglio, const char* cosa) {
    const auto punto = dettaglio.find('.');
    if (punto == std::string::npos) return {};
    const std::string_view tabella = std::string_view(dettaglio).substr(0, punto);
    const char* frase = tabella == archivio::TabellaAssetti ? "0450"
                        : tabella == archivio::TabellaTest  ? "0451"
                                                            : nullptr;
    if (!frase) return {};
    return M(frase).arg(M(cosa).arg(QString::fromStdString(dettaglio.substr(punto + 1))));
}

}  // namespace

QString DescriviMotivo(const archivio::Errore& errore) {
    using archivio::Motivo;
    if (errore.motivo == Motivo::ColonnaMancante || errore.motivo == Motivo::TabellaEstranea ||
        errore.motivo == Motivo::IndiceEstraneo) {
        const char* cosa = errore.motivo == Motivo::ColonnaMancante   ? "0452"
                           : errore.motivo == Motivo::TabellaEstranea ? "0453"
                                                                      : "0454";
        if (QString testo = TabellaDeiRecord(errore.dettaglio, cosa); !testo.isEmpty()) return testo;
    }
    switch (errore.motivo) {
    case Motivo::NonArchivio: return M("0070");
    case Motivo::Danneggiato: return M("0071");
    case Motivo::InUso: return M("0072");
    case Motivo::SolaLettura: return M("0073");
    case Motivo::DiscoPieno: return M("0074");
    case Motivo::AccessoNegato: return M("0075");
    case Motivo::Inesistente: return M("0076");
    case Motivo::FileMancante: return M("0308");
    case Motivo::SenzaTabella: return M("0077");
    case Motivo::ColonnaMancante: return M("0078").arg(QString::fromStdString(errore.dettaglio));
    case Motivo::TabellaEstranea: {
        const std::string& perche = errore.dettaglio;
        return M("0294").arg(M(perche == "view" ? "0295" : perche == "without rowid" ? "0296" : "0297"));
    }
    case Motivo::OggettoEstraneo: return M("0298").arg(QString::fromStdString(errore.dettaglio));
    case Motivo::IndiceEstraneo: return M("0298").arg(QString::fromStdString(errore.dettaglio));
    case Motivo::StessoArchivio: return M("0299");
    case Motivo::TroppoGrande: return M("0300").arg(QString::fromStdString(errore.dettaglio).toULongLong() >> 20);
    case Motivo::NonUnFile: return M("0303");
    case Motivo::RigaMancante: return M("0079");
    case Motivo::ErroreDisco: return M("0080");
    case Motivo::AssettoPiuRecente: return M("0343");
    case Motivo::TestPiuRecente: return M("0409");
    case Motivo::PassphraseRichiesta: return M("0650");
    case Motivo::PassphraseErrata: return M("0651");
    case Motivo::Nessuno:
    case Motivo::Altro: break;
    }
    return M("0081") + QStringLiteral(" (%1)").arg(QString::fromStdString(errore.dettaglio));
}

namespace {

// A message: what failed, the file, the reason, and what follows from it.
QString Avviso(const QString& cosa, const QString& file, const archivio::Errore& errore, const QString& seguito = {}) {
    QString testo = cosa + QLatin1Char('\n') + NomeFile(file) + QStringLiteral("\n\n") + M("0088") +
                    QStringLiteral(": ") + DescriviMotivo(errore) + QLatin1Char('.');
    if (!seguito.isEmpty()) testo += QStringLiteral("\n\n") + seguito;
    return testo;
}

}  // namespace

QString TestoArchivioNonAperto(const QString& file, const archivio::Errore& errore) {
    return Avviso(M("0082"), file, errore, M("0089"));
}

QString TestoModificheNonScritte(const QString& file, const QString& atleta, const archivio::Errore& errore) {
    return Avviso(M("0083").arg(NomeAtleta(atleta)), file, errore, M("0090"));
}

QString TestoModifichePerse(const QString& file, const QString& atleta, const archivio::Errore& errore) {
    return Avviso(M("0083").arg(NomeAtleta(atleta)), file, errore, M("0091"));
}

QString TestoChiudereComunque(const QString& file, const QString& atleta, const archivio::Errore& errore) {
    return Avviso(M("0083").arg(NomeAtleta(atleta)), file, errore, M("0092"));
}

QString TestoEliminazioneNonRiuscita(const QString& file, const QString& atleta, const archivio::Errore& errore) {
    return Avviso(M("0086").arg(NomeAtleta(atleta)), file, errore);
}

QString TestoRigaNonLetta(const QString& file, const archivio::Errore& errore) {
    return Avviso(M("0087"), file, errore);
}

QString TestoAssettoNonRegistrato(const QString& file, const QString& atleta, const archivio::Errore& errore) {
    return Avviso(M("0375").arg(NomeAtleta(atleta)), file, errore);
}

QString TestoAssettoNonEliminato(const QString& file, const QString& atleta, const archivio::Errore& errore) {
    return Avviso(M("0376").arg(NomeAtleta(atleta)), file, errore);
}

QString TestoAssettiNonLetti(const QString& file, const QString& atleta, const archivio::Errore& errore) {
    return Avviso(M("0377").arg(NomeAtleta(atleta)), file, errore);
}

QString TestoTestNonLetti(const QString& file, const QString& atleta, const archivio::Errore& errore) {
    return Avviso(M("0410").arg(NomeAtleta(atleta)), file, errore);
}

QString TestoTestNonRegistrato(const QString& file, const QString& atleta, const archivio::Errore& errore) {
    return Avviso(M("0411").arg(NomeAtleta(atleta)), file, errore);
}
