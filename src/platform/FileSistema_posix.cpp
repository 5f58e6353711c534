#include "FileSistema.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace sistema {

namespace {

ErroreFile Errore(int numero, const fs::path& file) { return {numero, file.string() + ": " + std::strerror(numero)}; }

bool ScriviTutto(int fd, std::string_view dati) {
    while (!dati.empty()) {
        const ssize_t scritti = ::write(fd, dati.data(), dati.size());
        if (scritti < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        dati.remove_prefix(static_cast<std::size_t>(scritti));
    }
    return true;
}

}  // namespace

namespace {

fs::path& Registro() {
    static fs::path registro;
    return registro;
}

// The folder of a file, as one spelling for every way of reaching it.
fs::path CartellaDi(const fs::path& file) {
    std::error_code ec;
    fs::path cartella = fs::weakly_canonical(fs::absolute(file, ec).parent_path(), ec);
    return ec ? file.parent_path() : cartella;
}

void Annota(const fs::path& provvisorio) {
    // The registry's own folder is looked through at every start anyway.
    if (Registro().empty() || CartellaDi(provvisorio) == CartellaDi(Registro())) return;
    const int fd = ::open(Registro().c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return;  // a note only: the file itself is what matters
    ScriviTutto(fd, (CartellaDi(provvisorio) / provvisorio.filename()).string() + '\n');
    ::close(fd);
}

// The process that made a temporary file of that name; 0 for another name.
pid_t ProcessoDi(const std::string& nome) {
    const auto punto = nome.rfind(".tmp-");
    if (punto == std::string::npos) return 0;
    std::string_view resto = std::string_view(nome).substr(punto + 5);
    constexpr std::string_view Giornale = "-journal";
    if (resto.size() > Giornale.size() && resto.substr(resto.size() - Giornale.size()) == Giornale)
        resto.remove_suffix(Giornale.size());
    const auto trattino = resto.find('-');
    if (trattino == std::string_view::npos || trattino == 0 || resto.size() - trattino - 1 != 6) return 0;
    long processo = 0;
    for (char c : resto.substr(0, trattino)) {
        if (c < '0' || c > '9' || processo > 100000000) return 0;
        processo = processo * 10 + (c - '0');
    }
    for (char c : resto.substr(trattino + 1))
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) return 0;
    return static_cast<pid_t>(processo);
}

bool RimuoviSeAbbandonato(const fs::path& file) {
    const pid_t processo = ProcessoDi(file.filename().string());
    if (processo <= 0) return false;
    // Still running (or another user's process): not abandoned.
    if (processo == ::getpid() || ::kill(processo, 0) == 0 || errno == EPERM) return false;
    struct stat s {};
    if (::lstat(file.c_str(), &s) != 0 || !S_ISREG(s.st_mode) || s.st_uid != ::geteuid()) return false;
    return ::unlink(file.c_str()) == 0;
}

}  // namespace

std::optional<fs::path> CreaFileAccanto(const fs::path& file, ErroreFile& errore) {
    std::string modello = file.string() + ".tmp-" + std::to_string(::getpid()) + "-XXXXXX";
    const int fd = ::mkstemp(modello.data());  // owner-only by definition
    if (fd < 0) {
        errore = Errore(errno, file.parent_path().empty() ? fs::path(".") : file.parent_path());
        return std::nullopt;
    }
    ::close(fd);
    Annota(modello);
    return fs::path(modello);
}

void ImpostaRegistroProvvisori(const fs::path& registro) { Registro() = registro; }

bool NomeProvvisorio(const std::string& nome) { return ProcessoDi(nome) > 0; }

std::size_t RimuoviProvvisoriAbbandonati(const std::vector<fs::path>& cartelle) {
    std::size_t rimossi = 0;
    if (!Registro().empty()) {
        ErroreFile errore;
        const auto annotati = LeggiFile(Registro(), 1 << 20, errore);
        std::string ancoraInUso;
        std::size_t inizio = 0;
        while (annotati && inizio < annotati->size()) {
            auto fine = annotati->find('\n', inizio);
            if (fine == std::string::npos) fine = annotati->size();
            const std::string riga = annotati->substr(inizio, fine - inizio);
            inizio = fine + 1;
            if (riga.empty()) continue;
            const fs::path file(riga);
            struct stat s {};
            if (::lstat(file.c_str(), &s) != 0) continue;  // renamed or removed, as it should be
            if (RimuoviSeAbbandonato(file)) {
                ++rimossi;
                if (RimuoviSeAbbandonato(riga + "-journal")) ++rimossi;
            } else if (NomeProvvisorio(file.filename().string())) {
                ancoraInUso += riga + '\n';
            }
        }
        if (ancoraInUso.empty()) {
            ::unlink(Registro().c_str());
        } else {
            const int fd = ::open(Registro().c_str(), O_WRONLY | O_TRUNC | O_NOFOLLOW | O_CLOEXEC);
            if (fd >= 0) {
                ScriviTutto(fd, ancoraInUso);
                ::close(fd);
            }
        }
    }
    for (const fs::path& cartella : cartelle) {
        std::error_code ec;
        for (fs::directory_iterator i(cartella, ec), fine; !ec && i != fine; i.increment(ec))
            if (NomeProvvisorio(i->path().filename().string()) && RimuoviSeAbbandonato(i->path())) ++rimossi;
    }
    return rimossi;
}

bool Sincronizza(const fs::path& percorso) {
    const int fd = ::open(percorso.empty() ? "." : percorso.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool riuscito = ::fsync(fd) == 0;
    ::close(fd);
    return riuscito;
}

std::optional<ErroreFile> ScriviFileAtomico(const fs::path& file, std::string_view byte, fs::perms permessi) {
    ErroreFile errore;
    const auto provvisorio = CreaFileAccanto(file, errore);
    if (!provvisorio) return errore;
    const auto modo = static_cast<mode_t>(permessi);
    const int fd = ::open(provvisorio->c_str(), O_WRONLY | O_TRUNC | O_NOFOLLOW | O_CLOEXEC);
    bool riuscito = fd >= 0 && ::fchmod(fd, modo) == 0 && ScriviTutto(fd, byte) && ::fsync(fd) == 0;
    int numero = riuscito ? 0 : errno;
    if (fd >= 0 && ::close(fd) != 0 && riuscito) {
        riuscito = false;
        numero = errno;
    }
    if (riuscito && ::rename(provvisorio->c_str(), file.c_str()) != 0) {
        riuscito = false;
        numero = errno;
    }
    if (!riuscito) {
        ::unlink(provvisorio->c_str());
        return Errore(numero, file);
    }
    Sincronizza(file.parent_path());
    return std::nullopt;
}

std::optional<ErroreFile> CopiaInNuovoFile(const fs::path& da, const fs::path& a) {
    ErroreFile errore;
    const auto provvisorio = CreaFileAccanto(a, errore);
    if (!provvisorio) return errore;
    auto esito = CopiaContenuto(da, *provvisorio);
    if (!esito) esito = SpostaSenzaSostituire(*provvisorio, a);
    if (esito) ::unlink(provvisorio->c_str());
    return esito;
}

std::optional<ErroreFile> CopiaContenuto(const fs::path& da, const fs::path& a) {
    const int in = ::open(da.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return Errore(errno, da);
    const int out = ::open(a.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (out < 0) {
        const int numero = errno;
        ::close(in);
        return Errore(numero, a);
    }
    std::string blocco(1 << 16, '\0');
    std::optional<ErroreFile> errore;
    for (;;) {
        const ssize_t n = ::read(in, blocco.data(), blocco.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            errore = Errore(errno, da);
            break;
        }
        if (n == 0) break;
        if (!ScriviTutto(out, std::string_view(blocco.data(), static_cast<std::size_t>(n)))) {
            errore = Errore(errno, a);
            break;
        }
    }
    if (!errore && ::fsync(out) != 0) errore = Errore(errno, a);
    if (::close(out) != 0 && !errore) errore = Errore(errno, a);
    ::close(in);
    return errore;
}

std::optional<ErroreFile> CollegaFile(const fs::path& da, const fs::path& a) {
    if (::link(da.c_str(), a.c_str()) != 0) return Errore(errno, a);
    Sincronizza(a.parent_path());
    return std::nullopt;
}

bool StessoFile(const fs::path& a, const fs::path& b) {
    const auto ia = IdentitaFile(a);
    return ia && ia == IdentitaFile(b);
}

std::optional<ErroreFile> Rinomina(const fs::path& da, const fs::path& a) {
    if (::rename(da.c_str(), a.c_str()) != 0) return Errore(errno, a);
    Sincronizza(a.parent_path());
    return std::nullopt;
}

std::optional<ErroreFile> SpostaSenzaSostituire(const fs::path& da, const fs::path& a) {
    if (::renameat2(AT_FDCWD, da.c_str(), AT_FDCWD, a.c_str(), RENAME_NOREPLACE) == 0) {
        Sincronizza(a.parent_path());
        return std::nullopt;
    }
    const int numero = errno;
    if (numero != EINVAL && numero != ENOSYS) return Errore(numero, a);
    // A file system without the atomic form: a hard link fails as well when
    // the name is taken.
    if (::link(da.c_str(), a.c_str()) != 0) return Errore(errno, a);
    ::unlink(da.c_str());
    Sincronizza(a.parent_path());
    return std::nullopt;
}

bool CartellaScrivibile(const fs::path& cartella) {
    const fs::path nome = cartella / (".tovarin-prova-" + std::to_string(::getpid()));
    const int fd = ::open(nome.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return errno == EEXIST;
    ::close(fd);
    ::unlink(nome.c_str());
    return true;
}

bool CreaCartellaPrivata(const fs::path& cartella) { return ::mkdir(cartella.c_str(), 0700) == 0; }

std::optional<ErroreFile> ProvaScrittura(const fs::path& file) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return Errore(errno, file);
    ::close(fd);
    return std::nullopt;
}

std::optional<std::pair<std::uint64_t, std::uint64_t>> IdentitaFile(const fs::path& file) {
    struct stat s {};
    if (::stat(file.c_str(), &s) != 0) return std::nullopt;
    return std::pair{static_cast<std::uint64_t>(s.st_dev), static_cast<std::uint64_t>(s.st_ino)};
}

std::string NomeStretto(const fs::path& percorso) { return percorso.native(); }

std::optional<std::string> LeggiFile(const fs::path& file, std::uintmax_t massimo, ErroreFile& errore) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        errore = Errore(errno, file);
        return std::nullopt;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        errore = Errore(::fstat(fd, &info) != 0 ? errno : EISDIR, file);
        ::close(fd);
        return std::nullopt;
    }
    if (static_cast<std::uintmax_t>(info.st_size) > massimo) {
        errore = Errore(EFBIG, file);
        ::close(fd);
        return std::nullopt;
    }
    std::string testo;
    testo.resize(static_cast<std::size_t>(info.st_size));
    std::size_t letti = 0;
    while (letti < testo.size()) {
        const ssize_t n = ::read(fd, testo.data() + letti, testo.size() - letti);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            errore = Errore(errno, file);
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) break;
        letti += static_cast<std::size_t>(n);
    }
    ::close(fd);
    testo.resize(letti);
    return testo;
}

}  // namespace sistema
