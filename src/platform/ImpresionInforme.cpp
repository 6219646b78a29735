#include "platform/ImpresionInforme.h"

#include <QPaintDevice>
#include <QPainter>
#include <QRegularExpression>
#include <QTextLayout>
#include <algorithm>
#include <numeric>

namespace zul {

namespace {

// A paragraph of one run of plain text: measured and drawn without a text layout.
bool Simple(const Parrafo& p) {
    return p.tramos.size() == 1 && p.tramos.front().imagen.isEmpty() &&
           !p.tramos.front().texto.contains(QChar::LineSeparator);
}

bool ConImagen(const Parrafo& p) {
    return std::any_of(p.tramos.begin(), p.tramos.end(),
                       [](const Tramo& t) { return !t.imagen.isEmpty(); });
}

double Inicio(Qt::Alignment a, const QRectF& caja, double ancho) {
    if (a & Qt::AlignRight) return caja.right() - ancho;
    if (a & Qt::AlignHCenter) return caja.left() + (caja.width() - ancho) / 2;
    return caja.left();
}

}  // namespace

ImpresionInforme::ImpresionInforme(const DocumentoInforme& doc, QPaintDevice* dispositivo,
                                   QRectF area)
    : doc_(doc), dispositivo_(dispositivo), area_(area), pixel_(dispositivo->logicalDpiY() / 96.0) {
    // Templates name Arial and Courier New: their metric-compatible faces keep pages the same
    // everywhere.
    static const bool sustituidas = [] {
        QFont::insertSubstitutions(QStringLiteral("Arial"),
                                   {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")});
        QFont::insertSubstitutions(QStringLiteral("Courier New"),
                                   {QStringLiteral("Liberation Mono"), QStringLiteral("Cousine")});
        return true;
    }();
    (void)sustituidas;
    nuevaPagina();
    for (const Bloque& b : doc_.bloques) {
        if (b.tipo == Bloque::parrafo)
            parrafo(b.p);
        else
            tabla(b.t);
    }
}

const ImpresionInforme::Medida& ImpresionInforme::medida(const EstiloTexto& estilo) {
    for (const Medida& m : medidas_)
        if (m.estilo == estilo) return m;
    QFont f;
    if (!estilo.familias.isEmpty()) f.setFamilies(estilo.familias);
    f.setPointSizeF(estilo.puntos > 0 ? estilo.puntos : 9);
    f.setBold(estilo.negrita);
    f.setItalic(estilo.cursiva);
    f.setUnderline(estilo.subrayado);
    const QFont enDispositivo(f, dispositivo_);
    medidas_.push_back({estilo, enDispositivo, QFontMetricsF(enDispositivo, dispositivo_)});
    return medidas_.back();
}

QSizeF ImpresionInforme::tamanoImagen(const Tramo& t) const {
    return doc_.tamano(t) * pixel_;
}

void ImpresionInforme::componer(QTextLayout& l, const Parrafo& p, double ancho) {
    QString texto;
    QList<QTextLayout::FormatRange> formatos;
    for (const Tramo& t : p.tramos) {
        if (!t.imagen.isEmpty()) continue;
        QTextLayout::FormatRange r;
        r.start = static_cast<int>(texto.size());
        r.length = static_cast<int>(t.texto.size());
        r.format.setFont(medida(t.estilo).fuente);
        if (t.estilo.color.isValid()) r.format.setForeground(t.estilo.color);
        formatos.append(r);
        texto += t.texto;
    }
    l.setText(texto);
    l.setFont(medida(p.tramos.front().estilo).fuente);
    l.setFormats(formatos);
    QTextOption o(p.alineacion);
    // A word wider than its cell breaks rather than running over the next one.
    o.setWrapMode(p.sinCorte ? QTextOption::NoWrap : QTextOption::WrapAtWordBoundaryOrAnywhere);
    l.setTextOption(o);
    l.beginLayout();
    double y = 0;
    for (QTextLine linea = l.createLine(); linea.isValid(); linea = l.createLine()) {
        linea.setLineWidth(ancho);
        linea.setPosition(QPointF(0, y));
        y += linea.height();
    }
    l.endLayout();
}

double ImpresionInforme::natural(const Parrafo& p) {
    double w = 0;
    for (const Tramo& r : p.tramos)
        w += r.imagen.isEmpty() ? medida(r.estilo).metricas.horizontalAdvance(r.texto)
                                : tamanoImagen(r).width();
    return w;
}

double ImpresionInforme::palabraMasAncha(const Parrafo& p) {
    double w = 0;
    for (const Tramo& r : p.tramos) {
        if (!r.imagen.isEmpty()) {
            w = std::max(w, tamanoImagen(r).width());
            continue;
        }
        const QFontMetricsF& fm = medida(r.estilo).metricas;
        static const QRegularExpression blancos(QStringLiteral("\\s+"));
        for (const QString& palabra : r.texto.split(blancos, Qt::SkipEmptyParts))
            w = std::max(w, fm.horizontalAdvance(palabra));
    }
    return w;
}

ImpresionInforme::Tamano ImpresionInforme::medir(const Parrafo& p, double ancho, double natural) {
    if (p.tramos.empty()) return {};
    if (ConImagen(p)) {  // pictures and text side by side on one line
        Tamano t;
        t.ancho = natural >= 0 ? natural : this->natural(p);
        for (const Tramo& r : p.tramos)
            t.alto = std::max(t.alto, r.imagen.isEmpty() ? medida(r.estilo).metricas.height()
                                                         : tamanoImagen(r).height());
        return t;
    }
    if (Simple(p)) {
        const QFontMetricsF& fm = medida(p.tramos.front().estilo).metricas;
        const double w = natural >= 0 ? natural : fm.horizontalAdvance(p.tramos.front().texto);
        if (p.sinCorte || w <= ancho) return {fm.height(), w, 1};
    }
    QTextLayout l(QString(), QFont(), dispositivo_);
    componer(l, p, ancho);
    Tamano t;
    t.lineas = l.lineCount();
    for (int i = 0; i < l.lineCount(); ++i) {
        t.alto += l.lineAt(i).height();
        t.ancho = std::max(t.ancho, l.lineAt(i).naturalTextWidth());
    }
    return t;
}

void ImpresionInforme::nuevaPagina() {
    paginas_.emplace_back();
    y_ = area_.top();
    margenAnterior_ = 0;
}

void ImpresionInforme::parrafo(const Parrafo& p) {
    double antes = y_ > area_.top() ? std::max(p.margen, margenAnterior_) * pixel_ : 0;
    const Tamano t = medir(p, area_.width());
    if (y_ + antes + t.alto > area_.bottom() && y_ > area_.top()) {
        nuevaPagina();
        antes = 0;
    }
    y_ += antes;
    paginas_.back().parrafos.push_back(
        {&p, QRectF(area_.left(), y_, area_.width(), t.alto), t.ancho, t.lineas});
    y_ += t.alto;
    margenAnterior_ = p.margen;
}

ImpresionInforme::FilaMedida ImpresionInforme::medirFila(const Tabla& t, const Fila& f,
                                                         const std::vector<double>& anchos,
                                                         double x0, const double*& naturales) {
    const double borde = t.borde * pixel_;
    const double relleno = t.relleno * pixel_;
    FilaMedida m;
    m.celdas.reserve(f.celdas.size());
    size_t col = 0;
    double x = x0;
    for (const Celda& c : f.celdas) {
        CeldaMedida cm;
        cm.x = x;
        for (int i = 0; i < c.columnas && col < anchos.size(); ++i) cm.ancho += anchos[col++];
        x += cm.ancho;
        const double interior = std::max(cm.ancho - borde - 2 * relleno, 1.0);
        double alto = 0;
        cm.parrafos.reserve(c.parrafos.size());
        for (const Parrafo& p : c.parrafos) {
            cm.parrafos.push_back(medir(p, interior, *naturales++));
            alto += cm.parrafos.back().alto;
        }
        m.alto = std::max(m.alto, alto);
        m.celdas.push_back(std::move(cm));
    }
    m.alto += borde + 2 * relleno;
    return m;
}

void ImpresionInforme::colocarFila(const Tabla& t, const Fila& f, const FilaMedida& m,
                                   double anchoTabla, double x0) {
    PaginaInforme& pg = paginas_.back();
    const double borde = t.borde * pixel_;
    const double relleno = t.relleno * pixel_;
    for (size_t i = 0; i < f.celdas.size() && i < m.celdas.size(); ++i) {
        const Celda& c = f.celdas[i];
        const CeldaMedida& cm = m.celdas[i];
        if (c.fondo.isValid())
            pg.rellenos.push_back(
                {QRectF(cm.x + borde, y_ + borde, cm.ancho - borde, m.alto - borde), c.fondo});
        double y = y_ + borde + relleno;
        const double x = cm.x + borde + relleno;
        const double interior = std::max(cm.ancho - borde - 2 * relleno, 1.0);
        for (size_t k = 0; k < c.parrafos.size() && k < cm.parrafos.size(); ++k) {
            const Tamano& tm = cm.parrafos[k];
            pg.parrafos.push_back(
                {&c.parrafos[k], QRectF(x, y, interior, tm.alto), tm.ancho, tm.lineas});
            y += tm.alto;
        }
    }
    if (borde > 0) {
        pg.rellenos.push_back({QRectF(x0, y_, anchoTabla + borde, borde), Qt::black});
        for (const CeldaMedida& cm : m.celdas)
            pg.rellenos.push_back({QRectF(cm.x, y_, borde, m.alto), Qt::black});
        pg.rellenos.push_back({QRectF(x0 + anchoTabla, y_, borde, m.alto), Qt::black});
    }
    y_ += m.alto;
}

// The template's widths, widened where a column's content cannot fit them (a nowrap text, a
// word) at the expense of the columns whose content leaves room to spare. Also measures every
// cell's paragraphs on one line, in order, into `naturales`.
std::vector<double> ImpresionInforme::anchosColumnas(const Tabla& t, double ancho,
                                                     std::vector<double>& naturales) {
    std::vector<double> anchos = t.anchos(ancho, pixel_);
    std::vector<double> minimos(anchos.size(), 0);
    const double extra = (t.borde + 2 * t.relleno) * pixel_;
    for (const Fila& f : t.filas) {
        size_t col = 0;
        for (const Celda& c : f.celdas) {
            for (const Parrafo& p : c.parrafos) {
                naturales.push_back(natural(p));
                if (c.columnas != 1 || col >= anchos.size()) continue;
                // What fits keeps its line; what does not, its longest word. A unit to spare
                // against rounding.
                double necesita = naturales.back() + extra;
                if (necesita > anchos[col] && !p.sinCorte) necesita = palabraMasAncha(p) + extra;
                minimos[col] = std::max(minimos[col], necesita + 1);
            }
            col += static_cast<size_t>(c.columnas);
        }
    }
    double falta = 0, sobra = 0;
    for (size_t c = 0; c < anchos.size(); ++c)
        (anchos[c] < minimos[c] ? falta : sobra) += std::abs(anchos[c] - minimos[c]);
    if (falta <= 0) return anchos;
    // Shares the room the others spare; when there is too little, all shrink alike.
    const double parte = sobra > 0 ? std::min(falta / sobra, 1.0) : 0;
    for (size_t c = 0; c < anchos.size(); ++c)
        anchos[c] =
            anchos[c] < minimos[c] ? minimos[c] : anchos[c] - (anchos[c] - minimos[c]) * parte;
    const double total = std::accumulate(anchos.begin(), anchos.end(), 0.0);
    if (total > ancho)
        for (double& w : anchos) w *= ancho / total;
    return anchos;
}

void ImpresionInforme::tabla(const Tabla& t) {
    if (t.filas.empty()) return;
    const double borde = t.borde * pixel_;
    // Columns fill the width less the right-hand rule.
    const double anchoTabla = t.anchoEn(area_.width(), pixel_) - borde;
    const double x0 = area_.left();
    std::vector<double> naturales;
    const std::vector<double> anchos = anchosColumnas(t, anchoTabla, naturales);
    const double* natural = naturales.data();
    if (y_ > area_.top()) y_ += margenAnterior_ * pixel_;
    margenAnterior_ = 0;

    // The bottom rule of the rows on this page.
    const auto cerrar = [&] {
        if (borde > 0)
            paginas_.back().rellenos.push_back(
                {QRectF(x0, y_, anchoTabla + borde, borde), Qt::black});
    };
    std::vector<FilaMedida> encabezado;
    double tope = area_.top();  // rows above this are the page's repeated headers
    for (size_t r = 0; r < t.filas.size(); ++r) {
        const Fila& f = t.filas[r];
        FilaMedida m = medirFila(t, f, anchos, x0, natural);
        const bool esEncabezado = static_cast<int>(r) < t.filasEncabezado;
        if (y_ + m.alto + borde > area_.bottom() && y_ > tope) {
            cerrar();
            nuevaPagina();
            if (!esEncabezado)
                for (size_t h = 0; h < encabezado.size(); ++h)
                    colocarFila(t, t.filas[h], encabezado[h], anchoTabla, x0);
            tope = y_;
        }
        colocarFila(t, f, m, anchoTabla, x0);
        if (esEncabezado) encabezado.push_back(std::move(m));
    }
    cerrar();
    y_ += borde;
}

void ImpresionInforme::pintarParrafo(QPainter& p, const ParrafoUbicado& u) {
    const Parrafo& par = *u.parrafo;
    if (par.tramos.empty()) return;
    if (ConImagen(par)) {
        double x = Inicio(par.alineacion, u.caja, u.ancho);
        for (const Tramo& r : par.tramos) {
            if (r.imagen.isEmpty()) {
                const Medida& m = medida(r.estilo);
                p.setFont(m.fuente);
                p.setPen(r.estilo.color.isValid() ? r.estilo.color : QColor(Qt::black));
                p.drawText(QPointF(x, u.caja.bottom() - m.metricas.descent()), r.texto);
                x += m.metricas.horizontalAdvance(r.texto);
            } else {
                const QSizeF s = tamanoImagen(r);
                const QImage img = doc_.imagenes.value(r.imagen);
                if (!img.isNull())
                    p.drawImage(QRectF(QPointF(x, u.caja.bottom() - s.height()), s), img);
                x += s.width();
            }
        }
        return;
    }
    if (Simple(par) && u.lineas == 1) {
        const Tramo& r = par.tramos.front();
        const Medida& m = medida(r.estilo);
        p.setFont(m.fuente);
        p.setPen(r.estilo.color.isValid() ? r.estilo.color : QColor(Qt::black));
        p.drawText(
            QPointF(Inicio(par.alineacion, u.caja, u.ancho), u.caja.top() + m.metricas.ascent()),
            r.texto);
        return;
    }
    QTextLayout l(QString(), QFont(), dispositivo_);
    componer(l, par, u.caja.width());
    p.setPen(Qt::black);
    l.draw(&p, u.caja.topLeft());
}

void ImpresionInforme::pintar(QPainter& p, int pagina) {
    const PaginaInforme& pg = paginas_.at(static_cast<size_t>(pagina));
    for (const auto& [r, c] : pg.rellenos) p.fillRect(r, c);
    for (const ParrafoUbicado& u : pg.parrafos) pintarParrafo(p, u);
}

}  // namespace zul
