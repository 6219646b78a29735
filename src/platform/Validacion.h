#pragma once
// The Validate-with-Cancel rule of every data-entry window: a box's check runs when the
// focus is about to leave it for another control of the window, and before a button acts
// (click, Alt shortcut, function key). When the check refuses (returns false) the focus
// stays in the box and the action does not run. One user action runs a check at most once.
// A check that accepts after showing a message box does not cost the click that moved the
// focus: the box took the mouse release, so the button's action is run here instead.

#include <QObject>
#include <QPointer>
#include <functional>
#include <utility>
#include <vector>

class QAbstractButton;
class QWidget;

namespace zul {

class Validacion : public QObject {
    Q_OBJECT
  public:
    explicit Validacion(QWidget* ventana);
    ~Validacion() override;

    // `comprobar` returns false to keep the focus in `caja` (Cancel).
    void registrar(QWidget* caja, std::function<bool()> comprobar);
    // Connects `boton` so that `accion` runs only after the box being left accepts.
    void accion(QAbstractButton* boton, std::function<void()> accion);
    // For keys and other triggers: runs the pending check; true when the action may go on.
    bool validarAntesDeActuar();
    // validarAntesDeActuar, then `accion`; focus moves made by the action check nothing.
    void actuar(const std::function<void()>& accion);

  protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

  private:
    struct Caja {
        QPointer<QWidget> caja;
        std::function<bool()> comprobar;
    };
    QWidget* cajaDe(QWidget* w) const;
    static bool dentro(QWidget* contenedor, QWidget* w);
    bool enVentana(QWidget* w) const;
    bool comprobar(QWidget* caja);
    void devolverFoco(QWidget* caja, bool nuncaSalio);
    bool alSalir(QWidget* w, Qt::FocusReason razon);
    bool alEntrar(QWidget* w);
    void terminarClic(QWidget* destino);

    QPointer<QWidget> ventana_;
    std::vector<Caja> cajas_;
    std::vector<std::pair<QPointer<QAbstractButton>, std::function<void()>>> acciones_;
    QPointer<QWidget> pendiente_;       // the box whose check is due when the focus leaves it
    QPointer<QWidget> botonRechazado_;  // its focus move was refused: its click is the same act
    bool tragarPresion_ = false;        // the mouse press whose click is settled already
    bool enCurso_ = false;
    bool enAccion_ = false;
    bool restaurando_ = false;
    bool comerEntrada_ = false;
    QPointer<QWidget> comprobando_;
    QPointer<QWidget> restaurada_;
};

}  // namespace zul
