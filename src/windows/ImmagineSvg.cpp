#include "ImmagineSvg.h"

#include "Globali.h"

#include <QMouseEvent>
#include <QPainter>

ImmagineSvg::ImmagineSvg(QWidget* genitore) : QWidget(genitore) { InizializzaRisorse(); }

void ImmagineSvg::impostaSorgente(const QString& risorsa) {
    sorgente_ = risorsa;
    disegno_.load(risorsa);
    update();
}

QSize ImmagineSvg::sizeHint() const {
    return disegno_.isValid() ? disegno_.defaultSize() : QSize(32, 32);
}

void ImmagineSvg::paintEvent(QPaintEvent*) {
    if (!disegno_.isValid()) return;
    QPainter pittore(this);
    pittore.setRenderHint(QPainter::Antialiasing);
    // Keep the drawing's proportions, centred in the control.
    QSizeF dimensione = disegno_.defaultSize();
    dimensione.scale(size(), Qt::KeepAspectRatio);
    QRectF area(QPointF(0, 0), dimensione);
    area.moveCenter(rect().center());
    disegno_.render(&pittore, area);
}

void ImmagineSvg::mouseReleaseEvent(QMouseEvent* evento) {
    if (evento->button() == Qt::LeftButton && rect().contains(evento->position().toPoint())) emit clicked();
    QWidget::mouseReleaseEvent(evento);
}
