// Tovarin Project: the program's entry point.
#include "modLanguageSupport.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tovarin Project");
    QApplication::setApplicationVersion("1.0.5");
    modLanguageSupport::CartellaApplicazione = QCoreApplication::applicationDirPath().toStdString();

    QMainWindow finestra;
    finestra.setObjectName("mdi");
    finestra.setWindowTitle(" Tovarin Project");
    finestra.resize(950, 593);
    auto* titolo = new QLabel("Tovarin Project", &finestra);
    titolo->setAlignment(Qt::AlignCenter);
    finestra.setCentralWidget(titolo);
    finestra.show();
    return QApplication::exec();
}
