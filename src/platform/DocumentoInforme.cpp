#include "platform/DocumentoInforme.h"

#include <QHash>
#include <algorithm>
#include <numeric>
#include <optional>

namespace zul {

QString Parrafo::texto() const {
    QString t;
    for (const Tramo& r : tramos) t += r.imagen.isEmpty() ? r.texto : QString(QChar(0xFFFC));
    return t;
}

int Tabla::columnas() const {
    int n = 0;
    for (const Fila& f : filas) {
        int c = 0;
        for (const Celda& celda : f.celdas) c += celda.columnas;
        n = std::max(n, c);
    }
    return n;
}

std::vector<double> Tabla::anchos(double ancho, double pixel) const {
    const int n = columnas();
    std::vector<double> w(n, 0);
    for (const Fila& f : filas) {
        int c = 0;
        for (const Celda& celda : f.celdas) {
            if (celda.columnas == 1 && w[c] == 0)
                w[c] = celda.anchoPorciento > 0 ? ancho * celda.anchoPorciento / 100
                                                : celda.anchoPixeles * pixel;
            c += celda.columnas;
        }
    }
    const double dados = std::accumulate(w.begin(), w.end(), 0.0);
    const auto libres = std::count(w.begin(), w.end(), 0.0);
    if (libres > 0) {
        // What is left, or a twentieth of the width each when the given widths take it all.
        const double resto = std::max((ancho - dados) / libres, ancho / 20);
        for (double& x : w)
            if (x == 0) x = resto;
    }
    const double total = std::accumulate(w.begin(), w.end(), 0.0);
    if (total > ancho && total > 0)
        for (double& x : w) x *= ancho / total;
    return w;
}

QString DocumentoInforme::texto() const {
    QString t;
    const auto linea = [&t](const Parrafo& p) { t += p.texto() + u'\n'; };
    for (const Bloque& b : bloques) {
        if (b.tipo == Bloque::parrafo) {
            linea(b.p);
            continue;
        }
        for (const Fila& f : b.t.filas)
            for (const Celda& c : f.celdas)
                for (const Parrafo& p : c.parrafos) linea(p);
    }
    return t;
}

namespace {

QString Entidad(QStringView nombre) {
    static const QHash<QString, QChar> kNombres{
        {"amp", u'&'},           {"lt", u'<'},          {"gt", u'>'},
        {"quot", u'"'},          {"apos", u'\''},       {"nbsp", QChar(0xA0)},
        {"euro", QChar(0x20AC)}, {"ordm", QChar(0xBA)}, {"ordf", QChar(0xAA)}};
    if (nombre.startsWith(u'#')) {
        bool ok = false;
        const uint cp = nombre.size() > 1 && (nombre[1] == u'x' || nombre[1] == u'X')
                            ? nombre.mid(2).toUInt(&ok, 16)
                            : nombre.mid(1).toUInt(&ok, 10);
        if (ok && cp > 0 && cp <= 0x10FFFF) {
            const char32_t c = cp;
            return QString::fromUcs4(&c, 1);
        }
        return {};
    }
    const auto it = kNombres.constFind(nombre.toString());
    return it == kNombres.cend() ? QString() : QString(*it);
}

std::optional<double> Medida(QString v) {
    v = v.trimmed().toLower();
    if (v.endsWith(u'%')) v.chop(1);
    if (v.endsWith(QLatin1String("pt")) || v.endsWith(QLatin1String("px"))) v.chop(2);
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (!ok || d < 0) return std::nullopt;
    return d;
}

struct Etiqueta {
    QString nombre;  // lower case
    bool cierre = false;
    bool sola = false;                  // <br/>
    QHash<QString, QString> atributos;  // names lower case
};

// An open element and what its content inherits.
struct Contexto {
    QString etiqueta;
    EstiloTexto estilo;
    Qt::Alignment alineacion = Qt::AlignLeft;
    bool sinCorte = false;
    QColor fondo;
};

// As browsers do: beyond this a span is a mistake, and column counts must not overflow.
constexpr int kColumnasMaximas = 1000;

bool EsBloque(const QString& e) {
    static const QStringList kBloques{"p",     "div",   "table", "tr", "td", "th",
                                      "thead", "tbody", "tfoot", "h1", "h2", "h3",
                                      "h4",    "h5",    "h6",    "ul", "ol", "li"};
    return kBloques.contains(e);
}

class Lector {
  public:
    Lector(const QString& html, const QMap<QString, QImage>& imagenes) : html_(html) {
        doc_.imagenes = imagenes;
        Contexto raiz;
        raiz.etiqueta = QStringLiteral("#raiz");
        pila_.push_back(raiz);
    }

    DocumentoInforme leer() {
        qsizetype i = 0;
        const qsizetype n = html_.size();
        while (i < n) {
            const qsizetype menor = html_.indexOf(u'<', i);
            const qsizetype fin = menor < 0 ? n : menor;
            if (fin > i) texto(QStringView(html_).mid(i, fin - i));
            if (menor < 0) break;
            i = etiqueta(menor);
        }
        while (pila_.size() > 1) cerrarTope();
        cerrarParrafo();
        doc_.estiloBase = estiloBase_.value_or(pila_.front().estilo);
        return std::move(doc_);
    }

  private:
    // Reads the markup at `desde` (a '<') and returns where the text after it starts.
    qsizetype etiqueta(qsizetype desde) {
        const QStringView v(html_);
        if (v.mid(desde).startsWith(u"<!--")) {
            const qsizetype fin = html_.indexOf(QLatin1String("-->"), desde + 4);
            return fin < 0 ? html_.size() : fin + 3;
        }
        if (desde + 1 < html_.size() && (html_[desde + 1] == u'!' || html_[desde + 1] == u'?')) {
            const qsizetype fin = html_.indexOf(u'>', desde);
            return fin < 0 ? html_.size() : fin + 1;
        }
        Etiqueta e;
        qsizetype i = desde + 1;
        if (i < html_.size() && html_[i] == u'/') {
            e.cierre = true;
            ++i;
        }
        const qsizetype inicioNombre = i;
        while (i < html_.size() && (html_[i].isLetterOrNumber())) ++i;
        if (i == inicioNombre) {  // a lone '<' is text
            texto(u"<");
            return desde + 1;
        }
        e.nombre = html_.mid(inicioNombre, i - inicioNombre).toLower();
        // Attributes: name, name=value, name='value', name="value".
        while (i < html_.size() && html_[i] != u'>') {
            if (html_[i].isSpace()) {
                ++i;
                continue;
            }
            if (html_[i] == u'/') {
                e.sola = true;
                ++i;
                continue;
            }
            const qsizetype a = i;
            while (i < html_.size() && !html_[i].isSpace() && html_[i] != u'=' &&
                   html_[i] != u'>' && html_[i] != u'/')
                ++i;
            const QString nombre = html_.mid(a, i - a).toLower();
            if (nombre.isEmpty()) {
                ++i;
                continue;
            }
            while (i < html_.size() && html_[i].isSpace()) ++i;
            QString valor;
            if (i < html_.size() && html_[i] == u'=') {
                ++i;
                while (i < html_.size() && html_[i].isSpace()) ++i;
                if (i < html_.size() && (html_[i] == u'"' || html_[i] == u'\'')) {
                    const QChar comilla = html_[i];
                    const qsizetype fin = html_.indexOf(comilla, i + 1);
                    const qsizetype hasta = fin < 0 ? html_.size() : fin;
                    valor = decodificar(v.mid(i + 1, hasta - i - 1));
                    i = hasta + 1;
                } else {
                    const qsizetype b = i;
                    while (i < html_.size() && !html_[i].isSpace() && html_[i] != u'>') ++i;
                    valor = decodificar(v.mid(b, i - b));
                }
            }
            e.atributos.insert(nombre, valor);
        }
        const qsizetype despues = std::min(i + 1, html_.size());
        if (e.cierre) {
            cerrar(e.nombre);
            return despues;
        }
        if (e.nombre == u"style" || e.nombre == u"script" || e.nombre == u"title") {
            const qsizetype fin =
                html_.indexOf(QStringLiteral("</") + e.nombre, despues, Qt::CaseInsensitive);
            const qsizetype hasta = fin < 0 ? html_.size() : fin;
            if (e.nombre == u"title")
                doc_.titulo = decodificar(v.mid(despues, hasta - despues)).simplified();
            const qsizetype cierre = html_.indexOf(u'>', hasta);
            return cierre < 0 ? html_.size() : cierre + 1;
        }
        abrir(e);
        return despues;
    }

    static QString decodificar(QStringView t) {
        QString r;
        r.reserve(t.size());
        qsizetype i = 0;
        while (i < t.size()) {
            const qsizetype amp = t.indexOf(u'&', i);
            if (amp < 0) {
                r += t.mid(i);
                break;
            }
            r += t.mid(i, amp - i);
            const qsizetype pc = t.indexOf(u';', amp);
            const QString c =
                pc > amp && pc - amp <= 10 ? Entidad(t.mid(amp + 1, pc - amp - 1)) : QString();
            if (c.isEmpty()) {
                r += u'&';
                i = amp + 1;
            } else {
                r += c;
                i = pc + 1;
            }
        }
        return r;
    }

    // --- elements

    void abrir(const Etiqueta& e) {
        const QString& n = e.nombre;
        if (n == u"br") {
            agregar(QString(QChar::LineSeparator), true);
            return;
        }
        if (n == u"img") {
            imagen(e);
            return;
        }
        // Implied ends, as HTML has them.
        if (n == u"td" || n == u"th") cerrarHasta({"td", "th"}, {"tr", "table"});
        if (n == u"tr") cerrarHasta({"tr"}, {"table"});
        if (n == u"p" || (EsBloque(n) && n != u"td" && n != u"th" && n != u"tr"))
            cerrarHasta({"p"}, {"td", "th", "table", "div"});
        if (n == u"tbody" || n == u"tfoot") cerrarHasta({"thead"}, {"table"});
        if (n == u"body") cerrar(QStringLiteral("head"));  // or the whole body is skipped
        if (EsBloque(n)) cerrarParrafo();

        Contexto c = pila_.back();
        c.etiqueta = n;
        if (n != u"tr" && n != u"td" && n != u"th") c.fondo = QColor();
        if (n == u"b" || n == u"strong" || n == u"th" || (n.size() == 2 && n[0] == u'h'))
            c.estilo.negrita = true;
        if (n == u"i" || n == u"em") c.estilo.cursiva = true;
        if (n == u"u") c.estilo.subrayado = true;
        if (n == u"th") c.alineacion = Qt::AlignHCenter;
        if (n.size() == 2 && n[0] == u'h' && n[1] >= u'1' && n[1] <= u'6') {
            static constexpr double kEscala[6] = {2.0, 1.5, 1.17, 1.0, 0.83, 0.67};
            c.estilo.puntos *= kEscala[n[1].unicode() - u'1'];
        }
        if (n == u"table" || n == u"tr" || n == u"td" || n == u"th" || n == u"p" || n == u"div") {
            if (n == u"table") c.alineacion = Qt::AlignLeft;
            if (n == u"table") c.sinCorte = false;
            if (const QString a = e.atributos.value("align"); !a.isEmpty() && n != u"table")
                c.alineacion = Alineacion(a, c.alineacion);
        }
        if (const QString bg = e.atributos.value("bgcolor"); !bg.isEmpty())
            c.fondo = QColor::fromString(bg);
        aplicarEstilo(e.atributos.value("style"), c);
        if (n == u"body") estiloBase_ = c.estilo;

        if (n == u"table") abrirTabla(e);
        if (n == u"thead") enEncabezado_ = true;
        if (n == u"tr") abrirFila();
        if (n == u"td" || n == u"th") abrirCelda(e, c);
        if (n == u"p" && tablas_ == 0 && !celda())
            margenPendiente_ = std::max(margenPendiente_, 12.0);
        if (!e.sola) pila_.push_back(c);
    }

    static Qt::Alignment Alineacion(const QString& valor, Qt::Alignment actual) {
        const QString v = valor.trimmed().toLower();
        if (v == u"center") return Qt::AlignHCenter;
        if (v == u"right") return Qt::AlignRight;
        if (v == u"left") return Qt::AlignLeft;
        if (v == u"justify") return Qt::AlignJustify;
        return actual;
    }

    static void aplicarEstilo(const QString& estilo, Contexto& c) {
        for (const QString& decl : estilo.split(u';', Qt::SkipEmptyParts)) {
            const qsizetype dos = decl.indexOf(u':');
            if (dos < 0) continue;
            const QString prop = decl.left(dos).trimmed().toLower();
            const QString val = decl.mid(dos + 1).trimmed();
            const QString min = val.toLower();
            if (prop == u"font-family") {
                QStringList f;
                for (QString x : val.split(u',', Qt::SkipEmptyParts)) {
                    x = x.trimmed();
                    if (x.size() > 1 && (x.startsWith(u'\'') || x.startsWith(u'"')))
                        x = x.mid(1, x.size() - 2);
                    if (!x.isEmpty()) f << x;
                }
                if (!f.isEmpty()) c.estilo.familias = f;
            } else if (prop == u"font-size") {
                if (const auto m = Medida(min); m && *m > 0)
                    c.estilo.puntos = min.endsWith(u"px")  ? *m * 0.75
                                      : min.endsWith(u'%') ? c.estilo.puntos * *m / 100
                                                           : *m;
            } else if (prop == u"font-weight") {
                bool num = false;
                const int peso = min.toInt(&num);
                c.estilo.negrita = num ? peso >= 600 : (min == u"bold" || min == u"bolder");
            } else if (prop == u"font-style") {
                c.estilo.cursiva = min == u"italic" || min == u"oblique";
            } else if (prop == u"text-decoration") {
                c.estilo.subrayado = min.contains(u"underline");
            } else if (prop == u"color") {
                c.estilo.color = QColor::fromString(val);
            } else if (prop == u"background-color" || prop == u"background") {
                c.fondo = QColor::fromString(val);
            } else if (prop == u"text-align") {
                c.alineacion = Alineacion(val, c.alineacion);
            } else if (prop == u"white-space") {
                c.sinCorte = min == u"nowrap";
            }
        }
    }

    void cerrar(const QString& nombre) {
        for (auto i = pila_.size(); i-- > 1;)
            if (pila_[i].etiqueta == nombre) {
                while (pila_.size() > i) cerrarTope();
                return;
            }
    }

    // Closes the innermost open element named in `cuales`, unless one named in `limites`
    // comes first.
    void cerrarHasta(std::initializer_list<const char*> cuales,
                     std::initializer_list<const char*> limites) {
        for (auto i = pila_.size(); i-- > 1;) {
            const QString& e = pila_[i].etiqueta;
            for (const char* l : limites)
                if (e == QLatin1String(l)) return;
            for (const char* c : cuales)
                if (e == QLatin1String(c)) {
                    while (pila_.size() > i) cerrarTope();
                    return;
                }
        }
    }

    void cerrarTope() {
        const QString n = pila_.back().etiqueta;
        pila_.pop_back();
        if (EsBloque(n) || n == u"body") cerrarParrafo();
        if (n == u"p" && tablas_ == 0 && !celda())
            margenPendiente_ = std::max(margenPendiente_, 12.0);
        // A nested table's cells are paragraphs of the outer cell, which stays open.
        if ((n == u"td" || n == u"th") && tablas_ == 1) celdaAbierta_ = false;
        if (n == u"thead") enEncabezado_ = false;
        if (n == u"table") cerrarTabla();
    }

    // --- tables

    void abrirTabla(const Etiqueta& e) {
        if (tablas_++ > 0) return;  // a table in a cell: its cells become the cell's paragraphs
        tabla_ = Tabla();
        const QString ancho = e.atributos.value("width").trimmed();
        if (const auto m = Medida(ancho)) {
            if (ancho.endsWith(u'%')) {
                tabla_.anchoPorciento = *m;
            } else {
                tabla_.anchoPorciento = 0;
                tabla_.anchoPixeles = *m;
            }
        }
        if (e.atributos.contains("border"))
            tabla_.borde = Medida(e.atributos.value("border")).value_or(1);
        if (const auto m = Medida(e.atributos.value("cellpadding"))) tabla_.relleno = *m;
        margenPendiente_ = 0;
    }

    void cerrarTabla() {
        if (--tablas_ > 0) return;
        celdaAbierta_ = false;
        Bloque b;
        b.tipo = Bloque::tabla;
        b.t = std::move(tabla_);
        doc_.bloques.push_back(std::move(b));
    }

    void abrirFila() {
        if (tablas_ != 1) return;
        if (enEncabezado_ && tabla_.filasEncabezado == static_cast<int>(tabla_.filas.size()))
            ++tabla_.filasEncabezado;
        tabla_.filas.emplace_back();
        celdaAbierta_ = false;
    }

    void abrirCelda(const Etiqueta& e, const Contexto& c) {
        if (tablas_ != 1) return;
        if (tabla_.filas.empty()) abrirFila();
        Celda celda;
        celda.columnas = std::clamp(e.atributos.value("colspan").toInt(), 1, kColumnasMaximas);
        const QString ancho = e.atributos.value("width").trimmed();
        if (const auto m = Medida(ancho))
            (ancho.endsWith(u'%') ? celda.anchoPorciento : celda.anchoPixeles) = *m;
        celda.fondo = c.fondo;
        tabla_.filas.back().celdas.push_back(std::move(celda));
        celdaAbierta_ = true;
    }

    Celda* celda() {
        return tablas_ > 0 && celdaAbierta_ && !tabla_.filas.empty() &&
                       !tabla_.filas.back().celdas.empty()
                   ? &tabla_.filas.back().celdas.back()
                   : nullptr;
    }

    // --- text

    void texto(QStringView crudo) {
        if (enCabeza()) return;
        const QString t = decodificar(crudo);
        QString limpio;
        limpio.reserve(t.size());
        for (const QChar ch : t) {
            if (ch.isSpace() && ch != QChar(0xA0)) {
                espacio_ = true;
                continue;
            }
            if (espacio_ && (!limpio.isEmpty() || hayTexto())) limpio += u' ';
            espacio_ = false;
            limpio += ch;
        }
        if (!limpio.isEmpty()) agregar(limpio, false);
    }

    // Whether the open paragraph has something a blank may follow.
    bool hayTexto() const {
        return abierto_ && !parrafo_.tramos.empty() &&
               !parrafo_.tramos.back().texto.endsWith(QChar::LineSeparator);
    }

    bool enCabeza() const {
        return std::any_of(pila_.begin(), pila_.end(),
                           [](const Contexto& c) { return c.etiqueta == u"head"; });
    }

    void abrirParrafo() {
        const Contexto& c = pila_.back();
        if (tablas_ > 0 && !celda()) abrirCelda({}, c);
        if (abierto_) return;
        parrafo_ = Parrafo();
        parrafo_.alineacion = c.alineacion;
        parrafo_.sinCorte = c.sinCorte;
        parrafo_.margen = celda() ? 0 : margenPendiente_;
        abierto_ = true;
    }

    void agregar(const QString& t, bool salto) {
        abrirParrafo();
        const Contexto& c = pila_.back();
        if (salto) espacio_ = false;
        std::vector<Tramo>& tr = parrafo_.tramos;
        if (!tr.empty() && tr.back().imagen.isEmpty() && tr.back().estilo == c.estilo) {
            tr.back().texto += t;
        } else {
            Tramo r;
            r.texto = t;
            r.estilo = c.estilo;
            tr.push_back(std::move(r));
        }
    }

    void imagen(const Etiqueta& e) {
        if (espacio_ && hayTexto()) agregar(QStringLiteral(" "), false);
        abrirParrafo();
        Tramo r;
        r.estilo = pila_.back().estilo;
        r.imagen = e.atributos.value("src");
        r.ancho = Medida(e.atributos.value("width")).value_or(0);
        r.alto = Medida(e.atributos.value("height")).value_or(0);
        parrafo_.tramos.push_back(std::move(r));
        espacio_ = false;
    }

    void cerrarParrafo() {
        espacio_ = false;
        if (!abierto_) return;
        abierto_ = false;
        std::vector<Tramo>& tr = parrafo_.tramos;
        // A break that ends the paragraph makes no line of its own.
        if (!tr.empty() && tr.back().texto.endsWith(QChar::LineSeparator) &&
            (tr.size() > 1 || tr.back().texto.size() > 1))
            tr.back().texto.chop(1);
        tr.erase(
            std::remove_if(tr.begin(), tr.end(),
                           [](const Tramo& r) { return r.texto.isEmpty() && r.imagen.isEmpty(); }),
            tr.end());
        if (tr.empty()) return;
        if (Celda* c = celda()) {
            c->parrafos.push_back(std::move(parrafo_));
        } else if (tablas_ == 0) {
            Bloque b;
            b.p = std::move(parrafo_);
            doc_.bloques.push_back(std::move(b));
            margenPendiente_ = 0;
        }
    }

    const QString& html_;
    DocumentoInforme doc_;
    std::vector<Contexto> pila_;
    std::optional<EstiloTexto> estiloBase_;
    Parrafo parrafo_;
    bool abierto_ = false;
    bool espacio_ = false;
    double margenPendiente_ = 0;
    Tabla tabla_;
    int tablas_ = 0;
    bool celdaAbierta_ = false;
    bool enEncabezado_ = false;
};

}  // namespace

DocumentoInforme LeerHtml(const QString& html, const QMap<QString, QImage>& imagenes) {
    return Lector(html, imagenes).leer();
}

}  // namespace zul
