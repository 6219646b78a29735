// Build step: writes an empty database from the schema and seed scripts, unless one exists.
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <cstdio>

#include "platform/Database.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "uso: crear_base <base> <script.sql>...\n");
        return 2;
    }
    const QString destino = QString::fromLocal8Bit(argv[1]);
    if (QFileInfo::exists(destino)) return 0;  // never overwrite a user's data
    QStringList scripts;
    for (int i = 2; i < argc; ++i) {
        QFile f(QString::fromLocal8Bit(argv[i]));
        if (!f.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "no se puede leer %s\n", argv[i]);
            return 1;
        }
        scripts << QString::fromUtf8(f.readAll());
    }
    const QString temporal = destino + ".nueva";
    QFile::remove(temporal);
    try {
        zul::Database::createFile(temporal, scripts);
    } catch (const zul::DatabaseError& e) {
        QFile::remove(temporal);
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return QFile::rename(temporal, destino) ? 0 : 1;
}
