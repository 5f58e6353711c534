// Pictures drawn when the program is built: the SVG pictures the start-up
// shows, at the sizes it shows them (the window icon, the bar's print and
// help buttons, the home window's logo and flags). Drawing them from their
// SVG at every start cost more than the rest of those windows; a picture
// asked for at any other size, or on a scaled screen, is drawn from its SVG
// as before.
#pragma once

#include <QSize>
#include <QString>

class QImage;

// The picture of an SVG resource drawn centred in a box of the given device
// pixels, keeping its proportions, on a transparent ground; nothing when it
// was not drawn ahead.
const QImage* ImmagineDisegnata(const QString& risorsa, QSize lati);
