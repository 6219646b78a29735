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
    const std::vector<Bloque>& bloques = doc_.bloques;
    for (bloque_ = 0; bloque_ < bloques.size(); ++bloque_)
        bloque(bloques[bloque_], bloque_ + 1 < bloques.size() ? &bloques[bloque_ + 1] : nullptr);
}

void ImpresionInforme::bloque(const Bloque& b, const Bloque* siguiente) {
    if (b.tipo == Bloque::parrafo)
        parrafo(b.p, siguiente);
    else
        tabla(b.t);
}

ImpresionInforme::Medida& ImpresionInforme::medida(const EstiloTexto& estilo) {
    for (Medida& m : medidas_)
        if (m.estilo == estilo) return m;
    QFont f;
    if (!estilo.familias.isEmpty()) f.setFamilies(estilo.familias);
    f.setPointSizeF(estilo.puntos > 0 ? estilo.puntos : 9);
    f.setBold(estilo.negrita);
    f.setItalic(estilo.cursiva);
    f.setUnderline(estilo.subrayado);
    const QFont enDispositivo(f, dispositivo_);
    medidas_.push_back({estilo, enDispositivo, QFontMetricsF(enDispositivo, dispositivo_), {}});
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

double ImpresionInforme::Medida::ancho(const QString& texto) {
    const auto hecho = anchos.constFind(texto);
    if (hecho != anchos.cend()) return *hecho;
    return *anchos.insert(texto, metricas.horizontalAdvance(texto));
}

double ImpresionInforme::natural(const Parrafo& p) {
    double w = 0;
    for (const Tramo& r : p.tramos)
        w += r.imagen.isEmpty() ? medida(r.estilo).ancho(r.texto) : tamanoImagen(r).width();
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

void ImpresionInforme::nuevaPagina(size_t fila) {
    paginas_.emplace_back();
    paginas_.back().bloque = bloque_;
    paginas_.back().fila = fila;
    y_ = area_.top();
    margenAnterior_ = 0;
    if (paginas_.size() > 1 && !enEncabezado_) {
        enEncabezado_ = true;
        for (const Bloque& b : doc_.encabezado) bloque(b, nullptr);
        enEncabezado_ = false;
    }
    cuerpo_ = y_;
}

double ImpresionInforme::inicio(const Bloque& b, double margen) {
    if (b.tipo == Bloque::parrafo)
        return std::max(margen, b.p.margen) * pixel_ + medir(b.p, area_.width()).alto;
    return margen * pixel_ + inicioTabla(b.t) + b.t.borde * pixel_;
}

void ImpresionInforme::parrafo(const Parrafo& p, const Bloque* siguiente) {
    const auto antes = [&] {
        return y_ > area_.top() ? std::max(p.margen, margenAnterior_) * pixel_ : 0;
    };
    const Tamano t = medir(p, area_.width());
    // A heading goes to the next page with the start of what it heads.
    const double alto = t.alto + (p.conSiguiente && siguiente ? inicio(*siguiente, p.margen) : 0);
    if (!enEncabezado_ && y_ + antes() + alto > area_.bottom() && y_ > cuerpo_) nuevaPagina();
    y_ += antes();
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

std::vector<double> ImpresionInforme::anchosDeColumnas(const Tabla& t, double ancho, double extra) {
    const TablaMedida& m = medirTabla(t);
    return anchosColumnas(t, ancho, extra, m.naturales,
                          {&m.anchos, (t.borde + 2 * t.relleno) * pixel_});
}

// `naturales`: every cell's paragraphs measured on one line, in order. `impreso`: the columns
// of the table laid out here, whose one-line paragraphs keep their line; without them, what
// fits the template's widths does.
std::vector<double> ImpresionInforme::anchosColumnas(const Tabla& t, double ancho, double extra,
                                                     const std::vector<double>& naturales,
                                                     Columnas impreso) {
    std::vector<double> anchos = t.anchos(ancho, pixel_);
    std::vector<double> minimos(anchos.size(), 0);
    const double* natural = naturales.data();
    for (const Fila& f : t.filas) {
        size_t col = 0;
        for (const Celda& c : f.celdas) {
            for (const Parrafo& p : c.parrafos) {
                const double enUnaLinea = *natural++;
                if (c.columnas != 1 || col >= anchos.size()) continue;
                // What fits keeps its line; what does not, its longest word. A unit to spare
                // against rounding.
                double necesita = enUnaLinea + extra;
                const bool cabe = impreso.anchos
                                      ? enUnaLinea + impreso.extra <= (*impreso.anchos)[col]
                                      : necesita <= anchos[col];
                if (!cabe && !p.sinCorte) necesita = palabraMasAncha(p) + extra;
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

const ImpresionInforme::TablaMedida& ImpresionInforme::medirTabla(const Tabla& t) {
    const auto hecha = tablas_.find(&t);
    if (hecha != tablas_.end()) return hecha->second;
    TablaMedida m;
    // Columns fill the width less the right-hand rule.
    m.ancho = t.anchoEn(area_.width(), pixel_) - t.borde * pixel_;
    for (const Fila& f : t.filas)
        for (const Celda& c : f.celdas)
            for (const Parrafo& p : c.parrafos) m.naturales.push_back(natural(p));
    m.anchos = anchosColumnas(t, m.ancho, (t.borde + 2 * t.relleno) * pixel_, m.naturales, {});
    return tablas_.emplace(&t, std::move(m)).first->second;
}

double ImpresionInforme::inicioTabla(const Tabla& t) {
    const TablaMedida& m = medirTabla(t);
    const double* natural = m.naturales.data();
    double alto = 0;
    const size_t filas = std::min(t.filas.size(), static_cast<size_t>(t.filasEncabezado) + 1);
    for (size_t r = 0; r < filas; ++r)
        alto += medirFila(t, t.filas[r], m.anchos, area_.left(), natural).alto;
    return alto;
}

void ImpresionInforme::tabla(const Tabla& t) {
    if (t.filas.empty()) return;
    const double borde = t.borde * pixel_;
    const TablaMedida& medida = medirTabla(t);
    const double anchoTabla = medida.ancho;
    const std::vector<double>& anchos = medida.anchos;
    const double x0 = area_.left();
    const double* natural = medida.naturales.data();
    const auto margen = [&] {
        if (y_ > area_.top()) y_ += margenAnterior_ * pixel_;
        margenAnterior_ = 0;
    };
    margen();

    // The bottom rule of the rows on this page.
    const auto cerrar = [&] {
        if (borde > 0)
            paginas_.back().rellenos.push_back(
                {QRectF(x0, y_, anchoTabla + borde, borde), Qt::black});
    };
    std::vector<FilaMedida> encabezado;
    double tope = cuerpo_;  // rows above this are the page's repeated headers
    for (size_t r = 0; r < t.filas.size(); ++r) {
        const Fila& f = t.filas[r];
        FilaMedida m = medirFila(t, f, anchos, x0, natural);
        const bool esEncabezado = static_cast<int>(r) < t.filasEncabezado;
        // The header rows start a page only with a row under them.
        const double alto = r == 0 && t.filasEncabezado > 0 ? inicioTabla(t) : m.alto;
        if (!enEncabezado_ && y_ + alto + borde > area_.bottom() && y_ > tope) {
            cerrar();
            nuevaPagina(r);
            margen();
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
