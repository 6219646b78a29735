// The salary-scale import window: the file choice, and the import as all or nothing.
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QStringEncoder>
#include <QtTest>

#include "masterdata/ImpoEmpleos.h"
#include "platform/MsgBox.h"
#include "support/BaseDePrueba.h"

using namespace zul;

namespace {

const QString kAntes = QStringLiteral("A:Administrativo|B:Vendedor|1,A,0:Cajero:1000.5");
const QString kFinalizada = QStringLiteral("Importación finalizada!");

// The two tables in one line: categories, then the scale.
QString Tablas(const prueba::BaseDePrueba& base) {
    return base
        .valor(
            "select (select group_concat(c, '|') from (select Cat_Id || ':' || "
            "ifnull(Cat_Nombre,'') c from Categoria order by Cat_Id)) || '|' || "
            "(select group_concat(e, '|') from (select emp_codigo || ',' || emp_catego || ',' "
            "|| emp_antigu || ':' || emp_nombre || ':' || emp_sueldo e from Empleo order by 1))")
        .toString();
}

// The window over a database holding the old scale, the dialog answering `archivo`.
struct Escena {
    Escena() {
        base.ejecutar("insert into Categoria values ('A','Administrativo')");
        base.ejecutar("insert into Categoria values ('B','Vendedor')");
        base.ejecutar("insert into Empleo values (1,'A',0,'Cajero',1000.5)");
        ImpoEmpleos::ElegirArchivo = [this](QWidget*, const QString& titulo, const QString&,
                                            const QString& filtro) {
            dialogo << titulo << filtro;
            return respuesta;
        };
        ventana.setAttribute(Qt::WA_DeleteOnClose, false);
        ventana.show();
        ventana.activateWindow();
        if (!QTest::qWaitForWindowActive(&ventana)) qWarning("la ventana no se activó");
    }
    QString Escribir(const QByteArray& contenido) {
        respuesta = base.carpeta() + "/escala.txt";
        QFile f(respuesta);
        if (!f.open(QIODevice::WriteOnly) || f.write(contenido) != contenido.size()) return {};
        return respuesta;
    }
    void Click(const char* boton) {
        QTest::mouseClick(ventana.findChild<QPushButton*>(boton), Qt::LeftButton);
    }
    QLineEdit* texto() { return ventana.findChild<QLineEdit*>("texto"); }
    QString Mensaje() const {
        const auto m = msgbox_prueba::mostrados();
        return m.isEmpty() ? QString() : m.last().texto;
    }

    prueba::BaseDePrueba base;
    ImpoEmpleos ventana;
    QString respuesta;
    QStringList dialogo;
};

}  // namespace

class TstImpoEmpleos : public QObject {
    Q_OBJECT

  private slots:
    void importar_data();
    void importar();
    void eleccionDelArchivo();
    void sinArchivoNoSeTocaNada();
};

void TstImpoEmpleos::importar_data() {
    QTest::addColumn<QByteArray>("contenido");
    QTest::addColumn<QString>("mensaje");  // what the message says
    QTest::addColumn<QString>("tablas");

    const QByteArray tres =
        "INSERT INTO Categoria (Cat_Id,Cat_Nombre) VALUES (\"C\", \"Categoría Núñez D'Alessandro – "
        "2024\")"
        "\r\ninsert into Empleo values (7,'C',10,'Encargado',2500000.25)\r\n"
        "update Empleo set emp_sueldo = emp_sueldo * 2 where emp_codigo = 7\r\n";
    const QString tresTablas =
        QStringLiteral("C:Categoría Núñez D'Alessandro – 2024|7,C,10:Encargado:5000000.5");
    QTest::newRow("vacio") << QByteArray() << kFinalizada << QString();
    QTest::newRow("tres lineas") << tres << kFinalizada << tresTablas;
    QTest::newRow("utf8 con bom y LF")
        << QByteArray("\xEF\xBB\xBF") + QByteArray(tres).replace("\r\n", "\n") << kFinalizada
        << tresTablas;
    QTest::newRow("windows-1252 y CR")
        << QString::fromUtf8(tres).replace("\r\n", "\r").toLatin1().replace('?', '\x96')
        << kFinalizada << tresTablas;
    QTest::newRow("lineas en blanco y sin fin de linea")
        << QByteArray("\r\n   \n").append(tres).append("\n\t\ndelete from Empleo where 1=0")
        << kFinalizada << tresTablas;
    // "Unicode" as Windows editors save it, in either byte order.
    for (const auto orden : {QStringConverter::Utf16LE, QStringConverter::Utf16BE})
        QTest::newRow(orden == QStringConverter::Utf16LE ? "utf-16 con marca"
                                                         : "utf-16 BE con marca")
            << QByteArray(QStringEncoder(orden, QStringEncoder::Flag::WriteBom)
                              .encode(QString::fromUtf8(tres)))
            << kFinalizada << tresTablas;
    QTest::newRow("utf-16 sin marca")
        << QByteArray(QStringEncoder(QStringConverter::Utf16LE).encode(QString::fromUtf8(tres)))
        << "parece un archivo Unicode (UTF-16)" << kAntes;
    // A long line is quoted by its start: the whole of it froze the window.
    QTest::newRow("linea larga sin cerrar")
        << "insert into Categoria values ('" + QByteArray(200000, 'x')
        << "no se reconoce '" + QString(59, 'x') + "….\n"
        << kAntes;
    QTest::newRow("esquema en castellano")
        << QByteArray(
               "delete from Empleo where emp_nombre in (select name from "
               "pragma_table_info('Empresa'))")
        << "la línea 1 no es válida.\nLa instrucción hace algo que aquí no está permitido."
        << kAntes;
    QTest::newRow("tabla interna")
        << QByteArray("delete from sqlite_master")
        << "la línea 1 no es válida.\nLa instrucción quiere cambiar la estructura interna"
        << kAntes;
    QTest::newRow("nulos tras la ultima linea")
        << QByteArray(tres)
               .append("insert into Empleo values (8,'C',1,'Ayudante',900000.25)")
               .append(QByteArray(24, '\0'))
        << "la línea 4 no es válida.\nLa instrucción contiene el carácter nulo." << kAntes;
    QTest::newRow("error de sintaxis")
        << QByteArray("insert into Categoria values ('D' 'Ayudante')")
        << "la línea 1 no es válida.\nError de sintaxis cerca de \"'Ayudante'\"." << kAntes;
    QTest::newRow("linea mala en el medio")
        << QByteArray(tres).replace("insert into Empleo values (7,'C',10,",
                                    "insert into Empleo values (7,'C',10,'x',")
        << "la línea 2 no es válida.\nLa tabla Empleo tiene 5 columnas y se dieron 6 valores."
        << kAntes;
    QTest::newRow("clave repetida al correr")
        << QByteArray(tres).append("\r\n\r\ninsert into Empleo values (7,'C',10,'Otro',1)")
        << "La línea 6 del archivo falló: Ya existe un registro con la misma clave." << kAntes;
    QTest::newRow("otra tabla") << QByteArray(tres).append("DELETE * FROM Empresa")
                                << "la línea 4 no es válida." << kAntes;
    QTest::newRow("lee otra tabla")
        << QByteArray("insert into Categoria select 'X', emp_nombre from Empresa")
        << "la línea 1 no es válida." << kAntes;
    QTest::newRow("esquema") << QByteArray(tres).prepend("DROP TABLE Empleado\n")
                             << "la línea 1 no es válida." << kAntes;
    QTest::newRow("fin de la transaccion")
        << QByteArray(tres).append("COMMIT") << "la línea 4 no es válida." << kAntes;
    QTest::newRow("consulta") << QByteArray("select * from Categoria") << "la línea 1 no es válida."
                              << kAntes;
    QTest::newRow("dos instrucciones en una linea")
        << QByteArray("delete from Empleo; delete from Categoria") << "la línea 1 no es válida."
        << kAntes;
}

void TstImpoEmpleos::importar() {
    QFETCH(QByteArray, contenido);
    QFETCH(QString, mensaje);
    QFETCH(QString, tablas);
    Escena e;
    e.base.ejecutar("insert into Empresa (Emp_Id, Emp_Nombre) values (7, 'Acme')");
    QVERIFY(!e.Escribir(contenido).isEmpty());
    e.Click("bbuscar");
    e.Click("bimportar");
    QVERIFY2(e.Mensaje().contains(mensaje), qPrintable(e.Mensaje()));
    QCOMPARE(Tablas(e.base), tablas);
    QCOMPARE(e.base.valor("select count(*) from Empresa").toInt(), 2);
    // The window stays as it was: the same file can be imported again.
    QCOMPARE(e.texto()->text(), e.respuesta);
}

void TstImpoEmpleos::eleccionDelArchivo() {
    Escena e;
    e.respuesta.clear();
    e.Click("bbuscar");
    QCOMPARE(e.dialogo, (QStringList{"Búsqueda de Archivo de Importación de Datos",
                                     "Archivos de texto (*.txt)"}));
    QCOMPARE(e.Mensaje(), QString("No se ha seleccionado el Archivo con los datos a Importar!"));
    QCOMPARE(msgbox_prueba::mostrados().last().titulo, QString("Atención"));
    // Cancelling after a choice keeps it; Cancelar empties the box.
    const QString elegido = e.Escribir("");
    e.Click("bbuscar");
    e.respuesta.clear();
    e.Click("bbuscar");
    QCOMPARE(e.texto()->text(), elegido);
    QCOMPARE(msgbox_prueba::mostrados().size(), 1);
    e.Click("btnCancelar");
    QCOMPARE(e.texto()->text(), QString());
    QVERIFY(e.ventana.findChild<QPushButton*>("bbuscar")->hasFocus());
}

void TstImpoEmpleos::sinArchivoNoSeTocaNada() {
    Escena e;
    e.Click("bimportar");
    QCOMPARE(msgbox_prueba::mostrados().size(), 1);
    QCOMPARE(e.Mensaje(), QString("Debe seleccionar el archivo de actualización de sueldos"));
    QCOMPARE(msgbox_prueba::mostrados().last().estilo, int(vbInformation));
    QCOMPARE(msgbox_prueba::mostrados().last().titulo, QString());
    QVERIFY(e.ventana.findChild<QPushButton*>("bbuscar")->hasFocus());
    // A path that is gone is told, and nothing changes either.
    e.texto()->setText(e.base.carpeta() + "/no-existe.txt");
    e.Click("bimportar");
    QVERIFY(e.Mensaje().startsWith("No se puede leer el archivo"));
    QCOMPARE(Tablas(e.base), kAntes);
}

QTEST_MAIN(TstImpoEmpleos)
#include "tst_impoempleos.moc"
