#pragma once
// SQL literals, display values and the small text routines every window shares.
// The program always writes numbers with "," as decimal separator and dates day/month/year
// on screen, whatever the machine's locale; SQL text uses "." and month/day/year.

#include <QDate>
#include <QString>
#include <QTime>
#include <QVariant>
#include <optional>

namespace zul {

// Does the value read as a number ("12,5", "-3", "1.234,5", or a stored number)?
bool EsNumero(const QVariant& valor);
// The value as a number; 0 when it does not read as one.
double LeerNumero(const QVariant& valor);
// The value as a whole number of the 32-bit range, as the program's keys are; nullopt otherwise.
std::optional<qint32> Entero32(const QVariant& valor);
// A number as the program shows it: "," decimal, no grouping, up to 15 significant digits.
QString TextoNumero(double numero);

// Dates: a QDate/QDateTime, "dd/mm/yyyy" (one-digit day or month, two-digit year accepted)
// or the database's ISO "yyyy-mm-dd".
bool EsFecha(const QVariant& valor);
std::optional<QDate> LeerFecha(const QVariant& valor);
std::optional<QTime> LeerHora(const QVariant& valor);

// Text of any value as the program shows it (numbers with ",", dates dd/mm/yyyy).
QString TextoValor(const QVariant& valor);

// Kinds: 1 number, 2 nothing, 3 quoted text, 4 date, 5 time, 6 yes/no.
enum TipoSQL { sqlNumero = 1, sqlNada = 2, sqlTexto = 3, sqlFecha = 4, sqlHora = 5, sqlSiNo = 6 };
QString FormatoSQL(const QVariant& valor, int tipoSQL);
// Kinds: 1 number or "", 2 number or "0", 3 text, 4 date dd/mm/yyyy.
enum TipoFormato { nuloNumero = 1, nuloCero = 2, nuloTexto = 3, nuloFecha = 4 };
QString FormatoNulo(const QVariant& valor, int tipoFormato);

// Modes: 0 replace the first occurrence and drop later ones, 1 all, 2 the first only.
QString ReemplazarTexto(const QString& texto, const QString& buscar, const QString& nuevo,
                        int modo);
QString Reemplazar(const QString& texto, const QString& buscar, const QString& nuevo, int modo);
QString ReemplazarStr(const QString& texto, const QString& buscar, const QString& nuevo, int modo);

// The one reading of a money box (Moneda::desdeImporte takes the amount from it).
// An amount typed into a money box, in the program's own number text: a lone "." is the
// decimal point, as a lone "," is ("1234.50" and "1.234" give "1234,50" and "1,234"); dots
// group the thousands beside a decimal comma or when two and more stand in groups of three
// ("1.234,50" and "1.234.567" give "1234,50" and "1234567"). Nothing when the text is no
// amount, a second comma or a group of other than three digits included ("12,345,678").
std::optional<QString> TextoImporte(const QString& texto);

// Item n (from 1) of a comma-separated list, trimmed; "" when there is none.
QString ItemLista(const QString& lista, int n);

}  // namespace zul
