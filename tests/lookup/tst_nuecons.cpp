#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

#include "common/Globales.h"
#include "lookup/ModConsu.h"
#include "lookup/NueCons.h"
#include "platform/Grid.h"
#include "platform/MsgBox.h"
#include "support/BaseDePrueba.h"

using namespace zul;

namespace {
const QString kBase =
    "SELECT month(DDJJ_Periodo) as Mes, year(DDJJ_Periodo) as Año,DDJJ_Periodo  FROM DDJJ "
    "where  ddjj_IdEmpresa=3";
}

class TstNueCons : public QObject {
    Q_OBJECT

    static void declaraciones(const prueba::BaseDePrueba& base) {
        base.ejecutar(
            "INSERT INTO DDJJ (DDJJ_Id, DDJJ_Periodo, ddjj_idempresa) VALUES "
            "(1, #03/01/2024#, 3), (2, #11/01/2023#, 3), (3, #05/01/2024#, 4), "
            "(4, #01/01/2024#, 3)");
    }

  private slots:
    void busquedaPorMesYAnioDentroDelWhere() {
        QCOMPARE(ConsultaBusqueda(kBase, "Mes", tcEntero, "3", 0),
                 "SELECT month(DDJJ_Periodo) as Mes, year(DDJJ_Periodo) as Año,DDJJ_Periodo  "
                 "FROM DDJJ where month(DDJJ_Periodo)=3 AND  ddjj_IdEmpresa=3 ORDER BY "
                 "month(DDJJ_Periodo)");
        QCOMPARE(ConsultaBusqueda(kBase, "Año", tcEntero, "2024", 0),
                 "SELECT month(DDJJ_Periodo) as Mes, year(DDJJ_Periodo) as Año,DDJJ_Periodo  "
                 "FROM DDJJ where year(DDJJ_Periodo)=2024 AND  ddjj_IdEmpresa=3 ORDER BY "
                 "year(DDJJ_Periodo)");
        // Another number field compares itself; letters compare with 0.
        QCOMPARE(ConsultaBusqueda("SELECT a FROM t", "a", tcEntero, "x", 0),
                 "SELECT a FROM t WHERE a = 0 ORDER BY a");
        QCOMPARE(ConsultaBusqueda(kBase, "Mes", tcEntero, "", 0), kBase);
    }

    void busquedaDeFechasYTextos() {
        QCOMPARE(ConsultaBusqueda(kBase, "DDJJ_Periodo", tcFecha, "01/03/2024", 0),
                 "SELECT month(DDJJ_Periodo) as Mes, year(DDJJ_Periodo) as Año,DDJJ_Periodo  "
                 "FROM DDJJ where DDJJ_Periodo = #03/01/2024# AND  ddjj_IdEmpresa=3 ORDER BY "
                 "DDJJ_Periodo");
        QVERIFY(ConsultaBusqueda(kBase, "DDJJ_Periodo", tcFecha, "01/03/1899", 0)
                    .contains("DDJJ_Periodo = #01/01/1900# AND"));
        QVERIFY(ConsultaBusqueda(kBase, "DDJJ_Periodo", tcFecha, "marzo", 0)
                    .contains("DDJJ_Periodo = 0 AND"));
        QCOMPARE(ConsultaBusqueda("SELECT n FROM t", "n", tcTexto, "d'an", 0),
                 "SELECT n FROM t WHERE (n like 'D''AN%' or n like '%D''AN%' or n like "
                 "'%D''AN')   ORDER BY n");
        QCOMPARE(ConsultaBusqueda("SELECT n FROM t", "n", tcTexto, "ab", 1),
                 "SELECT n FROM t WHERE n like '%AB%'  ORDER BY n");
        QCOMPARE(ConsultaBusqueda("SELECT n FROM t", "n", tcTexto, "ab", 2),
                 "SELECT n FROM t WHERE (n like 'AB%' or n like '% AB%' )  ORDER BY n");
        // Before a GROUP BY when the base has no WHERE.
        QCOMPARE(ConsultaBusqueda("SELECT n, count(*) FROM t GROUP BY n", "n", tcTexto, "a", 1),
                 "SELECT n, count(*) FROM t  WHERE n like '%A%'  GROUP BY n ORDER BY n");
        QCOMPARE(ConsultaOrden("SELECT a FROM t order by a", "b"), "SELECT a FROM t  ORDER BY b");
        QCOMPARE(ConsultaOrden("SELECT a FROM t", "b"), "SELECT a FROM t ORDER BY b");
    }

    void anchosYLeyendas() {
        // Columns of 4000 twips: 4050 raised to 4395, plus 340 on a wide screen.
        QCOMPARE(AnchoGrillaNueCons(4050, 6396), 4735);
        QCOMPARE(AnchoGrillaNueCons(4050, 6000), 4000);
        QCOMPARE(AnchoGrillaNueCons(9000, 20000), 9340);
        QCOMPARE(AnchoGrillaNueCons(9000, 10000), 8000);
        QCOMPARE(AnchoVentanaNueCons(4735), 4735 + 77 + 300);
        QCOMPARE(ItemsBuscar("Mes|  |Período"), QStringList({"Mes", "-", "Período"}));
    }

    void consultaDeDDJJDevuelveElPeriodoElegido() {
        prueba::BaseDePrueba base;
        declaraciones(base);
        IdEmpresa = 3;
        QLineEdit destino;
        destino.setText("sin tocar");
        bool visto = false;
        NueCons::alMostrar = [&](NueCons& d) {
            visto = true;
            QCOMPARE(d.windowTitle(), QString("Consulta de DDJJ"));
            // Ordered by period, the combo on the period column, focus in the search box.
            Grid* g = d.grilla();
            QCOMPARE(g->Rows(), 4);
            QCOMPARE(g->TextMatrix(0, 1), QString("Año"));
            QCOMPARE(g->TextMatrix(1, 2), QString("01/11/2023"));
            QCOMPARE(g->TextMatrix(3, 0), QString("3"));
            QCOMPARE(d.comboBuscar()->currentText(), QString("Período"));
            QCOMPARE(d.CampoBusqueda, QString("DDJJ_Periodo"));
            QCOMPARE(d.tipoCampo("Mes"), int(tcEntero));
            QCOMPARE(d.tipoCampo("DDJJ_Periodo"), int(tcFecha));
            // The pointer is the up arrow over the header only.
            auto mover = [](QWidget* sobre, QPoint p) {
                QMouseEvent e(QEvent::MouseMove, p, sobre->mapToGlobal(p), Qt::NoButton,
                              Qt::NoButton, Qt::NoModifier);
                QApplication::sendEvent(sobre, &e);
            };
            mover(g->horizontalHeader()->viewport(), QPoint(5, 5));
            QCOMPARE(g->cursor().shape(), Qt::UpArrowCursor);
            mover(g->viewport(), g->visualItemRect(g->item(0, 0)).center());
            QCOMPARE(g->cursor().shape(), Qt::ArrowCursor);

            // Searching by month keeps the company's condition.
            d.comboBuscar()->setCurrentIndex(0);
            QCOMPARE(d.CampoBusqueda, QString("Mes"));
            d.cajaBusqueda()->setText("3");
            d.Buscar();
            QCOMPARE(g->Rows(), 2);
            QVERIFY(d.consultaActual().contains("month(DDJJ_Periodo)=3 AND  ddjj_IdEmpresa=3"));

            // A refused query keeps the rows on show and says why.
            d.SqlConsulta = "SELECT nada FROM NoExiste where x=1";
            d.Buscar();
            QCOMPARE(g->Rows(), 2);
            QVERIFY(msgbox_prueba::mostrados().last().texto.startsWith("Error Nro.:"));
            QCOMPARE(d.cursor().shape(), Qt::ArrowCursor);

            g->setRow(1);
            d.Aceptar();
        };
        NuevaConsulta(kBase, "DDJJ_Periodo", "Consulta de DDJJ", "Mes/Año/Período", 3,
                      {{"DDJJ_Periodo", &destino}});
        NueCons::alMostrar = nullptr;
        QVERIFY(visto);
        QCOMPARE(destino.text(), QString("01/03/2024"));
    }

    void cancelarYValoresNulosNoEscribenNada() {
        prueba::BaseDePrueba base;
        base.ejecutar(
            "INSERT INTO DDJJ (DDJJ_Id, DDJJ_Periodo, ddjj_idempresa) VALUES "
            "(9, NULL, 3)");
        QLineEdit destino;
        destino.setText("antes");
        NueCons::alMostrar = [](NueCons& d) {
            d.grilla()->setRow(1);
            d.Aceptar();
        };
        NuevaConsulta(kBase, "DDJJ_Periodo", "Consulta de DDJJ", "Mes/Año/Período", 3,
                      {{"DDJJ_Periodo", &destino}});
        QCOMPARE(destino.text(), QString("antes"));  // a Null period hands back nothing

        NueCons::alMostrar = [](NueCons& d) {
            d.grilla()->setRow(1);
            d.Cancelar();
            QVERIFY(d.Resultado[0].isEmpty());
        };
        NuevaConsulta("SELECT DDJJ_Id FROM DDJJ", "DDJJ_Id", "t", "Id", 1, {{"DDJJ_Id", &destino}});
        NueCons::alMostrar = nullptr;
        QCOMPARE(destino.text(), QString("antes"));
    }

    void teclasDelDialogoModal() {
        prueba::BaseDePrueba base;
        declaraciones(base);
        QLineEdit destino;
        QWidget ventana;
        ventana.show();
        // The real modal loop, answered from the event loop: Enter on a data row accepts.
        QTimer::singleShot(0, [] {
            auto* d = qobject_cast<NueCons*>(QApplication::activeModalWidget());
            QVERIFY(d);
            // A printable key in the grid starts a new search text.
            d->grilla()->setFocus();
            QTest::keyClick(d->grilla(), Qt::Key_2);
            QCOMPARE(d->cajaBusqueda()->text(), QString("2"));
            QTest::keyClick(d->grilla(), Qt::Key_Escape);  // back to the search box, not closed
            QVERIFY(d->isVisible());
            d->grilla()->setFocus();
            d->grilla()->setRow(2);
            QTest::keyClick(d->grilla(), Qt::Key_Return);
        });
        NuevaConsulta(kBase, "DDJJ_Periodo", "Consulta de DDJJ", "Mes/Año/Período", 3,
                      {{"DDJJ_Periodo", &destino}});
        QCOMPARE(destino.text(), QString("01/01/2024"));

        // Esc outside the grid cancels.
        destino.clear();
        QTimer::singleShot(0, [] {
            auto* d = qobject_cast<NueCons*>(QApplication::activeModalWidget());
            QVERIFY(d);
            QTest::keyClick(d->cajaBusqueda(), Qt::Key_Escape);
        });
        NuevaConsulta(kBase, "DDJJ_Periodo", "Consulta de DDJJ", "Mes/Año/Período", 3,
                      {{"DDJJ_Periodo", &destino}});
        QVERIFY(destino.text().isEmpty());
    }
};

QTEST_MAIN(TstNueCons)
#include "tst_nuecons.moc"
