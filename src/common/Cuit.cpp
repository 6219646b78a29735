#include "common/Cuit.h"

#include <QLineEdit>

#include "platform/MsgBox.h"

namespace zul {
namespace {

constexpr int kLargoSinSeparadores = 11;
constexpr int kLargoConSeparadores = 13;

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
    const QString texto = cuit.trimmed();
    auto esSeparador = [](QChar c) {
        return c == QLatin1Char('-') || c == QLatin1Char(' ') || c == QLatin1Char('.') ||
               c == QLatin1Char('/');
    };
    // The check digit ignores separators wherever they stand: so does the shape.
    qsizetype separadores = 0;
    for (QChar c : texto) separadores += esSeparador(c) ? 1 : 0;
    const bool forma = Digitos(texto).size() == kLargoSinSeparadores &&
                       (texto.size() == kLargoSinSeparadores ||
                        (texto.size() == kLargoConSeparadores &&
                         separadores == kLargoConSeparadores - kLargoSinSeparadores));
    return forma && ValidarCuit(texto);
}

bool ComprobarCajaCuit(QLineEdit* caja) {
    const QString texto = caja->text();
    if (texto.isEmpty()) return true;
    if (!CuitAceptable(texto)) {
        MsgBox(QStringLiteral("El CUIT no es válido"), vbOKOnly);
        return false;
    }
    // What is stored is the number checked, without the blanks around it.
    if (texto != texto.trimmed()) caja->setText(texto.trimmed());
    return true;
}

}  // namespace zul
