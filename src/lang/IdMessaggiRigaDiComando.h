// The messages of the command line (its usage, its verbs, the passphrase
// asked or read from a file) and of the program's start, by name: each the
// number of its text in the [Strings] section of the language files. Those
// of --fit and --zones are in IdMessaggi.h.
#pragma once

#include "IdMessaggi.h"

namespace msg {

// ---- The usage ----
inline constexpr Id Uso = "0560";              // "usage:"
inline constexpr Id SegnapostoNome = "0565";   // "NAME"
inline constexpr Id SegnapostoFile = "0566";   // "FILE"
inline constexpr Id SegnapostoGradi = "0567";  // "DEG"
// What each verb does.
inline constexpr Id UsoFinestra = "0561";       // "the program's window"
inline constexpr Id UsoEsportaCsv = "0562";     // "every athlete to a CSV file"
inline constexpr Id UsoImportaCsv = "0563";     // "the athletes of a CSV file added, all of them or none"
inline constexpr Id UsoImportaAccess = "0632";  // the athletes of the earlier program's archive added, all or none
inline constexpr Id UsoCopia = "0564";          // "a backup of the archive"
inline constexpr Id UsoReport = "0568";         // the report of the first athlete of that name
inline constexpr Id UsoAssetto = "0569";        // the fit coordinates of the first athlete of that name, ...
inline constexpr Id UsoZone = "0570";           // the zones of the athlete's latest test, or of the values given
inline constexpr Id UsoProteggi = "0666";       // sets or changes the archive's passphrase
inline constexpr Id UsoSproteggi = "0667";      // "removes the archive's passphrase"
inline constexpr Id UsoFileFrase = "0668";      // with any command: the passphrase, from a file only you can read
inline constexpr Id UsoAiuto = "0571";          // "this text"
inline constexpr Id StatiUscita = "0572";       // "Exit status: 0 done, 1 refused or failed ..., 2 ..."

// ---- The verbs ----
inline constexpr Id ArchivioInesistente = "0289";  // "The archive does not exist: "%1"."
inline constexpr Id ReportNonCreato = "0284";      // "The athlete report could not be created:"
inline constexpr Id NessunAtletaDiNome = "0287";   // "No athlete named "%1" in the archive."
inline constexpr Id ReportSalvato = "0288";        // "Report of "%1" saved to "%2"."

// ---- The passphrase at the command line ----
inline constexpr Id PassphraseDellArchivio = "0653";   // "Passphrase of the archive %1: "
inline constexpr Id PassphraseNonData = "0654";        // locked: give it with --passphrase-file, or at a terminal
inline constexpr Id FileFraseNonLetto = "0655";        // "The passphrase file %1 is not read: %2."
inline constexpr Id FileFraseLeggibile = "0656";       // other users can read or write it (chmod 600)
inline constexpr Id FileFraseNonRegolare = "0657";     // "it is not a regular file"
inline constexpr Id FileFraseTroppoLungo = "0658";     // "it is longer than %1 bytes"
inline constexpr Id FileFraseVuoto = "0659";           // "it is empty"
inline constexpr Id FileFraseIlleggibile = "0660";     // "it cannot be read"
inline constexpr Id NuovaPassphrase = "0670";          // "New passphrase: "
inline constexpr Id NuovaPassphraseAncora = "0671";    // "The new passphrase again: "
inline constexpr Id PassphraseDiverse = "0672";        // the two passphrases typed differ: archive unchanged
inline constexpr Id NuovaPassphraseMancante = "0673";  // no new passphrase: give it with --new-passphrase-file ...
inline constexpr Id OraProtetto = "0661";              // "The archive %1 is now locked by the passphrase. ..."
inline constexpr Id PassphraseSostituita = "0662";     // "The passphrase of the archive %1 has been changed."
inline constexpr Id PassphraseRimossa = "0663";        // "The archive %1 no longer has a passphrase."
inline constexpr Id PassphraseNonCambiata = "0664";    // the passphrase has not been changed, the archive as it was
inline constexpr Id NienteDaRimuovere = "0665";        // "The archive %1 has no passphrase to remove."

// ---- The language at the start ----
inline constexpr Id LinguaSconosciuta = "0304";      // the settings name a language the program does not have
inline constexpr Id FileLinguaIlleggibile = "0305";  // the language file is missing or cannot be read
inline constexpr Id TestiMancanti = "0306";          // the language file lacks %2 texts, or holds them damaged
inline constexpr Id TestoMancante = "0307";          // the language file lacks one text, or holds it damaged

}  // namespace msg
