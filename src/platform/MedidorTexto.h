#pragma once
// Widths of many short texts in one font, as lists measure them at every load: the letters'
// advances added up, each measured once, never less than the text as drawn (which only kerns
// closer). Texts beyond Latin-1 are measured whole.

#include <QFont>
#include <QFontMetricsF>
#include <QString>
#include <optional>
#include <vector>

class QHeaderView;

namespace zul {

// The width a list's header section needs to show `texto` whole, in the header's style.
int AnchoCabecera(const QHeaderView* cabecera, const QString& texto, int seccion);

class MedidorTexto {
  public:
    // Width in pixels of `texto` in `fuente`; the font of the first text measured holds
    // until olvidar().
    int ancho(const QString& texto, const QFont& fuente) const;
    // After a change of font.
    void olvidar();

  private:
    mutable std::optional<QFontMetricsF> metricas_;
    mutable std::vector<int> avances_;  // of the first 256 characters, in 64ths of a pixel
                                        // (-1: not measured yet)
};

}  // namespace zul
