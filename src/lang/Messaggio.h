// A message of the catalogue, as the windows show it, and the application's
// title that every message and window caption carries.
#pragma once

#include <QString>

#include <cstddef>
#include <string_view>

inline const QString TitoloApplicazione = QStringLiteral("Tovarin Project");

// The text of the message identifier ("0027") in the current language, the
// program's own where the language file lacks it.
QString Messaggio(std::string_view id);

// The message for a count: `uno` for one, `piu` for any other number (both
// hold the same placeholders).
QString MessaggioNumero(std::size_t n, std::string_view uno, std::string_view piu);

// The caption of a window's control as the windows show it ("frmAtleti",
// "Label2"), from the language file or the program's own; empty for none.
QString Didascalia(std::string_view finestra, std::string_view controllo);
