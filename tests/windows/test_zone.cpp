// The athlete's tests beside the condition sheet, as a coach uses them: a
// test typed and recorded with the keys, its measured maximum taken by the
// sheet, its zones; a test changed and deleted; the report and the printout.
#include "Archivio.h"
#include "AtletaCorrente.h"
#include "Calendario.h"
#include "CartellaProva.h"
#include "Controlli.h"
#include "Messaggi.h"
#include "ReportAtleta.h"
#include "SupportoArchivio.h"
#include "frmCondizione.h"
#include "frmTest.h"
#include "mdi.h"
#include "modLanguageSupport.h"

#include <QtTest>

#include <memory>

namespace {

archivio::Riga Rossi() {
    return prova::RigaDi("Rossi", {{"datanascita", "01/01/1996"},
                                   {"sesso", "M"},
                                   {"pulsazioniriposo", "60"},
                                   {"peso", "70"},
                                   {"altezza", "180"}});
}

void Premi(Qt::Key tasto) {
    QWidget* dove = QApplication::focusWidget();
    QVERIFY(dove);
    QTest::keyClick(dove, tasto);
}

void Scrivi(const QString& testo) {
    QWidget* dove = QApplication::focusWidget();
    QVERIFY(dove);
    QTest::keyClicks(dove, testo);
}

QString Cella(QTableWidget* t, int r, int c) { return t->item(r, c) ? t->item(r, c)->text() : QString(); }

}  // namespace

class TestZone : public QObject {
    Q_OBJECT
    std::unique_ptr<CartellaProva> cartella;
    std::unique_ptr<mdi> principale;
    std::filesystem::path file;
    QMessageBox::StandardButton risposta = QMessageBox::Yes;
    QStringList messaggi;

    std::vector<archivio::TestAtleta> TestNelFile() {
        archivio::Archivio a;
        std::vector<archivio::TestAtleta> test;
        if (!a.Apri(file) || !a.LeggiTest(1, test)) qFatal("tests not read");
        return test;
    }
    void Registra(const char* data, const char* fcmax, const char* lthr, const char* ftp) {
        archivio::Archivio a;
        archivio::TestAtleta t;
        t.atleta = 1;
        t.data = data;
        t.fcmax = fcmax;
        t.lthr = lthr;
        t.ftp = ftp;
        t.peso = "70";
        std::int64_t id = 0;
        if (!a.Apri(file) || !a.RegistraTest(t, id)) qFatal("test not recorded");
    }
    // The condition sheet, and its tests opened with the keys.
    std::pair<frmCondizione*, frmTest*> Apri() {
        NomeAtletaCorrente = QStringLiteral("Rossi");
        QTest::mouseClick(Controllo<QPushButton>(principale, "cmdCondizione"), Qt::LeftButton);
        auto* scheda = qobject_cast<frmCondizione*>(principale->FiglioAttivo());
        if (!scheda) return {};
        Controllo<QPushButton>(scheda, "cmdTest")->setFocus();
        Premi(Qt::Key_Space);
        auto* test = qobject_cast<frmTest*>(QApplication::activeWindow());
        if (!test)
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* t = qobject_cast<frmTest*>(w); t && t->isVisible()) test = t;
        if (test) QApplication::setActiveWindow(test);  // as the window manager does
        return {scheda, test};
    }

private slots:
    void init() {
        cartella = std::make_unique<CartellaProva>();
        file = cartella->file("tvp.dmg");
        risposta = QMessageBox::Yes;
        messaggi.clear();
        ImpostaGestoreMessaggi([this](QWidget*, const QString&, const QString& testo, QMessageBox::StandardButtons) {
            messaggi << testo;
            return risposta;
        });
        principale = std::make_unique<mdi>();
        principale->ImpostaFinestre([](QWidget* g) { return new QWidget(g); },
                                    [](QWidget* g) { return new QWidget(g); },
                                    [](QWidget* g) { return new frmCondizione(g); }, nullptr);
        modLanguageSupport::LinguaCorrente = "italian";
        PercorsoArchivio = QString::fromStdString(file.string());
        RigaAtletaCorrente.reset();
        AtletaCorrenteVuoto = false;
        Calendario::ImpostaServizi({[] { return Calendario::Data{2026, 12, 10}; }});
        prova::CreaArchivio(file, {Rossi()});
        principale->show();
        QVERIFY(QTest::qWaitForWindowActive(principale.get()));
    }
    void cleanup() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<frmTest*>(w)) w->close();
        if (principale) principale->ChiudiFinestre();
        principale.reset();
        ImpostaGestoreMessaggi({});
        cartella.reset();
    }

    // A test typed with the keys; the card's weight taken; the sheet's
    // maximum becomes the measured one, said so, with the zones on it.
    void unTestDallaScheda() {
        auto [scheda, test] = Apri();
        QVERIFY(scheda && test);
        QCOMPARE(Controllo<QLabel>(scheda, "lblFCmax")->text(), QStringLiteral("190"));
        QVERIFY(!Controllo<QLabel>(scheda, "lblFcMisurata")->isVisible());
        QCOMPARE(Controllo<QLineEdit>(test, "txtData")->text(), QStringLiteral("2026-12-10"));
        Controllo<QLineEdit>(test, "txtFcMax")->setFocus();
        Scrivi("188");
        Premi(Qt::Key_Tab);
        Scrivi("160");
        Premi(Qt::Key_Tab);
        Scrivi("250");
        for (int i = 0; i < 4; ++i) Premi(Qt::Key_Tab);  // weight, notes, "new", "record"
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("cmdRegistra"));
        Premi(Qt::Key_Space);
        QVERIFY2(messaggi.isEmpty(), qPrintable(messaggi.join('\n')));

        const auto nelFile = TestNelFile();
        QCOMPARE(nelFile.size(), std::size_t(1));
        QCOMPARE(nelFile[0].fcmax, std::string("188"));
        QCOMPARE(nelFile[0].peso, std::string("70"));  // from the card
        QCOMPARE(Controllo<QLabel>(scheda, "lblFCmax")->text(), QStringLiteral("188"));
        QVERIFY(Controllo<QLabel>(scheda, "lblFcMisurata")->isVisible());
        QCOMPARE(Controllo<QLabel>(scheda, "lblC90100")->text(), QStringLiteral("169-188"));
        auto* zone = Controllo<QTableWidget>(test, "tblZone");
        QCOMPARE(Cella(zone, 1, 1), QStringLiteral("130-143"));
        QCOMPARE(Cella(zone, 4, 1), QStringLiteral("160-164"));
        QCOMPARE(Cella(zone, 3, 3), QStringLiteral("228-264"));
        QCOMPARE(Cella(zone, 6, 3), QStringLiteral("378+"));
        QCOMPARE(Controllo<QLabel>(test, "lblWkg")->text(), QStringLiteral("3.57 W/kg"));

        // Printed with the sheet.
        QCOMPARE(principale->FinestreAccanto(), QList<QWidget*>{test});
        // Every control the keys reach has a name a screen reader says.
        for (QWidget* w : test->findChildren<QWidget*>()) {
            if (!(w->focusPolicy() & Qt::TabFocus) || w->focusProxy() || !w->isVisibleTo(test)) continue;
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
            QVERIFY2(a && !a->text(QAccessible::Name).trimmed().isEmpty(), qPrintable(w->objectName()));
        }

        // A new test typed and the window closed: asked, it is recorded.
        QTest::mouseClick(Controllo<QPushButton>(test, "cmdNuovo"), Qt::LeftButton);
        Controllo<QLineEdit>(test, "txtFtp")->setFocus();
        Scrivi("300");
        test->close();
        QCOMPARE(messaggi.size(), 1);
        QCOMPARE(TestNelFile().size(), std::size_t(2));
        messaggi.clear();
    }

    // The older test chosen with Down and changed; Delete asks, then deletes
    // the newest: the sheet goes back to the estimate.
    void cambiaEdElimina() {
        Registra("2026-03-01", "", "150", "220");
        Registra("2026-09-01", "186", "158", "240");
        auto [scheda, test] = Apri();
        QVERIFY(scheda && test);
        QCOMPARE(Controllo<QLabel>(scheda, "lblFCmax")->text(), QStringLiteral("186"));
        auto* elenco = Controllo<QTreeWidget>(test, "lstTest");
        elenco->setFocus();
        Premi(Qt::Key_Down);
        QCOMPARE(Controllo<QLineEdit>(test, "txtFtp")->text(), QStringLiteral("220"));
        Controllo<QLineEdit>(test, "txtFtp")->setFocus();
        Premi(Qt::Key_Backspace);
        Scrivi("5");
        QVERIFY(test->RegistraTest());
        auto nelFile = TestNelFile();
        QCOMPARE(nelFile.size(), std::size_t(2));
        QCOMPARE(nelFile[1].ftp, std::string("225"));

        elenco->setFocus();
        Premi(Qt::Key_Home);
        risposta = QMessageBox::No;
        Premi(Qt::Key_Delete);
        QCOMPARE(TestNelFile().size(), std::size_t(2));
        risposta = QMessageBox::Yes;
        Premi(Qt::Key_Delete);
        nelFile = TestNelFile();
        QCOMPARE(nelFile.size(), std::size_t(1));
        QCOMPARE(nelFile[0].data, std::string("2026-03-01"));
        QCOMPARE(Controllo<QLabel>(scheda, "lblFCmax")->text(), QStringLiteral("190"));
        QVERIFY(!Controllo<QLabel>(scheda, "lblFcMisurata")->isVisible());
    }

    // The report's second page: the latest test, the maximum in use, both
    // zone tables and W/kg.
    void report() {
        archivio::TestAtleta t;
        t.data = "2026-09-01";
        t.fcmax = "188";
        t.lthr = "160";
        t.ftp = "250";
        t.peso = "70";
        const DatiReport d = PreparaReport(Rossi(), {}, {t});
        QVERIFY(ConPaginaAssetti(d));
        QVERIFY(d.ultimoAssetto.isEmpty());
        QVERIFY(d.massimaTest.contains(QStringLiteral("188")));
        QCOMPARE(d.zoneCoggan.size(), std::size_t(7));
        QCOMPARE(d.zoneCoggan[1].second, QStringLiteral("140-189 W"));
        QCOMPARE(d.zoneFriel[1].second, QStringLiteral("130-143 bpm"));
        QVERIFY(d.wattPerKg.contains(QStringLiteral("3.57")));
    }
};

QTEST_MAIN(TestZone)
#include "test_zone.moc"
