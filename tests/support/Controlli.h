// Finding a window's controls by their object names, as the program's own
// names them: Controllo<QLineEdit>(finestra, "txtCavallo").
#pragma once

#include "AreaDiLavoro.h"
#include "ImmagineSvg.h"
#include "NavigatoreDati.h"

#include <QtWidgets>

#include <memory>

template <class T = QWidget>
T* Controllo(const QObject* finestra, const char* nome) {
    T* c = finestra ? finestra->findChild<T*>(QLatin1String(nome)) : nullptr;
    if (!c)
        qFatal("no control %s of the expected kind in %s", nome, finestra ? qPrintable(finestra->objectName()) : "-");
    return c;
}

template <class T = QWidget, class F>
T* Controllo(const std::unique_ptr<F>& finestra, const char* nome) {
    return Controllo<T>(finestra.get(), nome);
}

// The colours a control is drawn with now, as its style sheet gives them.
inline QColor ColoreTesto(QWidget* controllo) {
    controllo->ensurePolished();
    return controllo->palette().color(controllo->foregroundRole());
}
inline QColor ColoreSfondo(QWidget* controllo) {
    controllo->ensurePolished();
    return controllo->palette().color(controllo->backgroundRole());
}
