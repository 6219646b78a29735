#include "support/BaseDePrueba.h"

#include <QFile>
#include <QTest>

#include "common/Globales.h"
#include "platform/Database.h"
#include "platform/MsgBox.h"

namespace zul::prueba {

QStringList scriptsDeLaBase() {
    QStringList scripts;
    for (const char* nombre : {"/db/schema.sql", "/db/seed.sql"}) {
        QFile f(QStringLiteral(ZUL_SOURCE_DIR) + QString::fromLatin1(nombre));
        if (!f.open(QIODevice::ReadOnly)) qFatal("no se puede leer %s", nombre);
        scripts << QString::fromUtf8(f.readAll());
    }
    return scripts;
}

BaseDePrueba::BaseDePrueba() {
    Database::closeShared();
    Database::createFile(ruta(), scriptsDeLaBase());
    RutaBase = ruta();
    CarpetaPrograma = dir_.path();
    IdEmpresa = 0;
    msgbox_prueba::activar();
    msgbox_prueba::limpiar();
}

BaseDePrueba::~BaseDePrueba() { Database::closeShared(); }

QString BaseDePrueba::ruta() const { return dir_.filePath(QStringLiteral("ZUL.mdb")); }

void BaseDePrueba::ejecutar(const QString& sql) const { Database::open(ruta()).execute(sql); }

QVariant BaseDePrueba::valor(const QString& sql) const {
    Recordset rs = Database::open(ruta()).openRecordset(sql);
    return rs.vacio() ? QVariant() : rs.value(0);
}

}  // namespace zul::prueba
