// The Windows half of CartelleProgramma.h: the data folder judged by its
// owner and by who else its access list lets write in it.
#include "CartelleProgramma.h"

#include "IdMessaggiProgramma.h"
#include "Messaggio.h"

#include <QDir>

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <aclapi.h>

#include <memory>
#include <string>

namespace {

std::unique_ptr<BYTE[]> TokenDi(TOKEN_INFORMATION_CLASS classe) {
    std::unique_ptr<BYTE[]> dati;
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return dati;
    DWORD lunghezza = 0;
    ::GetTokenInformation(token, classe, nullptr, 0, &lunghezza);
    if (lunghezza > 0) {
        dati = std::make_unique<BYTE[]>(lunghezza);
        if (!::GetTokenInformation(token, classe, dati.get(), lunghezza, &lunghezza)) dati.reset();
    }
    ::CloseHandle(token);
    return dati;
}

bool SidNoto(PSID sid, WELL_KNOWN_SID_TYPE tipo) { return ::IsWellKnownSid(sid, tipo) != 0; }

// Those who may hold a user's folder besides the user: the system itself,
// the administrators, and the owner whoever it is.
bool Fidato(PSID sid, PSID utente) {
    return ::EqualSid(sid, utente) || SidNoto(sid, WinLocalSystemSid) || SidNoto(sid, WinBuiltinAdministratorsSid) ||
           SidNoto(sid, WinCreatorOwnerSid) || SidNoto(sid, WinCreatorOwnerRightsSid);
}

}  // namespace

QString ProblemaCartellaDati(const QString& cartella) {
    const std::wstring nome = QDir::toNativeSeparators(cartella).toStdWString();
    const DWORD attributi = ::GetFileAttributesW(nome.c_str());
    if (attributi == INVALID_FILE_ATTRIBUTES) return {};
    const QString mostrato = QDir::toNativeSeparators(cartella);
    if (!(attributi & FILE_ATTRIBUTE_DIRECTORY))
        return Messaggio(msg::CartellaNonSicura)
            .arg(mostrato, Messaggio(msg::NonCartella), Messaggio(msg::RimediSpostaCartella));

    // A file system without access lists (FAT on a USB stick) has nothing
    // to judge: whoever has the medium has the files.
    wchar_t radice[MAX_PATH + 1] = {};
    DWORD caratteristiche = 0;
    if (::GetVolumePathNameW(nome.c_str(), radice, MAX_PATH) &&
        ::GetVolumeInformationW(radice, nullptr, 0, nullptr, nullptr, &caratteristiche, nullptr, 0) &&
        !(caratteristiche & FILE_PERSISTENT_ACLS))
        return {};

    const auto utente = TokenDi(TokenUser);
    if (!utente) return {};
    const PSID io = reinterpret_cast<TOKEN_USER*>(utente.get())->User.Sid;
    PSID proprietario = nullptr;
    PACL accessi = nullptr;
    PSECURITY_DESCRIPTOR descrittore = nullptr;
    // The folder a link or junction leads to is the one judged, as stat does.
    if (::GetNamedSecurityInfoW(nome.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                                &proprietario, nullptr, &accessi, nullptr, &descrittore) != ERROR_SUCCESS)
        return {};
    std::unique_ptr<void, decltype(&::LocalFree)> libera(descrittore, &::LocalFree);
    if (proprietario && !Fidato(proprietario, io)) {
        // A program run with the administrators' rights makes its folders
        // theirs: still this user's own.
        const auto titolare = TokenDi(TokenOwner);
        if (!titolare || !::EqualSid(proprietario, reinterpret_cast<TOKEN_OWNER*>(titolare.get())->Owner))
            return Messaggio(msg::CartellaNonSicura)
                .arg(mostrato, Messaggio(msg::DiAltroUtente), Messaggio(msg::RimediSpostaCartella));
    }
    // No access list at all lets everyone in.
    bool altriScrivono = accessi == nullptr;
    constexpr ACCESS_MASK Scrittura = FILE_ADD_FILE | FILE_WRITE_DATA | FILE_ADD_SUBDIRECTORY | FILE_APPEND_DATA |
                                      FILE_DELETE_CHILD | DELETE | WRITE_DAC | WRITE_OWNER | GENERIC_WRITE |
                                      GENERIC_ALL;
    for (DWORD i = 0; accessi && !altriScrivono && i < accessi->AceCount; ++i) {
        void* voce = nullptr;
        if (!::GetAce(accessi, i, &voce)) continue;
        const auto* intestazione = static_cast<ACE_HEADER*>(voce);
        if (intestazione->AceType != ACCESS_ALLOWED_ACE_TYPE || (intestazione->AceFlags & INHERIT_ONLY_ACE)) continue;
        const auto* permesso = static_cast<ACCESS_ALLOWED_ACE*>(voce);
        const PSID chi = const_cast<DWORD*>(&permesso->SidStart);
        if ((permesso->Mask & Scrittura) != 0 && !Fidato(chi, io) && !(proprietario && ::EqualSid(chi, proprietario)))
            altriScrivono = true;
    }
    if (altriScrivono)
        return Messaggio(msg::CartellaNonSicura)
            .arg(mostrato, Messaggio(msg::ScrivibileDaAltri), Messaggio(msg::RimediPermessiWindows));
    return {};
}
