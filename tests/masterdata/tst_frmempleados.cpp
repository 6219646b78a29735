#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "common/Globales.h"
#include "declaration/frmDecJurada.h"
#include "masterdata/frmEmpleados.h"
#include "platform/Grid.h"
#include "platform/MsgBox.h"
#include "support/BaseDePrueba.h"

using namespace zul;
using F = frmEmpleados;

// Company 1: PEREZ (1) hired 2015, job 10 with no scale row for his years; GOMEZ (2) hired
// this year, left 15/04/2024 (DESPIDO), listed in a saved declaration. Company 2 uses 50.
static void Datos(const prueba::BaseDePrueba& b) {
    const QString anio = QString::number(QDate::currentDate().year());
    b.ejecutar("INSERT INTO Empresa (Emp_Id, Emp_Nombre) VALUES (1, 'ACME SA'), (2, 'OTRA')");
    b.ejecutar("INSERT INTO Categoria VALUES ('A', 'Administrativo')");
    b.ejecutar(
        "INSERT INTO Empleo VALUES (10, 'A', 0, 'Cadete', 800), (10, 'A', 1, 'Cadete', 880)");
    b.ejecutar(
        "INSERT INTO Empleado VALUES (1, 'PEREZ JUAN', #02/01/1980#, '20-12345678-6', "
        "#03/15/2015#, 1000.5, 'A', 1, 0, 1, 0, NULL, 10, 1, 1, 'ok', 0, 8, 600, 400.5), "
        "(2, 'GOMEZ ANA', #02/01/1990#, '20123456786', #01/02/" +
        anio +
        "#, 900, 'A', 0, 1, 0, 1, #04/15/2024#, 10, 0, 1, NULL, 1, 4, NULL, NULL), "
        "(50, 'AJENO', NULL, NULL, NULL, 1, 'A', 0, 0, 0, 0, NULL, 0, 0, 2, NULL, 0, 0, "
        "0, 0)");
    b.ejecutar(
        "INSERT INTO EmpleadoXDDJJ (ExD_IdDDJJ, ExD_IdEmpleado, ExD_idempresa) "
        "VALUES (7, 2, 1)");
}

class TstFrmEmpleados : public QObject {
    Q_OBJECT

    static QPointer<F> abrir() {
        IdEmpresa = 1;
        auto* w = new F;
        w->show();
        QApplication::setActiveWindow(w);
        if (!QTest::qWaitForWindowActive(w)) qWarning("window not active");
        return w;
    }
    // Into the box, over what it holds, key by key; Enter leaves it (its check runs).
    static void dar(F* w, int caja, const QString& texto) {
        QLineEdit* c = w->texto(caja);
        c->setFocus();
        c->selectAll();
        QTest::keyClick(c, Qt::Key_Backspace);
        for (QChar ch : texto) QTest::sendKeyEvent(QTest::Click, c, Qt::Key_unknown, ch, {});
        QTest::keyClick(c, Qt::Key_Return);
        QApplication::processEvents();
    }
    static void clic(QAbstractButton* b) {
        QTest::mouseClick(b, Qt::LeftButton);
        QApplication::processEvents();
    }
    static QStringList mensajes() {
        QStringList t;
        for (const auto& m : msgbox_prueba::mostrados()) t << m.texto;
        msgbox_prueba::limpiar();
        return t;
    }
    static QString anio(int mas = 0) { return QString::number(QDate::currentDate().year() + mas); }
    static const QString kNombre;
    // A new employee, number 3, with every box a save needs.
    static void completar(F* w, const QString& egreso = QString()) {
        const int cajas[] = {F::kCodigo,     F::kNombre,    F::kFechaNac, F::kCuil,
                             F::kFechaIng,   F::kSueldo,    F::kHoras,    F::kRemunera,
                             F::kNoRemunera, F::kCategoria, F::kEmpleo,   F::kFechaEgreso};
        const QString ingreso = "01/03/" + anio();
        const QStringList textos = {"",           kNombre,
                                    "07/09/1985", "27-12345678-0",
                                    ingreso,      "1.234.567,89",
                                    "8",          "1.000.000,25",
                                    "234.567,64", "A",
                                    "10",         egreso};
        for (int i = 0; i < textos.size(); ++i) dar(w, cajas[i], textos[i]);
    }
    static QVariant campo(const prueba::BaseDePrueba& b, const QString& columna) {
        return b.valor("SELECT " + columna + " FROM Empleado WHERE ado_IdEmpresa=1 AND Ado_Id=3");
    }

  private slots:
    void init() { msgbox_prueba::limpiar(); }

    // Not on file, or no number: the next one above every number the company uses anywhere.
    void numeroNuevo_data() {
        QTest::addColumn<QString>("fila");
        QTest::addColumn<QString>("tipeado");
        QTest::addColumn<QString>("numero");
        const auto fila = [](const char* n, const char* sql, const char* tipeado, const char* nro) {
            QTest::newRow(n) << QString(sql) << QString(tipeado) << QString(nro);
        };
        fila("vacio", "", "", "3");
        fila("letras", "", "abc", "3");
        fila("de otra empresa", "", "50", "3");
        fila("prestamo de un borrado",
             "INSERT INTO Prestamo (pre_Id, pre_idEmpleado, pre_IdEmpresa) VALUES (1, 9, 1)", "999",
             "10");
        fila("baja de un borrado",
             "INSERT INTO Bajas (Baj_DDJJ, Baj_Empleado, baj_idempresa) VALUES (7, 12, 1)", "",
             "13");
    }
    void numeroNuevo() {
        QFETCH(QString, fila);
        QFETCH(QString, tipeado);
        QFETCH(QString, numero);
        prueba::BaseDePrueba base;
        Datos(base);
        if (!fila.isEmpty()) base.ejecutar(fila);
        QPointer<F> w = abrir();
        dar(w, F::kCodigo, tipeado);
        QCOMPARE(w->texto(F::kCodigo)->text(), numero);
        QVERIFY(!w->texto(F::kCodigo)->isEnabled());
        QCOMPARE(int(w->Modo), 2);
        QCOMPARE(QApplication::focusWidget(), w->texto(F::kNombre));
        delete w;
    }

    void cargaYLimpia() {
        prueba::BaseDePrueba base;
        Datos(base);
        QPointer<F> w = abrir();
        dar(w, F::kCodigo, "1");
        QCOMPARE(w->texto(F::kSueldo)->text(), QString("1000,5"));
        QCOMPARE(w->texto(F::kNombreCategoria)->text(), QString("Administrativo"));
        QCOMPARE(w->texto(F::kAntiguedad)->text(), QString::number(anio().toInt() - 2015));
        // No scale row for his years: the stored job stays.
        QCOMPARE(w->texto(F::kEmpleo)->text(), QString("10"));
        QVERIFY(w->Label3()->isHidden() && !w->CmbEgreso()->isEnabled());
        clic(w->btnCancelar());
        dar(w, F::kCodigo, "2");
        QVERIFY(!w->Label3()->isHidden() && w->CmbEgreso()->isEnabled());
        QCOMPARE(w->CmbEgreso()->currentText(), QString("DESPIDO"));
        QCOMPARE(w->texto(F::kNombreEmpleo)->text(), QString("Cadete"));
        QCOMPARE(w->LblSueldo()->text(), QString("Sueldo sugerido: 800"));
        // Cleared: the suggested salary stays until the next job.
        clic(w->btnCancelar());
        QVERIFY(w->texto(F::kNombre)->text().isEmpty() && w->Label3()->isHidden());
        QVERIFY(!w->chkAporte(F::kAporteCS)->isChecked());
        QCOMPARE(w->LblSueldo()->text(), QString("Sueldo sugerido: 800"));
        QCOMPARE(QApplication::focusWidget(), w->texto(F::kCodigo));
        delete w;
    }

    // Scale 800 for 8 hours; the salary parts may add up to the salary, not more.
    void chequeosDelSueldo_data() {
        QTest::addColumn<QString>("ingreso");
        QTest::addColumn<QString>("sueldo");
        QTest::addColumn<QString>("queda");
        QTest::addColumn<QString>("partes");
        QTest::addColumn<QString>("mensaje");
        const QString aviso = "El Sueldos es menor al sugerido!!";
        const QString mayor =
            "La suma de sueldo remunerativo más el no remunerativo no puede "
            "ser mayor al Sueldo";
        const QString hoy = "01/01/" + anio(), antes = "31/12/" + anio(-1);
        const auto fila = [](const char* n, const QString& ingreso, const char* sueldo,
                             const char* queda, const char* partes, const QString& mensaje) {
            QTest::newRow(n) << ingreso << QString(sueldo) << QString(queda) << QString(partes)
                             << mensaje;
        };
        fila("peso menos", hoy, "399", "399", "", aviso);
        fila("justo", hoy, "400", "400", "", "");
        fila("anio pasado sugiere 440", antes, "439.99", "439,99", "", aviso);
        fila("partes iguales", hoy, "1.000,00", "1000,00", "600,5/399.5", "");
        fila("partes mayores", hoy, "999.99", "999,99", "600/400", mayor);
        fila("no es numero", hoy, "mil", "mil", "600/400", "");
        fila("punto decimal ante tres cifras", hoy, "1.234", "1,234", "", aviso);
    }
    void chequeosDelSueldo() {
        QFETCH(QString, ingreso);
        QFETCH(QString, sueldo);
        QFETCH(QString, queda);
        QFETCH(QString, partes);
        QFETCH(QString, mensaje);
        prueba::BaseDePrueba base;
        Datos(base);
        QPointer<F> w = abrir();
        dar(w, F::kCodigo, "");
        dar(w, F::kFechaIng, ingreso);
        dar(w, F::kHoras, "4");
        dar(w, F::kCategoria, "a");
        dar(w, F::kEmpleo, "10");
        dar(w, F::kSueldo, sueldo);
        QCOMPARE(w->texto(F::kSueldo)->text(), queda);
        if (!partes.isEmpty()) {
            dar(w, F::kRemunera, partes.section('/', 0, 0));
            dar(w, F::kNoRemunera, partes.section('/', 1));
        }
        QCOMPARE(mensajes(), mensaje.isEmpty() ? QStringList() : QStringList{mensaje});
        // Only the parts keep the focus; the suggestion is a warning.
        QCOMPARE(QApplication::focusWidget() == w->texto(F::kNoRemunera), mensaje.startsWith("La"));
        delete w;
    }

    // The CUIL stored is the one checked: without the blanks around it, its separators
    // wherever the check digit ignores them.
    void cuilGuardado_data() {
        QTest::addColumn<QString>("tipeado");
        QTest::addColumn<QString>("guardado");
        QTest::newRow("blancos alrededor") << " 27123456780 "
                                           << "27123456780";
        QTest::newRow("blancos y guiones") << "27-12345678-0  "
                                           << "27-12345678-0";
        QTest::newRow("separador corrido") << "271-2345678-0"
                                           << "271-2345678-0";
    }
    void cuilGuardado() {
        QFETCH(QString, tipeado);
        QFETCH(QString, guardado);
        prueba::BaseDePrueba base;
        Datos(base);
        QPointer<F> w = abrir();
        completar(w);
        dar(w, F::kCuil, tipeado);
        clic(w->btnGrabar());
        QCOMPARE(mensajes(), QStringList{"Los datos se grabaron correctamente"});
        QCOMPARE(campo(base, "Ado_Cuil").toString(), guardado);
        delete w;
    }

    // All twenty columns: amounts the Argentine way, flags 1/0; saved again, the row changes.
    void grabaYActualiza() {
        prueba::BaseDePrueba base;
        Datos(base);
        QPointer<F> w = abrir();
        completar(w);
        dar(w, F::kCuil, "20123456785");
        QCOMPARE(mensajes(), QStringList{"El CUIT no es válido"});
        dar(w, F::kCuil, "27123456780");
        w->chkAporte(F::kAporte2)->setChecked(true);
        w->afiliado()->setChecked(true);
        w->CmbEgreso()->setCurrentIndex(1);  // no leaving date: no reason
        clic(w->btnGrabar());
        QCOMPARE(mensajes(), QStringList{"Los datos se grabaron correctamente"});
        const QString columnas =
            "Ado_Id,Ado_Nombre,Ado_FechaNac,Ado_Cuil,Ado_FechaIng,Ado_Sueldo,Ado_Categoria,"
            "Ado_Aporte2,Ado_Aporte25,Ado_Aporte1,Ado_AporteCS,Ado_FechaEgreso,Ado_Empleo,"
            "Ado_Afiliado,ado_IdEmpresa,ado_observ,ado_motivoegreso,ado_horas,Ado_Remunera,"
            "Ado_noRemunera";
        QStringList fila;
        for (const QString& c : columnas.split(',')) fila << campo(base, c).toString();
        QCOMPARE(fila.join('|'), "3|" + kNombre + "|1985-09-07|27123456780|" + anio() +
                                     "-03-01|1234567.89|A|1|0|0|0||10|1|1||0|8|1000000.25|"
                                     "234567.64");
        dar(w, F::kCodigo, "3");
        dar(w, F::kSueldo, "1300000.5");
        w->chkAporte(F::kAporte2)->setChecked(false);
        clic(w->btnGrabar());
        QCOMPARE(base.valor("SELECT count(*) FROM Empleado WHERE Ado_Id=3").toInt(), 1);
        QCOMPARE(campo(base, "Ado_Sueldo").toDouble(), 1300000.5);
        QCOMPARE(campo(base, "Ado_Aporte2").toInt(), 0);
        delete w;
    }

    // Required boxes in order; a refused save writes nothing, keeps every box, says it once.
    void grabacionRechazada_data() {
        QTest::addColumn<int>("caja");
        QTest::addColumn<QString>("valor");
        QTest::addColumn<QString>("mensaje");
        QTest::newRow("sin nombre") << int(F::kNombre) << ""
                                    << "Debe ingresar el apellido y nombres";
        QTest::newRow("sin ingreso") << int(F::kFechaIng) << ""
                                     << "Debe ingresar la fecha de ingreso";
        QTest::newRow("sueldo no numero") << int(F::kSueldo) << "mucho"
                                          << "Debe ingresar el sueldo";
        // Amounts are stored as typed, or refused.
        QTest::newRow("sueldo con dos comas") << int(F::kSueldo) << "12,345,678"
                                              << "Debe ingresar el sueldo";
        QTest::newRow("sueldo con cinco decimales")
            << int(F::kSueldo) << "1234,56789"
            << "El importe admite hasta 4 decimales y no puede superar 99.999.999.999,9999";
        QTest::newRow("remunerativo con dos comas") << int(F::kRemunera) << "1,2,3"
                                                    << "Debe ingresar el importe remunerativo";
        // A date that does not exist, typed whole or in part, is refused naming its box.
        QTest::newRow("nacimiento imposible")
            << int(F::kFechaNac) << "31021980"
            << "La Fecha Nacimiento ingresada (31/02/1980) no es una fecha válida.";
        QTest::newRow("ingreso imposible")
            << int(F::kFechaIng) << "29022027"
            << "La Fecha Ingreso ingresada (29/02/2027) no es una fecha válida.";
        QTest::newRow("egreso imposible")
            << int(F::kFechaEgreso) << "31112026"
            << "La Fecha Egreso ingresada (31/11/2026) no es una fecha válida.";
        QTest::newRow("egreso a medias")
            << int(F::kFechaEgreso) << "1503202"
            << "La Fecha Egreso ingresada (15/03/202) no es una fecha válida.";
        QTest::newRow("remunerativo negativo")
            << int(F::kRemunera) << "-1"
            << "El importe remunerativo no puede ser negativo: ingrese 0 o un importe mayor";
        QTest::newRow("no remunerativo negativo")
            << int(F::kNoRemunera) << "-0.5"
            << "El importe no remunerativo no puede ser negativo: ingrese 0 o un importe mayor";
        QTest::newRow("base bloqueada") << int(F::kObservaciones) << "x"
                                        << "Error Nro.:";
    }
    void grabacionRechazada() {
        QFETCH(int, caja);
        QFETCH(QString, valor);
        QFETCH(QString, mensaje);
        prueba::BaseDePrueba base;
        Datos(base);
        base.ejecutar(
            "CREATE TRIGGER bloqueo BEFORE INSERT ON Empleado BEGIN "
            "SELECT RAISE(ABORT, 'archivo bloqueado'); END");
        QPointer<F> w = abrir();
        completar(w);
        dar(w, caja, valor);
        msgbox_prueba::limpiar();
        clic(w->btnGrabar());
        const auto mostrados = msgbox_prueba::mostrados();
        const QStringList m = mensajes();
        QCOMPARE(m.size(), 1);
        QVERIFY(m[0].startsWith(mensaje));
        // A refused amount is told with the one icon of every amount refusal.
        if (mensaje.contains("negativo") || mensaje.contains("admite"))
            QCOMPARE(mostrados[0].estilo, int(vbExclamation));
        QCOMPARE(w->texto(F::kCodigo)->text(), QString("3"));
        QCOMPARE(w->texto(F::kCuil)->text(), QString("27-12345678-0"));
        QVERIFY(!campo(base, "Ado_Id").isValid());
        delete w;
    }

    // A stored text longer than its box lets a user type is shown and saved back whole; the
    // box's limit still bounds what is typed.
    void textoGuardadoEntero_data() {
        QTest::addColumn<int>("caja");
        QTest::addColumn<QString>("columna");
        QTest::addColumn<int>("limite");
        QTest::newRow("observaciones de 276") << int(F::kObservaciones) << "ado_observ" << 100;
    }
    void textoGuardadoEntero() {
        QFETCH(int, caja);
        QFETCH(QString, columna);
        QFETCH(int, limite);
        prueba::BaseDePrueba base;
        Datos(base);
        const QString largo = QString("Núñez D'Alessandro, ").repeated(14).left(276);
        base.ejecutar("UPDATE Empleado SET " + columna + "='" + QString(largo).replace("'", "''") +
                      "' WHERE Ado_Id=1");
        QPointer<F> w = abrir();
        dar(w, F::kCodigo, "1");
        QCOMPARE(w->texto(caja)->text(), largo);
        clic(w->btnGrabar());
        QCOMPARE(mensajes(), QStringList{"Los datos se grabaron correctamente"});
        QCOMPARE(base.valor("SELECT " + columna + " FROM Empleado WHERE Ado_Id=1").toString(),
                 largo);
        dar(w, F::kCodigo, "");
        dar(w, caja, largo);
        QCOMPARE(w->texto(caja)->text(), largo.left(limite));
        delete w;
    }

    // A saved declaration keeps its employees; loans do not, and stay behind.
    void eliminar_data() {
        QTest::addColumn<QString>("codigo");
        QTest::addColumn<int>("respuesta");
        QTest::addColumn<int>("quedan");
        QTest::newRow("con prestamo") << "1" << int(vbYes) << 0;
        QTest::newRow("declarado") << "2" << int(vbYes) << 1;
    }
    void eliminar() {
        QFETCH(QString, codigo);
        QFETCH(int, respuesta);
        QFETCH(int, quedan);
        prueba::BaseDePrueba base;
        Datos(base);
        base.ejecutar(
            "INSERT INTO Prestamo (pre_Id, pre_idEmpleado, pre_IdEmpresa) VALUES (1, 1, 1)");
        QPointer<F> w = abrir();
        dar(w, F::kCodigo, codigo);
        msgbox_prueba::responder(respuesta);
        clic(w->btnEliminar());
        const QString sql = "SELECT count(*) FROM Empleado WHERE ado_IdEmpresa=1 AND Ado_Id=";
        QCOMPARE(base.valor(sql + codigo).toInt(), quedan);
        QCOMPARE(mensajes().contains("No se puede eliminar el empleado porque existen datos "
                                     "asociados"),
                 codigo == "2");
        QCOMPARE(base.valor("SELECT count(*) FROM Prestamo").toInt(), 1);
        delete w;
    }

    // "Alta de Empleado" on a new declaration: a leaver and an active one join the grids and
    // the totals; on a saved declaration nothing changes.
    void altaDesdeLaDeclaracion() {
        prueba::BaseDePrueba base;
        Datos(base);
        IdEmpresa = 1;
        QPointer<frmDecJurada> dj = new frmDecJurada;
        dj->show();
        const QString antes = dj->texto(5)->text();
        QTimer espera;
        QObject::connect(&espera, &QTimer::timeout, [&espera] {
            F* w = nullptr;
            for (QWidget* v : QApplication::topLevelWidgets())
                if (auto* f = qobject_cast<F*>(v); f && f->isVisible()) w = f;
            if (!w) return;
            espera.stop();
            QVERIFY(w->isModal());
            completar(w, "15/04/2024");
            clic(w->btnGrabar());
            completar(w);  // number 4, active
            clic(w->btnGrabar());
            // Leaving the empty number box for the button gives out a number first.
            clic(w->btnSalir());
            clic(w->btnSalir());
        });
        espera.start(10);
        clic(dj->findChild<QPushButton*>("btnEmpleados"));
        QCOMPARE(dj->texto(5)->text(), QString::number(antes.toInt() + 1));
        QCOMPARE(dj->Grilla2()->TextoClave(dj->Grilla2()->Rows() - 2, "codigo"), QString("3"));
        delete dj;
    }
};

const QString TstFrmEmpleados::kNombre = "Núñez D'Alessandro, María de los Ángeles";

QTEST_MAIN(TstFrmEmpleados)
#include "tst_frmempleados.moc"
