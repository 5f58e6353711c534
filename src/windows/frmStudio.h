// The studio's details: its name, its address and its logo, which head the
// athlete's report and show on the About window. Reached from the athlete
// card's data menu and from the About window; saved whole when the coach
// presses Save, nothing changed on Cancel.
#pragma once

#include "DatiStudio.h"

#include <QDialog>

#include <memory>

namespace Ui {
class frmStudio;
}

class frmStudio : public QDialog {
    Q_OBJECT

public:
    explicit frmStudio(QWidget* genitore = nullptr);
    ~frmStudio() override;

    // What the boxes hold now.
    DatiStudio Dati() const;

    // The buttons: a picture file asked for and checked; the logo taken
    // away; the details saved (the dialog stays open, saying why, when they
    // cannot be).
    void ScegliLogo();
    void TogliLogo();
    void Salva();

private:
    void MostraLogo();

    std::unique_ptr<Ui::frmStudio> ui;
    QImage logo_;
};

// Opens the dialog over the window; true when the details were saved.
bool ApriDatiStudio(QWidget* finestra);
