// Printing the main window: the printout state of the bar on the page, the
// bar back to normal on screen, a PDF when there is no printer, failures told.
#include "CartellaProva.h"
#include "StampaFinestra.h"
#include "frmMain.h"
#include "mdi.h"

#include <QPrinter>
#include <QRegularExpression>
#include <QtTest>

#include <memory>

namespace {

// Pixels of a region that are close to the given colour.
int PixelSimili(const QImage& immagine, const QRect& zona, const QColor& colore) {
    int n = 0;
    for (int y = zona.top(); y <= zona.bottom(); ++y)
        for (int x = zona.left(); x <= zona.right(); ++x) {
            const QColor c = immagine.pixelColor(x, y);
            if (std::abs(c.red() - colore.red()) < 40 && std::abs(c.green() - colore.green()) < 40 &&
                std::abs(c.blue() - colore.blue()) < 40)
                ++n;
        }
    return n;
}

}  // namespace

class TestStampa : public QObject {
    Q_OBJECT
    std::unique_ptr<CartellaProva> cartella;
    std::unique_ptr<mdi> principale;
    QStringList domande, avvisi;
    QString filePdf;
    bool conStampante = false;

private slots:
    void init() {
        cartella = std::make_unique<CartellaProva>();
        domande.clear();
        avvisi.clear();
        filePdf = QString::fromStdString(cartella->file("pagina.pdf").string());
        conStampante = false;
        ImpostaServiziStampa({[this]() -> std::unique_ptr<QPrinter> {
                                  if (!conStampante) return nullptr;
                                  auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
                                  p->setOutputFormat(QPrinter::PdfFormat);
                                  p->setOutputFileName(filePdf);
                                  return p;
                              },
                              [this](QWidget*) { return filePdf; },
                              [this](QWidget*, const QString& d) {
                                  domande << d;
                                  return true;
                              },
                              [this](QWidget*, const QString& a) { avvisi << a; }});
        principale = std::make_unique<mdi>();
        principale->show();
        principale->MostraFiglio(new frmMain);
        QVERIFY(QTest::qWaitForWindowExposed(principale.get()));
        QApplication::processEvents();   // the maximized child settles in the workspace
    }
    void cleanup() {
        principale.reset();
        cartella.reset();
    }

    void laPaginaMostraLaBarraDiStampa() {
        const QImage immagine = ImmagineDaStampare(principale.get());
        // Title bar (31 px) and a 1 px border above the window's contents.
        QCOMPARE(immagine.width(), 952);
        QCOMPARE(immagine.height(), 593 + 31 + 2);
        const int alto = 32;
        const QRect zonaPulsanti(690, alto + 2, 150, 68);   // where Print and Help stand on screen
        const QRect zonaLink(862, alto + 2, 85, 68);        // Info and Donazione
        QVERIFY(PixelSimili(immagine, zonaPulsanti, QColor(255, 128, 0)) > 20);   // the credit text
        QVERIFY(PixelSimili(immagine, zonaPulsanti, QColor(255, 255, 255)) < 200);
        QCOMPARE(PixelSimili(immagine, zonaLink, QColor(255, 255, 255)), 0);
        // On screen the bar is back as it was.
        QVERIFY(principale->ui.cmdPrint->isVisible());
        QVERIFY(principale->ui.cmdHelp->isVisible());
        QVERIFY(principale->ui.lblInfo->isVisible());
        QVERIFY(principale->ui.lblDonazione->isVisible());
        QVERIFY(!principale->ui.lblCopy->isVisible());
        QVERIFY(!principale->ui.lblSito->isVisible());
        // Twice the same screen, twice the same picture.
        const QImage seconda = ImmagineDaStampare(principale.get());
        QRect diversa;
        for (int y = 0; y < immagine.height(); ++y)
            for (int x = 0; x < immagine.width(); ++x)
                if (immagine.pixel(x, y) != seconda.pixel(x, y)) diversa |= QRect(x, y, 1, 1);
        QVERIFY2(diversa.isNull(), qPrintable(QStringLiteral("differs at %1,%2 %3x%4").arg(diversa.x()).arg(diversa.y()).arg(diversa.width()).arg(diversa.height())));
    }

    void senzaStampanteSiSalvaUnPdfOrizzontale() {
        principale->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(principale.get()));
        QTest::mouseClick(principale->ui.cmdPrint, Qt::LeftButton);
        QCOMPARE(domande.size(), 1);
        QVERIFY(avvisi.isEmpty());
        QFile pdf(filePdf);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray dati = pdf.readAll();
        QVERIFY(dati.startsWith("%PDF"));
        QCOMPARE(dati.count("/Type /Page\n") + dati.count("/Type /Page\r") + dati.count("/Type /Page "), 1);
        auto box = QRegularExpression(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]"))
                       .match(QString::fromLatin1(dati));
        QVERIFY(box.hasMatch());
        QVERIFY(box.captured(1).toDouble() > box.captured(2).toDouble());
        QCOMPARE(QApplication::focusWidget(), principale->ui.txtSetfocus);
        QVERIFY(principale->ui.cmdPrint->isVisible());
    }

    void rifiutareIlPdfNonStampaNulla() {
        ImpostaServiziStampa({nullptr, nullptr, [this](QWidget*, const QString& d) {
                                  domande << d;
                                  return false;
                              },
                              nullptr});
        StampaFinestra(principale.get());
        QCOMPARE(domande.size(), 1);
        QVERIFY(!QFile::exists(filePdf));
        QVERIFY(principale->ui.cmdPrint->isVisible());
    }

    void unaStampaFallitaVieneDetta() {
        conStampante = true;
        filePdf = QString::fromStdString(cartella->file("absent/pagina.pdf").string());
        StampaFinestra(principale.get());
        QVERIFY(domande.isEmpty());
        QCOMPARE(avvisi.size(), 1);
        QVERIFY(!avvisi.first().isEmpty());
        QVERIFY(principale->ui.lblInfo->isVisible());
        QVERIFY(!principale->ui.lblCopy->isVisible());
    }
};

QTEST_MAIN(TestStampa)
#include "test_stampa.moc"
