#include "platform/RtfWriter.h"

#include <QBuffer>
#include <QHash>
#include <QImage>
#include <algorithm>
#include <charconv>
#include <utility>
#include <vector>

#include "platform/DocumentoInforme.h"
#include "platform/ImpresionInforme.h"

namespace zul {

namespace {

constexpr int kPapelAncho = 11906;  // A4, twips
constexpr int kPapelAlto = 16838;
constexpr int kMargen = 1134;  // 2 cm
constexpr int kAnchoUtil = kPapelAncho - 2 * kMargen;
constexpr int kTwipsPorPixel = 15;
constexpr double kTwipsPorMm = 1440 / 25.4;
// Half the space between the texts of two cells, and a cell rule's width.
constexpr int kHueco = 70;
constexpr int kRaya = 10;

// The code-page 1252 byte of a character; -1 when the code page has none.
int Cp1252(char16_t u) {
    // 0x80 to 0x9F of the code page, where it departs from Latin-1 (0: unassigned).
    static constexpr char16_t kAltos[32] = {
        0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    if (u >= 0xA0 && u <= 0xFF) return u;
    const auto it = std::find(std::begin(kAltos), std::end(kAltos), u);
    return it == std::end(kAltos) ? -1 : 0x80 + static_cast<int>(it - std::begin(kAltos));
}

// A colour that shows: an invalid or fully transparent one stands for none.
bool Visible(const QColor& c) {
    return c.isValid() && c.alpha() > 0;
}

// What the RTF says of a run's look (the families go out as the table's only font).
bool MismoFormato(const EstiloTexto& a, const EstiloTexto& b) {
    return a.puntos == b.puntos && a.negrita == b.negrita && a.cursiva == b.cursiva &&
           a.subrayado == b.subrayado && a.color == b.color;
}

struct Png {
    QByteArray hex;
    int ancho = 0;
    int alto = 0;
};

class Escritor {
  public:
    Escritor() : twips_(1, 1, QImage::Format_Mono) {
        const int puntosPorMetro = qRound(1440 / 0.0254);
        twips_.setDotsPerMeterX(puntosPorMetro);
        twips_.setDotsPerMeterY(puntosPorMetro);
    }

    QByteArray documento(const QList<const DocumentoInforme*>& docs) {
        // A first pass finds the colours for the header, encodes the pictures and sizes the
        // output, so the whole file is written once into one buffer.
        qsizetype tamano = 1024;
        for (const DocumentoInforme* d : docs) tamano += preparar(*d);
        out_.reserve(tamano);
        out_ +=
            "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n"
            "{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\n{\\colortbl;";
        for (const QColor& c : colores_) {
            out_ += "\\red";
            numero(c.red());
            out_ += "\\green";
            numero(c.green());
            out_ += "\\blue";
            numero(c.blue());
            out_ += ';';
        }
        out_ += "}\n\\paperw";
        numero(kPapelAncho);
        out_ += "\\paperh";
        numero(kPapelAlto);
        for (const char* margen : {"\\margl", "\\margr", "\\margt", "\\margb"}) {
            out_ += margen;
            numero(kMargen);
        }
        out_ += "\\fs20\n";
        for (qsizetype i = 0; i < docs.size(); ++i) {
            if (i > 0) out_ += "\\page\n";
            cuerpo(*docs[i]);
        }
        out_ += "}\n";
        return std::move(out_);
    }

  private:
    // The document broken into pages where the printed copy breaks them (the sheet here has
    // room to spare for a word processor's looser lines), so that every page opens with the
    // page header and a table's header rows, which not every word processor repeats itself.
    void cuerpo(const DocumentoInforme& d) {
        doc_ = &d;
        const double margen = (kMargenImpresoraMm + kMargenTextoMm) * kTwipsPorMm;
        ImpresionInforme paginas(d, &twips_,
                                 QRectF(0, 0, kPapelAncho - 2 * margen, kPapelAlto - 2 * margen));
        medidas_ = &paginas;
        proxima_ = 1;
        for (size_t k = 0; k < d.bloques.size(); ++k) {
            const Bloque& b = d.bloques[k];
            if (b.tipo == Bloque::tabla) {
                tabla(b.t, k);
            } else {
                if (empiezaPagina(k, 0)) pagina();
                parrafo(b.p, false, false);
            }
        }
        medidas_ = nullptr;
    }

    // Whether the printed copy starts a page at row `fila` of block `bloque` (or before it,
    // at something that wrote nothing).
    bool empiezaPagina(size_t bloque, size_t fila) {
        const auto& ps = medidas_->paginas();
        bool empieza = false;
        while (proxima_ < ps.size() &&
               std::pair(ps[proxima_].bloque, ps[proxima_].fila) <= std::pair(bloque, fila)) {
            ++proxima_;
            empieza = true;
        }
        return empieza;
    }

    // A new page, opened by the page header.
    void pagina() {
        saltoPendiente_ = true;
        for (const Bloque& b : doc_->encabezado) {
            if (b.tipo == Bloque::tabla)
                tabla(b.t, kSinPaginas);
            else
                parrafo(b.p, false, false);
        }
    }

    // --- first pass

    qsizetype preparar(const DocumentoInforme& d) {
        qsizetype tamano = 0;
        const auto medir = [&](const Parrafo& p) {
            tamano += 48;
            for (const Tramo& r : p.tramos) {
                tamano += 32 + 2 * r.texto.size();
                if (Visible(r.estilo.color)) color(r.estilo.color);
                if (!r.imagen.isEmpty()) tamano += codificar(d.imagenes.value(r.imagen));
            }
        };
        for (const auto* bloques : {&d.encabezado, &d.bloques})
            for (const Bloque& b : *bloques) {
                if (b.tipo == Bloque::parrafo) {
                    medir(b.p);
                    continue;
                }
                tamano += 16;
                for (const Fila& f : b.t.filas) {
                    tamano += 48;
                    for (const Celda& c : f.celdas) {
                        tamano += b.t.borde > 0 ? 128 : 40;
                        if (Visible(c.fondo)) color(c.fondo);
                        for (const Parrafo& p : c.parrafos) medir(p);
                    }
                }
            }
        return tamano;
    }

    // The picture as PNG in hex, once per image however often it is shown.
    qsizetype codificar(const QImage& img) {
        if (img.isNull() || pngs_.contains(img.cacheKey())) return 0;
        QByteArray png;
        QBuffer buf(&png);
        buf.open(QIODevice::WriteOnly);
        img.save(&buf, "PNG");
        Png& p = pngs_[img.cacheKey()];
        p.hex = png.toHex();
        p.ancho = img.width();
        p.alto = img.height();
        return p.hex.size() + 128;
    }

    // Index in the colour table (1-based; 0 is the reader's default).
    int color(const QColor& c) {
        const QRgb rgb = c.toRgb().rgb();
        for (size_t i = 0; i < colores_.size(); ++i)
            if (colores_[i].rgb() == rgb) return static_cast<int>(i) + 1;
        colores_.push_back(QColor::fromRgb(rgb));
        return static_cast<int>(colores_.size());
    }

    // --- output

    void numero(int v) {
        char b[16];
        const auto r = std::to_chars(b, b + sizeof b, v);
        out_.append(b, r.ptr - b);
    }

    // The control words that set a run's look, made once per look.
    const QByteArray& prefijo(const EstiloTexto& e) {
        if (ultimo_ < formatos_.size() && MismoFormato(formatos_[ultimo_].first, e))
            return formatos_[ultimo_].second;
        for (ultimo_ = 0; ultimo_ < formatos_.size(); ++ultimo_)
            if (MismoFormato(formatos_[ultimo_].first, e)) return formatos_[ultimo_].second;
        QByteArray p = "\\plain\\f0\\fs" + QByteArray::number(qRound(e.puntos * 2));
        if (e.negrita) p += "\\b";
        if (e.cursiva) p += "\\i";
        if (e.subrayado) p += "\\ul";
        if (Visible(e.color)) p += "\\cf" + QByteArray::number(color(e.color));
        formatos_.emplace_back(e, p + ' ');
        return formatos_.back().second;
    }

    void texto(const QString& t) {
        const auto* s = reinterpret_cast<const char16_t*>(t.constData());
        const qsizetype n = t.size();
        qsizetype i = 0;
        while (i < n) {
            // Plain ASCII goes out as it is, a run at a time.
            qsizetype j = i;
            while (j < n && s[j] >= 0x20 && s[j] < 0x80 && s[j] != u'\\' && s[j] != u'{' &&
                   s[j] != u'}')
                ++j;
            if (j > i) {
                const qsizetype desde = out_.size();
                out_.resize(desde + (j - i));
                char* d = out_.data() + desde;
                for (qsizetype k = i; k < j; ++k) *d++ = static_cast<char>(s[k]);
            }
            if (j == n) break;
            especial(s[j]);
            i = j + 1;
        }
    }

    void especial(char16_t u) {
        if (u == u'\\' || u == u'{' || u == u'}') {
            out_ += '\\';
            out_ += static_cast<char>(u);
        } else if (u == u'\n' || u == 0x2028) {
            out_ += "\\line ";
        } else if (u == u'\t') {
            out_ += "\\tab ";
        } else if (u == 0xA0) {
            out_ += "\\~";
        } else if (u >= 0x80 && u != 0xFFFC && u != 0x2029) {
            // Readers without Unicode take the code-page byte that follows.
            out_ += "\\u";
            numero(static_cast<qint16>(u));
            if (const int byte = Cp1252(u); byte < 0) {
                out_ += '?';
            } else {
                static constexpr char kHex[] = "0123456789abcdef";
                const char escape[] = {'\\', '\'', kHex[byte >> 4], kHex[byte & 0xF]};
                out_.append(escape, sizeof escape);
            }
        }
        // other control characters, object marks and block ends carry no text
    }

    void imagen(const Tramo& r) {
        const QImage img = doc_->imagenes.value(r.imagen);
        const auto it = pngs_.constFind(img.cacheKey());
        if (img.isNull() || it == pngs_.cend()) return;
        const QSizeF tam = doc_->tamano(r);
        const double ancho = tam.width(), alto = tam.height();
        out_ += "{\\pict\\pngblip\\picw";
        numero(it->ancho);
        out_ += "\\pich";
        numero(it->alto);
        out_ += "\\picwgoal";
        numero(qRound(ancho * kTwipsPorPixel));
        out_ += "\\pichgoal";
        numero(qRound(alto * kTwipsPorPixel));
        out_ += '\n';
        out_ += it->hex;
        out_ += '}';
    }

    void parrafo(const Parrafo& p, bool enCelda, bool ultimoDeCelda) {
        out_ += enCelda ? "\\pard\\intbl" : "\\pard";
        if (!enCelda && std::exchange(saltoPendiente_, false)) out_ += "\\pagebb";
        if (!enCelda && p.conSiguiente) out_ += "\\keepn";
        const Qt::Alignment a = p.alineacion;
        out_ += (a & Qt::AlignHCenter)   ? "\\qc"
                : (a & Qt::AlignRight)   ? "\\qr"
                : (a & Qt::AlignJustify) ? "\\qj"
                                         : "\\ql";
        if (p.margen > 0) {
            const int m = qRound(p.margen * kTwipsPorPixel);
            out_ += "\\sb";
            numero(m);
            out_ += "\\sa";
            numero(m);
        }
        if (p.tramos.empty()) out_ += prefijo(doc_->estiloBase);
        for (const Tramo& r : p.tramos) {
            if (!r.imagen.isEmpty()) {
                imagen(r);
                continue;
            }
            out_ += prefijo(r.estilo);
            texto(r.texto);
        }
        out_ += enCelda && ultimoDeCelda ? "\\cell\n" : "\\par\n";
    }

    // `bloque`: the table's place in the body, kSinPaginas for one of the page header.
    void tabla(const Tabla& t, size_t bloque) {
        const int columnas = t.columnas();
        if (columnas == 0) return;
        const int total = qRound(t.anchoEn(kAnchoUtil, kTwipsPorPixel));
        // Right edges of the columns, rounded once so that spans end on the same twip. The
        // columns are those of the printed page, for the gaps and rules of a cell here, and a
        // twentieth of a point each side to spare for the reader's own measuring.
        std::vector<int> borde(columnas);
        double x = 0;
        const double extra = 2 * kHueco + (t.borde > 0 ? 2 * kRaya : 0) + 2;
        const std::vector<double> anchos = medidas_->anchosDeColumnas(t, total, extra);
        for (int c = 0; c < columnas; ++c) borde[c] = qRound(x += anchos[c]);

        for (size_t r = 0; r < t.filas.size(); ++r) {
            if (bloque != kSinPaginas && empiezaPagina(bloque, r)) {
                pagina();
                if (r > 0)
                    for (int h = 0; h < t.filasEncabezado; ++h) fila(t, h, borde);
            }
            fila(t, static_cast<int>(r), borde);
        }
        out_ += "\\pard\n";
    }

    void fila(const Tabla& t, int r, const std::vector<int>& borde) {
        const int columnas = static_cast<int>(borde.size());
        const Fila& f = t.filas[static_cast<size_t>(r)];
        if (f.celdas.empty()) return;
        // A page break here belongs to a paragraph of its own, before the row.
        if (std::exchange(saltoPendiente_, false)) out_ += "\\pard\\pagebb\\plain\\fs2\\par\n";
        out_ += "\\trowd\\trgaph";
        numero(kHueco);
        out_ += "\\trleft0";
        if (r < t.filasEncabezado) out_ += "\\trhdr";
        int c = 0;
        for (const Celda& celda : f.celdas) {
            if (t.borde > 0)
                out_ +=
                    "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10"
                    "\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10";
            if (Visible(celda.fondo)) {
                out_ += "\\clcbpat";
                numero(color(celda.fondo));
            }
            c += celda.columnas;
            out_ += "\\cellx";
            numero(borde[std::min(c, columnas) - 1]);
        }
        out_ += '\n';
        for (const Celda& celda : f.celdas) {
            if (celda.parrafos.empty()) out_ += "\\pard\\intbl\\cell\n";
            for (size_t i = 0; i < celda.parrafos.size(); ++i)
                parrafo(celda.parrafos[i], true, i + 1 == celda.parrafos.size());
        }
        out_ += "\\row\n";
    }

    static constexpr size_t kSinPaginas = static_cast<size_t>(-1);

    QImage twips_;  // measures in twips
    ImpresionInforme* medidas_ = nullptr;
    size_t proxima_ = 1;  // the next page of the printed copy
    bool saltoPendiente_ = false;
    const DocumentoInforme* doc_ = nullptr;
    QByteArray out_;
    std::vector<QColor> colores_;
    QHash<qint64, Png> pngs_;
    std::vector<std::pair<EstiloTexto, QByteArray>> formatos_;
    size_t ultimo_ = 0;
};

}  // namespace

QByteArray EscribirRtf(const QList<const DocumentoInforme*>& documentos) {
    return Escritor().documento(documentos);
}

}  // namespace zul
