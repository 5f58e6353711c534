// The coach's passphrase in the windows: its strength as it is typed, Caps
// Lock said, the passphrase asked (a wrong one said and asked again, Cancel
// opening nothing), set, changed and removed through its dialog driven by the
// keys, and the idle lock with an edit pending.
#include "AtletaCorrente.h"
#include "Avvio.h"
#include "BloccoInattivita.h"
#include "CartellaProva.h"
#include "ChiavePersonale.h"
#include "Controlli.h"
#include "DatiArchivio.h"
#include "FinestraAtleta.h"
#include "Globali.h"
#include "Messaggi.h"
#include "Messaggio.h"
#include "Passphrase.h"
#include "SupportoArchivio.h"
#include "frmChiave.h"
#include "frmProteggi.h"
#include "mdi.h"
#include "modLanguageSupport.h"

#include <QtTest>

#include <functional>
#include <memory>

namespace {

void Premi(Qt::Key tasto, Qt::KeyboardModifiers modificatori = Qt::NoModifier) {
    QWidget* dove = QApplication::focusWidget();
    QVERIFY(dove);
    QTest::keyClick(dove, tasto, modificatori);
}

void Scrivi(const QString& testo) {
    QWidget* dove = QApplication::focusWidget();
    QVERIFY(dove);
    QTest::keyClicks(dove, testo);
}

QString Testo(const PassphraseDigitata& p) {
    const std::string_view t = p.Segreto().Testo();
    return QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
}

}  // namespace

class TestPassphrase : public QObject {
    Q_OBJECT

    std::unique_ptr<CartellaProva> cartella;
    std::unique_ptr<mdi> principale;
    QStringList messaggi;
    QMessageBox::StandardButton risposta = QMessageBox::Yes;

    static inline const QString Frase = QStringLiteral("la bici rossa di Marco");

    std::filesystem::path File() const { return cartella->file("tvp.dmg"); }

    // The archive with Rossi, locked by Frase; no key held.
    void ArchivioProtetto() {
        prova::CreaArchivio(File(), {prova::RigaDi("Rossi", {{"note", "prima"}})});
        const PassphraseDigitata frase(Frase);
        const archivio::Esito e = archivio::CambiaPassphrase(File(), archivio::Chiave(), &frase.Segreto());
        QVERIFY2(e, e ? "" : e.errore().dettaglio.c_str());
        archivio::DimenticaChiavi();
        QVERIFY(archivio::HaPassphrase(File()));
    }

    // The rows of the locked archive, read under Frase's key.
    std::vector<archivio::Riga> RigheProtette() {
        archivio::Errore errore;
        const auto sale = archivio::SaleDelFile(File(), errore);
        if (!sale) qFatal("no salt");
        const PassphraseDigitata frase(Frase);
        archivio::Archivio a;
        if (!a.ApriInLettura(File(), archivio::Chiave::Deriva(frase.Segreto(), *sale))) qFatal("not opened");
        std::vector<archivio::Riga> righe;
        if (!a.LeggiTutte(righe)) qFatal("not read");
        return righe;
    }

    bool ChiaveTenuta() const {
        const auto c = archivio::ChiaveRicordata(File());
        return c && c->personale();
    }

    // Runs `passi` on the modal dialog `apri` opens, as the coach would,
    // once it is there; a step that fails closes the dialog rather than leave
    // it waiting, and a dialog that never came fails the test.
    template <class F>
    void NelDialogo(const std::function<void()>& apri, F passi) {
        bool visto = false;
        QTimer attesa;
        attesa.setSingleShot(true);
        connect(&attesa, &QTimer::timeout, this, [&] {
            auto* dialogo = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialogo) {
                attesa.start(0);  // not open yet: the next round of events
                return;
            }
            visto = true;
            [&] {
                QVERIFY(QTest::qWaitForWindowActive(dialogo));
                // The caret in the dialog (from a menu, it arrives after the window).
                QTRY_VERIFY(dialogo->isAncestorOf(QApplication::focusWidget()));
                passi(dialogo);
            }();
            if (dialogo->isVisible()) dialogo->reject();
        });
        attesa.start(0);
        apri();
        attesa.stop();
        QVERIFY2(visto, "no dialog opened");
    }

    // The same for several dialogs that open one after the other, each
    // handled by its own steps.
    void NeiDialoghi(const std::function<void()>& apri, std::vector<std::function<void(QDialog*)>> passi) {
        std::size_t fatti = 0, inattesi = 0;
        QPointer<QDialog> ultimo;
        QTimer attesa;
        attesa.setSingleShot(true);
        connect(&attesa, &QTimer::timeout, this, [&] {
            auto* dialogo = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (dialogo && dialogo != ultimo) {
                ultimo = dialogo;
                if (fatti < passi.size()) {
                    [&] {
                        QVERIFY(QTest::qWaitForWindowActive(dialogo));
                        QTRY_VERIFY(dialogo->isAncestorOf(QApplication::focusWidget()));
                        passi[fatti](dialogo);
                    }();
                    ++fatti;
                } else {
                    ++inattesi;  // one more than the coach should see
                    dialogo->reject();
                }
            }
            attesa.start(0);
        });
        attesa.start(0);
        apri();
        attesa.stop();
        QCOMPARE(fatti, passi.size());
        QCOMPARE(inattesi, std::size_t(0));
    }

private slots:
    void init() {
        cartella = std::make_unique<CartellaProva>();
        cartella->scrivi("LangSetting.ini", "[Language]\nCurrentLanguage=english\n");
        modLanguageSupport::CartellaDati.clear();
        modLanguageSupport::LinguaCorrente = "english";
        messaggi.clear();
        risposta = QMessageBox::Yes;
        ImpostaGestoreMessaggi([this](QWidget*, const QString&, const QString& testo, QMessageBox::StandardButtons) {
            messaggi << testo;
            return risposta;
        });
    }
    void cleanup() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != principale.get() && w->isVisible()) w->close();
        principale.reset();
        archivio::DimenticaChiavi();
        ImpostaGestoreMessaggi({});
        PercorsoArchivio.clear();
        NomeAtletaCorrente.clear();
        RigaAtletaCorrente.reset();
        cartella.reset();
    }

    // Length and kinds of character, a character coming back adding little;
    // the steps at 50 and 75 bits.
    void laRobustezzaSiStimaDaLunghezzaETipi_data() {
        QTest::addColumn<QString>("passphrase");
        QTest::addColumn<int>("forza");
        QTest::addColumn<int>("bit");
        const int debole = int(Forza::Debole), discreta = int(Forza::Discreta), forte = int(Forza::Forte);
        QTest::newRow("empty") << "" << debole << 0;
        QTest::newRow("one word") << "ciclismo" << debole << 37;
        QTest::newRow("ten letters") << "abcdefghij" << debole << 47;
        QTest::newRow("eleven letters") << "abcdefghijk" << discreta << 51;
        QTest::newRow("fifteen letters") << "abcdefghijklmno" << discreta << 70;
        QTest::newRow("sixteen letters") << "abcdefghijklmnop" << forte << 75;
        QTest::newRow("one letter again") << "aaaaaaaaaaaaaaaaaaaaaaaa" << debole << 9;
        QTest::newRow("two letters again") << "abababababababababababab" << debole << 18;
        QTest::newRow("word and year") << "Ciclismo2024" << discreta << 71;
        QTest::newRow("seven of all kinds") << "aB3$xY7" << debole << 45;
        QTest::newRow("eight of all kinds") << "aB3$xY7!" << discreta << 52;
        QTest::newRow("twelve of all kinds") << "aB3$xY7!kQ9-" << forte << 78;
        QTest::newRow("a sentence") << "la bici rossa di Marco" << forte << 141;
        QTest::newRow("accents count as letters") << "perché più là" << forte << 76;
        QTest::newRow("digits only") << "4718205936" << debole << 33;
    }
    void laRobustezzaSiStimaDaLunghezzaETipi() {
        QFETCH(QString, passphrase);
        QFETCH(int, forza);
        QFETCH(int, bit);
        const StimaForza stima = StimaPassphrase(passphrase);
        QCOMPARE(stima.bit, bit);
        QCOMPARE(int(stima.forza), forza);
    }

    // A letter's case against Shift tells Caps Lock; anything else nothing.
    void ilBloccoMaiuscoleSiCapisceDaiTasti_data() {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<bool>("maiuscolo");
        QTest::addColumn<int>("atteso");  // -1 nothing, 0 off, 1 on
        QTest::newRow("A") << "A" << false << 1;
        QTest::newRow("Shift+a") << "a" << true << 1;
        QTest::newRow("a") << "a" << false << 0;
        QTest::newRow("Shift+A") << "A" << true << 0;
        QTest::newRow("È") << "È" << false << 1;
        QTest::newRow("digit") << "1" << false << -1;
        QTest::newRow("nothing") << "" << false << -1;
        QTest::newRow("two") << "ab" << false << -1;
    }
    void ilBloccoMaiuscoleSiCapisceDaiTasti() {
        QFETCH(QString, testo);
        QFETCH(bool, maiuscolo);
        QFETCH(int, atteso);
        const auto caps = CapsLockDaiTasti(testo, maiuscolo);
        QCOMPARE(caps.has_value() ? int(*caps) : -1, atteso);
    }

    // Upper case without Shift shows the line; a lower-case letter hides it.
    void ilDialogoDiceIlBloccoMaiuscole() {
        if (CapsLockDelSistema()) QSKIP("the system tells Caps Lock itself");
        frmChiave dialogo(QStringLiteral("?"), {});
        dialogo.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialogo));
        auto* avviso = Controllo<QLabel>(&dialogo, "lblMaiuscole");
        QVERIFY(!avviso->isVisible());
        QTest::keyClick(QApplication::focusWidget(), 'A');
        QVERIFY(avviso->isVisible());
        QCOMPARE(avviso->text(), QStringLiteral("Caution: Caps Lock is on."));
        QCOMPARE(Controllo<QLineEdit>(&dialogo, "txtPassphrase")->accessibleDescription(), avviso->text());
        QTest::keyClick(QApplication::focusWidget(), 'b');
        QVERIFY(!avviso->isVisible());
    }

    // A wrong passphrase is said in the dialog, the box emptied for another
    // try; the right one closes it; the box never shows what is typed.
    void sbagliataPoiGiusta() {
        QStringList provate;
        frmChiave::ProvaFn prova = [&](const PassphraseDigitata& p) {
            provate << Testo(p);
            return Testo(p) == QStringLiteral("la bici rossa")
                       ? frmChiave::Prova{frmChiave::Prova::Esito::Giusta, {}}
                       : frmChiave::Prova{frmChiave::Prova::Esito::Errata, Messaggio("0691")};
        };
        bool aperto = false;
        NelDialogo([&] { aperto = ChiediPassphrase(nullptr, QStringLiteral("The archive has one"), prova); },
                   [&](QDialog* d) {
                       auto* box = Controllo<QLineEdit>(d, "txtPassphrase");
                       QCOMPARE(box->echoMode(), QLineEdit::Password);
                       QCOMPARE(QApplication::focusWidget(), box);
                       Premi(Qt::Key_Return);  // nothing typed: asked for, nothing tried
                       QVERIFY(provate.isEmpty());
                       QCOMPARE(Controllo<QLabel>(d, "lblErrore")->text(), QStringLiteral("Type the passphrase."));
                       Scrivi(QStringLiteral("la bici blu"));
                       Premi(Qt::Key_Return);
                       QVERIFY(d->isVisible());
                       QVERIFY(Controllo<QLabel>(d, "lblErrore")->isVisible());
                       QCOMPARE(Controllo<QLabel>(d, "lblErrore")->text(), Messaggio("0691"));
                       QVERIFY(box->text().isEmpty());
                       QCOMPARE(QApplication::focusWidget(), box);
                       Scrivi(QStringLiteral("la bici rossa"));
                       Premi(Qt::Key_Return);
                   });
        QVERIFY(aperto);
        QCOMPARE(provate, (QStringList{"la bici blu", "la bici rossa"}));
        QVERIFY(messaggi.isEmpty());
    }

    // Esc cancels: nothing is tried.
    void escAnnulla() {
        int provate = 0;
        bool aperto = true;
        NelDialogo(
            [&] {
                aperto = ChiediPassphrase(nullptr, QStringLiteral("?"), [&](const PassphraseDigitata&) {
                    ++provate;
                    return frmChiave::Prova{frmChiave::Prova::Esito::Giusta, {}};
                });
            },
            [&](QDialog*) {
                Scrivi(QStringLiteral("qualcosa"));
                Premi(Qt::Key_Escape);
            });
        QVERIFY(!aperto);
        QCOMPARE(provate, 0);
    }

    // Set through the dialog from the keys: typed twice, the strength shown
    // as it is typed, the idle lock's time chosen and kept in the settings.
    void siImpostaDaiTasti() {
        std::vector<std::pair<QString, QString>> chiamate;
        auto cambia = [&](const PassphraseDigitata* attuale, const PassphraseDigitata* nuova) {
            chiamate.emplace_back(attuale ? Testo(*attuale) : QStringLiteral("-"),
                                  nuova ? Testo(*nuova) : QStringLiteral("-"));
            return frmChiave::Prova{frmChiave::Prova::Esito::Giusta, {}};
        };
        frmProteggi::Fatto fatto = frmProteggi::Fatto::Nulla;
        NelDialogo(
            [&] {
                frmProteggi dialogo(false, cambia);
                dialogo.exec();
                fatto = dialogo.Risultato();
            },
            [&](QDialog* d) {
                QVERIFY(!Controllo<QLineEdit>(d, "txtAttuale")->isVisible());
                QCOMPARE(QApplication::focusWidget(), Controllo<QLineEdit>(d, "txtNuova"));
                Scrivi(QStringLiteral("ciclismo"));
                QCOMPARE(Controllo<QLabel>(d, "lblGiudizio")->text(), QStringLiteral("Weak"));
                Scrivi(QStringLiteral(" su strada 2026"));
                QCOMPARE(Controllo<QLabel>(d, "lblGiudizio")->text(), QStringLiteral("Strong"));
                QCOMPARE(Controllo<QProgressBar>(d, "barForza")->accessibleName(), QStringLiteral("Strength: Strong"));
                Premi(Qt::Key_Tab);
                Scrivi(QStringLiteral("ciclismo su strada 2025"));  // a slip
                Premi(Qt::Key_Tab);
                QCOMPARE(QApplication::focusWidget(), Controllo<QComboBox>(d, "cboBlocco"));
                Premi(Qt::Key_Down);
                Premi(Qt::Key_Down);  // 15 minutes
                Premi(Qt::Key_Return);
                QCOMPARE(messaggi, QStringList{Messaggio("0696")});
                QVERIFY(chiamate.empty());
                QCOMPARE(QApplication::focusWidget(), Controllo<QLineEdit>(d, "txtRipeti"));
                Scrivi(QStringLiteral("ciclismo su strada 2026"));  // over the selection
                Premi(Qt::Key_Return);
            });
        QCOMPARE(int(fatto), int(frmProteggi::Fatto::Protetto));
        QCOMPARE(chiamate.size(), std::size_t(1));
        QCOMPARE(chiamate[0].first, QStringLiteral("-"));
        QCOMPARE(chiamate[0].second, QStringLiteral("ciclismo su strada 2026"));
        QCOMPARE(MinutiBloccoImpostati(), 15);
        // The settings keep the time, never the passphrase.
        const std::string impostazioni = cartella->leggi("LangSetting.ini");
        QVERIFY(impostazioni.find("LockMinutes=15") != std::string::npos);
        QVERIFY(impostazioni.find("strada") == std::string::npos);
    }

    // Too short, or weak and not confirmed: nothing done, the box chosen.
    void cortaODeboleNonSiUsa_data() {
        QTest::addColumn<QString>("passphrase");
        QTest::addColumn<QString>("messaggio");
        QTest::addColumn<bool>("conferma");
        QTest::newRow("seven") << "aB3$xY7"
                               << "A passphrase has at least 8 characters; this one has 7." << false;
        QTest::newRow("weak, not confirmed") << "ciclismo"
                                             << "This passphrase is weak: it is easy to guess. Use it anyway?" << false;
    }
    void cortaODeboleNonSiUsa() {
        QFETCH(QString, passphrase);
        QFETCH(QString, messaggio);
        risposta = QMessageBox::No;
        int chiamate = 0;
        auto cambia = [&](const PassphraseDigitata*, const PassphraseDigitata*) {
            ++chiamate;
            return frmChiave::Prova{frmChiave::Prova::Esito::Giusta, {}};
        };
        NelDialogo(
            [&] {
                frmProteggi dialogo(false, cambia);
                dialogo.exec();
            },
            [&](QDialog* d) {
                Scrivi(passphrase);
                Premi(Qt::Key_Tab);
                Scrivi(passphrase);
                Premi(Qt::Key_Return);
                QVERIFY(d->isVisible());
                QCOMPARE(QApplication::focusWidget(), Controllo<QLineEdit>(d, "txtNuova"));
            });
        QCOMPARE(messaggi, QStringList{messaggio});
        QCOMPARE(chiamate, 0);
    }

    // A change asks the current passphrase first; a wrong one is said and
    // the dialog stays; a removal asks before it is done.
    void cambiaETogli() {
        std::vector<std::pair<QString, QString>> chiamate;
        auto cambia = [&](const PassphraseDigitata* attuale, const PassphraseDigitata* nuova) {
            chiamate.emplace_back(attuale ? Testo(*attuale) : QStringLiteral("-"),
                                  nuova ? Testo(*nuova) : QStringLiteral("-"));
            return attuale && Testo(*attuale) == QStringLiteral("vecchia passphrase 1")
                       ? frmChiave::Prova{frmChiave::Prova::Esito::Giusta, {}}
                       : frmChiave::Prova{frmChiave::Prova::Esito::Errata, {}};
        };
        frmProteggi::Fatto fatto = frmProteggi::Fatto::Nulla;
        NelDialogo(
            [&] {
                frmProteggi dialogo(true, cambia);
                dialogo.exec();
                fatto = dialogo.Risultato();
            },
            [&](QDialog* d) {
                QCOMPARE(QApplication::focusWidget(), Controllo<QLineEdit>(d, "txtAttuale"));
                Premi(Qt::Key_Tab);
                Scrivi(QStringLiteral("Nuova passphrase 2!"));
                Premi(Qt::Key_Tab);
                Scrivi(QStringLiteral("Nuova passphrase 2!"));
                Premi(Qt::Key_Return);
                QCOMPARE(messaggi, QStringList{Messaggio("0700")});
                QCOMPARE(QApplication::focusWidget(), Controllo<QLineEdit>(d, "txtAttuale"));
                Scrivi(QStringLiteral("sbagliata"));
                Premi(Qt::Key_Return);
                QCOMPARE(messaggi.size(), 2);
                QCOMPARE(messaggi.back(), Messaggio("0701"));
                QVERIFY(d->isVisible());
                QCOMPARE(QApplication::focusWidget(), Controllo<QLineEdit>(d, "txtAttuale"));
                Scrivi(QStringLiteral("vecchia passphrase 1"));
                Premi(Qt::Key_Return);
            });
        QCOMPARE(int(fatto), int(frmProteggi::Fatto::Cambiato));
        QCOMPARE(chiamate.size(), std::size_t(2));
        QCOMPARE(chiamate[1],
                 std::make_pair(QStringLiteral("vecchia passphrase 1"), QStringLiteral("Nuova passphrase 2!")));

        chiamate.clear();
        messaggi.clear();
        NelDialogo(
            [&] {
                frmProteggi dialogo(true, cambia);
                dialogo.exec();
                fatto = dialogo.Risultato();
            },
            [&](QDialog* d) {
                Scrivi(QStringLiteral("vecchia passphrase 1"));
                Controllo<QPushButton>(d, "cmdTogli")->setFocus();
                Premi(Qt::Key_Space);
            });
        QCOMPARE(messaggi, QStringList{Messaggio("0703")});
        QCOMPARE(int(fatto), int(frmProteggi::Fatto::Tolto));
        QCOMPARE(chiamate.size(), std::size_t(1));
        QCOMPARE(chiamate[0], std::make_pair(QStringLiteral("vecchia passphrase 1"), QStringLiteral("-")));
    }

    // ----- with the archive ----------------------------------------------

    // At start: a wrong passphrase said and asked again, then the right one;
    // the athlete card then opens without asking.
    void sbagliataPoiGiustaAllAvvio() {
        ArchivioProtetto();
        if (QTest::currentTestFailed()) return;
        NelDialogo([&] { principale = AvviaProgramma(); },
                   [&](QDialog* d) {
                       QCOMPARE(d->objectName(), QStringLiteral("frmChiave"));
                       QVERIFY(!ChiaveTenuta());
                       Scrivi(QStringLiteral("la bici blu di Marco"));
                       Premi(Qt::Key_Return);
                       QVERIFY(d->isVisible());
                       QCOMPARE(Controllo<QLabel>(d, "lblErrore")->text(), Messaggio("0691"));
                       QVERIFY(!ChiaveTenuta());
                       Scrivi(Frase);
                       Premi(Qt::Key_Return);
                   });
        QVERIFY(principale);
        QVERIFY(ChiaveTenuta());
        QVERIFY2(messaggi.isEmpty(), qPrintable(messaggi.join('|')));
        principale->ApriSchedaAtleta();
        QWidget* card = principale->FiglioAttivo();
        QCOMPARE(card->objectName(), QStringLiteral("frmAtleti"));
        QCOMPARE(Controllo<QLineEdit>(card, "txtNome")->text(), QStringLiteral("Rossi"));
        QVERIFY2(messaggi.isEmpty(), qPrintable(messaggi.join('|')));
    }

    // Cancelled at start: nothing written, nothing held; the athlete card
    // asks again and opens with the right one.
    void annullataAllAvvioSiChiedeAllaScheda() {
        ArchivioProtetto();
        if (QTest::currentTestFailed()) return;
        const std::string prima = prova::LeggiByte(File());
        NelDialogo([&] { principale = AvviaProgramma(); }, [&](QDialog*) { Premi(Qt::Key_Escape); });
        QVERIFY(!ChiaveTenuta());
        QVERIFY(prova::LeggiByte(File()) == prima);
        NelDialogo([&] { principale->ApriSchedaAtleta(); },
                   [&](QDialog* d) {
                       QCOMPARE(d->objectName(), QStringLiteral("frmChiave"));
                       Scrivi(Frase);
                       Premi(Qt::Key_Return);
                   });
        QCOMPARE(Controllo<QLineEdit>(principale->FiglioAttivo(), "txtNome")->text(), QStringLiteral("Rossi"));
        QVERIFY2(messaggi.isEmpty(), qPrintable(messaggi.join('|')));
    }

    // Set from the card's data menu, all from the keys: the archive then
    // needs the passphrase, the card shows its athlete still, the About
    // window says so.
    void siProteggeDalMenuDellaScheda() {
        prova::CreaArchivio(File(), {prova::RigaDi("Rossi")});
        principale = AvviaProgramma();
        principale->ApriSchedaAtleta();
        QWidget* card = principale->FiglioAttivo();
        principale->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(principale.get()));
        Controllo<QToolButton>(card, "cmdDati")->setFocus(Qt::TabFocusReason);
        Premi(Qt::Key_Space);
        auto* menu = card->findChild<QMenu*>(QStringLiteral("menuDati"));
        QVERIFY(menu);
        QTRY_VERIFY(menu->isVisible());
        for (int i = 0; i < 12 && (!menu->activeAction() || menu->activeAction()->text() != Messaggio("0690")); ++i)
            QTest::keyClick(menu, Qt::Key_Down);
        QCOMPARE(menu->activeAction()->text(), QStringLiteral("Protect the archive..."));
        NelDialogo([&] { QTest::keyClick(menu, Qt::Key_Return); },
                   [&](QDialog* d) {
                       QCOMPARE(d->objectName(), QStringLiteral("frmProteggi"));
                       Scrivi(Frase);
                       Premi(Qt::Key_Tab);
                       Scrivi(Frase);
                       Premi(Qt::Key_Return);
                   });
        QCOMPARE(messaggi, QStringList{Messaggio("0704")});
        QVERIFY(archivio::HaPassphrase(File()));
        QVERIFY(ChiaveTenuta());
        QCOMPARE(Controllo<QLineEdit>(principale->FiglioAttivo(), "txtNome")->text(), QStringLiteral("Rossi"));
        QCOMPARE(RigheProtette().size(), std::size_t(1));
        // Neither the passphrase nor anything of it in the settings.
        QVERIFY(cartella->leggi("LangSetting.ini").find("rossa") == std::string::npos);
        QTest::mouseClick(Controllo<QWidget>(principale, "lblInfo"), Qt::LeftButton);
        QVERIFY(Controllo<QLabel>(principale->FiglioAttivo(), "lblArchivio")->text().endsWith(Messaggio("0710")));
    }

    // The idle lock with an edit pending: the edit is in the archive before
    // the windows close and the key goes; the passphrase asked again (a
    // wrong one first) shows the athlete again, the edit with him.
    void ilBloccoScriveLaModificaPrima() {
        ArchivioProtetto();
        if (QTest::currentTestFailed()) return;
        cartella->scrivi("LangSetting.ini", "[Language]\nCurrentLanguage=english\n[Archive]\nLockMinutes=5\n");
        NelDialogo([&] { principale = AvviaProgramma(); },
                   [&](QDialog*) {
                       Scrivi(Frase);
                       Premi(Qt::Key_Return);
                   });
        BloccoInattivita* blocco = BloccoInattivita::Istanza();
        QVERIFY(blocco);
        principale->ApriSchedaAtleta();
        QWidget* card = principale->FiglioAttivo();
        principale->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(principale.get()));
        auto* note = Controllo<QPlainTextEdit>(card, "txtNote");
        note->setFocus(Qt::TabFocusReason);
        note->moveCursor(QTextCursor::End);
        Scrivi(QStringLiteral(", poi dopo"));
        QVERIFY(blocco->Conteggio().isActive());
        QCOMPARE(blocco->Conteggio().interval(), 5 * 60 * 1000);
        QCOMPARE(prova::CampoDi(RigheProtette().at(0), "note"), std::string("prima"));

        // The time is up.
        NelDialogo([&] { blocco->Scaduto(); },
                   [&](QDialog* d) {
                       QCOMPARE(d->objectName(), QStringLiteral("frmChiave"));
                       QCOMPARE(Controllo<QLabel>(d, "lblDomanda")->text(), Messaggio("0713").arg(5));
                       QCOMPARE(prova::CampoDi(RigheProtette().at(0), "note"), std::string("prima, poi dopo"));
                       QVERIFY(!ChiaveTenuta());
                       QCOMPARE(principale->FiglioAttivo()->objectName(), QStringLiteral("frmMain"));
                       QVERIFY(!blocco->Conteggio().isActive());
                       Scrivi(QStringLiteral("sbagliata"));
                       Premi(Qt::Key_Return);
                       QVERIFY(d->isVisible());
                       Scrivi(Frase);
                       Premi(Qt::Key_Return);
                   });
        card = principale->FiglioAttivo();
        QCOMPARE(card->objectName(), QStringLiteral("frmAtleti"));
        QCOMPARE(Controllo<QLineEdit>(card, "txtNome")->text(), QStringLiteral("Rossi"));
        QCOMPARE(Controllo<QPlainTextEdit>(card, "txtNote")->toPlainText(), QStringLiteral("prima, poi dopo"));
        QVERIFY(blocco->Conteggio().isActive());
        QVERIFY2(messaggi.isEmpty(), qPrintable(messaggi.join('|')));
    }

    // A backup with a passphrase restored: asked with the same dialog, a
    // wrong one said and asked again, then the archive is the backup's,
    // open under its key.
    void unaCopiaProtettaChiedeLaSuaPassphrase() {
        const auto copia = cartella->file("copia.dmg");
        prova::CreaArchivio(copia, {prova::RigaDi("Bianchi")});
        const PassphraseDigitata frase(Frase);
        QVERIFY(archivio::CambiaPassphrase(copia, archivio::Chiave(), &frase.Segreto()));
        archivio::DimenticaChiavi();
        prova::CreaArchivio(File(), {prova::RigaDi("Rossi")});
        principale = AvviaProgramma();
        principale->ApriSchedaAtleta();
        auto* card = qobject_cast<FinestraAtleta*>(principale->FiglioAttivo());
        QVERIFY(card);
        const QString nome = QString::fromStdString(copia.string());
        ImpostaServiziFileDati({[](QWidget*, const QString&, const QString&, const QString&) { return QString(); },
                                [&](QWidget*, const QString&, const QString&) { return nome; }});
        NeiDialoghi([&] { RipristinaCopiaArchivio(card, card->Legame()); },
                    {[&](QDialog* d) {
                         QCOMPARE(d->objectName(), QStringLiteral("frmChiave"));
                         QCOMPARE(Controllo<QLabel>(d, "lblDomanda")->text(), Messaggio("0712").arg(nome));
                         QVERIFY(!Controllo<QLabel>(d, "lblErrore")->isVisible());
                         Scrivi(QStringLiteral("la bici blu di Marco"));
                         Premi(Qt::Key_Return);
                     },
                     [&](QDialog* d) {
                         QCOMPARE(d->objectName(), QStringLiteral("frmChiave"));
                         QCOMPARE(Controllo<QLabel>(d, "lblErrore")->text(), Messaggio("0691"));
                         Scrivi(Frase);
                         Premi(Qt::Key_Return);
                     }});
        ImpostaServiziFileDati({});
        // The question before the restore, then what was done: asked once.
        QCOMPARE(messaggi.size(), 2);
        QVERIFY(archivio::HaPassphrase(File()));
        QVERIFY(ChiaveTenuta());
        QCOMPARE(Controllo<QLineEdit>(principale->FiglioAttivo(), "txtNome")->text(), QStringLiteral("Bianchi"));
    }

    // The CSV export says its file is not encrypted, only when the archive
    // has a passphrase.
    void ilCsvDiceCheNonECifrato_data() {
        QTest::addColumn<bool>("protetto");
        QTest::newRow("with a passphrase") << true;
        QTest::newRow("without") << false;
    }
    void ilCsvDiceCheNonECifrato() {
        QFETCH(bool, protetto);
        if (protetto) {
            ArchivioProtetto();
            if (QTest::currentTestFailed()) return;
            NelDialogo([&] { principale = AvviaProgramma(); },
                       [&](QDialog*) {
                           Scrivi(Frase);
                           Premi(Qt::Key_Return);
                       });
        } else {
            prova::CreaArchivio(File(), {prova::RigaDi("Rossi")});
            principale = AvviaProgramma();
        }
        principale->ApriSchedaAtleta();
        auto* card = qobject_cast<FinestraAtleta*>(principale->FiglioAttivo());
        QVERIFY(card);
        const QString csv = QString::fromStdString(cartella->file("atleti.csv").string());
        ImpostaServiziFileDati({[&](QWidget*, const QString&, const QString&, const QString&) { return csv; },
                                [](QWidget*, const QString&, const QString&) { return QString(); }});
        EsportaArchivioCsv(card, card->Legame());
        ImpostaServiziFileDati({});
        QCOMPARE(messaggi.size(), 1);
        QVERIFY(messaggi[0].startsWith(DescriviEsportazione(1, csv)));
        QCOMPARE(messaggi[0].contains(AvvisoCsvNonCifrato()), protetto);
    }

    // Off by default, and without a passphrase: no countdown.
    void senzaTempoOSenzaPassphraseNienteBlocco() {
        prova::CreaArchivio(File(), {prova::RigaDi("Rossi")});
        principale = AvviaProgramma();
        principale->ApriSchedaAtleta();
        QCOMPARE(BloccoInattivita::Istanza()->Minuti(), 0);
        QVERIFY(!BloccoInattivita::Istanza()->Conteggio().isActive());
        QVERIFY(ImpostaMinutiBlocco(15));
        BloccoInattivita::Istanza()->Rileggi();
        QCOMPARE(BloccoInattivita::Istanza()->Minuti(), 15);
        QVERIFY(!BloccoInattivita::Istanza()->Conteggio().isActive());
        BloccoInattivita::Istanza()->Scaduto();  // nothing to lock
        QCOMPARE(principale->FiglioAttivo()->objectName(), QStringLiteral("frmAtleti"));
    }
};

QTEST_MAIN(TestPassphrase)
#include "test_passphrase.moc"
