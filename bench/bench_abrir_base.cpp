// Opening the database at start-up: the connection with its check of the file's size, and the
// full check that tables and indexes agree, on a firm's file of 5,000 employees with their loans
// and three years of monthly declarations. Against plain SQLite opening the same file, and
// against the engine's quick check (which does not compare indexes with their tables). And a
// small write transaction, which checks the size too, against the same in plain SQLite.

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QFileInfo>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>

#include "BaseDeBench.h"
#include "common/Globales.h"
#include "platform/Database.h"

using namespace zul;
using zul::bench::AbrirCrudo;
using zul::bench::Exec;
using zul::bench::Segundos;

namespace {

constexpr int kEmpleados = 5000;
constexpr int kMeses = 36;

QTemporaryDir* carpeta = nullptr;
double segundosAbrir = 0, segundosIntegridad = 0, segundosCrudo = 0, segundosRapida = 0;
double segundosEscribir = 0, segundosEscribirCrudo = 0;
const char* const kEscritura = "update Empresa set Emp_Telefono='4444' where Emp_Id=7";

// Runs `plantilla` with %1 replaced by `n`.
void Llenar(sqlite3* db, const char* plantilla, int n) {
    Exec(db, QString::fromUtf8(plantilla).arg(n).toUtf8().constData());
}

void PrepararBase() {
    carpeta = bench::CrearBase();
    sqlite3* db = AbrirCrudo();
    Exec(db, "BEGIN");
    Exec(db, "insert into Empresa (Emp_Id, Emp_Nombre, Emp_CUIT) values (7, 'Acme', '30-1')");
    Exec(db, "insert into Categoria (Cat_Id, Cat_Nombre) values ('1', 'Administrativo')");
    Llenar(db,
           "with recursive n(i) as (select 1 union all select i + 1 from n where i < %1) "
           "insert into Empleado (Ado_Id, Ado_Nombre, Ado_Cuil, Ado_FechaIng, Ado_Sueldo, "
           "Ado_Categoria, Ado_Aporte2, Ado_Aporte25, Ado_Aporte1, Ado_AporteCS, Ado_Afiliado, "
           "ado_IdEmpresa) select i, 'APELLIDO NOMBRE ' || i, '20-12345678-1', '2010-03-15', "
           "1000.5 + i % 97, '1', -1, i % 2, -1, -1, i % 3, 7 from n",
           kEmpleados);
    // Two loans of twelve instalments per employee.
    Llenar(db,
           "with recursive n(i) as (select 0 union all select i + 1 from n where i < %1) "
           "insert into PrestamoCuota select i / 12 + 1, i % 12 + 1, i / 24 + 1, 100.25, "
           "date('2024-01-10', '+' || (i % 12) || ' months'), 7 from n",
           kEmpleados * 24 - 1);
    Llenar(db,
           "with recursive m(d) as (select 1 union all select d + 1 from m where d < %1) "
           "insert into DDJJ (DDJJ_Id, DDJJ_Periodo, ddjj_idempresa, DDJJ_CODBAR) select d, "
           "date('2021-01-01', '+' || (d - 1) || ' months'), 7, "
           "'45203099887766505202404501375000' from m",
           kMeses);
    Exec(db,
         "insert into EmpleadoXDDJJ select DDJJ_Id, Ado_Id, Ado_Sueldo, -1, Ado_Aporte25, -1, -1, "
         "1, Ado_Afiliado, 200.5, 7 from DDJJ, Empleado");
    Exec(db, "COMMIT");
    sqlite3_close(db);
}

void BM_AbrirVerificandoTamanio(benchmark::State& state) {
    double total = 0;
    for (auto _ : state) {
        Database::closeShared();
        const auto inicio = std::chrono::steady_clock::now();
        Database::open(RutaBase);
        total += Segundos(inicio);
    }
    segundosAbrir = total / static_cast<double>(state.iterations());
}

void BM_VerificarIntegridad(benchmark::State& state) {
    double total = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Database::closeShared();
        Database& db = Database::open(RutaBase);
        state.ResumeTiming();
        const auto inicio = std::chrono::steady_clock::now();
        db.verificarIntegridad();
        total += Segundos(inicio);
    }
    segundosIntegridad = total / static_cast<double>(state.iterations());
}

double Crudo(const char* sql, benchmark::State& state) {
    double total = 0;
    for (auto _ : state) {
        const auto inicio = std::chrono::steady_clock::now();
        sqlite3* db = AbrirCrudo();
        Exec(db, sql);
        total += Segundos(inicio);
        sqlite3_close(db);
    }
    return total / static_cast<double>(state.iterations());
}

void BM_SQLiteAbrir(benchmark::State& state) {
    segundosCrudo = Crudo("SELECT count(*) FROM sqlite_master", state);
}

void BM_SQLiteQuickCheck(benchmark::State& state) {
    segundosRapida = Crudo("PRAGMA quick_check", state);
}

// Every write transaction checks the file's size first: one small save, with and without.
void BM_EscribirVerificandoTamanio(benchmark::State& state) {
    Database::closeShared();
    Database& db = Database::open(RutaBase);
    double total = 0;
    for (auto _ : state) {
        const auto inicio = std::chrono::steady_clock::now();
        Transaction t(db);
        db.execute(QString::fromLatin1(kEscritura));
        t.commit();
        total += Segundos(inicio);
    }
    segundosEscribir = total / static_cast<double>(state.iterations());
}

void BM_SQLiteEscribir(benchmark::State& state) {
    Database::closeShared();
    sqlite3* db = AbrirCrudo();
    double total = 0;
    for (auto _ : state) {
        const auto inicio = std::chrono::steady_clock::now();
        Exec(db, "BEGIN IMMEDIATE");
        Exec(db, kEscritura);
        Exec(db, "COMMIT");
        total += Segundos(inicio);
    }
    sqlite3_close(db);
    segundosEscribirCrudo = total / static_cast<double>(state.iterations());
}

BENCHMARK(BM_AbrirVerificandoTamanio)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_VerificarIntegridad)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_SQLiteAbrir)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_SQLiteQuickCheck)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_EscribirVerificandoTamanio)->Unit(benchmark::kMillisecond)->Iterations(50);
BENCHMARK(BM_SQLiteEscribir)->Unit(benchmark::kMillisecond)->Iterations(50);

}  // namespace

int main(int argc, char** argv) {
    const int r = bench::Correr(argc, argv, PrepararBase, [] {
        std::printf("\nBase de %d empleados, %d meses de declaraciones: %.1f MB\n", kEmpleados,
                    kMeses, static_cast<double>(QFileInfo(RutaBase).size()) / 1e6);
        std::printf("Abrir, con el tamaño verificado:        %8.3f ms\n", segundosAbrir * 1000);
        std::printf("SQLite directo, abrir:                  %8.3f ms\n", segundosCrudo * 1000);
        std::printf("Verificar tablas e índices (integrity): %8.3f ms\n",
                    segundosIntegridad * 1000);
        std::printf("SQLite quick_check, como referencia:    %8.3f ms\n", segundosRapida * 1000);
        std::printf("Grabar, con el tamaño verificado:       %8.3f ms\n", segundosEscribir * 1000);
        std::printf("SQLite directo, grabar:                 %8.3f ms\n",
                    segundosEscribirCrudo * 1000);
        // Every open pays the size check; the full check runs once, at start-up.
        if (segundosCrudo > 0) std::printf("relación %.2f\n", segundosAbrir / segundosCrudo);
    });
    delete carpeta;
    return r;
}
