#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "common/Globales.h"
#include "declaration/frmDecJurada.h"
#include "lookup/consulta.h"
#include "masterdata/frmPrestamos.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "platform/MsgBox.h"
#include "support/BaseDePrueba.h"
#include "support/Teclear.h"

using namespace zul;
using Caja = frmPrestamos::Caja;

// Company 1 with employees 7 and 8; company 2 with its own employee 7 and loans 1 and 2.
class TstFrmPrestamos : public QObject {
    Q_OBJECT

    static void datos(const prueba::BaseDePrueba& b) {
        b.ejecutar("INSERT INTO Categoria (Cat_Id, Cat_Nombre) VALUES ('1', 'Administrativo')");
        b.ejecutar(
            "INSERT INTO Empleado (Ado_Id, Ado_Nombre, Ado_Sueldo, Ado_Categoria, Ado_Aporte2, "
            "ado_IdEmpresa) VALUES (7, 'Núñez D''Alessandro, María José', 2500000, '1', -1, 1), "
            "(8, 'PEREZ JUAN', 1000, '1', -1, 1), (7, 'OTRA EMPRESA', 1000, '1', -1, 2)");
        b.ejecutar(
            "INSERT INTO Prestamo VALUES (1, 7, 900, 2, #01/01/2025#, #02/10/2025#, 2), "
            "(2, 7, 900, 1, #01/01/2025#, NULL, 2)");
        b.ejecutar(
            "INSERT INTO PrestamoCuota VALUES (1, 1, 7, 450, #02/10/2025#, 2), "
            "(1, 2, 7, 450, #03/10/2025#, 2)");
    }

    // Instalments of a company as "loan|number|employee|amount|due date".
    static QStringList cuotas(int empresa = 1) {
        QStringList r;
        Recordset rs = Database::open(RutaBase).openRecordset(
            QString("select * from PrestamoCuota where pcu_IdEmpresa=%1 order by "
                    "pcu_idPrestamo, pcu_nrocuota")
                .arg(empresa));
        for (; !rs.eof(); rs.moveNext()) {
            QStringList campos;
            for (int i = 0; i < 5; ++i) campos << rs.value(i).toString();
            r << campos.join('|');
        }
        return r;
    }

    template <class T = frmPrestamos>
    static QPointer<T> abrir(qint32 empresa = 1) {
        IdEmpresa = empresa;
        auto* w = new T;
        w->show();
        QApplication::setActiveWindow(w);
        if (!QTest::qWaitForWindowActive(w)) qWarning("window not active");
        return w;
    }

    // Types into a box as the user does and leaves it with Enter.
    static void teclear(QLineEdit* caja, const QString& texto) {
        caja->setFocus();
        prueba::Teclear(caja, texto + '\r');
        QApplication::processEvents();
    }
    // The number box left empty starts a new loan; then employee, amount, count and dates.
    static void nuevo(frmPrestamos* w, const QStringList& valores) {
        teclear(w->texto(Caja::kNumero), QString());
        for (int i = 0; i < valores.size(); ++i) teclear(w->texto(Caja::kEmpleado + i), valores[i]);
        QTest::mouseClick(w->btnGrabar(), Qt::LeftButton);
    }
    static QString ultimoMensaje() {
        const auto m = msgbox_prueba::mostrados();
        return m.isEmpty() ? QString() : m.last().texto;
    }

  private slots:
    void cuotasGeneradas_data() {
        QTest::addColumn<QStringList>("pantalla");  // amount, count, date, first due date
        QTest::addColumn<QString>("total");         // as stored
        QTest::addColumn<QStringList>("esperadas");
        QTest::newRow("la suma no se corrige")
            << QStringList{"1000", "3", "02012025", "15012025"} << "1000"
            << QStringList{"1|1|7|333.33|2025-01-15", "1|2|7|333.33|2025-02-15",
                           "1|3|7|333.33|2025-03-15"};
        QTest::newRow("fin de febrero")
            << QStringList{"1000", "2", "02012025", "31012025"} << "1000"
            << QStringList{"1|1|7|500|2025-01-31", "1|2|7|500|2025-02-28"};
        QTest::newRow("bisiesto, marzo vuelve al 31")
            << QStringList{"900", "3", "02012024", "31012024"} << "900"
            << QStringList{"1|1|7|300|2024-01-31", "1|2|7|300|2024-02-29", "1|3|7|300|2024-03-31"};
        QTest::newRow("medio centavo al par")
            << QStringList{"0,25", "2", "02012025", "10012025"} << "0.25"
            << QStringList{"1|1|7|0.12|2025-01-10", "1|2|7|0.12|2025-02-10"};
        QTest::newRow("puntos de miles")
            << QStringList{"2.345.678,50", "2", "02012025", "10122025"} << "2345678.5"
            << QStringList{"1|1|7|1172839.25|2025-12-10", "1|2|7|1172839.25|2026-01-10"};
        QTest::newRow("punto decimal ante tres cifras")
            << QStringList{"1.500", "3", "02012025", "15012025"} << "1.5"
            << QStringList{"1|1|7|0.5|2025-01-15", "1|2|7|0.5|2025-02-15", "1|3|7|0.5|2025-03-15"};
    }
    void cuotasGeneradas() {
        QFETCH(QStringList, pantalla);
        QFETCH(QString, total);
        QFETCH(QStringList, esperadas);
        prueba::BaseDePrueba base;
        datos(base);
        QPointer<frmPrestamos> w = abrir();
        nuevo(w, QStringList{"7"} + pantalla);
        QCOMPARE(ultimoMensaje(), QString("Los datos se grabaron correctamente\nPréstamo Nº: 1"));
        QCOMPARE(msgbox_prueba::mostrados().last().titulo, QString("Mensaje"));
        QCOMPARE(base.valor("select pre_importe from Prestamo where pre_IdEmpresa=1").toString(),
                 total);
        QCOMPARE(cuotas(), esperadas);
        QVERIFY(w->texto(Caja::kNumero)->text().isEmpty());  // cleared for the next loan
        delete w;
    }

    void rechazos_data() {
        QTest::addColumn<int>("caja");
        QTest::addColumn<QString>("valor");
        QTest::addColumn<QString>("mensaje");
        QTest::newRow("empleado ajeno") << 0 << "9"
                                        << "Debe ingresar el empleado";
        QTest::newRow("importe en letras") << 1 << "mil"
                                           << "Debe ingresar el importe";
        QTest::newRow("importe con dos comas") << 1 << "12,345,678"
                                               << "Debe ingresar el importe";
        QTest::newRow("importe de cien mil millones")
            << 1 << "100.000.000.000"
            << "El importe admite hasta 4 decimales y no puede superar 99.999.999.999,9999";
        QTest::newRow("media cuota") << 2 << "2,5"
                                     << "Debe ingresar la cantidad de cuotas";
        QTest::newRow("31 de febrero") << 3 << "31022025"
                                       << "Debe ingresar la fecha";
        QTest::newRow("sin vencimiento") << 4 << ""
                                         << "Debe ingresar la fecha del primer vencimiento";
    }
    void rechazos() {
        QFETCH(int, caja);
        QFETCH(QString, valor);
        QFETCH(QString, mensaje);
        prueba::BaseDePrueba base;
        datos(base);
        QPointer<frmPrestamos> w = abrir();
        QStringList pantalla = {"7", "1000", "3", "02012025", "15012025"};
        pantalla[caja] = valor;
        nuevo(w, pantalla);
        QCOMPARE(ultimoMensaje(), mensaje);
        // An amount refused is told with the one icon of every amount refusal.
        if (mensaje.contains("admite"))
            QCOMPARE(msgbox_prueba::mostrados().last().estilo, int(vbExclamation));
        QVERIFY(w->texto(Caja::kEmpleado + caja)->hasFocus());
        QVERIFY(!w->texto(Caja::kNumero)->isEnabled());  // still the new loan
        QCOMPARE(base.valor("select count(*) from Prestamo where pre_IdEmpresa=1").toInt(), 0);
        QCOMPARE(cuotas(), QStringList());
        delete w;
    }

    // A loan whose instalments cannot be written is not written either; the screen stays.
    void falloSinRastro() {
        prueba::BaseDePrueba base;
        datos(base);
        base.ejecutar("DROP TABLE PrestamoCuota");
        QPointer<frmPrestamos> w = abrir();
        nuevo(w, {"7", "1000", "3", "02012025", "15012025"});
        QVERIFY(ultimoMensaje().startsWith("Error Nro.:"));
        QCOMPARE(base.valor("select count(*) from Prestamo where pre_IdEmpresa=1").toInt(), 0);
        QCOMPARE(w->texto(Caja::kImporte)->text(), QString("1000"));
        delete w;
    }

    // Numbers per company; an edit replaces every instalment; a delete takes the loan and its
    // instalments; the other company's loans of the same numbers are never touched.
    void numeracionEdicionYBorrado() {
        prueba::BaseDePrueba base;
        datos(base);
        const QStringList otra = cuotas(2);
        QPointer<frmPrestamos> w = abrir();
        nuevo(w, {"7", "1000", "3", "02012025", "15012025"});
        nuevo(w, {"8", "50", "1", "02012025", "15012025"});
        teclear(w->texto(Caja::kNumero), "1");
        QCOMPARE(w->texto(Caja::kNombre)->text(), QString("Núñez D'Alessandro, María José"));
        QCOMPARE(w->texto(Caja::kVencimiento1)->text(), QString("15/01/2025"));
        QVERIFY(w->texto(Caja::kNumero)->isEnabled());  // another number can be typed over it
        teclear(w->texto(Caja::kCuotas), "2");
        QTest::mouseClick(w->btnGrabar(), Qt::LeftButton);
        QCOMPARE(cuotas(), QStringList({"1|1|7|500|2025-01-15", "1|2|7|500|2025-02-15",
                                        "2|1|8|50|2025-01-15"}));
        teclear(w->texto(Caja::kNumero), "1");
        msgbox_prueba::responder(vbYes);
        QTest::mouseClick(w->btnEliminar(), Qt::LeftButton);
        QCOMPARE(cuotas(), QStringList({"2|1|8|50|2025-01-15"}));
        QCOMPARE(base.valor("select count(*) from Prestamo where pre_IdEmpresa=1").toInt(), 1);
        QCOMPARE(cuotas(2), otra);
        delete w;
        w = abrir(2);
        nuevo(w, {"7", "10", "1", "02012025", "15012025"});
        QCOMPARE(ultimoMensaje(), QString("Los datos se grabaron correctamente\nPréstamo Nº: 3"));
        delete w;
    }

    // Only the month of the first instalment counts; an unreadable first due date is told.
    void prestamoDeclarado_data() {
        QTest::addColumn<QString>("prestamo");
        QTest::addColumn<QString>("periodo");
        QTest::addColumn<bool>("bloqueado");
        QTest::newRow("mes de la primera cuota") << "1"
                                                 << "02/01/2025" << true;
        QTest::newRow("mes de la segunda cuota") << "1"
                                                 << "03/01/2025" << false;
        QTest::newRow("sin primer vencimiento") << "2"
                                                << "02/01/2025" << false;
    }
    void prestamoDeclarado() {
        QFETCH(QString, prestamo);
        QFETCH(QString, periodo);
        QFETCH(bool, bloqueado);
        prueba::BaseDePrueba base;
        datos(base);
        base.ejecutar("INSERT INTO DDJJ (DDJJ_Id, DDJJ_Periodo, ddjj_idempresa) VALUES (5, #" +
                      periodo + "#, 2)");
        base.ejecutar(
            "INSERT INTO EmpleadoXDDJJ (ExD_IdDDJJ, ExD_IdEmpleado, ExD_idempresa) "
            "VALUES (5, 7, 2)");
        QPointer<frmPrestamos> w = abrir(2);
        teclear(w->texto(Caja::kNumero), prestamo);
        QCOMPARE(w->texto(Caja::kImporte)->text(), QString("900"));
        QCOMPARE(w->btnGrabar()->isEnabled(), !bloqueado);
        QCOMPARE(w->btnEliminar()->isEnabled(), !bloqueado);
        QCOMPARE(ultimoMensaje().startsWith("El préstamo no tiene una fecha de primer vencimiento"),
                 prestamo == "2");
        QTest::mouseClick(w->btnCancelar(), Qt::LeftButton);
        QVERIFY(w->btnGrabar()->isEnabled() && w->btnEliminar()->isEnabled());
        delete w;
    }

    // F2 lists the company's loans or employees; the row chosen lands in the box.
    void consultas_data() {
        QTest::addColumn<int>("caja");
        QTest::addColumn<QString>("titulo");
        QTest::addColumn<QString>("elegido");
        QTest::newRow("préstamos") << int(Caja::kNumero) << "Consulta de Préstamos"
                                   << "2";
        QTest::newRow("empleados") << int(Caja::kEmpleado) << "Consulta de Empleados"
                                   << "7";
    }
    void consultas() {
        QFETCH(int, caja);
        QFETCH(QString, titulo);
        QFETCH(QString, elegido);
        prueba::BaseDePrueba base;
        datos(base);
        QPointer<frmPrestamos> w = abrir(2);
        consulta::alMostrar = [&](consulta& d) {
            QCOMPARE(d.windowTitle(), titulo);
            QCOMPARE(d.filas(), caja == Caja::kNumero ? 2 : 1);  // company 2's only
            d.grilla()->setCurrentIndex(d.grilla()->model()->index(d.filas() - 1, 0));
            d.aceptar_Click();
        };
        w->texto(caja)->setFocus();
        QTest::keyClick(w->texto(caja), Qt::Key_F2);
        consulta::alMostrar = nullptr;
        QCOMPARE(w->texto(caja)->text(), elegido);
        delete w;
    }

    // A loan given through the window is collected by the next declaration of its month.
    void llegaALaDeclaracion() {
        prueba::BaseDePrueba base;
        datos(base);
        base.ejecutar("INSERT INTO Empresa (Emp_Id, Emp_Nombre) VALUES (1, 'ACME SA')");
        QPointer<frmPrestamos> w = abrir();
        nuevo(w, {"7", "1.500,30", "3", "20042025", "30042025"});
        delete w;
        QPointer<frmDecJurada> d = abrir<frmDecJurada>();
        d->mskPeriodo()->setFocus();
        d->mskPeriodo()->setText("05/2025");
        d->texto(15)->setFocus();
        QApplication::processEvents();
        Grid* g = d->Grilla();
        int fila = 1;
        while (fila < g->Rows() && g->TextoClave(fila, "codigo") != "7") ++fila;
        QCOMPARE(g->TextoClave(fila, "prestamo"), QString("500,1"));
        QCOMPARE(d->texto(19)->text(), QString("500,1"));
        // 2 % of 2.500.000 and of 1000, plus the instalment.
        QCOMPARE(d->texto(12)->text(), QString("50520,1"));
        delete d;
    }
};

QTEST_MAIN(TstFrmPrestamos)
#include "tst_frmprestamos.moc"
