// Floating windows that exist once: the enlarged pictures and the body mass
// index table. The first call creates the window, centred on the window that
// asked for it; later calls bring the same window to the front. The window
// floats over the main window and lives until the user closes it or the
// program ends.
#pragma once

#include "mdi.h"

#include <QPointer>
#include <QWidget>

template <typename T>
T* MostraFinestraUnica(QWidget* apritore) {
    static QPointer<T> istanza;
    if (!istanza) {
        istanza = new T(mdi::Istanza());
        istanza->setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
        istanza->setAttribute(Qt::WA_DeleteOnClose);
        istanza->setFixedSize(istanza->size());
        if (apritore) {
            const QWidget* riferimento = apritore->window();
            istanza->move(riferimento->mapToGlobal(riferimento->rect().center()) - istanza->rect().center());
        }
    }
    istanza->show();
    istanza->raise();
    istanza->activateWindow();
    return istanza;
}
