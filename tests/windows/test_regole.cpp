// The field checks of the athlete windows: sex, activity, dates.
#include "ArchivioCsv.h"
#include "Calendario.h"
#include "CartellaProva.h"
#include "Modulo1.h"
#include "RegoleCampi.h"
#include "SupportoArchivio.h"
#include "modLanguageSupport.h"

#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QtTest>

#include <memory>

namespace {

// Types the text into the widget key by key, as a keyboard of the text's
// script does: a character without a key of its own comes as its text.
void Scrivi(QWidget* w, const QString& testo) {
    for (const QChar c : testo) {
        if (c.unicode() < 0x80)
            QTest::keyClick(w, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

}  // namespace

class TestRegole : public QObject {
    Q_OBJECT
    std::unique_ptr<CartellaProva> cartella;

    static constexpr const char* Regioni[] = {"it_IT", "en_US", "de_DE", "ar_EG"};

    // Dates read and written as the locale does, through the program's date
    // services; today is 9 December 2026.
    static void Regione(const QString& nome) {
        const QLocale locale(nome);
        Calendario::ImpostaServizi(
            {[] {
                 return Calendario::Data{2026, 12, 9};
             },
             [locale](std::string_view t) {
                 return LeggiDataRegionale(locale, QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size())));
             },
             [locale](const Calendario::Data& d) { return ScriviDataRegionale(locale, d).toStdString(); }});
    }

    static QComboBox* Combo(QWidget* genitore, std::function<void(QComboBox*)> regola, const QStringList& voci) {
        auto* c = new QComboBox(genitore);
        c->setEditable(true);
        c->addItems(voci);
        c->setEditText(QString());
        QObject::connect(c, &QComboBox::editTextChanged, c, [c, regola] { regola(c); });
        return c;
    }

private slots:
    void init() {
        cartella = std::make_unique<CartellaProva>();
        modLanguageSupport::LinguaCorrente = "italian";
    }
    void cleanup() { cartella.reset(); }

    void attivitaTradottaOSvuotata_data() {
        QTest::addColumn<QString>("lingua");
        QTest::addColumn<QString>("salvata");
        QTest::addColumn<QString>("mostrata");
        // clang-format off
        QTest::newRow("English word under Italian") << "italian" << "moderate" << "moderata";
        QTest::newRow("light under Italian") << "italian" << "light" << "leggera";
        QTest::newRow("Italian word under English") << "english" << "moderata" << "moderate";
        QTest::newRow("intensa under English") << "english" << "intensa" << "strong";
        QTest::newRow("capital letter") << "italian" << "Moderata" << "";
        QTest::newRow("capital letter in English") << "english" << "Moderata" << "";
        QTest::newRow("own language kept") << "english" << "light" << "light";
        QTest::newRow("anything else") << "italian" << "sedentaria" << "";
        QTest::newRow("empty stays") << "italian" << "" << "";
        QTest::newRow("another language name: Italian, not translated") << "English" << "moderate" << "";
        // clang-format on
    }
    void attivitaTradottaOSvuotata() {
        QFETCH(QString, lingua);
        QFETCH(QString, salvata);
        QFETCH(QString, mostrata);
        modLanguageSupport::LinguaCorrente = lingua.toStdString();
        QWidget w;
        QComboBox* c = Combo(&w, ControllaAttivita, TestiAttivita());
        c->setEditText(salvata);
        QCOMPARE(c->currentText(), mostrata);
    }

    // The date each regional form reads, or none; a two-digit year always
    // takes the program's window of years, 1930 to 2029.
    void dateRegionali_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QString>("data");
        // clang-format off
        QTest::newRow("it day first") << "it_IT" << "20/12/1990" << "1990-12-20";
        QTest::newRow("it dashes") << "it_IT" << "20-12-1990" << "1990-12-20";
        QTest::newRow("it dots") << "it_IT" << "20.12.1990" << "1990-12-20";
        QTest::newRow("it short year") << "it_IT" << "20/12/90" << "1990-12-20";
        QTest::newRow("it short year 05") << "it_IT" << "01/02/05" << "2005-02-01";
        QTest::newRow("it short year 29") << "it_IT" << "01/02/29" << "2029-02-01";
        QTest::newRow("it short year 30") << "it_IT" << "01/02/30" << "1930-02-01";
        QTest::newRow("it 31 February") << "it_IT" << "31/02/1990" << "";
        QTest::newRow("it 29 February of a leap year") << "it_IT" << "29/02/2000" << "2000-02-29";
        QTest::newRow("it month first") << "it_IT" << "12/20/1990" << "";
        QTest::newRow("it words") << "it_IT" << "ieri" << "";
        QTest::newRow("us month first") << "en_US" << "12/20/1990" << "1990-12-20";
        QTest::newRow("us short year") << "en_US" << "01/02/05" << "2005-01-02";
        QTest::newRow("us day first") << "en_US" << "20/12/1990" << "";
        QTest::newRow("de dots") << "de_DE" << "20.12.1990" << "1990-12-20";
        QTest::newRow("de short year") << "de_DE" << "01.02.05" << "2005-02-01";
        QTest::newRow("jp year first") << "ja_JP" << "1990/12/20" << "1990-12-20";
        // Read by Qt's own parser (the numbers alone do not make it): its
        // two-digit year still takes the program's window.
        QTest::newRow("ko short year 05") << "ko_KR" << "05. 2. 1." << "2005-02-01";
        QTest::newRow("ko short year 29") << "ko_KR" << "29. 2. 1." << "2029-02-01";
        QTest::newRow("ko short year 90") << "ko_KR" << "90. 12. 20." << "1990-12-20";
        // The region's own digits, with or without its direction marks, and
        // the plain ones.
        QTest::newRow("eg own form") << "ar_EG" << "\u0663\u0661\u200F/\u0661\u0662\u200F/\u0661\u0669\u0669\u0660" << "1990-12-31";
        QTest::newRow("eg no marks") << "ar_EG" << "\u0663\u0661/\u0661\u0662/\u0661\u0669\u0669\u0660" << "1990-12-31";
        QTest::newRow("eg plain digits") << "ar_EG" << "31/12/1990" << "1990-12-31";
        QTest::newRow("eg 31 February") << "ar_EG" << "\u0663\u0661/\u0660\u0662/\u0661\u0669\u0669\u0660" << "";
        QTest::newRow("ir own digits") << "fa_IR" << "\u06F1\u06F9\u06F9\u06F0/\u06F1\u06F2/\u06F3\u06F1" << "1990-12-31";
        // clang-format on
    }
    void dateRegionali() {
        QFETCH(QString, locale);
        QFETCH(QString, testo);
        QFETCH(QString, data);
        const auto letta = LeggiDataRegionale(QLocale(locale), testo);
        const QString comeTesto =
            letta ? QDate(letta->anno, letta->mese, letta->giorno).toString(Qt::ISODate) : QString();
        QCOMPARE(comeTesto, data);
    }

    // A date means one day under every regional setting: imported from ISO
    // under one region, it is stored as the same text under each, and read
    // under any other it gives the same age and the same CSV.
    void unGiornoInOgniRegione_data() {
        QTest::addColumn<QString>("importata");
        QTest::addColumn<QString>("letta");
        for (const char* a : Regioni)
            for (const char* b : Regioni)
                QTest::newRow(qPrintable(QStringLiteral("%1 then %2").arg(QLatin1String(a), QLatin1String(b))))
                    << QString::fromLatin1(a) << QString::fromLatin1(b);
    }
    void unGiornoInOgniRegione() {
        QFETCH(QString, importata);
        QFETCH(QString, letta);
        Regione(importata);
        const std::string csv = archivio::TestoCsv(
            {prova::RigaDi("Rossi", {{"datanascita", "1990-12-31"}, {"Scadenza", "2027-01-05"}})},
            archivio::FormatoCsv::PerDecimale(QLocale(importata).decimalPoint() == QLatin1String(",") ? ',' : '.'));
        const auto lettura = archivio::LeggiCsv(csv);
        QCOMPARE(lettura.righe.size(), std::size_t(1));
        const archivio::Riga riga = lettura.righe[0];
        QCOMPARE(QString::fromStdString(prova::CampoDi(riga, "datanascita")), QStringLiteral("1990-12-31"));
        QCOMPARE(QString::fromStdString(prova::CampoDi(riga, "Scadenza")), QStringLiteral("2027-01-05"));

        Regione(letta);
        Modulo1::ValoriCondizione valori;
        QCOMPARE(QString::fromStdString(Modulo1::CalcolaEta(prova::CampoDi(riga, "datanascita"), valori)),
                 QStringLiteral("35"));
        QCOMPARE(valori.EtaAnni, 35.0);
        const std::string esportata = archivio::TestoCsv({riga}, archivio::FormatoCsv::PerDecimale('.'));
        QVERIFY(esportata.find(",\"1990-12-31\",") != std::string::npos);
        QVERIFY(esportata.find(",\"2027-01-05\",") != std::string::npos);
    }

    // A CSV date in the region's own form, its own digits included, is read
    // with its year in full and stored as ISO; a two-digit year is refused
    // in any digits.
    void csvNelleCifreDellaRegione() {
        Regione(QStringLiteral("ar_EG"));
        const std::string modello = archivio::TestoCsv({prova::RigaDi("Rossi", {{"datanascita", "DATA"}})},
                                                       archivio::FormatoCsv::PerDecimale('.'));
        const auto conData = [&modello](const QString& data) {
            std::string t = modello;
            return t.replace(t.find("DATA"), 4, data.toStdString());
        };
        const auto piena =
            archivio::LeggiCsv(conData(ScriviDataRegionale(QLocale(QStringLiteral("ar_EG")), {1990, 12, 31})));
        QCOMPARE(piena.rifiutate.size(), std::size_t(0));
        QCOMPARE(piena.righe.size(), std::size_t(1));
        QCOMPARE(QString::fromStdString(prova::CampoDi(piena.righe[0], "datanascita")), QStringLiteral("1990-12-31"));
        const auto breve = archivio::LeggiCsv(conData(QStringLiteral("\u0663\u0661/\u0661\u0662/\u0669\u0660")));
        QCOMPARE(breve.rifiutate.size(), std::size_t(1));
        QCOMPARE(breve.rifiutate[0].motivo, archivio::Rifiuto::DataAnnoBreve);
    }

    // What the earlier releases stored (under Italian settings: day first)
    // reads as that day under every region, in the age and in the CSV.
    void vecchiaDataGiornoPrima_data() {
        QTest::addColumn<QString>("regione");
        QTest::addColumn<QString>("memorizzata");
        QTest::addColumn<QString>("iso");
        QTest::addColumn<QString>("eta");
        for (const char* r : Regioni) {
            const QString regione = QString::fromLatin1(r);
            // clang-format off
            QTest::newRow(qPrintable(regione + " 31/12/1990")) << regione << "31/12/1990" << "1990-12-31" << "35";
            QTest::newRow(qPrintable(regione + " 7/4/1990")) << regione << "7/4/1990" << "1990-04-07" << "36";
            QTest::newRow(qPrintable(regione + " 10/12/1990")) << regione << "10/12/1990" << "1990-12-10" << "35";
            QTest::newRow(qPrintable(regione + " 09/12/1990")) << regione << "09/12/1990" << "1990-12-09" << "36";
            QTest::newRow(qPrintable(regione + " German dots")) << regione << "10.12.1990" << "1990-12-10" << "35";
            QTest::newRow(qPrintable(regione + " short year")) << regione << "7/4/90" << "1990-04-07" << "36";
            QTest::newRow(qPrintable(regione + " US month first")) << regione << "12/31/1990" << "1990-12-31" << "35";
            QTest::newRow(qPrintable(regione + " Arabic digits"))
                << regione << "\u0663\u0661\u200F/\u0661\u0662\u200F/\u0661\u0669\u0669\u0660" << "1990-12-31" << "35";
            QTest::newRow(qPrintable(regione + " no date")) << regione << "ieri" << "ieri" << "";
            QTest::newRow(qPrintable(regione + " 31 February")) << regione << "31/02/1990" << "31/02/1990" << "";
            // clang-format on
        }
    }
    void vecchiaDataGiornoPrima() {
        QFETCH(QString, regione);
        QFETCH(QString, memorizzata);
        QFETCH(QString, iso);
        QFETCH(QString, eta);
        Regione(regione);
        Modulo1::ValoriCondizione valori;
        QCOMPARE(QString::fromStdString(Modulo1::CalcolaEta(memorizzata.toStdString(), valori)), eta);
        archivio::Riga riga = prova::RigaDi("Rossi", {{"datanascita", memorizzata.toStdString()}});
        const std::string esportata = archivio::TestoCsv({riga}, archivio::FormatoCsv::PerDecimale('.'));
        QVERIFY2(esportata.find((",\"" + iso + "\",").toStdString()) != std::string::npos, esportata.c_str());
    }

    // The date check in each regional form: a text that is no date is wiped
    // on leaving the box; a date in the region's form, or ISO, stays.
    void laDataSbagliataSiCancellaLasciandoLaCasella_data() {
        QTest::addColumn<QString>("regione");
        QTest::addColumn<QString>("sbagliata");
        // clang-format off
        QTest::newRow("it_IT") << "it_IT" << "31/02/1990";
        QTest::newRow("en_US") << "en_US" << "2/31/1990";
        QTest::newRow("de_DE") << "de_DE" << "31.02.1990";
        QTest::newRow("ar_EG") << "ar_EG" << "\u0663\u0661\u200F/\u0662\u200F/\u0661\u0669\u0669\u0660";
        // clang-format on
    }
    void laDataSbagliataSiCancellaLasciandoLaCasella() {
        QFETCH(QString, regione);
        QFETCH(QString, sbagliata);
        Regione(regione);
        const QString giusta = ScriviDataRegionale(QLocale(regione), {1990, 12, 20});
        QWidget w;
        auto* data = new QLineEdit(&w);
        auto* altro = new QLineEdit(&w);
        ApplicaControllaData(data, nullptr);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        for (auto [testo, resta] : {std::pair{sbagliata, QString()}, std::pair{giusta, giusta},
                                    std::pair{QStringLiteral("1990-12-20"), QStringLiteral("1990-12-20")},
                                    std::pair{QStringLiteral("ieri"), QString()}, std::pair{QString(), QString()}}) {
            data->setFocus();
            QTRY_VERIFY(data->hasFocus());
            data->selectAll();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
            Scrivi(QApplication::focusWidget(), testo);
            QCOMPARE(data->text(), testo);  // while typed, the text stays
            altro->setFocus();
            QTRY_VERIFY(altro->hasFocus());
            QCOMPARE(data->text(), resta);
        }
        // A text the coach did not type (a stored one that reads as no date)
        // stays as it is.
        data->setText(QStringLiteral("12/31/2027 ieri"));
        data->setFocus();
        QTRY_VERIFY(data->hasFocus());
        altro->setFocus();
        QTRY_VERIFY(altro->hasFocus());
        QCOMPARE(data->text(), QStringLiteral("12/31/2027 ieri"));
    }
};

QTEST_MAIN(TestRegole)
#include "test_regole.moc"
