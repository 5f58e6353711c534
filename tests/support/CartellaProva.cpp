#include "CartellaProva.h"

#include "modLanguageSupport.h"

#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#ifndef TOVARIN_ASSETS_DIR
#error "TOVARIN_ASSETS_DIR must name the assets folder"
#endif

namespace fs = std::filesystem;

CartellaProva::CartellaProva(bool copiaLingue) {
    std::random_device rd;
    for (int tentativo = 0; tentativo < 100 && percorso_.empty(); ++tentativo) {
        fs::path p = fs::temp_directory_path() / ("tovarin-test-" + std::to_string(rd()));
        if (fs::create_directory(p)) percorso_ = p;
    }
    if (percorso_.empty()) throw std::runtime_error("no temporary folder");
    if (copiaLingue) {
        for (const char* nome : {"italian.lng", "english.lng"})
            fs::copy_file(fs::path(TOVARIN_ASSETS_DIR) / nome, percorso_ / nome);
    }
    modLanguageSupport::CartellaApplicazione = percorso_;
    modLanguageSupport::CartellaDati.clear();
    modLanguageSupport::LinguaCorrente.clear();
}

CartellaProva::~CartellaProva() {
    std::error_code ec;
    fs::permissions(percorso_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(percorso_, ec);
    modLanguageSupport::LinguaCorrente.clear();
}

void CartellaProva::copiaGuida() const {
    fs::copy_file(fs::path(TOVARIN_APP_DIR) / "Guida.chm", percorso_ / "Guida.chm",
                  fs::copy_options::overwrite_existing);
}

void CartellaProva::scrivi(std::string_view nome, std::string_view contenuto) const {
    std::ofstream out(percorso_ / nome, std::ios::binary | std::ios::trunc);
    out.write(contenuto.data(), static_cast<std::streamsize>(contenuto.size()));
    if (!out) throw std::runtime_error("cannot write test file");
}

std::string CartellaProva::leggi(std::string_view nome) const {
    std::ifstream in(percorso_ / nome, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}
