#pragma once
// Translation of the Jet SQL dialect that the program writes into SQL that SQLite runs.
// Quoted text is never touched.

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <optional>

namespace zul::jet {

// One Jet statement becomes one or more SQLite statements that must apply together
// (an ALTER TABLE ... ADD a, b becomes two). Throws std::invalid_argument on a date
// literal that is not a date.
QStringList traducir(const QString& sql);

// An INSERT ... VALUES (...) whose values are plain literals, with each literal replaced by
// "?" and its value kept, so rows of the same shape share one prepared statement.
struct Parametrizada {
    QString sql;
    QVariantList valores;  // Null, qlonglong, double or QString
};
std::optional<Parametrizada> parametrizarInsert(const QString& sqlTraducido);

// Text comparison of the program: case-insensitive, accented capitals paired with their
// small letters ("Á" = "á"), accents still significant ("á" != "a").
int compararSinMayusculas(const QString& a, const QString& b);
// Jet LIKE with "%" and "_" wildcards, case-insensitive as above.
bool like(const QString& patron, const QString& texto);

}  // namespace zul::jet
