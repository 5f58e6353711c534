// Every text of every window fits its control and is not cut by the window,
// in both languages, with the program's own fonts. The suite runs this
// program at 100 % and again at 200 % (QT_SCALE_FACTOR=2).
//
// With TOVARIN_SCHERMATE naming a folder, each window is also saved there as
// a picture (<window>_<language>.png): run it on a real display to look at them.
#include "Archivio.h"
#include "AtletaCorrente.h"
#include "Avvio.h"
#include "Calendario.h"
#include "CartellaProva.h"
#include "Collegamenti.h"
#include "Controlli.h"
#include "GuidaChm.h"
#include "Messaggi.h"
#include "RegistroAssetti.h"
#include "Stili.h"
#include "frmCondizione.h"
#include "frmGuida.h"
#include "frmScheda.h"
#include "frmTest.h"
#include "frmValoriIMC.h"
#include "frmZoom.h"
#include "frmZoom2.h"
#include "mdi.h"
#include "modLanguageSupport.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleOption>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {

// The style options of a control, as the control paints itself.
struct OpzioniPulsante : QPushButton {
    using QPushButton::initStyleOption;
};
struct OpzioniCasella : QCheckBox {
    using QCheckBox::initStyleOption;
};
struct OpzioniRiga : QLineEdit {
    using QLineEdit::initStyleOption;
};

QString SenzaAcceleratore(QString testo) {
    return testo.replace(QStringLiteral("&&"), QStringLiteral("\x01"))
        .remove(QLatin1Char('&'))
        .replace(QLatin1Char('\x01'), QLatin1Char('&'));
}

// Where the control draws its text, and the room it draws it in; nothing for
// a control that shows no text.
struct Spazio {
    QRect testo, area;
};

std::optional<Spazio> SpazioDelTesto(QWidget* w) {
    if (auto* l = qobject_cast<QLabel*>(w)) {
        if (l->text().isEmpty() || !l->pixmap().isNull()) return std::nullopt;
        const int m = l->margin();
        const QRect area = l->contentsRect().adjusted(m, m, -m, -m);
        int opzioni = int(QStyle::visualAlignment(l->layoutDirection(), l->alignment())) | Qt::TextExpandTabs;
        if (l->wordWrap()) opzioni |= Qt::TextWordWrap;
        return Spazio{l->fontMetrics().boundingRect(area, opzioni, l->text()), area};
    }
    if (auto* b = qobject_cast<QPushButton*>(w)) {
        if (b->text().isEmpty()) return std::nullopt;
        QStyleOptionButton opt;
        (b->*&OpzioniPulsante::initStyleOption)(&opt);
        const QRect area = b->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, b);
        const QFontMetrics fm = b->fontMetrics();
        int larghezza = fm.horizontalAdvance(SenzaAcceleratore(b->text()));
        if (!b->icon().isNull()) larghezza += b->iconSize().width() + 4;
        return Spazio{QStyle::alignedRect(b->layoutDirection(), Qt::AlignCenter, QSize(larghezza, fm.height()), area),
                      area};
    }
    if (auto* c = qobject_cast<QCheckBox*>(w)) {
        if (c->text().isEmpty()) return std::nullopt;
        QStyleOptionButton opt;
        (c->*&OpzioniCasella::initStyleOption)(&opt);
        const QRect area = c->style()->subElementRect(QStyle::SE_CheckBoxContents, &opt, c);
        const QFontMetrics fm = c->fontMetrics();
        const QSize dimensione(fm.horizontalAdvance(SenzaAcceleratore(c->text())), fm.height());
        return Spazio{QStyle::alignedRect(c->layoutDirection(), Qt::AlignLeft | Qt::AlignVCenter, dimensione, area),
                      area};
    }
    if (auto* t = qobject_cast<QToolButton*>(w)) {
        if (t->text().isEmpty() || t->toolButtonStyle() == Qt::ToolButtonIconOnly) return std::nullopt;
        const QSize voluta = t->sizeHint();
        return Spazio{QStyle::alignedRect(t->layoutDirection(), Qt::AlignCenter, voluta, t->rect()), t->rect()};
    }
    if (auto* g = qobject_cast<QGroupBox*>(w)) {
        if (g->title().isEmpty()) return std::nullopt;
        const QFontMetrics fm = g->fontMetrics();
        return Spazio{QRect(QPoint(0, 0), QSize(fm.horizontalAdvance(SenzaAcceleratore(g->title())), fm.height())),
                      g->rect()};
    }
    if (auto* r = qobject_cast<QLineEdit*>(w)) {
        // Results are read-only boxes: they show their whole text or nothing.
        if (!r->isReadOnly() || r->text().isEmpty()) return std::nullopt;
        QStyleOptionFrame opt;
        (r->*&OpzioniRiga::initStyleOption)(&opt);
        const QMargins margini = r->textMargins();
        const QRect area = r->style()
                               ->subElementRect(QStyle::SE_LineEditContents, &opt, r)
                               .adjusted(margini.left() + 2, margini.top(), -margini.right() - 2, -margini.bottom());
        const QFontMetrics fm = r->fontMetrics();
        const QSize dimensione(fm.horizontalAdvance(r->text()), fm.height());
        return Spazio{QStyle::alignedRect(r->layoutDirection(), r->alignment(), dimensione, area), area};
    }
    return std::nullopt;
}

// The controls of a window whose text is cut: by the control itself, or by
// a control or the window it lies in.
QStringList TestiTagliati(QWidget* finestra) {
    QStringList tagliati;
    for (QWidget* w : finestra->findChildren<QWidget*>()) {
        if (w->window() != finestra || !w->isVisibleTo(finestra)) continue;
        const std::optional<Spazio> spazio = SpazioDelTesto(w);
        if (!spazio) continue;
        QString motivo;
        if (!spazio->area.contains(spazio->testo)) {
            motivo = QStringLiteral("needs %1x%2, has %3x%4")
                         .arg(spazio->testo.width())
                         .arg(spazio->testo.height())
                         .arg(spazio->area.width())
                         .arg(spazio->area.height());
        } else {
            QRect testo = spazio->testo;
            for (QWidget* c = w; c != finestra && !motivo.size(); c = c->parentWidget()) {
                testo.translate(c->pos());
                if (!c->parentWidget()->rect().contains(testo))
                    motivo = QStringLiteral("cut by ") + c->parentWidget()->objectName();
            }
        }
        if (!motivo.isEmpty()) {
            const QString testo = qobject_cast<QLabel*>(w)            ? qobject_cast<QLabel*>(w)->text()
                                  : qobject_cast<QAbstractButton*>(w) ? qobject_cast<QAbstractButton*>(w)->text()
                                  : qobject_cast<QLineEdit*>(w)       ? qobject_cast<QLineEdit*>(w)->text()
                                  : qobject_cast<QGroupBox*>(w)       ? qobject_cast<QGroupBox*>(w)->title()
                                                                      : QString();
            tagliati << QStringLiteral("%1/%2 \"%3\": %4").arg(finestra->objectName(), w->objectName(), testo, motivo);
        }
    }
    return tagliati;
}

template <typename T>
T* Finestra() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* f = qobject_cast<T*>(w); f && f->isVisible()) return f;
    return nullptr;
}

}  // namespace

class TestTestiInteri : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        ImpostaCaratteri();
        ImpostaGestoreGuida(MostraGuidaChm);
        ImpostaGestoreCollegamenti([](const QString&) { return true; });
        ImpostaGestoreMessaggi([](QWidget*, const QString&, const QString& testo, QMessageBox::StandardButtons) {
            qFatal("unexpected message: %s", qPrintable(testo));
            return QMessageBox::Ok;
        });
        Calendario::ImpostaServizi({[] { return Calendario::Data{2024, 6, 1}; }, nullptr});
    }

    void ogniTestoEntra_data() {
        QTest::addColumn<QString>("lingua");
        QTest::newRow("italian") << "italian";
        QTest::newRow("english") << "english";
    }
    void ogniTestoEntra() {
        QFETCH(QString, lingua);
        CartellaProva cartella;
        cartella.copiaGuida();
        cartella.scrivi("LangSetting.ini", "[Language]\nCurrentLanguage=" + lingua.toStdString() + "\n");
        {
            // An athlete with every box filled, as a coach keeps them.
            archivio::Archivio a;
            QVERIFY(a.Apri(cartella.file("tvp.dmg")).ok());
            archivio::Riga r;
            // clang-format off
            const std::pair<const char*, const char*> campi[] = {
                {"nome", "Rossi Mario"}, {"datanascita", "12/05/1988"}, {"indirizzo", "Via Roma 12, Treviso"},
                {"tel", "0422 123456"}, {"Email", "mario.rossi@example.org"}, {"bici", "Pinarello Dogma F"},
                {"Societa", "GS Montebelluna"}, {"Categoria", "Élite"}, {"Tessera", "A123456"},
                {"Scadenza", "31/12/2025"}, {"sesso", "M"}, {"TipoImpiego", "moderata"}, {"AttivFis", "1"},
                {"pulsazioniriposo", "52"}, {"cavallo", "86.5"}, {"busto", "62"}, {"coscia", "58.5"},
                {"gamba", "55"}, {"braccio", "64"}, {"spalle", "42"}, {"altezza", "181"}, {"peso", "71.5"},
                {"sella", "27.5"}, {"myHS", "76.2"}, {"myDSM", "56"}, {"mySM", "8.5"}, {"myR", "6.5"},
                {"myPE", "172.5"}, {"MarcaSella", "Fizik Arione"}, {"Manubrio", "Compact 42 cm"},
                {"Gruppo", "Shimano Dura-Ace 12v"}, {"Ruote", "Fulcrum Racing Zero"}, {"pedali", "Look Kéo Blade"},
                {"note", "Tacchette riposizionate a marzo."}};
            // clang-format on
            for (const auto& [colonna, valore] : campi) r[*archivio::IndiceColonna(colonna)] = valore;
            std::int64_t id = 0;
            QVERIFY(a.AggiungiRiga(r, id).ok());
            const std::int64_t atleta = id;
            // Two recorded fittings, the latest with its frame, for the history.
            archivio::Assetto prima = registro::AssettoDaRiga(id, r, "2025-11-04");
            prima.misure[archivio::CampoMisura::Cavallo] = "86";
            prima.risultati = registro::RisultatiDi(prima.misure);
            prima.bici = "Pinarello Dogma F";
            prima.disciplina = "strada";
            archivio::Assetto dopo = registro::AssettoDaRiga(id, r, "2026-03-12");
            dopo.bici = "Pinarello Dogma F";
            dopo.disciplina = "strada";
            dopo.telaio = {"565", "393", "73.2", "", "15", "110", "-6", ""};
            dopo.note = "Sella alzata di 5 mm, tacchette riposizionate.";
            for (const archivio::Assetto& assetto : {prima, dopo}) QVERIFY(a.RegistraAssetto(assetto, id).ok());
            // A season of tests, for the tests window and its chart.
            for (const auto& [data, fcmax, lthr, ftp] :
                 std::vector<std::array<const char*, 4>>{{"2026-01-20", "", "158", "262"},
                                                         {"2026-04-18", "186", "161", "281"},
                                                         {"2026-09-05", "188", "165", "294"}}) {
                archivio::TestAtleta t;
                t.atleta = atleta;
                t.data = data;
                t.fcmax = fcmax;
                t.lthr = lthr;
                t.ftp = ftp;
                t.peso = "71.5";
                QVERIFY(a.RegistraTest(t, id).ok());
            }
        }
        NomeAtletaCorrente.clear();

        const QString cartellaImmagini = qEnvironmentVariable("TOVARIN_SCHERMATE");
        QStringList tagliati;
        auto controlla = [&](QWidget* finestra, const QString& nome) {
            QVERIFY2(finestra, qPrintable(nome));
            QVERIFY(QTest::qWaitForWindowExposed(finestra));
            QApplication::processEvents();
            tagliati << TestiTagliati(finestra);
            if (!cartellaImmagini.isEmpty())
                QVERIFY(finestra->grab().save(cartellaImmagini + QLatin1Char('/') + nome + QLatin1Char('_') + lingua +
                                              ".png"));
        };

        std::unique_ptr<mdi> principale = AvviaProgramma();
        mdi* m = principale.get();
        controlla(m, "home");
        QTest::mouseClick(Controllo<QPushButton>(m, "cmdAtleta"), Qt::LeftButton);
        controlla(m, "scheda_atleta");
        QTest::mouseClick(Controllo<QPushButton>(m, "cmdAssetto"), Qt::LeftButton);
        controlla(m, "scheda_assetto");
        auto* scheda = qobject_cast<frmScheda*>(m->FiglioAttivo());
        QVERIFY(scheda);
        QTest::keyClicks(Controllo<QLineEdit>(scheda, "txtCavallo"), QString(20, QLatin1Char('9')));
        tagliati << TestiTagliati(m);
        Controllo<QLineEdit>(scheda, "txtCavallo")->setText(QStringLiteral("86.5"));
        QTest::mouseClick(Controllo<ImmagineSvg>(scheda, "imgBici"), Qt::LeftButton);
        controlla(Finestra<frmZoom>(), "bici");
        QTest::mouseClick(Controllo<ImmagineSvg>(scheda, "imgSagoma"), Qt::LeftButton);
        controlla(Finestra<frmZoom2>(), "sagoma");
        QTest::mouseClick(Controllo<QPushButton>(scheda, "cmdStorico"), Qt::LeftButton);
        controlla(m, "storico");
        QTest::mouseClick(Controllo<QPushButton>(m, "cmdCondizione"), Qt::LeftButton);
        controlla(m, "scheda_condizione");
        auto* condizione = qobject_cast<frmCondizione*>(m->FiglioAttivo());
        QVERIFY(condizione);
        QTest::mouseClick(Controllo<QLabel>(condizione, "Label44"), Qt::LeftButton);
        controlla(Finestra<frmValoriIMC>(), "valori_imc");
        QTest::mouseClick(Controllo<QPushButton>(condizione, "cmdTest"), Qt::LeftButton);
        controlla(Finestra<frmTest>(), "test_atleta");
        controlla(m, "scheda_condizione_misurata");
        // Absurd numbers: a result is shown whole or as "n.d.", never cut.
        QTest::keyClicks(Controllo<QLineEdit>(condizione, "txtPeso"), QString(25, QLatin1Char('9')));
        tagliati << TestiTagliati(m);
        QTest::mouseClick(Controllo<QPushButton>(m, "cmdHelp"), Qt::LeftButton);
        controlla(Finestra<frmGuida>(), "guida");
        QTest::mouseClick(Controllo<QLabel>(m, "lblInfo"), Qt::LeftButton);
        controlla(m, "info");

        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != m) w->close();
        principale.reset();
        QVERIFY2(tagliati.isEmpty(), qPrintable(tagliati.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(TestTestiInteri)
#include "test_testi_interi.moc"
