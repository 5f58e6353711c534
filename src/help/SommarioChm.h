// The table of contents of a compiled help file: a sitemap of nested <UL>
// lists whose <OBJECT type="text/sitemap"> entries carry a Name and a Local
// parameter.
#pragma once

#include <QString>

#include <utility>
#include <vector>

struct VoceSommario {
    QString titolo;
    QString destinazione;  // an object path with an optional "#fragment"
    int genitore;          // index of the entry it stands under, -1 at the top
};

// The entries of the sitemap text, in document order.
std::vector<VoceSommario> LeggiSommario(const QString& testo);

// Object path and fragment of a target ("x.html#frammento").
std::pair<QString, QString> DividiDestinazione(const QString& destinazione);
