#include "Stili.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QRegularExpression>
#include <QWidget>

namespace {

QRegularExpression Espressione(const QString& proprieta) {
    // The property alone, not the end of a longer name ("color" in "background-color").
    return QRegularExpression(QStringLiteral("(?<![-\\w])%1\\s*:\\s*([^;}]+)").arg(QRegularExpression::escape(proprieta)));
}

QString TestoColore(const QColor& c) { return QStringLiteral("rgb(%1,%2,%3)").arg(c.red()).arg(c.green()).arg(c.blue()); }

}  // namespace

void CambiaColore(QWidget* controllo, const QString& proprieta, const QColor& colore) {
    QString foglio = controllo->styleSheet();
    const QString nuovo = proprieta + QStringLiteral(": ") + TestoColore(colore);
    const QRegularExpression re = Espressione(proprieta);
    if (re.match(foglio).hasMatch()) {
        foglio.replace(re, nuovo);
    } else {
        const qsizetype chiusa = foglio.lastIndexOf(QLatin1Char('}'));
        if (chiusa >= 0)
            foglio.insert(chiusa, QStringLiteral("; ") + nuovo + QLatin1Char(' '));
        else
            foglio += (foglio.trimmed().isEmpty() ? QString() : QStringLiteral("; ")) + nuovo + QLatin1Char(';');
    }
    if (foglio != controllo->styleSheet()) controllo->setStyleSheet(foglio);
}

QColor ColoreDi(const QWidget* controllo, const QString& proprieta) {
    auto m = Espressione(proprieta).match(controllo->styleSheet());
    if (!m.hasMatch()) return {};
    const QString valore = m.captured(1).trimmed();
    auto rgb = QRegularExpression(QStringLiteral("^rgb\\(\\s*(\\d+)\\s*,\\s*(\\d+)\\s*,\\s*(\\d+)\\s*\\)$")).match(valore);
    if (rgb.hasMatch()) return QColor(rgb.captured(1).toInt(), rgb.captured(2).toInt(), rgb.captured(3).toInt());
    return QColor::fromString(valore);
}

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
        return FontDisegno;   // the substitution of the font database decides
    }();
    return scelto;
}

void AdattaCaratteri(QWidget*) {
    // The forms' style sheets give size and weight only; the family is the
    // program's font, set once for every window.
    static const bool impostati = (ImpostaCaratteri(), true);
    (void)impostati;
}
