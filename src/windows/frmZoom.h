// The enlarged bicycle with the fit measures marked on it.
// It has no procedures of its own.
#pragma once

#include "ui_frmZoom.h"

#include <QWidget>

class frmZoom : public QWidget {
    Q_OBJECT

public:
    explicit frmZoom(QWidget* genitore = nullptr);

    Ui::frmZoom ui;
};
