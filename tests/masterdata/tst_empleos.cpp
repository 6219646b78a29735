#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "lookup/consulta.h"
#include "masterdata/Empleos.h"
#include "platform/MsgBox.h"
#include "support/BaseDePrueba.h"

using namespace zul;

namespace {

const QString kExcedido =
    QStringLiteral("El importe admite hasta 4 decimales y no puede superar 99.999.999.999,9999");

struct Escena {
    prueba::BaseDePrueba base;
    Empleos* v = new Empleos;
    Escena() {
        base.ejecutar(
            "INSERT INTO Categoria VALUES ('A', 'Núñez D''Alessandro'), ('B', 'Maestranza')");
        base.ejecutar("INSERT INTO Empleo VALUES (20, 'B', 3, 'Peón de Patio', 1500000.25)");
        v->show();
        v->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(v));
        v->texto(Empleos::kCodigo)->setFocus();
    }
    ~Escena() { delete v; }
    // Types the three key parts, leaving each box with Enter.
    void Clave(const QString& codigo, const QString& categoria, const QString& antiguedad) {
        const QStringList partes = {codigo, categoria, antiguedad};
        for (int i = 0; i < 3; ++i) {
            QLineEdit* c = v->texto(i);
            QTRY_VERIFY(c->hasFocus());
            c->insert(partes[i]);
            QTest::keyClick(c, Qt::Key_Return);
            QTest::qWait(0);
        }
        QCoreApplication::processEvents();
    }
    int Filas() const { return base.valor("SELECT count(*) FROM Empleo").toInt(); }
    QStringList Mensajes() const {
        QStringList l;
        for (const auto& m : msgbox_prueba::mostrados()) l << m.texto;
        return l;
    }
};

}  // namespace

class TstEmpleos : public QObject {
    Q_OBJECT
  private slots:
    void init() { msgbox_prueba::limpiar(); }

    void textosSql_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("consulta") << Empleos::ConsultaEmpleo("10", "A", "5")
                                  << "Select * from Empleo where emp_codigo=10 and emp_catego='A' "
                                     "and emp_antigu=5";
        QTest::newRow("alta") << Empleos::AltaEmpleo("10", "O'A", "5")
                              << "INSERT INTO Empleo(emp_codigo,emp_catego,emp_antigu) "
                                 "VALUES(10,'O''A',5)";
        QTest::newRow("grabar")
            << Empleos::ActualizarEmpleo("10", "A", "5", "Cajero D'Ángelo", "1234,5")
            << "UPDATE Empleo SET emp_nombre='Cajero D''Ángelo',emp_sueldo=1234.5 where "
               "emp_codigo=10 and emp_catego='A' and emp_antigu=5";
        QTest::newRow("eliminar") << Empleos::EliminarEmpleo("10", "A", "5")
                                  << "delete from Empleo where emp_codigo=10 and emp_catego='A' "
                                     "and emp_antigu=5";
    }
    void textosSql() {
        QFETCH(QString, sql);
        QFETCH(QString, esperado);
        QCOMPARE(sql, esperado);
    }

    // A new key is told and created at once, without name or salary; the focus stays in the
    // seniority box and only saving is possible.
    void claveNuevaSeCreaAlSalir() {
        Escena e;
        QVERIFY(e.v->btnGrabar()->isEnabled());
        QVERIFY(!e.v->btnEliminar()->isEnabled());
        e.Clave("10", "a", "5");
        QCOMPARE(e.Mensajes(), QStringList{"El Código no existe"});
        QCOMPARE(e.v->denom()->text(), "Núñez D'Alessandro");
        QCOMPARE(e.base
                     .valor("SELECT count(*) FROM Empleo where emp_codigo=10 and emp_catego='A' "
                            "and emp_antigu=5 and emp_nombre is null and emp_sueldo is null")
                     .toInt(),
                 1);
        QTRY_VERIFY(e.v->texto(Empleos::kAntiguedad)->hasFocus());
        QVERIFY(!e.v->texto(Empleos::kCodigo)->isEnabled());
        QVERIFY(e.v->btnGrabar()->isEnabled());
        QVERIFY(!e.v->btnEliminar()->isEnabled());
    }

    // A key that is incomplete or not made of whole numbers creates no row.
    void claveIncompletaOInvalida_data() {
        QTest::addColumn<QString>("codigo");
        QTest::addColumn<QString>("categoria");
        QTest::addColumn<QString>("antiguedad");
        QTest::addColumn<QStringList>("mensajes");
        QTest::addColumn<int>("foco");
        QTest::newRow("sin código") << ""
                                    << "A"
                                    << "5" << QStringList{"Por favor, ingrese el Código"} << 0;
        QTest::newRow("sin categoría")
            << "10"
            << ""
            << "5" << QStringList{"Por favor, ingrese el Código", "Por favor, ingrese el Código"}
            << 0;
        QTest::newRow("categoría inexistente") << "10"
                                               << "ZZ"
                                               << "" << QStringList{"El Código no existe"} << 1;
        QTest::newRow("código con letras") << "1x"
                                           << "A"
                                           << "5" << QStringList{"Debe ingresar el código"} << 0;
        QTest::newRow("código con decimales") << "10,5"
                                              << "A"
                                              << "5" << QStringList{"Debe ingresar el código"} << 0;
        QTest::newRow("antigüedad con decimales")
            << "10"
            << "A"
            << "2,5" << QStringList{"Debe ingresar la antiguedad"} << 2;
    }
    void claveIncompletaOInvalida() {
        QFETCH(QString, codigo);
        QFETCH(QString, categoria);
        QFETCH(QString, antiguedad);
        QFETCH(QStringList, mensajes);
        QFETCH(int, foco);
        Escena e;
        const QStringList partes = {codigo, categoria, antiguedad};
        for (int i = 0; i < 3 && e.Mensajes().isEmpty(); ++i) {
            e.v->texto(i)->setFocus();
            e.v->texto(i)->insert(partes[i]);
            QTest::keyClick(e.v->texto(i), Qt::Key_Return);
            QTest::qWait(0);
            QCoreApplication::processEvents();
        }
        if (categoria.isEmpty()) {  // the seniority box is reached after the category's prompt
            e.v->texto(Empleos::kAntiguedad)->setFocus();
            e.v->texto(Empleos::kAntiguedad)->insert(antiguedad);
            QTest::keyClick(e.v->texto(Empleos::kAntiguedad), Qt::Key_Return);
            QTest::qWait(0);
        }
        QCOMPARE(e.Mensajes(), mensajes);
        QTRY_VERIFY(e.v->texto(foco)->hasFocus());
        QVERIFY(e.v->texto(Empleos::kCodigo)->isEnabled());
        QCOMPARE(e.Filas(), 1);
    }

    // An existing row is shown; saving requires every field in order, a salary that reads as
    // a number, and stores it with a decimal point.
    void grabar_data() {
        QTest::addColumn<QString>("nombre");
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("mensaje");
        QTest::addColumn<QString>("guardado");
        QTest::newRow("sin nombre") << ""
                                    << "1"
                                    << "Debe ingresar el nombre"
                                    << "Peón de Patio";
        QTest::newRow("sin total") << "x"
                                   << ""
                                   << "Debe ingresar el total"
                                   << "Peón de Patio";
        QTest::newRow("total que no es número") << "x"
                                                << "mil"
                                                << "Debe ingresar el total"
                                                << "Peón de Patio";
        QTest::newRow("graba") << "Capataz D'Ávila"
                               << "2345678,75"
                               << "Los datos se grabaron correctamente"
                               << "Capataz D'Ávila";
        // The total reads as every money box reads, or is refused.
        QTest::newRow("total con punto decimal") << "Capataz D'Ávila"
                                                 << "2345678.75"
                                                 << "Los datos se grabaron correctamente"
                                                 << "Capataz D'Ávila";
        QTest::newRow("total con dos comas") << "x"
                                             << "12,345,678"
                                             << "Debe ingresar el total"
                                             << "Peón de Patio";
        QTest::newRow("total con cinco decimales")
            << "x"
            << "2345678,75001" << kExcedido << "Peón de Patio";
        QTest::newRow("total negativo") << "x"
                                        << "-0,01"
                                        << "El total no puede ser negativo: ingrese 0 o un "
                                           "importe mayor"
                                        << "Peón de Patio";
    }
    void grabar() {
        QFETCH(QString, nombre);
        QFETCH(QString, total);
        QFETCH(QString, mensaje);
        QFETCH(QString, guardado);
        Escena e;
        e.Clave("20", "b", "3");
        QVERIFY(e.Mensajes().isEmpty());
        QCOMPARE(e.v->texto(Empleos::kNombre)->text(), "Peón de Patio");
        QCOMPARE(e.v->texto(Empleos::kTotal)->text(), "1500000,25");
        QCOMPARE(e.v->texto(Empleos::kCategoria)->text(), "B");
        QCOMPARE(e.v->denom()->text(), "Maestranza");
        QVERIFY(e.v->btnEliminar()->isEnabled());
        QVERIFY(!e.v->texto(Empleos::kCodigo)->isEnabled());
        e.v->texto(Empleos::kNombre)->setText(nombre);
        e.v->texto(Empleos::kTotal)->setText(total);
        e.v->btnGrabar()->click();
        QCOMPARE(e.Mensajes().last(), mensaje);
        // A refused amount is told with the one icon of every amount refusal.
        if (mensaje == kExcedido || mensaje.contains(QStringLiteral("negativo")))
            QCOMPARE(msgbox_prueba::mostrados().last().estilo, int(vbExclamation));
        QCOMPARE(e.base.valor("SELECT emp_nombre FROM Empleo").toString(), guardado);
        const double sueldo = e.base.valor("SELECT emp_sueldo FROM Empleo").toDouble();
        QCOMPARE(sueldo, guardado == nombre ? 2345678.75 : 1500000.25);
    }

    // Left, the total shows the amount it reads as, and that amount is stored.
    void totalMuestraLoLeido() {
        Escena e;
        e.Clave("20", "B", "3");
        QLineEdit* total = e.v->texto(Empleos::kTotal);
        total->setFocus();
        total->clear();
        QTest::keyClicks(total, "0.125");  // the keypad's point
        QTest::keyClick(total, Qt::Key_Return);
        QTRY_COMPARE(total->text(), QString("0,125"));
        e.v->btnGrabar()->click();
        QCOMPARE(e.base.valor("SELECT emp_sueldo FROM Empleo").toDouble(), 0.125);
    }

    // A stored salary comes back whole, even longer than a user may type; one the box could
    // not give back as stored is refused, and stays as it was.
    void sueldoGrabadoVuelveEntero_data() {
        QTest::addColumn<QString>("guardado");  // SQL literal
        QTest::addColumn<QString>("mostrado");
        QTest::addColumn<QString>("mensaje");
        QTest::newRow("el mayor importe") << "99999999999.9999"
                                          << "99999999999,9999"
                                          << "Los datos se grabaron correctamente";
        QTest::newRow("1e30") << "1e30"
                              << "1000000000000000019884624838656" << kExcedido;
    }
    void sueldoGrabadoVuelveEntero() {
        QFETCH(QString, guardado);
        QFETCH(QString, mostrado);
        QFETCH(QString, mensaje);
        Escena e;
        e.base.ejecutar("UPDATE Empleo SET emp_sueldo=" + guardado);
        e.Clave("20", "B", "3");
        QCOMPARE(e.v->texto(Empleos::kTotal)->text(), mostrado);
        e.v->btnGrabar()->click();
        QCOMPARE(e.Mensajes(), QStringList{mensaje});
        QCOMPARE(e.base.valor("SELECT emp_sueldo = " + guardado + " FROM Empleo").toInt(), 1);
    }

    // A save or delete writes only the row loaded: a key part typed over and not left, or a key
    // typed with no row ever loaded, is refused and both rows stay as they were.
    void otraClaveEnPantalla_data() {
        QTest::addColumn<bool>("cargar");
        QTest::addColumn<bool>("eliminar");
        QTest::addColumn<QString>("mensaje");
        const QString otra = QStringLiteral(
            "El código en pantalla (o la empresa actual) no es el del registro cargado. Presione "
            "Cancelar y vuelva a buscarlo. No se realizó ningún cambio.");
        QTest::newRow("grabar otra categoría") << true << false << otra;
        QTest::newRow("eliminar otra categoría") << true << true << otra;
        QTest::newRow("grabar sin cargar")
            << false << false
            << "El registro en pantalla no se llegó a buscar ni a crear: ingrese su código y salga "
               "de la casilla para buscarlo. No se realizó ningún cambio.";
    }
    void otraClaveEnPantalla() {
        QFETCH(bool, cargar);
        QFETCH(bool, eliminar);
        QFETCH(QString, mensaje);
        Escena e;
        e.base.ejecutar("INSERT INTO Empleo VALUES (20, 'A', 3, 'Cajero', 900)");
        const QString filas =
            "SELECT group_concat(emp_catego || emp_nombre || emp_sueldo) FROM "
            "(SELECT * FROM Empleo ORDER BY emp_catego)";
        const QVariant antes = e.base.valor(filas);
        if (cargar) {
            e.Clave("20", "B", "3");
        } else {
            e.v->texto(Empleos::kCodigo)->setText("20");
            e.v->texto(Empleos::kAntiguedad)->setText("3");
            e.v->texto(Empleos::kNombre)->setText("Capataz");
            e.v->texto(Empleos::kTotal)->setText("1000");
        }
        e.v->texto(Empleos::kCategoria)->setText("A");
        msgbox_prueba::limpiar();
        msgbox_prueba::responder(vbYes);
        (eliminar ? e.v->btnEliminar() : e.v->btnGrabar())->click();
        QCOMPARE(e.Mensajes().last(), mensaje);
        QCOMPARE(e.base.valor(filas), antes);
    }

    // Deleting asks with the stop icon, is not refused for employees that use the job, and
    // leaves both buttons off.
    void eliminar() {
        Escena e;
        e.base.ejecutar(
            "INSERT INTO Empleado (Ado_Id, ado_IdEmpresa, Ado_Empleo) VALUES (1, 1, 20)");
        e.Clave("20", "B", "3");
        msgbox_prueba::responder(vbYes);
        e.v->btnEliminar()->click();
        const auto m = msgbox_prueba::mostrados();
        QCOMPARE(m.size(), 2);
        QCOMPARE(m[0].estilo, 20);
        QCOMPARE(m[0].titulo, "Eliminación");
        QCOMPARE(m[1].texto, "El Registro se eliminó correctamente");
        QCOMPARE(e.Filas(), 0);
        QVERIFY(!e.v->btnGrabar()->isEnabled());
        QVERIFY(!e.v->btnEliminar()->isEnabled());
        QVERIFY(e.v->texto(Empleos::kCodigo)->isEnabled());
        QTRY_VERIFY(e.v->texto(Empleos::kCodigo)->hasFocus());
    }

    // The job lookup fills the three key boxes, each whole even past what a user may type
    // into it; the row is loaded when the seniority is left.
    void consultaConF2_data() {
        QTest::addColumn<QString>("buscado");
        QTest::addColumn<QString>("categoria");
        QTest::addColumn<QString>("nombre");
        QTest::newRow("clave de la escala") << "patio"
                                            << "B"
                                            << "Peón de Patio";
        QTest::newRow("categoría más larga que su caja") << "ordenanza"
                                                         << "MAESTR"
                                                         << "Ordenanza";
    }
    void consultaConF2() {
        QFETCH(QString, buscado);
        QFETCH(QString, categoria);
        QFETCH(QString, nombre);
        Escena e;
        e.base.ejecutar("INSERT INTO Categoria VALUES ('MAESTR', 'Maestranza General')");
        e.base.ejecutar("INSERT INTO Empleo VALUES (20, 'MAESTR', 3, 'Ordenanza', 900)");
        consulta::alMostrar = [buscado](consulta& d) {
            QCOMPARE(d.windowTitle(), "Consulta de Empleos");
            d.texto()->setText(buscado);
            d.buscar_Click();
            QCOMPARE(d.filas(), 1);
            d.grilla()->setCurrentIndex(d.grilla()->model()->index(0, 0));
            d.aceptar_Click();
        };
        QTest::keyClick(e.v->texto(Empleos::kCodigo), Qt::Key_F2);
        consulta::alMostrar = nullptr;
        QCOMPARE(e.v->texto(Empleos::kCodigo)->text(), "20");
        QCOMPARE(e.v->texto(Empleos::kCategoria)->text(), categoria);
        QCOMPARE(e.v->texto(Empleos::kAntiguedad)->text(), "3");
        QVERIFY(e.v->texto(Empleos::kNombre)->text().isEmpty());
        e.v->texto(Empleos::kAntiguedad)->setFocus();
        QTest::keyClick(e.v->texto(Empleos::kAntiguedad), Qt::Key_Return);
        QTRY_COMPARE(e.v->texto(Empleos::kNombre)->text(), nombre);
        QVERIFY(e.Mensajes().isEmpty());
    }
};

QTEST_MAIN(TstEmpleos)
#include "tst_empleos.moc"
