// A message of the catalogue, as the windows show it, and the application's
// title that every message and window caption carries.
#pragma once

#include <QString>

#include <string_view>

inline const QString TitoloApplicazione = QStringLiteral("Tovarin Project");

// The text of the message identifier ("0027") in the current language.
QString Messaggio(std::string_view id);

// The same, falling back to the program's own Italian text for the messages
// that must never show empty (the questions that risk data).
QString MessaggioSicuro(std::string_view id);
