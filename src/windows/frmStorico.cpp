#include "frmStorico.h"

#include "ui_frmStorico.h"

#include "AvvisiArchivio.h"
#include "IdMessaggi.h"
#include "Messaggi.h"
#include "Messaggio.h"
#include "RegistroAssetti.h"
#include "Stili.h"
#include "TraduciForm.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QTreeWidgetItem>

#include <map>

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

QTableWidgetItem* Cella(const QString& testo, bool numero = true) {
    auto* cella = new QTableWidgetItem(testo);
    if (numero) cella->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return cella;
}

// A fitting's column header: its date over its bike, which a narrow column
// shows whole; the screen reader says the two as one name.
QString Intestazione(const archivio::Assetto& a) {
    return a.bici.empty() ? Q(a.data) : Q(a.data) + QLatin1Char('\n') + Q(a.bici);
}

// The names' column as wide as given, the values' columns sharing the rest.
void PreparaTabella(QTableWidget* tabella, const QStringList& intestazioni, int nomi) {
    tabella->setColumnCount(static_cast<int>(intestazioni.size()));
    tabella->setHorizontalHeaderLabels(intestazioni);
    tabella->verticalHeader()->hide();
    tabella->verticalHeader()->setDefaultSectionSize(20);
    QHeaderView* intestazione = tabella->horizontalHeader();
    intestazione->setHighlightSections(false);
    intestazione->setSectionResizeMode(QHeaderView::Stretch);
    intestazione->setSectionResizeMode(0, QHeaderView::Fixed);
    tabella->setColumnWidth(0, nomi);
}

}  // namespace

frmStorico::frmStorico(QWidget* genitore) : FinestraAtleta(genitore), ui(std::make_unique<Ui::frmStorico>()) {
    ui->setupUi(this);
    AdattaCaratteri(this);

    Lega(ui->Data1, ui->txtNome, {});

    ui->lstAssetti->setColumnWidth(0, 76);
    ui->lstAssetti->setColumnWidth(1, 92);
    ui->lstAssetti->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(ui->lstAssetti, &QTreeWidget::currentItemChanged, this, [this] { MostraAssetto(); });
    connect(ui->cboConfronto, &QComboBox::currentIndexChanged, this, [this] { MostraAssetto(); });
    ui->cboConfronto->setAccessibleName(ui->lblConfronto->text());
    ui->lblConfronto->setBuddy(ui->cboConfronto);
    connect(ui->cmdEliminaAssetto, &QPushButton::clicked, this, &frmStorico::EliminaAssetto);
    connect(Legame(), &LegameArchivio::RigaMostrata, this, &frmStorico::AggiornaElenco);

    ui->tblConfronto->setRowCount(registro::NumeroVoci);
    ui->tblCoordinate->setRowCount(3);
    PreparaTesti();

    Carica();
    // Showing the athlete has filled the window already, but for an archive
    // that shows nothing at all.
    if (!elencoMostrato_) AggiornaElenco();
}

frmStorico::~frmStorico() { Rilascia(); }

void frmStorico::PreparaTesti() {
    // The headers and the names of the rows, in the language in force (it
    // changes only on the home window, never under an athlete window).
    ui->lstAssetti->setHeaderLabels({Messaggio(msg::Data), Messaggio(msg::Bici), Messaggio(msg::Disciplina)});
    PreparaTabella(ui->tblConfronto,
                   {QString(), Messaggio(msg::Assetto), Messaggio(msg::Oggi), Messaggio(msg::Cambiamento)}, 90);
    // The 22 rows under a header of two lines, without a scroll bar.
    ui->tblConfronto->verticalHeader()->setDefaultSectionSize(19);
    PreparaTabella(ui->tblCoordinate,
                   {QString(), Messaggio(msg::Assetto), Messaggio(msg::Proprio), Messaggio(msg::Cambiamento)}, 78);
    for (int i = 0; i < registro::NumeroVoci; ++i) ui->tblConfronto->setItem(i, 0, Cella(registro::NomeVoce(i), false));
    for (int i = 0; i < 3; ++i)
        ui->tblCoordinate->setItem(i, 0, Cella(Messaggio(msg::PuntiCoordinate[static_cast<std::size_t>(i)]), false));
    titoloAssetti_ = Didascalia("frmStorico", "lblAssetti");
    nessunAssetto_ = Messaggio(msg::NessunAssetto);
    intestazioneAssetto_ = Messaggio(msg::Assetto);
}

void frmStorico::AggiornaElenco() {
    elencoMostrato_ = true;

    assetti_.clear();
    const auto id = Legame() ? Legame()->IdCorrente() : std::nullopt;
    if (id && Legame()->ArchivioAperto()) {
        const archivio::Esito esito = Legame()->Connessione().LeggiAssetti(*id, assetti_);
        if (!esito) {
            assetti_.clear();
            MostraMessaggio(this, TestoAssettiNonLetti(Legame()->FileArchivio(), ui->txtNome->text(), esito.errore()));
        }
    }

    const QSignalBlocker fermo(ui->lstAssetti);
    ui->lstAssetti->clear();
    // Each discipline's name looked up once, not once a fitting.
    std::map<std::string, QString> discipline;
    QList<QTreeWidgetItem*> voci;
    voci.reserve(static_cast<qsizetype>(assetti_.size()));
    for (const auto& a : assetti_) {
        auto [nome, nuovo] = discipline.try_emplace(a.disciplina);
        if (nuovo) nome->second = registro::NomeDisciplina(a.disciplina);
        voci << new QTreeWidgetItem(QStringList{Q(a.data), Q(a.bici), nome->second});
    }
    ui->lstAssetti->addTopLevelItems(voci);
    if (!assetti_.empty()) ui->lstAssetti->setCurrentItem(ui->lstAssetti->topLevelItem(0));
    {
        // The chosen fitting beside today's values, or beside any other
        // recorded fitting, each told by its date and bike.
        const QSignalBlocker fermoConfronto(ui->cboConfronto);
        ui->cboConfronto->clear();
        ui->cboConfronto->addItem(Messaggio(msg::Oggi), -1);
        for (std::size_t i = 0; i < assetti_.size(); ++i)
            ui->cboConfronto->addItem(registro::NomeAssetto(assetti_[i]), static_cast<int>(i));
        ui->cboConfronto->setCurrentIndex(0);
    }
    MostraAssetto();
}

void frmStorico::MostraAssetto() {
    const bool riga = Legame() && Legame()->IdCorrente().has_value();
    const archivio::Assetto oggi =
        riga ? registro::AssettoDaRiga(*Legame()->IdCorrente(), Legame()->RigaCorrente(), {}) : archivio::Assetto{};
    const int scelto = ui->lstAssetti->indexOfTopLevelItem(ui->lstAssetti->currentItem());
    const archivio::Assetto* a = scelto >= 0 && scelto < static_cast<int>(assetti_.size())
                                     ? &assetti_[static_cast<std::size_t>(scelto)]
                                     : nullptr;
    ui->cmdEliminaAssetto->setEnabled(a != nullptr);
    // What the chosen fitting is compared with: today, or another fitting.
    const int altro = ui->cboConfronto->currentData().isValid() ? ui->cboConfronto->currentData().toInt() : -1;
    const archivio::Assetto* b =
        altro >= 0 && altro < static_cast<int>(assetti_.size()) ? &assetti_[static_cast<std::size_t>(altro)] : nullptr;
    const bool conAltro = b || riga;
    // Each column carries its fitting's date and bike: two of one day differ.
    ui->tblConfronto->horizontalHeaderItem(1)->setText(a ? Intestazione(*a) : intestazioneAssetto_);
    ui->tblConfronto->horizontalHeaderItem(2)->setText(b ? Intestazione(*b) : Messaggio(msg::Oggi));
    ui->lblAssetti->setText(assetti_.empty() && riga ? nessunAssetto_ : titoloAssetti_);

    for (int i = 0; i < registro::NumeroVoci; ++i) {
        const std::string nessuno;
        const std::string& adesso = b ? registro::Voce(*b, i) : registro::Voce(oggi, i);
        const std::string& allora = a ? registro::Voce(*a, i) : nessuno;
        ui->tblConfronto->setItem(i, 1, Cella(Q(allora).trimmed()));
        ui->tblConfronto->setItem(i, 2, Cella(conAltro ? Q(adesso).trimmed() : QString()));
        ui->tblConfronto->setItem(i, 3, Cella(a && conAltro ? registro::DifferenzaVoce(allora, adesso) : QString()));
    }
    MostraCoordinate(oggi);

    ui->lblTelaioTesto->setText(a ? registro::RigheTelaioDi(*a).join(QStringLiteral("\n\n")) : QString());
    ui->lblNoteTesto->setText(a ? Q(a->note) : QString());
}

void frmStorico::MostraCoordinate(const archivio::Assetto& oggi) {
    const bool riga = Legame() && Legame()->IdCorrente().has_value();
    const auto righe = registro::RigheCoordinate(oggi);
    for (int i = 0; i < 3; ++i) {
        const registro::RigaCoordinate& r = righe[static_cast<std::size_t>(i)];
        ui->tblCoordinate->setItem(i, 1, Cella(riga ? r.testoAssetto : QString()));
        ui->tblCoordinate->setItem(i, 2, Cella(riga ? r.testoProprio : QString()));
        ui->tblCoordinate->setItem(i, 3, Cella(riga ? r.spostamento : QString()));
    }
}

void frmStorico::EliminaAssetto() {
    const int scelto = ui->lstAssetti->indexOfTopLevelItem(ui->lstAssetti->currentItem());
    if (scelto < 0 || scelto >= static_cast<int>(assetti_.size()) || !Legame()) return;
    const archivio::Assetto& a = assetti_[static_cast<std::size_t>(scelto)];
    if (!Chiedi(this, Messaggio(msg::EliminaAssetto).arg(Q(a.data), Q(a.bici)))) return;
    const archivio::Esito esito = Legame()->ConnessioneInScrittura().EliminaAssetto(a.id);
    if (!esito)
        MostraMessaggio(this, TestoAssettoNonEliminato(Legame()->FileArchivio(), ui->txtNome->text(), esito.errore()));
    AggiornaElenco();
    if (ui->lstAssetti->topLevelItemCount() > 0) {
        ui->lstAssetti->setCurrentItem(
            ui->lstAssetti->topLevelItem(std::min(scelto, ui->lstAssetti->topLevelItemCount() - 1)));
        ui->lstAssetti->setFocus();
    }
}

bool frmStorico::eventFilter(QObject* oggetto, QEvent* evento) {
    if (oggetto == ui->lstAssetti && evento->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(evento)->key() == Qt::Key_Delete &&
        static_cast<QKeyEvent*>(evento)->modifiers() == Qt::NoModifier) {
        EliminaAssetto();
        return true;
    }
    return FinestraAtleta::eventFilter(oggetto, evento);
}
