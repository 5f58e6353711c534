// Calendar dates and the two date services the program needs from its
// platform: today's date, and the test whether a text reads as a date under
// the user's regional settings. The windows install the real services at
// start; tests install fixed ones.
#pragma once

#include <functional>
#include <optional>
#include <string_view>

namespace Calendario {

struct Data {
    int anno = 0, mese = 0, giorno = 0;
    friend bool operator==(const Data&, const Data&) = default;
};

// The order of day, month and year in a numeric date of the user's region.
enum class OrdineData { GiornoMeseAnno, MeseGiornoAnno, AnnoMeseGiorno };

bool DataValida(const Data& d);  // 31/02 is no date; years 100 to 9999

// The year of a two-digit year: 1930 to 2029.
int AnnoDaDueCifre(int anno);

// Reads a numeric date such as "20/12/1990", "20-12-1990" or "20.12.1990" in
// the given order; one separator kind per text, blanks at either end allowed.
// A two-digit year is taken as 1930-2029. Nothing for anything else.
std::optional<Data> LeggiDataNumerica(std::string_view testo, OrdineData ordine);

// Completed years between the birth date and today; negative for a future birth.
int EtaCompiuta(const Data& nascita, const Data& oggi);

struct ServiziData {
    std::function<Data()> oggi;                                      // today's date
    std::function<std::optional<Data>(std::string_view)> leggiData;  // the regional date test
};

// The services in force. Until a caller installs others: the local date of the
// system clock, and numeric dates as day, month, year.
const ServiziData& Servizi();
void ImpostaServizi(ServiziData servizi);

}  // namespace Calendario
