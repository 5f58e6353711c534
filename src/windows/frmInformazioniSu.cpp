#include "frmInformazioniSu.h"

#include "Stili.h"

#include "Collegamenti.h"
#include "Globali.h"
#include "TraduciForm.h"
#include "modLanguageSupport.h"

#include <QMouseEvent>

#include <algorithm>

frmInformazioniSu::frmInformazioniSu(QWidget* genitore) : QWidget(genitore) {
    ui.setupUi(this);
    AdattaCaratteri(this);
    TraduciForm(this);

    ui.lblCopyRightBy->setText(TestoCredito + ParteAnniCredito() + NomeAutore);
    ui.Label5->setText(IndirizzoSito);
    ui.lblIndirizzo->setText(IndirizzoPosta);
    ui.lblIndirizzo->setToolTip(ui.lblIndirizzo->toolTip() + NomeAutore.trimmed());
    ui.lblVersion->setText(QStringLiteral("- ") + ui.lblVersion->text() + QLatin1Char(' ') +
                           QString::number(VersioneMaggiore) + QLatin1Char('.') + QString::number(VersioneMinore) +
                           QLatin1Char('.') + QString::number(VersioneRevisione));
    ui.lblTitle->setText(TitoloApplicazione);
    ui.lblDisclaimer->setText(ui.lblDisclaimer->text() + QLatin1Char(' ') +
                              QString::fromStdString(modLanguageSupport::TestoLingua("0043")) + QLatin1Char('\n') +
                              QString::fromStdString(modLanguageSupport::TestoLingua("0044")));

    // Labels that fit their text, in the fonts of the window's style sheet;
    // the version follows the title on its line.
    ensurePolished();
    for (QLabel* l : {ui.lblTitle, ui.lblVersion, ui.lblCopyRightBy, ui.Label5, ui.lblIndirizzo, ui.Label2})
        l->adjustSize();
    ui.lblVersion->move(std::max(ui.lblVersion->x(), ui.lblTitle->geometry().right() + 8), ui.lblVersion->y());
    ui.lblIndirizzo->move(std::max(ui.lblIndirizzo->x(), ui.Label5->geometry().right() + 24), ui.lblIndirizzo->y());
    ui.lblDisclaimer->setFixedHeight(std::max(ui.lblDisclaimer->height(),
                                              ui.lblDisclaimer->heightForWidth(ui.lblDisclaimer->width())));

    for (QLabel* l : {ui.Label5, ui.lblIndirizzo, ui.Label2}) l->installEventFilter(this);
}

bool frmInformazioniSu::eventFilter(QObject* oggetto, QEvent* evento) {
    if (evento->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(evento)->button() == Qt::LeftButton) {
        if (oggetto == ui.Label5)
            ApriDocumento(this, ui.Label5->text());
        else if (oggetto == ui.Label2)
            ApriDocumento(this, IndirizzoDonazione);
        else if (oggetto == ui.lblIndirizzo)
            ScriviAutore(this, QStringLiteral("?SUBJECT=Tovarin Project - vers."));
    }
    return QWidget::eventFilter(oggetto, evento);
}
