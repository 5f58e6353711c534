// The condition sheet on the athlete of the archive, opened from the main
// window as the program does; and the body mass index table it opens.
#include "Archivio.h"
#include "AtletaCorrente.h"
#include "AvvisiArchivio.h"
#include "Calendario.h"
#include "CartellaProva.h"
#include "Controlli.h"
#include "FinestraUnica.h"
#include "Modulo1.h"
#include "RegoleCampi.h"
#include "Stili.h"
#include "SupportoArchivio.h"
#include "frmCondizione.h"
#include "frmValoriIMC.h"
#include "mdi.h"
#include "modLanguageSupport.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLocale>
#include <QtTest>

#include <memory>

namespace {

using Campi = QList<QPair<QString, QString>>;

archivio::Riga RigaDi(const QString& nome, const Campi& campi = {}) {
    archivio::Riga r;
    r[archivio::ColonnaNome] = nome.toStdString();
    for (const auto& [colonna, valore] : campi)
        r[*archivio::IndiceColonna(colonna.toStdString())] = valore.toStdString();
    return r;
}

QString Messaggio(const char* id) { return QString::fromStdString(modLanguageSupport::TestoLingua(id)); }

// Today is 1 June 2024 for every test: born 15/03/1994 is 30, born
// 10/01/1984 is 40.
const Calendario::Data Oggi{2024, 6, 1};

// The man of 30 and the woman of 40 whose values the engine's edge cases give.
const Campi Uomo30{
    {"datanascita", "15/03/1994"}, {"sesso", "M"},    {"peso", "70"}, {"altezza", "175"}, {"pulsazioniriposo", "60"},
    {"TipoImpiego", "leggera"},    {"cavallo", "85"}, {"busto", "62"}};
const Campi Donna40{
    {"datanascita", "10/01/1984"}, {"sesso", "F"},    {"peso", "60"},    {"altezza", "170"}, {"pulsazioniriposo", "55"},
    {"TipoImpiego", "moderata"},   {"AttivFis", "1"}, {"cavallo", "80"}, {"busto", "61"}};

}  // namespace

class TestCondizione : public QObject {
    Q_OBJECT
    std::unique_ptr<CartellaProva> cartella;
    std::unique_ptr<mdi> principale;
    QStringList avvisi;

    void CreaArchivio(const std::vector<archivio::Riga>& righe) {
        prova::CreaArchivio(cartella->file("tvp.dmg"), righe);
    }
    std::vector<archivio::Riga> RigheNelFile() { return prova::RigheNelFile(cartella->file("tvp.dmg")); }

    static QString Colonna(const archivio::Riga& r, const char* colonna) {
        return QString::fromStdString(r[*archivio::IndiceColonna(colonna)]);
    }

    frmCondizione* Apri() {
        principale->ApriSchedaCondizione();
        return qobject_cast<frmCondizione*>(principale->FiglioAttivo());
    }

    static QStringList Testi(const QList<QLabel*>& etichette) {
        QStringList t;
        for (QLabel* l : etichette) t << l->text();
        return t;
    }
    static QList<QLabel*> Cooper(frmCondizione* f) {
        return {Controllo<QLabel>(f, "lblC5060"), Controllo<QLabel>(f, "lblC6070"), Controllo<QLabel>(f, "lblC7080"),
                Controllo<QLabel>(f, "lblC8090"), Controllo<QLabel>(f, "lblC90100")};
    }
    static QList<QLabel*> Karvonen(frmCondizione* f) {
        return {Controllo<QLabel>(f, "lblK5060"), Controllo<QLabel>(f, "lblK6070"), Controllo<QLabel>(f, "lblK7080"),
                Controllo<QLabel>(f, "lblK8090"), Controllo<QLabel>(f, "lblK90100")};
    }
    static QList<QLabel*> KcalCooper(frmCondizione* f) {
        return {Controllo<QLabel>(f, "lblKC5060"), Controllo<QLabel>(f, "lblKC6070"), Controllo<QLabel>(f, "lblKC7080"),
                Controllo<QLabel>(f, "lblKC8090"), Controllo<QLabel>(f, "lblKC90100")};
    }
    static QList<QLabel*> KcalKarvonen(frmCondizione* f) {
        return {Controllo<QLabel>(f, "lblKK5060"), Controllo<QLabel>(f, "lblKK6070"), Controllo<QLabel>(f, "lblKK7080"),
                Controllo<QLabel>(f, "lblKK8090"), Controllo<QLabel>(f, "lblKK90100")};
    }

    static void Svuota(QLineEdit* box) {
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
    }

    static QColor ColoreClasse(frmCondizione* f) { return ColoreTesto(Controllo<QLabel>(f, "lblCondizione")); }

private slots:
    void init() {
        cartella = std::make_unique<CartellaProva>();
        avvisi.clear();
        ImpostaGestoreMessaggi([this](QWidget*, const QString&, const QString& testo, QMessageBox::StandardButtons) {
            avvisi << testo;
            return QMessageBox::Ok;
        });
        Calendario::ImpostaServizi({[] { return Oggi; },
                                    [](std::string_view t) {
                                        return LeggiDataRegionale(
                                            QLocale(QLocale::Italian, QLocale::Italy),
                                            QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size())));
                                    }});
        NomeAtletaCorrente.clear();
        RigaAtletaCorrente.reset();
        AtletaCorrenteVuoto = false;
        principale = std::make_unique<mdi>();
        modLanguageSupport::LinguaCorrente = "italian";
        QCOMPARE(PercorsoArchivio, QString::fromStdString(cartella->file("tvp.dmg").string()));
        principale->ImpostaFinestre(
            nullptr, nullptr, [](QWidget* g) { return new frmCondizione(g); }, nullptr);
        principale->show();
    }
    void cleanup() {
        principale.reset();
        ImpostaGestoreMessaggi({});
        cartella.reset();
        QVERIFY2(avvisi.isEmpty(), qPrintable(avvisi.join('\n')));
    }

    // ---- Results ----------------------------------------------------------

    void recordVuoto_data() {
        QTest::addColumn<bool>("conRiga");
        QTest::newRow("a row holding only a name") << true;
        QTest::newRow("an archive without rows") << false;
    }
    void recordVuoto() {
        QFETCH(bool, conRiga);
        CreaArchivio(conRiga ? std::vector{RigaDi("Vuoto")} : std::vector<archivio::Riga>{});
        frmCondizione* f = Apri();
        QVERIFY(f);
        QCOMPARE(Controllo<QLineEdit>(f, "txtNome")->text(), conRiga ? QStringLiteral("Vuoto") : QString());
        QCOMPARE(Controllo<QLabel>(f, "lblEta")->text(), QString());
        QCOMPARE(Controllo<QLabel>(f, "lblFCmax")->text(), QStringLiteral("220"));
        QCOMPARE(Testi(Cooper(f)), QStringList({"110-132", "132-154", "154-176", "176-198", "198-220"}));
        const QStringList vuoti(5);
        QCOMPARE(Testi(Karvonen(f)), vuoti);
        QCOMPARE(Testi(KcalCooper(f)), vuoti);
        QCOMPARE(Testi(KcalKarvonen(f)), vuoti);
        for (QLabel* l : {Controllo<QLabel>(f, "lblMetabolismoBasale"), Controllo<QLabel>(f, "lblFabb"),
                          Controllo<QLabel>(f, "lblIMC"), Controllo<QLabel>(f, "lblPesoIdeale"),
                          Controllo<QLabel>(f, "lblCondizione"), Controllo<QLabel>(f, "lblTra")})
            QVERIFY2(l->text().isEmpty(), qPrintable(l->objectName()));
        QCOMPARE(Controllo<QLabel>(f, "lblCostituzione")->text(), Messaggio("0001"));
        QCOMPARE(ColoreClasse(f), QColor(255, 0, 0));
        QCOMPARE(Controllo<QLineEdit>(f, "txtMin")->text(), QStringLiteral("60"));
    }

    void schedaPerIntero_data() {
        QTest::addColumn<QString>("lingua");
        QTest::addColumn<Campi>("campi");
        // age, build id, FC max, metabolism, need, index, ideal, class id, range
        QTest::addColumn<QStringList>("risultati");
        QTest::addColumn<QStringList>("cooper");
        QTest::addColumn<QStringList>("karvonen");
        QTest::addColumn<QStringList>("kcalCooper");
        QTest::addColumn<QStringList>("kcalKarvonen");
        QTest::addColumn<QString>("minuti");
        const QStringList cooperUomo{"95-114", "114-133", "133-152", "152-171", "171-190"};
        const QStringList karvonenUomo{"125-138", "138-151", "151-164", "164-177", "177-190"};
        const QStringList kcalCooperUomo{"356-528", "528-700", "700-871", "871-1043", "1043-1215"};
        const QStringList kcalKarvonenUomo{"627-745", "745-862", "862-980", "980-1098", "1098-1215"};
        const QStringList risultatiUomo{"30", "0003", "190", "1701", "2398", "22.86", "67.4", "0013", "61.2 - 76.5"};
        QTest::newRow("man of 30") << "italian" << Uomo30 << risultatiUomo << cooperUomo << karvonenUomo
                                   << kcalCooperUomo << kcalKarvonenUomo << "60";
        Campi uomoInglese = Uomo30;
        uomoInglese[5].second = QStringLiteral("light");
        QTest::newRow("man of 30 in English") << "english" << uomoInglese << risultatiUomo << cooperUomo << karvonenUomo
                                              << kcalCooperUomo << kcalKarvonenUomo << "60";
        QTest::newRow("woman of 40, 45 minutes")
            << "italian" << Donna40
            << QStringList{"40", "0004", "186", "1366", "2240", "20.76", "57.8", "0013", "53.5 - 68.8"}
            << QStringList{"93-112", "112-130", "130-149", "149-167", "167-186"}
            << QStringList{"121-134", "134-147", "147-160", "160-173", "173-186"}
            << QStringList{"178-270", "270-356", "356-448", "448-534", "534-626"}
            << QStringList{"313-375", "375-438", "438-500", "500-563", "563-626"} << "45";
    }
    void schedaPerIntero() {
        QFETCH(QString, lingua);
        QFETCH(Campi, campi);
        QFETCH(QStringList, risultati);
        QFETCH(QStringList, cooper);
        QFETCH(QStringList, karvonen);
        QFETCH(QStringList, kcalCooper);
        QFETCH(QStringList, kcalKarvonen);
        QFETCH(QString, minuti);
        modLanguageSupport::LinguaCorrente = lingua.toStdString();
        CreaArchivio({RigaDi("Bianchi Luca"), RigaDi("Rossi Mario", campi)});
        NomeAtletaCorrente = QStringLiteral("Rossi Mario");
        frmCondizione* f = Apri();
        QCOMPARE(Controllo<QLineEdit>(f, "txtNome")->text(), QStringLiteral("Rossi Mario"));
        Controllo<QLineEdit>(f, "txtMin")->setText(minuti);
        const QStringList visti{
            Controllo<QLabel>(f, "lblEta")->text(),        Controllo<QLabel>(f, "lblCostituzione")->text(),
            Controllo<QLabel>(f, "lblFCmax")->text(),      Controllo<QLabel>(f, "lblMetabolismoBasale")->text(),
            Controllo<QLabel>(f, "lblFabb")->text(),       Controllo<QLabel>(f, "lblIMC")->text(),
            Controllo<QLabel>(f, "lblPesoIdeale")->text(), Controllo<QLabel>(f, "lblCondizione")->text(),
            Controllo<QLabel>(f, "lblTra")->text()};
        QStringList attesi = risultati;
        attesi[1] = Messaggio(attesi[1].toLatin1().constData());
        attesi[7] = Messaggio(attesi[7].toLatin1().constData());
        QCOMPARE(visti, attesi);
        QCOMPARE(Testi(Cooper(f)), cooper);
        QCOMPARE(Testi(Karvonen(f)), karvonen);
        QCOMPARE(Testi(KcalCooper(f)), kcalCooper);
        QCOMPARE(Testi(KcalKarvonen(f)), kcalKarvonen);
        QCOMPARE(ColoreClasse(f), QColor(0, 0, 0));
        // Showing the athlete changes nothing in the row.
        QVERIFY(!f->Legame()->Modificata());

        // The picture of the sheet for the README, on request: opened with the
        // main window's button, as the coach does.
        if (QTest::currentDataTag() == QByteArray("man of 30") &&
            qEnvironmentVariableIsSet("TOVARIN_SCHERMATA_CONDIZIONE")) {
            QTest::mouseClick(Controllo<QPushButton>(principale, "cmdCondizione"), Qt::LeftButton);
            f = qobject_cast<frmCondizione*>(principale->FiglioAttivo());
            QVERIFY(f);
            QCOMPARE(Controllo<QLineEdit>(f, "txtNome")->text(), QStringLiteral("Rossi Mario"));
            QCOMPARE(Controllo<QLabel>(f, "lblFabb")->text(), QStringLiteral("2398"));
            QVERIFY(principale->grab().save(qEnvironmentVariable("TOVARIN_SCHERMATA_CONDIZIONE")));
        }
    }

    void classeNeraSoloPerNormaleEIdeale_data() {
        QTest::addColumn<QString>("sesso");
        QTest::addColumn<QString>("peso");
        QTest::addColumn<QString>("altezza");
        QTest::addColumn<QString>("classe");
        QTest::addColumn<bool>("nera");
        // clang-format off
        QTest::newRow("ideal") << "M" << "67.5" << "175" << "0014" << true;
        QTest::newRow("normal") << "M" << "70" << "175" << "0013" << true;
        QTest::newRow("overweight from 25 itself") << "M" << "100" << "200" << "0016" << false;
        QTest::newRow("severe underweight") << "F" << "45" << "170" << "0011" << false;
        QTest::newRow("no height") << "F" << "45" << "" << "" << false;
        // clang-format on
    }
    void classeNeraSoloPerNormaleEIdeale() {
        QFETCH(QString, sesso);
        QFETCH(QString, peso);
        QFETCH(QString, altezza);
        QFETCH(QString, classe);
        QFETCH(bool, nera);
        CreaArchivio({RigaDi("Atleta", {{"sesso", sesso}, {"peso", peso}, {"altezza", altezza}})});
        frmCondizione* f = Apri();
        QCOMPARE(Controllo<QLabel>(f, "lblCondizione")->text(),
                 classe.isEmpty() ? QString() : Messaggio(classe.toLatin1().constData()));
        QCOMPARE(ColoreClasse(f), nera ? QColor(0, 0, 0) : QColor(255, 0, 0));
    }

    // ---- Edits ------------------------------------------------------------

    void ogniBattutaRicalcola() {
        CreaArchivio({RigaDi("Atleta", Uomo30)});
        frmCondizione* f = Apri();
        Svuota(Controllo<QLineEdit>(f, "txtPeso"));
        QCOMPARE(Controllo<QLabel>(f, "lblIMC")->text(), QString());
        QCOMPARE(Controllo<QLabel>(f, "lblMetabolismoBasale")->text(), QString());
        QCOMPARE(Testi(KcalCooper(f)), QStringList(5));
        QTest::keyClicks(Controllo<QLineEdit>(f, "txtPeso"), "67,5");
        QCOMPARE(Controllo<QLineEdit>(f, "txtPeso")->text(), QStringLiteral("67.5"));
        QCOMPARE(Controllo<QLabel>(f, "lblIMC")->text(), QStringLiteral("22.04"));
        QCOMPARE(Controllo<QLabel>(f, "lblCondizione")->text(), Messaggio("0014"));
        QCOMPARE(f->Legame()->RigaCorrente()[*archivio::IndiceColonna("peso")], std::string("67.5"));
        QTest::keyClicks(Controllo<QLineEdit>(f, "txtAltezza"), "x");
        QCOMPARE(Controllo<QLineEdit>(f, "txtAltezza")->text(), QString());
        QCOMPARE(Controllo<QLabel>(f, "lblIMC")->text(), QString());
        QTest::keyClicks(Controllo<QLineEdit>(f, "txtAltezza"), "175");
        Svuota(Controllo<QLineEdit>(f, "txtPulsazioni"));
        QCOMPARE(Testi(Karvonen(f)), QStringList(5));
        QCOMPARE(Testi(KcalKarvonen(f)), QStringList(5));
        QCOMPARE(Controllo<QLabel>(f, "lblC5060")->text(), QStringLiteral("95-114"));
        Controllo<QLineEdit>(f, "txtDataNascita")->setText(QStringLiteral("15/03/1984"));
        QCOMPARE(Controllo<QLabel>(f, "lblEta")->text(), QStringLiteral("40"));
        QCOMPARE(Controllo<QLabel>(f, "lblFCmax")->text(), QStringLiteral("180"));
    }

    void sessoMinuscoloSvuotato() {
        CreaArchivio({RigaDi("Atleta", Uomo30)});
        frmCondizione* f = Apri();
        QVERIFY(!Controllo<QLabel>(f, "lblIMC")->text().isEmpty());
        Controllo<QComboBox>(f, "cmbSesso")->setEditText(QString());
        principale->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(principale.get()));
        Controllo<QComboBox>(f, "cmbSesso")->setFocus();
        QTRY_VERIFY(Controllo<QComboBox>(f, "cmbSesso")->hasFocus());
        QTest::keyClicks(QApplication::focusWidget(), "m");
        QCOMPARE(Controllo<QComboBox>(f, "cmbSesso")->currentText(), QString());
        for (QLabel* l :
             {Controllo<QLabel>(f, "lblIMC"), Controllo<QLabel>(f, "lblPesoIdeale"),
              Controllo<QLabel>(f, "lblCondizione"), Controllo<QLabel>(f, "lblTra"), Controllo<QLabel>(f, "lblFabb")})
            QVERIFY2(l->text().isEmpty(), qPrintable(l->objectName()));
        QCOMPARE(Controllo<QLabel>(f, "lblMetabolismoBasale")->text(), QStringLiteral("n.d."));
        QCOMPARE(ColoreClasse(f), QColor(255, 0, 0));
        QTest::keyClicks(QApplication::focusWidget(), "F");
        QCOMPARE(Controllo<QComboBox>(f, "cmbSesso")->currentText(), QStringLiteral("F"));
        QCOMPARE(Controllo<QLabel>(f, "lblFCmax")->text(), QStringLiteral("196"));
        QCOMPARE(Controllo<QLabel>(f, "lblIMC")->text(), QStringLiteral("22.86"));
    }

    void minutiSvuotatiDiventanoZero() {
        CreaArchivio({RigaDi("Atleta", Uomo30)});
        frmCondizione* f = Apri();
        QCOMPARE(Controllo<QLabel>(f, "lblKC5060")->text(), QStringLiteral("356-528"));
        Svuota(Controllo<QLineEdit>(f, "txtMin"));
        QCOMPARE(Controllo<QLineEdit>(f, "txtMin")->text(), QStringLiteral("0"));
        QCOMPARE(Testi(KcalCooper(f)), QStringList(5));
        QCOMPARE(Testi(KcalKarvonen(f)), QStringList(5));
        QCOMPARE(Testi(Cooper(f)), QStringList({"95-114", "114-133", "133-152", "152-171", "171-190"}));
        // Typing after the "0": the leading zero goes at once.
        QTest::keyClicks(Controllo<QLineEdit>(f, "txtMin"), "60");
        QCOMPARE(Controllo<QLineEdit>(f, "txtMin")->text(), QStringLiteral("60"));
        QCOMPARE(Controllo<QLabel>(f, "lblKC5060")->text(), QStringLiteral("356-528"));
    }

    void minutiRiscritti_data() {
        QTest::addColumn<QString>("scritto");
        QTest::addColumn<QString>("mostrato");
        // clang-format off
        QTest::newRow("empty") << "" << "0";
        QTest::newRow("trailing full stop") << "60." << "60";
        QTest::newRow("trailing comma") << "60," << "60";
        QTest::newRow("leading zeros") << "0045" << "45";
        QTest::newRow("fraction") << "1.50" << "1.5";
        QTest::newRow("lone fraction") << ".5" << "0.5";
        QTest::newRow("letters") << "abc" << "0";
        // clang-format on
        QTest::newRow("very long number") << QString(300, QLatin1Char('9')) << "";
    }
    void minutiRiscritti() {
        QFETCH(QString, scritto);
        QFETCH(QString, mostrato);
        CreaArchivio({RigaDi("Atleta", Uomo30)});
        frmCondizione* f = Apri();
        Controllo<QLineEdit>(f, "txtMin")->setText(scritto);
        if (!mostrato.isEmpty()) {
            QCOMPARE(Controllo<QLineEdit>(f, "txtMin")->text(), mostrato);
        } else {  // settles on a number, whatever its writing
            QVERIFY(!Controllo<QLineEdit>(f, "txtMin")->text().isEmpty());
            QVERIFY(Modulo1::TestoNumerico(Controllo<QLineEdit>(f, "txtMin")->text().toStdString()));
        }
        QCOMPARE(Controllo<QLineEdit>(f, "txtMin")->cursorPosition(), Controllo<QLineEdit>(f, "txtMin")->text().size());
    }

    void attivitaTradottaNellaRiga_data() {
        QTest::addColumn<QString>("lingua");
        QTest::addColumn<QString>("salvata");
        QTest::addColumn<QString>("mostrata");
        QTest::addColumn<QString>("fabbisogno");
        // clang-format off
        QTest::newRow("moderate under Italian") << "italian" << "moderate" << "moderata" << "2892";
        QTest::newRow("leggera under English") << "english" << "leggera" << "light" << "2398";
        QTest::newRow("own language kept") << "italian" << "intensa" << "intensa" << "3419";
        QTest::newRow("unknown text emptied") << "italian" << "sedentaria" << "" << "";
        // clang-format on
    }
    void attivitaTradottaNellaRiga() {
        QFETCH(QString, lingua);
        QFETCH(QString, salvata);
        QFETCH(QString, mostrata);
        QFETCH(QString, fabbisogno);
        modLanguageSupport::LinguaCorrente = lingua.toStdString();
        Campi campi = Uomo30;
        campi[5].second = salvata;
        CreaArchivio({RigaDi("Atleta", campi)});
        frmCondizione* f = Apri();
        QCOMPARE(Controllo<QComboBox>(f, "cboAttivLav")->currentText(), mostrata);
        QCOMPARE(Controllo<QLabel>(f, "lblMetabolismoBasale")->text(), QStringLiteral("1701"));
        QCOMPARE(Controllo<QLabel>(f, "lblFabb")->text(), fabbisogno);
        // Shown in the language of the moment, stored as it was.
        QVERIFY(!f->Legame()->Modificata());
        principale->ChiudiFinestre();
        QCOMPARE(Colonna(RigheNelFile().at(0), "TipoImpiego"), salvata);
    }

    void listaAttivitaNellaLinguaSenzaToccareLaRiga_data() {
        QTest::addColumn<QString>("lingua");
        QTest::addColumn<QStringList>("lista");
        QTest::newRow("italian") << "italian" << QStringList{"leggera", "moderata", "intensa"};
        QTest::newRow("english") << "english" << QStringList{"light", "moderate", "strong"};
    }
    void listaAttivitaNellaLinguaSenzaToccareLaRiga() {
        QFETCH(QString, lingua);
        QFETCH(QStringList, lista);
        modLanguageSupport::LinguaCorrente = lingua.toStdString();
        CreaArchivio({RigaDi("Senza attività", {{"sesso", "M"}}), RigaDi("Atleta", {{"TipoImpiego", lista[1]}})});
        frmCondizione* f = Apri();
        QStringList voci;
        for (int i = 0; i < Controllo<QComboBox>(f, "cboAttivLav")->count(); ++i)
            voci << Controllo<QComboBox>(f, "cboAttivLav")->itemText(i);
        QCOMPARE(voci, lista);
        QCOMPARE(Controllo<QComboBox>(f, "cboAttivLav")->currentText(), QString());
        QVERIFY(!f->Legame()->Modificata());
        // Picking from the list is an edit of the athlete.
        Controllo<QComboBox>(f, "cboAttivLav")->setCurrentIndex(2);
        emit Controllo<QComboBox>(f, "cboAttivLav")->activated(2);
        QCOMPARE(Controllo<QComboBox>(f, "cboAttivLav")->currentText(), lista[2]);
        QVERIFY(f->Legame()->Modificata());
        QVERIFY(f->Legame()->MuoviSuccessivo());
        QCOMPARE(Controllo<QComboBox>(f, "cboAttivLav")->currentText(), lista[1]);
        principale->ChiudiFinestre();
        QCOMPARE(Colonna(RigheNelFile().at(0), "TipoImpiego"), lista[2]);
    }

    void attivitaFisicaAlzaIlFabbisogno() {
        CreaArchivio({RigaDi("Atleta", Uomo30)});
        frmCondizione* f = Apri();
        QCOMPARE(Controllo<QLabel>(f, "lblFabb")->text(), QStringLiteral("2398"));  // 1.41 x 1701
        QTest::mouseClick(Controllo<QCheckBox>(f, "chkAttFis"), Qt::LeftButton);
        QVERIFY(Controllo<QCheckBox>(f, "chkAttFis")->isChecked());
        QCOMPARE(Controllo<QLabel>(f, "lblFabb")->text(), QStringLiteral("2637"));  // 1.55 x 1701
        QCOMPARE(Controllo<QLabel>(f, "lblMetabolismoBasale")->text(), QStringLiteral("1701"));
        principale->ChiudiFinestre();
        QCOMPARE(Colonna(RigheNelFile().at(0), "AttivFis"), QStringLiteral("1"));
    }

    void dataImpossibileSvuotataLasciandoLaCasella() {
        CreaArchivio({RigaDi("Atleta", Uomo30)});
        frmCondizione* f = Apri();
        QVERIFY(QTest::qWaitForWindowActive(principale.get()));
        Svuota(Controllo<QLineEdit>(f, "txtDataNascita"));
        QVERIFY(Controllo<QLineEdit>(f, "txtDataNascita")->hasFocus());
        QCOMPARE(Controllo<QLabel>(f, "lblEta")->text(), QString());
        QCOMPARE(Controllo<QLabel>(f, "lblFCmax")->text(), QStringLiteral("220"));
        QTest::keyClicks(Controllo<QLineEdit>(f, "txtDataNascita"), "31/02/1990");
        QCOMPARE(Controllo<QLineEdit>(f, "txtDataNascita")->text(), QStringLiteral("31/02/1990"));  // while typed, kept
        QCOMPARE(Controllo<QLabel>(f, "lblEta")->text(), QString());
        Controllo<QLineEdit>(f, "txtPeso")->setFocus();
        QCOMPARE(Controllo<QLineEdit>(f, "txtDataNascita")->text(), QString());
        QCOMPARE(Controllo<QLabel>(f, "lblEta")->text(), QString());

        Svuota(Controllo<QLineEdit>(f, "txtDataNascita"));
        QTest::keyClicks(Controllo<QLineEdit>(f, "txtDataNascita"), "20/12/1990");
        QCOMPARE(Controllo<QLabel>(f, "lblEta")->text(), QStringLiteral("33"));  // completed years
        Controllo<QLineEdit>(f, "txtPeso")->setFocus();
        QCOMPARE(Controllo<QLineEdit>(f, "txtDataNascita")->text(), QStringLiteral("20/12/1990"));
        QCOMPARE(Controllo<QLabel>(f, "lblFCmax")->text(), QStringLiteral("187"));
    }

    // Inseam and torso are shown twice (the boxes of the input row and the
    // hidden ones the body build reads): the two always agree.
    void cavalloEBustoCambianoSubitoLaCostituzione() {
        CreaArchivio({RigaDi("Atleta", Uomo30)});
        frmCondizione* f = Apri();
        QCOMPARE(Controllo<QLabel>(f, "lblCostituzione")->text(), Messaggio("0003"));  // 85 / 62
        Svuota(Controllo<QLineEdit>(f, "Text7"));
        QCOMPARE(Controllo<QLineEdit>(f, "txtCavallo")->text(), QString());
        QCOMPARE(Controllo<QLabel>(f, "lblCostituzione")->text(), Messaggio("0001"));
        QTest::keyClicks(Controllo<QLineEdit>(f, "Text7"), "78");
        QCOMPARE(Controllo<QLineEdit>(f, "txtCavallo")->text(), QStringLiteral("78"));
        QCOMPARE(Controllo<QLabel>(f, "lblCostituzione")->text(), Messaggio("0002"));  // 1.258
        Svuota(Controllo<QLineEdit>(f, "Text7"));
        QTest::keyClicks(Controllo<QLineEdit>(f, "Text7"), "82,4");
        QCOMPARE(Controllo<QLineEdit>(f, "Text7")->text(), QStringLiteral("82.4"));
        QCOMPARE(Controllo<QLineEdit>(f, "txtCavallo")->text(), QStringLiteral("82.4"));
        QCOMPARE(Controllo<QLabel>(f, "lblCostituzione")->text(), Messaggio("0004"));  // 1.329
        Svuota(Controllo<QLineEdit>(f, "Text8"));
        QTest::keyClicks(Controllo<QLineEdit>(f, "Text8"), "59");
        QCOMPARE(Controllo<QLineEdit>(f, "txtBusto")->text(), QStringLiteral("59"));
        QCOMPARE(Controllo<QLabel>(f, "lblCostituzione")->text(), Messaggio("0003"));  // 1.397
        QTest::keyClicks(Controllo<QLineEdit>(f, "Text8"), "a");
        QCOMPARE(Controllo<QLineEdit>(f, "Text8")->text(), QString());
        QCOMPARE(Controllo<QLineEdit>(f, "txtBusto")->text(), QString());
        QCOMPARE(Controllo<QLabel>(f, "lblCostituzione")->text(), Messaggio("0001"));
        QTest::keyClicks(Controllo<QLineEdit>(f, "Text8"), "62");
        principale->ChiudiFinestre();
        const archivio::Riga riga = RigheNelFile().at(0);
        QCOMPARE(Colonna(riga, "cavallo"), QStringLiteral("82.4"));
        QCOMPARE(Colonna(riga, "busto"), QStringLiteral("62"));
    }

    void misuraConLaVirgolaNellArchivio() {
        Campi campi = Uomo30;
        campi[6].second = QStringLiteral("82,5");  // cavallo
        campi[2].second = QStringLiteral("70,0");  // peso
        CreaArchivio({RigaDi("Atleta", campi)});
        frmCondizione* f = Apri();
        QCOMPARE(Controllo<QLineEdit>(f, "Text7")->text(), QStringLiteral("82.5"));
        QCOMPARE(Controllo<QLineEdit>(f, "txtCavallo")->text(), QStringLiteral("82.5"));
        QCOMPARE(Controllo<QLabel>(f, "lblCostituzione")->text(), Messaggio("0003"));  // 1.331
        QCOMPARE(Controllo<QLineEdit>(f, "txtPeso")->text(), QStringLiteral("70.0"));
        QCOMPARE(Controllo<QLabel>(f, "lblIMC")->text(), QStringLiteral("22.86"));
        QVERIFY(!f->Legame()->Modificata());  // cleaned for the sheet, stored as it was
        principale->ChiudiFinestre();
        QCOMPARE(Colonna(RigheNelFile().at(0), "cavallo"), QStringLiteral("82,5"));
    }

    // ---- The athlete between windows ---------------------------------------

    void apreEChiudeSullAtletaCorrente() {
        CreaArchivio({RigaDi("Rossi", Uomo30), RigaDi("Verdi", Donna40)});
        NomeAtletaCorrente = QStringLiteral("Verdi");
        frmCondizione* f = Apri();
        QCOMPARE(Controllo<QLineEdit>(f, "txtNome")->text(), QStringLiteral("Verdi"));
        QCOMPARE(Controllo<QLabel>(f, "lblEta")->text(), QStringLiteral("40"));
        emit Controllo<NavigatoreDati>(f, "Data1")->NomeScelto(QStringLiteral("Rossi"));
        QCOMPARE(Controllo<QLineEdit>(f, "txtNome")->text(), QStringLiteral("Rossi"));
        QCOMPARE(Controllo<QLabel>(f, "lblEta")->text(), QStringLiteral("30"));
        QCOMPARE(Controllo<QLabel>(f, "lblFCmax")->text(), QStringLiteral("190"));
        principale->ChiudiFinestre();
        QCOMPARE(NomeAtletaCorrente, QStringLiteral("Rossi"));
        f = Apri();
        QCOMPARE(Controllo<QLineEdit>(f, "txtNome")->text(), QStringLiteral("Rossi"));
        // Closing by itself keeps the name too.
        QVERIFY(f->close());
        QCOMPARE(NomeAtletaCorrente, QStringLiteral("Rossi"));
    }

    void ilPesoScrittoVaAllAtletaPrecedente() {
        CreaArchivio({RigaDi("Rossi", Uomo30), RigaDi("Verdi", Donna40)});
        frmCondizione* f = Apri();
        Svuota(Controllo<QLineEdit>(f, "txtPeso"));
        QTest::keyClicks(Controllo<QLineEdit>(f, "txtPeso"), "72");
        emit Controllo<NavigatoreDati>(f, "Data1")->NomeScelto(QStringLiteral("Verdi"));
        QCOMPARE(Controllo<QLineEdit>(f, "txtPeso")->text(), QStringLiteral("60"));
        QCOMPARE(Controllo<QLabel>(f, "lblIMC")->text(), QStringLiteral("20.76"));
        const auto righe = RigheNelFile();
        QCOMPARE(Colonna(righe.at(0), "peso"), QStringLiteral("72"));
        QCOMPARE(Colonna(righe.at(1), "peso"), QStringLiteral("60"));
    }

    void atletaInesistenteLasciaLaSchedaVuota() {
        CreaArchivio({RigaDi("rossi", Uomo30)});
        NomeAtletaCorrente = QStringLiteral("Rossi");
        frmCondizione* f = Apri();
        QVERIFY(f->Legame()->AllaFine());
        QCOMPARE(Controllo<QLineEdit>(f, "txtPeso")->text(), QString());
        QCOMPARE(Controllo<QLabel>(f, "lblFCmax")->text(), QStringLiteral("220"));
        QCOMPARE(Controllo<QLabel>(f, "lblIMC")->text(), QString());
        principale->ChiudiFinestre();
        QCOMPARE(Colonna(RigheNelFile().at(0), "peso"), QStringLiteral("70"));
    }

    // ---- Window ------------------------------------------------------------

    void testiDellaFinestra_data() {
        QTest::addColumn<QString>("lingua");
        QTest::addColumn<QStringList>("testi");  // caption, check box, zone 1, link, FC max, Cooper tip, Karvonen tip
        QTest::newRow("italian") << "italian"
                                 << QStringList{"Scheda condizione",
                                                "Svolge attività fisica",
                                                "molto leggero",
                                                "Range valori",
                                                "  FC max",
                                                "per persone sedentarie o con allenamento scarso",
                                                "per persone con allenamento"};
        QTest::newRow("english") << "english"
                                 << QStringList{"Condition sheet",   "Does physical activity",
                                                "very light",        "BMI ranges",
                                                "  HR max",          "for sedentary or little-trained people",
                                                "for trained people"};
    }
    void testiDellaFinestra() {
        QFETCH(QString, lingua);
        QFETCH(QStringList, testi);
        modLanguageSupport::LinguaCorrente = lingua.toStdString();
        CreaArchivio({RigaDi("Atleta", Uomo30)});
        frmCondizione* f = Apri();
        QCOMPARE(f->property("HelpContextID").toInt(), 720);
        QCOMPARE(f->property("Tag").toString(), QString());
        QCOMPARE(
            (QStringList{f->windowTitle(), Controllo<QCheckBox>(f, "chkAttFis")->text(),
                         Controllo<QLabel>(f, "lblZona5060")->text(), Controllo<QLabel>(f, "Label44")->text(),
                         Controllo<QLabel>(f, "lblTitFCmax")->text(), Controllo<QLabel>(f, "lblKC90100")->toolTip(),
                         Controllo<QLabel>(f, "lblKK5060")->toolTip()}),
            testi);
        for (QLabel* l : Cooper(f) + KcalCooper(f)) QCOMPARE(l->toolTip(), testi[5]);
        for (QLabel* l : Karvonen(f) + KcalKarvonen(f)) QCOMPARE(l->toolTip(), testi[6]);
    }

    // The training length box sits in the gap of its caption, in either language.
    void durataNelloSpazioDellaDidascalia_data() {
        QTest::addColumn<QString>("lingua");
        QTest::newRow("italian") << "italian";
        QTest::newRow("english") << "english";
    }
    void durataNelloSpazioDellaDidascalia() {
        QFETCH(QString, lingua);
        modLanguageSupport::LinguaCorrente = lingua.toStdString();
        CreaArchivio({});
        frmCondizione* f = Apri();
        const QString testo = Controllo<QLabel>(f, "lblDurata")->text();
        const qsizetype inizio = testo.indexOf(QString(13, QLatin1Char(' ')));
        QVERIFY(inizio > 0);
        QVERIFY(testo.endsWith(QLatin1Char(' ')) && !testo.endsWith(QStringLiteral("  ")));
        QCOMPARE(testo.indexOf(QLatin1Char(' '), inizio + 13), testo.size() - 1);  // no 14th blank
        const QFontMetrics fm(Controllo<QLabel>(f, "lblDurata")->font());
        const int x0 = Controllo<QLabel>(f, "lblDurata")->x();
        const QRect box = Controllo<QLineEdit>(f, "txtMin")->geometry();
        QVERIFY(box.left() >= x0 + fm.horizontalAdvance(testo.left(inizio)));
        QVERIFY(box.right() < x0 + fm.horizontalAdvance(testo.left(inizio + 13)));
        QVERIFY(box.width() >= 30);
        QVERIFY(Controllo<QLineEdit>(f, "txtMin")->isVisible());
        QVERIFY(!Controllo<QLineEdit>(f, "txtCavallo")->isVisible() &&
                !Controllo<QLineEdit>(f, "txtBusto")->isVisible());
    }

    void rangeValoriDueVolteUnaSolaTabella() {
        CreaArchivio({RigaDi("Atleta", Uomo30)});
        frmCondizione* f = Apri();
        auto tabelle = [] {
            int n = 0;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (qobject_cast<frmValoriIMC*>(w) && w->isVisible()) ++n;
            return n;
        };
        QCOMPARE(tabelle(), 0);
        QTest::mouseClick(Controllo<QLabel>(f, "Label44"), Qt::LeftButton);
        QCOMPARE(tabelle(), 1);
        QTest::mouseClick(Controllo<QLabel>(f, "Label44"), Qt::LeftButton);
        QCOMPARE(tabelle(), 1);
        // Beside the values it explains, not over them.
        frmValoriIMC* tabella = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* t = qobject_cast<frmValoriIMC*>(w); t && t->isVisible()) tabella = t;
        for (QLabel* valore :
             {Controllo<QLabel>(f, "lblIMC"), Controllo<QLabel>(f, "lblPesoIdeale"),
              Controllo<QLabel>(f, "lblCondizione"), Controllo<QLabel>(f, "lblTra"), Controllo<QLabel>(f, "Label44")})
            QVERIFY2(!tabella->frameGeometry().intersects(QRect(valore->mapToGlobal(QPoint()), valore->size())),
                     qPrintable(valore->objectName()));
        // The sheet goes on: the table does not wait.
        QTest::keyClicks(Controllo<QLineEdit>(f, "txtPeso"), "0");
        QCOMPARE(Controllo<QLineEdit>(f, "txtPeso")->text(), QStringLiteral("700"));
        QCOMPARE(Controllo<QLabel>(f, "lblCondizione")->text(), Messaggio("0026"));
        // Escape closes it.
        tabella->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(tabella));
        QTest::keyClick(tabella, Qt::Key_Escape);
        QCOMPARE(tabelle(), 0);
    }

    // The table goes beside the main window where the screen has room for
    // it, else at the screen's edge on the roomier side, never over the
    // values it explains.
    void laTabellaAccantoAllaFinestra_data() {
        QTest::addColumn<QRect>("schermo");
        QTest::addColumn<QRect>("finestra");
        QTest::addColumn<bool>("fuori");  // room beside the window
        QTest::newRow("wide screen") << QRect(0, 0, 1920, 1080) << QRect(484, 233, 954, 645) << true;
        QTest::newRow("window at the right") << QRect(0, 0, 1920, 1080) << QRect(960, 233, 954, 645) << true;
        QTest::newRow("small screen") << QRect(0, 0, 1280, 800) << QRect(164, 102, 954, 645) << false;
        QTest::newRow("small screen, window at the left") << QRect(0, 0, 1280, 800) << QRect(0, 102, 954, 645) << false;
    }
    void laTabellaAccantoAllaFinestra() {
        QFETCH(QRect, schermo);
        QFETCH(QRect, finestra);
        QFETCH(bool, fuori);
        const QRect valori(finestra.left() + 320, finestra.top() + 205, 500, 75);
        const QSize tabella(404, 306);
        const QRect r(PosizioneFuoriFinestra(tabella, finestra, valori, schermo), tabella);
        QVERIFY(schermo.contains(r));
        QVERIFY(!r.intersects(valori));
        QCOMPARE(!r.intersects(finestra), fuori);
        if (!fuori) {
            QVERIFY(r.bottom() < valori.top());  // over the bar and the inputs, not the zones below
            const bool destra = schermo.right() - finestra.right() >= finestra.left() - schermo.left();
            QCOMPARE(destra ? r.right() : r.left(), destra ? schermo.right() : schermo.left());
        }
    }
};

QTEST_MAIN(TestCondizione)
#include "test_condizione.moc"
