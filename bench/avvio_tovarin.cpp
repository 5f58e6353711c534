// Tovarin Project's start until the home window is shown.
#include "Avvio.h"
#include "MomentoMostrata.h"
#include "mdi.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    ImpostaApplicazione();
    auto principale = AvviaProgramma();
    QApplication::processEvents();
    if (!principale->FiglioAttivo()) return 1;
    MomentoMostrata();
}
