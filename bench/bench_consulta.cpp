// The employee lookup of a company with 20,000 employees: opening the pick list with its rows
// shown, then one search by name. Against plain SQLite reading the same rows. Prints both times
// and their ratios; the last line is the larger ratio.

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QApplication>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>

#include "BaseDeBench.h"
#include "common/Globales.h"
#include "lookup/Consultar.h"
#include "lookup/consulta.h"
#include "platform/Database.h"
#include "platform/MsgBox.h"

using namespace zul;
using zul::bench::AbrirCrudo;
using zul::bench::Exec;
using zul::bench::Segundos;

namespace {

constexpr int kEmpleados = 20000;
constexpr int kEmpresa = 7;
const QString kBase = "SELECT Ado_id,ado_nombre FROM Empleado where  ado_idEmpresa=7";
const char* kBuscado = "garcía d'a";
// The search the dialog runs for kBuscado, as plain SQLite gets it.
const char* kBusquedaCruda =
    "SELECT Ado_id,ado_nombre FROM Empleado where  ado_idEmpresa=7 and (ado_nombre like "
    "'GARCíA D''A%' or ado_nombre like '%GARCíA D''A%' or ado_nombre like '%GARCíA D''A') order "
    "by ado_nombre";

QTemporaryDir* carpeta = nullptr;
double abrirVentana = 0, buscarVentana = 0, abrirDirecto = 0, buscarDirecto = 0;
int filasAbrir = 0, filasBuscar = 0, filasAbrirDirecto = 0, filasBuscarDirecto = 0;

// One in ten employees is a García D'Alessandro; the rest have other accented names.
void PrepararBase() {
    carpeta = bench::CrearBase();
    sqlite3* db = AbrirCrudo();
    Exec(db, "BEGIN");
    Exec(db, "insert into Empresa (Emp_Id, Emp_Nombre) values (7, 'Acme')");
    sqlite3_stmt* emp = nullptr;
    sqlite3_prepare_v2(db,
                       "insert into Empleado (Ado_Id, Ado_Nombre, ado_IdEmpresa) values (?, ?, 7)",
                       -1, &emp, nullptr);
    for (int i = 1; i <= kEmpleados; ++i) {
        const QByteArray nombre = (i % 10 ? QStringLiteral("NÚÑEZ PEÑA, MARÍA JOSÉ %1")
                                          : QStringLiteral("García D'Alessandro, Juan Ignacio %1"))
                                      .arg(i)
                                      .toUtf8();
        sqlite3_bind_int(emp, 1, i);
        sqlite3_bind_text(emp, 2, nombre.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_step(emp);
        sqlite3_reset(emp);
    }
    sqlite3_finalize(emp);
    Exec(db, "COMMIT");
    sqlite3_close(db);
    IdEmpresa = kEmpresa;
    msgbox_prueba::activar();
}

// The dialog as Consultar prepares it for the employee window's F2.
consulta* Dialogo() {
    auto* d = new consulta;
    d->setWindowTitle(QStringLiteral("Consulta de Empleados"));
    d->PonerEncabezados(CortarEncabezados(QStringLiteral("Cuenta/Nombre"), 2));
    d->SqlConsulta = kBase;
    d->CampoBusqueda = QStringLiteral("ado_nombre");
    d->Campo[0] = QStringLiteral("Ado_id");
    d->Columnas = 2;
    return d;
}

// Until the rows on screen are painted.
void Mostrar(consulta* d) {
    d->grilla()->viewport()->repaint();
}

void BM_Ventana(benchmark::State& state) {
    double abrir = 0, buscar = 0;
    for (auto _ : state) {
        Database::closeShared();
        auto inicio = std::chrono::steady_clock::now();
        consulta* d = Dialogo();
        d->show();
        Mostrar(d);
        abrir += Segundos(inicio);
        filasAbrir = d->filas();
        inicio = std::chrono::steady_clock::now();
        d->texto()->setText(QString::fromUtf8(kBuscado));
        d->Buscar();
        Mostrar(d);
        buscar += Segundos(inicio);
        filasBuscar = d->filas();
        if (filasAbrir != kEmpleados || filasBuscar != kEmpleados / 10)
            state.SkipWithError("las filas no son las esperadas");
        delete d;
    }
    abrirVentana = abrir / static_cast<double>(state.iterations());
    buscarVentana = buscar / static_cast<double>(state.iterations());
}

int LeerTodo(sqlite3* db, const char* sql) {
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
    int filas = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        ++filas;
        for (int c = 0; c < sqlite3_column_count(st); ++c) sqlite3_column_text(st, c);
    }
    sqlite3_finalize(st);
    return filas;
}

void BM_SQLiteDirecto(benchmark::State& state) {
    double abrir = 0, buscar = 0;
    const QByteArray base = kBase.toUtf8();
    for (auto _ : state) {
        Database::closeShared();
        auto inicio = std::chrono::steady_clock::now();
        sqlite3* db = AbrirCrudo();
        filasAbrirDirecto = LeerTodo(db, base.constData());
        abrir += Segundos(inicio);
        inicio = std::chrono::steady_clock::now();
        filasBuscarDirecto = LeerTodo(db, kBusquedaCruda);
        buscar += Segundos(inicio);
        sqlite3_close(db);
    }
    abrirDirecto = abrir / static_cast<double>(state.iterations());
    buscarDirecto = buscar / static_cast<double>(state.iterations());
}

BENCHMARK(BM_Ventana)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_SQLiteDirecto)->Unit(benchmark::kMillisecond)->Iterations(5);

void Informe() {
    const double rAbrir = abrirDirecto > 0 ? abrirVentana / abrirDirecto : 0;
    const double rBuscar = buscarDirecto > 0 ? buscarVentana / buscarDirecto : 0;
    std::printf(
        "\nAbrir la consulta de empleados (%d filas): %.3f s; SQLite directo (%d): %.3f s; "
        "relación %.2f\n",
        filasAbrir, abrirVentana, filasAbrirDirecto, abrirDirecto, rAbrir);
    std::printf(
        "Buscar por nombre (%d filas):              %.3f s; SQLite directo (%d): %.3f s; "
        "relación %.2f\n",
        filasBuscar, buscarVentana, filasBuscarDirecto, buscarDirecto, rBuscar);
    std::printf("relación %.2f\n", std::max(rAbrir, rBuscar));
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return bench::Correr<QApplication>(argc, argv, PrepararBase, Informe);
}
