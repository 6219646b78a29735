#include "platform/Database.h"

#include <sqlite3.h>

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cerrno>

#include "platform/JetSql.h"
#include "platform/MsgBox.h"

namespace zul {
namespace {

std::unique_ptr<Database> compartida;

constexpr int kEsperaAlAbrir = 500;  // milliseconds, for the first read of the file

const QString kDanada = QStringLiteral(
    "El archivo de la base de datos está dañado. Restaure la última copia de seguridad.");

DatabaseError Ilegible(const QString& ruta, const DatabaseError& e) {
    return DatabaseError(e.numero(),
                         "No se puede leer la base de datos '" + ruta + "'. " + e.descripcion());
}

QString desdeUtf8(const unsigned char* s, int n) {
    return QString::fromUtf8(reinterpret_cast<const char*>(s), n);
}

QString textoArg(sqlite3_value* v) {
    return desdeUtf8(sqlite3_value_text(v), sqlite3_value_bytes(v));
}

// month() and year() of an ISO date text; Null for Null or a text that is not a date.
void parteFecha(sqlite3_context* ctx, sqlite3_value** argv, bool mes) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    const unsigned char* t = sqlite3_value_text(argv[0]);
    const int n = sqlite3_value_bytes(argv[0]);
    const auto dig = [t](int i) { return t[i] >= '0' && t[i] <= '9'; };
    if (n < 10 || !(dig(0) && dig(1) && dig(2) && dig(3) && t[4] == '-' && dig(5) && dig(6) &&
                    t[7] == '-' && dig(8) && dig(9)))
        return sqlite3_result_null(ctx);
    const int anio = (t[0] - '0') * 1000 + (t[1] - '0') * 100 + (t[2] - '0') * 10 + (t[3] - '0');
    const int m = (t[5] - '0') * 10 + (t[6] - '0');
    const int d = (t[8] - '0') * 10 + (t[9] - '0');
    if (!QDate::isValid(anio, m, d)) return sqlite3_result_null(ctx);
    sqlite3_result_int(ctx, mes ? m : anio);
}

void funcMes(sqlite3_context* ctx, int, sqlite3_value** argv) {
    parteFecha(ctx, argv, true);
}
void funcAnio(sqlite3_context* ctx, int, sqlite3_value** argv) {
    parteFecha(ctx, argv, false);
}

void funcLike(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    (void)argc;
    // The pattern is the same for every row of a statement: folded once and kept with it.
    auto* patron = static_cast<jet::Patron*>(sqlite3_get_auxdata(ctx, 0));
    std::optional<jet::Patron> suelto;
    if (!patron) {
        sqlite3_set_auxdata(ctx, 0, new jet::Patron(jet::prepararPatron(textoArg(argv[0]))),
                            [](void* p) { delete static_cast<jet::Patron*>(p); });
        patron = static_cast<jet::Patron*>(sqlite3_get_auxdata(ctx, 0));
        if (!patron) patron = &suelto.emplace(jet::prepararPatron(textoArg(argv[0])));
    }
    const auto* texto = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
    sqlite3_result_int(ctx, jet::like(*patron, texto, sqlite3_value_bytes(argv[1])) ? 1 : 0);
}

int colacion(void*, int na, const void* a, int nb, const void* b) {
    const auto* pa = static_cast<const unsigned char*>(a);
    const auto* pb = static_cast<const unsigned char*>(b);
    // ASCII on both sides is the common case: compare folded bytes without decoding.
    bool ascii = true;
    for (int i = 0; i < na && ascii; ++i) ascii = pa[i] < 0x80;
    for (int i = 0; i < nb && ascii; ++i) ascii = pb[i] < 0x80;
    if (ascii) {
        const int n = std::min(na, nb);
        for (int i = 0; i < n; ++i) {
            int x = pa[i], y = pb[i];
            if (x >= 'A' && x <= 'Z') x += 32;
            if (y >= 'A' && y <= 'Z') y += 32;
            if (x != y) return x - y;
        }
        return na - nb;
    }
    return jet::compararSinMayusculas(desdeUtf8(pa, na), desdeUtf8(pb, nb));
}

const char* const kNoPermitida = "La instrucción hace algo que aquí no está permitido.";
const char* const kTablaInterna =
    "La instrucción quiere cambiar la estructura interna de la base de datos, lo que no está "
    "permitido.";

// The engine's words for the statements it cannot read, and the program's. Only the names
// the engine quotes are kept.
const struct {
    const char* motor;
    const char* nuestro;
} kErroresSql[] = {
    {R"re(^near "(.*)": syntax error$)re", "Error de sintaxis cerca de \"%1\"."},
    {R"re(^incomplete input$)re", "La instrucción está incompleta."},
    {R"re(^unrecognized token: "(.*)"$)re", "Error de sintaxis: no se reconoce %1."},
    {R"re(^no such table: (.*)$)re", "No existe la tabla %1."},
    {R"re(^no such column: (.*)$)re", "No existe la columna %1."},
    {R"re(^table (\S+) has no column named (.*)$)re", "La tabla %1 no tiene la columna %2."},
    {R"re(^table (\S+) has (\d+) columns but (\d+) values were supplied$)re",
     "La tabla %1 tiene %2 columnas y se dieron %3 valores."},
    {R"re(^(\d+) values for (\d+) columns$)re", "Se dieron %1 valores para %2 columnas."},
    {R"re(^no such function: (.*)$)re", "No existe la función %1."},
    {R"re(^duplicate column name: (.*)$)re", "La columna %1 ya existe."},
    {R"re(^ambiguous column name: (.*)$)re", "El nombre de columna %1 es ambiguo."},
    {R"re(^not authorized$)re", kNoPermitida},
    {R"re(^access to \S+ is prohibited$)re", kNoPermitida},
    {R"re(^table \S+ may not be (modified|dropped|altered)$)re", kTablaInterna},
    {R"re(^object name reserved for internal use: \S+$)re", kTablaInterna},
    {R"re(^unsupported file format$)re",
     "El archivo de la base de datos está dañado o es de una versión que este programa no lee. "
     "Restaure la última copia de seguridad."},
};

// A quoted word or the engine's own words can be a whole line of an imported file: the start
// says where it is.
constexpr qsizetype kCitaMaxima = 60;

QString Cita(const QString& texto) {
    return texto.size() <= kCitaMaxima ? texto : texto.left(kCitaMaxima) + QChar(0x2026);
}

// Readable names of the columns that must hold a value, by "Tabla.columna" as the engine
// quotes them.
const struct {
    const char* columna;
    const char* nombre;
} kDatosObligatorios[] = {
    {"Empresa.Emp_Id", "el código de la empresa"},
    {"Categoria.Cat_Id", "el código de la categoría"},
    {"Empleo.emp_codigo", "el código de la escala de sueldos"},
    {"Empleo.emp_catego", "la categoría de la escala de sueldos"},
    {"Empleo.emp_antigu", "la antigüedad de la escala de sueldos"},
    {"Empleado.Ado_Id", "el código del empleado"},
    {"Empleado.ado_IdEmpresa", "la empresa del empleado"},
    {"DDJJ.DDJJ_Id", "el número de la declaración jurada"},
    {"EmpleadoXDDJJ.ExD_IdDDJJ", "la declaración jurada de un empleado declarado"},
    {"EmpleadoXDDJJ.ExD_IdEmpleado", "el empleado de una línea de la declaración jurada"},
    {"Bajas.Baj_DDJJ", "la declaración jurada de una baja"},
    {"Bajas.Baj_Empleado", "el empleado de una baja"},
    {"Prestamo.pre_Id", "el número del préstamo"},
    {"Prestamo.pre_IdEmpresa", "la empresa del préstamo"},
    {"PrestamoCuota.pcu_idPrestamo", "el préstamo de una cuota"},
    {"PrestamoCuota.pcu_nrocuota", "el número de cuota del préstamo"},
    {"PrestamoCuota.pcu_IdEmpresa", "la empresa de una cuota del préstamo"},
    {"impresoras.imp_equipo", "el nombre del equipo de las impresoras"},
    {"rubros.codigo", "el código del rubro"},
};

QString FaltaDato(const QString& motor) {
    const QString columna = motor.section(QStringLiteral(": "), 1);
    for (const auto& d : kDatosObligatorios)
        if (columna.compare(QLatin1String(d.columna), Qt::CaseInsensitive) == 0)
            return QStringLiteral("Falta un dato obligatorio: %1.")
                .arg(QString::fromUtf8(d.nombre));
    return QStringLiteral("Falta un dato obligatorio.");
}

QString ErrorSql(const QString& motor) {
    static const auto patrones = [] {
        std::vector<QRegularExpression> r;
        for (const auto& e : kErroresSql) r.emplace_back(QString::fromUtf8(e.motor));
        return r;
    }();
    for (size_t i = 0; i < patrones.size(); ++i) {
        const QRegularExpressionMatch m = patrones[i].match(motor);
        if (!m.hasMatch()) continue;
        // In one pass: a quoted name may itself hold "%1".
        const QString molde = QString::fromUtf8(kErroresSql[i].nuestro);
        QString texto;
        for (qsizetype k = 0; k < molde.size(); ++k) {
            const bool marca = molde[k] == '%' && k + 1 < molde.size() && molde[k + 1].isDigit();
            if (marca)
                texto += Cita(m.captured(molde[++k].digitValue()));
            else
                texto += molde[k];
        }
        return texto;
    }
    return {};
}

// What the user reads of a refused statement: the common conditions in Spanish, each in one
// sentence; only for the rare rest the engine's own words follow ours. `sistema` is the
// system's error number behind a failed read or write.
QString DescripcionError(int codigo, const QString& motor, int sistema) {
    switch (codigo & 0xFF) {
        case SQLITE_CONSTRAINT:
            if (codigo == SQLITE_CONSTRAINT_TRIGGER) return motor;  // a trigger words its own
            if (codigo == SQLITE_CONSTRAINT_UNIQUE || codigo == SQLITE_CONSTRAINT_PRIMARYKEY)
                return QStringLiteral("Ya existe un registro con la misma clave.");
            if (codigo == SQLITE_CONSTRAINT_NOTNULL) return FaltaDato(motor);
            return QStringLiteral("El registro no cumple una condición de la base de datos.");
        case SQLITE_MISMATCH:
            return QStringLiteral("Un valor no es del tipo de su campo.");
        case SQLITE_AUTH:
            return QString::fromUtf8(kNoPermitida);
        case SQLITE_READONLY:
            return QStringLiteral("La base de datos es de sólo lectura.");
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return QStringLiteral("La base de datos está en uso.");
        case SQLITE_FULL:
            return CausaComunDelSistema(ENOSPC);
        case SQLITE_IOERR:
        case SQLITE_CANTOPEN:
            if (QString causa = CausaComunDelSistema(sistema); !causa.isEmpty()) return causa;
            return (codigo & 0xFF) == SQLITE_CANTOPEN
                       ? QStringLiteral("No se puede abrir el archivo de la base de datos.")
                       : CausaComunDelSistema(EIO);
        case SQLITE_CORRUPT:
            return kDanada;
        case SQLITE_NOTADB:
            return QStringLiteral("El archivo no es una base de datos.");
        default:
            break;
    }
    // The engine's words are the same whatever number comes with them.
    if (QString texto = ErrorSql(motor); !texto.isEmpty()) return texto;
    return QStringLiteral("La base de datos no pudo completar la operación (") + Cita(motor) +
           QStringLiteral(").");
}

// The Jet text for SQLite; a date literal that is not a date is refused like any statement.
jet::Preparada Traducir(const QString& sql) {
    // The engine would end the text at the NUL and run what stands before it.
    if (sql.contains(QChar(0)))
        throw DatabaseError(3075, QStringLiteral("La instrucción contiene el carácter nulo."));
    try {
        return jet::preparar(sql);
    } catch (const std::invalid_argument& e) {
        throw DatabaseError(3075, QString::fromUtf8(e.what()));
    }
}

QVariant leerColumna(sqlite3_stmt* st, int i) {
    switch (sqlite3_column_type(st, i)) {
        case SQLITE_NULL:
            return {};
        case SQLITE_INTEGER:
            return QVariant(static_cast<qlonglong>(sqlite3_column_int64(st, i)));
        case SQLITE_FLOAT:
            return QVariant(sqlite3_column_double(st, i));
        default:
            return desdeUtf8(sqlite3_column_text(st, i), sqlite3_column_bytes(st, i));
    }
}

// A yes/no value: any non-zero number is true, Null false.
bool verdadero(const QVariant& v) {
    if (v.isNull()) return false;
    bool ok = false;
    const double d = v.toDouble(&ok);
    return ok ? d != 0 : v.toBool();
}

// Finalizes a statement on every path out.
struct Sentencia {
    sqlite3_stmt* st = nullptr;
    ~Sentencia() { sqlite3_finalize(st); }
};

// The engine's authorizer in the terms of a restriction.
int Autorizar(void* datos, int accion, const char* a, const char*, const char*, const char*) {
    using Acceso = Database::Acceso;
    Acceso acceso = Acceso::Otro;
    const char* tabla = nullptr;
    switch (accion) {
        case SQLITE_READ:
            acceso = Acceso::Leer, tabla = a;
            break;
        case SQLITE_INSERT:
            acceso = Acceso::Insertar, tabla = a;
            break;
        case SQLITE_UPDATE:
            acceso = Acceso::Modificar, tabla = a;
            break;
        case SQLITE_DELETE:
            acceso = Acceso::Borrar, tabla = a;
            break;
        case SQLITE_SELECT:
            acceso = Acceso::Consultar;
            break;
        case SQLITE_FUNCTION:
            acceso = Acceso::Funcion;
            break;
        default:
            break;
    }
    const auto& permiso = *static_cast<const Database::Permiso*>(datos);
    return permiso(acceso, QString::fromUtf8(tabla ? tabla : "")) ? SQLITE_OK : SQLITE_DENY;
}

}  // namespace

QString DescripcionDelMotor(sqlite3* db) {
    return DescripcionError(sqlite3_extended_errcode(db), QString::fromUtf8(sqlite3_errmsg(db)),
                            sqlite3_system_errno(db));
}

DatabaseError::DatabaseError(int numero, const QString& descripcion)
    : std::runtime_error(descripcion.toStdString()), numero_(numero), descripcion_(descripcion) {}

int Recordset::fieldIndex(const QString& nombre) const {
    for (int i = 0; i < nombres_.size(); ++i)
        if (nombres_[i].compare(nombre, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

QVariant Recordset::value(int i) const {
    if (bof() || eof()) throw DatabaseError(3021, "No hay ningún registro actual.");
    if (i < 0 || i >= fieldCount())
        throw DatabaseError(3265, "Elemento no encontrado en esta colección.");
    return filas_[fila_][i];
}

QVariant Recordset::value(const QString& nombre) const {
    const int i = fieldIndex(nombre);
    if (i < 0) throw DatabaseError(3265, "Elemento no encontrado en esta colección: " + nombre);
    return value(i);
}

bool Recordset::boolValue(const QString& nombre) const {
    return verdadero(value(nombre));
}

bool Recordset::boolValue(int i) const {
    return verdadero(value(i));
}

Database::Database(const QString& ruta, bool crear) : ruta_(ruta) {
    if (!crear && QFileInfo(ruta).isDir())
        throw DatabaseError(3044, "'" + ruta +
                                      "' es una carpeta, no el archivo de la base de datos. "
                                      "Ponga en su lugar el archivo de la base de datos.");
    if (!crear && !QFileInfo(ruta).isFile())
        throw DatabaseError(3024, "No se encuentra el archivo '" + ruta + "'.");
    // Only the window thread uses a connection: the engine need not lock around every call.
    const int flags =
        SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (crear ? SQLITE_OPEN_CREATE : 0);
    if (sqlite3_open_v2(ruta.toUtf8().constData(), &db_, flags, nullptr) != SQLITE_OK) {
        const QString motivo = DescripcionDelMotor(db_);
        sqlite3_close(db_);
        db_ = nullptr;
        throw DatabaseError(3051, "No se puede abrir el archivo '" + ruta + "'. " + motivo);
    }
    sqlite3_extended_result_codes(db_, 1);
    // A file another program holds is said at once, not after seconds of silence; a commit
    // of another copy ends well within this.
    sqlite3_busy_timeout(db_, kEsperaAlAbrir);
    const int utf8 = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function(db_, "month", 1, utf8, nullptr, funcMes, nullptr, nullptr);
    sqlite3_create_function(db_, "year", 1, utf8, nullptr, funcAnio, nullptr, nullptr);
    sqlite3_create_function(db_, "like", 2, utf8, nullptr, funcLike, nullptr, nullptr);
    sqlite3_create_collation(db_, "JET", SQLITE_UTF8, nullptr, colacion);
    try {
        // Reading the schema proves the file is a database we can use.
        ejecutarNativo(QStringLiteral("SELECT count(*) FROM sqlite_master"));
        verificarTamanio();
    } catch (const DatabaseError& e) {
        sqlite3_close(db_);
        db_ = nullptr;
        throw Ilegible(ruta, e);
    }
    esperarBloqueo(kEspera);
}

void Database::esperarBloqueo(int milisegundos) {
    sqlite3_busy_timeout(db_, milisegundos);
}

// A file cut short by a few bytes still opens: the engine reads the missing tail of its last
// page as zeros, and the rows there are lost from a table or an index without a word.
void Database::verificarTamanio() {
    const auto leer = [this](const char* pragma) {
        Sentencia s;
        sqlite3_prepare_v2(db_, pragma, -1, &s.st, nullptr);
        if (sqlite3_step(s.st) != SQLITE_ROW) fallar();
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s.st, 0)));
    };
    // In WAL mode the last pages may still be in the log beside the file.
    if (leer("PRAGMA journal_mode") == QLatin1String("wal")) return;
    // Under a read lock, so that another copy of the program cannot grow the file meanwhile.
    Lectura lectura(*this);
    const qint64 tamanio = QFileInfo(ruta_).size();
    // A new file stays empty until its first commit, while the engine already counts a page.
    if (tamanio == 0) return;
    const qint64 paginas = leer("PRAGMA page_count").toLongLong();
    if (tamanio != paginas * leer("PRAGMA page_size").toLongLong())
        throw DatabaseError(SQLITE_CORRUPT, kDanada);
}

void Database::verificarIntegridad() {
    if (integra_) return;
    try {
        const Recordset rs = openRecordset(QStringLiteral("PRAGMA integrity_check(1)"));
        if (rs.vacio() || rs.value(0).toString() != QLatin1String("ok"))
            throw DatabaseError(SQLITE_CORRUPT, kDanada);
    } catch (const DatabaseError& e) {
        throw Ilegible(ruta_, e);
    }
    integra_ = true;
}

Database::~Database() {
    for (sqlite3_stmt* st : std::as_const(preparadas_)) sqlite3_finalize(st);
    sqlite3_close(db_);
}

Database& Database::open(const QString& ruta) {
    if (!compartida || compartida->ruta_ != ruta) {
        compartida.reset();
        compartida.reset(new Database(ruta, false));
    }
    return *compartida;
}

void Database::closeShared() {
    compartida.reset();
}

void Database::createFile(const QString& ruta, const QStringList& scripts) {
    Database db(ruta, true);
    db.beginTrans();
    try {
        for (const QString& s : scripts) db.ejecutarNativo(s);
        db.commitTrans();
    } catch (...) {
        db.rollback();
        throw;
    }
}

void Database::fallar(sqlite3_stmt* st) const {
    const DatabaseError error(sqlite3_extended_errcode(db_), DescripcionDelMotor(db_));
    // A shared statement must not stay half-run: it would hold the file open for reading.
    if (st) sqlite3_reset(st);
    throw error;
}

void Database::ejecutarNativo(const QString& sql) {
    if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        throw DatabaseError(sqlite3_extended_errcode(db_), DescripcionDelMotor(db_));
}

int Database::ejecutarUno(const QString& sql) {
    Sentencia s;
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(db_, utf8.constData(), int(utf8.size()), &s.st, nullptr) != SQLITE_OK)
        fallar();
    int rc;
    while ((rc = sqlite3_step(s.st)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) fallar();
    return sqlite3_changes(db_);
}

void Database::fallarComoEscrito(const DatabaseError& forma, const QString& escrito) {
    // The engine quotes the word it stumbled on: from the text as written, not a "?". Only a
    // statement it could not read; a file in use would only be waited for twice.
    if ((forma.numero() & 0xFF) == SQLITE_ERROR) compilarSolo(escrito);
    throw forma;
}

sqlite3_stmt* Database::sentenciaCompartida(const QString& sql, const Valores& valores,
                                            const QString& escrito) {
    sqlite3_stmt* st = preparadas_.value(sql);
    if (!st) {
        const QByteArray utf8 = sql.toUtf8();
        if (sqlite3_prepare_v3(db_, utf8.constData(), int(utf8.size()), SQLITE_PREPARE_PERSISTENT,
                               &st, nullptr) != SQLITE_OK) {
            sqlite3_finalize(st);
            fallarComoEscrito(
                DatabaseError(sqlite3_extended_errcode(db_), DescripcionDelMotor(db_)), escrito);
        }
        if (preparadas_.size() >= 64) {
            for (sqlite3_stmt* viejo : std::as_const(preparadas_)) sqlite3_finalize(viejo);
            preparadas_.clear();
        }
        preparadas_.insert(sql, st);
    }
    sqlite3_reset(st);  // every parameter is bound again below
    for (int i = 0; i < valores.size(); ++i) {
        const QVariant& v = valores[i];
        if (v.isNull())
            sqlite3_bind_null(st, i + 1);
        else if (v.typeId() == QMetaType::LongLong)
            sqlite3_bind_int64(st, i + 1, v.toLongLong());
        else if (v.typeId() == QMetaType::Double)
            sqlite3_bind_double(st, i + 1, v.toDouble());
        else {
            const QByteArray t = v.toString().toUtf8();
            sqlite3_bind_text(st, i + 1, t.constData(), int(t.size()), SQLITE_TRANSIENT);
        }
    }
    return st;
}

int Database::execute(const QString& sql, int opciones) {
    (void)opciones;
    // A statement on its own is a write transaction too: the file is checked before it.
    if (!inTransaction()) {
        Transaction t(*this);
        const int cambios = execute(sql);
        t.commit();
        return cambios;
    }
    const jet::Preparada preparada = Traducir(sql);
    if (const auto& p = preparada.parametrizada) {
        sqlite3_stmt* st = sentenciaCompartida(p->sql, p->valores, preparada.sentencias.first());
        const int rc = sqlite3_step(st);
        if (rc != SQLITE_DONE && rc != SQLITE_ROW) fallar(st);
        sqlite3_reset(st);
        return sqlite3_changes(db_);
    }
    const QStringList& partes = preparada.sentencias;
    if (partes.size() == 1) return ejecutarUno(partes.first());
    // Several statements from one: all of them or none.
    ejecutarNativo(QStringLiteral("SAVEPOINT jet_varias"));
    int cambios = 0;
    try {
        for (const QString& p : partes) cambios += ejecutarUno(p);
    } catch (...) {
        ejecutarNativo(QStringLiteral("ROLLBACK TO jet_varias"));
        ejecutarNativo(QStringLiteral("RELEASE jet_varias"));
        throw;
    }
    ejecutarNativo(QStringLiteral("RELEASE jet_varias"));
    return cambios;
}

Recordset Database::openRecordset(const QString& sql) {
    const jet::Preparada preparada = Traducir(sql);
    if (preparada.sentencias.size() != 1)
        throw DatabaseError(3129, "La consulta no devuelve registros.");
    Sentencia propia;
    sqlite3_stmt* st;
    if (const auto& p = preparada.parametrizada) {
        st = sentenciaCompartida(p->sql, p->valores, preparada.sentencias.first());
    } else {
        const QByteArray utf8 = preparada.sentencias.first().toUtf8();
        if (sqlite3_prepare_v2(db_, utf8.constData(), int(utf8.size()), &propia.st, nullptr) !=
            SQLITE_OK)
            fallar();
        st = propia.st;
    }
    Recordset rs;
    // The columns are read after the first step: a kept statement compiles again there when a
    // column was added to its table since.
    int rc = sqlite3_step(st);
    const int columnas = sqlite3_column_count(st);
    for (int i = 0; i < columnas; ++i) {
        rs.nombres_ << QString::fromUtf8(sqlite3_column_name(st, i));
        const char* tipo = sqlite3_column_decltype(st, i);
        rs.tipos_ << QString::fromUtf8(tipo ? tipo : "");
    }
    for (; rc == SQLITE_ROW; rc = sqlite3_step(st)) {
        std::vector<QVariant> fila;
        fila.reserve(columnas);
        for (int i = 0; i < columnas; ++i) fila.push_back(leerColumna(st, i));
        rs.filas_.push_back(std::move(fila));
    }
    if (rc != SQLITE_DONE) fallar(st);
    sqlite3_reset(st);
    return rs;
}

void Database::restringir(Permiso permiso) {
    permiso_ = std::move(permiso);
    comprobadas_.clear();
    // Setting the authorizer also makes every prepared statement compile again, checked.
    if (permiso_)
        sqlite3_set_authorizer(db_, Autorizar, &permiso_);
    else
        sqlite3_set_authorizer(db_, nullptr, nullptr);
}

bool Database::compilarSolo(const QString& sql) {
    if (const auto hecha = comprobadas_.constFind(sql); hecha != comprobadas_.cend()) return *hecha;
    const QByteArray utf8 = sql.toUtf8();
    const char* resto = utf8.constData();
    const char* const fin = resto + utf8.size();
    Sentencia s;
    if (sqlite3_prepare_v2(db_, resto, int(fin - resto), &s.st, &resto) != SQLITE_OK) fallar();
    if (!s.st)
        throw DatabaseError(3129,
                            "Instrucción SQL no válida; se esperaba 'DELETE', 'INSERT', "
                            "'PROCEDURE', 'SELECT' o 'UPDATE'.");
    // What follows the statement may only be blanks, comments or semicolons.
    while (resto < fin) {
        Sentencia otra;
        if (sqlite3_prepare_v2(db_, resto, int(fin - resto), &otra.st, &resto) != SQLITE_OK)
            fallar();
        if (otra.st)
            throw DatabaseError(3142, "Hay caracteres después del final de la instrucción SQL.");
    }
    const bool escribe = !sqlite3_stmt_readonly(s.st);
    if (permiso_) comprobadas_.insert(sql, escribe);
    return escribe;
}

bool Database::comprobar(const QString& sql) {
    const jet::Preparada preparada = Traducir(sql);
    // The shape stands for every statement like it: values never change what is touched.
    if (const auto& p = preparada.parametrizada) {
        try {
            return compilarSolo(p->sql);
        } catch (const DatabaseError& e) {
            fallarComoEscrito(e, preparada.sentencias.first());
        }
    }
    bool escribe = false;
    for (const QString& parte : preparada.sentencias) escribe |= compilarSolo(parte);
    return escribe;
}

Restriccion::Restriccion(Database& db, Database::Permiso permiso) : db_(db) {
    db_.restringir(std::move(permiso));
}

Restriccion::~Restriccion() {
    db_.restringir({});
}

void Database::beginTrans() {
    // Every transaction of the program writes: taking the write lock first lets the busy
    // timeout wait for another copy's save, where a reader turning writer would fail at once.
    ejecutarNativo(QStringLiteral("BEGIN IMMEDIATE"));
    // Another program may have damaged the file since it was opened: nothing is written into
    // it then. Under the write lock, so that no other copy changes the size meanwhile.
    try {
        verificarTamanio();
    } catch (const DatabaseError& e) {
        rollback();
        throw Ilegible(ruta_, e);
    }
}
void Database::commitTrans() {
    ejecutarNativo(QStringLiteral("COMMIT"));
}
void Database::rollback() {
    if (inTransaction()) ejecutarNativo(QStringLiteral("ROLLBACK"));
}
bool Database::inTransaction() const {
    return sqlite3_get_autocommit(db_) == 0;
}

Transaction::Transaction(Database& db) : db_(db) {
    // Inside a transaction already open it joins it: the outer one commits or rolls back.
    if (db_.inTransaction()) {
        abierta_ = propia_ = false;
        return;
    }
    db_.beginTrans();
}

Transaction::~Transaction() {
    if (!abierta_) return;
    try {
        db_.rollback();
    } catch (...) {
        // Nothing more can be done from a destructor; the engine drops the transaction on close.
    }
}

Lectura::Lectura(Database& db) {
    if (db.inTransaction()) return;
    db.ejecutarNativo(QStringLiteral("BEGIN"));
    db_ = &db;
}

Lectura::~Lectura() {
    if (!db_ || !db_->inTransaction()) return;
    try {
        db_->ejecutarNativo(QStringLiteral("COMMIT"));
    } catch (...) {
        // Nothing was written; closing the connection ends the transaction.
    }
}

void Transaction::commit() {
    if (propia_) db_.commitTrans();
    abierta_ = false;
}

}  // namespace zul
