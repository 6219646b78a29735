#pragma once
// Small services every window uses: twips, centring, the open windows, the MDI frame.

#include <QFont>
#include <QList>
#include <QString>

class QLineEdit;
class QWidget;

namespace zul {

// The sizes of the window layouts are in twips; 15 twips make one pixel.
constexpr int kTwipsPorPixel = 15;
constexpr int Twips(int twips) {
    return twips / kTwipsPorPixel;
}

// The windows' type: the 8-point sans serif the layouts were drawn for, in the face with
// Arial's metrics that the setup installs (Tahoma and MS Sans Serif do not exist here).
QFont FuenteVentana();

// The width a text box needs to show `texto` whole in its own font, the cursor after it
// included; and the width for `letras` characters of ordinary text.
int AnchoParaMostrar(const QLineEdit* caja, const QString& texto);
int AnchoParaLetras(const QLineEdit* caja, int letras);

// The widest a window's contents can be and still show whole: the screen's width less the main
// window's borders and the frame a window gets inside it.
int AnchoMaximoVentana(const QWidget* ventana);

// Centres a window: an MDI child in the frame's work area, any other window on the screen.
void Centrar(QWidget* ventana);
// A control the user types into or acts on: shown, enabled, reached with Tab, and not a box
// that only shows a value.
bool TomaEntrada(const QWidget* control);
// Puts the focus in `control` ready to type over: a text box's whole text selected, as when a
// window opens (also when the focus was already there).
void EnfocarParaEscribir(QWidget* control);
// Enter, of either key, on one of the window's command buttons presses it, as Space does.
// Buttons keep no default role: Enter elsewhere in a dialog never presses a button.
void EnterPulsaBotones(QWidget* ventana);
// A box of fixed width, always full of its characters and blanks (an input mask, the date
// template): a click or End never leaves the caret where nothing can be typed (past the first
// blank, or behind the last character), and a click in a full box selects its text, as the
// opening of a window does, so the digits typed next replace it.
void InstalarCajaFija(QLineEdit* caja);
// Windows loaded now: the main window and every window open in it or beside it.
int VentanasCargadas();
// The loaded windows other than the main window (the widgets, not their MDI frames).
QList<QWidget*> VentanasAbiertas();
// The main window (objectName "Menu"), or null (tests that open a window alone).
QWidget* VentanaPrincipal();
// Shows a modeless window inside the main window's frame (or on its own when there is none)
// and brings it to the front. The window is destroyed when it is closed. A window opened anew
// is ready to type: the focus in its first control that takes input, its text selected, and
// Enter on a command button presses it.
void MostrarVentana(QWidget* ventana);

// Shows a window modal over `duenio`'s window, ready to type as above, and returns once it is
// closed (and destroyed).
void MostrarModal(QWidget* ventana, QWidget* duenio);

// The loaded window of class T, or null: one instance per window kind.
template <class T>
T* VentanaCargada() {
    for (QWidget* w : VentanasAbiertas())
        if (T* t = qobject_cast<T*>(w)) return t;
    return nullptr;
}

}  // namespace zul
