// Tovarin Project: the program.
#include "Avvio.h"
#include "IdMessaggiProgramma.h"
#include "IstanzaUnica.h"
#include "Messaggi.h"
#include "Messaggio.h"
#include "Percorso.h"
#include "RigaDiComando.h"
#include "mdi.h"
#include "modLanguageSupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>

#include <cstdio>

int main(int argc, char* argv[]) {
    // From the command line the program works without a window, also where
    // there is no display.
    const bool comando = ComandoRichiesto(argc, argv);
    if (comando && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ImpostaApplicazione();
    // An archive in a folder someone else controls is not opened at all.
    if (const QString problema = ProblemaCartellaDatiInUso(); !problema.isEmpty()) {
        std::fprintf(stderr, "%s\n", problema.toUtf8().constData());
        if (!comando) MostraMessaggio(nullptr, problema);
        return 1;
    }
    if (comando) return EseguiComando(QApplication::arguments().mid(1));
    // A second start on the same archive shows the running program instead.
    const QString dati = NomeDi(modLanguageSupport::CartellaDatiInUso());
    IstanzaUnica istanza(dati);
    if (!istanza.Prima()) {
        if (istanza.stato() == IstanzaUnica::Stato::Seconda && istanza.ChiediPrimoPiano()) return 0;
        const QString perche = istanza.stato() == IstanzaUnica::Stato::AltroUtente
                                   ? Messaggio(msg::ApertoDaAltroUtente).arg(QDir::toNativeSeparators(dati))
                                   : Messaggio(msg::ApertoMaMuto);
        std::fprintf(stderr, "%s\n", perche.toUtf8().constData());
        MostraMessaggio(nullptr, perche);
        return 1;
    }
    auto principale = AvviaProgramma();
    istanza.QuandoRichiesto([finestra = principale.get()] { PortaInPrimoPiano(finestra); });
    ChiudiSuRichiestaDelSistema(principale.get());
    return QApplication::exec();
}
