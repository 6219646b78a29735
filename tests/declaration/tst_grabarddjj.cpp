// Saving and deleting a declaration over a temporary database; the rows are read back with
// plain SQLite, apart from the program's own database layer.

#include <sqlite3.h>

#include <QDate>
#include <QtTest>
#include <atomic>
#include <chrono>
#include <thread>

#include "common/Globales.h"
#include "declaration/GrabarDDJJ.h"
#include "platform/MsgBox.h"
#include "support/BaseDePrueba.h"

using namespace zul;
using namespace zul::prueba;

namespace {

// A second, plain connection on the same file.
class Crudo {
  public:
    explicit Crudo(const QString& ruta) { sqlite3_open(ruta.toUtf8().constData(), &db_); }
    ~Crudo() { sqlite3_close(db_); }
    void ejecutar(const char* sql) {
        char* error = nullptr;
        if (sqlite3_exec(db_, sql, nullptr, nullptr, &error) != SQLITE_OK) {
            const QString e = QString::fromUtf8(error);
            sqlite3_free(error);
            QFAIL(qPrintable(e));
        }
    }
    // Every row, columns joined by "|" (NULL as "NULL").
    QStringList filas(const char* sql) {
        QStringList r;
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db_, sql, -1, &st, nullptr) != SQLITE_OK) return {"ERROR"};
        while (sqlite3_step(st) == SQLITE_ROW) {
            QStringList c;
            for (int i = 0; i < sqlite3_column_count(st); ++i)
                c << (sqlite3_column_type(st, i) == SQLITE_NULL
                          ? QStringLiteral("NULL")
                          : QString::fromUtf8(
                                reinterpret_cast<const char*>(sqlite3_column_text(st, i))));
            r << c.join('|');
        }
        sqlite3_finalize(st);
        return r;
    }
    QString uno(const char* sql) { return filas(sql).value(0); }

  private:
    sqlite3* db_ = nullptr;
};

// Company 7 (CUIT 30-99887766-5) with employees 1 to 5; company 8 for other declarations.
void Empresas(const BaseDePrueba& base) {
    base.ejecutar(
        "insert into Empresa (Emp_Id, Emp_Nombre, Emp_CUIT) values "
        "(7, 'Acme', '30-99887766-5'), (8, 'Otra', '20-12345678-6')");
    for (int i = 1; i <= 5; ++i)
        base.ejecutar(QString("insert into Empleado (Ado_Id, Ado_Nombre, ado_IdEmpresa) "
                              "values (%1, 'Empleado %1', 7)")
                          .arg(i));
    IdEmpresa = 7;
}

DDJJEnPantalla Declaracion() {
    DDJJEnPantalla d;
    d.periodo = "05/2024";
    d.vencimiento = "10/06/2024";
    d.nroInscripcion = "1234";
    d.cantEmpleados = "3";
    d.totalRemu = "3000,5";
    d.remu2 = "60,01";
    d.farmacia = "75,0125";
    d.amec = "30,005";
    d.cuotaSocietaria = "20";
    d.total = "98765,4321";
    d.valorCuota = "10";
    d.tope = "";
    d.amec3 = "90,015";
    d.prestamos = "150";
    d.empleados = {{"1", "1000,5", true, true, false, true, "3", true, "150"},
                   {"2", "1000", false, true, true, false, "4", false, ""},
                   {"3", "1000", true, false, false, false, "X", false, ""},
                   {"abc", "5", true, true, true, true, "1", true, ""},   // not a code
                   {"", "", false, false, false, false, "", false, ""}};  // the empty last row
    d.bajas = {{"4", "15/05/2024", "900,25", "2"},
               {"5", "__/__/____", "800", "2"},  // no leaving date typed
               {"", "", "", ""}};
    return d;
}

int Cuenta(Crudo& c, const char* tabla) {
    return c.uno(QByteArray("select count(*) from ") + tabla).toInt();
}

}  // namespace

class TstGrabarDDJJ : public QObject {
    Q_OBJECT

  private slots:
    void grabaLaDeclaracionConSusFilas() {
        BaseDePrueba base;
        Empresas(base);
        const auto r = GrabarDDJJ(Declaracion());
        QVERIFY(r.grabada());
        QCOMPARE(r.idDDJJ, 1);  // first declaration of an empty table
        QVERIFY(msgbox_prueba::mostrados().isEmpty());

        Crudo c(base.ruta());
        QCOMPARE(c.filas("select DDJJ_Id, DDJJ_Periodo, DDJJ_Fecha, DDJJ_Vencimiento, DDJJ_NroIns,"
                         " DDJJ_CantEmp, DDJJ_TotalRemu, DDJJ_2Remu, DDJJ_Farmacia, DDJJ_Amec,"
                         " DDJJ_Cuota, DDJJ_Total, DDJJ_ValorCuota, DDJJ_Tope, DDJJ_Prestamo,"
                         " DDJJ_Amec3, ddjj_idempresa, DDJJ_CODBAR from DDJJ"),
                 QStringList{"1|2024-05-01|" + QDate::currentDate().toString(Qt::ISODate) +
                             "|2024-06-10|1234|3|3000.5|60.01|75.0125|30.005|20.0|98765.4321|"
                             "10.0|0.0|150.0|90.015|7|45203099887766505202400098765438"});
        // The font text of those digits, as the report's bar-code font reads it.
        const QString fuente = QString::fromUtf8(c.uno("select DDJJ_fcodbar from DDJJ").toUtf8());
        QList<int> codigos;
        for (QChar ch : fuente) codigos << ch.unicode();
        QCOMPARE(codigos, (QList<int>{171, 78, 53, 63, 170, 121, 110, 99, 83, 85, 35, 73, 33, 169,
                                      109, 87, 71, 172}));

        QCOMPARE(c.filas("select ExD_IdDDJJ, ExD_IdEmpleado, ExD_Sueldo, ExD_Aporte2,"
                         " ExD_AporteFar, ExD_AporteAmec, ExD_Cuota, ExD_IdCatego, ExD_Afiliado,"
                         " ExD_Prestamo, ExD_idempresa from EmpleadoXDDJJ order by rowid"),
                 (QStringList{"1|1|1000.5|1|1|0|1|3|1|150.0|7", "1|2|1000.0|0|1|1|0|4|0|0.0|7",
                              "1|3|1000.0|1|0|0|0|0|0|0.0|7"}));
        QCOMPARE(c.filas("select Baj_DDJJ, Baj_Empleado, Baj_FecEgreso, Baj_Sueldo, Baj_IdCatego,"
                         " baj_idempresa from Bajas"),
                 QStringList{"1|4|2024-05-15|900.25|2|7"});
        QCOMPARE(c.filas("select Ado_Id, Ado_FechaEgreso from Empleado order by Ado_Id"),
                 (QStringList{"1|NULL", "2|NULL", "3|NULL", "4|2024-05-15", "5|NULL"}));
    }

    void numeroSobreTodasLasEmpresasYApostrofe() {
        BaseDePrueba base;
        Empresas(base);
        for (int i = 1; i <= 5; ++i)
            base.ejecutar(QString("insert into DDJJ (DDJJ_Id, DDJJ_Periodo, ddjj_idempresa) "
                                  "values (%1, #%1/01/2023#, 8)")
                              .arg(i));
        // CUIT digits starting 06: the pair 06 is the apostrophe of the font text.
        base.ejecutar("update Empresa set Emp_CUIT = '06-12345678-9' where Emp_Id = 7");
        const auto r = GrabarDDJJ(Declaracion());
        QVERIFY(r.grabada());
        QCOMPARE(r.idDDJJ, 6);
        Crudo c(base.ruta());
        const QString fuente = c.uno("select DDJJ_fcodbar from DDJJ where DDJJ_Id = 6");
        QCOMPARE(fuente.mid(3, 1), QString("'"));
        QCOMPARE(fuente.count('\''), 1);
        QVERIFY(
            c.uno("select DDJJ_CODBAR from DDJJ where DDJJ_Id = 6").startsWith("452006123456789"));
    }

    void rechazosSinEscribirNada() {
        BaseDePrueba base;
        Empresas(base);
        QVERIFY(GrabarDDJJ(Declaracion()).grabada());  // May 2024 is taken
        Crudo c(base.ruta());

        struct Caso {
            const char* nombre;
            std::function<void(DDJJEnPantalla&)> cambio;
            QString texto;
            int estilo;
            QString titulo;  // "*" = the application's title
            QString foco;
        };
        const QString kVenceMal = "La fecha de vencimiento ingresada no es válida";
        const QString kInscripcionMal =
            "El número de inscripción debe ser un número entero entre 1 y 2147483647";
        const QList<Caso> casos{
            {"vencimiento incompleto", [](auto& d) { d.vencimiento = "__/06/2024"; }, kVenceMal, 48,
             "", "texto_14"},
            {"vencimiento imposible", [](auto& d) { d.vencimiento = "31/02/2024"; }, kVenceMal, 48,
             "", "texto_14"},
            {"inscripción con guion", [](auto& d) { d.nroInscripcion = "12-34"; }, kInscripcionMal,
             48, "", "texto_15"},
            {"inscripción de 23 cifras",
             [](auto& d) { d.nroInscripcion = "12345678901234567890123"; }, kInscripcionMal, 48, "",
             "texto_15"},
            {"inscripción negativa", [](auto& d) { d.nroInscripcion = "-5"; }, kInscripcionMal, 48,
             "", "texto_15"},
            {"inscripción con decimales", [](auto& d) { d.nroInscripcion = "12,5"; },
             kInscripcionMal, 48, "", "texto_15"},
            {"período inválido", [](auto& d) { d.periodo = "13/2024"; },
             "El período ingresado no es válido!", 48, "", "mskPeriodo"},
            {"período ya declarado", [](auto&) {}, "Ya existe una DDJJ para el período ingresado",
             48, "*", ""},
            {"total negativo", [](auto& d) { d.periodo = "06/2024", d.total = "-0,01"; }, "", 48,
             "*", ""},
            {"total de 9 cifras", [](auto& d) { d.periodo = "06/2024", d.total = "100000000"; }, "",
             48, "*", ""},
        };
        for (const Caso& caso : casos) {
            msgbox_prueba::limpiar();
            DDJJEnPantalla d = Declaracion();
            d.bajas.clear();  // May declared them
            caso.cambio(d);
            const auto r = GrabarDDJJ(d);
            QVERIFY2(r.estado == ResultadoGrabar::Estado::Rechazada, caso.nombre);
            QCOMPARE(r.foco, caso.foco);
            const auto m = msgbox_prueba::mostrados();
            QCOMPARE(m.size(), 1);
            if (!caso.texto.isEmpty())
                QCOMPARE(m[0].texto, caso.texto);
            else
                QVERIFY2(m[0].texto.contains("código de barras"), qPrintable(m[0].texto));
            QCOMPARE(m[0].estilo, caso.estilo);
            if (caso.titulo != "*") QCOMPARE(m[0].titulo, caso.titulo);
            QCOMPARE(Cuenta(c, "DDJJ"), 1);
        }

        // The company row vanished after the window was loaded: no bar code, no save.
        base.ejecutar("delete from Empresa where Emp_Id = 7");
        msgbox_prueba::limpiar();
        DDJJEnPantalla d = Declaracion();
        d.bajas.clear();
        d.periodo = "07/2024";
        QCOMPARE(GrabarDDJJ(d).estado, ResultadoGrabar::Estado::Rechazada);
        QVERIFY(msgbox_prueba::mostrados().value(0).texto.contains("código de barras"));
        QCOMPARE(Cuenta(c, "DDJJ"), 1);
        QCOMPARE(Cuenta(c, "EmpleadoXDDJJ"), 3);
        QCOMPARE(Cuenta(c, "Bajas"), 1);
    }

    void falloAMitadNoDejaNada_data() {
        QTest::addColumn<QString>("disparador");
        QTest::addColumn<QString>("comienzo");
        // The leavers report the error number as well; the rest only the description.
        QTest::newRow("en las bajas") << "create trigger falla before insert on Bajas begin "
                                         "select raise(abort, 'baja rechazada'); end"
                                      << "Error Nro.: ";
        QTest::newRow("en el segundo empleado")
            << "create trigger falla before insert on EmpleadoXDDJJ when new.ExD_IdEmpleado = 2 "
               "begin select raise(abort, 'empleado rechazado'); end"
            << "Error Nro.:empleado rechazado";
        QTest::newRow("al fijar el egreso")
            << "create trigger falla before update on Empleado begin "
               "select raise(abort, 'egreso rechazado'); end"
            << "Error Nro.: ";
    }

    void falloAMitadNoDejaNada() {
        QFETCH(QString, disparador);
        QFETCH(QString, comienzo);
        BaseDePrueba base;
        Empresas(base);
        Crudo c(base.ruta());
        c.ejecutar(disparador.toUtf8().constData());

        const auto r = GrabarDDJJ(Declaracion());
        QCOMPARE(r.estado, ResultadoGrabar::Estado::Fallo);
        const auto m = msgbox_prueba::mostrados();
        QCOMPARE(m.size(), 1);
        QVERIFY2(m[0].texto.startsWith(comienzo), qPrintable(m[0].texto));
        QVERIFY(m[0].texto.contains("rechazad"));
        QCOMPARE(Cuenta(c, "DDJJ"), 0);
        QCOMPARE(Cuenta(c, "EmpleadoXDDJJ"), 0);
        QCOMPARE(Cuenta(c, "Bajas"), 0);
        QCOMPARE(c.uno("select count(*) from Empleado where Ado_FechaEgreso is not null"),
                 QString("0"));

        // Once the cause is gone the same declaration saves, under the number not consumed.
        c.ejecutar("drop trigger falla");
        const auto otra = GrabarDDJJ(Declaracion());
        QVERIFY(otra.grabada());
        QCOMPARE(otra.idDDJJ, 1);
    }

    void esperaAQueOtraCopiaTermineDeGrabar_data() {
        QTest::addColumn<bool>("eliminar");
        QTest::newRow("grabar") << false;
        QTest::newRow("eliminar") << true;
    }

    void esperaAQueOtraCopiaTermineDeGrabar() {
        QFETCH(bool, eliminar);
        BaseDePrueba base;
        Empresas(base);
        const auto mayo = GrabarDDJJ(Declaracion());
        QVERIFY(mayo.grabada());
        // Another copy of the program holds the write lock for a moment while it saves.
        std::atomic<bool> bloqueada = false;
        std::thread otra([&bloqueada, ruta = base.ruta()] {
            Crudo c(ruta);
            c.ejecutar("BEGIN IMMEDIATE");
            c.ejecutar(
                "insert into DDJJ (DDJJ_Id, DDJJ_Periodo, ddjj_idempresa) "
                "values (50, '2024-05-01', 8)");
            bloqueada = true;
            std::this_thread::sleep_for(std::chrono::milliseconds(400));
            c.ejecutar("COMMIT");
        });
        while (!bloqueada) std::this_thread::yield();
        DDJJEnPantalla junio = Declaracion();
        junio.periodo = "06/2024";
        junio.bajas.clear();  // May declared them
        const bool hecho =
            eliminar ? EliminarDDJJ(mayo.idDDJJ, "05/2024") == ResultadoEliminar::Eliminada
                     : GrabarDDJJ(junio).grabada();
        otra.join();
        QVERIFY2(hecho, qPrintable(msgbox_prueba::mostrados().value(0).texto));
        Crudo c(base.ruta());
        QCOMPARE(c.uno("select group_concat(DDJJ_Id) from (select DDJJ_Id from DDJJ order by 1)"),
                 QString(eliminar ? "50" : "1,50,51"));
    }

    void eliminarNoTocaLaDeclaracionQueOcupoSuLugar_data() {
        // What another copy did after this one loaded declaration 1 (company 7, May 2024).
        QTest::addColumn<QString>("otraCopia");  // the DDJJ row that took number 1, if any
        QTest::newRow("la borró") << "";
        QTest::newRow("otra empresa con el mismo número") << "(1, '2024-05-01', 8)";
        QTest::newRow("otro mes con el mismo número") << "(1, '2024-06-01', 7)";
    }

    void eliminarNoTocaLaDeclaracionQueOcupoSuLugar() {
        QFETCH(QString, otraCopia);
        BaseDePrueba base;
        Empresas(base);
        const auto r = GrabarDDJJ(Declaracion());
        Crudo c(base.ruta());
        c.ejecutar("delete from Bajas; delete from EmpleadoXDDJJ; delete from DDJJ");
        if (!otraCopia.isEmpty())
            c.ejecutar(("insert into DDJJ (DDJJ_Id, DDJJ_Periodo, ddjj_idempresa) values " +
                        otraCopia +
                        "; insert into EmpleadoXDDJJ (ExD_IdDDJJ, ExD_IdEmpleado) "
                        "values (1, 1), (1, 2)")
                           .toUtf8()
                           .constData());
        const auto filas = [&c] { return c.filas("select * from DDJJ, EmpleadoXDDJJ"); };
        const QStringList antes = filas();

        msgbox_prueba::limpiar();
        QCOMPARE(EliminarDDJJ(r.idDDJJ, "05/2024"), ResultadoEliminar::NoExiste);
        QCOMPARE(msgbox_prueba::mostrados().size(), 1);
        QVERIFY(msgbox_prueba::mostrados()[0].texto.contains("ya no existe"));
        QCOMPARE(filas(), antes);
    }

    // What another copy did after this one loaded the window: the save refuses and loads again.
    void otraCopiaCambioLosEmpleados_data() {
        QTest::addColumn<QString>("otraCopia");
        QTest::addColumn<QString>("mensaje");
        QTest::newRow("declaró la baja en abril")
            << "insert into DDJJ (DDJJ_Id, DDJJ_Periodo, ddjj_idempresa) values "
               "(9, '2024-04-01', 7); insert into Bajas (Baj_DDJJ, Baj_Empleado, baj_idempresa) "
               "values (9, 4, 7)"
            << "El empleado 4 ya fue declarado";
        QTest::newRow("eliminó un empleado activo") << "delete from Empleado where Ado_Id = 2"
                                                    << "El empleado 2 ya no existe";
        QTest::newRow("eliminó una baja") << "delete from Empleado where Ado_Id = 4"
                                          << "El empleado 4 ya no existe";
    }

    void otraCopiaCambioLosEmpleados() {
        QFETCH(QString, otraCopia);
        QFETCH(QString, mensaje);
        BaseDePrueba base;
        Empresas(base);
        Crudo c(base.ruta());
        c.ejecutar(otraCopia.toUtf8().constData());
        const auto filas = [&c] {
            return c.filas(
                "select (select count(*) from DDJJ), (select count(*) from Bajas), "
                "(select count(*) from Empleado where Ado_FechaEgreso is not null)");
        };
        const QStringList antes = filas();
        const auto r = GrabarDDJJ(Declaracion());
        QCOMPARE(r.estado, ResultadoGrabar::Estado::Rechazada);
        QVERIFY(r.recargar);
        const auto m = msgbox_prueba::mostrados();
        QCOMPARE(m.size(), 1);
        QVERIFY2(m[0].texto.startsWith(mensaje), qPrintable(m[0].texto));
        QCOMPARE(filas(), antes);
        QCOMPARE(Cuenta(c, "EmpleadoXDDJJ"), 0);
    }

    void eliminarQuitaTodoYDejaLosEgresos() {
        BaseDePrueba base;
        Empresas(base);
        const auto r = GrabarDDJJ(Declaracion());
        DDJJEnPantalla junio = Declaracion();
        junio.periodo = "06/2024";
        junio.bajas.clear();  // May declared them
        const auto r2 = GrabarDDJJ(junio);
        QVERIFY(r.grabada() && r2.grabada());
        Crudo c(base.ruta());

        msgbox_prueba::limpiar();
        QCOMPARE(EliminarDDJJ(r.idDDJJ, "05/2024"), ResultadoEliminar::Eliminada);
        const auto m = msgbox_prueba::mostrados();
        QCOMPARE(m.size(), 1);
        QCOMPARE(m[0].texto, QString("El registro se eliminó correctamente"));
        QCOMPARE(m[0].estilo, 64);
        QCOMPARE(m[0].titulo, QString(""));
        QCOMPARE(c.filas("select DDJJ_Id from DDJJ"), QStringList{QString::number(r2.idDDJJ)});
        QCOMPARE(c.uno("select count(*) from EmpleadoXDDJJ where ExD_IdDDJJ <> 2"), QString("0"));
        QCOMPARE(c.uno("select count(*) from Bajas where Baj_DDJJ <> 2"), QString("0"));
        QCOMPARE(Cuenta(c, "EmpleadoXDDJJ"), 3);
        QCOMPARE(c.uno("select Ado_FechaEgreso from Empleado where Ado_Id = 4"),
                 QString("2024-05-15"));

        // May is free again.
        QVERIFY(GrabarDDJJ(Declaracion()).grabada());
    }

    void eliminarQueFallaNoBorraNada() {
        BaseDePrueba base;
        Empresas(base);
        const auto r = GrabarDDJJ(Declaracion());
        QVERIFY(r.grabada());
        Crudo c(base.ruta());
        c.ejecutar(
            "create trigger falla before delete on DDJJ begin "
            "select raise(abort, 'no se puede borrar'); end");
        msgbox_prueba::limpiar();
        QCOMPARE(EliminarDDJJ(r.idDDJJ, "05/2024"), ResultadoEliminar::Fallo);
        const auto m = msgbox_prueba::mostrados();
        QCOMPARE(m.size(), 1);
        QVERIFY(m[0].texto.startsWith("Error Nro.: "));
        QVERIFY(m[0].texto.contains("no se puede borrar"));
        QCOMPARE(Cuenta(c, "DDJJ"), 1);
        QCOMPARE(Cuenta(c, "EmpleadoXDDJJ"), 3);
        QCOMPARE(Cuenta(c, "Bajas"), 1);
    }
};

QTEST_MAIN(TstGrabarDDJJ)
#include "tst_grabarddjj.moc"
