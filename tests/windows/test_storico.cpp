// The fitting record as a fitter uses it: today's fitting recorded from the
// fit sheet, the history window with the changes and the frame, a fitting
// deleted, the athlete's delete question, the report's coordinates and page.
#include "Archivio.h"
#include "AtletaCorrente.h"
#include "CartellaProva.h"
#include "Controlli.h"
#include "IdMessaggi.h"
#include "LegameArchivio.h"
#include "Messaggi.h"
#include "Messaggio.h"
#include "RegistroAssetti.h"
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

        // The first of the list too; then Delete on an empty list asks nothing.
        QCOMPARE(elenco->currentItem(), elenco->topLevelItem(0));
        Premi(Qt::Key_Delete);
        QVERIFY(AssettiDi(1).empty());
        QCOMPARE(elenco->topLevelItemCount(), 0);
        const auto detti = messaggi.size();
        Premi(Qt::Key_Delete);
        QCOMPARE(messaggi.size(), detti);

        // Page Down: the other Rossi, with none.
        Premi(Qt::Key_PageDown);
        QCOMPARE(elenco->topLevelItemCount(), 0);
        QVERIFY(!Controllo<QPushButton>(storico, "cmdEliminaAssetto")->isEnabled());
    }

    // The history's tables: every row named, the names to the left and the
    // values to the right; each point's fit, own set-up and change in their
    // columns; the title says when the athlete has no fitting.
    void tabelleDelloStorico() {
        modLanguageSupport::LinguaCorrente = "english";
        {
            archivio::Archivio a = Apri();
            std::vector<archivio::Campo> propri;
            for (const auto& [colonna, valore] :
                 {std::pair{"myHS", "70"}, {"myDSM", "52"}, {"mySM", "8"}, {"myR", "5"}})
                propri.push_back({*archivio::IndiceColonna(colonna), valore});
            QVERIFY(a.ScriviCampi(1, propri));
        }
        archivio::Assetto vecchio;
        vecchio.atleta = 1;
        vecchio.misure = {"77", "58", "52", "50", "57", "40", "28.5"};
        for (const char* data : {"2025-03-01", "2025-06-01", "2025-09-01"}) {
            vecchio.data = data;
            Registra(vecchio);
        }

        Controllo<QPushButton>(Apri<frmScheda>("cmdAssetto", "Rossi"), "cmdStorico")->click();
        auto* storico = qobject_cast<frmStorico*>(principale->FiglioAttivo());
        QVERIFY(storico);
        QCOMPARE(Controllo<QLabel>(storico, "lblAssetti")->text(), Didascalia("frmStorico", "lblAssetti"));
        auto* confronto = Controllo<QTableWidget>(storico, "tblConfronto");
        auto* coordinate = Controllo<QTableWidget>(storico, "tblCoordinate");
        QCOMPARE(confronto->rowCount(), registro::NumeroVoci);
        QCOMPARE(coordinate->rowCount(), 3);
        const auto aDestra = [](QTableWidget* t, int riga, int colonna) {
            return (t->item(riga, colonna)->textAlignment() & Qt::AlignRight) != 0;
        };
        for (int i = 0; i < registro::NumeroVoci; ++i) {
            QCOMPARE(Cella(confronto, i, 0), registro::NomeVoce(i));
            QVERIFY(!aDestra(confronto, i, 0) && aDestra(confronto, i, 1));
        }
        archivio::Riga riga = Rossi();
        for (const auto& [colonna, valore] : {std::pair{"myHS", "70"}, {"myDSM", "52"}, {"mySM", "8"}, {"myR", "5"}})
            riga[*archivio::IndiceColonna(colonna)] = valore;
        const auto righe = registro::RigheCoordinate(registro::AssettoDaRiga(1, riga, {}));
        for (int i = 0; i < 3; ++i) {
            const auto& r = righe[static_cast<std::size_t>(i)];
            QVERIFY(!r.spostamento.isEmpty());
            QCOMPARE(Cella(coordinate, i, 0), r.punto);
            QCOMPARE(Cella(coordinate, i, 1), r.testoAssetto);
            QCOMPARE(Cella(coordinate, i, 2), r.testoProprio);
            QCOMPARE(Cella(coordinate, i, 3), r.spostamento);
            QVERIFY(!aDestra(coordinate, i, 0) && aDestra(coordinate, i, 3));
        }
        // The middle one deleted: the next older chosen; deleted with the
        // button, the list keeps the keys.
        auto* elenco = Controllo<QTreeWidget>(storico, "lstAssetti");
        elenco->setFocus();
        Premi(Qt::Key_Down);
        Premi(Qt::Key_Delete);
        QCOMPARE(elenco->topLevelItemCount(), 2);
        QCOMPARE(elenco->currentItem()->text(0), QStringLiteral("2025-03-01"));
        Controllo<QPushButton>(storico, "cmdEliminaAssetto")->setFocus();
        Premi(Qt::Key_Space);
        QCOMPARE(elenco->topLevelItemCount(), 1);
        QCOMPARE(QApplication::focusWidget(), elenco);
        // The other Rossi has none.
        Premi(Qt::Key_PageDown);
        QCOMPARE(Controllo<QLabel>(storico, "lblAssetti")->text(), Messaggio(msg::NessunAssetto));
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

    // The rules of the fittings below the windows, in English.

    // An athlete with every own set-up value: each point of the own set-up
    // beside the fit's, and the sign of each change (the saddle higher and
    // further back, the bar further forward and lower); each own value
    // beside the result of its name in the report.
    void setCompleto() {
        modLanguageSupport::LinguaCorrente = "english";
        archivio::Riga riga = Rossi();
        for (const auto& [colonna, valore] :
             {std::pair{"myHS", "70"}, {"myDSM", "52"}, {"mySM", "8"}, {"myR", "5"}, {"myPE", "175"}})
            riga[*archivio::IndiceColonna(colonna)] = valore;
        const auto righe = registro::RigheCoordinate(registro::AssettoDaRiga(1, riga, {}));
        const std::array<std::array<const char*, 4>, 3> attese{
            {{"Saddle", "-18.6, 66.5", "-18.8, 67.4", "-0.3, +1.0"},
             {"Saddle nose", "-4.2, 66.5", "-5.0, 67.4", "-0.8, +1.0"},
             {"Handlebar", "44.6, 60.9", "46.4, 59.4", "+1.8, -1.4"}}};
        for (std::size_t i = 0; i < righe.size(); ++i) {
            QCOMPARE(righe[i].punto, QString::fromUtf8(attese[i][0]));
            QCOMPARE(righe[i].testoAssetto, QString::fromUtf8(attese[i][1]));
            QCOMPARE(righe[i].testoProprio, QString::fromUtf8(attese[i][2]));
            QCOMPARE(righe[i].spostamento, QString::fromUtf8(attese[i][3]));
        }
        const DatiReport d = PreparaReport(riga);
        using R = archivio::CampoRisultato;
        const std::pair<R, const char*> propri[] = {{R::TP, ""},    {R::TO, ""},   {R::PE, "175"}, {R::Alfa, ""},
                                                    {R::Piega, ""}, {R::Pipa, ""}, {R::HS, "70"},  {R::DSM, "52"},
                                                    {R::SM, "8"},   {R::R, "5"}};
        for (const auto& [campo, atteso] : propri)
            QCOMPARE(d.assetto[static_cast<std::size_t>(campo)].set, QString::fromUtf8(atteso));
        for (std::size_t i = 0; i < 3; ++i) {
            QCOMPARE(d.coordinateSet[i], righe[i].testoProprio);
            QCOMPARE(d.spostamento[i], righe[i].spostamento);
        }
    }

    // A point of the own set-up not given: no text, no change; a fit's point
    // not computed: "n.d.".
    void coordinateMancanti() {
        archivio::Riga riga = Rossi();
        riga[*archivio::IndiceColonna("myHS")] = "";
        riga[*archivio::IndiceColonna("myR")] = "5";
        auto righe = registro::RigheCoordinate(registro::AssettoDaRiga(1, riga, {}));
        for (const auto& r : righe) {
            QVERIFY(!r.proprio);
            QVERIFY(r.testoProprio.isEmpty() && r.spostamento.isEmpty());
        }
        riga[*archivio::IndiceColonna("cavallo")] = "";
        riga[*archivio::IndiceColonna("myHS")] = "70";
        righe = registro::RigheCoordinate(registro::AssettoDaRiga(1, riga, {}));
        QCOMPARE(righe[0].testoAssetto, QStringLiteral("n.d."));
        QVERIFY(righe[0].spostamento.isEmpty());
    }

    // The frame of a fitting: none without stack, reach and head angle; the
    // cap and the clamp at 10 and 40 mm when left empty; where a stem given
    // puts the bars, with the sign of each difference, and the closest
    // cockpit; without a stem only the closest.
    void telaioDiUnAssetto() {
        modLanguageSupport::LinguaCorrente = "english";
        archivio::Assetto a = registro::AssettoDaRiga(1, Rossi(), {});
        QCOMPARE(registro::RigheTelaioDi(a),
                 QStringList{QStringLiteral("No frame recorded with this fitting (stack, reach and head angle).")});
        struct Caso {
            std::array<std::string, 8> telaio;
            QStringList righe;
        };
        const Caso casi[] = {
            {{"530", "380", "72.5", "", "20", "100", "-6", ""},
             {"Frame: stack 530 mm, reach 380 mm, head angle 72.5°, headset cap 10 mm, stem clamp 40 mm.",
              "With a 100 mm stem at -6° and 20 mm of spacers the bars sit at 463.0, 597.6 mm: 17.2 mm ahead of and "
              "11.0 mm below the fit's handlebar.",
              "The closest cockpit to the fit: a 90 mm stem at +17° with 0 mm of spacers (bars at 445.2, 609.6 mm, "
              "1.2 mm off the fit)."}},
            {{"530", "380", "72.5", "15", "", "", "", "35"},
             {"Frame: stack 530 mm, reach 380 mm, head angle 72.5°, headset cap 15 mm, stem clamp 35 mm.",
              "The closest cockpit to the fit: a 90 mm stem at +12° with 5 mm of spacers (bars at 447.1, 610.1 mm, "
              "2.0 mm off the fit)."}},
            {{"650", "330", "72.5", "", "0", "60", "17", ""},
             {"Frame: stack 650 mm, reach 330 mm, head angle 72.5°, headset cap 10 mm, stem clamp 40 mm.",
              "With a 60 mm stem at +17° and 0 mm of spacers the bars sit at 370.4, 712.6 mm: 75.4 mm behind and "
              "104.0 mm above the fit's handlebar.",
              "The closest cockpit to the fit: a 120 mm stem at -17° with 0 mm of spacers (bars at 441.0, 679.7 mm, "
              "71.2 mm off the fit)."}},
            {{"530", "380", "", "", "", "100", "", ""},
             {"No frame recorded with this fitting (stack, reach and head angle)."}},
        };
        for (const Caso& c : casi) {
            a.telaio.testi = c.telaio;
            QCOMPARE(registro::ConAttacco(a), !c.telaio[5].empty());
            QCOMPARE(registro::RigheTelaioDi(a), c.righe);
        }
    }

    // The change of each value from one fitting to another, either way, and
    // of the own value from a result (to a range's nearer end).
    void segnoDeiCambiamenti() {
        archivio::Assetto prima = registro::AssettoDaRiga(1, Rossi(), "2025-03-01");
        archivio::Assetto dopo = prima;
        dopo.misure[archivio::CampoMisura::Cavallo] = "79.5";
        dopo.propri[archivio::CampoProprio::R] = "3";
        prima.propri[archivio::CampoProprio::R] = "4 - 5";
        const auto avanti = registro::Cambiamenti(prima, dopo), indietro = registro::Cambiamenti(dopo, prima);
        QCOMPARE(avanti.size(), std::size_t(2));
        QCOMPARE(avanti[0].differenza, QStringLiteral("+1.5"));
        QCOMPARE(indietro[0].differenza, QStringLiteral("-1.5"));
        QCOMPARE(avanti[1].prima, QStringLiteral("4 - 5"));
        QCOMPARE(avanti[1].differenza, QStringLiteral("-1.5"));
        QCOMPARE(indietro[1].differenza, QStringLiteral("+1.5"));
        const std::tuple<const char*, const char*, const char*> dalSet[] = {
            {" 48 - 50.3", "47", "-1"}, {" 48 - 50.3", "51", "+0.7"},
            {" 48 - 50.3", "49", "0"},  {" 69", "70", "+1"},
            {" 69", "68.5", "-0.5"},    {"-1 --.5", "0", "+0.5"},
            {" 69", "68.96", "0"},      {" 69", "69.04", "0"},
            {"n.d.", "70", ""},         {" 69", "", ""},
            {" 69", "abc", ""}};
        for (const auto& [calcolato, set, atteso] : dalSet)
            QCOMPARE(registro::TestoDifferenzaDalSet(QString::fromUtf8(calcolato), QString::fromUtf8(set)),
                     QString::fromUtf8(atteso));
    }

    // An archive without athletes: the history shows none, compared with
    // today as ever.
    void archivioSenzaAtleti() {
        std::filesystem::remove(file);
        prova::CreaArchivio(file, {});
        auto* scheda = Apri<frmScheda>("cmdAssetto", QString());
        QVERIFY(scheda);
        Controllo<QPushButton>(scheda, "cmdStorico")->click();
        auto* storico = qobject_cast<frmStorico*>(principale->FiglioAttivo());
        QVERIFY(storico);
        QCOMPARE(Controllo<QTreeWidget>(storico, "lstAssetti")->topLevelItemCount(), 0);
        auto* con = Controllo<QComboBox>(storico, "cboConfronto");
        QCOMPARE(con->count(), 1);
        QCOMPARE(con->itemText(0), Messaggio(msg::Oggi));
    }

    // The names of the 22 values compared, as the fit sheet labels them: the
    // measures, the results, then the own set-up values marked "set"; each
    // beside its value.
    void nomiDelleVoci() {
        modLanguageSupport::LinguaCorrente = "english";
        const char* const attesi[registro::NumeroVoci] = {
            "1 - inseam",    "2 - torso", "3 - thigh", "4 - leg",    "5 - arm", "6 - shoulders",
            "saddle length", "TP",        "TO",        "PE (mm)",    "alpha°",  "bar width",
            "stem",          "HS",        "DSM",       "SM",         "R",       "HS set",
            "DSM set",       "SM set",    "R set",     "PE (mm) set"};
        archivio::Assetto a;
        int k = 0;
        for (auto& v : a.misure) v = std::to_string(k++);
        for (auto& v : a.risultati) v = std::to_string(k++);
        for (auto& v : a.propri) v = std::to_string(k++);
        for (int i = 0; i < registro::NumeroVoci; ++i) {
            QCOMPARE(registro::NomeVoce(i), QString::fromUtf8(attesi[i]));
            QCOMPARE(registro::Voce(a, i), std::to_string(i));
        }
        QCOMPARE(a.propri[archivio::CampoProprio::PE], std::string("21"));
        QCOMPARE(a.risultati[archivio::CampoRisultato::PE], std::string("9"));
    }
};

QTEST_MAIN(TestStorico)
#include "test_storico.moc"
