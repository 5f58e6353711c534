// The archive of the earlier program (an Access 2000 file) as the coach meets
// it: recognised at start as "tvp.dmg" and offered for conversion, imported
// from the athlete card's menu after a preview, recognised when given to a
// restore or to a CSV import. Each says what the old file holds before
// anything is done, and what was done after, or why not.
#pragma once

#include "ArchivioAccess.h"

#include <QString>

class LegameArchivio;
class QWidget;

// Why the old file is not read, as a phrase without final full stop.
QString DescriviRifiutoAccess(const archivio::EsitoAccess& esito, const QString& file);
// The whole message: the file that cannot be read, and why.
QString TestoAccessNonLetto(const archivio::EsitoAccess& esito, const QString& file);
// The first names of the old file, and how many more: "Rossi, Bianchi and 3 more".
QString NomiAnteprimaAccess(const archivio::AnteprimaAccess& anteprima);
// TestoArchivioNonAperto, and when the file is the earlier program's archive,
// what to do with it.
QString TestoArchivioNonApertoOPrecedente(const QString& file, const archivio::Errore& errore);
// When `file` is an archive of the earlier program, how to import it instead
// of a CSV file; empty otherwise.
QString SuggerimentoArchivioPrecedente(const QString& file);
// What an import did: how many athletes came along.
QString DescriviImportazioneAccess(const archivio::RiepilogoAccess& fatto, const QString& file);

// At start, before any window opens the archive: when `archivioFile` is the
// earlier program's archive, shows how many athletes it holds and the first
// names, and offers to convert it; the old file is kept beside the new
// archive under a dated name. Declining changes nothing. True when it was
// converted.
bool OffriConversioneArchivioPrecedente(QWidget* finestra, const QString& archivioFile);

// The card's menu: an old file chosen, its athletes previewed, then added to
// the open archive all or none.
void ImportaArchivioPrecedente(QWidget* finestra, LegameArchivio* legame);
// The same for a file already chosen.
void ImportaArchivioPrecedenteDa(QWidget* finestra, LegameArchivio* legame, const QString& file);

// For the restore and the CSV import: when `file` is an archive of the
// earlier program, says so and offers to import its athletes instead. True
// when it was one (whatever the coach answered): the caller goes no further.
bool OffertoComeArchivioPrecedente(QWidget* finestra, LegameArchivio* legame, const QString& file);
