// Draws the program's SVG pictures ahead of time.
//   DisegnaIcona ICON.svg SIDE OUT.png
//       the icon as a square PNG (the icon sizes desktops use);
//   DisegnaIcona --tabella OUT.inc NAME FILE.svg WxH[,WxH...] [NAME FILE.svg WxH...]...
//       a table of premultiplied ARGB pictures for the program itself: each
//       SVG drawn centred in each box, keeping its proportions, as the
//       program's picture controls and icons draw it (see ImmaginiDisegnate.h).
#include "DisegnoSvg.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QSvgRenderer>

#include <cstdio>

namespace {

QSize Lati(const QByteArray& testo) {
    const QList<QByteArray> parti = testo.split('x');
    return parti.size() == 2 ? QSize(parti[0].toInt(), parti[1].toInt()) : QSize();
}

int Tabella(int argc, char* argv[]) {
    QByteArray pixel, voci;
    int numero = 0;
    for (int i = 3; i + 2 < argc; i += 3) {
        QSvgRenderer disegno(QString::fromLocal8Bit(argv[i + 1]));
        if (!disegno.isValid()) {
            std::fprintf(stderr, "cannot read %s\n", argv[i + 1]);
            return 1;
        }
        for (const QByteArray& l : QByteArray(argv[i + 2]).split(',')) {
            const QSize lati = Lati(l);
            if (lati.isEmpty()) return 2;
            const QImage immagine = DisegnoSvg(disegno, lati);
            const QByteArray nome = "Pixel" + QByteArray::number(numero++);
            pixel += "const unsigned int " + nome + "[] = {";
            for (int y = 0; y < lati.height(); ++y) {
                const auto* riga = reinterpret_cast<const QRgb*>(immagine.constScanLine(y));
                for (int x = 0; x < lati.width(); ++x)
                    pixel += ((x + y * lati.width()) % 8 == 0 ? "\n    " : " ") + QByteArray("0x") +
                             QByteArray::number(riga[x], 16).rightJustified(8, '0') + ',';
            }
            pixel += "\n};\n";
            voci += "    {\"" + QByteArray(argv[i]) + "\", " + QByteArray::number(lati.width()) + ", " +
                    QByteArray::number(lati.height()) + ", " + nome + "},\n";
        }
    }
    const QByteArray testo = "// Made by DisegnaIcona from the program's SVG pictures: do not edit.\n" + pixel +
                             "const Disegnata Disegnate[] = {\n" + voci + "};\n";
    QFile uscita(QString::fromLocal8Bit(argv[2]));
    return uscita.open(QIODevice::WriteOnly | QIODevice::Truncate) && uscita.write(testo) == testo.size() ? 0 : 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc >= 6 && (argc - 3) % 3 == 0 && QByteArray(argv[1]) == "--tabella") return Tabella(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr,
                     "usage: %s ICON.svg SIDE OUT.png\n       %s --tabella OUT.inc NAME FILE.svg WxH[,WxH...]...\n",
                     argv[0], argv[0]);
        return 2;
    }
    QSvgRenderer disegno(QString::fromLocal8Bit(argv[1]));
    const int lato = QByteArray(argv[2]).toInt();
    if (!disegno.isValid() || lato <= 0) {
        std::fprintf(stderr, "%s: cannot draw %s at %s px\n", argv[0], argv[1], argv[2]);
        return 1;
    }
    return DisegnoSvg(disegno, QSize(lato, lato)).save(QString::fromLocal8Bit(argv[3]), "PNG") ? 0 : 1;
}
