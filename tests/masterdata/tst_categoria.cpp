#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "lookup/consulta.h"
#include "masterdata/frmCategoria.h"
#include "platform/MsgBox.h"
#include "support/BaseDePrueba.h"

using namespace zul;

namespace {

struct Escena {
    prueba::BaseDePrueba base;
    frmCategoria* v = new frmCategoria;
    Escena() {
        base.ejecutar(
            "INSERT INTO Categoria VALUES ('A', 'Núñez D''Alessandro'), ('B', NULL), "
            "('C', 'Maestranza')");
        // An employee of another company keeps category C.
        base.ejecutar(
            "INSERT INTO Empleado (Ado_Id, ado_IdEmpresa, Ado_Categoria) VALUES (1, 9, 'C')");
        v->show();
        v->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(v));
        v->texto(frmCategoria::kCodigo)->setFocus();
    }
    ~Escena() { delete v; }
    void Codigo(const QString& t) {
        QLineEdit* c = v->texto(frmCategoria::kCodigo);
        c->insert(t);
        QTest::keyClick(c, Qt::Key_Return);
        QTRY_VERIFY(!c->isEnabled() || !c->hasFocus());
    }
    QVariant Nombre(const QString& id) const {
        return base.valor("SELECT Cat_Nombre FROM Categoria where Cat_Id='" + id + "'");
    }
};

}  // namespace

class TstCategoria : public QObject {
    Q_OBJECT
  private slots:
    void init() { msgbox_prueba::limpiar(); }

    void textosSql_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("consulta") << frmCategoria::ConsultaCategoria("O'N")
                                  << "SELECT * FROM Categoria where Cat_Id='O''N'";
        QTest::newRow("alta") << frmCategoria::AltaCategoria("Z")
                              << "insert into Categoria(Cat_Id,Cat_Nombre) values('Z','' )";
        QTest::newRow("grabar") << frmCategoria::ActualizarCategoria("Z", "D'Ángelo")
                                << "update Categoria set cat_nombre= 'D''Ángelo' where cat_id= 'Z'";
        QTest::newRow("dependientes") << frmCategoria::EmpleadosDeCategoria("Z")
                                      << "SELECT * FROM Empleado where ado_categoria='Z'";
        QTest::newRow("eliminar") << frmCategoria::EliminarCategoria("Z")
                                  << "delete from categoria where cat_id='Z'";
    }
    void textosSql() {
        QFETCH(QString, sql);
        QFETCH(QString, esperado);
        QCOMPARE(sql, esperado);
    }

    // A new code is a row as soon as its box is left, with an empty description; closing the
    // window leaves it there.
    void codigoNuevoSeCreaAlSalir() {
        Escena e;
        QCOMPARE(e.v->windowTitle(), "Categoría");
        e.Codigo("Ñ'1");
        QTRY_COMPARE(QApplication::focusWidget(), e.v->texto(frmCategoria::kDescripcion));
        QCOMPARE(e.Nombre("Ñ''1").toString(), "");
        e.v->btnSalir()->click();
        QCOMPARE(e.base.valor("SELECT count(*) FROM Categoria").toInt(), 4);
    }

    // An existing code shows its description (Null as empty); an empty code is not looked up
    // and then cannot be saved.
    void codigoExistenteYVacio_data() {
        QTest::addColumn<QString>("codigo");
        QTest::addColumn<QString>("descripcion");
        QTest::addColumn<bool>("bloqueado");
        QTest::newRow("existe") << "a"
                                << "Núñez D'Alessandro" << true;
        QTest::newRow("nula") << "B"
                              << "" << true;
        QTest::newRow("vacío") << ""
                               << "" << false;
    }
    void codigoExistenteYVacio() {
        QFETCH(QString, codigo);
        QFETCH(QString, descripcion);
        QFETCH(bool, bloqueado);
        Escena e;
        e.Codigo(codigo);
        QTRY_COMPARE(QApplication::focusWidget(), e.v->texto(frmCategoria::kDescripcion));
        QCOMPARE(e.v->texto(frmCategoria::kDescripcion)->text(), descripcion);
        QCOMPARE(!e.v->texto(frmCategoria::kCodigo)->isEnabled(), bloqueado);
        QCOMPARE(e.base.valor("SELECT count(*) FROM Categoria").toInt(), 3);
        if (bloqueado) return;
        e.v->btnGrabar()->click();
        QCOMPARE(msgbox_prueba::mostrados().last().texto,
                 "No se puede grabar el registro, debe primero ingresar el código");
    }

    void grabar() {
        Escena e;
        e.Codigo("A");
        QLineEdit* d = e.v->texto(frmCategoria::kDescripcion);
        d->clear();
        e.v->btnGrabar()->click();
        QCOMPARE(msgbox_prueba::mostrados().last().texto, "Debe ingresar la descripción");
        QCOMPARE(e.Nombre("A").toString(), "Núñez D'Alessandro");
        d->setText("Peón D'Artagnan");
        e.v->btnGrabar()->click();
        QCOMPARE(msgbox_prueba::mostrados().last().texto, "Los datos se grabaron correctamente");
        QCOMPARE(e.Nombre("A").toString(), "Peón D'Artagnan");
        QVERIFY(e.v->texto(frmCategoria::kCodigo)->isEnabled());
        QVERIFY(e.v->texto(frmCategoria::kCodigo)->text().isEmpty());
    }

    // A new code whose row could not be created is no record: a save says so, never that
    // another user deleted it.
    void altaFallida() {
        Escena e;
        e.base.ejecutar(
            "CREATE TRIGGER sin_alta BEFORE INSERT ON Categoria BEGIN SELECT "
            "RAISE(ABORT, 'sin lugar'); END");
        e.v->texto(frmCategoria::kCodigo)->insert("Z");
        QTest::keyClick(e.v->texto(frmCategoria::kCodigo), Qt::Key_Return);
        QTRY_COMPARE(msgbox_prueba::mostrados().size(), 1);
        QCOMPARE(msgbox_prueba::mostrados()[0].texto, "Error Nro.: 1811 sin lugar");
        e.v->texto(frmCategoria::kDescripcion)->setText("Zonal");
        e.v->btnGrabar_Click();
        QCOMPARE(msgbox_prueba::mostrados().last().texto,
                 "El registro en pantalla no se llegó a buscar ni a crear: ingrese su código y "
                 "salga de la casilla para buscarlo. No se realizó ningún cambio.");
        QCOMPARE(e.base.valor("SELECT count(*) FROM Categoria").toInt(), 3);
    }

    // A category that an employee of any company uses stays.
    void eliminar_data() {
        QTest::addColumn<QString>("codigo");
        QTest::addColumn<QString>("ultimo");
        QTest::addColumn<int>("quedan");
        QTest::newRow("en uso")
            << "C"
            << "No se puede eliminar la categoria porque existen datos asociados" << 3;
        QTest::newRow("libre") << "B"
                               << "Confirma eliminación del registro? " << 2;
    }
    void eliminar() {
        QFETCH(QString, codigo);
        QFETCH(QString, ultimo);
        QFETCH(int, quedan);
        Escena e;
        e.Codigo(codigo);
        msgbox_prueba::responder(vbYes);
        e.v->btnEliminar()->click();
        QCOMPARE(msgbox_prueba::mostrados().last().texto, ultimo);
        QCOMPARE(e.base.valor("SELECT count(*) FROM Categoria").toInt(), quedan);
    }

    // F2 fills the code only; the description comes when the box is left.
    void consultaConF2() {
        Escena e;
        consulta::alMostrar = [](consulta& d) {
            QCOMPARE(d.windowTitle(), "Consulta de Categorías");
            QCOMPARE(d.celda(0, 1), "Núñez D'Alessandro");
            d.texto()->setText("maes");
            d.buscar_Click();
            d.grilla()->setCurrentIndex(d.grilla()->model()->index(0, 1));
            d.aceptar_Click();
        };
        QTest::keyClick(e.v->texto(frmCategoria::kCodigo), Qt::Key_F2);
        consulta::alMostrar = nullptr;
        QCOMPARE(e.v->texto(frmCategoria::kCodigo)->text(), "C");
        QVERIFY(e.v->texto(frmCategoria::kDescripcion)->text().isEmpty());
        QTest::keyClick(e.v->texto(frmCategoria::kCodigo), Qt::Key_Return);
        QTRY_COMPARE(e.v->texto(frmCategoria::kDescripcion)->text(), "Maestranza");
    }
};

QTEST_MAIN(TstCategoria)
#include "tst_categoria.moc"
