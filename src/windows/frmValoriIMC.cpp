#include "frmValoriIMC.h"

#include "Stili.h"

#include "TraduciForm.h"

frmValoriIMC::frmValoriIMC(QWidget* genitore) : QWidget(genitore) {
    ui.setupUi(this);
    AdattaCaratteri(this);
    TraduciForm(this);
}
