#include "frmTest.h"

#include "ui_frmTest.h"

#include "AvvisiArchivio.h"
#include "Calendario.h"
#include "CoordinateAssetto.h"
#include "FinestraUnica.h"
#include "GraficoStagione.h"
#include "IdMessaggi.h"
#include "LegameArchivio.h"
#include "Messaggi.h"
#include "Messaggio.h"
#include "Modulo1.h"
#include "RegistroAssetti.h"
#include "Stili.h"
#include "TraduciForm.h"
#include "ZoneTest.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QRegularExpressionValidator>
#include <QTreeWidgetItem>

#include <algorithm>

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }
std::string S(const QString& s) { return Modulo1::NormalizzaDecimali(s.trimmed().toStdString()); }
double Valore(const std::string& t) { return Modulo1::CentroRisultato(t).value_or(0); }

}  // namespace

frmTest::frmTest(QWidget* genitore) : QWidget(genitore), ui(std::make_unique<Ui::frmTest>()) {
    ui->setupUi(this);
    AdattaCaratteri(this);
    TraduciForm(this);
    grafico_ = new GraficoStagione(this);
    grafico_->setObjectName(QStringLiteral("grafico"));
    grafico_->setGeometry(10, 548, 420, 118);
    // Named by its caption, in the language of the moment.
    ui->lblGrafico->setBuddy(grafico_);

    ui->lstTest->setColumnWidth(0, 90);
    for (int c = 1; c < 5; ++c) ui->lstTest->setColumnWidth(c, 72);
    ui->lstTest->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ui->lstTest->setHeaderLabels(
        {Messaggio(msg::Data), ui->lblFcMax->text(), ui->lblLthr->text(), ui->lblFtp->text(), ui->lblPeso->text()});

    // Whole numbers or one decimal; the date as yyyy-mm-dd.
    static const QRegularExpression numero(QStringLiteral("\\d{0,3}([.,]\\d?)?"));
    for (QLineEdit* box : {ui->txtFcMax, ui->txtLthr, ui->txtFtp, ui->txtPeso})
        box->setValidator(new QRegularExpressionValidator(numero, box));
    ui->txtFtp->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,4}([.,]\\d?)?")), ui->txtFtp));
    ui->txtData->setPlaceholderText(QStringLiteral("yyyy-mm-dd"));

    ui->tblZone->setColumnCount(4);
    ui->tblZone->setRowCount(7);
    ui->tblZone->verticalHeader()->hide();
    ui->tblZone->verticalHeader()->setDefaultSectionSize(20);
    ui->tblZone->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);

    connect(ui->lstTest, &QTreeWidget::currentItemChanged, this, [this] {
        ConfermaModifiche();
        MostraScelto();
    });
    connect(ui->cmdNuovo, &QPushButton::clicked, this, [this] {
        if (ConfermaModifiche(true)) NuovoTest();
    });
    for (QLineEdit* box : {ui->txtData, ui->txtFcMax, ui->txtLthr, ui->txtFtp, ui->txtPeso})
        connect(box, &QLineEdit::textEdited, this, [this] { modificato_ = true; });
    connect(ui->txtNote, &QPlainTextEdit::textChanged, this, [this] {
        if (!caricamento_) modificato_ = true;
    });
    connect(ui->cmdRegistra, &QPushButton::clicked, this, [this] { RegistraTest(); });
    connect(ui->cmdElimina, &QPushButton::clicked, this, &frmTest::EliminaTest);
    ui->lstTest->installEventFilter(this);
}

frmTest::~frmTest() = default;

void frmTest::Segui(LegameArchivio* legame) {
    if (legame_ == legame) return;
    if (legame_) disconnect(legame_, nullptr, this, nullptr);
    legame_ = legame;
    if (legame_) {
        connect(legame_, &LegameArchivio::RigaMostrata, this, &frmTest::Aggiorna);
        // The tests belong beside the condition sheet: they go with it.
        connect(legame_, &QObject::destroyed, this, &QWidget::close);
    }
    Aggiorna();
}

bool frmTest::ConfermaModifiche(bool conAnnulla) {
    if (!modificato_ || !legame_ || !atleta_) return true;
    const auto pulsanti =
        QMessageBox::Yes | QMessageBox::No | (conAnnulla ? QMessageBox::Cancel : QMessageBox::NoButton);
    const auto risposta = MostraMessaggio(this, Messaggio(msg::RegistrareTest), pulsanti, QMessageBox::Question);
    if (risposta == QMessageBox::Cancel) return false;
    if (risposta == QMessageBox::Yes) return RegistraTest();
    modificato_ = false;
    return true;
}

void frmTest::closeEvent(QCloseEvent* evento) {
    if (!ConfermaModifiche(true)) {
        evento->ignore();
        return;
    }
    QWidget::closeEvent(evento);
}

void frmTest::Aggiorna() {
    // Another athlete shown: what was typed for the one before is his.
    if (modificato_) ConfermaModifiche();
    test_.clear();
    const auto id = legame_ ? legame_->IdCorrente() : std::nullopt;
    atleta_ = id;
    ui->lblAtleta->setText(legame_ && id ? legame_->txtNome()->text() : QString());
    if (id && legame_->ArchivioAperto()) {
        if (const archivio::Esito e = legame_->Connessione().LeggiTest(*id, test_); !e) {
            test_.clear();
            MostraMessaggio(this, TestoTestNonLetti(legame_->FileArchivio(), legame_->txtNome()->text(), e.errore()));
        }
    }
    for (QWidget* w : std::initializer_list<QWidget*>{ui->txtData, ui->txtFcMax, ui->txtLthr, ui->txtFtp, ui->txtPeso,
                                                      ui->txtNote, ui->cmdNuovo, ui->cmdRegistra})
        w->setEnabled(id.has_value());

    const QSignalBlocker fermo(ui->lstTest);
    ui->lstTest->clear();
    QList<QTreeWidgetItem*> voci;
    for (const auto& t : test_)
        voci << new QTreeWidgetItem(QStringList{Q(t.data), Q(t.fcmax), Q(t.lthr), Q(t.ftp), Q(t.peso)});
    ui->lstTest->addTopLevelItems(voci);
    if (!test_.empty()) ui->lstTest->setCurrentItem(ui->lstTest->topLevelItem(0));
    MostraScelto();
    if (test_.empty()) NuovoTest();
    MostraZone();
}

void frmTest::MostraScelto() {
    const int scelto = ui->lstTest->indexOfTopLevelItem(ui->lstTest->currentItem());
    const bool c = scelto >= 0 && scelto < static_cast<int>(test_.size());
    ui->cmdElimina->setEnabled(c);
    if (!c) return;
    const archivio::TestAtleta& t = test_[static_cast<std::size_t>(scelto)];
    caricamento_ = true;
    modificato_ = false;
    ui->txtData->setText(Q(t.data));
    ui->txtFcMax->setText(Q(t.fcmax));
    ui->txtLthr->setText(Q(t.lthr));
    ui->txtFtp->setText(Q(t.ftp));
    ui->txtPeso->setText(Q(t.peso));
    ui->txtNote->setPlainText(Q(t.note));
    caricamento_ = false;
}

void frmTest::NuovoTest() {
    {
        const QSignalBlocker fermo(ui->lstTest);
        ui->lstTest->setCurrentItem(nullptr);
        ui->lstTest->clearSelection();
    }
    ui->cmdElimina->setEnabled(false);
    ui->txtData->setText(Q(Calendario::TestoIso(Calendario::Servizi().oggi())));
    for (QLineEdit* box : {ui->txtFcMax, ui->txtLthr, ui->txtFtp, ui->txtPeso}) box->clear();
    caricamento_ = true;
    ui->txtNote->clear();
    caricamento_ = false;
    modificato_ = false;
    // The card's weight, offered: stored as the test's weight when left so.
    const std::string peso = legame_ ? legame_->RigaCorrente()[*archivio::IndiceColonna("peso")] : std::string();
    ui->txtPeso->setPlaceholderText(Q(peso));
}

bool frmTest::RegistraTest() {
    // The athlete whose tests are shown, even when the sheet has just moved on.
    const auto id = legame_ ? atleta_ : std::nullopt;
    if (!id) return false;
    archivio::TestAtleta t;
    const int scelto = ui->lstTest->indexOfTopLevelItem(ui->lstTest->currentItem());
    const bool modifica = scelto >= 0 && scelto < static_cast<int>(test_.size());
    if (modifica) t = test_[static_cast<std::size_t>(scelto)];
    t.atleta = *id;
    t.data = S(ui->txtData->text());
    t.fcmax = S(ui->txtFcMax->text());
    t.lthr = S(ui->txtLthr->text());
    t.ftp = S(ui->txtFtp->text());
    t.peso = S(ui->txtPeso->text());
    if (t.peso.empty()) t.peso = S(ui->txtPeso->placeholderText());
    t.note = ui->txtNote->toPlainText().toStdString();
    if (const QString data = registro::TestoDataNonValida(t.data, false); !data.isEmpty()) {
        MostraMessaggio(this, data);
        ui->txtData->setFocus();
        return false;
    }
    // A value no athlete has is refused, named with its range; an unusual one
    // taken at the coach's word.
    using Modulo1::Grandezza;
    if (const auto fuori = Modulo1::GiudicaTest(registro::ValoreScritto(t.fcmax), registro::ValoreScritto(t.lthr),
                                                registro::ValoreScritto(t.ftp), registro::ValoreScritto(t.peso))) {
        const bool rifiuto = fuori->giudizio == Modulo1::Giudizio::Impossibile;
        const bool preso = !rifiuto && Chiedi(this, registro::TestoValoreFuori(*fuori));
        if (rifiuto) MostraMessaggio(this, registro::TestoValoreFuori(*fuori));
        if (!preso) {
            QLineEdit* box = fuori->grandezza == Grandezza::FcMax  ? ui->txtFcMax
                             : fuori->grandezza == Grandezza::Lthr ? ui->txtLthr
                             : fuori->grandezza == Grandezza::Ftp  ? ui->txtFtp
                                                                   : ui->txtPeso;
            box->setFocus();
            box->selectAll();
            return false;
        }
    }
    std::int64_t nuovo = t.id;
    const archivio::Esito e = modifica ? legame_->ConnessioneInScrittura().ModificaTest(t)
                                       : legame_->ConnessioneInScrittura().RegistraTest(t, nuovo);
    if (!e) {
        MostraMessaggio(this, TestoTestNonRegistrato(legame_->FileArchivio(), legame_->txtNome()->text(), e.errore()));
        return false;
    }
    modificato_ = false;
    Aggiorna();
    // The test just written stays chosen.
    for (std::size_t i = 0; i < test_.size(); ++i)
        if (test_[i].id == nuovo) ui->lstTest->setCurrentItem(ui->lstTest->topLevelItem(static_cast<int>(i)));
    emit TestCambiati();
    return true;
}

void frmTest::EliminaTest() {
    const int scelto = ui->lstTest->indexOfTopLevelItem(ui->lstTest->currentItem());
    if (scelto < 0 || scelto >= static_cast<int>(test_.size()) || !legame_) return;
    const archivio::TestAtleta& t = test_[static_cast<std::size_t>(scelto)];
    if (!Chiedi(this, Messaggio(msg::EliminaTest).arg(Q(t.data)))) return;
    if (const archivio::Esito e = legame_->ConnessioneInScrittura().EliminaTest(t.id); !e)
        MostraMessaggio(this, TestoTestNonRegistrato(legame_->FileArchivio(), legame_->txtNome()->text(), e.errore()));
    Aggiorna();
    emit TestCambiati();
}

bool frmTest::eventFilter(QObject* oggetto, QEvent* evento) {
    if (oggetto == ui->lstTest && evento->type() == QEvent::KeyPress) {
        const auto* tasto = static_cast<QKeyEvent*>(evento);
        if (tasto->key() == Qt::Key_Delete && tasto->modifiers() == Qt::NoModifier) {
            EliminaTest();
            return true;
        }
    }
    return QWidget::eventFilter(oggetto, evento);
}

void frmTest::MostraZone() {
    ui->tblZone->setHorizontalHeaderLabels(
        {Messaggio(msg::Zona), Messaggio(msg::ColonnaFc), Messaggio(msg::Zona), Messaggio(msg::ColonnaPotenza)});
    // The latest test, as the condition sheet and the report take it; a value
    // no athlete has (recorded before it was checked) gives no zones.
    const archivio::TestAtleta* ultimo = registro::UltimoTest(test_).test;
    const registro::ZoneDelTest zone = ultimo ? registro::ZoneDi(*ultimo) : registro::ZoneDelTest{};
    const auto& friel = zone.friel;
    const auto& coggan = zone.coggan;
    for (int r = 0; r < 7; ++r) {
        const auto cella = [&](int c, const std::vector<Modulo1::Zona>& zone, bool nome) {
            const auto i = static_cast<std::size_t>(r);
            QString testo;
            if (i < zone.size()) testo = Q(nome ? zone[i].nome : Modulo1::TestoZona(zone[i]));
            auto* voce = new QTableWidgetItem(testo);
            voce->setTextAlignment(nome ? Qt::AlignCenter : Qt::AlignRight | Qt::AlignVCenter);
            ui->tblZone->setItem(r, c, voce);
        };
        cella(0, friel, true);
        cella(1, friel, false);
        cella(2, coggan, true);
        cella(3, coggan, false);
    }
    const auto& wkg = zone.wattPerKg;
    ui->lblWkg->setText(wkg ? QStringLiteral("%1 W/kg").arg(Q(Modulo1::TestoWattPerKg(*wkg))) : QString());

    // The season, oldest first.
    std::vector<GraficoStagione::Punto> punti;
    for (auto it = test_.rbegin(); it != test_.rend(); ++it) {
        const double ftp = Valore(it->ftp);
        const auto w = Modulo1::WattPerKg(ftp, Valore(it->peso));
        if (ftp > 0 || w) punti.push_back({Q(it->data), ftp, w.value_or(0)});
    }
    grafico_->Imposta(std::move(punti), Messaggio(msg::NessunTestConFtp));
}

frmTest* MostraTest(QWidget* scheda, LegameArchivio* legame) {
    QRect zona;
    if (scheda)
        for (const char* nome : {"lblTitFCmax", "lblFCmax", "lblFcMisurata", "cmdTest"})
            if (const auto* w = scheda->findChild<QWidget*>(QLatin1String(nome)); w && w->isVisible())
                zona |= QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
    frmTest* finestra = MostraFinestraUnica<frmTest>(scheda, zona);
    finestra->Segui(legame);
    return finestra;
}
