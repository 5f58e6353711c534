#include "frmZoom.h"


frmZoom::frmZoom(QWidget* genitore) : QWidget(genitore) {
    ui.setupUi(this);
}
