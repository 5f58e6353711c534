#include "Stili.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QStyle>
#include <QWidget>

void ImpostaStato(QWidget* controllo, const char* stato, bool attivo) {
    if (controllo->property(stato).toBool() == attivo && controllo->property(stato).isValid()) return;
    controllo->setProperty(stato, attivo);
    controllo->style()->unpolish(controllo);
    controllo->style()->polish(controllo);
    controllo->update();
}

bool StatoDi(const QWidget* controllo, const char* stato) { return controllo->property(stato).toBool(); }

namespace {

const QString FontDisegno = QStringLiteral("Segoe UI Symbol");
const QStringList Sostituti{QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"), QStringLiteral("DejaVu Sans")};

}  // namespace

void ImpostaSostitutiCaratteri() { QFont::insertSubstitutions(FontDisegno, Sostituti); }

void ImpostaCaratteri() {
    ImpostaSostitutiCaratteri();
    // One font family to load for the whole program.
    QFont carattere = QApplication::font();
    carattere.setFamily(CarattereDisegno());
    QApplication::setFont(carattere);
}

QString CarattereDisegno() {
    static const QString scelto = [] {
        // The list of installed families, not hasFamily(): that also resolves
        // aliases through fontconfig, which is slow for a missing family.
        const QStringList installate = QFontDatabase::families();
        if (installate.contains(FontDisegno, Qt::CaseInsensitive)) return FontDisegno;
        for (const QString& f : Sostituti)
            if (installate.contains(f, Qt::CaseInsensitive)) return f;
        return FontDisegno;  // the substitution of the font database decides
    }();
    return scelto;
}

void AdattaCaratteri(QWidget*) {
    // The forms' style sheets give size and weight only; the family is the
    // program's font, set once for every window.
    static const bool impostati = (ImpostaCaratteri(), true);
    (void)impostati;
}
