#include "frmMain.h"

#include "ui_frmMain.h"

#include "Stili.h"

#include "Collegamenti.h"
#include "Globali.h"
#include "TraduciFinestre.h"
#include "TraduciForm.h"
#include "modLanguageSupport.h"

#include <QMouseEvent>
#include <QShowEvent>

frmMain::frmMain(QWidget* genitore) : QWidget(genitore), ui(std::make_unique<Ui::frmMain>()) {
    ui->setupUi(this);
    AdattaCaratteri(this);

    TraduciForm(this);
    PercorsoGuida = CartellaApplicazioneQt() + QStringLiteral("/Guida.chm");
    ui->lblCopyRightBy->setText(TestoCredito + ParteAnniCredito() + NomeAutore);
    TraduciFinestreAperte(this);

    connect(ui->imgItalia, &ImmagineSvg::clicked, this, [this] { ScegliLingua(QStringLiteral("italian")); });
    connect(ui->imgEnglish, &ImmagineSvg::clicked, this, [this] { ScegliLingua(QStringLiteral("english")); });
    connect(ui->Image1, &ImmagineSvg::clicked, this, [this] { ApriDocumento(this, IndirizzoSito); });
    ui->lblCopyRightBy->installEventFilter(this);
}

void frmMain::showEvent(QShowEvent* evento) {
    QWidget::showEvent(evento);
    // The keyboard starts on the flag of the language in use.
    if (!evento->spontaneous())
        (modLanguageSupport::LinguaCorrente == "english" ? ui->imgEnglish : ui->imgItalia)->setFocus();
}

void frmMain::ScegliLingua(const QString& lingua) {
    modLanguageSupport::LinguaCorrente = lingua.toStdString();
    TraduciFinestreAperte(this);
    modLanguageSupport::ScriviIni(modLanguageSupport::FileImpostazioni(), "Language", "CurrentLanguage",
                                  lingua.toStdString());
}

bool frmMain::eventFilter(QObject* oggetto, QEvent* evento) {
    if (oggetto == ui->lblCopyRightBy && evento->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(evento)->button() == Qt::LeftButton)
        ScriviAutore(this, QStringLiteral("?SUBJECT=Tovarin Project - vers. "));
    return QWidget::eventFilter(oggetto, evento);
}

frmMain::~frmMain() = default;
