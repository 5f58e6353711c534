#include "Collegamenti.h"

#include "Globali.h"

#include <QDesktopServices>
#include <QUrl>

namespace {

void ApriConIlDesktop(const QString& destinazione) {
    if (DestinazioneApribile(destinazione)) QDesktopServices::openUrl(QUrl(destinazione));
}

GestoreCollegamentiFn& GestoreCollegamenti() {
    static GestoreCollegamentiFn gestore = ApriConIlDesktop;
    return gestore;
}

GestoreGuidaFn& GestoreGuida() {
    static GestoreGuidaFn gestore;   // the program installs its viewer at start
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

void ApriDocumento(QWidget* /*finestra*/, const QString& destinazione) {
    // The answer is not examined: a target nothing can open changes nothing.
    if (GestoreCollegamenti()) GestoreCollegamenti()(destinazione);
}

QString TestoCollegamentoPosta(const QString& oggetto, int maggiore, int minore, int revisione) {
    return QStringLiteral("mailto:") + IndirizzoPosta + oggetto + QString::number(maggiore) + QLatin1Char('.') +
           QString::number(minore) + QLatin1Char('.') + QString::number(revisione);
}

void ScriviAutore(QWidget* finestra, const QString& oggetto) {
    ApriDocumento(finestra, TestoCollegamentoPosta(oggetto, VersioneMaggiore, VersioneMinore, VersioneRevisione));
}

QString ArgomentoGuida(int contestoGuida) {
    switch (contestoGuida) {
        case 1810: return QStringLiteral("scheda_atleta.html");
        case 620: return QStringLiteral("Scheda_assetto.html");
        case 720: return QStringLiteral("Scheda_fitness.html");
        default: return QStringLiteral("Descrizione.html");
    }
}

void ImpostaGestoreGuida(GestoreGuidaFn gestore) { GestoreGuida() = std::move(gestore); }
void ImpostaGestoreCollegamenti(GestoreCollegamentiFn gestore) { GestoreCollegamenti() = std::move(gestore); }

void MostraArgomentoGuida(QWidget* proprietario, const QString& fileChm, const QString& argomento) {
    if (GestoreGuida()) GestoreGuida()(proprietario, fileChm, argomento);
}
