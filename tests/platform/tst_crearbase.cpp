// The build step that writes the empty database beside the program.
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "platform/Database.h"
#include "support/BaseDePrueba.h"

using namespace zul;

class TstCrearBase : public QObject {
    Q_OBJECT

    static int crear(const QString& destino) {
        const QString src = QStringLiteral(ZUL_SOURCE_DIR);
        return QProcess::execute(QStringLiteral(ZUL_OUT_DIR) + "/crear_base",
                                 {destino, src + "/db/schema.sql", src + "/db/seed.sql"});
    }

  private slots:
    void creaUnaBaseConSusFilasYNuncaLaPisa() {
        QTemporaryDir dir;
        const QString ruta = dir.filePath("ZUL.mdb");
        QCOMPARE(crear(ruta), 0);
        {
            Database& db = Database::open(ruta);
            Recordset firma =
                db.openRecordset("SELECT emp_rptDJ1,emp_rptDJ2 FROM Empresa where emp_id=0 ");
            QCOMPARE(firma.value("emp_rptDJ1").toString(), QString("DDJJ.rpt"));
            QVERIFY(db.openRecordset("select * from rubros").recordCount() >= 10);
            db.execute("insert into Categoria(Cat_Id,Cat_Nombre) values('X','datos del usuario')");
            Database::closeShared();
        }
        QCOMPARE(crear(ruta), 0);
        QCOMPARE(Database::open(ruta).openRecordset("select * from Categoria").recordCount(), 1);
        Database::closeShared();
    }
};

QTEST_MAIN(TstCrearBase)
#include "tst_crearbase.moc"
