#include "TraduciForm.h"

#include "TestiRiserva.h"
#include "modLanguageSupport.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QTabWidget>
#include <QVariant>
#include <QWidget>

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
        const QString base = indice.isValid() ? QStringLiteral("%1(%2)").arg(nome).arg(indice.toInt()) : nome;

        if (auto t = lettore.testo(base + QLatin1String(".Caption")); t && !t->isEmpty()) ImpostaCaption(controllo, *t);
        if (auto t = lettore.testo(base + QLatin1String(".ToolTipText")); t && !t->isEmpty())
            ImpostaToolTip(controllo, *t);
        if (auto t = lettore.testo(base + QLatin1String(".Tag")); t && !t->isEmpty()) controllo->setProperty("Tag", *t);

        if (auto* schede = qobject_cast<QTabWidget*>(controllo)) {
            for (int s = 0; s < schede->count(); ++s) {
                if (auto t = lettore.testo(QStringLiteral("%1.TabCaption(%2)").arg(nome).arg(s)))
                    schede->setTabText(s, *t);
            }
        }
    }
}
