#include "frmZoom.h"

#include "ui_frmZoom.h"

frmZoom::frmZoom(QWidget* genitore) : QWidget(genitore), ui(std::make_unique<Ui::frmZoom>()) { ui->setupUi(this); }

frmZoom::~frmZoom() = default;
