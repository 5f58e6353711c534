// One program at a time on one archive. The first start holds a lock beside
// the archive and listens on a local socket; a second start finds the lock,
// asks the first to bring its window to the front, and ends, so the same
// archive is never opened twice. Also: an orderly end when the system asks
// the program to stop (log-out, shut-down), so that nothing typed is lost.
#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QSocketNotifier;
class QWidget;

class IstanzaUnica : public QObject {
    Q_OBJECT

public:
    // `cartellaDati`: the folder of the archive the program is about to use.
    explicit IstanzaUnica(const QString& cartellaDati, QObject* genitore = nullptr);
    ~IstanzaUnica() override;

    // True for the first program on this archive (or when no lock can be
    // taken at all: a folder where nothing can be written).
    bool Prima() const { return prima_; }

    // For a second program: asks the first to come to the front, waiting at
    // most `attesaMs` for it to answer. False when it did not answer.
    bool ChiediPrimoPiano(int attesaMs = 5000) const;

    // For the first program: what to do when a second one asks.
    void QuandoRichiesto(std::function<void()> azione) { azione_ = std::move(azione); }

    // The local socket's path (for tests).
    const QString& Presa() const { return presa_; }

private:
    void Ascolta();
    void Accetta();

    int blocco_ = -1;  // the lock file, flock()ed for the whole run
    QString presa_;
    bool prima_ = true;
    int ascolto_ = -1;
    std::unique_ptr<QSocketNotifier> notifica_;
    std::function<void()> azione_;
};

// Brings a window to the front: out of the task bar, raised and active.
void PortaInPrimoPiano(QWidget* finestra);

// On SIGTERM, SIGHUP or SIGINT the window is closed as the user would close it
// (its close writes what is pending) instead of the program being cut off.
void ChiudiSuRichiestaDelSistema(QWidget* finestra);
