#include "ImmagineSvg.h"

#include "Globali.h"
#include "ImmaginiDisegnate.h"
#include "Risorse.h"

#include <QMouseEvent>
#include <QPainter>

ImmagineSvg::ImmagineSvg(QWidget* genitore) : QWidget(genitore) { InizializzaRisorse(); }

void ImmagineSvg::impostaSorgente(const QString& risorsa) {
    sorgente_ = risorsa;
    letto_ = false;
    update();
}

QSvgRenderer& ImmagineSvg::Disegno() const {
    if (!letto_) {
        disegno_.load(sorgente_);
        letto_ = true;
    }
    return disegno_;
}

QSize ImmagineSvg::sizeHint() const { return Disegno().isValid() ? Disegno().defaultSize() : QSize(32, 32); }

void ImmagineSvg::paintEvent(QPaintEvent*) {
    QPainter pittore(this);
    // The picture drawn ahead for this size, when there is one.
    if (devicePixelRatio() == 1.0) {
        if (const QImage* pronta = ImmagineDisegnata(sorgente_, size())) {
            pittore.drawImage(0, 0, *pronta);
            return;
        }
    }
    if (!Disegno().isValid()) return;
    pittore.setRenderHint(QPainter::Antialiasing);
    // Keep the drawing's proportions, centred in the control.
    QSizeF dimensione = Disegno().defaultSize();
    dimensione.scale(size(), Qt::KeepAspectRatio);
    QRectF area(QPointF(0, 0), dimensione);
    area.moveCenter(QRectF(rect()).center());
    Disegno().render(&pittore, area);
}

void ImmagineSvg::mouseReleaseEvent(QMouseEvent* evento) {
    if (evento->button() == Qt::LeftButton && rect().contains(evento->position().toPoint())) emit clicked();
    QWidget::mouseReleaseEvent(evento);
}
