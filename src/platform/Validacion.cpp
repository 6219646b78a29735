#include "platform/Validacion.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFocusEvent>
#include <QScopedValueRollback>
#include <QTimer>
#include <QWidget>

#include "platform/MsgBox.h"

// Qt cannot cancel a focus move, so the check runs when the box receives its FocusOut (the
// new focus widget is already known then) and, on refusal, the focus is put back while the
// box's own leave handling and the other control's entry handling are kept from running.

namespace zul {

Validacion::Validacion(QWidget* ventana) : QObject(ventana), ventana_(ventana) {
    qApp->installEventFilter(this);
}

Validacion::~Validacion() {
    if (qApp) qApp->removeEventFilter(this);
}

void Validacion::registrar(QWidget* caja, std::function<bool()> comprobar) {
    cajas_.push_back({caja, std::move(comprobar)});
    if (caja->hasFocus()) pendiente_ = caja;
}

void Validacion::accion(QAbstractButton* boton, std::function<void()> accion) {
    QPointer<QAbstractButton> b(boton);
    acciones_.emplace_back(b, accion);
    connect(boton, &QAbstractButton::clicked, this, [this, b, accion = std::move(accion)] {
        // The check already refused the focus move of this very click.
        if (b && botonRechazado_ == b) {
            botonRechazado_ = nullptr;
            return;
        }
        actuar(accion);
    });
}

bool Validacion::validarAntesDeActuar() {
    if (enCurso_) return false;
    QPointer<QWidget> caja = pendiente_;
    if (!caja) return true;
    if (!caja->isEnabled() || !caja->isVisible()) {
        pendiente_ = nullptr;
        return true;
    }
    if (!comprobar(caja)) {
        if (caja && !caja->hasFocus()) caja->setFocus(Qt::OtherFocusReason);
        return false;
    }
    // The box is fine for this action; it is due again once the action is over.
    pendiente_ = nullptr;
    QTimer::singleShot(0, this, [this, caja] {
        if (caja && !pendiente_ && caja->hasFocus()) pendiente_ = caja;
    });
    return true;
}

void Validacion::actuar(const std::function<void()>& accion) {
    if (!validarAntesDeActuar()) return;
    QScopedValueRollback<bool> guarda(enAccion_, true);
    accion();
}

QWidget* Validacion::cajaDe(QWidget* w) const {
    for (const Caja& c : cajas_)
        if (dentro(c.caja, w)) return c.caja;
    return nullptr;
}

bool Validacion::dentro(QWidget* contenedor, QWidget* w) {
    return w && contenedor && (w == contenedor || contenedor->isAncestorOf(w));
}

bool Validacion::enVentana(QWidget* w) const {
    return dentro(ventana_, w);
}

bool Validacion::comprobar(QWidget* caja) {
    for (const Caja& c : cajas_) {
        if (c.caja != caja) continue;
        QScopedValueRollback<bool> guarda(enCurso_, true);
        QScopedValueRollback<QPointer<QWidget>> cual(comprobando_, caja);
        return c.comprobar();
    }
    return true;
}

void Validacion::devolverFoco(QWidget* caja, bool nuncaSalio) {
    QScopedValueRollback<bool> guarda(restaurando_, true);
    QScopedValueRollback<QPointer<QWidget>> cual(restaurada_, caja);
    QScopedValueRollback<bool> entrada(comerEntrada_, nuncaSalio);
    caja->setFocus(Qt::OtherFocusReason);
    pendiente_ = caja;
}

bool Validacion::alSalir(QWidget* w, Qt::FocusReason razon) {
    QWidget* caja = cajaDe(w);
    if (!caja || caja != pendiente_) return false;
    if (razon == Qt::PopupFocusReason || razon == Qt::ActiveWindowFocusReason) return false;
    QWidget* destino = QApplication::focusWidget();
    if (!enVentana(destino) || dentro(caja, destino)) return false;
    if (!caja->isEnabled() || !caja->isVisible()) {
        pendiente_ = nullptr;
        return false;
    }
    QPointer<QWidget> hacia(destino);
    const quint64 cajas = CajasMostradas();
    if (comprobar(caja)) {
        pendiente_ = nullptr;
        if (razon == Qt::MouseFocusReason && CajasMostradas() != cajas) terminarClic(hacia);
        return false;
    }
    if (razon == Qt::MouseFocusReason) {
        // The press that moved the focus is still on its way to the control: swallow it.
        tragarPresion_ = true;
        QTimer::singleShot(0, this, [this] { tragarPresion_ = false; });
    }
    if (razon == Qt::ShortcutFocusReason) botonRechazado_ = qobject_cast<QAbstractButton*>(hacia);
    if (!caja->isEnabled()) {
        // The check locked its own box and sent the focus on: the box is left after all, and
        // must stop showing a caret.
        pendiente_ = nullptr;
        return false;
    }
    devolverFoco(caja, true);
    return true;  // the box keeps the focus: its leave handling must not run
}

void Validacion::terminarClic(QWidget* destino) {
    for (const auto& [boton, accion] : acciones_) {
        if (!boton || boton != destino) continue;
        // The press still on its way would leave the button down, waiting for a release that
        // the box took.
        tragarPresion_ = true;
        QTimer::singleShot(0, this, [this, b = boton, accion = accion] {
            tragarPresion_ = false;
            if (!b || !b->isEnabled() || !b->isVisible()) return;
            QScopedValueRollback<bool> guarda(enAccion_, true);
            accion();
        });
        return;
    }
}

bool Validacion::alEntrar(QWidget* w) {
    QWidget* caja = cajaDe(w);
    // The focus came back to the window on another control: the box is still due.
    if (pendiente_ && !dentro(pendiente_, w)) {
        QPointer<QWidget> due = pendiente_;
        if (due->isEnabled() && due->isVisible() && !comprobar(due)) {
            if (due) devolverFoco(due, false);
            return true;
        }
        pendiente_ = nullptr;
    }
    if (caja) pendiente_ = caja;
    return false;
}

bool Validacion::eventFilter(QObject* objeto, QEvent* evento) {
    if (!objeto->isWidgetType() || !ventana_) return false;
    auto* w = static_cast<QWidget*>(objeto);
    switch (evento->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (tragarPresion_ && enVentana(w)) {
                tragarPresion_ = false;
                return true;
            }
            botonRechazado_ = nullptr;
            return false;
        case QEvent::KeyPress:
        case QEvent::ShortcutOverride:
            botonRechazado_ = nullptr;
            return false;
        case QEvent::FocusOut:
        case QEvent::FocusIn: {
            if (!enVentana(w)) return false;
            // While the focus is put back (or a check runs), the window's other controls
            // neither enter nor leave: from their point of view nothing happened.
            if (restaurando_) return !dentro(restaurada_, w) || comerEntrada_;
            if (enCurso_) return !dentro(comprobando_, w);
            if (evento->type() == QEvent::FocusIn) {
                if (enAccion_) {
                    if (QWidget* caja = cajaDe(w)) pendiente_ = caja;
                    return false;
                }
                return alEntrar(w);
            }
            if (enAccion_) return false;
            return alSalir(w, static_cast<QFocusEvent*>(evento)->reason());
        }
        default:
            return false;
    }
}

}  // namespace zul
