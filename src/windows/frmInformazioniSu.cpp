#include "frmInformazioniSu.h"

#include "IdMessaggiChiave.h"
#include "IdMessaggiProgramma.h"
#include "IdMessaggiStampa.h"
#include "IdMessaggiStudio.h"
#include "ui_frmInformazioniSu.h"

#include "Stili.h"

#include "AtletaCorrente.h"
#include "ChiaveArchivio.h"
#include "Collegamenti.h"
#include "DatiStudio.h"
#include "Globali.h"
#include "TraduciForm.h"
#include "frmStudio.h"
#include "modLanguageSupport.h"

#include <QDir>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>

#include <algorithm>

frmInformazioniSu::frmInformazioniSu(QWidget* genitore)
    : QWidget(genitore), ui(std::make_unique<Ui::frmInformazioniSu>()) {
    ui->setupUi(this);
    AdattaCaratteri(this);
    TraduciForm(this);

    ui->lblCopyRightBy->setText(TestoCredito + ParteAnniCredito() + NomeAutore);
    ui->Label5->setText(IndirizzoSito);
    ui->lblIndirizzo->setText(IndirizzoPosta);
    ui->lblIndirizzo->setToolTip(ui->lblIndirizzo->toolTip() + NomeAutore.trimmed());
    ui->lblVersion->setText(QStringLiteral("- ") + ui->lblVersion->text() + QLatin1Char(' ') +
                            QString::number(VersioneMaggiore) + QLatin1Char('.') + QString::number(VersioneMinore) +
                            QLatin1Char('.') + QString::number(VersioneRevisione));
    ui->lblTitle->setText(TitoloApplicazione);
    ui->lblDisclaimer->setText(ui->lblDisclaimer->text() + QLatin1Char(' ') + Messaggio(msg::ValoriIndicativi) +
                               QLatin1Char('\n') + Messaggio(msg::SenzaGaranzia));

    // Sizes are measured in the fonts of the style sheets.
    ensurePolished();
    // Labels that fit their text; the version follows the title on its line.
    for (QLabel* l : {ui->lblTitle, ui->lblVersion, ui->lblCopyRightBy, ui->Label5, ui->lblIndirizzo, ui->Label2})
        l->adjustSize();
    ui->lblVersion->move(ui->lblTitle->geometry().right() + 8,
                         ui->lblTitle->y() + ui->lblTitle->height() - ui->lblVersion->height());
    ui->lblIndirizzo->move(std::max(ui->lblIndirizzo->x(), ui->Label5->geometry().right() + 24), ui->lblIndirizzo->y());
    ui->lblDisclaimer->setFixedHeight(
        std::max(ui->lblDisclaimer->height(), ui->lblDisclaimer->heightForWidth(ui->lblDisclaimer->width())));

    // The licence, and where the archive is: the path on a line of its own,
    // shortened in the middle when it is longer than the box (whole in the
    // tool tip).
    const QString archivio = QDir::toNativeSeparators(PercorsoArchivio);
    const int spazio = ui->lblArchivio->width() - 2 * ui->lblArchivio->margin() - 8;
    // Whether it has a passphrase, on the line below.
    ui->lblArchivio->setText(
        ui->lblArchivio->text() + QLatin1Char('\n') +
        ui->lblArchivio->fontMetrics().elidedText(archivio, Qt::ElideMiddle, spazio) + QLatin1Char('\n') +
        Messaggio(
            chiave::ArchivioProtetto(PercorsoArchivio.isEmpty() ? PercorsoArchivioPredefinito() : PercorsoArchivio)
                ? msg::ConPassphrase
                : msg::SenzaPassphrase));
    ui->lblArchivio->setToolTip(archivio);
    // One below the other under the disclaimer, the donation link below them.
    int sotto = ui->lblDisclaimer->geometry().bottom();
    for (QLabel* l : {ui->lblLicenza, ui->lblArchivio}) {
        l->setFixedHeight((l->wordWrap() ? l->heightForWidth(l->width()) : l->sizeHint().height()) + 6);
        l->move(l->x(), sotto + 12);
        sotto = l->geometry().bottom();
    }
    ui->Label2->move(ui->Label2->x(), std::max(ui->Label2->y(), sotto + 16));

    for (QLabel* l : {ui->Label5, ui->lblIndirizzo, ui->Label2}) l->installEventFilter(this);

    MostraStudio();
    connect(ui->cmdStudio, &QPushButton::clicked, this, [this] {
        if (ApriDatiStudio(this)) MostraStudio();
    });
}

void frmInformazioniSu::MostraStudio() {
    const DatiStudio studio = LeggiDatiStudio();
    // Under the donation link: the logo, then the name and the address; or
    // a line saying where they would go.
    const int y = ui->Label2->geometry().bottom() + 20;
    const int sinistra = ui->lblLicenza->x(), destra = ui->lblLicenza->geometry().right();
    int x = sinistra;
    ui->imgStudio->setVisible(!studio.logo.isNull());
    if (!studio.logo.isNull()) {
        const QPixmap logo =
            QPixmap::fromImage(studio.logo.scaled(QSize(120, 60), Qt::KeepAspectRatio, Qt::SmoothTransformation));
        ui->imgStudio->setPixmap(logo);
        ui->imgStudio->setFixedWidth(logo.width());
        ui->imgStudio->move(sinistra, y);
        x += logo.width() + 12;
    }
    // The button at the right of the row, the text between it and the logo.
    ui->cmdStudio->adjustSize();
    ui->cmdStudio->move(destra - ui->cmdStudio->width() + 1, y);
    QStringList righe{studio.nome, studio.indirizzo};
    righe.removeAll(QString());
    const bool nessuno = righe.isEmpty() && studio.logo.isNull();
    ui->lblStudio->setText(nessuno ? Messaggio(msg::NessunoStudio) : righe.join(QLatin1Char('\n')));
    ui->lblStudio->setStyleSheet(nessuno ? QStringLiteral("color: rgb(90,90,90); background: transparent;")
                                         : QStringLiteral("color: rgb(64,64,64); background: transparent;"));
    ui->lblStudio->setGeometry(x, y, ui->cmdStudio->x() - 12 - x, 10);
    ui->lblStudio->setFixedHeight(std::max(ui->lblStudio->heightForWidth(ui->lblStudio->width()),
                                           studio.logo.isNull() ? 0 : ui->imgStudio->height()));
    ui->lblStudio->setAccessibleName(ui->lblStudio->text());
}

bool frmInformazioniSu::eventFilter(QObject* oggetto, QEvent* evento) {
    if (evento->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(evento)->button() == Qt::LeftButton) {
        if (oggetto == ui->Label5)
            ApriDocumento(this, ui->Label5->text());
        else if (oggetto == ui->Label2)
            ApriDocumento(this, IndirizzoDonazione);
        else if (oggetto == ui->lblIndirizzo)
            ScriviAutore(this, QStringLiteral("?SUBJECT=Tovarin Project - vers."));
    }
    return QWidget::eventFilter(oggetto, evento);
}

frmInformazioniSu::~frmInformazioniSu() = default;
