#include "LinguaQt.h"

#include "modLanguageSupport.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>

#include <optional>
#include <string>

namespace {

// The locale of Qt's translation for a language of the program; none for
// English, Qt's own language, and for a language Qt does not know.
std::optional<QLocale> LocaleDi(const std::string& lingua) {
    if (lingua == "italian") return QLocale(QLocale::Italian, QLocale::Italy);
    return std::nullopt;
}

}  // namespace

void ApplicaLinguaQt() {
    static std::string applicata;
    static QPointer<QTranslator> traduzione;
    const std::string lingua = modLanguageSupport::LinguaCorrente;
    if (lingua == applicata) return;
    applicata = lingua;

    if (traduzione) {
        QCoreApplication::removeTranslator(traduzione);
        delete traduzione;
    }
    if (const auto locale = LocaleDi(lingua)) {
        auto* nuova = new QTranslator(qApp);
        if (nuova->load(*locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(traduzione = nuova);
        else
            delete nuova;  // not installed: Qt's texts stay in English
    }
    // Windows that follow the language themselves (the help viewer) hear of it
    // even when no translator came or went.
    QEvent cambio(QEvent::LanguageChange);
    QCoreApplication::sendEvent(qApp, &cambio);
}
