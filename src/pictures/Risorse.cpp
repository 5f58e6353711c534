#include "Risorse.h"

#include "ImmaginiDisegnate.h"

#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

#include <vector>

// The pictures are compiled into this library; a static library's resources
// must be registered by hand.
// (Q_INIT_RESOURCE declares its function in the enclosing namespace: the
// global one.)
static void RegistraImmagini() { Q_INIT_RESOURCE(immagini); }

void InizializzaRisorse() {
    static const bool fatto = (RegistraImmagini(), true);
    (void)fatto;
}

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
        disegno.render(&pittore,
                       QRectF(QPointF((lato - dimensione.width()) / 2, (lato - dimensione.height()) / 2), dimensione));
        icona.addPixmap(immagine);
    }
    return icona;
}
