#include "frmZoom.h"

#include "ui_frmZoom.h"

#include "TraduciForm.h"

frmZoom::frmZoom(QWidget* genitore) : QWidget(genitore), ui(std::make_unique<Ui::frmZoom>()) {
    ui->setupUi(this);
    // The picture's name for a screen reader.
    TraduciForm(this);
}

frmZoom::~frmZoom() = default;
