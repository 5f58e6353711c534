#include "GraficoStagione.h"

#include <QAccessibleWidget>
#include <QDate>
#include <QFontMetricsF>
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

// Room around a point's centre that its disc and pen cover, and a gap.
constexpr double Ingombro = GraficoStagione::RaggioPunto + GraficoStagione::Penna / 2 + 2;

}  // namespace

GraficoStagione::Disposizione GraficoStagione::Disponi() const {
    Disposizione d;
    std::vector<std::size_t> conFtp, conWkg;
    for (std::size_t i = 0; i < punti_.size(); ++i) {
        if (punti_[i].ftp > 0) conFtp.push_back(i);
        if (punti_[i].wattPerKg > 0) conWkg.push_back(i);
    }
    if (conFtp.empty() && conWkg.empty()) return d;

    // The value labels' texts, and the room they need beside the area.
    const QFontMetricsF metriche(font());
    const auto testi = [&](const std::vector<std::size_t>& quali, double Punto::*campo, int decimali) {
        std::vector<double> valori;
        for (std::size_t i : quali) valori.push_back(punti_[i].*campo);
        QStringList t;
        if (!valori.empty()) {
            const auto [minimo, massimo] = std::minmax_element(valori.begin(), valori.end());
            t << QString::number(*massimo, 'f', decimali);
            if (*minimo != *massimo) t << QString::number(*minimo, 'f', decimali);
        }
        return std::pair{valori, t};
    };
    const auto [valoriFtp, testiFtp] = testi(conFtp, &Punto::ftp, 0);
    const auto [valoriWkg, testiWkg] = testi(conWkg, &Punto::wattPerKg, 2);
    const auto larghezza = [&](const QStringList& t) {
        double l = metriche.horizontalAdvance(QStringLiteral("000"));
        for (const QString& s : t) l = std::max(l, metriche.horizontalAdvance(s));
        return std::ceil(l) + 2;
    };
    const double sinistra = 2 + larghezza(testiFtp) + Ingombro, destra = 2 + larghezza(testiWkg) + Ingombro;
    const double altezzaTesto = std::ceil(metriche.height());
    d.area = QRectF(rect()).adjusted(sinistra, Ingombro + altezzaTesto / 2, -destra, -(Ingombro + altezzaTesto + 2));

    // Each point by its date, from the first test's to the last's.
    std::vector<double> giorni;
    const QDate primo = QDate::fromString(punti_.front().data, Qt::ISODate);
    bool perData = primo.isValid();
    for (const Punto& p : punti_) {
        const QDate data = QDate::fromString(p.data, Qt::ISODate);
        perData = perData && data.isValid();
        giorni.push_back(perData ? static_cast<double>(primo.daysTo(data)) : 0);
    }
    // Dates out of order or unreadable: one step a test, as they come.
    for (std::size_t i = 1; perData && i < giorni.size(); ++i) perData = giorni[i] >= giorni[i - 1];
    if (!perData)
        for (std::size_t i = 0; i < giorni.size(); ++i) giorni[i] = static_cast<double>(i);
    const double durata = giorni.back() - giorni.front();
    const auto x = [&](std::size_t i) {
        return durata > 0 ? d.area.left() + d.area.width() * (giorni[i] - giorni.front()) / durata
                          : d.area.center().x();
    };

    const auto linea = [&](const std::vector<std::size_t>& quali, const std::vector<double>& valori,
                           const QStringList& t, bool ftp, std::vector<QPointF>& centri) {
        if (quali.empty()) return;
        const auto [basso, alto] = Scala(valori);
        const auto y = [&](double v) { return d.area.bottom() - d.area.height() * (v - basso) / (alto - basso); };
        for (std::size_t k = 0; k < quali.size(); ++k) centri.emplace_back(x(quali[k]), y(valori[k]));
        // The scale, the highest value and then the lowest, in the margin
        // beside the area, each at its height but never on the other.
        const auto [minimo, massimo] = std::minmax_element(valori.begin(), valori.end());
        const double l = (ftp ? sinistra : destra) - Ingombro - 2;
        const double xe = ftp ? 2 : width() - 2 - l;
        double alta = std::clamp(y(*massimo) - altezzaTesto / 2, 0.0, height() - altezzaTesto);
        d.etichette.push_back({QRectF(xe, alta, l, altezzaTesto), t.value(0), ftp});
        if (t.size() > 1) {
            const double bassa = std::clamp(y(*minimo) - altezzaTesto / 2, alta + altezzaTesto,
                                            std::max(alta + altezzaTesto, height() - altezzaTesto));
            d.etichette.push_back({QRectF(xe, bassa, l, altezzaTesto), t.value(1), ftp});
        }
    };
    linea(conFtp, valoriFtp, testiFtp, true, d.ftp);
    linea(conWkg, valoriWkg, testiWkg, false, d.wattPerKg);

    // The dates of the first and the last test under the axis, below every
    // point.
    const double yDate = d.area.bottom() + Ingombro;
    const double lData = metriche.horizontalAdvance(QStringLiteral("0000-00-00")) + 4;
    d.date.push_back({QRectF(std::max(0.0, x(0) - lData / 2), yDate, lData, altezzaTesto), punti_.front().data, true});
    if (punti_.size() > 1)
        d.date.push_back(
            {QRectF(std::min(width() - lData, x(punti_.size() - 1) - lData / 2), yDate, lData, altezzaTesto),
             punti_.back().data, true});
    return d;
}

void GraficoStagione::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), Qt::white);
    p.setPen(QColor(200, 200, 200));
    p.drawRect(rect().adjusted(0, 0, -1, -1));

    const Disposizione d = Disponi();
    if (d.ftp.empty() && d.wattPerKg.empty()) {
        p.setPen(QColor(90, 90, 90));
        p.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, nessunDato_);
        return;
    }
    p.setFont(font());
    p.setPen(QColor(90, 90, 90));
    for (const Etichetta& e : d.date) p.drawText(e.box, Qt::AlignCenter, e.testo);

    const QColor arancio(255, 128, 0), blu(0, 60, 140);
    const auto linea = [&](const std::vector<QPointF>& centri, const QColor& colore) {
        if (centri.empty()) return;
        QPainterPath tratto;
        tratto.moveTo(centri.front());
        for (std::size_t k = 1; k < centri.size(); ++k) tratto.lineTo(centri[k]);
        p.setPen(QPen(colore, Penna));
        p.drawPath(tratto);
        p.setBrush(colore);
        for (const QPointF& c : centri) p.drawEllipse(c, RaggioPunto, RaggioPunto);
        p.setBrush(Qt::NoBrush);
    };
    linea(d.ftp, arancio);
    linea(d.wattPerKg, blu);
    for (const Etichetta& e : d.etichette) {
        p.setPen(e.ftp ? arancio : blu);
        p.drawText(e.box, (e.ftp ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter, e.testo);
    }
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
