// A database file damaged on disk (cut short, or with a page whose tail was lost): nothing is
// read, computed or saved from it; start-up and the windows say which file and what to do.
#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTest>

#include "app/Main.h"
#include "common/Globales.h"
#include "declaration/frmDecJurada.h"
#include "platform/Database.h"
#include "platform/MsgBox.h"
#include "platform/ReportControl.h"
#include "support/BaseDePrueba.h"
#include "support/DDJJDePrueba.h"

using namespace zul;

namespace {

const QString kDanada = QStringLiteral(
    "El archivo de la base de datos está dañado. Restaure la última copia de "
    "seguridad.");

// Company 7 with 200 employees, two loans of twelve instalments each: the file's last pages
// hold loan rows and their index.
void Empresa(const prueba::BaseDePrueba& base) {
    base.ejecutar(
        "insert into Empresa (Emp_Id, Emp_Nombre, Emp_CUIT) values (7, 'Núñez & "
        "D''Angelo S.R.L.', '30-99887766-5')");
    base.ejecutar("insert into Categoria (Cat_Id, Cat_Nombre) values ('1', 'Administrativo')");
    base.ejecutar(
        "with recursive n(i) as (select 1 union all select i + 1 from n where i < 200) "
        "insert into Empleado (Ado_Id, Ado_Nombre, Ado_Sueldo, Ado_Categoria, Ado_Aporte2, "
        "ado_IdEmpresa) select i, 'Empleado ' || i, 1250000.5, '1', -1, 7 from n");
    base.ejecutar(
        "with recursive n(i) as (select 0 union all select i + 1 from n where i < 4799) "
        "insert into PrestamoCuota select i / 12 + 1, i % 12 + 1, i / 24 + 1, 20.85, "
        "date('2024-01-10', '+' || (i % 12) || ' months'), 7 from n");
    IdEmpresa = 7;
}

QByteArray Bytes(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Cuts `cortados` bytes off the end of the file; with `relleno`, writes zeros in their place,
// as a disk that lost the tail of a page without changing the file's size. With `abierta` the
// program's connection stays open, as in a copy already running.
void Danar(const QString& ruta, int cortados, bool relleno, bool abierta = false) {
    if (!abierta) Database::closeShared();
    QFile f(ruta);
    const qint64 largo = f.size();
    QVERIFY(f.resize(largo - cortados));
    if (relleno) QVERIFY(f.resize(largo));
}

int Declaraciones(const QString& ruta) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(ruta.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "select count(*) from DDJJ", -1, &st, nullptr);
    const int n = sqlite3_step(st) == SQLITE_ROW ? sqlite3_column_int(st, 0) : -1;
    sqlite3_finalize(st);
    sqlite3_close(db);
    return n;
}

}  // namespace

class TstBaseDanada : public QObject {
    Q_OBJECT
  private slots:
    void alComenzarSeAvisaYNoSeEscribe_data();
    void alComenzarSeAvisaYNoSeEscribe();
    void laDeclaracionNoSeCalculaNiSeGraba();
    void danadaDespuesDeAbrirNoSeEscribe_data();
    void danadaDespuesDeAbrirNoSeEscribe();
    void declaracionDanadaNoSeMuestraNiSale_data();
    void declaracionDanadaNoSeMuestraNiSale();
};

void TstBaseDanada::alComenzarSeAvisaYNoSeEscribe_data() {
    QTest::addColumn<int>("cortados");
    QTest::addColumn<bool>("relleno");
    QTest::newRow("sana") << 0 << false;
    QTest::newRow("2 bytes menos") << 2 << false;
    QTest::newRow("17 bytes menos") << 17 << false;
    QTest::newRow("30 bytes menos") << 30 << false;
    QTest::newRow("una página menos") << 4096 << false;
    QTest::newRow("30 bytes en cero, índice y tabla en desacuerdo") << 30 << true;
}

void TstBaseDanada::alComenzarSeAvisaYNoSeEscribe() {
    QFETCH(int, cortados);
    QFETCH(bool, relleno);
    prueba::BaseDePrueba base;
    Empresa(base);
    // An older file, which start-up would upgrade if it could.
    base.ejecutar("alter table DDJJ drop column DDJJ_fcodbar");
    Danar(base.ruta(), cortados, relleno);
    const QByteArray antes = Bytes(base.ruta());

    const bool usable = VerificarBase(ActualizarBase());
    Database::closeShared();
    const auto m = msgbox_prueba::mostrados();
    QVERIFY2(usable == (cortados == 0), qPrintable(m.value(0).texto));
    QCOMPARE(m.size(), cortados == 0 ? 0 : 1);
    if (cortados == 0) return;
    QVERIFY2(m[0].texto.contains("'" + base.ruta() + "'. " + kDanada), qPrintable(m[0].texto));
    QVERIFY(m[0].texto.endsWith("\nEl programa se cerrará."));
    QCOMPARE(m[0].texto.count(base.ruta()), 1);
    QCOMPARE(m[0].estilo, 16);
    QCOMPARE(Bytes(base.ruta()), antes);
}

void TstBaseDanada::laDeclaracionNoSeCalculaNiSeGraba() {
    prueba::BaseDePrueba base;
    Empresa(base);
    Danar(base.ruta(), 2, false);
    frmDecJurada w;
    QVERIFY(!msgbox_prueba::mostrados().isEmpty());
    for (const auto& m : msgbox_prueba::mostrados())
        QVERIFY2(m.texto.startsWith("Error Nro.: 11 No se puede leer la base de datos '" +
                                    base.ruta() + "'. " + kDanada),
                 qPrintable(m.texto));
    QCOMPARE(w.texto(5)->text(), QString());  // no employee counted

    w.texto(14)->setText("10/06/2024");
    w.texto(15)->setText("4455");
    w.texto(16)->setText("10");
    w.btnGrabar_Click();
    QCOMPARE(Declaraciones(base.ruta()), 0);
}

// The file is cut short while the program has it open: no write goes into it.
void TstBaseDanada::danadaDespuesDeAbrirNoSeEscribe_data() {
    QTest::addColumn<bool>("ventana");  // the declaration's save, or a statement on its own
    QTest::newRow("grabar la declaración") << true;
    QTest::newRow("una sentencia suelta") << false;
}

void TstBaseDanada::danadaDespuesDeAbrirNoSeEscribe() {
    QFETCH(bool, ventana);
    prueba::BaseDePrueba base;
    Empresa(base);
    frmDecJurada w;
    w.mskPeriodo()->setText("05/2024");
    w.mskPeriodo_Validate();
    Danar(base.ruta(), 2, false, true);
    const QByteArray antes = Bytes(base.ruta());
    msgbox_prueba::limpiar();
    QString error;
    if (ventana) {
        w.texto(14)->setText("10/06/2024");
        w.texto(15)->setText("4455");
        w.texto(16)->setText("10");
        w.btnGrabar_Click();
        error = msgbox_prueba::mostrados().value(0).texto;
    } else {
        try {
            Database::open(RutaBase).execute("update Empresa set Emp_Telefono='1' where Emp_Id=7");
        } catch (const DatabaseError& e) {
            error = e.descripcion();
        }
    }
    QVERIFY2(error.contains("'" + base.ruta() + "'. " + kDanada), qPrintable(error));
    Database::closeShared();
    QCOMPARE(Bytes(base.ruta()), antes);
}

// The tail of the last page, a column no index holds, lost as zeros: the start-up check finds
// nothing, but the saved declaration no longer agrees with its lines.
void TstBaseDanada::declaracionDanadaNoSeMuestraNiSale_data() {
    QTest::addColumn<int>("ceros");
    // The last line's company, then its loan and salary too (its header is the full check's).
    QTest::newRow("1 byte") << 1;
    QTest::newRow("17 bytes") << 17;
}

void TstBaseDanada::declaracionDanadaNoSeMuestraNiSale() {
    QFETCH(int, ceros);
    prueba::BaseDePrueba base;
    Empresa(base);
    base.ejecutar("UPDATE Empresa SET emp_emaild='estudio@example.com' WHERE emp_id=0");
    prueba::CopiarInformes(base.carpeta());
    {
        frmDecJurada w;
        w.mskPeriodo()->setText("05/2024");
        w.mskPeriodo_Validate();
        w.texto(14)->setText("10/06/2024");
        w.texto(15)->setText("4455");
        w.texto(16)->setText("10");
        w.btnGrabar_Click();
    }
    QCOMPARE(Declaraciones(base.ruta()), 1);
    // The last page holds the declaration's latest lines (a table leaf, 0x0D).
    QCOMPARE(Bytes(base.ruta()).at(Bytes(base.ruta()).size() - 4096), '\x0D');
    Danar(base.ruta(), ceros, true);
    msgbox_prueba::limpiar();
    QVERIFY2(VerificarBase(ActualizarBase()),
             qPrintable(msgbox_prueba::mostrados().value(0).texto));

    msgbox_prueba::limpiar();
    frmDecJurada w;
    ReportControl::de(&w)->setPdfOutput(base.carpeta() + "/impreso.pdf");
    w.mskPeriodo()->setText("05/2024");
    w.mskPeriodo_Validate();
    w.btnImprimir_Click();
    w.btnEMail_Click();
    const auto m = msgbox_prueba::mostrados();
    QCOMPARE(m.size(), 3);
    const QString danada = "La Declaración Jurada del período 05/2024 está dañada";
    QVERIFY2(m[0].texto.startsWith(danada), qPrintable(m[0].texto));
    for (int i : {1, 2}) QVERIFY2(m[i].texto.contains(danada), qPrintable(m[i].texto));
    QVERIFY(ReportControl::de(&w)->runs().isEmpty());
    QVERIFY(QDir(base.carpeta()).entryList({"DJ_*", "impreso*"}).isEmpty());
}

QTEST_MAIN(TstBaseDanada)
#include "tst_basedanada.moc"
