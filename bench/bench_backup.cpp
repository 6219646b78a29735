// Backing up a 200 MB database, against the work no backup can avoid: SQLite's online backup of
// the same file and zlib compressing its bytes at the same level. Prints both times and their
// ratio.

#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <zlib.h>

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <vector>

#include "BaseDeBench.h"
#include "common/Globales.h"
#include "platform/Database.h"
#include "utilities/CopiaSeguridad.h"

using namespace zul;
using zul::bench::AbrirCrudo;
using zul::bench::Exec;
using zul::bench::Segundos;

namespace {

constexpr sqlite3_int64 kTamanio = 200LL * 1024 * 1024;
constexpr int kNivel = 6;  // the archive's deflate level
constexpr int kEmpleadosPorEmpresa = 400;
constexpr int kIteraciones = 3;

QTemporaryDir* carpeta = nullptr;
double segundosCopia = 0;
double segundosBase = 0;

sqlite3_int64 Tamanio(sqlite3* db) {
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "select page_count * page_size from pragma_page_count, pragma_page_size",
                       -1, &st, nullptr);
    sqlite3_step(st);
    const sqlite3_int64 n = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    return n;
}

// Years of monthly declarations of many companies: employees with names and CUILs, and one
// line per employee and month with salaries that vary as real ones do.
void PrepararBase() {
    carpeta = bench::CrearBase();
    sqlite3* db = AbrirCrudo();
    sqlite3_stmt* emp = nullptr;
    sqlite3_prepare_v2(db,
                       "insert into Empleado (Ado_Id, Ado_Nombre, Ado_Cuil, Ado_FechaIng, "
                       "Ado_Sueldo, ado_IdEmpresa) values (?, ?, ?, '2015-03-01', ?, ?)",
                       -1, &emp, nullptr);
    sqlite3_stmt* linea = nullptr;
    sqlite3_prepare_v2(db,
                       "insert into EmpleadoXDDJJ (ExD_IdDDJJ, ExD_IdEmpleado, ExD_Sueldo, "
                       "ExD_Aporte2, ExD_AporteFar, ExD_AporteAmec, ExD_Cuota, ExD_IdCatego, "
                       "ExD_Afiliado, ExD_Prestamo, ExD_idempresa) "
                       "values (?, ?, ?, 1, 1, ?, 1, ?, ?, ?, ?)",
                       -1, &linea, nullptr);
    unsigned semilla = 12345;
    const auto azar = [&semilla] { return semilla = semilla * 1103515245u + 12345u; };
    int ddjj = 0;
    for (int empresa = 1; Tamanio(db) < kTamanio; ++empresa) {
        Exec(db, "BEGIN");
        for (int e = 1; e <= kEmpleadosPorEmpresa; ++e) {
            const QByteArray nombre = QStringLiteral("Núñez D'Alessandro, María %1 del Carmen")
                                          .arg(azar() % 100000)
                                          .toUtf8();
            const QByteArray cuil = QByteArray::number(20000000000LL + azar() % 999999999);
            sqlite3_bind_int(emp, 1, e);
            sqlite3_bind_text(emp, 2, nombre.constData(), static_cast<int>(nombre.size()),
                              SQLITE_TRANSIENT);
            sqlite3_bind_text(emp, 3, cuil.constData(), static_cast<int>(cuil.size()),
                              SQLITE_TRANSIENT);
            sqlite3_bind_double(emp, 4, 150000 + azar() % 900000 / 100.0);
            sqlite3_bind_int(emp, 5, empresa);
            sqlite3_step(emp);
            sqlite3_reset(emp);
        }
        for (int mes = 0; mes < 60; ++mes) {
            ++ddjj;
            for (int e = 1; e <= kEmpleadosPorEmpresa; ++e) {
                sqlite3_bind_int(linea, 1, ddjj);
                sqlite3_bind_int(linea, 2, e);
                sqlite3_bind_double(linea, 3, 150000 + azar() % 90000000 / 100.0);
                sqlite3_bind_int(linea, 4, azar() % 2);
                sqlite3_bind_int(linea, 5, 1 + azar() % 12);
                sqlite3_bind_int(linea, 6, azar() % 5 != 0);
                sqlite3_bind_double(linea, 7, azar() % 7 == 0 ? azar() % 5000000 / 100.0 : 0);
                sqlite3_bind_int(linea, 8, empresa);
                sqlite3_step(linea);
                sqlite3_reset(linea);
            }
        }
        Exec(db, "COMMIT");
    }
    sqlite3_finalize(emp);
    sqlite3_finalize(linea);
    std::printf("Base de %.0f MB\n", static_cast<double>(Tamanio(db)) / (1024 * 1024));
    sqlite3_close(db);
}

void BM_GenerarCopia(benchmark::State& state) {
    const QString archivo = QDir(carpeta->path()).filePath(NombreCopia(QDate::currentDate()));
    double total = 0;
    for (auto _ : state) {
        const auto inicio = std::chrono::steady_clock::now();
        GenerarCopia(RutaBase, archivo);
        total += Segundos(inicio);
    }
    segundosCopia = total / static_cast<double>(state.iterations());
}

// The snapshot into memory and its bytes through zlib, nothing more.
void BM_BackupMasZlib(benchmark::State& state) {
    std::vector<Bytef> salida;
    double total = 0;
    for (auto _ : state) {
        const auto inicio = std::chrono::steady_clock::now();
        sqlite3* origen = AbrirCrudo();
        sqlite3* copia = nullptr;
        sqlite3_open_v2("file:base?vfs=memdb", &copia,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI, nullptr);
        sqlite3_backup* b = sqlite3_backup_init(copia, "main", origen, "main");
        sqlite3_backup_step(b, -1);
        sqlite3_backup_finish(b);
        sqlite3_int64 n = 0;
        const unsigned char* datos = sqlite3_serialize(copia, "main", &n, SQLITE_SERIALIZE_NOCOPY);
        uLongf largo = compressBound(static_cast<uLong>(n));
        salida.resize(largo);
        if (compress2(salida.data(), &largo, datos, static_cast<uLong>(n), kNivel) != Z_OK)
            state.SkipWithError("zlib falló");
        benchmark::DoNotOptimize(largo);
        sqlite3_close(copia);
        sqlite3_close(origen);
        total += Segundos(inicio);
    }
    segundosBase = total / static_cast<double>(state.iterations());
}

BENCHMARK(BM_GenerarCopia)->Unit(benchmark::kMillisecond)->Iterations(kIteraciones);
BENCHMARK(BM_BackupMasZlib)->Unit(benchmark::kMillisecond)->Iterations(kIteraciones);

}  // namespace

int main(int argc, char** argv) {
    const int r = bench::Correr(argc, argv, PrepararBase, [] {
        if (segundosCopia > 0 && segundosBase > 0)
            std::printf(
                "\nCopia de seguridad: %.0f ms; backup de SQLite más zlib: %.0f ms (objetivo "
                "<= 1.3x)\nrelación %.2f\n",
                segundosCopia * 1000, segundosBase * 1000, segundosCopia / segundosBase);
    });
    delete carpeta;
    return r;
}
