#include "Globali.h"

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

QString CartellaApplicazioneQt() {
    return QString::fromStdString(modLanguageSupport::CartellaApplicazione.string());
}

#include "Calendario.h"
#include "LinguaQt.h"
#include "TraduciForm.h"
#include "mdi.h"

QString ParteAnniCredito() {
    QString anno = QString::number(Calendario::Servizi().oggi().anno).rightJustified(4, QLatin1Char('0'));
    if (anno < QLatin1String("2015")) anno = QStringLiteral("2015");
    return anno == QLatin1String("2015") ? anno : QStringLiteral("2015-") + anno;
}

void TraduciFinestreAperte(QWidget* ancheQuesta) {
    ApplicaLinguaQt();
    QList<QWidget*> finestre;
    if (mdi* principale = mdi::Istanza()) finestre = principale->FinestreAperte();
    if (ancheQuesta && !finestre.contains(ancheQuesta)) finestre.append(ancheQuesta);
    for (QWidget* finestra : finestre) TraduciForm(finestra);
}

// The pictures are compiled into this library; a static library's resources
// must be registered by hand.
static void RegistraImmagini() { Q_INIT_RESOURCE(immagini); }

void InizializzaRisorse() {
    static const bool fatto = (RegistraImmagini(), true);
    (void)fatto;
}

#include "ImmaginiDisegnate.h"

#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

#include <vector>

QIcon IconaSvg(const QString& risorsa, std::initializer_list<int> lati) {
    InizializzaRisorse();
    QIcon icona;
    std::vector<int> daDisegnare;
    for (int lato : lati) {
        if (const QImage* pronta = ImmagineDisegnata(risorsa, QSize(lato, lato)))
            icona.addPixmap(QPixmap::fromImage(*pronta));
        else
            daDisegnare.push_back(lato);
    }
    if (daDisegnare.empty()) return icona;
    QSvgRenderer disegno(risorsa);
    if (!disegno.isValid()) return icona;
    for (int lato : daDisegnare) {
        QSizeF dimensione = disegno.defaultSize();
        dimensione.scale(lato, lato, Qt::KeepAspectRatio);
        QPixmap immagine(lato, lato);
        immagine.fill(Qt::transparent);
        QPainter pittore(&immagine);
        pittore.setRenderHint(QPainter::Antialiasing);
        disegno.render(&pittore, QRectF(QPointF((lato - dimensione.width()) / 2, (lato - dimensione.height()) / 2), dimensione));
        icona.addPixmap(immagine);
    }
    return icona;
}
