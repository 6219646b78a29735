// Printing a declaration of 5,000 employees and 300 leavers to PDF through the shipped report
// file: reading its data, rendering the template and painting every page. Prints the time.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>

#include "BaseDeBench.h"
#include "common/Globales.h"
#include "declaration/InformeDDJJ.h"
#include "platform/Database.h"
#include "platform/ReportControl.h"

using namespace zul;

namespace {

constexpr int kEmpleados = 5000;
constexpr int kBajas = 300;

QTemporaryDir* carpeta = nullptr;
double segundosPdf = 0;
double segundosRtf = 0;
double segundosDatos = 0;

void PrepararDeclaracion() {
    carpeta = bench::CrearBase(true);

    Database& db = Database::open(RutaBase);
    Transaction t(db);
    db.execute("insert into Categoria values ('1', 'Maestranza A')");
    db.execute(
        "insert into Empresa (emp_id, emp_nombre, emp_cuit) values (3, 'Compañía Ñandú "
        "S.A.', '30-99887766-5')");
    for (int i = 1; i <= kEmpleados + kBajas; ++i)
        db.execute(QString("insert into Empleado (Ado_Id, ado_IdEmpresa, Ado_Nombre, Ado_Cuil, "
                           "Ado_Categoria) values (%1, 3, 'Empleado Número %1, José', "
                           "'20-%2-9', '1')")
                       .arg(i)
                       .arg(i, 8, 10, QChar('0')));
    for (int i = 1; i <= kEmpleados; ++i)
        db.execute(QString("insert into EmpleadoXDDJJ values (7, %1, %2, 1, 1, 1, 1, 1, 1, 0, 3)")
                       .arg(i)
                       .arg(100000 + i * 3.25, 0, 'f', 2));
    for (int i = kEmpleados + 1; i <= kEmpleados + kBajas; ++i)
        db.execute(QString("insert into Bajas values (7, %1, '2024-05-15', 90000, 1, 3)").arg(i));
    // The count and the salaries' total as the lines above sum: a declaration that disagrees
    // with its lines is not printed.
    db.execute(
        "insert into DDJJ values (7, '2024-05-01', '2024-06-02', '2024-06-10', 4567, 5000, "
        "540633125, 10813750, 13517187.5, 5406875, 50000, 29787812.5, 10, 5000, 0, 0, 3, "
        "'45203099887766505202429787812509', 'x')");
    t.commit();
}

void BM_ImprimirDeclaracionEnPdf(benchmark::State& state) {
    ReportControl rpt;
    rpt.setDataProvider(DatosDDJJ);
    rpt.setSelectionFormula(FormulaDDJJ(7, 3));
    rpt.setReportFileName(carpeta->filePath("DDJJ.rpt"));
    rpt.setPdfOutput(carpeta->filePath("ddjj.pdf"));
    double segundos = 0;
    for (auto _ : state) {
        const auto inicio = std::chrono::steady_clock::now();
        rpt.setAction(1);
        segundos +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
    }
    state.counters["paginas"] = rpt.runs().isEmpty() ? 0 : rpt.runs().last().paginas;
    segundosPdf = segundos / static_cast<double>(state.iterations());
}

void BM_ExportarDeclaracionRtf(benchmark::State& state) {
    ReportControl rpt;
    rpt.setDataProvider(DatosDDJJ);
    rpt.setSelectionFormula(FormulaDDJJ(7, 3));
    rpt.setReportFileName(carpeta->filePath("DDJJ.rpt"));
    rpt.setDestination(ReportControl::aArchivo);
    rpt.setPrintFileName(carpeta->filePath("ddjj.rtf"));
    const auto inicio = std::chrono::steady_clock::now();
    for (auto _ : state) rpt.setAction(1);
    segundosRtf = std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count() /
                  static_cast<double>(state.iterations());
}

void BM_SoloDatosDeLaDeclaracion(benchmark::State& state) {
    const Seleccion s = LeerFormula(FormulaDDJJ(7, 3));
    const auto inicio = std::chrono::steady_clock::now();
    for (auto _ : state) benchmark::DoNotOptimize(DatosDDJJ(s));
    segundosDatos =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count() /
        static_cast<double>(state.iterations());
}

void BM_RenderizarSinImprimir(benchmark::State& state) {
    const DatosInforme datos = DatosDDJJ(LeerFormula(FormulaDDJJ(7, 3)));
    for (auto _ : state)
        benchmark::DoNotOptimize(RenderizarInforme(carpeta->filePath("DDJJ.rpt"), datos));
}

}  // namespace

BENCHMARK(BM_RenderizarSinImprimir)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_SoloDatosDeLaDeclaracion)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ExportarDeclaracionRtf)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_ImprimirDeclaracionEnPdf)->Unit(benchmark::kMillisecond)->Iterations(2);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    PrepararDeclaracion();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    // Each output beside the mere reading of its data (targets: PDF 1.5 s, RTF 0.3 s).
    std::printf("\nDeclaración de %d empleados y %d bajas: datos %.3f s, PDF %.3f s, RTF %.3f s\n",
                kEmpleados, kBajas, segundosDatos, segundosPdf, segundosRtf);
    if (segundosDatos > 0) {
        std::printf("PDF: relación %.2f\n", segundosPdf / segundosDatos);
        std::printf("relación %.2f\n", segundosRtf / segundosDatos);
    }
    Database::closeShared();
    delete carpeta;
    return 0;
}
