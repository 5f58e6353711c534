// The main window: the dark bar with the navigation buttons, Print, Help and
// the links, and the workspace that shows one child window at a time.
#pragma once

#include "StampaFinestra.h"

#include <QMainWindow>

#include <functional>
#include <memory>

namespace Ui {
class mdi;
}

class QPushButton;

class mdi : public QMainWindow, public FinestraDaStampare {
    Q_OBJECT

public:
    explicit mdi(QWidget* genitore = nullptr);
    ~mdi() override;

    // The one main window of the program, while it exists.
    static mdi* Istanza();

    // Closes the open child windows; a closed athlete window leaves its
    // txtNome text in NomeAtletaCorrente.
    void ChiudiFinestre();

    // Shows a form as the child of the workspace, filling it; the child is
    // destroyed when it closes.
    QWidget* MostraFiglio(QWidget* figlio);
    // The form of the active child window, or none.
    QWidget* FiglioAttivo() const;

    // The windows open now, in a stable order: this window, its children,
    // then the floating windows of the program.
    QList<QWidget*> FinestreAperte() const;

    // Closes the open child and opens the athlete card, as the bar does, or
    // a sheet, as the athlete card's own buttons do; the bar highlights the sheet's button, as it does for
    // every window shown.
    void ApriSchedaAtleta();
    void ApriSchedaAssetto();
    void ApriSchedaCondizione();
    // Closes the open child and opens the fitting history, from the fit
    // sheet; the bar highlights the fit sheet's button.
    void ApriStorico();

    // Help on the active child's topic (Help button).
    void ApriGuida();
    // Help on the topic of the window in use (F1): the active floating window
    // of the program when it has a topic of its own, else the active child.
    void GuidaDellaFinestraAttiva();

    // The child windows the navigation buttons open; set by the program at
    // start, so that each window is built where it is defined.
    // A factory builds its window straight into the workspace it is given,
    // so that its style is worked out once.
    using CreaFinestra = std::function<QWidget*(QWidget* area)>;
    void ImpostaFinestre(CreaFinestra atleti, CreaFinestra assetto, CreaFinestra condizione, CreaFinestra info);
    void ImpostaStorico(CreaFinestra storico) { creaStorico_ = std::move(storico); }

    // Printing.
    QWidget* FinestraStampata() override { return this; }
    QWidget* FiglioStampato() const override { return FiglioAttivo(); }
    void StatoDiStampa(bool stampa) override;
    void FocusNascosto() override;
    QList<QWidget*> FinestreAccanto() const override;

protected:
    void closeEvent(QCloseEvent* evento) override;
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

private:
    void EvidenziaNavigazione(QPushButton* premuto);
    // Closes the open child and opens the one `crea` builds; the bar then
    // highlights `pulsante`, the button of the window shown (none for the
    // about window), or the one it highlighted before when the open child
    // stays.
    void ApriDaNavigazione(const CreaFinestra& crea, QPushButton* pulsante);
    // Ctrl+1, Ctrl+2, Ctrl+3: on the window of that kind already shown, the
    // caret goes to its name box and the athlete stays (a new one too);
    // otherwise the window opens as from the bar.
    void ApriDaTastiera(const CreaFinestra& crea, QPushButton* pulsante, const char* finestra);
    void MettiCursoreNelPrimoBox(QWidget* figlio);
    void ClickInfo();

    CreaFinestra creaAtleti_, creaAssetto_, creaCondizione_, creaInfo_, creaStorico_;
    // The bar's button of the window shown, none for the home and about
    // windows: what the bar highlights.
    QPushButton* mostrato_ = nullptr;
    std::unique_ptr<Ui::mdi> ui;
};
