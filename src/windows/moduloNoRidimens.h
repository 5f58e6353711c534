// The size lock of the main window: it can be moved, never resized.
#pragma once

class QWidget;

// Fixes the window at its present size: borders, maximizing and any request
// for a new size leave it as designed; moving it still works.
void BloccaDimensioni(QWidget* finestra);
