#include "frmGuida.h"

#include "IdMessaggiProgramma.h"
#include "ui_frmGuida.h"

#include "Collegamenti.h"
#include "GuidaChm.h"
#include "Messaggi.h"
#include "Messaggio.h"
#include "SommarioChm.h"
#include "TraduciForm.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileInfo>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStyle>
#include <QTreeWidgetItem>
#include <QTreeWidgetItemIterator>

ApriEsternoGuidaFn ApriEsternoGuida = [](const QUrl& indirizzo) { QDesktopServices::openUrl(indirizzo); };

namespace {

// The data role of a table-of-contents entry holding its target.
constexpr int RuoloDestinazione = Qt::UserRole;

bool CollegamentoEsterno(const QUrl& indirizzo) {
    const QString schema = indirizzo.scheme().toLower();
    return schema == QLatin1String("http") || schema == QLatin1String("https") || schema == QLatin1String("mailto");
}

}  // namespace

frmGuida::frmGuida(QWidget* proprietario) : QWidget(proprietario, Qt::Window), ui(std::make_unique<Ui::frmGuida>()) {
    ui->setupUi(this);
    // The viewer never keeps the program running on its own.
    setAttribute(Qt::WA_QuitOnClose, false);
    setAttribute(Qt::WA_DeleteOnClose, true);

    ui->cmdIndietro->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
    ui->cmdAvanti->setIcon(style()->standardIcon(QStyle::SP_ArrowForward));
    ui->cmdInizio->setIcon(style()->standardIcon(QStyle::SP_DirHomeIcon));
    ui->cmdIndietro->setEnabled(false);
    ui->cmdAvanti->setEnabled(false);
    ui->divisore->setStretchFactor(0, 0);
    ui->divisore->setStretchFactor(1, 1);
    ui->divisore->setSizes({270, 730});
    traduci();
    new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &QWidget::close);

    connect(ui->cmdIndietro, &QToolButton::clicked, ui->txtGuida, &QTextBrowser::backward);
    connect(ui->cmdAvanti, &QToolButton::clicked, ui->txtGuida, &QTextBrowser::forward);
    connect(ui->cmdInizio, &QToolButton::clicked, this, &frmGuida::vaiAllInizio);
    connect(ui->txtGuida, &QTextBrowser::backwardAvailable, ui->cmdIndietro, &QWidget::setEnabled);
    connect(ui->txtGuida, &QTextBrowser::forwardAvailable, ui->cmdAvanti, &QWidget::setEnabled);
    connect(ui->txtGuida, &QTextBrowser::anchorClicked, this, &frmGuida::seguiCollegamento);
    connect(ui->txtGuida, &QTextBrowser::sourceChanged, this, &frmGuida::evidenziaVoce);
    connect(ui->treeSommario, &QTreeWidget::itemClicked, this, &frmGuida::apriVoce);
    connect(ui->treeSommario, &QTreeWidget::itemActivated, this, &frmGuida::apriVoce);
}

frmGuida::~frmGuida() = default;

void frmGuida::closeEvent(QCloseEvent* evento) {
    QWidget::closeEvent(evento);
    if (evento->isAccepted()) chiuso_ = true;
}

void frmGuida::traduci() {
    TraduciForm(this);
    ui->treeSommario->headerItem()->setText(0, Messaggio(msg::Sommario));
}

void frmGuida::changeEvent(QEvent* evento) {
    QWidget::changeEvent(evento);
    if (evento->type() != QEvent::LanguageChange) return;
    // The program speaks another language: the contents and the page follow.
    const auto& lettore = ui->txtGuida->lettore();
    if (!lettore || inglese_ == GuidaInInglese()) return;
    caricaSommario();
    const QString pagina = argomentoCorrente();
    const QString altra = PaginaNellaLingua(pagina, inglese_);
    if (!pagina.isEmpty() && altra != pagina && lettore->contiene(altra))
        ui->txtGuida->setSource(BrowserChm::Indirizzo(altra, ui->txtGuida->source().fragment(QUrl::FullyDecoded)));
}

BrowserChm* frmGuida::browser() const { return ui->txtGuida; }

QString frmGuida::fileGuida() const {
    const auto& lettore = ui->txtGuida->lettore();
    return lettore ? lettore->percorsoFile() : QString();
}

QString frmGuida::argomentoCorrente() const { return ui->txtGuida->percorsoDi(ui->txtGuida->source()); }

void frmGuida::mostra(std::shared_ptr<LettoreChm> lettore, const QString& argomento) {
    if (!lettore) return;
    const auto& precedente = ui->txtGuida->lettore();
    const bool altroFile = !precedente || QFileInfo(precedente->percorsoFile()).absoluteFilePath() !=
                                              QFileInfo(lettore->percorsoFile()).absoluteFilePath();
    ui->txtGuida->impostaLettore(std::move(lettore));
    if (altroFile) ui->txtGuida->clearHistory();
    if (altroFile || inglese_ != GuidaInInglese()) caricaSommario();
    const auto [percorso, frammento] = DividiDestinazione(argomento);
    const QUrl indirizzo = BrowserChm::Indirizzo(percorso, frammento);
    if (!altroFile && indirizzo == ui->txtGuida->source())
        ui->txtGuida->reload();
    else
        ui->txtGuida->setSource(indirizzo);
}

void frmGuida::caricaSommario() {
    ui->treeSommario->clear();
    ui->treeSommario->headerItem()->setText(0, Messaggio(msg::Sommario));
    inglese_ = GuidaInInglese();
    const auto& lettore = ui->txtGuida->lettore();
    // The English contents lie in the English folder, under the same name.
    QString fileSommario = lettore ? lettore->fileSommario() : QString();
    if (inglese_ && !fileSommario.isEmpty() && lettore->contiene(PaginaNellaLingua(fileSommario, true)))
        fileSommario = PaginaNellaLingua(fileSommario, true);
    const auto dati = fileSommario.isEmpty() ? std::nullopt : lettore->leggi(fileSommario);
    if (!dati) {
        ui->treeSommario->hide();
        return;
    }
    // The entries under their own, as the file nests them.
    const std::vector<VoceSommario> voci = LeggiSommario(DecodificaTestoChm(*dati, true));
    std::vector<QTreeWidgetItem*> elementi;
    elementi.reserve(voci.size());
    for (const VoceSommario& v : voci) {
        auto* voce = v.genitore >= 0 ? new QTreeWidgetItem(elementi[static_cast<std::size_t>(v.genitore)])
                                     : new QTreeWidgetItem(ui->treeSommario);
        voce->setText(0, v.titolo);
        voce->setToolTip(0, v.titolo);
        voce->setData(0, RuoloDestinazione, v.destinazione);
        elementi.push_back(voce);
    }
    ui->treeSommario->expandAll();
    ui->treeSommario->setVisible(ui->treeSommario->topLevelItemCount() > 0);
}

void frmGuida::seguiCollegamento(const QUrl& indirizzo) {
    if (CollegamentoEsterno(indirizzo)) {
        ApriEsternoGuida(indirizzo);
        return;
    }
    const QString percorso = ui->txtGuida->percorsoDi(indirizzo);
    const auto& lettore = ui->txtGuida->lettore();
    if (percorso.isEmpty() || !lettore) return;  // another kind of address: not ours to open
    if (!lettore->contiene(percorso)) {
        MostraMessaggio(this, lettore->messaggioErrore());
        return;
    }
    ui->txtGuida->setSource(BrowserChm::Indirizzo(percorso, indirizzo.fragment(QUrl::FullyDecoded)));
}

void frmGuida::apriVoce(QTreeWidgetItem* voce) {
    const auto& lettore = ui->txtGuida->lettore();
    if (voce == nullptr || !lettore) return;
    const QString destinazione = voce->data(0, RuoloDestinazione).toString();
    if (destinazione.isEmpty()) return;
    const auto [percorso, frammento] = DividiDestinazione(destinazione);
    if (!lettore->contiene(percorso)) {
        MostraMessaggio(this, lettore->messaggioErrore());
        return;
    }
    ui->txtGuida->setSource(BrowserChm::Indirizzo(percorso, frammento));
}

void frmGuida::vaiAllInizio() {
    const auto& lettore = ui->txtGuida->lettore();
    if (!lettore) return;
    QString inizio = lettore->argomentoPredefinito();
    if (inizio.isEmpty() || !lettore->contiene(inizio)) inizio = ArgomentoDiRiserva;
    if (const QString tradotto = PaginaNellaLingua(inizio, GuidaInInglese()); lettore->contiene(tradotto))
        inizio = tradotto;
    if (!lettore->contiene(inizio)) {
        MostraMessaggio(this, lettore->messaggioErrore());
        return;
    }
    ui->txtGuida->setSource(BrowserChm::Indirizzo(inizio));
}

void frmGuida::evidenziaVoce(const QUrl& indirizzo) {
    const QString percorso = ui->txtGuida->percorsoDi(indirizzo);
    const QString frammento = indirizzo.fragment(QUrl::FullyDecoded);
    QTreeWidgetItem* stessaPagina = nullptr;
    QTreeWidgetItem* esatta = nullptr;
    for (QTreeWidgetItemIterator it(ui->treeSommario); *it && !esatta; ++it) {
        const auto [percorsoVoce, frammentoVoce] = DividiDestinazione((*it)->data(0, RuoloDestinazione).toString());
        if (percorsoVoce.compare(percorso, Qt::CaseInsensitive) != 0) continue;
        if (frammentoVoce == frammento)
            esatta = *it;
        else if (frammentoVoce.isEmpty() && stessaPagina == nullptr)
            stessaPagina = *it;
    }
    QTreeWidgetItem* voce = esatta ? esatta : stessaPagina;
    const QSignalBlocker blocco(ui->treeSommario);
    ui->treeSommario->setCurrentItem(voce);
    if (voce) ui->treeSommario->scrollToItem(voce);
}
