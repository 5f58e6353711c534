#include "Stili.h"

#include <QFont>
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

void ImpostaSostitutiCaratteri() {
    QFont::insertSubstitutions(QStringLiteral("Segoe UI Symbol"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"), QStringLiteral("DejaVu Sans")});
}
