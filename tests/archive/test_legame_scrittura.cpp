// An athlete window writing to the archive: edits reach the file when the row
// changes or the window closes, new rows on the card, deleting, and writes
// that fail without losing what was typed.
#include "FinestraProva.h"
#include "modLanguageSupport.h"

#include <QAbstractItemView>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

#include <memory>

#include <csignal>
#include <sys/resource.h>

using prova::Campo;
using prova::FinestraProva;
using prova::RigaDi;

class TestLegameScrittura : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<prova::AmbienteArchivio> ambiente_;

    void Archivio(const std::vector<archivio::Riga>& righe) { prova::CreaArchivio(ambiente_->file, righe); }
    std::vector<archivio::Riga> Righe() const { return prova::RigheNelFile(ambiente_->file); }

    static void Scrivi(QWidget* box, const QString& testo) {
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, testo);
    }

private slots:
    void init() { ambiente_ = std::make_unique<prova::AmbienteArchivio>(); }
    void cleanup() { ambiente_.reset(); }

    void unaModificaVieneScrittaQuandoLaRigaCambia_data() {
        QTest::addColumn<QString>("come");
        QTest::addColumn<QString>("arrivo");
        // clang-format off
        QTest::newRow("next arrow") << "successivo" << "Verdi";
        QTest::newRow("last arrow") << "ultimo" << "Neri";
        QTest::newRow("picker") << "selettore" << "Neri";
        QTest::newRow("search") << "ricerca" << "Verdi";
        QTest::newRow("search without match") << "nessuno" << "";
        QTest::newRow("close") << "chiusura" << "";
        // clang-format on
    }

    void unaModificaVieneScrittaQuandoLaRigaCambia() {
        QFETCH(QString, come);
        QFETCH(QString, arrivo);
        Archivio({RigaDi("Rossi", {{"peso", "70"}, {"cavallo", "85"}}),
                  RigaDi("Verdi", {{"peso", "60"}, {"sella", "26"}}),
                  RigaDi("Neri", {{"peso", "80"}, {"sella", "26"}})});
        {
            FinestraProva f;
            QVERIFY(f.Carica());
            Scrivi(f.txtPeso, "71,5");
            QCOMPARE(f.txtPeso->text(), QStringLiteral("71.5"));
            Scrivi(f.txtNote, "ginocchio sinistro");
            QTest::mouseClick(f.chkAttFis, Qt::LeftButton);
            f.cmbSesso->setFocus();
            QTest::keyClicks(f.cmbSesso, "M");
            QVERIFY(f.legame->Modificata());
            // Nothing reaches the file while the row stays.
            QCOMPARE(Campo(Righe()[0], "peso"), QStringLiteral("70"));

            if (come == "successivo") QTest::mouseClick(f.Data1->PulsanteSuccessivo(), Qt::LeftButton);
            if (come == "ultimo") QTest::mouseClick(f.Data1->PulsanteUltimo(), Qt::LeftButton);
            if (come == "selettore") {
                QComboBox* picker = f.legame->DBCombo1();
                picker->showPopup();
                picker->view()->setCurrentIndex(picker->model()->index(0, 0));  // first in alphabetical order
                QTest::keyClick(picker->view(), Qt::Key_Return);
            }
            if (come == "ricerca") QVERIFY(f.legame->TrovaAtleta(QStringLiteral("Verdi")));
            if (come == "nessuno") QVERIFY(!f.legame->TrovaAtleta(QStringLiteral("Bianchi")));
            if (come == "chiusura") {
                QVERIFY(f.close());
            } else {
                QTRY_COMPARE(f.txtNome->text(), arrivo);
                QVERIFY(!f.legame->Modificata());
            }
            const auto righe = Righe();
            QCOMPARE(Campo(righe[0], "peso"), QStringLiteral("71.5"));
            QCOMPARE(Campo(righe[0], "note"), QStringLiteral("ginocchio sinistro"));
            QCOMPARE(Campo(righe[0], "AttivFis"), QStringLiteral("1"));
            QCOMPARE(Campo(righe[0], "sesso"), QStringLiteral("M"));
            QCOMPARE(Campo(righe[0], "cavallo"), QStringLiteral("85"));
            QCOMPARE(Campo(righe[1], "peso"), QStringLiteral("60"));
            QCOMPARE(Campo(righe[2], "peso"), QStringLiteral("80"));
        }
        QVERIFY(ambiente_->avvisi.ricevuti.isEmpty());
    }

    void mostrareRigheSenzaModificheNonScriveNulla() {
        Archivio({RigaDi("A", {{"cavallo", "80"}, {"sella", "26"}}), RigaDi("B", {{"sella", "27"}}),
                  RigaDi("C", {{"peso", "70.5"}, {"sella", "25"}})});
        const std::string prima = prova::LeggiByte(ambiente_->file);
        FinestraProva f;
        QVERIFY(f.Carica());
        for (int i = 0; i < 2; ++i) QVERIFY(f.legame->MuoviSuccessivo());
        QVERIFY(f.legame->MuoviPrimo());
        QVERIFY(f.legame->TrovaAtleta(QStringLiteral("C")));
        QVERIFY(f.close());
        QVERIFY(prova::LeggiByte(ambiente_->file) == prima);
    }

    // What a rule cleans while the row is shown is only shown (a measure, the
    // saddle default); once the coach types in the box, the cleaned text is
    // the column's.
    void unaMisuraPulitaAllaVisualizzazioneNonVieneScritta() {
        Archivio({RigaDi("Rossi", {{"cavallo", "72,5"}, {"peso", "7x"}}), RigaDi("Verdi")});
        FinestraProva f;
        QVERIFY(f.Carica());
        QCOMPARE(f.Text7->text(), QStringLiteral("72.5"));
        QCOMPARE(f.txtPeso->text(), QString());
        QCOMPARE(f.txtSella->text(), QStringLiteral("27.5"));
        // The second box of the column, which has no rule, shows the stored text.
        QCOMPARE(f.txtCavallo->text(), QStringLiteral("72,5"));
        QVERIFY(!f.legame->Modificata());
        QVERIFY(f.legame->MuoviSuccessivo());
        QVERIFY(f.legame->MuoviPrimo());
        auto righe = Righe();
        QCOMPARE(Campo(righe[0], "cavallo"), QStringLiteral("72,5"));
        QCOMPARE(Campo(righe[0], "peso"), QStringLiteral("7x"));
        QCOMPARE(Campo(righe[0], "sella"), QString());

        Scrivi(f.Text7, QStringLiteral("71,5"));
        QCOMPARE(f.Text7->text(), QStringLiteral("71.5"));
        QVERIFY(f.legame->MuoviSuccessivo());
        righe = Righe();
        QCOMPARE(Campo(righe[0], "cavallo"), QStringLiteral("71.5"));
        QCOMPARE(Campo(righe[0], "peso"), QStringLiteral("7x"));
        QCOMPARE(Campo(righe[0], "sella"), QString());
    }

    void unaModificaInUnaDelleDueCaselleDellaStessaColonnaVieneScritta() {
        Archivio({RigaDi("Rossi", {{"cavallo", "85"}, {"sella", "26"}}), RigaDi("Verdi", {{"sella", "26"}})});
        FinestraProva f;
        QVERIFY(f.Carica());
        Scrivi(f.Text7, "86");
        QCOMPARE(f.txtCavallo->text(), QStringLiteral("85"));
        QVERIFY(f.legame->MuoviSuccessivo());
        QCOMPARE(Campo(Righe()[0], "cavallo"), QStringLiteral("86"));
        QVERIFY(f.legame->MuoviPrimo());
        QCOMPARE(f.txtCavallo->text(), QStringLiteral("86"));
    }

    void unNomeCambiatoCambiaAncheNelSelettore() {
        Archivio({RigaDi("Rossi", {{"sella", "26"}}), RigaDi("Verdi", {{"sella", "26"}})});
        FinestraProva f;
        QVERIFY(f.Carica());
        Scrivi(f.txtNome, "Rossini");
        QVERIFY(f.legame->MuoviSuccessivo());
        QCOMPARE(f.legame->DBCombo1()->itemText(0), QStringLiteral("Rossini"));
        QVERIFY(!f.legame->TrovaAtleta(QStringLiteral("Rossi")));
        QVERIFY(f.legame->TrovaAtleta(QStringLiteral("Rossini")));
        QCOMPARE(f.legame->Posizione(), 0);
    }

    // The picker lists the names alphabetically, as the coach's language
    // sorts them (accents and upper or lower case alike), and keeps them so
    // as names change, come and go; the navigator keeps the table's order,
    // and a name picked finds the first row of that name.
    void ilSelettoreElencaINomiInOrdineAlfabetico() {
        Archivio({RigaDi("Rossi"), RigaDi("bianco"), RigaDi("Zeta"), RigaDi("Élodie"),
                  RigaDi("Bianchi", {{"note", "primo"}}), RigaDi("àlbero"), RigaDi("Bruno"),
                  RigaDi("Bianchi", {{"note", "secondo"}})});
        FinestraProva f(true);
        QVERIFY(f.Carica());
        QComboBox* picker = f.legame->DBCombo1();
        const auto elenco = [picker] {
            QStringList nomi;
            for (int i = 0; i < picker->count(); ++i) nomi << picker->itemText(i);
            return nomi;
        };
        QCOMPARE(elenco(), (QStringList{QStringLiteral("àlbero"), "Bianchi", "Bianchi", "bianco", "Bruno",
                                        QStringLiteral("Élodie"), "Rossi", "Zeta"}));
        QCOMPARE(f.Data1->ElencoNomi()->stringList(),
                 (QStringList{"Rossi", "bianco", "Zeta", QStringLiteral("Élodie"), "Bianchi", QStringLiteral("àlbero"),
                              "Bruno", "Bianchi"}));

        {
            // A second window on the same archive lists them alike.
            FinestraProva g;
            QVERIFY(g.Carica());
            QStringList nomi;
            for (int i = 0; i < g.legame->DBCombo1()->count(); ++i) nomi << g.legame->DBCombo1()->itemText(i);
            QCOMPARE(nomi, elenco());
        }
        // The second Bianchi of the list is picked: the first of the table is shown.
        picker->showPopup();
        QTRY_VERIFY(picker->view()->isVisible());
        picker->view()->setCurrentIndex(picker->model()->index(2, 0));
        QTest::keyClick(picker->view(), Qt::Key_Return);
        QTRY_COMPARE(f.legame->Posizione(), 4);
        QCOMPARE(f.txtNote->toPlainText(), QStringLiteral("primo"));
        // The navigator goes on in the table's order.
        QVERIFY(f.legame->MuoviSuccessivo());
        QCOMPARE(f.txtNome->text(), QStringLiteral("àlbero"));

        // A name changed, a row deleted, a row added: the list stays in order.
        Scrivi(f.txtNome, "Anna");
        QVERIFY(f.legame->MuoviPrimo());
        QVERIFY(f.legame->EliminaAtleta());  // Rossi
        QVERIFY(f.legame->MuoviUltimo());
        QVERIFY(f.legame->MuoviSuccessivo());
        QVERIFY(f.legame->RigaNuova());
        Scrivi(f.txtNome, "carla");
        QVERIFY(f.legame->MuoviPrecedente());
        QCOMPARE(elenco(), (QStringList{"Anna", "Bianchi", "Bianchi", "bianco", "Bruno", "carla",
                                        QStringLiteral("Élodie"), "Zeta"}));
        QCOMPARE(f.Data1->ElencoNomi()->stringList(), (QStringList{"bianco", "Zeta", QStringLiteral("Élodie"),
                                                                   "Bianchi", "Anna", "Bruno", "Bianchi", "carla"}));
        QVERIFY(f.legame->TrovaAtleta(QStringLiteral("carla")));
        QCOMPARE(f.legame->Posizione(), 7);
    }

    void laSchedaAtletiAggiungeUnaRigaSoloSeVieneScrittoQualcosa() {
        Archivio({RigaDi("Rossi", {{"sella", "26"}}), RigaDi("Verdi", {{"sella", "26"}})});
        const std::string prima = prova::LeggiByte(ambiente_->file);
        FinestraProva f(true);
        QVERIFY(f.Carica());
        QTest::mouseClick(f.Data1->PulsanteUltimo(), Qt::LeftButton);
        QTest::mouseClick(f.Data1->PulsanteSuccessivo(), Qt::LeftButton);
        QVERIFY(f.legame->RigaNuova());
        QVERIFY(f.txtNome->text().isEmpty());
        QVERIFY(!f.txtNome->isReadOnly());
        // Nothing typed: moving back drops the new row.
        QTest::mouseClick(f.Data1->PulsantePrecedente(), Qt::LeftButton);
        QCOMPARE(f.txtNome->text(), QStringLiteral("Verdi"));
        QVERIFY(prova::LeggiByte(ambiente_->file) == prima);

        QTest::mouseClick(f.Data1->PulsanteSuccessivo(), Qt::LeftButton);
        QVERIFY(f.legame->RigaNuova());
        Scrivi(f.txtNome, "Neri");
        Scrivi(f.Text7, "84");
        QTest::mouseClick(f.Data1->PulsantePrecedente(), Qt::LeftButton);
        QCOMPARE(f.txtNome->text(), QStringLiteral("Verdi"));
        auto righe = Righe();
        QCOMPARE(righe.size(), std::size_t{3});
        QCOMPARE(Campo(righe[2], "nome"), QStringLiteral("Neri"));
        QCOMPARE(Campo(righe[2], "cavallo"), QStringLiteral("84"));
        QCOMPARE(f.legame->DBCombo1()->count(), 3);
        QCOMPARE(f.legame->DBCombo1()->itemText(0), QStringLiteral("Neri"));
        QVERIFY(f.legame->TrovaAtleta(QStringLiteral("Neri")));

        // Typed into a new row, then the window closes: written as well.
        QVERIFY(f.legame->MuoviSuccessivo());
        QVERIFY(f.legame->RigaNuova());
        Scrivi(f.txtNome, "Gialli");
        QVERIFY(f.close());
        righe = Righe();
        QCOMPARE(righe.size(), std::size_t{4});
        QCOMPARE(Campo(righe[3], "nome"), QStringLiteral("Gialli"));
    }

    void eliminareMostraLaRigaSeguente() {
        Archivio({RigaDi("A", {{"sella", "26"}}), RigaDi("B", {{"sella", "26"}}), RigaDi("C", {{"sella", "26"}})});
        FinestraProva f(true);
        QVERIFY(f.Carica());
        QVERIFY(f.legame->MuoviSuccessivo());
        Scrivi(f.txtPeso, "99");  // an edit of the row being deleted is dropped with it
        QVERIFY(f.legame->EliminaAtleta());
        QCOMPARE(f.txtNome->text(), QStringLiteral("C"));
        QCOMPARE(f.legame->DBCombo1()->count(), 2);
        QVERIFY(f.legame->EliminaAtleta());
        // The last row gone: the end, where a second delete does nothing.
        QVERIFY(f.legame->AllaFine());
        QVERIFY(!f.legame->EliminaAtleta());
        const auto righe = Righe();
        QCOMPARE(righe.size(), std::size_t{1});
        QCOMPARE(Campo(righe[0], "nome"), QStringLiteral("A"));
        QVERIFY(ambiente_->avvisi.ricevuti.isEmpty());
    }

    void unaScritturaRifiutataVieneSegnalataELaModificaResta_data() {
        QTest::addColumn<QString>("guasto");
        QTest::addColumn<QString>("motivo");
        // clang-format off
        QTest::newRow("read-only archive") << "solaLettura" << "sola lettura";
        QTest::newRow("disk full") << "discoPieno" << "disco è pieno";
        // clang-format on
    }

    void unaScritturaRifiutataVieneSegnalataELaModificaResta() {
        QFETCH(QString, guasto);
        QFETCH(QString, motivo);
        Archivio(
            {RigaDi("Rossi", {{"peso", "70"}, {"sella", "26"}}), RigaDi("Verdi", {{"peso", "60"}, {"sella", "26"}})});
        const std::string prima = prova::LeggiByte(ambiente_->file);
        std::unique_ptr<prova::SolaLettura> blocco;
        if (guasto == "solaLettura") {
            blocco = std::make_unique<prova::SolaLettura>(ambiente_->file);
            if (!blocco->riuscito()) QSKIP("this file system cannot make the file read-only");
        }
        FinestraProva f;
        QVERIFY(f.Carica());
        Scrivi(f.txtPeso, "72");
        Scrivi(f.txtNote, "nuova nota");

        rlimit vecchio{};
        auto segnale = SIG_DFL;
        if (guasto == "discoPieno") {
            QCOMPARE(::getrlimit(RLIMIT_FSIZE, &vecchio), 0);
            segnale = std::signal(SIGXFSZ, SIG_IGN);
            rlimit limite = vecchio;
            limite.rlim_cur = 0;
            QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limite), 0);
        }
        QTest::mouseClick(f.Data1->PulsanteSuccessivo(), Qt::LeftButton);
        QVERIFY(!f.legame->TrovaAtleta(QStringLiteral("Verdi")));
        if (guasto == "discoPieno") {
            ::setrlimit(RLIMIT_FSIZE, &vecchio);
            std::signal(SIGXFSZ, segnale);
        }

        // Told twice, with the file and the reason; still on Rossi, the edit on screen.
        QCOMPARE(ambiente_->avvisi.ricevuti.size(), 2);
        const QString testo = ambiente_->avvisi.ricevuti.first().testo;
        QVERIFY2(testo.contains(prova::PercorsoDi(ambiente_->file)), qPrintable(testo));
        QVERIFY2(testo.contains(motivo), qPrintable(testo));
        QVERIFY2(testo.contains(QStringLiteral("Rossi")), qPrintable(testo));
        QCOMPARE(f.txtNome->text(), QStringLiteral("Rossi"));
        QCOMPARE(f.txtPeso->text(), QStringLiteral("72"));
        QCOMPARE(f.txtNote->toPlainText(), QStringLiteral("nuova nota"));
        QVERIFY(f.legame->Modificata());
        QVERIFY(!f.txtPeso->isReadOnly());
        QVERIFY(prova::LeggiByte(ambiente_->file) == prima);

        // Once the file can be written, the same edit goes in.
        if (blocco) blocco->Rilascia();
        QVERIFY(f.legame->MuoviSuccessivo());
        QCOMPARE(f.txtNome->text(), QStringLiteral("Verdi"));
        QCOMPARE(Campo(Righe()[0], "peso"), QStringLiteral("72"));
        QCOMPARE(Campo(Righe()[0], "note"), QStringLiteral("nuova nota"));
    }

    void chiudereConUnaScritturaRifiutataChiedeConferma() {
        Archivio({RigaDi("Rossi", {{"peso", "70"}, {"sella", "26"}})});
        const std::string prima = prova::LeggiByte(ambiente_->file);
        prova::SolaLettura blocco(ambiente_->file);
        if (!blocco.riuscito()) QSKIP("this file system cannot make the file read-only");
        FinestraProva f;
        QVERIFY(f.Carica());
        Scrivi(f.txtPeso, "72");

        ambiente_->avvisi.risposta = QMessageBox::No;
        QVERIFY(!f.close());
        QVERIFY(f.isVisible());
        QCOMPARE(ambiente_->avvisi.ricevuti.size(), 1);
        QVERIFY(ambiente_->avvisi.ricevuti[0].pulsanti == (QMessageBox::Yes | QMessageBox::No));
        QCOMPARE(f.txtPeso->text(), QStringLiteral("72"));

        ambiente_->avvisi.risposta = QMessageBox::Yes;
        QVERIFY(f.close());
        QCOMPARE(ambiente_->avvisi.ricevuti.size(), 2);
        blocco.Rilascia();
        QVERIFY(prova::LeggiByte(ambiente_->file) == prima);
    }

    // Athletes added to the archive (an import) join the window's list; when
    // the list cannot be read again, the coach is told, and what was added is
    // still said to be added.
    void gliAtletiAggiuntiEntranoNellElenco() {
        Archivio({RigaDi("Rossi")});
        FinestraProva f;
        QVERIFY(f.Carica());
        auto aggiungiVerdi = [](archivio::Archivio& a) {
            std::int64_t id = 0;
            return a.AggiungiRiga(RigaDi("Verdi"), id);
        };
        QVERIFY(f.legame->AggiungiAtleti(aggiungiVerdi).ok());
        QCOMPARE(f.legame->NumeroRighe(), 2);
        QVERIFY(ambiente_->avvisi.ricevuti.isEmpty());

        const int attesa = archivio::Archivio::AttesaBloccoMs;
        archivio::Archivio::AttesaBloccoMs = 50;
        std::unique_ptr<prova::BloccoArchivio> blocco;
        const archivio::Esito esito = f.legame->AggiungiAtleti([&](archivio::Archivio& a) {
            const archivio::Esito e = aggiungiVerdi(a);
            blocco = std::make_unique<prova::BloccoArchivio>(ambiente_->file);  // another program, at once
            return e;
        });
        archivio::Archivio::AttesaBloccoMs = attesa;
        QVERIFY(blocco->riuscito());
        QVERIFY(esito.ok());
        QCOMPARE(ambiente_->avvisi.ricevuti.size(), 1);
        blocco->Rilascia();
        QVERIFY(f.close());
        QCOMPARE(Righe().size(), std::size_t(3));
    }
};

QTEST_MAIN(TestLegameScrittura)
#include "test_legame_scrittura.moc"
