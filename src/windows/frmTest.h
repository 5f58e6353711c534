// The athlete's tests, beside the condition sheet: the measured maximum
// heart rate, the lactate-threshold heart rate and the functional threshold
// power, kept over time, newest first, added, changed and deleted here; the
// zones of the latest test (Friel's seven heart-rate zones, Coggan's seven
// power zones, watts per kilogram) and the season's FTP and W/kg in a chart.
// It follows the athlete the condition sheet shows; the sheet uses the latest
// test's measured maximum.
#pragma once

#include "Archivio.h"

#include <QPointer>
#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

namespace Ui {
class frmTest;
}
class GraficoStagione;
class LegameArchivio;

class frmTest : public QWidget {
    Q_OBJECT

public:
    explicit frmTest(QWidget* genitore = nullptr);
    ~frmTest() override;

    // Follows the athlete of this record set (the condition sheet's).
    void Segui(LegameArchivio* legame);
    const std::vector<archivio::TestAtleta>& Test() const { return test_; }

    // The editor emptied for a new test of today, the card's weight offered.
    void NuovoTest();
    // The editor's test added, or the chosen one changed. False when nothing
    // was written (the coach has been told why).
    bool RegistraTest();
    // The chosen test deleted, after its question.
    void EliminaTest();
    // The editor holds what the coach typed, not yet recorded.
    bool InScrittura() const { return modificato_; }

protected:
    // Delete in the list deletes the chosen test.
    bool eventFilter(QObject* oggetto, QEvent* evento) override;
    // A test being typed is recorded or dropped at the coach's word first.
    void closeEvent(QCloseEvent* evento) override;

signals:
    // A test was added, changed or deleted: the latest may be another.
    void TestCambiati();

private:
    // Before the editor shows another test: a test being typed is recorded
    // at the coach's word (Yes), or dropped (No); Cancel, where offered,
    // keeps it. False for Cancel, or a record that failed.
    bool ConfermaModifiche(bool conAnnulla = false);
    void Aggiorna();
    void MostraScelto();
    void MostraZone();

    QPointer<LegameArchivio> legame_;
    std::vector<archivio::TestAtleta> test_;
    GraficoStagione* grafico_ = nullptr;
    std::optional<std::int64_t> atleta_;  // whose tests the window shows
    bool modificato_ = false;             // the editor holds what the coach typed, not yet recorded
    bool caricamento_ = false;            // the editor is being filled by the window
    std::unique_ptr<Ui::frmTest> ui;
};

// Opens the tests (once) beside the main window, never over the condition
// sheet's maximum heart rate, following the sheet's athlete.
frmTest* MostraTest(QWidget* scheda, LegameArchivio* legame);
