// Taking the data away from the windows and from the command line: the
// archive exported and imported again, a hostile file, backup and restore
// while the card has the archive open, and the athlete's report.
#include "ArchivioPrecedente.h"
#include "AtletaCorrente.h"
#include "Avvio.h"
#include "AvvisiArchivio.h"
#include "Calendario.h"
#include "CartellaProva.h"
#include "ContenutoAccess.h"
#include "Controlli.h"
#include "CopiaArchivio.h"
#include "DatiArchivio.h"
#include "LegameArchivio.h"
#include "Messaggio.h"
#include "RegoleCampi.h"
#include "ReportAtleta.h"
#include "StampaFinestra.h"
#include "SupportoArchivio.h"
#include "frmAtleti.h"
#include "frmScheda.h"
#include "mdi.h"
#include "modLanguageSupport.h"

#include <QLocale>
#include <QMenu>
#include <QPointer>
#include <QPrinter>
#include <QProcess>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <csignal>
#include <functional>
#include <memory>
#include <sys/resource.h>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

namespace {

using prova::RigaDi;
namespace fs = std::filesystem;

QString Q(const fs::path& p) { return QString::fromStdString(p.string()); }

// Athletes whose every text tests the file's rules.
std::vector<archivio::Riga> Atleti() {
    return {RigaDi("Rossi \"il Toro\"; Mario", {{"datanascita", "1990-12-20"},
                                                {"sesso", "M"},
                                                {"TipoImpiego", "leggera"},
                                                {"AttivFis", "1"},
                                                {"tel", "0422 123456"},
                                                {"cavallo", "78"},
                                                {"busto", "58"},
                                                {"coscia", "52"},
                                                {"gamba", "50"},
                                                {"braccio", "57"},
                                                {"spalle", "40"},
                                                {"sella", "28.5"},
                                                {"peso", "70.5"},
                                                {"altezza", "175"},
                                                {"myHS", "70.5"},
                                                {"note", "riga uno\nriga \"due\", fine;"}}),
            RigaDi("Bianchi", {{"Tessera", "007"}, {"myHS", "7,5 circa"}}),
            RigaDi("Verdi", {{"Scadenza", "2005-02-01"}})};  // dates as the program stores them
}

// The text of a PDF file, by pdftotext.
QString TestoPdf(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    p.waitForFinished(20000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The message boxes that open from now on, answered in turn as a coach
// does: Tab to the button, then Space. What each said is kept.
struct Risponditore {
    QTimer timer;
    std::vector<QMessageBox::StandardButton> risposte;
    QStringList testi;
    QPointer<QMessageBox> ultima;
};
void RispondiConITasti(Risponditore& r) {
    ImpostaGestoreMessaggi({});
    QObject::connect(&r.timer, &QTimer::timeout, [&r] {
        auto* scatola = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        // Keys go to the box once it has the focus, as they would for a coach.
        QWidget* fuoco = QApplication::focusWidget();
        if (!scatola || scatola == r.ultima || !fuoco || fuoco->window() != scatola ||
            r.testi.size() >= static_cast<qsizetype>(r.risposte.size()))
            return;
        r.ultima = scatola;
        QAbstractButton* pulsante = scatola->button(r.risposte[static_cast<std::size_t>(r.testi.size())]);
        r.testi << scatola->text();
        for (int i = 0; i < 6 && pulsante && QApplication::focusWidget() != pulsante; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    });
    r.timer.start(20);
}

}  // namespace

class TestDati : public QObject {
    Q_OBJECT

    std::unique_ptr<CartellaProva> cartella;
    std::unique_ptr<mdi> principale;
    QStringList avvisi;
    QMessageBox::StandardButton risposta = QMessageBox::Yes;
    QString fileScelto;

    fs::path File() const { return cartella->file("tvp.dmg"); }

    frmAtleti* ApriScheda() {
        QTest::mouseClick(Controllo<QPushButton>(principale, "cmdAtleta"), Qt::LeftButton);
        return qobject_cast<frmAtleti*>(principale->FiglioAttivo());
    }

private slots:
    void init() {
        cartella = std::make_unique<CartellaProva>();
        avvisi.clear();
        risposta = QMessageBox::Yes;
        modLanguageSupport::LinguaCorrente = "italian";
        PercorsoArchivio = Q(File());
        NomeAtletaCorrente.clear();
        RigaAtletaCorrente.reset();
        AtletaCorrenteVuoto = false;
        Calendario::ImpostaServizi({[] {
                                        return Calendario::Data{2026, 12, 9};
                                    },
                                    [](std::string_view t) {
                                        return LeggiDataRegionale(QLocale(QStringLiteral("it_IT")),
                                                                  QString::fromStdString(std::string(t)));
                                    }});
        ImpostaGestoreMessaggi([this](QWidget*, const QString&, const QString& testo, QMessageBox::StandardButtons p) {
            avvisi << testo;
            return p.testFlag(QMessageBox::Yes) ? risposta : QMessageBox::Ok;
        });
        ImpostaServiziFileDati({[this](QWidget*, const QString&, const QString&, const QString&) { return fileScelto; },
                                [this](QWidget*, const QString&, const QString&) { return fileScelto; }});
        principale = std::make_unique<mdi>();
        principale->ImpostaFinestre([](QWidget* g) { return new frmAtleti(g); },
                                    [](QWidget* g) { return new frmScheda(g); }, nullptr, nullptr);
        principale->show();
    }
    void cleanup() {
        principale.reset();
        ImpostaGestoreMessaggi({});
        PercorsoArchivio.clear();
        cartella.reset();
    }

    // Exported from the card and imported into an empty archive, every column
    // of every athlete comes back byte for byte.
    void esportatiEImportatiTornanoUguali() {
        prova::CreaArchivio(File(), Atleti());
        frmAtleti* card = ApriScheda();
        QVERIFY(card);
        fileScelto = Q(cartella->file("atleti"));  // ".csv" is added
        EsportaArchivioCsv(card, card->Legame());
        QVERIFY2(fs::exists(cartella->file("atleti.csv")), qPrintable(avvisi.join('|')));
        principale->ChiudiFinestre();

        PercorsoArchivio = Q(cartella->file("vuoto.dmg"));
        card = ApriScheda();
        fileScelto = Q(cartella->file("atleti.csv"));
        avvisi.clear();
        ImportaArchivioCsv(card, card->Legame());
        QCOMPARE(avvisi.size(), 2);  // the question, then what was done
        QVERIFY2(avvisi[0].contains(QStringLiteral("3 atleti")), qPrintable(avvisi[0]));
        QVERIFY(prova::RigheNelFile(cartella->file("vuoto.dmg")) == Atleti());
        QCOMPARE(Controllo<NavigatoreDati>(card, "Data1")->ElencoNomi()->rowCount(), 3);

        // Imported again: nothing to add, and the preview says why.
        avvisi.clear();
        ImportaArchivioCsv(card, card->Legame());
        QCOMPARE(avvisi.size(), 1);
        QVERIFY2(avvisi[0].contains(QStringLiteral("Altri 3 sono già nell'archivio")), qPrintable(avvisi[0]));
        QCOMPARE(prova::RigheNelFile(cartella->file("vuoto.dmg")).size(), std::size_t(3));
    }

    // A hostile file is told line by line, and its one good athlete is not
    // added: a file is imported whole or not at all, with no question asked.
    void unFileOstileNonCambiaLArchivio() {
        prova::CreaArchivio(File(), {RigaDi("Rossi")});
        const std::string prima = prova::LeggiByte(File());
        const auto formato = archivio::FormatoCsv::PerDecimale('.');
        const std::string intestazione = archivio::TestoCsv({}, formato);
        std::string testo = archivio::TestoCsv({RigaDi("Bianchi")}, formato);
        testo += "Verdi,troppo,poche\r\n";
        testo += "\"" + std::string(2 << 20, 'n') + "\"\r\n";
        testo += archivio::TestoCsv({RigaDi("x'); DROP TABLE atleta;--", {{"cavallo", "72a"}})}, formato)
                     .substr(intestazione.size());
        cartella->scrivi("ostile.csv", testo);
        frmAtleti* card = ApriScheda();
        fileScelto = Q(cartella->file("ostile.csv"));
        ImportaArchivioCsv(card, card->Legame());
        QCOMPARE(avvisi.size(), 1);
        QVERIFY2(avvisi[0].contains(QStringLiteral("riga 3: 3 campi invece di 34")), qPrintable(avvisi[0]));
        QVERIFY2(avvisi[0].contains(QStringLiteral("riga 4: riga più lunga di 1 MB")), qPrintable(avvisi[0]));
        QVERIFY2(avvisi[0].contains(QStringLiteral("riga 5: la misura \"Cavallo\" non è un numero")),
                 qPrintable(avvisi[0]));
        QVERIFY(avvisi[0].contains(QStringLiteral("Nessun atleta aggiunto: un file si importa tutto o niente")));
        principale->ChiudiFinestre();
        QVERIFY(prova::LeggiByte(File()) == prima);
    }

    // A backup taken while the card has the archive open holds every athlete;
    // a damaged backup is refused; a good one replaces the archive, which the
    // card then shows, the old one kept beside it.
    void copiaERipristino() {
        prova::CreaArchivio(File(), Atleti());
        frmAtleti* card = ApriScheda();
        QTest::keyClicks(Controllo<QLineEdit>(card, "Text20"), QStringLiteral("5"));  // a pending edit goes in first
        fileScelto = Q(cartella->file("copia"));
        SalvaCopiaArchivio(card, card->Legame());
        const fs::path copia = cartella->file("copia.dmg");
        QVERIFY2(archivio::VerificaCopia(copia).ok(), qPrintable(avvisi.join('|')));
        QCOMPARE(prova::CampoDi(prova::RigheNelFile(copia).at(0), "peso"), std::string("70.55"));

        cartella->scrivi("guasta.dmg", prova::LeggiByte(copia).substr(0, 1500));
        const std::string prima = prova::LeggiByte(File());
        fileScelto = Q(cartella->file("guasta.dmg"));
        avvisi.clear();
        RipristinaCopiaArchivio(card, card->Legame());
        QCOMPARE(avvisi.size(), 1);
        QVERIFY(avvisi[0].contains(QStringLiteral("non è una copia valida")));
        QVERIFY(prova::LeggiByte(File()) == prima);

        QVERIFY(card->Legame()->MuoviSuccessivo());
        QTest::keyClicks(Controllo<QLineEdit>(card, "txtNome"), QStringLiteral(" dopo"));
        QVERIFY(card->Legame()->MuoviPrimo());
        fileScelto = Q(copia);
        avvisi.clear();
        RipristinaCopiaArchivio(card, card->Legame());
        QCOMPARE(avvisi.size(), 2);
        QCOMPARE(Controllo<NavigatoreDati>(card, "Data1")->ElencoNomi()->stringList().at(1), QStringLiteral("Bianchi"));
        QCOMPARE(Controllo<QLineEdit>(card, "Text20")->text(), QStringLiteral("70.55"));
        std::vector<std::string> conservati;
        for (const auto& nome : prova::Contenuto(cartella->percorso()))
            if (nome.rfind("tvp 2", 0) == 0) conservati.push_back(nome);
        QCOMPARE(conservati.size(), std::size_t(1));
        QCOMPARE(prova::RigheNelFile(cartella->file(conservati[0])).at(1)[archivio::ColonnaNome],
                 std::string("Bianchi dopo"));
    }

    // Every message that names a file and a count keeps the name as it is,
    // "%1" and "%2" in it included, and the count where it belongs, in both
    // languages, for one athlete and for more; no placeholder is left
    // without its argument (Qt would say so on the standard error).
    void iMessaggiTengonoIlNomeDelFile() {
        static QStringList avvisiQt;
        avvisiQt.clear();
        const QtMessageHandler precedente =
            qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& m) { avvisiQt << m; });
        const QString file = QStringLiteral("/tmp/a%1b%2.dmg");
        for (const char* lingua : {"italian", "english"}) {
            modLanguageSupport::LinguaCorrente = lingua;
            for (std::size_t n : {std::size_t(1), std::size_t(14)}) {
                archivio::RiepilogoImportazione fatto, nulla, rifiutato;
                fatto.scritto = true;
                fatto.aggiunti = fatto.giaPresenti = nulla.giaPresenti = n;
                rifiutato.rifiutate = n;
                const QString numero = QString::number(n);
                for (const QString& testo : {DescriviCopia(static_cast<std::int64_t>(n), file),
                                             DescriviEsportazione(n, file), DescriviImportazione(fatto, file)})
                    QVERIFY2(testo.contains(file) && testo.contains(numero) && !testo.contains(QStringLiteral("%3")),
                             qPrintable(testo));
                const QString giaTutti = DescriviImportazione(nulla, file);
                QVERIFY2(n == 1 || giaTutti.contains(numero), qPrintable(giaTutti));
                QVERIFY(!DescriviImportazione(rifiutato, file).isEmpty());
                QVERIFY(DescriviAltreRifiutate(n).contains(numero));
                archivio::LineaRifiutata riga{7, archivio::Rifiuto::Misura, "cavallo"};
                QVERIFY(DescriviRifiuto(riga).contains(QStringLiteral("7")));
            }
        }
        qInstallMessageHandler(precedente);
        QVERIFY2(avvisiQt.isEmpty(), qPrintable(avvisiQt.join('\n')));

        // The import's question, from the card.
        modLanguageSupport::LinguaCorrente = "italian";
        prova::CreaArchivio(File(), {RigaDi("Rossi")});
        cartella->scrivi("x%1y%2.csv", archivio::TestoCsv({RigaDi("Bianchi"), RigaDi("Verdi")},
                                                          archivio::FormatoCsv::PerDecimale('.')));
        frmAtleti* card = ApriScheda();
        fileScelto = Q(cartella->file("x%1y%2.csv"));
        risposta = QMessageBox::No;
        ImportaArchivioCsv(card, card->Legame());
        QCOMPARE(avvisi.size(), 1);
        QVERIFY2(avvisi[0].contains(fileScelto + QStringLiteral("\" contiene 2 atleti")), qPrintable(avvisi[0]));
    }

    // A table that is not the program's is named in the reason, as the coach
    // knows it: the athletes', the recorded fittings' or the tests' table,
    // with the column or the index at fault.
    void ilMotivoNominaLaTabella() {
        using archivio::Motivo;
        struct Caso {
            Motivo motivo;
            const char* dettaglio;
            QString italiano, inglese;
        };
        const Caso casi[] = {
            {Motivo::IndiceEstraneo, "atleta_assetti.doppio",
             QStringLiteral("la tabella degli assetti registrati non è quella che crea Tovarin Project: ha un indice "
                            "(\"doppio\")"),
             QStringLiteral("the table of recorded fittings is not the one Tovarin Project makes: it has an index "
                            "(\"doppio\")")},
            {Motivo::IndiceEstraneo, "atleta_test.calcolo", QStringLiteral("la tabella dei test non è"),
             QStringLiteral("the table of tests is not")},
            {Motivo::ColonnaMancante, "atleta_test.ftp",
             QStringLiteral("tabella dei test non è quella che crea "
                            "Tovarin Project: manca la colonna \"ftp\""),
             QStringLiteral("table of tests is not the one Tovarin Project makes: it lacks the column \"ftp\"")},
            {Motivo::TabellaEstranea, "atleta_assetti.cavallo", QStringLiteral("la sua colonna \"cavallo\" è diversa"),
             QStringLiteral("its column \"cavallo\" differs")},
            {Motivo::ColonnaMancante, "TipoImpiego",
             QStringLiteral("nella tabella degli atleti manca la colonna \"TipoImpiego\""),
             QStringLiteral("the table of athletes lacks the column \"TipoImpiego\"")},
            {Motivo::TabellaEstranea, "definition", QStringLiteral("la tabella degli atleti non è quella"),
             QStringLiteral("the table of athletes is not the one")},
        };
        for (const Caso& c : casi)
            for (const char* lingua : {"italian", "english"}) {
                modLanguageSupport::LinguaCorrente = lingua;
                const QString testo = DescriviMotivo(archivio::Errore{.motivo = c.motivo, .dettaglio = c.dettaglio});
                const QString atteso = lingua == std::string_view("italian") ? c.italiano : c.inglese;
                QVERIFY2(testo.contains(atteso), qPrintable(testo));
            }
    }

    // A full disk is said to be one, and only that, from the window as from
    // the command line: an import that could not write its athletes does not
    // say there were none to add, a backup is no "unexpected error". The
    // archive is left as it was, and nothing beside it.
    void unDiscoPienoSiChiamaCosi() {
        // An archive larger than the second limit, so that its backup
        // meets it too.
        std::vector<archivio::Riga> gia, molti;
        for (int i = 0; i < 100; ++i)
            gia.push_back(RigaDi("Già " + std::to_string(i), {{"note", std::string(300, 'g')}}));
        prova::CreaArchivio(File(), gia);
        for (int i = 0; i < 300; ++i)
            molti.push_back(RigaDi("Atleta " + std::to_string(i), {{"note", std::string(200, 'n')}}));
        cartella->scrivi("nuovi.csv", archivio::TestoCsv(molti, archivio::FormatoCsv::PerDecimale('.')));
        const auto contenuto = prova::Contenuto(cartella->percorso());
        frmAtleti* card = ApriScheda();
        // No file of this process may grow past the limit, as on a full disk.
        auto conLimite = [](rlim_t limite, const std::function<void()>& lavoro) {
            rlimit vecchio{};
            ::getrlimit(RLIMIT_FSIZE, &vecchio);
            auto segnale = std::signal(SIGXFSZ, SIG_IGN);
            rlimit r = vecchio;
            r.rlim_cur = limite;
            ::setrlimit(RLIMIT_FSIZE, &r);
            lavoro();
            ::setrlimit(RLIMIT_FSIZE, &vecchio);
            std::signal(SIGXFSZ, segnale);
        };
        for (rlim_t limite : {rlim_t(0), rlim_t(20000)}) {
            avvisi.clear();
            fileScelto = Q(cartella->file("nuovi.csv"));
            conLimite(limite, [&] { ImportaArchivioCsv(card, card->Legame()); });
            // The question, then why not (after what else the full disk stopped).
            QVERIFY2(avvisi.size() >= 2, qPrintable(avvisi.join('|')));
            QVERIFY2(avvisi.last().contains(QStringLiteral("atleti del file")) &&
                         avvisi.last().contains(QStringLiteral("il disco è pieno")),
                     qPrintable(avvisi.last()));
            QVERIFY2(!avvisi.join('|').contains(QStringLiteral("Nessun atleta da aggiungere")),
                     qPrintable(avvisi.join('|')));
            avvisi.clear();
            fileScelto = Q(cartella->file("copia.dmg"));
            conLimite(limite, [&] { SalvaCopiaArchivio(card, card->Legame()); });
            QCOMPARE(avvisi.size(), 1);
            QVERIFY2(avvisi[0].contains(QStringLiteral("il disco è pieno")), qPrintable(avvisi[0]));
            QVERIFY2(!avvisi[0].contains(QStringLiteral("errore imprevisto")), qPrintable(avvisi[0]));
        }
        principale->ChiudiFinestre();
        // What a write cut short left in its journal is undone when the
        // archive is next read: every athlete as before, none added.
        QVERIFY(prova::RigheNelFile(File()) == gia);
        QVERIFY(prova::Contenuto(cartella->percorso()) == contenuto);

        PreparaProgramma();
        for (rlim_t limite : {rlim_t(1), rlim_t(20000)}) {
            QString uscita;
            QCOMPARE(Esegui({"--import-csv", "nuovi.csv"}, &uscita, limite), 1);
            QVERIFY2(uscita.contains(QStringLiteral("the disk is full")), qPrintable(uscita));
            QVERIFY2(!uscita.contains(QStringLiteral("No athlete to add")), qPrintable(uscita));
            QCOMPARE(Esegui({"--backup", "copia.dmg"}, &uscita, limite), 1);
            QVERIFY2(uscita.contains(QStringLiteral("the disk is full")), qPrintable(uscita));
        }
        QVERIFY(prova::RigheNelFile(File()) == gia);
        QVERIFY(!fs::exists(cartella->file("copia.dmg")));
    }

    // A named pipe chosen as the backup to restore is refused at once, as the
    // import refuses one, and the window goes on.
    void unaPipeNonSiRipristina() {
        prova::CreaArchivio(File(), {RigaDi("Rossi")});
        const std::string prima = prova::LeggiByte(File());
        QCOMPARE(::mkfifo(cartella->file("tubo.dmg").c_str(), 0600), 0);
        frmAtleti* card = ApriScheda();
        fileScelto = Q(cartella->file("tubo.dmg"));
        RipristinaCopiaArchivio(card, card->Legame());
        QCOMPARE(avvisi.size(), 1);
        QVERIFY2(avvisi[0].contains(QStringLiteral("una pipe")), qPrintable(avvisi[0]));
        principale->ChiudiFinestre();
        QVERIFY(prova::LeggiByte(File()) == prima);
    }

    // The fit sheet's report, saved as PDF without a printer: its text holds
    // the athlete's name and the ten results, in the language chosen.
    void reportDellAtleta_data() {
        QTest::addColumn<QString>("lingua");
        QTest::addColumn<QString>("titolo");
        QTest::newRow("italian") << "italian"
                                 << "Scheda dell'atleta";
        QTest::newRow("english") << "english"
                                 << "Athlete report";
    }
    void reportDellAtleta() {
        QFETCH(QString, lingua);
        QFETCH(QString, titolo);
        modLanguageSupport::LinguaCorrente = lingua.toStdString();
        prova::CreaArchivio(File(), Atleti());
        const QString pdf = Q(cartella->file("rossi.pdf"));
        ImpostaServiziStampa({[] { return std::unique_ptr<QPrinter>(); }, [pdf](QWidget*) { return pdf; }});
        QTest::mouseClick(Controllo<QPushButton>(principale, "cmdAssetto"), Qt::LeftButton);
        auto* scheda = qobject_cast<frmScheda*>(principale->FiglioAttivo());
        QVERIFY(scheda);
        QTest::mouseClick(Controllo<QToolButton>(scheda, "cmdReport"), Qt::LeftButton);
        QCOMPARE(avvisi.size(), 1);  // no printer: save as PDF?
        const QString testo = TestoPdf(pdf).simplified();
        QVERIFY2(testo.contains(titolo), qPrintable(testo));
        QVERIFY(testo.contains(QStringLiteral("Rossi \"il Toro\"; Mario")));
        for (const char* risultato :
             {"50.7", "50 - 50.7", "170", "74.4", "40", "9.8 - 10.8", "69", "48 - 50.3", "5.3 - 5.9", "4 - 4.5"})
            QVERIFY2(testo.contains(QLatin1String(risultato)), risultato);
    }

    // Every value of the report whole: the default saddle length with its
    // note, a name longer than the line, the headers in the chosen language,
    // "n.d." without a unit; no word over another or past the margin.
    void reportConOgniValoreIntero() {
        const QString nome = QStringLiteral("Bartolomeo Massimiliano Della Valle Sant'Ambrogio di Castelfranco");
        const QString pdf = Q(cartella->file("lungo.pdf"));
        QVERIFY(ScriviReportPdf(RigaDi(nome.toStdString()), pdf));
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
        QVERIFY(p.waitForFinished(20000));
        struct Parola {
            double x0, y0, x1, y1;
            QString testo;
        };
        QList<Parola> parole;
        static const QRegularExpression voce(QStringLiteral(
            "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">([^<]*)</word>"));
        for (auto m = voce.globalMatch(QString::fromUtf8(p.readAllStandardOutput())); m.hasNext();) {
            const auto v = m.next();
            parole.append({v.captured(1).toDouble(), v.captured(2).toDouble(), v.captured(3).toDouble(),
                           v.captured(4).toDouble(), v.captured(5)});
        }
        QStringList testi;
        for (const Parola& w : parole) testi << w.testo;
        // As written: without the font's ligatures and the markup's entities.
        const QString tutto = testi.join(' ')
                                  .replace(QChar(0xFB01), QStringLiteral("fi"))
                                  .replace(QChar(0xFB00), QStringLiteral("ff"))
                                  .replace(QStringLiteral("&apos;"), QStringLiteral("'"));
        QVERIFY2(tutto.contains(QStringLiteral("27.5 (predefinita)")), qPrintable(tutto));
        QVERIFY2(tutto.contains(nome), qPrintable(tutto));
        QVERIFY(tutto.contains(QStringLiteral("Attuale")));
        QVERIFY(!tutto.contains(QStringLiteral("n.d.°")));
        const double margine = 195 / 25.4 * 72 + 0.5;  // the right margin, in points
        for (int i = 0; i < parole.size(); ++i) {
            QVERIFY2(parole[i].x1 <= margine, qPrintable(parole[i].testo));
            for (int j = i + 1; j < parole.size(); ++j) {
                const Parola &a = parole[i], &b = parole[j];
                const bool stessaRiga = std::min(a.y1, b.y1) - std::max(a.y0, b.y0) > 1;
                const bool sovrapposte = std::min(a.x1, b.x1) - std::max(a.x0, b.x0) > 0.5;
                QVERIFY2(!(stessaRiga && sovrapposte), qPrintable(a.testo + QStringLiteral(" / ") + b.testo));
            }
        }
    }

    // The card's data menu opens from the keyboard as from a click, its
    // right edge under the button's, so that it stays within the window and
    // the screen.
    void ilMenuDeiDatiRestaNelloSchermo() {
        prova::CreaArchivio(File(), {RigaDi("Rossi")});
        frmAtleti* card = ApriScheda();
        auto* pulsante = Controllo<QToolButton>(card, "cmdDati");
        principale->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(principale.get()));
        pulsante->setFocus(Qt::TabFocusReason);
        QTest::keyClick(pulsante, Qt::Key_Space);
        auto* menu = card->findChild<QMenu*>(QStringLiteral("menuDati"));
        QVERIFY(menu);
        QTRY_VERIFY(menu->isVisible());
        QCOMPARE(menu->actions().size(), 11);  // eight actions and three separators
        menu->close();
        const QRect schermo(0, 0, 1280, 800);
        struct Caso {
            QRect pulsante;
            QPoint atteso;
        };
        const QSize dimensione(380, 150);
        for (const Caso& c : {Caso{QRect(1100, 200, 22, 22), QPoint(1122 - 380, 222)},        // under it, right-aligned
                              Caso{QRect(1100, 700, 22, 22), QPoint(1122 - 380, 700 - 150)},  // near the bottom: above
                              Caso{QRect(100, 200, 22, 22), QPoint(0, 222)}})  // near the left: on the screen
            QCOMPARE(PosizioneMenu(c.pulsante, dimensione, schermo), c.atteso);
    }

    // The earlier program's "tvp.dmg" at start: the program says what it
    // holds and offers to convert it. Declined, nothing changes; accepted,
    // every athlete comes along exactly as stored, the old file kept beside
    // the new archive byte for byte, and the card shows them.
    void archivioPrecedenteAllAvvio() {
        principale.reset();
        const std::string vecchio = prova::LeggiByte(prova::CartellaAccess() / "archivio-piccolo-pwd.dmg");
        prova::ScriviByte(File(), vecchio);
        const auto prima = prova::Contenuto(cartella->percorso());
        {
            Risponditore r;
            r.risposte = {QMessageBox::No};
            RispondiConITasti(r);
            principale = AvviaProgramma();
            QCOMPARE(r.testi.size(), 1);
            QVERIFY2(r.testi[0].contains(QStringLiteral("con 12 atleti: Nicolò Bà, Zoë D'Angelo, ")) &&
                         r.testi[0].contains(QStringLiteral(" e altri 7.")) &&
                         r.testi[0].contains(QStringLiteral("tvp.dmg.access-")),
                     qPrintable(r.testi[0]));
            principale.reset();
        }
        QVERIFY(prova::LeggiByte(File()) == vecchio);
        QCOMPARE(prova::Contenuto(cartella->percorso()), prima);
        {
            Risponditore r;
            r.risposte = {QMessageBox::Yes, QMessageBox::Ok};
            RispondiConITasti(r);
            principale = AvviaProgramma();
            QCOMPARE(r.testi.size(), 2);
            QVERIFY2(r.testi[1].contains(QStringLiteral("12 atleti del programma precedente")), qPrintable(r.testi[1]));
        }
        const std::string conservato = "tvp.dmg.access-" + QDate::currentDate().toString(Qt::ISODate).toStdString();
        QVERIFY(prova::LeggiByte(cartella->file(conservato)) == vecchio);
        const auto differenze =
            prova::Differenze(prova::RigheNelFile(File()), prova::RigheAttese("archivio-piccolo.csv"));
        QVERIFY2(differenze.empty(), differenze.empty() ? "" : differenze.front().c_str());
        ImpostaGestoreMessaggi([this](QWidget*, const QString&, const QString& testo, QMessageBox::StandardButtons) {
            avvisi << testo;
            return QMessageBox::Ok;
        });
        frmAtleti* card = ApriScheda();
        QVERIFY(card);
        QCOMPARE(Controllo<NavigatoreDati>(card, "Data1")->ElencoNomi()->rowCount(), 12);
        QVERIFY(avvisi.isEmpty());
    }

    // The card's menu, from the keyboard: the old file chosen, its athletes
    // previewed, then added after those already there, exactly as stored;
    // the old file only read.
    void archivioPrecedenteDalMenu() {
        prova::CreaArchivio(File(), {RigaDi("Rossi")});
        const fs::path vecchio = cartella->file("vecchio.mdb");
        fs::copy_file(prova::CartellaAccess() / "archivio-piccolo.dmg", vecchio);
        const std::string byte = prova::LeggiByte(vecchio);
        frmAtleti* card = ApriScheda();
        principale->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(principale.get()));
        Controllo<QToolButton>(card, "cmdDati")->setFocus(Qt::TabFocusReason);
        fileScelto = Q(vecchio);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        auto* menu = card->findChild<QMenu*>(QStringLiteral("menuDati"));
        QVERIFY(menu);
        QTRY_VERIFY(menu->isVisible());
        for (int i = 0; i < 10 && (!menu->activeAction() || menu->activeAction()->text() != Messaggio("0600")); ++i)
            QTest::keyClick(menu, Qt::Key_Down);
        QVERIFY(menu->activeAction());
        QCOMPARE(menu->activeAction()->text(), Messaggio("0600"));
        QTest::keyClick(menu, Qt::Key_Return);
        QTRY_COMPARE(avvisi.size(), 2);  // the preview's question, then what was done
        QVERIFY2(avvisi[0].contains(QStringLiteral("con 12 atleti: Nicolò Bà, Zoë D'Angelo")), qPrintable(avvisi[0]));
        QVERIFY2(avvisi[1].contains(QStringLiteral("12 atleti aggiunti all'archivio")), qPrintable(avvisi[1]));
        auto righe = prova::RigheNelFile(File());
        QVERIFY(!righe.empty());
        QCOMPARE(righe.front()[archivio::ColonnaNome], std::string("Rossi"));
        righe.erase(righe.begin());
        const auto differenze = prova::Differenze(righe, prova::RigheAttese("archivio-piccolo.csv"));
        QVERIFY2(differenze.empty(), differenze.empty() ? "" : differenze.front().c_str());
        QCOMPARE(Controllo<NavigatoreDati>(card, "Data1")->ElencoNomi()->rowCount(), 13);
        QVERIFY(prova::LeggiByte(vecchio) == byte);

        // Imported again: every athlete is there already, and nothing is asked.
        avvisi.clear();
        ImportaArchivioPrecedenteDa(card, card->Legame(), Q(vecchio));
        QCOMPARE(avvisi.size(), 1);
        QVERIFY2(avvisi[0].contains(QStringLiteral("tutti gli atleti del file (12) sono già nell'archivio")),
                 qPrintable(avvisi[0]));
        QCOMPARE(prova::RigheNelFile(File()).size(), std::size_t(13));

        // Given to the restore, it is recognised and offered for import;
        // declined, nothing changes.
        risposta = QMessageBox::No;
        avvisi.clear();
        RipristinaCopiaArchivio(card, card->Legame());
        QCOMPARE(avvisi.size(), 1);
        QVERIFY2(avvisi[0].contains(QStringLiteral("non una copia di sicurezza")), qPrintable(avvisi[0]));
        QCOMPARE(prova::RigheNelFile(File()).size(), std::size_t(13));
    }

    // --import-access: both small files, with and without the password, come
    // out exactly as stored; every bad or foreign file is refused with its
    // reason, and nothing is added.
    void archivioPrecedenteDaRigaDiComando() {
        PreparaProgramma();
        for (const char* nome : {"archivio-piccolo.dmg", "archivio-piccolo-pwd.dmg"}) {
            fs::remove(File());
            fs::copy_file(prova::CartellaAccess() / nome, cartella->file("vecchio.dmg"),
                          fs::copy_options::overwrite_existing);
            const std::string byte = cartella->leggi("vecchio.dmg");
            QString uscita;
            QCOMPARE(Esegui({"--import-access", "vecchio.dmg"}, &uscita), 0);
            QVERIFY2(uscita.contains(QStringLiteral("12 athletes added to the archive from the earlier program")),
                     qPrintable(uscita));
            const auto differenze =
                prova::Differenze(prova::RigheNelFile(File()), prova::RigheAttese("archivio-piccolo.csv"));
            QVERIFY2(differenze.empty(), differenze.empty() ? "" : differenze.front().c_str());
            QVERIFY(cartella->leggi("vecchio.dmg") == byte);
        }
        {
            QString uscita;
            QCOMPARE(Esegui({"--import-access", "vecchio.dmg"}, &uscita), 0);
            QVERIFY2(uscita.contains(QStringLiteral("all the athletes of the file (12) are already in the archive")),
                     qPrintable(uscita));
            QCOMPARE(prova::RigheNelFile(File()).size(), std::size_t(12));
        }
        // The old file where the archive is, or given for a CSV file: the
        // command says what it is and what to do with it.
        fs::copy_file(File(), cartella->file("nuovo.dmg"));
        fs::copy_file(prova::CartellaAccess() / "archivio-piccolo.dmg", File(), fs::copy_options::overwrite_existing);
        QString uscita;
        QCOMPARE(Esegui({"--backup", "copia.dmg"}, &uscita), 1);
        QVERIFY2(uscita.contains(QStringLiteral("is the archive of the earlier program: starting the program offers "
                                                "to convert it")),
                 qPrintable(uscita));
        fs::rename(cartella->file("nuovo.dmg"), File());
        QCOMPARE(Esegui({"--import-csv", "vecchio.dmg"}, &uscita), 1);
        QVERIFY2(uscita.contains(QStringLiteral("its athletes are added with tovarin --import-access")),
                 qPrintable(uscita));

        using archivio::RifiutoAccess;
        const auto casi = prova::FileAccessRifiutati();
        QVERIFY(!casi.empty());
        for (const prova::FileRifiutato& c : casi) {
            cartella->scrivi("guasto.dmg", c.byte);
            QString uscita;
            QCOMPARE(Esegui({"--import-access", "guasto.dmg"}, &uscita), 1);
            const char* detto = "";
            switch (c.rifiuto) {
            case RifiutoAccess::NonAccess: detto = "it is not a Microsoft Access database"; break;
            case RifiutoAccess::Jet3: detto = "it is an Access 97 (Jet 3) database"; break;
            case RifiutoAccess::Accdb: detto = "it is an Access 2007 or later (ACCDB) database"; break;
            case RifiutoAccess::SenzaTabella: detto = "it does not hold the table \"atleta\""; break;
            case RifiutoAccess::ColonnaMancante: detto = "the table \"atleta\" lacks the column \"cavallo\""; break;
            case RifiutoAccess::TipoColonna: detto = "of the table \"atleta\" is not of the type"; break;
            case RifiutoAccess::Troncato: detto = "the file is incomplete"; break;
            case RifiutoAccess::Danneggiato: detto = "the file is damaged"; break;
            default: QFAIL(c.cosa);
            }
            QVERIFY2(uscita.contains(QStringLiteral("cannot be read as an archive of the earlier program")) &&
                         (c.qualunqueRifiuto || uscita.contains(QString::fromUtf8(detto))),
                     qPrintable(QString::fromUtf8(c.cosa) + ": " + uscita));
            QVERIFY(cartella->leggi("guasto.dmg") == c.byte);
        }
        QCOMPARE(prova::RigheNelFile(File()).size(), std::size_t(12));
    }

    // The program copied into the test's folder, which is then its own, with
    // English as its language.
    void PreparaProgramma() {
        const fs::path programma = fs::path(TOVARIN_APP_DIR) / "tovarin";
        for (const char* f : {"italian.lng", "english.lng"}) fs::remove(cartella->file(f));
        fs::copy_file(programma, cartella->file("tovarin"));
        for (const char* f : {"italian.lng", "english.lng"})
            fs::copy_file(fs::path(TOVARIN_APP_DIR) / f, cartella->file(f));
        cartella->scrivi("LangSetting.ini", "[Language]\nCurrentLanguage=english\n");
    }
    // That program run from the command line; what it printed in `uscita`.
    // With a limit, no file it writes may grow past that many bytes, as on a
    // full disk.
    int Esegui(const QStringList& argomenti, QString* uscita = nullptr, rlim_t limite = 0, QString* errori = nullptr) {
        QProcess p;
        p.setWorkingDirectory(Q(cartella->percorso()));
        p.setProcessEnvironment([] {
            auto e = QProcessEnvironment::systemEnvironment();
            e.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
            e.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));  // dates as day, month, year
            return e;
        }());
        // No terminal: nothing is ever asked there, as in a script.
        p.setChildProcessModifier([limite] {
            ::setsid();
            if (!limite) return;
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit r{limite, limite};
            ::setrlimit(RLIMIT_FSIZE, &r);
        });
        p.start(Q(cartella->file("tovarin")), argomenti);
        if (!p.waitForFinished(60000)) {
            p.kill();
            p.waitForFinished();
            return -1;  // a window, or hanging
        }
        const QByteArray fuori = p.readAllStandardOutput(), err = p.readAllStandardError();
        if (uscita) *uscita = QString::fromUtf8(errori ? fuori : fuori + err);
        if (errori) *errori = QString::fromUtf8(err);
        return p.exitCode();
    }

    // The same work from the command line, on the program's archive: one line
    // saying what was done, a non-zero exit on any failure.
    void rigaDiComando() {
        PreparaProgramma();
        cartella->scrivi("atleti.csv", archivio::TestoCsv(Atleti(), archivio::FormatoCsv::PerDecimale('.')));
        auto esegui = [this](const QStringList& argomenti, QString* uscita = nullptr) {
            return Esegui(argomenti, uscita);
        };
        QString uscita;
        QCOMPARE(esegui({"--backup", "copia.dmg"}, &uscita), 1);  // no archive yet
        QCOMPARE(esegui({"--report", "Bianchi", "bianchi.pdf"}, &uscita), 1);
        QCOMPARE(esegui({"--fit", "Bianchi", "--stack", "530", "--reach", "380", "--head-angle", "72.5"}, &uscita), 1);
        QCOMPARE(esegui({"--zones", "Bianchi"}, &uscita), 1);
        QCOMPARE(esegui({"--import-csv", "atleti.csv"}, &uscita), 0);
        QVERIFY2(uscita.contains(QStringLiteral("3 athletes added")), qPrintable(uscita));
        QCOMPARE(esegui({"--import-csv", "atleti.csv"}, &uscita), 0);
        QVERIFY2(uscita.contains(QStringLiteral("(3) are already in the archive")), qPrintable(uscita));
        QCOMPARE(esegui({"--export-csv", "di-nuovo.csv"}, &uscita), 0);
        QCOMPARE(cartella->leggi("di-nuovo.csv"), cartella->leggi("atleti.csv"));
        QCOMPARE(esegui({"--backup", "copia.dmg"}), 0);
        QVERIFY(prova::RigheNelFile(cartella->file("copia.dmg")) == Atleti());
        QCOMPARE(esegui({"--report", "Bianchi", "bianchi.pdf"}), 0);
        QVERIFY(TestoPdf(Q(cartella->file("bianchi.pdf"))).contains(QStringLiteral("Bianchi")));
        QCOMPARE(esegui({"--report", "Nessuno", "x.pdf"}, &uscita), 1);
        QVERIFY(uscita.contains(QStringLiteral("No athlete named \"Nessuno\"")));
        cartella->scrivi("ostile.csv", "nome;cognome\nRossi;Mario\n");
        QCOMPARE(esegui({"--import-csv", "ostile.csv"}), 1);
        QCOMPARE(esegui({"--import-csv"}), 2);
        // The usage when asked for, on the standard output; a stray name or an
        // unknown option is no window, but the usage on the standard error.
        QString errori;
        QCOMPARE(Esegui({"--help"}, &uscita, 0, &errori), 0);
        QVERIFY2(uscita.startsWith(QStringLiteral("usage: tovarin")) && !errori.contains(QStringLiteral("usage")),
                 qPrintable(uscita));
        for (const QStringList& sbagliati : {QStringList{"atleti.csv"}, QStringList{"--esporta", "x.csv"}}) {
            QCOMPARE(Esegui(sbagliati, &uscita, 0, &errori), 2);
            QVERIFY2(uscita.isEmpty() && errori.contains(QStringLiteral("usage: tovarin")), qPrintable(errori));
        }
        // Without its language file, cut short, or gone, the program says so
        // once, and a refusal is still one, in the program's own words.
        const std::string inglese = cartella->leggi("english.lng");
        for (const std::string& guasto : {inglese.substr(0, 3000), std::string()}) {
            if (guasto.empty())
                fs::remove(cartella->file("english.lng"));
            else
                cartella->scrivi("english.lng", guasto);
            QCOMPARE(Esegui({"--import-csv", "ostile.csv"}, &uscita), 1);
            QVERIFY2(uscita.contains(QStringLiteral("does not name the 34 columns")), qPrintable(uscita));
            QVERIFY2(uscita.contains(guasto.empty() ? QStringLiteral("is missing or cannot be read")
                                                    : QStringLiteral("texts, or holds them damaged")),
                     qPrintable(uscita));
        }
        QCOMPARE(prova::RigheNelFile(File()).size(), std::size_t(3));
    }

    // --fit: the athlete's fit coordinates, where a cockpit puts the bars and
    // the closest one, a fact a line; a bad command line is no frame.
    void assettoDaRigaDiComando() {
        PreparaProgramma();
        prova::CreaArchivio(File(), Atleti());
        const QString rossi = QString::fromStdString(Atleti().front()[archivio::ColonnaNome]);
        const QStringList telaio{"--stack", "530", "--reach", "380", "--head-angle", "72.5"};
        const QStringList attacco{"--spacers", "20", "--stem", "100", "--stem-angle", "-6"};
        struct Caso {
            QStringList argomenti;
            int uscita;
            QStringList detto, taciuto;
        };
        const Caso casi[] = {
            {QStringList{"--fit", rossi} + telaio + attacco,
             0,
             {"Saddle (Fit): -18.6, 66.5 cm", "Handlebar (Fit): 44.6, 60.9 cm", "Saddle (Set-up): -19.0, 67.9 cm",
              "sit at 463.0, 597.6 mm: 17.2 mm ahead of and 11.0 mm below",
              "a 90 mm stem at +17° with 0 mm of spacers (bars at 445.2, 609.6 mm, 1.2 mm off"},
             {"Handlebar (Set-up)"}},
            {QStringList{"--fit", rossi} + telaio, 0, {"The closest cockpit"}, {"sit at"}},
            {QStringList{"--fit", rossi, "--stack", "5x0", "--reach", "380", "--head-angle", "72.5"},
             2,
             {"--stack needs a number, not 5x0"},
             {}},
            {QStringList{"--fit", rossi, "--stack", "530", "--reach", "380"}, 2, {"usage: tovarin"}, {}},
            {QStringList{"--fit", rossi} + telaio + QStringList{"--stem"}, 2, {"usage: tovarin"}, {"Saddle"}},
            {QStringList{"--fit", rossi, "--stack", "530", "--reach", "380", "--head-angle", "0"},
             1,
             {"Head angle 0° cannot be right: it must be between 55° and 80°."},
             {"is no frame", "Saddle"}},
            {QStringList{"--fit", rossi, "--stack", "530", "--reach", "380", "--head-angle", "171.5"},
             1,
             {"Head angle 171.5° cannot be right"},
             {"Saddle"}},
            {QStringList{"--fit", rossi, "--stack", "0.001", "--reach", "380", "--head-angle", "72.5"},
             1,
             {"Stack 0.001 mm cannot be right: it must be between 350 mm and 800 mm."},
             {"Saddle"}},
            {QStringList{"--fit", rossi} + telaio + QStringList{"--spacers", "-5", "--stem", "100"},
             1,
             {"Spacers -5 mm cannot be right: it must be between 0 mm and 100 mm."},
             {"stack and reach", "Saddle"}},
            {QStringList{"--fit", rossi} + telaio + QStringList{"--spacers", "20"},
             2,
             {"--spacers needs --stem"},
             {"Saddle"}},
            {QStringList{"--fit", rossi} + telaio + QStringList{"--stem-angle", "-6"},
             2,
             {"--stem-angle needs --stem"},
             {"Saddle"}},
            {QStringList{"--fit", rossi} + telaio + QStringList{"--spacers", "60", "--stem", "100"},
             0,
             {"Spacers 60 mm is unusual: most are between 0 mm and 50 mm.", "sit at"},
             {"Take it"}},
            {QStringList{"--fit", "Nessuno"} + telaio, 1, {"No athlete named \"Nessuno\""}, {}},
            // An option given twice, and a zero where a value must be positive.
            {QStringList{"--fit", rossi, "--stack", "530"} + telaio.mid(2) + QStringList{"--stack", "540"},
             2,
             {"usage: tovarin"},
             {"Saddle"}},
            {QStringList{"--fit", rossi} + telaio + QStringList{"--stem", "100", "--stem", "110"},
             2,
             {"usage: tovarin"},
             {"Saddle"}},
            {QStringList{"--fit", rossi, "--stack", "530", "--reach", "0", "--head-angle", "72.5"},
             1,
             {"Reach 0 mm cannot be right"},
             {"Saddle"}},
            {QStringList{"--fit", rossi} + telaio + QStringList{"--stem", "0"},
             1,
             {"Stem length 0 mm cannot be right"},
             {"Saddle"}},
            {QStringList{"--fit", rossi} + telaio + QStringList{"--clamp", "0", "--cap", "5"},
             1,
             {"Stem clamp height 0 mm cannot be right"},
             {"Saddle"}},
            // Each option fills its own field: the cap and the clamp given
            // are the frame's, the spacers and the stem's angle the stem's.
            {QStringList{"--fit", rossi} + telaio +
                 QStringList{"--cap", "15", "--clamp", "35", "--spacers", "5", "--stem", "90", "--stem-angle", "12"},
             0,
             {"headset cap 15 mm, stem clamp 35 mm", "a 90 mm stem at +12° and 5 mm of spacers"},
             {}},
        };
        for (const Caso& c : casi) {
            QString uscita;
            QCOMPARE(Esegui(c.argomenti, &uscita), c.uscita);
            for (const QString& d : c.detto) QVERIFY2(uscita.contains(d), qPrintable(d + " in:\n" + uscita));
            for (const QString& t : c.taciuto) QVERIFY2(!uscita.contains(t), qPrintable(t + " in:\n" + uscita));
        }
    }

    // --zones: the latest test's zones, or those of the values given (which
    // are not stored); the maximum in use said measured or estimated.
    void zoneDaRigaDiComando() {
        PreparaProgramma();
        prova::CreaArchivio(File(), Atleti());
        const QString rossi = QString::fromStdString(Atleti().front()[archivio::ColonnaNome]);
        struct Caso {
            QStringList argomenti;
            int uscita;
            QStringList detto, taciuto;
        };
        const Caso primaDelTest[] = {
            {{"--zones", rossi}, 1, {"No test recorded for " + rossi}, {}},
            {{"--zones", rossi, "--ftp", "250", "--lthr", "160"},
             0,
             {"HR max: 185 bpm, estimated from the age", "Z2 aerobic: 130-143 bpm", "Z5a superthreshold: 160-164 bpm",
              "Z5c anaerobic capacity: 170+ bpm", "Z2 endurance: 140-189 W", "Z4 threshold: 228-264 W",
              "Z7 neuromuscular: 376+ W", "W/kg: 3.55 (at 70.5 kg)"},
             {}},
            {{"--zones", rossi, "--hrmax", "185"}, 0, {"HR max: 185 bpm, as given"}, {"measured on", "threshold"}},
            {{"--zones", rossi, "--ftp", "1"},
             1,
             {"FTP 1 W cannot be right: it must be between 30 W and 650 W."},
             {"threshold", "HR max:"}},
            {{"--zones", rossi, "--ftp", "2147483647"}, 1, {"FTP 2147483647 W cannot be right"}, {"threshold"}},
            {{"--zones", rossi, "--ftp", "0"}, 1, {"FTP 0 W cannot be right"}, {"needs a number"}},
            {{"--zones", rossi, "--lthr", "170", "--hrmax", "150"},
             1,
             {"LTHR 170 bpm cannot be right: the threshold lies below the maximum, HR max 150 bpm."},
             {"Z1"}},
            {{"--zones", rossi, "--ftp", "250", "--weight", "8"}, 1, {"Weight 8 kg cannot be right"}, {"W/kg:"}},
            {{"--zones", rossi, "--ftp", "2x0"}, 2, {"--ftp needs a number, not 2x0"}, {}},
            {{"--zones", rossi, "--ftp", "500"}, 0, {"FTP 500 W is unusual: most are between"}, {"Take it"}},
            {{"--zones", rossi, "--power", "250"}, 2, {"usage: tovarin"}, {}},
            {{"--zones", "Nessuno", "--ftp", "250"}, 1, {"No athlete named \"Nessuno\""}, {}},
            {{"--zones", rossi, "--ftp", "250", "--ftp", "260"}, 2, {"usage: tovarin"}, {"W/kg"}},
            {{"--zones", rossi, "--lthr", "0"}, 1, {"LTHR 0 bpm cannot be right"}, {"Z1"}},
            {{"--zones", rossi, "--hrmax", "0"}, 1, {"HR max 0 bpm cannot be right"}, {"HR max: "}},
            {{"--zones", rossi, "--ftp", "250", "--weight", "0"}, 1, {"Weight 0 kg cannot be right"}, {"W/kg"}},
            // Each option its own value: the threshold, the maximum, the weight.
            {{"--zones", rossi, "--lthr", "150", "--hrmax", "190", "--ftp", "300", "--weight", "75"},
             0,
             {"HR max: 190 bpm, as given", "(LTHR 150 bpm)", "(FTP 300 W)", "W/kg: 4.00 (at 75 kg)"},
             {}},
        };
        const auto prova = [this](const Caso& c) {
            QString uscita;
            QCOMPARE(Esegui(c.argomenti, &uscita), c.uscita);
            for (const QString& d : c.detto) QVERIFY2(uscita.contains(d), qPrintable(d + " in:\n" + uscita));
            for (const QString& t : c.taciuto) QVERIFY2(!uscita.contains(t), qPrintable(t + " in:\n" + uscita));
        };
        for (const Caso& c : primaDelTest) prova(c);
        {
            archivio::Archivio a;
            QVERIFY(a.Apri(File()));
            std::vector<archivio::TestAtleta> test;
            QVERIFY(a.LeggiTest(1, test));
            QVERIFY(test.empty());  // the values given were not stored
            archivio::TestAtleta t;
            t.atleta = 1;
            t.data = "2026-09-01";
            t.fcmax = "191";
            t.ftp = "280";
            t.peso = "70";
            std::int64_t id = 0;
            QVERIFY(a.RegistraTest(t, id));
        }
        prova({{"--zones", rossi},
               0,
               {"HR max: 191 bpm, measured on 2026-09-01", "Z3 tempo: 213-254 W", "W/kg: 4.00 (at 70 kg)"},
               {"LTHR", "Z1 recovery"}});
        // A weight alone, for the latest test: judged as any value given.
        prova({{"--zones", rossi, "--weight", "8"}, 1, {"Weight 8 kg cannot be right"}, {"W/kg"}});
        prova({{"--zones", rossi, "--weight", "80"}, 0, {"W/kg: 3.50 (at 80 kg)"}, {}});
        // A test recorded before values were checked: its FTP said out of
        // range, the rest as ever.
        {
            archivio::Archivio a;
            QVERIFY(a.Apri(File()));
            archivio::TestAtleta t;
            t.atleta = 1;
            t.data = "2026-10-01";
            t.fcmax = "300";
            t.lthr = "160";
            t.ftp = "2500";
            std::int64_t id = 0;
            QVERIFY(a.RegistraTest(t, id));
        }
        prova({{"--zones", rossi},
               1,
               {"FTP 2500 W cannot be right: it must be between 30 W and 650 W.", "Z1 recovery: 0-129 bpm",
                "HR max 300 bpm cannot be right", "estimated from the age"},
               {"Z1 active recovery", "no threshold"}});
    }

    // Every refusal names its real cause, in the coach's language, the column
    // as the card calls it, the number of athletes in the right form.
    void ogniRifiutoNominaLaSuaCausa() {
        PreparaProgramma();
        prova::CreaArchivio(File(), {});
        const auto formato = archivio::FormatoCsv::PerDecimale('.');
        const std::string intestazione = archivio::TestoCsv({}, formato);
        cartella->scrivi("uno.csv", archivio::TestoCsv({RigaDi("Rossi")}, formato));
        cartella->scrivi("misura.csv",
                         archivio::TestoCsv({RigaDi("Bianchi"), RigaDi("Verdi", {{"cavallo", "72a"}})}, formato));
        std::string altraColonna = intestazione;
        altraColonna.replace(altraColonna.find("Tessera"), 7, "cognome");
        cartella->scrivi("colonna.csv", altraColonna);
        fs::create_directory(cartella->file("cartella"));
        struct Caso {
            QStringList argomenti;
            int uscita;
            const char* detto;
        };
        // clang-format off
        const Caso casi[] = {
            {{"--import-csv", "uno.csv"}, 0, "1 athlete added to the archive"},
            {{"--import-csv", "uno.csv"}, 0, "the one athlete of the file is already in the archive"},
            {{"--export-csv", "tutti.csv"}, 0, "1 athlete exported to"},
            {{"--backup", "copia.dmg"}, 0, "(1 athlete)"},
            {{"--import-csv", "misura.csv"}, 1, "line 3: the measure \"Inseam\" is not a number"},
            {{"--import-csv", "colonna.csv"}, 1, "\"cognome\" is not the name of a column of the archive"},
            {{"--import-csv", "assente.csv"}, 1, "the file does not exist"},
            {{"--import-csv", "manca/assente.csv"}, 1, "the file's folder does not exist"},
            {{"--import-csv", "cartella"}, 1, "it is a folder, a device or a pipe"},
            {{"--export-csv", "cartella"}, 1, "it is a folder, a device or a pipe"},
            {{"--backup", "a%1b%2.dmg"}, 0, "\"a%1b%2.dmg\" (1 athlete)"},
            {{"--export-csv", "x%2y%1.csv"}, 0, "1 athlete exported to \"x%2y%1.csv\""},
            {{"--import-csv", "x%2y%1.csv"}, 0, "the one athlete of the file is already in the archive"},
        };
        // clang-format on
        for (const Caso& c : casi) {
            QString uscita, errori;
            QCOMPARE(Esegui(c.argomenti, &uscita, 0, &errori), c.uscita);
            uscita += errori;
            QVERIFY2(uscita.contains(QString::fromUtf8(c.detto)), qPrintable(c.argomenti.join(' ') + ": " + uscita));
            QVERIFY2(!errori.contains(QStringLiteral("QString::arg")),
                     qPrintable(c.argomenti.join(' ') + ": " + errori));
        }
        // All or none: the good line of misura.csv was not added.
        QCOMPARE(prova::RigheNelFile(File()).size(), std::size_t(1));
    }

    // The archive's passphrase on the command line: read from a file only its
    // owner may read, never from the command line; set, changed, removed;
    // every verb that opens a locked archive needs it. Nothing of it is left
    // in any file of the program's.
    void passphraseDaRigaDiComando() {
        PreparaProgramma();
        const QByteArray casa = qgetenv("HOME");
        fs::create_directory(cartella->file("casa"));
        qputenv("HOME", QByteArray::fromStdString(cartella->file("casa").string()));
        cartella->scrivi("atleti.csv", archivio::TestoCsv(Atleti(), archivio::FormatoCsv::PerDecimale('.')));
        QCOMPARE(Esegui({"--import-csv", "atleti.csv"}), 0);
        const std::string prima = "Pedala Forte 2026", seconda = "Salita del Muro";
        const auto privato = fs::perms::owner_read | fs::perms::owner_write;
        for (const auto& [nome, testo, permessi] : std::vector<std::tuple<std::string, std::string, fs::perms>>{
                 {"prima.txt", prima + "\n", privato},
                 {"seconda.txt", seconda, privato},
                 {"aperta.txt", prima, privato | fs::perms::group_read | fs::perms::others_read},
                 {"sbagliata.txt", "Pedala Piano", privato}}) {
            cartella->scrivi(nome, testo);
            fs::permissions(cartella->file(nome), permessi);
        }
        struct Caso {
            QStringList argomenti;
            int uscita;
            const char* detto;
            const char* taciuto = nullptr;
        };
        // clang-format off
        const Caso casi[] = {
            {{"--protect", "--new-passphrase-file", "aperta.txt"}, 1, "other users can read or write it"},
            {{"--protect"}, 1, "No new passphrase: give it with --new-passphrase-file"},
            {{"--protect", "--new-passphrase-file", "prima.txt"}, 0, "is now locked by the passphrase. A forgotten"},
            {{"--export-csv", "x.csv"}, 1, "is locked by a passphrase: give it with --passphrase-file"},
            {{"--backup", "c.dmg", "--passphrase-file", "aperta.txt"}, 1, "other users can read or write it"},
            {{"--backup", "c.dmg", "--passphrase-file", "sbagliata.txt"}, 1, "the passphrase is wrong"},
            {{"--backup", "c.dmg", "--passphrase-file", "assente.txt"}, 1, "cannot be read"},
            {{"--backup", "c.dmg", "--passphrase-file", "prima.txt"}, 0, "(3 athletes)"},
            {{"--export-csv", "x.csv", "--passphrase-file", "prima.txt"}, 0, "is not encrypted"},
            {{"--protect", "--new-passphrase-file", "seconda.txt"}, 1, "is locked by a passphrase"},
            {{"--protect", "--passphrase-file", "sbagliata.txt", "--new-passphrase-file", "seconda.txt"}, 1,
             "the passphrase is wrong"},
            {{"--protect", "--passphrase-file", "prima.txt", "--new-passphrase-file", "seconda.txt"}, 0,
             "has been changed"},
            {{"--zones", "Bianchi", "--passphrase-file", "prima.txt"}, 1, "the passphrase is wrong"},
            {{"--unprotect", "--passphrase-file", "prima.txt"}, 1, "the passphrase is wrong"},
            {{"--unprotect"}, 1, "is locked by a passphrase"},
            {{"--backup", "d.dmg", "--new-passphrase-file", "prima.txt"}, 2, "usage: tovarin"},
            {{"--backup", "d.dmg", "--passphrase-file"}, 2, "usage: tovarin"},
            {{"--backup", "d.dmg", "--passphrase-file", "prima.txt", "--passphrase-file", "prima.txt"}, 2,
             "usage: tovarin"},
            {{"--unprotect", "--passphrase-file", "seconda.txt"}, 0, "no longer has a passphrase"},
            {{"--unprotect", "--passphrase-file", "seconda.txt"}, 1, "has no passphrase to remove"},
            {{"--export-csv", "y.csv"}, 0, "3 athletes exported", "not encrypted"},
        };
        // clang-format on
        for (const Caso& c : casi) {
            QString uscita, errori;
            QCOMPARE(Esegui(c.argomenti, &uscita, 0, &errori), c.uscita);
            uscita += errori;
            const QString come = c.argomenti.join(' ') + ": " + uscita;
            QVERIFY2(uscita.contains(QString::fromUtf8(c.detto)), qPrintable(come));
            if (c.taciuto) QVERIFY2(!uscita.contains(QString::fromUtf8(c.taciuto)), qPrintable(come));
            QVERIFY2(!errori.contains(QStringLiteral("QString::arg")), qPrintable(come));
            if (c.argomenti.startsWith(QStringLiteral("--backup")) && c.uscita == 0) {
                // The backup needs the passphrase: the fixed key reads nothing of it.
                QVERIFY(prova::Sql(cartella->file("c.dmg"), std::string(archivio::ChiaveArchivio),
                                   "SELECT count(*) FROM atleta")
                            .front()
                            .starts_with("ERRORE"));
            }
        }
        QVERIFY(prova::RigheNelFile(File()) == Atleti());
        qputenv("HOME", casa);
        // Neither passphrase, as written or as any text of the program, in any
        // file: the archive, its backup, the settings, the home given.
        for (const auto& voce : fs::recursive_directory_iterator(cartella->percorso())) {
            if (!voce.is_regular_file() || voce.path().extension() == ".txt") continue;
            const std::string byte = prova::LeggiByte(voce.path());
            for (const std::string& frase : {prima, seconda}) {
                QVERIFY2(byte.find(frase) == std::string::npos, voce.path().c_str());
                const QByteArray utf16(reinterpret_cast<const char*>(QString::fromStdString(frase).utf16()),
                                       static_cast<qsizetype>(frase.size() * 2));
                QVERIFY2(byte.find(utf16.toStdString()) == std::string::npos, voce.path().c_str());
            }
        }
    }

    // The usage speaks the language of the windows, asked for or not.
    void usoNellaLinguaScelta_data() {
        QTest::addColumn<QString>("lingua");
        QTest::addColumn<QStringList>("detto");
        QTest::addColumn<QStringList>("taciuto");
        QTest::newRow("italian") << "italian" << QStringList{"uso: tovarin",           "la finestra del programma",
                                                             "--report NOME FILE.pdf", "--head-angle GRADI",
                                                             "questo testo",           "Esito: 0 fatto"}
                                 << QStringList{"usage", "window", "NAME", "DEG", "Exit status"};
        QTest::newRow("english")
            << "english"
            << QStringList{"usage: tovarin", "the program's window", "--report NAME FILE.pdf", "--head-angle DEG",
                           "this text",      "Exit status: 0 done"}
            << QStringList{"uso:", "finestra", "NOME", "GRADI", "Esito"};
    }
    void usoNellaLinguaScelta() {
        QFETCH(QString, lingua);
        QFETCH(QStringList, detto);
        QFETCH(QStringList, taciuto);
        PreparaProgramma();
        cartella->scrivi("LangSetting.ini", "[Language]\nCurrentLanguage=" + lingua.toStdString() + "\n");
        for (const QStringList& argomenti : {QStringList{"--help"}, QStringList{"--esporta", "x.csv"}}) {
            QString uscita, errori;
            const bool aiuto = argomenti.size() == 1;
            QCOMPARE(Esegui(argomenti, &uscita, 0, &errori), aiuto ? 0 : 2);
            QString uso = aiuto ? uscita : errori;
            // What Qt itself says on the standard error comes first (paths, and
            // in newer Qt the C locale's encoding, over several lines).
            const qsizetype inizio = uso.indexOf(detto[0]);
            QVERIFY2(inizio >= 0, qPrintable(uso));
            uso = uso.mid(inizio);
            for (const QString& d : detto) QVERIFY2(uso.contains(d), qPrintable(d + " in:\n" + uso));
            for (const QString& t : taciuto) QVERIFY2(!uso.contains(t), qPrintable(t + " in:\n" + uso));
        }
    }

    // A report is a PDF file named so: ".pdf" is added to a name without it,
    // and the line printed names the file written.
    void reportConNomeDaPdf() {
        PreparaProgramma();
        prova::CreaArchivio(File(), Atleti());
        struct Caso {
            QString dato, scritto;
        };
        for (const Caso& c :
             {Caso{"x.txt", "x.txt.pdf"}, Caso{"senza", "senza.pdf"}, Caso{"Y.PDF", "Y.PDF"}, Caso{"z.pdf", "z.pdf"}}) {
            QString uscita;
            QCOMPARE(Esegui({"--report", "Bianchi", c.dato}, &uscita), 0);
            QVERIFY2(uscita.contains(QStringLiteral("saved to \"%1\"").arg(c.scritto)), qPrintable(uscita));
            QVERIFY(TestoPdf(Q(cartella->file(c.scritto.toStdString()))).contains(QStringLiteral("Bianchi")));
            if (c.dato != c.scritto) QVERIFY(!fs::exists(cartella->file(c.dato.toStdString())));
        }
    }

    // A report is written whole or not at all, and the coach's alone: on a
    // full disk the command says why and exits 1, and the report saved
    // before stays; a link someone planted at the name is replaced, and the
    // file it pointed to is not touched.
    void reportInteroOppureNiente() {
        PreparaProgramma();
        prova::CreaArchivio(File(), Atleti());
        QCOMPARE(Esegui({"--report", "Bianchi", "bianchi.pdf"}), 0);
        const std::string prima = cartella->leggi("bianchi.pdf");
        QCOMPARE(fs::status(cartella->file("bianchi.pdf")).permissions(),
                 fs::perms::owner_read | fs::perms::owner_write);
        QString uscita;
        QCOMPARE(Esegui({"--report", "Verdi", "bianchi.pdf"}, &uscita, 20000), 1);
        QVERIFY2(uscita.contains(QStringLiteral("the disk is full")), qPrintable(uscita));
        QVERIFY(cartella->leggi("bianchi.pdf") == prima);
        QCOMPARE(prova::Contenuto(cartella->percorso()).size(), std::size_t(6));  // nothing left beside it

        cartella->scrivi("altrui.pdf", "someone else's");
        fs::permissions(cartella->file("altrui.pdf"), fs::perms::all);
        fs::create_symlink(cartella->file("altrui.pdf"), cartella->file("link.pdf"));
        QCOMPARE(Esegui({"--report", "Bianchi", "link.pdf"}), 0);
        QVERIFY(!fs::is_symlink(cartella->file("link.pdf")));
        QCOMPARE(fs::status(cartella->file("link.pdf")).permissions(), fs::perms::owner_read | fs::perms::owner_write);
        QCOMPARE(cartella->leggi("altrui.pdf"), std::string("someone else's"));
    }
};

QTEST_MAIN(TestDati)
#include "test_dati.moc"
