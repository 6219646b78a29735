#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "app/Menu.h"
#include "lookup/consulta.h"
#include "masterdata/frmDatosEmpresa.h"
#include "masterdata/frmEmpresas.h"
#include "platform/MsgBox.h"
#include "support/BaseDePrueba.h"
#include "support/Teclear.h"

using namespace zul;
using F = frmEmpresas;
using E = frmDatosEmpresa;

namespace {

const QString kGrabado = QStringLiteral("Los datos se grabaron correctamente");
const QString kNombreLargo = QStringLiteral("Compañía Núñez D'Alessandro & Hijos S.R.L.");
const QString kFecha = QStringLiteral("Debe ingresar la fecha de inicio de actividades");

QStringList Mostrados() {
    QStringList t;
    for (const auto& m : msgbox_prueba::mostrados()) t << m.texto;
    return t;
}

// Columns of one Empresa row joined by "|", Null as "~".
QString Fila(const prueba::BaseDePrueba& b, int id, const QStringList& columnas) {
    QStringList c;
    for (const QString& col : columnas) c << "ifnull(" + col + ",'~')";
    return b.valor(QString("SELECT %1 FROM Empresa WHERE emp_id=%2").arg(c.join("||'|'||")).arg(id))
        .toString();
}

int Filas(const prueba::BaseDePrueba& b) {
    return b.valor("SELECT count(*) FROM Empresa").toInt();
}

template <class T>
QPointer<T> Abrir() {
    auto* w = new T;
    w->show();
    QApplication::setActiveWindow(w);
    if (!QTest::qWaitForWindowActive(w)) qWarning("ventana inactiva");
    return w;
}

// Types into a box as the user does (entering selects its text) and leaves it with a key.
void Escribir(Mantenimiento* w, int caja, const QString& t, Qt::Key salida = Qt::Key_Tab) {
    QLineEdit* e = w->texto(caja);
    if (QApplication::focusWidget() != e) e->setFocus(Qt::TabFocusReason);
    prueba::Teclear(e, t);
    QTest::keyClick(e, salida);
    QApplication::processEvents();
}

void Clic(QPushButton* b) {
    QTest::mouseClick(b, Qt::LeftButton);
    QApplication::processEvents();
}

// A new company typed from the code box on; the typed code is not the one it gets.
void Llenar(F* w, const QString& fecha) {
    const QStringList t = {kNombreLargo, "Av. Hipólito Yrigoyen 12.345, 3º \"B\"",
                           "San Nicolás de los Arroyos", "30-71234567-1", "(0336) 442-1234"};
    Escribir(w, F::kCodigo, "55");
    for (int i = F::kNombre; i <= F::kTelefono; ++i) Escribir(w, i, t[i]);
    Escribir(w, F::kFechaInicio, fecha);
}

// Company 3 complete, 4 written elsewhere with Nulls, 5 with a sector not in the list.
void Empresas(const prueba::BaseDePrueba& b) {
    b.ejecutar(
        "INSERT INTO Empresa (Emp_Id, Emp_Nombre, Emp_Domicilio, Emp_Localidad, Emp_CUIT, "
        "Emp_Telefono, emp_fecini, emp_perjur, emp_rubro) VALUES (3, 'Ñandú D''Angelo SA', "
        "'Güemes 1234', 'Río Cuarto', '30-71234567-1', '4444', #03/15/2019#, 0, 5), "
        "(4, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL), "
        "(5, 'Cinco', 'x', 'y', '20123456786', '', #01/02/2003#, 1, 99)");
}

}  // namespace

class TstEmpresas : public QObject {
    Q_OBJECT
  private slots:
    void init() { msgbox_prueba::limpiar(); }
    // A failed test leaves its window open: it must not stand in for the next test's.
    void cleanup() {
        QList<QPointer<QWidget>> abiertas;
        for (QWidget* w : QApplication::topLevelWidgets()) abiertas << w;
        for (const QPointer<QWidget>& w : abiertas) delete w.data();
    }

    // The number comes after every number any table gives a company, whatever was typed.
    void altaNumeradaAlGrabar_data() {
        QTest::addColumn<QString>("previo");
        QTest::addColumn<int>("numero");
        QTest::newRow("sin empresas") << "" << 1;
        QTest::newRow("empresa") << "INSERT INTO Empresa (Emp_Id) VALUES (4)" << 5;
        QTest::newRow("empleados de una borrada")
            << "INSERT INTO Empleado (Ado_Id, ado_IdEmpresa) VALUES (1, 9)" << 10;
        QTest::newRow("préstamo") << "INSERT INTO Prestamo (pre_Id, pre_IdEmpresa) VALUES (1, 12)"
                                  << 13;
        QTest::newRow("cuota") << "INSERT INTO PrestamoCuota (pcu_idPrestamo, pcu_nrocuota, "
                                  "pcu_IdEmpresa) VALUES (1, 1, 14)"
                               << 15;
        QTest::newRow("declaración")
            << "INSERT INTO DDJJ (DDJJ_Id, ddjj_idempresa) VALUES (1, 20)" << 21;
        QTest::newRow("actual del estudio")
            << "UPDATE Empresa SET emp_empresanro=30 WHERE emp_id=0" << 31;
    }
    void altaNumeradaAlGrabar() {
        QFETCH(QString, previo);
        QFETCH(int, numero);
        prueba::BaseDePrueba b;
        if (!previo.isEmpty()) b.ejecutar(previo);
        const int antes = Filas(b);
        QPointer<F> w = Abrir<F>();
        Llenar(w, "15032019");
        w->OptPersona(F::kFisica)->setChecked(true);
        w->CmbRubro()->setCurrentIndex(w->CmbRubro()->findData(5));
        Clic(w->btnGrabar());
        QCOMPARE(Mostrados(), QStringList{kGrabado + "\nEmpresa: " + QString::number(numero)});
        QCOMPARE(msgbox_prueba::mostrados()[0].titulo, QString("Mensaje"));
        QCOMPARE(Filas(b), antes + 1);
        QCOMPARE(Fila(b, numero,
                      {"Emp_Nombre", "Emp_Domicilio", "Emp_Localidad", "Emp_CUIT", "Emp_Telefono",
                       "emp_fecini", "emp_perjur", "emp_rubro"}),
                 kNombreLargo +
                     "|Av. Hipólito Yrigoyen 12.345, 3º \"B\"|San Nicolás de los "
                     "Arroyos|30-71234567-1|(0336) 442-1234|2019-03-15|0|5");
        // Cleared for the next company.
        QVERIFY(w->texto(F::kCodigo)->isEnabled() && w->texto(F::kCodigo)->text().isEmpty());
        QVERIFY(w->OptPersona(F::kJuridica)->isChecked());
        QCOMPARE(w->CmbRubro()->currentIndex(), 0);
        delete w;
    }

    // A missing field stops the save with its message: nothing written, no number taken; once
    // given, the save inserts once.
    void requeridos_data() {
        QTest::addColumn<int>("caja");
        QTest::addColumn<QString>("valor");
        QTest::addColumn<QString>("mensaje");
        QTest::addColumn<QString>("correcto");
        QTest::newRow("razón social") << int(F::kNombre) << ""
                                      << "Debe ingresar la razón social"
                                      << "Acme";
        QTest::newRow("domicilio") << int(F::kDomicilio) << ""
                                   << "Debe ingresar el domicilio"
                                   << "Calle 1";
        QTest::newRow("cuit") << int(F::kCuit) << ""
                              << "Debe ingresar el número de C.U.I.T."
                              << "20123456786";
        QTest::newRow("cuit inválido") << int(F::kCuit) << "-------------"
                                       << "El CUIT no es válido"
                                       << "20-12345678-6";
        QTest::newRow("fecha en blanco") << int(F::kFechaInicio) << "" << kFecha << "28022020";
        QTest::newRow("fecha imposible")
            << int(F::kFechaInicio) << "31022020" << kFecha << "29022020";
    }
    void requeridos() {
        QFETCH(int, caja);
        QFETCH(QString, valor);
        QFETCH(QString, mensaje);
        QFETCH(QString, correcto);
        prueba::BaseDePrueba b;
        QPointer<F> w = Abrir<F>();
        Llenar(w, "01012020");
        w->texto(caja)->setFocus(Qt::TabFocusReason);
        prueba::Teclear(w->texto(caja), valor);
        if (valor.isEmpty()) QTest::keyClick(w->texto(caja), Qt::Key_Delete);
        Clic(w->btnGrabar());
        QCOMPARE(Mostrados(), QStringList{mensaje});
        QCOMPARE(QApplication::focusWidget(), w->texto(caja));
        QCOMPARE(Filas(b), 1);
        msgbox_prueba::limpiar();
        Escribir(w, caja, correcto);
        Clic(w->btnGrabar());
        QCOMPARE(Mostrados(), QStringList{kGrabado + "\nEmpresa: 1"});
        QCOMPARE(Filas(b), 2);
        delete w;
    }

    // The CUIT stored is the one checked, the same in the firm's window and the companies':
    // without the blanks around it, its separators wherever the check digit ignores them.
    void cuitGuardado_data() {
        QTest::addColumn<bool>("estudio");
        QTest::addColumn<QString>("tipeado");
        QTest::addColumn<QString>("guardado");
        for (const bool estudio : {false, true}) {
            const auto fila = [estudio](const char* n, const char* tipeado, const char* guardado) {
                QTest::addRow("%s %s", estudio ? "estudio" : "empresa", n)
                    << estudio << QString(tipeado) << QString(guardado);
            };
            fila("blancos alrededor", " 20123456786 ", "20123456786");
            fila("blancos y guiones", "  20-12345678-6", "20-12345678-6");
            fila("separador corrido", "201-2345678-6", "201-2345678-6");
            fila("separadores blancos", "2012345678 .6", "2012345678 .6");
        }
    }
    void cuitGuardado() {
        QFETCH(bool, estudio);
        QFETCH(QString, tipeado);
        QFETCH(QString, guardado);
        prueba::BaseDePrueba b;
        QPointer<Mantenimiento> w;
        if (estudio) {
            w = Abrir<E>();
        } else {
            w = Abrir<F>();
            Llenar(static_cast<F*>(w.data()), "01012020");
        }
        Escribir(w, F::kCuit, tipeado);
        Clic(w->btnGrabar());
        QCOMPARE(Mostrados().size(), 1);
        QCOMPARE(Fila(b, estudio ? 0 : 1, {"Emp_CUIT"}), guardado);
        delete w;
    }

    // F2 lists the companies, not the firm, and puts the number chosen in the code box; the
    // company shows once the box is left, and saving updates it.
    void consultaYModificacion() {
        prueba::BaseDePrueba b;
        Empresas(b);
        QPointer<F> w = Abrir<F>();
        QStringList vistos;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<consulta*>(QApplication::activeModalWidget());
            QVERIFY(d);
            vistos << d->windowTitle();
            for (int r = 0; r < d->filas(); ++r) vistos << d->celda(r, 1);
            d->grilla()->setCurrentIndex(d->grilla()->model()->index(0, 0));
            d->aceptar_Click();
        });
        w->texto(F::kCodigo)->setFocus();
        QTest::keyClick(w->texto(F::kCodigo), Qt::Key_F2);
        QCOMPARE(vistos, (QStringList{"Consulta de Emplesas", "Ñandú D'Angelo SA", "", "Cinco"}));
        QApplication::setActiveWindow(w);
        QVERIFY(QTest::qWaitForWindowActive(w));
        Escribir(w, F::kCodigo, "", Qt::Key_Return);
        QVERIFY(!w->texto(F::kCodigo)->isEnabled());
        QStringList cajas;
        for (int i = F::kNombre; i <= F::kFechaInicio; ++i) cajas << w->texto(i)->text();
        QCOMPARE(cajas, (QStringList{"Ñandú D'Angelo SA", "Güemes 1234", "Río Cuarto",
                                     "30-71234567-1", "4444", "15/03/2019"}));
        QVERIFY(w->OptPersona(F::kFisica)->isChecked());
        QCOMPARE(w->CmbRubro()->currentData().toInt(), 5);

        Escribir(w, F::kNombre, kNombreLargo);
        Escribir(w, F::kFechaInicio, "29022024");
        Clic(w->btnGrabar());
        QCOMPARE(Mostrados(), QStringList{kGrabado + "\nEmpresa: 3"});
        QCOMPARE(Filas(b), 4);
        QCOMPARE(Fila(b, 3, {"Emp_Nombre", "emp_fecini", "emp_perjur", "emp_rubro"}),
                 kNombreLargo + "|2024-02-29|0|5");
        delete w;
    }

    // Rows written elsewhere: Nulls show empty and as the options the window starts with.
    void nulosYRubroAjeno_data() {
        QTest::addColumn<int>("codigo");
        QTest::addColumn<QString>("nombre");
        QTest::newRow("nulos") << 4 << "";
        QTest::newRow("rubro fuera de la lista") << 5 << "Cinco";
    }
    void nulosYRubroAjeno() {
        QFETCH(int, codigo);
        QFETCH(QString, nombre);
        prueba::BaseDePrueba b;
        Empresas(b);
        QPointer<F> w = Abrir<F>();
        Escribir(w, F::kCodigo, QString::number(codigo), Qt::Key_Return);
        QCOMPARE(w->texto(F::kNombre)->text(), nombre);
        QVERIFY(w->OptPersona(F::kJuridica)->isChecked());
        QCOMPARE(w->CmbRubro()->currentIndex(), 0);
        delete w;
    }

    // Only saved declarations keep a company; with no company looked up nothing happens.
    void eliminar_data() {
        QTest::addColumn<QString>("codigo");
        QTest::addColumn<int>("respuesta");
        QTest::addColumn<QStringList>("mensajes");
        QTest::addColumn<int>("quedan");
        const QString confirma = "Confirma eliminación del registro? ";
        QTest::newRow("con empleados") << "3" << int(vbYes) << QStringList{confirma} << 3;
        QTest::newRow("con declaración")
            << "5" << int(vbYes)
            << QStringList{confirma,
                           "No se puede eliminar la empresa porque existen datos asociados"}
            << 4;
        QTest::newRow("responde no") << "3" << int(vbNo) << QStringList{confirma} << 4;
        // Code 0 finds no company: a new one, so the firm's own row is never at risk.
        QTest::newRow("código 0") << "0" << int(vbYes) << QStringList() << 4;
    }
    void eliminar() {
        QFETCH(QString, codigo);
        QFETCH(int, respuesta);
        QFETCH(QStringList, mensajes);
        QFETCH(int, quedan);
        prueba::BaseDePrueba b;
        Empresas(b);
        b.ejecutar("INSERT INTO Empleado (Ado_Id, Ado_Nombre, ado_IdEmpresa) VALUES (1, 'A', 3)");
        b.ejecutar("INSERT INTO DDJJ (DDJJ_Id, ddjj_idempresa) VALUES (1, 5)");
        QPointer<F> w = Abrir<F>();
        Escribir(w, F::kCodigo, codigo, Qt::Key_Return);
        msgbox_prueba::limpiar();
        msgbox_prueba::responder(respuesta);
        Clic(w->btnEliminar());
        QCOMPARE(Mostrados(), mensajes);
        QCOMPARE(Filas(b), quedan);
        QCOMPARE(b.valor("SELECT count(*) FROM Empleado").toInt(), 1);
        delete w;
    }

    // The firm's row: loaded at opening, the report names read-only, empty boxes stored as
    // empty texts, saved and closed; a database without the row gets it.
    void estudio_data() {
        QTest::addColumn<QString>("previo");
        QTest::addColumn<QString>("guardada");
        QTest::newRow("fila del estudio")
            << "UPDATE Empresa SET emp_emaild='dj@estudio.com.ar' WHERE emp_id=0"
            << "DDJJ.rpt|Cupon.rpt|dj@estudio.com.ar";
        // The shipped report stands in for a name the row lacks.
        QTest::newRow("sin fila") << "DELETE FROM Empresa WHERE emp_id=0"
                                  << "DDJJ.rpt||";
        QTest::newRow("nulos") << "UPDATE Empresa SET Emp_Telefono=NULL, emp_rptDJ1=NULL, "
                                  "emp_rptDJ2=NULL, emp_emaild=NULL WHERE emp_id=0"
                               << "DDJJ.rpt||";
    }
    void estudio() {
        QFETCH(QString, previo);
        QFETCH(QString, guardada);
        prueba::BaseDePrueba b;
        b.ejecutar(previo);
        QPointer<E> w = Abrir<E>();
        Escribir(w, E::kCuit, "20-123456786");
        QCOMPARE(Mostrados(), QStringList{"El CUIT no es válido"});
        QCOMPARE(msgbox_prueba::mostrados()[0].estilo, int(vbOKOnly));
        QCOMPARE(QApplication::focusWidget(), w->texto(E::kCuit));
        Escribir(w, E::kCuit, "20-12345678-6");
        msgbox_prueba::limpiar();
        const QStringList t = {"Estudio Núñez D'Alessandro", "Av. Córdoba 1234, 5º",
                               "San Martín de los Andes", "20-12345678-6", "Otro.rpt"};
        for (int i = E::kNombre; i <= E::kReporteDJ; ++i)
            if (i != E::kTelefono) Escribir(w, i, t[std::min<int>(i, 4)]);
        QVERIFY(w->texto(E::kReporteCupon)->isReadOnly());
        Clic(w->btnGrabar());
        QCOMPARE(Mostrados(), QStringList{kGrabado});
        QTRY_VERIFY(!w);
        QCOMPARE(Fila(b, 0,
                      {"Emp_Nombre", "Emp_Domicilio", "Emp_Localidad", "Emp_CUIT", "Emp_Telefono",
                       "emp_rptDJ1", "emp_rptDJ2", "emp_emaild"}),
                 t.mid(0, 4).join('|') + "||" + guardada);
    }

    // Each menu entry opens its window once; the firm's offers only saving and leaving.
    void desdeElMenu() {
        prueba::BaseDePrueba b;
        Menu m;
        m.show();
        for (const char* entrada : {"mnuEmpresa", "mnuEmpresas", "mnuEmpresa", "mnuEmpresas"})
            m.findChild<QAction*>(entrada)->trigger();
        QStringList titulos;
        for (auto* marco : m.Area()->subWindowList()) titulos << marco->widget()->windowTitle();
        QCOMPARE(titulos, (QStringList{"Datos Estudio Contable", "Datos de Empresa"}));
        auto* estudio = m.findChild<E*>();
        QVERIFY(estudio->btnSalir()->isVisible() && !estudio->btnEliminar()->isVisible() &&
                !estudio->btnCancelar()->isVisible());
        QCOMPARE(m.findChild<F*>()->CmbRubro()->itemText(0),
                 QString("1 - Agricultura y ganadería"));
        m.close();
    }
};

QTEST_MAIN(TstEmpresas)
#include "tst_empresas.moc"
