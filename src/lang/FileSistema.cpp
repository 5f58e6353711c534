#include "FileSistema.h"

#include <cerrno>
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

std::optional<fs::path> CreaFileAccanto(const fs::path& file, ErroreFile& errore) {
    std::string modello = file.string() + ".tmp-XXXXXX";
    const int fd = ::mkstemp(modello.data());  // owner-only by definition
    if (fd < 0) {
        errore = Errore(errno, file.parent_path().empty() ? fs::path(".") : file.parent_path());
        return std::nullopt;
    }
    ::close(fd);
    return fs::path(modello);
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
    struct stat info {};
    const mode_t modo = ::stat(file.c_str(), &info) == 0 ? (info.st_mode & 07777) : static_cast<mode_t>(permessi);
    const int fd = ::open(provvisorio->c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
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
