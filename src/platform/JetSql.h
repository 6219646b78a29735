#pragma once
// Translation of the Jet SQL dialect that the program writes into SQL that SQLite runs.
// Quoted text is never touched.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVarLengthArray>
#include <QVariant>
#include <optional>

namespace zul::jet {

// One Jet statement becomes one or more SQLite statements that must apply together
// (an ALTER TABLE ... ADD a, b becomes two). Throws std::invalid_argument on a date
// literal that is not a date.
QStringList traducir(const QString& sql);

// A statement with its value literals replaced by "?" and their values kept, so statements
// of the same shape share one prepared statement: every literal of a write, those after the
// WHERE of a SELECT, none from an ORDER BY, GROUP BY, HAVING or LIMIT on.
struct Parametrizada {
    QString sql;
    QVarLengthArray<QVariant, 24> valores;  // Null, qlonglong, double or QString
};
std::optional<Parametrizada> parametrizar(const QString& sqlTraducido);

// What the connection runs for one Jet statement: the SQLite statements, and when there is
// one statement with values in it, its shared, parameterised form.
struct Preparada {
    QStringList sentencias;
    std::optional<Parametrizada> parametrizada;
};
Preparada preparar(const QString& sql);

// Text comparison of the program: case-insensitive, accented capitals paired with their
// small letters ("Á" = "á"), accents still significant ("á" != "a").
int compararSinMayusculas(const QString& a, const QString& b);
// Jet LIKE with "%" and "_" wildcards, case-insensitive as above.
bool like(const QString& patron, const QString& texto);
// A pattern folded once, for trying it on many rows of UTF-8 text.
struct Patron {
    QString plegado;
    QByteArray utf8;
    bool porBytes = false;  // Latin-1 only and no "_": compared on the UTF-8 bytes
};
Patron prepararPatron(const QString& patron);
bool like(const Patron& patron, const char* utf8, qsizetype bytes);

}  // namespace zul::jet
