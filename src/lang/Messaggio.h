// A message of the catalogue, as the windows show it, and the application's
// title that every message and window caption carries.
#pragma once

#include <QString>

#include <string_view>

inline const QString TitoloApplicazione = QStringLiteral("Tovarin Project");

// The text of the message identifier ("0027") in the current language, the
// program's own where the language file lacks it.
QString Messaggio(std::string_view id);
