#include "frmZoom2.h"

#include "ui_frmZoom2.h"

#include "TraduciForm.h"

frmZoom2::frmZoom2(QWidget* genitore) : QWidget(genitore), ui(std::make_unique<Ui::frmZoom2>()) {
    ui->setupUi(this);
    // The picture's name for a screen reader.
    TraduciForm(this);
}

frmZoom2::~frmZoom2() = default;
