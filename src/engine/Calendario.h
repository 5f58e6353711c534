// Calendar dates and the two date services the program needs from its
// platform: today's date, and the test whether a text reads as a date under
// the user's regional settings. The windows install the real services at
// start; tests install fixed ones.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

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

// An ISO 8601 date, "1988-03-15" (blanks at either end allowed); nothing
// for anything else.
std::optional<Data> LeggiDataIso(std::string_view testo);
// "1988-03-15".
std::string TestoIso(const Data& d);

// True when the text holds its year in full: four digits in a row, of any
// script.
bool AnnoCompleto(std::string_view testo);

// Completed years between the birth date and today; negative for a future birth.
int EtaCompiuta(const Data& nascita, const Data& oggi);

struct ServiziData {
    std::function<Data()> oggi;                                      // today's date
    std::function<std::optional<Data>(std::string_view)> leggiData;  // the regional date test
    std::function<std::string(const Data&)> scriviData;              // a date as the user's region writes it

    ServiziData(std::function<Data()> o = {}, std::function<std::optional<Data>(std::string_view)> l = {},
                std::function<std::string(const Data&)> s = {})
        : oggi(std::move(o)), leggiData(std::move(l)), scriviData(std::move(s)) {}
};

// The services in force. Until a caller installs others: the local date of the
// system clock, numeric dates as day, month, year, written "15/03/1988".
// A service left empty keeps the one in force.
const ServiziData& Servizi();
void ImpostaServizi(ServiziData servizi);

// A date as the coach types it or reads it in a box: in the user's regional
// form, or as an ISO date.
std::optional<Data> LeggiData(std::string_view testo);

// A date as the archive holds it, the same day under every regional setting:
// an ISO date, as the program stores every date; or what earlier releases
// stored under the regional settings of their day: three numbers, in the
// digits of any script, with "/", "-" or "." between them (direction marks
// and blanks after a separator aside). The day comes first unless the year
// does ("7/4/1990" is 7 April, as the Italian settings wrote it); the month
// comes first only where the day cannot ("12/31/1990"). A two-digit year is
// taken as 1930-2029. Nothing for anything else.
std::optional<Data> LeggiDataArchiviata(std::string_view testo);

// A stored date as the coach sees it: in the regional form when it reads as a
// date (LeggiDataArchiviata), else as it is stored.
std::string DataDaMostrare(std::string_view archiviata);
// A date the coach typed as the archive stores it: ISO when it reads as a
// date (LeggiData), else as it is, for the date check to judge.
std::string DataDaArchiviare(std::string_view mostrata);

}  // namespace Calendario
