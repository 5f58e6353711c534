// The idle lock: after the time the coach chose (off by default; 5, 15 or 60
// minutes) without keyboard or mouse input, the pending edit is written, the
// windows close their athlete, the archive is locked (its connections closed,
// its key wiped from memory) and its passphrase is asked again; when it is
// right, the window that was open shows its athlete again. It runs only while
// the archive is open under a passphrase. Nothing typed is lost: while an
// edit cannot be written, a test is being typed, or a question or a dialog
// waits for the coach, the lock waits another round.
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

class mdi;

class BloccoInattivita : public QObject {
    Q_OBJECT

public:
    // Goes with the main window.
    explicit BloccoInattivita(mdi* principale);
    ~BloccoInattivita() override;

    // The lock of the program's run, while there is one.
    static BloccoInattivita* Istanza();

    // The time read again from the settings, and the countdown started anew
    // when the archive is open under a passphrase: called whenever the time
    // is chosen or the archive unlocked.
    void Rileggi();
    int Minuti() const { return minuti_; }
    // The countdown: running while a time is chosen and the archive is open
    // under a passphrase, started anew by every key and every move of the
    // mouse.
    const QTimer& Conteggio() const { return conteggio_; }

    // The time is up: locks, or waits another round (see above).
    void Scaduto();
    // Locks now; false when something the coach typed keeps it from locking.
    bool Blocca();
    // Asks the passphrase and, when it is right, opens again the window that
    // was open, on its athlete. False when the coach cancelled.
    bool Sblocca();

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

private:
    void Riavvia();

    QPointer<mdi> principale_;
    QTimer conteggio_;
    int minuti_ = 0;
    QString riaprire_;  // the window to open again once unlocked (its object name)
};
