#include "platform/MedidorTexto.h"

#include <QtMath>

namespace zul {

int MedidorTexto::ancho(const QString& texto, const QFont& fuente) const {
    if (!metricas_) {
        metricas_.emplace(fuente);
        avances_.assign(256, -1);
    }
    qreal suma = 0;
    for (const QChar c : texto) {
        if (c.unicode() >= 256) return qCeil(metricas_->horizontalAdvance(texto));
        qreal& avance = avances_[c.unicode()];
        if (avance < 0) avance = metricas_->horizontalAdvance(c);
        suma += avance;
    }
    return qCeil(suma);
}

void MedidorTexto::olvidar() {
    metricas_.reset();
    avances_.clear();
}

}  // namespace zul
