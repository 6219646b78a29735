// Importing a salary-scale file of 50,000 INSERT lines, against plain SQLite running the same
// translated statements in one transaction. Prints both times and their ratio.

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>

#include "BaseDeBench.h"
#include "masterdata/ImpoEmpleos.h"
#include "platform/Database.h"
#include "platform/JetSql.h"

using namespace zul;
using zul::bench::AbrirCrudo;
using zul::bench::Exec;
using zul::bench::Segundos;

namespace {

constexpr int kLineas = 50000;
constexpr int kCategorias = 40;

QTemporaryDir* carpeta = nullptr;
QString archivo;
double segundosImportar = 0;
double segundosDirecto = 0;

// The union's file as it comes: categories first, then the scale, in the Jet dialect.
void EscribirArchivo() {
    archivo = carpeta->filePath("escala.txt");
    QFile f(archivo);
    if (!f.open(QIODevice::WriteOnly)) std::abort();
    QByteArray texto;
    for (int i = 0; i < kCategorias; ++i)
        texto += QStringLiteral(
                     "INSERT INTO Categoria (Cat_Id,Cat_Nombre) VALUES ('C%1', "
                     "\"Categoría Núñez D'Alessandro %1\")\r\n")
                     .arg(i)
                     .toUtf8();
    for (int i = kCategorias; i < kLineas; ++i)
        texto += QStringLiteral(
                     "INSERT INTO Empleo (emp_codigo,emp_catego,emp_antigu,emp_nombre,"
                     "emp_sueldo) VALUES (%1,'C%2',%3,'Empleado de comercio %1',"
                     "%4.75)\r\n")
                     .arg(i)
                     .arg(i % kCategorias)
                     .arg(i % 45)
                     .arg(1250000 + i)
                     .toUtf8();
    f.write(texto);
}

// Reading the file, checking every line and running it all in one transaction.
void BM_Importar(benchmark::State& state) {
    Database& db = Database::open(RutaBase);
    double total = 0;
    for (auto _ : state) {
        const auto inicio = std::chrono::steady_clock::now();
        QFile f(archivo);
        if (!f.open(QIODevice::ReadOnly)) std::abort();
        const auto fallo = ImportarSueldos(db, LineasDeImportacion(f.readAll()));
        total += Segundos(inicio);
        if (fallo) state.SkipWithError(qPrintable(fallo->motivo));
    }
    segundosImportar = total / static_cast<double>(state.iterations());
    Database::closeShared();
}

// The same statements, translated beforehand, through sqlite3_exec in one transaction.
void BM_SQLiteDirecto(benchmark::State& state) {
    QFile f(archivo);
    if (!f.open(QIODevice::ReadOnly)) std::abort();
    std::vector<QByteArray> sentencias;
    for (const LineaImportacion& l : LineasDeImportacion(f.readAll()))
        sentencias.push_back(jet::traducir(l.sql).first().toUtf8());
    sqlite3* db = AbrirCrudo();
    double total = 0;
    for (auto _ : state) {
        const auto inicio = std::chrono::steady_clock::now();
        Exec(db, "BEGIN");
        Exec(db, "delete from Categoria");
        Exec(db, "delete from Empleo");
        for (const QByteArray& s : sentencias) Exec(db, s.constData());
        Exec(db, "COMMIT");
        total += Segundos(inicio);
    }
    segundosDirecto = total / static_cast<double>(state.iterations());
    sqlite3_close(db);
}

BENCHMARK(BM_Importar)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_SQLiteDirecto)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    carpeta = bench::CrearBase();
    EscribirArchivo();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    delete carpeta;
    if (segundosImportar <= 0 || segundosDirecto <= 0) return 1;
    std::printf("\nImportar %d líneas: %.1f ms; SQLite directo: %.1f ms (objetivo < 1 s y <= 2x)\n",
                kLineas, segundosImportar * 1000, segundosDirecto * 1000);
    std::printf("relación %.2f\n", segundosImportar / segundosDirecto);
    return 0;
}
