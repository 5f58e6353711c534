// The season in a picture: the functional threshold power (W, orange, its
// scale on the left) and the watts per kilogram (blue, on the right) of the
// athlete's tests, one point a test that gives them, placed by its date: a
// month between two tests is twice the room of a fortnight.
#pragma once

#include <QRectF>
#include <QString>
#include <QWidget>

#include <vector>

class GraficoStagione : public QWidget {
    Q_OBJECT

public:
    struct Punto {
        QString data;          // yyyy-mm-dd
        double ftp = 0;        // watts; 0 for none
        double wattPerKg = 0;  // 0 for none
    };

    explicit GraficoStagione(QWidget* genitore = nullptr);

    // The points, oldest first; the captions in the current language.
    void Imposta(std::vector<Punto> punti, const QString& nessunDato);
    const std::vector<Punto>& Punti() const { return punti_; }
    // The points as a screen reader says them: "2026-03-01: FTP 250 W,
    // 3.50 W/kg; ...", or the caption for none.
    QString Testo() const;

    // Where everything goes at the widget's size: the centres of the FTP and
    // W/kg points (in the order of the points that give them), the boxes of
    // the value labels, the lowest and highest of each line, and of the dates
    // under the axis. Labels and dates lie apart from every point's disc
    // (RaggioPunto plus the pen).
    struct Etichetta {
        QRectF box;
        QString testo;
        bool ftp;
    };
    struct Disposizione {
        QRectF area;
        std::vector<QPointF> ftp, wattPerKg;
        std::vector<Etichetta> etichette, date;
    };
    Disposizione Disponi() const;
    static constexpr double RaggioPunto = 3, Penna = 2;

protected:
    void paintEvent(QPaintEvent* evento) override;

private:
    std::vector<Punto> punti_;
    QString nessunDato_;
};
