#include <sqlite3.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "app/Main.h"
#include "app/Menu.h"
#include "common/Globales.h"
#include "platform/Database.h"
#include "platform/MsgBox.h"
#include "support/BaseDePrueba.h"

using namespace zul;

namespace {

// The schema as an older program wrote it: without the columns added later.
QString EsquemaViejo(bool conCodbar) {
    QString esquema = prueba::scriptsDeLaBase().at(0);
    esquema.remove(QRegularExpression(QStringLiteral(R"(\n\s*Ado_Remunera\s+REAL,)"),
                                      QRegularExpression::CaseInsensitiveOption));
    esquema.remove(QRegularExpression(QStringLiteral(R"(\n\s*Ado_noRemunera\s+REAL,)"),
                                      QRegularExpression::CaseInsensitiveOption));
    esquema.remove(QRegularExpression(QStringLiteral(R"(,\s*DDJJ_fcodbar\s+VARCHAR\(32\))"),
                                      QRegularExpression::CaseInsensitiveOption));
    if (!conCodbar)
        esquema.remove(QRegularExpression(QStringLiteral(R"(,\s*DDJJ_CODBAR\s+VARCHAR\(32\))"),
                                          QRegularExpression::CaseInsensitiveOption));
    return esquema;
}

bool TieneColumna(const QString& tabla, const QString& columna) {
    try {
        Database::open(RutaBase).openRecordset(
            QStringLiteral("SELECT %1 FROM %2").arg(columna, tabla));
        return true;
    } catch (const DatabaseError&) {
        return false;
    }
}

QString Esquema() {
    Recordset rs = Database::open(RutaBase).openRecordset(
        QStringLiteral("SELECT sql FROM sqlite_master ORDER BY name"));
    QString todo;
    for (; !rs.eof(); rs.moveNext()) todo += rs.value(0).toString() + QLatin1Char('\n');
    return todo;
}

const QStringList kAgregadas = {
    QStringLiteral("DDJJ.DDJJ_codbar"), QStringLiteral("DDJJ.DDJJ_fcodbar"),
    QStringLiteral("empleado.Ado_Remunera"), QStringLiteral("empleado.Ado_NORemunera")};

bool TieneLasAgregadas() {
    for (const QString& c : kAgregadas) {
        const QStringList partes = c.split(QLatin1Char('.'));
        if (!TieneColumna(partes[0], partes[1])) return false;
    }
    return true;
}

}  // namespace

class TstMain : public QObject {
    Q_OBJECT
  private slots:
    void baseViejaRecibeLasCuatroColumnas();
    void baseSinSoloFcodbar();
    void baseCompletaNoCambia();
    void baseFaltanteAvisaYNoSeCrea();
    void archivoQueNoEsUnaBase();
    void archivoAjenoQuedaComoEstaba_data();
    void archivoAjenoQuedaComoEstaba();
    void baseInutilizableSeExplicaAlComenzar_data();
    void baseInutilizableSeExplicaAlComenzar();
    void qtHablaCastellano();
    void nombreDelEquipo();
    void tituloSinNombreAgregado();
};

void TstMain::baseViejaRecibeLasCuatroColumnas() {
    prueba::BaseDePrueba base;
    Database::closeShared();
    QFile::remove(base.ruta());
    Database::createFile(base.ruta(), {EsquemaViejo(false), prueba::scriptsDeLaBase().at(1)});
    QVERIFY(!TieneColumna("DDJJ", "DDJJ_codbar"));
    QVERIFY(!TieneColumna("empleado", "Ado_Remunera"));
    ActualizarBase();
    QVERIFY(TieneLasAgregadas());
    QVERIFY(msgbox_prueba::mostrados().isEmpty());
    // Both salary parts can be written and read back.
    base.ejecutar(
        QStringLiteral("INSERT INTO Empleado (ado_IdEmpresa, Ado_Id, Ado_Remunera, Ado_NORemunera) "
                       "VALUES (1, 1, 100.5, 20)"));
    QCOMPARE(base.valor("SELECT Ado_NORemunera FROM Empleado").toDouble(), 20.0);
    // A second start finds everything in place and stays silent.
    const QString despues = Esquema();
    ActualizarBase();
    QCOMPARE(Esquema(), despues);
    QVERIFY(msgbox_prueba::mostrados().isEmpty());
}

void TstMain::baseSinSoloFcodbar() {
    prueba::BaseDePrueba base;
    Database::closeShared();
    QFile::remove(base.ruta());
    QString esquema = prueba::scriptsDeLaBase().at(0);
    esquema.remove(QRegularExpression(QStringLiteral(R"(,\s*DDJJ_fcodbar\s+VARCHAR\(32\))"),
                                      QRegularExpression::CaseInsensitiveOption));
    Database::createFile(base.ruta(), {esquema, prueba::scriptsDeLaBase().at(1)});
    QVERIFY(TieneColumna("DDJJ", "DDJJ_codbar"));
    QVERIFY(!TieneColumna("DDJJ", "DDJJ_fcodbar"));
    ActualizarBase();
    QVERIFY(TieneLasAgregadas());
    QVERIFY(msgbox_prueba::mostrados().isEmpty());
}

void TstMain::baseCompletaNoCambia() {
    prueba::BaseDePrueba base;
    base.ejecutar(QStringLiteral(
        "INSERT INTO DDJJ (DDJJ_Id, ddjj_idempresa, DDJJ_codbar) VALUES (1, 2, '4520')"));
    const QString antes = Esquema();
    ActualizarBase();
    QCOMPARE(Esquema(), antes);
    QCOMPARE(base.valor("SELECT DDJJ_codbar FROM DDJJ").toString(), QStringLiteral("4520"));
    QVERIFY(msgbox_prueba::mostrados().isEmpty());
}

void TstMain::baseFaltanteAvisaYNoSeCrea() {
    prueba::BaseDePrueba base;
    QTemporaryDir otra;
    RutaBase = otra.filePath(QStringLiteral("ZUL.mdb"));
    ActualizarBase();
    QVERIFY(msgbox_prueba::mostrados().isEmpty());
    QVERIFY(!QFile::exists(RutaBase));
    Menu menu;
    QVERIFY(!menu.MDIForm_Load());
    const auto mensajes = msgbox_prueba::mostrados();
    QCOMPARE(mensajes.size(), 1);
    QVERIFY(mensajes[0].texto.contains(RutaBase));
    QVERIFY(mensajes[0].texto.contains(QStringLiteral("El programa se cerrará")));
    QCOMPARE(mensajes[0].estilo, 16);
    QVERIFY(!QFile::exists(RutaBase));
}

void TstMain::archivoQueNoEsUnaBase() {
    prueba::BaseDePrueba base;
    Database::closeShared();
    QFile f(base.ruta());
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(QByteArray(4096, 'x'));
    f.close();
    ActualizarBase();
    QVERIFY(msgbox_prueba::mostrados().isEmpty());
    Menu menu;
    QVERIFY(!menu.MDIForm_Load());
    QCOMPARE(msgbox_prueba::mostrados().size(), 1);
    QVERIFY(msgbox_prueba::mostrados()[0].texto.contains(base.ruta()));
}

// Another program's database that shares some table names with ours.
void TstMain::archivoAjenoQuedaComoEstaba_data() {
    QTest::addColumn<QString>("esquema");
    QTest::addColumn<QString>("motivo");
    QTest::newRow("con una tabla DDJJ")
        << "CREATE TABLE DDJJ (Id INTEGER PRIMARY KEY, Detalle TEXT);"
           "INSERT INTO DDJJ VALUES (1, 'Declaración de Núñez');"
        << "le falta la tabla Empresa.";
    QTest::newRow("con DDJJ y empleado")
        << "CREATE TABLE DDJJ (Id INTEGER); CREATE TABLE empleado (Legajo INTEGER, Nombre TEXT);"
           "INSERT INTO empleado VALUES (7, 'D''Angelo');"
        << "le falta la tabla Empresa.";
    QTest::newRow("todas menos rubros")
        << EsquemaViejo(false).remove(QRegularExpression(R"(CREATE TABLE rubros \([^)]*\);)"))
        << "le falta la tabla rubros.";
    QString once;
    for (const char* t : {"Empresa", "Categoria", "Empleo", "Empleado", "DDJJ", "EmpleadoXDDJJ",
                          "Bajas", "Prestamo", "PrestamoCuota", "impresoras", "rubros"})
        once += QStringLiteral("CREATE TABLE %1 (Id INTEGER, Detalle TEXT);").arg(t);
    QTest::newRow("las once tablas con otras columnas")
        << once << "le falta la columna Emp_Id de la tabla Empresa.";
}

void TstMain::archivoAjenoQuedaComoEstaba() {
    QFETCH(QString, esquema);
    QFETCH(QString, motivo);
    prueba::BaseDePrueba base;
    Database::closeShared();
    QFile::remove(base.ruta());
    Database::createFile(base.ruta(), {esquema});
    QFile archivo(base.ruta());
    QVERIFY(archivo.open(QIODevice::ReadOnly));
    const QByteArray antes = archivo.readAll();
    archivo.close();

    QVERIFY(!VerificarBase(ActualizarBase()));
    Database::closeShared();
    QCOMPARE(msgbox_prueba::mostrados().size(), 1);
    QVERIFY2(msgbox_prueba::mostrados()[0].texto.contains(
                 "\nEl archivo no es una base de datos de este programa: " + motivo +
                 " Ponga en su lugar la base de datos del programa"),
             qPrintable(msgbox_prueba::mostrados()[0].texto));
    QVERIFY(archivo.open(QIODevice::ReadOnly));
    QCOMPARE(archivo.readAll(), antes);
}

void TstMain::baseInutilizableSeExplicaAlComenzar_data() {
    QTest::addColumn<QString>("esquema");  // "" = the program's own
    QTest::addColumn<QString>("bloqueo");  // how another program holds the file, if it does
    QTest::addColumn<QString>("motivo");   // "" = usable
    const QString ajena = "El archivo no es una base de datos de este programa: ";
    QTest::newRow("completa") << ""
                              << ""
                              << "";
    QTest::newRow("archivo de cero bytes") << "-"
                                           << "" << ajena + "le falta la tabla Empresa.";
    QTest::newRow("sin una columna que la actualización no agrega")
        << "sin DDJJ_Amec3"
        << "" << ajena + "le falta la columna DDJJ_Amec3 de la tabla DDJJ.";
    QTest::newRow("vieja y en uso por otro programa")
        << "vieja"
        << "BEGIN IMMEDIATE"
        << "Le falta la columna Ado_Remunera de la tabla Empleado. No se pudo actualizar: La "
           "base de datos está en uso.";
    QTest::newRow("en uso exclusivo por otra copia") << ""
                                                     << "BEGIN EXCLUSIVE"
                                                     << "'. La base de datos está en uso.";
    QTest::newRow("una carpeta con su nombre")
        << "carpeta"
        << ""
        << "' es una carpeta, no el archivo de la base de datos. Ponga en su lugar el archivo "
           "de la base de datos.";
}

void TstMain::baseInutilizableSeExplicaAlComenzar() {
    QFETCH(QString, esquema);
    QFETCH(QString, bloqueo);
    QFETCH(QString, motivo);
    prueba::BaseDePrueba base;
    if (esquema == "carpeta") {
        Database::closeShared();
        QVERIFY(QFile::remove(base.ruta()));
        QVERIFY(QDir().mkdir(base.ruta()));
    } else if (!esquema.isEmpty()) {
        Database::closeShared();
        QFile::remove(base.ruta());
        QString sql = esquema == "vieja" ? EsquemaViejo(true) : prueba::scriptsDeLaBase().at(0);
        if (esquema == "sin DDJJ_Amec3")
            sql.remove(QRegularExpression(R"(\n\s*DDJJ_Amec3\s+REAL,)"));
        if (esquema == "-")
            QVERIFY(QFile(base.ruta()).open(QIODevice::WriteOnly));
        else
            Database::createFile(base.ruta(), {sql});
    }
    sqlite3* otro = nullptr;
    sqlite3_open(base.ruta().toUtf8().constData(), &otro);
    if (!bloqueo.isEmpty())
        QCOMPARE(sqlite3_exec(otro, bloqueo.toUtf8().constData(), nullptr, nullptr, nullptr), 0);
    QElapsedTimer reloj;
    reloj.start();
    const bool usable = VerificarBase(ActualizarBase());
    // Said at once: not after the seconds another copy's save may take.
    QVERIFY2(reloj.elapsed() < 2500, qPrintable(QString::number(reloj.elapsed())));
    sqlite3_close(otro);
    QCOMPARE(usable, motivo.isEmpty());
    const auto m = msgbox_prueba::mostrados();
    QCOMPARE(m.size(), motivo.isEmpty() ? 0 : 1);
    if (!motivo.isEmpty()) {
        QVERIFY2(m[0].texto.contains(motivo), qPrintable(m[0].texto));
        QCOMPARE(m[0].texto.count(base.ruta()), 1);
        QVERIFY(m[0].texto.endsWith("\nEl programa se cerrará."));
        QCOMPARE(m[0].estilo, 16);
    }
}

void TstMain::qtHablaCastellano() {
    QVERIFY(TraducirQt());
    QLineEdit caja;
    std::unique_ptr<QMenu> menu(caja.createStandardContextMenu());
    QStringList textos;
    for (const QAction* a : menu->actions()) textos << a->text().remove('&').section('\t', 0, 0);
    QVERIFY2(textos.contains("Pegar"), qPrintable(textos.join('|')));
}

void TstMain::nombreDelEquipo() {
    const QString nombre = ObtenerNombreEquipo();
    QVERIFY(nombre.size() <= 255);
    QVERIFY(!nombre.contains(QChar(0)));
}

void TstMain::tituloSinNombreAgregado() {
    prueba::BaseDePrueba base;
    NombrarAplicacion();
    MsgBox(QStringLiteral("x"));
    QCOMPARE(msgbox_prueba::mostrados().at(0).titulo, QStringLiteral("ZUL"));
    // A display name of its own would be added by the window system to every caption
    // ("ZUL - Telvaro Declaración Jurada — ZUL"): the shown name must follow the plain name.
    QCoreApplication::setApplicationName(QStringLiteral("otro"));
    const QString mostrado = QGuiApplication::applicationDisplayName();
    QCoreApplication::setApplicationName(QStringLiteral("ZUL"));
    QCOMPARE(mostrado, QStringLiteral("otro"));
}

QTEST_MAIN(TstMain)
#include "tst_main.moc"
