// The season in a picture: the functional threshold power (W, orange, its
// scale on the left) and the watts per kilogram (blue, on the right) of the
// athlete's tests, oldest to newest, one point a test that gives them.
#pragma once

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

protected:
    void paintEvent(QPaintEvent* evento) override;

private:
    std::vector<Punto> punti_;
    QString nessunDato_;
};
