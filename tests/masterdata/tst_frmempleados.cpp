#include <QTest>

#include "masterdata/frmEmpleados.h"
#include "platform/Database.h"
#include "support/BaseDePrueba.h"

using namespace zul;

class TstFrmEmpleados : public QObject {
    Q_OBJECT

  private slots:
    void antiguedad_data() {
        QTest::addColumn<QDate>("ingreso");
        QTest::addColumn<QDate>("hoy");
        QTest::addColumn<int>("anios");
        QTest::newRow("fin de anio") << QDate(2020, 12, 31) << QDate(2021, 1, 1) << 1;
        QTest::newRow("mismo anio") << QDate(2021, 1, 1) << QDate(2021, 12, 31) << 0;
        QTest::newRow("futuro") << QDate(2027, 3, 1) << QDate(2026, 12, 9) << -1;
    }
    void antiguedad() {
        QFETCH(QDate, ingreso);
        QFETCH(QDate, hoy);
        QFETCH(int, anios);
        QCOMPARE(frmEmpleados::Antiguedad(ingreso, hoy), anios);
    }

    // The new number passes every number the company uses anywhere; other companies' numbers
    // never count.
    void ultimoNumero_data() {
        QTest::addColumn<QString>("fila");
        QTest::addColumn<int>("maximo");  // 0 = none
        QTest::newRow("sin nada") << QString() << 0;
        QTest::newRow("empleado") << "INSERT INTO Empleado (Ado_Id, ado_IdEmpresa) VALUES (4, 1)"
                                  << 4;
        QTest::newRow("prestamo") << "INSERT INTO Prestamo (pre_Id, pre_idEmpleado, pre_IdEmpresa) "
                                     "VALUES (1, 7, 1)"
                                  << 7;
        QTest::newRow("cuota") << "INSERT INTO PrestamoCuota (pcu_idPrestamo, pcu_nrocuota, "
                                  "pcu_idempleado, pcu_IdEmpresa) VALUES (1, 1, 8, 1)"
                               << 8;
        QTest::newRow("declarado") << "INSERT INTO EmpleadoXDDJJ (ExD_IdDDJJ, ExD_IdEmpleado, "
                                      "ExD_idempresa) VALUES (1, 9, 1)"
                                   << 9;
        QTest::newRow("baja") << "INSERT INTO Bajas (Baj_DDJJ, Baj_Empleado, baj_idempresa) "
                                 "VALUES (1, 10, 1)"
                              << 10;
        QTest::newRow("otra empresa")
            << "INSERT INTO Empleado (Ado_Id, ado_IdEmpresa) VALUES (50, 2)" << 0;
    }
    void ultimoNumero() {
        QFETCH(QString, fila);
        QFETCH(int, maximo);
        prueba::BaseDePrueba base;
        if (!fila.isEmpty()) base.ejecutar(fila);
        QCOMPARE(base.valor(frmEmpleados::ConsultaUltimoNumero(1)).toInt(), maximo);
    }
};

QTEST_MAIN(TstFrmEmpleados)
#include "tst_frmempleados.moc"
