// The number rules: what is a number, how it is read, rounded and written,
// also under a locale that writes decimals with a comma.
#include "Modulo1.h"
#include "ZoneTest.h"

#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

using namespace Modulo1;

TEST(TestoNumerico, AcceptsNumbersBeingTyped) {
    for (const char* t :
         {"7", "72", "72,", "72.", "72,5", "72.5", ",5", ".5", "-5", "+5", "-.5", " 72 ", "\t5", "0", "007"})
        EXPECT_TRUE(TestoNumerico(t)) << '"' << t << '"';
}

TEST(TestoNumerico, RejectsEverythingElse) {
    for (const char* t : {"", " ", "-", "+", ",", ".", "a", "72a", "7 2", "72,5,", "72.5.", "5..5", "1,2.3", "--5",
                          "5-", "1e5", "1 000", "€5", "0x10"})
        EXPECT_FALSE(TestoNumerico(t)) << '"' << t << '"';
    EXPECT_FALSE(TestoNumerico(std::string("72\0", 3)));
}

TEST(NormalizzaDecimali, ReplacesEveryCommaAndNothingElse) {
    EXPECT_EQ(NormalizzaDecimali("72,5"), "72.5");
    EXPECT_EQ(NormalizzaDecimali(" ,a,"), " .a.");
    EXPECT_EQ(NormalizzaDecimali(""), "");
    std::string lungo(300, ',');
    EXPECT_EQ(NormalizzaDecimali(lungo), std::string(300, '.'));
}

TEST(ValoreTesto, ReadsTheNumberAtTheStart) {
    struct Caso {
        const char* testo;
        double valore;
    } casi[] = {{"", 0},       {"72.5", 72.5}, {"72,5", 72},      {" 72.5", 72.5}, {"-3", -3}, {"+4.25", 4.25},
                {".5", 0.5},   {"-.5", -0.5},  {"72.", 72},       {"abc", 0},      {"-", 0},   {".", 0},
                {"12abc", 12}, {"1.2.3", 1.2}, {"27.5 cm", 27.5}, {"0.0", 0},      {"1e5", 1}};
    for (const auto& c : casi) EXPECT_DOUBLE_EQ(ValoreTesto(c.testo), c.valore) << '"' << c.testo << '"';
}

TEST(ValoreTesto, HugeAndTinyTextsDoNotBreak) {
    EXPECT_TRUE(std::isinf(ValoreTesto(std::string(10000, '9'))));
    EXPECT_LT(ValoreTesto("-" + std::string(400, '9')), 0);
    EXPECT_EQ(ValoreTesto("0." + std::string(10000, '0') + "1"), 0.0);
    EXPECT_DOUBLE_EQ(ValoreTesto(std::string(300, '0') + "42"), 42.0);
}

TEST(Arrotonda, HalvesGoToTheEvenNeighbour) {
    struct Caso {
        double x;
        int n;
        double atteso;
    } casi[] = {{55.25, 1, 55.2},  {55.45, 1, 55.4},       {2.5, 0, 2},      {3.5, 0, 4},    {0.125, 2, 0.12},
                {-2.5, 0, -2},     {-3.5, 0, -4},          {-1.25, 1, -1.2}, {92.5, 0, 92},  {129.5, 0, 130},
                {1.371, 3, 1.371}, {172.105263, 1, 172.1}, {0, 1, 0},        {7.849, 1, 7.8}};
    for (const auto& c : casi) EXPECT_DOUBLE_EQ(Arrotonda(c.x, c.n), c.atteso) << c.x << " to " << c.n;
}

TEST(TestoNumero, WritesSignCharacterAndPlainMagnitude) {
    struct Caso {
        double x;
        const char* testo;
        // clang-format off
    } casi[] = {{53, " 53"},      {55.2, " 55.2"},   {0.9, " .9"},       {-1.7, "-1.7"},  {-0.5, "-.5"},
                {0, " 0"},        {-0.0, " 0"},      {100, " 100"},      {0.05, " .05"},  {0.1 + 0.2, " .3"},
                {1234.5, " 1234.5"}, {1e14, " 100000000000000"}, {123456789.123456789, " 123456789.123457"},
                {1e-5, " .00001"}};
    // clang-format on
    for (const auto& c : casi) EXPECT_EQ(TestoNumero(c.x), c.testo) << c.x;
}

TEST(TestoNumero, ExtremesDoNotBreak) {
    EXPECT_EQ(TestoNumero(1.5e15), " 1.5E+15");
    EXPECT_EQ(TestoNumero(-2e-20), "-2E-20");
    EXPECT_EQ(TestoNumero(std::numeric_limits<double>::infinity()), " inf");
    EXPECT_FALSE(TestoNumero(std::nan("")).empty());
}

// Qt sets the C locale from the environment; an Italian one writes and reads
// decimals with a comma. The number rules must not notice.
class LocaleConVirgola : public ::testing::Test {
protected:
    void SetUp() override {
        precedente_ = std::setlocale(LC_ALL, nullptr);
        if (!std::setlocale(LC_ALL, "it_IT.UTF-8")) {
            // Under ctest the locale is generated into the build tree (LOCPATH).
            if (std::getenv("LOCPATH")) FAIL() << "it_IT.UTF-8 was not generated in " << std::getenv("LOCPATH");
            GTEST_SKIP() << "it_IT.UTF-8 is not installed";
        }
        ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    }
    void TearDown() override { std::setlocale(LC_ALL, precedente_.c_str()); }
    std::string precedente_;
};

TEST_F(LocaleConVirgola, NumbersAreWrittenAndReadWithAFullStop) {
    EXPECT_EQ(TestoNumero(55.2), " 55.2");
    EXPECT_EQ(TestoNumero(-0.5), "-.5");
    EXPECT_DOUBLE_EQ(ValoreTesto("72.5"), 72.5);
    EXPECT_DOUBLE_EQ(ValoreTesto("72,5"), 72);
    bool predefinita = false;
    auto m = LeggiMisure("85", "62", "55", "50", "60", "42", "", predefinita);
    EXPECT_EQ(CalcolaTP(m), " 55.2");
    EXPECT_EQ(CalcolaR(m), " 7.3 - 7.8");
    EXPECT_EQ(CalcolaPE(m), "175");
}

TEST_F(LocaleConVirgola, WattPerKgWithAFullStop) { EXPECT_EQ(TestoWattPerKg(3.575), "3.58"); }

// Every written number reads back as the value rounded to 15 significant
// digits, in plain form without trailing zeros, whatever path wrote it.
TEST(TestoNumero, ReadsBackAsFifteenSignificantDigits) {
    std::mt19937_64 caso(1990);
    for (int i = 0; i < 20000; ++i) {
        double x;
        switch (i % 4) {
        case 0: x = static_cast<double>(static_cast<long long>(caso() % 2000000) - 1000000) / 10.0; break;
        case 1: x = static_cast<double>(caso() % 100000) / 1000.0; break;
        case 2: x = std::ldexp(static_cast<double>(caso() % (1ull << 52)), -static_cast<int>(caso() % 60)); break;
        default: x = (static_cast<double>(caso() % 1000) + 0.5) * 0.1; break;
        }
        std::string t = TestoNumero(x);
        ASSERT_TRUE(t[0] == ' ' || t[0] == '-') << t;
        if (t.find('E') != std::string::npos) continue;
        char rif[64];
        auto fine = std::to_chars(rif, rif + sizeof rif, x, std::chars_format::scientific, 14).ptr;
        double atteso = 0;
        std::from_chars(rif, fine, atteso);
        ASSERT_EQ(ValoreTesto(t), atteso) << x << " written " << t;
        if (t.find('.') != std::string::npos) {
            ASSERT_NE(t.back(), '0') << t;
        }
        ASSERT_EQ(t.find(' ', 1), std::string::npos) << t;
    }
}
