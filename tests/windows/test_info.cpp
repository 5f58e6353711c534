// The about window: version, credit line, disclaimer and its links.
#include "AtletaCorrente.h"
#include "Calendario.h"
#include "CartellaProva.h"
#include "Collegamenti.h"
#include "Controlli.h"
#include "DatiArchivio.h"
#include "DatiStudio.h"
#include "Globali.h"
#include "Messaggi.h"
#include "frmInformazioniSu.h"
#include "frmMain.h"
#include "frmStudio.h"
#include "mdi.h"
#include "modLanguageSupport.h"

#include <QAccessible>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <filesystem>
#include <functional>
#include <memory>

#include <sys/stat.h>

namespace {

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

// A picture file of that size, as a coach's logo.
void ScriviImmagine(const std::filesystem::path& file, QSize dimensione, const char* formato) {
    QImage immagine(dimensione, QImage::Format_RGB32);
    immagine.fill(QColor(0, 90, 160));
    QVERIFY(immagine.save(QString::fromStdString(file.string()), formato));
}

}  // namespace

class TestInfo : public QObject {
    Q_OBJECT
    std::unique_ptr<CartellaProva> cartella;
    std::unique_ptr<mdi> principale;
    QStringList collegamenti;
    bool apribile = true;  // whether the desktop opens a link
    QStringList avvisi;

    QString fileScelto;  // what the open dialog gives

    // The studio's dialog from the About window, with the keys alone: its
    // button focused, Space; `passi` run in the dialog, which is closed after
    // them if they leave it open.
    void DallaFinestraInfo(frmInformazioniSu* info, const std::function<void(QDialog*)>& passi) {
        principale->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(principale.get()));
        Controllo<QPushButton>(info, "cmdStudio")->setFocus();
        bool fatto = false;
        QTimer::singleShot(0, this, [&] {
            auto* dialogo = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (dialogo && QTest::qWaitForWindowExposed(dialogo)) {
                QApplication::setActiveWindow(dialogo);  // as the window manager does
                if (QTest::qWaitFor([dialogo] { return QApplication::activeWindow() == dialogo; })) passi(dialogo);
            }
            fatto = true;
            if (dialogo && dialogo->isVisible()) dialogo->reject();
            if (!dialogo) QApplication::closeAllWindows();  // never left waiting
        });
        Premi(Qt::Key_Space);
        QVERIFY(fatto);
    }

    frmInformazioniSu* ApriInfo() {
        QTest::mouseClick(Controllo<QLabel>(principale, "lblInfo"), Qt::LeftButton);
        return qobject_cast<frmInformazioniSu*>(principale->FiglioAttivo());
    }

private slots:
    void init() {
        cartella = std::make_unique<CartellaProva>();
        collegamenti.clear();
        apribile = true;
        avvisi.clear();
        ImpostaGestoreMessaggi([this](QWidget*, const QString&, const QString& testo, QMessageBox::StandardButtons) {
            avvisi << testo;
            return QMessageBox::Ok;
        });
        ImpostaGestoreCollegamenti([this](const QString& d) {
            collegamenti << d;
            return apribile;
        });
        Calendario::ImpostaServizi({[] { return Calendario::Data{2024, 6, 1}; }, nullptr});
        fileScelto.clear();
        ImpostaServiziFileDati({nullptr, [this](QWidget*, const QString&, const QString&) { return fileScelto; }});
        principale = std::make_unique<mdi>();
        principale->ImpostaFinestre(nullptr, nullptr, nullptr, [](QWidget* g) { return new frmInformazioniSu(g); });
        principale->show();
        principale->MostraFiglio(new frmMain);
    }
    void cleanup() {
        principale.reset();
        ImpostaGestoreMessaggi({});
        cartella.reset();
    }

    void versioneTitoloECredito() {
        frmInformazioniSu* info = ApriInfo();
        QVERIFY(info);
        QCOMPARE(info->windowTitle(), QStringLiteral(" Info"));
        QCOMPARE(Controllo<QLabel>(info, "lblVersion")->text(), QStringLiteral("- vers. 1.0.5"));
        QCOMPARE(Controllo<QLabel>(info, "lblTitle")->text(), QStringLiteral("Tovarin Project"));
        QCOMPARE(Controllo<QLabel>(info, "lblCopyRightBy")->text(), TestoCredito + "2015-2024" + NomeAutore);
        QCOMPARE(Controllo<QLabel>(info, "Label5")->text(), IndirizzoSito);
        QCOMPARE(Controllo<QLabel>(info, "lblIndirizzo")->text(), IndirizzoPosta);
        QCOMPARE(Controllo<QLabel>(info, "lblIndirizzo")->toolTip(), "Scrivi a " + NomeAutore.trimmed());
        QVERIFY(Controllo<QLabel>(info, "lblVersion")->geometry().left() >
                Controllo<QLabel>(info, "lblTitle")->geometry().right());
    }

    // A language the program does not have: its own Italian texts.
    void senzaFileDiLinguaIlProgrammaUsaIPropriTesti() {
        principale->ChiudiFinestre();
        modLanguageSupport::LinguaCorrente = "klingon";
        frmInformazioniSu* info = ApriInfo();
        QCOMPARE(Controllo<QLabel>(info, "lblVersion")->text(), QStringLiteral("- vers. 1.0.5"));
    }

    void ilDisclaimerNonCresce() {
        const QString atteso = QStringLiteral(
                                   "Tovarin Project aiuta allenatori e biomeccanici a impostare la bicicletta e a "
                                   "seguire la condizione degli atleti. ") +
                               QString::fromStdString(modLanguageSupport::TestoLingua("0043")) + "\n" +
                               QString::fromStdString(modLanguageSupport::TestoLingua("0044"));
        QCOMPARE(Controllo<QLabel>(ApriInfo(), "lblDisclaimer")->text(), atteso);
        QCOMPARE(Controllo<QLabel>(ApriInfo(), "lblDisclaimer")->text(), atteso);
        QCOMPARE(Controllo<AreaDiLavoro>(principale, "mdiArea")->Figli().size(), 1);
    }

    void collegamentiDellaFinestra() {
        frmInformazioniSu* info = ApriInfo();
        QTest::mouseClick(Controllo<QLabel>(info, "Label5"), Qt::LeftButton);
        QTest::mouseClick(Controllo<QLabel>(info, "Label2"), Qt::LeftButton);
        QTest::mouseClick(Controllo<QLabel>(info, "lblIndirizzo"), Qt::LeftButton);
        QCOMPARE(collegamenti, QStringList({IndirizzoSito, IndirizzoDonazione,
                                            "mailto:" + IndirizzoPosta + "?SUBJECT=Tovarin Project - vers.1.0.5"}));
        QVERIFY(avvisi.isEmpty());
        // Without a web browser the coach is told, with the address to copy.
        apribile = false;
        QTest::mouseClick(Controllo<QLabel>(info, "Label5"), Qt::LeftButton);
        QCOMPARE(avvisi.size(), 1);
        QVERIFY2(avvisi[0].contains(IndirizzoSito), qPrintable(avvisi[0]));
    }

    // The licence and where the archive is, in both languages, each text
    // whole in its box and the boxes one under the other; a long archive path
    // is shortened in the middle and given whole in the tool tip.
    void licenzaEArchivioStannoNeiLoroRiquadri_data() {
        QTest::addColumn<QString>("lingua");
        QTest::addColumn<QString>("archivio");
        QTest::addColumn<QString>("licenza");
        const QString lungo =
            "/home/allenatore/" + QString(30, 'x') + "/una cartella dal nome lungo/" + QString(60, 'y') + "/tvp.dmg";
        QTest::newRow("italiano") << "italian" << QString() << "GNU General Public License, versione 3";
        QTest::newRow("inglese") << "english" << QString() << "GNU General Public License, version 3";
        QTest::newRow("percorso lungo") << "english" << lungo << "GNU General Public License, version 3";
    }
    void licenzaEArchivioStannoNeiLoroRiquadri() {
        QFETCH(QString, lingua);
        QFETCH(QString, archivio);
        QFETCH(QString, licenza);
        modLanguageSupport::LinguaCorrente = lingua.toStdString();
        if (!archivio.isEmpty()) PercorsoArchivio = archivio;
        const QString percorso = PercorsoArchivio;
        frmInformazioniSu* info = ApriInfo();
        QVERIFY(QTest::qWaitForWindowExposed(info));
        QVERIFY(Controllo<QLabel>(info, "lblLicenza")->text().contains(licenza));
        const QStringList righe = Controllo<QLabel>(info, "lblArchivio")->text().split('\n');
        QCOMPARE(righe.size(), 3);
        QCOMPARE(Controllo<QLabel>(info, "lblArchivio")->toolTip(), percorso);
        // Whether it has a passphrase, below the path.
        QCOMPARE(righe[2], Messaggio("0711"));
        if (archivio.isEmpty())
            QCOMPARE(righe[1], percorso);
        else
            QVERIFY(righe[1].contains(QChar(0x2026)) && righe[1].endsWith("/tvp.dmg"));

        QLabel* const sequenza[] = {Controllo<QLabel>(info, "lblDisclaimer"), Controllo<QLabel>(info, "lblLicenza"),
                                    Controllo<QLabel>(info, "lblArchivio"), Controllo<QLabel>(info, "Label2")};
        for (QLabel* l : sequenza) {
            const QRect interno = l->contentsRect().adjusted(l->margin(), l->margin(), -l->margin(), -l->margin());
            const QRect necessario = l->fontMetrics().boundingRect(
                interno, int(l->alignment()) | (l->wordWrap() ? Qt::TextWordWrap : 0), l->text());
            QVERIFY2(interno.contains(necessario), qPrintable(l->objectName()));
            QVERIFY2(info->rect().contains(l->geometry()), qPrintable(l->objectName()));
        }
        for (int i = 1; i < 4; ++i)
            QVERIFY2(sequenza[i]->y() > sequenza[i - 1]->geometry().bottom(), qPrintable(sequenza[i]->objectName()));
    }

    // The studio's name, address and logo, typed and chosen with the keys
    // from the About window, are shown there at once and kept for the next
    // start; every control of the dialog has a name a screen reader says.
    void studioDallaFinestraInfo_data() {
        QTest::addColumn<QString>("lingua");
        QTest::addColumn<QString>("titolo");
        QTest::addColumn<QString>("nessuno");
        QTest::newRow("italian") << "italian"
                                 << "Dati dello studio"
                                 << "Nessuno studio indicato";
        QTest::newRow("english") << "english"
                                 << "Studio details"
                                 << "No studio given";
    }
    void studioDallaFinestraInfo() {
        QFETCH(QString, lingua);
        QFETCH(QString, titolo);
        QFETCH(QString, nessuno);
        modLanguageSupport::LinguaCorrente = lingua.toStdString();
        ScriviImmagine(cartella->file("logo scelto.jpg"), {900, 300}, "JPG");
        fileScelto = QString::fromStdString(cartella->file("logo scelto.jpg").string());
        frmInformazioniSu* info = ApriInfo();
        QVERIFY(Controllo<QLabel>(info, "lblStudio")->text().startsWith(nessuno));
        QVERIFY(!Controllo<QLabel>(info, "imgStudio")->isVisibleTo(info));
        QCOMPARE(Controllo<QPushButton>(info, "cmdStudio")->text(), titolo + "...");
        DallaFinestraInfo(info, [&](QDialog* dialogo) {
            QCOMPARE(dialogo->windowTitle(), titolo);
            QCOMPARE(QApplication::focusWidget(), Controllo<QWidget>(dialogo, "txtNomeStudio"));
            for (QWidget* w : dialogo->findChildren<QWidget*>()) {
                if (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisibleTo(dialogo)) continue;
                QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
                QVERIFY2(a && !a->text(QAccessible::Name).trimmed().isEmpty(), qPrintable(w->objectName()));
            }
            // Pasted with a line break: kept on one line.
            Scrivi(QStringLiteral("Studio Biomeccanico \u00abRossi\u00bb"));
            Premi(Qt::Key_Tab);
            QApplication::clipboard()->setText(QStringLiteral("Via Roma 1\n31100 Treviso"));
            Premi(Qt::Key_V, Qt::ControlModifier);
            Premi(Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), Controllo<QWidget>(dialogo, "cmdScegliLogo"));
            Premi(Qt::Key_Space);
            QVERIFY(Controllo<QPushButton>(dialogo, "cmdTogliLogo")->isEnabled());
            QVERIFY(!Controllo<QLabel>(dialogo, "imgLogo")->pixmap().isNull());
            Controllo<QLineEdit>(dialogo, "txtNomeStudio")->setFocus();
            Premi(Qt::Key_Return);
            QVERIFY(!dialogo->isVisible());
        });
        QCOMPARE(Controllo<QLabel>(info, "lblStudio")->text(),
                 QStringLiteral("Studio Biomeccanico \u00abRossi\u00bb\nVia Roma 1 31100 Treviso"));
        QVERIFY(Controllo<QLabel>(info, "imgStudio")->isVisibleTo(info));
        for (const char* nome : {"imgStudio", "lblStudio", "cmdStudio"})
            QVERIFY2(info->rect().contains(Controllo<QWidget>(info, nome)->geometry()), nome);
        QVERIFY(!Controllo<QPushButton>(info, "cmdStudio")
                     ->geometry()
                     .intersects(Controllo<QLabel>(info, "lblStudio")->geometry()));
        QVERIFY(!Controllo<QLabel>(info, "imgStudio")
                     ->geometry()
                     .intersects(Controllo<QLabel>(info, "lblStudio")->geometry()));

        // Kept whole, the coach's alone, the picture copied beside it.
        const DatiStudio letti = LeggiDatiStudio();
        QCOMPARE(letti.nome, QStringLiteral("Studio Biomeccanico \u00abRossi\u00bb"));
        QCOMPARE(letti.indirizzo, QStringLiteral("Via Roma 1 31100 Treviso"));
        QCOMPARE(letti.logo.size(), QSize(600, 200));
        QCOMPARE(std::filesystem::status(cartella->file("Studio.ini")).permissions(),
                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
        std::filesystem::remove(cartella->file("logo scelto.jpg"));
        QCOMPARE(LeggiDatiStudio().logo.size(), QSize(600, 200));

        // Taken away again: the logo's file goes with it.
        principale->ChiudiFinestre();
        info = ApriInfo();
        DallaFinestraInfo(info, [&](QDialog* dialogo) {
            QCOMPARE(Controllo<QLineEdit>(dialogo, "txtNomeStudio")->text(), letti.nome);
            Controllo<QPushButton>(dialogo, "cmdTogliLogo")->setFocus();
            Premi(Qt::Key_Space);
            QVERIFY(Controllo<QLabel>(dialogo, "imgLogo")->pixmap().isNull());
            Controllo<QPushButton>(dialogo, "cmdSalva")->setFocus();
            Premi(Qt::Key_Space);
        });
        QVERIFY(LeggiDatiStudio().logo.isNull());
        QCOMPARE(LeggiDatiStudio().nome, letti.nome);
        QVERIFY(!Controllo<QLabel>(info, "imgStudio")->isVisibleTo(info));
        for (const auto& voce : std::filesystem::directory_iterator(cartella->percorso()))
            QVERIFY2(voce.path().extension() != ".png", qPrintable(QString::fromStdString(voce.path().string())));
        QVERIFY(avvisi.isEmpty());
    }

    // What is not a readable picture is refused, with the file and the
    // reason; the logo shown stays, and Cancel keeps what was saved.
    void logoRifiutatoConIlMotivo_data() {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("motivo");
        QTest::newRow("missing") << "manca.png"
                                 << "it does not exist";
        QTest::newRow("folder") << "cartella.png"
                                << "it is not a file but a folder or a device";
        QTest::newRow("pipe") << "tubo.png"
                              << "it is not a file but a folder or a device";
        QTest::newRow("text") << "testo.png"
                              << "it is not a picture in a format the program reads";
        QTest::newRow("empty") << "vuoto.png"
                               << "it is not a picture in a format the program reads";
        QTest::newRow("cut short") << "tronco.png"
                                   << "it is not a picture in a format the program reads";
        QTest::newRow("too large") << "enorme.png"
                                   << "it is larger than 20 MB";
    }
    void logoRifiutatoConIlMotivo() {
        QFETCH(QString, nome);
        QFETCH(QString, motivo);
        modLanguageSupport::LinguaCorrente = "english";
        ScriviImmagine(cartella->file("buono.png"), {120, 60}, "PNG");
        const DatiStudio prima{QStringLiteral("Studio Verdi"), QString(),
                               QImage(QString::fromStdString(cartella->file("buono.png").string()))};
        QVERIFY(SalvaDatiStudio(prima, nullptr));
        const std::string ini = cartella->leggi("Studio.ini");
        std::filesystem::create_directory(cartella->file("cartella.png"));
        QCOMPARE(::mkfifo(cartella->file("tubo.png").c_str(), 0600), 0);
        cartella->scrivi("testo.png", "not a picture at all");
        cartella->scrivi("vuoto.png", "");
        cartella->scrivi("tronco.png", cartella->leggi("buono.png").substr(0, 40));
        cartella->scrivi("enorme.png", cartella->leggi("buono.png"));
        std::filesystem::resize_file(cartella->file("enorme.png"), DimensioneMassimaLogo + 1);
        fileScelto = QString::fromStdString(cartella->file(nome.toStdString()).string());

        frmInformazioniSu* info = ApriInfo();
        DallaFinestraInfo(info, [&](QDialog* dialogo) {
            Controllo<QPushButton>(dialogo, "cmdScegliLogo")->setFocus();
            Premi(Qt::Key_Space);
            QCOMPARE(avvisi.size(), 1);
            QVERIFY2(avvisi[0].contains(fileScelto) && avvisi[0].contains(motivo), qPrintable(avvisi[0]));
            QVERIFY(!Controllo<QLabel>(dialogo, "imgLogo")->pixmap().isNull());
            Controllo<QLineEdit>(dialogo, "txtNomeStudio")->setFocus();
            Scrivi(QStringLiteral(" e figli"));
            Premi(Qt::Key_Escape);
            QVERIFY(!dialogo->isVisible());
        });
        QCOMPARE(cartella->leggi("Studio.ini"), ini);
        QCOMPARE(LeggiDatiStudio().nome, QStringLiteral("Studio Verdi"));
        QCOMPARE(LeggiDatiStudio().logo.size(), QSize(120, 60));
    }

    // Settings that cannot be written are said so, and the dialog stays
    // open with what the coach typed; no picture is left behind.
    void studioNonSalvatoVieneDetto() {
        modLanguageSupport::LinguaCorrente = "english";
        ScriviImmagine(cartella->file("buono.png"), {120, 60}, "PNG");
        fileScelto = QString::fromStdString(cartella->file("buono.png").string());
        // A folder that holds something, where the settings file goes.
        std::filesystem::create_directories(cartella->file("Studio.ini") / "dentro");
        frmInformazioniSu* info = ApriInfo();
        DallaFinestraInfo(info, [&](QDialog* dialogo) {
            Scrivi(QStringLiteral("Studio Verdi"));
            Controllo<QPushButton>(dialogo, "cmdScegliLogo")->setFocus();
            Premi(Qt::Key_Space);
            Controllo<QLineEdit>(dialogo, "txtNomeStudio")->setFocus();
            Premi(Qt::Key_Return);
            QCOMPARE(avvisi.size(), 1);
            QVERIFY2(
                avvisi[0].startsWith(QStringLiteral("The studio's details were not saved; the earlier ones stay.")),
                qPrintable(avvisi[0]));
            QVERIFY(dialogo->isVisible());
            QCOMPARE(Controllo<QLineEdit>(dialogo, "txtNomeStudio")->text(), QStringLiteral("Studio Verdi"));
        });
        QVERIFY(std::filesystem::is_directory(cartella->file("Studio.ini") / "dentro"));
        for (const auto& voce : std::filesystem::directory_iterator(cartella->percorso())) {
            const std::string nome = voce.path().filename().string();
            QVERIFY2(nome == "buono.png" || nome.rfind("LogoStudio", 0) != 0, nome.c_str());
        }
    }

    void inIngleseIlDisclaimerEInIngleseEilCreditoDel2015() {
        Calendario::ImpostaServizi({[] { return Calendario::Data{2015, 3, 1}; }, nullptr});
        modLanguageSupport::LinguaCorrente = "english";
        frmInformazioniSu* info = ApriInfo();
        QCOMPARE(info->windowTitle(), QStringLiteral(" About"));
        QVERIFY(Controllo<QLabel>(info, "lblDisclaimer")->text().startsWith(QLatin1String("Tovarin Project helps")));
        QVERIFY(Controllo<QLabel>(info, "lblDisclaimer")
                    ->text()
                    .endsWith(QString::fromStdString(modLanguageSupport::TestoLingua("0044"))));
        QCOMPARE(Controllo<QLabel>(info, "lblCopyRightBy")->text(), TestoCredito + "2015" + NomeAutore);
        QCOMPARE(Controllo<QLabel>(info, "Label2")->text(), QStringLiteral("Donate"));
    }
};

QTEST_MAIN(TestInfo)
#include "test_info.moc"
