#include "StampaFinestra.h"

#include "Globali.h"
#include "Stili.h"
#include "mdi.h"
#include "modLanguageSupport.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

QString Messaggio(const char* id) { return QString::fromStdString(modLanguageSupport::TestoLingua(id)); }

ServiziStampa ServiziPredefiniti() {
    ServiziStampa s;
    s.stampante = []() -> std::unique_ptr<QPrinter> {
        const QPrinterInfo predefinita = QPrinterInfo::defaultPrinter();
        if (predefinita.isNull()) {
            if (QPrinterInfo::availablePrinters().isEmpty()) return nullptr;
            return std::make_unique<QPrinter>(QPrinterInfo::availablePrinters().first(), QPrinter::HighResolution);
        }
        return std::make_unique<QPrinter>(predefinita, QPrinter::HighResolution);
    };
    s.scegliFilePdf = [](QWidget* finestra) {
        return QFileDialog::getSaveFileName(finestra, Messaggio("0062"), CartellaApplicazioneQt(), Messaggio("0063"));
    };
    s.chiedi = [](QWidget* finestra, const QString& domanda) {
        return QMessageBox::question(finestra, TitoloApplicazione, domanda, QMessageBox::Yes | QMessageBox::No) ==
               QMessageBox::Yes;
    };
    s.avvisa = [](QWidget* finestra, const QString& messaggio) {
        QMessageBox::warning(finestra, TitoloApplicazione, messaggio);
    };
    return s;
}

ServiziStampa& Servizi() {
    static ServiziStampa servizi = ServiziPredefiniti();
    return servizi;
}

// The bar in its printout state for as long as this lives.
class BarraPerStampa {
public:
    explicit BarraPerStampa(mdi* f) : f_(f) { Imposta(true); }
    ~BarraPerStampa() {
        Imposta(false);
        f_->ui.Picture2->repaint();
    }
    BarraPerStampa(const BarraPerStampa&) = delete;
    BarraPerStampa& operator=(const BarraPerStampa&) = delete;

private:
    void Imposta(bool stampa) {
        for (QWidget* w : {static_cast<QWidget*>(f_->ui.cmdPrint), static_cast<QWidget*>(f_->ui.cmdHelp),
                           static_cast<QWidget*>(f_->ui.lblInfo), static_cast<QWidget*>(f_->ui.lblDonazione)})
            w->setVisible(!stampa);
        f_->ui.lblCopy->setVisible(stampa);
        f_->ui.lblSito->setVisible(stampa);
    }
    mdi* f_;
};

// A plain title bar: icon, caption, and the three window buttons, the
// maximize one greyed as the window cannot be resized.
QImage BarraDelTitolo(const QWidget* finestra, int larghezza) {
    const int altezza = 31;
    QImage barra(larghezza, altezza, QImage::Format_RGB32);
    barra.fill(QColor(255, 255, 255));
    QPainter p(&barra);
    p.setRenderHint(QPainter::Antialiasing);
    finestra->windowIcon().paint(&p, QRect(8, 7, 17, 17));
    QFont carattere(CarattereDisegno());
    carattere.setPixelSize(12);
    p.setFont(carattere);
    p.setPen(Qt::black);
    p.drawText(QRect(32, 0, larghezza - 180, altezza), Qt::AlignVCenter | Qt::AlignLeft, finestra->windowTitle());
    const int c = larghezza - 23, m = larghezza - 69, r = larghezza - 115, y = altezza / 2;
    p.setPen(QPen(QColor(0, 0, 0), 1));
    p.drawLine(r - 5, y, r + 5, y);                                // minimize
    p.setPen(QPen(QColor(190, 190, 190), 1));
    p.drawRect(QRectF(m - 5, y - 5, 10, 10));                      // maximize, not available
    p.setPen(QPen(QColor(0, 0, 0), 1));
    p.drawLine(QPointF(c - 5, y - 5), QPointF(c + 5, y + 5));     // close
    p.drawLine(QPointF(c + 5, y - 5), QPointF(c - 5, y + 5));
    return barra;
}

}  // namespace

const ServiziStampa& ServiziStampaCorrenti() { return Servizi(); }

void ImpostaServiziStampa(ServiziStampa servizi) {
    ServiziStampa& s = Servizi();
    if (servizi.stampante) s.stampante = std::move(servizi.stampante);
    if (servizi.scegliFilePdf) s.scegliFilePdf = std::move(servizi.scegliFilePdf);
    if (servizi.chiedi) s.chiedi = std::move(servizi.chiedi);
    if (servizi.avvisa) s.avvisa = std::move(servizi.avvisa);
}

QImage ImmagineDaStampare(mdi* finestra) {
    QImage contenuto;
    {
        BarraPerStampa barra(finestra);
        finestra->ui.txtSetfocus->setFocus();
        contenuto = finestra->grab().toImage();
    }
    const QImage titolo = BarraDelTitolo(finestra, contenuto.width());
    // Drawn at the window's own pixel size, one screen pixel per picture pixel.
    QImage immagine(contenuto.width() + 2, titolo.height() + contenuto.height() + 2, QImage::Format_RGB32);
    immagine.setDevicePixelRatio(1.0);
    immagine.fill(QColor(160, 160, 160));
    QPainter p(&immagine);
    p.drawImage(QRect(1, 1, titolo.width(), titolo.height()), titolo);
    p.drawImage(QRect(1, 1 + titolo.height(), contenuto.width() / contenuto.devicePixelRatio(),
                      contenuto.height() / contenuto.devicePixelRatio()),
                contenuto);
    return immagine;
}

void StampaFinestra(mdi* finestra) {
    const ServiziStampa& servizi = Servizi();
    std::unique_ptr<QPrinter> stampante = servizi.stampante ? servizi.stampante() : nullptr;
    if (!stampante) {
        if (!servizi.chiedi(finestra, Messaggio("0060"))) return;
        const QString file = servizi.scegliFilePdf(finestra);
        if (file.isEmpty()) return;
        stampante = std::make_unique<QPrinter>(QPrinter::HighResolution);
        stampante->setOutputFormat(QPrinter::PdfFormat);
        stampante->setOutputFileName(file);
    }
    stampante->setPageOrientation(QPageLayout::Landscape);
    stampante->setFullPage(true);

    const QImage immagine = ImmagineDaStampare(finestra);
    finestra->ui.txtSetfocus->setFocus();

    QPainter pittore;
    bool riuscita = pittore.begin(stampante.get());
    if (riuscita) {
        // One screen pixel is 1/96 inch on paper: the window at its real size, centred.
        const double scala = stampante->resolution() / 96.0;
        const QRect pagina = stampante->pageLayout().fullRectPixels(stampante->resolution());
        const QSizeF dimensione(immagine.width() * scala, immagine.height() * scala);
        const QPointF angolo((pagina.width() - dimensione.width()) / 2, (pagina.height() - dimensione.height()) / 2);
        pittore.drawImage(QRectF(angolo, dimensione), immagine);
        riuscita = pittore.end();
    }
    if (!riuscita) servizi.avvisa(finestra, Messaggio("0061"));
}
