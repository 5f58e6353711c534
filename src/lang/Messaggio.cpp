#include "Messaggio.h"

#include "modLanguageSupport.h"

QString Messaggio(std::string_view id) { return QString::fromStdString(modLanguageSupport::TestoLingua(id)); }
