// Tovarin Project: start-up. The main window loads first (identity texts,
// language setting, size lock), then the home window finishes the start.
#include "Calendario.h"
#include "Globali.h"
#include "Stili.h"
#include "frmInformazioniSu.h"
#include "frmMain.h"
#include "mdi.h"
#include "modLanguageSupport.h"

#include <QApplication>
#include <QDate>
#include <QIcon>
#include <QLocale>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(TitoloApplicazione);
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3").arg(VersioneMaggiore).arg(VersioneMinore).arg(VersioneRevisione));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/immagini/icona.svg")));
    ImpostaSostitutiCaratteri();

    modLanguageSupport::CartellaApplicazione = QCoreApplication::applicationDirPath().toStdString();
    Calendario::ImpostaServizi({[] {
                                    const QDate oggi = QDate::currentDate();
                                    return Calendario::Data{oggi.year(), oggi.month(), oggi.day()};
                                },
                                nullptr});

    mdi principale;
    principale.ImpostaFinestre(nullptr, nullptr, nullptr, [] { return new frmInformazioniSu; });
    principale.show();
    principale.MostraFiglio(new frmMain);
    return QApplication::exec();
}
