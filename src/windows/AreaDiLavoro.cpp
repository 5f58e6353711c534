#include "AreaDiLavoro.h"

AreaDiLavoro::AreaDiLavoro(QWidget* genitore) : QStackedWidget(genitore) {
    // Window translation does not enter here: the children are windows of their own.
    setProperty("contieneFinestre", true);
    setAttribute(Qt::WA_StyledBackground);
}

void AreaDiLavoro::Aggiungi(QWidget* figlio) {
    figlio->setAttribute(Qt::WA_StyledBackground);  // the form's style sheet paints its background
    addWidget(figlio);
    setCurrentWidget(figlio);
    figlio->show();
}

void AreaDiLavoro::Rimuovi(QWidget* figlio) {
    removeWidget(figlio);
    figlio->hide();
    figlio->deleteLater();
}

QWidget* AreaDiLavoro::Attivo() const {
    // A child that closed itself (the user, its own buttons) is hidden but
    // still here until it is taken out.
    for (int i = count() - 1; i >= 0; --i)
        if (QWidget* f = widget(i); f->isVisibleTo(this)) return f;
    return nullptr;
}

QList<QWidget*> AreaDiLavoro::Figli() const {
    QList<QWidget*> aperti;
    for (int i = 0; i < count(); ++i) aperti.append(widget(i));
    return aperti;
}
