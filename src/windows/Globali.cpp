#include "Globali.h"

#include "Calendario.h"
#include "modLanguageSupport.h"

QString TestoCredito;
QString NomeAutore;
QString IndirizzoSito;
QString IndirizzoDonazione;
QString IndirizzoPosta;

void ImpostaTestiIdentita() {
    TestoCredito = QStringLiteral("Copyright © ");
    NomeAutore = QStringLiteral(" Studio Tovarin");
    IndirizzoSito = QStringLiteral("https://www.example.org/tovarin");
    IndirizzoDonazione = QStringLiteral("https://www.example.org/tovarin/donazione");
    IndirizzoPosta = QStringLiteral("tovarin@example.org");
}

QString PercorsoGuida;

QString CartellaApplicazioneQt() { return QString::fromStdString(modLanguageSupport::CartellaApplicazione.string()); }

QString ParteAnniCredito() {
    QString anno = QString::number(Calendario::Servizi().oggi().anno).rightJustified(4, QLatin1Char('0'));
    if (anno < QLatin1String("2015")) anno = QStringLiteral("2015");
    return anno == QLatin1String("2015") ? anno : QStringLiteral("2015-") + anno;
}
