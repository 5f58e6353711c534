#include "frmValoriIMC.h"

#include "TraduciForm.h"

frmValoriIMC::frmValoriIMC(QWidget* genitore) : QWidget(genitore) {
    ui.setupUi(this);
    TraduciForm(this);
}
