// Tovarin Project: the program.
#include "Avvio.h"
#include "IstanzaUnica.h"
#include "RigaDiComando.h"
#include "mdi.h"
#include "modLanguageSupport.h"

#include <QApplication>
#include <QFile>

#include <cstdio>

int main(int argc, char* argv[]) {
    // From the command line the program works without a window, also where
    // there is no display.
    const bool comando = ComandoRichiesto(argc, argv);
    if (comando && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ImpostaApplicazione();
    if (comando) return EseguiComando(QApplication::arguments().mid(1));
    // A second start on the same archive shows the running program instead.
    IstanzaUnica istanza(
        QFile::decodeName(QByteArray::fromStdString(modLanguageSupport::CartellaDatiInUso().string())));
    if (!istanza.Prima()) {
        if (istanza.ChiediPrimoPiano()) return 0;
        std::fprintf(stderr, "Tovarin Project is already running on this archive, but does not answer.\n");
        return 1;
    }
    auto principale = AvviaProgramma();
    istanza.QuandoRichiesto([finestra = principale.get()] { PortaInPrimoPiano(finestra); });
    ChiudiSuRichiestaDelSistema(principale.get());
    return QApplication::exec();
}
