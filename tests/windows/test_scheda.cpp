// The fit sheet: the results a coach reads while typing, the default saddle
// length, the athlete it works on, and the enlarged pictures.
#include "Archivio.h"
#include "AtletaCorrente.h"
#include "AvvisiArchivio.h"
#include "CartellaProva.h"
#include "Controlli.h"
#include "LegameArchivio.h"
#include "NavigatoreDati.h"
#include "StampaFinestra.h"
#include "Stili.h"
#include "SupportoArchivio.h"
#include "frmScheda.h"
#include "frmZoom.h"
#include "frmZoom2.h"
#include "mdi.h"
#include "modLanguageSupport.h"

#include <QComboBox>
#include <QPrinter>
#include <QRegularExpression>
#include <QtTest>

#include <map>
#include <memory>

namespace {

using Campi = std::map<std::string, std::string>;

struct Atleta {
    std::string nome;
    Campi campi;
};

archivio::Riga RigaDi(const Atleta& a) {
    archivio::Riga r;
    r[archivio::ColonnaNome] = a.nome;
    for (const auto& [colonna, valore] : a.campi) r[*archivio::IndiceColonna(colonna)] = valore;
    return r;
}

// The athletes of the worked examples of the fit.
// clang-format off
const Atleta AtletaA{"Rossi", {{"cavallo", "78"}, {"busto", "58"}, {"coscia", "52"}, {"gamba", "50"},
                               {"braccio", "57"}, {"spalle", "40"}, {"sella", "28.5"}}};
const Atleta AtletaB{"Bianchi", {{"cavallo", "85"}, {"busto", "62"}, {"coscia", "55"}, {"gamba", "50"},
                                 {"braccio", "60"}, {"spalle", "42"}}};
// clang-format on
const Atleta AtletaC{"Verdi", {{"cavallo", "80"}}};

// The ten results in the order TP, TO, PE, alfa, piega, pipa, HS, DSM, SM, R.
using Dieci = QStringList;

const char* const NomiRisultati[] = {"txtTP",   "txtTO", "txtPE",  "txtAlfa", "txtPiega",
                                     "txtPipa", "txtHS", "txtDSM", "txtSM",   "txtR"};

}  // namespace

class TestScheda : public QObject {
    Q_OBJECT
    std::unique_ptr<CartellaProva> cartella;
    std::unique_ptr<mdi> principale;
    std::filesystem::path file;
    QStringList avvisi;

    void CreaArchivio(const std::vector<Atleta>& atleti) {
        std::vector<archivio::Riga> righe;
        for (const Atleta& at : atleti) righe.push_back(RigaDi(at));
        prova::CreaArchivio(file, righe);
    }

    // The stored rows, by name (the tests use distinct names).
    std::map<std::string, archivio::Riga> RigheNelFile() const {
        std::map<std::string, archivio::Riga> righe;
        for (archivio::Riga& r : prova::RigheNelFile(file)) righe[r[archivio::ColonnaNome]] = std::move(r);
        return righe;
    }
    std::string Stored(const std::string& nome, const char* colonna) const {
        const auto righe = RigheNelFile();
        const auto it = righe.find(nome);
        return it == righe.end() ? std::string("<missing>") : it->second[*archivio::IndiceColonna(colonna)];
    }

    // "Assetto" on the main window, with the athlete the sheet opens on.
    frmScheda* ApriScheda(const QString& nome) {
        NomeAtletaCorrente = nome;
        QTest::mouseClick(Controllo<QPushButton>(principale, "cmdAssetto"), Qt::LeftButton);
        auto* scheda = qobject_cast<frmScheda*>(principale->FiglioAttivo());
        return scheda;
    }

    static Dieci Risultati(const frmScheda* s) {
        Dieci r;
        for (const char* nome : NomiRisultati) r << s->findChild<QLineEdit*>(QString::fromLatin1(nome))->text();
        return r;
    }

    static void Digita(QLineEdit* box, const QString& testo) {
        box->setCursorPosition(static_cast<int>(box->text().size()));
        QTest::keyClicks(box, testo);
    }

private slots:
    void init() {
        cartella = std::make_unique<CartellaProva>();
        file = cartella->file("tvp.dmg");
        avvisi.clear();
        ImpostaGestoreMessaggi([this](QWidget*, const QString&, const QString& testo, QMessageBox::StandardButtons) {
            avvisi << testo;
            return QMessageBox::No;
        });
        principale = std::make_unique<mdi>();
        principale->ImpostaFinestre([](QWidget* g) { return new QWidget(g); },
                                    [](QWidget* g) { return new frmScheda(g); },
                                    [](QWidget* g) { return new QWidget(g); }, nullptr);
        modLanguageSupport::LinguaCorrente = "italian";
        PercorsoArchivio = QString::fromStdString(file.string());
        NomeAtletaCorrente.clear();
        RigaAtletaCorrente.reset();
        AtletaCorrenteVuoto = false;
        principale->show();
    }
    void cleanup() {
        if (principale) principale->ChiudiFinestre();
        principale.reset();
        ImpostaGestoreMessaggi({});
        QVERIFY2(avvisi.isEmpty(), qPrintable(avvisi.join('\n')));
        cartella.reset();
    }

    void risultatiDegliEsempi_data() {
        QTest::addColumn<int>("quale");
        QTest::addColumn<QString>("sella");
        QTest::addColumn<bool>("grigia");
        QTest::addColumn<Dieci>("attesi");
        QTest::newRow("A: every measure")
            << 0 << "28.5" << false << Dieci{" 50.7",       " 50 - 50.7", "170",        " 74.4",      " 40",
                                             " 9.8 - 10.8", " 69",        " 48 - 50.3", " 5.3 - 5.9", " 4 - 4.5"};
        QTest::newRow("B: no saddle length")
            << 1 << "27.5" << true << Dieci{" 55.2",        " 53 - 53.7", "175",        " 73.5",    " 42",
                                            " 10.5 - 11.5", " 75.2",      " 52 - 54.5", " 7 - 7.8", " 7.3 - 7.8"};
        QTest::newRow("C: the inseam alone")
            << 2 << "27.5" << true
            << Dieci{" 52", "n.d.", "172.5", "n.d.", "n.d.", "n.d.", " 70.8", "n.d.", " 5.8 - 6.4", " 5.7 - 6.2"};
    }
    void risultatiDegliEsempi() {
        QFETCH(int, quale);
        QFETCH(QString, sella);
        QFETCH(bool, grigia);
        QFETCH(Dieci, attesi);
        const Atleta atleti[] = {AtletaA, AtletaB, AtletaC};
        CreaArchivio({AtletaA, AtletaB, AtletaC});
        frmScheda* s = ApriScheda(QString::fromStdString(atleti[quale].nome));
        QVERIFY(s);
        QCOMPARE(Controllo<QLineEdit>(s, "txtNome")->text(), QString::fromStdString(atleti[quale].nome));
        QCOMPARE(Risultati(s), attesi);
        QCOMPARE(Controllo<QLineEdit>(s, "txtSella")->text(), sella);
        QCOMPARE(s->SellaInGrigio(), grigia);
    }

    // Print puts the main window with the sheet on one landscape page; the
    // page shows the sheet's results (TOVARIN_PDF_SCHEDA=<file> keeps it).
    void stampaDellaScheda() {
        CreaArchivio({AtletaA});
        frmScheda* s = ApriScheda("Rossi");
        QVERIFY(QTest::qWaitForWindowExposed(principale.get()));
        QApplication::processEvents();
        const QString pdf = QString::fromStdString(cartella->file("scheda.pdf").string());
        ImpostaServiziStampa({[] { return std::unique_ptr<QPrinter>(); }, [&](QWidget*) { return pdf; }});
        // No printer: yes, save the page as a PDF file.
        ImpostaGestoreMessaggi(
            [](QWidget*, const QString&, const QString&, QMessageBox::StandardButtons) { return QMessageBox::Yes; });
        QTest::mouseClick(Controllo<QPushButton>(principale, "cmdPrint"), Qt::LeftButton);
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray dati = file.readAll();
        QVERIFY(dati.startsWith("%PDF"));
        auto box = QRegularExpression(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]"))
                       .match(QString::fromLatin1(dati));
        QVERIFY(box.hasMatch());
        QVERIFY(box.captured(1).toDouble() > box.captured(2).toDouble());
        QCOMPARE(Controllo<QLineEdit>(s, "txtTP")->text(),
                 QStringLiteral(" 50.7"));  // the sheet is still there, unchanged
        QVERIFY(Controllo<QPushButton>(principale, "cmdPrint")->isVisible());
        if (qEnvironmentVariableIsSet("TOVARIN_PDF_SCHEDA")) {
            QFile::remove(qEnvironmentVariable("TOVARIN_PDF_SCHEDA"));
            QVERIFY(QFile::copy(pdf, qEnvironmentVariable("TOVARIN_PDF_SCHEDA")));
        }
    }

    // The sheet's own texts, as the fitter reads them.
    void testiDellaFinestra() {
        CreaArchivio({AtletaA});
        frmScheda* s = ApriScheda("Rossi");
        QCOMPARE(s->windowTitle(), QStringLiteral(" Scheda assetto"));
        QCOMPARE(s->property("HelpContextID").toInt(), 620);
        QCOMPARE(Controllo<QLabel>(s, "Label1")->text(), QStringLiteral("1 - cavallo "));
        QCOMPARE(Controllo<QLabel>(s, "Label8")->text(), QStringLiteral("lunghezza sella"));
        QCOMPARE(Controllo<QLabel>(s, "Label12")->text(), QStringLiteral("alfa°"));
        QCOMPARE(Controllo<QLabel>(s, "Label19")->text(), QStringLiteral("PE (mm)"));
        QCOMPARE(Controllo<QLabel>(s, "Label20")->text(), QStringLiteral("set"));
        QCOMPARE(Controllo<ImmagineSvg>(s, "imgBici")->toolTip(), QStringLiteral("Clic per ingrandire"));
        QCOMPARE(Controllo<ImmagineSvg>(s, "imgBici")->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(Controllo<ImmagineSvg>(s, "imgSagoma")->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(s->Tag(), QString());
        // The athlete's own values are beside the result of the same name.
        // clang-format off
        const std::pair<QLineEdit*, QLineEdit*> coppie[] = {{Controllo<QLineEdit>(s, "txtHS"), Controllo<QLineEdit>(s, "Text13")}, {Controllo<QLineEdit>(s, "txtDSM"), Controllo<QLineEdit>(s, "Text14")},
                                                            {Controllo<QLineEdit>(s, "txtSM"), Controllo<QLineEdit>(s, "Text15")}, {Controllo<QLineEdit>(s, "txtR"), Controllo<QLineEdit>(s, "Text16")},
                                                            {Controllo<QLineEdit>(s, "txtPE"), Controllo<QLineEdit>(s, "Text17")}};
        // clang-format on
        for (const auto& [risultato, proprio] : coppie) {
            QCOMPARE(proprio->y(), risultato->y());
            QVERIFY(proprio->x() > risultato->geometry().right());
        }
    }

    void testiInInglese() {
        CreaArchivio({AtletaA});
        modLanguageSupport::LinguaCorrente = "english";
        frmScheda* s = ApriScheda("Rossi");
        QCOMPARE(s->windowTitle(), QStringLiteral(" Fit sheet"));
        QCOMPARE(Controllo<QLabel>(s, "Label1")->text(), QStringLiteral("1 - inseam "));
        QCOMPARE(Controllo<QLabel>(s, "Label13")->text(), QStringLiteral("bar width"));
        QCOMPARE(Controllo<ImmagineSvg>(s, "imgBici")->toolTip(), QStringLiteral("Click to enlarge"));
        // Numbers stay as the engine writes them.
        QCOMPARE(Controllo<QLineEdit>(s, "txtTP")->text(), QStringLiteral(" 50.7"));
    }

    // Each digit recomputes the sheet; the last run is the one on screen.
    void digitandoOttantacinque() {
        CreaArchivio({{"Neri", {}}});
        frmScheda* s = ApriScheda("Neri");
        QCOMPARE(Controllo<QLineEdit>(s, "txtSella")->text(), QStringLiteral("27.5"));
        QTest::keyClick(Controllo<QLineEdit>(s, "txtCavallo"), Qt::Key_8);
        QCOMPARE(Risultati(s), (Dieci{" 5.2", "n.d.", "165", "n.d.", "n.d.", "n.d.", " 7.1", "n.d.", "-11.8 --13.1",
                                      "-18.3 --17.8"}));
        QCOMPARE(Controllo<QLineEdit>(s, "txtCavallo")->cursorPosition(), 1);
        QTest::keyClick(Controllo<QLineEdit>(s, "txtCavallo"), Qt::Key_5);
        QCOMPARE(Risultati(s),
                 (Dieci{" 55.2", "n.d.", "175", "n.d.", "n.d.", "n.d.", " 75.2", "n.d.", " 7 - 7.8", " 7.3 - 7.8"}));
        QCOMPARE(Controllo<QLineEdit>(s, "txtCavallo")->text(), QStringLiteral("85"));
        QCOMPARE(Controllo<QLineEdit>(s, "txtCavallo")->cursorPosition(), 2);
    }

    // The saddle default: grey until the next recomputation, and kept with
    // the athlete.
    void sellaPredefinita() {
        CreaArchivio({AtletaC});
        frmScheda* s = ApriScheda("Verdi");
        QCOMPARE(Controllo<QLineEdit>(s, "txtSella")->text(), QStringLiteral("27.5"));
        QVERIFY(s->SellaInGrigio());
        QCOMPARE(ColoreTesto(Controllo<QLineEdit>(s, "txtSella")), QColor(109, 109, 109));

        Digita(Controllo<QLineEdit>(s, "txtCavallo"), "0");  // 800
        QVERIFY(!s->SellaInGrigio());
        QCOMPARE(ColoreTesto(Controllo<QLineEdit>(s, "txtSella")), QColor(0, 0, 0));
        QCOMPARE(Controllo<QLineEdit>(s, "txtTP")->text(), QStringLiteral(" 520"));

        // What the coach typed is stored; the default only shown.
        principale->ChiudiFinestre();
        QCOMPARE(Stored("Verdi", "sella"), std::string());
        QCOMPARE(Stored("Verdi", "cavallo"), std::string("800"));
    }

    // Emptying the saddle length, or typing 0 into it, computes with the
    // default at once; the box gets it, in grey, when left. A typed 27.5
    // keeps the normal colour.
    void sellaCancellata() {
        CreaArchivio({AtletaA});
        frmScheda* s = ApriScheda("Rossi");
        principale->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(principale.get()));
        Controllo<QLineEdit>(s, "txtSella")->setFocus();
        QTRY_VERIFY(Controllo<QLineEdit>(s, "txtSella")->hasFocus());
        Controllo<QLineEdit>(s, "txtSella")->selectAll();
        QTest::keyClick(Controllo<QLineEdit>(s, "txtSella"), Qt::Key_0);
        QCOMPARE(Controllo<QLineEdit>(s, "txtSella")->text(), QStringLiteral("0"));
        QCOMPARE(Controllo<QLineEdit>(s, "txtR")->text(), QStringLiteral(" 5 - 5.5"));
        // Emptied while typing: the default shows in grey as the placeholder.
        QTest::keyClick(Controllo<QLineEdit>(s, "txtSella"), Qt::Key_Backspace);
        QCOMPARE(Controllo<QLineEdit>(s, "txtSella")->text(), QString());
        QCOMPARE(Controllo<QLineEdit>(s, "txtSella")->placeholderText(), QStringLiteral("27.5"));
        Controllo<QPlainTextEdit>(s, "txtNote")->setFocus();
        QTRY_COMPARE(Controllo<QLineEdit>(s, "txtSella")->text(), QStringLiteral("27.5"));
        QCOMPARE(Controllo<QLineEdit>(s, "txtSella")->placeholderText(), QString());
        QVERIFY(s->SellaInGrigio());

        Controllo<QLineEdit>(s, "txtSella")->setFocus();
        QTRY_VERIFY(Controllo<QLineEdit>(s, "txtSella")->hasFocus());
        Controllo<QLineEdit>(s, "txtSella")->selectAll();
        QTest::keyClicks(Controllo<QLineEdit>(s, "txtSella"), "27.5");
        QCOMPARE(Controllo<QLineEdit>(s, "txtSella")->text(), QStringLiteral("27.5"));
        QVERIFY(!s->SellaInGrigio());
        QCOMPARE(Controllo<QLineEdit>(s, "txtR")->text(), QStringLiteral(" 5 - 5.5"));

        Controllo<QLineEdit>(s, "txtSella")->selectAll();
        QTest::keyClicks(Controllo<QLineEdit>(s, "txtSella"), "3");
        QCOMPARE(Controllo<QLineEdit>(s, "txtSella")->text(), QStringLiteral("3"));
        Controllo<QLineEdit>(s, "txtSella")->setCursorPosition(0);
        QTest::keyClick(Controllo<QLineEdit>(s, "txtSella"), Qt::Key_Minus);
        QCOMPARE(Controllo<QLineEdit>(s, "txtSella")->text(), QStringLiteral("-3"));
        QCOMPARE(Controllo<QLineEdit>(s, "txtDSM")->text(), QStringLiteral("n.d."));
        QCOMPARE(Controllo<QLineEdit>(s, "txtR")->text(), QStringLiteral("n.d."));
        QCOMPARE(Controllo<QLineEdit>(s, "txtTP")->text(), QStringLiteral(" 50.7"));
    }

    // Neither the load nor the picker changes an athlete: the sheet shows
    // the default saddle and the cleaned inseam, and stores nothing.
    void soloLAtletaScelto() {
        CreaArchivio({{"Primo", {{"cavallo", "80"}, {"sella", "30"}}},
                      {"Secondo", {{"cavallo", "81"}}},
                      {"Terzo", {{"cavallo", "82,5"}}},
                      {"Quarto", {{"cavallo", "83"}}}});
        frmScheda* s = ApriScheda("Secondo");
        QCOMPARE(Controllo<QLineEdit>(s, "txtSella")->text(), QStringLiteral("27.5"));
        emit Controllo<NavigatoreDati>(s, "Data1")->DBCombo1()->textActivated(QStringLiteral("Terzo"));
        QCOMPARE(Controllo<QLineEdit>(s, "txtNome")->text(), QStringLiteral("Terzo"));
        QCOMPARE(Controllo<QLineEdit>(s, "txtCavallo")->text(), QStringLiteral("82.5"));
        QCOMPARE(Controllo<QLineEdit>(s, "txtSella")->text(), QStringLiteral("27.5"));
        QVERIFY(s->SellaInGrigio());
        QCOMPARE(Controllo<QLineEdit>(s, "txtTP")->text(), QStringLiteral(" 53.6"));
        QCOMPARE(Controllo<QLineEdit>(s, "txtR")->text(), QStringLiteral(" 6.5 - 7"));
        principale->ChiudiFinestre();
        QCOMPARE(NomeAtletaCorrente, QStringLiteral("Terzo"));
        QCOMPARE(Stored("Primo", "sella"), std::string("30"));
        QCOMPARE(Stored("Secondo", "sella"), std::string());
        QCOMPARE(Stored("Terzo", "sella"), std::string());
        QCOMPARE(Stored("Terzo", "cavallo"), std::string("82,5"));
        QCOMPARE(Stored("Quarto", "sella"), std::string());
    }

    // Opening on an athlete further down leaves the first row untouched.
    void apertoPiuAvanti() {
        CreaArchivio({{"Primo", {{"cavallo", "80,5"}}}, {"Secondo", {{"cavallo", "81"}, {"sella", "26"}}}});
        frmScheda* s = ApriScheda("Secondo");
        QCOMPARE(Controllo<QLineEdit>(s, "txtSella")->text(), QStringLiteral("26"));
        QVERIFY(!s->SellaInGrigio());
        QCOMPARE(Controllo<QLineEdit>(s, "txtR")->text(), QStringLiteral(" 7.5 - 8"));
        principale->ChiudiFinestre();
        QCOMPARE(Stored("Primo", "sella"), std::string());
        QCOMPARE(Stored("Primo", "cavallo"), std::string("80,5"));
    }

    // A name no athlete has: empty, read-only boxes, nothing filled in.
    void nessunAtleta() {
        CreaArchivio({AtletaA});
        frmScheda* s = ApriScheda("Nessuno");
        QVERIFY(s->Legame()->AllaFine());
        QCOMPARE(Controllo<QLineEdit>(s, "txtSella")->text(), QString());
        QVERIFY(Controllo<QLineEdit>(s, "txtCavallo")->isReadOnly());
        QVERIFY(!s->SellaInGrigio());
        QCOMPARE(Risultati(s), Dieci(10, QStringLiteral("n.d.")));
        principale->ChiudiFinestre();
        QCOMPARE(Stored("Rossi", "sella"), std::string("28.5"));
    }

    void etichettaFerma() {
        CreaArchivio({AtletaA});
        frmScheda* s = ApriScheda("Rossi");
        const Dieci prima = Risultati(s);
        s->ImpostaTag(QStringLiteral("fermo"));
        Digita(Controllo<QLineEdit>(s, "txtCavallo"), "0,");  // 780.
        Digita(Controllo<QLineEdit>(s, "txtSpalle"), "x");
        QCOMPARE(Controllo<QLineEdit>(s, "txtCavallo")->text(), QStringLiteral("780."));  // the rule still cleans
        QCOMPARE(Controllo<QLineEdit>(s, "txtSpalle")->text(), QString());
        QCOMPARE(Risultati(s), prima);
        s->ImpostaTag(QString());
        Digita(Controllo<QLineEdit>(s, "txtCavallo"), "5");
        QCOMPARE(Controllo<QLineEdit>(s, "txtTP")->text(), QStringLiteral(" 507.3"));
        QCOMPARE(Controllo<QLineEdit>(s, "txtPiega")->text(), QStringLiteral("n.d."));
    }

    void digitazioneDelleMisure_data() {
        QTest::addColumn<QString>("digitato");
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QString>("tp");
        // clang-format off
        QTest::newRow("a comma is a full stop") << "78,5" << "78.5" << " 51";
        QTest::newRow("a separator at the end") << "78," << "78." << " 50.7";
        QTest::newRow("a letter empties the box") << "78a" << "" << "n.d.";
        QTest::newRow("two separators") << "7.8," << "" << "n.d.";
        QTest::newRow("a letter, then digits again") << "7x62" << "62" << " 40.3";
        // clang-format on
    }
    void digitazioneDelleMisure() {
        QFETCH(QString, digitato);
        QFETCH(QString, testo);
        QFETCH(QString, tp);
        CreaArchivio({{"Neri", {}}});
        frmScheda* s = ApriScheda("Neri");
        QTest::keyClicks(Controllo<QLineEdit>(s, "txtCavallo"), digitato);
        QCOMPARE(Controllo<QLineEdit>(s, "txtCavallo")->text(), testo);
        QCOMPARE(Controllo<QLineEdit>(s, "txtCavallo")->cursorPosition(), static_cast<int>(testo.size()));
        QCOMPARE(Controllo<QLineEdit>(s, "txtTP")->text(), tp);
    }

    // Typing in the middle of a number: the caret still ends at the end.
    void cursoreAllaFine() {
        CreaArchivio({AtletaA});
        frmScheda* s = ApriScheda("Rossi");
        Controllo<QLineEdit>(s, "txtBusto")->setCursorPosition(1);
        QTest::keyClick(Controllo<QLineEdit>(s, "txtBusto"), Qt::Key_Comma);
        QCOMPARE(Controllo<QLineEdit>(s, "txtBusto")->text(), QStringLiteral("5.8"));
        QCOMPARE(Controllo<QLineEdit>(s, "txtBusto")->cursorPosition(), 3);
        QCOMPARE(Controllo<QLineEdit>(s, "txtTO")->text(), QStringLiteral(" 27.3 - 27.7"));
    }

    // Results are read, not typed, and Tab walks the boxes a coach fills.
    void risultatiEOrdineTab() {
        CreaArchivio({AtletaA});
        frmScheda* s = ApriScheda("Rossi");
        for (const char* nome : NomiRisultati) {
            auto* r = s->findChild<QLineEdit*>(QString::fromLatin1(nome));
            QVERIFY(r->isReadOnly());
            QVERIFY(!(r->focusPolicy() & Qt::TabFocus));
        }
        QCOMPARE(Controllo<QPlainTextEdit>(s, "txtNote")->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

        principale->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(principale.get()));
        Controllo<QLineEdit>(s, "txtNome")->setFocus();
        QStringList giro;
        for (int i = 0; i < 23; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            giro << QApplication::focusWidget()->objectName();
        }
        // Then the notes, the fitting buttons, the report, the navigator's arrows,
        // the athletes' list and on to the bar.
        QCOMPARE(giro, (QStringList{"txtCavallo",      "txtBusto",
                                    "txtCoscia",       "txtGamba",
                                    "txtBraccio",      "txtSpalle",
                                    "txtSella",        "Text13",
                                    "Text14",          "Text15",
                                    "Text16",          "Text17",
                                    "txtNote",         "cmdRegistraAssetto",
                                    "cmdStorico",      "cmdReport",
                                    "Data1Primo",      "Data1Precedente",
                                    "Data1Successivo", "Data1Ultimo",
                                    "DBCombo1",        "cmdAtleta",
                                    "cmdAssetto"}));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("cmdAtleta"));
    }

    // The athlete's own values and the notes are kept as typed.
    void valoriProprieNote() {
        CreaArchivio({AtletaA});
        frmScheda* s = ApriScheda("Rossi");
        const Dieci prima = Risultati(s);
        QTest::keyClicks(Controllo<QLineEdit>(s, "Text13"), "70,5a");
        QTest::keyClicks(Controllo<QLineEdit>(s, "Text17"), "172.5");
        Controllo<QPlainTextEdit>(s, "txtNote")->setFocus();
        QTest::keyClicks(Controllo<QPlainTextEdit>(s, "txtNote"), "Sella alzata");
        QCOMPARE(Risultati(s), prima);
        principale->ChiudiFinestre();
        QCOMPARE(Stored("Rossi", "myHS"), std::string("70,5a"));
        QCOMPARE(Stored("Rossi", "myPE"), std::string("172.5"));
        QCOMPARE(Stored("Rossi", "note"), std::string("Sella alzata"));
    }

    // Closing the sheet, on its own or through the main window, keeps its
    // athlete for the next window.
    void nomeTenutoAllaChiusura() {
        CreaArchivio({AtletaA, AtletaB});
        frmScheda* s = ApriScheda("Rossi");
        emit Controllo<NavigatoreDati>(s, "Data1")->DBCombo1()->textActivated(QStringLiteral("Bianchi"));
        NomeAtletaCorrente = QStringLiteral("altro");
        QVERIFY(s->close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(NomeAtletaCorrente, QStringLiteral("Bianchi"));

        s = ApriScheda("Bianchi");
        QCOMPARE(Controllo<QLineEdit>(s, "txtNome")->text(), QStringLiteral("Bianchi"));
        QCOMPARE(Controllo<QLineEdit>(s, "txtTP")->text(), QStringLiteral(" 55.2"));
        QTest::mouseClick(Controllo<QPushButton>(principale, "cmdAtleta"), Qt::LeftButton);
        QCOMPARE(NomeAtletaCorrente, QStringLiteral("Bianchi"));
        QVERIFY(!qobject_cast<frmScheda*>(principale->FiglioAttivo()));
    }

    void unaSolaBiciIngrandita() {
        CreaArchivio({AtletaA});
        frmScheda* s = ApriScheda("Rossi");
        QTest::mouseClick(Controllo<ImmagineSvg>(s, "imgBici"), Qt::LeftButton);
        QTest::mouseClick(Controllo<ImmagineSvg>(s, "imgBici"), Qt::LeftButton);
        const auto zoom = principale->findChildren<frmZoom*>();
        QCOMPARE(zoom.size(), 1);
        QVERIFY(zoom.front()->isVisible());
        QVERIFY(zoom.front()->isWindow());
        // The bicycle whole, to the edges of its picture: no empty band above
        // or below it.
        QCOMPARE(zoom.front()->size(), QSize(827, 458));
        const QImage bici = Controllo<ImmagineSvg>(zoom.front(), "Image1")->grab().toImage();
        int primaRiga = -1, ultimaRiga = -1;
        for (int y = 0; y < bici.height(); ++y)
            for (int x = 0; x < bici.width(); ++x)
                if (qGray(bici.pixel(x, y)) < 200) {
                    if (primaRiga < 0) primaRiga = y;
                    ultimaRiga = y;
                    break;
                }
        QVERIFY2(primaRiga >= 0 && primaRiga < bici.height() / 20 && ultimaRiga > bici.height() * 19 / 20,
                 qPrintable(QStringLiteral("%1..%2 of %3").arg(primaRiga).arg(ultimaRiga).arg(bici.height())));
        QCOMPARE(principale->findChildren<frmZoom2*>().size(), 0);
        // Closed with Escape, then asked for again: a new one.
        zoom.front()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(zoom.front()));
        QTest::keyClick(zoom.front(), Qt::Key_Escape);
        QVERIFY(!zoom.front()->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(principale->findChildren<frmZoom*>().size(), 0);
        QTest::mouseClick(Controllo<ImmagineSvg>(s, "imgBici"), Qt::LeftButton);
        QCOMPARE(principale->findChildren<frmZoom*>().size(), 1);
    }

    void laSagomaRestaDopoLaScheda() {
        CreaArchivio({AtletaA});
        frmScheda* s = ApriScheda("Rossi");
        QTest::mouseClick(Controllo<ImmagineSvg>(s, "imgSagoma"), Qt::LeftButton);
        QPointer<frmZoom2> zoom = principale->findChild<frmZoom2*>();
        QVERIFY(zoom);
        QVERIFY(zoom->isVisible());
        QCOMPARE(zoom->size(), QSize(353, 536));
        QPointer<frmScheda> scheda = s;
        QTest::mouseClick(Controllo<QPushButton>(principale, "cmdCondizione"), Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!scheda);
        QVERIFY(zoom);
        QVERIFY(zoom->isVisible());
        // Another sheet asks for it again: still the same window.
        s = ApriScheda("Rossi");
        QTest::mouseClick(Controllo<ImmagineSvg>(s, "imgSagoma"), Qt::LeftButton);
        QCOMPARE(principale->findChildren<frmZoom2*>().size(), 1);
        QCOMPARE(principale->findChild<frmZoom2*>(), zoom.data());
    }
};

QTEST_MAIN(TestScheda)
#include "test_scheda.moc"
