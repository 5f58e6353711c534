#include "FinestraAtleta.h"

#include "AtletaCorrente.h"
#include "TraduciForm.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

namespace {

// Holds the recomputation while the window loads its athlete.
const QString TagCaricamento = QStringLiteral("Form_Load");

}  // namespace

FinestraAtleta::FinestraAtleta(QWidget* genitore) : QWidget(genitore) {}

FinestraAtleta::~FinestraAtleta() = default;

void FinestraAtleta::Rilascia() { legame_.reset(); }

QString FinestraAtleta::Tag() const { return property("Tag").toString(); }

void FinestraAtleta::ImpostaTag(const QString& tag) { setProperty("Tag", tag); }

void FinestraAtleta::Lega(NavigatoreDati* Data1, QLineEdit* txtNome, QList<LegameColonna> legami) {
    legame_ = std::make_unique<LegameArchivio>(this, Data1, txtNome, std::move(legami));
}

void FinestraAtleta::Carica() {
    // The window's keys reach it from every control, before the control's
    // own use of them (a combo would change its item on Page Down).
    for (QWidget* w : findChildren<QWidget*>()) w->installEventFilter(this);
    OrdineDiTabulazione();
    TraduciForm(this);
    // The athlete's boxes fill one after the other: nothing is computed from
    // half a row.
    ImpostaTag(TagCaricamento);
    legame_->ApriArchivio(NomeAtletaCorrente, RigaAtletaCorrente, AtletaCorrenteVuoto);
    ImpostaTag(QString());
}

void FinestraAtleta::OrdineDiTabulazione() {
    // The navigator's arrows and the picker's button after the window's
    // last control: Tab reaches whatever a click does.
    NavigatoreDati* navigatore = legame_ ? legame_->Data1() : nullptr;
    QLineEdit* nome = legame_ ? legame_->txtNome() : nullptr;
    if (!navigatore || !nome) return;
    QWidget* ultimo = nome;
    for (QWidget* w = nome->nextInFocusChain(); w && w != nome; w = w->nextInFocusChain())
        if (isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && !navigatore->isAncestorOf(w)) ultimo = w;
    for (QWidget* w :
         {static_cast<QWidget*>(navigatore->PulsantePrimo()), static_cast<QWidget*>(navigatore->PulsantePrecedente()),
          static_cast<QWidget*>(navigatore->PulsanteSuccessivo()), static_cast<QWidget*>(navigatore->PulsanteUltimo()),
          static_cast<QWidget*>(navigatore->DBCombo1())}) {
        setTabOrder(ultimo, w);
        ultimo = w;
    }
}

bool FinestraAtleta::eventFilter(QObject* oggetto, QEvent* evento) {
    if (evento->type() == QEvent::KeyPress && TastoDellaFinestra(static_cast<QKeyEvent*>(evento), oggetto)) return true;
    return QWidget::eventFilter(oggetto, evento);
}

bool FinestraAtleta::TastoDellaFinestra(const QKeyEvent* tasto, const QObject* dove) {
    if (!legame_) return false;
    const Qt::KeyboardModifiers modificatori = tasto->modifiers() & ~Qt::KeypadModifier;
    const bool solo = modificatori == Qt::NoModifier, ctrl = modificatori == Qt::ControlModifier;
    switch (tasto->key()) {
    case Qt::Key_PageDown:
        if (!solo) return false;
        legame_->MuoviSuccessivo();
        return true;
    case Qt::Key_PageUp:
        if (!solo) return false;
        legame_->MuoviPrecedente();
        return true;
    case Qt::Key_Home:
        if (!ctrl) return false;
        legame_->MuoviPrimo();
        return true;
    case Qt::Key_End:
        if (!ctrl) return false;
        legame_->MuoviUltimo();
        return true;
    case Qt::Key_F4:
    case Qt::Key_Down: {
        const bool elenco = tasto->key() == Qt::Key_F4 ? solo : modificatori == Qt::AltModifier;
        if (!elenco || dove != legame_->txtNome() || !legame_->DBCombo1()) return false;
        legame_->DBCombo1()->setFocus(Qt::OtherFocusReason);
        legame_->DBCombo1()->showPopup();
        return true;
    }
    case Qt::Key_Delete:
        if (!ctrl) return false;
        EliminaDaTastiera();
        return true;
    default: return false;
    }
}

void FinestraAtleta::closeEvent(QCloseEvent* evento) {
    const bool aperto = legame_ && legame_->ArchivioAperto();
    if (legame_ && !legame_->ChiudiArchivio()) {
        evento->ignore();
        return;
    }
    // The next athlete window opens on this athlete, on this very row.
    if (auto* txtNome = legame_ ? legame_->txtNome() : nullptr) NomeAtletaCorrente = txtNome->text();
    RigaAtletaCorrente = legame_ ? legame_->IdCorrente() : std::nullopt;
    // A blank athlete (new, or the end) stays blank in the next window; a new
    // one with something typed was written as it closed, and has its row.
    AtletaCorrenteVuoto = aperto && !RigaAtletaCorrente && NomeAtletaCorrente.isEmpty();
    evento->accept();
}
