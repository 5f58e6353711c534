// The fitting record as a fitter uses it: today's fitting recorded from the
// fit sheet, the history window with the changes and the frame, a fitting
// deleted, the athlete's delete question, the report's coordinates and page.
#include "Archivio.h"
#include "AtletaCorrente.h"
#include "CartellaProva.h"
#include "Controlli.h"
#include "LegameArchivio.h"
#include "Messaggi.h"
#include "ReportAtleta.h"
#include "SupportoArchivio.h"
#include "frmAtleti.h"
#include "frmScheda.h"
#include "frmStorico.h"
#include "mdi.h"
#include "modLanguageSupport.h"

#include <QtTest>

#include <memory>

namespace {

// The first worked athlete of the fit: handlebar at 44.6, 60.9 cm.
archivio::Riga Rossi() {
    return prova::RigaDi("Rossi", {{"cavallo", "78"},
                                   {"busto", "58"},
                                   {"coscia", "52"},
                                   {"gamba", "50"},
                                   {"braccio", "57"},
                                   {"spalle", "40"},
                                   {"sella", "28.5"},
                                   {"bici", "Pinarello"},
                                   {"myHS", "70"}});
}

QString Cella(QTableWidget* t, int riga, int colonna) {
    const QTableWidgetItem* c = t->item(riga, colonna);
    return c ? c->text() : QString();
}

void Premi(Qt::Key tasto, Qt::KeyboardModifiers modificatori = Qt::NoModifier) {
    QWidget* dove = QApplication::focusWidget();
    QVERIFY(dove);
    QTest::keyClick(dove, tasto, modificatori);
}

void Scrivi(const QString& testo) {
    QWidget* dove = QApplication::focusWidget();
    QVERIFY(dove);
    QTest::keyClicks(dove, testo);
}

}  // namespace

class TestStorico : public QObject {
    Q_OBJECT
    std::unique_ptr<CartellaProva> cartella;
    std::unique_ptr<mdi> principale;
    std::filesystem::path file;
    QStringList messaggi;
    QMessageBox::StandardButton risposta = QMessageBox::Yes;

    archivio::Archivio Apri() {
        archivio::Archivio a;
        if (!a.Apri(file)) qFatal("archive not opened");
        return a;
    }
    std::vector<archivio::Assetto> AssettiDi(std::int64_t atleta) {
        std::vector<archivio::Assetto> assetti;
        archivio::Archivio a = Apri();
        if (!a.LeggiAssetti(atleta, assetti)) qFatal("fittings not read");
        return assetti;
    }
    std::int64_t Registra(archivio::Assetto assetto) {
        archivio::Archivio a = Apri();
        std::int64_t id = 0;
        if (!a.RegistraAssetto(assetto, id)) qFatal("fitting not recorded");
        return id;
    }
    template <class F>
    F* Apri(const char* pulsante, const QString& nome) {
        NomeAtletaCorrente = nome;
        QTest::mouseClick(Controllo<QPushButton>(principale, pulsante), Qt::LeftButton);
        return qobject_cast<F*>(principale->FiglioAttivo());
    }

private slots:
    void init() {
        cartella = std::make_unique<CartellaProva>();
        file = cartella->file("tvp.dmg");
        messaggi.clear();
        risposta = QMessageBox::Yes;
        ImpostaGestoreMessaggi([this](QWidget*, const QString&, const QString& testo, QMessageBox::StandardButtons) {
            messaggi << testo;
            return risposta;
        });
        principale = std::make_unique<mdi>();
        principale->ImpostaFinestre([](QWidget* g) { return new frmAtleti(g); },
                                    [](QWidget* g) { return new frmScheda(g); },
                                    [](QWidget* g) { return new QWidget(g); }, nullptr);
        principale->ImpostaStorico([](QWidget* g) { return new frmStorico(g); });
        modLanguageSupport::LinguaCorrente = "italian";
        PercorsoArchivio = QString::fromStdString(file.string());
        NomeAtletaCorrente.clear();
        RigaAtletaCorrente.reset();
        AtletaCorrenteVuoto = false;
        prova::CreaArchivio(file, {Rossi(), prova::RigaDi("Rossi", {{"cavallo", "90"}})});
        principale->show();
        QVERIFY(QTest::qWaitForWindowActive(principale.get()));
    }
    void cleanup() {
        if (principale) principale->ChiudiFinestre();
        principale.reset();
        ImpostaGestoreMessaggi({});
        cartella.reset();
    }

    // From the fit sheet with the keys alone: the dialog takes the bike from
    // the card, the discipline and the frame typed; the fitting holds the
    // sheet's values as shown; the history shows it with its frame.
    void registraDallaScheda() {
        frmScheda* scheda = Apri<frmScheda>("cmdAssetto", "Rossi");
        QVERIFY(scheda);
        QString posizione;
        const auto passi = [&](QWidget* dialogo) {
            QVERIFY(dialogo);
            QVERIFY(QTest::qWaitForWindowExposed(dialogo));
            QApplication::setActiveWindow(dialogo);  // as the window manager does
            QTRY_COMPARE(QApplication::activeWindow(), dialogo);
            QCOMPARE(Controllo<QLineEdit>(dialogo, "txtBici")->text(), QStringLiteral("Pinarello"));
            for (QWidget* w : dialogo->findChildren<QWidget*>()) {
                if (!(w->focusPolicy() & Qt::TabFocus) || w->focusProxy() || !w->isVisibleTo(dialogo)) continue;
                QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
                QVERIFY2(a && !a->text(QAccessible::Name).trimmed().isEmpty(), qPrintable(w->objectName()));
            }
            QCOMPARE(QApplication::focusWidget(), Controllo<QWidget>(dialogo, "txtBici"));
            Premi(Qt::Key_Tab);
            Premi(Qt::Key_Down);  // time trial
            for (const char* valore : {"530", "380", "72.5", "", "20", "100", "-6"}) {
                Premi(Qt::Key_Tab);
                Scrivi(QString::fromLatin1(valore));
            }
            posizione = Controllo<QLabel>(dialogo, "lblPosizione")->text();
            Premi(Qt::Key_Return);
        };
        // A step that fails closes the dialog rather than leave it waiting.
        QTimer::singleShot(0, this, [&] {
            auto* dialogo = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            passi(dialogo);
            if (dialogo && dialogo->isVisible()) dialogo->reject();
        });
        Controllo<QPushButton>(scheda, "cmdRegistraAssetto")->setFocus();
        Premi(Qt::Key_Space);
        QVERIFY2(posizione.contains(QStringLiteral("463.0, 597.6 mm: 17.2 mm più avanti e 11.0 mm più in basso")),
                 qPrintable(posizione));
        QVERIFY2(posizione.contains(QStringLiteral("90 mm a +17° con 0 mm di spessori")), qPrintable(posizione));
        QCOMPARE(messaggi.size(), 1);  // "recorded"
        messaggi.clear();

        const auto assetti = AssettiDi(1);
        QCOMPARE(assetti.size(), std::size_t(1));
        const archivio::Assetto& a = assetti.front();
        QCOMPARE(a.bici, std::string("Pinarello"));
        QCOMPARE(a.disciplina, std::string("crono"));
        QCOMPARE(a.misure[archivio::CampoMisura::Sella], std::string("28.5"));
        QCOMPARE(a.risultati[archivio::CampoRisultato::HS], std::string(" 69"));
        QCOMPARE(a.propri[archivio::CampoProprio::HS], std::string("70"));
        QCOMPARE(a.telaio.testi, (std::array<std::string, 8>{"530", "380", "72.5", "", "20", "100", "-6", ""}));
        QVERIFY(AssettiDi(2).empty());  // the other Rossi has none

        QApplication::setActiveWindow(principale.get());  // back from the dialog
        Controllo<QPushButton>(scheda, "cmdStorico")->setFocus();
        Premi(Qt::Key_Space);
        auto* storico = qobject_cast<frmStorico*>(principale->FiglioAttivo());
        QVERIFY(storico);
        QCOMPARE(Controllo<QTreeWidget>(storico, "lstAssetti")->topLevelItemCount(), 1);
        auto* coordinate = Controllo<QTableWidget>(storico, "tblCoordinate");
        QCOMPARE(Cella(coordinate, 0, 1), QStringLiteral("-18.6, 66.5"));
        QCOMPARE(Cella(coordinate, 2, 1), QStringLiteral("44.6, 60.9"));
        QCOMPARE(Cella(coordinate, 1, 2), QString());  // no own setback: no nose
        QVERIFY(Controllo<QLabel>(storico, "lblTelaioTesto")->text().contains(QStringLiteral("445.2, 609.6 mm")));
        QVERIFY2(messaggi.isEmpty(), qPrintable(messaggi.join('\n')));
    }

    // An earlier visit typed in later: its date set in the dialog, never one
    // to come; a frame no bicycle has refused with the box at fault chosen;
    // the dialog stays open until both are right.
    void dataEdIlTelaioNelDialogo() {
        frmScheda* scheda = Apri<frmScheda>("cmdAssetto", "Rossi");
        QVERIFY(scheda);
        const auto scrivi = [](const QString& testo) {
            QWidget* box = QApplication::focusWidget();
            QVERIFY(box);
            QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(box, Qt::Key_Delete);
            QTest::keyClicks(box, testo);
        };
        QStringList fuoco;
        const auto passi = [&](QDialog* dialogo) {
            QVERIFY(dialogo);
            QVERIFY(QTest::qWaitForWindowExposed(dialogo));
            QApplication::setActiveWindow(dialogo);  // as the window manager does
            QTRY_COMPARE(QApplication::activeWindow(), dialogo);
            Premi(Qt::Key_Backtab);  // from the bike to the date
            QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("txtData"));
            scrivi(QStringLiteral("2099-01-01"));
            Premi(Qt::Key_Return);
            QVERIFY(dialogo->isVisible());
            fuoco << QApplication::focusWidget()->objectName();
            scrivi(QStringLiteral("2025-11-20"));
            for (const char* valore : {"530", "380", "171.5"}) {
                Controllo<QLineEdit>(dialogo, valore == std::string("530")   ? "txtStack"
                                              : valore == std::string("380") ? "txtReach"
                                                                             : "txtAngoloSterzo")
                    ->setFocus();
                scrivi(QString::fromLatin1(valore));
            }
            Premi(Qt::Key_Return);
            QVERIFY(dialogo->isVisible());
            fuoco << QApplication::focusWidget()->objectName();
            scrivi(QStringLiteral("72.5"));
            Premi(Qt::Key_Return);
        };
        QTimer::singleShot(0, this, [&] {
            auto* dialogo = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            passi(dialogo);
            if (dialogo && dialogo->isVisible()) dialogo->reject();
        });
        Controllo<QPushButton>(scheda, "cmdRegistraAssetto")->setFocus();
        Premi(Qt::Key_Space);
        QCOMPARE(fuoco, (QStringList{"txtData", "txtAngoloSterzo"}));
        QCOMPARE(messaggi.size(), 3);
        QVERIFY2(messaggi[0].startsWith(QStringLiteral("La data 2099-01-01 è successiva a oggi")),
                 qPrintable(messaggi[0]));
        QCOMPARE(messaggi[1], QStringLiteral("Angolo sterzo 171.5° non è possibile: deve essere tra 55° e 80°."));
        messaggi.clear();
        const auto assetti = AssettiDi(1);
        QCOMPARE(assetti.size(), std::size_t(1));
        QCOMPARE(assetti.front().data, std::string("2025-11-20"));
        QCOMPARE(assetti.front().telaio[archivio::CampoTelaio::AngoloSterzo], std::string("72.5"));
    }

    // Two fittings of one day, on two bikes, told apart by their bikes; any
    // two recorded fittings side by side, chosen with the keys.
    void dueAssettiDelloStessoGiorno() {
        archivio::Assetto colnago;
        colnago.atleta = 1;
        colnago.data = "2026-01-15";
        colnago.bici = "Colnago";
        colnago.misure = {"77", "58", "52", "50", "57", "40", "28.5"};
        archivio::Assetto pinarello = colnago;
        pinarello.bici = "Pinarello";
        pinarello.misure[archivio::CampoMisura::Cavallo] = "78";
        Registra(colnago);
        Registra(pinarello);

        Controllo<QPushButton>(Apri<frmScheda>("cmdAssetto", "Rossi"), "cmdStorico")->click();
        auto* storico = qobject_cast<frmStorico*>(principale->FiglioAttivo());
        QVERIFY(storico);
        auto* elenco = Controllo<QTreeWidget>(storico, "lstAssetti");
        auto* confronto = Controllo<QTableWidget>(storico, "tblConfronto");
        elenco->setFocus();
        Premi(Qt::Key_Down);  // the Colnago
        QCOMPARE(confronto->horizontalHeaderItem(1)->text(), QStringLiteral("2026-01-15\nColnago"));
        QCOMPARE(confronto->horizontalHeaderItem(2)->text(), QStringLiteral("Oggi"));
        auto* con = Controllo<QComboBox>(storico, "cboConfronto");
        QCOMPARE(con->count(), 3);
        con->setFocus();
        Premi(Qt::Key_Down);  // beside the Pinarello
        QCOMPARE(confronto->horizontalHeaderItem(2)->text(), QStringLiteral("2026-01-15\nPinarello"));
        QCOMPARE(Cella(confronto, 0, 1), QStringLiteral("77"));
        QCOMPARE(Cella(confronto, 0, 2), QStringLiteral("78"));
        QCOMPARE(Cella(confronto, 0, 3), QStringLiteral("+1.0"));
        QCOMPARE(Cella(confronto, 1, 3), QString());  // the torso the same
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(con);
        QVERIFY(a && !a->text(QAccessible::Name).trimmed().isEmpty());

        const DatiReport d = PreparaReport(Rossi(), AssettiDi(1));
        QVERIFY2(d.titoloCambiamenti.contains(QStringLiteral("2026-01-15 (Colnago)")), qPrintable(d.titoloCambiamenti));
        QVERIFY(d.ultimoAssetto.contains(QStringLiteral("Pinarello")));
        QVERIFY2(messaggi.isEmpty(), qPrintable(messaggi.join('\n')));
    }

    // Two fittings of one athlete, newest first, each beside today's values;
    // Down chooses the older; Delete asks and deletes it; a fitting of a later
    // version is shown and never deleted.
    void confrontoEdEliminazione() {
        archivio::Assetto vecchio;
        vecchio.atleta = 1;
        vecchio.data = "2025-03-01";
        vecchio.bici = "Colnago";
        vecchio.misure = {"77", "58", "52", "50", "57", "40", "28.5"};
        vecchio.risultati[archivio::CampoRisultato::HS] = " 68.5";
        archivio::Assetto recente = vecchio;
        recente.data = "2026-01-15";
        recente.misure[archivio::CampoMisura::Cavallo] = "78";
        recente.risultati[archivio::CampoRisultato::HS] = " 69";
        Registra(vecchio);
        Registra(recente);

        Controllo<QPushButton>(Apri<frmScheda>("cmdAssetto", "Rossi"), "cmdStorico")->click();
        auto* storico = qobject_cast<frmStorico*>(principale->FiglioAttivo());
        QVERIFY(storico);
        auto* elenco = Controllo<QTreeWidget>(storico, "lstAssetti");
        auto* confronto = Controllo<QTableWidget>(storico, "tblConfronto");
        QCOMPARE(elenco->topLevelItem(0)->text(0), QStringLiteral("2026-01-15"));
        QCOMPARE(Cella(confronto, 0, 3), QString());  // the inseam unchanged since
        elenco->setFocus();
        Premi(Qt::Key_Down);
        QCOMPARE(Cella(confronto, 0, 1), QStringLiteral("77"));
        QCOMPARE(Cella(confronto, 0, 2), QStringLiteral("78"));
        QCOMPARE(Cella(confronto, 0, 3), QStringLiteral("+1.0"));
        QCOMPARE(Cella(confronto, 13, 3), QStringLiteral("+0.5"));  // HS 68.5 then, 69 today

        risposta = QMessageBox::No;
        Premi(Qt::Key_Delete);
        QCOMPARE(AssettiDi(1).size(), std::size_t(2));
        risposta = QMessageBox::Yes;
        Premi(Qt::Key_Delete);
        QVERIFY(messaggi.last().contains(QStringLiteral("2025-03-01")));
        QCOMPARE(AssettiDi(1).size(), std::size_t(1));
        QCOMPARE(elenco->topLevelItemCount(), 1);

        // Page Down: the other Rossi, with none.
        Premi(Qt::Key_PageDown);
        QCOMPARE(elenco->topLevelItemCount(), 0);
        QVERIFY(!Controllo<QPushButton>(storico, "cmdEliminaAssetto")->isEnabled());
    }

    // The card's delete question says how many fittings go with the athlete,
    // and only that athlete's go.
    void eliminaAtletaConIsuoiAssetti() {
        archivio::Assetto a;
        a.atleta = 1;
        a.data = "2026-01-15";
        Registra(a);
        Registra(a);
        a.atleta = 2;
        Registra(a);
        auto* scheda = Apri<frmAtleti>("cmdAtleta", "Rossi");
        QVERIFY(scheda);
        Controllo<QLineEdit>(scheda, "txtNome")->setFocus();
        Premi(Qt::Key_Delete, Qt::ControlModifier);
        QVERIFY2(messaggi.last().contains(QStringLiteral("2 assetti")), qPrintable(messaggi.join('\n')));
        QVERIFY(AssettiDi(1).empty());
        QCOMPARE(AssettiDi(2).size(), std::size_t(1));
    }

    // The report's coordinates under the bicycle, and the page of the latest
    // fitting with what changed since the one before.
    void report() {
        archivio::Assetto prima = registro::AssettoDaRiga(1, Rossi(), "2025-03-01");
        prima.misure[archivio::CampoMisura::Cavallo] = "77";
        archivio::Assetto dopo = registro::AssettoDaRiga(1, Rossi(), "2026-01-15");
        dopo.telaio = {"530", "380", "72.5", "", "20", "100", "-6", ""};
        const DatiReport d = PreparaReport(Rossi(), {dopo, prima});
        QCOMPARE(d.coordinateAssetto[2], QStringLiteral("44.6, 60.9"));
        QCOMPARE(d.coordinateSet[1], QString());
        QVERIFY(ConPaginaAssetti(d));
        QVERIFY(d.ultimoAssetto.contains(QStringLiteral("2026-01-15")));
        QVERIFY(d.telaio.join(' ').contains(QStringLiteral("445.2, 609.6")));
        QVERIFY(d.titoloCambiamenti.contains(QStringLiteral("2025-03-01")));
        QVERIFY(!d.cambiamenti.empty());
        QCOMPARE(d.cambiamenti.front().differenza, QStringLiteral("+1.0"));
        QVERIFY(!ConPaginaAssetti(PreparaReport(Rossi())));

        const QString pdf = QString::fromStdString(cartella->file("report.pdf").string());
        QVERIFY(ScriviReportPdf(Rossi(), pdf, nullptr, {dopo, prima}));
        QFile f(pdf);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll().contains("/Count 2"));
        if (qEnvironmentVariableIsSet("TOVARIN_PDF_REPORT")) {
            QFile::remove(qEnvironmentVariable("TOVARIN_PDF_REPORT"));
            QVERIFY(QFile::copy(pdf, qEnvironmentVariable("TOVARIN_PDF_REPORT")));
        }
    }
};

QTEST_MAIN(TestStorico)
#include "test_storico.moc"
