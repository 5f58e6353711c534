// The Windows half of IstanzaUnica.h. This user's lock for an archive is a
// named mutex in the session's namespace, its name holding the user's
// security identifier, open to this user alone; the lock beside the archive
// is the file "tvp.lock" held open and shared with no one; the second start
// of the same user asks the first through a named pipe, open to this user
// alone, and believes only an answer from a program of the same user. The
// system drops all three when the program ends, however it ends.
#include "IstanzaUnica.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPointer>
#include <QStandardPaths>
#include <QWidget>
#include <QWinEventNotifier>
#if QT_CONFIG(sessionmanager)
#include <QSessionManager>
#endif

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

struct IstanzaUnica::Windows {
    HANDLE blocco = INVALID_HANDLE_VALUE;  // "tvp.lock", shared with no one
    HANDLE mutex = nullptr;                // this user's lock for the archive
    HANDLE tubo = INVALID_HANDLE_VALUE;    // the pipe a second start asks through
    HANDLE evento = nullptr;               // set when a second start connects
    OVERLAPPED attesa{};
    std::unique_ptr<QWinEventNotifier> notifica;

    ~Windows() {
        notifica.reset();
        if (tubo != INVALID_HANDLE_VALUE) {
            ::CancelIoEx(tubo, nullptr);
            ::CloseHandle(tubo);
        }
        if (evento) ::CloseHandle(evento);
        if (mutex) ::CloseHandle(mutex);
        if (blocco != INVALID_HANDLE_VALUE) ::CloseHandle(blocco);
    }
};

namespace {

constexpr char Richiesta[] = "mostra\n";
constexpr char Risposta[] = "ok\n";

// How many names after the expected one are tried.
constexpr int NomiDiRiserva = 64;

// The user a process runs as, as bytes holding a TOKEN_USER; empty when it
// cannot be read.
std::unique_ptr<BYTE[]> UtenteDi(HANDLE processo) {
    std::unique_ptr<BYTE[]> dati;
    HANDLE token = nullptr;
    if (!::OpenProcessToken(processo, TOKEN_QUERY, &token)) return dati;
    DWORD lunghezza = 0;
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &lunghezza);
    if (lunghezza > 0) {
        dati = std::make_unique<BYTE[]>(lunghezza);
        if (!::GetTokenInformation(token, TokenUser, dati.get(), lunghezza, &lunghezza)) dati.reset();
    }
    ::CloseHandle(token);
    return dati;
}

PSID Sid(const std::unique_ptr<BYTE[]>& utente) {
    return utente ? reinterpret_cast<TOKEN_USER*>(utente.get())->User.Sid : nullptr;
}

const std::unique_ptr<BYTE[]>& QuestoUtente() {
    static const std::unique_ptr<BYTE[]> utente = UtenteDi(::GetCurrentProcess());
    return utente;
}

std::wstring SidTesto() {
    wchar_t* testo = nullptr;
    if (!Sid(QuestoUtente()) || !::ConvertSidToStringSidW(Sid(QuestoUtente()), &testo)) return {};
    std::wstring risultato(testo);
    ::LocalFree(testo);
    return risultato;
}

// True when the process of that number runs as this user.
bool ProcessoDiQuestoUtente(ULONG numero) {
    HANDLE processo = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, numero);
    if (!processo) return false;
    const auto utente = UtenteDi(processo);
    ::CloseHandle(processo);
    return Sid(utente) && Sid(QuestoUtente()) && ::EqualSid(Sid(utente), Sid(QuestoUtente()));
}

// Objects that only this user may open; freed with LocalFree.
struct SoloUtente {
    SECURITY_ATTRIBUTES attributi{sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
    SoloUtente() {
        const std::wstring sid = SidTesto();
        if (sid.empty()) return;
        const std::wstring sddl = L"D:P(A;;GA;;;" + sid + L")";
        ::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1,
                                                               &attributi.lpSecurityDescriptor, nullptr);
    }
    ~SoloUtente() {
        if (attributi.lpSecurityDescriptor) ::LocalFree(attributi.lpSecurityDescriptor);
    }
    SECURITY_ATTRIBUTES* dati() { return attributi.lpSecurityDescriptor ? &attributi : nullptr; }
};

// True when the object's owner is this user (or, for a program run with
// the administrators' rights, their group, which then owns what it makes).
bool OggettoNostro(HANDLE oggetto) {
    PSID proprietario = nullptr;
    PSECURITY_DESCRIPTOR descrittore = nullptr;
    if (::GetSecurityInfo(oggetto, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION, &proprietario, nullptr, nullptr,
                          nullptr, &descrittore) != ERROR_SUCCESS)
        return false;
    bool nostro = proprietario && Sid(QuestoUtente()) && ::EqualSid(proprietario, Sid(QuestoUtente()));
    if (!nostro && proprietario) {
        HANDLE token = nullptr;
        if (::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) {
            BYTE dati[SECURITY_MAX_SID_SIZE + sizeof(TOKEN_OWNER)];
            DWORD lunghezza = 0;
            if (::GetTokenInformation(token, TokenOwner, dati, sizeof dati, &lunghezza))
                nostro = ::EqualSid(proprietario, reinterpret_cast<TOKEN_OWNER*>(dati)->Owner) != 0;
            ::CloseHandle(token);
        }
    }
    ::LocalFree(descrittore);
    return nostro;
}

// The name of an archive folder's lock and pipe: one per archive folder,
// however it is spelt (Windows' names ignore case).
QString Chiave(const QString& cartellaDati) {
    QString cartella = QFileInfo(cartellaDati).canonicalFilePath();
    if (cartella.isEmpty()) cartella = QDir::cleanPath(QDir(cartellaDati).absolutePath());
    return QString::fromLatin1(
        QCryptographicHash::hash(cartella.toLower().toUtf8(), QCryptographicHash::Sha256).toHex().left(16));
}

// Waits at most `ms` for an overlapped operation on `h`; cancels it when it
// does not end in time. The bytes moved, or -1.
long Attendi(HANDLE h, OVERLAPPED& operazione, BOOL avviata, int ms) {
    DWORD spostati = 0;
    if (!avviata && ::GetLastError() != ERROR_IO_PENDING) return -1;
    if (!avviata && ::WaitForSingleObject(operazione.hEvent, static_cast<DWORD>(std::max(ms, 0))) != WAIT_OBJECT_0) {
        ::CancelIoEx(h, &operazione);
        ::GetOverlappedResult(h, &operazione, &spostati, TRUE);
        return -1;
    }
    if (!::GetOverlappedResult(h, &operazione, &spostati, FALSE)) return -1;
    return static_cast<long>(spostati);
}

bool Scrivi(HANDLE h, const char* testo, int ms) {
    OVERLAPPED operazione{};
    operazione.hEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!operazione.hEvent) return false;
    const DWORD n = static_cast<DWORD>(std::strlen(testo));
    const BOOL avviata = ::WriteFile(h, testo, n, nullptr, &operazione);
    const bool fatto = Attendi(h, operazione, avviata, ms) == static_cast<long>(n);
    ::CloseHandle(operazione.hEvent);
    return fatto;
}

bool Riceve(HANDLE h, const char* atteso, int ms) {
    OVERLAPPED operazione{};
    operazione.hEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!operazione.hEvent) return false;
    char buffer[16] = {};
    const BOOL avviata = ::ReadFile(h, buffer, sizeof buffer - 1, nullptr, &operazione);
    const long letti = Attendi(h, operazione, avviata, ms);
    ::CloseHandle(operazione.hEvent);
    return letti > 0 && std::strncmp(buffer, atteso, std::strlen(atteso)) == 0;
}

std::wstring Largo(const QString& testo) { return testo.toStdWString(); }

}  // namespace

QString CartellaDiQuestoUtente() {
    const QString locale = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return QFileInfo(locale).isDir() ? locale : QString();
}

IstanzaUnica::IstanzaUnica(const QString& cartellaDati, QObject* genitore)
    : QObject(genitore), windows_(std::make_unique<Windows>()) {
    const std::wstring sid = SidTesto();
    if (!sid.empty()) {
        SoloUtente sicurezza;
        const QString base =
            QStringLiteral("Tovarin-") + QString::fromStdWString(sid) + QLatin1Char('-') + Chiave(cartellaDati);
        // A name another user took first (in this session: a program run as
        // someone else) is passed over, as on Linux: every start of this
        // user's finds the same free or own name.
        for (int n = 1; n <= 1 + NomiDiRiserva; ++n) {
            const QString nome = n == 1 ? base : base + QLatin1Char('-') + QString::number(n);
            HANDLE mutex = ::CreateMutexW(sicurezza.dati(), FALSE, Largo(QStringLiteral("Local\\") + nome).c_str());
            const DWORD codice = ::GetLastError();
            if (!mutex) {
                if (codice == ERROR_ACCESS_DENIED) continue;
                break;
            }
            presa_ = QStringLiteral("\\\\.\\pipe\\") + nome;
            if (codice == ERROR_ALREADY_EXISTS) {
                const bool nostro = OggettoNostro(mutex);
                ::CloseHandle(mutex);
                if (!nostro) continue;
                stato_ = Stato::Seconda;
                return;
            }
            windows_->mutex = mutex;
            break;
        }
        if (!windows_->mutex) presa_.clear();
    }
    // Readable by all, as the folder gives, so that another user's program
    // on a shared folder finds it held; a link planted at the name is opened
    // itself, never followed.
    const std::wstring blocco = Largo(QDir::toNativeSeparators(cartellaDati + QStringLiteral("/tvp.lock")));
    HANDLE h = ::CreateFileW(blocco.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    DWORD codice = h == INVALID_HANDLE_VALUE ? ::GetLastError() : ERROR_SUCCESS;
    // Another user's lock in a shared folder: reading is enough to hold it.
    if (codice == ERROR_ACCESS_DENIED) {
        h = ::CreateFileW(blocco.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        codice = h == INVALID_HANDLE_VALUE ? ::GetLastError() : ERROR_SUCCESS;
    }
    if (codice == ERROR_SHARING_VIOLATION || codice == ERROR_LOCK_VIOLATION) {
        // This user's own lock was free: the holder is another user's.
        stato_ = windows_->mutex ? Stato::AltroUtente : Stato::Seconda;
        if (windows_->mutex) ::CloseHandle(windows_->mutex);
        windows_->mutex = nullptr;
        return;
    }
    if (h != INVALID_HANDLE_VALUE) windows_->blocco = h;
    if (windows_->mutex) Ascolta();
}

IstanzaUnica::~IstanzaUnica() = default;

void IstanzaUnica::Ascolta() {
    SoloUtente sicurezza;
    windows_->evento = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!windows_->evento) return;
    // The first instance only: a pipe someone else made under this name
    // first is never shared.
    windows_->tubo = ::CreateNamedPipeW(
        Largo(presa_).c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
        PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, 64, 64, 0, sicurezza.dati());
    if (windows_->tubo == INVALID_HANDLE_VALUE) return;
    windows_->notifica = std::make_unique<QWinEventNotifier>(windows_->evento);
    connect(windows_->notifica.get(), &QWinEventNotifier::activated, this, &IstanzaUnica::Accetta);
    // Waits for the next caller; an answer already there sets the event.
    auto attendi = [w = windows_.get()] {
        ::ResetEvent(w->evento);
        w->attesa = OVERLAPPED{};
        w->attesa.hEvent = w->evento;
        if (::ConnectNamedPipe(w->tubo, &w->attesa)) {
            ::SetEvent(w->evento);
            return;
        }
        const DWORD codice = ::GetLastError();
        if (codice == ERROR_PIPE_CONNECTED) ::SetEvent(w->evento);
    };
    attendi();
    connect(windows_->notifica.get(), &QWinEventNotifier::activated, this, attendi);
}

void IstanzaUnica::Accetta() {
    Windows& w = *windows_;
    DWORD nulla = 0;
    ::GetOverlappedResult(w.tubo, &w.attesa, &nulla, FALSE);
    // Only the same user's programs may call this window to the front.
    ULONG chi = 0;
    if (::GetNamedPipeClientProcessId(w.tubo, &chi) && ProcessoDiQuestoUtente(chi) && Riceve(w.tubo, Richiesta, 1000)) {
        if (azione_) azione_();
        if (Scrivi(w.tubo, Risposta, 1000)) {
            // Until the caller has read the answer and gone: a pipe cut
            // before that loses what was written.
            char scarto[4];
            OVERLAPPED fine{};
            fine.hEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
            if (fine.hEvent) {
                Attendi(w.tubo, fine, ::ReadFile(w.tubo, scarto, sizeof scarto, nullptr, &fine), 1000);
                ::CloseHandle(fine.hEvent);
            }
        }
    }
    ::DisconnectNamedPipe(w.tubo);
}

bool IstanzaUnica::ChiediPrimoPiano(int attesaMs) const { return !presa_.isEmpty() && ChiediA(presa_, attesaMs); }

bool IstanzaUnica::ChiediA(const QString& presa, int attesaMs) {
    const std::wstring nome = Largo(presa);
    const auto fine = std::chrono::steady_clock::now() + std::chrono::milliseconds(attesaMs);
    auto resto = [&fine] {
        return static_cast<int>(
            std::chrono::duration_cast<std::chrono::milliseconds>(fine - std::chrono::steady_clock::now()).count());
    };
    // The first program may still be starting: its mutex comes before its pipe.
    for (;;) {
        // Identification only: the first program may learn who asks, never
        // act as this user.
        HANDLE h = ::CreateFileW(nome.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_OVERLAPPED | SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            // Only this user's own program is asked, and believed.
            ULONG chi = 0;
            const bool nostro = ::GetNamedPipeServerProcessId(h, &chi) && ProcessoDiQuestoUtente(chi);
            // The system lets the first program come to the front only when
            // the program in front allows it.
            if (nostro) ::AllowSetForegroundWindow(chi);
            const bool fatto =
                nostro && Scrivi(h, Richiesta, std::max(100, resto())) && Riceve(h, Risposta, std::max(100, resto()));
            ::CloseHandle(h);
            return fatto;
        }
        const DWORD codice = ::GetLastError();
        if (resto() <= 0) return false;
        if (codice == ERROR_PIPE_BUSY)
            ::WaitNamedPipeW(nome.c_str(), static_cast<DWORD>(std::min(resto(), 100)));
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

void PortaInPrimoPiano(QWidget* finestra) {
    if (!finestra) return;
    finestra->setWindowState(finestra->windowState() & ~Qt::WindowMinimized);
    finestra->show();
    finestra->raise();
    finestra->activateWindow();
    // Qt only flashes the task bar button of a program not in front; the
    // caller has allowed this one to come forward.
    if (QGuiApplication::platformName() == QLatin1String("windows"))
        ::SetForegroundWindow(reinterpret_cast<HWND>(finestra->winId()));
}

void ChiudiSuRichiestaDelSistema(QWidget* finestra) {
#if QT_CONFIG(sessionmanager)
    // Log-off or shut-down: Windows asks every program first.
    QPointer<QWidget> bersaglio(finestra);
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, finestra, [bersaglio](QSessionManager&) {
        if (bersaglio) bersaglio->close();
    });
#else
    (void)finestra;
#endif
}
