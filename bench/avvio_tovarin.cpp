// Tovarin Project's start until the home window is shown, then the end.
#include "Avvio.h"
#include "mdi.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    ImpostaApplicazione();
    auto principale = AvviaProgramma();
    QApplication::processEvents();
    return principale->FiglioAttivo() ? 0 : 1;
}
