#include "frmZoom2.h"

#include "ui_frmZoom2.h"

frmZoom2::frmZoom2(QWidget* genitore) : QWidget(genitore), ui(std::make_unique<Ui::frmZoom2>()) { ui->setupUi(this); }

frmZoom2::~frmZoom2() = default;
