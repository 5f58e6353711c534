#include "frmZoom2.h"


frmZoom2::frmZoom2(QWidget* genitore) : QWidget(genitore) {
    ui.setupUi(this);
}
