// The athlete's tests beside the condition sheet, as a coach uses them: a
// test typed and recorded with the keys, its measured maximum taken by the
// sheet, its zones; a test changed and deleted; the report and the printout.
#include "Archivio.h"
#include "AtletaCorrente.h"
#include "Calendario.h"
#include "CartellaProva.h"
#include "Controlli.h"
#include "GraficoStagione.h"
#include "Messaggi.h"
#include "RegistroAssetti.h"
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
    QMessageBox::StandardButtons pulsanti;  // of the last question

    std::vector<archivio::TestAtleta> TestNelFile() {
        archivio::Archivio a;
        std::vector<archivio::TestAtleta> test;
        if (!a.Apri(file) || !a.LeggiTest(1, test)) qFatal("tests not read");
        return test;
    }
    void Registra(const char* data, const char* fcmax, const char* lthr, const char* ftp, const char* peso = "70") {
        archivio::Archivio a;
        archivio::TestAtleta t;
        t.atleta = 1;
        t.data = data;
        t.fcmax = fcmax;
        t.lthr = lthr;
        t.ftp = ftp;
        t.peso = peso;
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
        ImpostaGestoreMessaggi([this](QWidget*, const QString&, const QString& testo, QMessageBox::StandardButtons p) {
            messaggi << testo;
            pulsanti = p;
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
        QCOMPARE(Cella(zone, 6, 3), QStringLiteral("376+"));
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
        QCOMPARE(messaggi.size(), 2);  // the two questions, nothing more
        QCOMPARE(Controllo<QLabel>(scheda, "lblFCmax")->text(), QStringLiteral("190"));
        QVERIFY(!Controllo<QLabel>(scheda, "lblFcMisurata")->isVisible());
    }

    // What is typed for a test is never lost unasked: moving to another test
    // or starting a new one asks first, Cancel keeps the typing where it is,
    // No lets it go once; moving about without typing asks nothing. The
    // zones' table holds its seven rows and four columns; the season's chart
    // only the tests with an FTP.
    void modificheNonPerse() {
        Registra("2026-01-10", "", "", "200", "");
        Registra("2026-03-01", "", "150", "");
        Registra("2026-09-01", "186", "158", "240");
        auto [scheda, test] = Apri();
        QVERIFY(scheda && test);
        auto* zone = Controllo<QTableWidget>(test, "tblZone");
        QCOMPARE(zone->rowCount(), 7);
        QCOMPARE(zone->columnCount(), 4);
        const auto friel = Modulo1::ZoneFriel(158), coggan = Modulo1::ZoneCoggan(240);
        for (int r = 0; r < 7; ++r) {
            const auto i = static_cast<std::size_t>(r);
            QCOMPARE(Cella(zone, r, 0), QString::fromStdString(friel[i].nome));
            QCOMPARE(Cella(zone, r, 1), QString::fromStdString(Modulo1::TestoZona(friel[i])));
            QCOMPARE(Cella(zone, r, 2), QString::fromStdString(coggan[i].nome));
            QCOMPARE(Cella(zone, r, 3), QString::fromStdString(Modulo1::TestoZona(coggan[i])));
        }
        // The season: the two tests with an FTP, one of them with a weight.
        const auto* grafico = test->findChild<GraficoStagione*>(QStringLiteral("grafico"));
        QVERIFY(grafico);
        QCOMPARE(grafico->Disponi().ftp.size(), std::size_t(2));
        QCOMPARE(grafico->Disponi().wattPerKg.size(), std::size_t(1));

        auto* elenco = Controllo<QTreeWidget>(test, "lstTest");
        elenco->setFocus();
        Premi(Qt::Key_Down);
        Premi(Qt::Key_Up);
        QVERIFY2(messaggi.isEmpty(), qPrintable(messaggi.join('\n')));

        auto* note = Controllo<QPlainTextEdit>(test, "txtNote");
        note->setFocus();
        Scrivi("gambe dure");
        Controllo<QPushButton>(test, "cmdNuovo")->setFocus();
        risposta = QMessageBox::Cancel;
        Premi(Qt::Key_Space);
        QCOMPARE(messaggi.size(), 1);
        QVERIFY(pulsanti & QMessageBox::Cancel);
        QCOMPARE(note->toPlainText(), QStringLiteral("gambe dure"));
        QCOMPARE(elenco->currentItem(), elenco->topLevelItem(0));

        risposta = QMessageBox::No;
        Premi(Qt::Key_Space);
        QCOMPARE(messaggi.size(), 2);
        QVERIFY(note->toPlainText().isEmpty());
        elenco->setFocus();
        Premi(Qt::Key_Home);
        Premi(Qt::Key_Down);
        QCOMPARE(messaggi.size(), 2);
        QCOMPARE(TestNelFile().size(), std::size_t(3));
    }

    // The newest test chosen on opening and changed in place; a test
    // recorded between two others chosen once written; a new one offers no
    // Delete; one that cannot be recorded keeps its typing when New is asked
    // for, and so does a close cancelled.
    void sceltaERegistrazione() {
        Registra("2026-03-01", "", "150", "220");
        Registra("2026-09-01", "186", "158", "240");
        auto [scheda, test] = Apri();
        QVERIFY(scheda && test);
        auto* elenco = Controllo<QTreeWidget>(test, "lstTest");
        QCOMPARE(elenco->currentItem(), elenco->topLevelItem(0));
        QCOMPARE(Controllo<QLineEdit>(test, "txtFcMax")->text(), QStringLiteral("186"));
        QVERIFY(Controllo<QPushButton>(test, "cmdElimina")->isEnabled());
        const auto scrivi = [&](const char* casella, const QString& testo) {
            auto* box = Controllo<QLineEdit>(test, casella);
            box->setFocus();
            box->selectAll();
            Scrivi(testo);
        };
        scrivi("txtFtp", QStringLiteral("245"));
        QVERIFY(test->RegistraTest());
        auto nelFile = TestNelFile();
        QCOMPARE(nelFile.size(), std::size_t(2));
        QCOMPARE(nelFile[0].ftp, std::string("245"));

        auto* nuovo = Controllo<QPushButton>(test, "cmdNuovo");
        nuovo->setFocus();
        Premi(Qt::Key_Space);
        QVERIFY(!Controllo<QPushButton>(test, "cmdElimina")->isEnabled());
        scrivi("txtData", QStringLiteral("2026-06-01"));
        scrivi("txtFtp", QStringLiteral("230"));
        QVERIFY(test->RegistraTest());
        QCOMPARE(TestNelFile().size(), std::size_t(3));
        QCOMPARE(elenco->currentItem()->text(0), QStringLiteral("2026-06-01"));

        nuovo->setFocus();
        Premi(Qt::Key_Space);
        scrivi("txtData", QStringLiteral("2026-13-01"));
        nuovo->setFocus();
        risposta = QMessageBox::Yes;  // record it: it cannot be
        Premi(Qt::Key_Space);
        QCOMPARE(Controllo<QLineEdit>(test, "txtData")->text(), QStringLiteral("2026-13-01"));
        scrivi("txtData", QStringLiteral("2026-07-01"));
        scrivi("txtFcMax", QStringLiteral("300"));  // no athlete has it
        nuovo->setFocus();
        Premi(Qt::Key_Space);
        QCOMPARE(Controllo<QLineEdit>(test, "txtFcMax")->text(), QStringLiteral("300"));
        // A write the archive refuses: said, and the typing kept.
        scrivi("txtFcMax", QStringLiteral("180"));
        prova::Sql(file, std::string(archivio::ChiaveArchivio),
                   "CREATE TRIGGER rifiuta BEFORE INSERT ON atleta_test BEGIN SELECT RAISE(ABORT, 'no'); END");
        const auto detti = messaggi.size();
        nuovo->setFocus();
        risposta = QMessageBox::Yes;
        Premi(Qt::Key_Space);
        QVERIFY2(messaggi.size() == detti + 2, qPrintable(messaggi.join('\n')));  // the question, the refusal
        QCOMPARE(Controllo<QLineEdit>(test, "txtFcMax")->text(), QStringLiteral("180"));
        prova::Sql(file, std::string(archivio::ChiaveArchivio), "DROP TRIGGER rifiuta");
        risposta = QMessageBox::Cancel;
        QVERIFY(!test->close());
        QVERIFY(pulsanti & QMessageBox::Cancel);
        QVERIFY(test->isVisible());
        QCOMPARE(Controllo<QLineEdit>(test, "txtFcMax")->text(), QStringLiteral("180"));
        QCOMPARE(TestNelFile().size(), std::size_t(3));
        risposta = QMessageBox::No;
        QVERIFY(test->close());
    }

    // An archive without athletes: the tests window opens with nothing to
    // type in.
    void archivioSenzaAtleti() {
        std::filesystem::remove(file);
        prova::CreaArchivio(file, {});
        auto [scheda, test] = Apri();
        QVERIFY(scheda && test);
        QCOMPARE(Controllo<QTreeWidget>(test, "lstTest")->topLevelItemCount(), 0);
        QVERIFY(!Controllo<QLineEdit>(test, "txtFcMax")->isEnabled());
        QVERIFY(!Controllo<QPushButton>(test, "cmdRegistra")->isEnabled());
    }

    // No test yet: nothing chosen, nothing to delete, Delete asks nothing.
    void senzaTest() {
        auto [scheda, test] = Apri();
        QVERIFY(scheda && test);
        auto* elenco = Controllo<QTreeWidget>(test, "lstTest");
        QCOMPARE(elenco->topLevelItemCount(), 0);
        QVERIFY(!Controllo<QPushButton>(test, "cmdElimina")->isEnabled());
        elenco->setFocus();
        Premi(Qt::Key_Delete);
        QVERIFY2(messaggi.isEmpty(), qPrintable(messaggi.join('\n')));
        QCOMPARE(Controllo<QLineEdit>(test, "txtData")->text(), QStringLiteral("2026-12-10"));
        // A note typed on the new test is asked about before it goes.
        Controllo<QPlainTextEdit>(test, "txtNote")->setFocus();
        Scrivi("recupero");
        risposta = QMessageBox::No;
        Controllo<QPushButton>(test, "cmdNuovo")->setFocus();
        Premi(Qt::Key_Space);
        QCOMPARE(messaggi.size(), 1);
    }

    // A value no athlete has is refused, named with its range, and the box
    // at fault keeps the caret; an unusual one is taken only at the coach's
    // word; a test dated after today is refused.
    void valoriDaNessunAtleta_data() {
        QTest::addColumn<QStringList>("valori");  // date, HR max, LTHR, FTP, weight
        QTest::addColumn<int>("risposta");
        QTest::addColumn<QString>("detto");
        QTest::addColumn<QString>("casella");  // the box at fault, empty when recorded
        const int si = QMessageBox::Yes, no = QMessageBox::No;
        QTest::newRow("soglia sopra la massima") << QStringList{"2026-12-10", "150", "170", "", ""} << si
                                                 << "FC di soglia (LTHR) 170 bpm non è possibile: la soglia sta "
                                                    "sotto la massima, FC max 150 bpm."
                                                 << "txtLthr";
        QTest::newRow("FTP 2500") << QStringList{"2026-12-10", "", "", "2500", ""} << si
                                  << "FTP 2500 W non è possibile: deve essere tra 30 W e 650 W."
                                  << "txtFtp";
        QTest::newRow("FTP 1") << QStringList{"2026-12-10", "", "", "1", ""} << si << "FTP 1 W non è possibile"
                               << "txtFtp";
        QTest::newRow("8 kg") << QStringList{"2026-12-10", "", "", "250", "8"} << si
                              << "Peso 8 kg non è possibile: deve essere tra 25 kg e 250 kg."
                              << "txtPeso";
        QTest::newRow("domani") << QStringList{"2026-12-11", "188", "", "", ""} << si
                                << "La data 2026-12-11 è successiva a oggi"
                                << "txtData";
        QTest::newRow("insolito, no") << QStringList{"2026-12-10", "", "", "500", ""} << no
                                      << "FTP 500 W è insolito: di solito è tra 80 W e 450 W."
                                      << "txtFtp";
        QTest::newRow("insolito, sì") << QStringList{"2026-12-10", "", "", "500", ""} << si << "FTP 500 W è insolito"
                                      << "";
        QTest::newRow("non una data") << QStringList{"2026-13-01", "188", "", "", ""} << si
                                      << "La data del test non è una data"
                                      << "txtData";
        QTest::newRow("ieri") << QStringList{"2026-12-09", "188", "160", "250", ""} << si << ""
                              << "";
    }
    void valoriDaNessunAtleta() {
        QFETCH(QStringList, valori);
        QFETCH(int, risposta);
        QFETCH(QString, detto);
        QFETCH(QString, casella);
        auto [scheda, test] = Apri();
        QVERIFY(scheda && test);
        const char* const caselle[] = {"txtData", "txtFcMax", "txtLthr", "txtFtp", "txtPeso"};
        for (int i = 0; i < 5; ++i) {
            auto* box = Controllo<QLineEdit>(test, caselle[i]);
            box->setFocus();
            box->selectAll();
            Premi(Qt::Key_Delete);
            Scrivi(valori[i]);
        }
        Controllo<QPushButton>(test, "cmdRegistra")->setFocus();
        this->risposta = static_cast<QMessageBox::StandardButton>(risposta);
        Premi(Qt::Key_Space);
        if (detto.isEmpty())
            QVERIFY2(messaggi.isEmpty(), qPrintable(messaggi.join('\n')));
        else
            QVERIFY2(!messaggi.isEmpty() && messaggi.first().startsWith(detto), qPrintable(messaggi.join('\n')));
        QCOMPARE(messaggi.size(), detto.isEmpty() ? 0 : 1);  // said once, asked or refused
        QCOMPARE(TestNelFile().size(), std::size_t(casella.isEmpty() ? 1 : 0));
        if (!casella.isEmpty()) QCOMPARE(QApplication::focusWidget()->objectName(), casella);
        this->risposta = QMessageBox::No;
        test->close();  // what was typed is dropped, after its question
        QVERIFY(!test->isVisible());
    }

    // One maximum for the sheet, both pages of the report and the zones: the
    // latest test's, never one dated after today.
    void unaSolaMassima() {
        Registra("2026-09-01", "188", "160", "250");
        Registra("2027-01-01", "200", "170", "300");  // typed wrong, before dates were checked
        auto [scheda, test] = Apri();
        QVERIFY(scheda && test);
        QCOMPARE(Controllo<QLabel>(scheda, "lblFCmax")->text(), QStringLiteral("188"));
        QCOMPARE(Cella(Controllo<QTableWidget>(test, "tblZone"), 6, 3), QStringLiteral("376+"));
        const QString cooper = Controllo<QLabel>(scheda, "lblC90100")->text();
        const QString karvonen = Controllo<QLabel>(scheda, "lblK90100")->text();

        const DatiReport d = PreparaReport(Rossi(), {}, TestNelFile());
        QCOMPARE(d.fcMax, QStringLiteral("188"));
        QCOMPARE(d.cooper[4], cooper);
        QCOMPARE(d.karvonen[4], karvonen);
        QVERIFY2(d.massimaTest.contains(QStringLiteral("188")) && d.massimaTest.contains(QStringLiteral("2026-09-01")),
                 qPrintable(d.massimaTest));
        QVERIFY(d.ultimoTest.contains(QStringLiteral("2026-09-01")));
        QCOMPARE(d.zoneCoggan.back().second, QStringLiteral("376+ W"));
    }

    // The season by date: a day between the first two tests, two months to
    // the third; no value label on a point, whatever the values.
    void graficoPerData_data() {
        QTest::addColumn<QStringList>("date");
        QTest::addColumn<QList<double>>("ftp");
        QTest::addColumn<QList<double>>("wkg");
        QTest::newRow("tre test") << QStringList{"2026-01-01", "2026-01-02", "2026-03-01"}
                                  << QList<double>{250, 260, 240} << QList<double>{3.5, 3.6, 3.4};
        QTest::newRow("il primo il più alto") << QStringList{"2026-01-01", "2026-01-02", "2026-03-01"}
                                              << QList<double>{400, 100, 101} << QList<double>{6, 1.5, 1.51};
        QTest::newRow("valori vicini") << QStringList{"2026-01-01", "2026-06-01", "2026-12-01"}
                                       << QList<double>{250, 251, 250.5} << QList<double>{3.55, 3.56, 3.555};
        QTest::newRow("un test") << QStringList{"2026-05-01"} << QList<double>{1500} << QList<double>{9.99};
        QTest::newRow("solo W/kg") << QStringList{"2026-01-01", "2026-01-31", "2026-03-02"} << QList<double>{0, 0, 0}
                                   << QList<double>{3, 4, 3.5};
    }
    void graficoPerData() {
        QFETCH(QStringList, date);
        QFETCH(QList<double>, ftp);
        QFETCH(QList<double>, wkg);
        GraficoStagione grafico;
        grafico.resize(420, 118);
        std::vector<GraficoStagione::Punto> punti;
        for (qsizetype i = 0; i < date.size(); ++i) punti.push_back({date[i], ftp[i], wkg[i]});
        grafico.Imposta(punti, QString());
        const GraficoStagione::Disposizione d = grafico.Disponi();
        const auto& centri = d.ftp.empty() ? d.wattPerKg : d.ftp;
        QCOMPARE(centri.size(), std::size_t(date.size()));
        if (date.size() == 3) {
            const QDate primo = QDate::fromString(date[0], Qt::ISODate);
            const double giorni1 = primo.daysTo(QDate::fromString(date[1], Qt::ISODate));
            const double giorni2 = primo.daysTo(QDate::fromString(date[2], Qt::ISODate));
            QVERIFY(qAbs((centri[1].x() - centri[0].x()) / (centri[2].x() - centri[0].x()) - giorni1 / giorni2) < 1e-9);
        }
        const double r = GraficoStagione::RaggioPunto + GraficoStagione::Penna / 2;
        std::vector<QPointF> tutti = d.ftp;
        tutti.insert(tutti.end(), d.wattPerKg.begin(), d.wattPerKg.end());
        std::vector<GraficoStagione::Etichetta> testi = d.etichette;
        testi.insert(testi.end(), d.date.begin(), d.date.end());
        QVERIFY(!d.etichette.empty());
        for (const auto& e : testi) {
            QVERIFY2(QRectF(grafico.rect()).contains(e.box), qPrintable(e.testo));
            for (const QPointF& c : tutti)
                QVERIFY2(!e.box.intersects(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r)), qPrintable(e.testo));
        }
        for (std::size_t i = 0; i < d.etichette.size(); ++i)
            for (std::size_t j = i + 1; j < d.etichette.size(); ++j)
                if (d.etichette[i].ftp == d.etichette[j].ftp)
                    QVERIFY(!d.etichette[i].box.intersects(d.etichette[j].box));
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

    // The report takes the latest test and its maximum, not an older one's.
    void reportUltimoTest() {
        archivio::TestAtleta vecchio, nuovo;
        vecchio.data = "2026-09-01";
        vecchio.fcmax = "188";
        nuovo.data = "2026-11-01";
        nuovo.fcmax = "192";
        const DatiReport d = PreparaReport(Rossi(), {}, {nuovo, vecchio});
        QVERIFY2(d.ultimoTest.contains(QStringLiteral("2026-11-01")), qPrintable(d.ultimoTest));
        QVERIFY2(d.massimaTest.contains(QStringLiteral("192")), qPrintable(d.massimaTest));
    }
};

QTEST_MAIN(TestZone)
#include "test_zone.moc"
