// Where the files live (a portable copy, a read-only copy, an installed
// program) and one program at a time on one archive.
#include "AtletaCorrente.h"
#include "CartellaProva.h"
#include "CartelleProgramma.h"
#include "Controlli.h"
#include "IstanzaUnica.h"
#include "Percorso.h"
#include "SupportoArchivio.h"
#include "frmMain.h"
#include "mdi.h"
#include "modLanguageSupport.h"

#include <QtTest>

#ifdef _WIN32
#include <windows.h>

#include <aclapi.h>
#else
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <csignal>
#include <cstring>
#include <functional>
#include <future>
#include <memory>
#include <optional>

namespace fs = std::filesystem;

namespace {

QString Q(const fs::path& p) { return NomeDi(p); }

void Scrivi(const fs::path& file, const std::string& testo) {
    fs::create_directories(file.parent_path());
    prova::ScriviByte(file, testo);
}

#ifndef _WIN32
mode_t Permessi(const fs::path& p) {
    struct stat info {};
    ::stat(p.c_str(), &info);
    return info.st_mode & 07777;
}
#else
// Lets everyone write into the folder, as a careless share would.
bool ApriATutti(const fs::path& cartella) {
    PACL vecchia = nullptr, nuova = nullptr;
    PSECURITY_DESCRIPTOR descrittore = nullptr;
    if (::GetNamedSecurityInfoW(cartella.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &vecchia,
                                nullptr, &descrittore) != ERROR_SUCCESS)
        return false;
    EXPLICIT_ACCESS_W tutti{};
    tutti.grfAccessPermissions = FILE_GENERIC_READ | FILE_GENERIC_WRITE | FILE_ADD_FILE;
    tutti.grfAccessMode = GRANT_ACCESS;
    tutti.grfInheritance = NO_INHERITANCE;
    tutti.Trustee.TrusteeForm = TRUSTEE_IS_NAME;
    tutti.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
    wchar_t nome[] = L"EVERYONE";
    tutti.Trustee.ptstrName = nome;
    bool fatto = ::SetEntriesInAclW(1, &tutti, vecchia, &nuova) == ERROR_SUCCESS &&
                 ::SetNamedSecurityInfoW(const_cast<wchar_t*>(cartella.c_str()), SE_FILE_OBJECT,
                                         DACL_SECURITY_INFORMATION, nullptr, nullptr, nuova, nullptr) == ERROR_SUCCESS;
    if (nuova) ::LocalFree(nuova);
    ::LocalFree(descrittore);
    return fatto;
}
#endif

}  // namespace

class TestCartelle : public QObject {
    Q_OBJECT

    std::unique_ptr<CartellaProva> radice;
    fs::path programma, utente;

private slots:
    void init() {
        radice = std::make_unique<CartellaProva>(false);
        programma = radice->file("programma");
        utente = radice->file("casa/.local/share/tovarin");
        fs::create_directories(programma);
    }
    void cleanup() {
        modLanguageSupport::CartellaDati.clear();
        radice.reset();
    }

    // A copy that carries its language files and can write its folder keeps
    // everything there, and makes no user folder.
    void portatileScrivibileTieneTuttoConSe() {
        Scrivi(programma / "italian.lng", "[Strings]\n");
        const CartelleProgramma c = TrovaCartelle(Q(programma), Q(utente));
        QCOMPARE(c.applicazione, Q(programma));
        QCOMPARE(c.dati, Q(programma));
        QVERIFY(!fs::exists(utente));
        QCOMPARE(prova::Contenuto(programma), std::vector<std::string>{"italian.lng"});
    }

    // The same copy on a folder that cannot be written: the language files are
    // read where they are, the archive and the setting go to the user's folder,
    // made owner-only; the archive the folder holds is carried over once.
    void portatileDiSolaLetturaScriveNellaCartellaUtente() {
        Scrivi(programma / "italian.lng", "[Strings]\n");
        prova::CreaArchivio(programma / "tvp.dmg", {prova::RigaDi("Rossi")});
        prova::SolaLettura blocco(programma);
        if (!blocco.riuscito()) QSKIP("this file system cannot make a folder read-only");
        QVERIFY(!CartellaScrivibile(Q(programma)));

        const CartelleProgramma c = TrovaCartelle(Q(programma), Q(utente));
        QCOMPARE(c.applicazione, Q(programma));
        QCOMPARE(c.dati, Q(utente));
        QCOMPARE(Permessi(utente), mode_t(0700));
        QCOMPARE(prova::Sql(utente / "tvp.dmg", "quintobarle", "SELECT nome FROM atleta"),
                 std::vector<std::string>{"Rossi"});
        QCOMPARE(Permessi(utente / "tvp.dmg"), mode_t(0600));

        // The user's own archive is never replaced by the program folder's.
        fs::remove(utente / "tvp.dmg");
        prova::CreaArchivio(utente / "tvp.dmg", {prova::RigaDi("Verdi")});
        TrovaCartelle(Q(programma), Q(utente));
        QCOMPARE(prova::Sql(utente / "tvp.dmg", "quintobarle", "SELECT nome FROM atleta"),
                 std::vector<std::string>{"Verdi"});
    }

    // Installed: the program alone in bin, its files in share/tovarin. The user's
    // folder is used even when bin could be written (root).
    void installatoLeggeDaShareEScriveNellaCartellaUtente() {
#ifdef _WIN32
        // Installed on Windows: the program in its folder, its files in share\tovarin there.
        const fs::path bin = radice->file("Tovarin Project"), share = bin / "share" / "tovarin";
#else
        const fs::path bin = radice->file("usr/bin"), share = radice->file("usr/share/tovarin");
#endif
        Scrivi(share / "italian.lng", "[Strings]\n");
        fs::create_directories(bin);
        fs::create_directories(utente.parent_path());
        fs::create_directory(utente);
        fs::permissions(utente, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);

        const CartelleProgramma c = TrovaCartelle(Q(bin), Q(utente));
        QCOMPARE(c.applicazione, Q(share));
        QCOMPARE(c.dati, Q(utente));
#ifndef _WIN32
        QCOMPARE(Permessi(utente), mode_t(0750));  // a folder the user already has keeps its rights
        QVERIFY(fs::is_empty(bin));
#else
        QCOMPARE(prova::Contenuto(bin), std::vector<std::string>{"share"});
#endif
    }

    // The program started from a read-only folder: the setting is written into
    // the user's folder, the archive path points there, texts come from the
    // program's folder.
    void avvioDaUnaCartellaDiSolaLettura() {
        for (const char* nome : {"italian.lng", "english.lng"})
            fs::copy_file(fs::path(TOVARIN_ASSETS_DIR) / nome, programma / nome);
        prova::SolaLettura blocco(programma);
        if (!blocco.riuscito()) QSKIP("this file system cannot make a folder read-only");
        ImpostaCartelle(TrovaCartelle(Q(programma), Q(utente)));

        auto principale = std::make_unique<mdi>();
        principale->show();
        principale->MostraFiglio(new frmMain);
        QCOMPARE(PercorsoArchivio, Q(utente / "tvp.dmg"));
        QCOMPARE(prova::LeggiByte(utente / "LangSetting.ini"), std::string("[Language]\nCurrentLanguage=italian\n"));
        QCOMPARE(Controllo<QPushButton>(principale, "cmdAtleta")->text(), QStringLiteral("Atleta"));
        QVERIFY(!fs::exists(programma / "LangSetting.ini"));
    }

    // A second program on the same archive calls the first to the front and
    // does not become a program of its own; once the first has ended the next
    // start is a first again.
    void unSoloProgrammaPerArchivio() {
        fs::create_directories(utente);
        int chiamate = 0;
        {
            IstanzaUnica prima(Q(utente));
            QVERIFY(prima.Prima());
            prima.QuandoRichiesto([&] { ++chiamate; });

            IstanzaUnica seconda(Q(utente));
            QVERIFY(!seconda.Prima());
            auto risposta = std::async(std::launch::async, [&] { return seconda.ChiediPrimoPiano(5000); });
            QTRY_COMPARE(chiamate, 1);
            QVERIFY(risposta.get());

            // Another archive folder is another program.
            const fs::path altra = radice->file("altra");
            fs::create_directories(altra);
            QVERIFY(IstanzaUnica(Q(altra)).Prima());
        }
        QVERIFY(IstanzaUnica(Q(utente)).Prima());
    }

    // A lock left by a program that was killed does not keep the coach out.
    void unBloccoRimastoDaUnProgrammaFinitoNonConta() {
#ifdef _WIN32
        QSKIP("no fork() on Windows; there the system itself closes a killed program's lock file and mutex");
#else
        fs::create_directories(utente);
        const pid_t figlio = ::fork();
        if (figlio == 0) {
            IstanzaUnica programma(Q(utente));
            ::_exit(programma.Prima() ? 0 : 1);  // ends holding it, as a killed program
        }
        int stato = -1;
        ::waitpid(figlio, &stato, 0);
        QVERIFY(WIFEXITED(stato) && WEXITSTATUS(stato) == 0);
        QVERIFY(fs::exists(utente / "tvp.lock"));
        IstanzaUnica istanza(Q(utente));
        QVERIFY(istanza.Prima());
#endif
    }

    // The lock and the socket live in a folder only this user can enter: the
    // session's runtime folder when it is such, else one of the program's in
    // the temporary folder, closed to others; a name another user holds, or
    // a link, is not used.
    void laPresaInUnaCartellaDelSoloUtente() {
#ifdef _WIN32
        QSKIP("on Windows the lock and the pipe are named objects of the system, open to this user alone");
#else
        // The environment as it was, however the test ends.
        struct Ripristina {
            const char* nome;
            std::optional<QByteArray> valore;
            explicit Ripristina(const char* n) : nome(n) {
                if (qEnvironmentVariableIsSet(n)) valore = qgetenv(n);
            }
            ~Ripristina() { valore ? qputenv(nome, *valore) : qunsetenv(nome); }
        } runtime("XDG_RUNTIME_DIR"), temporanea("TMPDIR");
        const fs::path tmp = radice->file("tmp"), aperta = radice->file("aperta");
        fs::create_directories(tmp);
        fs::create_directories(aperta);
        fs::permissions(aperta, fs::perms::all);
        qputenv("TMPDIR", QFile::encodeName(Q(tmp)));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(Q(aperta)));  // open to all: not the user's own
        const fs::path nostra = tmp / ("tovarin-" + std::to_string(::geteuid()));
        QCOMPARE(CartellaDiQuestoUtente(), Q(nostra));
        QCOMPARE(Permessi(nostra), mode_t(0700));
        fs::permissions(nostra, fs::perms::all);
        QCOMPARE(CartellaDiQuestoUtente(), Q(nostra));  // the user's own, closed again
        QCOMPARE(Permessi(nostra), mode_t(0700));
        fs::remove(nostra);
        // A name that is not the user's own (a link, another user's folder)
        // is left alone: the user gets a folder of a fresh name, the same at
        // every start, where the second start finds the first.
        std::vector<std::function<void()> > altrui{[&] { fs::create_directory_symlink(aperta, nostra); }};
        if (::geteuid() == 0)
            altrui.push_back([&] {
                fs::create_directory(nostra);
                QCOMPARE(::chown(nostra.c_str(), 65534, 65534), 0);
            });
        for (const auto& prepara : altrui) {
            prepara();
            const QString fresca = CartellaDiQuestoUtente();
            QVERIFY(!fresca.isEmpty());
            QVERIFY(fresca != Q(nostra));
            QCOMPARE(fs::path(fresca.toStdString()).parent_path(), tmp);
            QVERIFY(!fs::is_symlink(fresca.toStdString()));
            QCOMPARE(Permessi(fresca.toStdString()), mode_t(0700));
            QCOMPARE(CartellaDiQuestoUtente(), fresca);
            fs::create_directories(utente);
            int chiamate = 0;
            {
                IstanzaUnica prima(Q(utente));
                QVERIFY(prima.Prima());
                QVERIFY(prima.Presa().startsWith(fresca + QLatin1Char('/')));
                prima.QuandoRichiesto([&] { ++chiamate; });
                IstanzaUnica seconda(Q(utente));
                QCOMPARE(seconda.stato(), IstanzaUnica::Stato::Seconda);
                auto risposta = std::async(std::launch::async, [&] { return seconda.ChiediPrimoPiano(5000); });
                QTRY_COMPARE(chiamate, 1);
                QVERIFY(risposta.get());
            }
            QVERIFY(fs::is_empty(aperta));
            fs::remove_all(fresca.toStdString());
            fs::remove(nostra);
        }
        fs::permissions(aperta, fs::perms::owner_all);
        QCOMPARE(CartellaDiQuestoUtente(), Q(aperta));
#endif
    }

    // Another user on the same computer: his program holding a shared
    // folder's archive is said to be his, and a socket he answers on is not
    // believed. (Needs root, to be another user.)
    void unAltroUtente() {
#ifdef _WIN32
        QSKIP("another user needs another Windows account");
#else
        if (::geteuid() != 0) QSKIP("another user needs root");
        const fs::path condivisa = radice->file("condivisa");
        fs::create_directories(condivisa);
        fs::permissions(radice->percorso(), fs::perms::all);
        fs::permissions(condivisa, fs::perms::all);
        const std::string presa = (condivisa / "altrui.sock").string();
        const QByteArray cartella = QFile::encodeName(Q(condivisa));
        int tubo[2];
        QCOMPARE(::pipe(tubo), 0);
        const pid_t altro = ::fork();
        if (altro == 0) {
            // The other user's program: it must never return into this test.
            try {
                if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
                IstanzaUnica suo(QFile::decodeName(cartella));  // takes the folder's lock
                const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
                sockaddr_un indirizzo{};
                indirizzo.sun_family = AF_UNIX;
                std::strncpy(indirizzo.sun_path, presa.c_str(), sizeof indirizzo.sun_path - 1);
                if (::bind(fd, reinterpret_cast<sockaddr*>(&indirizzo), sizeof indirizzo) != 0 || ::listen(fd, 4) != 0)
                    ::_exit(3);
                ::chmod(presa.c_str(), 0777);
                (void)!::write(tubo[1], "x", 1);
                for (;;) {  // answers anyone, as a program that means harm would
                    const int c = ::accept(fd, nullptr, nullptr);
                    char b[16];
                    (void)!::read(c, b, sizeof b);
                    (void)!::write(c, "ok\n", 3);
                    ::close(c);
                }
            } catch (...) {
            }
            ::_exit(4);
        }
        char pronto = 0;
        QCOMPARE(::read(tubo[0], &pronto, 1), ssize_t(1));
        IstanzaUnica mia(Q(condivisa));
        QCOMPARE(mia.stato(), IstanzaUnica::Stato::AltroUtente);
        QVERIFY(!IstanzaUnica::ChiediA(QString::fromStdString(presa), 1000));
        ::kill(altro, SIGKILL);
        ::waitpid(altro, nullptr, 0);
        QTRY_VERIFY(IstanzaUnica(Q(condivisa)).Prima());  // its program gone, its lock with it
#endif
    }

    // The user's data folder is refused, saying how to mend it, when another
    // user owns it or others can write into it, also behind a link.
    void unaCartellaDatiCheNonEDellUtente() {
#ifdef _WIN32
        fs::create_directories(utente);
        QCOMPARE(ProblemaCartellaDati(Q(utente)), QString());
        QCOMPARE(ProblemaCartellaDati(Q(radice->file("ancora-non-c-e"))), QString());
        QVERIFY(ApriATutti(utente));
        const QString detto = ProblemaCartellaDati(Q(utente));
        QVERIFY2(detto.contains(QDir::toNativeSeparators(Q(utente))) &&
                     detto.contains(QStringLiteral("altri utenti possono scriverci")) &&
                     detto.contains(QStringLiteral("scheda Sicurezza")),
                 qPrintable(detto));
        Scrivi(radice->file("un file"), "x");
        QVERIFY(ProblemaCartellaDati(Q(radice->file("un file"))).contains(QStringLiteral("non è una cartella")));
#else
        fs::create_directories(utente);
        fs::permissions(utente, fs::perms::owner_all);
        QCOMPARE(ProblemaCartellaDati(Q(utente)), QString());
        QCOMPARE(ProblemaCartellaDati(Q(radice->file("ancora-non-c-e"))), QString());
        fs::permissions(utente, fs::perms::all);
        QVERIFY(ProblemaCartellaDati(Q(utente)).contains(QStringLiteral("chmod go-w")));
        fs::remove(utente);
        const fs::path altrui = radice->file("altrui");
        fs::create_directories(altrui);
        fs::permissions(altrui, fs::perms::all);
        fs::create_directory_symlink(altrui, utente);
        const QString detto = ProblemaCartellaDati(Q(utente));
        QVERIFY2(detto.contains(Q(utente)) && detto.contains(QStringLiteral("altri utenti possono scriverci")),
                 qPrintable(detto));
        if (::geteuid() == 0) {
            fs::permissions(altrui, fs::perms::owner_all);
            QCOMPARE(::chown(altrui.c_str(), 65534, 65534), 0);
            QVERIFY(ProblemaCartellaDati(Q(utente)).contains(QStringLiteral("appartiene a un altro utente")));
        }
#endif
    }

    // Asked to stop by the system, the window closes as if the user closed it.
    void ilSegnaleDiFineChiudeLaFinestra() {
#ifdef _WIN32
        QSKIP("no signals on Windows: the end of the session comes from Windows itself");
#endif
        QWidget finestra;
        finestra.show();
        ChiudiSuRichiestaDelSistema(&finestra);
        std::raise(SIGTERM);
        QTRY_VERIFY(!finestra.isVisible());
    }
};

QTEST_MAIN(TestCartelle)
#include "test_cartelle.moc"
