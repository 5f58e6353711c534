// Draws the program's SVG icon as square pictures of the given sides: a PNG
// for each side (the icon sizes desktops use), or, for a name ending in ".h",
// a C++ header holding the premultiplied ARGB pixels of each side (the
// program's window icon, ready without decoding anything at start).
//   DisegnaIcona icona.svg 48 icona-48.png
//   DisegnaIcona icona.svg 16,32 IconaFinestra.h
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

namespace {

QImage Disegna(QSvgRenderer& disegno, int lato) {
    QImage immagine(lato, lato, QImage::Format_ARGB32_Premultiplied);
    immagine.fill(Qt::transparent);
    QPainter pittore(&immagine);
    pittore.setRenderHint(QPainter::Antialiasing);
    disegno.render(&pittore, QRectF(0, 0, lato, lato));
    return immagine;
}

bool ScriviIntestazione(QSvgRenderer& disegno, const QList<int>& lati, const QString& file) {
    QByteArray testo = "// Made by DisegnaIcona from the program's SVG icon: do not edit.\n#pragma once\n\n";
    testo += "namespace IconaFinestra {\n\nstruct Immagine {\n    int lato;\n    const unsigned int* pixel;   // ARGB32, premultiplied\n};\n\n";
    for (int lato : lati) {
        const QImage immagine = Disegna(disegno, lato);
        testo += "inline constexpr unsigned int Pixel" + QByteArray::number(lato) + "[] = {";
        for (int y = 0; y < lato; ++y) {
            const auto* riga = reinterpret_cast<const QRgb*>(immagine.constScanLine(y));
            for (int x = 0; x < lato; ++x)
                testo += ((x + y * lato) % 8 == 0 ? "\n    " : " ") + QByteArray("0x") +
                         QByteArray::number(riga[x], 16).rightJustified(8, '0') + ',';
        }
        testo += "\n};\n\n";
    }
    testo += "inline constexpr Immagine Immagini[] = {";
    for (int lato : lati) testo += "{" + QByteArray::number(lato) + ", Pixel" + QByteArray::number(lato) + "}, ";
    testo += "};\n\n}  // namespace IconaFinestra\n";
    QFile uscita(file);
    return uscita.open(QIODevice::WriteOnly | QIODevice::Truncate) && uscita.write(testo) == testo.size();
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s ICON.svg SIDE[,SIDE...] OUT.png|OUT.h\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QSvgRenderer disegno(QString::fromLocal8Bit(argv[1]));
    QList<int> lati;
    for (const QByteArray& l : QByteArray(argv[2]).split(',')) lati.append(l.toInt());
    const QString uscita = QString::fromLocal8Bit(argv[3]);
    if (!disegno.isValid() || lati.contains(0)) {
        std::fprintf(stderr, "%s: cannot draw %s at %s px\n", argv[0], argv[1], argv[2]);
        return 1;
    }
    if (uscita.endsWith(QLatin1String(".h"))) return ScriviIntestazione(disegno, lati, uscita) ? 0 : 1;
    if (lati.size() != 1) return 2;
    return Disegna(disegno, lati.front()).save(uscita, "PNG") ? 0 : 1;
}
