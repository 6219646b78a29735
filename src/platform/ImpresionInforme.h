#pragma once
// Lays a report document out on pages and paints them: paragraphs wrap at word boundaries
// (at any character when a word is wider than its space), nowrap paragraphs stay on one line,
// table rows never split across pages and a table's header rows repeat on every page it
// reaches. Everything is measured on the device it is painted on.

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QRectF>
#include <deque>
#include <vector>

#include "platform/DocumentoInforme.h"

class QPainter;
class QTextLayout;
class QPaintDevice;

namespace zul {

// A paragraph placed on a page: the space its lines have, in device units.
struct ParrafoUbicado {
    const Parrafo* parrafo = nullptr;
    QRectF caja;
    double ancho = 0;  // of its widest line
    int lineas = 1;
};

struct PaginaInforme {
    std::vector<std::pair<QRectF, QColor>> rellenos;  // backgrounds, then rules
    std::vector<ParrafoUbicado> parrafos;
};

class ImpresionInforme {
  public:
    // Lays `doc` out on pages of `area` (the text area, in the device's units).
    ImpresionInforme(const DocumentoInforme& doc, QPaintDevice* dispositivo, QRectF area);

    const std::vector<PaginaInforme>& paginas() const { return paginas_; }
    void pintar(QPainter& p, int pagina);

    // The font of a style, on the device.
    const QFont& fuente(const EstiloTexto& estilo) { return medida(estilo).fuente; }

  private:
    struct Medida {
        EstiloTexto estilo;
        QFont fuente;
        QFontMetricsF metricas;
    };
    struct Tamano {
        double alto = 0;
        double ancho = 0;
        int lineas = 1;
    };

    struct CeldaMedida {
        double x = 0;
        double ancho = 0;
        std::vector<Tamano> parrafos;
    };
    struct FilaMedida {
        double alto = 0;
        std::vector<CeldaMedida> celdas;
    };

    const Medida& medida(const EstiloTexto& estilo);
    // `natural`: the paragraph's width on one line when already known, else below 0.
    Tamano medir(const Parrafo& p, double ancho, double natural = -1);
    double natural(const Parrafo& p);
    double palabraMasAncha(const Parrafo& p);
    std::vector<double> anchosColumnas(const Tabla& t, double ancho,
                                       std::vector<double>& naturales);
    void componer(QTextLayout& l, const Parrafo& p, double ancho);
    QSizeF tamanoImagen(const Tramo& t) const;
    void parrafo(const Parrafo& p);
    void tabla(const Tabla& t);
    FilaMedida medirFila(const Tabla& t, const Fila& f, const std::vector<double>& anchos,
                         double x0, const double*& naturales);
    void colocarFila(const Tabla& t, const Fila& f, const FilaMedida& m, double anchoTabla,
                     double x0);
    void pintarParrafo(QPainter& p, const ParrafoUbicado& u);
    void nuevaPagina();

    const DocumentoInforme& doc_;
    QPaintDevice* dispositivo_;
    QRectF area_;
    double pixel_;                // device units per CSS pixel
    std::deque<Medida> medidas_;  // references to them stay valid
    std::vector<PaginaInforme> paginas_;
    double y_ = 0;
    double margenAnterior_ = 0;
};

}  // namespace zul
