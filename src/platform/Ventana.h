#pragma once
// Small services every window uses: twips, centring, the open windows, the MDI frame.

#include <QString>

class QWidget;

namespace zul {

// The sizes of the window layouts are in twips; 15 twips make one pixel.
constexpr int Twips(int twips) { return twips / 15; }

void Centrar(QWidget* ventana);
// Windows loaded now: the main window and every window open in it or beside it.
int VentanasCargadas();
// The main window (objectName "Menu"), or null (tests that open a window alone).
QWidget* VentanaPrincipal();
// Shows a modeless window inside the main window's frame (or on its own when there is none)
// and brings it to the front.
void MostrarVentana(QWidget* ventana);

}  // namespace zul
