// Every window as a screen reader walks it: the tree of accessible objects
// from the window down, and every control in it that is shown has a name of
// its own, in the language chosen, and the new language's after the flags
// change it.
#include "AtletaCorrente.h"
#include "Calendario.h"
#include "CartellaProva.h"
#include "Collegamenti.h"
#include "Controlli.h"
#include "FinestraUnica.h"
#include "Globali.h"
#include "GuidaChm.h"
#include "Messaggi.h"
#include "RegoleCampi.h"
#include "SupportoArchivio.h"
#include "TraduciFinestre.h"
#include "frmAtleti.h"
#include "frmChiave.h"
#include "frmCondizione.h"
#include "frmGuida.h"
#include "frmInformazioniSu.h"
#include "frmMain.h"
#include "frmProteggi.h"
#include "frmRegistraAssetto.h"
#include "frmScheda.h"
#include "frmStorico.h"
#include "frmTest.h"
#include "frmValoriIMC.h"
#include "frmZoom.h"
#include "frmZoom2.h"
#include "mdi.h"
#include "modLanguageSupport.h"

#include <QAccessible>
#include <QComboBox>
#include <QtTest>

#include <algorithm>
#include <map>
#include <memory>

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// The roles of what a screen reader stops at and says; the items of a list,
// a table or a tree are said by their own text.
bool RuoloDiControllo(QAccessible::Role ruolo) {
    switch (ruolo) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::List:
    case QAccessible::Table:
    case QAccessible::Tree:
    case QAccessible::Link:
    case QAccessible::Graphic:
    case QAccessible::PageTab:
    case QAccessible::Slider:
    case QAccessible::SpinBox:
    case QAccessible::Chart:
    case QAccessible::Document:
    case QAccessible::WebDocument:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown: return true;
    default: return false;
    }
}

bool RuoloDiVoce(QAccessible::Role ruolo) {
    switch (ruolo) {
    case QAccessible::ListItem:
    case QAccessible::TreeItem:
    case QAccessible::Cell:
    case QAccessible::Row:
    case QAccessible::Column:
    case QAccessible::ColumnHeader:
    case QAccessible::RowHeader:
    case QAccessible::ScrollBar: return true;
    default: return false;
    }
}

// Where an object stands in its window: its widgets' names, from the window.
QString Percorso(QAccessibleInterface* a, const QString& sopra, int indice) {
    QObject* o = a->object();
    const QString proprio =
        o && !o->objectName().isEmpty() ? o->objectName() : QStringLiteral("%1#%2").arg(int(a->role())).arg(indice);
    return sopra.isEmpty() ? proprio : sopra + '/' + proprio;
}

// The names of the controls shown in the window, by where each stands; an
// empty name for a control without one of its own.
void Cammina(QAccessibleInterface* a, const QString& percorso, std::map<QString, QString>& nomi, int livello = 0) {
    if (!a || !a->isValid() || livello > 40) return;
    const QAccessible::State stato = a->state();
    if (stato.invisible) return;
    const QAccessible::Role ruolo = a->role();
    if (RuoloDiVoce(ruolo)) return;
    if (livello > 0 && (RuoloDiControllo(ruolo) || stato.focusable)) {
        QString nome = a->text(QAccessible::Name).trimmed();
        // A combo named by the item it shows says nothing of what it is.
        if (ruolo == QAccessible::ComboBox && nome == a->text(QAccessible::Value).trimmed()) nome.clear();
        nomi[percorso] = nome;
    }
    // A list, a table or a tree: its items are its text.
    if (ruolo == QAccessible::List || ruolo == QAccessible::Table || ruolo == QAccessible::Tree) return;
    for (int i = 0; i < a->childCount(); ++i) {
        QAccessibleInterface* figlio = a->child(i);
        if (!figlio) continue;
        // A window of its own is walked as such.
        if (figlio->object() && figlio->object()->isWidgetType() && static_cast<QWidget*>(figlio->object())->isWindow())
            continue;
        Cammina(figlio, Percorso(figlio, percorso, i), nomi, livello + 1);
    }
}

std::map<QString, QString> NomiDi(QWidget* finestra) {
    std::map<QString, QString> nomi;
    Cammina(QAccessible::queryAccessibleInterface(finestra), finestra->objectName(), nomi);
    return nomi;
}

}  // namespace

class TestAccessibilita : public QObject {
    Q_OBJECT

    std::unique_ptr<CartellaProva> cartella;
    std::unique_ptr<mdi> principale;
    QStringList avvisi;

    std::filesystem::path File() const { return cartella->file("tvp.dmg"); }

    void Avvia() {
        prova::CreaArchivio(File(), {prova::RigaDi("Rossi", {{"datanascita", "15/03/1988"}, {"sesso", "F"}}),
                                     prova::RigaDi("Bianchi")});
        principale = std::make_unique<mdi>();
        principale->ImpostaFinestre(
            [](QWidget* g) { return new frmAtleti(g); }, [](QWidget* g) { return new frmScheda(g); },
            [](QWidget* g) { return new frmCondizione(g); }, [](QWidget* g) { return new frmInformazioniSu(g); });
        principale->ImpostaStorico([](QWidget* g) { return new frmStorico(g); });
        principale->show();
        principale->MostraFiglio(new frmMain);
        PercorsoGuida = QStringLiteral(TOVARIN_APP_DIR "/Guida.chm");  // the help built beside the program
        principale->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(principale.get()));
    }

    // Every window of the program, opened as the coach opens it, walked
    // while it is shown: the names of its controls, window by window. With
    // `poi`, each window opens in the language of the moment and is walked
    // in `poi`, chosen while it is open.
    std::map<QString, std::map<QString, QString>> Percorri(const std::string& poi = {}) {
        std::map<QString, std::map<QString, QString>> finestre;
        auto prendi = [&](QWidget* w, const QString& come) {
            const std::string prima = modLanguageSupport::LinguaCorrente;
            if (!poi.empty()) {
                modLanguageSupport::LinguaCorrente = poi;
                TraduciFinestreAperte();
            }
            finestre[come] = NomiDi(w);
            if (!poi.empty()) {
                modLanguageSupport::LinguaCorrente = prima;
                TraduciFinestreAperte();
            }
        };
        auto bar = [this](const char* nome) {
            QTest::mouseClick(Controllo<QWidget>(principale, nome), Qt::LeftButton);
        };
        prendi(principale.get(), QStringLiteral("frmMain"));
        bar("cmdAtleta");
        prendi(principale.get(), QStringLiteral("frmAtleti"));
        // Past the last: a new athlete, blank.
        Controllo<NavigatoreDati>(principale->FiglioAttivo(), "Data1")->PulsanteUltimo()->click();
        Controllo<NavigatoreDati>(principale->FiglioAttivo(), "Data1")->PulsanteSuccessivo()->click();
        prendi(principale.get(), QStringLiteral("frmAtleti nuovo"));
        Controllo<NavigatoreDati>(principale->FiglioAttivo(), "Data1")->PulsantePrimo()->click();
        bar("cmdAssetto");
        QWidget* scheda = principale->FiglioAttivo();
        prendi(principale.get(), QStringLiteral("frmScheda"));
        Controllo<ImmagineSvg>(scheda, "imgBici")->clicked();
        Controllo<ImmagineSvg>(scheda, "imgSagoma")->clicked();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && (qobject_cast<frmZoom*>(w) || qobject_cast<frmZoom2*>(w))) prendi(w, w->objectName());
        {
            frmRegistraAssetto registra(archivio::Assetto{}, {}, principale.get());
            registra.show();
            prendi(&registra, registra.objectName());
        }
        // The passphrase's two dialogs, the second with every box (an
        // archive that has one).
        {
            frmChiave chiede(QStringLiteral("?"), {}, principale.get());
            chiede.show();
            prendi(&chiede, chiede.objectName());
            frmProteggi proteggi(true, {}, principale.get());
            proteggi.show();
            prendi(&proteggi, proteggi.objectName());
        }
        Controllo<QPushButton>(scheda, "cmdStorico")->click();
        prendi(principale.get(), QStringLiteral("frmStorico"));
        bar("cmdCondizione");
        QWidget* condizione = principale->FiglioAttivo();
        prendi(principale.get(), QStringLiteral("frmCondizione"));
        Controllo<QPushButton>(condizione, "cmdTest")->click();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && qobject_cast<frmTest*>(w)) prendi(w, w->objectName());
        QTest::mouseClick(Controllo<QLabel>(condizione, "Label44"), Qt::LeftButton);
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && qobject_cast<frmValoriIMC*>(w)) prendi(w, w->objectName());
        Controllo<QPushButton>(principale, "cmdHelp")->click();
        QWidget* guida = FinestraGuida();
        if (guida) prendi(guida, guida->objectName());
        bar("lblInfo");
        prendi(principale.get(), QStringLiteral("frmInformazioniSu"));
        return finestre;
    }

    void ChiudiTutto() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != principale.get() && w->isVisible()) w->close();
        if (FinestraGuida()) delete FinestraGuida();
        principale.reset();
    }

private slots:
    void initTestCase() { ImpostaGestoreGuida(MostraGuidaChm); }

    void init() {
        cartella = std::make_unique<CartellaProva>();
        avvisi.clear();
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
        ChiudiTutto();
        ImpostaGestoreMessaggi({});
        PercorsoArchivio.clear();
        cartella.reset();
    }

    // The season's chart is named by its caption and says its points; the
    // picker says "select" in English; the flags and the waste bin are
    // buttons that press.
    void ilGraficoEIlSelettoreParlano() {
        cartella->scrivi("LangSetting.ini", "[Language]\nCurrentLanguage=english\n");
        Avvia();
        for (const char* bandiera : {"imgItalia", "imgEnglish"})
            QCOMPARE(QAccessible::queryAccessibleInterface(Controllo<QWidget>(principale, bandiera))->role(),
                     QAccessible::Button);
        QTest::mouseClick(Controllo<QWidget>(principale, "cmdAtleta"), Qt::LeftButton);
        QAccessibleInterface* cestino =
            QAccessible::queryAccessibleInterface(Controllo<QWidget>(principale, "imgCestino"));
        QCOMPARE(cestino->role(), QAccessible::Button);
        QVERIFY(cestino->actionInterface() &&
                cestino->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
        QTest::mouseClick(Controllo<QWidget>(principale, "cmdCondizione"), Qt::LeftButton);
        QWidget* condizione = principale->FiglioAttivo();
        QCOMPARE(Controllo<QComboBox>(condizione, "DBCombo1")->currentText(), QStringLiteral("select"));
        Controllo<QPushButton>(condizione, "cmdTest")->click();
        frmTest* test = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && qobject_cast<frmTest*>(w)) test = static_cast<frmTest*>(w);
        QVERIFY(test);
        QAccessibleInterface* grafico = QAccessible::queryAccessibleInterface(Controllo<QWidget>(test, "grafico"));
        QCOMPARE(grafico->role(), QAccessible::Chart);
        QCOMPARE(grafico->text(QAccessible::Name), QStringLiteral("The season: FTP (W) and W/kg"));
        QVERIFY(!grafico->text(QAccessible::Description).isEmpty());
    }

    // Each window in each language: no control without a name, no two
    // controls of a window with the same name; and the names the windows
    // get when the language changes are those they open with in it.
    void ogniControlloHaUnNomeSuo_data() {
        QTest::addColumn<QString>("lingua");
        QTest::addColumn<QString>("altra");
        QTest::newRow("italian") << "italian"
                                 << "english";
        QTest::newRow("english") << "english"
                                 << "italian";
    }
    void ogniControlloHaUnNomeSuo() {
        QFETCH(QString, lingua);
        QFETCH(QString, altra);
        cartella->scrivi("LangSetting.ini", "[Language]\nCurrentLanguage=" + lingua.toStdString() + "\n");
        modLanguageSupport::LinguaCorrente = lingua.toStdString();
        Avvia();
        const auto finestre = Percorri();
        QStringList difetti;
        for (const auto& [finestra, nomi] : finestre) {
            // The bar's buttons and the window's own may share a name (the
            // card's "Assetto" opens what the bar's does); within each, none.
            std::map<QString, QString> usati;
            for (const auto& [dove, nome] : nomi) {
                if (nome.isEmpty()) {
                    difetti << finestra + ": " + dove + " has no name";
                    continue;
                }
                const QString gruppo = dove.contains(QLatin1String("/Picture2/")) ? QStringLiteral("bar: ") : QString();
                // A combo's text box is the combo, said alike.
                if (auto [gia, nuovo] = usati.emplace(gruppo + nome, dove);
                    !nuovo && !dove.startsWith(gia->second + '/') && !gia->second.startsWith(dove + '/'))
                    difetti << finestra + ": " + dove + " and " + gia->second + " are both \"" + nome + '"';
            }
        }
        // Names that say what the control is, not what stands near it.
        struct Atteso {
            const char* finestra;
            const char* controllo;
            const char* italiano;
            const char* inglese;
        };
        static const Atteso Attesi[] = {
            {"frmAtleti", "/frmAtleti/txtNote", "Blocco Note", "Notes"},
            {"frmAtleti", "/frmAtleti/cmbSesso", "Sesso", "Sex"},
            {"frmAtleti", "/frmAtleti/cboTipoImpiego", "Attività lavorativa", "Work activity"},
            {"frmAtleti", "/Data1/DBCombo1", "Elenco degli atleti (F4)", "List of athletes (F4)"},
            {"frmScheda", "/frmScheda/txtNote", "Blocco Note", "Notes"},
            {"frmScheda", "/frmScheda/txtHS", "HS, altezza sella calcolata (cm)", "HS, saddle height, computed (cm)"},
            {"frmScheda", "/frmScheda/Text13", "HS, altezza sella dell'atleta (set)",
             "HS, the athlete's saddle height (set)"},
            {"frmScheda", "/frmScheda/cmdRegistraAssetto", "Registra assetto", "Record fitting"},
            {"frmStorico", "/frmStorico/tblConfronto", "L'assetto scelto e oggi", "The chosen fitting and today"},
            {"frmStorico", "/frmStorico/tblCoordinate", "Coordinate di oggi (cm)", "Today's fit coordinates (cm)"},
            {"frmCondizione", "/frmCondizione/cmbSesso", "Sesso", "Sex"},
            {"frmGuida", "/treeSommario", "Sommario della guida", "Help contents"},
            {"frmGuida", "/txtGuida", "Pagina della guida", "Help page"},
            {"frmMain", "/Picture2/txtSetfocus", "Nessun controllo: Tab per proseguire", "No control: Tab to go on"},
            {"frmMain", "/frmMain/imgEnglish", "English", "English"},
            {"frmChiave", "/txtPassphrase", "Passphrase", "Passphrase"},
            {"frmProteggi", "/txtAttuale", "Passphrase attuale", "Current passphrase"},
            {"frmProteggi", "/txtRipeti", "Ripeti la nuova", "Repeat the new one"},
            {"frmProteggi", "/cboBlocco", "Blocca l'archivio dopo", "Lock the archive after"},
        };
        for (const Atteso& a : Attesi) {
            const auto& nomi = finestre.at(QString::fromLatin1(a.finestra));
            const auto trovato = std::find_if(nomi.begin(), nomi.end(), [&](const auto& n) {
                return n.first.endsWith(QString::fromUtf8(a.controllo));
            });
            const QString atteso = QString::fromUtf8(lingua == QLatin1String("italian") ? a.italiano : a.inglese);
            if (trovato == nomi.end())
                difetti << QString::fromLatin1(a.finestra) + ": no " + a.controllo;
            else if (trovato->second != atteso)
                difetti << trovato->first + " is \"" + trovato->second + "\", not \"" + atteso + '"';
        }
        for (const QString& d : difetti) qWarning("%s", qPrintable(d));
        QVERIFY2(difetti.isEmpty(), qPrintable(QString::number(difetti.size()) + " faults, above"));
        QStringList percorse;
        for (const auto& f : finestre) percorse << f.first;
        QCOMPARE(percorse, (QStringList{"frmAtleti", "frmAtleti nuovo", "frmChiave", "frmCondizione", "frmGuida",
                                        "frmInformazioniSu", "frmMain", "frmProteggi", "frmRegistraAssetto",
                                        "frmScheda", "frmStorico", "frmTest", "frmValoriIMC", "frmZoom", "frmZoom2"}));
        QVERIFY2(avvisi.isEmpty(), qPrintable(avvisi.join('|')));

        // The other language, chosen while each window is open, names it as
        // it is named when it opens in that language.
        ChiudiTutto();
        Avvia();
        const auto girate = Percorri(altra.toStdString());
        ChiudiTutto();
        cartella->scrivi("LangSetting.ini", "[Language]\nCurrentLanguage=" + altra.toStdString() + "\n");
        modLanguageSupport::LinguaCorrente = altra.toStdString();
        Avvia();
        const auto native = Percorri();
        for (const auto& [finestra, nomi] : girate) {
            const auto attesa = native.find(finestra);
            // The flags are on the home window, which the About window
            // replaces; the record dialog and the passphrase's are modal:
            // none is ever open while the language changes.
            if (attesa == native.end() || finestra == QLatin1String("frmInformazioniSu") ||
                finestra == QLatin1String("frmRegistraAssetto") || finestra == QLatin1String("frmChiave") ||
                finestra == QLatin1String("frmProteggi"))
                continue;
            for (const auto& [dove, nome] : nomi) {
                const auto n = attesa->second.find(dove);
                if (n != attesa->second.end() && n->second != nome)
                    difetti << finestra + ": " + dove + " \"" + nome + "\" after the change, \"" + n->second +
                                   "\" when opened in " + altra;
            }
        }
        for (const QString& d : difetti) qWarning("%s", qPrintable(d));
        QVERIFY2(difetti.isEmpty(), qPrintable(QString::number(difetti.size()) + " faults, above"));
    }
};

QTEST_MAIN(TestAccessibilita)
#include "test_accessibilita.moc"
