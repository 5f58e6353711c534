#include "frmScheda.h"

#include "ui_frmScheda.h"

#include "AtletaCorrente.h"
#include "AvvisiArchivio.h"
#include "Calendario.h"
#include "ControllaMisura.h"
#include "DatiArchivio.h"
#include "FinestraUnica.h"
#include "Globali.h"
#include "IdMessaggi.h"
#include "LegameArchivio.h"
#include "Messaggi.h"
#include "Messaggio.h"
#include "Modulo1.h"
#include "RegistroAssetti.h"
#include "Stili.h"
#include "TraduciForm.h"
#include "frmRegistraAssetto.h"
#include "frmZoom.h"
#include "frmZoom2.h"
#include "mdi.h"

#include <QApplication>
#include <QCloseEvent>

namespace {

std::string TestoDi(const QLineEdit* box) { return box->text().toStdString(); }

QString Risultato(const std::string& testo) { return QString::fromStdString(testo); }

}  // namespace

frmScheda::frmScheda(QWidget* genitore) : FinestraAtleta(genitore), ui(std::make_unique<Ui::frmScheda>()) {
    ui->setupUi(this);
    AdattaCaratteri(this);

    Lega(ui->Data1, ui->txtNome,
         QList<LegameColonna>{{ui->txtCavallo, QStringLiteral("cavallo")},
                              {ui->txtBusto, QStringLiteral("busto")},
                              {ui->txtCoscia, QStringLiteral("coscia")},
                              {ui->txtGamba, QStringLiteral("gamba")},
                              {ui->txtBraccio, QStringLiteral("braccio")},
                              {ui->txtSpalle, QStringLiteral("spalle")},
                              {ui->txtSella, QStringLiteral("sella")},
                              {ui->Text13, QStringLiteral("myHS")},
                              {ui->Text14, QStringLiteral("myDSM")},
                              {ui->Text15, QStringLiteral("mySM")},
                              {ui->Text16, QStringLiteral("myR")},
                              {ui->Text17, QStringLiteral("myPE")},
                              {ui->txtNote, QStringLiteral("note")}});

    // Every change of a measure, typed or shown from the archive, is cleaned
    // and recomputes the sheet.
    for (QLineEdit* misura :
         {ui->txtCavallo, ui->txtBusto, ui->txtCoscia, ui->txtGamba, ui->txtBraccio, ui->txtSpalle, ui->txtSella})
        ApplicaControllaMisura(misura, [this] { CalcolaMisure(); });

    // Left empty, or written while empty, the saddle box gets the default.
    ui->txtSella->installEventFilter(this);
    Legame()->AggiungiRegolaPrimaDiScrivere([this] { RiempiSellaSeManca(); });

    connect(ui->imgBici, &ImmagineSvg::clicked, this, [this] { MostraFinestraUnica<frmZoom>(this); });
    connect(ui->imgSagoma, &ImmagineSvg::clicked, this, [this] { MostraFinestraUnica<frmZoom2>(this); });

    PreparaPulsanteReport(ui->cmdReport, this, Legame());
    connect(ui->cmdRegistraAssetto, &QPushButton::clicked, this, [this] { RegistraAssetto(); });
    connect(ui->cmdStorico, &QPushButton::clicked, this, [] {
        if (mdi* principale = mdi::Istanza()) principale->ApriStorico();
    });

    Carica();
    CalcolaMisure();
}

frmScheda::~frmScheda() { Rilascia(); }

bool frmScheda::SellaInGrigio() const { return StatoDi(ui->txtSella, "predefinita"); }

void frmScheda::CalcolaMisure() {
    if (!Tag().isEmpty()) return;

    bool sellaPredefinita = false;
    const Modulo1::MisureAssetto m = Modulo1::LeggiMisure(
        TestoDi(ui->txtCavallo), TestoDi(ui->txtBusto), TestoDi(ui->txtCoscia), TestoDi(ui->txtGamba),
        TestoDi(ui->txtBraccio), TestoDi(ui->txtSpalle), TestoDi(ui->txtSella), sellaPredefinita);
    // Past the last athlete the boxes belong to no one: nothing is filled in.
    // While the coach types in the saddle box an emptied box stays empty,
    // the default showing only as a placeholder: filled in at once, it would
    // be typed after ("27.526").
    const bool daRiempire = sellaPredefinita && !(Legame() && Legame()->AllaFine());
    const bool attesa = daRiempire && SellaInDigitazione();
    ui->txtSella->setPlaceholderText(attesa ? SellaPredefinita() : QString());
    if (daRiempire && !attesa) {
        // A change of the box: its rule recomputes the sheet inside this run.
        ui->txtSella->setText(SellaPredefinita());
        ImpostaStato(ui->txtSella, "predefinita", true);
    } else {
        ImpostaStato(ui->txtSella, "predefinita", false);
    }

    QLineEdit* const risultati[] = {ui->txtTP,   ui->txtTO, ui->txtPE,  ui->txtAlfa, ui->txtPiega,
                                    ui->txtPipa, ui->txtHS, ui->txtDSM, ui->txtSM,   ui->txtR};
    for (QLineEdit* r : risultati) r->clear();

    ui->txtTP->setText(Risultato(Modulo1::CalcolaTP(m)));
    ui->txtTO->setText(Risultato(Modulo1::CalcolaTO(m)));
    ui->txtPE->setText(Risultato(Modulo1::CalcolaPE(m)));
    ui->txtAlfa->setText(Risultato(Modulo1::CalcolaAlfa(m)));
    ui->txtPiega->setText(Risultato(Modulo1::CalcolaPiega(m)));
    ui->txtPipa->setText(Risultato(Modulo1::CalcolaPipa(m)));
    ui->txtHS->setText(Risultato(Modulo1::CalcolaHS(m)));
    ui->txtDSM->setText(Risultato(Modulo1::CalcolaDSM(m)));
    ui->txtSM->setText(Risultato(Modulo1::CalcolaSM(m)));
    ui->txtR->setText(Risultato(Modulo1::CalcolaR(m)));
}

bool frmScheda::SellaInDigitazione() const {
    return !riempiSella_ && ui->txtSella->hasFocus() && !(Legame() && Legame()->MostraUnaRiga());
}

void frmScheda::RiempiSellaSeManca() {
    // Empty, "0", "0.0": no saddle length given.
    if (Modulo1::ValoreTesto(TestoDi(ui->txtSella)) != 0) return;
    riempiSella_ = true;
    CalcolaMisure();
    riempiSella_ = false;
}

bool frmScheda::eventFilter(QObject* oggetto, QEvent* evento) {
    if (oggetto == ui->txtSella && evento->type() == QEvent::FocusOut) RiempiSellaSeManca();
    return FinestraAtleta::eventFilter(oggetto, evento);
}

bool frmScheda::RegistraAssetto() {
    // The athlete's row first, as every move writes it: the fitting then
    // holds what the archive holds.
    if (!Legame() || !Legame()->ScriviModifiche()) return false;
    const auto id = Legame()->IdCorrente();
    if (!id) {
        MostraMessaggio(this, Messaggio(msg::AssettoSenzaAtleta));
        return false;
    }
    archivio::Assetto oggi =
        registro::AssettoDaRiga(*id, Legame()->RigaCorrente(), Calendario::TestoIso(Calendario::Servizi().oggi()));
    // The measures, results and set-up values as the sheet shows them.
    using M = archivio::CampoMisura;
    using R = archivio::CampoRisultato;
    using P = archivio::CampoProprio;
    const std::pair<M, const QLineEdit*> misure[] = {
        {M::Cavallo, ui->txtCavallo}, {M::Busto, ui->txtBusto},   {M::Coscia, ui->txtCoscia}, {M::Gamba, ui->txtGamba},
        {M::Braccio, ui->txtBraccio}, {M::Spalle, ui->txtSpalle}, {M::Sella, ui->txtSella}};
    const std::pair<R, const QLineEdit*> risultati[] = {
        {R::TP, ui->txtTP},       {R::TO, ui->txtTO},     {R::PE, ui->txtPE}, {R::Alfa, ui->txtAlfa},
        {R::Piega, ui->txtPiega}, {R::Pipa, ui->txtPipa}, {R::HS, ui->txtHS}, {R::DSM, ui->txtDSM},
        {R::SM, ui->txtSM},       {R::R, ui->txtR}};
    const std::pair<P, const QLineEdit*> propri[] = {
        {P::HS, ui->Text13}, {P::DSM, ui->Text14}, {P::SM, ui->Text15}, {P::R, ui->Text16}, {P::PE, ui->Text17}};
    for (const auto& [campo, box] : misure) oggi.misure[campo] = TestoDi(box);
    for (const auto& [campo, box] : risultati) oggi.risultati[campo] = TestoDi(box);
    for (const auto& [campo, box] : propri) oggi.propri[campo] = TestoDi(box);

    std::vector<archivio::Assetto> precedenti;
    if (const archivio::Esito letti = Legame()->Connessione().LeggiAssetti(*id, precedenti); !letti)
        precedenti.clear();  // nothing to take the frame from: the dialog starts empty

    frmRegistraAssetto dialogo(oggi, precedenti, this);
    if (dialogo.exec() != QDialog::Accepted) return false;
    const archivio::Assetto assetto = dialogo.Assetto();
    std::int64_t nuovo = 0;
    if (const archivio::Esito esito = Legame()->ConnessioneInScrittura().RegistraAssetto(assetto, nuovo); !esito) {
        MostraMessaggio(this, TestoAssettoNonRegistrato(Legame()->FileArchivio(), ui->txtNome->text(), esito.errore()));
        return false;
    }
    MostraMessaggio(this,
                    Messaggio(msg::AssettoRegistrato).arg(QString::fromStdString(assetto.data), ui->txtNome->text()),
                    QMessageBox::Ok, QMessageBox::Information);
    return true;
}
