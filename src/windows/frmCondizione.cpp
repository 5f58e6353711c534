#include "frmCondizione.h"

#include "IdMessaggiCondizione.h"
#include "ui_frmCondizione.h"

#include "AtletaCorrente.h"
#include "ControllaMisura.h"
#include "CoordinateAssetto.h"
#include "DatiArchivio.h"
#include "FinestraUnica.h"
#include "Globali.h"
#include "LegameArchivio.h"
#include "Messaggio.h"
#include "Modulo1.h"
#include "RegistroAssetti.h"
#include "RegoleCampi.h"
#include "RisultatiInteri.h"
#include "Stili.h"
#include "TestoPiano.h"
#include "TraduciForm.h"
#include "frmTest.h"
#include "frmValoriIMC.h"
#include "modLanguageSupport.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QSignalBlocker>

#include <algorithm>
#include <array>
#include <string>

namespace {

std::string Std(const QString& testo) { return testo.toStdString(); }
QString Testo(const std::string& testo) { return QString::fromStdString(testo); }

// A label is given a text only when it changes: the sheet recomputes several
// times for one keystroke, and most labels keep their text. A text too long
// for its label shows "n.d.", never cut.
void Mostra(QLabel* etichetta, const QString& testo) { MostraIntero(etichetta, testo); }
void Mostra(QLabel* etichetta, const std::string& testo) { Mostra(etichetta, Testo(testo)); }

}  // namespace

frmCondizione::frmCondizione(QWidget* genitore) : FinestraAtleta(genitore), ui(std::make_unique<Ui::frmCondizione>()) {
    ui->setupUi(this);
    AdattaCaratteri(this);

    // Event handlers.
    const auto aggiorna = [this] { AggiornaCondizione(); };
    for (QLineEdit* misura : {ui->txtPeso, ui->txtAltezza, ui->txtPulsazioni, ui->txtMin})
        ApplicaControllaMisura(misura, aggiorna);
    ColonnaDoppia(ui->Text7, ui->txtCavallo);
    ColonnaDoppia(ui->txtCavallo, ui->Text7);
    ColonnaDoppia(ui->Text8, ui->txtBusto);
    ColonnaDoppia(ui->txtBusto, ui->Text8);
    connect(ui->txtDataNascita, &QLineEdit::textChanged, this, aggiorna);
    ApplicaControllaSesso(ui->cmbSesso, aggiorna);
    connect(ui->cmbSesso, &QComboBox::activated, this, [this] {
        ControllaSesso(ui->cmbSesso);
        AggiornaCondizione();
    });
    ApplicaControllaAttivita(ui->cboAttivLav, aggiorna);
    connect(ui->cboAttivLav, &QComboBox::activated, this, aggiorna);
    connect(ui->chkAttFis, &QCheckBox::toggled, this, aggiorna);
    ui->Label44->installEventFilter(this);

    // The hidden box of a column comes after the visible one, so that the
    // visible one is filled first when a row is shown.
    Lega(ui->Data1, ui->txtNome,
         QList<LegameColonna>{{ui->txtDataNascita, QStringLiteral("datanascita")},
                              {ui->cmbSesso, QStringLiteral("sesso")},
                              {ui->txtPulsazioni, QStringLiteral("pulsazioniriposo")},
                              {ui->txtPeso, QStringLiteral("peso")},
                              {ui->txtAltezza, QStringLiteral("altezza")},
                              {ui->Text7, QStringLiteral("cavallo")},
                              {ui->Text8, QStringLiteral("busto")},
                              {ui->cboAttivLav, QStringLiteral("TipoImpiego")},
                              {ui->chkAttFis, QStringLiteral("AttivFis")},
                              {ui->txtCavallo, QStringLiteral("cavallo")},
                              {ui->txtBusto, QStringLiteral("busto")}});

    ApplicaControllaData(ui->txtDataNascita, Legame());

    PreparaPulsanteReport(ui->cmdReport, this, Legame());
    connect(ui->cmdTest, &QPushButton::clicked, this, [this] {
        frmTest* test = MostraTest(this, Legame());
        connect(test, &frmTest::TestCambiati, this, &frmCondizione::AggiornaTestInUso, Qt::UniqueConnection);
    });
    ui->lblFcMisurata->hide();
    connect(Legame(), &LegameArchivio::RigaMostrata, this, &frmCondizione::AggiornaTestInUso);

    // Load: translation and the athlete (the sheet idle meanwhile), then one
    // recomputation, and the activity list in the language of this moment.
    Carica();
    SistemaDurata();
    LeggiDatiCondizione();
    AggiornaCondizione();
    RiempiAttivita();
}

frmCondizione::~frmCondizione() { Rilascia(); }

void frmCondizione::ColonnaDoppia(QLineEdit* box, QLineEdit* compagno) {
    ApplicaControllaMisura(box, [this, box, compagno] {
        if (compagno->text() != box->text())
            compagno->setText(box->text());  // its own rule recomputes, once both agree
        else
            AggiornaCondizione();
    });
}

void frmCondizione::SistemaDurata() {
    QLabel* didascalia = ui->lblDurata;
    didascalia->ensurePolished();
    const QString testo = didascalia->text();
    const QRegularExpressionMatch spazio = QRegularExpression(QStringLiteral(" {2,}")).match(testo);
    const QFontMetrics misure(didascalia->font());
    const int sinistra = didascalia->x() + didascalia->contentsRect().left();
    int x, larghezza;
    if (spazio.hasMatch()) {
        x = sinistra + misure.horizontalAdvance(testo.left(spazio.capturedStart()));
        larghezza = misure.horizontalAdvance(spazio.captured());
    } else {  // a caption without gap: the box follows it
        x = sinistra + misure.horizontalAdvance(testo) + 4;
        larghezza = 0;
    }
    const int margine = 3;
    larghezza = std::max(larghezza - 2 * margine, 30);
    ui->txtMin->setGeometry(x + margine, didascalia->y(), larghezza, didascalia->height());
    ui->txtMin->raise();
}

void frmCondizione::RiempiAttivita() {
    QComboBox* combo = ui->cboAttivLav;
    const QString testo = combo->currentText();
    // Filling the list is no edit of the athlete: Qt would make the first
    // item current in a list that was empty, replacing the activity shown.
    const QSignalBlocker blocco(combo);
    combo->addItems(TestiAttivita());
    combo->setCurrentIndex(-1);
    combo->setEditText(testo);
}

Modulo1::ValoriCondizione frmCondizione::LeggiDatiCondizione() {
    using Modulo1::ValoreTesto;
    cavallo_ = ValoreTesto(Std(ui->txtCavallo->text()));
    busto_ = ValoreTesto(Std(ui->txtBusto->text()));
    Modulo1::ValoriCondizione valori;
    valori.PulsazioniRiposo = ValoreTesto(Std(ui->txtPulsazioni->text()));
    valori.AltezzaCm = ValoreTesto(Std(ui->txtAltezza->text()));
    valori.PesoKg = ValoreTesto(Std(ui->txtPeso->text()));
    valori.AttivitaLavorativa = Std(ui->cboAttivLav->currentText());
    valori.AttivitaFisica = ui->chkAttFis->isChecked();
    valori.EtaAnni = ValoreTesto(Std(ui->lblEta->text()));
    valori.FcMaxMisurata = fcMisurata_;
    return valori;
}

void frmCondizione::AggiornaTestInUso() {
    fcMisurata_ = 0;
    const auto id = Legame() ? Legame()->IdCorrente() : std::nullopt;
    std::vector<archivio::TestAtleta> test;
    // Tests that cannot be read leave the estimate: the sheet still computes.
    if (id && Legame()->ArchivioAperto() && Legame()->Connessione().LeggiTest(*id, test))
        fcMisurata_ = registro::UltimoTest(test).fcMaxMisurata;
    ui->lblFcMisurata->setVisible(fcMisurata_ > 0);
    AggiornaCondizione();
}

void frmCondizione::AggiornaCondizione() {
    using Modulo1::ValoreTesto;
    if (!Tag().isEmpty()) return;

    Modulo1::ValoriCondizione nascita;
    // The age from the date as the box shows it: none until it reads as a
    // date under the coach's regional settings, as the date check judges it.
    const QString data = ui->txtDataNascita->text();
    Mostra(ui->lblEta, Modulo1::CalcolaEta(TestoData(data) ? Std(DataArchiviata(data)) : std::string(), nascita));
    const Modulo1::ValoriCondizione valori = LeggiDatiCondizione();
    Mostra(ui->lblCostituzione, Modulo1::Costituzione(cavallo_, busto_));

    const std::string sesso = Std(ui->cmbSesso->currentText());
    const std::string peso = Std(ui->txtPeso->text());
    const double eta = ValoreTesto(Std(ui->lblEta->text()));
    const double minuti = ValoreTesto(Std(ui->txtMin->text()));
    const double altezza = ValoreTesto(Std(ui->txtAltezza->text()));

    // Heart-rate zones and the energy of the training.
    double fcMax = 0;
    Modulo1::CinqueTesti cooper, karvonen, kcalCooper, kcalKarvonen;
    Modulo1::CalcolaZoneCardiache(valori, fcMax, minuti, cooper, karvonen, sesso, eta, peso, kcalCooper, kcalKarvonen);
    Mostra(ui->lblFCmax, Modulo1::TestoPiano(fcMax));
    const std::array<QLabel*, 5> etichetteCooper{ui->lblC5060, ui->lblC6070, ui->lblC7080, ui->lblC8090, ui->lblC90100};
    const std::array<QLabel*, 5> etichetteKarvonen{ui->lblK5060, ui->lblK6070, ui->lblK7080, ui->lblK8090,
                                                   ui->lblK90100};
    const std::array<QLabel*, 5> etichetteKcalCooper{ui->lblKC5060, ui->lblKC6070, ui->lblKC7080, ui->lblKC8090,
                                                     ui->lblKC90100};
    const std::array<QLabel*, 5> etichetteKcalKarvonen{ui->lblKK5060, ui->lblKK6070, ui->lblKK7080, ui->lblKK8090,
                                                       ui->lblKK90100};
    for (std::size_t i = 0; i < 5; ++i) {
        Mostra(etichetteCooper[i], cooper[i]);
        Mostra(etichetteKarvonen[i], karvonen[i]);
        Mostra(etichetteKcalCooper[i], kcalCooper[i]);
        Mostra(etichetteKcalKarvonen[i], kcalKarvonen[i]);
    }

    // The minutes used, written back: an emptied box shows "0", "60." shows
    // "60". The change runs the box's rule and this recomputation once more,
    // which finds the same text and ends there.
    const QString testoMinuti = Testo(Modulo1::TestoPiano(minuti));
    if (ui->txtMin->text() != testoMinuti) ui->txtMin->setText(testoMinuti);

    // Basal metabolism and daily need.
    std::string metabolismo, fabbisogno;
    Modulo1::CalcolaMetabolismo(valori, metabolismo, fabbisogno, sesso);
    Mostra(ui->lblMetabolismoBasale, metabolismo);
    Mostra(ui->lblFabb, fabbisogno);

    // Body mass index.
    std::string ideale, classe, range;
    const std::string indice = Modulo1::CalcolaIMC(sesso, altezza, peso, ideale, classe, range);
    Mostra(ui->lblIMC, indice);
    Mostra(ui->lblPesoIdeale, ideale);
    Mostra(ui->lblCondizione, classe);
    Mostra(ui->lblTra, range);

    // Normal and ideal in black, every other class (none included) in red.
    const bool buona = !classe.empty() &&
                       (Testo(classe) == Messaggio(msg::PesoNormale) || Testo(classe) == Messaggio(msg::PesoIdeale));
    ImpostaStato(ui->lblCondizione, "buona", buona);
}

bool frmCondizione::eventFilter(QObject* oggetto, QEvent* evento) {
    if (oggetto == ui->Label44 && evento->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(evento);
        if (mouse->button() == Qt::LeftButton && ui->Label44->rect().contains(mouse->position().toPoint()))
            MostraValoriIMC(this);
    }
    return FinestraAtleta::eventFilter(oggetto, evento);
}
