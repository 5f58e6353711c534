#include "Messaggio.h"

#include "TestiRiserva.h"
#include "modLanguageSupport.h"

#include <string>

QString Messaggio(std::string_view id) { return QString::fromStdString(modLanguageSupport::TestoLingua(id)); }

QString MessaggioNumero(std::size_t n, std::string_view uno, std::string_view piu) {
    return Messaggio(n == 1 ? uno : piu);
}

QString Didascalia(std::string_view finestra, std::string_view controllo) {
    const std::string chiave = std::string(controllo) + ".Caption";
    std::string t;
    if (const auto file = modLanguageSupport::FileLingua()) {
        try {
            t = modLanguageSupport::LeggiIni(*file, finestra, chiave);
        } catch (const modLanguageSupport::ErroreIni&) {
        }
    }
    if (t.empty() || modLanguageSupport::TestoDanneggiato(t))
        t = modLanguageSupport::TestoIncorporato(finestra, chiave);
    return QString::fromStdString(t).trimmed();
}
