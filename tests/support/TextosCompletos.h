#pragma once
// What a window shows cut off: every visible label, button, box, frame title, grid header and
// grid cell whose text does not fit the room it has, measured with the fonts in use.

#include <QSize>
#include <QStringList>

class QWidget;

namespace zul::prueba {

// One line per text that does not show whole ("Label1_3: 'Domicilio:' 52 > 48").
QStringList TextosCortados(const QWidget* ventana);

// One line per grid of the window whose columns run past what it shows, so that a row can only
// be read with the scroll bar ("Grilla: columnas 452 > 318").
QStringList GrillasAnchas(const QWidget* ventana);

// One line per control that runs past the edge of the window or of the control holding it, so
// that its end is not seen ("texto_0: fuera 612 > 480"). Lists and work areas that scroll what
// they hold are not looked into.
QStringList FueraDeLaVentana(const QWidget* ventana);

// One line per box that shows its text without the beginning, as no box filled for the clerk
// may ("texto_1: 'Avenida General ...' desde 'nida General ...'").
QStringList PrincipiosOcultos(const QWidget* ventana);

// One line per control that does not show whole where the clerk sees it: inside the visible part
// of the main window's work area for a window shown there, on the screen's free area for any
// other ("btnGrabar: fuera del área 218,704 126x24 en 2,80 1348x594", on the screen). The window
// itself counts as a control, with its frame.
QStringList FueraDelArea(const QWidget* ventana);

// Runs the current test row in a program of its own on a screen of `pantalla` with a taskbar,
// unless this program's screen is already that one. True: the row is to be measured here.
// False: it ran in the other program, and its failures were reported as this row's.
bool EnPantalla(const QSize& pantalla);

}  // namespace zul::prueba
