#include "Calendario.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>
#include <ctime>
#include <initializer_list>
#include <utility>

namespace Calendario {

namespace {

bool Bisestile(int anno) { return (anno % 4 == 0 && anno % 100 != 0) || anno % 400 == 0; }

int GiorniDelMese(int anno, int mese) {
    static const int Giorni[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return mese == 2 && Bisestile(anno) ? 29 : Giorni[mese - 1];
}

Data OggiLocale() {
    std::time_t adesso = std::time(nullptr);
    std::tm locale{};
    localtime_r(&adesso, &locale);
    return {locale.tm_year + 1900, locale.tm_mon + 1, locale.tm_mday};
}

// Three numbers of a date with the separator between them, each with at
// least its digits: "05" for 5 in two, "0988" for a year in four.
std::string Numeri(char separatore, std::initializer_list<std::pair<int, int>> parti) {
    std::string s;
    for (const auto& [valore, cifre] : parti) {
        if (!s.empty()) s += separatore;
        char testo[16];
        const auto [fine, errore] = std::to_chars(testo, testo + sizeof testo, valore);
        if (errore != std::errc()) continue;
        s.append(static_cast<std::size_t>(std::max<std::ptrdiff_t>(0, cifre - (fine - testo))), '0');
        s.append(testo, fine);
    }
    return s;
}

ServiziData ServiziPredefiniti() {
    return {OggiLocale, [](std::string_view testo) { return LeggiDataNumerica(testo, OrdineData::GiornoMeseAnno); },
            [](const Data& d) {
                return Numeri('/', {{d.giorno, 2}, {d.mese, 2}, {d.anno, 4}});
            }};
}

ServiziData& ServiziCorrenti() {
    static ServiziData servizi = ServiziPredefiniti();
    return servizi;
}

// A date written as three numbers with one separator ("/", "-" or "."),
// blanks around it. As the archive may hold it, blanks may also follow each
// separator and a final "." may close it ("1990. 12. 31.").
struct TreNumeri {
    std::array<int, 3> parti;
    std::array<std::size_t, 3> cifre;
    char separatore;
};

std::optional<TreNumeri> LeggiTreNumeri(std::string_view t, bool comeArchiviata) {
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);

    TreNumeri n{{}, {}, 0};
    const char* p = t.data();
    const char* fine = t.data() + t.size();
    for (std::size_t k = 0; k < 3; ++k) {
        if (k > 0) {
            if (p == fine || (*p != '/' && *p != '-' && *p != '.')) return std::nullopt;
            if (n.separatore == 0) n.separatore = *p;
            if (*p != n.separatore) return std::nullopt;
            ++p;
            if (comeArchiviata)
                while (p != fine && *p == ' ') ++p;
        }
        const char* inizio = p;
        while (p != fine && *p >= '0' && *p <= '9' && p - inizio < 5) ++p;
        n.cifre[k] = static_cast<std::size_t>(p - inizio);
        if (n.cifre[k] == 0 || n.cifre[k] > 4) return std::nullopt;
        std::from_chars(inizio, p, n.parti[k]);
    }
    if (p == fine || (comeArchiviata && n.separatore == '.' && *p == '.' && p + 1 == fine)) return n;
    return std::nullopt;
}

}  // namespace

bool DataValida(const Data& d) {
    return d.anno >= 100 && d.anno <= 9999 && d.mese >= 1 && d.mese <= 12 && d.giorno >= 1 &&
           d.giorno <= GiorniDelMese(d.anno, d.mese);
}

int AnnoDaDueCifre(int anno) { return anno + (anno < 30 ? 2000 : 1900); }

std::optional<Data> LeggiDataNumerica(std::string_view testo, OrdineData ordine) {
    const auto numeri = LeggiTreNumeri(testo, false);
    if (!numeri) return std::nullopt;
    const auto& [parti, cifre, separatore] = *numeri;

    Data d;
    std::size_t cifreAnno;
    switch (ordine) {
    case OrdineData::GiornoMeseAnno:
        d = {parti[2], parti[1], parti[0]};
        cifreAnno = cifre[2];
        break;
    case OrdineData::MeseGiornoAnno:
        d = {parti[2], parti[0], parti[1]};
        cifreAnno = cifre[2];
        break;
    default:
        d = {parti[0], parti[1], parti[2]};
        cifreAnno = cifre[0];
        break;
    }
    // Day and month are numbers up to 99 (a leading zero or two allowed); the
    // year has two digits or four.
    auto breve = [](int v) { return v >= 0 && v <= 99; };
    if (!breve(d.giorno) || !breve(d.mese)) return std::nullopt;
    if (cifreAnno == 2)
        d.anno = AnnoDaDueCifre(d.anno);
    else if (cifreAnno != 4)
        return std::nullopt;
    if (!DataValida(d)) return std::nullopt;
    return d;
}

std::optional<Data> LeggiDataIso(std::string_view testo) {
    while (!testo.empty() && (testo.front() == ' ' || testo.front() == '\t')) testo.remove_prefix(1);
    while (!testo.empty() && (testo.back() == ' ' || testo.back() == '\t')) testo.remove_suffix(1);
    if (testo.size() != 10 || testo[4] != '-' || testo[7] != '-') return std::nullopt;
    for (std::size_t i : {0u, 1u, 2u, 3u, 5u, 6u, 8u, 9u})
        if (testo[i] < '0' || testo[i] > '9') return std::nullopt;
    Data d;
    std::from_chars(testo.data(), testo.data() + 4, d.anno);
    std::from_chars(testo.data() + 5, testo.data() + 7, d.mese);
    std::from_chars(testo.data() + 8, testo.data() + 10, d.giorno);
    if (!DataValida(d)) return std::nullopt;
    return d;
}

std::string TestoIso(const Data& d) { return Numeri('-', {{d.anno, 4}, {d.mese, 2}, {d.giorno, 2}}); }

namespace {

// The text with every decimal digit of another script as an ASCII digit and
// the direction marks taken out; nothing when it holds any other character
// outside ASCII, or is no UTF-8.
std::optional<std::string> CifreAscii(std::string_view testo) {
    // The zero of each run of ten digits known: Arabic-Indic, Persian, NKo,
    // the Indic scripts, Thai, Lao, Tibetan, Myanmar, Khmer, Mongolian,
    // full width.
    static constexpr char32_t Zeri[] = {0x0660, 0x06F0, 0x07C0, 0x0966, 0x09E6, 0x0A66, 0x0AE6, 0x0B66, 0x0BE6, 0x0C66,
                                        0x0CE6, 0x0D66, 0x0DE6, 0x0E50, 0x0ED0, 0x0F20, 0x1040, 0x17E0, 0x1810, 0xFF10};
    std::string ascii;
    std::size_t i = 0;
    while (i < testo.size()) {
        const auto b = static_cast<unsigned char>(testo[i]);
        if (b < 0x80) {
            ascii += static_cast<char>(b);
            ++i;
            continue;
        }
        const std::size_t lunghezza = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 0;
        if (lunghezza == 0 || b >= 0xF8 || i + lunghezza > testo.size()) return std::nullopt;
        char32_t c = b & (0x7F >> lunghezza);
        for (std::size_t k = 1; k < lunghezza; ++k) {
            const auto seguito = static_cast<unsigned char>(testo[i + k]);
            if ((seguito & 0xC0) != 0x80) return std::nullopt;
            c = (c << 6) | (seguito & 0x3F);
        }
        i += lunghezza;
        const bool direzione =
            c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
        if (direzione) continue;
        const auto zero =
            std::find_if(std::begin(Zeri), std::end(Zeri), [c](char32_t z) { return c >= z && c <= z + 9; });
        if (zero == std::end(Zeri)) return std::nullopt;
        ascii += static_cast<char>('0' + (c - *zero));
    }
    return ascii;
}

}  // namespace

bool AnnoCompleto(std::string_view testo) {
    // Four digits of any script.
    const std::optional<std::string> ascii = CifreAscii(testo);
    if (ascii) testo = *ascii;
    int cifre = 0;
    for (char c : testo) {
        cifre = c >= '0' && c <= '9' ? cifre + 1 : 0;
        if (cifre == 4) return true;
    }
    return false;
}

std::optional<Data> LeggiData(std::string_view testo) {
    if (auto d = Servizi().leggiData(testo)) return d;
    return LeggiDataIso(testo);
}

std::optional<Data> LeggiDataArchiviata(std::string_view testo) {
    if (auto d = LeggiDataIso(testo)) return d;
    const std::optional<std::string> ascii = CifreAscii(testo);
    if (!ascii) return std::nullopt;
    const auto numeri = LeggiTreNumeri(*ascii, true);
    if (!numeri) return std::nullopt;
    const auto& [parti, cifre, separatore] = *numeri;

    auto valida = [](Data d) { return DataValida(d) ? std::optional(d) : std::nullopt; };
    if (cifre[0] == 4) {
        if (cifre[1] > 2 || cifre[2] > 2) return std::nullopt;
        return valida({parti[0], parti[1], parti[2]});
    }
    if (cifre[0] > 2 || cifre[1] > 2 || (cifre[2] != 2 && cifre[2] != 4)) return std::nullopt;
    const int anno = cifre[2] == 2 ? AnnoDaDueCifre(parti[2]) : parti[2];
    if (auto d = valida({anno, parti[1], parti[0]})) return d;
    return valida({anno, parti[0], parti[1]});
}

std::string DataDaMostrare(std::string_view archiviata) {
    if (auto d = LeggiDataArchiviata(archiviata)) return Servizi().scriviData(*d);
    return std::string(archiviata);
}

std::string DataDaArchiviare(std::string_view mostrata) {
    if (auto d = LeggiData(mostrata)) return TestoIso(*d);
    return std::string(mostrata);
}

int EtaCompiuta(const Data& nascita, const Data& oggi) {
    // Whole years lived, rounded down: a birth date in the future gives a
    // negative age, even one day ahead.
    bool compleannoPassato = oggi.mese > nascita.mese || (oggi.mese == nascita.mese && oggi.giorno >= nascita.giorno);
    return oggi.anno - nascita.anno - (compleannoPassato ? 0 : 1);
}

const ServiziData& Servizi() { return ServiziCorrenti(); }

void ImpostaServizi(ServiziData servizi) {
    ServiziData& correnti = ServiziCorrenti();
    if (servizi.oggi) correnti.oggi = std::move(servizi.oggi);
    if (servizi.leggiData) correnti.leggiData = std::move(servizi.leggiData);
    if (servizi.scriviData) correnti.scriviData = std::move(servizi.scriviData);
}

}  // namespace Calendario
