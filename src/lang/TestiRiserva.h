// The messages that must never show empty: the questions that risk data (the
// delete question, "close anyway, losing the changes?") and the archive's
// messages they are made of. When the language file is missing or damaged
// they fall back to the program's own Italian texts.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace modLanguageSupport {

// The built-in Italian text of such a message; empty for any other.
std::string_view TestoRiserva(std::string_view id);

// TestoLingua, or the built-in text when the language file gives none.
std::string TestoLinguaConRiserva(std::string_view id);

// The language file of LinguaCorrente when it cannot give the program's
// messages: missing, unreadable, or without the messages that carry a
// built-in text. Nothing when it is usable.
std::optional<std::filesystem::path> FileLinguaInutilizzabile();

}  // namespace modLanguageSupport
