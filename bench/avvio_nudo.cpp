// The yardstick of the start-up benchmark: a bare Qt main window, shown.
#include "MomentoMostrata.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QMainWindow finestra;
    finestra.setWindowTitle(QStringLiteral("Qt"));
    finestra.setCentralWidget(new QLabel(QStringLiteral("Qt")));
    finestra.resize(950, 593);
    finestra.show();
    QApplication::processEvents();
    MomentoMostrata();
}
