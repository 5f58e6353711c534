// A picture control: draws an SVG resource scaled to its own size and tells
// when it is clicked. It has no caption, only a tool tip and a tag.
#pragma once

#include <QImage>
#include <QSvgRenderer>
#include <QWidget>

class ImmagineSvg : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString sorgente READ sorgente WRITE impostaSorgente)
    // The part of the SVG shown (its drawing without the empty ground round
    // it), in the SVG's own units; the whole SVG when not set.
    Q_PROPERTY(QRectF ritaglio READ ritaglio WRITE impostaRitaglio)

public:
    explicit ImmagineSvg(QWidget* genitore = nullptr);

    QString sorgente() const { return sorgente_; }
    void impostaSorgente(const QString& risorsa);
    QRectF ritaglio() const { return ritaglio_; }
    void impostaRitaglio(const QRectF& area);
    QSize sizeHint() const override;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* evento) override;
    void mouseReleaseEvent(QMouseEvent* evento) override;

private:
    QSvgRenderer& Disegno() const;    // the SVG, read when first needed
    const QImage& Disegnata() const;  // the SVG drawn at the control's size

    QString sorgente_;
    QRectF ritaglio_;
    mutable QSvgRenderer disegno_;
    mutable bool letto_ = true;
};
