// The home window: the product name, the language flags, the credit line and
// the logo. The language can be chosen only here.
#pragma once

#include <memory>

#include <QWidget>

namespace Ui {
class frmMain;
}

class frmMain : public QWidget {
    Q_OBJECT

public:
    explicit frmMain(QWidget* genitore = nullptr);
    ~frmMain() override;

    // Sets the language ("italian", "english"), translates every open window
    // and records the choice in LangSetting.ini.
    void ScegliLingua(const QString& lingua);

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override;
    void showEvent(QShowEvent* evento) override;

private:
    std::unique_ptr<Ui::frmMain> ui;
};
