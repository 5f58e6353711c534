// The texts the program falls back to: the shipped language files, built
// into it. A text that the language file of LinguaCorrente lacks, or holds
// damaged (a file cut short leaves a quote open), comes from them, in the
// same language; Italian for a language the program does not ship.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace modLanguageSupport {

// The shipped file of a language ("italian", "english"); empty for another.
std::string_view FileLinguaIncorporato(std::string_view lingua);

// The built-in text of a key of a section ("Strings" and "0027", or
// "frmAtleti" and "Label2.Caption"), in the language of LinguaCorrente.
std::string TestoIncorporato(std::string_view sezione, std::string_view chiave);

// True for a text a language file gives that a cut has damaged: it starts
// with a quote that nothing closes.
bool TestoDanneggiato(std::string_view testo);

// What is wrong with the language the program is to speak, if anything: said
// once at start.
struct ProblemaLingua {
    enum class Tipo {
        LinguaSconosciuta,  // the settings name a language with no file, which the program does not ship
        FileIllegibile,     // the language file is missing or cannot be read
        TestiMancanti,      // the file lacks texts, or holds them damaged
    };
    Tipo tipo;
    std::filesystem::path file;  // the language file; the settings file for an unknown language
    std::size_t mancanti = 0;    // how many texts of the shipped file it lacks
};
std::optional<ProblemaLingua> ControllaLingua();

}  // namespace modLanguageSupport
