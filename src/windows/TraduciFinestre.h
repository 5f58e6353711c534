// The language choice reaching every window.
#pragma once

class QWidget;

// Translates every window open now (the main window, its child, the floating
// windows, and ancheQuesta), in a stable order, and puts Qt's own texts in
// the same language.
void TraduciFinestreAperte(QWidget* ancheQuesta = nullptr);
