#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "app/Menu.h"
#include "app/SelEmpresa.h"
#include "common/Globales.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "platform/MsgBox.h"
#include "platform/Ventana.h"
#include "support/BaseDePrueba.h"

using namespace zul;

namespace {

const QString Titulo = QStringLiteral("ZUL - Telvaro Declaración Jurada");

bool empresas(const prueba::BaseDePrueba& base) {
    base.ejecutar("INSERT INTO Empresa (Emp_Id, Emp_Nombre) VALUES (7, 'Siete SA')");
    base.ejecutar("INSERT INTO Empresa (Emp_Id, Emp_Nombre) VALUES (42, 'D''Angelo SRL')");
    base.ejecutar("INSERT INTO Empresa (Emp_Id, Emp_Nombre) VALUES (123, 'Ciento Veintitrés')");
    return true;
}

// A database (with or without the three companies), the main window and the selection window.
struct Escena {
    explicit Escena(bool sembrar = true) : conEmpresas(sembrar && empresas(base)) {
        principal.show();
        ventana.setAttribute(Qt::WA_DeleteOnClose, false);
        ventana.show();
    }
    bool lista() { return QTest::qWaitForWindowExposed(&ventana); }
    int guardada() const {
        return base.valor("SELECT emp_empresanro FROM Empresa WHERE emp_id=0").toInt();
    }

    // The companies go in before the window loads its list.
    prueba::BaseDePrueba base;
    bool conEmpresas;
    Menu principal;
    SelEmpresa ventana;
};

QStringList marcas(Grid* g) {
    QStringList m;
    for (int r = 0; r < g->Rows(); ++r) m << g->TextoClave(r, "Seleccion");
    return m;
}

}  // namespace

class TstSelEmpresa : public QObject {
    Q_OBJECT

    static void elegir(SelEmpresa& ventana, int fila) {
        ventana.Grilla->setRow(fila);
        QTest::mouseClick(ventana.bnuevo, Qt::LeftButton);
    }

  private slots:
    void listaConNumerosAlineados() {
        prueba::BaseDePrueba base;
        empresas(base);
        SelEmpresa ventana;
        QCOMPARE(ventana.objectName(), QString("SelEmpresa"));
        QCOMPARE(ventana.windowTitle(), QString("Selección de Empresa"));
        Grid* g = ventana.Grilla;
        QCOMPARE(g->Rows(), 3);
        QCOMPARE(g->TextoClave(0, "nombre"), QString("   7 - Siete SA"));
        QCOMPARE(g->TextoClave(1, "nombre"), QString(" 42 - D'Angelo SRL"));
        QCOMPARE(g->TextoClave(2, "nombre"), QString("123 - Ciento Veintitrés"));
        QCOMPARE(g->TextoClave(2, "codigo"), QString("123"));
        QVERIFY(g->isColumnHidden(g->ColIndex("codigo")));
        QCOMPARE(g->ColWidth(g->ColIndex("Seleccion")), 255);

        // No current company, or one not in the list: nothing marked, first row current.
        ventana.show();
        QVERIFY(QTest::qWaitForWindowExposed(&ventana));
        QCOMPARE(marcas(g), QStringList({"", "", ""}));
        QCOMPARE(g->Row(), 0);
        IdEmpresa = 99;
        ventana.MarcarEmpresaActual();
        QCOMPARE(marcas(g), QStringList({"", "", ""}));
        QCOMPARE(g->Row(), 0);
    }

    void seleccionarGuardaMarcaYTitula() {
        Escena e;
        QVERIFY(e.lista());
        SelEmpresa& ventana = e.ventana;
        Grid* g = ventana.Grilla;

        elegir(ventana, 1);
        QCOMPARE(IdEmpresa, 42);
        QCOMPARE(e.guardada(), 42);
        QCOMPARE(marcas(g), QStringList({"", "->", ""}));
        QVERIFY(g->CellFontBold(1, 0));
        QCOMPARE(g->CellForeColor(1, 0), QColor(0, 0, 250));
        QCOMPARE(g->Row(), 1);
        QVERIFY(g->Redraw());
        // Two blanks before the dash and the padded number, unlike the start-up title.
        QCOMPARE(e.principal.windowTitle(), Titulo + "  - Empresa:  42 - D'Angelo SRL");

        elegir(ventana, 0);
        QCOMPARE(IdEmpresa, 7);
        QCOMPARE(marcas(g), QStringList({"->", "", ""}));
        QCOMPARE(e.principal.windowTitle(), Titulo + "  - Empresa:    7 - Siete SA");
        QVERIFY(ventana.isVisible());  // the window stays open
        QVERIFY(msgbox_prueba::mostrados().isEmpty());

        // A new activation marks the company again.
        IdEmpresa = 123;
        ventana.Form_Activate();
        QCOMPARE(marcas(g), QStringList({"", "", "->"}));
        QCOMPARE(g->Row(), 2);
    }

    void rechazaConOtraVentanaAbierta() {
        Escena e;
        QVERIFY(e.lista());
        SelEmpresa& ventana = e.ventana;
        elegir(ventana, 2);
        QCOMPARE(IdEmpresa, 123);

        QWidget tercera;
        tercera.setWindowTitle("Acerca de");
        tercera.show();
        elegir(ventana, 0);
        const auto mensajes = msgbox_prueba::mostrados();
        QCOMPARE(mensajes.size(), 1);
        QCOMPARE(mensajes.at(0).texto,
                 QString("Cierre todas las ventanas del sistema antes de seleccionar una nueva "
                         "empresa"));
        QCOMPARE(mensajes.at(0).estilo, 48);
        QCOMPARE(mensajes.at(0).titulo, QString("Mensaje"));
        QCOMPARE(IdEmpresa, 123);
        QCOMPARE(e.guardada(), 123);
        QCOMPARE(marcas(ventana.Grilla), QStringList({"", "", "->"}));
        QCOMPARE(e.principal.windowTitle(), Titulo + "  - Empresa: 123 - Ciento Veintitrés");

        tercera.close();
        elegir(ventana, 0);
        QCOMPARE(IdEmpresa, 7);
    }

    // The choice survives a restart: the main window's load reads it back.
    void reiniciarRetomaLaEmpresa() {
        Escena e;
        QVERIFY(e.lista());
        elegir(e.ventana, 1);
        QTest::mouseClick(e.ventana.bSalir, Qt::LeftButton);
        QVERIFY(!e.ventana.isVisible());
        e.principal.close();

        // Next start: a fresh connection, no company in memory, a new main window.
        Database::closeShared();
        IdEmpresa = 0;
        Menu principal;
        QVERIFY(principal.MDIForm_Load());
        QCOMPARE(IdEmpresa, 42);
        // The start-up title has its own spacing: one blank before the dash, no padding.
        QCOMPARE(principal.windowTitle(), Titulo + " - Empresa: 42 - D'Angelo SRL");
        SelEmpresa ventana;
        ventana.show();
        QVERIFY(QTest::qWaitForWindowExposed(&ventana));
        QCOMPARE(marcas(ventana.Grilla), QStringList({"", "->", ""}));
    }

    // Opened in the main window's frame: activating its frame re-marks, "&Salir" closes it.
    void dentroDeLaVentanaPrincipal() {
        prueba::BaseDePrueba base;
        empresas(base);
        Menu principal;
        principal.show();
        QVERIFY(QTest::qWaitForWindowExposed(&principal));
        QPointer<SelEmpresa> ventana = new SelEmpresa;
        MostrarVentana(ventana);
        auto* marco = qobject_cast<QMdiSubWindow*>(ventana->parentWidget());
        QVERIFY(marco);
        QCOMPARE(VentanasCargadas(), 2);
        elegir(*ventana, 2);
        QCOMPARE(IdEmpresa, 123);

        auto* otra = new QWidget;
        otra->setObjectName("otra");
        MostrarVentana(otra);
        QCOMPARE(VentanasCargadas(), 3);
        IdEmpresa = 7;
        principal.Area()->setActiveSubWindow(marco);
        QCOMPARE(marcas(ventana->Grilla), QStringList({"->", "", ""}));
        qobject_cast<QMdiSubWindow*>(otra->parentWidget())->close();

        QTest::mouseClick(ventana->bSalir, Qt::LeftButton);
        QTRY_VERIFY(!ventana);
        QTRY_COMPARE(VentanasCargadas(), 1);
    }

    void sinEmpresasSeleccionarNoHaceNada() {
        Escena e(false);
        QVERIFY(e.lista());
        SelEmpresa& ventana = e.ventana;
        QCOMPARE(ventana.Grilla->Rows(), 0);
        QTest::mouseClick(ventana.bnuevo, Qt::LeftButton);
        QCOMPARE(IdEmpresa, 0);
        QVERIFY(e.base.valor("SELECT emp_empresanro FROM Empresa WHERE emp_id=0").isNull());
        QCOMPARE(e.principal.windowTitle(), Titulo);
        QVERIFY(msgbox_prueba::mostrados().isEmpty());

        // An empty row (no company in it) is not a choice either.
        ventana.Grilla->AddItem();
        ventana.Grilla->setRow(0);
        QTest::mouseClick(ventana.bnuevo, Qt::LeftButton);
        QCOMPARE(IdEmpresa, 0);
    }
};

QTEST_MAIN(TstSelEmpresa)
#include "tst_selempresa.moc"
