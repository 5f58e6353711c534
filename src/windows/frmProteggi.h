// Protecting the archive with a passphrase of the coach's own, changing it or
// removing it, and the idle lock's time. The new passphrase is typed twice,
// its strength shown as it is typed; the current one is asked before a
// change or a removal; a forgotten passphrase cannot be recovered, and the
// dialog says so. Cancel changes nothing.
#pragma once

#include "Passphrase.h"
#include "frmChiave.h"

#include <QDialog>

#include <functional>
#include <memory>

namespace Ui {
class frmProteggi;
}

class frmProteggi : public QDialog {
    Q_OBJECT

public:
    // What is done on the archive: `attuale` none to set a passphrase,
    // `nuova` none to remove it. Errata: the current passphrase is not the
    // archive's; Errore: why nothing changed.
    using CambiaFn =
        std::function<frmChiave::Prova(const PassphraseDigitata* attuale, const PassphraseDigitata* nuova)>;
    // `protetto`: whether the archive has a passphrase now.
    frmProteggi(bool protetto, CambiaFn cambia, QWidget* genitore = nullptr);
    ~frmProteggi() override;

    enum class Fatto { Nulla, Protetto, Cambiato, Tolto };
    // What was done to the passphrase when the dialog closed (the idle
    // lock's time is saved in every case but Cancel).
    Fatto Risultato() const { return fatto_; }

    // Save: the idle lock's time kept, and the passphrase set or changed when
    // a new one is typed; the dialog stays open, the box at fault chosen,
    // while something is missing or refused.
    void Salva();
    // Remove the passphrase: the current one asked, then a question.
    void Togli();

protected:
    void showEvent(QShowEvent* evento) override;

private:
    // The height its wrapped texts need.
    void Adatta();
    void MostraForza();
    bool SalvaBlocco();
    void Correggi(QLineEdit* box, const QString& perche);

    bool protetto_;
    CambiaFn cambia_;
    Fatto fatto_ = Fatto::Nulla;
    std::unique_ptr<Ui::frmProteggi> ui;
};
