#include "common/Cuit.h"

namespace zul {
namespace {

QString Digitos(const QString& texto) {
    QString s;
    for (QChar c : texto)
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) s += c;
    return s;
}

}  // namespace

bool ValidarCuit(const QString& cuit) {
    const QString s = Digitos(cuit.left(16));
    auto digito = [&s](int i) { return i < s.size() ? s.at(i).digitValue() : 0; };
    static constexpr int kPesos[10] = {5, 4, 3, 2, 7, 6, 5, 4, 3, 2};
    int suma = 0;
    for (int i = 0; i < 10; ++i) suma += kPesos[i] * digito(i);
    const int r = (10 * suma) % 11;
    return r == digito(10);
}

bool CuitAceptable(const QString& cuit) {
    QString limpio = cuit.trimmed();
    for (QChar separador : {QLatin1Char('-'), QLatin1Char(' '), QLatin1Char('.'), QLatin1Char('/')})
        limpio.remove(separador);
    // Letters or any other stray character make it no CUIT at all.
    return limpio.size() == 11 && Digitos(limpio) == limpio && ValidarCuit(limpio);
}

}  // namespace zul
