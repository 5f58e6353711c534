#include "Segreto.h"

#include <cstring>
#include <utility>

namespace sistema {

void Cancella(void* p, std::size_t n) noexcept {
    if (p && n) explicit_bzero(p, n);
}

Segreto::Segreto() : dati_(new char[Capienza]) {}

Segreto::Segreto(std::string_view testo) : Segreto() { ok_ = Aggiungi(testo); }

Segreto::~Segreto() { Svuota(); }

Segreto::Segreto(const Segreto& altro) : Segreto() { *this = altro; }

Segreto& Segreto::operator=(const Segreto& altro) {
    if (this != &altro) {
        Svuota();
        if (!dati_) dati_.reset(new char[Capienza]);
        std::memcpy(dati_.get(), altro.dati_.get(), altro.lunghezza_);
        lunghezza_ = altro.lunghezza_;
        ok_ = altro.ok_;
    }
    return *this;
}

Segreto::Segreto(Segreto&& altro) noexcept
    : dati_(std::move(altro.dati_)), lunghezza_(std::exchange(altro.lunghezza_, 0)), ok_(altro.ok_) {}

Segreto& Segreto::operator=(Segreto&& altro) noexcept {
    if (this != &altro) {
        Svuota();
        dati_ = std::move(altro.dati_);
        lunghezza_ = std::exchange(altro.lunghezza_, 0);
        ok_ = altro.ok_;
    }
    return *this;
}

bool Segreto::Aggiungi(std::string_view byte) {
    if (!dati_) dati_.reset(new char[Capienza]);
    if (byte.size() > Capienza - lunghezza_) {
        ok_ = false;
        return false;
    }
    std::memcpy(dati_.get() + lunghezza_, byte.data(), byte.size());
    lunghezza_ += byte.size();
    return true;
}

void Segreto::TogliUltimo() {
    if (lunghezza_ == 0) return;
    --lunghezza_;
    dati_[lunghezza_] = '\0';
    Cancella(dati_.get() + lunghezza_, 1);
}

void Segreto::Svuota() {
    if (dati_) Cancella(dati_.get(), Capienza);
    lunghezza_ = 0;
    ok_ = true;
}

RifiutoFileSegreto LeggiFileSegreto(const std::filesystem::path&, Segreto& letto, ErroreFile& errore) {
    letto.Svuota();
    errore = {};
    return RifiutoFileSegreto::Illeggibile;
}

EsitoTerminale LeggiDalTerminale(std::string_view, Segreto& letto) {
    letto.Svuota();
    return EsitoTerminale::NessunTerminale;
}

}  // namespace sistema
