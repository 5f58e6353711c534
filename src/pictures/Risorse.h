// The program's pictures, compiled into it as SVG files.
#pragma once

#include <QIcon>
#include <QString>

#include <initializer_list>

// Registers the program's pictures (":/immagini/..."); safe to call often.
void InizializzaRisorse();

// An icon drawn from an SVG picture at the given sizes (pixels); the sizes
// drawn when the program was built are taken as they are.
QIcon IconaSvg(const QString& risorsa, std::initializer_list<int> lati);
