// The messages of the archive's passphrase in the windows (asked to open
// the archive or a backup, set, changed or removed, the idle lock), by name:
// each the number of its text in the [Strings] section of the language
// files. Those of the command line are in IdMessaggiRigaDiComando.h, the
// outcome the data menu reports in IdMessaggiDati.h.
#pragma once

#include "IdMessaggi.h"

namespace msg {

// ---- Asked to open ----
inline constexpr Id ArchivioConPassphrase = "0692";  // "The archive "%1" is protected by a passphrase: type it ..."
inline constexpr Id CopiaConPassphrase = "0712";     // "The backup "%1" is protected by a passphrase: type it ..."
inline constexpr Id ArchivioBloccato = "0713";       // locked after %1 minutes without use: type its passphrase
inline constexpr Id PassphraseSbagliata = "0691";    // wrong passphrase (or not an archive of this program): again
inline constexpr Id ScriviPassphrase = "0697";       // "Type the passphrase."

// ---- Protecting the archive ----
inline constexpr Id ConPassphrase = "0710";            // "The archive has a passphrase."
inline constexpr Id SenzaPassphrase = "0711";          // "The archive has no passphrase."
inline constexpr Id ScriviNuovaPassphrase = "0698";    // "Type the new passphrase, twice."
inline constexpr Id NuoveDiverse = "0696";             // the two new passphrases differ: type it again in both
inline constexpr Id PassphraseCorta = "0699";          // "A passphrase has at least %1 characters; this one has %2."
inline constexpr Id ScriviPassphraseAttuale = "0700";  // "Type the current passphrase."
inline constexpr Id AttualeErrata = "0701";       // "The current passphrase is wrong: the archive has not changed."
inline constexpr Id UsareDebole = "0702";         // "This passphrase is weak: it is easy to guess. Use it anyway?"
inline constexpr Id TogliereProtezione = "0703";  // remove the passphrase? archive and backups open for anyone
inline constexpr Id Debole = "0693";              // "Weak": a passphrase's strength
inline constexpr Id Discreta = "0694";            // "Fair"
inline constexpr Id Forte = "0695";               // "Strong"

// ---- The idle lock ----
inline constexpr Id BloccoMai = "0708";         // "Never"
inline constexpr Id BloccoMinuti = "0709";      // "%1 minutes"
inline constexpr Id BloccoNonSalvato = "0715";  // "The idle lock's time could not be kept in the settings."

}  // namespace msg
