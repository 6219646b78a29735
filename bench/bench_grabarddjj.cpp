// Saving a declaration of 5,000 employees and 300 leavers, against plain SQLite writing the same
// rows with prepared statements in one transaction. Prints both times and their ratio.

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>

#include "BaseDeBench.h"
#include "common/Globales.h"
#include "declaration/GrabarDDJJ.h"
#include "platform/Database.h"
#include "platform/MsgBox.h"

using namespace zul;
using zul::bench::AbrirCrudo;
using zul::bench::Exec;
using zul::bench::Segundos;

namespace {

constexpr int kEmpleados = 5000;
constexpr int kBajas = 300;
constexpr int kEmpresa = 7;

QTemporaryDir* carpeta = nullptr;
double segundosGrabar = 0;
double segundosDirecto = 0;

void PrepararBase() {
    carpeta = bench::CrearBase();
    sqlite3* db = AbrirCrudo();
    Exec(db, "BEGIN");
    Exec(db,
         "insert into Empresa (Emp_Id, Emp_Nombre, Emp_CUIT) values (7, 'Acme', "
         "'30-99887766-5')");
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db,
                       "insert into Empleado (Ado_Id, Ado_Nombre, Ado_Sueldo, ado_IdEmpresa) "
                       "values (?, 'Empleado', 1000.5, 7)",
                       -1, &st, nullptr);
    for (int i = 1; i <= kEmpleados + kBajas; ++i) {
        sqlite3_bind_int(st, 1, i);
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    Exec(db, "COMMIT");
    sqlite3_close(db);
    IdEmpresa = kEmpresa;
    msgbox_prueba::activar();
}

// What the window holds for that company in May 2024.
DDJJEnPantalla Pantalla() {
    DDJJEnPantalla d;
    d.periodo = "05/2024";
    d.vencimiento = "10/06/2024";
    d.nroInscripcion = "1234";
    d.cantEmpleados = QString::number(kEmpleados);
    d.totalRemu = "5002500";
    d.remu2 = "100050";
    d.farmacia = "125062,5";
    d.amec = "50025";
    d.cuotaSocietaria = "25000";
    d.total = "450137,5";
    d.valorCuota = "10";
    d.tope = "";
    d.amec3 = "150075";
    d.prestamos = "0";
    for (int i = 1; i <= kEmpleados; ++i)
        d.empleados.push_back({QString::number(i), "1000,5", i % 2 == 0, true, i % 3 == 0,
                               i % 5 != 0, "3", i % 5 != 0, i % 7 == 0 ? "150,25" : ""});
    d.empleados.push_back({});  // the grid's empty last row
    for (int i = 1; i <= kBajas; ++i)
        d.bajas.push_back({QString::number(kEmpleados + i), "15/05/2024", "900,25", "2"});
    d.bajas.push_back({});
    return d;
}

void Limpiar() {
    sqlite3* db = AbrirCrudo();
    Exec(db,
         "delete from Bajas; delete from EmpleadoXDDJJ; delete from DDJJ; "
         "update Empleado set Ado_FechaEgreso = NULL");
    sqlite3_close(db);
}

void BM_GrabarDDJJ(benchmark::State& state) {
    const DDJJEnPantalla d = Pantalla();
    double total = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Limpiar();
        state.ResumeTiming();
        const auto inicio = std::chrono::steady_clock::now();
        const auto r = GrabarDDJJ(d);
        total += Segundos(inicio);
        if (!r.grabada()) state.SkipWithError("la declaración no se grabó");
    }
    segundosGrabar = total / static_cast<double>(state.iterations());
}

// The same rows through prepared statements with bound values, in one transaction.
void BM_SQLiteDirecto(benchmark::State& state) {
    const DDJJEnPantalla d = Pantalla();
    double total = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Limpiar();
        sqlite3* db = AbrirCrudo();
        state.ResumeTiming();
        const auto inicio = std::chrono::steady_clock::now();
        Exec(db, "BEGIN");
        Exec(db,
             "insert into DDJJ(DDJJ_Id,DDJJ_Periodo,DDJJ_Fecha,DDJJ_Vencimiento,DDJJ_NroIns,"
             "DDJJ_CantEmp,DDJJ_TotalRemu,DDJJ_2Remu,DDJJ_Farmacia,DDJJ_Amec,DDJJ_Cuota,"
             "DDJJ_Total,DDJJ_ValorCuota,DDJJ_Tope,DDJJ_Prestamo,DDJJ_Amec3,ddjj_idempresa,"
             "DDJJ_CODBAR,DDJJ_fcodbar) values(1,'2024-05-01','2024-05-20','2024-06-10',1234,"
             "5000,5002500,100050,125062.5,50025,25000,450137.5,10,0,0,150075,7,"
             "'45203099887766505202404501375000','x')");
        sqlite3_stmt* emp = nullptr;
        sqlite3_prepare_v2(db,
                           "insert into EmpleadoXDDJJ (ExD_IdDDJJ, ExD_IdEmpleado,ExD_Sueldo, "
                           "ExD_Aporte2,ExD_AporteFar,ExD_AporteAmec,ExD_Cuota,ExD_IdCatego,"
                           "ExD_Afiliado,ExD_Prestamo,ExD_idempresa) "
                           "values (1,?,?,?,?,?,?,?,?,?,7)",
                           -1, &emp, nullptr);
        for (int i = 1; i <= kEmpleados; ++i) {
            sqlite3_bind_int(emp, 1, i);
            sqlite3_bind_double(emp, 2, 1000.5);
            sqlite3_bind_int(emp, 3, i % 2 == 0);
            sqlite3_bind_int(emp, 4, 1);
            sqlite3_bind_int(emp, 5, i % 3 == 0);
            sqlite3_bind_int(emp, 6, i % 5 != 0);
            sqlite3_bind_int(emp, 7, 3);
            sqlite3_bind_int(emp, 8, i % 5 != 0);
            sqlite3_bind_double(emp, 9, i % 7 == 0 ? 150.25 : 0);
            sqlite3_step(emp);
            sqlite3_reset(emp);
        }
        sqlite3_finalize(emp);
        sqlite3_stmt* baja = nullptr;
        sqlite3_stmt* egreso = nullptr;
        sqlite3_prepare_v2(db,
                           "insert into Bajas (Baj_DDJJ, Baj_Empleado,Baj_FecEgreso,Baj_Sueldo,"
                           "Baj_IdCatego,baj_idempresa) values (1,?,'2024-05-15',900.25,2,7)",
                           -1, &baja, nullptr);
        sqlite3_prepare_v2(db,
                           "update empleado set Ado_FechaEgreso='2024-05-15' where ado_id=? and "
                           "ado_idempresa=7",
                           -1, &egreso, nullptr);
        for (int i = 1; i <= kBajas; ++i) {
            sqlite3_bind_int(baja, 1, kEmpleados + i);
            sqlite3_step(baja);
            sqlite3_reset(baja);
            sqlite3_bind_int(egreso, 1, kEmpleados + i);
            sqlite3_step(egreso);
            sqlite3_reset(egreso);
        }
        sqlite3_finalize(baja);
        sqlite3_finalize(egreso);
        Exec(db, "COMMIT");
        total += Segundos(inicio);
        state.PauseTiming();
        sqlite3_close(db);
        state.ResumeTiming();
    }
    segundosDirecto = total / static_cast<double>(state.iterations());
}

BENCHMARK(BM_GrabarDDJJ)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_SQLiteDirecto)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
    const int r = bench::Correr(argc, argv, PrepararBase, [] {
        if (segundosGrabar > 0 && segundosDirecto > 0)
            std::printf(
                "\nGrabar DDJJ (%d empleados, %d bajas): %.1f ms; SQLite directo: %.1f ms; "
                "relación %.2fx (objetivo < 300 ms y <= 3x)\n",
                kEmpleados, kBajas, segundosGrabar * 1000, segundosDirecto * 1000,
                segundosGrabar / segundosDirecto);
    });
    delete carpeta;
    return r;
}
