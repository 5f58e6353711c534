// The field checks of the athlete windows: sex, activity, dates.
#include "Calendario.h"
#include "CartellaProva.h"
#include "RegoleCampi.h"
#include "modLanguageSupport.h"

#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QtTest>

#include <memory>

class TestRegole : public QObject {
    Q_OBJECT
    std::unique_ptr<CartellaProva> cartella;

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

    void laDataSbagliataSiCancellaLasciandoLaCasella() {
        Calendario::ImpostaServizi({nullptr, [](std::string_view t) {
                                        return LeggiDataRegionale(QLocale(QStringLiteral("it_IT")),
                                                                  QString::fromStdString(std::string(t)));
                                    }});
        QWidget w;
        auto* data = new QLineEdit(&w);
        auto* altro = new QLineEdit(&w);
        ApplicaControllaData(data, nullptr);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        for (auto [testo, resta] :
             {std::pair{"31/02/1990", ""}, std::pair{"20/12/1990", "20/12/1990"}, std::pair{"", ""}}) {
            data->setFocus();
            QTRY_VERIFY(data->hasFocus());
            data->selectAll();
            QTest::keyClick(data, Qt::Key_Delete);
            QTest::keyClicks(data, QLatin1String(testo));
            QCOMPARE(data->text(), QLatin1String(testo));  // while typed, the text stays
            altro->setFocus();
            QCOMPARE(data->text(), QLatin1String(resta));
        }
        // A date the coach did not type (a stored one, readable only under
        // other regional settings) stays as it is.
        data->setText(QStringLiteral("12/31/2027"));
        data->setFocus();
        QTRY_VERIFY(data->hasFocus());
        altro->setFocus();
        QTRY_VERIFY(altro->hasFocus());
        QCOMPARE(data->text(), QStringLiteral("12/31/2027"));
    }
};

QTEST_MAIN(TestRegole)
#include "test_regole.moc"
