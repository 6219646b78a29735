#pragma once
// A rendered report as the printer and the RTF writer read it: paragraphs and tables of
// paragraphs, read from the HTML a report template renders to.
//
// The HTML read is the part reports use: <p>, <div>, <br>, <b>/<strong>, <i>/<em>, <u>,
// <span>, <table> (width, border, cellpadding) with <thead>, <tr>, <td>/<th> (width, align,
// colspan), <img src width height>, <title> and <header> (what every page after the first
// repeats at its top); the attributes align and bgcolor; the styles font-family, font-size (pt
// or px), font-weight, font-style, text-decoration, color, background-color, text-align and
// white-space: nowrap, on any element, inherited as in HTML, and page-break-after: avoid (or
// break-after: avoid) on the paragraphs of the element. Other tags are left out and their text
// kept; comments and <head> contents other than the title are skipped.

#include <QColor>
#include <QImage>
#include <QMap>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <vector>

namespace zul {

// How a run of text looks. Sizes in points; families in order of preference.
struct EstiloTexto {
    QStringList familias;
    double puntos = 9;
    bool negrita = false;
    bool cursiva = false;
    bool subrayado = false;
    QColor color;  // invalid: black

    bool operator==(const EstiloTexto&) const = default;
};

// A run of text in one style, or a picture (imagen names one of the document's images;
// its size in CSS pixels of 1/96 inch, 0 for the picture's own).
struct Tramo {
    QString texto;
    EstiloTexto estilo;
    QString imagen;
    double ancho = 0;
    double alto = 0;
};

struct Parrafo {
    Qt::Alignment alineacion = Qt::AlignLeft;
    bool sinCorte = false;      // white-space: nowrap
    bool conSiguiente = false;  // page-break-after: avoid: on the page of what follows it
    std::vector<Tramo> tramos;
    // Blank space before and after, in CSS pixels (paragraphs outside tables).
    double margen = 0;

    QString texto() const;  // the runs' text; a picture counts as U+FFFC
    bool vacio() const { return tramos.empty(); }
};

struct Celda {
    std::vector<Parrafo> parrafos;
    int columnas = 1;           // colspan
    double anchoPorciento = 0;  // 0: shares what the others leave
    double anchoPixeles = 0;
    QColor fondo;
};

struct Fila {
    std::vector<Celda> celdas;
};

struct Tabla {
    double anchoPorciento = 100;  // of the page's text width; 0 with anchoPixeles
    double anchoPixeles = 0;
    double borde = 0;         // border width, CSS pixels; 0 = none
    double relleno = 1;       // cellpadding, CSS pixels
    int filasEncabezado = 0;  // the leading rows of <thead>, repeated on each page
    std::vector<Fila> filas;

    int columnas() const;
    // The table's width on a page `disponible` wide (pixel: that unit per CSS pixel): its share
    // of it, or its own width as far as the page allows, or all of it when it gives none.
    double anchoEn(double disponible, double pixel) const;
    // Each column's width for a table `ancho` wide (pixel: the same unit per CSS pixel).
    // Columns given no width share what the others leave; widths that do not fit shrink.
    std::vector<double> anchos(double ancho, double pixel) const;
};

// One block of the body: a paragraph or a table.
struct Bloque {
    enum Tipo { parrafo, tabla } tipo = parrafo;
    Parrafo p;
    Tabla t;
};

struct DocumentoInforme {
    QString titulo;          // <title>, blanks simplified
    EstiloTexto estiloBase;  // of <body>
    std::vector<Bloque> bloques;
    std::vector<Bloque> encabezado;  // <header>: at the top of every page but the first
    QMap<QString, QImage> imagenes;

    // The plain text: one line per paragraph, table cells in order.
    QString texto() const;
    // A picture's size in CSS pixels: as given, the missing side in the picture's proportions,
    // or the picture's own.
    QSizeF tamano(const Tramo& imagen) const;
};

// Reads the HTML a template rendered. Never fails: what it does not know, it leaves out.
DocumentoInforme LeerHtml(const QString& html, const QMap<QString, QImage>& imagenes = {});

}  // namespace zul
