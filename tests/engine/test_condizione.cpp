// The condition calculations: heart-rate zones with their training energy,
// body build, basal metabolism with the daily need, and body mass index.

#include "CartellaProva.h"
#include "Modulo1.h"
#include "modLanguageSupport.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace {

using Modulo1::CinqueTesti;
using modLanguageSupport::TestoLingua;

class Condizione : public ::testing::Test {
protected:
    void SetUp() override {
        modLanguageSupport::LinguaCorrente = "italian";
        ASSERT_FALSE(TestoLingua("0005").empty()) << "the test folder holds no language file";
    }

    CartellaProva cartella_;
};

// ---- Heart-rate zones ------------------------------------------------------

// Results are pre-filled with this; an absent result must keep it.
const CinqueTesti Intatti = {"x", "x", "x", "x", "x"};
const CinqueTesti TuttiND = {"n.d.", "n.d.", "n.d.", "n.d.", "n.d."};

// A measure of hundreds of digits, which reads as no finite number.
const std::string Enorme = "1" + std::string(400, '0');
constexpr double Infinito = std::numeric_limits<double>::infinity();

struct CasoZone {
    const char* nome;
    double etaAnni, riposo, minuti;
    const char* sesso;
    double eta;
    const char* peso;
    double fcMax;
    CinqueTesti cooper, karvonen, kcalCooper, kcalKarvonen;
};

// clang-format off
const CasoZone CasiZone[] = {
    {"man 30, resting 60, 70 kg, 60 min", 30, 60, 60, "M", 30, "70", 190,
     {"95-114", "114-133", "133-152", "152-171", "171-190"},
     {"125-138", "138-151", "151-164", "164-177", "177-190"},
     {"356-528", "528-700", "700-871", "871-1043", "1043-1215"},
     {"627-745", "745-862", "862-980", "980-1098", "1098-1215"}},
    {"woman 40, no resting rate, 60 kg, 45 min", 40, 0, 45, "F", 40, "60", 186,
     {"93-112", "112-130", "130-149", "149-167", "167-186"}, Intatti,
     {"178-270", "270-356", "356-448", "448-534", "534-626"}, Intatti},
    {"woman 40, resting 55, 60 kg, 45 min", 40, 55, 45, "F", 40, "60", 186,
     {"93-112", "112-130", "130-149", "149-167", "167-186"},
     {"121-134", "134-147", "147-160", "160-173", "173-186"},
     {"178-270", "270-356", "356-448", "448-534", "534-626"},
     {"313-375", "375-438", "438-500", "500-563", "563-626"}},
    {"man 35, halves to even", 35, 0, 60, "M", 35, "", 185,
     {"92-111", "111-130", "130-148", "148-166", "166-185"}, Intatti, Intatti, Intatti},
    {"no birth date, no sex, no weight", 0, 0, 60, "", 0, "", 220,
     {"110-132", "132-154", "154-176", "176-198", "198-220"}, Intatti, Intatti, Intatti},
    {"weight text 0", 30, 60, 60, "M", 30, "0", 190,
     {"95-114", "114-133", "133-152", "152-171", "171-190"},
     {"125-138", "138-151", "151-164", "164-177", "177-190"}, Intatti, Intatti},
    {"zero minutes", 30, 60, 0, "M", 30, "70", 190,
     {"95-114", "114-133", "133-152", "152-171", "171-190"},
     {"125-138", "138-151", "151-164", "164-177", "177-190"}, Intatti, Intatti},
    {"age 0 with weight and resting rate", 0, 60, 60, "M", 0, "70", 220,
     {"110-132", "132-154", "154-176", "176-198", "198-220"},
     {"140-156", "156-172", "172-188", "188-204", "204-220"}, Intatti, Intatti},
    {"age argument 0: energies absent, maximum from the condition age", 30, 60, 60, "M", 0, "70", 190,
     {"95-114", "114-133", "133-152", "152-171", "171-190"},
     {"125-138", "138-151", "151-164", "164-177", "177-190"}, Intatti, Intatti},
    {"birth date in the future", -2, 60, 60, "F", -2, "70", 228,
     {"114-137", "137-160", "160-182", "182-205", "205-228"},
     {"144-161", "161-178", "178-194", "194-211", "211-228"}, Intatti, Intatti},
    {"negative energies: woman 30, 300 kg, 30 min", 30, 0, 30, "F", 30, "300", 196,
     {"98-118", "118-137", "137-157", "157-176", "176-196"}, Intatti,
     {"-88--24", "-24-37", "37-101", "101-162", "162-226"}, Intatti},
    {"resting rate with a fraction", 30, 62.5, 60, "M", 30, "70", 190,
     {"95-114", "114-133", "133-152", "152-171", "171-190"},
     {"126.5-138.5", "138.5-151.5", "151.5-164.5", "164.5-177.5", "177.5-190.5"},
     {"356-528", "528-700", "700-871", "871-1043", "1043-1215"},
     {"641-749", "749-867", "867-985", "985-1102", "1102-1220"}},
    {"lower-case f counts as a man", 30, 60, 60, "f", 30, "70", 190,
     {"95-114", "114-133", "133-152", "152-171", "171-190"},
     {"125-138", "138-151", "151-164", "164-177", "177-190"},
     {"356-528", "528-700", "700-871", "871-1043", "1043-1215"},
     {"627-745", "745-862", "862-980", "980-1098", "1098-1215"}},
    {"empty sex letter counts as a man", 30, 60, 60, "", 30, "70", 190,
     {"95-114", "114-133", "133-152", "152-171", "171-190"},
     {"125-138", "138-151", "151-164", "164-177", "177-190"},
     {"356-528", "528-700", "700-871", "871-1043", "1043-1215"},
     {"627-745", "745-862", "862-980", "980-1098", "1098-1215"}},
    {"weight with a fraction", 30, 60, 60, "M", 30, "70.5", 190,
     {"95-114", "114-133", "133-152", "152-171", "171-190"},
     {"125-138", "138-151", "151-164", "164-177", "177-190"},
     {"357-529", "529-701", "701-873", "873-1045", "1045-1217"},
     {"629-746", "746-864", "864-981", "981-1099", "1099-1217"}},
    {"weight with a comma reads up to the comma", 30, 60, 60, "M", 30, "70,5", 190,
     {"95-114", "114-133", "133-152", "152-171", "171-190"},
     {"125-138", "138-151", "151-164", "164-177", "177-190"},
     {"356-528", "528-700", "700-871", "871-1043", "1043-1215"},
     {"627-745", "745-862", "862-980", "980-1098", "1098-1215"}},
    {"weight of hundreds of digits: the energies are n.d.", 30, 60, 60, "M", 30, Enorme.c_str(), 190,
     {"95-114", "114-133", "133-152", "152-171", "171-190"},
     {"125-138", "138-151", "151-164", "164-177", "177-190"}, TuttiND, TuttiND},
    {"resting rate of no finite number: Karvonen n.d.", 30, Infinito, 60, "M", 30, "70", 190,
     {"95-114", "114-133", "133-152", "152-171", "171-190"}, TuttiND,
     {"356-528", "528-700", "700-871", "871-1043", "1043-1215"}, TuttiND},
};
// clang-format on

TEST_F(Condizione, ZoneCardiache) {
    for (const CasoZone& caso : CasiZone) {
        SCOPED_TRACE(caso.nome);
        Modulo1::ValoriCondizione valori;
        valori.EtaAnni = caso.etaAnni;
        valori.PulsazioniRiposo = caso.riposo;
        double fcMax = -1;
        CinqueTesti cooper = Intatti, karvonen = Intatti, kcalCooper = Intatti, kcalKarvonen = Intatti;
        Modulo1::CalcolaZoneCardiache(valori, fcMax, caso.minuti, cooper, karvonen, caso.sesso, caso.eta, caso.peso,
                                      kcalCooper, kcalKarvonen);
        EXPECT_DOUBLE_EQ(fcMax, caso.fcMax);
        EXPECT_EQ(cooper, caso.cooper);
        EXPECT_EQ(karvonen, caso.karvonen);
        EXPECT_EQ(kcalCooper, caso.kcalCooper);
        EXPECT_EQ(kcalKarvonen, caso.kcalKarvonen);
    }
}

// A measured maximum replaces the estimate in both methods and their
// energies: a man of 50 measured at 190 trains as the estimate puts a man of
// 30; no measure (0, or no finite number) leaves the estimate.
TEST_F(Condizione, MassimaMisurata) {
    struct Risultati {
        double fcMax = -1;
        CinqueTesti cooper = Intatti, karvonen = Intatti, kcalCooper = Intatti, kcalKarvonen = Intatti;
        bool operator==(const Risultati&) const = default;
    };
    const auto calcola = [](double etaAnni, double misurata) {
        Modulo1::ValoriCondizione valori;
        valori.EtaAnni = etaAnni;
        valori.PulsazioniRiposo = 60;
        valori.FcMaxMisurata = misurata;
        Risultati r;
        Modulo1::CalcolaZoneCardiache(valori, r.fcMax, 60, r.cooper, r.karvonen, "M", 40, "70", r.kcalCooper,
                                      r.kcalKarvonen);
        return r;
    };
    EXPECT_EQ(calcola(50, 190), calcola(30, 0));
    EXPECT_DOUBLE_EQ(calcola(50, 190).fcMax, 190);
    for (double nessuna : {0.0, -5.0, Infinito}) EXPECT_EQ(calcola(50, nessuna), calcola(50, 0));
    EXPECT_DOUBLE_EQ(calcola(50, 0).fcMax, 170);
}

// ---- Body build ------------------------------------------------------------

TEST_F(Condizione, Costituzione) {
    struct Caso {
        double cavallo, busto;
        const char* id;
    };
    const Caso casi[] = {
        {85, 62, "0003"},   {82.5, 62, "0003"}, {82.4, 62, "0004"},   {80, 61, "0004"},     {78, 61, "0002"},
        {131, 100, "0004"}, {133, 100, "0004"}, {130.9, 100, "0002"}, {133.1, 100, "0003"}, {0, 62, "0001"},
        {85, 0, "0001"},    {0, 0, "0001"},     {-80, 61, "0001"},    {80, -61, "0001"},
    };
    for (const char* lingua : {"italian", "english"}) {
        modLanguageSupport::LinguaCorrente = lingua;
        for (const Caso& caso : casi) {
            SCOPED_TRACE(std::string(lingua) + " " + std::to_string(caso.cavallo) + " / " + std::to_string(caso.busto));
            EXPECT_EQ(Modulo1::Costituzione(caso.cavallo, caso.busto), TestoLingua(caso.id));
        }
    }
}

// ---- Basal metabolism and daily need ---------------------------------------

struct CasoMetabolismo {
    const char* nome;
    const char* sesso;
    double peso, altezza, eta;
    const char* idAttivita;     // catalogue message of the activity, or nullptr
    const char* testoAttivita;  // the activity text when idAttivita is nullptr
    bool fisica;
    const char* metabolismo;  // "x": absent
    const char* fabbisogno;   // "x": absent
};

const CasoMetabolismo CasiMetabolismo[] = {
    {"man 30, light", "M", 70, 175, 30, "0005", nullptr, false, "1701", "2398"},
    {"weight of no finite number", "M", Infinito, 175, 30, "0005", nullptr, false, "n.d.", "x"},
    {"man 30, light, active", "M", 70, 175, 30, "0005", nullptr, true, "1701", "2637"},
    {"man 30, moderate", "M", 70, 175, 30, "0006", nullptr, false, "1701", "2892"},
    {"man 30, moderate, active", "M", 70, 175, 30, "0006", nullptr, true, "1701", "3028"},
    {"man 30, heavy", "M", 70, 175, 30, "0007", nullptr, false, "1701", "3419"},
    {"man 30, heavy, active", "M", 70, 175, 30, "0007", nullptr, true, "1701", "3572"},
    {"woman 40, light", "F", 60, 170, 40, "0005", nullptr, false, "1366", "1940"},
    {"woman 40, light, active", "F", 60, 170, 40, "0005", nullptr, true, "1366", "2131"},
    {"woman 40, moderate", "F", 60, 170, 40, "0006", nullptr, false, "1366", "2131"},
    {"woman 40, moderate, active", "F", 60, 170, 40, "0006", nullptr, true, "1366", "2240"},
    {"woman 40, heavy", "F", 60, 170, 40, "0007", nullptr, false, "1366", "2363"},
    {"woman 40, heavy, active", "F", 60, 170, 40, "0007", nullptr, true, "1366", "2486"},
    {"man 60, no activity text", "M", 70, 170, 60, nullptr, "", false, "1473", "2062"},
    {"man 74, any text, active", "M", 70, 170, 74, nullptr, "qualsiasi", true, "1378", "2081"},
    {"man 75", "M", 70, 170, 75, nullptr, "", false, "1372", "1825"},
    {"man 75, active", "M", 70, 170, 75, "0007", nullptr, true, "1372", "2072"},
    {"woman 65", "F", 55, 160, 65, nullptr, "", false, "1183", "1704"},
    {"woman 65, active", "F", 55, 160, 65, nullptr, "", true, "1183", "1845"},
    {"woman 75", "F", 55, 160, 75, nullptr, "", false, "1136", "1556"},
    {"woman 75, active", "F", 55, 160, 75, nullptr, "", true, "1136", "1772"},
    {"man 18, light", "M", 70, 175, 18, "0005", nullptr, false, "1783", "2514"},
    {"man 59, light", "M", 70, 175, 59, "0005", nullptr, false, "1505", "2122"},
    {"man 17: no need", "M", 70, 175, 17, "0005", nullptr, false, "1789", "x"},
    {"man 30, empty activity", "M", 70, 175, 30, nullptr, "", false, "1701", "x"},
    {"man 30, wrong case", "M", 70, 175, 30, nullptr, "Leggera", false, "1701", "x"},
    {"man 30, English word in Italian", "M", 70, 175, 30, nullptr, "light", false, "1701", "x"},
    {"empty sex letter", "", 70, 175, 30, "0005", nullptr, false, "n.d.", "x"},
    {"no weight", "M", 0, 175, 30, "0005", nullptr, false, "x", "x"},
    {"no height", "M", 70, 0, 30, "0005", nullptr, false, "x", "x"},
    {"no age", "M", 70, 175, 0, "0005", nullptr, false, "x", "x"},
    {"negative age", "F", 60, 170, -2, "0005", nullptr, false, "x", "x"},
    {"no age, empty sex letter", "", 70, 175, 0, "0005", nullptr, false, "x", "x"},
};

void ControllaMetabolismo(const CasoMetabolismo& caso) {
    const Modulo1::ValoriCondizione valori{
        caso.eta,   caso.peso, caso.altezza, 0, caso.idAttivita ? TestoLingua(caso.idAttivita) : caso.testoAttivita,
        caso.fisica};
    std::string metabolismo = "x", fabbisogno = "x";
    Modulo1::CalcolaMetabolismo(valori, metabolismo, fabbisogno, caso.sesso);
    EXPECT_EQ(metabolismo, caso.metabolismo);
    EXPECT_EQ(fabbisogno, caso.fabbisogno);
}

TEST_F(Condizione, Metabolismo) {
    for (const CasoMetabolismo& caso : CasiMetabolismo) {
        SCOPED_TRACE(caso.nome);
        ControllaMetabolismo(caso);
    }
}

TEST_F(Condizione, MetabolismoInInglese) {
    modLanguageSupport::LinguaCorrente = "english";
    const CasoMetabolismo casi[] = {
        {"light", "M", 70, 175, 30, nullptr, "light", false, "1701", "2398"},
        {"moderate", "M", 70, 175, 30, nullptr, "moderate", false, "1701", "2892"},
        {"strong", "M", 70, 175, 30, nullptr, "strong", false, "1701", "3419"},
        {"strong, woman, active", "F", 60, 170, 40, nullptr, "strong", true, "1366", "2486"},
        {"Italian word in English", "M", 70, 175, 30, nullptr, "leggera", false, "1701", "x"},
    };
    for (const CasoMetabolismo& caso : casi) {
        SCOPED_TRACE(caso.nome);
        ControllaMetabolismo(caso);
    }
}

// ---- Body mass index -------------------------------------------------------

TEST_F(Condizione, DatiIMCValidi) {
    struct Caso {
        const char* sesso;
        const char* peso;
        double altezza;
        bool valido;
    };
    const Caso casi[] = {
        {"M", "70", 175, true},   {"F", "70", 175, true},   {"M", "70.5", 175, true}, {"M", "70,5", 175, true},
        {"M", " 70 ", 175, true}, {"M", "70", 0.5, true},   {"", "70", 175, false},   {"m", "70", 175, false},
        {"f", "70", 175, false},  {"X", "70", 175, false},  {"M", "", 175, false},    {"M", "0", 175, false},
        {"M", "0.0", 175, false}, {"M", "-70", 175, false}, {"M", "abc", 175, false}, {"M", "7.0.1", 175, false},
        {"M", "70", 0, false},    {"M", "70", -175, false},
    };
    for (const Caso& caso : casi) {
        SCOPED_TRACE(std::string(caso.sesso) + " / " + caso.peso + " / " + std::to_string(caso.altezza));
        EXPECT_EQ(Modulo1::DatiIMCValidi(caso.sesso, caso.peso, caso.altezza), caso.valido);
    }
}

struct CasoIMC {
    const char* sesso;
    double altezza;
    const char* peso;
    const char* indice;  // "": not valid, the three results stay "x"
    const char* idClasse;
    const char* pesoIdeale;
    const char* range;
};

const CasoIMC CasiIMC[] = {
    {"M", 175, "70", "22.86", "0013", "67.4", "61.2 - 76.5"},
    {"F", 170, "60", "20.76", "0013", "57.8", "53.5 - 68.8"},
    {"M", 175, "67.5", "22.04", "0014", "67.4", "61.2 - 76.5"},
    {"M", 175, "67,5", "22.04", "0014", "67.4", "61.2 - 76.5"},
    {"F", 170, "45", "15.57", "0011", "57.8", "53.5 - 68.8"},
    {"M", 200, "100", "25.00", "0016", "88", "80 - 100"},
    {"F", 160, "55", "21.48", "0013", "51.2", "47.4 - 60.9"},
    {"M", 180, "80", "24.69", "0013", "71.3", "64.8 - 81"},
    {"F", 165, "80", "29.38", "0025", "54.4", "50.4 - 64.8"},
    {"M", 190, "150", "41.55", "0026", "79.4", "72.2 - 90.2"},
    // Four digits before the point: no grouping of thousands.
    {"M", 100, "1234.5", "1234.50", "0026", "22", "20 - 25"},
    // A height of one metre makes the index equal the weight: the class limits.
    {"M", 100, "15.99", "15.99", "0011", "22", "20 - 25"},
    {"M", 100, "16", "16.00", "0012", "22", "20 - 25"},
    {"M", 100, "19.99", "19.99", "0012", "22", "20 - 25"},
    {"M", 100, "20", "20.00", "0013", "22", "20 - 25"},
    {"M", 100, "21.89", "21.89", "0013", "22", "20 - 25"},
    {"M", 100, "21.9", "21.90", "0014", "22", "20 - 25"},
    {"M", 100, "22.1", "22.10", "0014", "22", "20 - 25"},
    {"M", 100, "22.11", "22.11", "0013", "22", "20 - 25"},
    {"M", 100, "24.99", "24.99", "0013", "22", "20 - 25"},
    {"M", 100, "25", "25.00", "0016", "22", "20 - 25"},
    {"M", 100, "29.99", "29.99", "0016", "22", "20 - 25"},
    {"M", 100, "30", "30.00", "0025", "22", "20 - 25"},
    {"M", 100, "39.99", "39.99", "0025", "22", "20 - 25"},
    {"M", 100, "40", "40.00", "0026", "22", "20 - 25"},
    {"F", 100, "15.99", "15.99", "0011", "20", "18.5 - 23.8"},
    {"F", 100, "16", "16.00", "0012", "20", "18.5 - 23.8"},
    {"F", 100, "18.49", "18.49", "0012", "20", "18.5 - 23.8"},
    {"F", 100, "18.5", "18.50", "0013", "20", "18.5 - 23.8"},
    {"F", 100, "19.89", "19.89", "0013", "20", "18.5 - 23.8"},
    {"F", 100, "19.9", "19.90", "0014", "20", "18.5 - 23.8"},
    {"F", 100, "20.1", "20.10", "0014", "20", "18.5 - 23.8"},
    {"F", 100, "20.11", "20.11", "0013", "20", "18.5 - 23.8"},
    {"F", 100, "23.79", "23.79", "0013", "20", "18.5 - 23.8"},
    {"F", 100, "23.8", "23.80", "0016", "20", "18.5 - 23.8"},
    {"F", 100, "27.49", "27.49", "0016", "20", "18.5 - 23.8"},
    {"F", 100, "27.5", "27.50", "0025", "20", "18.5 - 23.8"},
    {"F", 100, "39.99", "39.99", "0025", "20", "18.5 - 23.8"},
    {"F", 100, "40", "40.00", "0026", "20", "18.5 - 23.8"},
    // No finite index, ideal weight or range: "n.d.", and no class.
    {"M", 175, Enorme.c_str(), "n.d.", nullptr, "67.4", "61.2 - 76.5"},
    {"M", Infinito, "70", "0.00", "0011", "n.d.", "n.d."},
    // Not valid: nothing is set.
    {"", 175, "70", "", nullptr, "x", "x"},
    {"m", 175, "70", "", nullptr, "x", "x"},
    {"M", 175, "0", "", nullptr, "x", "x"},
    {"M", 175, "", "", nullptr, "x", "x"},
    {"F", 0, "60", "", nullptr, "x", "x"},
};

TEST_F(Condizione, IndiceMassaCorporea) {
    for (const CasoIMC& caso : CasiIMC) {
        SCOPED_TRACE(std::string(caso.sesso) + " " + std::to_string(caso.altezza) + " cm, " + caso.peso + " kg");
        std::string pesoIdeale = "x", classe = "x", range = "x";
        EXPECT_EQ(Modulo1::CalcolaIMC(caso.sesso, caso.altezza, caso.peso, pesoIdeale, classe, range), caso.indice);
        EXPECT_EQ(classe, caso.idClasse ? TestoLingua(caso.idClasse) : std::string("x"));
        EXPECT_EQ(pesoIdeale, caso.pesoIdeale);
        EXPECT_EQ(range, caso.range);
    }
}

TEST_F(Condizione, ClasseIMCInInglese) {
    modLanguageSupport::LinguaCorrente = "english";
    std::string pesoIdeale, classe, range;
    EXPECT_EQ(Modulo1::CalcolaIMC("M", 175, "67.5", pesoIdeale, classe, range), "22.04");
    const std::string ideale = TestoLingua("0014");
    EXPECT_EQ(classe, ideale);
    modLanguageSupport::LinguaCorrente = "italian";
    EXPECT_NE(ideale, TestoLingua("0014"));
}

}  // namespace
