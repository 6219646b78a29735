// Opening a new declaration for a company of 5,000 active employees, each with two loans, and
// 300 leavers listed over the years: the declaration window loads both grids, one loan query per
// employee, and computes the totals. Against plain SQLite reading the same rows with prepared
// statements. Prints both times and their ratio.

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QApplication>
#include <QDate>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>

#include "BaseDeBench.h"
#include "common/Globales.h"
#include "declaration/frmDecJurada.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "platform/MsgBox.h"

using namespace zul;
using zul::bench::AbrirCrudo;
using zul::bench::Exec;
using zul::bench::Segundos;

namespace {

constexpr int kActivos = 5000;
constexpr int kBajas = 300;
constexpr int kCuotasPorPrestamo = 12;
constexpr int kEmpresa = 7;

QTemporaryDir* carpeta = nullptr;
double segundosVentana = 0;
double segundosDirecto = 0;
int filasVentana = 0;
int filasDirecto = 0;

void Paso(sqlite3_stmt* st) {
    sqlite3_step(st);
    sqlite3_reset(st);
}

// The company, its employees and loans; the month of the declaration is the current one.
void PrepararBase() {
    carpeta = bench::CrearBase();
    sqlite3* db = AbrirCrudo();
    Exec(db, "BEGIN");
    Exec(db, "insert into Empresa (Emp_Id, Emp_Nombre, Emp_CUIT) values (7, 'Acme', '30-1')");
    Exec(db, "insert into Categoria (Cat_Id, Cat_Nombre) values ('1', 'Administrativo')");
    sqlite3_stmt* emp = nullptr;
    sqlite3_prepare_v2(db,
                       "insert into Empleado (Ado_Id, Ado_Nombre, Ado_FechaNac, Ado_Cuil, "
                       "Ado_FechaIng, Ado_Sueldo, Ado_Categoria, Ado_Aporte2, Ado_Aporte25, "
                       "Ado_Aporte1, Ado_AporteCS, Ado_Afiliado, Ado_FechaEgreso, ado_IdEmpresa, "
                       "Ado_Remunera, Ado_noRemunera) values (?, 'APELLIDO NOMBRE', '1980-02-01', "
                       "'20-12345678-1', '2010-03-15', ?, '1', -1, ?, -1, -1, ?, ?, 7, ?, 0)",
                       -1, &emp, nullptr);
    for (int i = 1; i <= kActivos + kBajas; ++i) {
        sqlite3_bind_int(emp, 1, i);
        sqlite3_bind_double(emp, 2, 1000.5 + i % 97);
        sqlite3_bind_int(emp, 3, i % 2 ? -1 : 0);
        sqlite3_bind_int(emp, 4, i % 3 ? -1 : 0);
        if (i > kActivos)
            sqlite3_bind_text(emp, 5, "2015-06-30", -1, SQLITE_STATIC);
        else
            sqlite3_bind_null(emp, 5);
        sqlite3_bind_double(emp, 6, i % 4 ? 0 : 900);
        Paso(emp);
    }
    sqlite3_finalize(emp);
    // Two loans per employee, a year of instalments each, running over the current month.
    const QDate primera = QDate::currentDate().addMonths(-5);
    sqlite3_stmt* cuota = nullptr;
    sqlite3_prepare_v2(db,
                       "insert into PrestamoCuota (pcu_idPrestamo, pcu_nrocuota, pcu_idempleado, "
                       "pcu_importe, pcu_fechaven, pcu_IdEmpresa) values (?, ?, ?, ?, ?, 7)",
                       -1, &cuota, nullptr);
    int prestamo = 0;
    for (int i = 1; i <= kActivos; ++i) {
        for (int p = 0; p < 2; ++p) {
            ++prestamo;
            for (int n = 1; n <= kCuotasPorPrestamo; ++n) {
                const QByteArray vence = QDate(primera.year(), primera.month(), 10 + p)
                                             .addMonths(n - 1)
                                             .toString(Qt::ISODate)
                                             .toUtf8();
                sqlite3_bind_int(cuota, 1, prestamo);
                sqlite3_bind_int(cuota, 2, n);
                sqlite3_bind_int(cuota, 3, i);
                sqlite3_bind_double(cuota, 4, 100.25 + p);
                sqlite3_bind_text(cuota, 5, vence.constData(), -1, SQLITE_TRANSIENT);
                Paso(cuota);
            }
        }
    }
    sqlite3_finalize(cuota);
    // The leavers, listed ten per declaration over thirty past months.
    sqlite3_stmt* ddjj = nullptr;
    sqlite3_prepare_v2(db,
                       "insert into DDJJ (DDJJ_Id, DDJJ_Periodo, ddjj_idempresa) values (?, ?, 7)",
                       -1, &ddjj, nullptr);
    sqlite3_stmt* baja = nullptr;
    sqlite3_prepare_v2(db,
                       "insert into Bajas (Baj_DDJJ, Baj_Empleado, Baj_FecEgreso, Baj_Sueldo, "
                       "Baj_IdCatego, baj_idempresa) values (?, ?, '2015-06-30', 900, 1, 7)",
                       -1, &baja, nullptr);
    for (int d = 1; d <= kBajas / 10; ++d) {
        const QByteArray periodo = QDate(2015, 1, 1).addMonths(d).toString(Qt::ISODate).toUtf8();
        sqlite3_bind_int(ddjj, 1, d);
        sqlite3_bind_text(ddjj, 2, periodo.constData(), -1, SQLITE_TRANSIENT);
        Paso(ddjj);
        for (int k = 1; k <= 10; ++k) {
            sqlite3_bind_int(baja, 1, d);
            sqlite3_bind_int(baja, 2, kActivos + (d - 1) * 10 + k);
            Paso(baja);
        }
    }
    sqlite3_finalize(ddjj);
    sqlite3_finalize(baja);
    Exec(db, "COMMIT");
    sqlite3_close(db);
    IdEmpresa = kEmpresa;
    msgbox_prueba::activar();
}

void BM_AbrirDDJJ(benchmark::State& state) {
    double total = 0;
    for (auto _ : state) {
        const auto inicio = std::chrono::steady_clock::now();
        auto* ventana = new frmDecJurada;
        total += Segundos(inicio);
        state.PauseTiming();
        filasVentana = ventana->Grilla()->Rows() - 2;
        if (ventana->texto(5)->text() != QString::number(kActivos))
            state.SkipWithError("la cantidad de empleados no es la esperada");
        delete ventana;
        state.ResumeTiming();
    }
    segundosVentana = total / static_cast<double>(state.iterations());
}

// The same rows: the employees with their category, one loan sum per employee, the leavers.
void BM_SQLiteDirecto(benchmark::State& state) {
    const QDate d = QDate::currentDate();
    const QByteArray desde = QDate(d.year(), d.month(), 1).toString(Qt::ISODate).toUtf8();
    const QByteArray hasta =
        QDate(d.year(), d.month(), 1).addMonths(1).toString(Qt::ISODate).toUtf8();
    double total = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Database::closeShared();
        sqlite3* db = AbrirCrudo();
        state.ResumeTiming();
        const auto inicio = std::chrono::steady_clock::now();
        sqlite3_stmt* emp = nullptr;
        sqlite3_prepare_v2(db,
                           "select * from empleado, categoria where cat_id= ado_categoria and "
                           "ado_fechaegreso is null and ado_idempresa=7",
                           -1, &emp, nullptr);
        sqlite3_stmt* suma = nullptr;
        sqlite3_prepare_v2(db,
                           "select sum(pcu_importe) from PrestamoCuota where pcu_idempleado=? and "
                           "pcu_fechaven>=? and pcu_fechaven<? and pcu_idempresa=7",
                           -1, &suma, nullptr);
        double prestamos = 0;
        int filas = 0;
        while (sqlite3_step(emp) == SQLITE_ROW) {
            ++filas;
            for (int c = 0; c < sqlite3_column_count(emp); ++c) sqlite3_column_text(emp, c);
            sqlite3_bind_int(suma, 1, sqlite3_column_int(emp, 0));
            sqlite3_bind_text(suma, 2, desde.constData(), -1, SQLITE_STATIC);
            sqlite3_bind_text(suma, 3, hasta.constData(), -1, SQLITE_STATIC);
            if (sqlite3_step(suma) == SQLITE_ROW) prestamos += sqlite3_column_double(suma, 0);
            sqlite3_reset(suma);
        }
        sqlite3_finalize(emp);
        sqlite3_finalize(suma);
        sqlite3_stmt* bajas = nullptr;
        sqlite3_prepare_v2(db,
                           "select * from empleado, categoria where cat_id=ado_categoria and not "
                           "Ado_FechaEgreso is null and ado_idempresa=7 and ado_id not in (select "
                           "Baj_Empleado from bajas where baj_idempresa=7)",
                           -1, &bajas, nullptr);
        while (sqlite3_step(bajas) == SQLITE_ROW)
            for (int c = 0; c < sqlite3_column_count(bajas); ++c) sqlite3_column_text(bajas, c);
        sqlite3_finalize(bajas);
        total += Segundos(inicio);
        benchmark::DoNotOptimize(prestamos);
        filasDirecto = filas;
        state.PauseTiming();
        sqlite3_close(db);
        state.ResumeTiming();
    }
    segundosDirecto = total / static_cast<double>(state.iterations());
}

BENCHMARK(BM_AbrirDDJJ)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_SQLiteDirecto)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    PrepararBase();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("\nAbrir una DDJJ nueva (%d empleados, %d bajas): %.3f s\n", filasVentana, kBajas,
                segundosVentana);
    std::printf("SQLite directo, las mismas filas (%d):          %.3f s\n", filasDirecto,
                segundosDirecto);
    if (segundosDirecto > 0) std::printf("relación %.2f\n", segundosVentana / segundosDirecto);
    return 0;
}
