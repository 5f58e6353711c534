// The workspace of the main window: it shows one child window at a time,
// filling the whole area, without a frame of its own.
#pragma once

#include <QStackedWidget>

class AreaDiLavoro : public QStackedWidget {
    Q_OBJECT

public:
    explicit AreaDiLavoro(QWidget* genitore = nullptr);

    // Places the form in the workspace, filling it, and makes it the active child.
    void Aggiungi(QWidget* figlio);
    // Takes a closed form out of the workspace; it is destroyed soon after.
    void Rimuovi(QWidget* figlio);

    // The active child: the last one placed that is still open, or none.
    QWidget* Attivo() const;
    // The open children, oldest first.
    QList<QWidget*> Figli() const;
};
