// The settings and language files: reading by the profile rules up to 64000
// bytes and by the line scan above, writing one key atomically, and the
// message catalogue on top of them.
#include "CartellaProva.h"
#include "TestiRiserva.h"
#include "modLanguageSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace modLanguageSupport;
namespace fs = std::filesystem;

namespace {

// The text padded with a filler section at its end to exactly `lunghezza` bytes.
std::string LungoEsattamente(std::string testo, std::size_t lunghezza) {
    testo += "[Riempimento]\n";
    while (testo.size() + 81 <= lunghezza) testo += "x=" + std::string(78, '.') + "\n";
    testo.append(lunghezza - testo.size(), ';');
    return testo;
}

class FileIni : public ::testing::Test {
protected:
    CartellaProva cartella{false};
    fs::path Scrivi(const std::string& contenuto, const char* nome = "prova.lng") {
        cartella.scrivi(nome, contenuto);
        return cartella.file(nome);
    }
};

}  // namespace

TEST_F(FileIni, ProfileRules) {
    fs::path f = Scrivi(
        "\xEF\xBB\xBF[Altro]\n0027=\"wrong section\"\n"
        "[ strings ]\r\n"
        "  0027  =   \"Eliminare?\"  \r\n"
        "0027=\"second\"\n"
        "nude=  senza virgolette  \n"
        "single='apici'\n"
        "half=\"aperto\n"
        "vuota=\n"
        "accenti=\"Obesità, perché\"\n"
        "[Strings]\nlater=\"a second section of the same name is not read\"\n");
    // The file read once for many lookups (a window's translation) answers as
    // the reader of one key does.
    const FileIniLetto letto(f);
    auto Leggi = [&](std::string_view sezione, std::string_view chiave) {
        std::string valore = LeggiIni(f, sezione, chiave);
        EXPECT_EQ(letto.Leggi(sezione, chiave), valore) << sezione << " " << chiave;
        return valore;
    };
    EXPECT_EQ(Leggi("Strings", "0027"), "Eliminare?");
    EXPECT_EQ(Leggi("STRINGS", "0027"), "Eliminare?");
    EXPECT_EQ(Leggi("Strings", "NUDE"), "senza virgolette");
    EXPECT_EQ(Leggi("Strings", "single"), "apici");
    EXPECT_EQ(Leggi("Strings", "half"), "\"aperto");
    EXPECT_EQ(Leggi("Strings", "vuota"), "");
    EXPECT_EQ(Leggi("Strings", "accenti"), "Obesità, perché");
    EXPECT_EQ(Leggi("Strings", "missing"), "");
    EXPECT_EQ(Leggi("Nothing", "0027"), "");
    EXPECT_EQ(Leggi("Strings", "later"), "");
    EXPECT_EQ(Leggi("Altro", "0027"), "wrong section");
}

TEST_F(FileIni, MissingFileFails) {
    EXPECT_THROW(LeggiIni(cartella.file("absent.ini"), "Language", "CurrentLanguage"), ErroreIni);
    EXPECT_THROW(LeggiIni(cartella.percorso(), "Language", "CurrentLanguage"), ErroreIni);
}

TEST_F(FileIni, LongValuesAreCutAt511Characters) {
    fs::path f =
        Scrivi("[Strings]\n0027=\"" + std::string(600, 'a') + "\"\nlettere=\"" + std::string(600, 'a') + "\"\n");
    EXPECT_EQ(LeggiIni(f, "Strings", "0027"), std::string(511, 'a'));
    // A cut never splits a letter written in several bytes.
    std::string accenti;
    for (int i = 0; i < 600; ++i) accenti += "à";
    f = Scrivi("[Strings]\n0027=\"" + accenti + "\"\n");
    std::string letto = LeggiIni(f, "Strings", "0027");
    EXPECT_EQ(letto.size(), 511u * 2);
}

TEST_F(FileIni, SizeSwitchBetween64000And64001Bytes) {
    const std::string conVirgolette = "[Strings]\n0027=\"Eliminare?\"\n";
    const std::string senza = "[Strings]\n0027=Eliminare?\n";

    fs::path f = Scrivi(LungoEsattamente(conVirgolette, 64000));
    ASSERT_EQ(fs::file_size(f), 64000u);
    EXPECT_EQ(LeggiIni(f, "Strings", "0027"), "Eliminare?");
    f = Scrivi(LungoEsattamente(conVirgolette, 64001));
    ASSERT_EQ(fs::file_size(f), 64001u);
    EXPECT_EQ(LeggiIni(f, "Strings", "0027"), "Eliminare?");

    f = Scrivi(LungoEsattamente(senza, 64000));
    EXPECT_EQ(LeggiIni(f, "Strings", "0027"), "Eliminare?");
    f = Scrivi(LungoEsattamente(senza, 64001));
    EXPECT_EQ(LeggiIni(f, "Strings", "0027"), "liminare");
}

TEST_F(FileIni, LineScanIgnoresSectionsAndCase) {
    fs::path f =
        Scrivi(LungoEsattamente("[frmAtleti]\n0027x\"window\"\n[Strings]\n0027=\"message\"\nAbc=\"upper\"\n"
                                "short=x\nnoval\n",
                                70000));
    EXPECT_EQ(LeggiIni(f, "Strings", "0027"), "window");  // the first line starting with the key
    EXPECT_EQ(LeggiIni(f, "Whatever", "Abc"), "upper");
    EXPECT_EQ(LeggiIni(f, "Strings", "abc"), "");  // case-sensitive
    EXPECT_EQ(LeggiIni(f, "Strings", "absent"), "");
    EXPECT_THROW(LeggiIni(f, "Strings", "short"), ErroreIni);  // "x" is too short to hold a value
    EXPECT_THROW(LeggiIni(f, "Strings", "noval"), ErroreIni);
}

TEST_F(FileIni, HostileFilesDoNotBreakTheReader) {
    const char nul[] = "[Strings]\n0027=\"b\0c\"\n";
    fs::path f = Scrivi(std::string(nul, sizeof nul - 1));
    EXPECT_EQ(LeggiIni(f, "Strings", "0027"), std::string("b\0c", 3));
    // A 1 MB line makes a large file: the line scan returns it whole.
    f = Scrivi("[Strings]\n0027=\"" + std::string(1 << 20, 'z') + "\"\n");
    EXPECT_EQ(LeggiIni(f, "Strings", "0027").size(), std::size_t{1} << 20);
    f = Scrivi("[Strings]\n\xff\xfe=\"\x80\x80\"\n0027=\"\xc3\"\n");
    EXPECT_EQ(LeggiIni(f, "Strings", "0027"), "\xc3");
    f = Scrivi(std::string(1 << 20, '['));
    EXPECT_EQ(LeggiIni(f, "Strings", "0027"), "");
}

TEST_F(FileIni, WritingKeepsTheRestOfTheFile) {
    const std::string prima =
        "; settings\r\n[Altro]\r\nx=1\r\n\r\n[language]\r\nCurrentLanguage=italian\r\ny=2\r\n[Fine]\r\nz=3\r\n";
    fs::path f = Scrivi(prima, "LangSetting.ini");
    ASSERT_TRUE(ScriviIni(f, "Language", "CurrentLanguage", "english"));
    EXPECT_EQ(cartella.leggi("LangSetting.ini"),
              "; settings\r\n[Altro]\r\nx=1\r\n\r\n[language]\r\nCurrentLanguage=english\r\ny=2\r\n[Fine]\r\nz=3\r\n");
    EXPECT_EQ(LeggiIni(f, "Language", "CurrentLanguage"), "english");

    // A new key goes at the end of its section, a new section at the end of the file.
    ASSERT_TRUE(ScriviIni(f, "Altro", "nuova", "v"));
    ASSERT_TRUE(ScriviIni(f, "Nuova", "k", "w"));
    EXPECT_EQ(cartella.leggi("LangSetting.ini"),
              "; settings\r\n[Altro]\r\nx=1\r\nnuova=v\r\n\r\n[language]\r\nCurrentLanguage=english\r\ny=2\r\n"
              "[Fine]\r\nz=3\r\n[Nuova]\r\nk=w\r\n");
}

// A last line without its line end gets one before anything is added after
// it: a new key in the last section, or a new section.
TEST_F(FileIni, WritingAfterALastLineWithoutItsEnd) {
    struct Caso {
        const char *prima, *sezione, *dopo;
    } casi[] = {
        {"[Language]\r\nx=1", "Language", "[Language]\r\nx=1\r\nCurrentLanguage=english\r\n"},
        {"[Altro]\nx=1", "Language", "[Altro]\nx=1\n[Language]\nCurrentLanguage=english\n"},
        {"[Language]", "Language", "[Language]\nCurrentLanguage=english\n"},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.prima);
        fs::path f = Scrivi(c.prima, "LangSetting.ini");
        ASSERT_TRUE(ScriviIni(f, c.sezione, "CurrentLanguage", "english"));
        EXPECT_EQ(cartella.leggi("LangSetting.ini"), c.dopo);
        EXPECT_EQ(LeggiIni(f, c.sezione, "CurrentLanguage"), "english");
    }
}

TEST_F(FileIni, WritingCreatesTheFile) {
    fs::path f = cartella.file("LangSetting.ini");
    ASSERT_TRUE(ScriviIni(f, "Language", "CurrentLanguage", "italian"));
    EXPECT_EQ(cartella.leggi("LangSetting.ini"), "[Language]\nCurrentLanguage=italian\n");
}

TEST_F(FileIni, FailedWriteChangesNothingAndLeavesNoTemporaryFile) {
#ifdef _WIN32
    const bool fermaChiScrive = false;  // a folder's read-only mark stops no one on Windows
#else
    const bool fermaChiScrive = ::geteuid() != 0;
#endif
    if (!fermaChiScrive) {
        // root writes into read-only folders: use a path whose folder is missing instead.
        EXPECT_FALSE(ScriviIni(cartella.file("absent/LangSetting.ini"), "Language", "CurrentLanguage", "english"));
        GTEST_SKIP() << "read-only folders do not stop root, nor anyone on Windows";
    }
    fs::path f = Scrivi("[Language]\nCurrentLanguage=italian\n", "LangSetting.ini");
    fs::permissions(cartella.percorso(), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(ScriviIni(f, "Language", "CurrentLanguage", "english"));
    fs::permissions(cartella.percorso(), fs::perms::owner_all);
    EXPECT_EQ(cartella.leggi("LangSetting.ini"), "[Language]\nCurrentLanguage=italian\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(cartella.percorso()), fs::directory_iterator()), 1);
}

// ---- The message catalogue -------------------------------------------------

class Catalogo : public ::testing::Test {
protected:
    CartellaProva cartella;
};

TEST_F(Catalogo, LanguageComesFromTheSettingsFileWhenUnknown) {
    cartella.scrivi("LangSetting.ini", "[Language]\nCurrentLanguage=english\n");
    EXPECT_EQ(TestoLingua("0005"), "light");
    EXPECT_EQ(LinguaCorrente, "english");
    LinguaCorrente = "italian";
    EXPECT_EQ(TestoLingua("0005"), "leggera");
}

TEST_F(Catalogo, NoSettingsFileLooksForDotLng) {
    EXPECT_EQ(TestoLingua("0027"), "Eliminare dall'archivio l'atleta visualizzato?");  // the program's own
    EXPECT_EQ(LinguaCorrente, "");
    cartella.scrivi(".lng", "[Strings]\n0027=\"from .lng\"\n");
    EXPECT_EQ(TestoLingua("0027"), "from .lng");
}

TEST_F(Catalogo, LanguageNameIsUsedAsWritten) {
    cartella.scrivi("LangSetting.ini", "[Language]\nCurrentLanguage=English\n");
    cartella.scrivi("English.lng", "[Strings]\n0005=\"capital\"\n");
    EXPECT_EQ(TestoLingua("0005"), "capital");
    EXPECT_EQ(LinguaCorrente, "English");
}

TEST_F(Catalogo, LanguageNamesThatLeaveTheFolderNameNoFile) {
    fs::create_directory(cartella.file("sub"));
    cartella.scrivi("sub/italian.lng", "[Strings]\n0027=\"outside\"\n");
    cartella.scrivi("evil.lng", "[Strings]\n0027=\"outside\"\n");
    for (const char* nome : {"sub/italian", "../evil", "..", "sub\\italian", "/etc/passwd"}) {
        LinguaCorrente = nome;
        EXPECT_EQ(TestoLingua("0027"), "Eliminare dall'archivio l'atleta visualizzato?") << nome;
        EXPECT_FALSE(FileLingua()) << nome;
    }
}

TEST_F(Catalogo, FolderEndingInASeparatorIsNotDoubled) {
    LinguaCorrente = "italian";
    CartellaApplicazione = "/";
    EXPECT_EQ(FileLingua()->string(), "/italian.lng");
    CartellaApplicazione = cartella.percorso().string() + "/";
    EXPECT_EQ(FileLingua()->string(), cartella.percorso().string() + "/italian.lng");
    EXPECT_EQ(TestoLingua("0006"), "moderata");
}

// A text the language file lacks, or holds cut short, is the program's own,
// in the same language (Italian for one it does not ship); only an
// identifier it does not know is empty.
TEST_F(Catalogo, MissingPiecesGiveTheProgramsOwnTexts) {
    LinguaCorrente = "klingon";
    EXPECT_EQ(TestoLingua("0027"), "Eliminare dall'archivio l'atleta visualizzato?");
    cartella.scrivi("english.lng", "[Strings]\n0005=\"light\"\n0006=\"mode");  // cut at 30 bytes
    LinguaCorrente = "english";
    EXPECT_EQ(TestoLingua("0005"), "light");
    EXPECT_EQ(TestoLingua("0006"), "moderate");
    EXPECT_EQ(TestoLingua("0027"), "Delete the athlete shown from the archive?");
    EXPECT_EQ(TestoLingua("9999"), "");
    EXPECT_EQ(TestoLingua(""), "");
}

// What the start says: the settings naming a language the program does not
// have, a language file missing, or how many texts one lacks.
TEST_F(Catalogo, LaPartenzaDiceCosaNonVaNellaLingua) {
    LinguaCorrente = "italian";
    EXPECT_FALSE(ControllaLingua());
    const std::string intero = cartella.leggi("italian.lng");
    cartella.scrivi("italian.lng", intero.substr(0, 3000));
    auto problema = ControllaLingua();
    ASSERT_TRUE(problema);
    EXPECT_EQ(problema->tipo, ProblemaLingua::Tipo::TestiMancanti);
    EXPECT_EQ(problema->file, cartella.file("italian.lng"));
    EXPECT_GT(problema->mancanti, 200u);
    fs::remove(cartella.file("italian.lng"));
    problema = ControllaLingua();
    ASSERT_TRUE(problema);
    EXPECT_EQ(problema->tipo, ProblemaLingua::Tipo::FileIllegibile);
    LinguaCorrente = "klingon";
    problema = ControllaLingua();
    ASSERT_TRUE(problema);
    EXPECT_EQ(problema->tipo, ProblemaLingua::Tipo::LinguaSconosciuta);
    EXPECT_EQ(problema->file, FileImpostazioni());
}

TEST_F(Catalogo, ShippedFilesHoldEveryMessage) {
    const char* ids[] = {"0001", "0002", "0003", "0004", "0005", "0006", "0007", "0011", "0012",
                         "0013", "0014", "0016", "0025", "0026", "0027", "0043", "0044"};
    for (const char* lingua : {"italian", "english"}) {
        LinguaCorrente = lingua;
        for (const char* id : ids) EXPECT_FALSE(TestoLingua(id).empty()) << lingua << " " << id;
        // Read by the profile rules, the same as by the line scan.
        EXPECT_LE(fs::file_size(*FileLingua()), LimiteLetturaIni) << lingua;
    }
    LinguaCorrente = "italian";
    EXPECT_EQ(TestoLingua("0005") + TestoLingua("0006") + TestoLingua("0007"), "leggeramoderataintensa");
    EXPECT_EQ(TestoLingua("0025"), "Obesità media");
    LinguaCorrente = "english";
    EXPECT_EQ(TestoLingua("0005") + TestoLingua("0006") + TestoLingua("0007"), "lightmoderatestrong");
}
