// The athlete card: its checks, what reaches the archive, adding and deleting
// athletes, and its two buttons that open a sheet on the athlete shown.
#include "Archivio.h"
#include "AtletaCorrente.h"
#include "AvvisiArchivio.h"
#include "Calendario.h"
#include "CartellaProva.h"
#include "Controlli.h"
#include "LegameArchivio.h"
#include "RegoleCampi.h"
#include "SupportoArchivio.h"
#include "frmAtleti.h"
#include "mdi.h"
#include "modLanguageSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QStringListModel>
#include <QToolButton>
#include <QtTest>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace {

using archivio::Riga;

QString Q(const std::string& s) { return QString::fromStdString(s); }

int Colonna(const char* nome) { return *archivio::IndiceColonna(nome); }

Riga RigaDi(const QString& nome, std::initializer_list<std::pair<const char*, QString>> campi = {}) {
    Riga r;
    r[archivio::ColonnaNome] = nome.toStdString();
    for (const auto& [colonna, valore] : campi) r[Colonna(colonna)] = valore.toStdString();
    return r;
}

using prova::CreaArchivio;
using prova::RigheNelFile;

QStringList Nomi(const std::vector<Riga>& righe) {
    QStringList nomi;
    for (const Riga& r : righe) nomi << Q(r[archivio::ColonnaNome]);
    return nomi;
}

QString Campo(const Riga& r, const char* colonna) { return Q(r[Colonna(colonna)]); }

// Every bound control of the card and its column.
const std::vector<std::pair<const char*, const char*>> Legami{
    // clang-format off
    {"txtNome", "nome"},          {"Text2", "datanascita"},   {"Text3", "indirizzo"},
    {"Text4", "tel"},             {"txtEmail", "Email"},      {"Text5", "bici"},
    {"txtSocieta", "Societa"},    {"Text1", "Categoria"},     {"txtTessera", "Tessera"},
    {"Text22", "Scadenza"},       {"cmbSesso", "sesso"},      {"cboTipoImpiego", "TipoImpiego"},
    {"chkAttFis", "AttivFis"},    {"Text6", "pulsazioniriposo"}, {"Text7", "cavallo"},
    {"Text8", "busto"},           {"Text9", "coscia"},        {"Text10", "gamba"},
    {"Text11", "braccio"},        {"Text12", "spalle"},       {"Text19", "altezza"},
    {"Text20", "peso"},           {"Text18", "sella"},        {"Text13", "myHS"},
    {"Text14", "myDSM"},          {"Text15", "mySM"},         {"Text16", "myR"},
    {"Text17", "myPE"},           {"txtSella", "MarcaSella"}, {"txtManubrio", "Manubrio"},
    {"txtGruppo", "Gruppo"},      {"txtRuote", "Ruote"},      {"Text21", "pedali"},
    {"txtNote", "note"}};
// clang-format on

// A value each column accepts on the card, different for every column.
QString ValoreProva(const char* colonna, int i) {
    const QString c = QString::fromLatin1(colonna);
    if (c == "datanascita") return QStringLiteral("15/03/1990");
    if (c == "Scadenza") return QStringLiteral("31/12/2025");
    if (c == "sesso") return QStringLiteral("F");
    if (c == "TipoImpiego") return QStringLiteral("intensa");
    if (c == "AttivFis") return QStringLiteral("1");
    static const QStringList misure{"pulsazioniriposo", "cavallo", "busto",   "coscia", "gamba",
                                    "braccio",          "spalle",  "altezza", "peso"};
    if (misure.contains(c)) return QStringLiteral("%1.5").arg(40 + i);
    return c + QStringLiteral(" di prova");
}

QString TestoDi(QWidget* w) {
    if (auto* l = qobject_cast<QLineEdit*>(w)) return l->text();
    if (auto* p = qobject_cast<QPlainTextEdit*>(w)) return p->toPlainText();
    if (auto* c = qobject_cast<QComboBox*>(w)) return c->currentText();
    if (auto* k = qobject_cast<QCheckBox*>(w)) return k->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    return {};
}

// Types a value into a control as the user would.
void Digita(QWidget* w, const QString& valore) {
    if (auto* k = qobject_cast<QCheckBox*>(w)) {
        if (k->isChecked() != (valore == QLatin1String("1"))) QTest::mouseClick(k, Qt::LeftButton);
        return;
    }
    if (auto* c = qobject_cast<QComboBox*>(w)) {
        const int i = c->findText(valore);
        if (i >= 0) {  // picked from the list, as a click on it does
            c->setCurrentIndex(i);
            emit c->activated(i);
        } else
            QTest::keyClicks(c, valore);
        return;
    }
    QTest::keyClicks(w, valore);
}

// A section of a language file: key and value of each entry.
QList<QPair<QString, QString>> Sezione(const std::filesystem::path& file, const QString& nome) {
    QFile f(Q(file.string()));
    if (!f.open(QIODevice::ReadOnly)) return {};
    QList<QPair<QString, QString>> voci;
    bool dentro = false;
    for (const QString& riga : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'))) {
        const QString r = riga.trimmed();
        if (r.startsWith(QLatin1Char('['))) {
            dentro = r == QLatin1Char('[') + nome + QLatin1Char(']');
            continue;
        }
        const qsizetype uguale = r.indexOf(QLatin1Char('='));
        if (dentro && uguale > 0) {
            QString valore = r.mid(uguale + 1);
            if (valore.size() >= 2 && valore.startsWith(QLatin1Char('"')) && valore.endsWith(QLatin1Char('"')))
                valore = valore.mid(1, valore.size() - 2);
            voci.append({r.left(uguale), valore});
        }
    }
    return voci;
}

}  // namespace

class TestAtleti : public QObject {
    Q_OBJECT

    struct Domanda {
        QString titolo, testo;
        QMessageBox::StandardButtons pulsanti;
    };

    std::unique_ptr<CartellaProva> cartella;
    std::unique_ptr<mdi> principale;
    QList<Domanda> domande;
    QMessageBox::StandardButton risposta = QMessageBox::No;
    // The sheets opened: their name and NomeAtletaCorrente when they were built.
    QList<QPair<QString, QString>> schedeAperte;

    std::filesystem::path File() const { return cartella->file("tvp.dmg"); }

    // A sheet as the program registers it: a window with a name box, opening
    // on NomeAtletaCorrente.
    QWidget* Scheda(const QString& nome) {
        auto* w = new QWidget;
        w->setObjectName(nome);
        auto* txtNome = new QLineEdit(NomeAtletaCorrente, w);
        txtNome->setObjectName(QStringLiteral("txtNome"));
        schedeAperte.append({nome, NomeAtletaCorrente});
        return w;
    }

    frmAtleti* Apri() {
        auto* scheda = new frmAtleti;
        principale->MostraFiglio(scheda);
        return scheda;
    }

    void Attiva() {
        principale->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(principale.get()));
    }

    static void Succ(frmAtleti* f) { Controllo<NavigatoreDati>(f, "Data1")->PulsanteSuccessivo()->click(); }
    static void Prec(frmAtleti* f) { Controllo<NavigatoreDati>(f, "Data1")->PulsantePrecedente()->click(); }

private slots:
    void init() {
        cartella = std::make_unique<CartellaProva>();
        domande.clear();
        schedeAperte.clear();
        risposta = QMessageBox::No;
        Calendario::ImpostaServizi({[] {
                                        return Calendario::Data{2024, 6, 15};
                                    },
                                    [](std::string_view t) {
                                        return LeggiDataRegionale(
                                            QLocale(QLocale::Italian, QLocale::Italy),
                                            QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size())));
                                    }});
        ImpostaGestoreMessaggi(
            [this](QWidget*, const QString& titolo, const QString& testo, QMessageBox::StandardButtons pulsanti) {
                domande.append({titolo, testo, pulsanti});
                return pulsanti.testFlag(QMessageBox::Yes) ? risposta : QMessageBox::Ok;
            });
        principale = std::make_unique<mdi>();
        principale->ImpostaFinestre([](QWidget* g) { return new frmAtleti(g); },
                                    [this](QWidget*) { return Scheda(QStringLiteral("frmScheda")); },
                                    [this](QWidget*) { return Scheda(QStringLiteral("frmCondizione")); }, nullptr);
        principale->show();
        modLanguageSupport::LinguaCorrente = "italian";
        PercorsoArchivio = Q(File().string());
        NomeAtletaCorrente.clear();
        RigaAtletaCorrente.reset();
        AtletaCorrenteVuoto = false;
    }

    void cleanup() {
        principale.reset();
        ImpostaGestoreMessaggi({});
        NomeAtletaCorrente.clear();
        RigaAtletaCorrente.reset();
        AtletaCorrenteVuoto = false;
        PercorsoArchivio.clear();
        cartella.reset();
    }

    // Opening on the current athlete and closing again writes nothing, also
    // for an athlete without activity (the list filled at load must not pick
    // its first item for him).
    void aprireEChiudereNonCambiaLArchivio() {
        const std::vector<Riga> righe{RigaDi("Rossi", {{"TipoImpiego", "intensa"}, {"cavallo", "80"}}),
                                      RigaDi("Verdi", {{"sesso", "M"}, {"peso", "70.5"}})};
        CreaArchivio(File(), righe);
        NomeAtletaCorrente = QStringLiteral("Verdi");
        frmAtleti* f = Apri();
        QCOMPARE(Controllo<QLineEdit>(f, "txtNome")->text(), QStringLiteral("Verdi"));
        QCOMPARE(Controllo<QLineEdit>(f, "Text20")->text(), QStringLiteral("70.5"));
        QCOMPARE(Controllo<QComboBox>(f, "cboTipoImpiego")->currentText(), QString());
        QVERIFY(!f->Legame()->Modificata());
        Prec(f);
        QCOMPARE(Controllo<QComboBox>(f, "cboTipoImpiego")->currentText(), QStringLiteral("intensa"));
        principale->ChiudiFinestre();
        QVERIFY(RigheNelFile(File()) == righe);
        QCOMPARE(NomeAtletaCorrente, QStringLiteral("Rossi"));
    }

    void caricamento_data() {
        QTest::addColumn<QString>("lingua");
        QTest::addColumn<QString>("titolo");
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QStringList>("attivita");
        // clang-format off
        QTest::newRow("italian") << "italian" << " Scheda atleta" << "Nome" << QStringList{"leggera", "moderata", "intensa"};
        QTest::newRow("english") << "english" << " Athlete card" << "Name" << QStringList{"light", "moderate", "strong"};
        // clang-format on
    }
    void caricamento() {
        QFETCH(QString, lingua);
        QFETCH(QString, titolo);
        QFETCH(QString, nome);
        QFETCH(QStringList, attivita);
        CreaArchivio(File(), {RigaDi("Rossi")});
        modLanguageSupport::LinguaCorrente = lingua.toStdString();
        frmAtleti* f = Apri();
        QCOMPARE(f->windowTitle(), titolo);
        QCOMPARE(Controllo<QLabel>(f, "Label1")->text(), nome);
        QCOMPARE(f->property("HelpContextID").toInt(), 1810);
        QStringList voci;
        for (int i = 0; i < Controllo<QComboBox>(f, "cboTipoImpiego")->count(); ++i)
            voci << Controllo<QComboBox>(f, "cboTipoImpiego")->itemText(i);
        QCOMPARE(voci, attivita);
        QCOMPARE(Controllo<QComboBox>(f, "cmbSesso")->count(), 2);
        QCOMPARE(Controllo<QComboBox>(f, "cmbSesso")->itemText(0), QStringLiteral("M"));
        QCOMPARE(Controllo<QComboBox>(f, "cmbSesso")->itemText(1), QStringLiteral("F"));
        // The list stays as it was filled when the language changes later.
        modLanguageSupport::LinguaCorrente = lingua == "italian" ? "english" : "italian";
        QCOMPARE(Controllo<QComboBox>(f, "cboTipoImpiego")->itemText(0), attivita.first());
    }

    // A stored activity is shown in the current language, or emptied; the row
    // keeps what is stored, since the coach did not change it.
    void attivitaMemorizzata_data() {
        QTest::addColumn<QString>("lingua");
        QTest::addColumn<QString>("salvata");
        QTest::addColumn<QString>("mostrata");
        // clang-format off
        QTest::newRow("moderata under English") << "english" << "moderata" << "moderate";
        QTest::newRow("Moderata with a capital") << "italian" << "Moderata" << "";
        QTest::newRow("Moderata under English") << "english" << "Moderata" << "";
        QTest::newRow("light under Italian") << "italian" << "light" << "leggera";
        QTest::newRow("intensa under English") << "english" << "intensa" << "strong";
        QTest::newRow("own language") << "italian" << "leggera" << "leggera";
        // clang-format on
    }
    void attivitaMemorizzata() {
        QFETCH(QString, lingua);
        QFETCH(QString, salvata);
        QFETCH(QString, mostrata);
        CreaArchivio(File(), {RigaDi("Rossi", {{"TipoImpiego", salvata}}), RigaDi("Verdi")});
        modLanguageSupport::LinguaCorrente = lingua.toStdString();
        frmAtleti* f = Apri();
        QCOMPARE(Controllo<QComboBox>(f, "cboTipoImpiego")->currentText(), mostrata);
        QCOMPARE(Campo(RigheNelFile(File())[0], "TipoImpiego"), salvata);
        Succ(f);
        QCOMPARE(Controllo<QLineEdit>(f, "txtNome")->text(), QStringLiteral("Verdi"));
        QCOMPARE(Campo(RigheNelFile(File())[0], "TipoImpiego"), salvata);
    }

    void dataControllataUscendo_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("digitato");
        QTest::addColumn<QString>("tenuto");
        QTest::addColumn<QString>("memorizzato");  // a date as ISO
        for (const char* box : {"Text2", "Text22"}) {
            const QString b = QString::fromLatin1(box);
            // clang-format off
            QTest::addRow("%s 31 February", box) << b << "31/02/1990" << "" << "";
            QTest::addRow("%s 29 February of a common year", box) << b << "29/02/2023" << "" << "";
            QTest::addRow("%s 29 February of a leap year", box) << b << "29/02/2024" << "29/02/2024" << "2024-02-29";
            QTest::addRow("%s a date", box) << b << "15/03/1990" << "15/03/1990" << "1990-03-15";
            QTest::addRow("%s words", box) << b << "ieri" << "" << "";
            QTest::addRow("%s empty", box) << b << "" << "" << "";
            // clang-format on
        }
    }
    void dataControllataUscendo() {
        QFETCH(QString, box);
        QFETCH(QString, digitato);
        QFETCH(QString, tenuto);
        QFETCH(QString, memorizzato);
        CreaArchivio(File(), {RigaDi("Rossi"), RigaDi("Verdi")});
        frmAtleti* f = Apri();
        Attiva();
        auto* b = f->findChild<QLineEdit*>(box);
        QVERIFY(b);
        b->setFocus();
        QTRY_VERIFY(b->hasFocus());
        QTest::keyClicks(b, digitato);
        QCOMPARE(b->text(), digitato);  // kept while it is typed
        Controllo<QLineEdit>(f, "Text3")->setFocus();
        QTRY_VERIFY(!b->hasFocus());
        QCOMPARE(b->text(), tenuto);
        Succ(f);
        QCOMPARE(Campo(RigheNelFile(File())[0], box == "Text2" ? "datanascita" : "Scadenza"), memorizzato);
    }

    void misure_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("digitato");
        QTest::addColumn<QString>("mostrato");
        for (const char* box : {"Text6", "Text7", "Text8", "Text9", "Text10", "Text11", "Text12", "Text19", "Text20"}) {
            // clang-format off
            QTest::addRow("%s comma", box) << box << "72,5" << "72.5";
            QTest::addRow("%s letter", box) << box << "72a" << "";
            // clang-format on
        }
        // The set-up values and the saddle length take any text on the card.
        for (const char* box : {"Text13", "Text14", "Text15", "Text16", "Text17", "Text18"})
            QTest::addRow("%s free", box) << box << "7,5 circa"
                                          << "7,5 circa";
    }
    void misure() {
        QFETCH(QString, box);
        QFETCH(QString, digitato);
        QFETCH(QString, mostrato);
        CreaArchivio(File(), {RigaDi("Rossi")});
        frmAtleti* f = Apri();
        auto* b = f->findChild<QLineEdit*>(box);
        QVERIFY(b);
        QTest::keyClicks(b, digitato);
        QCOMPARE(b->text(), mostrato);
        QCOMPARE(b->cursorPosition(), static_cast<int>(mostrato.size()));
    }

    // A measure stored with a comma is shown cleaned, and the row keeps what
    // is stored once the user moves on.
    void misuraMemorizzataConLaVirgola() {
        CreaArchivio(File(),
                     {RigaDi("Rossi", {{"cavallo", "72,5"}, {"peso", "70,25"}, {"sella", "27,5"}}), RigaDi("Verdi")});
        frmAtleti* f = Apri();
        QCOMPARE(Controllo<QLineEdit>(f, "Text7")->text(), QStringLiteral("72.5"));
        QCOMPARE(Controllo<QLineEdit>(f, "Text20")->text(), QStringLiteral("70.25"));
        QCOMPARE(Controllo<QLineEdit>(f, "Text18")->text(), QStringLiteral("27,5"));
        Succ(f);
        const Riga r = RigheNelFile(File())[0];
        QCOMPARE(Campo(r, "cavallo"), QStringLiteral("72,5"));
        QCOMPARE(Campo(r, "peso"), QStringLiteral("70,25"));
        QCOMPARE(Campo(r, "sella"), QStringLiteral("27,5"));
    }

    // Every column is shown in its box, and what is typed in each box reaches
    // its column.
    void ogniColonnaNelSuoControllo() {
        Riga piena;
        for (std::size_t i = 0; i < Legami.size(); ++i)
            piena[Colonna(Legami[i].second)] = ValoreProva(Legami[i].second, static_cast<int>(i)).toStdString();
        CreaArchivio(File(), {piena});
        frmAtleti* f = Apri();
        for (const auto& [controllo, colonna] : Legami) {
            auto* w = f->findChild<QWidget*>(QString::fromLatin1(controllo));
            QVERIFY2(w, controllo);
            QCOMPARE(TestoDi(w), Campo(piena, colonna));
        }
        QVERIFY(!f->Legame()->Modificata());

        // Past the last athlete: a new one, typed box by box.
        Succ(f);
        QVERIFY(f->Legame()->RigaNuova());
        for (const auto& [controllo, colonna] : Legami) {
            auto* w = f->findChild<QWidget*>(QString::fromLatin1(controllo));
            QCOMPARE(TestoDi(w), QString(colonna == std::string_view("AttivFis") ? "0" : ""));
            Digita(w, Campo(piena, colonna));
        }
        Prec(f);
        const auto righe = RigheNelFile(File());
        QCOMPARE(righe.size(), std::size_t(2));
        // A date typed in its box is stored as ISO.
        for (const auto& [controllo, colonna] : Legami) {
            const std::string_view c = colonna;
            const QString atteso = c == "datanascita" ? QStringLiteral("1990-03-15")
                                   : c == "Scadenza"  ? QStringLiteral("2025-12-31")
                                                      : Campo(piena, colonna);
            QCOMPARE(Campo(righe[1], colonna), atteso);
        }
    }

    // Past the last athlete the boxes are empty for a new one; typing a name
    // and moving back writes the new row; moving past without typing writes
    // nothing.
    void nuovoAtletaOltreLUltimo() {
        CreaArchivio(File(), {RigaDi("Rossi", {{"cavallo", "80"}, {"note", "a note"}})});
        frmAtleti* f = Apri();
        Succ(f);
        QVERIFY(f->Legame()->RigaNuova());
        QCOMPARE(Controllo<QLineEdit>(f, "txtNome")->text(), QString());
        QCOMPARE(Controllo<QLineEdit>(f, "Text7")->text(), QString());
        QCOMPARE(Controllo<QPlainTextEdit>(f, "txtNote")->toPlainText(), QString());
        QVERIFY(!Controllo<QLineEdit>(f, "txtNome")->isReadOnly());
        Prec(f);
        QCOMPARE(Controllo<QLineEdit>(f, "txtNome")->text(), QStringLiteral("Rossi"));
        QCOMPARE(RigheNelFile(File()).size(), std::size_t(1));

        Succ(f);
        QTest::keyClicks(Controllo<QLineEdit>(f, "txtNome"), QStringLiteral("Neri"));
        QTest::keyClicks(Controllo<QLineEdit>(f, "Text7"), QStringLiteral("81,5"));
        QTest::mouseClick(Controllo<QCheckBox>(f, "chkAttFis"), Qt::LeftButton);
        Prec(f);
        QCOMPARE(Controllo<QLineEdit>(f, "txtNome")->text(), QStringLiteral("Rossi"));
        const auto righe = RigheNelFile(File());
        QCOMPARE(Nomi(righe), (QStringList{"Rossi", "Neri"}));
        QCOMPARE(Campo(righe[1], "cavallo"), QStringLiteral("81.5"));
        QCOMPARE(Campo(righe[1], "AttivFis"), QStringLiteral("1"));
        QCOMPARE(Controllo<NavigatoreDati>(f, "Data1")->ElencoNomi()->stringList(), (QStringList{"Rossi", "Neri"}));
    }

    // The new athlete is written when the card closes, and the next window
    // opens on him.
    void nuovoAtletaScrittoAllaChiusura() {
        CreaArchivio(File(), {RigaDi("Rossi")});
        frmAtleti* f = Apri();
        Succ(f);
        QTest::keyClicks(Controllo<QLineEdit>(f, "txtNome"), QStringLiteral("Neri"));
        principale->ChiudiFinestre();
        QCOMPARE(Nomi(RigheNelFile(File())), (QStringList{"Rossi", "Neri"}));
        QCOMPARE(NomeAtletaCorrente, QStringLiteral("Neri"));
    }

    // Closed by the user, the card keeps the athlete it shows for the next window.
    void chiusaTieneLAtletaMostrato() {
        CreaArchivio(File(), {RigaDi("Rossi"), RigaDi("Verdi")});
        QPointer<frmAtleti> f = Apri();
        Succ(f);
        QTest::keyClicks(Controllo<QLineEdit>(f, "Text20"), QStringLiteral("68"));
        QVERIFY(f->close());
        QCOMPARE(NomeAtletaCorrente, QStringLiteral("Verdi"));
        QCOMPARE(Campo(RigheNelFile(File())[1], "peso"), QStringLiteral("68"));
    }

    void eliminaNoOAnnullaNonCambiaNulla_data() {
        QTest::addColumn<int>("rispostaData");
        QTest::newRow("No") << int(QMessageBox::No);
        QTest::newRow("Cancel") << int(QMessageBox::Cancel);
    }
    void eliminaNoOAnnullaNonCambiaNulla() {
        QFETCH(int, rispostaData);
        const std::vector<Riga> righe{RigaDi("Rossi"), RigaDi("Verdi", {{"peso", "70"}}), RigaDi("Bianchi")};
        CreaArchivio(File(), righe);
        NomeAtletaCorrente = QStringLiteral("Verdi");
        frmAtleti* f = Apri();
        risposta = static_cast<QMessageBox::StandardButton>(rispostaData);
        QTest::mouseClick(Controllo<ImmagineSvg>(f, "imgCestino"), Qt::LeftButton);
        QCOMPARE(domande.size(), 1);
        QCOMPARE(domande[0].titolo, QStringLiteral("Tovarin Project"));
        QCOMPARE(domande[0].testo, QStringLiteral("Eliminare dall'archivio l'atleta Verdi?"));
        QCOMPARE(domande[0].pulsanti, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(Controllo<QLineEdit>(f, "txtNome")->text(), QStringLiteral("Verdi"));
        QVERIFY(RigheNelFile(File()) == righe);
    }

    void eliminaSiMostraIlSuccessivo() {
        CreaArchivio(File(), {RigaDi("Rossi"), RigaDi("Verdi"), RigaDi("Bianchi", {{"cavallo", "82"}})});
        NomeAtletaCorrente = QStringLiteral("Verdi");
        frmAtleti* f = Apri();
        risposta = QMessageBox::Yes;
        QTest::mouseClick(Controllo<ImmagineSvg>(f, "imgCestino"), Qt::LeftButton);
        QCOMPARE(domande.size(), 1);
        QCOMPARE(Nomi(RigheNelFile(File())), (QStringList{"Rossi", "Bianchi"}));
        QCOMPARE(Controllo<QLineEdit>(f, "txtNome")->text(), QStringLiteral("Bianchi"));
        QCOMPARE(Controllo<QLineEdit>(f, "Text7")->text(), QStringLiteral("82"));
        QCOMPARE(Controllo<NavigatoreDati>(f, "Data1")->ElencoNomi()->stringList(), (QStringList{"Rossi", "Bianchi"}));
    }

    // The question follows the language of the moment.
    void domandaInInglese() {
        CreaArchivio(File(), {RigaDi("Rossi")});
        modLanguageSupport::LinguaCorrente = "english";
        frmAtleti* f = Apri();
        QTest::mouseClick(Controllo<ImmagineSvg>(f, "imgCestino"), Qt::LeftButton);
        QCOMPARE(domande.size(), 1);
        QCOMPARE(domande[0].testo, QStringLiteral("Delete the athlete Rossi from the archive?"));
    }

    // The question names the athlete and says what goes with them: their own
    // recorded fittings and tests, never another athlete's.
    void domandaDiceCosaSiElimina_data() {
        QTest::addColumn<QString>("lingua");
        QTest::addColumn<int>("assetti");
        QTest::addColumn<int>("prove");
        QTest::addColumn<QString>("atteso");
        const QString it = QStringLiteral("Eliminare dall'archivio l'atleta Verdi Anna?");
        const QString en = QStringLiteral("Delete the athlete Verdi Anna from the archive?");
        const QString a = QStringLiteral("\n\n");
        // clang-format off
        QTest::newRow("it, nothing") << "italian" << 0 << 0 << it;
        QTest::newRow("it, 1 fitting") << "italian" << 1 << 0 << it + a + "Con l'atleta si elimina anche il suo assetto registrato.";
        QTest::newRow("it, 2 fittings") << "italian" << 2 << 0 << it + a + "Con l'atleta si eliminano anche i suoi 2 assetti registrati.";
        QTest::newRow("it, 1 test") << "italian" << 0 << 1 << it + a + "Con l'atleta si elimina anche il suo test.";
        QTest::newRow("it, 3 tests") << "italian" << 0 << 3 << it + a + "Con l'atleta si eliminano anche i suoi 3 test.";
        QTest::newRow("it, 1 and 1") << "italian" << 1 << 1 << it + a + "Con l'atleta si eliminano anche il suo assetto registrato e il suo test.";
        QTest::newRow("it, 2 and 3") << "italian" << 2 << 3 << it + a + "Con l'atleta si eliminano anche i suoi 2 assetti registrati e i suoi 3 test.";
        QTest::newRow("en, nothing") << "english" << 0 << 0 << en;
        QTest::newRow("en, 1 test") << "english" << 0 << 1 << en + a + "The athlete's test goes with them.";
        QTest::newRow("en, 3 tests") << "english" << 0 << 3 << en + a + "The athlete's 3 tests go with them.";
        QTest::newRow("en, 1 and 1") << "english" << 1 << 1 << en + a + "The athlete's recorded fitting and test go with them.";
        QTest::newRow("en, 2 and 3") << "english" << 2 << 3 << en + a + "The athlete's 2 recorded fittings and 3 tests go with them.";
        // clang-format on
    }
    void domandaDiceCosaSiElimina() {
        QFETCH(QString, lingua);
        QFETCH(int, assetti);
        QFETCH(int, prove);
        QFETCH(QString, atteso);
        CreaArchivio(File(), {RigaDi("Rossi"), RigaDi("Verdi Anna"), RigaDi("Bianchi")});
        {
            // The athletes on either side have fittings and tests of their own.
            archivio::Archivio a;
            QVERIFY(a.Apri(File()));
            std::int64_t id = 0;
            for (const auto& [atleta, n, m] :
                 {std::tuple{1, 4, 5}, std::tuple{2, assetti, prove}, std::tuple{3, 6, 7}}) {
                for (int i = 0; i < n; ++i) {
                    archivio::Assetto x;
                    x.atleta = atleta;
                    x.data = "2024-05-0" + std::to_string(i + 1);
                    QVERIFY(a.RegistraAssetto(x, id));
                }
                for (int i = 0; i < m; ++i) {
                    archivio::TestAtleta t;
                    t.atleta = atleta;
                    t.data = "2024-04-0" + std::to_string(i + 1);
                    t.ftp = "250";
                    QVERIFY(a.RegistraTest(t, id));
                }
            }
        }
        modLanguageSupport::LinguaCorrente = lingua.toStdString();
        NomeAtletaCorrente = QStringLiteral("Verdi Anna");
        frmAtleti* f = Apri();
        QTest::mouseClick(Controllo<ImmagineSvg>(f, "imgCestino"), Qt::LeftButton);
        QCOMPARE(domande.size(), 1);
        QCOMPARE(domande[0].testo, atteso);
    }

    // Deleting the last row leaves the card at the end; a second click asks nothing.
    void eliminaLUltimo() {
        CreaArchivio(File(), {RigaDi("Rossi"), RigaDi("Verdi", {{"peso", "70"}, {"sesso", "M"}})});
        NomeAtletaCorrente = QStringLiteral("Verdi");
        frmAtleti* f = Apri();
        risposta = QMessageBox::Yes;
        QTest::mouseClick(Controllo<ImmagineSvg>(f, "imgCestino"), Qt::LeftButton);
        QCOMPARE(Nomi(RigheNelFile(File())), QStringList{"Rossi"});
        QVERIFY(f->Legame()->AllaFine());
        QCOMPARE(Controllo<QLineEdit>(f, "txtNome")->text(), QString());
        QCOMPARE(Controllo<QLineEdit>(f, "Text20")->text(), QString());
        QCOMPARE(Controllo<QComboBox>(f, "cmbSesso")->currentText(), QString());
        QTest::mouseClick(Controllo<ImmagineSvg>(f, "imgCestino"), Qt::LeftButton);
        QCOMPARE(domande.size(), 1);
        QCOMPARE(Nomi(RigheNelFile(File())), QStringList{"Rossi"});
    }

    // A new athlete of whom nothing is typed is nothing to delete; once typed,
    // the question is asked and Yes drops him before he reaches the file.
    void eliminaUnNuovoAtleta() {
        CreaArchivio(File(), {RigaDi("Rossi")});
        frmAtleti* f = Apri();
        Succ(f);
        QTest::mouseClick(Controllo<ImmagineSvg>(f, "imgCestino"), Qt::LeftButton);
        QVERIFY(domande.isEmpty());
        QTest::keyClicks(Controllo<QLineEdit>(f, "txtNome"), QStringLiteral("Neri"));
        risposta = QMessageBox::Yes;
        QTest::mouseClick(Controllo<ImmagineSvg>(f, "imgCestino"), Qt::LeftButton);
        QCOMPARE(domande.size(), 1);
        principale->ChiudiFinestre();
        QCOMPARE(Nomi(RigheNelFile(File())), QStringList{"Rossi"});
    }

    // "Assetto" and "Condizione" close the card, writing its edits, and open
    // the sheet on the athlete shown, a new one included.
    void pulsantiApronoLaSchedaSullAtletaMostrato_data() {
        QTest::addColumn<QString>("pulsante");
        QTest::addColumn<QString>("scheda");
        QTest::addColumn<bool>("nuovo");
        // clang-format off
        QTest::newRow("Assetto") << "cmdScheda" << "frmScheda" << false;
        QTest::newRow("Condizione") << "Command2" << "frmCondizione" << false;
        QTest::newRow("Assetto, new athlete") << "cmdScheda" << "frmScheda" << true;
        QTest::newRow("Condizione, new athlete") << "Command2" << "frmCondizione" << true;
        // clang-format on
    }
    void pulsantiApronoLaSchedaSullAtletaMostrato() {
        QFETCH(QString, pulsante);
        QFETCH(QString, scheda);
        QFETCH(bool, nuovo);
        CreaArchivio(File(), {RigaDi("Rossi"), RigaDi("Verdi")});
        NomeAtletaCorrente = QStringLiteral("Rossi");
        QPointer<frmAtleti> f = Apri();
        Succ(f);
        if (nuovo) {
            Succ(f);
            QTest::keyClicks(Controllo<QLineEdit>(f, "txtNome"), QStringLiteral("Neri"));
        }
        const QString atleta = nuovo ? QStringLiteral("Neri") : QStringLiteral("Verdi");
        QTest::keyClicks(Controllo<QLineEdit>(f, "Text20"), QStringLiteral("68"));
        QTest::mouseClick(f->findChild<QPushButton*>(pulsante), Qt::LeftButton);
        QCOMPARE(schedeAperte.size(), 1);
        QCOMPARE(schedeAperte[0].first, scheda);
        QCOMPARE(schedeAperte[0].second, atleta);
        QVERIFY(principale->FiglioAttivo());
        QCOMPARE(principale->FiglioAttivo()->objectName(), scheda);
        QTRY_VERIFY(f.isNull());
        const auto righe = RigheNelFile(File());
        QCOMPARE(Nomi(righe).last(), atleta);
        QCOMPARE(Campo(righe.back(), "peso"), QStringLiteral("68"));
    }

    // Every key of the card's section names the card or one of its controls,
    // and every caption of the form has its key, in both languages.
    void sezioneDelleLingue_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("italian") << "italian.lng";
        QTest::newRow("english") << "english.lng";
    }
    void sezioneDelleLingue() {
        QFETCH(QString, file);
        CreaArchivio(File(), {RigaDi("Rossi")});
        frmAtleti* f = Apri();
        const auto voci = Sezione(cartella->file(file.toStdString()), QStringLiteral("frmAtleti"));
        QVERIFY(!voci.isEmpty());
        QSet<QString> chiavi;
        for (const auto& [chiave, valore] : voci) {
            chiavi.insert(chiave);
            const QString controllo = chiave.section(QLatin1Char('.'), 0, 0);
            QVERIFY2(controllo == "frmAtleti" || f->findChild<QWidget*>(controllo), qPrintable(chiave));
            QVERIFY2(!valore.isEmpty(), qPrintable(chiave));
        }
        QVERIFY(chiavi.contains("frmAtleti.Caption"));
        for (QWidget* w : f->findChildren<QWidget*>()) {
            const bool conTesto =
                qobject_cast<QLabel*>(w) || qobject_cast<QPushButton*>(w) || qobject_cast<QCheckBox*>(w);
            if (conTesto && !w->objectName().isEmpty() && !w->objectName().startsWith("qt_"))
                QVERIFY2(chiavi.contains(w->objectName() + ".Caption"), qPrintable(w->objectName()));
        }
    }
};

QTEST_MAIN(TestAtleti)
#include "test_atleti.moc"
