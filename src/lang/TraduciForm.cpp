#include "TraduciForm.h"

#include "IdMessaggiProgramma.h"
#include "TestiRiserva.h"
#include "modLanguageSupport.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QVariant>

#include <QWidget>
#include <algorithm>

#include <filesystem>
#include <optional>
#include <string>

namespace {

using modLanguageSupport::ErroreIni;

// One window's lookups in its section of the language file, read once for
// the whole window. A text the file lacks, or holds damaged, is the
// program's own; without either, the design text stays.
class Lettore {
public:
    Lettore(const std::filesystem::path& file, std::string sezione) : sezione_(std::move(sezione)) {
        try {
            file_.emplace(file);
        } catch (...) {
            // No language file: the program's own texts.
        }
    }
    std::optional<QString> testo(const QString& chiave) const {
        const std::string k = chiave.toStdString();
        std::string t;
        if (file_) {
            try {
                t = file_->Leggi(sezione_, k);
            } catch (...) {
                t.clear();
            }
        }
        if (t.empty() || modLanguageSupport::TestoDanneggiato(t)) {
            if (std::string proprio = modLanguageSupport::TestoIncorporato(sezione_, k); !proprio.empty())
                t = std::move(proprio);
        }
        if (!file_ && t.empty()) return std::nullopt;
        return QString::fromStdString(t);
    }

private:
    std::optional<modLanguageSupport::FileIniLetto> file_;
    std::string sezione_;
};

bool ImpostaCaption(QObject* controllo, const QString& testo) {
    if (auto* etichetta = qobject_cast<QLabel*>(controllo)) {
        etichetta->setText(testo);
    } else if (auto* pulsante = qobject_cast<QAbstractButton*>(controllo)) {
        pulsante->setText(testo);
    } else if (auto* gruppo = qobject_cast<QGroupBox*>(controllo)) {
        gruppo->setTitle(testo);
    } else if (auto* azione = qobject_cast<QAction*>(controllo)) {
        azione->setText(testo);
    } else {
        return false;  // no caption: text boxes, pictures, combos
    }
    return true;
}

void ImpostaToolTip(QObject* controllo, const QString& testo) {
    if (auto* widget = qobject_cast<QWidget*>(controllo))
        widget->setToolTip(testo);
    else if (auto* azione = qobject_cast<QAction*>(controllo))
        azione->setToolTip(testo);
}

// The controls of the window in design order. Child windows (other top-level
// windows, a container of windows such as the main window's workspace, marked
// by the property "contieneFinestre") and Qt's own unnamed or internal widgets
// are not the window's controls.
void RaccogliControlli(QObject* genitore, QList<QObject*>& controlli) {
    for (QObject* figlio : genitore->children()) {
        auto* widget = qobject_cast<QWidget*>(figlio);
        if (widget && (widget->isWindow() || widget->property("contieneFinestre").toBool())) continue;
        if (!widget && !qobject_cast<QAction*>(figlio)) continue;
        const QString nome = figlio->objectName();
        if (!nome.isEmpty() && !nome.startsWith(QLatin1String("qt_"))) controlli.append(figlio);
        if (widget) RaccogliControlli(widget, controlli);
    }
}

}  // namespace

namespace {

QString Pulito(QString testo) {
    testo.remove(QLatin1Char('&'));
    testo = testo.simplified();
    while (testo.endsWith(QLatin1Char(':'))) testo.chop(1);
    return testo;
}

// Where a control stands in the window.
QRect Posto(const QWidget* w, const QWidget* finestra) { return {w->mapTo(finestra, QPoint(0, 0)), w->size()}; }

// The label that names a control: its buddy, else the label at its left on
// its row, else the one just above it.
QString EtichettaDi(const QWidget* controllo, const QWidget* finestra, const QList<QLabel*>& etichette) {
    for (const QLabel* e : etichette)
        if (e->buddy() == controllo && !e->text().isEmpty()) return e->text();
    const QRect r = Posto(controllo, finestra);
    const QLabel* sinistra = nullptr;
    const QLabel* sopra = nullptr;
    QRect gs, ga;
    for (const QLabel* e : etichette) {
        if (e->text().trimmed().isEmpty() || !e->isVisibleTo(finestra)) continue;
        const QRect g = Posto(e, finestra);
        // A box set inside its caption's gap ("durata ___ minuti").
        if (g.contains(r.center())) return e->text();
        const int altezza = std::min(g.bottom(), r.bottom()) - std::max(g.top(), r.top());
        if (g.right() <= r.left() && altezza >= std::min(g.height(), r.height()) / 2) {
            if (!sinistra || g.right() > gs.right()) sinistra = e, gs = g;
        } else if (g.bottom() <= r.top() && r.top() - g.bottom() < 30 &&
                   std::min(g.right(), r.right()) - std::max(g.left(), r.left()) > 0) {
            if (!sopra || g.bottom() > ga.bottom()) sopra = e, ga = g;
        }
    }
    if (sinistra) return sinistra->text();
    return sopra ? sopra->text() : QString();
}

// The controls a screen reader stops at: whatever the keyboard reaches, and
// the boxes, lists, buttons and pictures it reads without the focus (a
// result box).
bool ControlloDaNominare(const QWidget* w) {
    if ((w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus) return true;
    if (qobject_cast<const QLabel*>(w)) return w->focusPolicy() != Qt::NoFocus;  // a text to select
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QAbstractScrollArea*>(w) ||
           w->inherits("ImmagineSvg");
}

// What each of those controls is called, for a screen reader: its name in
// the window's section of the language file, else its label, a button's
// caption, or for a picture what it does (its tool tip); the tool tip is its
// description. Names the window gives itself are kept; names given here are
// given anew in each language.
void DaiNomiAccessibili(QWidget* finestra, const QList<QObject*>& controlli, const Lettore& lettore) {
    QList<QLabel*> etichette;
    for (QObject* c : controlli)
        if (auto* e = qobject_cast<QLabel*>(c)) etichette << e;
    static const char* const Derivato = "nomeAccessibileDerivato";
    // The record navigator's arrows and its list, in every athlete window.
    static const std::pair<const char*, msg::Id> Navigatore[] = {{"Data1Primo", msg::PrimoAtleta},
                                                                 {"Data1Precedente", msg::AtletaPrecedente},
                                                                 {"Data1Successivo", msg::AtletaSuccessivo},
                                                                 {"Data1Ultimo", msg::UltimoAtleta},
                                                                 {"DBCombo1", msg::ElencoAtleti}};
    for (QObject* c : controlli) {
        auto* w = qobject_cast<QWidget*>(c);
        if (!w || !ControlloDaNominare(w) || w->focusProxy()) continue;
        if (!w->accessibleName().isEmpty() && !w->property(Derivato).toBool()) continue;
        // The window's own name for the control, in its section of the
        // language file, when no label says what it is.
        QString nome;
        const QVariant indice = w->property("index");
        const QString base =
            indice.isValid() ? QStringLiteral("%1(%2)").arg(w->objectName()).arg(indice.toInt()) : w->objectName();
        if (auto t = lettore.testo(base + QLatin1String(".AccessibleName")); t && !t->isEmpty()) nome = *t;
        for (const auto& [oggetto, messaggio] : Navigatore)
            if (w->objectName() == QLatin1String(oggetto)) {
                nome = QString::fromStdString(modLanguageSupport::TestoLingua(messaggio));
                w->setToolTip(nome);
            }
        // A picture says what it does (its tool tip), not the label beside it.
        const bool figura = w->inherits("ImmagineSvg");
        if (nome.isEmpty() && !figura && !qobject_cast<QAbstractButton*>(w) && !qobject_cast<QLabel*>(w))
            nome = EtichettaDi(w, finestra, etichette);
        // A button is called what it shows (its tool tip describes it); a
        // button showing a picture, by its tool tip.
        if (auto* b = qobject_cast<QAbstractButton*>(w); b && nome.isEmpty()) nome = b->text();
        if (nome.isEmpty() && !qobject_cast<QLabel*>(w)) nome = w->toolTip();
        // The name box of a sheet, which has no label of its own.
        if (nome.isEmpty() && w->objectName() == QLatin1String("txtNome"))
            nome = QString::fromStdString(modLanguageSupport::TestoLingua(msg::NomeAtleta));
        if (nome.isEmpty()) continue;
        w->setAccessibleName(Pulito(nome));
        w->setProperty(Derivato, true);
        // The text box inside an editable combo is the combo, said alike.
        if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->lineEdit())
            combo->lineEdit()->setAccessibleName(Pulito(nome));
        if (!w->toolTip().isEmpty() && Pulito(w->toolTip()) != Pulito(nome))
            w->setAccessibleDescription(w->toolTip().trimmed());
    }
}

}  // namespace

void TraduciForm(QWidget* finestra) {
    if (!finestra) return;
    std::optional<std::filesystem::path> file = modLanguageSupport::FileLingua();
    if (!file) return;  // a language name that names no file: nothing is looked up
    const QString w = finestra->objectName();
    const Lettore lettore(*file, w.toStdString());

    if (!finestra->windowTitle().isEmpty()) {
        if (auto t = lettore.testo(w + QLatin1String(".Caption"))) finestra->setWindowTitle(*t);
    }
    if (auto t = lettore.testo(w + QLatin1String(".Tag"))) finestra->setProperty("Tag", *t);

    QList<QObject*> controlli;
    RaccogliControlli(finestra, controlli);
    for (QObject* controllo : controlli) {
        const QString nome = controllo->objectName();
        const QVariant indice = controllo->property("index");
        const QString base =
            indice.isValid() ? QStringLiteral("%1(%2)").arg(nome, QString::number(indice.toInt())) : nome;

        if (auto t = lettore.testo(base + QLatin1String(".Caption")); t && !t->isEmpty()) ImpostaCaption(controllo, *t);
        if (auto t = lettore.testo(base + QLatin1String(".ToolTipText")); t && !t->isEmpty())
            ImpostaToolTip(controllo, *t);
        if (auto t = lettore.testo(base + QLatin1String(".Tag")); t && !t->isEmpty()) controllo->setProperty("Tag", *t);

        if (auto* schede = qobject_cast<QTabWidget*>(controllo)) {
            for (int s = 0; s < schede->count(); ++s) {
                if (auto t = lettore.testo(QStringLiteral("%1.TabCaption(%2)").arg(nome, QString::number(s))))
                    schede->setTabText(s, *t);
            }
        }
    }
    DaiNomiAccessibili(finestra, controlli, lettore);
}
