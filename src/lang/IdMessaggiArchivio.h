// The messages of the archive's warnings, by name: what could not be done
// with the archive and why, in the words the windows and the command line
// share. Each the number of its text in the [Strings] section of the
// language files.
#pragma once

#include "IdMessaggi.h"

namespace msg {

// ---- What failed ----
inline constexpr Id ArchivioNonAperto = "0082";     // "The archive of athletes cannot be opened:"
inline constexpr Id AtletaNonScritto = "0083";      // "The changes to the athlete %1 cannot be written to ..."
inline constexpr Id AtletaNonEliminato = "0086";    // "The athlete %1 cannot be deleted from the archive:"
inline constexpr Id AtletaNonLetto = "0087";        // "An athlete cannot be read from the archive:"
inline constexpr Id AssettoNonRegistrato = "0375";  // "The fitting of the athlete %1 cannot be recorded ..."
inline constexpr Id AssettoNonEliminato = "0376";   // "The fitting of the athlete %1 cannot be deleted ..."
inline constexpr Id AssettiNonLetti = "0377";       // "The fittings of the athlete %1 cannot be read ..."
inline constexpr Id TestNonLetti = "0410";          // "The tests of the athlete %1 cannot be read ..."
inline constexpr Id TestNonScritto = "0411";        // "The test of the athlete %1 cannot be written ..."

// ---- Why ----
inline constexpr Id Motivo = "0088";                 // "Reason", before the why of a failure
inline constexpr Id NonArchivio = "0070";            // not an archive of the program, or under another password
inline constexpr Id FileDanneggiato = "0071";        // "the file is damaged"
inline constexpr Id FileInUso = "0072";              // "the file is locked by another program"
inline constexpr Id SolaLettura = "0073";            // "the file or its folder is read-only"
inline constexpr Id DiscoPieno = "0074";             // "the disk is full"
inline constexpr Id AccessoNegato = "0075";          // "the system denies access to the file or its folder"
inline constexpr Id CartellaInesistente = "0076";    // "the file's folder does not exist"
inline constexpr Id FileInesistente = "0308";        // "the file does not exist"
inline constexpr Id SenzaTabellaAtleti = "0077";     // "the file holds no table of athletes"
inline constexpr Id ColonnaAtletiMancante = "0078";  // "the table of athletes lacks the column "%1""
inline constexpr Id AtletaScomparso = "0079";        // "the athlete is no longer in the archive"
inline constexpr Id ErroreDisco = "0080";            // "the disk could not be read or written"
inline constexpr Id ErroreImprevisto = "0081";       // "unexpected error"
inline constexpr Id TabellaAtletiEstranea = "0294";  // the table of athletes is not the program's: %1
inline constexpr Id UnaVista = "0295";               // "it is a view"
inline constexpr Id SenzaRowid = "0296";             // "it has no row ids (WITHOUT ROWID)"
inline constexpr Id ColonneDiverse = "0297";         // "its columns or constraints differ"
inline constexpr Id OggettoEstraneo = "0298";        // an object the program does not make (%1)
inline constexpr Id StessoArchivio = "0299";         // "the file chosen is the open archive itself"
inline constexpr Id FileTroppoGrande = "0300";       // "the file is larger than %1 MB"
inline constexpr Id NonUnFile = "0303";              // not an ordinary file: a folder, a device or a pipe
inline constexpr Id AssettoPiuRecente = "0343";      // the fitting was recorded by a newer version
inline constexpr Id TestPiuRecente = "0409";         // the test was recorded by a newer version
inline constexpr Id PassphraseRichiesta = "0650";    // locked by a passphrase, and none was given
inline constexpr Id PassphraseErrata = "0651";       // the passphrase is wrong, or not an archive
// A fault of the fittings' or the tests' table: which table, then what.
inline constexpr Id TabellaAssettiEstranea = "0450";  // the table of fittings is not the program's: %1
inline constexpr Id TabellaTestEstranea = "0451";     // the table of tests is not the program's: %1
inline constexpr Id MancaColonna = "0452";            // "it lacks the column "%1""
inline constexpr Id ColonnaDiversa = "0453";          // "its column "%1" differs"
inline constexpr Id IndiceEstraneo = "0454";          // an index that refuses equal values or computes its key

// ---- What follows ----
inline constexpr Id FinestreVuote = "0089";           // the file unchanged, the athlete windows empty
inline constexpr Id ModificheNellaFinestra = "0090";  // "The changes are still in the window."
inline constexpr Id ModifichePerse = "0091";          // "The changes have been lost."
inline constexpr Id ChiudereComunque = "0092";        // close the window anyway and lose the changes?
inline constexpr Id SenzaNome = "0093";               // "(without name)": an athlete with no name

// ---- The record navigator ----
inline constexpr Id Seleziona = "0420";  // "select": the athletes list when none is chosen

}  // namespace msg
