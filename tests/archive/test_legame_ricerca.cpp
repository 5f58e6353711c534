// An athlete window on the archive: opening, the search by name, the picker,
// the navigator, what the bound controls show, and files that cannot be opened.
#include "FinestraProva.h"
#include "modLanguageSupport.h"

#include <sqlcipher/sqlite3.h>

#include <QAbstractItemView>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

using prova::Campo;
using prova::FinestraProva;
using prova::RigaDi;

class TestLegameRicerca : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<prova::AmbienteArchivio> ambiente_;

    void Archivio(const std::vector<archivio::Riga>& righe) { prova::CreaArchivio(ambiente_->file, righe); }

    static void ControllaAllaFine(FinestraProva& f) {
        QVERIFY(f.legame->AllaFine());
        QCOMPARE(f.legame->Posizione(), -1);
        for (QLineEdit* box : {f.txtNome, f.Text7, f.txtPeso, f.txtSella}) {
            QVERIFY2(box->text().isEmpty(), qPrintable(box->objectName()));
            QVERIFY2(box->isReadOnly(), qPrintable(box->objectName()));
        }
        QVERIFY(f.txtNote->toPlainText().isEmpty());
        QVERIFY(f.txtNote->isReadOnly());
        QVERIFY(!f.cmbSesso->isEnabled());
        QVERIFY(!f.chkAttFis->isEnabled());
        QVERIFY(!f.chkAttFis->isChecked());
    }

private slots:
    void init() { ambiente_ = std::make_unique<prova::AmbienteArchivio>(); }
    void cleanup() { ambiente_.reset(); }

    void unArchivioMancanteVieneCreatoELaSchedaRestaVuota() {
        FinestraProva f;
        QVERIFY(f.Carica());
        QVERIFY(std::filesystem::exists(ambiente_->file));
        QVERIFY(ambiente_->avvisi.ricevuti.isEmpty());
        ControllaAllaFine(f);
        QCOMPARE(f.legame->DBCombo1()->count(), 0);
        QCOMPARE(f.legame->DBCombo1()->currentText(), QStringLiteral("seleziona"));
        // Typing into the empty sheet leaves nothing that could be lost.
        f.txtPeso->setFocus();
        QTest::keyClicks(f.txtPeso, "70");
        QVERIFY(f.txtPeso->text().isEmpty());
    }

    void sullaSchedaAtletiUnArchivioVuotoIniziaUnNuovoAtleta() {
        FinestraProva f(true);
        QVERIFY(f.Carica());
        QVERIFY(f.legame->RigaNuova());
        QVERIFY(!f.txtNome->isReadOnly());
        QVERIFY(f.chkAttFis->isEnabled());
    }

    void senzaNomeSiApreSullaPrimaRigaEIlSelettoreElencaINomi() {
        Archivio({RigaDi("Rossi", {{"peso", "70"}}), RigaDi("Verdi"), RigaDi(""), RigaDi("Neri")});
        FinestraProva f;
        QVERIFY(f.Carica());
        QCOMPARE(f.txtNome->text(), QStringLiteral("Rossi"));
        QCOMPARE(f.txtPeso->text(), QStringLiteral("70"));
        QComboBox* picker = f.findChild<QComboBox*>(QStringLiteral("DBCombo1"));
        QVERIFY(picker);
        QCOMPARE(picker->currentText(), QStringLiteral("seleziona"));
        QStringList nomi;
        for (int i = 0; i < picker->count(); ++i) nomi << picker->itemText(i);
        QCOMPARE(nomi, (QStringList{"", "Neri", "Rossi", "Verdi"}));
        QVERIFY(f.findChild<NavigatoreDati*>(QStringLiteral("Data1")));
        QCOMPARE(f.findChild<QLineEdit*>(QStringLiteral("txtNome")), f.txtNome);
    }

    void trovaAtletaConfrontaINomiEsattamente_data() {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<int>("posizione");  // -1: the end
        // Table: rossi, "Rossi ", Bianchi, Bianchi, Verdi, (no name)
        QTest::newRow("Rossi is not rossi") << "Rossi" << -1;
        QTest::newRow("rossi") << "rossi" << 0;
        QTest::newRow("trailing blank counts") << "Rossi " << 1;
        QTest::newRow("first of two Bianchi") << "Bianchi" << 2;
        QTest::newRow("no prefix match") << "Bianch" << -1;
        QTest::newRow("last row") << "Verdi" << 4;
        QTest::newRow("empty name matches no row") << "" << -1;
        QTest::newRow("accents matter") << QStringLiteral("Vérdi") << -1;
    }

    void trovaAtletaConfrontaINomiEsattamente() {
        QFETCH(QString, nome);
        QFETCH(int, posizione);
        Archivio({RigaDi("rossi"), RigaDi("Rossi "), RigaDi("Bianchi", {{"note", "primo"}}),
                  RigaDi("Bianchi", {{"note", "secondo"}}), RigaDi("Verdi"), RigaDi("")});
        FinestraProva f;
        QVERIFY(f.Carica());
        QCOMPARE(f.legame->TrovaAtleta(nome), posizione >= 0);
        QCOMPARE(f.legame->Posizione(), posizione);
        if (posizione < 0) {
            ControllaAllaFine(f);
        } else {
            QCOMPARE(f.txtNome->text(), nome);
            QVERIFY(!f.txtNome->isReadOnly());
        }
        // The load with a name reaches the same row.
        NomeAtletaCorrente = nome;
        FinestraProva g;
        QVERIFY(g.Carica());
        QCOMPARE(g.legame->Posizione(), nome.isEmpty() ? 0 : posizione);
        QVERIFY(ambiente_->avvisi.ricevuti.isEmpty());
    }

    void conDueBianchiIlSelettoreMostraSempreIlPrimo() {
        Archivio({RigaDi("Rossi"), RigaDi("Bianchi", {{"note", "primo"}}), RigaDi("Bianchi", {{"note", "secondo"}})});
        FinestraProva f;
        QVERIFY(f.Carica());
        QComboBox* picker = f.legame->DBCombo1();
        // The user picks the second Bianchi of the list.
        picker->showPopup();
        QTRY_VERIFY(picker->view()->isVisible());
        picker->view()->setCurrentIndex(picker->model()->index(1, 0));
        QTest::keyClick(picker->view(), Qt::Key_Return);
        QTRY_COMPARE(f.legame->Posizione(), 1);
        QCOMPARE(f.txtNote->toPlainText(), QStringLiteral("primo"));
        QCOMPARE(picker->currentText(), QStringLiteral("Bianchi"));
        // Only the navigator reaches the second.
        QTest::mouseClick(f.Data1->PulsanteSuccessivo(), Qt::LeftButton);
        QCOMPARE(f.legame->Posizione(), 2);
        QCOMPARE(f.txtNote->toPlainText(), QStringLiteral("secondo"));
    }

    // The rows a search passes over keep their unclean measures: neither the
    // measure rule nor the recomputation runs for them, and nothing is written.
    void laRicercaNonToccaLeRigheCheAttraversa() {
        Archivio({RigaDi("Aldo", {{"cavallo", "72,5"}}), RigaDi("Bruno", {{"cavallo", "73,5"}, {"sella", ""}}),
                  RigaDi("Carlo", {{"peso", "6O"}}), RigaDi("Dario", {{"cavallo", "80,5"}})});
        {
            NomeAtletaCorrente = QStringLiteral("Dario");
            FinestraProva f;
            QVERIFY(f.Carica());
            QCOMPARE(f.txtNome->text(), QStringLiteral("Dario"));
            QCOMPARE(f.Text7->text(), QStringLiteral("80.5"));
            QVERIFY(!f.ricalcoli.isEmpty());
            QVERIFY(std::all_of(f.ricalcoli.begin(), f.ricalcoli.end(), [](const QString& n) { return n == "Dario"; }));
            QVERIFY(f.close());
        }
        auto righe = prova::RigheNelFile(ambiente_->file);
        QCOMPARE(Campo(righe[0], "cavallo"), QStringLiteral("72,5"));
        QCOMPARE(Campo(righe[1], "cavallo"), QStringLiteral("73,5"));
        QCOMPARE(Campo(righe[1], "sella"), QString());
        QCOMPARE(Campo(righe[2], "peso"), QStringLiteral("6O"));
        // The row the window settled on is shown cleaned, with the saddle
        // default, and stored as it was: the coach changed nothing.
        QCOMPARE(Campo(righe[3], "cavallo"), QStringLiteral("80,5"));
        QCOMPARE(Campo(righe[3], "sella"), QString());

        // A pick from the first row: the two rows in between are not even
        // recomputed.
        NomeAtletaCorrente.clear();
        RigaAtletaCorrente.reset();
        {
            FinestraProva f;
            QVERIFY(f.Carica());
            f.ricalcoli.clear();
            emit f.Data1->NomeScelto(QStringLiteral("Dario"));
            QCOMPARE(f.legame->Posizione(), 3);
            QVERIFY(!f.ricalcoli.contains(QStringLiteral("Bruno")));
            QVERIFY(!f.ricalcoli.contains(QStringLiteral("Carlo")));
        }
        righe = prova::RigheNelFile(ambiente_->file);
        QCOMPARE(Campo(righe[0], "cavallo"), QStringLiteral("72,5"));
        QCOMPARE(Campo(righe[1], "cavallo"), QStringLiteral("73,5"));
        QCOMPARE(Campo(righe[2], "peso"), QStringLiteral("6O"));
    }

    // Each bound box notifies once when the binding shows a different text,
    // and not at all for the same text.
    void lAssociazioneNotificaSoloITestiCheCambiano() {
        Archivio({RigaDi("A", {{"cavallo", "80"}, {"note", "x"}}), RigaDi("B", {{"cavallo", "80"}, {"note", "x"}}),
                  RigaDi("C", {{"cavallo", "81"}, {"note", "y"}, {"AttivFis", "1"}})});
        FinestraProva f;
        QVERIFY(f.Carica());
        QSignalSpy cavallo(f.txtCavallo, &QLineEdit::textChanged);
        QSignalSpy note(f.txtNote, &QPlainTextEdit::textChanged);
        QSignalSpy casella(f.chkAttFis, &QCheckBox::toggled);
        QSignalSpy mostrata(f.legame.get(), &LegameArchivio::RigaMostrata);
        QVERIFY(f.legame->MuoviSuccessivo());
        QCOMPARE(f.txtNome->text(), QStringLiteral("B"));
        QCOMPARE(cavallo.count(), 0);
        QCOMPARE(note.count(), 0);
        QCOMPARE(casella.count(), 0);
        QCOMPARE(mostrata.count(), 1);
        QVERIFY(f.legame->MuoviSuccessivo());
        QCOMPARE(cavallo.count(), 1);
        QCOMPARE(cavallo.at(0).at(0).toString(), QStringLiteral("81"));
        QCOMPARE(note.count(), 1);
        QCOMPARE(casella.count(), 1);
        QVERIFY(f.chkAttFis->isChecked());
    }

    // A default that the recomputation fills in while the row is still being
    // shown, before the saddle box has its own value, is not the row's.
    void unaRegolaCheAnticipaUnaColonnaNonSovrascriveIlValoreDellaRiga() {
        Archivio({RigaDi("Verdi", {{"cavallo", "85"}, {"sella", "26"}})});
        const std::string prima = prova::LeggiByte(ambiente_->file);
        NomeAtletaCorrente = QStringLiteral("nessuno");
        FinestraProva f;
        QVERIFY(f.Carica());
        QVERIFY(f.legame->AllaFine());
        f.ricalcoli.clear();
        QVERIFY(f.legame->TrovaAtleta(QStringLiteral("Verdi")));
        QCOMPARE(f.txtSella->text(), QStringLiteral("26"));
        QVERIFY(!f.legame->Modificata());
        QVERIFY(f.close());
        QCOMPARE(prova::LeggiByte(ambiente_->file), prima);
    }

    void ilNavigatoreDelleSchedeSiFermaAllUltimaRiga() {
        Archivio({RigaDi("A"), RigaDi("B"), RigaDi("C")});
        FinestraProva f;
        QVERIFY(f.Carica());
        struct Passo {
            QToolButton* pulsante;
            int attesa;
        };
        const std::vector<Passo> passi{
            {f.Data1->PulsantePrecedente(), 0}, {f.Data1->PulsanteSuccessivo(), 1}, {f.Data1->PulsanteUltimo(), 2},
            {f.Data1->PulsanteSuccessivo(), 2}, {f.Data1->PulsantePrecedente(), 1}, {f.Data1->PulsantePrimo(), 0},
        };
        for (const Passo& p : passi) {
            QTest::mouseClick(p.pulsante, Qt::LeftButton);
            QCOMPARE(f.legame->Posizione(), p.attesa);
        }
        // From the end of a failed search, back to the last row.
        QVERIFY(!f.legame->TrovaAtleta(QStringLiteral("Z")));
        QVERIFY(!f.legame->MuoviSuccessivo());
        QVERIFY(f.legame->AllaFine());
        QVERIFY(f.legame->MuoviPrecedente());
        QCOMPARE(f.txtNome->text(), QStringLiteral("C"));
        QCOMPARE(f.legame->NumeroRighe(), 3);
    }

    void ilNomeAtletaCorrentePassaDaUnaFinestraAllAltra() {
        Archivio({RigaDi("Rossi"), RigaDi("Verdi"), RigaDi("Neri")});
        NomeAtletaCorrente = QStringLiteral("Verdi");
        auto primo = std::make_unique<FinestraProva>();
        QVERIFY(primo->Carica());
        QCOMPARE(primo->txtNome->text(), QStringLiteral("Verdi"));
        emit primo->Data1->NomeScelto(QStringLiteral("Neri"));
        QVERIFY(primo->close());
        QCOMPARE(NomeAtletaCorrente, QStringLiteral("Neri"));
        FinestraProva secondo;
        QVERIFY(secondo.Carica());
        QCOMPARE(secondo.txtNome->text(), QStringLiteral("Neri"));
    }

    // The row carried beside the name opens the very athlete left, the
    // second of two namesakes too; a row whose name is no longer the one
    // carried is not trusted, and the name is searched.
    void laRigaPortataValeSoloColSuoNome() {
        Archivio({RigaDi("Bianchi", {{"peso", "60"}}), RigaDi("Bianchi", {{"peso", "80"}}), RigaDi("Verdi")});
        auto primo = std::make_unique<FinestraProva>();
        QVERIFY(primo->Carica());
        emit primo->Data1->Successivo();
        QCOMPARE(primo->txtPeso->text(), QStringLiteral("80"));
        QVERIFY(primo->close());
        const auto secondoBianchi = RigaAtletaCorrente;
        QVERIFY(secondoBianchi);
        primo = std::make_unique<FinestraProva>();
        QVERIFY(primo->Carica());
        QCOMPARE(primo->txtPeso->text(), QStringLiteral("80"));
        primo.reset();
        NomeAtletaCorrente = QStringLiteral("Verdi");
        RigaAtletaCorrente = secondoBianchi;
        FinestraProva secondo;
        QVERIFY(secondo.Carica());
        QCOMPARE(secondo.txtNome->text(), QStringLiteral("Verdi"));
    }

    void nomeBoxNavigatoreESelettoreStannoInUnaRiga() {
        Archivio({RigaDi("Rossi")});
        FinestraProva f;
        QVERIFY(f.Carica());
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        NavigatoreDati* nav = f.Data1;
        QCOMPARE(f.txtNome->parentWidget(), nav);
        const QRect nome = f.txtNome->geometry();
        QVERIFY(f.Data1->PulsantePrimo()->geometry().right() < f.Data1->PulsantePrecedente()->geometry().left());
        QVERIFY(f.Data1->PulsantePrecedente()->geometry().right() < nome.left());
        QVERIFY(nome.right() < f.Data1->PulsanteSuccessivo()->geometry().left());
        QVERIFY(f.Data1->PulsanteSuccessivo()->geometry().right() < f.Data1->PulsanteUltimo()->geometry().left());
        QComboBox* picker = f.legame->DBCombo1();
        QCOMPARE(picker->geometry().right(), nav->rect().right());
        // In front, the name box; at the right end, only the picker's button.
        QCOMPARE(nav->childAt(nome.center()), f.txtNome);
        const QPoint tendina(nav->width() - 3, nav->height() / 2);
        QWidget* sotto = nav->childAt(tendina);
        QVERIFY(sotto == picker || picker->isAncestorOf(sotto));
        QVERIFY(f.Data1->PulsanteUltimo()->geometry().right() < tendina.x());
        QWidget* dietroIlNome = nav->childAt(nome.center());
        QVERIFY(dietroIlNome != picker && !picker->isAncestorOf(dietroIlNome));
    }

    // Moved into the navigator's row, the name box keeps its place in the
    // window's Tab order, wherever the navigator was made; the arrows and the
    // picker take no Tab stop.
    void ilNomeTieneIlSuoPostoNellOrdineDiTabulazione() {
        QWidget w;
        auto* prima = new QLineEdit(&w);
        auto* txtNome = new QLineEdit(&w);
        txtNome->setObjectName(QStringLiteral("txtNome"));
        auto* dopo = new QLineEdit(&w);
        auto* ultima = new QLineEdit(&w);
        auto* nav = new NavigatoreDati(&w);
        prima->move(0, 40);
        dopo->move(0, 80);
        ultima->move(0, 120);
        nav->setGeometry(0, 0, 300, 24);
        LegameArchivio legame(&w, nav, txtNome, {{dopo, QStringLiteral("peso")}});
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        prima->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), prima);
        // The navigator's arrows and its picker are reached too, where they
        // stand in the window's order (an athlete window puts them last).
        const std::vector<QWidget*> attesa{txtNome,
                                           dopo,
                                           ultima,
                                           nav->PulsantePrimo(),
                                           nav->PulsantePrecedente(),
                                           nav->PulsanteSuccessivo(),
                                           nav->PulsanteUltimo(),
                                           nav->DBCombo1(),
                                           prima};
        for (QWidget* prossimo : attesa) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), prossimo);
        }
        QTest::keyClick(prima, Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), nav->DBCombo1());
    }

    void unFileCheNonSiApreVieneSegnalatoELasciatoIntatto_data() {
        QTest::addColumn<QString>("caso");
        QTest::addColumn<QString>("motivo");
        // Told as an archive locked by a passphrase: the key of another file
        // cannot be told from a passphrase not given.
        QTest::newRow("another password") << "password"
                                          << "passphrase";
        QTest::newRow("not a database") << "testo"
                                        << "password";
        QTest::newRow("damaged") << "danneggiato"
                                 << "";
        QTest::newRow("locked") << "bloccato"
                                << "bloccato da un altro programma";
    }

    void unFileCheNonSiApreVieneSegnalatoELasciatoIntatto() {
        QFETCH(QString, caso);
        QFETCH(QString, motivo);
        sqlite3* altro = nullptr;
        if (caso == "password") {
            prova::Sql(ambiente_->file, "unaltra",
                       "CREATE TABLE atleta(nome TEXT); INSERT INTO atleta VALUES ('Rossi')");
        } else if (caso == "testo") {
            prova::ScriviByte(ambiente_->file, "Rossi;85;62\n");
        } else {
            std::vector<archivio::Riga> righe;
            for (int i = 0; i < 30; ++i) righe.push_back(prova::RigaGenerazione(i + 1));
            Archivio(righe);
            if (caso == "danneggiato") {
                std::string b = prova::LeggiByte(ambiente_->file);
                // The athletes' table, the first made after the schema's page
                // (1 KB pages): every name listed is read through it.
                for (std::size_t i = 1024 + 64; i < 1024 + 96; ++i) b[i] = static_cast<char>(~b[i]);
                prova::ScriviByte(ambiente_->file, b);
            } else {
                archivio::Archivio::AttesaBloccoMs = 100;
                QCOMPARE(sqlite3_open_v2(ambiente_->file.c_str(), &altro, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
                QCOMPARE(sqlite3_exec(altro, (archivio::SqlChiave() + " BEGIN EXCLUSIVE; DELETE FROM atleta;").c_str(),
                                      nullptr, nullptr, nullptr),
                         SQLITE_OK);
            }
        }
        const std::string prima = prova::LeggiByte(ambiente_->file);
        {
            FinestraProva f;
            QVERIFY(!f.Carica());
            QCOMPARE(ambiente_->avvisi.ricevuti.size(), 1);
            const auto& avviso = ambiente_->avvisi.ricevuti.first();
            QCOMPARE(avviso.titolo, QStringLiteral("Tovarin Project"));
            QVERIFY2(avviso.testo.contains(prova::PercorsoDi(ambiente_->file)), qPrintable(avviso.testo));
            QVERIFY2(avviso.testo.contains(motivo), qPrintable(avviso.testo));
            QVERIFY(avviso.pulsanti == QMessageBox::Ok);
            ControllaAllaFine(f);
            QCOMPARE(f.legame->DBCombo1()->count(), 0);
            QVERIFY(!f.legame->MuoviSuccessivo());
            QVERIFY(!f.legame->TrovaAtleta(QStringLiteral("Rossi")));
            QVERIFY(f.close());
        }
        if (altro) {
            sqlite3_exec(altro, "ROLLBACK;", nullptr, nullptr, nullptr);
            sqlite3_close(altro);
            archivio::Archivio::AttesaBloccoMs = 1500;
        }
        QCOMPARE(ambiente_->avvisi.ricevuti.size(), 1);
        QVERIFY(prova::LeggiByte(ambiente_->file) == prima);
    }
};

QTEST_MAIN(TestLegameRicerca)
#include "test_legame_ricerca.moc"
