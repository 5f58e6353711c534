// The enlarged standing figure with the six body measures.
// It has no procedures of its own.
#pragma once

#include "ui_frmZoom2.h"

#include <QWidget>

class frmZoom2 : public QWidget {
    Q_OBJECT

public:
    explicit frmZoom2(QWidget* genitore = nullptr);

    Ui::frmZoom2 ui;
};
