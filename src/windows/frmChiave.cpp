#include "frmChiave.h"

#include "IdMessaggiChiave.h"
#include "ui_frmChiave.h"

#include "Messaggi.h"
#include "Messaggio.h"
#include "Stili.h"
#include "TraduciForm.h"

#include <QAccessible>
#include <QLayout>
#include <QShowEvent>

#include <QPushButton>
#include <algorithm>

frmChiave::frmChiave(const QString& domanda, ProvaFn prova, QWidget* genitore)
    : QDialog(genitore), prova_(std::move(prova)), ui(std::make_unique<Ui::frmChiave>()) {
    ui->setupUi(this);
    AdattaCaratteri(this);
    TraduciForm(this);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    ui->lblDomanda->setText(domanda);
    ui->lblErrore->setVisible(false);
    maiuscole_ = new AvvisoMaiuscole(ui->lblMaiuscole);
    maiuscole_->Osserva(ui->txtPassphrase);
    // Nothing of the passphrase goes to the clipboard or the input method's memory.
    ui->txtPassphrase->setContextMenuPolicy(Qt::NoContextMenu);
    ui->txtPassphrase->setAttribute(Qt::WA_InputMethodEnabled, false);
    connect(ui->cmdApri, &QPushButton::clicked, this, &frmChiave::Conferma);
    connect(ui->cmdAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    Adatta();
    ui->txtPassphrase->setFocus(Qt::OtherFocusReason);
}

frmChiave::~frmChiave() { ui->txtPassphrase->clear(); }

void frmChiave::MostraErrore(const QString& perche) {
    ui->lblErrore->setText(perche);
    ui->lblErrore->setVisible(true);
    Adatta();
    ui->txtPassphrase->clear();
    ui->txtPassphrase->setFocus(Qt::OtherFocusReason);
    QAccessibleEvent avviso(ui->lblErrore, QAccessible::Alert);
    QAccessible::updateAccessibility(&avviso);
}

void frmChiave::Conferma() {
    auto riprova = [this](const QString& perche) { MostraErrore(perche); };
    if (ui->txtPassphrase->text().isEmpty()) {
        riprova(Messaggio(msg::ScriviPassphrase));
        return;
    }
    PassphraseDigitata passphrase(ui->txtPassphrase->text());
    ui->txtPassphrase->clear();
    const Prova esito = prova_ ? prova_(passphrase) : Prova{Prova::Esito::Errore, QString()};
    passphrase.Cancella();
    switch (esito.esito) {
    case Prova::Esito::Giusta: accept(); return;
    case Prova::Esito::Errata: riprova(esito.testo); return;
    case Prova::Esito::Errore:
        if (!esito.testo.isEmpty()) MostraMessaggio(this, esito.testo);
        reject();
        return;
    }
}

bool ChiediPassphrase(QWidget* finestra, const QString& domanda, const frmChiave::ProvaFn& prova) {
    frmChiave dialogo(domanda, prova, finestra);
    return dialogo.exec() == QDialog::Accepted;
}

void frmChiave::Adatta() {
    // As tall as its texts, wrapped at its width, need in the language shown.
    ensurePolished();
    layout()->activate();
    const int altezza = std::max(layout()->totalHeightForWidth(width()), layout()->totalMinimumSize().height());
    setMinimumHeight(altezza);
    resize(width(), altezza);
}

void frmChiave::showEvent(QShowEvent* evento) {
    QDialog::showEvent(evento);
    Adatta();
}
