// An SVG drawn as the program's pictures show it: centred in a box of the
// given size, keeping its proportions (those of its view box, when only a
// part of it is shown), on a transparent ground. Used by the
// picture controls, by the tool that draws the pictures ahead at build time,
// and by the tests that compare the two.
#pragma once

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

inline QImage DisegnoSvg(QSvgRenderer& disegno, QSize lati, qreal rapporto = 1.0) {
    QImage immagine(lati * rapporto, QImage::Format_ARGB32_Premultiplied);
    immagine.setDevicePixelRatio(rapporto);
    immagine.fill(Qt::transparent);
    if (!disegno.isValid()) return immagine;
    QPainter pittore(&immagine);
    pittore.setRenderHint(QPainter::Antialiasing);
    // The proportions of what is shown: the view box, a part of the SVG or
    // the whole of it.
    QSizeF dimensione = disegno.viewBoxF().isValid() ? disegno.viewBoxF().size() : QSizeF(disegno.defaultSize());
    dimensione.scale(lati, Qt::KeepAspectRatio);
    QRectF area(QPointF(0, 0), dimensione);
    area.moveCenter(QRectF(QPointF(0, 0), QSizeF(lati)).center());
    disegno.render(&pittore, area);
    return immagine;
}
