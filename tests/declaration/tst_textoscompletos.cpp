// The declaration window and the period lookup hold their texts whole with long, realistic
// values: names with accents and apostrophes, amounts up to 99.999.999,99, full dates and
// 13-character CUILs. Measured with the fonts the windows use.

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <memory>

#include "app/Menu.h"
#include "common/Globales.h"
#include "declaration/frmDecJurada.h"
#include "lookup/NueCons.h"
#include "platform/Grid.h"
#include "platform/MsgBox.h"
#include "platform/Ventana.h"
#include "support/BaseDePrueba.h"
#include "support/TextosCompletos.h"

using namespace zul;

namespace {

void DatosLargos(const prueba::BaseDePrueba& b) {
    b.ejecutar(
        "INSERT INTO Empresa (Emp_Id, Emp_Nombre, Emp_Domicilio, Emp_Localidad, Emp_CUIT, "
        "Emp_Telefono) VALUES (1, 'Núñez D''Alessandro Hermanos S.R.L.', "
        "'Av. Corrientes 1234, 5º \"B\"', 'San Fernando del Valle de Catamarca', "
        "'30-71234567-1', '(0383) 445-5667 int. 123')");
    b.ejecutar(
        "UPDATE Empresa SET emp_emaild='liquidaciones.estudio@ejemplo.com.ar' WHERE emp_id=0");
    b.ejecutar(
        "INSERT INTO Categoria (Cat_Id, Cat_Nombre) VALUES "
        "('1', 'Maestranza y Servicios Generales B'), ('2', 'Administrativo de Primera A')");
    b.ejecutar(
        "INSERT INTO Empleado (Ado_Id, Ado_Nombre, Ado_FechaNac, Ado_Cuil, Ado_FechaIng, "
        "Ado_Sueldo, Ado_Categoria, Ado_Aporte2, Ado_Aporte25, Ado_Aporte1, Ado_AporteCS, "
        "Ado_Afiliado, Ado_FechaEgreso, ado_IdEmpresa, Ado_Remunera, Ado_noRemunera) VALUES "
        "(2147483, 'Núñez D''Alessandro, María de los Ángeles', #12/31/1988#, '27-18777666-5', "
        "#10/05/1998#, 99999999.99, '1', -1, -1, -1, -1, -1, NULL, 1, 99999999.99, "
        "88888888.88),"
        "(2, 'Ibáñez Peña, José Luis', #08/28/1970#, '20-22333444-9', #02/28/2001#, "
        "123456.78, '2', -1, 0, -1, -1, 0, NULL, 1, NULL, NULL),"
        "(3, 'Güemes O''Connor, Ana Inés', NULL, '27-33444555-0', #01/02/2015#, 1000000, '2', "
        "0, 0, 0, 0, 0, #04/30/2024#, 1, NULL, NULL)");
    b.ejecutar(
        "INSERT INTO PrestamoCuota (pcu_idPrestamo, pcu_nrocuota, pcu_idempleado, "
        "pcu_importe, pcu_fechaven, pcu_IdEmpresa) VALUES (1, 1, 2147483, 99999999.99, "
        "#05/10/2024#, 1)");
}

}  // namespace

class TstTextosCompletos : public QObject {
    Q_OBJECT

  private slots:
    // Alone, and opened from the main window on the screens the clerks have: the main window
    // as it opens or maximised, then grown as far as the screen allows to show the window.
    void ventanaDeclaracion_data() {
        QTest::addColumn<QString>("periodo");
        QTest::addColumn<QSize>("pantalla");  // none: the window alone on this screen
        QTest::addColumn<bool>("maximizada");
        QTest::newRow("declaración nueva") << "05/2024" << QSize() << false;
        QTest::newRow("sin empleados") << "__/____" << QSize() << false;
        // 1093x614: 1366x768 at 125 %.
        for (const QSize& p : {QSize(1366, 768), QSize(1280, 1024), QSize(1093, 614)}) {
            const QByteArray tam =
                QByteArray::number(p.width()) + 'x' + QByteArray::number(p.height());
            QTest::newRow("en " + tam) << "05/2024" << p << false;
            QTest::newRow("en " + tam + ", principal maximizada") << "05/2024" << p << true;
        }
    }

    void ventanaDeclaracion() {
        QFETCH(QString, periodo);
        QFETCH(QSize, pantalla);
        QFETCH(bool, maximizada);
        if (pantalla.isValid() && !prueba::EnPantalla(pantalla)) return;
        prueba::BaseDePrueba base;
        DatosLargos(base);
        std::unique_ptr<Menu> m;
        QPointer<frmDecJurada> w;
        if (pantalla.isValid()) {
            m = std::make_unique<Menu>();
            QVERIFY(m->MDIForm_Load());
            maximizada ? m->showMaximized() : m->show();
            QVERIFY(QTest::qWaitForWindowExposed(m.get()));
            IdEmpresa = 1;
            m->mnuDDJJ_Click();
            w = VentanaCargada<frmDecJurada>();
            QVERIFY(w);
            // However it had to fit, the clerk starts with the period and Tab goes on in order.
            QCOMPARE(QApplication::focusWidget(), w->mskPeriodo());
            QTest::keyClick(w->mskPeriodo(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), w->texto(14));
        } else {
            IdEmpresa = 1;
            w = new frmDecJurada;
            w->show();
            QVERIFY(QTest::qWaitForWindowExposed(w));
        }
        w->mskPeriodo()->setText(periodo);
        w->mskPeriodo_Validate();
        w->texto(14)->setText("10/06/2024");
        w->texto(15)->setText("99999999");
        w->texto(16)->setText("99999,99");
        // A leaver typed by code, and the empty row after it.
        const int nueva = w->Grilla2()->Rows() - 1;
        w->Grilla2()->setTextoClave(nueva, "codigo", "2");
        w->Grilla2_AfterEdit(nueva, 0);
        w->Grilla2()->setTextoClave(nueva, "FechaEgreso", "30/04/2024");
        w->Grilla2_AfterEdit(nueva, w->Grilla2()->ColIndex("FechaEgreso"));
        QApplication::processEvents();
        QStringList cortados = prueba::TextosCortados(w);
        if (pantalla.isValid()) cortados << prueba::FueraDelArea(w) << prueba::FueraDeLaVentana(w);
        QVERIFY2(cortados.isEmpty(), qPrintable(cortados.join('\n')));
        if (!m) delete w;
    }

    // The company's texts longer than their boxes show from their beginning.
    void principioALaVista_data() {
        QTest::addColumn<QString>("campo");
        QTest::addColumn<QString>("valor");
        QTest::newRow("domicilio") << "Emp_Domicilio"
                                   << "Avenida General Enrique Mosconi 2345, Barrio Parque Los "
                                      "Aromos, Lote 12 - Manzana F";
        QTest::newRow("razón social") << "Emp_Nombre"
                                      << "Cooperativa de Trabajo y Consumo Núñez D''Alessandro, "
                                         "Ibáñez & Asociados Limitada";
        QTest::newRow("localidad") << "Emp_Localidad"
                                   << "San Fernando del Valle de Catamarca, Departamento Capital, "
                                      "Provincia de Catamarca";
    }

    void principioALaVista() {
        QFETCH(QString, campo);
        QFETCH(QString, valor);
        prueba::BaseDePrueba base;
        DatosLargos(base);
        base.ejecutar("UPDATE Empresa SET " + campo + "='" + valor + "' WHERE Emp_Id=1");
        Menu m;
        QVERIFY(m.MDIForm_Load());
        m.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        IdEmpresa = 1;
        m.mnuDDJJ_Click();
        QWidget* w = VentanaCargada<frmDecJurada>();
        QVERIFY(w);
        QApplication::processEvents();
        const QStringList ocultos = prueba::PrincipiosOcultos(w);
        QVERIFY2(ocultos.isEmpty(), qPrintable(ocultos.join('\n')));
    }

    // "general" puts numbers right, "Afil." is centred, the rest stays left; yes/no columns
    // are check boxes.
    void alineacionDeLasColumnas_data() {
        QTest::addColumn<QString>("grilla");
        QTest::addColumn<QString>("clave");
        QTest::addColumn<int>("alineacion");
        QTest::addColumn<bool>("casilla");
        const int izquierda = Qt::AlignLeft, derecha = Qt::AlignRight, centro = Qt::AlignHCenter;
        QTest::newRow("código") << "Grilla"
                                << "Codigo" << izquierda << false;
        QTest::newRow("sueldo") << "Grilla"
                                << "Sueldo" << izquierda << false;
        QTest::newRow("remunerativo") << "Grilla"
                                      << "remunera" << derecha << false;
        QTest::newRow("no remunerativo") << "Grilla"
                                         << "noremunera" << derecha << false;
        QTest::newRow("2 %") << "Grilla"
                             << "Aporte2" << izquierda << true;
        QTest::newRow("afiliado") << "Grilla"
                                  << "afiliado" << centro << true;
        QTest::newRow("cuota social") << "Grilla"
                                      << "CuotaSoc" << derecha << true;
        QTest::newRow("préstamo") << "Grilla"
                                  << "prestamo" << derecha << false;
        QTest::newRow("nombre") << "Grilla"
                                << "Nombre" << izquierda << false;
        QTest::newRow("sueldo de baja") << "Grilla2"
                                        << "Sueldo" << izquierda << false;
        QTest::newRow("categoría de baja") << "Grilla2"
                                           << "IdCatego" << derecha << false;
    }

    void alineacionDeLasColumnas() {
        QFETCH(QString, grilla);
        QFETCH(QString, clave);
        QFETCH(int, alineacion);
        QFETCH(bool, casilla);
        prueba::BaseDePrueba base;
        DatosLargos(base);
        IdEmpresa = 1;
        QPointer<frmDecJurada> w = new frmDecJurada;
        w->mskPeriodo()->setText("05/2024");
        w->mskPeriodo_Validate();
        Grid* g = w->findChild<Grid*>(grilla);
        const int col = g->ColIndex(clave);
        // The row of the employee who has every amount, on either list.
        const int fila = g->FindRow(grilla == "Grilla" ? "2147483" : "3", 1, 0);
        QVERIFY(fila > 0);
        QCOMPARE(int(g->CellAlignment(fila, col) & Qt::AlignHorizontal_Mask), alineacion);
        QCOMPARE(g->ColCasilla(col), casilla);
        delete w;
    }

    void consultaDePeriodos() {
        prueba::BaseDePrueba base;
        DatosLargos(base);
        base.ejecutar(
            "INSERT INTO DDJJ (DDJJ_Id, DDJJ_Periodo, DDJJ_NroIns, ddjj_idempresa) VALUES "
            "(1, #12/01/2023#, 1, 1), (2, #11/01/2024#, 1, 1)");
        IdEmpresa = 1;
        QPointer<frmDecJurada> w = new frmDecJurada;
        w->show();
        QStringList cortados;
        bool visto = false;
        NueCons::alMostrar = [&](NueCons& d) {
            visto = true;
            cortados = prueba::TextosCortados(&d);
            d.close();
        };
        QTest::keyClick(w->mskPeriodo(), Qt::Key_F2);
        NueCons::alMostrar = nullptr;
        QVERIFY(visto);
        QVERIFY2(cortados.isEmpty(), qPrintable(cortados.join('\n')));
        delete w;
    }
};

QTEST_MAIN(TstTextosCompletos)
#include "tst_textoscompletos.moc"
