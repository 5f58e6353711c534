// A picture control: draws an SVG resource scaled to its own size and tells
// when it is clicked. It has no caption, only a tool tip and a tag.
#pragma once

#include <QImage>
#include <QSvgRenderer>
#include <QWidget>

class ImmagineSvg : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString sorgente READ sorgente WRITE impostaSorgente)

public:
    explicit ImmagineSvg(QWidget* genitore = nullptr);

    QString sorgente() const { return sorgente_; }
    void impostaSorgente(const QString& risorsa);
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
    mutable QSvgRenderer disegno_;
    mutable bool letto_ = true;
};
