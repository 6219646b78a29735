#include <sqlite3.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "common/Globales.h"
#include "common/Moneda.h"
#include "declaration/frmDecJurada.h"
#include "lookup/NueCons.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "platform/MsgBox.h"
#include "platform/ReportControl.h"
#include "support/BaseDePrueba.h"
#include "support/DDJJDePrueba.h"

using namespace zul;

// Company 1 with its employees, loans and saved declarations; company 2 beside it.
//
// Employees of company 1 (salary; flags 2 % / 2,5 / 1 % / fee / member; remunerative parts):
//   1 PEREZ   1000,50  1 1 1 1 1  -        -       loans: 100,25 + 50,10 in May, 100,25 in June
//   2 GOMEZ   2345,67  1 0 1 1 1  2000     345,67  loan: 80 in June only
//   3 DIAZ    (none)   1 0 0 0 1  -        -
//   4 RUIZ    1500     1 1 0 1 0  0        500
//   8 LOPEZ   1200     1 0 0 1 0  -        -
//   5 SOSA    left 15/04/2024, not yet listed: offered among the leavers
//   6 VEGA    left, listed as leaver of declaration 70000: not offered
//   7 ROJAS   category without a Categoria row: in neither grid
class TstDecJurada : public QObject {
    Q_OBJECT

    static void datos(const prueba::BaseDePrueba& b) {
        b.ejecutar(
            "INSERT INTO Empresa (Emp_Id, Emp_Nombre, Emp_Domicilio, Emp_Localidad, "
            "Emp_CUIT, Emp_Telefono) VALUES (1, 'ACME SA', 'Calle 1', 'Rosario', "
            "'30-71234567-1', '4444'), (2, 'OTRA SRL', 'x', 'y', 'z', 'w')");
        b.ejecutar("UPDATE Empresa SET emp_emaild='estudio@example.com' WHERE emp_id=0");
        b.ejecutar(
            "INSERT INTO Categoria (Cat_Id, Cat_Nombre) VALUES ('1', 'Administrativo'), "
            "('2', 'Maestranza')");
        b.ejecutar(
            "INSERT INTO Empleado (Ado_Id, Ado_Nombre, Ado_FechaNac, Ado_Cuil, Ado_FechaIng, "
            "Ado_Sueldo, Ado_Categoria, Ado_Aporte2, Ado_Aporte25, Ado_Aporte1, Ado_AporteCS, "
            "Ado_Afiliado, Ado_FechaEgreso, ado_IdEmpresa, Ado_Remunera, Ado_noRemunera) VALUES "
            "(1, 'PEREZ JUAN', #02/01/1980#, '20-11111111-1', #03/15/2010#, 1000.5, '1', -1, -1, "
            "-1, -1, -1, NULL, 1, NULL, NULL),"
            "(2, 'GOMEZ ANA', NULL, '27-22222222-2', #01/02/2015#, 2345.67, '1', -1, 0, -1, -1, "
            "-1, NULL, 1, 2000, 345.67),"
            "(3, 'DIAZ LUIS', NULL, NULL, NULL, NULL, '2', -1, 0, 0, 0, -1, NULL, 1, NULL, NULL),"
            "(4, 'RUIZ EVA', NULL, NULL, NULL, 1500, '2', -1, -1, 0, -1, 0, NULL, 1, 0, 500),"
            "(8, 'LOPEZ MARIA', NULL, '27-88888888-8', #06/01/2020#, 1200, '2', -1, 0, 0, -1, "
            "0, NULL, 1, NULL, NULL),"
            "(5, 'SOSA LEO', NULL, '20-55555555-5', #01/01/2019#, 900, '2', 0, 0, 0, 0, 0, "
            "#04/15/2024#, 1, NULL, NULL),"
            "(6, 'VEGA OLGA', NULL, NULL, NULL, 800, '2', 0, 0, 0, 0, 0, #02/20/2024#, 1, NULL, "
            "NULL),"
            "(7, 'ROJAS IVAN', NULL, NULL, NULL, 700, 'ZZ', -1, 0, 0, 0, 0, NULL, 1, NULL, NULL),"
            "(9, 'AJENO OTRO', NULL, NULL, NULL, 5000, '1', -1, 0, 0, -1, 0, NULL, 2, NULL, NULL),"
            "(1, 'AJENO UNO', NULL, NULL, NULL, 5000, '1', -1, 0, 0, -1, 0, NULL, 2, NULL, NULL)");
        b.ejecutar(
            "INSERT INTO PrestamoCuota (pcu_idPrestamo, pcu_nrocuota, pcu_idempleado, "
            "pcu_importe, pcu_fechaven, pcu_IdEmpresa) VALUES "
            "(1, 1, 1, 100.25, #05/10/2024#, 1), (1, 2, 1, 100.25, #06/10/2024#, 1), "
            "(2, 1, 1, 50.10, #05/20/2024#, 1), (3, 1, 2, 80, #06/10/2024#, 1), "
            "(4, 1, 1, 999, #05/10/2024#, 2)");
        // March 2024 saved, with a number beyond 16 bits, a fractional cap and a fee of 12,5.
        b.ejecutar(
            "INSERT INTO DDJJ (DDJJ_Id, DDJJ_Periodo, DDJJ_Fecha, DDJJ_Vencimiento, "
            "DDJJ_NroIns, DDJJ_CantEmp, DDJJ_TotalRemu, DDJJ_2Remu, DDJJ_Farmacia, "
            "DDJJ_Amec, DDJJ_Cuota, DDJJ_Total, DDJJ_ValorCuota, DDJJ_Tope, "
            "DDJJ_Prestamo, DDJJ_Amec3, ddjj_idempresa) VALUES "
            "(70000, #03/01/2024#, #04/02/2024#, #04/10/2024#, 4455, 2, 3346.17, "
            "66.9234, 25.0125, 30.005, 25, 300.75, 12.5, 50.5, 12.5, 80.515, 1), "
            "(3, #01/01/2024#, NULL, NULL, 1, 0, 0, 0, 0, 0, 0, 0, 10, 0, 0, 0, 1), "
            "(5, #03/01/2024#, NULL, NULL, 1, 0, 0, 0, 0, 0, 0, 0, 10, 0, 0, 0, 2)");
        b.ejecutar(
            "INSERT INTO EmpleadoXDDJJ (ExD_IdDDJJ, ExD_IdEmpleado, ExD_Sueldo, "
            "ExD_Aporte2, ExD_AporteFar, ExD_AporteAmec, ExD_Cuota, ExD_IdCatego, "
            "ExD_Afiliado, ExD_Prestamo, ExD_idempresa) VALUES "
            "(70000, 1, 999, 1, 1, 1, 1, 1, 1, 12.5, 1), "
            "(70000, 2, 2347.17, 1, 0, 1, 1, 1, 1, NULL, 1)");
        b.ejecutar(
            "INSERT INTO Bajas (Baj_DDJJ, Baj_Empleado, Baj_FecEgreso, Baj_Sueldo, "
            "Baj_IdCatego, baj_idempresa) VALUES (70000, 6, #02/20/2024#, 800, 2, 1)");
    }

    // Row of the grid whose code is `codigo`, or -1.
    static int fila(Grid* g, const QString& codigo) {
        for (int r = 1; r < g->Rows(); ++r)
            if (g->TextoClave(r, "codigo") == codigo) return r;
        return -1;
    }
    static QStringList codigos(Grid* g) {
        QStringList c;
        for (int r = 1; r < g->Rows(); ++r) c << g->TextoClave(r, "codigo");
        return c;
    }
    // Totals as the window shows them: count, salaries, 2 %, 2,5, 1 %, fee, 3 %, loans, total.
    static QStringList totales(frmDecJurada* w) {
        QStringList t;
        for (int i : {5, 6, 8, 9, 10, 11, 18, 19, 12}) t << w->texto(i)->text();
        return t;
    }

    QPointer<frmDecJurada> abrir() {
        IdEmpresa = 1;
        auto* w = new frmDecJurada;
        w->show();
        QApplication::setActiveWindow(w);
        if (!QTest::qWaitForWindowActive(w)) qWarning("window not active");
        return w;
    }

    // May 2024, new, after March (saved) left its cap and fee in the boxes.
    QPointer<frmDecJurada> abrirMayo() {
        QPointer<frmDecJurada> w = abrir();
        periodo(w, "03/2024");
        periodo(w, "05/2024");
        return w;
    }

    // The month given, with the due date and registration number the save asks for.
    QPointer<frmDecJurada> abrirParaGrabar(const QString& mmaaaa) {
        QPointer<frmDecJurada> w = abrir();
        periodo(w, mmaaaa);
        w->texto(14)->setText("10/06/2024");
        w->texto(15)->setText("4455");
        return w;
    }

    // Types a period and leaves the box, as the user does.
    static void periodo(frmDecJurada* w, const QString& mmaaaa) {
        w->mskPeriodo()->setFocus();
        w->mskPeriodo()->setText(mmaaaa);
        w->texto(15)->setFocus();
        QApplication::processEvents();
    }

    // The totals of May 2024 worked out by hand, with the cap 50,5 and the fee 12,5 that the
    // March declaration leaves in the boxes:
    //   salaries 1000,5 + 2345,67 + 0 + 1500 + 1200 = 6046,17
    //   2 %  20,01 (1000,5) + 6,9134 + 40 (both parts) + 0 + 10 (non-remunerative 500) + 24
    //        = 100,9234
    //   2,5  25,0125 (1000,5) + 37,5 (1500: remunerative 0) = 62,5125
    //   1 %  10,005 (1000,5) + 20 (remunerative 2000) = 30,005
    //   fee  4 × 12,5 = 50
    //   3 %  30,015 (3 % of 1000,5, under the cap) + 50,5 (capped: 70,3701) + 0 (no salary)
    //        = 80,515
    //   loans 100,25 + 50,10 due in May (June's instalments wait) = 150,35
    //   total 100,9234 + 62,5125 + 30,005 + 50 + 80,515 + 150,35 = 474,3059
    const QStringList kMayo = {"5",  "6046,17", "100,9234", "62,5125", "30,005",
                               "50", "80,515",  "150,35",   "474,3059"};
    // Without LOPEZ (1200, 2 % and fee): 2 % 76,9234, fee 37,5, total 437,8059.
    const QStringList kMayoSinLopez = {"4",    "4846,17", "76,9234", "62,5125", "30,005",
                                       "37,5", "80,515",  "150,35",  "437,8059"};

  private slots:
    void init() { NueCons::alMostrar = nullptr; }

    void abreConLaEmpresaYElMesActual() {
        prueba::BaseDePrueba base;
        datos(base);
        QPointer<frmDecJurada> w = abrir();
        QCOMPARE(w->windowTitle(), QString("Declaración Jurada"));
        QCOMPARE(w->texto(0)->text(), QString("ACME SA"));
        QCOMPARE(w->texto(3)->text(), QString("30-71234567-1"));
        QCOMPARE(w->texto(20)->text(), QString("estudio@example.com"));
        QCOMPARE(w->mskPeriodo()->displayText(), QDate::currentDate().toString("MM/yyyy"));
        QCOMPARE(w->texto(7)->text(), w->mskPeriodo()->displayText());
        QCOMPARE(w->texto(16)->text(), QString("10"));
        QVERIFY(!w->texto(17)->isEnabled());
        QVERIFY(w->btnGrabar()->isEnabled());
        QVERIFY(!w->btnEliminar()->isEnabled());
        QVERIFY(w->findChild<QPushButton*>("btnEmpleados")->isEnabled());
        QCOMPARE(w->IdDDJJ(), 0);
        // Active employees of the company whose category exists; the leaver not yet listed.
        QStringList activos = codigos(w->Grilla());
        QCOMPARE(activos.last(), QString());
        activos.removeLast();
        activos.sort();
        QCOMPARE(activos, QStringList({"1", "2", "3", "4", "8"}));
        QCOMPARE(codigos(w->Grilla2()), QStringList({"5", ""}));
        const int sosa = fila(w->Grilla2(), "5");
        QCOMPARE(w->Grilla2()->TextoClave(sosa, "FechaEgreso"), QString("15/04/2024"));
        QCOMPARE(w->Grilla2()->TextoClave(sosa, "IdCatego"), QString("2"));
        QCOMPARE(w->Grilla2()->TextoClave(sosa, "Categoria"), QString("Maestranza"));
        // The cap box is empty: no 3 %; the fee box holds 10.
        QCOMPARE(w->texto(18)->text(), QString("0"));
        QCOMPARE(w->texto(11)->text(), QString("40"));
        delete w;
    }

    void mesNuevoConTopeYCuotaDeUnMesGrabado() {
        prueba::BaseDePrueba base;
        datos(base);
        QPointer<frmDecJurada> w = abrir();

        periodo(w, "03/2024");
        QCOMPARE(w->IdDDJJ(), 70000);
        QVERIFY(!w->btnGrabar()->isEnabled());
        QVERIFY(w->btnEliminar()->isEnabled());
        QCOMPARE(w->texto(14)->text(), QString("10/04/2024"));
        QCOMPARE(w->texto(15)->text(), QString("4455"));
        QCOMPARE(w->texto(16)->text(), QString("12,5"));
        QCOMPARE(w->texto(17)->text(), QString("50,5"));
        // The stored totals stay, whatever the grid holds.
        QCOMPARE(totales(w), QStringList({"2", "3346,17", "66,9234", "25,0125", "30,005", "25",
                                          "80,515", "12,5", "300,75"}));
        // The stored salary and loan, the current name.
        const int perez = fila(w->Grilla(), "1");
        QCOMPARE(w->Grilla()->TextoClave(perez, "Sueldo"), QString("999"));
        QCOMPARE(w->Grilla()->TextoClave(perez, "prestamo"), QString("12,5"));
        QCOMPARE(w->Grilla()->TextoClave(perez, "Nombre"), QString("PEREZ JUAN"));
        QCOMPARE(w->Grilla()->TextoClave(fila(w->Grilla(), "2"), "prestamo"), QString());
        QCOMPARE(codigos(w->Grilla2()), QStringList({"6", ""}));
        QCOMPARE(w->texto(7)->text(), QString("03/2024"));

        periodo(w, "05/2024");
        QCOMPARE(w->IdDDJJ(), 0);
        QVERIFY(w->btnGrabar()->isEnabled());
        QVERIFY(!w->btnEliminar()->isEnabled());
        QCOMPARE(w->texto(15)->text(), QString("4455"));  // kept from the month shown before
        QCOMPARE(totales(w), kMayo);
        const int perez5 = fila(w->Grilla(), "1");
        QCOMPARE(w->Grilla()->TextoClave(perez5, "Sueldo"), QString("1000,5"));
        QCOMPARE(w->Grilla()->TextoClave(perez5, "prestamo"), QString("150,35"));
        QCOMPARE(w->Grilla()->TextoClave(perez5, "FechaNac"), QString("01/02/1980"));
        QCOMPARE(w->Grilla()->TextoClave(perez5, "Aporte2"), QString("1"));
        QCOMPARE(w->Grilla()->TextoClave(perez5, "remunera"), QString("0"));
        // June's instalment does not count in May; no salary shows an empty cell.
        QCOMPARE(w->Grilla()->TextoClave(fila(w->Grilla(), "2"), "prestamo"), QString());
        QCOMPARE(w->Grilla()->TextoClave(fila(w->Grilla(), "3"), "Sueldo"), QString());
        QCOMPARE(w->Grilla()->TextoClave(fila(w->Grilla(), "2"), "IdCatego"), QString("1"));
        // No failure boxes for the member without a salary.
        QVERIFY(msgbox_prueba::mostrados().isEmpty());

        // An invalid period changes nothing.
        periodo(w, "13/2024");
        QCOMPARE(totales(w), kMayo);
        QCOMPARE(w->texto(7)->text(), QString("05/2024"));
        delete w;
    }

    // LOPEZ's loan cell in May 2024 with the instalments given, and the loans' total beside
    // PEREZ's 150,35: what falls due in the month, summed; nothing from another month, year
    // or company, nor an instalment without date or amount.
    void prestamoDelMes_data() {
        QTest::addColumn<QString>("cuotas");
        QTest::addColumn<QString>("prestamo");
        QTest::addColumn<QString>("total");
        QTest::newRow("sin cuotas") << ""
                                    << ""
                                    << "150,35";
        QTest::newRow("una") << "(10, 1, 8, 100.25, '2024-05-10', 1)"
                             << "100,25"
                             << "250,6";
        QTest::newRow("dos préstamos, del primero al último día")
            << "(10, 1, 8, 100.25, '2024-05-01', 1), (11, 3, 8, 50.1, '2024-05-31', 1)"
            << "150,35"
            << "300,7";
        QTest::newRow("enteros") << "(10, 1, 8, 80, '2024-05-10', 1), (11, 1, 8, 20, "
                                    "'2024-05-11', 1)"
                                 << "100"
                                 << "250,35";
        QTest::newRow("vence el mes siguiente") << "(10, 2, 8, 100.25, '2024-06-01', 1)"
                                                << ""
                                                << "150,35";
        QTest::newRow("mismo mes de otro año") << "(10, 1, 8, 100.25, '2023-05-10', 1)"
                                               << ""
                                               << "150,35";
        QTest::newRow("de otra empresa") << "(10, 1, 8, 100.25, '2024-05-10', 2)"
                                         << ""
                                         << "150,35";
        QTest::newRow("sin fecha") << "(10, 1, 8, 100.25, NULL, 1)"
                                   << ""
                                   << "150,35";
        QTest::newRow("sin importe") << "(10, 1, 8, NULL, '2024-05-10', 1)"
                                     << ""
                                     << "150,35";
        QTest::newRow("sin importe junto a otra")
            << "(10, 1, 8, NULL, '2024-05-10', 1), (11, 1, 8, 30, '2024-05-12', 1)"
            << "30"
            << "180,35";
        QTest::newRow("de nadie") << "(10, 1, NULL, 100.25, '2024-05-10', 1), (11, 1, 99, 5, "
                                     "'2024-05-10', 1)"
                                  << ""
                                  << "150,35";
    }

    void prestamoDelMes() {
        QFETCH(QString, cuotas);
        QFETCH(QString, prestamo);
        QFETCH(QString, total);
        prueba::BaseDePrueba base;
        datos(base);
        if (!cuotas.isEmpty())
            base.ejecutar(
                "INSERT INTO PrestamoCuota (pcu_idPrestamo, pcu_nrocuota, pcu_idempleado, "
                "pcu_importe, pcu_fechaven, pcu_IdEmpresa) VALUES " +
                cuotas);
        QPointer<frmDecJurada> w = abrir();
        periodo(w, "05/2024");
        QCOMPARE(w->Grilla()->TextoClave(fila(w->Grilla(), "8"), "prestamo"), prestamo);
        QCOMPARE(w->Grilla()->TextoClave(fila(w->Grilla(), "1"), "prestamo"), QString("150,35"));
        QCOMPARE(w->texto(19)->text(), total);
        delete w;
    }

    void cuotaConLetrasOPuntoDecimal() {
        prueba::BaseDePrueba base;
        datos(base);
        QPointer<frmDecJurada> w = abrir();
        periodo(w, "05/2024");
        // Fee 10, five... four members with the fee flag: 40; no cap: no 3 %.
        QCOMPARE(w->texto(11)->text(), QString("40"));
        w->texto(16)->setFocus();
        w->texto(16)->setText("7.5");
        w->texto(15)->setFocus();
        QCOMPARE(w->texto(11)->text(), QString("30"));
        QCOMPARE(w->texto(16)->text(), QString("7,5"));  // the box shows what was read
        // Letters are refused and stay to be mended: no fee, and no total made with one.
        w->texto(16)->setFocus();
        w->texto(16)->setText("abc");
        w->texto(15)->setFocus();
        QCOMPARE(w->texto(16)->text(), QString("abc"));
        QCOMPARE(w->texto(11)->text(), QString());
        QCOMPARE(w->texto(12)->text(), QString());
        delete w;
    }

    // The fee reads as every money box, and is stored as the totals read it, or refused.
    void cuotaSeGrabaComoSeLee_data() {
        QTest::addColumn<QString>("cuota");
        QTest::addColumn<QString>("total");  // four members with the fee
        QTest::addColumn<double>("guardada");  // -1: nothing saved
        QTest::addColumn<QString>("mensaje");  // on leaving the box and again on Grabar
        const QString excedido = MensajeImporteExcedido();
        const QString letras = QStringLiteral(
            "La cuota societaria no es un importe: escríbalo con cifras, como 1234,50 o 1.234,50");
        QTest::newRow("punto decimal") << "7.5"
                                       << "30" << 7.5 << "";
        QTest::newRow("a la argentina") << "1.234,50"
                                        << "4938" << 1234.5 << "";
        QTest::newRow("punto ante tres cifras") << "0.125"
                                                << "0,5" << 0.125 << "";
        QTest::newRow("cinco decimales") << "7,12345"
                                         << "" << -1.0 << excedido;
        QTest::newRow("una cienmilesima") << "0,00001"
                                          << "" << -1.0 << excedido;
        QTest::newRow("el mayor y medio decimal") << "99.999.999.999,99995"
                                                  << "" << -1.0 << excedido;
        QTest::newRow("dos comas") << "12,345,678"
                                   << "" << -1.0 << letras;
        QTest::newRow("cifra de ancho completo") << QString::fromUtf8("７") << "" << -1.0 << letras;
    }
    void cuotaSeGrabaComoSeLee() {
        QFETCH(QString, cuota);
        QFETCH(QString, total);
        QFETCH(double, guardada);
        QFETCH(QString, mensaje);
        prueba::BaseDePrueba base;
        datos(base);
        QPointer<frmDecJurada> w = abrir();
        periodo(w, "05/2024");
        w->texto(14)->setText("10/06/2024");
        w->texto(15)->setText("4455");
        w->texto(16)->setFocus();
        w->texto(16)->selectAll();
        msgbox_prueba::limpiar();
        for (QChar c : cuota)  // key by key, a full-width digit as well
            QTest::sendKeyEvent(QTest::Click, w->texto(16), Qt::Key_unknown, c, {});
        QTest::keyClick(w->texto(16), Qt::Key_Return);
        QTRY_COMPARE(w->texto(11)->text(), total);
        const QString mostrado = w->texto(12)->text();
        w->btnGrabar_Click();
        const QVariant fila = base.valor(
            "SELECT DDJJ_ValorCuota || '|' || DDJJ_Total FROM DDJJ WHERE "
            "DDJJ_Periodo='2024-05-01'");
        if (guardada < 0) {
            QVERIFY(!fila.isValid());
            const auto m = msgbox_prueba::mostrados();
            QCOMPARE(m.size(), 2);
            QCOMPARE(m[0].texto, mensaje);
            QCOMPARE(m[1].texto, mensaje + "\nLa Declaración Jurada no se grabó.");
            QCOMPARE(m[1].estilo, int(vbExclamation));
        } else {
            // The total stored (and coded) is the one shown, made with the fee stored.
            QCOMPARE(fila.toString().section('|', 0, 0).toDouble(), guardada);
            QCOMPARE(fila.toString().section('|', 1).replace('.', ','), mostrado);
        }
        delete w;
    }

    void venceElDiezDelMesSiguiente() {
        QCOMPARE(frmDecJurada::VencimientoPropuesto("12/2024"), QString("10/01/2025"));
        QCOMPARE(frmDecJurada::VencimientoPropuesto("11/2024"), QString("10/12/2024"));
        QCOMPARE(frmDecJurada::VencimientoPropuesto("__/____"), QString());

        prueba::BaseDePrueba base;
        datos(base);
        QPointer<frmDecJurada> w = abrir();
        periodo(w, "03/2024");
        // Entering the empty box proposes the date.
        w->texto(14)->clear();
        w->mskPeriodo()->setText("12/2024");
        w->texto(14)->setFocus();
        QCOMPARE(w->texto(14)->text(), QString("10/01/2025"));
        QCOMPARE(w->texto(14)->selectedText(), QString("10/01/2025"));
        // A date typed over it survives a trip to another window or to the box's menu.
        w->texto(14)->setText("20/01/2025");
        for (Qt::FocusReason razon : {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason}) {
            QFocusEvent sale(QEvent::FocusOut, razon);
            QApplication::sendEvent(w->texto(14), &sale);
            QFocusEvent vuelve(QEvent::FocusIn, razon);
            QApplication::sendEvent(w->texto(14), &vuelve);
            QCOMPARE(w->texto(14)->text(), QString("20/01/2025"));
        }
        delete w;

        w = abrir();
        w->mskPeriodo()->setText("");
        w->texto(14)->setFocus();
        QApplication::processEvents();
        QCOMPARE(msgbox_prueba::mostrados().last().texto, QString("Debe ingresar el período!"));
        QCOMPARE(msgbox_prueba::mostrados().last().estilo, 48);
        QVERIFY(w->mskPeriodo()->hasFocus());
        // The box is left as it was, without a date template of its own.
        QCOMPARE(w->texto(14)->text(), QString());
        delete w;
    }

    // A due date stored or typed is never proposed over when the box is entered again; another
    // month loaded afterwards gets its own.
    void vencimientoGrabadoOEscritoQueda_data() {
        QTest::addColumn<QString>("mes");
        QTest::addColumn<QString>("escrito");  // typed before leaving the box; "" none
        QTest::addColumn<QString>("luego");    // a month loaded before coming back; "" none
        QTest::addColumn<QString>("queda");
        const auto fila = [](const char* nombre, const char* mes, const char* escrito,
                             const char* luego, const char* queda) {
            QTest::newRow(nombre) << QString(mes) << QString(escrito) << QString(luego)
                                  << QString(queda);
        };
        fila("grabado el 15", "03/2024", "", "", "15/04/2024");
        fila("escrito, al volver", "05/2024", "20/06/2024", "", "20/06/2024");
        fila("grabado, luego un mes nuevo", "03/2024", "", "05/2024", "10/06/2024");
        fila("propuesto, luego otro mes", "05/2024", "", "07/2024", "10/08/2024");
        fila("escrito, el mismo mes otra vez", "05/2024", "20/06/2024", "05/2024", "20/06/2024");
    }

    void vencimientoGrabadoOEscritoQueda() {
        QFETCH(QString, mes);
        QFETCH(QString, escrito);
        QFETCH(QString, luego);
        QFETCH(QString, queda);
        prueba::BaseDePrueba base;
        datos(base);
        base.ejecutar("UPDATE DDJJ SET DDJJ_Vencimiento=#04/15/2024# WHERE DDJJ_Id=70000");
        QPointer<frmDecJurada> w = abrir();
        periodo(w, mes);
        w->texto(14)->setFocus();
        if (!escrito.isEmpty()) w->texto(14)->setText(escrito);
        if (luego.isEmpty())
            w->texto(15)->setFocus();
        else
            periodo(w, luego);
        w->texto(14)->setFocus();
        QCOMPARE(w->texto(14)->text(), queda);
        delete w;
    }

    // Enter, Esc and Tab go through the controls the clerk uses, as the screen reads them: the
    // boxes that only show a value are no stop, and Esc in the first box stays.
    void enterYEscPorLasCajasQueSeEscriben_data() {
        QTest::addColumn<QString>("desde");
        QTest::addColumn<int>("tecla");
        QTest::addColumn<QString>("hasta");
        QTest::newRow("período, Enter") << "mskPeriodo" << int(Qt::Key_Return) << "texto_14";
        QTest::newRow("período, Esc") << "mskPeriodo" << int(Qt::Key_Escape) << "mskPeriodo";
        QTest::newRow("vencimiento, Esc") << "texto_14" << int(Qt::Key_Escape) << "mskPeriodo";
        QTest::newRow("inscripción, Enter") << "texto_15" << int(Qt::Key_Return) << "texto_16";
        QTest::newRow("cuota, Esc") << "texto_16" << int(Qt::Key_Escape) << "texto_15";
        QTest::newRow("razón social, Enter") << "texto_0" << int(Qt::Key_Return) << "mskPeriodo";
        QTest::newRow("personal, Enter") << "Grilla" << int(Qt::Key_Return) << "Grilla2";
        QTest::newRow("personal, Esc") << "Grilla" << int(Qt::Key_Escape) << "texto_16";
        QTest::newRow("Salir, Tab") << "btnSalir" << int(Qt::Key_Tab) << "mskPeriodo";
        QTest::newRow("período, Shift+Tab") << "mskPeriodo" << int(Qt::Key_Backtab) << "btnSalir";
    }

    void enterYEscPorLasCajasQueSeEscriben() {
        QFETCH(QString, desde);
        QFETCH(int, tecla);
        QFETCH(QString, hasta);
        prueba::BaseDePrueba base;
        datos(base);
        QPointer<frmDecJurada> w = abrir();
        // The window opens where the clerk starts typing.
        QCOMPARE(QApplication::focusWidget(), w->mskPeriodo());
        periodo(w, "05/2024");
        auto* inicio = w->findChild<QWidget*>(desde);
        inicio->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(inicio, Qt::Key(tecla));
        QApplication::processEvents();
        // A list takes the focus into its cell editor.
        auto* destino = w->findChild<QWidget*>(hasta);
        QWidget* foco = QApplication::focusWidget();
        QVERIFY2(foco == destino || destino->isAncestorOf(foco), qPrintable(foco->objectName()));
        delete w;
    }

    // The next period typed after Cancelar, a save or a delete replaces the month on show, and
    // End in the leaving date goes to its first blank.
    void digitosNoSePierden_data() {
        QTest::addColumn<QString>("accion");
        for (const char* accion : {"Alt+C", "eliminar", "grabar", "egreso"})
            QTest::newRow(accion) << QString(accion);
    }

    void digitosNoSePierden() {
        QFETCH(QString, accion);
        prueba::BaseDePrueba base;
        datos(base);
        QPointer<frmDecJurada> w = abrirMayo();
        msgbox_prueba::limpiar();
        Grid* g2 = w->Grilla2();
        if (accion == "Alt+C") {
            w->mskPeriodo()->setFocus();
            QTest::keyClick(w->mskPeriodo(), Qt::Key_C, Qt::AltModifier);
            // The shortcut's animated click.
            QTRY_COMPARE(w->mskPeriodo()->displayText(), QDate::currentDate().toString("MM/yyyy"));
        } else if (accion == "eliminar") {
            periodo(w, "03/2024");
            msgbox_prueba::responder(vbYes);
            w->btnEliminar_Click();
        } else if (accion == "grabar") {
            w->texto(14)->setText("10/06/2024");
            w->texto(15)->setText("4455");
            w->btnGrabar_Click();
        } else {
            // LOPEZ listed as a leaver, his leaving date still to type.
            g2->setTextoClave(2, "codigo", "8");
            w->Grilla2_AfterEdit(2, 0);
            g2->setFocus();
            g2->setCol(0);
            g2->setCol(g2->ColIndex("FechaEgreso"));
            QApplication::processEvents();
        }
        auto* caja = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(caja == w->mskPeriodo() || (caja && g2->isAncestorOf(caja)));
        // A period typed over; or a leaving date's day and month, End, and its year.
        const bool esPeriodo = caja == w->mskPeriodo();
        QTest::keyClicks(caja, esPeriodo ? "112026" : "1503");
        if (!esPeriodo) QTest::keyClick(caja, Qt::Key_End);
        if (!esPeriodo) QTest::keyClicks(caja, "2024");
        QCOMPARE(caja->displayText(), esPeriodo ? "11/2026" : "15/03/2024");
        delete w;
    }

    // Up and Down move between the leavers also while a code or a leaving date is typed.
    void flechasEntreBajas_data() {
        QTest::addColumn<QString>("columna");
        QTest::addColumn<int>("filaInicial");
        QTest::addColumn<int>("tecla");
        QTest::addColumn<int>("filaFinal");
        QTest::newRow("código, abajo") << "Codigo" << 1 << int(Qt::Key_Down) << 2;
        QTest::newRow("código, arriba") << "Codigo" << 2 << int(Qt::Key_Up) << 1;
        QTest::newRow("egreso, abajo") << "FechaEgreso" << 1 << int(Qt::Key_Down) << 2;
        QTest::newRow("egreso, arriba") << "FechaEgreso" << 2 << int(Qt::Key_Up) << 1;
    }

    void flechasEntreBajas() {
        QFETCH(QString, columna);
        QFETCH(int, filaInicial);
        QFETCH(int, tecla);
        QFETCH(int, filaFinal);
        prueba::BaseDePrueba base;
        datos(base);
        QPointer<frmDecJurada> w = abrirMayo();
        Grid* g2 = w->Grilla2();
        g2->setFocus();
        g2->setRow(filaInicial);
        g2->setCol(g2->ColIndex(columna));
        QVERIFY(g2->Editando());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(tecla));
        QCOMPARE(g2->Row(), filaFinal);
        // The leaver stays where he was.
        QCOMPARE(codigos(g2), QStringList({"5", ""}));
        delete w;
    }

    // The program's own clearing empties the fee box: no fee, and no error box about it.
    void cuotaVaciaPorLaLimpiezaNoEsError_data() {
        QTest::addColumn<QString>("accion");
        QTest::newRow("cancelar") << "cancelar";
        QTest::newRow("eliminar") << "eliminar";
        QTest::newRow("grabar") << "grabar";
    }

    void cuotaVaciaPorLaLimpiezaNoEsError() {
        QFETCH(QString, accion);
        prueba::BaseDePrueba base;
        datos(base);
        QPointer<frmDecJurada> w = abrir();
        if (accion == "eliminar") {
            periodo(w, "03/2024");
            msgbox_prueba::limpiar();
            msgbox_prueba::responder(vbYes);
            w->btnEliminar_Click();
            QCOMPARE(base.valor("SELECT count(*) FROM DDJJ").toInt(), 2);
        } else if (accion == "grabar") {
            periodo(w, "05/2024");
            w->texto(14)->setText("10/06/2024");
            w->texto(15)->setText("4455");
            msgbox_prueba::limpiar();
            w->btnGrabar_Click();
            QCOMPARE(base.valor("SELECT count(*) FROM DDJJ").toInt(), 4);
        } else {
            msgbox_prueba::limpiar();
            w->btnCancelar_Click();
        }
        for (const auto& m : msgbox_prueba::mostrados())
            QVERIFY2(!m.texto.startsWith("Error Nro.:"), qPrintable(m.texto));
        QCOMPARE(w->texto(16)->text(), QString());
        QCOMPARE(w->texto(11)->text(), QString("0"));
        delete w;
    }

    void bajasPorCodigo() {
        prueba::BaseDePrueba base;
        datos(base);
        QPointer<frmDecJurada> w = abrirMayo();
        QCOMPARE(totales(w), kMayo);
        Grid* g2 = w->Grilla2();

        // Typed into the empty row through the cell editor.
        g2->setFocus();
        g2->setRow(2);
        g2->setCol(0);
        QApplication::processEvents();
        QVERIFY(g2->Editando());
        QTest::keyClicks(QApplication::focusWidget(), "8");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QApplication::processEvents();
        QCOMPARE(g2->TextoClave(2, "codigo"), QString("8"));
        QCOMPARE(g2->TextoClave(2, "Nombre"), QString("LOPEZ MARIA"));
        QCOMPARE(g2->TextoClave(2, "Cuil"), QString("27-88888888-8"));
        QCOMPARE(g2->TextoClave(2, "FechaIng"), QString("01/06/2020"));
        QCOMPARE(g2->TextoClave(2, "Categoria"), QString("Maestranza"));
        QCOMPARE(g2->TextoClave(2, "Sueldo"), QString("1200"));
        QCOMPARE(g2->TextoClave(2, "IdCatego"), QString("2"));
        QCOMPARE(fila(w->Grilla(), "8"), -1);
        QCOMPARE(totales(w), kMayoSinLopez);
        // The cursor waits on the leaving date.
        QCOMPARE(g2->Row(), 2);
        QCOMPARE(g2->Col(), g2->ColIndex("FechaEgreso"));

        // A complete row moves on to a new empty row.
        QVERIFY(g2->Editando());
        QTest::keyClicks(QApplication::focusWidget(), "30052024");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QApplication::processEvents();
        QCOMPARE(g2->TextoClave(2, "FechaEgreso"), QString("30/05/2024"));
        QCOMPARE(g2->Rows(), 4);
        QCOMPARE(g2->Row(), 3);
        QCOMPARE(g2->Col(), 0);

        // A code already among the leavers is refused; nothing else changes.
        g2->setTextoClave(3, "codigo", "5");
        w->Grilla2_AfterEdit(3, 0);
        QCOMPARE(g2->TextoClave(3, "codigo"), QString());
        QCOMPARE(totales(w), kMayoSinLopez);

        // Another company's employee, letters: the row's cells are emptied.
        g2->setTextoClave(3, "codigo", "9");
        w->Grilla2_AfterEdit(3, 0);
        QCOMPARE(g2->TextoClave(3, "Nombre"), QString());
        QCOMPARE(g2->TextoClave(3, "codigo"), QString());
        QCOMPARE(totales(w), kMayoSinLopez);

        // Changing LOPEZ's row to another employee gives LOPEZ back to the active grid.
        g2->setTextoClave(2, "codigo", "4");
        w->Grilla2_AfterEdit(2, 0);
        QVERIFY(fila(w->Grilla(), "8") > 0);
        QCOMPARE(fila(w->Grilla(), "4"), -1);
        QCOMPARE(w->Grilla()->TextoClave(w->Grilla()->Rows() - 1, "codigo"), QString());
        QCOMPARE(w->texto(5)->text(), QString("4"));
        // Without RUIZ (1500: 2 % 10, 2,5 37,5, fee 12,5):
        //   2 % 90,9234  2,5 25,0125  1 % 30,005  fee 37,5  3 % 80,515  loans 150,35
        QCOMPARE(totales(w), QStringList({"4", "4546,17", "90,9234", "25,0125", "30,005", "37,5",
                                          "80,515", "150,35", "414,3059"}));

        // Clearing the code brings RUIZ back too: the May totals again.
        g2->setTextoClave(2, "codigo", "");
        w->Grilla2_AfterEdit(2, 0);
        QCOMPARE(g2->TextoClave(2, "Nombre"), QString());
        QCOMPARE(totales(w), kMayo);

        // LOPEZ's row changed to a code already listed: the cell empties and LOPEZ is back.
        g2->setTextoClave(2, "codigo", "8");
        w->Grilla2_AfterEdit(2, 0);
        QCOMPARE(totales(w), kMayoSinLopez);
        g2->setTextoClave(2, "codigo", "5");
        w->Grilla2_AfterEdit(2, 0);
        QCOMPARE(g2->TextoClave(2, "codigo"), QString());
        QVERIFY(fila(w->Grilla(), "8") > 0);
        QCOMPARE(totales(w), kMayo);
        delete w;
    }

    void totalesRedondeadosComoDiceCadaPaso() {
        prueba::BaseDePrueba base;
        datos(base);
        QPointer<frmDecJurada> w = abrir();
        periodo(w, "05/2024");
        Grid* g = w->Grilla();
        // code, salary, 2 %, 2,5, 1 %, fee, member, loan (remunerative parts 0)
        const QList<QStringList> filas = {{"1", "1000,01", "1", "1", "1", "1", "1", "100,25"},
                                          {"2", "500,5", "0", "0", "0", "0", "1", ""}};
        g->setRows(1);
        for (const QStringList& f : filas) {
            g->AddItem(QString());
            const int r = g->Rows() - 1;
            const char* claves[] = {"codigo",     "Sueldo",   "Aporte2",  "AporteFarmacia",
                                    "AporteAmec", "CuotaSoc", "afiliado", "prestamo"};
            for (int c = 0; c < 8; ++c) g->setTextoClave(r, claves[c], f[c]);
            g->setTextoClave(r, "remunera", "0");
            g->setTextoClave(r, "noremunera", "0");
        }
        g->AddItem(QString());
        w->texto(16)->setText("7.5");
        w->texto(17)->setText("30,0001");
        w->Calcular();
        // 2 % 20,0002, 2,5 25,00025, 1 % 10,0001: their sum 55,00055 rounds once, half to
        // even, to 55,0006 (each on its own would give 55,0005).
        // 3 %: 30,0003 capped at 30,0001, plus 15,015 under the cap: 45,0151.
        // Total 55,0006 + 7,5 + 45,0151 + 100,25 = 207,7657.
        QCOMPARE(totales(w), QStringList({"2", "1500,51", "20,0002", "25,00025", "10,0001", "7,5",
                                          "45,0151", "100,25", "207,7657"}));
        delete w;
    }

    void suprimirUnaBajaDevuelveAlEmpleadoYF4UsaLaConsulta() {
        prueba::BaseDePrueba base;
        datos(base);
        QPointer<frmDecJurada> w = abrirMayo();
        Grid* g2 = w->Grilla2();

        // F4 in the code column takes the code from the hidden lookup box.
        w->texto(13)->setText("8");
        g2->setRow(2);
        g2->setCol(0);
        int tecla = 115;
        w->Grilla2_KeyDown(tecla, 0);
        QCOMPARE(g2->TextoClave(2, "Nombre"), QString("LOPEZ MARIA"));
        QCOMPARE(totales(w), kMayoSinLopez);
        if (g2->Editando()) g2->setFocus();  // closes the editor F4 opened

        // Delete on the filled last row takes it away; LOPEZ is active again.
        g2->setRow(2);
        g2->setCol(0);
        tecla = 46;
        w->Grilla2_KeyDown(tecla, 0);
        QCOMPARE(tecla, 0);
        QCOMPARE(codigos(g2), QStringList({"5"}));
        QVERIFY(fila(w->Grilla(), "8") > 0);
        QCOMPARE(totales(w), kMayo);
        delete w;
    }

    void fechaDeEgresoImposibleSeRechaza_data() {
        QTest::addColumn<QString>("tecleado");
        QTest::addColumn<QString>("queda");
        QTest::newRow("31 de febrero") << "31022027"
                                       << "";
        QTest::newRow("mes 13") << "45132027"
                                << "";
        QTest::newRow("28 de febrero") << "28022027"
                                       << "28/02/2027";
    }

    void fechaDeEgresoImposibleSeRechaza() {
        QFETCH(QString, tecleado);
        QFETCH(QString, queda);
        prueba::BaseDePrueba base;
        datos(base);
        QPointer<frmDecJurada> w = abrirMayo();
        Grid* g2 = w->Grilla2();
        g2->setTextoClave(2, "codigo", "8");
        w->Grilla2_AfterEdit(2, 0);
        g2->setFocus();
        g2->setCol(0);
        g2->setCol(g2->ColIndex("FechaEgreso"));
        QApplication::processEvents();
        QVERIFY(g2->Editando());
        msgbox_prueba::limpiar();
        QTest::keyClicks(QApplication::focusWidget(), tecleado);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QApplication::processEvents();
        QCOMPARE(g2->TextoClave(2, "FechaEgreso"), queda);
        QCOMPARE(msgbox_prueba::mostrados().size(), queda.isEmpty() ? 1 : 0);
        if (queda.isEmpty()) {
            QCOMPARE(msgbox_prueba::mostrados()[0].texto,
                     QString("La fecha de egreso ingresada no es válida"));
            QCOMPARE(QPair(g2->Row(), g2->Col()), QPair(2, g2->ColIndex("FechaEgreso")));
        }
        delete w;
    }

    void grabarPideLosTresDatos() {
        prueba::BaseDePrueba base;
        datos(base);
        QPointer<frmDecJurada> w = abrir();
        periodo(w, "05/2024");
        const QList<QPair<int, QString>> faltan = {
            {14, "Debe ingresar la fecha de vencimiento"},
            {15, "Debe ingresar el número de inscripción"},
            {16, "Debe ingresar el importe de la cuota societaria"}};
        w->texto(14)->setText("10/06/2024");
        w->texto(15)->setText("4455");
        w->texto(16)->setText("10");
        for (const auto& [caja, texto] : faltan) {
            const QString antes = w->texto(caja)->text();
            w->texto(caja)->setText("");
            msgbox_prueba::limpiar();
            w->btnGrabar_Click();
            QCOMPARE(msgbox_prueba::mostrados().size(), 1);
            QCOMPARE(msgbox_prueba::mostrados()[0].texto, texto);
            QCOMPARE(msgbox_prueba::mostrados()[0].estilo, 64);
            QCOMPARE(msgbox_prueba::mostrados()[0].titulo, QString());
            QVERIFY(w->texto(caja)->hasFocus());
            w->texto(caja)->setText(antes);
        }
        QCOMPARE(base.valor("SELECT count(*) FROM DDJJ").toInt(), 3);
        delete w;
    }

    // A box that is filled but cannot be stored is refused saying what is wrong with it.
    void grabarDiceQueEstaMal_data() {
        QTest::addColumn<int>("caja");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("mensaje");
        const QString inscripcion =
            "El número de inscripción debe ser un número entero entre 1 y 2147483647";
        QTest::newRow("inscripción de 12 cifras") << 15 << "987654321012" << inscripcion;
        QTest::newRow("inscripción cero") << 15 << "0" << inscripcion;
        QTest::newRow("inscripción con guion") << 15 << "12-34" << inscripcion;
        QTest::newRow("vencimiento imposible") << 14 << "31/02/2025"
                                               << "La fecha de vencimiento ingresada no es válida";
    }

    void grabarDiceQueEstaMal() {
        QFETCH(int, caja);
        QFETCH(QString, texto);
        QFETCH(QString, mensaje);
        prueba::BaseDePrueba base;
        datos(base);
        QPointer<frmDecJurada> w = abrirParaGrabar("05/2024");
        w->texto(caja)->setText(texto);
        msgbox_prueba::limpiar();
        w->btnGrabar_Click();
        QCOMPARE(msgbox_prueba::mostrados().size(), 1);
        QCOMPARE(msgbox_prueba::mostrados()[0].texto, mensaje);
        QCOMPARE(msgbox_prueba::mostrados()[0].estilo, 48);
        QVERIFY(w->texto(caja)->hasFocus());
        QCOMPARE(base.valor("SELECT count(*) FROM DDJJ").toInt(), 3);
        delete w;
    }

    // Another copy holds the file while the period changes from June to May: what the window
    // still shows is June's, and it is never saved as May's declaration.
    void periodoQueNoCargoNoSeGraba() {
        prueba::BaseDePrueba base;
        datos(base);
        QPointer<frmDecJurada> w = abrirParaGrabar("06/2024");
        const QStringList junio = totales(w);
        sqlite3* otra = nullptr;
        sqlite3_open(base.ruta().toUtf8().constData(), &otra);
        QCOMPARE(sqlite3_exec(otra, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
        msgbox_prueba::limpiar();
        periodo(w, "05/2024");
        sqlite3_exec(otra, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(otra);
        QCOMPARE(msgbox_prueba::mostrados().size(), 1);
        QVERIFY2(msgbox_prueba::mostrados()[0].texto.startsWith(
                     "Error Nro.: 5 La base de datos está en uso."),
                 qPrintable(msgbox_prueba::mostrados()[0].texto));
        QCOMPARE(totales(w), junio);

        msgbox_prueba::limpiar();
        w->btnGrabar_Click();
        QCOMPARE(msgbox_prueba::mostrados().size(), 1);
        QVERIFY2(msgbox_prueba::mostrados()[0].texto.contains("No se pudieron leer"),
                 qPrintable(msgbox_prueba::mostrados()[0].texto));
        QCOMPARE(base.valor("SELECT count(*) FROM DDJJ").toInt(), 3);

        // Loaded again, with its own due date, May saves with May's instalments.
        periodo(w, "05/2024");
        w->texto(14)->setText("10/06/2024");
        w->btnGrabar_Click();
        QCOMPARE(base.valor("SELECT DDJJ_Prestamo FROM DDJJ WHERE DDJJ_Periodo='2024-05-01' AND "
                            "ddjj_idempresa=1")
                     .toDouble(),
                 150.35);
        delete w;
    }

    // March (saved) on screen, May does not load: deleting, printing and mailing would act on
    // March under May's period.
    void periodoQueNoCargoNoSeUsa() {
        prueba::BaseDePrueba base;
        datos(base);
        QPointer<frmDecJurada> w = abrir();
        periodo(w, "03/2024");
        sqlite3* otra = nullptr;
        sqlite3_open(base.ruta().toUtf8().constData(), &otra);
        QCOMPARE(sqlite3_exec(otra, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
        periodo(w, "05/2024");
        sqlite3_exec(otra, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(otra);
        const QDir carpeta(CarpetaPrograma);
        const QStringList antes = carpeta.entryList({"DJ_*"});
        for (auto accion : {&frmDecJurada::btnEliminar_Click, &frmDecJurada::btnImprimir_Click,
                            &frmDecJurada::btnEMail_Click}) {
            msgbox_prueba::limpiar();
            msgbox_prueba::responder(vbYes);
            (w->*accion)();
            const auto mensajes = msgbox_prueba::mostrados();
            QVERIFY(!mensajes.isEmpty());
            QVERIFY2(mensajes.last().texto.startsWith("El período ingresado no se pudo leer"),
                     qPrintable(mensajes.last().texto));
        }
        QCOMPARE(base.valor("SELECT count(*) FROM DDJJ").toInt(), 3);
        QCOMPARE(carpeta.entryList({"DJ_*"}), antes);
        delete w;
    }

    // March on screen, a period that is no month typed over it: nothing acts on March.
    void periodoInvalidoNoSeUsa_data() {
        QTest::addColumn<QString>("boton");
        QTest::newRow("eliminar") << "btnEliminar";
        QTest::newRow("imprimir") << "btnImprimir";
    }

    void periodoInvalidoNoSeUsa() {
        QFETCH(QString, boton);
        prueba::BaseDePrueba base;
        datos(base);
        prueba::CopiarInformes(base.carpeta());
        QPointer<frmDecJurada> w = abrir();
        ReportControl::de(w)->setPdfOutput(base.carpeta() + "/impreso.pdf");
        periodo(w, "03/2024");
        periodo(w, "13/2024");
        msgbox_prueba::limpiar();
        msgbox_prueba::responder(vbYes);
        w->findChild<QPushButton*>(boton)->click();
        QApplication::processEvents();
        const auto m = msgbox_prueba::mostrados();
        QCOMPARE(m.size(), 1);
        QCOMPARE(m[0].texto, QString("El período ingresado no es válido!"));
        QCOMPARE(m[0].estilo, 48);
        QCOMPARE(base.valor("SELECT count(*) FROM DDJJ").toInt(), 3);
        QVERIFY(ReportControl::de(w)->runs().isEmpty());
        delete w;
    }

    void grabarConBajasYVolverAlMesActual() {
        prueba::BaseDePrueba base;
        datos(base);
        QPointer<frmDecJurada> w = abrirMayo();
        Grid* g2 = w->Grilla2();
        // LOPEZ leaves on 30/05/2024; RUIZ's code is typed but no leaving date follows.
        g2->setTextoClave(2, "codigo", "8");
        w->Grilla2_AfterEdit(2, 0);
        g2->setTextoClave(2, "FechaEgreso", "30/05/2024");
        w->Grilla2_AfterEdit(2, g2->ColIndex("FechaEgreso"));
        g2->setTextoClave(3, "codigo", "4");
        w->Grilla2_AfterEdit(3, 0);
        QCOMPARE(fila(w->Grilla(), "4"), -1);
        w->texto(14)->setText("10/06/2024");

        // RUIZ is listed: the save waits for a leaving date instead of leaving RUIZ out.
        msgbox_prueba::limpiar();
        w->btnGrabar_Click();
        QCOMPARE(msgbox_prueba::mostrados().size(), 1);
        QCOMPARE(msgbox_prueba::mostrados()[0].texto,
                 QString("Debe ingresar la fecha de egreso del empleado 4 (RUIZ EVA)"));
        QCOMPARE(QPair(g2->Row(), g2->Col()), QPair(3, g2->ColIndex("FechaEgreso")));
        QCOMPARE(base.valor("SELECT count(*) FROM DDJJ").toInt(), 3);
        g2->setTextoClave(3, "codigo", "");
        w->Grilla2_AfterEdit(3, 0);

        msgbox_prueba::limpiar();
        w->btnGrabar_Click();
        const auto mensajes = msgbox_prueba::mostrados();
        QVERIFY(mensajes.size() >= 2);
        QCOMPARE(mensajes[0].texto,
                 QString("La Declaración Jurada se grabo correctamente!. Desea imprimirla? "));
        QCOMPARE(mensajes[0].estilo, 52);
        QCOMPARE(mensajes[1].texto, QString("Desea enviar el e-mail?"));
        QCOMPARE(mensajes[1].estilo, 68);

        // The next number over all companies, beyond 16 bits.
        QCOMPARE(base.valor("SELECT max(DDJJ_Id) FROM DDJJ").toInt(), 70001);
        QCOMPARE(base.valor("SELECT DDJJ_Total FROM DDJJ WHERE DDJJ_Id=70001").toDouble(),
                 437.8059);
        QCOMPARE(base.valor("SELECT DDJJ_CantEmp FROM DDJJ WHERE DDJJ_Id=70001").toInt(), 4);
        // RUIZ stayed an active employee of the declaration; LOPEZ and SOSA left.
        QCOMPARE(base.valor("SELECT count(*) FROM EmpleadoXDDJJ WHERE ExD_IdDDJJ=70001 AND "
                            "ExD_IdEmpleado IN (1,2,3,4)")
                     .toInt(),
                 4);
        QCOMPARE(base.valor("SELECT count(*) FROM EmpleadoXDDJJ WHERE ExD_IdDDJJ=70001").toInt(),
                 4);
        QCOMPARE(base.valor("SELECT group_concat(Baj_Empleado || ':' || Baj_IdCatego) FROM "
                            "(SELECT * FROM Bajas WHERE Baj_DDJJ=70001 ORDER BY Baj_Empleado)")
                     .toString(),
                 QString("5:2,8:2"));
        QCOMPARE(base.valor("SELECT Ado_FechaEgreso FROM Empleado WHERE ado_id=8 AND "
                            "ado_idempresa=1")
                     .toString(),
                 QString("2024-05-30"));
        // Back to the current month, a new declaration.
        QCOMPARE(w->mskPeriodo()->displayText(), QDate::currentDate().toString("MM/yyyy"));
        QCOMPARE(w->IdDDJJ(), 0);
        QVERIFY(w->btnGrabar()->isEnabled());

        // May is saved now: shown read-only, and deleted only on Yes.
        periodo(w, "05/2024");
        QCOMPARE(w->IdDDJJ(), 70001);
        QCOMPARE(w->texto(12)->text(), QString("437,8059"));
        msgbox_prueba::limpiar();
        w->btnEliminar_Click();
        QCOMPARE(msgbox_prueba::mostrados()[0].texto,
                 QString("Confirma eliminación del registro? "));
        QCOMPARE(msgbox_prueba::mostrados()[0].titulo, QString("Eliminación"));
        QCOMPARE(w->IdDDJJ(), 70001);
        msgbox_prueba::responder(vbYes);
        w->btnEliminar_Click();
        QCOMPARE(base.valor("SELECT count(*) FROM DDJJ WHERE DDJJ_Id=70001").toInt(), 0);
        QCOMPARE(base.valor("SELECT count(*) FROM Bajas WHERE Baj_DDJJ=70001").toInt(), 0);
        QCOMPARE(base.valor("SELECT count(*) FROM EmpleadoXDDJJ WHERE ExD_IdDDJJ=70001").toInt(),
                 0);
        QCOMPARE(w->IdDDJJ(), 0);
        QVERIFY(w->btnGrabar()->isEnabled());
        QVERIFY(!w->btnEliminar()->isEnabled());
        delete w;
    }

    void imprimirOEnviarSinGrabarAvisa() {
        prueba::BaseDePrueba base;
        datos(base);
        QPointer<frmDecJurada> w = abrir();
        msgbox_prueba::limpiar();
        w->btnImprimir_Click();
        QCOMPARE(msgbox_prueba::mostrados().size(), 1);
        w->btnEMail_Click();
        QCOMPARE(msgbox_prueba::mostrados().size(), 2);
        QVERIFY(w->isVisible());
        delete w;
    }

    void f2AbreUnPeriodoGrabado() {
        prueba::BaseDePrueba base;
        datos(base);
        QPointer<frmDecJurada> w = abrir();
        w->mskPeriodo()->setFocus();
        bool visto = false;
        QTimer::singleShot(0, [&visto] {
            auto* d = qobject_cast<NueCons*>(QApplication::activeModalWidget());
            if (!d) return;
            visto = true;
            // Only company 1's declarations, in period order: 01/2024, 03/2024.
            QCOMPARE(d->grilla()->Rows(), 3);
            d->grilla()->setRow(2);
            d->Aceptar();
        });
        QTest::keyClick(w->mskPeriodo(), Qt::Key_F2);
        QVERIFY(visto);
        QCOMPARE(w->mskPeriodo()->displayText(), QString("03/2024"));
        QCOMPARE(w->IdDDJJ(), 0);  // loaded when the box is left
        QApplication::setActiveWindow(w);
        QVERIFY(QTest::qWaitForWindowActive(w));
        QVERIFY(w->mskPeriodo()->hasFocus());
        w->texto(15)->setFocus();
        QApplication::processEvents();
        QCOMPARE(w->IdDDJJ(), 70000);
        QCOMPARE(w->texto(12)->text(), QString("300,75"));
        QVERIFY(!w->btnGrabar()->isEnabled());
        delete w;
    }

    void cancelarVuelveAlMesActualYVaciaLaCuota() {
        prueba::BaseDePrueba base;
        datos(base);
        QPointer<frmDecJurada> w = abrir();
        periodo(w, "03/2024");
        w->btnCancelar_Click();
        QCOMPARE(w->mskPeriodo()->displayText(), QDate::currentDate().toString("MM/yyyy"));
        QCOMPARE(w->texto(16)->text(), QString());
        QCOMPARE(w->texto(17)->text(), QString());
        QCOMPARE(w->texto(0)->text(), QString("ACME SA"));
        QVERIFY(w->btnGrabar()->isEnabled());
        QCOMPARE(w->texto(11)->text(), QString("0"));
        delete w;
    }

    void importesAbsurdosNoSeGraban_data() {
        QTest::addColumn<QString>("cuota");
        QTest::addColumn<QString>("sueldo");
        QTest::addColumn<QString>("aviso");
        const QString excedido = QStringLiteral("admite hasta 4 decimales");
        QTest::newRow("cuota de veinte cifras") << "99999999999999999999"
                                                << "" << excedido;
        QTest::newRow("cuotas que suman más de lo representable") << "500000000000000"
                                                                  << "" << excedido;
        QTest::newRow("sueldo enorme") << "10"
                                       << "5e16"
                                       << "demasiado grandes";
    }

    void importesAbsurdosNoSeGraban() {
        QFETCH(QString, cuota);
        QFETCH(QString, sueldo);
        QFETCH(QString, aviso);
        prueba::BaseDePrueba base;
        datos(base);
        if (!sueldo.isEmpty())
            base.ejecutar("UPDATE Empleado SET Ado_Sueldo=" + sueldo + " WHERE ado_id=1");
        QPointer<frmDecJurada> w = abrir();
        periodo(w, "05/2024");
        w->texto(14)->setText("10/06/2024");
        w->texto(15)->setText("4455");
        const auto cuotaYSalir = [w](const QString& texto) {
            msgbox_prueba::limpiar();
            w->texto(16)->setFocus();
            w->texto(16)->setText(texto);
            w->texto(15)->setFocus();
            QApplication::processEvents();
        };
        cuotaYSalir(cuota);
        QCOMPARE(msgbox_prueba::mostrados().size(), 1);
        QVERIFY(msgbox_prueba::mostrados()[0].texto.contains(aviso));
        QCOMPARE(w->texto(12)->text(), QString());  // nothing wrapped or cut is shown

        msgbox_prueba::limpiar();
        w->btnGrabar_Click();
        QVERIFY(msgbox_prueba::mostrados().value(0).texto.endsWith("no se grabó."));
        QCOMPARE(base.valor("SELECT count(*) FROM DDJJ").toInt(), 3);

        // A sound fee again: the declaration saves.
        cuotaYSalir("10");
        w->btnGrabar_Click();
        QCOMPARE(base.valor("SELECT count(*) FROM DDJJ").toInt(), sueldo.isEmpty() ? 4 : 3);
        delete w;
    }

    void unaCargaIncompletaNoSeGraba() {
        prueba::BaseDePrueba base;
        datos(base);
        // Enough employees and instalments for the file's last pages to hold loans.
        base.ejecutar(
            "WITH RECURSIVE n(i) AS (SELECT 100 UNION ALL SELECT i+1 FROM n WHERE i<2600) "
            "INSERT INTO Empleado (Ado_Id, Ado_Nombre, Ado_Sueldo, Ado_Categoria, ado_IdEmpresa) "
            "SELECT i, 'NÚÑEZ D''ALESSANDRO ' || i, 1000, '1', 1 FROM n");
        base.ejecutar(
            "WITH RECURSIVE n(i) AS (SELECT 100 UNION ALL SELECT i+1 FROM n WHERE i<2600) "
            "INSERT INTO PrestamoCuota SELECT i, 1, i, 25.5, '2024-05-10', 1 FROM n");
        // The last page garbled on disk, the file's size intact: only reading that page fails.
        Database::closeShared();
        QFile archivo(base.ruta());
        QVERIFY(archivo.open(QIODevice::ReadWrite));
        QVERIFY(archivo.seek(archivo.size() - 4096));
        archivo.write(QByteArray(100, '\xFF'));
        archivo.close();

        QPointer<frmDecJurada> w = abrir();
        msgbox_prueba::limpiar();
        periodo(w, "05/2024");
        const auto m = msgbox_prueba::mostrados();
        QVERIFY(!m.isEmpty());
        QVERIFY2(m[0].texto.startsWith("Error Nro.:"), qPrintable(m[0].texto));
        w->texto(14)->setText("10/06/2024");
        w->texto(15)->setText("4455");
        w->texto(16)->setText("10");
        msgbox_prueba::limpiar();
        w->btnGrabar_Click();
        QCOMPARE(msgbox_prueba::mostrados().size(), 1);
        QVERIFY2(msgbox_prueba::mostrados()[0].texto.contains("No se pudieron leer"),
                 qPrintable(msgbox_prueba::mostrados()[0].texto));
        delete w;
        Database::closeShared();
        QCOMPARE(base.valor("SELECT count(*) FROM DDJJ").toInt(), 3);
    }

    void unErrorDeLaBaseSeInformaYLaVentanaSigue() {
        prueba::BaseDePrueba base;
        datos(base);
        QPointer<frmDecJurada> w = abrir();
        periodo(w, "05/2024");
        const QStringList antes = totales(w);
        base.ejecutar("ALTER TABLE DDJJ RENAME TO DDJJ_fuera");
        msgbox_prueba::limpiar();
        periodo(w, "03/2024");
        QCOMPARE(msgbox_prueba::mostrados().size(), 1);
        QVERIFY(msgbox_prueba::mostrados().first().texto.startsWith("Error Nro.: "));
        QCOMPARE(totales(w), antes);
        QCOMPARE(w->IdDDJJ(), 0);

        // Loans unreadable: said once; every employee still listed, without loans.
        base.ejecutar("ALTER TABLE DDJJ_fuera RENAME TO DDJJ");
        base.ejecutar("ALTER TABLE PrestamoCuota RENAME TO PC_fuera");
        msgbox_prueba::limpiar();
        periodo(w, "06/2024");
        QCOMPARE(msgbox_prueba::mostrados().size(), 1);
        QVERIFY(msgbox_prueba::mostrados().first().texto.startsWith("Error Nro.:"));
        QStringList activos = codigos(w->Grilla());
        activos.sort();
        QCOMPARE(activos, QStringList({"", "1", "2", "3", "4", "8"}));
        QCOMPARE(w->texto(19)->text(), QString("0"));
        QVERIFY(w->isVisible());
        delete w;
    }
};

QTEST_MAIN(TstDecJurada)
#include "tst_decjurada.moc"
