// The fit calculations: from the seven measure texts of the fit sheet to the
// ten result texts.

#include "Modulo1.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

using Modulo1::MisureAssetto;

// The seven measure texts in the order of the fit sheet's boxes.
struct Testi {
    const char *cavallo, *busto, *coscia, *gamba, *braccio, *spalle, *sella;
};

MisureAssetto Leggi(const Testi& t, bool& predefinita) {
    return Modulo1::LeggiMisure(t.cavallo, t.busto, t.coscia, t.gamba, t.braccio, t.spalle, t.sella, predefinita);
}

// TP, TO, PE, alfa, piega, pipa, HS, DSM, SM, R, in the order the sheet runs them.
using DieciTesti = std::array<std::string, 10>;

DieciTesti Calcola(const MisureAssetto& m) {
    return {Modulo1::CalcolaTP(m),    Modulo1::CalcolaTO(m),   Modulo1::CalcolaPE(m), Modulo1::CalcolaAlfa(m),
            Modulo1::CalcolaPiega(m), Modulo1::CalcolaPipa(m), Modulo1::CalcolaHS(m), Modulo1::CalcolaDSM(m),
            Modulo1::CalcolaSM(m),    Modulo1::CalcolaR(m)};
}

constexpr const char* NomiRisultati[10] = {"TP", "TO", "PE", "alfa", "piega", "pipa", "HS", "DSM", "SM", "R"};

void ControllaDieci(const DieciTesti& ottenuti, const DieciTesti& attesi) {
    for (std::size_t i = 0; i < 10; ++i) EXPECT_EQ(ottenuti[i], attesi[i]) << NomiRisultati[i];
}

const DieciTesti TuttiND = {"n.d.", "n.d.", "n.d.", "n.d.", "n.d.", "n.d.", "n.d.", "n.d.", "n.d.", "n.d."};

struct CasoAssetto {
    const char* nome;
    Testi testi;
    bool sellaPredefinita;
    DieciTesti attesi;
};

// clang-format off
const CasoAssetto CasiAssetto[] = {
    {"athlete A", {"78", "58", "52", "50", "57", "40", "28.5"}, false,
     {" 50.7", " 50 - 50.7", "170", " 74.4", " 40", " 9.8 - 10.8", " 69", " 48 - 50.3", " 5.3 - 5.9", " 4 - 4.5"}},
    {"athlete B, saddle box empty", {"85", "62", "55", "50", "60", "42", ""}, true,
     {" 55.2", " 53 - 53.7", "175", " 73.5", " 42", " 10.5 - 11.5", " 75.2", " 52 - 54.5", " 7 - 7.8", " 7.3 - 7.8"}},
    {"athlete B, saddle 27.5 typed", {"85", "62", "55", "50", "60", "42", "27.5"}, false,
     {" 55.2", " 53 - 53.7", "175", " 73.5", " 42", " 10.5 - 11.5", " 75.2", " 52 - 54.5", " 7 - 7.8", " 7.3 - 7.8"}},
    {"athlete C, inseam only", {"80", "", "", "", "", "", ""}, true,
     {" 52", "n.d.", "172.5", "n.d.", "n.d.", "n.d.", " 70.8", "n.d.", " 5.8 - 6.4", " 5.7 - 6.2"}},
    {"every box empty", {"", "", "", "", "", "", ""}, true, TuttiND},
    {"athlete A with saddle -3", {"78", "58", "52", "50", "57", "40", "-3"}, false,
     {" 50.7", " 50 - 50.7", "170", " 74.4", " 40", " 9.8 - 10.8", " 69", "n.d.", " 5.3 - 5.9", "n.d."}},
    {"athlete A with thigh -40", {"78", "58", "-40", "50", "57", "40", "28.5"}, false,
     {" 50.7", " 50 - 50.7", "170", " 102", " 40", " 9.8 - 10.8", " 69", " 48 - 50.3", " 5.3 - 5.9", " 4 - 4.5"}},
    {"athlete A with inseam -78", {"-78", "58", "52", "50", "57", "40", "28.5"}, false,
     {"n.d.", " 50 - 50.7", "n.d.", " 74.4", " 40", " 9.8 - 10.8", "n.d.", " 48 - 50.3", "n.d.", "n.d."}},
    {"negative thigh and leg", {"", "", "-52", "-50", "", "", ""}, true,
     {"n.d.", "n.d.", "n.d.", " 74.4", "n.d.", "n.d.", "n.d.", "n.d.", "n.d.", "n.d."}},
    {"thigh without leg", {"", "58", "52", "", "", "40", ""}, true,
     {"n.d.", "n.d.", "n.d.", "n.d.", " 40", "n.d.", "n.d.", "n.d.", "n.d.", "n.d."}},
    {"torso and arm, default saddle", {"", "58", "", "50", "57", "", ""}, true,
     {"n.d.", " 50 - 50.7", "n.d.", "n.d.", "n.d.", " 9.8 - 10.8", "n.d.", " 49 - 51.3", "n.d.", "n.d."}},
    {"inseam 60", {"60", "", "", "", "", "", ""}, true,
     {" 39", "n.d.", "165", "n.d.", "n.d.", "n.d.", " 53.1", "n.d.", " .9 - 1", "-1 --.5"}},
    {"inseam 50", {"50", "", "", "", "", "", ""}, true,
     {" 32.5", "n.d.", "165", "n.d.", "n.d.", "n.d.", " 44.2", "n.d.", "-1.5 --1.7", "-4.3 --3.8"}},
    {"inseam 100", {"100", "", "", "", "", "", ""}, true,
     {" 65", "n.d.", "180", "n.d.", "n.d.", "n.d.", " 91", "n.d.", " 10.6 - 11.8", " 12.3 - 12.8"}},
};
// clang-format on

TEST(Assetto, DieciRisultatiDegliEsempi) {
    for (const CasoAssetto& caso : CasiAssetto) {
        SCOPED_TRACE(caso.nome);
        bool predefinita = !caso.sellaPredefinita;
        MisureAssetto m = Leggi(caso.testi, predefinita);
        EXPECT_EQ(predefinita, caso.sellaPredefinita);
        ControllaDieci(Calcola(m), caso.attesi);
    }
}

TEST(Assetto, LeggiMisureSellaPredefinita) {
    struct Caso {
        const char* sella;
        double attesa;
        bool predefinita;
    };
    const Caso casi[] = {
        {"", 27.5, true},    {"0", 27.5, true},     {"0.0", 27.5, true}, {"27.5", 27.5, false},
        {"-3", -3.0, false}, {"28.5", 28.5, false}, {"abc", 27.5, true},
    };
    for (const Caso& caso : casi) {
        SCOPED_TRACE(caso.sella);
        for (bool prima : {false, true}) {  // the flag is written either way
            bool predefinita = prima;
            MisureAssetto m = Modulo1::LeggiMisure("78", "58", "52.5", "50", "57", "40", caso.sella, predefinita);
            EXPECT_DOUBLE_EQ(m.sella, caso.attesa);
            EXPECT_EQ(predefinita, caso.predefinita);
        }
    }
}

TEST(Assetto, LeggiMisureLeggeOgniCasella) {
    bool predefinita = false;
    MisureAssetto m = Modulo1::LeggiMisure(" 78", "58.5", "-52", "72,5", "", "x", "29", predefinita);
    EXPECT_DOUBLE_EQ(m.cavallo, 78.0);
    EXPECT_DOUBLE_EQ(m.busto, 58.5);
    EXPECT_DOUBLE_EQ(m.coscia, -52.0);
    EXPECT_DOUBLE_EQ(m.gamba, 72.0);  // a comma ends the number
    EXPECT_DOUBLE_EQ(m.braccio, 0.0);
    EXPECT_DOUBLE_EQ(m.spalle, 0.0);
    EXPECT_DOUBLE_EQ(m.sella, 29.0);
    EXPECT_FALSE(predefinita);
}

// Crank classes at and just below each limit, with the saddle height that
// reads the crank length back from the class text.
TEST(Assetto, ClassiPedivellaELimiti) {
    struct Caso {
        double cavallo;
        const char* pe;
        const char* hs;
    };
    const Caso casi[] = {
        {69.0, "165", " 61.1"}, {69.2, "167.5", " 61.2"},  {73.9, "167.5", " 65.4"}, {74.0, "170", " 65.5"},
        {78.6, "170", " 69.6"}, {78.75, "172.5", " 69.7"}, {83.4, "172.5", " 73.8"}, {83.5, "175", " 73.9"},
        {88.1, "175", " 78.5"}, {88.25, "177.5", " 78.4"}, {92.9, "177.5", " 83.5"}, {93.0, "180", " 83.4"},
        {100.0, "180", " 91"},  {50.0, "165", " 44.2"},    {1.0, "165", " .9"},
    };
    for (const Caso& caso : casi) {
        SCOPED_TRACE(caso.cavallo);
        const MisureAssetto m{caso.cavallo, 0, 0, 0, 0, 0, 27.5};
        EXPECT_EQ(Modulo1::CalcolaPE(m), caso.pe);
        EXPECT_EQ(Modulo1::CalcolaHS(m), caso.hs);
    }
    EXPECT_EQ(Modulo1::CalcolaPE(MisureAssetto{0, 58, 52, 50, 57, 40, 27.5}), "n.d.");
}

TEST(Assetto, PiegaAlCentimetroPari) {
    struct Caso {
        double spalle;
        const char* atteso;
    };
    const Caso casi[] = {{42.5, " 42"}, {43.5, " 44"}, {40.4, " 40"}, {40.0, " 40"}, {0.0, "n.d."}, {-40.0, "n.d."}};
    for (const Caso& caso : casi) {
        SCOPED_TRACE(caso.spalle);
        EXPECT_EQ(Modulo1::CalcolaPiega(MisureAssetto{0, 0, 0, 0, 0, caso.spalle, 27.5}), caso.atteso);
    }
}

// A measure of hundreds of digits reads as no finite number: every result it
// reaches is "n.d." whole, never "inf" nor half a range.
TEST(Assetto, SenzaNumeroFinitoND) {
    const std::string enorme = "1" + std::string(400, '0');
    bool predefinita = false;
    ControllaDieci(Calcola(Modulo1::LeggiMisure(enorme, enorme, enorme, "50", "57", enorme, "28.5", predefinita)),
                   TuttiND);
    ControllaDieci(Calcola(Modulo1::LeggiMisure("78", "58", "52", "50", "57", "40", enorme, predefinita)),
                   {" 50.7", " 50 - 50.7", "170", " 74.4", " 40", " 9.8 - 10.8", " 69", "n.d.", " 5.3 - 5.9", "n.d."});
}

}  // namespace
