// The athlete card: every column of one athlete, bound to its boxes, with
// the navigator and the picker; athletes are added (past the last one),
// edited and deleted here. The card computes nothing; its two buttons close
// it and open the fit sheet or the condition sheet on the athlete shown.
#pragma once

#include "FinestraAtleta.h"

#include <QWidget>

#include <memory>

namespace Ui {
class frmAtleti;
}

class frmAtleti : public FinestraAtleta {
    Q_OBJECT

public:
    explicit frmAtleti(QWidget* genitore = nullptr);
    ~frmAtleti() override;

    // The waste bin: asks, then deletes the athlete shown and shows the next.
    void EliminaAtleta();
    // The card's own buttons: close the card, open the sheet.
    void ApriSchedaAssetto();
    void ApriSchedaCondizione();

protected:
    void EliminaDaTastiera() override { EliminaAtleta(); }

private:
    std::unique_ptr<Ui::frmAtleti> ui;
};
