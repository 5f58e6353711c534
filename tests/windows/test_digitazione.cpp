// What a coach types reaches the archive as meant, however the box is left:
// the program's own windows in the main window, opened with the bar, typed
// into through the focused widget, left by the arrow, the bar, the card's
// buttons or the main window's close; the rows read back from the file.
#include "Archivio.h"
#include "AtletaCorrente.h"
#include "Avvio.h"
#include "AvvisiArchivio.h"
#include "Calendario.h"
#include "CartellaProva.h"
#include "Controlli.h"
#include "NavigatoreDati.h"
#include "RegoleCampi.h"
#include "SupportoArchivio.h"
#include "frmAtleti.h"
#include "frmCondizione.h"
#include "frmScheda.h"
#include "mdi.h"
#include "modLanguageSupport.h"

#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QStringListModel>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {

using prova::RigaDi;

enum class Uscita { Freccia, Barra, PulsanteDellaScheda, Scelta, Chiusura, Tab };

QString Q(const std::string& s) { return QString::fromStdString(s); }

// Types the text into the widget key by key, as a keyboard of the text's
// script does: a character without a key of its own comes as its text.
void Scrivi(QWidget* w, const QString& testo) {
    for (const QChar c : testo) {
        if (c.unicode() < 0x80)
            QTest::keyClick(w, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

}  // namespace

class TestDigitazione : public QObject {
    Q_OBJECT

    std::unique_ptr<CartellaProva> cartella;
    std::unique_ptr<mdi> principale;
    QStringList avvisi;
    QMessageBox::StandardButton risposta = QMessageBox::No;

    std::filesystem::path File() const { return cartella->file("tvp.dmg"); }
    QString Campo(std::size_t riga, const char* colonna) const {
        const auto righe = prova::RigheNelFile(File());
        return riga < righe.size() ? Q(prova::CampoDi(righe[riga], colonna)) : QStringLiteral("<no row>");
    }

    void Avvia(const std::vector<archivio::Riga>& righe) {
        prova::CreaArchivio(File(), righe);
        principale = std::make_unique<mdi>();
        principale->ImpostaFinestre([](QWidget* g) { return new frmAtleti(g); },
                                    [](QWidget* g) { return new frmScheda(g); },
                                    [](QWidget* g) { return new frmCondizione(g); }, nullptr);
        principale->show();
        principale->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(principale.get()));
    }

    // The window a bar button opens: "Atleta", "Assetto" or "Condizione".
    QWidget* Apri(const QString& finestra) {
        QPushButton* pulsante = finestra == "frmAtleti"   ? Controllo<QPushButton>(principale, "cmdAtleta")
                                : finestra == "frmScheda" ? Controllo<QPushButton>(principale, "cmdAssetto")
                                                          : Controllo<QPushButton>(principale, "cmdCondizione");
        QTest::mouseClick(pulsante, Qt::LeftButton);
        QWidget* f = principale->FiglioAttivo();
        return f && f->objectName() == finestra ? f : nullptr;
    }

    // Dates read and written as the region does, through the program's date
    // services; today stays 9 December 2026.
    static void ImpostaRegione(const QLocale& regione) {
        Calendario::ImpostaServizi(
            {nullptr, [regione](std::string_view t) { return LeggiDataRegionale(regione, Q(std::string(t))); },
             [regione](const Calendario::Data& d) { return ScriviDataRegionale(regione, d).toStdString(); }});
    }

    // Focuses the box as a click would, then types through the focused widget.
    static bool Digita(QWidget* box, const QString& testo) {
        box->setFocus(Qt::MouseFocusReason);
        if (!QTest::qWaitFor([box] { return box->hasFocus(); })) return false;
        Scrivi(QApplication::focusWidget(), testo);
        return true;
    }

    void Esci(QWidget* finestra, Uscita uscita) {
        auto* Data1 = finestra->findChild<NavigatoreDati*>(QStringLiteral("Data1"));
        switch (uscita) {
        case Uscita::Freccia: QTest::mouseClick(Data1->PulsanteSuccessivo(), Qt::LeftButton); break;
        case Uscita::Barra:
            QTest::mouseClick(finestra->objectName() == "frmAtleti"
                                  ? Controllo<QPushButton>(principale, "cmdCondizione")
                                  : Controllo<QPushButton>(principale, "cmdAtleta"),
                              Qt::LeftButton);
            break;
        case Uscita::PulsanteDellaScheda:
            QTest::mouseClick(finestra->findChild<QPushButton*>(QStringLiteral("cmdScheda")), Qt::LeftButton);
            break;
        case Uscita::Scelta: {  // the second name picked from the list, as a click on it does
            QComboBox* picker = Data1->DBCombo1();
            picker->setCurrentIndex(1);
            emit picker->textActivated(picker->itemText(1));
            break;
        }
        case Uscita::Chiusura: principale->close(); break;
        case Uscita::Tab: QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); break;
        }
    }

private slots:
    void init() {
        cartella = std::make_unique<CartellaProva>();
        avvisi.clear();
        risposta = QMessageBox::No;
        modLanguageSupport::LinguaCorrente = "italian";
        PercorsoArchivio = Q(File().string());
        NomeAtletaCorrente.clear();
        RigaAtletaCorrente.reset();
        AtletaCorrenteVuoto = false;
        Calendario::ImpostaServizi({[] { return Calendario::Data{2026, 12, 9}; }, nullptr, nullptr});
        ImpostaRegione(QLocale(QStringLiteral("it_IT")));
        ImpostaGestoreMessaggi([this](QWidget*, const QString&, const QString& testo, QMessageBox::StandardButtons p) {
            avvisi << testo;
            return p.testFlag(QMessageBox::Yes) ? risposta : QMessageBox::Ok;
        });
    }
    void cleanup() {
        principale.reset();
        ImpostaGestoreMessaggi({});
        PercorsoArchivio.clear();
        NomeAtletaCorrente.clear();
        RigaAtletaCorrente.reset();
        AtletaCorrenteVuoto = false;
        cartella.reset();
    }

    // The combos keep what was typed when it is "", "M", "F" or an activity,
    // and nothing else: never an item of their list the coach did not type.
    void combo_data() {
        QTest::addColumn<QString>("finestra");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("digitato");
        QTest::addColumn<QString>("memorizzato");
        // clang-format off
        for (const char* f : {"frmAtleti", "frmCondizione"}) {
            QTest::addRow("%s sex f", f) << f << "cmbSesso" << "f" << "";
            QTest::addRow("%s sex x", f) << f << "cmbSesso" << "x" << "";
            QTest::addRow("%s sex m", f) << f << "cmbSesso" << "m" << "";
            QTest::addRow("%s sex F", f) << f << "cmbSesso" << "F" << "F";
            QTest::addRow("%s sex M", f) << f << "cmbSesso" << "M" << "M";
        }
        QTest::newRow("card activity intensa") << "frmAtleti" << "cboTipoImpiego" << "intensa" << "";
        QTest::newRow("card activity m") << "frmAtleti" << "cboTipoImpiego" << "m" << "";
        QTest::newRow("sheet activity intensa") << "frmCondizione" << "cboAttivLav" << "intensa" << "";
        // clang-format on
    }
    void combo() {
        QFETCH(QString, finestra);
        QFETCH(QString, box);
        QFETCH(QString, digitato);
        QFETCH(QString, memorizzato);
        Avvia({RigaDi("Rossi"), RigaDi("Verdi")});
        QWidget* f = Apri(finestra);
        QVERIFY(f);
        auto* combo = f->findChild<QComboBox*>(box);
        QVERIFY(Digita(combo, digitato));
        QCOMPARE(combo->currentText(), memorizzato);
        Esci(f, Uscita::Freccia);
        QCOMPARE(Campo(0, box == "cmbSesso" ? "sesso" : "TipoImpiego"), memorizzato);
    }

    // A date box holding a text that is no date is emptied before the row is
    // written, whatever moves or closes the window.
    void dataControllataPrimaDiScrivere_data() {
        QTest::addColumn<QString>("finestra");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("digitato");
        QTest::addColumn<int>("uscita");
        QTest::addColumn<QString>("memorizzato");
        const auto riga = [](const char* nome, const char* f, const char* b, const char* d, Uscita u, const char* m) {
            QTest::newRow(nome) << f << b << d << int(u) << m;
        };
        riga("card arrow", "frmAtleti", "Text2", "31/02/2000", Uscita::Freccia, "");
        riga("card bar", "frmAtleti", "Text22", "99/99/9999", Uscita::Barra, "");
        riga("card own button", "frmAtleti", "Text2", "ieri", Uscita::PulsanteDellaScheda, "");
        riga("card picker", "frmAtleti", "Text22", "31/02/2000", Uscita::Scelta, "");
        riga("card main window closed", "frmAtleti", "Text2", "31/02/2000", Uscita::Chiusura, "");
        riga("sheet arrow", "frmCondizione", "txtDataNascita", "31/02/2000", Uscita::Freccia, "");
        riga("sheet main window closed", "frmCondizione", "txtDataNascita", "99/99/9999", Uscita::Chiusura, "");
        riga("a date is kept, as ISO", "frmAtleti", "Text2", "29/02/2000", Uscita::Freccia, "2000-02-29");
    }
    void dataControllataPrimaDiScrivere() {
        QFETCH(QString, finestra);
        QFETCH(QString, box);
        QFETCH(QString, digitato);
        QFETCH(int, uscita);
        QFETCH(QString, memorizzato);
        Avvia({RigaDi("Rossi"), RigaDi("Verdi")});
        QWidget* f = Apri(finestra);
        QVERIFY(f);
        QVERIFY(Digita(f->findChild<QLineEdit*>(box), digitato));
        Esci(f, static_cast<Uscita>(uscita));
        QCOMPARE(Campo(0, box == "Text22" ? "Scadenza" : "datanascita"), memorizzato);
    }

    // A two-digit year takes the program's window of years in every regional
    // form: 01/02/05 is in 2005, so the athlete is 21 on 9 December 2026.
    void annoDiDueCifre_data() {
        QTest::addColumn<QString>("locale");
        QTest::newRow("Italian") << "it_IT";
        QTest::newRow("US") << "en_US";
    }
    void annoDiDueCifre() {
        QFETCH(QString, locale);
        Calendario::ImpostaServizi(
            {nullptr, [locale](std::string_view t) { return LeggiDataRegionale(QLocale(locale), Q(std::string(t))); }});
        Avvia({RigaDi("Rossi")});
        auto* f = qobject_cast<frmCondizione*>(Apri(QStringLiteral("frmCondizione")));
        QVERIFY(f);
        QVERIFY(Digita(Controllo<QLineEdit>(f, "txtDataNascita"), QStringLiteral("01/02/05")));
        QCOMPARE(Controllo<QLabel>(f, "lblEta")->text(), QStringLiteral("21"));
        QCOMPARE(Controllo<QLabel>(f, "lblFCmax")->text(), QStringLiteral("199"));
    }

    // Browsing changes nothing: every athlete of a varied archive stepped
    // through with the arrow on the card, the fit sheet and the condition
    // sheet, every box entered and left, under Italian, US, German and
    // Egyptian settings; then the program closed. Every row is as it was, to
    // the byte, dates shown in another form than stored, measures with a
    // comma, activities in the other language and an empty saddle included.
    void sfogliareNonCambiaNulla_data() {
        QTest::addColumn<QString>("locale");
        QTest::newRow("Italian") << "it_IT";
        QTest::newRow("US") << "en_US";
        QTest::newRow("German") << "de_DE";
        QTest::newRow("Egyptian") << "ar_EG";
    }
    void sfogliareNonCambiaNulla() {
        QFETCH(QString, locale);
        const QLocale regione(locale);
        Calendario::ImpostaServizi(
            {nullptr, [regione](std::string_view t) { return LeggiDataRegionale(regione, Q(std::string(t))); },
             [regione](const Calendario::Data& d) { return ScriviDataRegionale(regione, d).toStdString(); }});
        const std::vector<archivio::Riga> varie{
            RigaDi("Rossi", {{"datanascita", "15/03/1988"},
                             {"Scadenza", "31/12/2027"},
                             {"sesso", "M"},
                             {"TipoImpiego", "moderata"},
                             {"AttivFis", "1"},
                             {"pulsazioniriposo", "52"},
                             {"cavallo", "86,5"},
                             {"busto", "62"},
                             {"peso", "71.5"},
                             {"altezza", "181"},
                             {"note", "Dolore al ginocchio\tsinistro"}}),
            RigaDi("Verdi", {{"datanascita", "3/15/1988"},
                             {"sesso", "m"},
                             {"TipoImpiego", "moderate"},
                             {"cavallo", "abc"},
                             {"peso", "70,0"}}),
            RigaDi("Bianchi", {{"datanascita", "1988-03-15"},
                               {"Scadenza", "07/09/1995"},
                               {"TipoImpiego", "Moderata"},
                               {"peso", "0"},
                               {"sella", "0"}}),
            RigaDi("Bianchi", {{"datanascita", "01/02/05"},
                               {"Scadenza", "ieri"},
                               {"TipoImpiego", "light"},
                               {"sesso", "x"},
                               {"sella", "27,5"}}),
            RigaDi("", {{"cavallo", "80"}, {"datanascita", "15.03.1988"}, {"myHS", "7,5 circa"}}),
        };
        Avvia(varie);
        const std::string prima = prova::LeggiByte(File());
        for (const char* nome : {"frmAtleti", "frmScheda", "frmCondizione"}) {
            QWidget* f = Apri(QString::fromLatin1(nome));
            QVERIFY2(f, nome);
            auto* Data1 = f->findChild<NavigatoreDati*>(QStringLiteral("Data1"));
            QTest::mouseClick(Data1->PulsantePrimo(), Qt::LeftButton);
            for (std::size_t i = 0; i < varie.size(); ++i) {
                for (QWidget* box : f->findChildren<QWidget*>()) {
                    if (!qobject_cast<QLineEdit*>(box) && !qobject_cast<QComboBox*>(box)) continue;
                    if (!box->isVisibleTo(f) || !box->isEnabled() || box->parent() == Data1->DBCombo1()) continue;
                    box->setFocus(Qt::TabFocusReason);
                }
                f->findChild<QLineEdit*>(QStringLiteral("txtNome"))->setFocus(Qt::TabFocusReason);
                if (i + 1 < varie.size()) QTest::mouseClick(Data1->PulsanteSuccessivo(), Qt::LeftButton);
            }
            QCOMPARE(f->findChild<QLineEdit*>(QStringLiteral("txtNome"))->text(), QString());
            const char* cavallo = std::string_view(nome) == "frmScheda" ? "txtCavallo" : "Text7";
            QCOMPARE(f->findChild<QLineEdit*>(QLatin1String(cavallo))->text(), QStringLiteral("80"));
        }
        principale->close();
        QVERIFY2(avvisi.isEmpty(), qPrintable(avvisi.join('|')));
        const auto dopo = prova::RigheNelFile(File());
        QCOMPARE(dopo.size(), varie.size());
        for (std::size_t r = 0; r < varie.size(); ++r)
            for (int c = 0; c < archivio::NumeroColonne; ++c) QCOMPARE(Q(dopo[r][c]), Q(varie[r][c]));
        QVERIFY(prova::LeggiByte(File()) == prima);
    }

    // A stored date is one day under every regional setting: ISO as the
    // program stores it, or day first as the earlier releases did (7/4/1990
    // is 7 April); the sheet shows it in the region's form and the age from
    // it. Browsing them rewrites none.
    void unaDataInOgniRegione_data() {
        QTest::addColumn<QString>("locale");
        for (const char* r : {"it_IT", "en_US", "de_DE", "ar_EG"}) QTest::newRow(r) << r;
    }
    void unaDataInOgniRegione() {
        QFETCH(QString, locale);
        const QLocale regione(locale);
        ImpostaRegione(regione);
        struct Caso {
            const char* memorizzata;
            std::optional<Calendario::Data> giorno;
            const char* eta;
            const char* fcMax;
        };
        const Caso casi[] = {{"1990-12-31", Calendario::Data{1990, 12, 31}, "35", "185"},
                             {"31/12/1990", Calendario::Data{1990, 12, 31}, "35", "185"},
                             {"7/4/1990", Calendario::Data{1990, 4, 7}, "36", "184"},
                             {"1990-12-10", Calendario::Data{1990, 12, 10}, "35", "185"},
                             {"10/12/1990", Calendario::Data{1990, 12, 10}, "35", "185"},
                             {"07.04.1990", Calendario::Data{1990, 4, 7}, "36", "184"},
                             {"ieri", std::nullopt, "", "220"}};
        std::vector<archivio::Riga> righe;
        for (const Caso& c : casi) righe.push_back(RigaDi("Rossi", {{"datanascita", c.memorizzata}}));
        Avvia(righe);
        const std::string prima = prova::LeggiByte(File());
        QWidget* f = Apri(QStringLiteral("frmCondizione"));
        QVERIFY(f);
        auto* Data1 = f->findChild<NavigatoreDati*>(QStringLiteral("Data1"));
        auto* data = Controllo<QLineEdit>(f, "txtDataNascita");
        for (const Caso& c : casi) {
            const QString mostrata =
                c.giorno ? ScriviDataRegionale(regione, *c.giorno) : QString::fromLatin1(c.memorizzata);
            QCOMPARE(data->text(), mostrata);
            QCOMPARE(Controllo<QLabel>(f, "lblEta")->text(), QString::fromLatin1(c.eta));
            QCOMPARE(Controllo<QLabel>(f, "lblFCmax")->text(), QString::fromLatin1(c.fcMax));
            data->setFocus(Qt::TabFocusReason);
            f->findChild<QLineEdit*>(QStringLiteral("txtNome"))->setFocus(Qt::TabFocusReason);
            QTest::mouseClick(Data1->PulsanteSuccessivo(), Qt::LeftButton);
        }
        principale->close();
        QVERIFY2(avvisi.isEmpty(), qPrintable(avvisi.join('|')));
        QVERIFY(prova::LeggiByte(File()) == prima);
    }

    // A date typed in the region's form (its own digits included) is stored
    // as ISO, and shown again in the region's form.
    void dataDigitataMemorizzataIso_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("nascita");
        QTest::addColumn<QString>("scadenza");
        // clang-format off
        QTest::newRow("it_IT") << "it_IT" << "15/03/1988" << "31/1/2027";
        QTest::newRow("en_US") << "en_US" << "3/15/1988" << "1/31/2027";
        QTest::newRow("de_DE") << "de_DE" << "15.03.1988" << "31.01.2027";
        QTest::newRow("ar_EG") << "ar_EG" << "\u0661\u0665\u200F/\u0663\u200F/\u0661\u0669\u0668\u0668"
                               << "31/1/2027";
        QTest::newRow("ar_EG ISO") << "ar_EG" << "1988-03-15" << "2027-01-31";
        // clang-format on
    }
    void dataDigitataMemorizzataIso() {
        QFETCH(QString, locale);
        QFETCH(QString, nascita);
        QFETCH(QString, scadenza);
        const QLocale regione(locale);
        ImpostaRegione(regione);
        Avvia({RigaDi("Rossi"), RigaDi("Verdi")});
        QWidget* f = Apri(QStringLiteral("frmAtleti"));
        QVERIFY(f);
        QVERIFY(Digita(Controllo<QLineEdit>(f, "Text2"), nascita));
        QVERIFY(Digita(Controllo<QLineEdit>(f, "Text22"), scadenza));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(Controllo<QLineEdit>(f, "Text2")->text(), nascita);  // as typed while the row is shown
        Esci(f, Uscita::Freccia);
        QCOMPARE(Campo(0, "datanascita"), QStringLiteral("1988-03-15"));
        QCOMPARE(Campo(0, "Scadenza"), QStringLiteral("2027-01-31"));
        auto* Data1 = f->findChild<NavigatoreDati*>(QStringLiteral("Data1"));
        QTest::mouseClick(Data1->PulsantePrecedente(), Qt::LeftButton);
        QCOMPARE(Controllo<QLineEdit>(f, "Text2")->text(), ScriviDataRegionale(regione, {1988, 3, 15}));
        QCOMPARE(Controllo<QLineEdit>(f, "Text22")->text(), ScriviDataRegionale(regione, {2027, 1, 31}));
    }

    // With a write refused, No to "close anyway?" keeps the program open with
    // the edit in its box; once the file is free, closing writes it.
    void chiusuraDelProgrammaConScritturaRifiutata() {
        Avvia({RigaDi("Rossi", {{"peso", "70"}})});
        QWidget* f = Apri(QStringLiteral("frmAtleti"));
        QVERIFY(f);
        auto* peso = f->findChild<QLineEdit*>(QStringLiteral("Text20"));
        peso->clear();
        QVERIFY(Digita(peso, QStringLiteral("68")));
        const int attesa = archivio::Archivio::AttesaBloccoMs;
        archivio::Archivio::AttesaBloccoMs = 50;
        prova::BloccoArchivio blocco(File());
        QVERIFY(blocco.riuscito());
        principale->close();
        archivio::Archivio::AttesaBloccoMs = attesa;
        QCOMPARE(avvisi.size(), 1);
        QVERIFY(principale->isVisible());
        QCOMPARE(principale->FiglioAttivo(), f);
        QCOMPARE(peso->text(), QStringLiteral("68"));
        blocco.Rilascia();
        principale->close();
        QVERIFY(!principale->isVisible());
        QCOMPARE(Campo(0, "peso"), QStringLiteral("68"));
    }

    // The sheet opened from the card, and the card opened again from the
    // sheet, show the very row the coach was on: the second of two athletes
    // of one name, or a row without a name.
    void stessaRigaTraLeFinestre_data() {
        QTest::addColumn<int>("avanti");
        QTest::addColumn<QString>("pulsante");
        QTest::newRow("second Bianchi, fit sheet") << 1 << "cmdScheda";
        QTest::newRow("second Bianchi, condition sheet") << 1 << "Command2";
        QTest::newRow("no name, fit sheet") << 2 << "cmdScheda";
    }
    void stessaRigaTraLeFinestre() {
        QFETCH(int, avanti);
        QFETCH(QString, pulsante);
        Avvia({RigaDi("Bianchi", {{"cavallo", "80"}}), RigaDi("Bianchi", {{"cavallo", "90"}}),
               RigaDi("", {{"cavallo", "70"}})});
        QWidget* card = Apri(QStringLiteral("frmAtleti"));
        QVERIFY(card);
        for (int i = 0; i < avanti; ++i) Esci(card, Uscita::Freccia);
        const QString cavallo = card->findChild<QLineEdit*>(QStringLiteral("Text7"))->text();
        QTest::mouseClick(card->findChild<QPushButton*>(pulsante), Qt::LeftButton);
        QWidget* scheda = principale->FiglioAttivo();
        QVERIFY(scheda && scheda != card);
        auto* misura = scheda->findChild<QLineEdit*>(pulsante == "cmdScheda" ? "txtCavallo" : "Text7");
        QCOMPARE(misura->text(), cavallo);
        QVERIFY(Digita(misura, QStringLiteral("5")));
        card = Apri(QStringLiteral("frmAtleti"));
        QVERIFY(card);
        QCOMPARE(card->findChild<QLineEdit*>(QStringLiteral("Text7"))->text(), cavallo + "5");
        QCOMPARE(Campo(0, "cavallo"), QStringLiteral("80"));
        QCOMPARE(Campo(static_cast<std::size_t>(avanti), "cavallo"), cavallo + "5");
    }

    // While the saddle box is typed in, an empty box stays empty (computed
    // with 27.5); left empty or written, it gets the grey 27.5.
    void sellaDigitata_data() {
        QTest::addColumn<QString>("digitato");
        QTest::addColumn<int>("uscita");
        QTest::addColumn<QString>("memorizzato");
        QTest::newRow("26 typed, arrow") << "26" << int(Uscita::Freccia) << "26";
        QTest::newRow("left empty by Tab") << "" << int(Uscita::Tab) << "27.5";
        QTest::newRow("empty, arrow") << "" << int(Uscita::Freccia) << "27.5";
        QTest::newRow("empty, main window closed") << "" << int(Uscita::Chiusura) << "27.5";
    }
    void sellaDigitata() {
        QFETCH(QString, digitato);
        QFETCH(int, uscita);
        QFETCH(QString, memorizzato);
        Avvia({RigaDi("Rossi", {{"cavallo", "80"}, {"sella", "28"}}), RigaDi("Verdi")});
        auto* f = qobject_cast<frmScheda*>(Apri(QStringLiteral("frmScheda")));
        QVERIFY(f);
        Controllo<QLineEdit>(f, "txtSella")->setFocus(Qt::MouseFocusReason);
        QTRY_VERIFY(Controllo<QLineEdit>(f, "txtSella")->hasFocus());
        QTest::keyClick(Controllo<QLineEdit>(f, "txtSella"), Qt::Key_End);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
        QCOMPARE(Controllo<QLineEdit>(f, "txtSella")->text(), QString());
        QCOMPARE(Controllo<QLineEdit>(f, "txtR")->text(), QStringLiteral(" 5.7 - 6.2"));  // as with 27.5
        QTest::keyClicks(QApplication::focusWidget(), digitato);
        QCOMPARE(Controllo<QLineEdit>(f, "txtSella")->text(), digitato);
        const bool tab = static_cast<Uscita>(uscita) == Uscita::Tab;
        Esci(f, static_cast<Uscita>(uscita));
        if (tab) {
            QCOMPARE(Controllo<QLineEdit>(f, "txtSella")->text(), memorizzato);
            QVERIFY(f->SellaInGrigio());
            principale->ChiudiFinestre();
        }
        QCOMPARE(Campo(0, "sella"), memorizzato);
    }

    // The windows share one connection and the names they read: an athlete
    // added, or renamed, by another program meanwhile is in the next window.
    void dallAltroProgrammaNellaFinestraSuccessiva() {
        Avvia({RigaDi("Rossi")});
        QWidget* card = Apri(QStringLiteral("frmAtleti"));
        QVERIFY(card);
        archivio::Archivio altro;
        QVERIFY(altro.Apri(File()).ok());
        std::int64_t id = 0;
        QVERIFY(altro.AggiungiRiga(RigaDi("Verdi"), id).ok());
        QVERIFY(altro.ScriviCampi(1, {{archivio::ColonnaNome, "Rossi Mario"}}).ok());
        QWidget* scheda = Apri(QStringLiteral("frmScheda"));
        QVERIFY(scheda);
        QCOMPARE(scheda->findChild<NavigatoreDati*>(QStringLiteral("Data1"))->ElencoNomi()->stringList(),
                 (QStringList{"Rossi Mario", "Verdi"}));
    }

    // Without its language file the program says so once at start, naming
    // the file, and the delete question still has its text.
    void fileDellaLinguaMancante_data() {
        QTest::addColumn<QByteArray>("contenuto");
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("damaged") << QByteArray("\x89PNG\r\n\x1a\n\0\0garbage", 18);
    }
    void fileDellaLinguaMancante() {
        QFETCH(QByteArray, contenuto);
        std::filesystem::remove(cartella->file("italian.lng"));
        if (!contenuto.isEmpty()) cartella->scrivi("italian.lng", contenuto.toStdString());
        prova::CreaArchivio(File(), {RigaDi("Rossi")});
        principale = AvviaProgramma();
        QCOMPARE(avvisi.size(), 1);
        QVERIFY2(avvisi[0].contains(Q(cartella->file("italian.lng").string())), qPrintable(avvisi[0]));
        QWidget* card = Apri(QStringLiteral("frmAtleti"));
        QVERIFY(card);
        QTest::mouseClick(card->findChild<QWidget*>(QStringLiteral("imgCestino")), Qt::LeftButton);
        QCOMPARE(avvisi.size(), 2);
        QCOMPARE(avvisi[1], QStringLiteral("Eliminare dall'archivio l'atleta Rossi?"));
        QVERIFY(TestoChiudereComunque(QStringLiteral("tvp.dmg"), QStringLiteral("Rossi"),
                                      archivio::Errore{.motivo = archivio::Motivo::InUso, .dettaglio = {}})
                    .endsWith(QStringLiteral("Chiudere comunque la finestra perdendo le modifiche?")));
    }
};

QTEST_MAIN(TestDigitazione)
#include "test_digitazione.moc"
