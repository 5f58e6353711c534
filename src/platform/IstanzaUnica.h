// One program at a time on one archive. The first start holds a lock beside
// the archive, and one of its own in a folder only this user can enter,
// where it listens on a local socket; a second start of the same user finds
// that lock, asks the first (having checked who answers) to bring its window
// to the front, and ends; another user's program holding the archive's lock
// is said to be so. The same archive is never opened twice. Also: an orderly
// end when the system asks the program to stop (log-out, shut-down), so that
// nothing typed is lost.
// Its own sockets, not QLocalServer: that cannot tell who answers; the
// peer's user is checked here (SO_PEERCRED) before it is trusted. On Windows
// the same with a named mutex and a named pipe, both this user's alone, and
// the user behind the pipe's other end checked likewise.
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

    enum class Stato {
        Prima,        // the first program on this archive (or no lock could be taken at all)
        Seconda,      // this user's program has it open already
        AltroUtente,  // another user's program has it open (a shared folder)
    };
    Stato stato() const { return stato_; }
    bool Prima() const { return stato_ == Stato::Prima; }

    // For a second program: asks the first to come to the front, waiting at
    // most `attesaMs` for it to answer. False when it did not answer.
    bool ChiediPrimoPiano(int attesaMs = 5000) const;

    // For the first program: what to do when a second one asks.
    void QuandoRichiesto(std::function<void()> azione) { azione_ = std::move(azione); }

    // The local socket's path, in CartellaDiQuestoUtente (on Windows the
    // named pipe's name); empty without one.
    const QString& Presa() const { return presa_; }

    // Asks the program listening on the socket to come to the front: false
    // when nobody answers in time, or the one answering is another user's.
    static bool ChiediA(const QString& presa, int attesaMs);

private:
    void Ascolta();
    void Accetta();

#ifdef _WIN32
    struct Windows;  // the lock file, mutex and pipe held for the whole run
    std::unique_ptr<Windows> windows_;
#else
    int blocco_ = -1;        // the lock beside the archive, flock()ed for the whole run
    int bloccoUtente_ = -1;  // this user's lock for the archive, in the user's own folder
    int ascolto_ = -1;
    std::unique_ptr<QSocketNotifier> notifica_;
#endif
    QString presa_;
    Stato stato_ = Stato::Prima;
    std::function<void()> azione_;
};

// The folder for this user's lock and socket (on Windows, where both are
// named objects of the system, the user's local application data folder): XDG_RUNTIME_DIR when it is the
// user's own (a folder, theirs, closed to others), else "tovarin-<uid>" in
// the temporary folder, made owner-only, or found to be a folder of the
// user's own and closed to others. When another user owns that name, or it
// is a link, "tovarin-<uid>-2", "-3" ... : the first that is the user's own.
// Empty when no such folder can be had.
QString CartellaDiQuestoUtente();

// Brings a window to the front: out of the task bar, raised and active.
void PortaInPrimoPiano(QWidget* finestra);

// On SIGTERM, SIGHUP or SIGINT (on Windows: the session ending) the window is
// closed as the user would close it (its close writes what is pending)
// instead of the program being cut off.
void ChiudiSuRichiestaDelSistema(QWidget* finestra);
