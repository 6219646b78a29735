#include "declaration/CodigoBarras.h"

#include <array>
#include <cstring>
#include <vector>

#include "common/Formato.h"
#include "common/Globales.h"
#include "common/Moneda.h"
#include "platform/Database.h"

namespace zul {

namespace {

constexpr qint64 kTopeCentavos = 10'000'000'000;  // 100.000.000,00 no longer fits 10 digits
constexpr int kZonaQuieta = 10;                   // narrow modules of white on each side

// Narrow (n) and wide (w) elements of each digit.
constexpr std::array<const char*, 10> kPatrones = {"nnwwn", "wnnnw", "nwnnw", "wwnnn", "nnwnw",
                                                   "wnwnn", "nwwnn", "nnnww", "wnnwn", "nwnwn"};

QString Par(const QString& digitos) {
    return digitos.size() % 2 ? QStringLiteral("0") + digitos : digitos;
}

bool SoloDigitos(const QString& texto) {
    for (const QChar c : texto)
        if (c < u'0' || c > u'9') return false;
    return true;
}

// The elements left to right, bar first and then alternating: true = wide.
std::optional<std::vector<bool>> Elementos(const QString& digitos) {
    if (!SoloDigitos(digitos)) return std::nullopt;
    const QString par = Par(digitos);
    std::vector<bool> e = {false, false, false, false};  // start: bar, space, bar, space
    for (int i = 0; i < par.size(); i += 2) {
        const char* barras = kPatrones[par[i].unicode() - u'0'];
        const char* espacios = kPatrones[par[i + 1].unicode() - u'0'];
        for (int k = 0; k < 5; ++k) {
            e.push_back(barras[k] == 'w');
            e.push_back(espacios[k] == 'w');
        }
    }
    e.insert(e.end(), {true, false, false});  // stop: wide bar, space, bar
    return e;
}

ResultadoCodBar Rechazo(const QString& motivo) {
    return {std::nullopt, motivo + QStringLiteral(" No se puede armar el código de barras.")};
}

}  // namespace

int DigitoVerificador(const QString& digitos) {
    static constexpr int kPesos[4] = {9, 7, 1, 3};
    int suma = 0;
    for (int i = 0; i < digitos.size(); ++i) suma += digitos[i].digitValue() * kPesos[i % 4];
    return (10 - suma % 10) % 10;
}

QString SoloNumeros(const QString& texto, int n) {
    if (n == 0) n = 11;
    QString d;
    for (const QChar c : texto)
        if (c >= u'0' && c <= u'9') d += c;
    return d.left(n).rightJustified(n, u'0');
}

QString I2of5(const QString& digitos) {
    const QString par = Par(digitos);
    QString t(QChar(171));
    for (int i = 0; i + 1 < par.size(); i += 2) {
        const int v = par.mid(i, 2).toInt();
        t += QChar(v < 90 ? v + 33 : v + 71);
    }
    return t + QChar(172);
}

ResultadoCodBar ArmarCodBar(const QVariant& cuit, const QString& periodo, const QString& total) {
    const auto mes = LeerFecha(QStringLiteral("01/") + periodo);
    if (!mes) return Rechazo(QStringLiteral("El período ingresado no es válido."));
    const auto importe = Moneda::desdeTexto(total);
    if (!importe) return Rechazo(QStringLiteral("El total a depositar no es un número."));
    if (*importe < Moneda()) return Rechazo(QStringLiteral("El total a depositar es negativo."));
    const qint64 centavos = importe->centavos();
    if (centavos >= kTopeCentavos)
        return Rechazo(QStringLiteral("El total a depositar debe ser menor que 100.000.000."));

    const QString codigo = QStringLiteral("4520") + SoloNumeros(FormatoNulo(cuit, 3), 0) +
                           mes->toString(QStringLiteral("MMyyyy")) +
                           QStringLiteral("%1").arg(centavos, 10, 10, QChar(u'0'));
    const QString digitos = codigo + QString::number(DigitoVerificador(codigo));
    return {CodigoDePago{digitos, I2of5(digitos)}, QString()};
}

ResultadoCodBar ArmarCodBar(const QString& periodo, const QString& total) {
    Recordset rs = Database::open(RutaBase).openRecordset(
        QStringLiteral("SELECT Emp_CUIT FROM Empresa where emp_id=") + QString::number(IdEmpresa));
    if (rs.vacio()) return Rechazo(QStringLiteral("La empresa actual ya no existe."));
    return ArmarCodBar(rs.value(QStringLiteral("Emp_CUIT")), periodo, total);
}

QImage ImagenI2of5(const QString& digitos, int modulo, int alto) {
    const auto elementos = Elementos(digitos);
    if (!elementos || modulo < 1 || alto < 1) return QImage();
    const int ancho = (5 * modulo + 1) / 2;  // 2.5 : 1
    int total = 2 * kZonaQuieta * modulo;
    for (const bool w : *elementos) total += w ? ancho : modulo;

    // One bit per pixel, black first in the colour table: PDF then keeps the bars as an exact
    // bitmap instead of compressing them like a photograph.
    QImage img(total, alto, QImage::Format_Mono);
    img.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    img.fill(1);
    int x = kZonaQuieta * modulo;
    for (size_t i = 0; i < elementos->size(); ++i) {
        const int w = (*elementos)[i] ? ancho : modulo;
        if (i % 2 == 0)
            for (int k = x; k < x + w; ++k) img.setPixel(k, 0, 0);
        x += w;
    }
    for (int y = 1; y < alto; ++y)
        std::memcpy(img.scanLine(y), img.constScanLine(0), img.bytesPerLine());
    return img;
}

}  // namespace zul
