// The database layer: Jet texts as the windows send them, run on SQLite.
#include <sqlite3.h>

#include <QFile>
#include <QtTest>
#include <functional>
#include <optional>

#include "platform/Database.h"
#include "platform/JetSql.h"
#include "support/BaseDePrueba.h"

using namespace zul;

namespace {

// The system's default file layer, with every write to a database file failing while it is
// installed, as on a disk that cannot be written; only the write is replaced.
class DiscoQueFalla {
  public:
    static void instalar() {
        real_ = sqlite3_vfs_find(nullptr);
        vfs_ = *real_;
        vfs_.zName = "disco_que_falla";
        vfs_.pNext = nullptr;
        vfs_.xOpen = Abrir;
        falla_ = true;
        sqlite3_vfs_register(&vfs_, 1);
    }
    // Writes work again, so that the connection can be closed cleanly.
    static void quitar() {
        falla_ = false;
        if (real_) sqlite3_vfs_register(real_, 1);
        sqlite3_vfs_unregister(&vfs_);
    }

  private:
    static int Abrir(sqlite3_vfs*, sqlite3_filename nombre, sqlite3_file* archivo, int flags,
                     int* salida) {
        const int rc = real_->xOpen(real_, nombre, archivo, flags, salida);
        // Only the database file: each kind of file has methods of its own.
        if (rc == SQLITE_OK && archivo->pMethods && (flags & SQLITE_OPEN_MAIN_DB)) {
            escribir_ = archivo->pMethods->xWrite;
            metodos_ = *archivo->pMethods;
            metodos_.xWrite = [](sqlite3_file* f, const void* datos, int n, sqlite3_int64 desde) {
                return falla_ ? SQLITE_IOERR_WRITE : escribir_(f, datos, n, desde);
            };
            archivo->pMethods = &metodos_;
        }
        return rc;
    }
    static inline bool falla_ = false;
    static inline sqlite3_vfs* real_ = nullptr;
    static inline sqlite3_vfs vfs_{};
    static inline sqlite3_io_methods metodos_{};
    static inline int (*escribir_)(sqlite3_file*, const void*, int, sqlite3_int64) = nullptr;
};

}  // namespace

class TstDatabase : public QObject {
    Q_OBJECT

  private slots:
    void traduccionRespetaTextoEntreComillas() {
        const QStringList r = jet::traducir(
            "insert into Categoria(Cat_Id,Cat_Nombre) values('#1', 'D''Angelo #03/04/2024#')");
        QCOMPARE(r, QStringList{"insert into Categoria(Cat_Id,Cat_Nombre) values('#1', "
                                "'D''Angelo #03/04/2024#')"});
        QCOMPARE(jet::traducir("select * from t where a=\"it's\""),
                 QStringList{"select * from t where a='it''s'"});
    }

    void traduccionDeFechasYBorrado() {
        QCOMPARE(jet::traducir("SELECT * FROM DDJJ where DDJJ_Periodo= #05/01/2024# and h=#7:05#"),
                 QStringList{"SELECT * FROM DDJJ where DDJJ_Periodo= '2024-05-01' and h='07:05'"});
        QCOMPARE(jet::traducir("delete * from Empleo"), QStringList{"delete from Empleo"});
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, jet::traducir("select #02/30/2024#"));
        QCOMPARE(
            jet::traducir("alter table empleado add Ado_Remunera double,Ado_NORemunera double"),
            (QStringList{"ALTER TABLE empleado ADD COLUMN Ado_Remunera double",
                         "ALTER TABLE empleado ADD COLUMN Ado_NORemunera double"}));
    }

    void escriturasDeLaMismaFormaCompartenSentencia() {
        const auto p = jet::parametrizar(
            "insert into Bajas (Baj_DDJJ, Baj_Empleado) values (7, 'D''A,x', -2.5, NULL,'')");
        QVERIFY(p);
        QCOMPARE(p->sql,
                 QString("insert into Bajas (Baj_DDJJ, Baj_Empleado) values (?, ?, -?, NULL,?)"));
        QCOMPARE(QVariantList(p->valores.begin(), p->valores.end()),
                 (QVariantList{qlonglong(7), "D'A,x", 2.5, ""}));
        const auto u = jet::parametrizar(
            "update empleo set emp_sueldo = emp_sueldo * 1.1 where Empleo.emp_codigo =  5 and "
            "DDJJ_2Remu='x'");
        QVERIFY(u);
        QCOMPARE(u->sql, QString("update empleo set emp_sueldo = emp_sueldo * ? where "
                                 "Empleo.emp_codigo =  ? and DDJJ_2Remu=?"));
        QCOMPARE(QVariantList(u->valores.begin(), u->valores.end()),
                 (QVariantList{1.1, qlonglong(5), "x"}));
        // Reads share their statement from the WHERE on; nothing changes from an ORDER BY on.
        const auto s = jet::parametrizar(
            "select 1 as x, a from t where b='1' and c=2.5 and month(d)=5 order by 1");
        QVERIFY(s);
        QCOMPARE(s->sql,
                 QString("select 1 as x, a from t where b=? and c=? and month(d)=? order by 1"));
        QCOMPARE(QVariantList(s->valores.begin(), s->valores.end()),
                 (QVariantList{"1", 2.5, qlonglong(5)}));
        QVERIFY(!jet::parametrizar("select * from t"));
        QVERIFY(!jet::parametrizar("delete from t"));

        prueba::BaseDePrueba base;
        Database& db = Database::open(base.ruta());
        for (const char* v : {"(1,1,0,1,NULL)", "(2,1,1,'5',#01/31/2024#)"})
            db.execute(QString("insert into prestamo(pre_Id,pre_IdEmpresa,pre_importe,pre_cuotas,"
                               "pre_Fecha) values %1")
                           .arg(v));
        Recordset rs = db.openRecordset("select * from prestamo order by pre_Id");
        QCOMPARE(rs.recordCount(), 2);
        rs.moveNext();
        QCOMPARE(rs.value("pre_cuotas").toInt(), 5);  // the column's type still applies
        QCOMPARE(rs.value("pre_fecha").toString(), QString("2024-01-31"));
        // A refused row through a shared statement reports, and the next one still goes in.
        QVERIFY_THROWS_EXCEPTION(
            DatabaseError, db.execute("insert into prestamo(pre_Id,pre_IdEmpresa) values (2,1)"));
        db.execute("insert into prestamo(pre_Id,pre_IdEmpresa) values (3,1)");
        QCOMPARE(db.openRecordset("select * from prestamo").recordCount(), 3);
    }

    void comparacionSinMayusculasConAcentos() {
        QCOMPARE(jet::compararSinMayusculas("ÁRBOL", "árbol"), 0);
        QCOMPARE(jet::compararSinMayusculas("PEÑA", "peña"), 0);
        QVERIFY(jet::compararSinMayusculas("á", "a") != 0);
        QVERIFY(jet::like("%GÓMEZ%", "Juan gómez"));
        QVERIFY(jet::like("g_mez", "GOMEZ"));
        QVERIFY(!jet::like("%gomez%", "Juan gómez"));
        QVERIFY(!jet::like("ab", "abc"));
        // A later "%" goes back over what an earlier one skipped.
        QVERIFY(jet::like("%D''A%", "García D''Alessandro D''Amico"));
        QVERIFY(jet::like("%ab", "aab"));
        QVERIFY(jet::like("a%b%c", "axbxbc"));
        QVERIFY(!jet::like("a%b", "abc"));
        QVERIFY(jet::like("%%", ""));
        // Beyond Latin-1, and "_" over an accented letter.
        QVERIFY(jet::like("%łódź%", "Calle ŁÓDŹ 12"));
        QVERIFY(jet::like("%Ó%", "ŁódŹ"));
        QVERIFY(jet::like("pe_a", "PEÑA"));
        QVERIFY(!jet::like("pe_a", "PEÑÑA"));
    }

    void camposPorNombreYNulos() {
        prueba::BaseDePrueba base;
        Database& db = Database::open(base.ruta());
        db.execute(
            "insert into Empresa(Emp_Id,Emp_Nombre,Emp_Domicilio, Emp_Localidad,Emp_CUIT,"
            "Emp_Telefono,emp_fecini,emp_perjur,emp_rubro) values(3,'D''Angelo #1',"
            "'','','20-12345678-6','',#12/31/2007#,1,'5')");
        Recordset rs = db.openRecordset("SELECT * FROM Empresa where emp_id=3");
        QVERIFY(!rs.bof() && !rs.eof());
        QCOMPARE(rs.recordCount(), 1);
        QCOMPARE(rs.value("EMP_NOMBRE").toString(), QString("D'Angelo #1"));
        QCOMPARE(rs.value("emp_fecini").toString(), QString("2007-12-31"));
        QCOMPARE(rs.value("emp_rubro").toInt(), 5);  // quoted digits compare with the number
        QVERIFY(rs.boolValue("emp_perjur"));
        QVERIFY(rs.isNull("emp_empresanro"));
        QVERIFY_THROWS_EXCEPTION(DatabaseError, rs.value("no_existe"));
        rs.moveNext();
        QVERIFY(rs.eof());
        QVERIFY_THROWS_EXCEPTION(DatabaseError, rs.value("emp_id"));

        // Text keys compare without regard to case, accented capitals included.
        db.execute("insert into Categoria(Cat_Id,Cat_Nombre) values('Ñandú','')");
        QCOMPARE(db.openRecordset("SELECT * FROM Categoria where Cat_Id='ÑANDÚ'").recordCount(), 1);
        QCOMPARE(db.openRecordset("SELECT * FROM Categoria where Cat_Id='nandu'").recordCount(), 0);
    }

    void maximoSobreNingunaFilaEsNulo() {
        prueba::BaseDePrueba base;
        Database& db = Database::open(base.ruta());
        Recordset rs = db.openRecordset("SELECT max(DDJJ_Id) as Max  FROM DDJJ");
        QCOMPARE(rs.recordCount(), 1);
        QVERIFY(rs.isNull("Max"));
        rs = db.openRecordset("SELECT max(Ado_Id) as Max  FROM Empleado where ado_IdEmpresa=4");
        QVERIFY(rs.isNull("max"));
    }

    void consultasDeLaDeclaracion() {
        prueba::BaseDePrueba base;
        Database& db = Database::open(base.ruta());
        db.execute("insert into Categoria(Cat_Id,Cat_Nombre) values('A','Administrativo')");
        for (int id = 1; id <= 3; ++id)
            db.execute(QString("insert into Empleado(Ado_Id,Ado_Nombre,Ado_Categoria,Ado_Sueldo,"
                               "Ado_FechaEgreso,ado_IdEmpresa) values(%1,'E%1','a',100.5,%2,2)")
                           .arg(id)
                           .arg(id == 1 ? "NULL" : "#03/15/2024#"));
        db.execute(
            "insert into Bajas (Baj_DDJJ, Baj_Empleado,Baj_FecEgreso,Baj_Sueldo,Baj_IdCatego,"
            "baj_idempresa) values (1,2,#03/15/2024#,100.5,0,2)");
        Recordset rs = db.openRecordset(
            "select ado_Sueldo as Sueldo, Ado_Categoria as IdCatego, * From empleado, categoria "
            "where cat_id=ado_categoria and  not Ado_FechaEgreso is null and ado_idempresa=2"
            " and ado_id not in (select Baj_Empleado from bajas where baj_idempresa=2)");
        QCOMPARE(rs.recordCount(), 1);
        QCOMPARE(rs.value("ado_id").toInt(), 3);
        QCOMPARE(rs.value("Sueldo").toDouble(), 100.5);
        QCOMPARE(rs.value("cat_nombre").toString(), QString("Administrativo"));

        db.execute("insert into prestamocuota values(1,1,1,250.25,#05/10/2024#,2)");
        db.execute("insert into prestamocuota values(1,2,1,250.25,#06/10/2024#,2)");
        rs = db.openRecordset(
            "select sum(pcu_importe) as prestamo from PrestamoCuota where pcu_idempleado= 1"
            " and month(pcu_fechaven)=5 and year(pcu_fechaven)=2024 and pcu_idempresa=2");
        QCOMPARE(rs.value("prestamo").toDouble(), 250.25);
        rs = db.openRecordset(
            "SELECT month(pcu_fechaven) as Mes, year(pcu_fechaven) as Año FROM PrestamoCuota "
            "where pcu_nrocuota=2");
        QCOMPARE(rs.value("mes").toInt(), 6);
        QCOMPARE(rs.value("AÑO").toInt(), 2024);
    }

    void errorLlevaElMensajeDelMotor() {
        prueba::BaseDePrueba base;
        Database& db = Database::open(base.ruta());
        try {
            db.execute("insert into NoHay values(1)");
            QFAIL("debía fallar");
        } catch (const DatabaseError& e) {
            QVERIFY(e.numero() != 0);
            QVERIFY(e.descripcion().contains("NoHay"));
        }
    }

    // Each common condition in one Spanish sentence, without the engine's English after it.
    void causasEnCastellano_data() {
        QTest::addColumn<QString>("falla");
        QTest::addColumn<QString>("descripcion");  // <ruta> stands for the file's path
        const auto caso = [](const char* falla, const QString& descripcion) {
            QTest::newRow(falla) << QString::fromUtf8(falla) << descripcion;
        };
        caso("clave repetida", "Ya existe un registro con la misma clave.");
        caso("sólo lectura", "La base de datos es de sólo lectura.");
        caso("en uso", "La base de datos está en uso.");
        caso("instrucción rechazada", "La instrucción hace algo que aquí no está permitido.");
        caso("error de sintaxis", "Error de sintaxis cerca de \"'Ayudante'\".");
        caso("tabla inexistente", "No existe la tabla NoHay.");
        caso("dato obligatorio", "Falta un dato obligatorio: el código de la categoría.");
        caso("dato obligatorio de la escala",
             "Falta un dato obligatorio: la categoría de la escala de sueldos.");
        caso("instrucción no autorizada", "La instrucción hace algo que aquí no está permitido.");
        caso("tabla interna",
             "La instrucción quiere cambiar la estructura interna de la base de datos, lo que no "
             "está permitido.");
        caso("formato no soportado",
             "No se puede leer la base de datos '<ruta>'. El archivo de la base de datos está "
             "dañado o es de una versión que este programa no lee. Restaure la última copia de "
             "seguridad.");
        caso("palabra larga", "Error de sintaxis: no se reconoce '" + QString(59, 'x') + "….");
        caso("tipo de dato", "Un valor no es del tipo de su campo.");
        caso("disco lleno", "El disco está lleno.");
        caso("error de escritura", "Error de lectura o escritura en la unidad.");
        caso("no es una base",
             "No se puede leer la base de datos '<ruta>'. El archivo no es una base de datos.");
        caso("carácter nulo", "La instrucción contiene el carácter nulo.");
        caso("caso raro",
             "La base de datos no pudo completar la operación (misuse of aggregate "
             "function max()).");
    }

    void causasEnCastellano() {
        QFETCH(QString, falla);
        QFETCH(QString, descripcion);
        prueba::BaseDePrueba base;
        Database& db = Database::open(base.ruta());
        db.execute("insert into Categoria(Cat_Id,Cat_Nombre) values('A','')");
        const QString otra = "insert into Categoria(Cat_Id,Cat_Nombre) values('B','')";
        sqlite3* ajena = nullptr;
        std::optional<Restriccion> nada;
        std::function<void()> provocar = [&] { db.execute(otra); };
        if (falla == "clave repetida") {
            provocar = [&] {
                db.execute("insert into Categoria(Cat_Id,Cat_Nombre) values('a','')");
            };
        } else if (falla == "sólo lectura") {
            db.execute("PRAGMA query_only=1");  // as a file the user may not write
        } else if (falla == "en uso") {
            // Another copy of the program in the middle of its save.
            QCOMPARE(sqlite3_open(base.ruta().toUtf8().constData(), &ajena), SQLITE_OK);
            QCOMPARE(sqlite3_exec(ajena, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
        } else if (falla == "instrucción rechazada") {
            nada.emplace(db, [](Database::Acceso, const QString&) { return false; });
        } else if (falla == "error de sintaxis") {
            provocar = [&] { db.execute("insert into Categoria values ('D' 'Ayudante')"); };
        } else if (falla == "tabla inexistente") {
            provocar = [&] { db.execute("insert into NoHay values(1)"); };
        } else if (falla == "dato obligatorio") {
            provocar = [&] { db.execute("insert into Categoria(Cat_Nombre) values('x')"); };
        } else if (falla == "dato obligatorio de la escala") {
            provocar = [&] { db.execute("insert into Empleo(emp_codigo,emp_antigu) values(1,0)"); };
        } else if (falla == "instrucción no autorizada") {
            // A table-valued pragma is refused with the engine's plain error number.
            nada.emplace(db, [](Database::Acceso a, const QString& tabla) {
                return a == Database::Acceso::Consultar || tabla == "Categoria";
            });
            provocar = [&] {
                db.comprobar(
                    "delete from Categoria where Cat_Id in (select name from "
                    "pragma_table_info('Empresa'))");
            };
        } else if (falla == "tabla interna") {
            provocar = [&] { db.execute("delete from sqlite_master"); };
        } else if (falla == "formato no soportado") {
            // The header says the schema is of a format newer than any this engine reads.
            Database::closeShared();
            QFile archivo(base.ruta());
            QVERIFY(archivo.open(QIODevice::ReadWrite));
            QVERIFY(archivo.seek(47));
            archivo.write("\x09", 1);
            archivo.close();
            provocar = [&] { Database::open(base.ruta()); };
        } else if (falla == "palabra larga") {
            provocar = [&] { db.execute("insert into Categoria values ('" + QString(5000, 'x')); };
        } else if (falla == "tipo de dato") {
            provocar = [&] { db.execute("insert into Empresa(Emp_Id) values('uno')"); };
        } else if (falla == "disco lleno") {
            db.execute("PRAGMA max_page_count=" +
                       db.openRecordset("PRAGMA page_count").value(0).toString());
            provocar = [&] {
                db.execute(
                    QString("insert into Categoria values ('C', '%1')").arg(QString(9000, 'x')));
            };
        } else if (falla == "error de escritura") {
            Database::closeShared();
            DiscoQueFalla::instalar();
            provocar = [&] { Database::open(base.ruta()).execute(otra); };
        } else if (falla == "no es una base") {
            Database::closeShared();
            QFile basura(base.ruta());
            QVERIFY(basura.open(QIODevice::WriteOnly | QIODevice::Truncate));
            basura.write(QByteArray(8192, 'x'));
            basura.close();
            provocar = [&] { Database::open(base.ruta()); };
        } else if (falla == "carácter nulo") {
            // Compiling it without running it once went round for ever.
            provocar = [&] { db.comprobar(otra + QString(3, QChar(0))); };
        } else if (falla == "caso raro") {
            provocar = [&] { db.openRecordset("select * from Categoria where max(Cat_Id) = 1"); };
        }
        QString obtenida = "(ninguna falla)";
        try {
            provocar();
        } catch (const DatabaseError& e) {
            obtenida = e.descripcion();
        }
        DiscoQueFalla::quitar();
        sqlite3_close(ajena);
        QCOMPARE(obtenida, QString(descripcion).replace("<ruta>", base.ruta()));
    }

    void alterDeDosColumnasEsTodoONada() {
        prueba::BaseDePrueba base;
        Database& db = Database::open(base.ruta());
        // Ado_Remunera exists already: the second column must not be added alone.
        QVERIFY_THROWS_EXCEPTION(
            DatabaseError, db.execute("alter table empleado add Nueva double,Ado_Remunera double"));
        QVERIFY_THROWS_EXCEPTION(DatabaseError, db.openRecordset("select Nueva from empleado"));
        db.execute("alter table DDJJ add Uno varchar(32),Dos double");
        db.openRecordset("select Uno, Dos from DDJJ");
    }

    void transaccionVuelveAtrasSiNoSeConfirma() {
        prueba::BaseDePrueba base;
        Database& db = Database::open(base.ruta());
        try {
            Transaction t(db);
            db.execute("insert into Categoria(Cat_Id,Cat_Nombre) values('X','')");
            db.execute("insert into Categoria(Cat_Id,Cat_Nombre) values('x','')");  // same key
            t.commit();
        } catch (const DatabaseError&) {
        }
        QVERIFY(!db.inTransaction());
        QCOMPARE(db.openRecordset("select * from Categoria").recordCount(), 0);
        {
            Transaction t(db);
            db.execute("insert into Categoria(Cat_Id,Cat_Nombre) values('Y','')");
            t.commit();
        }
        QCOMPARE(db.openRecordset("select * from Categoria").recordCount(), 1);
    }

    void restriccionAlcanzaSentenciasYaPreparadas() {
        prueba::BaseDePrueba base;
        Database& db = Database::open(base.ruta());
        const QString empresa = "insert into Empresa (Emp_Id, Emp_Nombre) values (%1, 'Acme')";
        db.execute(empresa.arg(1));  // its shape is prepared and kept before the restriction
        {
            Restriccion soloCategorias(db, [](Database::Acceso a, const QString& tabla) {
                return a == Database::Acceso::Insertar && tabla == "Categoria";
            });
            QVERIFY_THROWS_EXCEPTION(DatabaseError, db.execute(empresa.arg(2)));
            QVERIFY_THROWS_EXCEPTION(DatabaseError, db.comprobar(empresa.arg(3)));
            QVERIFY(db.comprobar("insert into Categoria values ('A', 'x')"));
            QVERIFY_THROWS_EXCEPTION(DatabaseError, db.comprobar("begin"));
        }
        db.execute(empresa.arg(4));
        QCOMPARE(db.openRecordset("select * from Empresa where Emp_Id > 0").recordCount(), 2);
        QCOMPARE(db.openRecordset("select * from Categoria").recordCount(), 0);
    }

    void archivoAusenteOIlegible() {
        QTemporaryDir dir;
        QVERIFY_THROWS_EXCEPTION(DatabaseError, Database::open(dir.filePath("ZUL.mdb")));
        QVERIFY(!QFile::exists(dir.filePath("ZUL.mdb")));  // never created by opening
        QFile basura(dir.filePath("basura.mdb"));
        QVERIFY(basura.open(QIODevice::WriteOnly));
        basura.write(QByteArray(4096, 'x'));
        basura.close();
        QVERIFY_THROWS_EXCEPTION(DatabaseError, Database::open(basura.fileName()));
    }

    // A burst of reads holds the file once; a transaction already open is left to its owner.
    void lecturaSostenida_data() {
        QTest::addColumn<bool>("conTransaccion");
        QTest::newRow("sola") << false;
        QTest::newRow("dentro de una transacción") << true;
    }

    void lecturaSostenida() {
        QFETCH(bool, conTransaccion);
        prueba::BaseDePrueba base;
        Database& db = Database::open(base.ruta());
        std::optional<Transaction> t;
        if (conTransaccion) t.emplace(db);
        {
            Lectura lectura(db);
            QVERIFY(db.inTransaction());
            QCOMPARE(db.openRecordset("select count(*) as n from Empresa").recordCount(), 1);
        }
        QCOMPARE(db.inTransaction(), conTransaccion);
        if (t) t->commit();
        QVERIFY(!db.inTransaction());
    }
};

QTEST_MAIN(TstDatabase)
#include "tst_database.moc"
