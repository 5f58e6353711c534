// The about window: version, credit line, disclaimer and its links.
#include "AtletaCorrente.h"
#include "Calendario.h"
#include "CartellaProva.h"
#include "Collegamenti.h"
#include "Controlli.h"
#include "Globali.h"
#include "Messaggi.h"
#include "frmInformazioniSu.h"
#include "frmMain.h"
#include "mdi.h"
#include "modLanguageSupport.h"

#include <QtTest>

#include <memory>

class TestInfo : public QObject {
    Q_OBJECT
    std::unique_ptr<CartellaProva> cartella;
    std::unique_ptr<mdi> principale;
    QStringList collegamenti;
    bool apribile = true;  // whether the desktop opens a link
    QStringList avvisi;

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
        QCOMPARE(righe.size(), 2);
        QCOMPARE(Controllo<QLabel>(info, "lblArchivio")->toolTip(), percorso);
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
