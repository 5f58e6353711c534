#include "StampaFinestra.h"

#include "Calendario.h"
#include "Globali.h"
#include "IdMessaggiArchivio.h"
#include "IdMessaggiStampa.h"
#include "Messaggi.h"
#include "Messaggio.h"
#include "ScritturaFile.h"
#include "Stili.h"
#include "modLanguageSupport.h"

#include <QApplication>
#include <QBuffer>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>

namespace {

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
    s.scegliFilePdf = [](QWidget* finestra, const QString& nomeProposto) {
        QFileDialog dialogo(finestra, Messaggio(msg::SalvaPdf), QString(), Messaggio(msg::FiltroPdf));
        dialogo.setAcceptMode(QFileDialog::AcceptSave);
        dialogo.setDefaultSuffix(QStringLiteral("pdf"));
        QString cartella = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (cartella.isEmpty() || !QFileInfo(cartella).isDir()) cartella = QDir::homePath();
        dialogo.setDirectory(cartella);
        if (!nomeProposto.isEmpty())
            dialogo.selectFile(nomeProposto);
        else if (auto* principale = dynamic_cast<FinestraDaStampare*>(finestra))
            dialogo.selectFile(NomeFilePdf(principale));
        return dialogo.exec() == QDialog::Accepted && !dialogo.selectedFiles().isEmpty()
                   ? dialogo.selectedFiles().first()
                   : QString();
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
    explicit BarraPerStampa(FinestraDaStampare* f) : f_(f) { f_->StatoDiStampa(true); }
    ~BarraPerStampa() { f_->StatoDiStampa(false); }
    BarraPerStampa(const BarraPerStampa&) = delete;
    BarraPerStampa& operator=(const BarraPerStampa&) = delete;

private:
    FinestraDaStampare* f_;
};

// A plain title bar: icon, caption, and the three window buttons, the
// maximize one greyed as the window cannot be resized. Drawn in the window's
// own units (pixels at 96 dpi), with as many picture pixels to the unit as
// the screen has.
constexpr int AltezzaTitolo = 31;

QImage BarraDelTitolo(const QWidget* finestra, int larghezza, qreal rapporto) {
    const int altezza = AltezzaTitolo;
    QImage barra(QSize(larghezza, altezza) * rapporto, QImage::Format_RGB32);
    barra.setDevicePixelRatio(rapporto);
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
    p.drawLine(r - 5, y, r + 5, y);  // minimize
    p.setPen(QPen(QColor(190, 190, 190), 1));
    p.drawRect(QRectF(m - 5, y - 5, 10, 10));  // maximize, not available
    p.setPen(QPen(QColor(0, 0, 0), 1));
    p.drawLine(QPointF(c - 5, y - 5), QPointF(c + 5, y + 5));  // close
    p.drawLine(QPointF(c + 5, y - 5), QPointF(c - 5, y + 5));
    return barra;
}

}  // namespace

const ServiziStampa& ServiziStampaCorrenti() { return Servizi(); }

QString NomeFilePdf(const FinestraDaStampare* finestra) {
    QStringList parti;
    QString titolo = TitoloApplicazione;
    if (QWidget* figlio = finestra->FiglioStampato()) {
        if (const auto* nome = figlio->findChild<QLineEdit*>(QStringLiteral("txtNome"));
            nome && !nome->text().trimmed().isEmpty())
            parti << nome->text().trimmed();
        if (!figlio->windowTitle().trimmed().isEmpty()) titolo = figlio->windowTitle().trimmed();
    }
    const Calendario::Data oggi = Calendario::Servizi().oggi();
    parti << titolo << QDate(oggi.anno, oggi.mese, oggi.giorno).toString(QStringLiteral("yyyy-MM-dd"));
    return NomeFileDaParti(parti);
}

QString NomeFileDaParti(const QStringList& parti) {
    // Characters that some file systems refuse become a dash.
    static const QRegularExpression vietati(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]+"));
    QString nome = parti.join(QStringLiteral(" - "));
    nome.replace(vietati, QStringLiteral("-"));
    return nome + QStringLiteral(".pdf");
}

QString ConEstensionePdf(const QString& file) {
    return file.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive) ? file : file + QStringLiteral(".pdf");
}

void ImpostaServiziStampa(ServiziStampa servizi) {
    ServiziStampa& s = Servizi();
    if (servizi.stampante) s.stampante = std::move(servizi.stampante);
    if (servizi.scegliFilePdf) s.scegliFilePdf = std::move(servizi.scegliFilePdf);
}

QImage ImmagineDaStampare(FinestraDaStampare* stampata) {
    QWidget* finestra = stampata->FinestraStampata();
    QImage contenuto;
    {
        BarraPerStampa barra(stampata);
        stampata->FocusNascosto();
        contenuto = finestra->grab().toImage();
    }
    // On a scaled screen (200 %) the window has more pixels than units: the
    // picture keeps them all and is laid out in units, as the window is.
    const qreal rapporto = contenuto.devicePixelRatio();
    const QSize unita = finestra->size();
    const QImage titolo = BarraDelTitolo(finestra, unita.width(), rapporto);
    QImage immagine(QSize(unita.width() + 2, AltezzaTitolo + unita.height() + 2) * rapporto, QImage::Format_RGB32);
    immagine.setDevicePixelRatio(rapporto);
    immagine.fill(QColor(160, 160, 160));
    {
        QPainter p(&immagine);
        p.drawImage(QRectF(1, 1, unita.width(), AltezzaTitolo), titolo);
        p.drawImage(QRectF(1, 1 + AltezzaTitolo, unita.width(), unita.height()), contenuto);
    }
    // The floating windows printed with it, each with its title bar, to its right.
    const QList<QWidget*> accanto = stampata->FinestreAccanto();
    if (accanto.isEmpty()) return immagine;
    QList<QImage> altre;
    QSize insieme = immagine.deviceIndependentSize().toSize();
    for (QWidget* w : accanto) {
        const QImage dentro = w->grab().toImage();
        QImage con(QSize(w->width() + 2, AltezzaTitolo + w->height() + 2) * rapporto, QImage::Format_RGB32);
        con.setDevicePixelRatio(rapporto);
        con.fill(QColor(160, 160, 160));
        QPainter p(&con);
        p.drawImage(QRectF(1, 1, w->width(), AltezzaTitolo), BarraDelTitolo(w, w->width(), rapporto));
        p.drawImage(QRectF(1, 1 + AltezzaTitolo, w->width(), w->height()), dentro);
        insieme =
            QSize(insieme.width() + 12 + w->width() + 2, std::max(insieme.height(), AltezzaTitolo + w->height() + 2));
        altre << con;
    }
    QImage tutto(insieme * rapporto, QImage::Format_RGB32);
    tutto.setDevicePixelRatio(rapporto);
    tutto.fill(Qt::white);
    QPainter p(&tutto);
    double x = 0;
    for (const QImage& i : QList<QImage>{immagine} + altre) {
        p.drawImage(QPointF(x, 0), i);
        x += i.deviceIndependentSize().width() + 12;
    }
    return tutto;
}

namespace {

// The window's picture at its real size on the page, centred: one unit of
// the window is 1/96 inch on paper, whatever the screen's scale.
bool DisegnaPagina(QPagedPaintDevice& pagina, int risoluzione, const QImage& immagine) {
    QPainter pittore;
    if (!pittore.begin(&pagina)) return false;
    const QRect area = pagina.pageLayout().fullRectPixels(risoluzione);
    // At its real size; smaller when that would not fit the page.
    const QSizeF reale = immagine.deviceIndependentSize() * (risoluzione / 96.0);
    const double riduzione =
        std::min({1.0, area.width() * 0.96 / reale.width(), area.height() * 0.96 / reale.height()});
    const QSizeF dimensione = reale * riduzione;
    const QPointF angolo((area.width() - dimensione.width()) / 2, (area.height() - dimensione.height()) / 2);
    pittore.drawImage(QRectF(angolo, dimensione), immagine);
    return pittore.end();
}

}  // namespace

void StampaFinestra(FinestraDaStampare* stampata) {
    QWidget* finestra = stampata->FinestraStampata();
    const ServiziStampa& servizi = Servizi();
    std::unique_ptr<QPrinter> stampante = servizi.stampante ? servizi.stampante() : nullptr;
    QString filePdf;
    if (!stampante) {
        if (!Chiedi(finestra, Messaggio(msg::NessunaStampante))) return;
        filePdf = servizi.scegliFilePdf(finestra, NomeFilePdf(stampata));
        if (filePdf.isEmpty()) return;
        filePdf = ConEstensionePdf(filePdf);
    }
    const QImage immagine = ImmagineDaStampare(stampata);
    stampata->FocusNascosto();

    if (stampante) {
        stampante->setPageOrientation(QPageLayout::Landscape);
        stampante->setFullPage(true);
        if (!DisegnaPagina(*stampante, stampante->resolution(), immagine))
            MostraMessaggio(finestra, Messaggio(msg::StampaFallita));
        return;
    }
    // The PDF drawn in memory, then written whole: every write checked.
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    bool disegnata;
    {
        QPdfWriter scrittore(&pdf);
        scrittore.setResolution(1200);
        scrittore.setCreator(TitoloApplicazione);
        scrittore.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF()));
        disegnata = DisegnaPagina(scrittore, scrittore.resolution(), immagine);
    }
    QString motivo;
    if (!disegnata) {
        MostraMessaggio(finestra, Messaggio(msg::StampaFallita));
    } else if (!ScriviFileIntero(filePdf, pdf.data(), &motivo)) {
        MostraMessaggio(finestra, Messaggio(msg::FileNonScritto).arg(QDir::toNativeSeparators(filePdf)) +
                                      QStringLiteral("\n\n") + Messaggio(msg::Motivo) + QStringLiteral(": ") + motivo +
                                      QLatin1Char('.'));
    }
}
