#include "FinestraUnica.h"

#include <QScreen>

#include <array>

namespace {

// The frame the system puts round a floating window, which it has not yet
// at its first placing: a title bar and thin borders.
const QMargins Cornice(1, 30, 1, 1);
constexpr int Distanza = 8;

}  // namespace

QPoint PosizioneAccanto(const QSize& dimensione, const QRect& zona, const QRect& schermo) {
    const int w = dimensione.width(), h = dimensione.height();
    const std::array<QPoint, 4> posti{
        QPoint(zona.left(), zona.bottom() + 1 + Distanza),  // below
        QPoint(zona.left(), zona.top() - Distanza - h),     // above
        QPoint(zona.right() + 1 + Distanza, zona.top()),    // to the right
        QPoint(zona.left() - Distanza - w, zona.top()),     // to the left
    };
    for (QPoint p : posti) {
        // Slid along its side to stay on the screen, never onto the area.
        QRect r(p, dimensione);
        if (r.right() > schermo.right()) r.moveRight(schermo.right());
        if (r.left() < schermo.left()) r.moveLeft(schermo.left());
        if (r.bottom() > schermo.bottom() && p.y() < zona.top()) r.moveBottom(schermo.bottom());
        if (r.top() < schermo.top() && p.y() > zona.top()) r.moveTop(schermo.top());
        if (schermo.contains(r) && !r.intersects(zona)) return r.topLeft();
    }
    return posti.front();
}

void PosizionaFinestraUnica(QWidget* finestra, QWidget* apritore, const QRect& zona) {
    if (zona.isValid()) {
        const QScreen* schermo = apritore ? apritore->screen() : finestra->screen();
        const QRect libero = schermo ? schermo->availableGeometry() : QRect(zona.topLeft(), QSize(4000, 4000));
        const QPoint angolo = PosizioneAccanto(finestra->size().grownBy(Cornice), zona, libero);
        finestra->move(angolo);  // a window's position is that of its frame
    } else if (apritore) {
        const QWidget* riferimento = apritore->window();
        finestra->move(riferimento->mapToGlobal(riferimento->rect().center()) - finestra->rect().center());
    }
}
