#include "Collegamenti.h"

#include "IdMessaggiProgramma.h"
#include "Messaggi.h"
#include "Messaggio.h"

#include "Globali.h"
#include "modLanguageSupport.h"

#include <QDesktopServices>
#include <QUrl>

#include <utility>

namespace {

bool ApriConIlDesktop(const QString& destinazione) { return QDesktopServices::openUrl(QUrl(destinazione)); }

GestoreCollegamentiFn& GestoreCollegamenti() {
    static GestoreCollegamentiFn gestore = ApriConIlDesktop;
    return gestore;
}

GestoreGuidaFn& GestoreGuida() {
    static GestoreGuidaFn gestore;  // the program installs its viewer at start
    return gestore;
}

}  // namespace

bool DestinazioneApribile(const QString& destinazione) {
    const QUrl url(destinazione);
    const QString schema = url.scheme().toLower();
    if (!url.isValid()) return false;
    if (schema == QLatin1String("mailto")) return !url.path().isEmpty();
    return (schema == QLatin1String("http") || schema == QLatin1String("https")) && !url.host().isEmpty();
}

void ApriDocumento(QWidget* finestra, const QString& destinazione) {
    if (!DestinazioneApribile(destinazione) || !GestoreCollegamenti()) return;
    if (!GestoreCollegamenti()(destinazione))
        MostraMessaggio(finestra, Messaggio(msg::IndirizzoDaCopiare).arg(destinazione), QMessageBox::Ok,
                        QMessageBox::Information);
}

QString TestoCollegamentoPosta(const QString& oggetto, int maggiore, int minore, int revisione) {
    return QStringLiteral("mailto:") + IndirizzoPosta + oggetto + QString::number(maggiore) + QLatin1Char('.') +
           QString::number(minore) + QLatin1Char('.') + QString::number(revisione);
}

void ScriviAutore(QWidget* finestra, const QString& oggetto) {
    ApriDocumento(finestra, TestoCollegamentoPosta(oggetto, VersioneMaggiore, VersioneMinore, VersioneRevisione));
}

namespace {

// Each page of the help and its English counterpart in the same file; the
// table of contents too.
constexpr std::pair<const char*, const char*> PagineInglesi[] = {
    {"Descrizione.html", "Overview.html"},
    {"scheda_atleta.html", "Athlete_card.html"},
    {"Scheda_assetto.html", "Fit_sheet.html"},
    {"Storico_assetti.html", "Fitting_history.html"},
    {"Scheda_fitness.html", "Condition_sheet.html"},
    {"Test_atleta.html", "Athlete_tests.html"},
    {"Archivio_precedente.html", "Earlier_archive.html"},
    {"Archivio_protetto.html", "Protected_archive.html"},
    {"Guida.hhc", "Guide.hhc"},
};

}  // namespace

bool GuidaInInglese() { return modLanguageSupport::LinguaCorrente == "english"; }

QString ArgomentoGuida(int contestoGuida) {
    QString argomento;
    switch (contestoGuida) {
    case 1810: argomento = QStringLiteral("scheda_atleta.html"); break;
    case 620: argomento = QStringLiteral("Scheda_assetto.html"); break;
    case 640: argomento = QStringLiteral("Storico_assetti.html"); break;
    case 720: argomento = QStringLiteral("Scheda_fitness.html"); break;
    case 730: argomento = QStringLiteral("Test_atleta.html"); break;
    default: argomento = QStringLiteral("Descrizione.html"); break;
    }
    return GuidaInInglese() ? PaginaNellaLingua(QLatin1Char('/') + argomento, true).mid(1) : argomento;
}

QString PaginaNellaLingua(const QString& percorsoOggetto, bool inglese) {
    for (const auto& [italiana, inglese_] : PagineInglesi) {
        const QString da = QLatin1Char('/') + QLatin1String(inglese ? italiana : inglese_);
        if (percorsoOggetto.compare(da, Qt::CaseInsensitive) == 0)
            return QLatin1Char('/') + QLatin1String(inglese ? inglese_ : italiana);
    }
    return percorsoOggetto;
}

void ImpostaGestoreGuida(GestoreGuidaFn gestore) { GestoreGuida() = std::move(gestore); }
void ImpostaGestoreCollegamenti(GestoreCollegamentiFn gestore) { GestoreCollegamenti() = std::move(gestore); }

void MostraArgomentoGuida(QWidget* proprietario, const QString& fileChm, const QString& argomento) {
    if (GestoreGuida()) GestoreGuida()(proprietario, fileChm, argomento);
}
