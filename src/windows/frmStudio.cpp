#include "frmStudio.h"

#include "IdMessaggiArchivio.h"
#include "IdMessaggiStudio.h"
#include "ui_frmStudio.h"

#include "DatiArchivio.h"
#include "Messaggi.h"
#include "Messaggio.h"
#include "Stili.h"
#include "TraduciForm.h"

#include <QPixmap>
#include <QPushButton>

frmStudio::frmStudio(QWidget* genitore) : QDialog(genitore), ui(std::make_unique<Ui::frmStudio>()) {
    ui->setupUi(this);
    AdattaCaratteri(this);
    TraduciForm(this);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    // As tall as its texts in the language shown need.
    resize(width(), sizeHint().height());
    ui->txtNomeStudio->setMaxLength(LunghezzaNomeStudio);
    ui->txtIndirizzoStudio->setMaxLength(LunghezzaIndirizzoStudio);

    const DatiStudio studio = LeggiDatiStudio();
    ui->txtNomeStudio->setText(studio.nome);
    ui->txtIndirizzoStudio->setText(studio.indirizzo);
    logo_ = studio.logo;
    // The text the preview shows without a logo, in the window's language.
    ui->imgLogo->setProperty("senzaLogo", ui->imgLogo->text());
    MostraLogo();

    connect(ui->cmdScegliLogo, &QPushButton::clicked, this, &frmStudio::ScegliLogo);
    connect(ui->cmdTogliLogo, &QPushButton::clicked, this, &frmStudio::TogliLogo);
    connect(ui->cmdSalva, &QPushButton::clicked, this, &frmStudio::Salva);
    connect(ui->cmdAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    ui->txtNomeStudio->setFocus(Qt::OtherFocusReason);
}

frmStudio::~frmStudio() = default;

DatiStudio frmStudio::Dati() const { return {ui->txtNomeStudio->text(), ui->txtIndirizzoStudio->text(), logo_}; }

void frmStudio::MostraLogo() {
    if (logo_.isNull()) {
        ui->imgLogo->setPixmap(QPixmap());
        ui->imgLogo->setText(ui->imgLogo->property("senzaLogo").toString());
    } else {
        const QSize spazio = ui->imgLogo->contentsRect().size().boundedTo(ui->imgLogo->maximumSize()) - QSize(8, 8);
        ui->imgLogo->setPixmap(QPixmap::fromImage(
            logo_.scaled(spazio.expandedTo(QSize(16, 16)), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    }
    ui->imgLogo->setAccessibleName(ui->lblLogo->text() + QStringLiteral(": ") +
                                   (logo_.isNull() ? ui->imgLogo->property("senzaLogo").toString()
                                                   : QStringLiteral("%1 × %2").arg(logo_.width()).arg(logo_.height())));
    ui->cmdTogliLogo->setEnabled(!logo_.isNull());
}

void frmStudio::ScegliLogo() {
    const QString file =
        ServiziFileDatiCorrenti().apri(this, Messaggio(msg::SceltaLogo), Messaggio(msg::FiltroImmagini));
    if (file.isEmpty()) return;
    QString motivo;
    const QImage immagine = LeggiLogo(file, &motivo);
    if (immagine.isNull()) {
        MostraMessaggio(this, motivo);
        return;
    }
    logo_ = immagine;
    MostraLogo();
    ui->cmdScegliLogo->setFocus(Qt::OtherFocusReason);
}

void frmStudio::TogliLogo() {
    logo_ = QImage();
    MostraLogo();
    ui->cmdScegliLogo->setFocus(Qt::OtherFocusReason);
}

void frmStudio::Salva() {
    QString motivo;
    if (!SalvaDatiStudio(Dati(), &motivo)) {
        MostraMessaggio(this, Messaggio(msg::StudioNonSalvato) + QStringLiteral("\n\n") + Messaggio(msg::Motivo) +
                                  QStringLiteral(": ") + motivo + QLatin1Char('.'));
        return;
    }
    accept();
}

bool ApriDatiStudio(QWidget* finestra) {
    frmStudio dialogo(finestra);
    return dialogo.exec() == QDialog::Accepted;
}
