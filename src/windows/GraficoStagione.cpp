#include "GraficoStagione.h"

#include <QAccessibleWidget>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

QAccessibleInterface* InterfacciaGrafico(const QString& classe, QObject* oggetto);

}  // namespace

GraficoStagione::GraficoStagione(QWidget* genitore) : QWidget(genitore) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    static const bool accessibile = (QAccessible::installFactory(InterfacciaGrafico), true);
    (void)accessibile;
}

QString GraficoStagione::Testo() const {
    if (punti_.empty()) return nessunDato_;
    QStringList righe;
    for (const Punto& p : punti_) {
        QStringList valori;
        if (p.ftp > 0) valori << QStringLiteral("FTP %1 W").arg(QString::number(p.ftp, 'f', 0));
        if (p.wattPerKg > 0) valori << QStringLiteral("%1 W/kg").arg(QString::number(p.wattPerKg, 'f', 2));
        righe << p.data + QStringLiteral(": ") + valori.join(QStringLiteral(", "));
    }
    return righe.join(QStringLiteral("; "));
}

void GraficoStagione::Imposta(std::vector<Punto> punti, const QString& nessunDato) {
    punti_ = std::move(punti);
    nessunDato_ = nessunDato;
    update();
    if (QAccessible::isActive()) {
        QAccessibleEvent cambio(this, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&cambio);
    }
}

namespace {

// Bounds a little wider than the values, so that no point sits on the edge.
std::pair<double, double> Scala(const std::vector<double>& valori) {
    const auto [basso, alto] = std::minmax_element(valori.begin(), valori.end());
    const double margine = std::max((*alto - *basso) * 0.1, std::abs(*alto) * 0.05 + 1e-9);
    return {*basso - margine, *alto + margine};
}

}  // namespace

void GraficoStagione::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), Qt::white);
    p.setPen(QColor(200, 200, 200));
    p.drawRect(rect().adjusted(0, 0, -1, -1));

    std::vector<std::size_t> conFtp, conWkg;
    for (std::size_t i = 0; i < punti_.size(); ++i) {
        if (punti_[i].ftp > 0) conFtp.push_back(i);
        if (punti_[i].wattPerKg > 0) conWkg.push_back(i);
    }
    if (conFtp.empty() && conWkg.empty()) {
        p.setPen(QColor(90, 90, 90));
        p.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, nessunDato_);
        return;
    }

    const QRectF area = QRectF(rect()).adjusted(44, 10, -40, -22);
    const auto x = [&](std::size_t i) {
        return punti_.size() < 2 ? area.center().x()
                                 : area.left() + area.width() * static_cast<double>(i) / (punti_.size() - 1);
    };
    const QFont carattere = font();
    p.setFont(carattere);
    // The dates of the first and the last test under the axis.
    p.setPen(QColor(90, 90, 90));
    p.drawText(QRectF(area.left() - 30, area.bottom() + 4, 80, 16), Qt::AlignLeft, punti_.front().data);
    if (punti_.size() > 1)
        p.drawText(QRectF(area.right() - 50, area.bottom() + 4, 80, 16), Qt::AlignRight, punti_.back().data);

    const auto linea = [&](const std::vector<std::size_t>& quali, double Punto::*campo, const QColor& colore,
                           bool sinistra, int decimali) {
        if (quali.empty()) return;
        std::vector<double> valori;
        for (std::size_t i : quali) valori.push_back(punti_[i].*campo);
        const auto [basso, alto] = Scala(valori);
        const auto y = [&](double v) { return area.bottom() - area.height() * (v - basso) / (alto - basso); };
        QPainterPath tratto;
        for (std::size_t k = 0; k < quali.size(); ++k) {
            const QPointF punto(x(quali[k]), y(valori[k]));
            if (k == 0)
                tratto.moveTo(punto);
            else
                tratto.lineTo(punto);
        }
        p.setPen(QPen(colore, 2));
        p.drawPath(tratto);
        p.setBrush(colore);
        for (std::size_t k = 0; k < quali.size(); ++k) p.drawEllipse(QPointF(x(quali[k]), y(valori[k])), 3, 3);
        p.setBrush(Qt::NoBrush);
        // The scale: the lowest and the highest value, on its side.
        p.setPen(colore);
        const auto [minimo, massimo] = std::minmax_element(valori.begin(), valori.end());
        const QRectF fascia = sinistra ? QRectF(2, 0, 40, 14) : QRectF(width() - 38, 0, 36, 14);
        const int allineamento = sinistra ? Qt::AlignRight : Qt::AlignLeft;
        p.drawText(fascia.translated(0, y(*massimo) - 7), allineamento, QString::number(*massimo, 'f', decimali));
        if (*minimo != *massimo)
            p.drawText(fascia.translated(0, y(*minimo) - 7), allineamento, QString::number(*minimo, 'f', decimali));
    };
    linea(conFtp, &Punto::ftp, QColor(255, 128, 0), true, 0);
    linea(conWkg, &Punto::wattPerKg, QColor(0, 60, 140), false, 2);
}

namespace {

// The chart for a screen reader: named by its caption (the label whose buddy
// it is), its points said as text.
class GraficoAccessibile : public QAccessibleWidget {
public:
    explicit GraficoAccessibile(QWidget* w) : QAccessibleWidget(w, QAccessible::Chart) {}
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Description || t == QAccessible::Value)
            return static_cast<const GraficoStagione*>(widget())->Testo();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* InterfacciaGrafico(const QString& classe, QObject* oggetto) {
    if (classe == QLatin1String("GraficoStagione") && oggetto && oggetto->isWidgetType())
        return new GraficoAccessibile(static_cast<QWidget*>(oggetto));
    return nullptr;
}

}  // namespace
