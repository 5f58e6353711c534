#include "mdi.h"

#include "ui_mdi.h"

#include "AtletaCorrente.h"
#include "BloccoInattivita.h"
#include "ChiaveArchivio.h"
#include "Collegamenti.h"
#include "ConnessioneCondivisa.h"
#include "FiltroApplicazione.h"
#include "Globali.h"
#include "Risorse.h"
#include "RisultatiInteri.h"
#include "StampaFinestra.h"
#include "Stili.h"
#include "TraduciForm.h"
#include "modLanguageSupport.h"
#include "moduloNoRidimens.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QShortcut>
#include <QStyle>

#include <filesystem>

namespace {

mdi* istanza = nullptr;

}  // namespace

mdi::mdi(QWidget* genitore) : QMainWindow(genitore), ui(std::make_unique<Ui::mdi>()) {
    istanza = this;
    InizializzaRisorse();
    InstallaFiltroApplicazione();
    ui->setupUi(this);
    AdattaCaratteri(this);
    // Pictures drawn from the program's SVG files at the size they are shown;
    // the window's icon is the program's.
    for (QPushButton* b : {ui->cmdPrint, ui->cmdHelp})
        b->setIcon(IconaSvg(b->property("immagine").toString(), {b->iconSize().width()}));

    // Identity texts: fixed for the life of the program.
    ImpostaTestiIdentita();

    ui->lblCopy->setText(TestoCredito + NomeAutore);
    ui->lblSito->setText(IndirizzoSito);

    TraduciForm(this);

    PercorsoArchivio = PercorsoArchivioPredefinito();

    const std::filesystem::path impostazioni = modLanguageSupport::FileImpostazioni();
    std::error_code errore;
    if (std::filesystem::exists(impostazioni, errore)) {
        try {
            modLanguageSupport::LinguaCorrente =
                modLanguageSupport::LeggiIni(impostazioni, "Language", "CurrentLanguage");
        } catch (const modLanguageSupport::ErroreIni&) {
            modLanguageSupport::LinguaCorrente.clear();
        }
    } else {
        modLanguageSupport::LinguaCorrente = "italian";
        modLanguageSupport::ScriviIni(impostazioni, "Language", "CurrentLanguage", "italian");
    }

    // Bar events: highlight on any mouse button, hover colours of the links.
    for (QWidget* w : {static_cast<QWidget*>(ui->cmdAtleta), static_cast<QWidget*>(ui->cmdAssetto),
                       static_cast<QWidget*>(ui->cmdCondizione), static_cast<QWidget*>(ui->lblInfo),
                       static_cast<QWidget*>(ui->lblDonazione), static_cast<QWidget*>(ui->Label5),
                       static_cast<QWidget*>(ui->Label6), static_cast<QWidget*>(ui->Picture2)})
        w->installEventFilter(this);
    for (QWidget* w : {static_cast<QWidget*>(ui->lblInfo), static_cast<QWidget*>(ui->lblDonazione),
                       static_cast<QWidget*>(ui->Picture2)})
        w->setMouseTracking(true);

    connect(ui->cmdAtleta, &QPushButton::clicked, this, [this] { ApriDaNavigazione(creaAtleti_, ui->cmdAtleta); });
    connect(ui->cmdAssetto, &QPushButton::clicked, this, [this] { ApriDaNavigazione(creaAssetto_, ui->cmdAssetto); });
    connect(ui->cmdCondizione, &QPushButton::clicked, this,
            [this] { ApriDaNavigazione(creaCondizione_, ui->cmdCondizione); });
    connect(ui->cmdHelp, &QPushButton::clicked, this, &mdi::ApriGuida);
    connect(ui->cmdPrint, &QPushButton::clicked, this, [this] { ::StampaFinestra(this); });

    // Keys: F1 help on the topic of the window in use, Ctrl+P prints.
    auto* tastoGuida = new QShortcut(QKeySequence::HelpContents, this, this, &mdi::GuidaDellaFinestraAttiva);
    tastoGuida->setContext(Qt::ApplicationShortcut);
    new QShortcut(QKeySequence::Print, this, this, [this] { ::StampaFinestra(this); });
    // The bar's three windows from the keyboard, in either language.
    new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_1), this, this,
                  [this] { ApriDaTastiera(creaAtleti_, ui->cmdAtleta, "frmAtleti"); });
    new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_2), this, this,
                  [this] { ApriDaTastiera(creaAssetto_, ui->cmdAssetto, "frmScheda"); });
    new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_3), this, this,
                  [this] { ApriDaTastiera(creaCondizione_, ui->cmdCondizione, "frmCondizione"); });

    // The archive's passphrase, asked when an athlete window first needs it;
    // the idle lock that asks for it again.
    archivio::ImpostaRichiestaPassphrase([this](const std::filesystem::path& file) {
        return ChiediPassphraseArchivio(this, QFile::decodeName(QByteArray::fromStdString(file.string())));
    });
    new BloccoInattivita(this);

    // Centred on the screen, at its design size, for good.
    resize(950, 593);
    if (QScreen* schermo = QGuiApplication::primaryScreen())
        move(schermo->availableGeometry().center() - rect().center());
    BloccaDimensioni(this);
}

void mdi::StatoDiStampa(bool stampa) {
    for (QWidget* w : {static_cast<QWidget*>(ui->cmdPrint), static_cast<QWidget*>(ui->cmdHelp),
                       static_cast<QWidget*>(ui->lblInfo), static_cast<QWidget*>(ui->lblDonazione)})
        w->setVisible(!stampa);
    ui->lblCopy->setVisible(stampa);
    ui->lblSito->setVisible(stampa);
    if (!stampa) ui->Picture2->repaint();
}

void mdi::FocusNascosto() { ui->txtSetfocus->setFocus(); }

QList<QWidget*> mdi::FinestreAccanto() const {
    // The athlete's tests go on paper with the condition sheet they belong to.
    QList<QWidget*> accanto;
    const QWidget* figlio = FiglioAttivo();
    if (!figlio || figlio->objectName() != QLatin1String("frmCondizione")) return accanto;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->objectName() == QLatin1String("frmTest")) accanto << w;
    return accanto;
}

mdi::~mdi() {
    if (istanza == this) {
        istanza = nullptr;
        archivio::ImpostaRichiestaPassphrase({});
    }
}

mdi* mdi::Istanza() { return istanza; }

void mdi::ImpostaFinestre(CreaFinestra atleti, CreaFinestra assetto, CreaFinestra condizione, CreaFinestra info) {
    creaAtleti_ = std::move(atleti);
    creaAssetto_ = std::move(assetto);
    creaCondizione_ = std::move(condizione);
    creaInfo_ = std::move(info);
}

QWidget* mdi::MostraFiglio(QWidget* figlio) {
    figlio->setAttribute(Qt::WA_DeleteOnClose);
    ui->mdiArea->Aggiungi(figlio);
    ProteggiRisultati(figlio);
    return figlio;
}

QWidget* mdi::FiglioAttivo() const { return ui->mdiArea->Attivo(); }

void mdi::ChiudiFinestre() {
    for (;;) {
        QWidget* figlio = FiglioAttivo();
        if (!figlio) return;
        const auto* nome = figlio->findChild<QLineEdit*>(QStringLiteral("txtNome"));
        if (nome) {
            NomeAtletaCorrente = nome->text();
            RigaAtletaCorrente.reset();  // an athlete window puts its row back as it closes
            AtletaCorrenteVuoto = false;
        }
        // Unload: the window's own close runs first, then it is destroyed.
        if (!figlio->close()) return;
        ui->mdiArea->Rimuovi(figlio);
        if (!nome) return;
    }
}

QList<QWidget*> mdi::FinestreAperte() const {
    QList<QWidget*> finestre{const_cast<mdi*>(this)};
    finestre.append(ui->mdiArea->Figli());
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != this && w->isVisible() && w->objectName().startsWith(QLatin1String("frm"))) finestre.append(w);
    return finestre;
}

void mdi::ApriGuida() {
    QWidget* figlio = FiglioAttivo();
    const int contesto = figlio ? figlio->property("HelpContextID").toInt() : 0;
    MostraArgomentoGuida(this, PercorsoGuida, ArgomentoGuida(contesto));
    ui->txtSetfocus->setFocus();
}

void mdi::GuidaDellaFinestraAttiva() {
    // A floating window of the program with a topic of its own (the BMI
    // table, the enlarged pictures) has it; the help viewer asks nothing.
    if (QApplication::activeModalWidget()) return;  // a question waits for its answer
    QWidget* attiva = QApplication::activeWindow();
    if (attiva && attiva->objectName() == QLatin1String("frmGuida")) return;
    QWidget* finestra =
        attiva && attiva != this && attiva->property("HelpContextID").isValid() ? attiva : FiglioAttivo();
    const int contesto = finestra ? finestra->property("HelpContextID").toInt() : 0;
    MostraArgomentoGuida(this, PercorsoGuida, ArgomentoGuida(contesto));
}

void mdi::ApriSchedaAtleta() { ApriDaNavigazione(creaAtleti_, ui->cmdAtleta); }
void mdi::ApriSchedaAssetto() { ApriDaNavigazione(creaAssetto_, ui->cmdAssetto); }
void mdi::ApriSchedaCondizione() { ApriDaNavigazione(creaCondizione_, ui->cmdCondizione); }
// The fittings' history belongs to the fit sheet.
void mdi::ApriStorico() { ApriDaNavigazione(creaStorico_, ui->cmdAssetto); }

void mdi::ApriDaNavigazione(const CreaFinestra& crea, QPushButton* pulsante) {
    ChiudiFinestre();
    if (FiglioAttivo()) {
        // The open window refused to close (an edit that could not be
        // written): the bar goes on showing it.
        EvidenziaNavigazione(mostrato_);
        return;
    }
    mostrato_ = crea ? pulsante : nullptr;
    EvidenziaNavigazione(mostrato_);
    if (crea) MettiCursoreNelPrimoBox(MostraFiglio(crea(ui->mdiArea)));
}

void mdi::ApriDaTastiera(const CreaFinestra& crea, QPushButton* pulsante, const char* finestra) {
    QWidget* figlio = FiglioAttivo();
    auto* nome = figlio && figlio->objectName() == QLatin1String(finestra)
                     ? figlio->findChild<QLineEdit*>(QStringLiteral("txtNome"))
                     : nullptr;
    if (!nome) {
        ApriDaNavigazione(crea, pulsante);
        return;
    }
    mostrato_ = pulsante;
    EvidenziaNavigazione(mostrato_);
    nome->setFocus(Qt::OtherFocusReason);
}

void mdi::MettiCursoreNelPrimoBox(QWidget* figlio) {
    // The first control the Tab key reaches in the window, so that the coach
    // can type at once; the caret stays where the text leaves it.
    for (QWidget* w = figlio->nextInFocusChain(); w && w != figlio; w = w->nextInFocusChain()) {
        if (!figlio->isAncestorOf(w)) continue;
        if ((w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && w->isEnabled() && w->isVisibleTo(figlio) &&
            !w->focusProxy()) {
            w->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

void mdi::ClickInfo() {
    ChiudiFinestre();
    if (FiglioAttivo()) {
        EvidenziaNavigazione(mostrato_);
        return;
    }
    mostrato_ = nullptr;
    EvidenziaNavigazione(mostrato_);
    ui->txtSetfocus->setFocus();
    if (creaInfo_) MostraFiglio(creaInfo_(ui->mdiArea));
}

void mdi::EvidenziaNavigazione(QPushButton* premuto) {
    for (QPushButton* b : {ui->cmdAtleta, ui->cmdAssetto, ui->cmdCondizione})
        ImpostaStato(b, "evidenziato", b == premuto);
}

bool mdi::eventFilter(QObject* oggetto, QEvent* evento) {
    switch (evento->type()) {
    case QEvent::MouseButtonPress:
        if (oggetto == ui->cmdAtleta || oggetto == ui->cmdAssetto || oggetto == ui->cmdCondizione)
            EvidenziaNavigazione(static_cast<QPushButton*>(oggetto));
        break;
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(evento);
        auto* widget = qobject_cast<QWidget*>(oggetto);
        const bool click =
            mouse->button() == Qt::LeftButton && widget && widget->rect().contains(mouse->position().toPoint());
        // A press that opens nothing (another button, or released off the
        // button) leaves the bar showing the window that stays.
        if (!click && (oggetto == ui->cmdAtleta || oggetto == ui->cmdAssetto || oggetto == ui->cmdCondizione))
            EvidenziaNavigazione(mostrato_);
        if (!click) break;
        if (oggetto == ui->lblInfo)
            ClickInfo();
        else if (oggetto == ui->lblDonazione)
            ApriDocumento(this, IndirizzoDonazione);
        else if (oggetto == ui->Label5 || oggetto == ui->Label6)
            ApriDocumento(this, IndirizzoSito);
        break;
    }
    case QEvent::MouseMove:
        if (oggetto == ui->lblInfo || oggetto == ui->lblDonazione) {
            ImpostaStato(static_cast<QWidget*>(oggetto), "sopra", true);
            return true;  // taken here: the bar beneath must not turn it white again
        }
        if (oggetto == ui->Picture2)
            for (QLabel* l : {ui->lblInfo, ui->lblDonazione}) ImpostaStato(l, "sopra", false);
        break;
    default: break;
    }
    return QMainWindow::eventFilter(oggetto, evento);
}

void mdi::closeEvent(QCloseEvent* evento) {
    // The open child unloads first; then the program ends, floating windows
    // too. A child that stays open (its edit could not be written, and the
    // user chose to keep it) keeps the program open.
    for (QWidget* figlio : ui->mdiArea->Figli()) {
        if (!figlio->close()) {
            evento->ignore();
            return;
        }
    }
    evento->accept();
    QApplication::quit();
}
