// The age from the birth date, with today's date and the regional date test
// fixed by the test.
#include "Calendario.h"
#include "Modulo1.h"

#include <gtest/gtest.h>

using Calendario::Data;
using Calendario::OrdineData;

namespace {

class Eta : public ::testing::Test {
protected:
    Modulo1::ValoriCondizione valori;
    void TearDown() override {
        Calendario::ImpostaServizi(
            {[] {
                 return Data{2026, 1, 1};
             },
             [](std::string_view t) { return Calendario::LeggiDataNumerica(t, OrdineData::GiornoMeseAnno); }});
    }
    static void Oggi(Data oggi, OrdineData ordine = OrdineData::GiornoMeseAnno) {
        Calendario::ImpostaServizi({[oggi] { return oggi; },
                                    [ordine](std::string_view t) { return Calendario::LeggiDataNumerica(t, ordine); }});
    }
};

}  // namespace

TEST_F(Eta, CountsCompletedYears) {
    struct Caso {
        Data oggi;
        const char* nascita;
        const char* eta;
    } casi[] = {
        {{2015, 3, 1}, "20/12/1990", "24"}, {{2015, 12, 19}, "20/12/1990", "24"}, {{2015, 12, 20}, "20/12/1990", "25"},
        {{2016, 1, 1}, "20/12/1990", "25"}, {{2024, 2, 28}, "29/02/2000", "23"},  {{2024, 2, 29}, "29/02/2000", "24"},
        {{2023, 3, 1}, "29/02/2000", "23"}, {{2026, 12, 9}, "9/12/2026", "0"},    {{2026, 12, 9}, "10/12/2026", "-1"},
        {{2026, 12, 9}, "1/6/2028", "-2"},
    };
    for (const auto& c : casi) {
        Oggi(c.oggi);
        EXPECT_EQ(Modulo1::CalcolaEta(c.nascita, valori), c.eta) << c.nascita;
        EXPECT_EQ(valori.EtaAnni, std::stod(c.eta));
    }
}

TEST_F(Eta, NotADateGivesNothingAndKeepsTheAge) {
    Oggi({2015, 3, 1});
    valori.EtaAnni = 33;
    for (const char* t : {"", "31/02/1990", "29/02/2015", "1990", "20/12", "20/13/1990", "aa/bb/cccc", "20/12-1990",
                          "20/12/1990x", "0/1/1990"}) {
        EXPECT_EQ(Modulo1::CalcolaEta(t, valori), "") << t;
        EXPECT_EQ(valori.EtaAnni, 33) << t;
    }
}

// The birth date is read as stored, whatever the regional order: ISO, or day
// first as the earlier releases wrote it (7/4/1990 is 7 April), month first
// only where no month comes first.
TEST_F(Eta, ReadsTheStoredDateTheSameUnderEveryOrder) {
    for (OrdineData ordine : {OrdineData::GiornoMeseAnno, OrdineData::MeseGiornoAnno, OrdineData::AnnoMeseGiorno}) {
        Oggi({2015, 4, 8}, ordine);
        for (const auto& [nascita, eta] :
             {std::pair{"1990-12-20", "24"}, std::pair{"20/12/1990", "24"}, std::pair{"12/20/1990", "24"},
              std::pair{"7/4/1990", "25"}, std::pair{"9/4/1990", "24"}, std::pair{"09.04.1990", "24"},
              std::pair{"1990/04/09", "24"}, std::pair{"9/4/90", "24"}}) {
            EXPECT_EQ(Modulo1::CalcolaEta(nascita, valori), eta) << nascita << " order " << static_cast<int>(ordine);
        }
    }
}

// The stored forms a date is read from: ISO, and what earlier releases wrote
// under any regional setting (numbers in any script, direction marks); never
// anything else.
TEST(LeggiDataArchiviata, StoredForms) {
    using Calendario::LeggiDataArchiviata;
    const Data dicembre{1990, 12, 31};
    for (const char* t :
         {"1990-12-31", " 1990-12-31 ", "31/12/1990", "31-12-1990", "31.12.1990", "12/31/1990", "31/12/90",
          "1990/12/31", "1990. 12. 31.", "\u0663\u0661\u200F/\u0661\u0662\u200F/\u0661\u0669\u0669\u0660",
          "\u06F1\u06F9\u06F9\u06F0/\u06F1\u06F2/\u06F3\u06F1"})
        EXPECT_EQ(LeggiDataArchiviata(t), dicembre) << t;
    EXPECT_EQ(LeggiDataArchiviata("7/4/1990"), (Data{1990, 4, 7}));
    EXPECT_EQ(LeggiDataArchiviata("01/02/05"), (Data{2005, 2, 1}));
    for (const char* t : {"", "ieri", "31/02/1990", "13/13/1990", "20/12-1990", "20/12/1990x", "1990", "20/12",
                          "0/1/1990", "31/12/990", "1990-12-31 10:00", "12/1990/31", "//", "\xFF\xFE"})
        EXPECT_FALSE(LeggiDataArchiviata(t)) << t;
    EXPECT_FALSE(LeggiDataArchiviata(std::string(10000, '1')));
}

// A stored date is shown in the regional form, and what is shown (or typed)
// is stored as ISO; a text that is no date stays as it is, both ways.
TEST_F(Eta, StoredAndShownForms) {
    Oggi({2015, 4, 8}, OrdineData::MeseGiornoAnno);
    Calendario::ImpostaServizi({nullptr, nullptr, [](const Data& d) {
                                    return std::to_string(d.mese) + "/" + std::to_string(d.giorno) + "/" +
                                           std::to_string(d.anno);
                                }});
    EXPECT_EQ(Calendario::DataDaMostrare("1990-04-07"), "4/7/1990");
    EXPECT_EQ(Calendario::DataDaMostrare("7/4/1990"), "4/7/1990");
    EXPECT_EQ(Calendario::DataDaMostrare("ieri"), "ieri");
    EXPECT_EQ(Calendario::DataDaMostrare(""), "");
    EXPECT_EQ(Calendario::DataDaArchiviare("4/7/1990"), "1990-04-07");
    EXPECT_EQ(Calendario::DataDaArchiviare("1990-04-07"), "1990-04-07");
    EXPECT_EQ(Calendario::DataDaArchiviare("31/12/1990"), "31/12/1990");  // no date here: left to the date check
    EXPECT_EQ(Calendario::DataDaArchiviare("ieri"), "ieri");
    EXPECT_EQ(Calendario::DataDaArchiviare(""), "");
    Calendario::ImpostaServizi({nullptr, nullptr, [](const Data& d) { return Calendario::TestoIso(d); }});
}

TEST(LeggiDataNumerica, SeparatorsAndShortYears) {
    using Calendario::LeggiDataNumerica;
    const auto dmy = OrdineData::GiornoMeseAnno;
    EXPECT_EQ(LeggiDataNumerica("20/12/1990", dmy), (Data{1990, 12, 20}));
    EXPECT_EQ(LeggiDataNumerica("20-12-1990", dmy), (Data{1990, 12, 20}));
    EXPECT_EQ(LeggiDataNumerica(" 20.12.1990 ", dmy), (Data{1990, 12, 20}));
    EXPECT_EQ(LeggiDataNumerica("20/12/90", dmy), (Data{1990, 12, 20}));
    EXPECT_EQ(LeggiDataNumerica("1/2/05", dmy), (Data{2005, 2, 1}));
    EXPECT_FALSE(LeggiDataNumerica("20/12/990", dmy));
    EXPECT_FALSE(LeggiDataNumerica("20/12/19900", dmy));
    EXPECT_FALSE(LeggiDataNumerica("20//1990", dmy));
    EXPECT_FALSE(LeggiDataNumerica(std::string(10000, '1'), dmy));
}
