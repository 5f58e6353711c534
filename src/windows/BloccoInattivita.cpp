#include "BloccoInattivita.h"

#include "AtletaCorrente.h"
#include "IdMessaggiChiave.h"

#include "ChiaveArchivio.h"
#include "FinestraAtleta.h"
#include "Globali.h"
#include "Messaggio.h"
#include "Passphrase.h"
#include "frmChiave.h"
#include "frmMain.h"
#include "frmTest.h"
#include "mdi.h"

#include <QApplication>
#include <QMouseEvent>

#include <utility>

namespace {

BloccoInattivita* istanza = nullptr;

}  // namespace

BloccoInattivita::BloccoInattivita(mdi* principale) : QObject(principale), principale_(principale) {
    istanza = this;
    conteggio_.setSingleShot(true);
    connect(&conteggio_, &QTimer::timeout, this, &BloccoInattivita::Scaduto);
    qApp->installEventFilter(this);
    Rileggi();
}

BloccoInattivita::~BloccoInattivita() {
    if (istanza == this) istanza = nullptr;
}

BloccoInattivita* BloccoInattivita::Istanza() { return istanza; }

void BloccoInattivita::Rileggi() {
    minuti_ = MinutiBloccoImpostati();
    Riavvia();
}

void BloccoInattivita::Riavvia() {
    if (minuti_ > 0 && chiave::ChiaveInMemoria()) {
        conteggio_.start(minuti_ * 60 * 1000);
    } else {
        conteggio_.stop();
    }
}

bool BloccoInattivita::eventFilter(QObject* oggetto, QEvent* evento) {
    switch (evento->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TabletPress:
        // The countdown starts again; whether it runs at all is decided when
        // the time is read or the archive unlocked (Rileggi).
        if (conteggio_.isActive()) conteggio_.start();
        break;
    default: break;
    }
    return QObject::eventFilter(oggetto, evento);
}

void BloccoInattivita::Scaduto() {
    if (!Blocca()) {
        Riavvia();
        return;
    }
    Sblocca();
}

bool BloccoInattivita::Blocca() {
    if (!principale_ || !chiave::ChiaveInMemoria()) return false;
    // A question or a dialog waits for the coach: what it holds stays.
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget()) return false;
    // A test being typed beside the condition sheet is the coach's to record.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* test = qobject_cast<frmTest*>(w); test && test->isVisible() && test->InScrittura()) return false;
    QWidget* figlio = principale_->FiglioAttivo();
    auto* atleta = qobject_cast<FinestraAtleta*>(figlio);
    // The pending edit first: one that cannot be written keeps the window.
    if (atleta && atleta->Legame() && !atleta->Legame()->ScriviModifiche()) return false;
    riaprire_ = atleta ? figlio->objectName() : QString();
    principale_->ChiudiFinestre();
    if (atleta && principale_->FiglioAttivo() == figlio) return false;  // it would not close
    // The floating windows go too, the help but not.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != principale_ && w->isVisible() && w->objectName().startsWith(QLatin1String("frm")) &&
            w->objectName() != QLatin1String("frmGuida"))
            w->close();
    if (!principale_->FiglioAttivo()) principale_->MostraFiglio(new frmMain);
    chiave::Blocca();
    conteggio_.stop();
    return true;
}

bool BloccoInattivita::Sblocca() {
    if (!principale_) return false;
    const QString file = PercorsoArchivio.isEmpty() ? PercorsoArchivioPredefinito() : PercorsoArchivio;
    const bool aperto = ChiediPassphrase(principale_, Messaggio(msg::ArchivioBloccato).arg(minuti_),
                                         [&](const PassphraseDigitata& p) { return chiave::Sblocca(file, p); });
    if (aperto) {
        const QString finestra = std::exchange(riaprire_, QString());
        if (finestra == QLatin1String("frmAtleti"))
            principale_->ApriSchedaAtleta();
        else if (finestra == QLatin1String("frmScheda"))
            principale_->ApriSchedaAssetto();
        else if (finestra == QLatin1String("frmCondizione"))
            principale_->ApriSchedaCondizione();
        else if (finestra == QLatin1String("frmStorico"))
            principale_->ApriStorico();
    }
    Riavvia();
    return aperto;
}
