// Tovarin Project's start until the home window is shown.
#include "Avvio.h"
#include "IstanzaUnica.h"
#include "MomentoMostrata.h"
#include "mdi.h"
#include "modLanguageSupport.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    ImpostaApplicazione();
    IstanzaUnica istanza(QString::fromStdString(modLanguageSupport::CartellaDatiInUso().string()));
    if (!istanza.Prima()) return 1;
    auto principale = AvviaProgramma();
    ChiudiSuRichiestaDelSistema(principale.get());
    QApplication::processEvents();
    if (!principale->FiglioAttivo()) return 1;
    MomentoMostrata();
}
