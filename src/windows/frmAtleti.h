// The athlete card: every column of one athlete, bound to its boxes, with
// the navigator and the picker; athletes are added (past the last one),
// edited and deleted here. The card computes nothing; its two buttons close
// it and open the fit sheet or the condition sheet on the athlete shown.
#pragma once

#include "ui_frmAtleti.h"

#include <QWidget>

#include <memory>

class LegameArchivio;

class frmAtleti : public QWidget {
    Q_OBJECT

public:
    explicit frmAtleti(QWidget* genitore = nullptr);
    ~frmAtleti() override;

    // The waste bin: asks, then deletes the athlete shown and shows the next.
    void EliminaAtleta();
    // The card's own buttons: close the card, open the sheet.
    void ApriSchedaAssetto();
    void ApriSchedaCondizione();

    LegameArchivio* Legame() const { return legame_.get(); }

    Ui::frmAtleti ui;

protected:
    void closeEvent(QCloseEvent* evento) override;

private:
    // After the form: it goes before the controls do.
    std::unique_ptr<LegameArchivio> legame_;
};
