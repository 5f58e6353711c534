// The help file "Guida.chm" built beside the program, its reader and the
// help viewer.
#include "CartellaProva.h"
#include "Collegamenti.h"
#include "GuidaChm.h"
#include "LettoreChm.h"
#include "Messaggi.h"
#include "frmGuida.h"

#include "modLanguageSupport.h"

#include <QApplication>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocumentFragment>
#include <QTreeWidget>
#include <QtTest>

#ifndef TOVARIN_APP_DIR
#error "TOVARIN_APP_DIR must name the application folder"
#endif

namespace {

QString FileGuida() { return QStringLiteral(TOVARIN_APP_DIR "/Guida.chm"); }

const QStringList Argomenti = {QStringLiteral("Descrizione.html"),         QStringLiteral("scheda_atleta.html"),
                               QStringLiteral("Scheda_assetto.html"),      QStringLiteral("Scheda_fitness.html"),
                               QStringLiteral("Storico_assetti.html"),     QStringLiteral("Test_atleta.html"),
                               QStringLiteral("Archivio_precedente.html"), QStringLiteral("Archivio_protetto.html")};
// The same topics in English.
const QStringList ArgomentiInglesi = {QStringLiteral("Overview.html"),        QStringLiteral("Athlete_card.html"),
                                      QStringLiteral("Fit_sheet.html"),       QStringLiteral("Condition_sheet.html"),
                                      QStringLiteral("Fitting_history.html"), QStringLiteral("Athlete_tests.html"),
                                      QStringLiteral("Earlier_archive.html"), QStringLiteral("Protected_archive.html")};

QString TestoDellaPagina(const QByteArray& html) {
    return QTextDocumentFragment::fromHtml(QString::fromUtf8(html)).toPlainText();
}

int ContaViewer() {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (qobject_cast<frmGuida*>(w) && w->isVisible()) ++n;
    }
    return n;
}

}  // namespace

class TestGuida : public QObject {
    Q_OBJECT

    struct Avviso {
        QString titolo;
        QString testo;
    };
    QList<Avviso> avvisi;
    QList<QUrl> esterni;

    frmGuida* viewer() const { return FinestraGuida(); }
    std::unique_ptr<CartellaProva> cartella;

private slots:
    void initTestCase() {
        QVERIFY2(QFile::exists(FileGuida()), qPrintable(FileGuida()));
        ImpostaGestoreMessaggi(
            [this](QWidget*, const QString& titolo, const QString& testo, QMessageBox::StandardButtons) {
                avvisi.append({titolo, testo});
                return QMessageBox::Ok;
            });
        ApriEsternoGuida = [this](const QUrl& indirizzo) { esterni.append(indirizzo); };
        cartella = std::make_unique<CartellaProva>();
        modLanguageSupport::LinguaCorrente = "italian";
    }

    void init() {
        avvisi.clear();
        esterni.clear();
    }

    void cleanupTestCase() {
        if (viewer()) delete viewer();
        cartella.reset();
    }

    // ----- the help file -------------------------------------------------

    void ilFileHaIQuattroArgomentiConINomiEsatti() {
        LettoreChm lettore(FileGuida());
        QVERIFY2(lettore.aperto(), qPrintable(lettore.messaggioErrore()));
        const QStringList elenco = lettore.elenco();
        for (const QString& argomento : Argomenti + ArgomentiInglesi)
            QVERIFY2(elenco.contains(QLatin1Char('/') + argomento), qPrintable(argomento + " in " + elenco.join(' ')));
        QCOMPARE(lettore.argomentoPredefinito(), QStringLiteral("/Descrizione.html"));
        QVERIFY(!lettore.fileSommario().isEmpty());
        QVERIFY(lettore.contiene(lettore.fileSommario()));
    }

    // The viewer follows the language: every topic has its counterpart in the
    // other language, and back.
    void ogniArgomentoHaLaSuaPaginaNellAltraLingua() {
        QCOMPARE(Argomenti.size(), ArgomentiInglesi.size());
        for (qsizetype i = 0; i < Argomenti.size(); ++i) {
            const QString it = QLatin1Char('/') + Argomenti[i], en = QLatin1Char('/') + ArgomentiInglesi[i];
            QCOMPARE(PaginaNellaLingua(it, true), en);
            QCOMPARE(PaginaNellaLingua(en, false), it);
        }
    }

    void ogniArgomentoHaContenuto_data() {
        QTest::addColumn<QString>("argomento");
        QTest::addColumn<QStringList>("parole");
        QTest::newRow("Descrizione") << QStringLiteral("Descrizione.html")
                                     << QStringList{
                                            "Atleta",      "Assetto", "Condizione",    "Stampa",
                                            "Guida",       "Info",    "Donazione",     "finestra iniziale",
                                            "bandiera",    "lingua",  "stesso atleta", "Non c'è un pulsante Salva",
                                            "orizzontale", "F1",      "Ctrl+P",        "Esc",
                                            "PDF"};
        QTest::newRow("scheda_atleta") << QStringLiteral("scheda_atleta.html")
                                       << QStringList{"Dati personali",
                                                      "Misure del corpo",
                                                      "Componenti della bici",
                                                      "Assetto personale",
                                                      "cestino",
                                                      "oltre l'ultimo atleta",
                                                      "Cavallo",
                                                      "Busto",
                                                      "Coscia",
                                                      "Gamba",
                                                      "Braccio",
                                                      "Spalle",
                                                      "libro",
                                                      "parete",
                                                      "sterno",
                                                      "ginocchio",
                                                      "pugno chiuso",
                                                      "ossa delle spalle",
                                                      "Altezza",
                                                      "Peso",
                                                      "sdraiati",
                                                      "un minuto intero"};
        QTest::newRow("Scheda_assetto") << QStringLiteral("Scheda_assetto.html")
                                        << QStringList{"TP",      "TO",      "PE",        "alfa",       "piega",
                                                       "pipa",    "HS",      "DSM",       "SM",         "R",
                                                       "27.5",    "n.d.",    "set",       "millimetri", "punto",
                                                       "virgola", "lettera", "ingranditi"};
        QTest::newRow("Scheda_fitness") << QStringLiteral("Scheda_fitness.html")
                                        << QStringList{"Età",          "Costituzione",
                                                       "1.31",         "1.33",
                                                       "I.M.C.",       "Peso ideale",
                                                       "Range valori", "Harris",
                                                       "Benedict",     "Fabbisogno",
                                                       "leggera",      "moderata",
                                                       "intensa",      "220",
                                                       "226",          "Cooper",
                                                       "Karvonen",     "riserva",
                                                       "Keytel",       "minuti",
                                                       "Recupero",     "Resistenza aerobica",
                                                       "Ritmo",        "Soglia",
                                                       "Massimo",      "24 anni"};
        // The English topics say the same, with the words of the English windows.
        QTest::newRow("Overview") << QStringLiteral("Overview.html")
                                  << QStringList{"Athlete",   "Fit",      "Condition",    "Print",
                                                 "Help",      "About",    "Donate",       "home window",
                                                 "flag",      "language", "same athlete", "There is no Save button",
                                                 "landscape", "F1",       "Ctrl+P",       "Esc",
                                                 "PDF"};
        QTest::newRow("Athlete_card") << QStringLiteral("Athlete_card.html")
                                      << QStringList{"Personal data", "Body measures",
                                                     "Bicycle parts", "Personal set-up",
                                                     "waste bin",     "past the last athlete",
                                                     "Inseam",        "Torso",
                                                     "Thigh",         "Leg",
                                                     "Arm",           "Shoulders",
                                                     "book",          "wall",
                                                     "breastbone",    "knee",
                                                     "clenched",      "shoulder bones",
                                                     "Height",        "Weight (kg)",
                                                     "lying down",    "one whole minute",
                                                     "Notes",         "Yes",
                                                     "Cancel"};
        QTest::newRow("Fit_sheet") << QStringLiteral("Fit_sheet.html")
                                   << QStringList{"TP",  "TO",          "PE",        "alpha", "bar width", "stem",
                                                  "HS",  "DSM",         "SM",        "R",     "27.5",      "n.d.",
                                                  "set", "millimetres", "full stop", "comma", "letter",    "enlarged"};
        QTest::newRow("Condition_sheet")
            << QStringLiteral("Condition_sheet.html")
            << QStringList{"Age",        "Body build",        "1.31",    "1.33",      "BMI",
                           "Ideal (kg)", "BMI ranges",        "Harris",  "Benedict",  "Energy need",
                           "light",      "moderate",          "strong",  "220",       "226",
                           "Cooper",     "Karvonen",          "reserve", "Keytel",    "minutes",
                           "Recovery",   "Aerobic endurance", "Tempo",   "Threshold", "Maximum",
                           "24 on"};
        // Bringing the earlier program's archive, in both languages.
        QTest::newRow("Archivio_precedente")
            << QStringLiteral("Archivio_precedente.html")
            << QStringList{"Access 2000", "tvp.dmg.access-", "Importa l'archivio del programma precedente",
                           "86,5",        "7/4/1990",        "--import-access",
                           "Access 97",   "ACCDB",           "atleta",
                           "incompleto"};
        QTest::newRow("Earlier_archive")
            << QStringLiteral("Earlier_archive.html")
            << QStringList{"Access 2000", "tvp.dmg.access-", "Import an archive of the earlier program",
                           "86,5",        "7/4/1990",        "--import-access",
                           "Access 97",   "ACCDB",           "atleta",
                           "incomplete"};
        // The coach's passphrase, in both languages.
        QTest::newRow("Archivio_protetto") << QStringLiteral("Archivio_protetto.html")
                                           << QStringList{"Proteggi l'archivio...",
                                                          "Ripeti la nuova",
                                                          "Debole",
                                                          "Forte",
                                                          "Togli la passphrase",
                                                          "Blocco maiuscole",
                                                          "Blocca l'archivio dopo",
                                                          "15",
                                                          "non cifrato",
                                                          "--passphrase-file",
                                                          "--unprotect",
                                                          "non si può recuperare"};
        QTest::newRow("Protected_archive") << QStringLiteral("Protected_archive.html")
                                           << QStringList{"Protect the archive...",
                                                          "Repeat the new one",
                                                          "Weak",
                                                          "Strong",
                                                          "Remove the passphrase",
                                                          "Caps Lock",
                                                          "Lock the archive after",
                                                          "15",
                                                          "not encrypted",
                                                          "--passphrase-file",
                                                          "--unprotect",
                                                          "cannot be recovered"};
    }

    void ogniArgomentoHaContenuto() {
        QFETCH(QString, argomento);
        QFETCH(QStringList, parole);
        LettoreChm lettore(FileGuida());
        const auto dati = lettore.leggi(argomento);
        QVERIFY2(dati, qPrintable(lettore.messaggioErrore()));
        const QString testo = TestoDellaPagina(*dati);
        QVERIFY2(testo.size() > 3000, qPrintable(QString::number(testo.size())));
        for (const QString& parola : parole)
            QVERIFY2(testo.contains(parola, Qt::CaseInsensitive), qPrintable(argomento + ": " + parola));
        // Every topic leads to the other three of its language.
        for (const QString& altro : Argomenti.contains(argomento) ? Argomenti : ArgomentiInglesi)
            QVERIFY2(dati->contains(("href=\"" + altro + "\"").toUtf8()), qPrintable(argomento + " -> " + altro));
    }

    // Every link, picture and style sheet of the pages and every entry of the
    // table of contents points to something inside the file.
    void iCollegamentiPortanoDentroIlFile() {
        LettoreChm lettore(FileGuida());
        const QRegularExpression riferimento(QStringLiteral("(?:href|src|value)=\"([^\"]+)\""),
                                             QRegularExpression::CaseInsensitiveOption);
        QStringList pagine = Argomenti + ArgomentiInglesi;
        pagine << lettore.fileSommario().mid(1) << QStringLiteral("Guide.hhc");
        int controllati = 0;
        for (const QString& pagina : pagine) {
            const auto dati = lettore.leggi(pagina);
            QVERIFY(dati);
            const QString html = QString::fromUtf8(*dati);
            for (auto it = riferimento.globalMatch(html); it.hasNext();) {
                const QString r = it.next().captured(1);
                if (r.contains(QLatin1Char(':')) || !(r.contains(QLatin1Char('.')) || r.startsWith('#')))
                    continue;  // web addresses and parameter values that are not files
                const QString oggetto = LettoreChm::PercorsoOggetto(r, QLatin1Char('/') + pagina);
                QVERIFY2(lettore.contiene(oggetto), qPrintable(pagina + ": " + r));
                const qsizetype cancelletto = r.indexOf(QLatin1Char('#'));
                if (cancelletto >= 0) {
                    const QString ancora = r.mid(cancelletto + 1);
                    const auto destinazione = lettore.leggi(oggetto);
                    QVERIFY(destinazione);
                    QVERIFY2(destinazione->contains(("name=\"" + ancora + "\"").toUtf8()),
                             qPrintable(pagina + ": " + r));
                }
                ++controllati;
            }
        }
        QVERIFY(controllati > 40);
    }

    // ----- the reader ----------------------------------------------------

    void ilLettoreSegnalaIlFileMancante() {
        QTemporaryDir cartella;
        const QString mancante = cartella.filePath(QStringLiteral("Guida.chm"));
        LettoreChm lettore(mancante);
        QVERIFY(!lettore.aperto());
        QCOMPARE(lettore.errore(), LettoreChm::Errore::FileMancante);
        QVERIFY(lettore.messaggioErrore().contains(QStringLiteral("Guida.chm")));
        QVERIFY(lettore.messaggioErrore().contains(QStringLiteral("non è stato trovato")));
        QVERIFY(!lettore.leggi(QStringLiteral("Descrizione.html")));
        QVERIFY(lettore.elenco().isEmpty());
    }

    void ilLettoreSegnalaLArgomentoMancante() {
        LettoreChm lettore(FileGuida());
        QVERIFY(lettore.aperto());
        QVERIFY(!lettore.contiene(QStringLiteral("Nessuno.html")));
        QCOMPARE(lettore.errore(), LettoreChm::Errore::OggettoMancante);
        QVERIFY(lettore.messaggioErrore().contains(QStringLiteral("\"Nessuno.html\"")));
        QVERIFY(!lettore.leggi(QStringLiteral("/immagini/nessuna.png")));
        QCOMPARE(lettore.errore(), LettoreChm::Errore::OggettoMancante);
        // A folder is not a topic.
        QVERIFY(!lettore.contiene(QStringLiteral("/immagini/")));
        // A good read clears the error.
        QVERIFY(lettore.leggi(QStringLiteral("stile.css")));
        QCOMPARE(lettore.errore(), LettoreChm::Errore::Nessuno);
    }

    void ilLettoreLeggeLeRisorseRelative() {
        LettoreChm lettore(FileGuida());
        const auto immagine = lettore.leggi(
            LettoreChm::PercorsoOggetto(QStringLiteral("immagini/bici.png"), QStringLiteral("/Scheda_assetto.html")));
        QVERIFY(immagine);
        QVERIFY(immagine->startsWith("\x89PNG"));
        const auto stile = lettore.leggi(QStringLiteral("stile.css"));
        QVERIFY(stile);
        QVERIFY(stile->contains("#ff8000"));
    }

    void ilLettoreSegnalaIlFileCorrotto() {
        QTemporaryDir cartella;
        const QString corrotto = cartella.filePath(QStringLiteral("Guida.chm"));
        QFile f(corrotto);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QByteArray casuale(20000, Qt::Uninitialized);
        QRandomGenerator generatore(20240917);
        for (auto& c : casuale) c = static_cast<char>(generatore.bounded(256));
        f.write(casuale);
        f.close();
        LettoreChm lettore(corrotto);
        QVERIFY(!lettore.aperto());
        QCOMPARE(lettore.errore(), LettoreChm::Errore::FileIlleggibile);
        QVERIFY(lettore.messaggioErrore().contains(QStringLiteral("Guida.chm")));

        // A folder with the file's name, and an empty file.
        QVERIFY(QDir(cartella.path()).mkdir(QStringLiteral("Cartella.chm")));
        LettoreChm cartellaChm(cartella.filePath(QStringLiteral("Cartella.chm")));
        QCOMPARE(cartellaChm.errore(), LettoreChm::Errore::FileIlleggibile);
        QFile vuoto(cartella.filePath(QStringLiteral("Vuoto.chm")));
        QVERIFY(vuoto.open(QIODevice::WriteOnly));
        vuoto.close();
        LettoreChm lettoreVuoto(vuoto.fileName());
        QCOMPARE(lettoreVuoto.errore(), LettoreChm::Errore::FileIlleggibile);
    }

    void ilLettoreReggeUnFileTroncatoOAlterato() {
        QFile originale(FileGuida());
        QVERIFY(originale.open(QIODevice::ReadOnly));
        const QByteArray buono = originale.readAll();
        QTemporaryDir cartella;
        QRandomGenerator generatore(7);
        for (int prova = 0; prova < 40; ++prova) {
            QByteArray dati = buono;
            if (prova % 2 == 0) {
                dati.truncate(generatore.bounded(static_cast<int>(dati.size())));
            } else {
                for (int i = 0; i < 20; ++i)
                    dati[generatore.bounded(static_cast<int>(dati.size()))] =
                        static_cast<char>(generatore.bounded(256));
            }
            const QString nome = cartella.filePath(QStringLiteral("rotto%1.chm").arg(prova));
            QFile f(nome);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(dati);
            f.close();
            LettoreChm lettore(nome);
            if (!lettore.aperto()) {
                QVERIFY(!lettore.messaggioErrore().isEmpty());
                continue;
            }
            for (const QString& oggetto : lettore.elenco()) {
                if (!lettore.leggi(oggetto)) QVERIFY(lettore.errore() != LettoreChm::Errore::Nessuno);
            }
            lettore.argomentoPredefinito();
            lettore.fileSommario();
        }
    }

    void ilPercorsoDiUnRiferimento() {
        QCOMPARE(LettoreChm::PercorsoOggetto(QStringLiteral("Descrizione.html")), QStringLiteral("/Descrizione.html"));
        QCOMPARE(LettoreChm::PercorsoOggetto(QStringLiteral("/Descrizione.html")), QStringLiteral("/Descrizione.html"));
        QCOMPARE(LettoreChm::PercorsoOggetto(QStringLiteral("stile.css"), QStringLiteral("/a/pagina.html")),
                 QStringLiteral("/a/stile.css"));
        QCOMPARE(LettoreChm::PercorsoOggetto(QStringLiteral("../stile.css"), QStringLiteral("/a/b/pagina.html")),
                 QStringLiteral("/a/stile.css"));
        QCOMPARE(LettoreChm::PercorsoOggetto(QStringLiteral("Scheda_fitness.html#zone?x")),
                 QStringLiteral("/Scheda_fitness.html"));
        QCOMPARE(LettoreChm::PercorsoOggetto(QStringLiteral("#zone"), QStringLiteral("/Scheda_fitness.html")),
                 QStringLiteral("/Scheda_fitness.html"));
        QCOMPARE(LettoreChm::PercorsoOggetto(QStringLiteral("ms-its:Guida.chm::/Scheda_assetto.html#set")),
                 QStringLiteral("/Scheda_assetto.html"));
        QCOMPARE(LettoreChm::PercorsoOggetto(QStringLiteral("mk:@MSITStore:C:\\Tovarin\\Guida.chm::/a%20b.html")),
                 QStringLiteral("/a b.html"));
        QCOMPARE(LettoreChm::PercorsoOggetto(QStringLiteral("immagini\\bici.png")),
                 QStringLiteral("/immagini/bici.png"));
        QCOMPARE(LettoreChm::PercorsoOggetto(QStringLiteral("/../../x.html")), QStringLiteral("/x.html"));
        QCOMPARE(LettoreChm::PercorsoOggetto(QString()), QString());
    }

    void ilMessaggioInInglese() {
        modLanguageSupport::LinguaCorrente = "english";
        LettoreChm lettore(FileGuida());
        lettore.contiene(QStringLiteral("Nessuno.html"));
        QVERIFY(lettore.messaggioErrore().startsWith(QStringLiteral("The topic \"Nessuno.html\"")));
        modLanguageSupport::LinguaCorrente = "italian";
    }

    // ----- the viewer ----------------------------------------------------

    void ilViewerMostraLArgomento() {
        MostraGuidaChm(nullptr, FileGuida(), QStringLiteral("Scheda_assetto.html"));
        QVERIFY(avvisi.isEmpty());
        frmGuida* v = viewer();
        QVERIFY(v);
        QVERIFY(v->isVisible());
        QVERIFY(v->isWindow());
        QCOMPARE(v->windowTitle(), QStringLiteral("Guida - Tovarin Project"));
        QCOMPARE(v->argomentoCorrente(), QStringLiteral("/Scheda_assetto.html"));
        QCOMPARE(v->fileGuida(), FileGuida());

        auto* txt = v->findChild<QTextBrowser*>(QStringLiteral("txtGuida"));
        QVERIFY(txt);
        QVERIFY(txt->toPlainText().contains(QStringLiteral("Scheda assetto")));
        QVERIFY(txt->toPlainText().contains(QStringLiteral("DSM")));

        // The style sheet came from the help file: the title is orange.
        QTextBlock titolo;
        for (QTextBlock b = txt->document()->begin(); b.isValid(); b = b.next()) {
            if (b.text().trimmed() == QStringLiteral("Scheda assetto")) {
                titolo = b;
                break;
            }
        }
        QVERIFY(titolo.isValid());
        QCOMPARE(titolo.charFormat().foreground().color(), QColor(0xff, 0x80, 0x00));
        // So did the picture.
        const QVariant immagine =
            txt->document()->resource(QTextDocument::ImageResource, QUrl(QStringLiteral("immagini/bici.png")));
        QVERIFY(immagine.isValid());

        // The table of contents holds the eight topics.
        auto* sommario = v->findChild<QTreeWidget*>(QStringLiteral("treeSommario"));
        QVERIFY(sommario);
        QCOMPARE(sommario->topLevelItemCount(), 8);
        QVERIFY(sommario->currentItem());
        QCOMPARE(sommario->currentItem()->text(0), QStringLiteral("Scheda assetto"));
    }

    void unaSecondaChiamataUsaLoStessoViewer() {
        MostraGuidaChm(nullptr, FileGuida(), QStringLiteral("scheda_atleta.html"));
        frmGuida* primo = viewer();
        QVERIFY(primo);
        MostraGuidaChm(nullptr, FileGuida(), QStringLiteral("Scheda_fitness.html"));
        QCOMPARE(viewer(), primo);
        QCOMPARE(ContaViewer(), 1);
        QVERIFY(primo->isVisible());
        QCOMPARE(primo->argomentoCorrente(), QStringLiteral("/Scheda_fitness.html"));
        QVERIFY(primo->browser()->toPlainText().contains(QStringLiteral("Karvonen")));
        // Back leads to the topic shown before.
        primo->browser()->backward();
        QCOMPARE(primo->argomentoCorrente(), QStringLiteral("/scheda_atleta.html"));
        QVERIFY(avvisi.isEmpty());
    }

    void unArgomentoVuotoMostraLaDescrizione() {
        MostraGuidaChm(nullptr, FileGuida(), QString());
        QVERIFY(viewer());
        QCOMPARE(viewer()->argomentoCorrente(), QStringLiteral("/Descrizione.html"));
    }

    void unArgomentoConFrammento() {
        MostraGuidaChm(nullptr, FileGuida(), QStringLiteral("Scheda_fitness.html#zone"));
        QVERIFY(avvisi.isEmpty());
        QCOMPARE(viewer()->argomentoCorrente(), QStringLiteral("/Scheda_fitness.html"));
        QCOMPARE(viewer()->browser()->source().fragment(), QStringLiteral("zone"));
    }

    void iCollegamentiInterniEdEsterni() {
        MostraGuidaChm(nullptr, FileGuida(), QStringLiteral("Descrizione.html"));
        BrowserChm* txt = viewer()->browser();
        emit txt->anchorClicked(QUrl(QStringLiteral("scheda_atleta.html#misure")));
        QCOMPARE(viewer()->argomentoCorrente(), QStringLiteral("/scheda_atleta.html"));
        // As the browser hands them over: resolved against the page shown.
        emit txt->anchorClicked(txt->source().resolved(QUrl(QStringLiteral("Scheda_assetto.html"))));
        QCOMPARE(viewer()->argomentoCorrente(), QStringLiteral("/Scheda_assetto.html"));

        emit txt->anchorClicked(QUrl(QStringLiteral("https://www.example.org/tovarin")));
        emit txt->anchorClicked(QUrl(QStringLiteral("mailto:autore@example.org")));
        emit txt->anchorClicked(QUrl(QStringLiteral("file:///etc/passwd")));
        QCOMPARE(esterni.size(), 2);
        QCOMPARE(esterni[0], QUrl(QStringLiteral("https://www.example.org/tovarin")));
        QCOMPARE(esterni[1].scheme(), QStringLiteral("mailto"));
        QCOMPARE(viewer()->argomentoCorrente(), QStringLiteral("/Scheda_assetto.html"));

        // A link to a page that is not in the file is reported, not followed.
        emit txt->anchorClicked(QUrl(QStringLiteral("Manca.html")));
        QCOMPARE(avvisi.size(), 1);
        QVERIFY(avvisi[0].testo.contains(QStringLiteral("Manca.html")));
        QCOMPARE(viewer()->argomentoCorrente(), QStringLiteral("/Scheda_assetto.html"));
    }

    void ilSommarioApreLeVoci() {
        MostraGuidaChm(nullptr, FileGuida(), QStringLiteral("Descrizione.html"));
        auto* sommario = viewer()->findChild<QTreeWidget*>(QStringLiteral("treeSommario"));
        QTreeWidgetItem* condizione = nullptr;
        for (int i = 0; i < sommario->topLevelItemCount(); ++i) {
            if (sommario->topLevelItem(i)->text(0) == QStringLiteral("Scheda condizione"))
                condizione = sommario->topLevelItem(i);
        }
        QVERIFY(condizione);
        emit sommario->itemClicked(condizione, 0);
        QCOMPARE(viewer()->argomentoCorrente(), QStringLiteral("/Scheda_fitness.html"));
        QVERIFY(condizione->childCount() > 0);
        emit sommario->itemClicked(condizione->child(0), 0);
        QCOMPARE(viewer()->argomentoCorrente(), QStringLiteral("/Scheda_fitness.html"));
        QVERIFY(!viewer()->browser()->source().fragment().isEmpty());
    }

    void unFileMancanteVieneSegnalato() {
        MostraGuidaChm(nullptr, FileGuida(), QStringLiteral("Scheda_assetto.html"));
        frmGuida* prima = viewer();
        QTemporaryDir cartella;
        const QString mancante = cartella.filePath(QStringLiteral("Guida.chm"));
        MostraGuidaChm(nullptr, mancante, QStringLiteral("Descrizione.html"));
        QCOMPARE(avvisi.size(), 1);
        QCOMPARE(avvisi[0].titolo, QStringLiteral("Tovarin Project"));
        QVERIFY(avvisi[0].testo.contains(QDir::toNativeSeparators(mancante)));
        // The open viewer stays as it was.
        QCOMPARE(viewer(), prima);
        QCOMPARE(viewer()->argomentoCorrente(), QStringLiteral("/Scheda_assetto.html"));
    }

    void unArgomentoMancanteVieneSegnalato() {
        MostraGuidaChm(nullptr, FileGuida(), QStringLiteral("Scheda_assetto.html"));
        MostraGuidaChm(nullptr, FileGuida(), QStringLiteral("Scheda_inesistente.html"));
        QCOMPARE(avvisi.size(), 1);
        QVERIFY(avvisi[0].testo.contains(QStringLiteral("Scheda_inesistente.html")));
        QVERIFY(avvisi[0].testo.contains(QStringLiteral("Guida.chm")));
        QCOMPARE(viewer()->argomentoCorrente(), QStringLiteral("/Scheda_assetto.html"));
    }

    void unFileCorrottoVieneSegnalato() {
        QTemporaryDir cartella;
        const QString corrotto = cartella.filePath(QStringLiteral("Guida.chm"));
        QFile f(corrotto);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QByteArray casuale(4096, Qt::Uninitialized);
        QRandomGenerator generatore(99);
        for (auto& c : casuale) c = static_cast<char>(generatore.bounded(256));
        f.write(casuale);
        f.close();
        MostraGuidaChm(nullptr, corrotto, QStringLiteral("Descrizione.html"));
        QCOMPARE(avvisi.size(), 1);
        QVERIFY(avvisi[0].testo.contains(QStringLiteral("non si può leggere")));
    }

    void senzaViewerUnErroreNonApreNulla() {
        if (viewer()) {
            viewer()->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        QVERIFY(!viewer());
        QCOMPARE(ContaViewer(), 0);
        MostraGuidaChm(nullptr, FileGuida(), QStringLiteral("Nessuno.html"));
        QCOMPARE(avvisi.size(), 1);
        QVERIFY(!viewer());
        QCOMPARE(ContaViewer(), 0);
        // After closing, the next call opens a fresh viewer.
        MostraGuidaChm(nullptr, FileGuida(), QStringLiteral("Scheda_fitness.html"));
        QVERIFY(viewer());
        QCOMPARE(ContaViewer(), 1);
    }

    // In English the viewer shows the English page and contents at the same
    // topic, follows a change of language, and goes with Escape.
    void inIngleseEConEsc() {
        modLanguageSupport::LinguaCorrente = "english";
        MostraGuidaChm(nullptr, FileGuida(), ArgomentoGuida(620) + QStringLiteral("#risultati"));
        QVERIFY(avvisi.isEmpty());
        frmGuida* v = viewer();
        QCOMPARE(v->argomentoCorrente(), QStringLiteral("/Fit_sheet.html"));
        auto* sommario = v->findChild<QTreeWidget*>(QStringLiteral("treeSommario"));
        QCOMPARE(sommario->topLevelItem(0)->text(0), QStringLiteral("Program overview"));
        QCOMPARE(sommario->headerItem()->text(0), QStringLiteral("Contents"));
        QCOMPARE(sommario->currentItem()->text(0), QStringLiteral("The ten results"));

        modLanguageSupport::LinguaCorrente = "italian";
        QEvent cambio(QEvent::LanguageChange);
        QCoreApplication::sendEvent(v, &cambio);
        QCOMPARE(v->argomentoCorrente(), QStringLiteral("/Scheda_assetto.html"));
        QCOMPARE(v->browser()->source().fragment(), QStringLiteral("risultati"));
        QCOMPARE(sommario->topLevelItem(0)->text(0), QStringLiteral("Descrizione del programma"));

        v->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(v));
        QTest::keyClick(v->browser(), Qt::Key_Escape);
        QTRY_VERIFY(!viewer());
    }

    void conUnProprietarioIlViewerEUnaFinestraASe() {
        QWidget principale;
        principale.resize(800, 600);
        principale.show();
        QWidget figlio(&principale);
        MostraGuidaChm(&figlio, FileGuida(), QStringLiteral("Descrizione.html"));
        frmGuida* v = viewer();
        QVERIFY(v);
        QVERIFY(v->isWindow());
        QVERIFY(v->isVisible());
        QVERIFY(v != principale.window());
        QCOMPARE(ContaViewer(), 1);
        // The viewer goes with the window that owns it.
        QCOMPARE(v->parentWidget(), &principale);
    }
};

QTEST_MAIN(TestGuida)
#include "test_guida.moc"
