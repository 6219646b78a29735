#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "lookup/Consultar.h"
#include "lookup/consulta.h"
#include "platform/MsgBox.h"
#include "support/BaseDePrueba.h"
#include "support/TextosCompletos.h"

using namespace zul;

namespace {

const QString kCategorias = "SELECT Cat_id,cat_nombre FROM Categoria";
const QString kEmpleos =
    "Select emp_codigo,emp_catego, cat_nombre,emp_antigu,emp_nombre from Empleo, categoria where "
    "emp_catego= cat_id order by emp_codigo";

void Categorias(const prueba::BaseDePrueba& base) {
    base.ejecutar(
        "INSERT INTO Categoria (Cat_Id, Cat_Nombre) VALUES ('A1', 'Núñez D''Alessandro'), "
        "('B2', 'Administrativo de Primera'), ('C3', NULL), ('D4', 'Maestranza')");
}

// Runs `pasos` on the open dialog from inside its modal loop.
void AlAbrir(std::function<void(consulta&)> pasos) {
    QTimer::singleShot(0, [pasos] {
        auto* d = qobject_cast<consulta*>(QApplication::activeModalWidget());
        QVERIFY(d);
        d->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(d));
        // A failed check inside must not leave the modal loop waiting.
        struct Cierre {
            consulta* d;
            ~Cierre() {
                if (d->isVisible()) d->salir_Click();
            }
        } cierre{d};
        pasos(*d);
    });
}

void IrAFila(consulta& d, int fila, int col = 0) {
    d.grilla()->setCurrentIndex(d.grilla()->model()->index(fila, col));
}

}  // namespace

class TstConsulta : public QObject {
    Q_OBJECT
  private slots:
    void init() { msgbox_prueba::limpiar(); }

    void busqueda_data() {
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("campo");
        QTest::addColumn<int>("clase");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("esperada");
        QTest::newRow("vacía") << kCategorias << "cat_nombre" << int(tcTexto) << "" << kCategorias;
        QTest::newRow("apóstrofo y mayúsculas")
            << kCategorias << "cat_nombre" << int(tcTexto) << "d'alé"
            << kCategorias +
                   " WHERE (cat_nombre like 'D''ALÉ%' or cat_nombre like '%D''ALÉ%' or "
                   "cat_nombre like '%D''ALÉ') order by cat_nombre";
        QTest::newRow("con where")
            << "SELECT a FROM t where  b=3"
            << "a" << int(tcTexto) << "x"
            << "SELECT a FROM t where  b=3 and (a like 'X%' or a like '%X%' or a like '%X') "
               "order by a";
        QTest::newRow("número")
            << "SELECT pre_id FROM prestamo where x=1"
            << "pre_idEmpleado" << int(tcEntero) << "12"
            << "SELECT pre_id FROM prestamo where x=1 and pre_idEmpleado = 12 order by "
               "pre_idEmpleado";
        QTest::newRow("no es número") << "SELECT a FROM t"
                                      << "a" << int(tcDoble) << "abc"
                                      << "SELECT a FROM t WHERE a = 0 order by a";
        QTest::newRow("fecha") << "SELECT a FROM t"
                               << "a" << int(tcFecha) << "31/12/2007"
                               << "SELECT a FROM t WHERE a = #12/31/2007# order by a";
        QTest::newRow("no es fecha") << "SELECT a FROM t"
                                     << "a" << int(tcFecha) << "ayer"
                                     << "SELECT a FROM t WHERE a = NULL order by a";
        // The condition goes before the base's own ORDER BY.
        QTest::newRow("base ordenada")
            << kEmpleos << "emp_nombre" << int(tcTexto) << "ca"
            << "Select emp_codigo,emp_catego, cat_nombre,emp_antigu,emp_nombre from Empleo, "
               "categoria where emp_catego= cat_id and (emp_nombre like 'CA%' or emp_nombre like "
               "'%CA%' or emp_nombre like '%CA') order by emp_nombre";
    }
    void busqueda() {
        QFETCH(QString, base);
        QFETCH(QString, campo);
        QFETCH(int, clase);
        QFETCH(QString, texto);
        QFETCH(QString, esperada);
        QCOMPARE(TextoBusqueda(base, campo, clase, texto, 0), esperada);
    }

    void anchos_data() {
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("grilla");
        QTest::newRow("dos enteros") << 2 * AnchoColumnaConsulta(tcEntero) << 3835;
        QTest::newRow("5000") << 5000 << 5400;
        QTest::newRow("7999") << 7999 << 8399;
        QTest::newRow("8000") << 8000 << 8000;
        QTest::newRow("más") << 20000 << 8000;
    }
    void anchos() {
        QFETCH(int, total);
        QFETCH(int, grilla);
        QCOMPARE(AnchoGrillaConsulta(total), grilla);
        QCOMPARE(AnchoVentanaConsulta(grilla), qRound(grilla * 1.01625) + 200);
    }

    void encabezados_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<int>("columnas");
        QTest::addColumn<QStringList>("titulos");
        QTest::newRow("dos") << "Código/Nombre" << 2 << QStringList{"Código", "Nombre"};
        QTest::newRow("resto en la última") << "A/B/C" << 2 << QStringList{"A", "B/C"};
        QTest::newRow("cinco") << "Código/Cod.Categoría/Categoría/Antiguedad/Nombre" << 5
                               << QStringList{"Código", "Cod.Categoría", "Categoría", "Antiguedad",
                                              "Nombre"};
    }
    void encabezados() {
        QFETCH(QString, texto);
        QFETCH(int, columnas);
        QFETCH(QStringList, titulos);
        QCOMPARE(CortarEncabezados(texto, columnas), titulos);
    }

    // The whole round: rows, captions and widths; a search typed and run with Enter; Enter in
    // the grid copies the chosen row into the caller's box.
    void buscarYAceptarConEnter() {
        prueba::BaseDePrueba base;
        Categorias(base);
        QWidget ventana;
        QLineEdit codigo(&ventana);
        ventana.show();
        AlAbrir([](consulta& d) {
            QCOMPARE(d.windowTitle(), QString("Consulta de Categorías"));
            QCOMPARE(d.filas(), 4);
            auto* h = d.grilla()->horizontalHeader();
            QCOMPARE(d.grilla()->model()->headerData(0, Qt::Horizontal).toString(), "Código");
            QCOMPARE(d.grilla()->model()->headerData(1, Qt::Horizontal).toString(), "Nombre");
            QCOMPARE(h->sectionSize(1), 3000 / 15);
            QCOMPARE(d.celda(0, 1), "Núñez D'Alessandro");
            d.texto()->setFocus();
            d.texto()->insert("ñez d'a");
            QTest::keyClick(d.texto(), Qt::Key_Return);
            QTRY_VERIFY(d.grilla()->hasFocus());
            QCOMPARE(d.filas(), 1);
            QTest::keyClick(d.grilla(), Qt::Key_Return);
        });
        Consultar(kCategorias, "cat_nombre", "Consulta de Categorías", "Código/Nombre", 2,
                  {{"Cat_id", &codigo}});
        QCOMPARE(codigo.text(), "A1");
        QVERIFY(msgbox_prueba::mostrados().isEmpty());
    }

    // Every way out that is not an accept leaves the caller's box as it was.
    void cancelar_data() {
        QTest::addColumn<int>("modo");
        QTest::newRow("Esc en la búsqueda") << 0;
        QTest::newRow("Esc en la grilla") << 1;
        QTest::newRow("botón Cancelar") << 2;
        QTest::newRow("cierre del marco") << 3;
    }
    void cancelar() {
        QFETCH(int, modo);
        prueba::BaseDePrueba base;
        Categorias(base);
        QLineEdit codigo;
        codigo.setText("antes");
        AlAbrir([modo](consulta& d) {
            IrAFila(d, 1);
            if (modo == 0) QTest::keyClick(d.texto(), Qt::Key_Escape);
            if (modo == 1) QTest::keyClick(d.grilla(), Qt::Key_Escape);
            if (modo == 2) d.findChild<QPushButton*>("salir")->click();
            if (modo == 3) d.close();
        });
        Consultar(kCategorias, "cat_nombre", "t", "Código/Nombre", 2, {{"Cat_id", &codigo}});
        QCOMPARE(codigo.text(), "antes");
    }

    // A Null field leaves its box alone and the other fields are still copied; F3 accepts from
    // any control.
    void nuloNoCortaLaCopia() {
        prueba::BaseDePrueba base;
        Categorias(base);
        QLineEdit nombre, codigo;
        nombre.setText("antes");
        AlAbrir([](consulta& d) {
            IrAFila(d, 2);
            QTest::keyClick(d.texto(), Qt::Key_F3);
        });
        Consultar(kCategorias, "cat_nombre", "t", "Código/Nombre", 2,
                  {{"cat_nombre", &nombre}, {"Cat_id", &codigo}});
        QCOMPARE(nombre.text(), "antes");
        QCOMPARE(codigo.text(), "C3");
    }

    // Long names show whole, when the list opens and after a search brings longer ones.
    void nadaCortado_data() {
        QTest::addColumn<QString>("buscado");
        QTest::newRow("al abrir") << "";
        QTest::newRow("tras buscar") << "guadalupe";
    }
    void nadaCortado() {
        QFETCH(QString, buscado);
        prueba::BaseDePrueba base;
        Categorias(base);
        base.ejecutar(
            "INSERT INTO Categoria (Cat_Id, Cat_Nombre) VALUES ('E5', 'Núñez D''Alessandro, "
            "María de los Ángeles Guadalupe'), ('F6', 'Maestranza y Servicios Generales A')");
        QStringList cortados;
        AlAbrir([&](consulta& d) {
            if (!buscado.isEmpty()) {
                d.texto()->setText(buscado);
                d.Buscar();
                QCOMPARE(d.filas(), 1);
            }
            cortados = prueba::TextosCortados(&d);
        });
        // The filter leaves the longest name out until the search finds it.
        Consultar(kCategorias, "cat_nombre", "t", "Código/Nombre", 2, {}, 0,
                  buscado.isEmpty() ? QString() : QString("Cat_Id <> 'E5'"));
        QVERIFY2(cortados.isEmpty(), qPrintable(cortados.join('\n')));
    }

    // The sort starts from the base (the search goes) and the search from the base (the sort
    // goes); a refused query is told and the dialog goes on with its rows.
    void ordenBusquedaYErrores() {
        prueba::BaseDePrueba base;
        Categorias(base);
        QLineEdit codigo;
        AlAbrir([](consulta& d) {
            d.texto()->setText("a");
            d.buscar_Click();
            QCOMPARE(d.filas(), 3);
            IrAFila(d, 0, 1);
            d.findChild<QPushButton*>("orden")->click();
            QCOMPARE(d.consultaActual().toLower(),
                     (kCategorias + " ORDER BY cat_nombre").toLower());
            QCOMPARE(d.filas(), 4);
            QCOMPARE(d.celda(1, 1), "Administrativo de Primera");
            d.texto()->setText("maes");
            d.buscar_Click();
            QVERIFY(!d.consultaActual().contains("ORDER BY"));
            QCOMPARE(d.filas(), 1);

            d.SqlConsulta = "SELECT Cat_id FROM NoExiste";
            d.buscar_Click();
            QCOMPARE(msgbox_prueba::mostrados().size(), 1);
            QVERIFY(msgbox_prueba::mostrados()[0].texto.startsWith("Error Nro.:"));
            QCOMPARE(d.filas(), 1);
            IrAFila(d, 0);
            d.findChild<QPushButton*>("aceptar")->click();
        });
        Consultar(kCategorias, "cat_nombre", "t", "Código/Nombre", 2, {{"Cat_id", &codigo}});
        QCOMPARE(codigo.text(), "D4");
    }

    // The salary-scale lookup: a search on a base that sorts itself runs, and numbers and
    // three fields come back.
    void baseOrdenadaYVariosCampos() {
        prueba::BaseDePrueba base;
        Categorias(base);
        base.ejecutar(
            "INSERT INTO Empleo VALUES (10, 'A1', 5, 'Cajero', 1234567.5), "
            "(20, 'B2', 0, 'Capataz', 2000000)");
        QLineEdit a, b, c;
        AlAbrir([](consulta& d) {
            QCOMPARE(d.filas(), 2);
            QCOMPARE(d.grilla()->horizontalHeader()->sectionSize(0), 1245 / 15);
            d.texto()->setText("capa");
            d.buscar_Click();
            QVERIFY(msgbox_prueba::mostrados().isEmpty());
            QCOMPARE(d.filas(), 1);
            IrAFila(d, 0);
            d.aceptar_Click();
        });
        Consultar(kEmpleos, "emp_nombre", "Consulta de Empleos",
                  "Código/Cod.Categoría/Categoría/Antiguedad/Nombre", 5,
                  {{"emp_codigo", &a}, {"emp_catego", &b}, {"emp_antigu", &c}});
        QCOMPARE(QStringList({a.text(), b.text(), c.text()}), QStringList({"20", "B2", "0"}));
    }
};

QTEST_MAIN(TstConsulta)
#include "tst_consulta.moc"
