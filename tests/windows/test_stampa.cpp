// Printing the main window: the printout state of the bar on the page, the
// bar back to normal on screen, the same page at any screen scale, a PDF when
// there is no printer, failures told. The athlete's report: the studio at
// its head, the file name its save dialog proposes.
#include "Calendario.h"
#include "CartellaProva.h"
#include "Controlli.h"
#include "DatiStudio.h"
#include "Messaggi.h"
#include "ReportAtleta.h"
#include "StampaFinestra.h"
#include "Stili.h"
#include "SupportoArchivio.h"
#include "frmMain.h"
#include "mdi.h"
#include "modLanguageSupport.h"

#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
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

const Calendario::Data Oggi{2024, 6, 1};

// The program with its home window, printed to a PDF file: what the scale
// test runs in a process of its own, at the screen scale it is given.
int StampaSuPdf(const QString& pdf) {
    Calendario::ImpostaServizi({[] { return Oggi; }, nullptr});
    ImpostaCaratteri();
    CartellaProva cartella;
    ImpostaServiziStampa({[pdf]() -> std::unique_ptr<QPrinter> {
                              auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
                              p->setOutputFormat(QPrinter::PdfFormat);
                              p->setOutputFileName(pdf);
                              return p;
                          },
                          nullptr});
    ImpostaGestoreMessaggi([](QWidget*, const QString&, const QString&, QMessageBox::StandardButtons) {
        QCoreApplication::exit(2);
        return QMessageBox::Ok;
    });
    mdi principale;
    principale.show();
    principale.MostraFiglio(new frmMain);
    if (!QTest::qWaitForWindowExposed(&principale)) return 3;
    StampaFinestra(&principale);
    return QFileInfo(pdf).size() > 0 ? 0 : 4;
}

// The page of a PDF file as a picture, at 40 dots per inch.
QImage Pagina(const QString& pdf) {
    const QString base = pdf.chopped(4);
    QProcess rendi;
    rendi.start(QStringLiteral("pdftoppm"), {"-r", "40", "-png", "-singlefile", pdf, base});
    if (!rendi.waitForStarted() || !rendi.waitForFinished(60000)) return {};
    return QImage(base + ".png").convertToFormat(QImage::Format_RGB32);
}

// The rectangle of the page that is not white.
QRect Disegnato(const QImage& pagina) {
    QRect r;
    for (int y = 0; y < pagina.height(); ++y)
        for (int x = 0; x < pagina.width(); ++x)
            if (qGray(pagina.pixel(x, y)) < 245) r |= QRect(x, y, 1, 1);
    return r;
}

// The text of a PDF file, as pdftotext gives it.
QString TestoPdf(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    if (!p.waitForStarted() || !p.waitForFinished(60000)) return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

// How many pictures a PDF file holds, as pdfimages lists them.
int ImmaginiPdf(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
    if (!p.waitForStarted() || !p.waitForFinished(60000)) return -1;
    // Two lines of heading, then one line a picture (a mask is one more).
    int n = 0;
    for (const QByteArray& riga : p.readAllStandardOutput().split('\n').mid(2))
        if (!riga.trimmed().isEmpty() && !riga.contains(" smask ")) ++n;
    return n;
}

}  // namespace

class TestStampa : public QObject {
    Q_OBJECT
    std::unique_ptr<CartellaProva> cartella;
    std::unique_ptr<mdi> principale;
    QStringList domande, avvisi;
    bool rispondiSi = true;
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
                              [this](QWidget*) { return filePdf; }});
        rispondiSi = true;
        ImpostaGestoreMessaggi([this](QWidget*, const QString&, const QString& testo, QMessageBox::StandardButtons p) {
            if (!p.testFlag(QMessageBox::Yes)) {
                avvisi << testo;
                return QMessageBox::Ok;
            }
            domande << testo;
            return rispondiSi ? QMessageBox::Yes : QMessageBox::No;
        });
        principale = std::make_unique<mdi>();
        principale->show();
        principale->MostraFiglio(new frmMain);
        QVERIFY(QTest::qWaitForWindowExposed(principale.get()));
        QApplication::processEvents();  // the maximized child settles in the workspace
    }
    void cleanup() {
        principale.reset();
        cartella.reset();
    }

    // The report's head names the studio, its address and its logo as the
    // coach saved them, on both pages, and the program at the foot; without
    // them, the program's name alone, and never an address that is not the
    // coach's.
    void reportConLoStudio_data() {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("indirizzo");
        QTest::addColumn<bool>("logo");
        QTest::newRow("none") << QString() << QString() << false;
        QTest::newRow("name") << "Studio Biomeccanico Rossi" << QString() << false;
        QTest::newRow("name and address") << "Studio Biomeccanico Rossi"
                                          << "Via Roma 1, 31100 Treviso \u00b7 0422 123456" << false;
        QTest::newRow("all") << "Studio Biomeccanico Rossi"
                             << "Via Roma 1, 31100 Treviso" << true;
        QTest::newRow("logo alone") << QString() << QString() << true;
    }
    void reportConLoStudio() {
        QFETCH(QString, nome);
        QFETCH(QString, indirizzo);
        QFETCH(bool, logo);
        modLanguageSupport::LinguaCorrente = "italian";
        QImage immagine;
        if (logo) {
            immagine = QImage(300, 100, QImage::Format_RGB32);
            immagine.fill(QColor(0, 90, 160));
        }
        QVERIFY(SalvaDatiStudio({nome, indirizzo, immagine}, nullptr));
        const QString pdf = QString::fromStdString(cartella->file("report.pdf").string());
        archivio::TestAtleta prova;
        prova.data = "2024-05-01";
        prova.ftp = "250";
        QVERIFY(ScriviReportPdf(prova::RigaDi("Rossi Mario"), pdf, nullptr, {}, {prova}));
        const QString testo = TestoPdf(pdf);
        QVERIFY2(!testo.contains(QStringLiteral("example.org")), qPrintable(testo));
        const QStringList pagine = testo.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
        QCOMPARE(pagine.size(), 2);
        for (const QString& pagina : pagine) {
            if (nome.isEmpty()) {
                QCOMPARE(pagina.count(QStringLiteral("Tovarin Project")), 1);
            } else {
                QVERIFY2(pagina.contains(nome), qPrintable(pagina));
                QVERIFY2(pagina.contains(QStringLiteral("Tovarin Project")), qPrintable(pagina));  // at the foot
            }
            if (!indirizzo.isEmpty()) QVERIFY2(pagina.simplified().contains(indirizzo), qPrintable(pagina));
        }
        QCOMPARE(ImmaginiPdf(pdf) > 0, logo);
    }

    // Without a printer the report's save dialog proposes the athlete, the
    // report and the date; a name chosen without ".pdf" gets it; a file that
    // cannot be written is said so, with the file and the reason.
    void reportSalvatoConIlNomeProposto_data() {
        QTest::addColumn<QString>("lingua");
        QTest::addColumn<QString>("atleta");
        QTest::addColumn<QString>("proposto");
        QTest::newRow("italian") << "italian"
                                 << "Rossi Mario"
                                 << "Rossi Mario - Scheda dell'atleta - 2024-06-01.pdf";
        QTest::newRow("english") << "english"
                                 << "Rossi Mario"
                                 << "Rossi Mario - Athlete report - 2024-06-01.pdf";
        QTest::newRow("a slash") << "english"
                                 << "Rossi/Bianchi"
                                 << "Rossi-Bianchi - Athlete report - 2024-06-01.pdf";
        QTest::newRow("no name") << "english"
                                 << ""
                                 << "Athlete report - 2024-06-01.pdf";
    }
    void reportSalvatoConIlNomeProposto() {
        QFETCH(QString, lingua);
        QFETCH(QString, atleta);
        QFETCH(QString, proposto);
        Calendario::ImpostaServizi({[] { return Oggi; }, nullptr});
        modLanguageSupport::LinguaCorrente = lingua.toStdString();
        QString nomeProposto;
        const QString scelto = QString::fromStdString(cartella->file("scelto").string());
        ImpostaServiziStampa({[] { return std::unique_ptr<QPrinter>(); },
                              [&](QWidget*, const QString& nome) {
                                  nomeProposto = nome;
                                  return scelto;
                              }});
        StampaReportAtleta(principale.get(), prova::RigaDi(atleta.toStdString()));
        QCOMPARE(domande.size(), 1);  // no printer: save as PDF?
        QCOMPARE(nomeProposto, proposto);
        QVERIFY(QFileInfo::exists(scelto + ".pdf"));
        QVERIFY(!QFileInfo::exists(scelto));
        QVERIFY(avvisi.isEmpty());

        // A folder that is not there.
        const QString altrove = QString::fromStdString((cartella->file("manca") / "report.pdf").string());
        ImpostaServiziStampa({nullptr, [&](QWidget*, const QString&) { return altrove; }});
        StampaReportAtleta(principale.get(), prova::RigaDi(atleta.toStdString()));
        QCOMPARE(avvisi.size(), 1);
        QVERIFY2(avvisi[0].contains(altrove) && avvisi[0].contains(lingua == "english" ? "Reason: " : "Motivo: "),
                 qPrintable(avvisi[0]));
    }

    void laPaginaMostraLaBarraDiStampa() {
        const QImage immagine = ImmagineDaStampare(principale.get());
        // Title bar (31 px) and a 1 px border above the window's contents.
        QCOMPARE(immagine.width(), 952);
        QCOMPARE(immagine.height(), 593 + 31 + 2);
        const int alto = 32;
        const QRect zonaPulsanti(690, alto + 2, 150, 68);                        // where Print and Help stand on screen
        const QRect zonaLink(862, alto + 2, 85, 68);                             // Info and Donazione
        QVERIFY(PixelSimili(immagine, zonaPulsanti, QColor(255, 128, 0)) > 20);  // the credit text
        QVERIFY(PixelSimili(immagine, zonaPulsanti, QColor(255, 255, 255)) < 200);
        QCOMPARE(PixelSimili(immagine, zonaLink, QColor(255, 255, 255)), 0);
        // On screen the bar is back as it was.
        QVERIFY(Controllo<QPushButton>(principale, "cmdPrint")->isVisible());
        QVERIFY(Controllo<QPushButton>(principale, "cmdHelp")->isVisible());
        QVERIFY(Controllo<QLabel>(principale, "lblInfo")->isVisible());
        QVERIFY(Controllo<QLabel>(principale, "lblDonazione")->isVisible());
        QVERIFY(!Controllo<QLabel>(principale, "lblCopy")->isVisible());
        QVERIFY(!Controllo<QLabel>(principale, "lblSito")->isVisible());
        // Twice the same screen, twice the same picture.
        const QImage seconda = ImmagineDaStampare(principale.get());
        QRect diversa;
        for (int y = 0; y < immagine.height(); ++y)
            for (int x = 0; x < immagine.width(); ++x)
                if (immagine.pixel(x, y) != seconda.pixel(x, y)) diversa |= QRect(x, y, 1, 1);
        QVERIFY2(diversa.isNull(), qPrintable(QStringLiteral("differs at %1,%2 %3x%4")
                                                  .arg(diversa.x())
                                                  .arg(diversa.y())
                                                  .arg(diversa.width())
                                                  .arg(diversa.height())));
    }

    // On a screen at 150 % or 200 % the page is the one printed at 100 %: the
    // whole window, landscape, centred, the same size on paper.
    void laPaginaNonDipendeDallaScala() {
        QImage pagine[3];
        const char* scale[] = {"1", "1.5", "2"};
        for (int i = 0; i < 3; ++i) {
            const QString pdf =
                QString::fromStdString(cartella->file(std::string("scala") + scale[i] + ".pdf").string());
            QProcess stampa;
            QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
            ambiente.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
            ambiente.insert(QStringLiteral("QT_SCALE_FACTOR"), QLatin1String(scale[i]));
            ambiente.insert(QStringLiteral("TOVARIN_STAMPA_PDF"), pdf);
            stampa.setProcessEnvironment(ambiente);
            stampa.start(QCoreApplication::applicationFilePath(), {});
            QVERIFY(stampa.waitForFinished(60000));
            QCOMPARE(stampa.exitCode(), 0);
            pagine[i] = Pagina(pdf);
            QVERIFY2(!pagine[i].isNull(), "pdftoppm (Debian package poppler-utils) renders the page");
        }
        const QImage& riferimento = pagine[0];
        QVERIFY(riferimento.width() > riferimento.height());
        const QRect finestra = Disegnato(riferimento);
        // 952 x 626 units of the window at 96 per inch, at 40 dots per inch.
        QVERIFY2(std::abs(finestra.width() - 397) <= 2 && std::abs(finestra.height() - 261) <= 2,
                 qPrintable(QStringLiteral("%1x%2").arg(finestra.width()).arg(finestra.height())));
        QVERIFY(std::abs(finestra.left() - (riferimento.width() - 1 - finestra.right())) <= 2);
        QVERIFY(std::abs(finestra.top() - (riferimento.height() - 1 - finestra.bottom())) <= 2);
        for (int i = 1; i < 3; ++i) {
            QCOMPARE(pagine[i].size(), riferimento.size());
            const QRect r = Disegnato(pagine[i]);
            QVERIFY2((r.topLeft() - finestra.topLeft()).manhattanLength() <= 2 &&
                         (r.bottomRight() - finestra.bottomRight()).manhattanLength() <= 2,
                     scale[i]);
            // The same picture, up to the finer drawing of a finer screen.
            qint64 differenza = 0;
            for (int y = finestra.top(); y <= finestra.bottom(); ++y)
                for (int x = finestra.left(); x <= finestra.right(); ++x)
                    differenza += std::abs(qGray(pagine[i].pixel(x, y)) - qGray(riferimento.pixel(x, y)));
            const double media = double(differenza) / (finestra.width() * finestra.height());
            QVERIFY2(media < 8, qPrintable(QStringLiteral("%1: %2").arg(scale[i]).arg(media)));
        }
    }

    void senzaStampanteSiSalvaUnPdfOrizzontale() {
        principale->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(principale.get()));
        QTest::mouseClick(Controllo<QPushButton>(principale, "cmdPrint"), Qt::LeftButton);
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
        QCOMPARE(QApplication::focusWidget(), Controllo<QLineEdit>(principale, "txtSetfocus"));
        QVERIFY(Controllo<QPushButton>(principale, "cmdPrint")->isVisible());
        // Ctrl+P does the same.
        QTest::keyClick(principale.get(), Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(domande.size(), 2);
    }

    // The PDF file is offered as athlete, window and date; ".pdf" is added to a
    // name without it; a file that cannot be written is reported as such.
    void nomeEFileDelPdf() {
        Calendario::ImpostaServizi({[] { return Oggi; }, nullptr});
        QCOMPARE(NomeFilePdf(principale.get()), QStringLiteral("Tovarin Project - 2024-06-01.pdf"));
        auto* scheda = new QWidget;
        scheda->setWindowTitle(QStringLiteral(" Scheda assetto"));
        (new QLineEdit(QStringLiteral("Rossi/Mario "), scheda))->setObjectName(QStringLiteral("txtNome"));
        principale->ChiudiFinestre();
        principale->MostraFiglio(scheda);
        QCOMPARE(NomeFilePdf(principale.get()), QStringLiteral("Rossi-Mario - Scheda assetto - 2024-06-01.pdf"));

        filePdf = QString::fromStdString(cartella->file("pagina").string());
        StampaFinestra(principale.get());
        QVERIFY(avvisi.isEmpty());
        QVERIFY(QFileInfo(filePdf + ".pdf").size() > 0);
        QCOMPARE(QFile::permissions(filePdf + ".pdf") & ~(QFile::ReadUser | QFile::WriteUser),
                 QFile::ReadOwner | QFile::WriteOwner);  // the coach's alone

        filePdf = QString::fromStdString(cartella->file("manca/pagina.pdf").string());
        StampaFinestra(principale.get());
        QCOMPARE(avvisi.size(), 1);
        QVERIFY2(avvisi[0].contains(QDir::toNativeSeparators(filePdf)), qPrintable(avvisi[0]));
        QVERIFY(!avvisi[0].contains(QStringLiteral("stampante")));
    }

    void rifiutareIlPdfNonStampaNulla() {
        rispondiSi = false;
        StampaFinestra(principale.get());
        QCOMPARE(domande.size(), 1);
        QVERIFY(!QFile::exists(filePdf));
        QVERIFY(Controllo<QPushButton>(principale, "cmdPrint")->isVisible());
    }

    void unaStampaFallitaVieneDetta() {
        conStampante = true;
        filePdf = QString::fromStdString(cartella->file("absent/pagina.pdf").string());
        StampaFinestra(principale.get());
        QVERIFY(domande.isEmpty());
        QCOMPARE(avvisi.size(), 1);
        QVERIFY(!avvisi.first().isEmpty());
        QVERIFY(Controllo<QLabel>(principale, "lblInfo")->isVisible());
        QVERIFY(!Controllo<QLabel>(principale, "lblCopy")->isVisible());
    }
};

int main(int argc, char** argv) {
    QApplication applicazione(argc, argv);
    if (const QString pdf = qEnvironmentVariable("TOVARIN_STAMPA_PDF"); !pdf.isEmpty()) return StampaSuPdf(pdf);
    TestStampa prova;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&prova, argc, argv);
}
#include "test_stampa.moc"
