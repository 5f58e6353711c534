// The messages of the data menu (backups, restores, the CSV export and
// import and its preview, the passphrase's outcome) and of the import and
// conversion of the earlier program's archive, by name: each the number of
// its text in the [Strings] section of the language files. A pair of a
// count's texts is named for one and for more.
#pragma once

#include "IdMessaggi.h"

namespace msg {

// ---- The data menu ----
inline constexpr Id VoceReport = "0250";             // "Athlete report (print or PDF)..."
inline constexpr Id VoceEsportaCsv = "0251";         // "Export the archive to a spreadsheet (CSV)..."
inline constexpr Id VoceImportaCsv = "0252";         // "Import athletes from a spreadsheet (CSV)..."
inline constexpr Id VoceImportaPrecedente = "0600";  // "Import an archive of the earlier program..."
inline constexpr Id VoceSalvaCopia = "0253";         // "Back up the archive..."
inline constexpr Id VoceRipristinaCopia = "0254";    // "Restore the archive from a backup..."
inline constexpr Id VoceProteggi = "0690";           // "Protect the archive..."
inline constexpr Id VoceDatiStudio = "0580";         // "Studio details (name, address, logo)..."
inline constexpr Id FiltroCsv = "0255";              // "CSV files (*.csv)"
inline constexpr Id FiltroCopie = "0256";            // "Tovarin Project backups (*.dmg)"
inline constexpr Id NessunAtletaMostrato = "0283";   // "No athlete shown."
inline constexpr Id FileNonLetto = "0274";           // "The file "%1" could not be read:"

// ---- The CSV export ----
inline constexpr Id AtletaEsportato = "0309";      // "%1 athlete exported to "%2"."
inline constexpr Id AtletiEsportati = "0257";      // "%1 athletes exported to "%2"."
inline constexpr Id EsportazioneFallita = "0258";  // "The archive could not be exported:"
inline constexpr Id CsvNonCifrato = "0652";        // the CSV file is not encrypted: keep it safe

// ---- The CSV import and its preview ----
inline constexpr Id AtletaDaAggiungere = "0310";   // "The file "%1" holds %2 athlete to add ..."
inline constexpr Id AtletiDaAggiungere = "0259";   // "The file "%1" holds %2 athletes to add ..."
inline constexpr Id OmonimoPresente = "0311";      // "%1 of them has the name of an athlete already there."
inline constexpr Id OmonimiPresenti = "0260";      // "%1 of them have the name of an athlete already there."
inline constexpr Id UgualePresente = "0316";       // "%1 more is already in the archive, the same in every ..."
inline constexpr Id UgualiPresenti = "0291";       // "%1 more are already in the archive, the same in every ..."
inline constexpr Id RigheEscluse = "0261";         // "Lines left out (%1):"
inline constexpr Id RigaEsclusa = "0262";          // "line %1: %2"
inline constexpr Id AltraRigaEsclusa = "0317";     // "... and %1 more line left out"
inline constexpr Id AltreRigheEscluse = "0301";    // "... and %1 more lines left out"
inline constexpr Id AggiungereAccettati = "0271";  // "Add the accepted athletes to the archive?"
// Why a line is left out.
inline constexpr Id NumeroCampi = "0263";          // "%1 fields instead of 34"
inline constexpr Id VirgoletteErrate = "0264";     // "a quote not closed or out of place"
inline constexpr Id RigaTroppoLunga = "0265";      // "line longer than 1 MB"
inline constexpr Id MisuraNonNumero = "0266";      // "the measure %1 is not a number"
inline constexpr Id NonUnaData = "0267";           // "%1 is not a date"
inline constexpr Id AnnoADueCifre = "0293";        // "%1 has a two-digit year: ..."
inline constexpr Id SessoNonValido = "0268";       // "the sex is not M, F or empty"
inline constexpr Id AttivitaSconosciuta = "0269";  // "unknown work activity"
inline constexpr Id AttivFisNonValida = "0270";    // "AttivFis is not 0 or 1"
inline constexpr Id NomeMancante = "0292";         // "the name is missing"
// Why a whole file is refused.
inline constexpr Id FileNonTesto = "0272";        // "The file "%1" is not a text file: no athlete added."
inline constexpr Id IntestazioneErrata = "0273";  // the first line does not name the 34 columns
inline constexpr Id PrimaRigaCampi = "0318";      // "The first line has %1 fields."
inline constexpr Id ColonnaSconosciuta = "0319";  // ""%1" is not the name of a column ..., or it comes twice."
// What the import did.
inline constexpr Id AtletaAggiunto = "0312";            // "%1 athlete added to the archive from "%2"."
inline constexpr Id AtletiAggiunti = "0275";            // "%1 athletes added to the archive from "%2"."
inline constexpr Id AltroGiaPresente = "0315";          // "%1 more was already in the archive and was not added ..."
inline constexpr Id AltriGiaPresenti = "0314";          // "%1 more were already in the archive and were not added ..."
inline constexpr Id NessunAtletaDaAggiungere = "0276";  // "No athlete to add: the archive has not changed."
inline constexpr Id UnicoAtletaGiaPresente = "0320";    // no athlete to add: the file's one athlete is there already
inline constexpr Id TuttiGiaPresenti = "0302";          // no athlete to add: all the file's (%1) are there already
inline constexpr Id TuttoONiente = "0337";              // none added: a file is imported whole or not at all
inline constexpr Id AtletiNonAggiunti = "0455";         // the file's athletes could not be added, archive unchanged

// ---- Backups and restores ----
inline constexpr Id CopiaSalvataAtleta = "0313";    // "Backup of the archive saved to "%1" (%2 athlete)."
inline constexpr Id CopiaSalvataAtleti = "0277";    // "Backup of the archive saved to "%1" (%2 athletes)."
inline constexpr Id CopiaNonSalvata = "0278";       // "The backup could not be saved:"
inline constexpr Id SostituireConCopia = "0279";    // replace the archive with the backup? the current one stays
inline constexpr Id ArchivioRipristinato = "0280";  // "Archive restored from the backup "%1". ..."
inline constexpr Id CopiaNonValida = "0281";        // the backup was not used: not a valid backup
inline constexpr Id RipristinoFallito = "0282";     // "The archive could not be restored: ..."

// ---- The passphrase's outcome ----
inline constexpr Id ArchivioProtetto = "0704";     // "The archive is protected: ..."
inline constexpr Id PassphraseCambiata = "0705";   // "Passphrase changed: the old one no longer opens ..."
inline constexpr Id PassphraseTolta = "0706";      // "Passphrase removed: the archive opens without one."
inline constexpr Id ArchivioNonCambiato = "0707";  // "The archive has not been changed."

// ---- The earlier program's archive ----
inline constexpr Id FiltroArchiviPrecedenti = "0601";  // "Archives of the earlier program (*.dmg *.mdb);;..."
inline constexpr Id AccessNonLetto = "0607";  // "The file "%1" cannot be read as an archive of the earlier program."
// Why it cannot be read.
inline constexpr Id NonAccess = "0608";              // "it is not a Microsoft Access database"
inline constexpr Id AccessJet3 = "0609";             // an Access 97 (Jet 3) database: save it as Access 2000
inline constexpr Id AccessAccdb = "0610";            // an Access 2007 or later database: save it as Access 2000
inline constexpr Id AccessSenzaTabella = "0611";     // "it does not hold the table "atleta" ..."
inline constexpr Id AccessColonnaMancante = "0612";  // "the table "atleta" lacks the column "%1""
inline constexpr Id AccessTipoColonna = "0613";      // the column "%1" is not of the type the earlier program used
inline constexpr Id AccessTroncato = "0614";         // "the file is incomplete: ..."
inline constexpr Id AccessDanneggiato = "0615";      // "the file is damaged"
inline constexpr Id EAltriN = "0620";                // "and %1 more", after the first names
// Converting the archive at the start.
inline constexpr Id DaConvertireAtleta = "0603";   // the earlier program's archive (Access 2000), with %2 athlete: %3
inline constexpr Id DaConvertireAtleti = "0602";   // the earlier program's archive (Access 2000), with %2 athletes: %3
inline constexpr Id DaConvertireVuoto = "0629";    // the earlier program's archive (Access 2000), without athletes
inline constexpr Id ConvertireOra = "0624";        // convert it now? the original stays beside it as "%1"
inline constexpr Id ConversioneNonFatta = "0606";  // "... has not been converted: the file is as it was."
inline constexpr Id ConvertitoAtleta = "0605";     // "Archive converted: %1 athlete of the earlier program ..."
inline constexpr Id ConvertitoAtleti = "0604";     // "Archive converted: %1 athletes of the earlier program ..."
inline constexpr Id ConversioneAllAvvio = "0627";  // the earlier program's archive: starting the program converts it
inline constexpr Id AggiuntaDaRiga = "0628";       // its athletes are added with tovarin --import-access
// Adding its athletes to the open archive.
inline constexpr Id PrecedenteAtleta = "0617";       // "... an archive of the earlier program with %2 athlete: %3."
inline constexpr Id PrecedenteAtleti = "0616";       // "... an archive of the earlier program with %2 athletes: %3."
inline constexpr Id PrecedenteVuoto = "0621";        // an archive of the earlier program without athletes
inline constexpr Id DiQuestiPresente = "0631";       // "Of these, %1 is already in the archive, ..."
inline constexpr Id DiQuestiPresenti = "0630";       // "Of these, %1 are already in the archive, ..."
inline constexpr Id AggiungerloDomanda = "0626";     // "Add it to the archive?"
inline constexpr Id AggiungerliDomanda = "0625";     // "Add them all to the archive?"
inline constexpr Id AggiuntoDaPrecedente = "0619";   // "%1 athlete added to the archive from the earlier program ..."
inline constexpr Id AggiuntiDaPrecedente = "0618";   // "%1 athletes added to the archive from the earlier program ..."
inline constexpr Id PrecedentiNonAggiunti = "0622";  // the athletes of the earlier program have not been added
inline constexpr Id AggiungereDaPrecedente =
    "0623";  // an earlier program's archive, no backup nor CSV: add its athletes?

}  // namespace msg
