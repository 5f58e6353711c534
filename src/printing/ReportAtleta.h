// The athlete's report: one A4 portrait page a fitter hands over at the end of
// a fitting, drawn as vectors (text stays text, the drawing stays sharp), in
// the current language: the studio's name, address and logo, and the date; the athlete's name,
// age, sex, height and weight; the six body measures and the saddle length;
// the ten fit results beside the athlete's own set-up and the difference; the
// bicycle with the athlete's values at its dimension lines and the fit
// coordinates; the condition summary with the training zones. When the
// athlete has recorded fittings or tests a second page tells the latest
// fitting, its frame with the closest cockpit and what changed since the one
// before, and the latest test with its zones.
#pragma once

#include "Archivio.h"
#include "RegistroAssetti.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

class QPainter;
class QPagedPaintDevice;
class QRectF;
class QWidget;

struct RisultatoReport {
    QString nome;        // "Saddle height (HS)"
    QString calcolato;   // the text of the fit sheet: " 69", " 48 - 50.3", "n.d."
    QString set;         // the athlete's own value, or empty where there is none
    QString differenza;  // set minus computed ("+1.5", "0"), or empty
};

// Everything the page shows, worked out from one row of the archive.
struct DatiReport {
    // The studio at the head of each page: its name, address and logo, as
    // the coach saved them (DatiStudio.h); without a name, the program's.
    QString studio, indirizzoStudio;
    QImage logoStudio;
    QString nome, eta, sesso, altezza, peso;
    std::array<QString, 6> misure;  // inseam, torso, thigh, leg, arm, shoulders
    QString sella;
    bool sellaPredefinita = false;
    std::array<RisultatoReport, 10> assetto;  // TP, TO, PE, alfa, piega, pipa, HS, DSM, SM, R
    QString imc, classe, pesoIdeale, range, metabolismo, fabbisogno, fcMax;
    std::array<QString, 5> cooper, karvonen;
    // The fit coordinates, saddle, nose and handlebar: from the fit, from the
    // athlete's own set-up (empty where not given), and the change.
    std::array<QString, 3> coordinateAssetto, coordinateSet, spostamento;
    // The latest recorded fitting, when there is one: its date, bike and
    // discipline, its frame's lines, and the changes since the one before.
    QString ultimoAssetto, titoloCambiamenti;
    QStringList telaio;
    std::vector<registro::Cambiamento> cambiamenti;
    // The latest test, when there is one: its title, the maximum in use, and
    // its zones (name and range) by heart rate and by power, with W/kg.
    QString ultimoTest, massimaTest, titoloFriel, titoloCoggan, wattPerKg;
    std::vector<std::pair<QString, QString>> zoneFriel, zoneCoggan;
};

// `assetti`: the athlete's recorded fittings, newest first.
// `test`: the athlete's tests, newest first.
DatiReport PreparaReport(const archivio::Riga& riga, const std::vector<archivio::Assetto>& assetti = {},
                         const std::vector<archivio::TestAtleta>& test = {});

// Draws the page on a painter already begun on an A4 portrait device.
void DisegnaReport(QPainter& pittore, const QPagedPaintDevice& pagina, const DatiReport& dati);
// True when the report has its second page: the recorded fittings, the tests.
inline bool ConPaginaAssetti(const DatiReport& dati) {
    return !dati.ultimoAssetto.isEmpty() || !dati.ultimoTest.isEmpty();
}
// Draws that page, after the device has begun a new page.
void DisegnaPaginaAssetti(QPainter& pittore, const QPagedPaintDevice& pagina, const DatiReport& dati);

// The file name proposed for the report of an athlete: the athlete, the
// report and today's date, "Rossi Mario - Scheda dell'atleta - 2024-06-01.pdf".
QString NomeFileReport(const QString& atleta);

// Writes the report of the row as a PDF file, replaced whole or not at all.
// False, with the reason, when it cannot be written.
bool ScriviReportPdf(const archivio::Riga& riga, const QString& file, QString* errore = nullptr,
                     const std::vector<archivio::Assetto>& assetti = {},
                     const std::vector<archivio::TestAtleta>& test = {});

// The report of the row on the printer, or, without one, as a PDF file with
// the same questions as the screen printout: the save dialog proposes
// NomeFileReport, ".pdf" is added to a name chosen without it, and a file
// that cannot be written is said so, with the reason.
void StampaReportAtleta(QWidget* finestra, const archivio::Riga& riga,
                        const std::vector<archivio::Assetto>& assetti = {},
                        const std::vector<archivio::TestAtleta>& test = {});
