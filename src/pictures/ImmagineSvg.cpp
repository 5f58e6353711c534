#include "ImmagineSvg.h"

#include "DisegnoSvg.h"
#include "ImmaginiDisegnate.h"
#include "Risorse.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QMouseEvent>
#include <QPainter>

namespace {

// What a screen reader makes of a picture: a button when the keyboard can
// press it (the waste bin, the flags, the bicycle), else a picture; named by
// its accessible name, else by its tool tip.
class ImmagineAccessibile : public QAccessibleWidget {
public:
    explicit ImmagineAccessibile(QWidget* w)
        : QAccessibleWidget(w, Premibile(w) ? QAccessible::Button : QAccessible::Graphic) {
        if (Premibile(w)) addControllingSignal(QStringLiteral("clicked()"));
    }
    QString text(QAccessible::Text t) const override {
        QString testo = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && testo.isEmpty()) testo = widget()->toolTip();
        return testo;
    }
    QStringList actionNames() const override {
        QStringList azioni = QAccessibleWidget::actionNames();
        if (Premibile(widget())) azioni.prepend(pressAction());
        return azioni;
    }
    void doAction(const QString& azione) override {
        if (azione == pressAction() && Premibile(widget()))
            emit static_cast<ImmagineSvg*>(widget())->clicked();
        else
            QAccessibleWidget::doAction(azione);
    }

private:
    static bool Premibile(const QWidget* w) { return (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus; }
};

QAccessibleInterface* InterfacciaImmagine(const QString& classe, QObject* oggetto) {
    if (classe == QLatin1String("ImmagineSvg") && oggetto && oggetto->isWidgetType())
        return new ImmagineAccessibile(static_cast<QWidget*>(oggetto));
    return nullptr;
}

}  // namespace

ImmagineSvg::ImmagineSvg(QWidget* genitore) : QWidget(genitore) {
    InizializzaRisorse();
    static const bool accessibile = (QAccessible::installFactory(InterfacciaImmagine), true);
    (void)accessibile;
}

void ImmagineSvg::impostaSorgente(const QString& risorsa) {
    sorgente_ = risorsa;
    letto_ = false;
    update();
}

void ImmagineSvg::impostaRitaglio(const QRectF& area) {
    ritaglio_ = area;
    letto_ = false;
    update();
}

QSvgRenderer& ImmagineSvg::Disegno() const {
    if (!letto_) {
        disegno_.load(sorgente_);
        if (ritaglio_.isValid()) disegno_.setViewBox(ritaglio_);
        letto_ = true;
    }
    return disegno_;
}

QSize ImmagineSvg::sizeHint() const { return Disegno().isValid() ? Disegno().defaultSize() : QSize(32, 32); }

// The picture drawn once for a resource, a size and a pixel ratio: windows
// open and close as the coach moves between them, and each would otherwise
// draw the same SVG again. A handful of entries is all the windows need.
const QImage& ImmagineSvg::Disegnata() const {
    static QHash<QString, QImage> fatte;
    const qreal rapporto = devicePixelRatioF();
    const auto n = [](auto v) { return QString::number(v); };
    const QString chiave = QStringLiteral("%1|%2x%3|%4|%5,%6,%7,%8")
                               .arg(sorgente_, n(width()), n(height()), n(rapporto), n(ritaglio_.x()), n(ritaglio_.y()),
                                    n(ritaglio_.width()), n(ritaglio_.height()));
    if (auto trovata = fatte.constFind(chiave); trovata != fatte.cend()) return *trovata;
    if (fatte.size() >= 32) fatte.clear();
    return *fatte.insert(chiave, DisegnoSvg(Disegno(), size(), rapporto));
}

void ImmagineSvg::paintEvent(QPaintEvent*) {
    QPainter pittore(this);
    // The picture drawn ahead for this size, when there is one.
    if (devicePixelRatio() == 1.0 && !ritaglio_.isValid()) {
        if (const QImage* pronta = ImmagineDisegnata(sorgente_, size())) {
            pittore.drawImage(0, 0, *pronta);
            return;
        }
    }
    if (sorgente_.isEmpty() || size().isEmpty()) return;
    pittore.drawImage(QPointF(0, 0), Disegnata());
}

void ImmagineSvg::mouseReleaseEvent(QMouseEvent* evento) {
    if (evento->button() == Qt::LeftButton && rect().contains(evento->position().toPoint())) emit clicked();
    QWidget::mouseReleaseEvent(evento);
}
