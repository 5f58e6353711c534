// The enlarged bicycle with the fit measures marked on it.
// It has no procedures of its own.
#pragma once

#include <memory>

#include <QWidget>

namespace Ui {
class frmZoom;
}

class frmZoom : public QWidget {
    Q_OBJECT

public:
    explicit frmZoom(QWidget* genitore = nullptr);
    ~frmZoom() override;

private:
    std::unique_ptr<Ui::frmZoom> ui;
};
