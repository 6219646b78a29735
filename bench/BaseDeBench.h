#pragma once
// What every benchmark starts from: a fresh database in a temporary program folder, and a
// plain SQLite connection to the same file for the baseline.

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>

#include "common/Globales.h"
#include "platform/Database.h"

namespace zul::bench {

// A new ZUL.mdb from the program's schema and seed rows; RutaBase and CarpetaPrograma point at
// it. With `informes`, the shipped report files are copied beside it.
inline QTemporaryDir* CrearBase(bool informes = false) {
    auto* carpeta = new QTemporaryDir;
    RutaBase = carpeta->filePath("ZUL.mdb");
    CarpetaPrograma = carpeta->path();
    QStringList scripts;
    for (const char* nombre : {"/db/schema.sql", "/db/seed.sql"}) {
        QFile f(QStringLiteral(ZUL_SOURCE_DIR) + QString::fromLatin1(nombre));
        if (!f.open(QIODevice::ReadOnly)) std::abort();
        scripts << QString::fromUtf8(f.readAll());
    }
    Database::createFile(RutaBase, scripts);
    if (informes) {
        const QDir origen(QStringLiteral(ZUL_SOURCE_DIR) + QStringLiteral("/reports"));
        for (const QString& n : origen.entryList({"*.rpt"}, QDir::Files))
            QFile::copy(origen.filePath(n), carpeta->filePath(n));
    }
    return carpeta;
}

// The baseline needs the collation the schema names; byte order is enough for it.
inline int CompararBytes(void*, int n1, const void* a, int n2, const void* b) {
    const int r = std::memcmp(a, b, static_cast<size_t>(std::min(n1, n2)));
    return r ? r : n1 - n2;
}

inline sqlite3* AbrirCrudo() {
    sqlite3* db = nullptr;
    sqlite3_open(RutaBase.toUtf8().constData(), &db);
    sqlite3_create_collation(db, "JET", SQLITE_UTF8, nullptr, CompararBytes);
    return db;
}

inline void Exec(sqlite3* db, const char* sql) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        std::fprintf(stderr, "%s\n", error);
        std::abort();
    }
}

// Seconds since `desde`.
inline double Segundos(std::chrono::steady_clock::time_point desde) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - desde).count();
}

// Prepares the database, runs the benchmarks, then `informe` prints what they measured.
// Benchmarks of windows pass QApplication.
template <class Aplicacion = QCoreApplication>
int Correr(int argc, char** argv, const std::function<void()>& preparar,
           const std::function<void()>& informe) {
    Aplicacion app(argc, argv);
    benchmark::Initialize(&argc, argv);
    preparar();
    benchmark::RunSpecifiedBenchmarks();
    informe();
    benchmark::Shutdown();
    Database::closeShared();
    return 0;
}

}  // namespace zul::bench
