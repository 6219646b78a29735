// Filter conditions and description lines of one field.
#include <QtTest>

#include "common/Filtro.h"

using namespace zul;

namespace {
constexpr bool kSQL = true;
constexpr bool kFormula = false;
}  // namespace

class TstFiltro : public QObject {
    Q_OBJECT

  private slots:
    void armarFiltro_data();
    void armarFiltro();
    void ejemploDeLaActualizacionDeSueldos();
};

void TstFiltro::armarFiltro_data() {
    QTest::addColumn<QString>("campo");
    QTest::addColumn<int>("tipo");
    QTest::addColumn<bool>("modoSQL");
    QTest::addColumn<QString>("previo");
    QTest::addColumn<QString>("desde");
    QTest::addColumn<QString>("hasta");
    QTest::addColumn<QString>("solo");
    QTest::addColumn<bool>("describir");
    QTest::addColumn<bool>("porNombre");
    QTest::addColumn<QString>("filtro");
    QTest::addColumn<QString>("descripcion");

    const QString cr(QChar(13));
    QTest::newRow("numero solo") << "emp_codigo" << 1 << kSQL << ""
                                 << ""
                                 << ""
                                 << "5" << false << false << "Empleo.emp_codigo =  5"
                                 << "";
    QTest::newRow("numero desde hasta con descripcion")
        << "emp_codigo" << 1 << kSQL << ""
        << "1"
        << "9"
        << "" << true << false << "Empleo.emp_codigo >= 1 and Empleo.emp_codigo <=  9"
        << "Empleado Código  Desde 1 Hasta 9" + cr;
    QTest::newRow("numero decimal con coma")
        << "emp_sueldo" << 1 << kSQL << ""
        << "1500,75"
        << ""
        << "" << false << false << "Empleo.emp_sueldo >= 1500.75"
        << "";
    QTest::newRow("numero que no es numero") << "emp_codigo" << 1 << kSQL << ""
                                             << ""
                                             << ""
                                             << "abc" << true << false << ""
                                             << "Empleado Código  Sólo abc" + cr;
    QTest::newRow("todo vacio") << "emp_codigo" << 1 << kSQL << "x = 1"
                                << ""
                                << ""
                                << "" << true << true << "x = 1"
                                << "";
    QTest::newRow("se une con and")
        << "emp_antigu" << 1 << kSQL << "Empleo.emp_codigo =  5"
        << ""
        << ""
        << "10" << false << false << "Empleo.emp_codigo =  5 and Empleo.emp_antigu =  10"
        << "";
    QTest::newRow("texto sin blanco tras >=")
        << "emp_catego" << 3 << kSQL << ""
        << "A"
        << "C"
        << "B" << true << true
        << "Empleo.emp_catego >='A' and Empleo.emp_catego <=  'C' and Empleo.emp_catego =  'B'"
        << "Empleado Nombre  Desde A Hasta C Sólo B" + cr;
    QTest::newRow("texto con apostrofe")
        << "emp_nombre" << 3 << kSQL << ""
        << ""
        << ""
        << "Núñez D'Alessandro" << false << false << "Empleo.emp_nombre =  'Núñez D''Alessandro'"
        << "";

    QTest::newRow("fecha anio y mes") << "emp_alta" << 4 << kSQL << ""
                                      << "2024"
                                      << "02/2024"
                                      << "" << true << false
                                      << "Empleo.emp_alta >= #01/01/2024# and "
                                         "Empleo.emp_alta <=  #02/29/2024#"
                                      << "Empleado  Desde 01/01/2024 Hasta 29/02/2024" + cr;
    QTest::newRow("fecha solo completa")
        << "emp_alta" << 4 << kSQL << ""
        << ""
        << ""
        << "5/3/2024" << false << false << "Empleo.emp_alta =  #03/05/2024#"
        << "";
    QTest::newRow("fecha que no es fecha") << "emp_alta" << 4 << kSQL << ""
                                           << ""
                                           << "13/2024"
                                           << "" << true << false << ""
                                           << "Empleado  Hasta 01/13/2024" + cr;
    QTest::newRow("hora") << "hora" << 5 << kSQL << ""
                          << "8:05"
                          << "17:30"
                          << "" << true << false
                          << "Empleo.hora>= '08:05' and Empleo.hora<= '17:30'"
                          << "Empleado  Desde 8:05 Hasta 17:30" + cr;
    QTest::newRow("hora que no es hora") << "hora" << 5 << kSQL << ""
                                         << ""
                                         << ""
                                         << "x'; drop" << false << false << ""
                                         << "";
    QTest::newRow("fecha cruda") << "emp_alta" << 6 << kSQL << ""
                                 << "2023"
                                 << ""
                                 << "" << true << true << "Empleo.emp_alta >= 01/01/2023"
                                 << "Empleado Nombre  Desde 01/01/2023" + cr;
    QTest::newRow("tipo 2 solo describe") << "emp_codigo" << 2 << kSQL << ""
                                          << "1"
                                          << ""
                                          << "" << true << false << ""
                                          << "Empleado Código  Desde 1" + cr;

    QTest::newRow("formula numero")
        << "emp_codigo" << 1 << kFormula << ""
        << "1"
        << "9"
        << "5" << false << false
        << " {Empleo.emp_codigo} >= 1 and  {Empleo.emp_codigo} <= 9 and  {Empleo.emp_codigo} = 5"
        << "";
    QTest::newRow("formula texto") << "emp_catego" << 3 << kFormula << ""
                                   << "A"
                                   << ""
                                   << "" << false << false << " {Empleo.emp_catego} >= 'A'"
                                   << "";
    QTest::newRow("formula fecha")
        << "emp_alta" << 4 << kFormula << ""
        << "03/2024"
        << "03/2024"
        << "7/3/2024" << false << false
        << " {Empleo.emp_alta} >= date(2024,3,1) and  {Empleo.emp_alta} <=  date(2024,3,31) and "
           " {Empleo.emp_alta} =  date(2024,3,7)"
        << "";
    QTest::newRow("formula hora") << "hora" << 5 << kFormula << ""
                                  << ""
                                  << ""
                                  << "09:00" << false << false << "{Empleo.hora}= '09:00'"
                                  << "";
    QTest::newRow("formula fecha cruda")
        << "emp_alta" << 6 << kFormula << ""
        << ""
        << "2024"
        << "" << false << false << " {Empleo.emp_alta} <=  31/12/2024"
        << "";
}

void TstFiltro::armarFiltro() {
    QFETCH(QString, campo);
    QFETCH(int, tipo);
    QFETCH(bool, modoSQL);
    QFETCH(QString, previo);
    QFETCH(QString, desde);
    QFETCH(QString, hasta);
    QFETCH(QString, solo);
    QFETCH(bool, describir);
    QFETCH(bool, porNombre);
    QFETCH(QString, filtro);
    QFETCH(QString, descripcion);
    QString f = previo;
    QString d;
    ArmarFiltro("Empleo", campo, tipo, f, modoSQL, desde, hasta, solo, describir, porNombre, d,
                "Empleado");
    QCOMPARE(f, filtro);
    QCOMPARE(d, descripcion);
}

void TstFiltro::ejemploDeLaActualizacionDeSueldos() {
    QString f, d;
    ArmarFiltro("Empleo", "emp_codigo", filtroNumero, f, true, "", "", "5", false, false, d, "");
    ArmarFiltro("Empleo", "emp_catego", filtroTexto, f, true, "", "", "A", false, false, d, "");
    ArmarFiltro("Empleo", "emp_antigu", filtroNumero, f, true, "", "", "10", false, false, d, "");
    QCOMPARE(
        f, QStringLiteral(
               "Empleo.emp_codigo =  5 and Empleo.emp_catego =  'A' and Empleo.emp_antigu =  10"));
    QVERIFY(d.isEmpty());
}

QTEST_GUILESS_MAIN(TstFiltro)
#include "tst_filtro.moc"
