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

QPoint PosizioneFuoriFinestra(const QSize& dimensione, const QRect& finestra, const QRect& zona, const QRect& schermo) {
    const int w = dimensione.width(), h = dimensione.height();
    const std::array<QPoint, 4> fuori{
        QPoint(finestra.right() + 1 + Distanza, zona.top()),    // to the right
        QPoint(finestra.left() - Distanza - w, zona.top()),     // to the left
        QPoint(zona.left(), finestra.bottom() + 1 + Distanza),  // below
        QPoint(zona.left(), finestra.top() - Distanza - h),     // above
    };
    for (QPoint p : fuori) {
        QRect r(p, dimensione);
        // Slid along its side to stay on the screen, never onto the window.
        if (r.bottom() > schermo.bottom()) r.moveBottom(schermo.bottom());
        if (r.top() < schermo.top()) r.moveTop(schermo.top());
        if (r.right() > schermo.right()) r.moveRight(schermo.right());
        if (r.left() < schermo.left()) r.moveLeft(schermo.left());
        if (schermo.contains(r) && !r.intersects(finestra)) return r.topLeft();
    }
    // No room beside the window: at the screen's edge on the side with more
    // room, just above the area or just below it.
    const bool destra = schermo.right() - finestra.right() >= finestra.left() - schermo.left();
    const int x = destra ? schermo.right() - w + 1 : schermo.left();
    for (int y : {zona.top() - Distanza - h, zona.bottom() + 1 + Distanza}) {
        QRect r(QPoint(x, y), dimensione);
        if (r.top() < schermo.top()) r.moveTop(schermo.top());
        if (r.bottom() > schermo.bottom()) r.moveBottom(schermo.bottom());
        if (!r.intersects(zona)) return r.topLeft();
    }
    return PosizioneAccanto(dimensione, zona, schermo);
}

void PosizionaFinestraUnica(QWidget* finestra, QWidget* apritore, const QRect& zona) {
    if (zona.isValid()) {
        const QScreen* schermo = apritore ? apritore->screen() : finestra->screen();
        const QRect libero = schermo ? schermo->availableGeometry() : QRect(zona.topLeft(), QSize(4000, 4000));
        const QWidget* principale = apritore ? apritore->window() : nullptr;
        const QRect fuori = principale ? principale->frameGeometry() : zona;
        const QPoint angolo = PosizioneFuoriFinestra(finestra->size().grownBy(Cornice), fuori, zona, libero);
        finestra->move(angolo);  // a window's position is that of its frame
    } else if (apritore) {
        const QWidget* riferimento = apritore->window();
        finestra->move(riferimento->mapToGlobal(riferimento->rect().center()) - finestra->rect().center());
    }
}
