#pragma once
// Lays a report document out on pages and paints them: paragraphs wrap at word boundaries
// (at any character when a word is wider than its space), nowrap paragraphs stay on one line,
// table rows never split across pages, a table's header rows repeat on every page it reaches
// and never end a page without a row under them, a paragraph marked to stay with what follows
// goes to the next page with it, and the document's page header opens every page after the
// first. Everything is measured on the device it is painted on.

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QRectF>
#include <deque>
#include <unordered_map>
#include <vector>

#include "platform/DocumentoInforme.h"

class QPainter;
class QTextLayout;
class QPaintDevice;

namespace zul {

// The sheet reports print on: A4, the printer keeping 5 mm at each edge, the text 2 cm inside
// that.
inline constexpr double kMargenImpresoraMm = 5;
inline constexpr double kMargenTextoMm = 20;

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
    // Where the page's body begins: the document's block and, in a table, its row.
    size_t bloque = 0;
    size_t fila = 0;
};

class ImpresionInforme {
  public:
    // Lays `doc` out on pages of `area` (the text area, in the device's units).
    ImpresionInforme(const DocumentoInforme& doc, QPaintDevice* dispositivo, QRectF area);

    const std::vector<PaginaInforme>& paginas() const { return paginas_; }
    void pintar(QPainter& p, int pagina);

    // The font of a style, on the device.
    const QFont& fuente(const EstiloTexto& estilo) { return medida(estilo).fuente; }

    // The columns of a table `ancho` wide whose cells take `extra` beyond their text (borders,
    // padding), in the device's units: the template's widths, widened so that what is on one
    // line on these pages stays so and no word breaks, at the expense of the columns with room
    // to spare.
    std::vector<double> anchosDeColumnas(const Tabla& t, double ancho, double extra);

  private:
    struct Medida {
        EstiloTexto estilo;
        QFont fuente;
        QFontMetricsF metricas;
        // Widths already measured: a declaration repeats its amounts, flags and categories.
        QHash<QString, double> anchos;
        double ancho(const QString& texto);
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
    // A table's columns on the page and its cells measured on one line, in order.
    struct TablaMedida {
        double ancho = 0;
        std::vector<double> anchos;
        std::vector<double> naturales;
    };

    Medida& medida(const EstiloTexto& estilo);
    // `natural`: the paragraph's width on one line when already known, else below 0.
    Tamano medir(const Parrafo& p, double ancho, double natural = -1);
    double natural(const Parrafo& p);
    double palabraMasAncha(const Parrafo& p);
    // A table's columns as laid out here, and what its cells take beyond their text.
    struct Columnas {
        const std::vector<double>* anchos = nullptr;
        double extra = 0;
    };
    std::vector<double> anchosColumnas(const Tabla& t, double ancho, double extra,
                                       const std::vector<double>& naturales, Columnas impreso);
    const TablaMedida& medirTabla(const Tabla& t);
    // The height of a table's header rows and first row, which share a page.
    double inicioTabla(const Tabla& t);
    // What must share a page with a paragraph before it with margin `margen`: the block's
    // first paragraph, or the start of a table.
    double inicio(const Bloque& b, double margen);
    void componer(QTextLayout& l, const Parrafo& p, double ancho);
    QSizeF tamanoImagen(const Tramo& t) const;
    void bloque(const Bloque& b, const Bloque* siguiente);
    void parrafo(const Parrafo& p, const Bloque* siguiente);
    void tabla(const Tabla& t);
    FilaMedida medirFila(const Tabla& t, const Fila& f, const std::vector<double>& anchos,
                         double x0, const double*& naturales);
    void colocarFila(const Tabla& t, const Fila& f, const FilaMedida& m, double anchoTabla,
                     double x0);
    void pintarParrafo(QPainter& p, const ParrafoUbicado& u);
    void nuevaPagina(size_t fila = 0);

    const DocumentoInforme& doc_;
    QPaintDevice* dispositivo_;
    QRectF area_;
    double pixel_;                // device units per CSS pixel
    std::deque<Medida> medidas_;  // references to them stay valid
    std::vector<PaginaInforme> paginas_;
    std::unordered_map<const Tabla*, TablaMedida> tablas_;  // references to them stay valid
    size_t bloque_ = 0;                                     // the body's block being placed
    bool enEncabezado_ = false;
    double cuerpo_ = 0;  // where the page's body begins, below its header
    double y_ = 0;
    double margenAnterior_ = 0;
};

}  // namespace zul
