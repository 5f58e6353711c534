// Floating windows that exist once: the enlarged pictures and the body mass
// index table. The first call creates the window, centred on the window that
// asked for it or, given an area of the screen it explains, beside the main
// window and never over that area; later calls bring the same window to the
// front.
// The window floats over the main window and lives until the user closes it,
// presses Escape in it or the program ends. A window designed without a
// caption shows none (the system would otherwise show the program's name).
#pragma once

#include "mdi.h"

#include <QKeySequence>
#include <QPointer>
#include <QRect>
#include <QShortcut>
#include <QWidget>
#include <QWindow>

// Where a window of the given size (frame included) goes beside an area,
// within the screen's free area: below it, else above, to its right, to its
// left; the first place where it fits whole.
QPoint PosizioneAccanto(const QSize& dimensione, const QRect& zona, const QRect& schermo);

// Where a window of the given size (frame included) goes that explains an
// area of the main window: beside the main window where the screen has room
// for it whole (right, left, below, above); else at the edge of the screen
// on the side with more room, level with the area, just above it or just
// below it, so that it covers as little of the main window as it can and
// never the area itself.
QPoint PosizioneFuoriFinestra(const QSize& dimensione, const QRect& finestra, const QRect& zona, const QRect& schermo);

// Places a new floating window: centred on the opener's window, or outside
// the main window and never over the area it explains.
void PosizionaFinestraUnica(QWidget* finestra, QWidget* apritore, const QRect& zona);

template <typename T>
T* MostraFinestraUnica(QWidget* apritore, const QRect& zonaDaNonCoprire = QRect()) {
    static QPointer<T> istanza;
    if (!istanza) {
        istanza = new T(mdi::Istanza());
        T* finestra = istanza;
        finestra->setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
        finestra->setAttribute(Qt::WA_DeleteOnClose);
        finestra->setFixedSize(finestra->size());
        new QShortcut(QKeySequence(Qt::Key_Escape), finestra, finestra, &QWidget::close);
        PosizionaFinestraUnica(finestra, apritore, zonaDaNonCoprire);
    }
    istanza->show();
    if (QWindow* w = istanza->windowHandle(); w && istanza->windowTitle().isEmpty()) w->setTitle(QStringLiteral(" "));
    istanza->raise();
    istanza->activateWindow();
    return istanza;
}
