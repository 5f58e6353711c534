#include "Avvio.h"

#include "Calendario.h"
#include "CartelleProgramma.h"
#include "Collegamenti.h"
#include "Globali.h"
#include "RegoleCampi.h"
#include "Stili.h"
#include "frmInformazioniSu.h"
#include "frmAtleti.h"
#include "frmCondizione.h"
#include "frmGuida.h"
#include "frmMain.h"
#include "frmScheda.h"
#include "mdi.h"
#include "modLanguageSupport.h"

#include <QApplication>
#include <QDate>
#include <QIcon>
#include <QLocale>
#include <QStandardPaths>

void ImpostaApplicazione() {
    InizializzaRisorse();
    // The short name names the user's data folder (~/.local/share/tovarin);
    // the desktop file gives the windows the menu entry's icon.
    QApplication::setApplicationName(QStringLiteral("tovarin"));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.tovarin"));
    QApplication::setApplicationVersion(
        QStringLiteral("%1.%2.%3").arg(VersioneMaggiore).arg(VersioneMinore).arg(VersioneRevisione));
    QApplication::setWindowIcon(IconaSvg(QStringLiteral(":/immagini/icona.svg"), {16, 32}));
    ImpostaSostitutiCaratteri();
    // Every text of the program in the design font (or its stand-in), the
    // plain ones included: one font family to load.
    QFont carattere = QApplication::font();
    carattere.setFamily(CarattereDisegno());
    QApplication::setFont(carattere);
    ImpostaGestoreGuida(MostraGuidaChm);

    ImpostaCartelle(TrovaCartelle(QCoreApplication::applicationDirPath(),
                                  QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)));
    Calendario::ImpostaServizi({[] {
                                    const QDate oggi = QDate::currentDate();
                                    return Calendario::Data{oggi.year(), oggi.month(), oggi.day()};
                                },
                                [](std::string_view testo) {
                                    return LeggiDataRegionale(QLocale::system(), QString::fromUtf8(testo.data(), static_cast<qsizetype>(testo.size())));
                                }});
}

std::unique_ptr<mdi> AvviaProgramma() {
    auto principale = std::make_unique<mdi>();
    principale->ImpostaFinestre([] { return new frmAtleti; }, [] { return new frmScheda; },
                                [] { return new frmCondizione; }, [] { return new frmInformazioniSu; });
    principale->show();
    principale->MostraFiglio(new frmMain);
    return principale;
}
