// The Windows half of FileSistema.h: the same promises kept with the wide
// (UTF-16) calls only, so that names beyond ASCII (C:\Users\Nicolò\…, a
// report for "Zoë") work in every function. Error numbers are the C ones
// the callers test (EEXIST, EXDEV, ...), mapped from the system's codes.
#include "FileSistema.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <random>

namespace fs = std::filesystem;

namespace sistema {

namespace {

// A handle closed however the function ends.
struct Maniglia {
    HANDLE h = INVALID_HANDLE_VALUE;
    Maniglia() = default;
    explicit Maniglia(HANDLE valore) : h(valore) {}
    Maniglia(const Maniglia&) = delete;
    Maniglia& operator=(const Maniglia&) = delete;
    ~Maniglia() { chiudi(); }
    bool valida() const { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    bool chiudi() {
        if (!valida()) return true;
        const bool riuscito = ::CloseHandle(h) != 0;
        h = INVALID_HANDLE_VALUE;
        return riuscito;
    }
};

// The C error number closest to a system error code.
int NumeroC(DWORD codice) {
    switch (codice) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME: return ENOENT;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return EEXIST;
    case ERROR_ACCESS_DENIED:
    case ERROR_CANNOT_MAKE:
    case ERROR_PRIVILEGE_NOT_HELD: return EACCES;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_BUSY: return EBUSY;
    case ERROR_WRITE_PROTECT: return EROFS;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    case ERROR_NOT_SAME_DEVICE: return EXDEV;
    case ERROR_INVALID_FUNCTION:
    case ERROR_NOT_SUPPORTED: return ENOTSUP;
    case ERROR_TOO_MANY_LINKS: return EMLINK;
    case ERROR_FILENAME_EXCED_RANGE: return ENAMETOOLONG;
    case ERROR_DIRECTORY: return ENOTDIR;
    case ERROR_DIR_NOT_EMPTY: return ENOTEMPTY;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY: return ENOMEM;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_PARAMETER: return EINVAL;
    default: return EIO;
    }
}

std::string Utf8(std::wstring_view testo) {
    if (testo.empty()) return {};
    const int n =
        ::WideCharToMultiByte(CP_UTF8, 0, testo.data(), static_cast<int>(testo.size()), nullptr, 0, nullptr, nullptr);
    std::string risultato(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, testo.data(), static_cast<int>(testo.size()), risultato.data(), n, nullptr,
                              nullptr);
    return risultato;
}

// The system's own words for the code, in the user's language.
std::string Descrizione(DWORD codice) {
    wchar_t* testo = nullptr;
    const DWORD n =
        ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                         nullptr, codice, 0, reinterpret_cast<wchar_t*>(&testo), 0, nullptr);
    std::wstring frase(testo ? testo : L"", n);
    if (testo) ::LocalFree(testo);
    while (!frase.empty() &&
           (frase.back() == L'\r' || frase.back() == L'\n' || frase.back() == L' ' || frase.back() == L'.'))
        frase.pop_back();
    if (frase.empty()) return std::strerror(NumeroC(codice));
    return Utf8(frase);
}

ErroreFile Errore(DWORD codice, const fs::path& file) {
    return {NumeroC(codice), Utf8(file.native()) + ": " + Descrizione(codice)};
}

ErroreFile ErroreC(int numero, const fs::path& file) {
    return {numero, Utf8(file.native()) + ": " + std::strerror(numero)};
}

bool ScriviTutto(HANDLE h, std::string_view dati) {
    while (!dati.empty()) {
        const DWORD pezzo = static_cast<DWORD>(std::min<std::size_t>(dati.size(), 1u << 20));
        DWORD scritti = 0;
        if (!::WriteFile(h, dati.data(), pezzo, &scritti, nullptr)) return false;
        if (scritti == 0) {
            ::SetLastError(ERROR_WRITE_FAULT);
            return false;
        }
        dati.remove_prefix(scritti);
    }
    return true;
}

constexpr DWORD CondivisioneTotale = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// The user this program runs as, as a security identifier (held for the
// whole run); null when it cannot be read.
PSID UtenteCorrente() {
    static const std::unique_ptr<BYTE[]> utente = [] {
        std::unique_ptr<BYTE[]> dati;
        HANDLE token = nullptr;
        if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return dati;
        DWORD lunghezza = 0;
        ::GetTokenInformation(token, TokenUser, nullptr, 0, &lunghezza);
        if (lunghezza > 0) {
            dati = std::make_unique<BYTE[]>(lunghezza);
            if (!::GetTokenInformation(token, TokenUser, dati.get(), lunghezza, &lunghezza)) dati.reset();
        }
        ::CloseHandle(token);
        return dati;
    }();
    return utente ? reinterpret_cast<TOKEN_USER*>(utente.get())->User.Sid : nullptr;
}

// A security descriptor that lets only this user in, besides the system
// itself and the administrators, as a Linux file of mode 0600 is still open
// to root (backups run as the system); for a folder it passes that on to
// what is made inside it. Freed with LocalFree.
PSECURITY_DESCRIPTOR SoloUtente(bool cartella) {
    const PSID utente = UtenteCorrente();
    wchar_t* sid = nullptr;
    if (!utente || !::ConvertSidToStringSidW(utente, &sid)) return nullptr;
    const std::wstring eredita = cartella ? L"OICI" : L"";
    const std::wstring sddl =
        L"D:P(A;" + eredita + L";FA;;;SY)(A;" + eredita + L";FA;;;BA)(A;" + eredita + L";FA;;;" + sid + L")";
    ::LocalFree(sid);
    PSECURITY_DESCRIPTOR descrittore = nullptr;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, &descrittore, nullptr))
        return nullptr;
    return descrittore;
}

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

// Opens a file that must be the one at that name (never a link's target).
HANDLE ApriSenzaSeguire(const fs::path& file, DWORD accesso, DWORD disposizione) {
    return ::CreateFileW(file.c_str(), accesso, CondivisioneTotale, nullptr, disposizione,
                         FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

// A regular file, not a folder nor a link, by its open handle.
bool FileNormale(HANDLE h) {
    BY_HANDLE_FILE_INFORMATION info{};
    return ::GetFileInformationByHandle(h, &info) &&
           (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
}

void Annota(const fs::path& provvisorio) {
    // The registry's own folder is looked through at every start anyway.
    if (Registro().empty() || CartellaDi(provvisorio) == CartellaDi(Registro())) return;
    Maniglia registro(ApriSenzaSeguire(Registro(), FILE_APPEND_DATA, OPEN_ALWAYS));
    if (!registro.valida() || !FileNormale(registro.h)) return;  // a note only: the file itself is what matters
    ScriviTutto(registro.h, Utf8((CartellaDi(provvisorio) / provvisorio.filename()).native()) + '\n');
}

// The process that made a temporary file of that name; 0 for another name.
DWORD ProcessoDi(const std::string& nome) {
    const auto punto = nome.rfind(".tmp-");
    if (punto == std::string::npos) return 0;
    std::string_view resto = std::string_view(nome).substr(punto + 5);
    constexpr std::string_view Giornale = "-journal";
    if (resto.size() > Giornale.size() && resto.substr(resto.size() - Giornale.size()) == Giornale)
        resto.remove_suffix(Giornale.size());
    const auto trattino = resto.find('-');
    if (trattino == std::string_view::npos || trattino == 0 || resto.size() - trattino - 1 != 6) return 0;
    unsigned long processo = 0;
    for (char c : resto.substr(0, trattino)) {
        if (c < '0' || c > '9' || processo > 100000000) return 0;
        processo = processo * 10 + static_cast<unsigned long>(c - '0');
    }
    for (char c : resto.substr(trattino + 1))
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) return 0;
    return static_cast<DWORD>(processo);
}

// A process of that number still runs (or cannot be looked at: another
// user's, which is taken as running).
bool ProcessoVivo(DWORD processo) {
    HANDLE h = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processo);
    if (!h) return ::GetLastError() == ERROR_ACCESS_DENIED;
    DWORD uscita = 0;
    const bool vivo = !::GetExitCodeProcess(h, &uscita) || uscita == STILL_ACTIVE;
    ::CloseHandle(h);
    return vivo;
}

// True when this user owns the file whose handle is open.
bool DiQuestoUtente(HANDLE h) {
    PSID proprietario = nullptr;
    PSECURITY_DESCRIPTOR descrittore = nullptr;
    if (::GetSecurityInfo(h, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &proprietario, nullptr, nullptr, nullptr,
                          &descrittore) != ERROR_SUCCESS)
        return false;
    const PSID utente = UtenteCorrente();
    const bool nostro = proprietario && utente && ::EqualSid(proprietario, utente);
    ::LocalFree(descrittore);
    return nostro;
}

bool RimuoviSeAbbandonato(const fs::path& file) {
    const DWORD processo = ProcessoDi(Utf8(file.filename().native()));
    if (processo == 0) return false;
    // Still running (or another user's process): not abandoned.
    if (processo == ::GetCurrentProcessId() || ProcessoVivo(processo)) return false;
    {
        Maniglia h(ApriSenzaSeguire(file, READ_CONTROL | FILE_READ_ATTRIBUTES, OPEN_EXISTING));
        if (!h.valida() || !FileNormale(h.h) || !DiQuestoUtente(h.h)) return false;
    }
    return ::DeleteFileW(file.c_str()) != 0;
}

// Six letters or digits, different at every call.
std::wstring Caso() {
    static std::mt19937_64 generatore{std::random_device{}() ^ (static_cast<std::uint64_t>(::GetTickCount64()) << 20) ^
                                      ::GetCurrentProcessId()};
    static constexpr wchar_t Cifre[] = L"0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::wstring risultato(6, L'0');
    for (wchar_t& c : risultato) c = Cifre[generatore() % (sizeof Cifre / sizeof Cifre[0] - 1)];
    return risultato;
}

}  // namespace

std::optional<fs::path> CreaFileAccanto(const fs::path& file, ErroreFile& errore) {
    const std::wstring base = file.native() + L".tmp-" + std::to_wstring(::GetCurrentProcessId()) + L"-";
    PSECURITY_DESCRIPTOR descrittore = SoloUtente(false);
    SECURITY_ATTRIBUTES sicurezza{sizeof(SECURITY_ATTRIBUTES), descrittore, FALSE};
    DWORD codice = ERROR_FILE_EXISTS;
    for (int tentativo = 0; tentativo < 100 && codice == ERROR_FILE_EXISTS; ++tentativo) {
        const fs::path nome = base + Caso();
        // Owner-only from its first moment.
        HANDLE h = ::CreateFileW(nome.c_str(), GENERIC_WRITE, 0, descrittore ? &sicurezza : nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            ::CloseHandle(h);
            if (descrittore) ::LocalFree(descrittore);
            Annota(nome);
            return nome;
        }
        codice = ::GetLastError();
    }
    if (descrittore) ::LocalFree(descrittore);
    errore = Errore(codice, file.parent_path().empty() ? fs::path(L".") : file.parent_path());
    return std::nullopt;
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
            const fs::path file(std::u8string(riga.begin(), riga.end()));
            if (::GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES)
                continue;  // renamed or removed, as it should be
            if (RimuoviSeAbbandonato(file)) {
                ++rimossi;
                const std::string giornale = riga + "-journal";
                if (RimuoviSeAbbandonato(fs::path(std::u8string(giornale.begin(), giornale.end())))) ++rimossi;
            } else if (NomeProvvisorio(Utf8(file.filename().native()))) {
                ancoraInUso += riga + '\n';
            }
        }
        if (ancoraInUso.empty()) {
            ::DeleteFileW(Registro().c_str());
        } else {
            Maniglia registro(ApriSenzaSeguire(Registro(), GENERIC_WRITE, TRUNCATE_EXISTING));
            if (registro.valida() && FileNormale(registro.h)) ScriviTutto(registro.h, ancoraInUso);
        }
    }
    for (const fs::path& cartella : cartelle) {
        std::error_code ec;
        for (fs::directory_iterator i(cartella, ec), fine; !ec && i != fine; i.increment(ec))
            if (NomeProvvisorio(Utf8(i->path().filename().native())) && RimuoviSeAbbandonato(i->path())) ++rimossi;
    }
    return rimossi;
}

bool Sincronizza(const fs::path& percorso) {
    const fs::path nome = percorso.empty() ? fs::path(L".") : percorso;
    const DWORD attributi = ::GetFileAttributesW(nome.c_str());
    if (attributi == INVALID_FILE_ATTRIBUTES) return false;
    // A folder's entries reach the disk with the moves that made them
    // (MOVEFILE_WRITE_THROUGH): there is nothing more to flush.
    if (attributi & FILE_ATTRIBUTE_DIRECTORY) return true;
    Maniglia h(::CreateFileW(nome.c_str(), GENERIC_WRITE, CondivisioneTotale, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    return h.valida() && ::FlushFileBuffers(h.h) != 0;
}

std::optional<ErroreFile> ScriviFileAtomico(const fs::path& file, std::string_view byte, fs::perms permessi) {
    ErroreFile errore;
    const auto provvisorio = CreaFileAccanto(file, errore);
    if (!provvisorio) return errore;
    DWORD codice = ERROR_SUCCESS;
    {
        Maniglia h(::CreateFileW(provvisorio->c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        const bool riuscito = h.valida() && ScriviTutto(h.h, byte) && ::FlushFileBuffers(h.h);
        if (!riuscito) codice = ::GetLastError();
        if (!h.chiudi() && riuscito) codice = ::GetLastError();
    }
    // Readable by others when asked: the rights the folder gives its files,
    // instead of this user's alone.
    if (codice == ERROR_SUCCESS && (permessi & (fs::perms::group_all | fs::perms::others_all)) != fs::perms::none) {
        ACL vuota{};
        if (::InitializeAcl(&vuota, sizeof vuota, ACL_REVISION))
            ::SetNamedSecurityInfoW(const_cast<wchar_t*>(provvisorio->c_str()), SE_FILE_OBJECT,
                                    DACL_SECURITY_INFORMATION | UNPROTECTED_DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                    &vuota, nullptr);
    }
    if (codice == ERROR_SUCCESS) {
        // A read-only file under the name is replaced all the same (as a
        // rename does on Linux); a link or junction there is replaced itself,
        // its target never touched.
        const DWORD attributi = ::GetFileAttributesW(file.c_str());
        if (attributi != INVALID_FILE_ATTRIBUTES && (attributi & FILE_ATTRIBUTE_READONLY) &&
            !(attributi & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)))
            ::SetFileAttributesW(file.c_str(), attributi & ~FILE_ATTRIBUTE_READONLY);
        if (!::MoveFileExW(provvisorio->c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            codice = ::GetLastError();
    }
    if (codice != ERROR_SUCCESS) {
        ::DeleteFileW(provvisorio->c_str());
        return Errore(codice, file);
    }
    if ((permessi & fs::perms::owner_write) == fs::perms::none) {
        const DWORD attributi = ::GetFileAttributesW(file.c_str());
        if (attributi != INVALID_FILE_ATTRIBUTES)
            ::SetFileAttributesW(file.c_str(), attributi | FILE_ATTRIBUTE_READONLY);
    }
    return std::nullopt;
}

std::optional<ErroreFile> CopiaInNuovoFile(const fs::path& da, const fs::path& a) {
    ErroreFile errore;
    const auto provvisorio = CreaFileAccanto(a, errore);
    if (!provvisorio) return errore;
    auto esito = CopiaContenuto(da, *provvisorio);
    if (!esito) esito = SpostaSenzaSostituire(*provvisorio, a);
    if (esito) ::DeleteFileW(provvisorio->c_str());
    return esito;
}

std::optional<ErroreFile> CopiaContenuto(const fs::path& da, const fs::path& a) {
    Maniglia in(::CreateFileW(da.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!in.valida()) return Errore(::GetLastError(), da);
    Maniglia out(
        ::CreateFileW(a.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out.valida()) return Errore(::GetLastError(), a);
    std::string blocco(1 << 16, '\0');
    for (;;) {
        DWORD letti = 0;
        if (!::ReadFile(in.h, blocco.data(), static_cast<DWORD>(blocco.size()), &letti, nullptr))
            return Errore(::GetLastError(), da);
        if (letti == 0) break;
        if (!ScriviTutto(out.h, std::string_view(blocco.data(), letti))) return Errore(::GetLastError(), a);
    }
    if (!::FlushFileBuffers(out.h)) return Errore(::GetLastError(), a);
    if (!out.chiudi()) return Errore(::GetLastError(), a);
    return std::nullopt;
}

std::optional<ErroreFile> CollegaFile(const fs::path& da, const fs::path& a) {
    if (!::CreateHardLinkW(a.c_str(), da.c_str(), nullptr)) {
        const DWORD codice = ::GetLastError();
        // Where the file system has no such links (FAT on a USB stick, a
        // share that refuses them), the callers copy instead.
        if (codice == ERROR_INVALID_FUNCTION || codice == ERROR_NOT_SUPPORTED) return ErroreC(ENOTSUP, a);
        return Errore(codice, a);
    }
    return std::nullopt;
}

bool StessoFile(const fs::path& a, const fs::path& b) {
    const auto ia = IdentitaFile(a);
    return ia && ia == IdentitaFile(b);
}

std::optional<ErroreFile> Rinomina(const fs::path& da, const fs::path& a) {
    if (!::MoveFileExW(da.c_str(), a.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return Errore(::GetLastError(), a);
    return std::nullopt;
}

std::optional<ErroreFile> SpostaSenzaSostituire(const fs::path& da, const fs::path& a) {
    // Without MOVEFILE_REPLACE_EXISTING the move fails when the name is taken.
    if (!::MoveFileExW(da.c_str(), a.c_str(), MOVEFILE_WRITE_THROUGH)) return Errore(::GetLastError(), a);
    return std::nullopt;
}

bool CartellaScrivibile(const fs::path& cartella) {
    const fs::path nome = cartella / (L".tovarin-prova-" + std::to_wstring(::GetCurrentProcessId()));
    HANDLE h = ::CreateFileW(nome.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD codice = ::GetLastError();
        return codice == ERROR_FILE_EXISTS || codice == ERROR_ALREADY_EXISTS;
    }
    ::CloseHandle(h);
    return true;
}

bool CreaCartellaPrivata(const fs::path& cartella) {
    PSECURITY_DESCRIPTOR descrittore = SoloUtente(true);
    SECURITY_ATTRIBUTES sicurezza{sizeof(SECURITY_ATTRIBUTES), descrittore, FALSE};
    const bool creata = ::CreateDirectoryW(cartella.c_str(), descrittore ? &sicurezza : nullptr) != 0;
    if (descrittore) ::LocalFree(descrittore);
    return creata;
}

std::optional<ErroreFile> ProvaScrittura(const fs::path& file) {
    Maniglia h(::CreateFileW(file.c_str(), GENERIC_WRITE, CondivisioneTotale, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h.valida()) return Errore(::GetLastError(), file);
    return std::nullopt;
}

std::optional<std::pair<std::uint64_t, std::uint64_t>> IdentitaFile(const fs::path& file) {
    // Followed through links, as stat does; a folder opens only with backup
    // semantics.
    Maniglia h(::CreateFileW(file.c_str(), FILE_READ_ATTRIBUTES, CondivisioneTotale, nullptr, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!h.valida()) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(h.h, &info)) return std::nullopt;
    return std::pair{static_cast<std::uint64_t>(info.dwVolumeSerialNumber),
                     (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

std::string NomeStretto(const fs::path& percorso) { return Utf8(percorso.native()); }

std::optional<std::string> LeggiFile(const fs::path& file, std::uintmax_t massimo, ErroreFile& errore) {
    const DWORD attributi = ::GetFileAttributesW(file.c_str());
    if (attributi != INVALID_FILE_ATTRIBUTES && (attributi & FILE_ATTRIBUTE_DIRECTORY)) {
        errore = ErroreC(EISDIR, file);
        return std::nullopt;
    }
    Maniglia h(::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!h.valida()) {
        errore = Errore(::GetLastError(), file);
        return std::nullopt;
    }
    LARGE_INTEGER dimensione{};
    if (::GetFileType(h.h) != FILE_TYPE_DISK || !::GetFileSizeEx(h.h, &dimensione)) {
        errore = ErroreC(EISDIR, file);
        return std::nullopt;
    }
    if (static_cast<std::uintmax_t>(dimensione.QuadPart) > massimo) {
        errore = ErroreC(EFBIG, file);
        return std::nullopt;
    }
    std::string testo;
    testo.resize(static_cast<std::size_t>(dimensione.QuadPart));
    std::size_t letti = 0;
    while (letti < testo.size()) {
        DWORD n = 0;
        const DWORD pezzo = static_cast<DWORD>(std::min<std::size_t>(testo.size() - letti, 1u << 20));
        if (!::ReadFile(h.h, testo.data() + letti, pezzo, &n, nullptr)) {
            errore = Errore(::GetLastError(), file);
            return std::nullopt;
        }
        if (n == 0) break;
        letti += n;
    }
    testo.resize(letti);
    return testo;
}

}  // namespace sistema
