#include "common/Moneda.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "common/Formato.h"

namespace zul {

qint64 DividirRedondeoPar(qint64 a, qint64 b) {
    qint64 q = a / b, r = a % b;
    if (r < 0) {  // floor division
        --q;
        r += b;
    }
    if (2 * r > b || (2 * r == b && (q & 1))) ++q;
    return q;
}

namespace {
constexpr double kTope = 922337203685477.0;
}

Moneda Moneda::desdeDouble(double valor) {
    if (!std::isfinite(valor)) return Moneda();
    if (valor >= kTope) return Moneda(std::numeric_limits<qint64>::max());
    if (valor <= -kTope) return Moneda(std::numeric_limits<qint64>::min());
    return *convertir(valor);
}

std::optional<Moneda> Moneda::convertir(double valor) {
    if (!std::isfinite(valor) || valor >= kTope || valor <= -kTope) return std::nullopt;
    // Shortest text that reads back as the same double, then decimal rounding on it.
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, valor, std::chars_format::fixed);
    std::string s(buf, res.ptr);
    const bool negativo = !s.empty() && s[0] == '-';
    if (negativo) s.erase(0, 1);
    const auto punto = s.find('.');
    std::string enteros = punto == std::string::npos ? s : s.substr(0, punto);
    std::string decimales = punto == std::string::npos ? std::string() : s.substr(punto + 1);
    // Keep 4 decimals plus the rest as a tie-breaker.
    std::string cuatro = (decimales + "0000").substr(0, 4);
    std::string resto = decimales.size() > 4 ? decimales.substr(4) : std::string();
    qint64 d = std::stoll(enteros.empty() ? "0" : enteros) * 10000 + std::stoll(cuatro);
    if (!resto.empty()) {
        const int primera = resto[0] - '0';
        const bool masDeMitad =
            primera > 5 || (primera == 5 && resto.find_first_not_of('0', 1) != std::string::npos);
        const bool mitad = primera == 5 && !masDeMitad;
        if (masDeMitad || (mitad && (d & 1))) ++d;
    }
    return Moneda(negativo ? -d : d);
}

std::optional<Moneda> Moneda::desdeTexto(const QString& texto) {
    if (!EsNumero(texto)) return std::nullopt;
    return desdeDouble(LeerNumero(texto));
}

std::optional<Moneda> Moneda::desdeImporte(const QString& texto) {
    const std::optional<QString> t = TextoImporte(texto);
    if (!t) return std::nullopt;
    // Digit by digit: the amount typed is held exactly or not at all, never through a double.
    QStringView v(*t);
    const bool negativo = v.startsWith(u'-');
    if (negativo || v.startsWith(u'+')) v = v.mid(1);
    const qsizetype coma = v.indexOf(u',');
    const QStringView enteros = coma < 0 ? v : v.left(coma);
    QStringView decimales = coma < 0 ? QStringView() : v.mid(coma + 1);
    while (decimales.endsWith(u'0')) decimales.chop(1);
    constexpr qint64 kEscala = 10000;
    if (decimales.size() > 4) return std::nullopt;
    qint64 d = 0;
    for (const QChar c : enteros) {
        d = d * 10 + (c.unicode() - u'0');
        if (d > kMaximo / kEscala) return std::nullopt;
    }
    d *= kEscala;
    qint64 peso = kEscala / 10;
    for (const QChar c : decimales) {
        d += (c.unicode() - u'0') * peso;
        peso /= 10;
    }
    return Moneda(negativo ? -d : d);
}

qint64 Moneda::centavos() const {
    return DividirRedondeoPar(d_, 100);
}

QString Moneda::texto() const {
    const qint64 a = d_ < 0 ? -d_ : d_;
    QString t = QString::number(a / 10000);
    QString dec = QStringLiteral("%1").arg(a % 10000, 4, 10, QChar('0'));
    while (dec.endsWith('0')) dec.chop(1);
    if (!dec.isEmpty()) t += ',' + dec;
    return (d_ < 0 ? QStringLiteral("-") : QString()) + t;
}

bool ImporteCabe(const QString& texto) {
    return !TextoImporte(texto) || Moneda::desdeImporte(texto);
}

QString MensajeImporteExcedido(CajaImporte caja) {
    return (caja == CajaImporte::Porcentaje ? QStringLiteral("El porcentaje")
                                            : QStringLiteral("El importe")) +
           QStringLiteral(" admite hasta 4 decimales y no puede superar 99.999.999.999,9999");
}

QString MensajeImporteNegativo(const QString& que) {
    return que + QStringLiteral(" no puede ser negativo: ingrese 0 o un importe mayor");
}

QString ImporteLeido(const QString& texto) {
    const std::optional<Moneda> m = Moneda::desdeImporte(texto);
    return m ? m->texto() : texto;
}

QString ImporteSQL(const QString& texto) {
    const std::optional<Moneda> m = Moneda::desdeImporte(texto);
    return FormatoSQL(m ? m->aDouble() : 0.0, sqlNumero);
}

}  // namespace zul
