#include "common/Cuit.h"

#include "platform/MsgBox.h"

namespace zul {
namespace {

constexpr int kLargoSinSeparadores = 11;
constexpr int kLargoConSeparadores = 13;
constexpr int kPosPrimerSeparador = 2;
constexpr int kPosSegundoSeparador = 11;

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
    bool forma = false;
    if (texto.size() == kLargoSinSeparadores) {
        forma = Digitos(texto) == texto;
    } else if (texto.size() == kLargoConSeparadores) {
        // Separators only after the prefix and before the check digit: "20-12345678-6".
        forma = esSeparador(texto.at(kPosPrimerSeparador)) &&
                esSeparador(texto.at(kPosSegundoSeparador)) &&
                Digitos(texto).size() == kLargoSinSeparadores;
    }
    return forma && ValidarCuit(texto);
}

bool ComprobarCajaCuit(const QString& texto) {
    if (texto.isEmpty() || CuitAceptable(texto)) return true;
    MsgBox(QStringLiteral("El CUIT no es válido"), vbOKOnly);
    return false;
}

}  // namespace zul
