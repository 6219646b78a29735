#include "platform/MedidorTexto.h"

#include <QHeaderView>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QtMath>

namespace zul {

int MedidorTexto::ancho(const QString& texto, const QFont& fuente) const {
    if (!metricas_) {
        metricas_.emplace(fuente);
        avances_.assign(256, -1);
    }
    // In 64ths of a pixel, each rounded up: the sum never falls short of the text.
    const ushort* letras = texto.utf16();
    int suma = 0;
    for (qsizetype i = 0, n = texto.size(); i < n; ++i) {
        const ushort c = letras[i];
        if (c >= 256) return qCeil(metricas_->horizontalAdvance(texto));
        int& avance = avances_[c];
        if (avance < 0) avance = qCeil(metricas_->horizontalAdvance(QChar(c)) * 64);
        suma += avance;
    }
    return (suma + 63) / 64;
}

int AnchoCabecera(const QHeaderView* cabecera, const QString& texto, int seccion) {
    QStyleOptionHeader opt;
    opt.initFrom(cabecera);
    opt.text = texto;
    opt.section = seccion;
    return cabecera->style()
        ->sizeFromContents(QStyle::CT_HeaderSection, &opt, QSize(), cabecera)
        .width();
}

void MedidorTexto::olvidar() {
    metricas_.reset();
    avances_.clear();
}

}  // namespace zul
