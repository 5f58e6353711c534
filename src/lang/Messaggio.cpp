#include "Messaggio.h"

#include "TestiRiserva.h"
#include "modLanguageSupport.h"

QString Messaggio(std::string_view id) { return QString::fromStdString(modLanguageSupport::TestoLingua(id)); }

QString MessaggioSicuro(std::string_view id) {
    return QString::fromStdString(modLanguageSupport::TestoLinguaConRiserva(id));
}
