// Asking for the archive's passphrase (or a backup's): the box masked, Caps
// Lock said, a wrong passphrase said and asked again in the same dialog.
// Nothing is opened or written until the passphrase given is right; Cancel
// leaves everything as it was.
#pragma once

#include "Passphrase.h"

#include <QDialog>

#include <functional>
#include <memory>

namespace Ui {
class frmChiave;
}

class frmChiave : public QDialog {
    Q_OBJECT

public:
    // What a passphrase tried did: it opened; it is not the one (asked
    // again); or something else went wrong (the dialog closes, saying why).
    struct Prova {
        enum class Esito { Giusta, Errata, Errore } esito;
        QString testo;  // why, for Errata and Errore
    };
    using ProvaFn = std::function<Prova(const PassphraseDigitata& passphrase)>;

    // `domanda`: what is asked for, in a sentence naming the file.
    frmChiave(const QString& domanda, ProvaFn prova, QWidget* genitore = nullptr);
    ~frmChiave() override;

    // Open: the passphrase typed is tried; right, the dialog closes; wrong,
    // it says so and the box is emptied for another try.
    void Conferma();
    // Says why the passphrase is asked again (the one given before did not
    // open the file).
    void MostraErrore(const QString& perche);

protected:
    void showEvent(QShowEvent* evento) override;

private:
    // The height its wrapped texts need.
    void Adatta();
    ProvaFn prova_;
    AvvisoMaiuscole* maiuscole_;
    std::unique_ptr<Ui::frmChiave> ui;
};

// The dialog over `finestra` until a passphrase opens or the coach cancels;
// true when one opened. An error other than a wrong passphrase is said and
// gives false.
bool ChiediPassphrase(QWidget* finestra, const QString& domanda, const frmChiave::ProvaFn& prova);
