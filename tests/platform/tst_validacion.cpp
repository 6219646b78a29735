#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/MsgBox.h"
#include "platform/Validacion.h"
#include "support/Teclear.h"

using namespace zul;

namespace {

// Counts the focus events a control really handles.
class Contador : public QObject {
  public:
    int entradas = 0;
    int salidas = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::FocusIn) ++entradas;
        if (e->type() == QEvent::FocusOut) ++salidas;
        return false;
    }
};

struct Ventana {
    QWidget w;
    QLineEdit* caja = new QLineEdit(&w);
    QLineEdit* otra = new QLineEdit(&w);
    QPushButton* grabar = new QPushButton(QStringLiteral("&Grabar"), &w);
    QToolButton* sinFoco = new QToolButton(&w);
    Validacion* v = new Validacion(&w);
    bool acepta = false;
    bool avisa = false;  // says something even when it accepts
    int controles = 0;
    int acciones = 0;

    Ventana() {
        auto* l = new QVBoxLayout(&w);
        for (QWidget* c : {static_cast<QWidget*>(caja), static_cast<QWidget*>(otra),
                           static_cast<QWidget*>(grabar), static_cast<QWidget*>(sinFoco)})
            l->addWidget(c);
        sinFoco->setFocusPolicy(Qt::NoFocus);
        v->registrar(caja, [this] {
            ++controles;
            if (!acepta || avisa)
                MsgBox(QStringLiteral("Debe ingresar el dato"), 48, QStringLiteral("AVISO"));
            return acepta;
        });
        v->accion(grabar, [this] { ++acciones; });
        v->accion(sinFoco, [this] { ++acciones; });
        auto* f3 = new QShortcut(QKeySequence(Qt::Key_F3), &w);
        QObject::connect(f3, &QShortcut::activated, v,
                         [this] { v->actuar([this] { ++acciones; }); });
        w.show();
        w.activateWindow();
        if (!QTest::qWaitForWindowActive(&w)) qWarning("window not active");
        caja->setFocus();
        msgbox_prueba::activar();
        msgbox_prueba::limpiar();
    }
    int mensajes() const { return static_cast<int>(msgbox_prueba::mostrados().size()); }
};

}  // namespace

class TstValidacion : public QObject {
    Q_OBJECT
  private slots:
    void tabulacionRechazadaDejaElFocoYNoSaleNiEntra();
    void tabulacionAceptadaSigue();
    void clicEnBotonRechazadoNoActuaYAvisaUnaVez();
    void clicEnBotonAceptadoActuaConUnSoloControl();
    void atajoAltYTeclaDeFuncion();
    void botonSinFocoControlaAntesDeActuar();
    void clicEnOtraCajaRechazadoNoMueveElCursor();
    void elFocoQueMueveLaAccionNoVuelveAControlar();
    void cajaDeshabilitadaNoSeControla();
    void aceptadoConAvisoNoPierdeElClic_data();
    void aceptadoConAvisoNoPierdeElClic();
};

void TstValidacion::tabulacionRechazadaDejaElFocoYNoSaleNiEntra() {
    Ventana v;
    Contador enCaja, enOtra;
    v.caja->installEventFilter(&enCaja);
    v.otra->installEventFilter(&enOtra);
    QTest::keyClick(v.caja, Qt::Key_Tab);
    QVERIFY(v.caja->hasFocus());
    QCOMPARE(v.controles, 1);
    QCOMPARE(v.mensajes(), 1);
    // The refused move is invisible to both controls: no leave handling, no entry handling.
    QCOMPARE(enCaja.salidas, 0);
    QCOMPARE(enOtra.entradas, 0);
    QCOMPARE(enOtra.salidas, 0);
    // A second try checks again (a new user action).
    QTest::keyClick(v.caja, Qt::Key_Tab);
    QCOMPARE(v.controles, 2);
}

void TstValidacion::tabulacionAceptadaSigue() {
    Ventana v;
    v.acepta = true;
    QTest::keyClick(v.caja, Qt::Key_Tab);
    QVERIFY(v.otra->hasFocus());
    QCOMPARE(v.controles, 1);
    // Leaving a box that is not registered checks nothing; coming back makes it due again.
    QTest::keyClick(v.otra, Qt::Key_Tab);
    QCOMPARE(v.controles, 1);
    v.caja->setFocus(Qt::TabFocusReason);
    QTest::keyClick(v.caja, Qt::Key_Tab);
    QCOMPARE(v.controles, 2);
}

void TstValidacion::clicEnBotonRechazadoNoActuaYAvisaUnaVez() {
    Ventana v;
    QTest::mouseClick(v.grabar, Qt::LeftButton);
    QVERIFY(v.caja->hasFocus());
    QCOMPARE(v.acciones, 0);
    QCOMPARE(v.controles, 1);
    QCOMPARE(v.mensajes(), 1);
    QVERIFY(!v.grabar->isDown());
}

void TstValidacion::clicEnBotonAceptadoActuaConUnSoloControl() {
    Ventana v;
    v.acepta = true;
    QTest::mouseClick(v.grabar, Qt::LeftButton);
    QCOMPARE(v.acciones, 1);
    QCOMPARE(v.controles, 1);
    QVERIFY(v.grabar->hasFocus());
}

void TstValidacion::atajoAltYTeclaDeFuncion() {
    Ventana v;
    QTest::keyClick(v.caja, Qt::Key_G, Qt::AltModifier);
    QTRY_COMPARE(v.controles, 1);
    QTest::qWait(200);  // the shortcut's animated click
    QCOMPARE(v.acciones, 0);
    QCOMPARE(v.mensajes(), 1);
    QVERIFY(v.caja->hasFocus());

    QTest::keyClick(v.caja, Qt::Key_F3);
    QCOMPARE(v.controles, 2);
    QCOMPARE(v.acciones, 0);

    v.acepta = true;
    QTest::keyClick(v.caja, Qt::Key_G, Qt::AltModifier);
    QTRY_COMPARE(v.acciones, 1);
    QCOMPARE(v.controles, 3);
    QTest::keyClick(v.caja, Qt::Key_F3);
    QCOMPARE(v.acciones, 2);
    QCOMPARE(v.controles, 4);
    QCOMPARE(v.mensajes(), 2);
}

void TstValidacion::botonSinFocoControlaAntesDeActuar() {
    Ventana v;
    QTest::mouseClick(v.sinFoco, Qt::LeftButton);
    QCOMPARE(v.controles, 1);
    QCOMPARE(v.acciones, 0);
    v.acepta = true;
    QTest::mouseClick(v.sinFoco, Qt::LeftButton);
    QCOMPARE(v.controles, 2);
    QCOMPARE(v.acciones, 1);
    QVERIFY(v.caja->hasFocus());
}

void TstValidacion::clicEnOtraCajaRechazadoNoMueveElCursor() {
    Ventana v;
    v.otra->setText(QStringLiteral("abcdef"));
    v.otra->setCursorPosition(0);
    QTest::mouseClick(v.otra, Qt::LeftButton, {}, QPoint(v.otra->width() - 5, 5));
    QVERIFY(v.caja->hasFocus());
    QCOMPARE(v.otra->cursorPosition(), 0);
    QCOMPARE(v.controles, 1);
}

void TstValidacion::elFocoQueMueveLaAccionNoVuelveAControlar() {
    Ventana v;
    v.acepta = true;
    // The action moves the focus elsewhere and back, as a window resetting its boxes does.
    QObject::disconnect(v.sinFoco, nullptr, nullptr, nullptr);
    v.v->accion(v.sinFoco, [&v] {
        v.otra->setFocus(Qt::OtherFocusReason);
        v.caja->setFocus(Qt::OtherFocusReason);
        ++v.acciones;
    });
    QTest::mouseClick(v.sinFoco, Qt::LeftButton);
    QCOMPARE(v.acciones, 1);
    QCOMPARE(v.controles, 1);
    // Afterwards the box is due again.
    QTest::keyClick(v.caja, Qt::Key_Tab);
    QCOMPARE(v.controles, 2);
}

void TstValidacion::cajaDeshabilitadaNoSeControla() {
    Ventana v;
    v.caja->setEnabled(false);
    QVERIFY(!v.caja->hasFocus());
    QTest::mouseClick(v.sinFoco, Qt::LeftButton);
    QCOMPARE(v.controles, 0);
    QCOMPARE(v.acciones, 1);
}

// A box shown while the button is held takes the release; the click still acts, once.
void TstValidacion::aceptadoConAvisoNoPierdeElClic_data() {
    QTest::addColumn<bool>("avisa");
    QTest::newRow("con aviso") << true;
    QTest::newRow("sin aviso") << false;
}

void TstValidacion::aceptadoConAvisoNoPierdeElClic() {
    QFETCH(bool, avisa);
    Ventana v;
    v.acepta = true;
    v.avisa = avisa;
    prueba::Clic(v.grabar);
    QTRY_COMPARE(v.acciones, 1);
    QTest::qWait(50);
    QCOMPARE(v.acciones, 1);
    QCOMPARE(v.controles, 1);
    QCOMPARE(v.mensajes(), avisa ? 1 : 0);
    QVERIFY(!v.grabar->isDown());
}

QTEST_MAIN(TstValidacion)
#include "tst_validacion.moc"
