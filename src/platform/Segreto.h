// Secrets in memory and where they come from: a passphrase held in one
// buffer that is never moved and is wiped when it goes, read from the
// terminal without echo or from a file only its owner can read. Standard C++
// and POSIX (termios); a Windows half implements the same calls with
// SetConsoleMode.
#pragma once

#include "FileSistema.h"

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string_view>

namespace sistema {

// Overwrites `n` bytes at `p` with zeros, in a way the compiler keeps.
void Cancella(void* p, std::size_t n) noexcept;

// Secret bytes (a passphrase, as UTF-8): one buffer of fixed capacity,
// allocated once, so that growing never leaves a copy behind; wiped when the
// object goes or is emptied. A copy is a second buffer, wiped in turn.
class Segreto {
public:
    // The most bytes a secret holds; a longer one is refused, never cut.
    static constexpr std::size_t Capienza = 1024;

    Segreto();
    // The bytes of `testo`; false from ok() when longer than Capienza.
    explicit Segreto(std::string_view testo);
    ~Segreto();
    Segreto(const Segreto& altro);
    Segreto& operator=(const Segreto& altro);
    Segreto(Segreto&& altro) noexcept;
    Segreto& operator=(Segreto&& altro) noexcept;

    // Appends bytes; false (and nothing appended) when they would pass the
    // capacity.
    bool Aggiungi(std::string_view byte);
    // Removes the last byte, if any (a backspace typed at the terminal).
    void TogliUltimo();
    // Wipes it and leaves it empty.
    void Svuota();

    std::string_view Testo() const { return {dati_.get(), lunghezza_}; }
    std::size_t size() const { return lunghezza_; }
    bool empty() const { return lunghezza_ == 0; }
    // False after a constructor or an Aggiungi was given too many bytes.
    bool ok() const { return ok_; }
    friend bool operator==(const Segreto& a, const Segreto& b) { return a.Testo() == b.Testo(); }

private:
    std::unique_ptr<char[]> dati_;
    std::size_t lunghezza_ = 0;
    bool ok_ = true;
};

// Why a file of a passphrase was not read.
enum class RifiutoFileSegreto {
    Nessuno,
    Illeggibile,       // cannot be opened or read (errore says why)
    NonUnFile,         // a folder, a device, a pipe, a link
    LeggibileDaAltri,  // its group or others may read or write it
    TroppoLungo,       // longer than Segreto::Capienza
    Vuoto,             // nothing in it, once a trailing newline is taken away
};

// Reads a passphrase from `file`: only a regular file (a link is refused,
// never followed) that its owner alone may read or write; a trailing
// newline ("\n" or "\r\n") is not part of it.
RifiutoFileSegreto LeggiFileSegreto(const std::filesystem::path& file, Segreto& letto, ErroreFile& errore);

// How reading from the terminal ended.
enum class EsitoTerminale {
    Letto,
    NessunTerminale,  // no terminal to ask at (a script, a pipe)
    Interrotto,       // end of input before a newline, or an error
    TroppoLungo,      // longer than Segreto::Capienza
};

// Writes `invito` to the terminal and reads one line from it without echo
// (the controlling terminal, /dev/tty, whatever the standard input is); the
// echo is back as it was when it returns.
EsitoTerminale LeggiDalTerminale(std::string_view invito, Segreto& letto);

}  // namespace sistema
