// Taking the data away, from the athlete card's menu and the sheets: the
// athlete's report, the archive as a spreadsheet (export and import), a
// backup of the archive and restoring one, the archive's passphrase. Each asks for its file, works
// through the window's own record set, and says what it did or why not.
#pragma once

#include "ArchivioCsv.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

class LegameArchivio;
class QToolButton;
class QWidget;

// The file dialogs; tests replace them. Empty: cancelled.
struct ServiziFileDati {
    std::function<QString(QWidget* finestra, const QString& titolo, const QString& nomeProposto, const QString& filtro)>
        salva;
    std::function<QString(QWidget* finestra, const QString& titolo, const QString& filtro)> apri;
};
void ImpostaServiziFileDati(ServiziFileDati servizi);
const ServiziFileDati& ServiziFileDatiCorrenti();
// The file to open, through the dialog in use; empty: cancelled.
QString ChiediFileDaAprire(QWidget* finestra, const QString& titolo, const QString& filtro);

void StampaReportAtletaMostrato(QWidget* finestra, LegameArchivio* legame);
// The recorded fittings of the athlete shown, newest first; none when they
// cannot be read.
std::vector<archivio::Assetto> AssettiDellAtleta(const LegameArchivio* legame);
// The athlete's tests, newest first; none when they cannot be read.
std::vector<archivio::TestAtleta> TestDellAtleta(const LegameArchivio* legame);
void EsportaArchivioCsv(QWidget* finestra, LegameArchivio* legame);
void ImportaArchivioCsv(QWidget* finestra, LegameArchivio* legame);
void SalvaCopiaArchivio(QWidget* finestra, LegameArchivio* legame);
void RipristinaCopiaArchivio(QWidget* finestra, LegameArchivio* legame);
// The archive's passphrase set, changed or removed, and the idle lock's time
// chosen, in their dialog; what was done said.
void ProteggiArchivio(QWidget* finestra, LegameArchivio* legame);

// Gives the card's button its menu of its actions (the last, the studio's
// details for the report), in the language of the moment it opens,
// right-aligned under the button and kept on the screen.
void PreparaMenuDati(QToolButton* pulsante, QWidget* finestra, LegameArchivio* legame);
// Where a menu of that size opens under a button (screen coordinates).
QPoint PosizioneMenu(const QRect& pulsante, const QSize& menu, const QRect& schermo);

// Gives a sheet's button the report of the athlete shown.
void PreparaPulsanteReport(QToolButton* pulsante, QWidget* finestra, LegameArchivio* legame);

// The CSV form of the user's locale: semicolons where its decimal separator
// is a comma.
archivio::FormatoCsv FormatoCsvLocale();

// Why a line was left out, in the current language.
QString DescriviRifiuto(const archivio::LineaRifiutata& riga);
// The label of a column's box on the athlete card ("Data di nascita" for
// `datanascita`), as the card shows it now.
QString EtichettaColonna(std::string_view colonna);
// What an import found wrong with the whole file, and where; empty when
// nothing.
QString DescriviRifiutoFile(const archivio::RiepilogoImportazione& lettura, const QString& file);
// What an import did: how many athletes it added, and how many it found
// already there; or that the archive has not changed.
QString DescriviImportazione(const archivio::RiepilogoImportazione& fatto, const QString& file);
// That the athletes of the file could not be added to the archive (which
// has not changed); the reason follows.
QString DescriviImportazioneFallita(const QString& file);
// "… and 3 more lines left out".
QString DescriviAltreRifiutate(std::size_t altre);
// The warning that the CSV file an export writes is not encrypted, said
// when the archive has a passphrase (Archivio::protetto).
QString AvvisoCsvNonCifrato();
// What an export and a backup did.
QString DescriviEsportazione(std::size_t quanti, const QString& file);
QString DescriviCopia(std::int64_t righe, const QString& file);
