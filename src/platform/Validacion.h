#pragma once
// The Validate-with-Cancel rule of every data-entry window: a box's check runs when the
// focus is about to leave it for another control of the window, and before a button acts
// (click, Alt shortcut, function key). When the check refuses (returns false) the focus
// stays in the box and the action does not run.

#include <QObject>
#include <QPointer>
#include <functional>

class QAbstractButton;
class QWidget;

namespace zul {

class Validacion : public QObject {
    Q_OBJECT
public:
    explicit Validacion(QWidget* ventana);

    // `comprobar` returns false to keep the focus in `caja` (Cancel).
    void registrar(QWidget* caja, std::function<bool()> comprobar);
    // Connects `boton` so that `accion` runs only after the box being left accepts.
    void accion(QAbstractButton* boton, std::function<void()> accion);
    // For keys and other triggers: runs the pending check; true when the action may go on.
    bool validarAntesDeActuar();
};

}  // namespace zul
