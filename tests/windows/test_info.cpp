// The about window: version, credit line, disclaimer and its links.
#include "Calendario.h"
#include "CartellaProva.h"
#include "Collegamenti.h"
#include "Globali.h"
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

    frmInformazioniSu* ApriInfo() {
        QTest::mouseClick(principale->ui.lblInfo, Qt::LeftButton);
        return qobject_cast<frmInformazioniSu*>(principale->FiglioAttivo());
    }

private slots:
    void init() {
        cartella = std::make_unique<CartellaProva>();
        collegamenti.clear();
        ImpostaGestoreCollegamenti([this](const QString& d) { collegamenti << d; });
        Calendario::ImpostaServizi({[] { return Calendario::Data{2024, 6, 1}; }, nullptr});
        principale = std::make_unique<mdi>();
        principale->ImpostaFinestre(nullptr, nullptr, nullptr, [] { return new frmInformazioniSu; });
        principale->show();
        principale->MostraFiglio(new frmMain);
    }
    void cleanup() {
        principale.reset();
        cartella.reset();
    }

    void versioneTitoloECredito() {
        frmInformazioniSu* info = ApriInfo();
        QVERIFY(info);
        QCOMPARE(info->windowTitle(), QStringLiteral(" Info"));
        QCOMPARE(info->ui.lblVersion->text(), QStringLiteral("- vers. 1.0.5"));
        QCOMPARE(info->ui.lblTitle->text(), QStringLiteral("Tovarin Project"));
        QCOMPARE(info->ui.lblCopyRightBy->text(), TestoCredito + "2015-2024" + NomeAutore);
        QCOMPARE(info->ui.Label5->text(), IndirizzoSito);
        QCOMPARE(info->ui.lblIndirizzo->text(), IndirizzoPosta);
        QCOMPARE(info->ui.lblIndirizzo->toolTip(), "Scrivi a " + NomeAutore.trimmed());
        QVERIFY(info->ui.lblVersion->geometry().left() > info->ui.lblTitle->geometry().right());
    }

    void senzaTestoDiLinguaLaVersioneTieneIlDisegno() {
        principale->ChiudiFinestre();
        modLanguageSupport::LinguaCorrente = "klingon";
        frmInformazioniSu* info = ApriInfo();
        QCOMPARE(info->ui.lblVersion->text(), QStringLiteral("- vvvvvvvvv 1.0.5"));
    }

    void ilDisclaimerNonCresce() {
        const QString atteso = QStringLiteral(
                                   "Tovarin Project aiuta allenatori e biomeccanici a impostare la bicicletta e a "
                                   "seguire la condizione degli atleti. ") +
                               QString::fromStdString(modLanguageSupport::TestoLingua("0043")) + "\n" +
                               QString::fromStdString(modLanguageSupport::TestoLingua("0044"));
        QCOMPARE(ApriInfo()->ui.lblDisclaimer->text(), atteso);
        QCOMPARE(ApriInfo()->ui.lblDisclaimer->text(), atteso);
        QCOMPARE(principale->ui.mdiArea->Figli().size(), 1);
    }

    void collegamentiDellaFinestra() {
        frmInformazioniSu* info = ApriInfo();
        QTest::mouseClick(info->ui.Label5, Qt::LeftButton);
        QTest::mouseClick(info->ui.Label2, Qt::LeftButton);
        QTest::mouseClick(info->ui.lblIndirizzo, Qt::LeftButton);
        QCOMPARE(collegamenti, QStringList({IndirizzoSito, IndirizzoDonazione,
                                            "mailto:" + IndirizzoPosta + "?SUBJECT=Tovarin Project - vers.1.0.5"}));
    }

    void inIngleseIlDisclaimerEInIngleseEilCreditoDel2015() {
        Calendario::ImpostaServizi({[] { return Calendario::Data{2015, 3, 1}; }, nullptr});
        modLanguageSupport::LinguaCorrente = "english";
        frmInformazioniSu* info = ApriInfo();
        QCOMPARE(info->windowTitle(), QStringLiteral(" About"));
        QVERIFY(info->ui.lblDisclaimer->text().startsWith(QLatin1String("Tovarin Project helps")));
        QVERIFY(info->ui.lblDisclaimer->text().endsWith(
            QString::fromStdString(modLanguageSupport::TestoLingua("0044"))));
        QCOMPARE(info->ui.lblCopyRightBy->text(), TestoCredito + "2015" + NomeAutore);
        QCOMPARE(info->ui.Label2->text(), QStringLiteral("Donate"));
    }
};

QTEST_MAIN(TestInfo)
#include "test_info.moc"
