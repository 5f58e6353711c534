#include "ImmaginiDisegnate.h"

#include <QImage>

#include <list>

namespace {

struct Disegnata {
    const char* risorsa;
    int larghezza;
    int altezza;
    const unsigned int* pixel;  // ARGB32, premultiplied
};

#include "ImmaginiDisegnate.inc"

}  // namespace

const QImage* ImmagineDisegnata(const QString& risorsa, QSize lati) {
    // The images only wrap the built-in pixels; each is made once.
    static std::list<std::pair<const Disegnata*, QImage>> fatte;
    for (const Disegnata& d : Disegnate) {
        if (d.larghezza != lati.width() || d.altezza != lati.height() || risorsa != QLatin1String(d.risorsa)) continue;
        for (const auto& [voce, immagine] : fatte)
            if (voce == &d) return &immagine;
        fatte.emplace_back(&d, QImage(reinterpret_cast<const uchar*>(d.pixel), d.larghezza, d.altezza,
                                      QImage::Format_ARGB32_Premultiplied));
        return &fatte.back().second;
    }
    return nullptr;
}
