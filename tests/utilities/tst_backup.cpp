// The backup window and its archive, read back with libarchive as any zip tool would.

#include <archive.h>
#include <archive_entry.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileSystemModel>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <QtTest>

#include "common/Globales.h"
#include "platform/Database.h"
#include "platform/MsgBox.h"
#include "support/BaseDePrueba.h"
#include "utilities/CopiaSeguridad.h"
#include "utilities/backup.h"

using namespace zul;
using namespace zul::prueba;

namespace {

const QString kEmpresa = QStringLiteral("Núñez D'Alessandro e Hijos S.R.L.");

struct Entrada {
    QString nombre;
    QByteArray datos;
};

// Every entry of a zip file; an unreadable archive gives none.
QList<Entrada> LeerZip(const QString& ruta) {
    QList<Entrada> entradas;
    archive* a = archive_read_new();
    archive_read_support_format_zip(a);
    if (archive_read_open_filename(a, QFile::encodeName(ruta).constData(), 65536) == ARCHIVE_OK) {
        archive_entry* e = nullptr;
        while (archive_read_next_header(a, &e) == ARCHIVE_OK) {
            Entrada entrada{QString::fromUtf8(archive_entry_pathname(e)), {}};
            char bloque[65536];
            la_ssize_t n;
            while ((n = archive_read_data(a, bloque, sizeof bloque)) > 0)
                entrada.datos.append(bloque, n);
            if (n < 0) break;
            entradas << entrada;
        }
    }
    archive_read_free(a);
    return entradas;
}

// The database inside the archive, checked by SQLite and asked for its companies.
QStringList EmpresasDeLaCopia(const QString& zip, const QString& carpeta) {
    const auto entradas = LeerZip(zip);
    if (entradas.size() != 1 || entradas[0].nombre != "ZUL.mdb") return {"archivo dañado"};
    const QString ruta = carpeta + "/extraida.mdb";
    QFile f(ruta);
    if (!f.open(QIODevice::WriteOnly)) return {"no se puede extraer"};
    f.write(entradas[0].datos);
    f.close();
    const QString viva = RutaBase;
    QStringList nombres;
    {
        Database& db = Database::open(ruta);
        if (db.openRecordset("PRAGMA integrity_check").value(0).toString() != "ok")
            nombres << "no pasa la comprobación";
        for (Recordset rs = db.openRecordset("SELECT emp_nombre FROM Empresa WHERE emp_id>0 "
                                             "ORDER BY emp_id");
             !rs.eof(); rs.moveNext())
            nombres << rs.value(0).toString();
    }
    Database::open(viva);
    QFile::remove(ruta);
    return nombres;
}

QString Mensajes() {
    QStringList t;
    for (const auto& m : msgbox_prueba::mostrados())
        t << QStringLiteral("%1|%2|%3").arg(m.texto).arg(m.estilo).arg(m.titulo);
    return t.join('\n');
}

// A window whose only volume is a temporary folder, on the folder `carpeta`.
backup* Ventana(const QString& volumen, const QString& carpeta) {
    backup::ListarUnidades = [volumen] {
        return QList<backup::Unidad>{{volumen, QStringLiteral("RESPALDO"), true}};
    };
    auto* w = new backup;
    w->ElegirCarpeta(carpeta);
    msgbox_prueba::limpiar();
    return w;
}

// Every file under `carpeta`, however deep.
QStringList Archivos(const QString& carpeta) {
    QStringList archivos;
    for (QDirIterator it(carpeta, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
         it.hasNext();)
        archivos << it.next();
    return archivos;
}

// Megabytes of rows that do not compress, so that writing the archive takes a while.
void Agrandar(int megas) {
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(RutaBase).constData(), &db);
    const QByteArray sql =
        "CREATE TABLE Relleno (datos BLOB); WITH RECURSIVE n(i) AS (SELECT 1 "
        "UNION ALL SELECT i + 1 FROM n WHERE i < " +
        QByteArray::number(megas * 16) + ") INSERT INTO Relleno SELECT randomblob(65536) FROM n;";
    QCOMPARE(sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

// Backs up again and again in a child process, killed while a file is being written; returns
// what it left in `carpeta` besides the finished archive.
QStringList CopiaInterrumpida(const QString& carpeta) {
    const QString nombre = NombreCopia(QDate::currentDate());
    const auto restos = [&] {
        QStringList archivos = QDir(carpeta).entryList(QDir::Files | QDir::Hidden);
        archivos.removeAll(nombre);
        return archivos;
    };
    for (int intento = 0; intento < 20 && restos().isEmpty(); ++intento) {
        const pid_t hijo = fork();
        if (hijo == 0) {
            for (;;) {
                try {
                    GenerarCopia(RutaBase, carpeta + "/" + nombre);
                } catch (const ErrorCopia&) {
                }
            }
        }
        QElapsedTimer reloj;
        reloj.start();
        while (restos().isEmpty() && reloj.elapsed() < 10000) {
        }
        kill(hijo, SIGKILL);
        waitpid(hijo, nullptr, 0);
    }
    return restos();
}

}  // namespace

class TstBackup : public QObject {
    Q_OBJECT

  private slots:
    void copiaLegibleYConsistente() {
        BaseDePrueba base;
        base.ejecutar("INSERT INTO Empresa (Emp_Id, Emp_Nombre) VALUES (1, '" +
                      QString(kEmpresa).replace("'", "''") + "')");
        QTemporaryDir volumen;
        const QString destino = volumen.path() + "/Copias de Seguridad/2024";
        QVERIFY(QDir().mkpath(destino));

        backup::ListarUnidades = [&] {
            return QList<backup::Unidad>{{volumen.path(), "RESPALDO", true}};
        };
        QPointer<backup> w = new backup;
        QCOMPARE(w->windowTitle(), QString("Copia de Seguridad"));
        QCOMPARE(Mensajes(), QString("Asegurarse que ningún usuario\nesté utilizando el "
                                     "sistema.|16|Mensaje"));
        QCOMPARE(w->carpeta(), volumen.path());  // the home folder is on no listed volume
        w->ElegirCarpeta(destino);
        QCOMPARE(w->carpeta(), destino);
        QCOMPARE(w->findChild<QLabel*>("Label1")->text().remove(QChar(0x200B)), destino);
        msgbox_prueba::limpiar();

        // Another window is halfway through a write: the backup holds the committed rows.
        Database& db = Database::open(RutaBase);
        db.beginTrans();
        db.execute("INSERT INTO Empresa (Emp_Id, Emp_Nombre) VALUES (2, 'Sin confirmar SA')");
        w->findChild<QPushButton*>("confirmar")->click();
        db.rollback();

        QCOMPARE(Mensajes(), QString("La copia de seguridad se ha realizado con éxito|48|"));
        const QString nombre = " ZUL" + QDate::currentDate().toString("ddMMyyyy") + ".zip";
        QCOMPARE(QDir(destino).entryList(QDir::Files | QDir::Hidden), QStringList{nombre});
        QCOMPARE(EmpresasDeLaCopia(destino + "/" + nombre, volumen.path()), QStringList{kEmpresa});
        w->findChild<QPushButton*>("salir")->click();
        QTRY_VERIFY(w.isNull());
    }

    void dosCopiasElMismoDia() {
        BaseDePrueba base;
        QTemporaryDir volumen;
        std::unique_ptr<backup> w(Ventana(volumen.path(), volumen.path()));
        auto* confirmar = w->findChild<QPushButton*>("confirmar");
        base.ejecutar("INSERT INTO Empresa (Emp_Id, Emp_Nombre) VALUES (1, 'Primera SA')");
        confirmar->click();
        base.ejecutar("INSERT INTO Empresa (Emp_Id, Emp_Nombre) VALUES (2, 'Segunda SRL')");
        confirmar->click();
        QCOMPARE(msgbox_prueba::mostrados().size(), 2);
        const QStringList archivos = QDir(volumen.path()).entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(archivos, QStringList{NombreCopia(QDate::currentDate())});
        QCOMPARE(EmpresasDeLaCopia(volumen.filePath(archivos[0]), volumen.path()),
                 (QStringList{"Primera SA", "Segunda SRL"}));
    }

    void fallaSinDejarNada_data() {
        QTest::addColumn<QString>("caso");
        QTest::addColumn<QString>("motivo");
        QTest::newRow("carpeta reemplazada por un archivo") << "archivo"
                                                            << "Es un archivo, no una carpeta.";
        QTest::newRow("una carpeta con el nombre de la copia")
            << "carpeta"
            << "Ya hay una carpeta con el nombre de la copia.";
        QTest::newRow("base inexistente") << "sin base"
                                          << "No se encuentra la base de datos";
        QTest::newRow("base que no es una base")
            << "no es base"
            << "No se puede leer la base de datos %1: El archivo no es una base de datos.";
    }

    void fallaSinDejarNada() {
        QFETCH(QString, caso);
        QFETCH(QString, motivo);
        BaseDePrueba base;
        QTemporaryDir volumen;
        const QString destino = volumen.path() + "/Copias";
        QVERIFY(QDir().mkpath(destino));
        std::unique_ptr<backup> w(Ventana(volumen.path(), destino));
        const QString archivo = destino + "/" + NombreCopia(QDate::currentDate());
        const QByteArray anterior = "copia de ayer, que debe quedar como estaba";
        auto escribir = [](const QString& ruta, const QByteArray& datos) {
            QFile f(ruta);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(datos);
        };
        if (caso == "archivo") {
            // Even root cannot write below a plain file.
            QVERIFY(QDir(destino).removeRecursively());
            escribir(destino, "no soy una carpeta");
        } else if (caso == "carpeta") {
            QVERIFY(QDir().mkdir(archivo));
        } else {
            escribir(archivo, anterior);
            RutaBase = destino + "/ZUL.mdb";
            if (caso == "no es base") escribir(RutaBase, QByteArray(8192, 'x'));
        }
        w->findChild<QPushButton*>("confirmar")->click();

        QCOMPARE(msgbox_prueba::mostrados().size(), 1);
        const auto m = msgbox_prueba::mostrados()[0];
        QVERIFY2(m.texto.startsWith("Se ha producido un error al copiar\n") &&
                     m.texto.contains(QString(motivo).replace("%1", RutaBase)),
                 qPrintable(m.texto));
        QCOMPARE(m.estilo, 48);
        QCOMPARE(m.titulo, QString("Mensaje"));
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        // Nothing half-written, and what was there stays as it was.
        QStringList quedan = QDir(QFileInfo(destino).isDir() ? destino : volumen.path())
                                 .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        quedan.removeAll("ZUL.mdb");
        QCOMPARE(quedan.size(), 1);
        if (QFileInfo(archivo).isFile()) {
            QFile f(archivo);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), anterior);
        }
    }

    void unidadNoLista() {
        BaseDePrueba base;
        QTemporaryDir a, b;
        bool bLista = false;
        int consultas = 0;
        backup::ListarUnidades = [&] {
            ++consultas;
            return QList<backup::Unidad>{{a.path(), "SISTEMA", true},
                                         {b.path(), "PENDRIVE", bLista}};
        };
        std::unique_ptr<backup> w(new backup);
        msgbox_prueba::limpiar();
        auto* drive = w->findChild<QComboBox*>("Drive1");
        QCOMPARE(drive->count(), 2);
        QCOMPARE(drive->itemText(1), b.path() + " [PENDRIVE]");
        QCOMPARE(drive->currentIndex(), 0);

        // Retry asks again; Cancel goes back to the volume shown before.
        msgbox_prueba::responder(vbRetry);
        msgbox_prueba::responder(vbCancel);
        drive->setFocus();
        QTest::keyClick(drive, Qt::Key_Down);
        QCOMPARE(Mensajes(),
                 QString("Unidad no está lista|5|Mensaje\nUnidad no está lista|5|Mensaje"));
        QCOMPARE(drive->currentIndex(), 0);
        QCOMPARE(w->carpeta(), a.path());

        // Ready once the user has put the drive in: Retry gets there.
        msgbox_prueba::limpiar();
        msgbox_prueba::responder(vbRetry);
        const int antes = consultas;
        backup::ListarUnidades = [&] {
            bLista = ++consultas > antes + 1;
            return QList<backup::Unidad>{{a.path(), "SISTEMA", true},
                                         {b.path(), "PENDRIVE", bLista}};
        };
        QTest::keyClick(drive, Qt::Key_Down);
        QCOMPARE(msgbox_prueba::mostrados().size(), 1);
        QCOMPARE(drive->currentIndex(), 1);
        QCOMPARE(w->carpeta(), b.path());
    }

    // The archive goes to the folder chosen, on the volume chosen, or nowhere.
    void carpetaElegidaQueCambia_data() {
        QTest::addColumn<QString>("cambio");
        QTest::addColumn<QString>("motivo");
        QTest::newRow("borrada") << "borrar"
                                 << "La carpeta no existe.";
        QTest::newRow("renombrada") << "renombrar"
                                    << "La carpeta no existe.";
        QTest::newRow("otra en su lugar") << "reemplazar"
                                          << "fue movida o reemplazada por otra";
        QTest::newRow("la unidad retirada") << "desmontar"
                                            << "la unidad fue retirada o cambiada";
    }

    void carpetaElegidaQueCambia() {
        QFETCH(QString, cambio);
        QFETCH(QString, motivo);
        BaseDePrueba base;
        QTemporaryDir volumen;
        const QString destino = volumen.path() + "/Copias de Seguridad";
        const QString vecina = volumen.path() + "/Balances de Núñez D'Alessandro";
        QVERIFY(QDir().mkpath(destino + "/Enero"));
        QVERIFY(QDir().mkpath(vecina));
        const auto identificar = backup::Identificar;
        std::unique_ptr<backup> w(Ventana(volumen.path(), destino));
        const auto lista = [&] {
            return w->findChild<QTreeView*>("Dir1")->currentIndex().data(
                QFileSystemModel::FilePathRole);
        };
        QTRY_COMPARE(lista().toString(), destino);

        if (cambio == "borrar") {
            QVERIFY(QDir(destino).removeRecursively());
        } else if (cambio == "renombrar") {
            QVERIFY(QDir().rename(destino, destino + " 2023"));
        } else if (cambio == "reemplazar") {
            QVERIFY(QDir().rename(destino, destino + " 2023"));
            QVERIFY(QDir().rename(vecina, destino));
        } else {
            // The folder is an empty mount point on the system disk now.
            backup::Identificar = [identificar](const QString& ruta) {
                backup::Identidad otra = identificar(ruta);
                otra.unidad += " (otra)";
                return otra;
            };
        }
        // The folder list follows the disk as the user sees it.
        if (cambio == "borrar" || cambio == "renombrar") QTRY_VERIFY(lista() != destino);
        w->findChild<QPushButton*>("confirmar")->click();
        backup::Identificar = identificar;

        QCOMPARE(msgbox_prueba::mostrados().size(), 1);
        const auto m = msgbox_prueba::mostrados()[0];
        QVERIFY2(m.texto.startsWith("Se ha producido un error al copiar\n") &&
                     m.texto.contains(destino) && m.texto.contains(motivo),
                 qPrintable(m.texto));
        QCOMPARE(w->carpeta(), destino);
        QCOMPARE(w->findChild<QLabel*>("Label1")->text().remove(QChar(0x200B)), destino);
        QCOMPARE(Archivos(volumen.path()), QStringList());
    }

    void mientrasCopia_data() {
        QTest::addColumn<QString>("accion");
        QTest::newRow("cerrar la ventana") << "cerrar";
        QTest::newRow("Salir") << "salir";
        QTest::newRow("Confirmar otra vez") << "confirmar";
        QTest::newRow("el programa termina") << "borrar";
    }

    void mientrasCopia() {
        QFETCH(QString, accion);
        BaseDePrueba base;
        QTemporaryDir volumen;
        QPointer<backup> w = Ventana(volumen.path(), volumen.path());
        w->show();
        auto* instruccion = w->findChild<QLabel*>("Label2");
        auto* confirmar = w->findChild<QPushButton*>("confirmar");
        const QString textoInicial = instruccion->text();
        const QList<QWidget*> controles{w->findChild<QComboBox*>("Drive1"),
                                        w->findChild<QTreeView*>("Dir1"), confirmar,
                                        w->findChild<QPushButton*>("salir")};
        struct {
            bool visto = false;
            QString texto;
            bool reloj = false;
            bool quietos = false;
            bool abierta = false;
        } durante;
        QTimer::singleShot(0, [&] {
            durante.visto = true;
            durante.texto = instruccion->text();
            durante.reloj = QApplication::overrideCursor() &&
                            QApplication::overrideCursor()->shape() == Qt::WaitCursor;
            durante.quietos = std::none_of(controles.begin(), controles.end(),
                                           [](QWidget* c) { return c->isEnabled(); });
            if (accion == "cerrar")
                w->close();
            else if (accion == "salir")
                static_cast<QPushButton*>(controles[3])->click();
            else if (accion == "confirmar")
                confirmar->click();
            else
                delete w;  // as the main window does with what is still open when it closes
            durante.abierta = w && w->isVisible();
        });
        confirmar->click();

        QVERIFY(durante.visto);
        QCOMPARE(durante.texto, QString("Generando la copia de seguridad, espere por favor..."));
        QVERIFY(durante.reloj);
        QVERIFY(durante.quietos);
        QCOMPARE(durante.abierta, accion != "borrar");
        QCOMPARE(Mensajes(), QString("La copia de seguridad se ha realizado con éxito|48|"));
        QCOMPARE(QDir(volumen.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{NombreCopia(QDate::currentDate())});
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        if (w) {
            QCOMPARE(instruccion->text(), textoInicial);
            QVERIFY(std::all_of(controles.begin(), controles.end(),
                                [](QWidget* c) { return c->isEnabled(); }));
            delete w;
        }
    }

    void copiaInterrumpida() {
        BaseDePrueba base;
        Agrandar(8);
        QTemporaryDir volumen;
        const QStringList restos = CopiaInterrumpida(volumen.path());
        QVERIFY(!restos.isEmpty());
        for (const QString& resto : restos)
            QVERIFY2(resto.startsWith('.') && resto.endsWith(".tmp"), qPrintable(resto));

        // The next backup into that folder clears what the killed one left.
        std::unique_ptr<backup> w(Ventana(volumen.path(), volumen.path()));
        w->findChild<QPushButton*>("confirmar")->click();
        QCOMPARE(Mensajes(), QString("La copia de seguridad se ha realizado con éxito|48|"));
        QCOMPARE(QDir(volumen.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{NombreCopia(QDate::currentDate())});
    }

    void restosDeOtrasCopias_data() {
        QTest::addColumn<QString>("nombre");
        QTest::addColumn<bool>("enUso");
        QTest::addColumn<bool>("queda");
        QTest::newRow("de una copia interrumpida")
            << ".ZUL30112025.zip.1kz9q4.tmp" << false << false;
        QTest::newRow("de una copia que se está escribiendo")
            << ".ZUL30112025.zip.7ab3x.tmp" << true << true;
        QTest::newRow("la copia de otro día") << " ZUL30112025.zip" << false << true;
        QTest::newRow("una copia renombrada") << " ZUL30112025.zip.viejo" << false << true;
        QTest::newRow("un temporal ajeno") << ".Balance 2025.tmp" << false << true;
    }

    void restosDeOtrasCopias() {
        QFETCH(QString, nombre);
        QFETCH(bool, enUso);
        QFETCH(bool, queda);
        BaseDePrueba base;
        QTemporaryDir volumen;
        QFile otro(volumen.filePath(nombre));
        QVERIFY(otro.open(QIODevice::WriteOnly));
        otro.write("PK\3\4 una copia a medio escribir");
        otro.flush();
        if (enUso) QCOMPARE(flock(otro.handle(), LOCK_EX), 0);
        std::unique_ptr<backup> w(Ventana(volumen.path(), volumen.path()));
        w->findChild<QPushButton*>("confirmar")->click();
        QCOMPARE(Mensajes(), QString("La copia de seguridad se ha realizado con éxito|48|"));
        QCOMPARE(QFileInfo::exists(volumen.filePath(nombre)), queda);
        QVERIFY(QFileInfo::exists(volumen.filePath(NombreCopia(QDate::currentDate()))));
    }
};

QTEST_MAIN(TstBackup)
#include "tst_backup.moc"
