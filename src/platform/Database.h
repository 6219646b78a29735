#pragma once
// The program's one database connection: SQLite underneath, Jet dialect on top.
// Every caller hands literal SQL text; JetSql translates it before SQLite sees it.

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVarLengthArray>
#include <QVariant>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace zul {

// A statement the engine refused. Carries the engine's number and message so that
// each handler decides what the user sees ("Error Nro.: ...").
class DatabaseError : public std::runtime_error {
  public:
    DatabaseError(int numero, const QString& descripcion);
    int numero() const { return numero_; }
    QString descripcion() const { return descripcion_; }

  private:
    int numero_;
    QString descripcion_;
};

// The engine's last failure on `db` as the clerk reads it: the common conditions in Spanish,
// the engine's own words only after ours for the rare rest.
QString DescripcionDelMotor(sqlite3* db);

// The rows of one query, read at open. Fields are found by name without regard to case;
// a Null field is an invalid QVariant.
class Recordset {
  public:
    bool bof() const { return fila_ < 0 || filas_.empty(); }
    bool eof() const { return fila_ >= static_cast<int>(filas_.size()); }
    bool vacio() const { return filas_.empty(); }
    int recordCount() const { return static_cast<int>(filas_.size()); }
    void moveNext() {
        if (!eof()) ++fila_;
    }
    void moveFirst() { fila_ = 0; }

    int fieldCount() const { return static_cast<int>(nombres_.size()); }
    QString fieldName(int i) const { return nombres_.at(i); }
    // Declared type of a result column ("" for expressions), to classify search fields.
    QString fieldType(int i) const { return tipos_.at(i); }
    int fieldIndex(const QString& nombre) const;  // -1 when absent

    // Current row's value; throws DatabaseError when there is no current row or no such field.
    QVariant value(const QString& nombre) const;
    QVariant value(int i) const;
    bool isNull(const QString& nombre) const { return value(nombre).isNull(); }
    // Yes/no columns: any non-zero number reads as true; Null reads as false.
    bool boolValue(const QString& nombre) const;
    bool boolValue(int i) const;
    // Hands over every row (the recordset is left empty), for a list that keeps them all.
    std::vector<std::vector<QVariant>> tomarFilas() {
        fila_ = 0;
        return std::move(filas_);
    }

  private:
    friend class Database;
    QStringList nombres_;
    QStringList tipos_;
    std::vector<std::vector<QVariant>> filas_;
    int fila_ = 0;
};

class Database {
  public:
    // The shared connection on the file at `ruta`; reopened when the path changes.
    // A missing or unreadable file throws DatabaseError (the program never creates one).
    static Database& open(const QString& ruta);
    // Closes the shared connection (tests, and before the file is copied or replaced).
    static void closeShared();
    // Creates a new database file from SQL scripts; used by the build and by tests.
    static void createFile(const QString& ruta, const QStringList& scripts);

    QString path() const { return ruta_; }

    // Runs one statement (Jet dialect) and returns the rows it changed. `opciones` is accepted
    // for the callers' sake: every statement already applies as a whole or not at all. Outside
    // a transaction the statement is one of its own, which checks the file first (beginTrans).
    int execute(const QString& sql, int opciones = 0);
    Recordset openRecordset(const QString& sql);

    // What a statement does, as a restriction sees it: a table it reads or writes, a
    // sub-query, a function call, or anything else (schema, pragmas, transactions, attach).
    enum class Acceso { Leer, Insertar, Modificar, Borrar, Consultar, Funcion, Otro };
    // `tabla` is empty for the accesses that name none.
    using Permiso = std::function<bool(Acceso acceso, const QString& tabla)>;
    // While a restriction is set, a statement that does anything it refuses is refused as a
    // whole (when compiled, before it runs). An empty permiso lifts it.
    void restringir(Permiso permiso);
    // Compiles a statement without running it; throws DatabaseError as execute would on a
    // malformed or refused statement, or on a text holding more than one statement.
    // Returns true when the statement writes.
    bool comprobar(const QString& sql);

    static constexpr int kEspera = 5000;  // milliseconds, see esperarBloqueo
    // How long a statement waits for another copy to release the file before it fails as in
    // use: 5 s once open (start-up waits less, to say at once that the file is in use).
    void esperarBloqueo(int milisegundos);

    // Reads the whole file and throws DatabaseError when a table and its indexes disagree or a
    // page is damaged. Runs once per connection; a file cut short is refused already at open.
    void verificarIntegridad();

    // Takes the write lock and checks the file's size: a file damaged since it was opened
    // throws DatabaseError and nothing is written.
    void beginTrans();
    void commitTrans();
    void rollback();
    bool inTransaction() const;

    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

  private:
    friend class Lectura;
    explicit Database(const QString& ruta, bool crear);
    void ejecutarNativo(const QString& sql);
    int ejecutarUno(const QString& sql);
    [[noreturn]] void fallar(sqlite3_stmt* st = nullptr) const;
    bool compilarSolo(const QString& sql);
    void verificarTamanio();

    // The prepared statement of this shape, reset and bound to `valores`.
    using Valores = QVarLengthArray<QVariant, 24>;
    // `escrito` is the statement as the caller wrote it, for the engine's message on failure.
    sqlite3_stmt* sentenciaCompartida(const QString& sql, const Valores& valores,
                                      const QString& escrito);
    // A statement refused in its shared form: compiled as written for the engine's message,
    // or `forma` thrown.
    [[noreturn]] void fallarComoEscrito(const DatabaseError& forma, const QString& escrito);

    QString ruta_;
    sqlite3* db_ = nullptr;
    // Prepared statements by their shape: a declaration writes and reads thousands alike.
    QHash<QString, sqlite3_stmt*> preparadas_;
    Permiso permiso_;
    QHash<QString, bool> comprobadas_;  // shapes compiled under the restriction: writes?
    bool integra_ = false;              // verificarIntegridad found nothing
};

// Rolls the transaction back unless commit() was reached: a failing statement leaves nothing.
// Inside a transaction already open it joins it, and the outer one decides.
class Transaction {
  public:
    explicit Transaction(Database& db);
    ~Transaction();
    void commit();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

  private:
    Database& db_;
    bool abierta_ = true;
    bool propia_ = true;  // false: joined the transaction of a caller
};

// Holds one read transaction while it lives: a burst of small queries (a window loading
// thousands of rows) takes the file's lock and checks the file once, not once per query.
// Inside a transaction already open it does nothing.
class Lectura {
  public:
    explicit Lectura(Database& db);
    ~Lectura();
    Lectura(const Lectura&) = delete;
    Lectura& operator=(const Lectura&) = delete;

  private:
    Database* db_ = nullptr;  // null when it opened nothing
};

// Keeps a restriction on the connection while it lives (see Database::restringir).
class Restriccion {
  public:
    Restriccion(Database& db, Database::Permiso permiso);
    ~Restriccion();
    Restriccion(const Restriccion&) = delete;
    Restriccion& operator=(const Restriccion&) = delete;

  private:
    Database& db_;
};

}  // namespace zul
