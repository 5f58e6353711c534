#include "GuidaChm.h"

#include "Collegamenti.h"
#include "Messaggi.h"
#include "SommarioChm.h"
#include "frmGuida.h"

#include <QCoreApplication>
#include <QPointer>
#include <QScreen>

namespace {

QPointer<frmGuida> ViewerAperto;

// Opens the file and checks the topic; on failure tells the user and gives
// nothing. The topic is returned as an object path with its fragment.
std::shared_ptr<LettoreChm> PreparaArgomento(QWidget* finestra, const QString& fileChm, QString& argomento) {
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

frmGuida* FinestraGuida() {
    // A closed viewer is on its way out: the next call opens a new one.
    return ViewerAperto && !ViewerAperto->Chiuso() ? ViewerAperto.data() : nullptr;
}

void MostraGuidaChm(QWidget* proprietario, const QString& fileChm, const QString& argomento) {
    QString percorso = argomento;
    auto lettore = PreparaArgomento(proprietario, fileChm, percorso);
    if (!lettore) return;

    QWidget* finestraProprietaria = proprietario ? proprietario->window() : nullptr;
    frmGuida* viewer = FinestraGuida();
    const bool nuovo = viewer == nullptr;
    if (nuovo) {
        viewer = new frmGuida(finestraProprietaria);
        ViewerAperto = viewer;
        if (finestraProprietaria == nullptr) {
            // Without an owner the viewer must still go when the program ends.
            QObject::connect(qApp, &QCoreApplication::aboutToQuit, viewer, &QWidget::close);
        }
    } else if (finestraProprietaria && finestraProprietaria != viewer &&
               viewer->parentWidget() != finestraProprietaria) {
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
        if (area.isValid()) viewer->move(area.center() - viewer->rect().center());
    }
    if (viewer->isMinimized())
        viewer->showNormal();
    else
        viewer->show();
    viewer->raise();
    viewer->activateWindow();
}
