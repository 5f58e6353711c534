// Tovarin Project: the program.
#include "Avvio.h"
#include "mdi.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    ImpostaApplicazione();
    auto principale = AvviaProgramma();
    return QApplication::exec();
}
