// The program without the mouse: a whole session with key events alone
// through the focused widget, and a name a screen reader says for every
// control the keyboard reaches, in the language chosen.
#include "AtletaCorrente.h"
#include "Calendario.h"
#include "CartellaProva.h"
#include "Controlli.h"
#include "Messaggi.h"
#include "RegoleCampi.h"
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
