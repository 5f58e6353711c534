#include "Segreto.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace sistema {

void Cancella(void* p, std::size_t n) noexcept {
    if (p && n) explicit_bzero(p, n);
}

Segreto::Segreto() : dati_(new char[Capienza]) {}

Segreto::Segreto(std::string_view testo) : Segreto() { ok_ = Aggiungi(testo); }

Segreto::~Segreto() { Svuota(); }

Segreto::Segreto(const Segreto& altro) : Segreto() { *this = altro; }

Segreto& Segreto::operator=(const Segreto& altro) {
    if (this != &altro) {
        Svuota();
        if (!dati_) dati_.reset(new char[Capienza]);
        if (altro.lunghezza_) std::memcpy(dati_.get(), altro.dati_.get(), altro.lunghezza_);
        lunghezza_ = altro.lunghezza_;
        ok_ = altro.ok_;
    }
    return *this;
}

Segreto::Segreto(Segreto&& altro) noexcept
    : dati_(std::move(altro.dati_)), lunghezza_(std::exchange(altro.lunghezza_, 0)), ok_(altro.ok_) {}

Segreto& Segreto::operator=(Segreto&& altro) noexcept {
    if (this != &altro) {
        Svuota();
        dati_ = std::move(altro.dati_);
        lunghezza_ = std::exchange(altro.lunghezza_, 0);
        ok_ = altro.ok_;
    }
    return *this;
}

bool Segreto::Aggiungi(std::string_view byte) {
    if (!dati_) dati_.reset(new char[Capienza]);
    if (byte.size() > Capienza - lunghezza_) {
        ok_ = false;
        return false;
    }
    std::memcpy(dati_.get() + lunghezza_, byte.data(), byte.size());
    lunghezza_ += byte.size();
    return true;
}

void Segreto::TogliUltimo() {
    if (lunghezza_ == 0) return;
    --lunghezza_;
    dati_[lunghezza_] = '\0';
    Cancella(dati_.get() + lunghezza_, 1);
}

void Segreto::Svuota() {
    if (dati_) Cancella(dati_.get(), Capienza);
    lunghezza_ = 0;
    ok_ = true;
}

RifiutoFileSegreto LeggiFileSegreto(const std::filesystem::path& file, Segreto& letto, ErroreFile& errore) {
    letto.Svuota();
    errore = {};
    // Never through a link, never waiting on a pipe.
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        errore = {errno, file.string()};
        return errno == ELOOP ? RifiutoFileSegreto::NonUnFile : RifiutoFileSegreto::Illeggibile;
    }
    struct Chiudi {
        int fd;
        ~Chiudi() { ::close(fd); }
    } chiudi{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        errore = {errno, file.string()};
        return RifiutoFileSegreto::Illeggibile;
    }
    if (!S_ISREG(st.st_mode)) return RifiutoFileSegreto::NonUnFile;
    // Its owner's alone: neither the group nor others may read or write it,
    // and it belongs to whoever runs the program.
    if ((st.st_mode & (S_IRWXG | S_IRWXO)) != 0 || st.st_uid != ::geteuid())
        return RifiutoFileSegreto::LeggibileDaAltri;
    // The passphrase, and a newline after it.
    if (st.st_size > static_cast<off_t>(Segreto::Capienza + 2)) return RifiutoFileSegreto::TroppoLungo;
    // Read whole into a buffer of its own (wiped), then the newline taken away.
    std::array<char, Segreto::Capienza + 3> tutto;
    std::size_t lunghezza = 0;
    RifiutoFileSegreto rifiuto = RifiutoFileSegreto::Nessuno;
    for (;;) {
        const ssize_t n = ::read(fd, tutto.data() + lunghezza, tutto.size() - lunghezza);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            errore = {errno, file.string()};
            rifiuto = RifiutoFileSegreto::Illeggibile;
            break;
        }
        if (n == 0) break;
        lunghezza += static_cast<std::size_t>(n);
        if (lunghezza == tutto.size()) {
            rifiuto = RifiutoFileSegreto::TroppoLungo;  // grown since it was measured
            break;
        }
    }
    std::string_view testo(tutto.data(), lunghezza);
    if (testo.ends_with("\r\n"))
        testo.remove_suffix(2);
    else if (testo.ends_with('\n'))
        testo.remove_suffix(1);
    if (rifiuto == RifiutoFileSegreto::Nessuno && !letto.Aggiungi(testo)) rifiuto = RifiutoFileSegreto::TroppoLungo;
    Cancella(tutto.data(), tutto.size());
    if (rifiuto != RifiutoFileSegreto::Nessuno) {
        letto.Svuota();
        return rifiuto;
    }
    if (letto.empty()) return RifiutoFileSegreto::Vuoto;
    return RifiutoFileSegreto::Nessuno;
}

namespace {

// The terminal's settings while the echo is off, restored by a signal that
// ends the program meanwhile (Ctrl+C).
int terminaleAperto = -1;
struct termios terminalePrima {};

void RipristinaESegnala(int segnale) {
    if (terminaleAperto >= 0) ::tcsetattr(terminaleAperto, TCSAFLUSH, &terminalePrima);
    ::signal(segnale, SIG_DFL);
    ::raise(segnale);
}

}  // namespace

EsitoTerminale LeggiDalTerminale(std::string_view invito, Segreto& letto) {
    letto.Svuota();
    const int fd = ::open("/dev/tty", O_RDWR | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return EsitoTerminale::NessunTerminale;
    struct termios prima {};
    if (::tcgetattr(fd, &prima) != 0) {
        ::close(fd);
        return EsitoTerminale::NessunTerminale;
    }
    struct termios senzaEco = prima;
    senzaEco.c_lflag &= static_cast<tcflag_t>(~ECHO);
    senzaEco.c_lflag |= ECHONL | ICANON;
    terminalePrima = prima;
    terminaleAperto = fd;
    using Gestore = void (*)(int);
    const Gestore int_ = ::signal(SIGINT, RipristinaESegnala);
    const Gestore term = ::signal(SIGTERM, RipristinaESegnala);
    const Gestore hup = ::signal(SIGHUP, RipristinaESegnala);
    const Gestore quit = ::signal(SIGQUIT, RipristinaESegnala);
    ::tcsetattr(fd, TCSAFLUSH, &senzaEco);
    for (std::size_t scritti = 0; scritti < invito.size();) {
        const ssize_t n = ::write(fd, invito.data() + scritti, invito.size() - scritti);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        scritti += static_cast<std::size_t>(n);
    }
    EsitoTerminale esito = EsitoTerminale::Interrotto;
    for (;;) {
        char c = 0;
        const ssize_t n = ::read(fd, &c, 1);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        if (c == '\n' || c == '\r') {
            esito = letto.ok() ? EsitoTerminale::Letto : EsitoTerminale::TroppoLungo;
            break;
        }
        if (letto.ok()) letto.Aggiungi(std::string_view(&c, 1));  // once full, the rest is read and dropped
        Cancella(&c, 1);
    }
    ::tcsetattr(fd, TCSAFLUSH, &prima);
    terminaleAperto = -1;
    ::signal(SIGINT, int_);
    ::signal(SIGTERM, term);
    ::signal(SIGHUP, hup);
    ::signal(SIGQUIT, quit);
    ::close(fd);
    if (esito != EsitoTerminale::Letto) letto.Svuota();
    return esito;
}

}  // namespace sistema
