// The messages of the program's start, the athletes window, the record
// navigator, the help and the About box, by name: each the number of its
// text in the [Strings] section of the language files.
#pragma once

#include "IdMessaggi.h"

namespace msg {

// ---- The start ----
inline constexpr Id ApertoDaAltroUtente = "0322";  // the archive in "%1" is open in another user's program here
inline constexpr Id ApertoMaMuto = "0323";         // the program is open on this archive but does not answer
// A data folder another user could tamper with: what, why, how to mend it.
inline constexpr Id CartellaNonSicura = "0324";      // "The data folder "%1" is not safe: %2. ... To mend it, %3"
inline constexpr Id DiAltroUtente = "0325";          // "it belongs to another user"
inline constexpr Id ScrivibileDaAltri = "0326";      // "other users can write to it"
inline constexpr Id NonCartella = "0329";            // "it is not a folder"
inline constexpr Id RimediChmod = "0327";            // run chmod go-w "%1" in a terminal and start again
inline constexpr Id RimediSpostaCartella = "0328";   // move or rename the folder and start again: a new one is made
inline constexpr Id RimediPermessiWindows = "0750";  // remove the other users' right to change it (Security tab)

// ---- The athletes window ----
inline constexpr Id EliminaAtletaMostrato = "0027";  // "Delete the athlete shown from the archive?"
inline constexpr Id EliminaAtleta = "0550";          // "Delete the athlete %1 from the archive?"
inline constexpr Id VaConAssetto = "0338";           // "The athlete's recorded fitting goes with them."
inline constexpr Id VaConAssetti = "0339";           // "The athlete's %1 recorded fittings go with them."
inline constexpr Id VaConTest = "0551";              // "The athlete's test goes with them."
inline constexpr Id VaConTests = "0552";             // "The athlete's %1 tests go with them."
inline constexpr Id VannoConEntrambi = "0553";       // "The athlete's %1 and %2 go with them."
inline constexpr Id UnAssetto = "0554";              // "recorded fitting"
inline constexpr Id NAssetti = "0555";               // "%1 recorded fittings"
inline constexpr Id UnTest = "0556";                 // "test"
inline constexpr Id NTest = "0557";                  // "%1 tests"

// ---- The record navigator and the sheet's name box, for a screen reader ----
inline constexpr Id PrimoAtleta = "0330";       // "First athlete (Ctrl+Home)"
inline constexpr Id AtletaPrecedente = "0331";  // "Previous athlete (Page Up)"
inline constexpr Id AtletaSuccessivo = "0332";  // "Next athlete (Page Down)"
inline constexpr Id UltimoAtleta = "0333";      // "Last athlete (Ctrl+End)"
inline constexpr Id ElencoAtleti = "0334";      // "List of athletes (F4)"
inline constexpr Id NomeAtleta = "0335";        // "Athlete's name"

// ---- The help ----
inline constexpr Id GuidaMancante = "0064";         // "The help file "%1" was not found."
inline constexpr Id GuidaIlleggibile = "0065";      // the help file cannot be read: not a help file, or damaged
inline constexpr Id ArgomentoMancante = "0066";     // "The topic "%1" is not in the help file "%2"."
inline constexpr Id ArgomentoIlleggibile = "0067";  // the topic cannot be read: the file is damaged
inline constexpr Id Sommario = "0068";              // "Contents"

// ---- Links and the About box ----
inline constexpr Id IndirizzoDaCopiare = "0336";  // no program opens the address: here it is, to copy
inline constexpr Id SenzaGaranzia = "0044";       // "The program is provided as it is, without any warranty."

}  // namespace msg
