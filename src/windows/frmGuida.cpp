#include "frmGuida.h"

#include "ui_frmGuida.h"

#include "Messaggi.h"

#include "Collegamenti.h"
#include "Globali.h"
#include "TraduciForm.h"
#include "modLanguageSupport.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QList>
#include <QMessageBox>
#include <QPointer>
#include <QRegularExpression>
#include <QScreen>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStringConverter>
#include <QStringDecoder>
#include <QStyle>
#include <QTextDocumentFragment>
#include <QTreeWidgetItem>
#include <QTreeWidgetItemIterator>

#include <utility>

ApriEsternoGuidaFn ApriEsternoGuida = [](const QUrl& indirizzo) { QDesktopServices::openUrl(indirizzo); };

namespace {

const QString SchemaGuida = QStringLiteral("chm");
// The topic shown when the file names no default topic of its own.
const QString ArgomentoDiRiserva = QStringLiteral("/Descrizione.html");
// The data role of a table-of-contents entry holding its target.
constexpr int RuoloDestinazione = Qt::UserRole;

QPointer<frmGuida> ViewerAperto;


// Page text: the charset the page declares, else UTF-8 when the bytes are
// valid UTF-8, else Latin-1 (close to the Windows code page of older files).
QString DecodificaTesto(const QByteArray& dati, bool html)
{
    if (html) {
        const auto dichiarata = QStringConverter::encodingForHtml(dati);
        if (dichiarata && *dichiarata != QStringConverter::Utf8) {
            QStringDecoder decodifica(*dichiarata);
            QString testo = decodifica.decode(dati);
            if (!decodifica.hasError())
                return testo;
        }
    }
    QStringDecoder utf8(QStringConverter::Utf8);
    QString testo = utf8.decode(dati);
    if (!utf8.hasError())
        return testo;
    return QString::fromLatin1(dati);
}

QString TestoSemplice(const QString& html)
{
    if (!html.contains(QLatin1Char('&')))
        return html;
    return QTextDocumentFragment::fromHtml(html).toPlainText();
}

// Object path and fragment of a table-of-contents target ("x.html#frammento").
std::pair<QString, QString> DividiDestinazione(const QString& destinazione)
{
    const qsizetype cancelletto = destinazione.indexOf(QLatin1Char('#'));
    const QString frammento = cancelletto >= 0 ? destinazione.mid(cancelletto + 1) : QString();
    return {LettoreChm::PercorsoOggetto(destinazione), frammento};
}

bool CollegamentoEsterno(const QUrl& indirizzo)
{
    const QString schema = indirizzo.scheme().toLower();
    return schema == QLatin1String("http") || schema == QLatin1String("https") || schema == QLatin1String("mailto");
}

// Opens the file and checks the topic; on failure tells the user and gives
// nothing. The topic is returned as an object path with its fragment.
std::shared_ptr<LettoreChm> PreparaArgomento(QWidget* finestra, const QString& fileChm, QString& argomento)
{
    auto lettore = std::make_shared<LettoreChm>(fileChm);
    if (!lettore->aperto()) {
        MostraMessaggio(finestra, lettore->messaggioErrore());
        return nullptr;
    }
    QString richiesto = argomento.trimmed();
    if (LettoreChm::PercorsoOggetto(richiesto).isEmpty()) {
        const QString predefinito = lettore->argomentoPredefinito();
        richiesto = predefinito.isEmpty() ? ArgomentoDiRiserva : predefinito;
        if (const QString tradotto = PaginaNellaLingua(richiesto, GuidaInInglese()); lettore->contiene(tradotto))
            richiesto = tradotto;
    }
    const auto [percorso, frammento] = DividiDestinazione(richiesto);
    if (!lettore->contiene(percorso)) {
        // Name the topic as it was asked for.
        lettore->contiene(richiesto);
        MostraMessaggio(finestra, lettore->messaggioErrore());
        return nullptr;
    }
    argomento = frammento.isEmpty() ? percorso : percorso + QLatin1Char('#') + frammento;
    return lettore;
}

}  // namespace

// ---------------------------------------------------------------------------
// BrowserChm

BrowserChm::BrowserChm(QWidget* genitore) : QTextBrowser(genitore)
{
    // Links are followed by the viewer itself: inside the help file, or handed
    // to the desktop for the web and mail.
    setOpenLinks(false);
    setOpenExternalLinks(false);
}

void BrowserChm::impostaLettore(std::shared_ptr<LettoreChm> lettore)
{
    lettore_ = std::move(lettore);
}

QUrl BrowserChm::Indirizzo(const QString& percorsoOggetto, const QString& frammento)
{
    QUrl indirizzo;
    indirizzo.setScheme(SchemaGuida);
    indirizzo.setPath(LettoreChm::PercorsoOggetto(percorsoOggetto));
    if (!frammento.isEmpty())
        indirizzo.setFragment(frammento);
    return indirizzo;
}

QString BrowserChm::percorsoDi(const QUrl& indirizzo) const
{
    if (indirizzo.isRelative())
        return LettoreChm::PercorsoOggetto(indirizzo.toString(), paginaCorrente_);
    const QString schema = indirizzo.scheme().toLower();
    if (schema == SchemaGuida)
        return LettoreChm::PercorsoOggetto(indirizzo.path(QUrl::FullyDecoded));
    if (schema == QLatin1String("ms-its") || schema == QLatin1String("mk") || schema == QLatin1String("its"))
        return LettoreChm::PercorsoOggetto(indirizzo.toString());
    return QString();
}

void BrowserChm::doSetSource(const QUrl& nome, QTextDocument::ResourceType tipo)
{
    const QString percorso = percorsoDi(nome);
    if (!percorso.isEmpty())
        paginaCorrente_ = percorso;
    QTextBrowser::doSetSource(nome, tipo);
}

QVariant BrowserChm::loadResource(int tipo, const QUrl& nome)
{
    // Nothing is read from the disk or the network: only the help file.
    if (!lettore_)
        return QVariant();
    const QString percorso = percorsoDi(nome);
    if (percorso.isEmpty())
        return QVariant();
    const auto dati = lettore_->leggi(percorso);
    if (!dati)
        return QVariant();
    switch (tipo) {
    case QTextDocument::HtmlResource:
        // Every page load passes here, back and forward included: the page's
        // own style sheet and pictures are then taken from its folder.
        paginaCorrente_ = percorso;
        return DecodificaTesto(*dati, true);
    case QTextDocument::StyleSheetResource:
        return DecodificaTesto(*dati, false);
    default:
        return *dati;
    }
}

// ---------------------------------------------------------------------------
// frmGuida

frmGuida::frmGuida(QWidget* proprietario) : QWidget(proprietario, Qt::Window), ui(std::make_unique<Ui::frmGuida>())
{
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

void frmGuida::closeEvent(QCloseEvent* evento)
{
    QWidget::closeEvent(evento);
    // A closed viewer is on its way out: the next call opens a new one.
    if (evento->isAccepted() && ViewerAperto == this)
        ViewerAperto = nullptr;
}

void frmGuida::traduci()
{
    TraduciForm(this);
    ui->treeSommario->headerItem()->setText(0, Messaggio("0068"));
}

void frmGuida::changeEvent(QEvent* evento)
{
    QWidget::changeEvent(evento);
    if (evento->type() != QEvent::LanguageChange)
        return;
    // The program speaks another language: the contents and the page follow.
    const auto& lettore = ui->txtGuida->lettore();
    if (!lettore || inglese_ == GuidaInInglese())
        return;
    caricaSommario();
    const QString pagina = argomentoCorrente();
    const QString altra = PaginaNellaLingua(pagina, inglese_);
    if (!pagina.isEmpty() && altra != pagina && lettore->contiene(altra))
        ui->txtGuida->setSource(BrowserChm::Indirizzo(altra, ui->txtGuida->source().fragment(QUrl::FullyDecoded)));
}

BrowserChm* frmGuida::browser() const
{
    return ui->txtGuida;
}

QString frmGuida::fileGuida() const
{
    const auto& lettore = ui->txtGuida->lettore();
    return lettore ? lettore->percorsoFile() : QString();
}

QString frmGuida::argomentoCorrente() const
{
    return ui->txtGuida->percorsoDi(ui->txtGuida->source());
}

void frmGuida::mostra(std::shared_ptr<LettoreChm> lettore, const QString& argomento)
{
    if (!lettore)
        return;
    const auto& precedente = ui->txtGuida->lettore();
    const bool altroFile = !precedente || QFileInfo(precedente->percorsoFile()).absoluteFilePath() !=
                                              QFileInfo(lettore->percorsoFile()).absoluteFilePath();
    ui->txtGuida->impostaLettore(std::move(lettore));
    if (altroFile)
        ui->txtGuida->clearHistory();
    if (altroFile || inglese_ != GuidaInInglese())
        caricaSommario();
    const auto [percorso, frammento] = DividiDestinazione(argomento);
    const QUrl indirizzo = BrowserChm::Indirizzo(percorso, frammento);
    if (!altroFile && indirizzo == ui->txtGuida->source())
        ui->txtGuida->reload();
    else
        ui->txtGuida->setSource(indirizzo);
}

void frmGuida::caricaSommario()
{
    ui->treeSommario->clear();
    ui->treeSommario->headerItem()->setText(0, Messaggio("0068"));
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
    const QString testo = DecodificaTesto(*dati, true);

    // A sitemap: nested <UL> lists whose <OBJECT type="text/sitemap"> entries
    // carry a Name and a Local parameter.
    static const QRegularExpression marcatore(QStringLiteral("<\\s*(/?)\\s*(ul|object)\\b([^>]*)>"),
                                              QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression parametro(
        QStringLiteral("<\\s*param\\s+name\\s*=\\s*\"([^\"]*)\"\\s+value\\s*=\\s*\"([^\"]*)\""),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression fineOggetto(QStringLiteral("<\\s*/\\s*object\\s*>"),
                                                QRegularExpression::CaseInsensitiveOption);

    QList<QTreeWidgetItem*> genitori;  // one per open list; nullptr stands for the top level
    QTreeWidgetItem* ultima = nullptr;
    qsizetype posizione = 0;
    while (true) {
        const auto trovato = marcatore.match(testo, posizione);
        if (!trovato.hasMatch())
            break;
        posizione = trovato.capturedEnd();
        const bool chiusura = !trovato.captured(1).isEmpty();
        const QString nome = trovato.captured(2).toLower();
        if (nome == QLatin1String("ul")) {
            if (chiusura) {
                if (!genitori.isEmpty())
                    genitori.removeLast();
            } else {
                genitori.append(genitori.isEmpty() ? nullptr : ultima);
            }
            continue;
        }
        if (chiusura)
            continue;
        const auto fine = fineOggetto.match(testo, posizione);
        const qsizetype finePosizione = fine.hasMatch() ? fine.capturedStart() : testo.size();
        const QString blocco = testo.mid(posizione, finePosizione - posizione);
        posizione = fine.hasMatch() ? fine.capturedEnd() : testo.size();
        if (!trovato.captured(3).contains(QLatin1String("text/sitemap"), Qt::CaseInsensitive))
            continue;
        QString titolo;
        QString destinazione;
        for (auto it = parametro.globalMatch(blocco); it.hasNext();) {
            const auto p = it.next();
            if (p.captured(1).compare(QLatin1String("Name"), Qt::CaseInsensitive) == 0 && titolo.isEmpty())
                titolo = TestoSemplice(p.captured(2));
            else if (p.captured(1).compare(QLatin1String("Local"), Qt::CaseInsensitive) == 0)
                destinazione = p.captured(2);
        }
        if (titolo.isEmpty())
            continue;
        QTreeWidgetItem* genitore = genitori.isEmpty() ? nullptr : genitori.last();
        auto* voce = genitore ? new QTreeWidgetItem(genitore) : new QTreeWidgetItem(ui->treeSommario);
        voce->setText(0, titolo);
        voce->setToolTip(0, titolo);
        voce->setData(0, RuoloDestinazione, destinazione);
        ultima = voce;
    }
    ui->treeSommario->expandAll();
    ui->treeSommario->setVisible(ui->treeSommario->topLevelItemCount() > 0);
}

void frmGuida::seguiCollegamento(const QUrl& indirizzo)
{
    if (CollegamentoEsterno(indirizzo)) {
        ApriEsternoGuida(indirizzo);
        return;
    }
    const QString percorso = ui->txtGuida->percorsoDi(indirizzo);
    const auto& lettore = ui->txtGuida->lettore();
    if (percorso.isEmpty() || !lettore)
        return;  // another kind of address: not ours to open
    if (!lettore->contiene(percorso)) {
        MostraMessaggio(this, lettore->messaggioErrore());
        return;
    }
    ui->txtGuida->setSource(BrowserChm::Indirizzo(percorso, indirizzo.fragment(QUrl::FullyDecoded)));
}

void frmGuida::apriVoce(QTreeWidgetItem* voce)
{
    const auto& lettore = ui->txtGuida->lettore();
    if (voce == nullptr || !lettore)
        return;
    const QString destinazione = voce->data(0, RuoloDestinazione).toString();
    if (destinazione.isEmpty())
        return;
    const auto [percorso, frammento] = DividiDestinazione(destinazione);
    if (!lettore->contiene(percorso)) {
        MostraMessaggio(this, lettore->messaggioErrore());
        return;
    }
    ui->txtGuida->setSource(BrowserChm::Indirizzo(percorso, frammento));
}

void frmGuida::vaiAllInizio()
{
    const auto& lettore = ui->txtGuida->lettore();
    if (!lettore)
        return;
    QString inizio = lettore->argomentoPredefinito();
    if (inizio.isEmpty() || !lettore->contiene(inizio))
        inizio = ArgomentoDiRiserva;
    if (const QString tradotto = PaginaNellaLingua(inizio, GuidaInInglese()); lettore->contiene(tradotto))
        inizio = tradotto;
    if (!lettore->contiene(inizio)) {
        MostraMessaggio(this, lettore->messaggioErrore());
        return;
    }
    ui->txtGuida->setSource(BrowserChm::Indirizzo(inizio));
}

void frmGuida::evidenziaVoce(const QUrl& indirizzo)
{
    const QString percorso = ui->txtGuida->percorsoDi(indirizzo);
    const QString frammento = indirizzo.fragment(QUrl::FullyDecoded);
    QTreeWidgetItem* stessaPagina = nullptr;
    QTreeWidgetItem* esatta = nullptr;
    for (QTreeWidgetItemIterator it(ui->treeSommario); *it && !esatta; ++it) {
        const auto [percorsoVoce, frammentoVoce] = DividiDestinazione((*it)->data(0, RuoloDestinazione).toString());
        if (percorsoVoce.compare(percorso, Qt::CaseInsensitive) != 0)
            continue;
        if (frammentoVoce == frammento)
            esatta = *it;
        else if (frammentoVoce.isEmpty() && stessaPagina == nullptr)
            stessaPagina = *it;
    }
    QTreeWidgetItem* voce = esatta ? esatta : stessaPagina;
    const QSignalBlocker blocco(ui->treeSommario);
    ui->treeSommario->setCurrentItem(voce);
    if (voce)
        ui->treeSommario->scrollToItem(voce);
}

// ---------------------------------------------------------------------------

frmGuida* FinestraGuida()
{
    return ViewerAperto.data();
}

void MostraGuidaChm(QWidget* proprietario, const QString& fileChm, const QString& argomento)
{
    QString percorso = argomento;
    auto lettore = PreparaArgomento(proprietario, fileChm, percorso);
    if (!lettore)
        return;

    QWidget* finestraProprietaria = proprietario ? proprietario->window() : nullptr;
    frmGuida* viewer = ViewerAperto.data();
    const bool nuovo = viewer == nullptr;
    if (nuovo) {
        viewer = new frmGuida(finestraProprietaria);
        ViewerAperto = viewer;
        if (finestraProprietaria == nullptr) {
            // Without an owner the viewer must still go when the program ends.
            QObject::connect(qApp, &QCoreApplication::aboutToQuit, viewer, &QWidget::close);
        }
    } else if (finestraProprietaria && finestraProprietaria != viewer && viewer->parentWidget() != finestraProprietaria) {
        const QRect posizione = viewer->geometry();
        viewer->setParent(finestraProprietaria, viewer->windowFlags() | Qt::Window);
        viewer->setGeometry(posizione);
    }

    viewer->mostra(std::move(lettore), percorso);

    if (nuovo) {
        // Open over the owner, or in the middle of the screen.
        const QRect area = finestraProprietaria ? finestraProprietaria->frameGeometry()
                           : viewer->screen()   ? viewer->screen()->availableGeometry()
                                                : QRect();
        if (area.isValid())
            viewer->move(area.center() - viewer->rect().center());
    }
    if (viewer->isMinimized())
        viewer->showNormal();
    else
        viewer->show();
    viewer->raise();
    viewer->activateWindow();
}
