#include "frmValoriIMC.h"

#include "ui_frmValoriIMC.h"

#include "FinestraUnica.h"
#include "Stili.h"

#include "TraduciForm.h"

frmValoriIMC::frmValoriIMC(QWidget* genitore) : QWidget(genitore), ui(std::make_unique<Ui::frmValoriIMC>()) {
    ui->setupUi(this);
    AdattaCaratteri(this);
    TraduciForm(this);
}

frmValoriIMC* MostraValoriIMC(QWidget* scheda) {
    // The values the table explains: the index, the ideal weight, the class
    // and the normal range, with their captions and the link that opens it.
    QRect zona;
    if (scheda) {
        for (const char* nome : {"lblTitIndice", "Label44", "lblTitIMC", "lblIMC", "lblTitPesoIdeale", "lblPesoIdeale",
                                 "lblTitCondizione", "lblCondizione", "lblTitTra", "lblTra"}) {
            if (const auto* w = scheda->findChild<QWidget*>(QLatin1String(nome)); w && w->isVisible())
                zona |= QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
        }
    }
    return MostraFinestraUnica<frmValoriIMC>(scheda, zona);
}

frmValoriIMC::~frmValoriIMC() = default;
