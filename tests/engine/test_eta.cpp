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

TEST_F(Eta, FollowsTheRegionalOrderOfTheDate) {
    Oggi({2015, 3, 1}, OrdineData::MeseGiornoAnno);
    EXPECT_EQ(Modulo1::CalcolaEta("12/20/1990", valori), "24");
    EXPECT_EQ(Modulo1::CalcolaEta("20/12/1990", valori), "");
    Oggi({2015, 3, 1}, OrdineData::AnnoMeseGiorno);
    EXPECT_EQ(Modulo1::CalcolaEta("1990-12-20", valori), "24");
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
