// The pictures drawn when the program is built are the pictures the program
// would draw from their SVG; other sizes are drawn from the SVG.
#include "DisegnoSvg.h"
#include "Globali.h"
#include "ImmagineSvg.h"
#include "ImmaginiDisegnate.h"
#include "Risorse.h"

#include <QtTest>

#include <QSvgRenderer>

#include <algorithm>
#include <cstdlib>

class TestImmagini : public QObject {
    Q_OBJECT

    // What a picture control shows, drawn from the SVG here and now.
    static QImage DalSvg(const QString& risorsa, QSize lati) {
        QSvgRenderer disegno(risorsa);
        return DisegnoSvg(disegno, lati);
    }

    static int Differenza(const QImage& a, const QImage& b) {
        int massima = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x) {
                const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
                massima = std::max({massima, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                    std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
            }
        return massima;
    }

private slots:
    void initTestCase() { InizializzaRisorse(); }

    void disegnateComeDalSvg_data() {
        QTest::addColumn<QString>("risorsa");
        QTest::addColumn<QSize>("lati");
        QTest::newRow("window icon 16") << ":/immagini/icona.svg" << QSize(16, 16);
        QTest::newRow("window icon 32") << ":/immagini/icona.svg" << QSize(32, 32);
        QTest::newRow("print") << ":/immagini/stampa.svg" << QSize(56, 56);
        QTest::newRow("help") << ":/immagini/guida.svg" << QSize(56, 56);
        QTest::newRow("logo") << ":/immagini/logo.svg" << QSize(150, 152);
        QTest::newRow("Italian flag") << ":/immagini/italia.svg" << QSize(64, 64);
        QTest::newRow("British flag") << ":/immagini/regno_unito.svg" << QSize(64, 64);
    }
    void disegnateComeDalSvg() {
        QFETCH(QString, risorsa);
        QFETCH(QSize, lati);
        const QImage* pronta = ImmagineDisegnata(risorsa, lati);
        QVERIFY(pronta);
        QCOMPARE(pronta->size(), lati);
        QVERIFY(Differenza(*pronta, DalSvg(risorsa, lati)) <= 2);
    }

    // A size not drawn ahead: the control draws its SVG, centred.
    void altreMisureDalSvg() {
        QVERIFY(!ImmagineDisegnata(":/immagini/logo.svg", QSize(100, 101)));
        QVERIFY(!ImmagineDisegnata(":/immagini/sagoma.svg", QSize(64, 64)));
        ImmagineSvg controllo;
        controllo.impostaSorgente(":/immagini/logo.svg");
        controllo.resize(100, 101);
        QImage vista(controllo.size(), QImage::Format_ARGB32_Premultiplied);
        vista.fill(Qt::transparent);
        controllo.render(&vista, QPoint(), QRegion(), QWidget::DrawChildren);
        QVERIFY(Differenza(vista, DalSvg(":/immagini/logo.svg", QSize(100, 101))) <= 2);
        QCOMPARE(controllo.sizeHint(), QSvgRenderer(QStringLiteral(":/immagini/logo.svg")).defaultSize());
    }
};

QTEST_MAIN(TestImmagini)
#include "test_immagini.moc"
