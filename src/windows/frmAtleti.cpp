#include "frmAtleti.h"

#include "IdMessaggiProgramma.h"
#include "ui_frmAtleti.h"

#include "AtletaCorrente.h"
#include "AvvisiArchivio.h"
#include "ControllaMisura.h"
#include "DatiArchivio.h"
#include "Globali.h"
#include "LegameArchivio.h"
#include "RegoleCampi.h"
#include "Stili.h"
#include "TestiRiserva.h"
#include "TraduciForm.h"
#include "mdi.h"
#include "modLanguageSupport.h"

#include <QCloseEvent>

frmAtleti::frmAtleti(QWidget* genitore) : FinestraAtleta(genitore), ui(std::make_unique<Ui::frmAtleti>()) {
    ui->setupUi(this);
    AdattaCaratteri(this);

    // The checks of the boxes. What they clean or wipe in a text the coach
    // types is an edit of the row; in one the binding shows, only what shows.
    for (QLineEdit* misura :
         {ui->Text6, ui->Text7, ui->Text8, ui->Text9, ui->Text10, ui->Text11, ui->Text12, ui->Text19, ui->Text20})
        ApplicaControllaMisura(misura);
    ApplicaControllaSesso(ui->cmbSesso);
    ApplicaControllaAttivita(ui->cboTipoImpiego);

    Lega(ui->Data1, ui->txtNome,
         QList<LegameColonna>{{ui->Text2, QStringLiteral("datanascita")},
                              {ui->Text3, QStringLiteral("indirizzo")},
                              {ui->Text4, QStringLiteral("tel")},
                              {ui->txtEmail, QStringLiteral("Email")},
                              {ui->Text5, QStringLiteral("bici")},
                              {ui->txtSocieta, QStringLiteral("Societa")},
                              {ui->Text1, QStringLiteral("Categoria")},
                              {ui->txtTessera, QStringLiteral("Tessera")},
                              {ui->Text22, QStringLiteral("Scadenza")},
                              {ui->cmbSesso, QStringLiteral("sesso")},
                              {ui->cboTipoImpiego, QStringLiteral("TipoImpiego")},
                              {ui->chkAttFis, QStringLiteral("AttivFis")},
                              {ui->Text6, QStringLiteral("pulsazioniriposo")},
                              {ui->Text7, QStringLiteral("cavallo")},
                              {ui->Text8, QStringLiteral("busto")},
                              {ui->Text9, QStringLiteral("coscia")},
                              {ui->Text10, QStringLiteral("gamba")},
                              {ui->Text11, QStringLiteral("braccio")},
                              {ui->Text12, QStringLiteral("spalle")},
                              {ui->Text19, QStringLiteral("altezza")},
                              {ui->Text20, QStringLiteral("peso")},
                              {ui->Text18, QStringLiteral("sella")},
                              {ui->Text13, QStringLiteral("myHS")},
                              {ui->Text14, QStringLiteral("myDSM")},
                              {ui->Text15, QStringLiteral("mySM")},
                              {ui->Text16, QStringLiteral("myR")},
                              {ui->Text17, QStringLiteral("myPE")},
                              {ui->txtSella, QStringLiteral("MarcaSella")},
                              {ui->txtManubrio, QStringLiteral("Manubrio")},
                              {ui->txtGruppo, QStringLiteral("Gruppo")},
                              {ui->txtRuote, QStringLiteral("Ruote")},
                              {ui->Text21, QStringLiteral("pedali")},
                              {ui->txtNote, QStringLiteral("note")}});
    for (QLineEdit* data : {ui->Text2, ui->Text22}) ApplicaControllaData(data, Legame());
    // Past the last athlete the card starts a new one.
    Legame()->ConsentiNuoveRighe(true);

    // Load: translation, the archive straight on the current athlete, then
    // the activity list in the language of this moment.
    Carica();

    // Filling an empty editable combo puts its first item in the text box;
    // the athlete's activity is put back at once, so the row is unchanged.
    const QString attivita = ui->cboTipoImpiego->currentText();
    ui->cboTipoImpiego->addItems(TestiAttivita());
    if (ui->cboTipoImpiego->currentText() != attivita) ui->cboTipoImpiego->setEditText(attivita);

    connect(ui->imgCestino, &ImmagineSvg::clicked, this, &frmAtleti::EliminaAtleta);
    PreparaMenuDati(ui->cmdDati, this, Legame());
    connect(ui->cmdScheda, &QPushButton::clicked, this, &frmAtleti::ApriSchedaAssetto);
    connect(ui->Command2, &QPushButton::clicked, this, &frmAtleti::ApriSchedaCondizione);
}

frmAtleti::~frmAtleti() { Rilascia(); }

void frmAtleti::EliminaAtleta() {
    // Nothing to delete: the end of the record set, or a new athlete of whom
    // nothing has been typed yet.
    if (Legame()->AllaFine() || (Legame()->RigaNuova() && !Legame()->Modificata())) return;
    // The question names the athlete and says how many recorded fittings
    // and tests go with them.
    const QString nome = ui->txtNome->text().trimmed();
    QString domanda = nome.isEmpty() ? Messaggio(msg::EliminaAtletaMostrato) : Messaggio(msg::EliminaAtleta).arg(nome);
    std::int64_t assetti = 0, prove = 0;
    if (const auto id = Legame()->IdCorrente()) {
        if (!Legame()->Connessione().ContaAssetti(*id, assetti)) assetti = 0;
        if (!Legame()->Connessione().ContaTest(*id, prove)) prove = 0;
    }
    if (assetti > 0 && prove > 0)
        domanda += QStringLiteral("\n\n") +
                   Messaggio(msg::VannoConEntrambi)
                       .arg(assetti == 1 ? Messaggio(msg::UnAssetto) : Messaggio(msg::NAssetti).arg(assetti),
                            prove == 1 ? Messaggio(msg::UnTest) : Messaggio(msg::NTest).arg(prove));
    else if (assetti > 0)
        domanda += QStringLiteral("\n\n") +
                   (assetti == 1 ? Messaggio(msg::VaConAssetto) : Messaggio(msg::VaConAssetti).arg(assetti));
    else if (prove > 0)
        domanda +=
            QStringLiteral("\n\n") + (prove == 1 ? Messaggio(msg::VaConTest) : Messaggio(msg::VaConTests).arg(prove));
    const auto risposta = MostraMessaggio(this, domanda, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (risposta != QMessageBox::Yes) return;
    Legame()->EliminaAtleta();
}

void frmAtleti::ApriSchedaAssetto() {
    if (mdi* principale = mdi::Istanza()) principale->ApriSchedaAssetto();
}

void frmAtleti::ApriSchedaCondizione() {
    if (mdi* principale = mdi::Istanza()) principale->ApriSchedaCondizione();
}
