// Start-up, the main window's bar and the home window: the language setting,
// the language choice, closing children, the navigation highlight, help and
// the links.
#include "AtletaCorrente.h"
#include "Calendario.h"
#include "CartellaProva.h"
#include "Collegamenti.h"
#include "Controlli.h"
#include "Globali.h"
#include "Stili.h"
#include "frmMain.h"
#include "mdi.h"
#include "modLanguageSupport.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QtTest>

#include <memory>

namespace {

// A child window as the athlete windows are: a name box, and an unload that
// can be seen.
class FinestraConNome : public QWidget {
public:
    bool rifiutaChiusura = false;  // as an athlete window whose edit could not be written

    explicit FinestraConNome(const QString& nome, int contesto, bool* chiusa = nullptr) : chiusa_(chiusa) {
        setObjectName(QStringLiteral("frmProva"));
        setProperty("HelpContextID", contesto);
        auto* box = new QLineEdit(nome, this);
        box->setObjectName(QStringLiteral("txtNome"));
    }

protected:
    void closeEvent(QCloseEvent* e) override {
        if (rifiutaChiusura) {
            e->ignore();
            return;
        }
        if (chiusa_) *chiusa_ = true;
        e->accept();
    }

private:
    bool* chiusa_;
};

const QColor Bianco(255, 255, 255), Arancio(255, 128, 0), Evidenziato(255, 192, 128);

}  // namespace

class TestAvvio : public QObject {
    Q_OBJECT

    std::unique_ptr<CartellaProva> cartella;
    std::unique_ptr<mdi> principale;
    QStringList collegamenti;
    QStringList argomenti;

    // The program's start: main window, then the home window in it.
    frmMain* Avvia() {
        principale = std::make_unique<mdi>();
        principale->show();
        auto* home = new frmMain;
        principale->MostraFiglio(home);
        return home;
    }

private slots:
    void init() {
        cartella = std::make_unique<CartellaProva>();
        NomeAtletaCorrente.clear();
        RigaAtletaCorrente.reset();
        AtletaCorrenteVuoto = false;
        collegamenti.clear();
        argomenti.clear();
        ImpostaGestoreCollegamenti([this](const QString& d) {
            collegamenti << d;
            return true;
        });
        ImpostaGestoreGuida([this](QWidget*, const QString& file, const QString& a) { argomenti << file + "|" + a; });
    }
    void cleanup() {
        principale.reset();
        cartella.reset();
    }

    void primoAvvioScriveItaliano() {
        QVERIFY(!QFile::exists(QString::fromStdString(cartella->file("LangSetting.ini").string())));
        frmMain* home = Avvia();
        QCOMPARE(cartella->leggi("LangSetting.ini"), std::string("[Language]\nCurrentLanguage=italian\n"));
        QCOMPARE(modLanguageSupport::LinguaCorrente, std::string("italian"));
        QCOMPARE(Controllo<QPushButton>(principale, "cmdAtleta")->text(), QStringLiteral("Atleta"));
        QCOMPARE(Controllo<QLabel>(home, "lblLingua")->text(), QStringLiteral("Scegli la lingua"));
        QCOMPARE(PercorsoArchivio, QString::fromStdString(cartella->file("tvp.dmg").string()));
        QCOMPARE(PercorsoGuida, QString::fromStdString(cartella->file("Guida.chm").string()));
        QCOMPARE(principale->windowTitle(), QStringLiteral(" Tovarin Project"));
        QCOMPARE(home->windowTitle(), QString());
    }

    void linguaSceltaTraduceTuttoEResta() {
        cartella->scrivi("LangSetting.ini", "[Altro]\nx=1\n[Language]\nCurrentLanguage=italian\n");
        frmMain* home = Avvia();
        // A floating program window is translated too.
        QWidget galleggiante;
        galleggiante.setObjectName(QStringLiteral("frmGuida"));
        galleggiante.setWindowTitle(QStringLiteral("Guida - Tovarin Project"));
        galleggiante.show();

        QTest::mouseClick(Controllo<ImmagineSvg>(home, "imgEnglish"), Qt::LeftButton);
        QCOMPARE(Controllo<QPushButton>(principale, "cmdAtleta")->text(), QStringLiteral("Athlete"));
        QCOMPARE(Controllo<QLabel>(principale, "lblDonazione")->text(), QStringLiteral("Donate"));
        QCOMPARE(Controllo<QLabel>(home, "lblLingua")->text(), QStringLiteral("Choose the language"));
        QCOMPARE(galleggiante.windowTitle(), QStringLiteral("Help - Tovarin Project"));
        QCOMPARE(cartella->leggi("LangSetting.ini"),
                 std::string("[Altro]\nx=1\n[Language]\nCurrentLanguage=english\n"));

        // The next start speaks English.
        principale.reset();
        modLanguageSupport::LinguaCorrente.clear();
        home = Avvia();
        QCOMPARE(modLanguageSupport::LinguaCorrente, std::string("english"));
        QCOMPARE(Controllo<QPushButton>(principale, "cmdCondizione")->text(), QStringLiteral("Condition"));
        QCOMPARE(Controllo<QLabel>(home, "lblLingua")->text(), QStringLiteral("Choose the language"));

        QTest::mouseClick(Controllo<ImmagineSvg>(home, "imgItalia"), Qt::LeftButton);
        QCOMPARE(Controllo<QPushButton>(principale, "cmdCondizione")->text(), QStringLiteral("Condizione"));
        QCOMPARE(Controllo<QLabel>(home, "lblCopyRightBy")->text().startsWith(TestoCredito), true);
    }

    void linguaSenzaFileTieneITesti() {
        frmMain* home = Avvia();
        home->ScegliLingua(QStringLiteral("klingon"));
        QCOMPARE(Controllo<QPushButton>(principale, "cmdAtleta")->text(), QStringLiteral("Atleta"));
        QCOMPARE(cartella->leggi("LangSetting.ini"), std::string("[Language]\nCurrentLanguage=klingon\n"));
    }

    void chiudiFinestreConECenzaNome() {
        Avvia();
        NomeAtletaCorrente = QStringLiteral("Bianchi");
        principale->ChiudiFinestre();  // the home window has no name box
        QCOMPARE(NomeAtletaCorrente, QStringLiteral("Bianchi"));
        QVERIFY(!principale->FiglioAttivo());

        bool chiusa = false;
        QPointer<QWidget> scheda = new FinestraConNome(QStringLiteral("Rossi"), 620, &chiusa);
        principale->MostraFiglio(scheda);
        QCOMPARE(principale->FiglioAttivo(), scheda.data());
        principale->ChiudiFinestre();
        QCOMPARE(NomeAtletaCorrente, QStringLiteral("Rossi"));
        QVERIFY(chiusa);
        QVERIFY(!principale->FiglioAttivo());
        QTRY_VERIFY(scheda.isNull());
        QVERIFY(!principale->FiglioAttivo());

        principale->ChiudiFinestre();  // nothing open: nothing happens
        QCOMPARE(NomeAtletaCorrente, QStringLiteral("Rossi"));
    }

    void navigazioneApreEEvidenzia() {
        Avvia();
        int aperte = 0;
        QString nomeAllApertura;
        auto crea = [&](QWidget*) {
            ++aperte;
            nomeAllApertura = NomeAtletaCorrente;
            return new FinestraConNome(QStringLiteral("Verdi"), 720);
        };
        principale->ImpostaFinestre(crea, crea, crea, [](QWidget* g) { return new QWidget(g); });
        auto colore = [](QWidget* w) { return ColoreSfondo(w); };

        // Any mouse button highlights while it is down; only a left click
        // opens, and the bar then shows the window open.
        QTest::mousePress(Controllo<QPushButton>(principale, "cmdAssetto"), Qt::RightButton);
        QCOMPARE(colore(Controllo<QPushButton>(principale, "cmdAssetto")), Evidenziato);
        QCOMPARE(colore(Controllo<QPushButton>(principale, "cmdAtleta")), Bianco);
        QTest::mouseRelease(Controllo<QPushButton>(principale, "cmdAssetto"), Qt::RightButton);
        QCOMPARE(colore(Controllo<QPushButton>(principale, "cmdAssetto")), Bianco);
        QCOMPARE(aperte, 0);

        QTest::mouseClick(Controllo<QPushButton>(principale, "cmdAtleta"), Qt::LeftButton);
        QCOMPARE(aperte, 1);
        QCOMPARE(colore(Controllo<QPushButton>(principale, "cmdAtleta")), Evidenziato);
        QCOMPARE(colore(Controllo<QPushButton>(principale, "cmdAssetto")), Bianco);
        QCOMPARE(Controllo<AreaDiLavoro>(principale, "mdiArea")->Figli().size(), 1);

        // From the keyboard: opens, and the bar follows; the closed window's name is kept.
        Controllo<QPushButton>(principale, "cmdCondizione")->click();
        QCOMPARE(aperte, 2);
        QCOMPARE(nomeAllApertura, QStringLiteral("Verdi"));
        QCOMPARE(colore(Controllo<QPushButton>(principale, "cmdCondizione")), Evidenziato);
        QCOMPARE(colore(Controllo<QPushButton>(principale, "cmdAtleta")), Bianco);
        QCOMPARE(Controllo<AreaDiLavoro>(principale, "mdiArea")->Figli().size(), 1);

        // Info: all white, the sheet replaced by the about window.
        QTest::mouseClick(Controllo<QLabel>(principale, "lblInfo"), Qt::LeftButton);
        for (QWidget* b :
             {Controllo<QPushButton>(principale, "cmdAtleta"), Controllo<QPushButton>(principale, "cmdAssetto"),
              Controllo<QPushButton>(principale, "cmdCondizione")})
            QCOMPARE(colore(b), Bianco);
        QCOMPARE(Controllo<AreaDiLavoro>(principale, "mdiArea")->Figli().size(), 1);
        QVERIFY(!principale->FiglioAttivo()->findChild<QLineEdit*>(QStringLiteral("txtNome")));
    }

    void unaFinestraCheNonSiChiudeRestaSola() {
        Avvia();
        int aperte = 0;
        principale->ImpostaFinestre(
            nullptr,
            [&](QWidget* g) {
                ++aperte;
                return new QWidget(g);
            },
            nullptr,
            [&](QWidget* g) {
                ++aperte;
                return new QWidget(g);
            });
        principale->ChiudiFinestre();
        auto* scheda = new FinestraConNome(QStringLiteral("Rossi"), 620);
        scheda->rifiutaChiusura = true;
        principale->MostraFiglio(scheda);
        QTest::mouseClick(Controllo<QPushButton>(principale, "cmdAssetto"), Qt::LeftButton);
        QTest::mouseClick(Controllo<QLabel>(principale, "lblInfo"), Qt::LeftButton);
        QCOMPARE(aperte, 0);
        QCOMPARE(Controllo<AreaDiLavoro>(principale, "mdiArea")->Figli().size(), 1);
        QCOMPARE(principale->FiglioAttivo(), scheda);
        scheda->rifiutaChiusura = false;
    }

    void collegamentiEColoriDellaBarra() {
        Avvia();
        QTest::mouseClick(Controllo<QLabel>(principale, "Label5"), Qt::LeftButton);
        QTest::mouseClick(Controllo<QLabel>(principale, "Label6"), Qt::LeftButton);
        QTest::mouseClick(Controllo<QLabel>(principale, "lblDonazione"), Qt::LeftButton);
        QCOMPARE(collegamenti, QStringList({IndirizzoSito, IndirizzoSito, IndirizzoDonazione}));
        QVERIFY(IndirizzoSito.contains(QLatin1String("example.org")));

        auto muovi = [](QWidget* w) {
            QMouseEvent e(QEvent::MouseMove, QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)), Qt::NoButton, Qt::NoButton,
                          Qt::NoModifier);
            QApplication::sendEvent(w, &e);
        };
        muovi(Controllo<QLabel>(principale, "lblDonazione"));
        QCOMPARE(ColoreTesto(Controllo<QLabel>(principale, "lblDonazione")), Arancio);
        QCOMPARE(ColoreTesto(Controllo<QLabel>(principale, "lblInfo")), Bianco);
        muovi(Controllo<QWidget>(principale, "Picture2"));
        QCOMPARE(ColoreTesto(Controllo<QLabel>(principale, "lblDonazione")), Bianco);
        QVERIFY(!Controllo<QLabel>(principale, "lblCopy")->isVisible());
        QVERIFY(!Controllo<QLabel>(principale, "lblSito")->isVisible());
        QCOMPARE(Controllo<QLabel>(principale, "lblCopy")->text(), TestoCredito + NomeAutore);
    }

    void guidaSulArgomentoDellaFinestra() {
        Avvia();
        principale->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(principale.get()));
        principale->ApriGuida();  // home window: context 1100
        QCOMPARE(QApplication::focusWidget(), Controllo<QLineEdit>(principale, "txtSetfocus"));
        const QString guida = QString::fromStdString(cartella->file("Guida.chm").string());
        for (int contesto : {1810, 620, 720}) {
            principale->ChiudiFinestre();
            principale->MostraFiglio(new FinestraConNome(QString(), contesto));
            QTest::mouseClick(Controllo<QPushButton>(principale, "cmdHelp"), Qt::LeftButton);
        }
        principale->ChiudiFinestre();
        principale->ApriGuida();  // nothing open
        QCOMPARE(argomenti, QStringList({guida + "|Descrizione.html", guida + "|scheda_atleta.html",
                                         guida + "|Scheda_assetto.html", guida + "|Scheda_fitness.html",
                                         guida + "|Descrizione.html"}));
        QCOMPARE(ArgomentoGuida(1100), QStringLiteral("Descrizione.html"));
        QCOMPARE(ArgomentoGuida(0), QStringLiteral("Descrizione.html"));
    }

    // Everything from the keyboard: the start on the flag of the language in
    // use, Tab to the other flag and Space, F1 on the topic of the window in
    // use in the language of the program, Tab to the links and Enter, a sheet
    // opened from the bar with the caret in its first box.
    void tuttoDallaTastiera() {
        frmMain* home = Avvia();
        principale->ImpostaFinestre(
            nullptr, [](QWidget*) { return new FinestraConNome(QStringLiteral("Verdi"), 620); }, nullptr,
            [](QWidget* g) { return new QWidget(g); });
        principale->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(principale.get()));
        auto tabFino = [](QWidget* meta) {
            for (int i = 0; i < 40 && QApplication::focusWidget() != meta; ++i)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            return QApplication::focusWidget() == meta;
        };
        QCOMPARE(QApplication::focusWidget(), Controllo<ImmagineSvg>(home, "imgItalia"));
        QVERIFY(tabFino(Controllo<ImmagineSvg>(home, "imgEnglish")));
        QTest::keyClick(Controllo<ImmagineSvg>(home, "imgEnglish"), Qt::Key_Space);
        QCOMPARE(modLanguageSupport::LinguaCorrente, std::string("english"));
        QTest::keyClick(Controllo<ImmagineSvg>(home, "imgEnglish"), Qt::Key_F1);
        const QString guida = QString::fromStdString(cartella->file("Guida.chm").string());
        QCOMPARE(argomenti, QStringList(guida + "|Overview.html"));

        QVERIFY(tabFino(Controllo<QLabel>(principale, "lblDonazione")));
        QTest::keyClick(Controllo<QLabel>(principale, "lblDonazione"), Qt::Key_Return);
        QCOMPARE(collegamenti, QStringList(IndirizzoDonazione));

        // A focused bar button has a frame of its own, not the highlight.
        QVERIFY(tabFino(Controllo<QPushButton>(principale, "cmdAssetto")));
        const QImage conFuoco = Controllo<QPushButton>(principale, "cmdAssetto")->grab().toImage();
        QCOMPARE(ColoreSfondo(Controllo<QPushButton>(principale, "cmdAssetto")), Bianco);
        QCOMPARE(conFuoco.pixelColor(conFuoco.width() / 2, 6), QColor(Bianco));
        QVERIFY(conFuoco.pixelColor(0, conFuoco.height() / 2) != QColor(160, 160, 160));  // not the plain border

        QTest::keyClick(Controllo<QPushButton>(principale, "cmdAssetto"), Qt::Key_Space);
        auto* nome = principale->FiglioAttivo()->findChild<QLineEdit*>(QStringLiteral("txtNome"));
        QCOMPARE(QApplication::focusWidget(), nome);
        QCOMPARE(nome->selectedText(), QString());
        QCOMPARE(nome->cursorPosition(), nome->text().size());
        QTest::keyClick(nome, Qt::Key_F1);
        QCOMPARE(argomenti.last(), guida + "|Fit_sheet.html");

        QVERIFY(tabFino(Controllo<QLabel>(principale, "lblInfo")));
        QTest::keyClick(Controllo<QLabel>(principale, "lblInfo"), Qt::Key_Enter);
        QVERIFY(!principale->FiglioAttivo()->findChild<QLineEdit*>(QStringLiteral("txtNome")));
    }

    // Qt's own texts speak the program's language and switch with the flags;
    // the menu of a text box keeps the system's colours.
    void testiDiQtNellaLingua() {
        frmMain* home = Avvia();
        auto pulsanti = [] {
            QMessageBox domanda(QMessageBox::Warning, TitoloApplicazione, QStringLiteral("?"),
                                QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            QStringList testi;
            for (auto b : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel})
                testi << domanda.button(b)->text().remove(QLatin1Char('&'));
            return testi;
        };
        QCOMPARE(pulsanti(), QStringList({"Sì", "No", "Annulla"}));

        auto* scheda = new FinestraConNome(QStringLiteral("Verdi"), 620);
        principale->ChiudiFinestre();
        principale->MostraFiglio(scheda);
        auto* box = scheda->findChild<QLineEdit*>(QStringLiteral("txtNome"));
        box->setStyleSheet(QStringLiteral("background-color: rgb(255,255,128);"));
        QContextMenuEvent richiesta(QContextMenuEvent::Mouse, QPoint(5, 5), box->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(box, &richiesta);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QStringList voci;
        for (QAction* a : menu->actions()) voci << a->text();
        QVERIFY2(voci.join(' ').contains(QStringLiteral("Incolla")), qPrintable(voci.join(' ')));
        const QImage immagine = menu->grab().toImage();
        QVERIFY(immagine.pixelColor(immagine.width() / 2, immagine.height() - 3) != QColor(255, 255, 128));
        menu->close();

        principale->ChiudiFinestre();
        home = new frmMain;
        principale->MostraFiglio(home);
        home->ScegliLingua(QStringLiteral("english"));
        QCOMPARE(pulsanti(), QStringList({"Yes", "No", "Cancel"}));
    }

    void dimensioneBloccata() {
        Avvia();
        const QSize prima = principale->size();
        QCOMPARE(prima, QSize(950, 593));
        principale->resize(1200, 800);
        principale->showMaximized();
        QCOMPARE(principale->size(), prima);
        principale->showNormal();
        principale->move(principale->pos() + QPoint(30, 20));
        QCOMPARE(principale->size(), prima);
    }

    void chiusuraScaricaIlFiglio() {
        Avvia();
        principale->ChiudiFinestre();
        bool chiusa = false;
        principale->MostraFiglio(new FinestraConNome(QStringLiteral("Neri"), 620, &chiusa));
        principale->close();
        QVERIFY(chiusa);
    }

    void lineaDiCreditoPerAnno() {
        struct Caso {
            Calendario::Data oggi;
            const char* anni;
            // clang-format off
        } casi[] = {{{2014, 12, 31}, "2015"}, {{2015, 1, 1}, "2015"}, {{2015, 12, 31}, "2015"},
                    {{2016, 1, 1}, "2015-2016"}, {{2024, 6, 1}, "2015-2024"}};
        // clang-format on
        for (const auto& c : casi) {
            Calendario::ImpostaServizi({[d = c.oggi] { return d; }, nullptr});
            principale.reset();
            frmMain* home = Avvia();
            QCOMPARE(Controllo<QLabel>(home, "lblCopyRightBy")->text(),
                     TestoCredito + QLatin1String(c.anni) + NomeAutore);
        }
    }

    void soloWebEPostaVannoAlDesktop_data() {
        QTest::addColumn<QString>("destinazione");
        QTest::addColumn<bool>("apribile");
        QTest::newRow("web") << "https://www.example.org/tovarin" << true;
        QTest::newRow("plain web") << "http://example.org" << true;
        QTest::newRow("mail") << "mailto:tovarin@example.org?SUBJECT=Tovarin Project - vers. 1.0.5" << true;
        QTest::newRow("file") << "file:///etc/passwd" << false;
        QTest::newRow("program") << "/usr/bin/xterm" << false;
        QTest::newRow("script") << "javascript:alert(1)" << false;
        QTest::newRow("web without host") << "https://" << false;
        QTest::newRow("empty") << "" << false;
    }
    void soloWebEPostaVannoAlDesktop() {
        QFETCH(QString, destinazione);
        QFETCH(bool, apribile);
        QCOMPARE(DestinazioneApribile(destinazione), apribile);
    }

    void postaDellaHome() {
        frmMain* home = Avvia();
        QTest::mouseClick(Controllo<QLabel>(home, "lblCopyRightBy"), Qt::LeftButton);
        QTest::mouseClick(Controllo<ImmagineSvg>(home, "Image1"), Qt::LeftButton);
        QCOMPARE(collegamenti,
                 QStringList({"mailto:" + IndirizzoPosta + "?SUBJECT=Tovarin Project - vers. 1.0.5", IndirizzoSito}));
        QCOMPARE(TestoCollegamentoPosta(QStringLiteral("?SUBJECT=Tovarin Project - vers. "), 2, 0, 7),
                 "mailto:" + IndirizzoPosta + "?SUBJECT=Tovarin Project - vers. 2.0.7");
        QCOMPARE(TestoCollegamentoPosta(QStringLiteral("?SUBJECT=Tovarin Project - vers."), 2, 0, 7),
                 "mailto:" + IndirizzoPosta + "?SUBJECT=Tovarin Project - vers.2.0.7");
    }
};

QTEST_MAIN(TestAvvio)
#include "test_avvio.moc"
