#include "AreaDiLavoro.h"

AreaDiLavoro::AreaDiLavoro(QWidget* genitore) : QWidget(genitore) {
    // Window translation does not enter here: the children are windows of their own.
    setProperty("contieneFinestre", true);
    setAttribute(Qt::WA_StyledBackground);
}

void AreaDiLavoro::Aggiungi(QWidget* figlio) {
    if (figlio->parentWidget() != this || figlio->isWindow()) figlio->setParent(this, Qt::Widget);
    figlio->setAttribute(Qt::WA_StyledBackground);   // the form's style sheet paints its background
    figlio->setGeometry(rect());
    figli_.append(figlio);
    figlio->show();
    figlio->raise();
}

void AreaDiLavoro::Rimuovi(QWidget* figlio) {
    figli_.removeAll(figlio);
    figlio->hide();
    figlio->deleteLater();
}

QWidget* AreaDiLavoro::Attivo() const {
    for (auto it = figli_.crbegin(); it != figli_.crend(); ++it)
        if (*it && (*it)->isVisibleTo(this)) return *it;
    return nullptr;
}

QList<QWidget*> AreaDiLavoro::Figli() const {
    QList<QWidget*> aperti;
    for (const auto& f : figli_)
        if (f) aperti.append(f);
    return aperti;
}

void AreaDiLavoro::resizeEvent(QResizeEvent* evento) {
    QWidget::resizeEvent(evento);
    for (const auto& f : figli_)
        if (f) f->setGeometry(rect());
}
