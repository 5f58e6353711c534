// modLanguageSupport: the settings file, the language files and the message
// catalogue. INI files are read and written by the rules of the Windows
// profile functions the language files were designed for.
// Why not QSettings: its INI format escapes and quotes keys and values its own
// way and would rewrite the shipped files; these rules read them as they are.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>

namespace modLanguageSupport {

// The current language name: "italian" or "english" (empty until known).
extern std::string LinguaCorrente;

// The folder that holds the program's language files and help.
extern std::filesystem::path CartellaApplicazione;

// The folder of the files the program writes: the archive and the settings.
// Empty: the application folder, where a portable copy keeps everything.
extern std::filesystem::path CartellaDati;
std::filesystem::path CartellaDatiInUso();

// LeggiIni fails with this when the file is missing or cannot be read, or, in
// a file above 64000 bytes, when the matching line is too short to hold a value.
class ErroreIni : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Files up to this size are read by the INI rules; longer ones by a line scan.
inline constexpr std::uintmax_t LimiteLetturaIni = 64000;
// At most this many characters of a value are returned by the INI rules.
inline constexpr std::size_t LunghezzaMassimaValore = 511;

std::string LeggiIni(const std::filesystem::path& file, std::string_view sezione, std::string_view chiave);

// One INI file read once, for many lookups by the same rules as LeggiIni
// (the translation of a window looks up dozens of keys).
class FileIniLetto {
public:
    explicit FileIniLetto(const std::filesystem::path& file);  // ErroreIni when it cannot be read
    // The same for a text in memory, as a file of it would be read.
    static FileIniLetto DaTesto(std::string_view testo);
    std::string Leggi(std::string_view sezione, std::string_view chiave) const;
    // Every section and key of a file read by the INI rules, in no order.
    void PerOgniVoce(const std::function<void(std::string_view sezione, std::string_view chiave)>& voce) const;

private:
    FileIniLetto() = default;
    void Indicizza();

    std::filesystem::path file_;
    std::string testo_;
    bool scansione_ = false;  // above 64000 bytes: the line scan
    // Section and key, lower case, joined by a NUL: the value.
    std::unordered_map<std::string, std::string> indice_;
};

// Writes key = value into the section, creating file and section when missing
// and keeping every other line. The file is replaced atomically. False when
// nothing could be written.
bool ScriviIni(const std::filesystem::path& file, std::string_view sezione, std::string_view chiave,
               std::string_view valore);

// The language file of LinguaCorrente in the application folder, or nothing
// when the name could lead outside it (a separator or "..").
std::optional<std::filesystem::path> FileLingua();

// The settings file "LangSetting.ini" in the data folder.
std::filesystem::path FileImpostazioni();

// The text of a message identifier ("0027") in the current language. Reads
// the language file on every call; a text it lacks, or holds damaged, is the
// program's own (TestiRiserva.h), and empty only for an identifier the
// program does not know.
std::string TestoLingua(std::string_view id);

}  // namespace modLanguageSupport
