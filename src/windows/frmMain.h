// The home window: the product name, the language flags, the credit line and
// the logo. The language can be chosen only here.
#pragma once

#include "ui_frmMain.h"

#include <QWidget>

class frmMain : public QWidget {
    Q_OBJECT

public:
    explicit frmMain(QWidget* genitore = nullptr);

    // Sets the language ("italian", "english"), translates every open window
    // and records the choice in LangSetting.ini.
    void ScegliLingua(const QString& lingua);

    Ui::frmMain ui;

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override;
    void showEvent(QShowEvent* evento) override;
};
