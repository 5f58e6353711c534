// The shipped language files against each other and against the code: both
// hold the same sections and keys, and every message number the sources use
// has a text in both. The sources are read as they are now, so a message
// added tomorrow is checked too.
#include "modLanguageSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#ifndef TOVARIN_SRC_DIR
#error "TOVARIN_SRC_DIR must name the sources folder"
#endif

namespace fs = std::filesystem;

namespace {

const fs::path Assets = TOVARIN_ASSETS_DIR;
const char* const Lingue[] = {"italian.lng", "english.lng"};

std::string Pulito(std::string_view s) {
    const auto inizio = s.find_first_not_of(" \t\r");
    if (inizio == std::string_view::npos) return {};
    const auto fine = s.find_last_not_of(" \t\r");
    std::string t(s.substr(inizio, fine - inizio + 1));
    // Names are read without regard to case, as the reader does.
    std::transform(t.begin(), t.end(), t.begin(), [](unsigned char c) { return std::tolower(c); });
    return t;
}

// Section -> keys of a language file.
std::map<std::string, std::set<std::string>> Chiavi(const fs::path& file) {
    std::map<std::string, std::set<std::string>> chiavi;
    std::ifstream in(file, std::ios::binary);
    EXPECT_TRUE(in) << file;
    std::string riga, sezione;
    while (std::getline(in, riga)) {
        const std::string r = Pulito(riga);
        if (r.empty() || r[0] == ';') continue;
        if (r[0] == '[' && r.back() == ']') {
            sezione = Pulito(std::string_view(r).substr(1, r.size() - 2));
            chiavi[sezione];
        } else if (const auto uguale = r.find('='); uguale != std::string::npos) {
            chiavi[sezione].insert(Pulito(std::string_view(r).substr(0, uguale)));
        }
    }
    return chiavi;
}

bool CarattereNome(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// The string literals of a C++ source that look like a message number
// ("0" and three digits), outside comments; each with its line.
std::vector<std::pair<std::string, int>> NumeriMessaggio(const std::string& s) {
    std::vector<std::pair<std::string, int>> numeri;
    int riga = 1;
    auto avanza = [&](std::size_t da, std::size_t a) {
        riga += static_cast<int>(std::count(s.begin() + da, s.begin() + a, '\n'));
    };
    std::size_t i = 0;
    while (i < s.size()) {
        if (s.compare(i, 2, "//") == 0) {
            const auto fine = std::min(s.find('\n', i), s.size());
            i = fine;
        } else if (s.compare(i, 2, "/*") == 0) {
            const auto fine = std::min(s.find("*/", i + 2), s.size() - 2) + 2;
            avanza(i, fine);
            i = fine;
        } else if (s[i] == 'R' && i + 1 < s.size() && s[i + 1] == '"' && (i == 0 || !CarattereNome(s[i - 1]))) {
            const auto aperta = s.find('(', i);
            const std::string chiusura = ")" + s.substr(i + 2, aperta - i - 2) + "\"";
            const auto fine = std::min(s.find(chiusura, aperta), s.size() - chiusura.size()) + chiusura.size();
            avanza(i, fine);
            i = fine;
        } else if (s[i] == '"' || (s[i] == '\'' && (i == 0 || !std::isxdigit(static_cast<unsigned char>(s[i - 1]))))) {
            // A literal (a quote after a hex digit is a digit separator).
            const char virgoletta = s[i];
            std::size_t j = i + 1;
            while (j < s.size() && s[j] != virgoletta && s[j] != '\n') j += s[j] == '\\' ? 2 : 1;
            const std::string testo = s.substr(i + 1, std::min(j, s.size()) - i - 1);
            if (virgoletta == '"' && testo.size() == 4 && testo[0] == '0' &&
                std::all_of(testo.begin(), testo.end(), [](unsigned char c) { return std::isdigit(c); }))
                numeri.emplace_back(testo, riga);
            i = j + 1;
        } else {
            if (s[i] == '\n') ++riga;
            ++i;
        }
    }
    return numeri;
}

}  // namespace

TEST(FileLingua, BothLanguagesHoldTheSameKeys) {
    const auto italiano = Chiavi(Assets / Lingue[0]);
    const auto inglese = Chiavi(Assets / Lingue[1]);
    ASSERT_FALSE(italiano.empty());
    auto confronta = [](const auto& uno, const auto& altro, const char* manca) {
        for (const auto& [sezione, chiavi] : uno) {
            const auto trovata = altro.find(sezione);
            if (trovata == altro.end()) {
                ADD_FAILURE() << manca << " lacks the section [" << sezione << "]";
                continue;
            }
            for (const auto& chiave : chiavi)
                EXPECT_TRUE(trovata->second.count(chiave)) << manca << " lacks [" << sezione << "] " << chiave;
        }
    };
    confronta(italiano, inglese, Lingue[1]);
    confronta(inglese, italiano, Lingue[0]);
}

TEST(FileLingua, EveryMessageTheCodeUsesIsInBothLanguages) {
    // Message number -> where it is first used.
    std::map<std::string, std::string> usati;
    for (const auto& voce : fs::recursive_directory_iterator(TOVARIN_SRC_DIR)) {
        const auto estensione = voce.path().extension();
        if (!voce.is_regular_file() || (estensione != ".cpp" && estensione != ".h")) continue;
        std::ifstream in(voce.path(), std::ios::binary);
        std::stringstream testo;
        testo << in.rdbuf();
        for (const auto& [numero, riga] : NumeriMessaggio(testo.str()))
            usati.try_emplace(numero,
                              voce.path().lexically_relative(TOVARIN_SRC_DIR).string() + ":" + std::to_string(riga));
    }
    // The delete question is used by the card: the scan sees the sources.
    ASSERT_TRUE(usati.count("0027")) << "no message number found under " << TOVARIN_SRC_DIR;

    for (const char* lingua : Lingue)
        for (const auto& [numero, dove] : usati)
            EXPECT_FALSE(modLanguageSupport::LeggiIni(Assets / lingua, "Strings", numero).empty())
                << lingua << " has no text for " << numero << ", used at " << dove;
}

TEST(FileLingua, TheCodeCallsItsMessagesByName) {
    // A message number is written once, in the headers that name it
    // (lang/IdMessaggi*.h); the rest of the code says msg::Name. The
    // condition's engine still reads its catalogue by number.
    const std::set<std::string> PerNumero{"engine/Condizione.cpp"};
    std::size_t nominati = 0;
    for (const auto& voce : fs::recursive_directory_iterator(TOVARIN_SRC_DIR)) {
        const auto estensione = voce.path().extension();
        if (!voce.is_regular_file() || (estensione != ".cpp" && estensione != ".h")) continue;
        const std::string dove = voce.path().lexically_relative(TOVARIN_SRC_DIR).generic_string();
        std::ifstream in(voce.path(), std::ios::binary);
        std::stringstream testo;
        testo << in.rdbuf();
        const auto numeri = NumeriMessaggio(testo.str());
        if (dove.rfind("lang/IdMessaggi", 0) == 0) {
            nominati += numeri.size();
            continue;
        }
        if (PerNumero.count(dove)) continue;
        for (const auto& [numero, riga] : numeri)
            ADD_FAILURE() << dove << ":" << riga << " calls the message " << numero
                          << " by number: name it in lang/IdMessaggi*.h";
    }
    // The headers were found: the scan sees the sources.
    EXPECT_GT(nominati, 300u);
}
