#include "support/LectorI2of5.h"

#include <algorithm>
#include <vector>

namespace zul::prueba {

Lectura LeerI2of5(const QImage& img, int fila) {
    Lectura l;
    std::vector<std::pair<bool, int>> corridas;  // (black, width)
    for (int x = 0; x < img.width(); ++x) {
        const bool negro = qGray(img.pixel(x, fila)) < 128;
        if (corridas.empty() || corridas.back().first != negro)
            corridas.push_back({negro, 1});
        else
            ++corridas.back().second;
    }
    if (corridas.size() < 9 || corridas.front().first || corridas.back().first) {
        l.error = "sin barras o sin zonas quietas";
        return l;
    }
    std::vector<int> anchos;
    for (size_t i = 1; i + 1 < corridas.size(); ++i) anchos.push_back(corridas[i].second);
    const int angosto = *std::min_element(anchos.begin(), anchos.end());
    const int ancho = *std::max_element(anchos.begin(), anchos.end());
    l.proporcion = double(ancho) / angosto;
    if (corridas.front().second < 10 * angosto || corridas.back().second < 10 * angosto) {
        l.error = "zona quieta menor que 10 módulos";
        return l;
    }
    if (l.proporcion < 2.0 || l.proporcion > 3.0) {
        l.error = QString("proporción %1").arg(l.proporcion);
        return l;
    }
    std::vector<bool> w;
    for (int a : anchos) w.push_back(a * 2 > angosto + ancho);
    // start nnnn, 10 elements per digit pair, stop wnn
    const size_t n = w.size();
    if (n < 7 || (n - 7) % 10 || w[0] || w[1] || w[2] || w[3] || !w[n - 3] || w[n - 2] ||
        w[n - 1]) {
        l.error = "inicio o fin inválido";
        return l;
    }
    static const char* patrones[10] = {"nnwwn", "wnnnw", "nwnnw", "wwnnn", "nnwnw",
                                       "wnwnn", "nwwnn", "nnnww", "wnnwn", "nwnwn"};
    auto digito = [](const QString& p) {
        for (int d = 0; d < 10; ++d)
            if (p == QLatin1String(patrones[d])) return QChar('0' + d);
        return QChar('?');
    };
    QString digitos;
    for (size_t i = 4; i + 3 < n; i += 10) {
        QString barras, espacios;
        for (int k = 0; k < 5; ++k) {
            barras += w[i + 2 * k] ? 'w' : 'n';
            espacios += w[i + 2 * k + 1] ? 'w' : 'n';
        }
        digitos += digito(barras);
        digitos += digito(espacios);
    }
    if (digitos.contains('?'))
        l.error = "patrón de dígito inválido";
    else
        l.digitos = digitos;
    return l;
}

Lectura BuscarI2of5(const QImage& imagen) {
    Lectura ultima;
    ultima.error = "ninguna fila con barras";
    for (int y = 0; y < imagen.height(); ++y) {
        const Lectura l = LeerI2of5(imagen, y);
        if (!l.digitos.isEmpty()) return l;
        if (l.error != "sin barras o sin zonas quietas") ultima = l;
    }
    return ultima;
}

}  // namespace zul::prueba
