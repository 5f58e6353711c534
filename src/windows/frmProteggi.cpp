#include "frmProteggi.h"

#include "IdMessaggiChiave.h"
#include "ui_frmProteggi.h"

#include "Messaggi.h"
#include "Messaggio.h"
#include "Stili.h"
#include "TraduciForm.h"

#include <QLayout>
#include <QShowEvent>

#include <QPushButton>
#include <algorithm>

frmProteggi::frmProteggi(bool protetto, CambiaFn cambia, QWidget* genitore)
    : QDialog(genitore), protetto_(protetto), cambia_(std::move(cambia)), ui(std::make_unique<Ui::frmProteggi>()) {
    ui->setupUi(this);
    AdattaCaratteri(this);
    TraduciForm(this);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    ui->lblStato->setText(Messaggio(protetto ? msg::ConPassphrase : msg::SenzaPassphrase));
    // The current passphrase only where there is one to change or remove.
    for (QWidget* w : {static_cast<QWidget*>(ui->lblAttuale), static_cast<QWidget*>(ui->txtAttuale),
                       static_cast<QWidget*>(ui->cmdTogli)})
        w->setVisible(protetto);
    auto* maiuscole = new AvvisoMaiuscole(ui->lblMaiuscole);
    for (QLineEdit* box : {ui->txtAttuale, ui->txtNuova, ui->txtRipeti}) {
        maiuscole->Osserva(box);
        box->setContextMenuPolicy(Qt::NoContextMenu);
        box->setAttribute(Qt::WA_InputMethodEnabled, false);
    }

    const int minuti = MinutiBloccoImpostati();
    for (const int m : MinutiBlocco) {
        ui->cboBlocco->addItem(m == 0 ? Messaggio(msg::BloccoMai) : Messaggio(msg::BloccoMinuti).arg(m), m);
        if (m == minuti) ui->cboBlocco->setCurrentIndex(ui->cboBlocco->count() - 1);
    }

    connect(ui->txtNuova, &QLineEdit::textChanged, this, &frmProteggi::MostraForza);
    connect(ui->cmdSalva, &QPushButton::clicked, this, &frmProteggi::Salva);
    connect(ui->cmdTogli, &QPushButton::clicked, this, &frmProteggi::Togli);
    connect(ui->cmdAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    MostraForza();
    Adatta();
    (protetto ? ui->txtAttuale : ui->txtNuova)->setFocus(Qt::OtherFocusReason);
}

frmProteggi::~frmProteggi() {
    for (QLineEdit* box : {ui->txtAttuale, ui->txtNuova, ui->txtRipeti}) box->clear();
}

void frmProteggi::MostraForza() {
    const QString nuova = ui->txtNuova->text();
    const StimaForza stima = StimaPassphrase(nuova);
    // A third of the bar for each step, filled within it by the bits.
    int valore = 0;
    const char* colore = "rgb(200,0,0)";
    switch (stima.forza) {
    case Forza::Debole: valore = std::min(33, stima.bit * 33 / 50); break;
    case Forza::Discreta:
        valore = 34 + std::min(32, (stima.bit - 50) * 32 / 25);
        colore = "rgb(220,150,0)";
        break;
    case Forza::Forte:
        valore = 67 + std::min(33, (stima.bit - 75) * 33 / 50);
        colore = "rgb(0,150,0)";
        break;
    }
    ui->barForza->setValue(nuova.isEmpty() ? 0 : valore);
    ui->barForza->setStyleSheet(QStringLiteral("QProgressBar::chunk { background-color: %1; }").arg(colore));
    const QString giudizio = nuova.isEmpty() ? QString() : TestoForza(stima.forza);
    ui->lblGiudizio->setText(giudizio);
    ui->barForza->setAccessibleName(ui->lblForza->text() +
                                    (giudizio.isEmpty() ? QString() : QStringLiteral(": ") + giudizio));
}

bool frmProteggi::SalvaBlocco() {
    if (ImpostaMinutiBlocco(ui->cboBlocco->currentData().toInt())) return true;
    MostraMessaggio(this, Messaggio(msg::BloccoNonSalvato));
    return false;
}

void frmProteggi::Correggi(QLineEdit* box, const QString& perche) {
    MostraMessaggio(this, perche);
    box->setFocus(Qt::OtherFocusReason);
    box->selectAll();
}

void frmProteggi::Salva() {
    const QString nuova = ui->txtNuova->text();
    const QString ripeti = ui->txtRipeti->text();
    if (nuova.isEmpty() && ripeti.isEmpty()) {
        // The idle lock's time alone; without a passphrase there is nothing
        // to set unless the time changed.
        if (!protetto_ && ui->cboBlocco->currentData().toInt() == MinutiBloccoImpostati()) {
            Correggi(ui->txtNuova, Messaggio(msg::ScriviNuovaPassphrase));
            return;
        }
        if (SalvaBlocco()) accept();
        return;
    }
    if (nuova != ripeti) {
        Correggi(ui->txtRipeti, Messaggio(msg::NuoveDiverse));
        return;
    }
    if (const auto lunghezza = nuova.toUcs4().size(); lunghezza < LunghezzaMinimaPassphrase) {
        Correggi(ui->txtNuova, Messaggio(msg::PassphraseCorta).arg(LunghezzaMinimaPassphrase).arg(lunghezza));
        return;
    }
    if (protetto_ && ui->txtAttuale->text().isEmpty()) {
        Correggi(ui->txtAttuale, Messaggio(msg::ScriviPassphraseAttuale));
        return;
    }
    if (StimaPassphrase(nuova).forza == Forza::Debole && !Chiedi(this, Messaggio(msg::UsareDebole))) {
        ui->txtNuova->setFocus(Qt::OtherFocusReason);
        ui->txtNuova->selectAll();
        return;
    }
    PassphraseDigitata attuale(ui->txtAttuale->text());
    PassphraseDigitata nuovaDigitata(nuova);
    const frmChiave::Prova esito = cambia_(protetto_ ? &attuale : nullptr, &nuovaDigitata);
    switch (esito.esito) {
    case frmChiave::Prova::Esito::Giusta:
        fatto_ = protetto_ ? Fatto::Cambiato : Fatto::Protetto;
        SalvaBlocco();
        accept();
        return;
    case frmChiave::Prova::Esito::Errata: Correggi(ui->txtAttuale, Messaggio(msg::AttualeErrata)); return;
    case frmChiave::Prova::Esito::Errore: MostraMessaggio(this, esito.testo); return;
    }
}

void frmProteggi::Togli() {
    if (!protetto_) return;
    if (ui->txtAttuale->text().isEmpty()) {
        Correggi(ui->txtAttuale, Messaggio(msg::ScriviPassphraseAttuale));
        return;
    }
    if (!Chiedi(this, Messaggio(msg::TogliereProtezione))) return;
    PassphraseDigitata attuale(ui->txtAttuale->text());
    const frmChiave::Prova esito = cambia_(&attuale, nullptr);
    switch (esito.esito) {
    case frmChiave::Prova::Esito::Giusta:
        fatto_ = Fatto::Tolto;
        accept();
        return;
    case frmChiave::Prova::Esito::Errata: Correggi(ui->txtAttuale, Messaggio(msg::AttualeErrata)); return;
    case frmChiave::Prova::Esito::Errore: MostraMessaggio(this, esito.testo); return;
    }
}

void frmProteggi::Adatta() {
    // As tall as its texts, wrapped at its width, need in the language shown.
    ensurePolished();
    layout()->activate();
    const int altezza = std::max(layout()->totalHeightForWidth(width()), layout()->totalMinimumSize().height());
    setMinimumHeight(altezza);
    resize(width(), altezza);
}

void frmProteggi::showEvent(QShowEvent* evento) {
    QDialog::showEvent(evento);
    Adatta();
}
