#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <memory>

#include "common/Globales.h"
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
const QString kPrestamos =
    "SELECT pre_id,pre_idEmpleado ,ado_nombre,pre_importe FROM prestamo, Empleado where "
    "pre_idEmpleado=ado_id and pre_IdEmpresa=ado_idempresa and pre_IdEmpresa=7";

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

// 300 characters, as a long firm or person name comes: accents, apostrophes and commas.
QString NombreLargo() {
    QString n;
    while (n.size() < 300) n += "Núñez D'Alessandro, María de los Ángeles O'Higgins Peña ";
    return n.left(300);
}
const QString kLargo = NombreLargo();

// A short row and a long-named one in every table a lookup reads; loans of 99.999.999,99.
void ConNombresLargos(const prueba::BaseDePrueba& base) {
    const QString l = "'" + QString(kLargo).replace("'", "''") + "'";
    base.ejecutar(
        "INSERT INTO Categoria (Cat_Id, Cat_Nombre) VALUES ('A1', 'Maestranza'), ('B2', " + l +
        ")");
    base.ejecutar(
        "INSERT INTO Empleo VALUES (10, 'A1', 5, 'Cajero', 1234567.5), (20, 'B2', 5, "
        "'Capataz', 2000000), (30, 'B2', 5, " +
        l + ", 99999999.99)");
    base.ejecutar("INSERT INTO Empresa (Emp_Id, Emp_Nombre) VALUES (1, 'Acme SA'), (7, " + l + ")");
    // Employees enough for the scroll bar and three-figure row numbers.
    QString empleados = "(1, 'Pérez, Juan', 7), (2, " + l + ", 7)";
    for (int i = 3; i <= 150; ++i)
        empleados += QStringLiteral(", (%1, 'O''Brien, Ana %1', 7)").arg(i);
    base.ejecutar("INSERT INTO Empleado (Ado_Id, Ado_Nombre, ado_IdEmpresa) VALUES " + empleados);
    base.ejecutar(
        "INSERT INTO Prestamo (pre_Id, pre_idEmpleado, pre_importe, pre_cuotas, pre_IdEmpresa) "
        "VALUES (1, 1, 1500.5, 3, 7), (2, 2, 99999999.99, 12, 7)");
    IdEmpresa = 7;
}

// The first cell that shows the long name (in the salary scale, the long category of Capataz).
QModelIndex CeldaLarga(const consulta& d) {
    for (int f = 0; f < d.filas(); ++f)
        for (int c = 0; c < d.Columnas; ++c)
            if (d.celda(f, c) == kLargo) return d.grilla()->model()->index(f, c);
    return {};
}

}  // namespace

// The F2 lookups of the maintenance windows, over rows with a long name, and what accepting the
// long-named row brings back.
void Consultas() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("campo");
    QTest::addColumn<QString>("encabezados");
    QTest::addColumn<int>("columnas");
    QTest::addColumn<QStringList>("devueltos");
    QTest::addColumn<QStringList>("valores");
    QTest::newRow("categorías") << kCategorias << "cat_nombre"
                                << "Código/Nombre" << 2 << QStringList{"Cat_id"}
                                << QStringList{"B2"};
    QTest::newRow("empleados") << "SELECT Ado_id,ado_nombre FROM Empleado where  ado_idEmpresa=7"
                               << "ado_nombre"
                               << "Cuenta/Nombre" << 2 << QStringList{"Ado_id"} << QStringList{"2"};
    QTest::newRow("empleos de una categoría")
        << "SELECT Emp_Codigo,Emp_Nombre FROM Empleo where Emp_Catego='B2' and Emp_antigu= 5"
        << "Emp_Nombre"
        << "Código/Nombre" << 2 << QStringList{"Emp_Codigo"} << QStringList{"30"};
    QTest::newRow("empresas") << "SELECT emp_id,emp_nombre FROM Empresa  where emp_Id>0"
                              << "emp_nombre"
                              << "Código/Nombre" << 2 << QStringList{"emp_id"} << QStringList{"7"};
    QTest::newRow("préstamos") << kPrestamos << "pre_idEmpleado"
                               << "Préstamo/Cuenta/Nombre/Importe" << 4 << QStringList{"pre_id"}
                               << QStringList{"2"};
    QTest::newRow("actualización de sueldos")
        << "SELECT Emp_Codigo,emp_catego,emp_antigu,Emp_Nombre FROM Empleo"
        << "Emp_Nombre"
        << "Código/Categoría/Antiguedad/Nombre" << 4
        << QStringList{"Emp_Codigo", "emp_catego", "emp_antigu"} << QStringList{"30", "B2", "5"};
    QTest::newRow("escala salarial")
        << kEmpleos << "emp_nombre"
        << "Código/Cod.Categoría/Categoría/Antiguedad/Nombre" << 5
        << QStringList{"emp_codigo", "emp_catego", "emp_antigu"} << QStringList{"20", "B2", "5"};
}

// Runs a lookup over ConNombresLargos with `pasos` on the open dialog; the texts of the caller's
// boxes for the fields `devueltos` afterwards.
QStringList ConsultarLargos(const QString& sql, const QString& campo, const QString& encabezados,
                            int columnas, const QStringList& devueltos,
                            std::function<void(consulta&)> pasos) {
    prueba::BaseDePrueba base;
    ConNombresLargos(base);
    std::vector<std::unique_ptr<QLineEdit>> cajas;
    QList<ParConsulta> pares;
    for (const QString& f : devueltos) {
        cajas.push_back(std::make_unique<QLineEdit>());
        pares.append({f, cajas.back().get()});
    }
    AlAbrir(std::move(pasos));
    Consultar(sql, campo, "Consulta", encabezados, columnas, pares);
    QStringList textos;
    for (const auto& c : cajas) textos << c->text();
    return textos;
}

// The same for the lookup of the current row of Consultas().
QStringList ConsultarFila(std::function<void(consulta&)> pasos) {
    QFETCH(QString, sql);
    QFETCH(QString, campo);
    QFETCH(QString, encabezados);
    QFETCH(int, columnas);
    QFETCH(QStringList, devueltos);
    return ConsultarLargos(sql, campo, encabezados, columnas, devueltos, std::move(pasos));
}

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

    // Enter, of either key, on a button reached with Tab presses it, and the dialog closes.
    void enterEnUnBoton_data() {
        QTest::addColumn<QString>("boton");
        QTest::addColumn<int>("tecla");
        QTest::addColumn<QString>("queda");
        QTest::newRow("Aceptar") << "aceptar" << int(Qt::Key_Return) << "B2";
        QTest::newRow("Aceptar, teclado numérico") << "aceptar" << int(Qt::Key_Enter) << "B2";
        QTest::newRow("Cancelar") << "salir" << int(Qt::Key_Return) << "antes";
    }
    void enterEnUnBoton() {
        QFETCH(QString, boton);
        QFETCH(int, tecla);
        QFETCH(QString, queda);
        prueba::BaseDePrueba base;
        Categorias(base);
        QLineEdit codigo("antes");
        AlAbrir([&](consulta& d) {
            IrAFila(d, 1);
            auto* b = d.findChild<QPushButton*>(boton);
            b->setFocus(Qt::TabFocusReason);
            const bool numerico = tecla == Qt::Key_Enter;
            QTest::keyClick(b, Qt::Key(tecla), numerico ? Qt::KeypadModifier : Qt::NoModifier);
            QVERIFY(!d.isVisible());
        });
        Consultar(kCategorias, "cat_nombre", "t", "Código/Nombre", 2, {{"Cat_id", &codigo}});
        QCOMPARE(codigo.text(), queda);
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

    // A double-click on a row accepts it, as Enter does.
    void dobleClicAcepta_data() { Consultas(); }
    void dobleClicAcepta() {
        QFETCH(QStringList, valores);
        const QStringList devueltos = ConsultarFila([](consulta& d) {
            const QModelIndex i = CeldaLarga(d);
            QVERIFY(i.isValid());
            QVERIFY(i.row() > 0);  // not the row the list starts on
            // Through the window, as the pointer's presses and releases come.
            const QPoint en = d.grilla()->viewport()->mapTo(&d, d.grilla()->visualRect(i).center());
            QTest::mouseDClick(d.windowHandle(), Qt::LeftButton, {}, en);
            QVERIFY(!d.isVisible());
        });
        QCOMPARE(devueltos, valores);
    }

    // A very long name gives way: every column and caption stays in view, and only the long
    // names are cut.
    void todasLasColumnasALaVista_data() { Consultas(); }
    void todasLasColumnasALaVista() {
        QStringList fuera;
        ConsultarFila([&](consulta& d) {
            QApplication::processEvents();
            const QTableView* g = d.grilla();
            for (int c = 0; c < d.Columnas; ++c) {
                const int desde = g->columnViewportPosition(c);
                if (desde < 0 || desde + g->columnWidth(c) > g->viewport()->width())
                    fuera << QStringLiteral("columna %1: %2 a %3 de %4")
                                 .arg(c)
                                 .arg(desde)
                                 .arg(desde + g->columnWidth(c))
                                 .arg(g->viewport()->width());
            }
            fuera << prueba::FueraDeLaVentana(&d);
            for (const QString& t : prueba::TextosCortados(&d))
                if (!t.contains(kLargo)) fuera << t;
        });
        QVERIFY2(fuera.isEmpty(), qPrintable(fuera.join('\n')));
    }

    // The cut name's whole text is its cell's tool tip.
    void celdaCortadaEnLaAyuda_data() { Consultas(); }
    void celdaCortadaEnLaAyuda() {
        QString ayuda;
        ConsultarFila([&](consulta& d) {
            const QModelIndex i = CeldaLarga(d);
            QVERIFY(i.isValid());
            // No tip left over from the case before.
            QToolTip::hideText();
            QTRY_VERIFY(QToolTip::text().isEmpty());
            QWidget* vista = d.grilla()->viewport();
            const QPoint en = d.grilla()->visualRect(i).center();
            QHelpEvent e(QEvent::ToolTip, en, vista->mapToGlobal(en));
            QApplication::sendEvent(vista, &e);
            ayuda = QToolTip::text();
        });
        QCOMPARE(ayuda, kLargo);
    }

    // Amounts line up at the right; codes and names stay at the left.
    void importesALaDerecha() {
        QList<bool> aLaDerecha;
        ConsultarLargos(
            kPrestamos, "pre_idEmpleado", "Préstamo/Cuenta/Nombre/Importe", 4, {},
            [&](consulta& d) {
                for (int c = 0; c < d.Columnas; ++c)
                    aLaDerecha << bool(
                        d.grilla()->model()->index(1, c).data(Qt::TextAlignmentRole).toInt() &
                        Qt::AlignRight);
            });
        QCOMPARE(aLaDerecha, QList<bool>({false, false, false, true}));
    }
};

QTEST_MAIN(TstConsulta)
#include "tst_consulta.moc"
