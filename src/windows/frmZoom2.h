// The enlarged standing figure with the six body measures.
// It has no procedures of its own.
#pragma once

#include <memory>

#include <QWidget>

namespace Ui {
class frmZoom2;
}

class frmZoom2 : public QWidget {
    Q_OBJECT

public:
    explicit frmZoom2(QWidget* genitore = nullptr);
    ~frmZoom2() override;

private:
    std::unique_ptr<Ui::frmZoom2> ui;
};
