// Window translation by names alone, on a window built for the test.
#include "CartellaProva.h"
#include "TraduciForm.h"
#include "modLanguageSupport.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

template <typename T>
T* Crea(QWidget* genitore, const char* nome, int indice = -1) {
    auto* w = new T(genitore);
    w->setObjectName(QLatin1String(nome));
    if (indice >= 0) w->setProperty("index", indice);
    return w;
}

struct FinestraProva {
    QWidget finestra;
    QLabel *Label1, *Label2, *Label3;
    QLineEdit* Text1;
    QPushButton *cmdZona0, *cmdZona1;
    QCheckBox* chkAttFis;
    QGroupBox* Frame1;
    QTabWidget* SSTab1;
    QLabel* interno;  // inside a child window: not this window's control

    FinestraProva() {
        finestra.setObjectName(QStringLiteral("frmProva"));
        finestra.setWindowTitle(QStringLiteral("Prova"));
        finestra.setProperty("Tag", QStringLiteral("design tag"));
        Label1 = Crea<QLabel>(&finestra, "Label1");
        Label1->setText(QStringLiteral("Nome"));
        Label2 = Crea<QLabel>(&finestra, "Label2");
        Label2->setText(QStringLiteral("Peso"));
        Frame1 = Crea<QGroupBox>(&finestra, "Frame1");
        Frame1->setTitle(QStringLiteral("Misure"));
        Label3 = Crea<QLabel>(Frame1, "Label3");  // nested in a group
        Label3->setText(QStringLiteral("Cavallo"));
        Text1 = Crea<QLineEdit>(&finestra, "Text1");
        Text1->setText(QStringLiteral("Rossi"));
        cmdZona0 = Crea<QPushButton>(&finestra, "cmdZona", 0);
        cmdZona1 = Crea<QPushButton>(&finestra, "cmdZona", 1);
        cmdZona0->setText(QStringLiteral("Z0"));
        cmdZona1->setText(QStringLiteral("Z1"));
        chkAttFis = Crea<QCheckBox>(&finestra, "chkAttFis");
        chkAttFis->setText(QStringLiteral("Attività fisica"));
        SSTab1 = Crea<QTabWidget>(&finestra, "SSTab1");
        for (const char* t : {"Uno", "Due", "Tre"}) SSTab1->addTab(new QWidget, QLatin1String(t));
        auto* area = Crea<QWidget>(&finestra, "mdiArea");  // a workspace holding a child window
        area->setProperty("contieneFinestre", true);
        auto* figlia = Crea<QWidget>(area, "frmFiglia");
        interno = Crea<QLabel>(figlia, "Label1");
        interno->setText(QStringLiteral("resta"));
    }
};

}  // namespace

class TestTraduzione : public QObject {
    Q_OBJECT
    std::unique_ptr<CartellaProva> cartella;

private slots:
    void init() {
        cartella = std::make_unique<CartellaProva>(false);
        modLanguageSupport::LinguaCorrente = "prova";
    }
    void cleanup() { cartella.reset(); }

    void traduceCaptionToolTipTagEArray() {
        cartella->scrivi("prova.lng",
                         "[Strings]\n0001=\"x\"\n"
                         "[frmProva]\n"
                         "frmProva.Caption=\"Test\"\n"
                         "Label1.Caption=\"Name\"\nLabel1.ToolTipText=\"The athlete's name\"\nLabel1.Tag=\"t1\"\n"
                         "Label2.Caption=\"\"\n"
                         "Label3.Caption=\"Inseam\"\n"
                         "Frame1.Caption=\"Measures\"\n"
                         "Text1.Caption=\"ignored\"\nText1.ToolTipText=\"Type the name\"\nText1.Tag=\"x\"\n"
                         "cmdZona(1).Caption=\"Zone 1\"\ncmdZona(1).ToolTipText=\"Second\"\n"
                         "chkAttFis.Caption=\"Physical activity\"\n"
                         "SSTab1.TabCaption(0)=\"One\"\nSSTab1.TabCaption(2)=\"Three\"\n"
                         "[frmFiglia]\nLabel1.Caption=\"wrong\"\n");
        FinestraProva f;
        TraduciForm(&f.finestra);
        QCOMPARE(f.finestra.windowTitle(), QStringLiteral("Test"));
        QCOMPARE(f.finestra.property("Tag").toString(), QString());  // no key: the tag becomes empty
        QCOMPARE(f.Label1->text(), QStringLiteral("Name"));
        QCOMPARE(f.Label1->toolTip(), QStringLiteral("The athlete's name"));
        QCOMPARE(f.Label1->property("Tag").toString(), QStringLiteral("t1"));
        QCOMPARE(f.Label2->text(), QStringLiteral("Peso"));  // an empty value keeps the caption
        QCOMPARE(f.Label3->text(), QStringLiteral("Inseam"));
        QCOMPARE(f.Frame1->title(), QStringLiteral("Measures"));
        QCOMPARE(f.Text1->text(), QStringLiteral("Rossi"));  // a text box has no caption
        QCOMPARE(f.Text1->toolTip(), QStringLiteral("Type the name"));
        QCOMPARE(f.cmdZona0->text(), QStringLiteral("Z0"));
        QCOMPARE(f.cmdZona1->text(), QStringLiteral("Zone 1"));
        QCOMPARE(f.cmdZona1->toolTip(), QStringLiteral("Second"));
        QCOMPARE(f.chkAttFis->text(), QStringLiteral("Physical activity"));
        QCOMPARE(f.SSTab1->tabText(0), QStringLiteral("One"));
        QCOMPARE(f.SSTab1->tabText(1), QString());  // no key: the tab caption becomes empty
        QCOMPARE(f.SSTab1->tabText(2), QStringLiteral("Three"));
        QCOMPARE(f.interno->text(), QStringLiteral("resta"));
    }

    void finestraSenzaCaptionOChiave() {
        cartella->scrivi("prova.lng", "[frmProva]\nfrmProva.Caption=\"Test\"\nfrmProva.Tag=\"guard\"\n");
        FinestraProva senzaCaption;
        senzaCaption.finestra.setWindowTitle(QString());
        TraduciForm(&senzaCaption.finestra);
        QCOMPARE(senzaCaption.finestra.windowTitle(), QString());
        QCOMPARE(senzaCaption.finestra.property("Tag").toString(), QStringLiteral("guard"));

        cartella->scrivi("prova.lng", "[frmProva]\nLabel1.Caption=\"Name\"\n");
        FinestraProva senzaChiave;
        TraduciForm(&senzaChiave.finestra);
        QCOMPARE(senzaChiave.finestra.windowTitle(), QString());  // the key is missing: empty caption
        QCOMPARE(senzaChiave.Label1->text(), QStringLiteral("Name"));
    }

    void linguaSenzaFileTieneTuttoIlDisegno() {
        for (const char* lingua : {"", "klingon", "../prova", "sub/prova"}) {
            cartella->scrivi("prova.lng", "[frmProva]\nfrmProva.Caption=\"Test\"\nLabel1.Caption=\"Name\"\n");
            modLanguageSupport::LinguaCorrente = lingua;
            FinestraProva f;
            TraduciForm(&f.finestra);
            QCOMPARE(f.finestra.windowTitle(), QStringLiteral("Prova"));
            QCOMPARE(f.finestra.property("Tag").toString(), QStringLiteral("design tag"));
            QCOMPARE(f.Label1->text(), QStringLiteral("Nome"));
            QCOMPARE(f.SSTab1->tabText(1), QStringLiteral("Due"));
        }
    }

    void traduzioniSuccessiveTengonoITestiNonTrovati() {
        cartella->scrivi("english.lng", "[frmProva]\nLabel1.Caption=\"Name\"\nLabel2.Caption=\"Weight\"\n");
        cartella->scrivi("italian.lng", "[frmProva]\nLabel1.Caption=\"Nome\"\n");
        FinestraProva f;
        modLanguageSupport::LinguaCorrente = "english";
        TraduciForm(&f.finestra);
        modLanguageSupport::LinguaCorrente = "italian";
        TraduciForm(&f.finestra);
        QCOMPARE(f.Label1->text(), QStringLiteral("Nome"));
        QCOMPARE(f.Label2->text(), QStringLiteral("Weight"));
    }

    // A click waiting in the queue must not run in the middle of a
    // translation: it could close the window being translated.
    void nessunEventoDuranteLaTraduzione() {
        cartella->scrivi("prova.lng", "[frmProva]\nLabel1.Caption=\"Name\"\n");
        auto* f = new FinestraProva;
        bool eseguito = false;
        QTimer::singleShot(0, [&] {
            eseguito = true;
            delete f;
            f = nullptr;
        });
        TraduciForm(&f->finestra);
        QVERIFY(!eseguito);
        QCOMPARE(f->Label1->text(), QStringLiteral("Name"));
        QTRY_VERIFY(eseguito);
    }
};

QTEST_MAIN(TestTraduzione)
#include "test_traduzione.moc"
