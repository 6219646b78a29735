// The bulk salary update, driven as a user does: typing, Enter, the buttons and F3.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

#include "common/Moneda.h"
#include "lookup/consulta.h"
#include "masterdata/frmActSueld.h"
#include "platform/MsgBox.h"
#include "support/BaseDePrueba.h"
#include "support/Teclear.h"

using namespace zul;

namespace {

const QString kAntes =
    QStringLiteral("5A10:1500000.5|5A20:2000000.0|5B10:1800000.0|6A10:1000000.0");

struct Escena {
    Escena() {
        base.ejecutar("insert into Categoria values ('A','Administrativo')");
        base.ejecutar("insert into Categoria values ('B','Núñez D''Alessandro')");
        for (const char* fila : {"(5,'A',10,'Vendedor',1500000.5)", "(5,'A',20,'Vendedor',2000000)",
                                 "(5,'B',10,'Vendedor',1800000)", "(6,'A',10,'Cajero',1000000)"})
            base.ejecutar(QStringLiteral("insert into Empleo values %1").arg(fila));
        ventana.setAttribute(Qt::WA_DeleteOnClose, false);
        ventana.show();
        ventana.activateWindow();
        if (!QTest::qWaitForWindowActive(&ventana)) qWarning("la ventana no se activó");
    }
    QString Sueldos() const {
        return base
            .valor(
                "select group_concat(s, '|') from (select emp_codigo || emp_catego || "
                "emp_antigu || ':' || printf('%.1f', emp_sueldo) s from Empleo order by 1)")
            .toString();
    }
    QLineEdit* caja(int i) { return ventana.texto(i); }
    // Types into the box that has the focus and moves on with Enter.
    bool Escribir(int i, const QString& t) {
        if (!QTest::qWaitFor([&] { return caja(i)->hasFocus(); })) return false;
        QTest::keyClicks(caja(i), t);
        QTest::keyClick(caja(i), Qt::Key_Return);
        return QTest::qWaitFor([&] { return !caja(i)->hasFocus(); });
    }
    QString Mensaje() const {
        const auto m = msgbox_prueba::mostrados();
        return m.isEmpty() ? QString() : m.last().texto;
    }

    prueba::BaseDePrueba base;
    frmActSueld ventana;
};

}  // namespace

class TstFrmActSueld : public QObject {
    Q_OBJECT

  private slots:
    void actualizar_data();
    void actualizar();
    void cajasDecimales_data();
    void cajasDecimales();
    void nombresYSueldoActual();
    void consultas_data();
    void consultas();
    void textosSQL();
    void sueldosRedondeados_data();
    void sueldosRedondeados();
    void salirConCodigoInexistente_data();
    void salirConCodigoInexistente();
};

void TstFrmActSueld::actualizar_data() {
    QTest::addColumn<QStringList>("cajas");  // code, category, seniority, amount, percentage
    QTest::addColumn<bool>("f3");
    QTest::addColumn<QString>("mensaje");
    QTest::addColumn<QString>("sueldos");

    const QString fin = QStringLiteral("Proceso Finalizado");
    QTest::newRow("importe a una fila") << QStringList{"5", "A", "10", "1500", ""} << false << fin
                                        << "5A10:1501500.5|5A20:2000000.0|5B10:1800000.0|"
                                           "6A10:1000000.0";
    QTest::newRow("porcentaje -10 con F3") << QStringList{"5", "", "", "", "-10"} << true << fin
                                           << "5A10:1350000.5|5A20:1800000.0|5B10:1620000.0|"
                                              "6A10:1000000.0";
    QTest::newRow("importe con punto, sin categoria ni antiguedad")
        << QStringList{"5", "", "", "12.5", ""} << false << fin
        << "5A10:1500013.0|5A20:2000012.5|5B10:1800012.5|6A10:1000000.0";
    QTest::newRow("porcentaje por categoria")
        << QStringList{"5", "b", "", "", "12,5"} << true << fin
        << "5A10:1500000.5|5A20:2000000.0|5B10:2025000.0|"
           "6A10:1000000.0";
    QTest::newRow("los dos criterios")
        << QStringList{"5", "", "", "100", "10"} << false
        << "Solo puede actualizar por un criterio (Importe o Porcentaje)" << kAntes;
    QTest::newRow("ningun criterio")
        << QStringList{"5", "A", "", "", ""} << true << "Ingrese un importe o porcentaje" << kAntes;
    QTest::newRow("codigo vacio") << QStringList{"", "", "", "100", ""} << false
                                  << "Debe ingresar el código" << kAntes;
    QTest::newRow("codigo que no es numero")
        << QStringList{"5x", "", "", "100", ""} << true << "Debe ingresar el código" << kAntes;
    QTest::newRow("antiguedad que no es entera")
        << QStringList{"5", "", "1,5", "100", ""} << false
        << "La antigüedad debe ser un número entero de años, o quedar vacía" << kAntes;
    // The amount reads as in every other window, and what reads as none is never 0.
    QTest::newRow("importe a la argentina")
        << QStringList{"5", "A", "10", "1.234,50", ""} << false << fin
        << "5A10:1501235.0|5A20:2000000.0|5B10:1800000.0|6A10:1000000.0";
    QTest::newRow("importe que no es numero") << QStringList{"5", "", "", "abc", ""} << false
                                              << "Ingrese un importe o porcentaje" << kAntes;
    // Salaries beyond what the scale gives back whole are refused, all of them or none.
    QTest::newRow("porcentaje de treinta cifras")
        << QStringList{"5", "", "", "", "999999999999999999999999999999"} << false
        << "El porcentaje admite hasta 4 decimales y no puede superar 99.999.999.999,9999"
        << kAntes;
    // A lone point is the decimal point, and the box takes the whole amount typed.
    QTest::newRow("porcentaje con punto decimal")
        << QStringList{"6", "", "", "", "0.125"} << false << fin
        << "5A10:1500000.5|5A20:2000000.0|5B10:1800000.0|6A10:1001250.0";
    QTest::newRow("importe de catorce caracteres")
        << QStringList{"6", "", "", "1.234.567,8912", ""} << true << fin
        << "5A10:1500000.5|5A20:2000000.0|5B10:1800000.0|6A10:2234567.9";
    QTest::newRow("el mayor importe, que el sueldo no admite")
        << QStringList{"6", "", "", "99.999.999.999,9999", ""} << false
        << "El sueldo del código 6, categoría A, antigüedad 10 no se puede actualizar.\nEl "
           "importe admite hasta 4 decimales y no puede superar 99.999.999.999,9999\nNo se "
           "actualizó ningún sueldo."
        << kAntes;
    QTest::newRow("un sueldo que quedaria negativo")
        << QStringList{"6", "", "", "", "-200"} << true
        << "El sueldo del código 6, categoría A, antigüedad 10 no se puede actualizar.\nEl "
           "nuevo sueldo sería negativo: revise el importe o el porcentaje.\nNo se actualizó "
           "ningún sueldo."
        << kAntes;
    QTest::newRow("un sueldo que pasaria del tope")
        << QStringList{"5", "", "", "", "9999900"} << true
        << "El sueldo del código 5, categoría A, antigüedad 10 no se puede actualizar.\nEl "
           "importe admite hasta 4 decimales y no puede superar 99.999.999.999,9999\nNo se "
           "actualizó ningún sueldo."
        << kAntes;
}

void TstFrmActSueld::actualizar() {
    QFETCH(QStringList, cajas);
    QFETCH(bool, f3);
    QFETCH(QString, mensaje);
    QFETCH(QString, sueldos);
    Escena e;
    for (int i = 0; i < cajas.size(); ++i) QVERIFY(e.Escribir(i, cajas[i]));
    if (f3)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F3);
    else
        QTest::mouseClick(e.ventana.findChild<QPushButton*>("confirmar"), Qt::LeftButton);
    QCOMPARE(e.Mensaje(), mensaje);
    QCOMPARE(e.Sueldos(), sueldos);
    // An amount refused is told as every window tells it.
    if (mensaje.contains(QStringLiteral("admite")))
        QCOMPARE(msgbox_prueba::mostrados().last().estilo, int(vbExclamation));
    if (mensaje != QStringLiteral("Proceso Finalizado")) return;
    QCOMPARE(msgbox_prueba::mostrados().last().estilo, int(vbExclamation));
    QCOMPARE(msgbox_prueba::mostrados().last().titulo, QString("Mensaje"));
    // Ready for the next update.
    for (int i = frmActSueld::kCodigo; i <= frmActSueld::kPorcentaje; ++i)
        QVERIFY(e.caja(i)->text().isEmpty());
    QTRY_VERIFY(e.caja(frmActSueld::kCodigo)->hasFocus());
}

void TstFrmActSueld::cajasDecimales_data() {
    QTest::addColumn<QString>("tipeado");
    QTest::addColumn<QString>("queda");
    QTest::newRow("punto decimal") << "12.5"
                                   << "12,5";
    QTest::newRow("a la argentina") << "1.234,50"
                                    << "1234,5";
    QTest::newRow("punto ante tres cifras") << "0.125"
                                            << "0,125";
    // What is no amount stays as typed, for the update to refuse.
    QTest::newRow("segundo punto") << "1.000.5"
                                   << "1.000.5";
    QTest::newRow("coma") << "2500000,75"
                          << "2500000,75";
    QTest::newRow("no es numero") << "abc"
                                  << "abc";
    QTest::newRow("vacia") << ""
                           << "";
}

void TstFrmActSueld::cajasDecimales() {
    QFETCH(QString, tipeado);
    QFETCH(QString, queda);
    Escena e;
    e.caja(frmActSueld::kImporte)->setFocus();
    QVERIFY(e.Escribir(frmActSueld::kImporte, tipeado));
    QCOMPARE(e.caja(frmActSueld::kImporte)->text(), queda);
    QVERIFY(e.Escribir(frmActSueld::kPorcentaje, tipeado));
    QCOMPARE(e.caja(frmActSueld::kPorcentaje)->text(), queda);
    QVERIFY(msgbox_prueba::mostrados().isEmpty());
}

void TstFrmActSueld::nombresYSueldoActual() {
    Escena e;
    // A code that does not exist is told and the focus goes back to it.
    QVERIFY(e.Escribir(frmActSueld::kCodigo, "9"));
    QCOMPARE(e.Mensaje(), QString("El Empleo es inexistente"));
    QCOMPARE(msgbox_prueba::mostrados().last().estilo, int(vbOKOnly));
    QTRY_VERIFY(e.caja(frmActSueld::kCodigo)->hasFocus());
    e.caja(frmActSueld::kCodigo)->clear();
    QVERIFY(e.Escribir(frmActSueld::kCodigo, "5"));
    QCOMPARE(e.ventana.denom(0)->text(), QString("Vendedor"));
    QVERIFY(e.Escribir(frmActSueld::kCategoria, "Z"));
    QCOMPARE(e.Mensaje(), QString("La Categoría es inexistente"));
    QTRY_VERIFY(e.caja(frmActSueld::kCategoria)->hasFocus());
    e.caja(frmActSueld::kCategoria)->clear();
    QVERIFY(e.Escribir(frmActSueld::kCategoria, "b"));
    QCOMPARE(e.ventana.denom(1)->text(), QString("Núñez D'Alessandro"));
    QVERIFY(e.Escribir(frmActSueld::kAntiguedad, "10"));
    QCOMPARE(e.ventana.Eti()->text(), QString("Sueldo Actual 1800000"));
    // No such row: told, and the salary shown stays.
    msgbox_prueba::limpiar();
    QTest::keyClick(e.caja(frmActSueld::kImporte), Qt::Key_Escape);
    QTRY_VERIFY(e.caja(frmActSueld::kAntiguedad)->hasFocus());
    QVERIFY(e.Escribir(frmActSueld::kAntiguedad, "0"));
    QCOMPARE(e.Mensaje(), QString("No existe Registro para la categoria y Antigüedad"));
    QCOMPARE(msgbox_prueba::mostrados().last().titulo, QString("Mensaje!!!"));
    QCOMPARE(e.ventana.Eti()->text(), QString("Sueldo Actual 1800000"));
    // Cancelar empties every box and caption.
    QTest::mouseClick(e.ventana.findChild<QPushButton*>("cancelar"), Qt::LeftButton);
    for (int i = frmActSueld::kCodigo; i <= frmActSueld::kPorcentaje; ++i)
        QVERIFY(e.caja(i)->text().isEmpty());
    QVERIFY(e.ventana.denom(0)->text().isEmpty() && e.ventana.denom(1)->text().isEmpty());
    QVERIFY(e.ventana.Eti()->text().isEmpty());
    QTRY_VERIFY(e.caja(frmActSueld::kCodigo)->hasFocus());
    QCOMPARE(e.Sueldos(), kAntes);
}

void TstFrmActSueld::consultas_data() {
    QTest::addColumn<int>("caja");
    QTest::addColumn<QString>("titulo");
    QTest::addColumn<int>("fila");
    QTest::addColumn<QStringList>("cajas");  // code, category, seniority after the choice
    QTest::newRow("empleo") << int(frmActSueld::kCodigo) << "Consulta" << 2
                            << QStringList{"5", "B", "10"};
    QTest::newRow("categoria") << int(frmActSueld::kCategoria) << "Consulta de Categorías" << 1
                               << QStringList{"", "B", ""};
}

void TstFrmActSueld::consultas() {
    QFETCH(int, caja);
    QFETCH(QString, titulo);
    QFETCH(int, fila);
    QFETCH(QStringList, cajas);
    Escena e;
    e.caja(caja)->setFocus();
    QString visto;
    consulta::alMostrar = [&](consulta& d) {
        visto = d.windowTitle();
        d.grilla()->setCurrentIndex(d.grilla()->model()->index(fila, 0));
        d.aceptar_Click();
    };
    QTest::keyClick(e.caja(caja), Qt::Key_F2);
    consulta::alMostrar = nullptr;
    QCOMPARE(visto, titulo);
    for (int i = 0; i < cajas.size(); ++i) QCOMPARE(e.caja(i)->text(), cajas[i]);
}

void TstFrmActSueld::textosSQL() {
    const QString filtro = frmActSueld::FiltroSueldos("5", "A", "10");
    QCOMPARE(frmActSueld::ConsultaSueldos(filtro),
             QString("select emp_codigo,emp_catego,emp_antigu,emp_sueldo from Empleo where "
                     "Empleo.emp_codigo =  5 and Empleo.emp_catego =  'A' and Empleo.emp_antigu "
                     "=  10 order by emp_codigo,emp_catego,emp_antigu"));
    QCOMPARE(frmActSueld::ActualizarSueldo(5, "D'A", 10, *Moneda::desdeImporte("1650000,55")),
             QString("update empleo set emp_sueldo = 1650000.55 where emp_codigo = 5 and "
                     "emp_catego = 'D''A' and emp_antigu = 10"));
}

// Salaries written by the update are amounts of four decimals, as the currency holds them.
void TstFrmActSueld::sueldosRedondeados_data() {
    QTest::addColumn<QString>("antes");  // the salary of 7/C/1, as stored
    QTest::addColumn<QString>("importe");
    QTest::addColumn<QString>("porcentaje");
    QTest::addColumn<QString>("despues");  // SQL literal of the exact amount
    QTest::newRow("10 % sobre 700") << "700"
                                    << ""
                                    << "10"
                                    << "770";
    QTest::newRow("7 % con cuatro decimales") << "1234.5678"
                                              << ""
                                              << "7"
                                              << "1320.9875";
    QTest::newRow("centavos sumados") << "0.1"
                                      << "0,2"
                                      << ""
                                      << "0.3";
}

void TstFrmActSueld::sueldosRedondeados() {
    QFETCH(QString, antes);
    QFETCH(QString, importe);
    QFETCH(QString, porcentaje);
    QFETCH(QString, despues);
    Escena e;
    e.base.ejecutar("insert into Empleo values (7,'A',1,'Cadete'," + antes + ")");
    const QStringList cajas = {"7", "", "", importe, porcentaje};
    for (int i = 0; i < cajas.size(); ++i) QVERIFY(e.Escribir(i, cajas[i]));
    QTest::mouseClick(e.ventana.findChild<QPushButton*>("confirmar"), Qt::LeftButton);
    QCOMPARE(e.Mensaje(), QString("Proceso Finalizado"));
    QCOMPARE(
        e.base.valor("select emp_sueldo = " + despues + " from Empleo where emp_codigo=7").toInt(),
        1);
}

// A code not in the scale is told and the focus goes back to it, yet the window can be
// cleared or left with one click, saying it once.
void TstFrmActSueld::salirConCodigoInexistente_data() {
    QTest::addColumn<QString>("boton");
    QTest::newRow("Cancelar") << "cancelar";
    QTest::newRow("Salir") << "salir";
}

void TstFrmActSueld::salirConCodigoInexistente() {
    QFETCH(QString, boton);
    Escena e;
    QTest::keyClicks(e.caja(frmActSueld::kCodigo), "99");
    prueba::Clic(e.ventana.findChild<QPushButton*>(boton));
    QTRY_VERIFY(boton == "salir" ? !e.ventana.isVisible()
                                 : e.caja(frmActSueld::kCodigo)->text().isEmpty());
    QCOMPARE(msgbox_prueba::mostrados().size(), 1);
    QCOMPARE(e.Mensaje(), QString("El Empleo es inexistente"));
    QCOMPARE(e.Sueldos(), kAntes);
}

QTEST_MAIN(TstFrmActSueld)
#include "tst_frmactsueld.moc"
