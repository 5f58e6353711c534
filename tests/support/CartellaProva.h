// A fresh application folder for one test: a temporary directory holding
// copies of the shipped language files, removed when the test ends. Installs
// itself as modLanguageSupport::CartellaApplicazione and resets LinguaCorrente.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

class CartellaProva {
public:
    // copiaLingue: copy italian.lng and english.lng from the assets folder.
    explicit CartellaProva(bool copiaLingue = true);
    ~CartellaProva();
    CartellaProva(const CartellaProva&) = delete;
    CartellaProva& operator=(const CartellaProva&) = delete;

    // Copies the built help file "Guida.chm" into the folder.
    void copiaGuida() const;

    const std::filesystem::path& percorso() const { return percorso_; }
    std::filesystem::path file(std::string_view nome) const { return percorso_ / nome; }
    void scrivi(std::string_view nome, std::string_view contenuto) const;
    std::string leggi(std::string_view nome) const;

private:
    std::filesystem::path percorso_;
};
