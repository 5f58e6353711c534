// The program without the mouse: a whole session with key events alone
// through the focused widget, and a name a screen reader says for every
// control the keyboard reaches, in the language chosen.
#include "AtletaCorrente.h"
#include "Calendario.h"
#include "CartellaProva.h"
#include "Controlli.h"
#include "Messaggi.h"
#include "RegoleCampi.h"
#include "StampaFinestra.h"
#include "SupportoArchivio.h"
#include "TraduciFinestre.h"
#include "frmAtleti.h"
#include "frmCondizione.h"
#include "frmInformazioniSu.h"
#include "frmMain.h"
#include "frmScheda.h"
#include "frmStorico.h"
#include "mdi.h"
#include "modLanguageSupport.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QtTest>

#include <memory>

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

class TestTastiera : public QObject {
    Q_OBJECT

    std::unique_ptr<CartellaProva> cartella;
    std::unique_ptr<mdi> principale;
    QStringList avvisi;

    std::filesystem::path File() const { return cartella->file("tvp.dmg"); }

    void Avvia(const std::vector<archivio::Riga>& righe) {
        prova::CreaArchivio(File(), righe);
        principale = std::make_unique<mdi>();
        principale->ImpostaFinestre(
            [](QWidget* g) { return new frmAtleti(g); }, [](QWidget* g) { return new frmScheda(g); },
            [](QWidget* g) { return new frmCondizione(g); }, [](QWidget* g) { return new frmInformazioniSu(g); });
        principale->ImpostaStorico([](QWidget* g) { return new frmStorico(g); });
        principale->show();
        principale->MostraFiglio(new frmMain);
        principale->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(principale.get()));
    }

    // A key, then its text, through whatever has the focus now.
    static void Tasto(int tasto, Qt::KeyboardModifiers modificatori = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(tasto), modificatori);
    }
    static void Scrivi(const QString& testo) { QTest::keyClicks(QApplication::focusWidget(), testo); }
    // Tab until the focus is on the control of that name.
    static bool TabFino(const char* nome, int massimo = 60) {
        for (int i = 0; i < massimo; ++i) {
            if (QApplication::focusWidget() && QApplication::focusWidget()->objectName() == QLatin1String(nome))
                return true;
            Tasto(Qt::Key_Tab);
        }
        return false;
    }

private slots:
    void init() {
        cartella = std::make_unique<CartellaProva>();
        avvisi.clear();
        modLanguageSupport::LinguaCorrente = "italian";
        PercorsoArchivio = Q(File().string());
        NomeAtletaCorrente.clear();
        RigaAtletaCorrente.reset();
        AtletaCorrenteVuoto = false;
        Calendario::ImpostaServizi({[] {
                                        return Calendario::Data{2026, 12, 9};
                                    },
                                    [](std::string_view t) {
                                        return LeggiDataRegionale(QLocale(QStringLiteral("it_IT")), Q(std::string(t)));
                                    }});
        ImpostaGestoreMessaggi([this](QWidget*, const QString&, const QString& testo, QMessageBox::StandardButtons) {
            avvisi << testo;
            return QMessageBox::Yes;
        });
    }
    void cleanup() {
        principale.reset();
        ImpostaGestoreMessaggi({});
        PercorsoArchivio.clear();
        cartella.reset();
    }

    // Ctrl+1 to the card, a new athlete typed, Page Down to another one,
    // Ctrl+2 to the fit sheet on it, its measures typed, Page Up to the first
    // and Ctrl+3 to the condition sheet: the archive holds exactly what was
    // typed, and every window came and went from the keyboard.
    void unaSessioneSenzaMouse() {
        Avvia({});
        Tasto(Qt::Key_1, Qt::ControlModifier);
        QWidget* card = principale->FiglioAttivo();
        QVERIFY(card && card->objectName() == QLatin1String("frmAtleti"));
        // The caret in the name box, to type at once.
        QTRY_COMPARE(QApplication::focusWidget(), Controllo<QLineEdit>(card, "txtNome"));
        Scrivi(QStringLiteral("Rossi Mario"));
        Tasto(Qt::Key_Tab);
        Scrivi(QStringLiteral("15/03/1988"));
        QVERIFY(TabFino("txtNote"));
        Scrivi(QStringLiteral("Dolore al ginocchio"));
        Tasto(Qt::Key_Tab);  // the notes let Tab through
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("imgCestino"));
        Tasto(Qt::Key_PageDown);  // past the last: a new athlete
        QCOMPARE(Controllo<QLineEdit>(card, "txtNome")->text(), QString());
        Tasto(Qt::Key_Tab);  // from the waste bin on to the menu, the buttons, the arrows, the name
        QVERIFY(TabFino("txtNome"));
        Scrivi(QStringLiteral("Verdi Anna"));
        Tasto(Qt::Key_2, Qt::ControlModifier);
        QWidget* scheda = principale->FiglioAttivo();
        QVERIFY(scheda && scheda->objectName() == QLatin1String("frmScheda"));
        QCOMPARE(Controllo<QLineEdit>(scheda, "txtNome")->text(), QStringLiteral("Verdi Anna"));
        QTRY_COMPARE(QApplication::focusWidget(), Controllo<QLineEdit>(scheda, "txtNome"));
        for (const char* misura : {"86.5", "62", "58.5", "55", "64", "42"}) {
            Tasto(Qt::Key_Tab);
            Scrivi(QString::fromLatin1(misura));
        }
        QCOMPARE(Controllo<QLineEdit>(scheda, "txtTP")->text(), QStringLiteral(" 56.2"));
        Tasto(Qt::Key_PageUp);
        QCOMPARE(Controllo<QLineEdit>(scheda, "txtNome")->text(), QStringLiteral("Rossi Mario"));
        Tasto(Qt::Key_3, Qt::ControlModifier);
        QWidget* condizione = principale->FiglioAttivo();
        QVERIFY(condizione && condizione->objectName() == QLatin1String("frmCondizione"));
        QCOMPARE(Controllo<QLabel>(condizione, "lblEta")->text(), QStringLiteral("38"));
        principale->close();
        QVERIFY2(avvisi.isEmpty(), qPrintable(avvisi.join('|')));

        const auto righe = prova::RigheNelFile(File());
        QCOMPARE(righe.size(), std::size_t(2));
        auto nonVuote = [](const archivio::Riga& r) {
            QStringList campi;
            for (int c = 0; c < archivio::NumeroColonne; ++c)
                if (!r[c].empty() && !(archivio::ColonnaSiNo(c) && r[c] == "0"))
                    campi << QString::fromLatin1(archivio::Colonne[static_cast<std::size_t>(c)]) + '=' + Q(r[c]);
            return campi;
        };
        QCOMPARE(nonVuote(righe[0]),
                 (QStringList{"nome=Rossi Mario", "datanascita=1988-03-15", "note=Dolore al ginocchio"}));
        QCOMPARE(nonVuote(righe[1]), (QStringList{"nome=Verdi Anna", "cavallo=86.5", "busto=62", "coscia=58.5",
                                                  "gamba=55", "braccio=64", "spalle=42"}));
    }

    // The other keys of an athlete window: Ctrl+End and Ctrl+Home to the last
    // and first athlete from any box (a combo among them, which would change
    // its item), F4 for the list of athletes, typing to pick and Enter; the
    // card's Ctrl+Delete asks, then deletes.
    void gliAltriTasti() {
        Avvia({prova::RigaDi("Bianchi", {{"sesso", "F"}}), prova::RigaDi("Neri"), prova::RigaDi("Verdi")});
        Tasto(Qt::Key_1, Qt::ControlModifier);
        QWidget* card = principale->FiglioAttivo();
        auto* nome = Controllo<QLineEdit>(card, "txtNome");
        Controllo<QComboBox>(card, "cmbSesso")->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(Controllo<QComboBox>(card, "cmbSesso")->hasFocus());
        Tasto(Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(nome->text(), QStringLiteral("Verdi"));
        Tasto(Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(nome->text(), QStringLiteral("Bianchi"));
        QCOMPARE(Controllo<QComboBox>(card, "cmbSesso")->currentText(), QStringLiteral("F"));
        nome->setFocus(Qt::TabFocusReason);
        Tasto(Qt::Key_F4);
        auto* elenco = Controllo<QComboBox>(card, "DBCombo1");
        QTRY_VERIFY(elenco->view()->isVisible());
        Scrivi(QStringLiteral("N"));
        Tasto(Qt::Key_Return);
        QTRY_COMPARE(nome->text(), QStringLiteral("Neri"));
        nome->setFocus(Qt::TabFocusReason);
        Tasto(Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(avvisi.size(), 1);  // the question
        QCOMPARE(nome->text(), QStringLiteral("Verdi"));
        principale->close();
        QCOMPARE(prova::RigheNelFile(File()).size(), std::size_t(2));
        QCOMPARE(prova::CampoDi(prova::RigheNelFile(File())[0], "sesso"), std::string("F"));
    }

    // Tab and Shift+Tab from the name box of each athlete window go round
    // the whole window and on through the bar, and every stop is a control
    // the coach sees, drawn otherwise while it has the focus.
    void ogniFermataDelTabSiVede() {
        Avvia({prova::RigaDi("Rossi")});
        // 0: the history, from the fit sheet's button.
        for (const int finestra : std::initializer_list<int>{Qt::Key_1, Qt::Key_2, 0, Qt::Key_3}) {
            if (finestra)
                Tasto(finestra, Qt::ControlModifier);
            else
                Controllo<QPushButton>(principale->FiglioAttivo(), "cmdStorico")->click();
            QWidget* figlio = principale->FiglioAttivo();
            QVERIFY(figlio);
            auto* nome = Controllo<QLineEdit>(figlio, "txtNome");
            QTRY_COMPARE(QApplication::focusWidget(), nome);
            for (const auto verso : {Qt::NoModifier, Qt::ShiftModifier}) {
                QStringList fermate;
                std::vector<std::pair<QWidget*, QImage>> aspetti;
                for (int i = 0; i < 80 && fermate.size() == i; ++i) {
                    Tasto(Qt::Key_Tab, verso);
                    QWidget* f = QApplication::focusWidget();
                    QVERIFY(f);
                    if (f == nome) break;
                    fermate << f->objectName();
                    QVERIFY2(f->isVisible() && f->window() == principale.get() && !f->visibleRegion().isEmpty(),
                             qPrintable(figlio->objectName() + ": " + fermate.join(' ')));
                    aspetti.emplace_back(f, f->grab().toImage());
                }
                QCOMPARE(QApplication::focusWidget(), nome);
                QVERIFY2(fermate.contains("cmdAtleta") && fermate.contains("DBCombo1"),
                         qPrintable(figlio->objectName() + ": " + fermate.join(' ')));
                for (const auto& [controllo, conFuoco] : aspetti)
                    QVERIFY2(controllo->grab().toImage() != conFuoco,
                             qPrintable(figlio->objectName() + ": no focus seen on " + controllo->objectName()));
            }
        }
    }

    // Ctrl+1, 2, 3 on the window already shown keep its athlete, a new
    // blank one too, and only put the caret in the name box; a window opened
    // from a blank athlete opens blank, never on the first athlete. What is
    // typed then goes into a new athlete and no other row changes.
    void ctrlTieneLAtletaMostrato_data() {
        QTest::addColumn<int>("tasto");
        QTest::addColumn<QString>("finestra");
        QTest::newRow("Ctrl+1") << int(Qt::Key_1) << "frmAtleti";
        QTest::newRow("Ctrl+2") << int(Qt::Key_2) << "frmScheda";
        QTest::newRow("Ctrl+3") << int(Qt::Key_3) << "frmCondizione";
    }
    void ctrlTieneLAtletaMostrato() {
        QFETCH(int, tasto);
        QFETCH(QString, finestra);
        const std::vector<archivio::Riga> prima{prova::RigaDi("Rossi", {{"datanascita", "01/02/1980"}}),
                                                prova::RigaDi("Bianchi")};
        Avvia(prima);
        Tasto(Qt::Key_1, Qt::ControlModifier);
        // Past the last athlete on the card: a new, blank one, whatever
        // window the key opens or keeps after it.
        QWidget* card = principale->FiglioAttivo();
        Tasto(Qt::Key_PageDown);
        Tasto(Qt::Key_PageDown);
        QCOMPARE(Controllo<QLineEdit>(card, "txtNome")->text(), QString());
        Tasto(tasto, Qt::ControlModifier);
        QWidget* figlio = principale->FiglioAttivo();
        QCOMPARE(figlio->objectName(), finestra);
        QCOMPARE(Controllo<QLineEdit>(figlio, "txtNome")->text(), QString());
        // Back to the card from there: a new athlete again.
        Tasto(Qt::Key_1, Qt::ControlModifier);
        card = principale->FiglioAttivo();
        auto* nome = Controllo<QLineEdit>(card, "txtNome");
        QCOMPARE(nome->text(), QString());
        QTRY_COMPARE(QApplication::focusWidget(), nome);
        Scrivi(QStringLiteral("Verdi"));
        Tasto(Qt::Key_Tab);
        Scrivi(QStringLiteral("03/04/1990"));  // 3 April, typed as the region writes it
        // Ctrl+Home writes the new athlete and shows the first.
        Tasto(Qt::Key_Home, Qt::ControlModifier);
        QVERIFY2(avvisi.isEmpty(), qPrintable(avvisi.join('|')));

        const auto righe = prova::RigheNelFile(File());
        QCOMPARE(righe.size(), std::size_t(3));
        QVERIFY(righe[0] == prima[0]);
        QVERIFY(righe[1] == prima[1]);
        QCOMPARE(prova::CampoDi(righe[2], "nome"), std::string("Verdi"));
        QCOMPARE(prova::CampoDi(righe[2], "datanascita"), std::string("1990-04-03"));

        // The athlete shown stays, the caret goes to the name box.
        Tasto(Qt::Key_PageDown);
        Tasto(tasto, Qt::ControlModifier);
        figlio = principale->FiglioAttivo();
        QCOMPARE(figlio->objectName(), finestra);
        QCOMPARE(Controllo<QLineEdit>(figlio, "txtNome")->text(), QStringLiteral("Bianchi"));
        QVERIFY(TabFino("Data1Successivo"));
        Tasto(tasto, Qt::ControlModifier);
        QCOMPARE(principale->FiglioAttivo(), figlio);
        QCOMPARE(QApplication::focusWidget(), Controllo<QLineEdit>(figlio, "txtNome"));
        QCOMPARE(Controllo<QLineEdit>(figlio, "txtNome")->text(), QStringLiteral("Bianchi"));

        principale->close();
        QVERIFY2(avvisi.isEmpty(), qPrintable(avvisi.join('|')));
    }

    // Enter presses the button that has the focus, in the athlete windows as
    // in the dialogs: the card's button to the fit sheet, a navigator arrow.
    void invioPremeIlPulsante() {
        Avvia({prova::RigaDi("Rossi"), prova::RigaDi("Bianchi")});
        Tasto(Qt::Key_1, Qt::ControlModifier);
        QWidget* card = principale->FiglioAttivo();
        QVERIFY(TabFino("Data1Successivo"));
        Tasto(Qt::Key_Return, Qt::ControlModifier);  // not Enter alone: nothing
        QCOMPARE(Controllo<QLineEdit>(card, "txtNome")->text(), QStringLiteral("Rossi"));
        Tasto(Qt::Key_Return);
        QCOMPARE(Controllo<QLineEdit>(card, "txtNome")->text(), QStringLiteral("Bianchi"));
        QVERIFY(TabFino("cmdScheda"));
        Tasto(Qt::Key_Enter, Qt::KeypadModifier);
        QWidget* scheda = principale->FiglioAttivo();
        QCOMPARE(scheda->objectName(), QStringLiteral("frmScheda"));
        QCOMPARE(Controllo<QLineEdit>(scheda, "txtNome")->text(), QStringLiteral("Bianchi"));
        // The bar's own buttons too.
        QVERIFY(TabFino("cmdAtleta"));
        Tasto(Qt::Key_Return);
        QCOMPARE(principale->FiglioAttivo()->objectName(), QStringLiteral("frmAtleti"));
        principale->close();
        QVERIFY2(avvisi.isEmpty(), qPrintable(avvisi.join('|')));
    }

    // The bar highlights the button of the window shown, however it came:
    // the bar, Ctrl+1, 2, 3, the card's and the fit sheet's own buttons, the
    // history, Info; on screen and on the printed page.
    void laBarraSegueLaFinestra() {
        Avvia({prova::RigaDi("Rossi")});
        const QColor evidenziato(255, 192, 128);
        auto barra = [this] {
            QString acceso;
            for (const char* b : {"cmdAtleta", "cmdAssetto", "cmdCondizione"})
                if (ColoreSfondo(Controllo<QPushButton>(principale, b)) != QColor(255, 255, 255))
                    acceso += QString::fromLatin1(b) + ' ';
            return acceso.trimmed();
        };
        auto stampata = [this, evidenziato] {
            // The window's contents start under the printed title bar and border.
            const QImage pagina = ImmagineDaStampare(principale.get());
            QString acceso;
            for (const char* b : {"cmdAtleta", "cmdAssetto", "cmdCondizione"}) {
                auto* pulsante = Controllo<QPushButton>(principale, b);
                const QRect r(pulsante->mapTo(principale.get(), QPoint(0, 0)) + QPoint(1, 32), pulsante->size());
                int simili = 0;
                for (int y = r.top(); y <= r.bottom(); ++y)
                    for (int x = r.left(); x <= r.right(); ++x) simili += QColor(pagina.pixel(x, y)) == evidenziato;
                if (simili > r.width() * r.height() / 2) acceso += QString::fromLatin1(b) + ' ';
            }
            return acceso.trimmed();
        };
        QCOMPARE(barra(), QString());
        Tasto(Qt::Key_2, Qt::ControlModifier);
        QCOMPARE(barra(), QStringLiteral("cmdAssetto"));
        QCOMPARE(stampata(), QStringLiteral("cmdAssetto"));
        Tasto(Qt::Key_1, Qt::ControlModifier);
        QCOMPARE(barra(), QStringLiteral("cmdAtleta"));
        Controllo<QPushButton>(principale->FiglioAttivo(), "Command2")->click();
        QCOMPARE(barra(), QStringLiteral("cmdCondizione"));
        QCOMPARE(stampata(), QStringLiteral("cmdCondizione"));
        Tasto(Qt::Key_1, Qt::ControlModifier);
        Controllo<QPushButton>(principale->FiglioAttivo(), "cmdScheda")->click();
        QCOMPARE(barra(), QStringLiteral("cmdAssetto"));
        Tasto(Qt::Key_3, Qt::ControlModifier);
        QCOMPARE(barra(), QStringLiteral("cmdCondizione"));
        Tasto(Qt::Key_2, Qt::ControlModifier);
        Controllo<QPushButton>(principale->FiglioAttivo(), "cmdStorico")->click();
        QCOMPARE(principale->FiglioAttivo()->objectName(), QStringLiteral("frmStorico"));
        QCOMPARE(barra(), QStringLiteral("cmdAssetto"));
        // The right button only while it is down: nothing opens.
        QTest::mousePress(Controllo<QPushButton>(principale, "cmdCondizione"), Qt::RightButton);
        QCOMPARE(barra(), QStringLiteral("cmdCondizione"));
        QTest::mouseRelease(Controllo<QPushButton>(principale, "cmdCondizione"), Qt::RightButton);
        QCOMPARE(barra(), QStringLiteral("cmdAssetto"));
        QTest::mouseClick(Controllo<QWidget>(principale, "lblInfo"), Qt::LeftButton);
        QCOMPARE(barra(), QString());
        QCOMPARE(stampata(), QString());
        QTest::mouseClick(Controllo<QPushButton>(principale, "cmdAtleta"), Qt::LeftButton);
        QCOMPARE(barra(), QStringLiteral("cmdAtleta"));
        QCOMPARE(stampata(), QStringLiteral("cmdAtleta"));
    }

    // Every control the keyboard reaches in the shell and the three athlete
    // windows has a name to say, in the language chosen, and gets the new
    // language's when the flags change it.
    void ogniControlloHaUnNome_data() {
        QTest::addColumn<QString>("lingua");
        QTest::newRow("italian") << "italian";
        QTest::newRow("english") << "english";
    }
    void ogniControlloHaUnNome() {
        QFETCH(QString, lingua);
        cartella->scrivi("LangSetting.ini", "[Language]\nCurrentLanguage=" + lingua.toStdString() + "\n");
        Avvia({prova::RigaDi("Rossi")});
        for (const char* pulsante : {"", "cmdAtleta", "cmdAssetto", "cmdStorico", "cmdCondizione", "lblInfo"}) {
            if (*pulsante) QTest::mouseClick(Controllo<QWidget>(principale, pulsante), Qt::LeftButton);
            QStringList senzaNome;
            for (QWidget* w : principale->findChildren<QWidget*>()) {
                if (!(w->focusPolicy() & Qt::TabFocus) || w->focusProxy() || !w->isVisibleTo(principale.get()))
                    continue;
                QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
                if (!a || a->text(QAccessible::Name).trimmed().isEmpty()) senzaNome << w->objectName();
            }
            QVERIFY2(senzaNome.isEmpty(), qPrintable(QString::fromLatin1(pulsante) + ": " + senzaNome.join(' ')));
        }
        QTest::mouseClick(Controllo<QWidget>(principale, "cmdAtleta"), Qt::LeftButton);
        QWidget* card = principale->FiglioAttivo();
        const bool italiano = lingua == QLatin1String("italian");
        QCOMPARE(Controllo<QLineEdit>(card, "Text2")->accessibleName(),
                 italiano ? QStringLiteral("Data di nascita") : QStringLiteral("Date of birth"));
        QCOMPARE(
            Controllo<QToolButton>(card, "Data1Successivo")->accessibleName(),
            italiano ? QStringLiteral("Atleta successivo (Pagina giù)") : QStringLiteral("Next athlete (Page Down)"));
        QVERIFY(!Controllo<QWidget>(card, "imgCestino")->accessibleName().isEmpty());
        modLanguageSupport::LinguaCorrente = italiano ? "english" : "italian";
        TraduciFinestreAperte();
        QCOMPARE(Controllo<QLineEdit>(card, "Text2")->accessibleName(),
                 italiano ? QStringLiteral("Date of birth") : QStringLiteral("Data di nascita"));
    }
};

QTEST_MAIN(TestTastiera)
#include "test_tastiera.moc"
