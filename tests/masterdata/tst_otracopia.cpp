// The maintenance windows while another copy of the program works on the same file: a record
// it deleted, a key changed on screen, a dependant saved while this copy deletes. The other copy
// is a plain SQLite connection of its own; what is stored is read back through one as well.

#include <sqlite3.h>

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <atomic>
#include <chrono>
#include <thread>

#include "common/Globales.h"
#include "masterdata/Empleos.h"
#include "masterdata/frmActSueld.h"
#include "masterdata/frmCategoria.h"
#include "masterdata/frmDatosEmpresa.h"
#include "masterdata/frmEmpleados.h"
#include "masterdata/frmEmpresas.h"
#include "masterdata/frmPrestamos.h"
#include "platform/Database.h"
#include "platform/MsgBox.h"
#include "support/BaseDePrueba.h"
#include "support/Teclear.h"

using namespace zul;

namespace {

const QString kYaNoExiste = QStringLiteral(
    "El registro ya no existe: se eliminó (en otra ventana o en otra copia del programa) después "
    "de cargarlo. ");
const QString kCambiado = QStringLiteral(
    "El registro cambió (en otra ventana o en otra copia del programa) después de cargarlo. ");
const QString kOtraClave =
    QStringLiteral("El código en pantalla (o la empresa actual) no es el del registro cargado. ");
const QString kSinCambios = QStringLiteral(" No se realizó ningún cambio.");
// What the window says to do next.
QString Recargar(const QString& ventana) {
    return ventana == "frmDatosEmpresa" ? QStringLiteral("Cierre la ventana y vuelva a abrirla.")
                                        : QStringLiteral("Presione Cancelar y vuelva a buscarlo.");
}

// Company 8 with employee 1 and loan 1 (six instalments); categories A, A'1 and C; scale row
// (10, A'1, 5).
void Datos(const prueba::BaseDePrueba& b) {
    b.ejecutar(
        "INSERT INTO Empresa (Emp_Id, Emp_Nombre, Emp_Domicilio, Emp_Localidad, Emp_CUIT, "
        "Emp_Telefono, emp_fecini, emp_perjur, emp_rubro) VALUES (8, 'Ñandú D''Angelo SA', "
        "'Güemes 1234', 'Río Cuarto', '30-71234567-1', '4444', #03/15/2019#, 1, 5)");
    b.ejecutar(
        "INSERT INTO Categoria VALUES ('A', 'Administrativo'), ('A''1', 'Auxiliar'), ('C', "
        "'Cajero')");
    b.ejecutar("INSERT INTO Empleo VALUES (10, 'A''1', 5, 'Cadete', 800)");
    b.ejecutar(
        "INSERT INTO Empleado VALUES (1, 'PEREZ JUAN', #02/01/1980#, '20-12345678-6', "
        "#03/15/2015#, 1000.5, 'A', 1, 0, 1, 0, NULL, 10, 1, 8, 'ok', 0, 8, 600, 400.5)");
    b.ejecutar("INSERT INTO Prestamo VALUES (1, 1, 600, 6, #01/02/2025#, #02/10/2025#, 8)");
    for (int i = 1; i <= 6; ++i)
        b.ejecutar(QString("INSERT INTO PrestamoCuota VALUES (1, %1, 1, 100, #%2/10/2025#, 8)")
                       .arg(i)
                       .arg(i + 1, 2, 10, QChar('0')));
}

// Another copy of the program: a connection of its own on the same file.
class OtraCopia {
  public:
    explicit OtraCopia(const QString& ruta) {
        sqlite3_open(ruta.toUtf8().constData(), &db_);
        // The text keys' collation, as the program compares ASCII.
        sqlite3_create_collation(db_, "JET", SQLITE_UTF8, nullptr,
                                 [](void*, int na, const void* a, int nb, const void* b) {
                                     const int r = sqlite3_strnicmp(static_cast<const char*>(a),
                                                                    static_cast<const char*>(b),
                                                                    std::min(na, nb));
                                     return r != 0 ? r : na - nb;
                                 });
    }
    ~OtraCopia() { sqlite3_close(db_); }
    int ejecutar(const QString& sql) {
        return sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    }
    // Each row, its columns joined by "|".
    QStringList filas(const QString& sql) {
        QStringList r;
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db_, sql.toUtf8().constData(), -1, &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW) {
            QStringList c;
            for (int i = 0; i < sqlite3_column_count(st); ++i)
                c << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)));
            r << c.join('|');
        }
        sqlite3_finalize(st);
        return r;
    }
    // Every row of the tables the windows write.
    QStringList tablas() {
        QStringList r;
        for (const QString t : {"Categoria", "Empleo", "Empresa", "Empleado", "Prestamo",
                                "PrestamoCuota", "DDJJ", "EmpleadoXDDJJ"})
            for (const QString& f : filas("select * from " + t)) r << t + '|' + f;
        return r;
    }

  private:
    sqlite3* db_ = nullptr;
};

Mantenimiento* Crear(const QString& ventana) {
    if (ventana == "frmCategoria") return new frmCategoria;
    if (ventana == "Empleos") return new Empleos;
    if (ventana == "frmEmpresas") return new frmEmpresas;
    if (ventana == "frmEmpleados") return new frmEmpleados;
    if (ventana == "frmPrestamos") return new frmPrestamos;
    if (ventana == "frmActSueld") return new frmActSueld;
    return new frmDatosEmpresa;
}

// The window, with the record of `clave` loaded: the key parts typed from the key box on, each
// left with Enter.
QPointer<Mantenimiento> Abrir(const QString& ventana, const QStringList& clave) {
    IdEmpresa = 8;
    QPointer<Mantenimiento> w = Crear(ventana);
    w->show();
    QApplication::setActiveWindow(w);
    if (!QTest::qWaitForWindowActive(w)) qWarning("ventana inactiva");
    for (int i = 0; i < clave.size(); ++i) {
        QLineEdit* caja = w->texto(w->CajaClave() + i);
        caja->setFocus();
        caja->selectAll();
        prueba::Teclear(caja, clave[i] + '\r');
        QApplication::processEvents();
    }
    msgbox_prueba::limpiar();
    return w;
}

QStringList Pantalla(const Mantenimiento* w) {
    QStringList t;
    for (int i = 0; i < 16; ++i)
        if (QLineEdit* c = w->texto(i)) t << c->text();
    return t;
}

void Escribir(Mantenimiento* w, int caja, const QString& texto) {
    w->texto(caja)->setFocus();
    w->texto(caja)->selectAll();
    prueba::Teclear(w->texto(caja), texto);
}

void Clic(QPushButton* b) {
    QTest::mouseClick(b, Qt::LeftButton);
    QApplication::processEvents();
}

}  // namespace

class TstOtraCopia : public QObject {
    Q_OBJECT

    // The rows a save or a delete refuses: the record loaded was deleted, or deleted and its key
    // given to a new record, by the other copy after this one loaded it; or the key on screen is
    // not the one loaded (typed over, the box not left; or another company chosen meanwhile).
    static void registroAusente_data(bool eliminar) {
        QTest::addColumn<QString>("ventana");
        QTest::addColumn<QStringList>("clave");
        QTest::addColumn<QString>("otraCopia");  // what it did meanwhile
        QTest::addColumn<int>("caja");           // typed over, or -1
        QTest::addColumn<QString>("encima");
        QTest::addColumn<int>("empresa");  // the company chosen meanwhile, or 0
        QTest::addColumn<QString>("mensaje");
        QTest::newRow("categoría borrada")
            << "frmCategoria" << QStringList{"C"} << "delete from Categoria where Cat_Id='C'" << -1
            << "" << 0 << kYaNoExiste;
        QTest::newRow("empleo borrado") << "Empleos" << QStringList{"10", "A'1", "5"}
                                        << "delete from Empleo" << -1 << "" << 0 << kYaNoExiste;
        QTest::newRow("empresa borrada")
            << "frmEmpresas" << QStringList{"8"} << "delete from Empresa where Emp_Id=8" << -1 << ""
            << 0 << kYaNoExiste;
        QTest::newRow("empleado borrado") << "frmEmpleados" << QStringList{"1"}
                                          << "delete from Empleado" << -1 << "" << 0 << kYaNoExiste;
        QTest::newRow("préstamo borrado")
            << "frmPrestamos" << QStringList{"1"}
            << "begin; delete from PrestamoCuota; delete from Prestamo; commit" << -1 << "" << 0
            << kYaNoExiste;
        if (!eliminar)
            QTest::newRow("estudio borrado")
                << "frmDatosEmpresa" << QStringList{} << "delete from Empresa where Emp_Id=0" << -1
                << "" << 0 << kYaNoExiste;

        QTest::newRow("categoría reemplazada")
            << "frmCategoria" << QStringList{"C"}
            << "begin; delete from Categoria where Cat_Id='C'; insert into Categoria values ('C', "
               "'Cobranzas'); commit"
            << -1 << "" << 0 << kCambiado;
        QTest::newRow("empleo reemplazado")
            << "Empleos" << QStringList{"10", "A'1", "5"}
            << "begin; delete from Empleo; insert into Empleo values (10, 'A''1', 5, 'Chofer', "
               "950); commit"
            << -1 << "" << 0 << kCambiado;
        QTest::newRow("empresa reemplazada")
            << "frmEmpresas" << QStringList{"8"}
            << "update Empresa set Emp_Nombre='Otra SA', Emp_CUIT='30-70000000-1' where Emp_Id=8"
            << -1 << "" << 0 << kCambiado;
        QTest::newRow("empleado reemplazado")
            << "frmEmpleados" << QStringList{"1"}
            << "begin; delete from Empleado; insert into Empleado (Ado_Id, Ado_Nombre, "
               "Ado_Categoria, ado_IdEmpresa) values (1, 'GOMEZ ANA', 'C', 8); commit"
            << -1 << "" << 0 << kCambiado;
        QTest::newRow("préstamo reemplazado")
            << "frmPrestamos" << QStringList{"1"}
            << "begin; delete from PrestamoCuota; delete from Prestamo; insert into Prestamo "
               "values (1, 1, 900, 3, '2025-03-01', '2025-04-10', 8); insert into PrestamoCuota "
               "values (1, 1, 1, 300, '2025-04-10', 8); commit"
            << -1 << "" << 0 << kCambiado;
        if (!eliminar)
            QTest::newRow("estudio cambiado")
                << "frmDatosEmpresa" << QStringList{}
                << "update Empresa set Emp_Nombre='Otro Estudio' where Emp_Id=0" << -1 << "" << 0
                << kCambiado;

        QTest::newRow("empleo, otra categoría sin fila")
            << "Empleos" << QStringList{"10", "A'1", "5"} << "" << int(Empleos::kCategoria) << "C"
            << 0 << kOtraClave;
        QTest::newRow("empleado, otra empresa")
            << "frmEmpleados" << QStringList{"1"}
            << "insert into Empleado (Ado_Id, Ado_Nombre, Ado_Categoria, ado_IdEmpresa) values "
               "(1, 'LOPEZ ANA', 'C', 9)"
            << -1 << "" << 9 << kOtraClave;
        QTest::newRow("préstamo, otra empresa")
            << "frmPrestamos" << QStringList{"1"}
            << "insert into Prestamo values (1, 1, 300, 1, '2025-03-01', '2025-04-10', 9)"
            << int(frmPrestamos::kImporte) << "700" << 9 << kOtraClave;
    }

    static void registroAusente(bool eliminar) {
        QFETCH(QString, ventana);
        QFETCH(QStringList, clave);
        QFETCH(QString, otraCopia);
        QFETCH(int, caja);
        QFETCH(QString, encima);
        QFETCH(int, empresa);
        QFETCH(QString, mensaje);
        prueba::BaseDePrueba base;
        Datos(base);
        QPointer<Mantenimiento> w = Abrir(ventana, clave);
        QCOMPARE(int(w->Modo), 1);
        OtraCopia otra(base.ruta());
        QCOMPARE(otra.ejecutar(otraCopia), SQLITE_OK);
        if (caja >= 0) Escribir(w, caja, encima);
        if (empresa) IdEmpresa = empresa;
        const QStringList antes = otra.tablas();
        const QStringList pantalla = Pantalla(w);

        if (eliminar) msgbox_prueba::responder(vbYes);
        Clic(eliminar ? w->btnEliminar() : w->btnGrabar());

        auto m = msgbox_prueba::mostrados();
        if (eliminar) QCOMPARE(m.takeFirst().texto, "Confirma eliminación del registro? ");
        QCOMPARE(m.size(), 1);
        QCOMPARE(m[0].texto, mensaje + Recargar(ventana) + kSinCambios);
        QCOMPARE(m[0].estilo, int(vbExclamation));
        QCOMPARE(m[0].titulo, QString());
        QCOMPARE(otra.tablas(), antes);
        // Nothing typed is lost, and the window goes on.
        QVERIFY(w && w->isVisible());
        QCOMPARE(Pantalla(w), pantalla);
        delete w;
    }

  private slots:
    void init() { msgbox_prueba::limpiar(); }

    void grabarSinRegistro_data() { registroAusente_data(false); }
    void grabarSinRegistro() { registroAusente(false); }
    void eliminarSinRegistro_data() { registroAusente_data(true); }
    void eliminarSinRegistro() { registroAusente(true); }

    // The other copy saves a row that keeps the record while this one is deleting it: it holds
    // the write lock with the row not yet committed when this copy confirms the delete.
    void dependienteGrabadoAlEliminar_data() {
        QTest::addColumn<QString>("ventana");
        QTest::addColumn<QString>("clave");
        QTest::addColumn<QString>("dependiente");
        QTest::addColumn<QString>("registro");  // counts the record and its dependant
        QTest::addColumn<QString>("rechazo");
        QTest::newRow("empresa y declaración")
            << "frmEmpresas"
            << "8"
            << "insert into DDJJ (DDJJ_Id, DDJJ_Periodo, ddjj_idempresa) values (50, "
               "'2025-05-01', 8)"
            << "select (select count(*) from Empresa where Emp_Id=8), (select count(*) from "
               "DDJJ where ddjj_idempresa=8)"
            << "No se puede eliminar la empresa porque existen datos asociados";
        QTest::newRow("empleado y línea de declaración")
            << "frmEmpleados"
            << "1"
            << "insert into EmpleadoXDDJJ (ExD_IdDDJJ, ExD_IdEmpleado, ExD_idempresa) values "
               "(50, 1, 8)"
            << "select (select count(*) from Empleado where Ado_Id=1), (select count(*) from "
               "EmpleadoXDDJJ where ExD_IdEmpleado=1)"
            << "No se puede eliminar el empleado porque existen datos asociados";
        QTest::newRow("categoría y empleado")
            << "frmCategoria"
            << "C"
            << "insert into Empleado (Ado_Id, Ado_Nombre, Ado_Categoria, ado_IdEmpresa) values "
               "(2, 'GOMEZ ANA', 'C', 8)"
            << "select (select count(*) from Categoria where Cat_Id='C'), (select count(*) "
               "from Empleado where Ado_Categoria='C')"
            << "No se puede eliminar la categoria porque existen datos asociados";
    }
    void dependienteGrabadoAlEliminar() {
        QFETCH(QString, ventana);
        QFETCH(QString, clave);
        QFETCH(QString, dependiente);
        QFETCH(QString, registro);
        QFETCH(QString, rechazo);
        prueba::BaseDePrueba base;
        Datos(base);
        QPointer<Mantenimiento> w = Abrir(ventana, {clave});

        std::atomic<bool> bloqueada = false;
        std::atomic<int> resultado = -1;
        std::thread otra([&, ruta = base.ruta()] {
            OtraCopia c(ruta);
            int rc = c.ejecutar("BEGIN IMMEDIATE; " + dependiente);
            bloqueada = true;
            std::this_thread::sleep_for(std::chrono::milliseconds(400));
            if (rc == SQLITE_OK) rc = c.ejecutar("COMMIT");
            resultado = rc;
        });
        while (!bloqueada) std::this_thread::yield();
        msgbox_prueba::responder(vbYes);
        Clic(w->btnEliminar());
        otra.join();
        QCOMPARE(int(resultado), SQLITE_OK);

        const auto m = msgbox_prueba::mostrados();
        QCOMPARE(m.size(), 2);
        QCOMPARE(m[1].texto, rechazo);
        QCOMPARE(OtraCopia(base.ruta()).filas(registro), QStringList{"1|1"});
        delete w;
    }

    // The other copy's write, begun before the click, is committed just before it ("antes") or
    // as this copy's save begins its transaction ("al empezar"): what the save relies on must be
    // read inside that transaction, never before it.
    void leidoAlGrabar_data() {
        QTest::addColumn<QString>("ventana");
        QTest::addColumn<QStringList>("clave");
        QTest::addColumn<QStringList>("escribir");  // "box=text", each typed after the load
        QTest::addColumn<QString>("otraCopia");
        QTest::addColumn<QString>("momento");
        QTest::addColumn<QString>("consulta");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("actualización masiva y sueldo grabado")
            << "frmActSueld" << QStringList{} << QStringList{"0=10\t", "3=100"}
            << "update Empleo set emp_sueldo=900 where emp_codigo=10"
            << "al empezar"
            << "select emp_sueldo from Empleo"
            << "1000.0";
        QTest::newRow("empleado y categoría borrada")
            << "frmEmpleados" << QStringList{"1"} << QStringList{"7=C\t"}
            << "delete from Categoria where Cat_Id='C'"
            << "antes"
            << "select count(*) from Empleado, Categoria where Ado_Categoria=Cat_Id"
            << "1";
        QTest::newRow("préstamo y empleado borrado")
            << "frmPrestamos" << QStringList{"1"} << QStringList{"2=700"} << "delete from Empleado"
            << "antes"
            << "select pre_importe from Prestamo"
            << "600.0";
    }
    void leidoAlGrabar() {
        QFETCH(QString, ventana);
        QFETCH(QStringList, clave);
        QFETCH(QStringList, escribir);
        QFETCH(QString, otraCopia);
        QFETCH(QString, momento);
        QFETCH(QString, consulta);
        QFETCH(QString, esperado);
        prueba::BaseDePrueba base;
        Datos(base);
        QPointer<Mantenimiento> w = Abrir(ventana, clave);
        for (const QString& e : escribir)
            Escribir(w, e.section('=', 0, 0).toInt(), e.section('=', 1));
        OtraCopia otra(base.ruta());
        QCOMPARE(otra.ejecutar("BEGIN IMMEDIATE; " + otraCopia), SQLITE_OK);
        int rc = -1;
        const auto terminar = [&] {
            if (rc == -1) rc = otra.ejecutar("COMMIT");
        };
        if (momento == "antes") terminar();
        {
            // What a save does first beyond reading is to begin its transaction.
            Restriccion gancho(Database::open(RutaBase), [&](Database::Acceso a, const QString&) {
                if (a == Database::Acceso::Otro) terminar();
                return true;
            });
            Clic(w->btnGrabar());
        }
        QCOMPARE(rc, SQLITE_OK);
        QCOMPARE(otra.filas(consulta), QStringList{esperado});
        delete w;
    }

    // The other copy saves a declaration of the loan's employee as this copy's write begins its
    // transaction: the instalments of a declared month, stored or typed, are kept.
    void prestamoDeclarado_data() {
        QTest::addColumn<QString>("escribir");  // "box=text" typed after the load; none: delete
        QTest::addColumn<int>("mes");           // declared, of 2025
        QTest::addColumn<QString>("mensaje");
        const QString declarado = QStringLiteral(
            "El préstamo ya fue declarado: una declaración jurada grabada después de cargarlo (en "
            "otra ventana o en otra copia del programa) incluye a su empleado en el mes de la "
            "primera cuota, y un préstamo declarado solo se puede consultar. Presione Cancelar.");
        QTest::newRow("grabar") << "2=700" << 2 << declarado;
        QTest::newRow("grabar, vencimiento en un mes declarado")
            << "5=10032025" << 3
            << "Una declaración jurada grabada incluye al empleado 1 en el mes del primer "
               "vencimiento (03/2025): las cuotas de un mes declarado no se pueden cambiar. "
               "Corrija el empleado o la fecha del primer vencimiento, o presione Cancelar.";
        QTest::newRow("eliminar") << "" << 2 << declarado;
    }
    void prestamoDeclarado() {
        QFETCH(QString, escribir);
        QFETCH(int, mes);
        QFETCH(QString, mensaje);
        prueba::BaseDePrueba base;
        Datos(base);
        QPointer<Mantenimiento> w = Abrir("frmPrestamos", {"1"});
        if (!escribir.isEmpty())
            Escribir(w, escribir.section('=', 0, 0).toInt(), escribir.section('=', 1));
        OtraCopia otra(base.ruta());
        QCOMPARE(otra.ejecutar(QString("BEGIN IMMEDIATE; insert into DDJJ (DDJJ_Id, DDJJ_Periodo, "
                                       "ddjj_idempresa) values (50, '2025-0%1-01', 8); insert into "
                                       "EmpleadoXDDJJ (ExD_IdDDJJ, ExD_IdEmpleado, ExD_idempresa) "
                                       "values (50, 1, 8)")
                                   .arg(mes)),
                 SQLITE_OK);
        const QStringList antes = otra.tablas();
        int rc = -1;
        Restriccion gancho(Database::open(RutaBase), [&](Database::Acceso a, const QString&) {
            if (a == Database::Acceso::Otro && rc == -1) rc = otra.ejecutar("COMMIT");
            return true;
        });
        if (escribir.isEmpty()) msgbox_prueba::responder(vbYes);
        Clic(escribir.isEmpty() ? w->btnEliminar() : w->btnGrabar());
        QCOMPARE(rc, SQLITE_OK);
        QCOMPARE(msgbox_prueba::mostrados().last().texto, mensaje + kSinCambios);
        QCOMPARE(otra.tablas(), antes);
        delete w;
    }
};

QTEST_MAIN(TstOtraCopia)
#include "tst_otracopia.moc"
