#include "IstanzaUnica.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QSocketNotifier>
#include <QWidget>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

namespace {

constexpr char Richiesta[] = "mostra\n";
constexpr char Risposta[] = "ok\n";

// A folder that is this user's alone: a real folder (not a link), owned by
// the user, that no one else may enter or write.
bool CartellaPropria(const QByteArray& percorso) {
    struct stat info {};
    return ::lstat(percorso.constData(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() &&
           (info.st_mode & 077) == 0;
}

// The name of an archive folder's lock and socket: one per archive folder.
QString Chiave(const QString& cartellaDati) {
    QString cartella = QFileInfo(cartellaDati).canonicalFilePath();
    if (cartella.isEmpty()) cartella = QDir::cleanPath(QDir(cartellaDati).absolutePath());
    return QString::fromLatin1(
        QCryptographicHash::hash(QFile::encodeName(cartella), QCryptographicHash::Sha256).toHex().left(16));
}

bool Indirizzo(const QString& percorso, sockaddr_un& indirizzo) {
    const QByteArray nome = QFile::encodeName(percorso);
    std::memset(&indirizzo, 0, sizeof indirizzo);
    indirizzo.sun_family = AF_UNIX;
    if (nome.size() >= static_cast<qsizetype>(sizeof indirizzo.sun_path)) return false;
    std::memcpy(indirizzo.sun_path, nome.constData(), static_cast<size_t>(nome.size()));
    return true;
}

// Waits at most `ms` for the socket to have something to read.
bool AttendiDati(int fd, int ms) {
    pollfd p{fd, POLLIN, 0};
    int rc;
    do rc = ::poll(&p, 1, ms);
    while (rc < 0 && errno == EINTR);
    return rc > 0;
}

bool Scrivi(int fd, const char* testo) {
    const size_t n = std::strlen(testo);
    return ::send(fd, testo, n, MSG_NOSIGNAL) == static_cast<ssize_t>(n);
}

bool Riceve(int fd, const char* atteso, int ms) {
    if (!AttendiDati(fd, ms)) return false;
    char buffer[16] = {};
    const ssize_t letti = ::recv(fd, buffer, sizeof buffer - 1, 0);
    return letti > 0 && std::strncmp(buffer, atteso, std::strlen(atteso)) == 0;
}

}  // namespace

namespace {

enum class Presa { Nostra, Altrui, Impossibile };

// The folder, made owner-only when missing: the user's own (closed to
// others again if it was open to them), another's (or a link), or none to
// be had there at all.
Presa PrendiCartella(const QByteArray& percorso) {
    if (::mkdir(percorso.constData(), 0700) != 0 && errno != EEXIST) return Presa::Impossibile;
    struct stat info {};
    if (::lstat(percorso.constData(), &info) != 0) return Presa::Impossibile;
    if (!S_ISDIR(info.st_mode) || info.st_uid != ::geteuid()) return Presa::Altrui;
    if ((info.st_mode & 077) != 0 && ::chmod(percorso.constData(), 0700) != 0) return Presa::Impossibile;
    return CartellaPropria(percorso) ? Presa::Nostra : Presa::Impossibile;
}

// How many names after the expected one are tried.
constexpr int NomiDiRiserva = 64;

}  // namespace

QString CartellaDiQuestoUtente() {
    const QString runtime = QFile::decodeName(qgetenv("XDG_RUNTIME_DIR"));
    if (QDir::isAbsolutePath(runtime) && CartellaPropria(QFile::encodeName(runtime))) return runtime;
    // A folder of the user's own that others could enter is closed to them;
    // one of anyone else, or a link, is never used. When another user has
    // taken the expected name first, the user's folder has the first of a
    // fixed series of names that is theirs: every start of theirs finds the
    // same one, so that the second start still reaches the first.
    const QString nostra = QDir::tempPath() + QStringLiteral("/tovarin-%1").arg(::geteuid());
    for (int n = 1; n <= 1 + NomiDiRiserva; ++n) {
        const QString nome = n == 1 ? nostra : nostra + QLatin1Char('-') + QString::number(n);
        switch (PrendiCartella(QFile::encodeName(nome))) {
        case Presa::Nostra: return nome;
        case Presa::Altrui: break;
        case Presa::Impossibile: return {};
        }
    }
    return {};
}

namespace {

// A lock taken, or -1 (with EWOULDBLOCK when another holds it).
int Blocca(const QByteArray& file, mode_t modo) {
    int fd = ::open(file.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, modo);
    // Another user's lock in a shared folder: read-only is enough to try it.
    if (fd < 0 && errno == EACCES) fd = ::open(file.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return fd;
    const int errore = errno;
    ::close(fd);
    errno = errore;
    return -1;
}

}  // namespace

IstanzaUnica::IstanzaUnica(const QString& cartellaDati, QObject* genitore) : QObject(genitore) {
    // The kernel releases a lock when the program ends, however it ends: a
    // lock left by a killed program cannot keep the coach out.
    const QString mia = CartellaDiQuestoUtente();
    if (!mia.isEmpty()) {
        const QString base = mia + QStringLiteral("/tovarin-") + Chiave(cartellaDati);
        presa_ = base + QStringLiteral(".sock");
        bloccoUtente_ = Blocca(QFile::encodeName(base + QStringLiteral(".lock")), 0600);
        if (bloccoUtente_ < 0 && errno == EWOULDBLOCK) {
            stato_ = Stato::Seconda;
            return;
        }
    }
    // Readable by all, so that another user's program on a shared folder can
    // find it held.
    blocco_ = Blocca(QFile::encodeName(cartellaDati + QStringLiteral("/tvp.lock")), 0644);
    if (blocco_ < 0 && errno == EWOULDBLOCK) {
        // This user's own lock was free: the holder is another user's.
        stato_ = bloccoUtente_ >= 0 ? Stato::AltroUtente : Stato::Seconda;
        if (bloccoUtente_ >= 0) ::close(bloccoUtente_);
        bloccoUtente_ = -1;
        return;
    }
    if (bloccoUtente_ >= 0) Ascolta();
}

IstanzaUnica::~IstanzaUnica() {
    if (ascolto_ >= 0) {
        notifica_.reset();
        ::close(ascolto_);
        ::unlink(QFile::encodeName(presa_).constData());
    }
    if (blocco_ >= 0) ::close(blocco_);
    if (bloccoUtente_ >= 0) ::close(bloccoUtente_);
}

void IstanzaUnica::Ascolta() {
    sockaddr_un indirizzo;
    if (!Indirizzo(presa_, indirizzo)) return;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return;
    // A socket left by a program of ours that ended abruptly: this lock
    // proves no program of ours still uses it.
    struct stat info;
    if (::lstat(indirizzo.sun_path, &info) == 0 && S_ISSOCK(info.st_mode) && info.st_uid == ::geteuid())
        ::unlink(indirizzo.sun_path);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&indirizzo), sizeof indirizzo) != 0 || ::listen(fd, 4) != 0) {
        ::close(fd);
        return;
    }
    ::chmod(indirizzo.sun_path, 0600);
    ascolto_ = fd;
    notifica_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    connect(notifica_.get(), &QSocketNotifier::activated, this, &IstanzaUnica::Accetta);
}

void IstanzaUnica::Accetta() {
    const int fd = ::accept4(ascolto_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) return;
    ucred chi{};
    socklen_t lunghezza = sizeof chi;
    // Only the same user's programs may call this window to the front.
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &chi, &lunghezza) == 0 && chi.uid == ::geteuid() &&
        Riceve(fd, Richiesta, 1000)) {
        if (azione_) azione_();
        Scrivi(fd, Risposta);
    }
    ::close(fd);
}

bool IstanzaUnica::ChiediPrimoPiano(int attesaMs) const { return !presa_.isEmpty() && ChiediA(presa_, attesaMs); }

bool IstanzaUnica::ChiediA(const QString& presa, int attesaMs) {
    sockaddr_un indirizzo;
    if (!Indirizzo(presa, indirizzo)) return false;
    const auto fine = std::chrono::steady_clock::now() + std::chrono::milliseconds(attesaMs);
    // The first program may still be starting: its lock comes before its socket.
    for (;;) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return false;
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&indirizzo), sizeof indirizzo) == 0) {
            // Only this user's own program is asked, and believed.
            ucred chi{};
            socklen_t lunghezza = sizeof chi;
            const bool nostro =
                ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &chi, &lunghezza) == 0 && chi.uid == ::geteuid();
            const auto resto =
                std::chrono::duration_cast<std::chrono::milliseconds>(fine - std::chrono::steady_clock::now());
            const bool fatto = nostro && Scrivi(fd, Richiesta) &&
                               Riceve(fd, Risposta, std::max<int>(100, static_cast<int>(resto.count())));
            ::close(fd);
            return fatto;
        }
        ::close(fd);
        if (std::chrono::steady_clock::now() >= fine) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

void PortaInPrimoPiano(QWidget* finestra) {
    if (!finestra) return;
    finestra->setWindowState(finestra->windowState() & ~Qt::WindowMinimized);
    finestra->show();
    finestra->raise();
    finestra->activateWindow();
}

namespace {

int tuboSegnali[2] = {-1, -1};

void SegnaleRicevuto(int) {
    const char c = 1;
    [[maybe_unused]] const ssize_t scritti = ::write(tuboSegnali[1], &c, 1);
}

}  // namespace

void ChiudiSuRichiestaDelSistema(QWidget* finestra) {
    if (tuboSegnali[0] < 0 && ::pipe2(tuboSegnali, O_CLOEXEC | O_NONBLOCK) != 0) return;
    auto* notifica = new QSocketNotifier(tuboSegnali[0], QSocketNotifier::Read, finestra);
    QPointer<QWidget> bersaglio(finestra);
    QObject::connect(notifica, &QSocketNotifier::activated, finestra, [bersaglio] {
        char scarto[16];
        while (::read(tuboSegnali[0], scarto, sizeof scarto) > 0) {
        }
        if (bersaglio) bersaglio->close();
    });
    struct sigaction azione {};
    azione.sa_handler = SegnaleRicevuto;
    sigemptyset(&azione.sa_mask);
    azione.sa_flags = SA_RESTART;
    for (int segnale : {SIGTERM, SIGHUP, SIGINT}) ::sigaction(segnale, &azione, nullptr);
}
