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

double Tabla::anchoEn(double disponible, double pixel) const {
    if (anchoPorciento > 0) return disponible * std::min(anchoPorciento, 100.0) / 100;
    if (anchoPixeles > 0) return std::min(anchoPixeles * pixel, disponible);
    return disponible;
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

QSizeF DocumentoInforme::tamano(const Tramo& t) const {
    const QImage img = imagenes.value(t.imagen);
    double w = t.ancho, h = t.alto;
    if (!img.isNull()) {
        if (w <= 0) w = h > 0 ? img.width() * h / img.height() : img.width();
        if (h <= 0) h = img.height() * w / img.width();
    }
    return QSizeF(w, h);
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

// width="29%" or width="120": a share of the whole, or CSS pixels.
void LeerAncho(const QString& valor, double& porciento, double& pixeles) {
    const QString v = valor.trimmed();
    const auto m = Medida(v);
    if (!m) return;
    if (v.endsWith(u'%')) {
        porciento = *m;
    } else {
        porciento = 0;
        pixeles = *m;
    }
}

// The elements the reader treats apart; any other is `otra`, known by its name.
enum class Tag {
    otra,
    raiz,
    html,
    head,
    body,
    title,
    style,
    script,
    p,
    div,
    br,
    b,
    strong,
    i,
    em,
    u,
    img,
    table,
    thead,
    tbody,
    tfoot,
    tr,
    td,
    th,
    h1,
    h2,
    h3,
    h4,
    h5,
    h6,
    ul,
    ol,
    li,
    header
};

Tag TagDe(QStringView nombre) {
    static const QHash<QString, Tag> kTags{
        {"html", Tag::html},   {"head", Tag::head},     {"body", Tag::body},
        {"title", Tag::title}, {"style", Tag::style},   {"script", Tag::script},
        {"p", Tag::p},         {"div", Tag::div},       {"br", Tag::br},
        {"b", Tag::b},         {"strong", Tag::strong}, {"i", Tag::i},
        {"em", Tag::em},       {"u", Tag::u},           {"img", Tag::img},
        {"table", Tag::table}, {"thead", Tag::thead},   {"tbody", Tag::tbody},
        {"tfoot", Tag::tfoot}, {"tr", Tag::tr},         {"td", Tag::td},
        {"th", Tag::th},       {"h1", Tag::h1},         {"h2", Tag::h2},
        {"h3", Tag::h3},       {"h4", Tag::h4},         {"h5", Tag::h5},
        {"h6", Tag::h6},       {"ul", Tag::ul},         {"ol", Tag::ol},
        {"li", Tag::li},       {"header", Tag::header}};
    // Tag names are short ASCII: lower-cased on the stack, no string built per tag.
    char16_t minus[8];
    if (nombre.size() > 7) return Tag::otra;
    for (qsizetype k = 0; k < nombre.size(); ++k) {
        const char16_t c = nombre[k].unicode();
        minus[k] = c >= u'A' && c <= u'Z' ? c + 32 : c;
    }
    const QString clave =
        QString::fromRawData(reinterpret_cast<const QChar*>(minus), nombre.size());
    return kTags.value(clave, Tag::otra);
}

bool EsBloque(Tag t) {
    switch (t) {
        case Tag::p:
        case Tag::div:
        case Tag::table:
        case Tag::tr:
        case Tag::td:
        case Tag::th:
        case Tag::thead:
        case Tag::tbody:
        case Tag::tfoot:
        case Tag::h1:
        case Tag::h2:
        case Tag::h3:
        case Tag::h4:
        case Tag::h5:
        case Tag::h6:
        case Tag::ul:
        case Tag::ol:
        case Tag::li:
        case Tag::header:
            return true;
        default:
            return false;
    }
}

bool EsTitulo(Tag t) {
    return t >= Tag::h1 && t <= Tag::h6;
}

struct Etiqueta {
    Tag tag = Tag::otra;
    QString nombre;  // lower case, for elements the reader does not know
    bool cierre = false;
    bool sola = false;  // <br/>
    std::vector<std::pair<QStringView, QString>> atributos;

    QString valor(QStringView atributo) const {
        for (const auto& [n, v] : atributos)
            if (n.compare(atributo, Qt::CaseInsensitive) == 0) return v;
        return {};
    }
    bool tiene(QStringView atributo) const {
        return std::any_of(atributos.begin(), atributos.end(), [&](const auto& a) {
            return a.first.compare(atributo, Qt::CaseInsensitive) == 0;
        });
    }
};

// An open element and what its content inherits.
struct Contexto {
    Tag tag = Tag::raiz;
    QString nombre;  // of an `otra`
    EstiloTexto estilo;
    Qt::Alignment alineacion = Qt::AlignLeft;
    bool sinCorte = false;
    bool conSiguiente = false;
    QColor fondo;
};

// One declaration of a style attribute, read once for every element that repeats it.
struct Declaracion {
    QString propiedad;  // lower case
    QString valor;
    QString minuscula;
    QStringList familias;  // of font-family
};

// As browsers do: beyond this a span is a mistake, and column counts must not overflow.
constexpr int kColumnasMaximas = 1000;

class Lector {
  public:
    Lector(const QString& html, const QMap<QString, QImage>& imagenes) : html_(html) {
        doc_.imagenes = imagenes;
        pila_.push_back(Contexto());
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
        const QStringView nombre = v.mid(inicioNombre, i - inicioNombre);
        e.tag = TagDe(nombre);
        if (e.tag == Tag::otra) e.nombre = nombre.toString().toLower();
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
            const QStringView atributo = v.mid(a, i - a);
            if (atributo.isEmpty()) {
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
            e.atributos.emplace_back(atributo, valor);
        }
        const qsizetype despues = std::min(i + 1, html_.size());
        if (e.cierre) {
            cerrar(e.tag, e.nombre);
            return despues;
        }
        if (e.tag == Tag::style || e.tag == Tag::script || e.tag == Tag::title) {
            const qsizetype fin = html_.indexOf(QStringLiteral("</") + nombre.toString(), despues,
                                                Qt::CaseInsensitive);
            const qsizetype hasta = fin < 0 ? html_.size() : fin;
            if (e.tag == Tag::title)
                doc_.titulo = decodificar(v.mid(despues, hasta - despues)).simplified();
            const qsizetype cierre = html_.indexOf(u'>', hasta);
            return cierre < 0 ? html_.size() : cierre + 1;
        }
        abrir(e);
        return despues;
    }

    static QString decodificar(QStringView t) {
        qsizetype amp = t.indexOf(u'&');
        if (amp < 0) return t.toString();
        QString r;
        r.reserve(t.size());
        qsizetype i = 0;
        while (i < t.size()) {
            amp = t.indexOf(u'&', i);
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
        const Tag t = e.tag;
        if (t == Tag::br) {
            agregar(QString(QChar::LineSeparator), true);
            return;
        }
        if (t == Tag::img) {
            imagen(e);
            return;
        }
        const bool celdaTag = t == Tag::td || t == Tag::th;
        // Implied ends, as HTML has them.
        if (celdaTag) cerrarHasta({Tag::td, Tag::th}, {Tag::tr, Tag::table});
        if (t == Tag::tr) cerrarHasta({Tag::tr}, {Tag::table});
        if (t == Tag::p || (EsBloque(t) && !celdaTag && t != Tag::tr))
            cerrarHasta({Tag::p}, {Tag::td, Tag::th, Tag::table, Tag::div});
        if (t == Tag::tbody || t == Tag::tfoot) cerrarHasta({Tag::thead}, {Tag::table});
        if (t == Tag::body) cerrar(Tag::head, {});  // or the whole body is skipped
        if (EsBloque(t)) cerrarParrafo();

        Contexto c = pila_.back();
        c.tag = t;
        c.nombre = e.nombre;
        if (t != Tag::tr && !celdaTag) c.fondo = QColor();
        if (t == Tag::b || t == Tag::strong || t == Tag::th || EsTitulo(t)) c.estilo.negrita = true;
        if (t == Tag::i || t == Tag::em) c.estilo.cursiva = true;
        if (t == Tag::u) c.estilo.subrayado = true;
        if (t == Tag::th) c.alineacion = Qt::AlignHCenter;
        if (EsTitulo(t)) {
            static constexpr double kEscala[6] = {2.0, 1.5, 1.17, 1.0, 0.83, 0.67};
            c.estilo.puntos *= kEscala[static_cast<int>(t) - static_cast<int>(Tag::h1)];
        }
        if (t == Tag::table) {
            c.alineacion = Qt::AlignLeft;
            c.sinCorte = false;
            c.conSiguiente = false;
        } else if (t == Tag::tr || celdaTag || t == Tag::p || t == Tag::div) {
            if (const QString a = e.valor(u"align"); !a.isEmpty())
                c.alineacion = Alineacion(a, c.alineacion);
        }
        if (const QString bg = e.valor(u"bgcolor"); !bg.isEmpty()) c.fondo = QColor::fromString(bg);
        if (const QString estilo = e.valor(u"style"); !estilo.isEmpty()) aplicarEstilo(estilo, c);
        if (t == Tag::body) estiloBase_ = c.estilo;
        if (t == Tag::head && !e.sola) ++cabeza_;
        if (t == Tag::header && !e.sola) ++encabezado_;

        if (t == Tag::table) abrirTabla(e);
        if (t == Tag::thead) enEncabezado_ = true;
        if (t == Tag::tr) abrirFila();
        if (celdaTag) abrirCelda(e, c);
        if (t == Tag::p && tablas_ == 0 && !celda())
            margenPendiente_ = std::max(margenPendiente_, 12.0);
        if (!e.sola) pila_.push_back(std::move(c));
    }

    static Qt::Alignment Alineacion(const QString& valor, Qt::Alignment actual) {
        const QString v = valor.trimmed().toLower();
        if (v == u"center") return Qt::AlignHCenter;
        if (v == u"right") return Qt::AlignRight;
        if (v == u"left") return Qt::AlignLeft;
        if (v == u"justify") return Qt::AlignJustify;
        return actual;
    }

    // A style attribute's declarations, read the first time the attribute is seen.
    const std::vector<Declaracion>& declaraciones(const QString& estilo) {
        auto it = estilos_.constFind(estilo);
        if (it != estilos_.cend()) return *it;
        std::vector<Declaracion> ds;
        for (const QString& decl : estilo.split(u';', Qt::SkipEmptyParts)) {
            const qsizetype dos = decl.indexOf(u':');
            if (dos < 0) continue;
            Declaracion d;
            d.propiedad = decl.left(dos).trimmed().toLower();
            d.valor = decl.mid(dos + 1).trimmed();
            d.minuscula = d.valor.toLower();
            if (d.propiedad == u"font-family")
                for (QString x : d.valor.split(u',', Qt::SkipEmptyParts)) {
                    x = x.trimmed();
                    if (x.size() > 1 && (x.startsWith(u'\'') || x.startsWith(u'"')))
                        x = x.mid(1, x.size() - 2);
                    if (!x.isEmpty()) d.familias << x;
                }
            ds.push_back(std::move(d));
        }
        return *estilos_.insert(estilo, std::move(ds));
    }

    void aplicarEstilo(const QString& estilo, Contexto& c) {
        for (const Declaracion& d : declaraciones(estilo)) {
            const QString& prop = d.propiedad;
            const QString& min = d.minuscula;
            if (prop == u"font-family") {
                if (!d.familias.isEmpty()) c.estilo.familias = d.familias;
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
                c.estilo.color = QColor::fromString(d.valor);
            } else if (prop == u"background-color" || prop == u"background") {
                c.fondo = QColor::fromString(d.valor);
            } else if (prop == u"text-align") {
                c.alineacion = Alineacion(d.valor, c.alineacion);
            } else if (prop == u"white-space") {
                c.sinCorte = min == u"nowrap";
            } else if (prop == u"page-break-after" || prop == u"break-after") {
                c.conSiguiente = min.startsWith(u"avoid");
            }
        }
    }

    static bool Es(const Contexto& c, Tag t, const QString& nombre) {
        return c.tag == t && (t != Tag::otra || c.nombre == nombre);
    }

    void cerrar(Tag t, const QString& nombre) {
        for (auto i = pila_.size(); i-- > 1;)
            if (Es(pila_[i], t, nombre)) {
                while (pila_.size() > i) cerrarTope();
                return;
            }
    }

    // Closes the innermost open element among `cuales`, unless one of `limites` comes first.
    void cerrarHasta(std::initializer_list<Tag> cuales, std::initializer_list<Tag> limites) {
        for (auto i = pila_.size(); i-- > 1;) {
            const Tag e = pila_[i].tag;
            if (std::find(limites.begin(), limites.end(), e) != limites.end()) return;
            if (std::find(cuales.begin(), cuales.end(), e) != cuales.end()) {
                while (pila_.size() > i) cerrarTope();
                return;
            }
        }
    }

    void cerrarTope() {
        const Tag t = pila_.back().tag;
        pila_.pop_back();
        if (EsBloque(t) || t == Tag::body) cerrarParrafo();
        if (t == Tag::p && tablas_ == 0 && !celda())
            margenPendiente_ = std::max(margenPendiente_, 12.0);
        // A nested table's cells are paragraphs of the outer cell, which stays open.
        if ((t == Tag::td || t == Tag::th) && tablas_ == 1) celdaAbierta_ = false;
        if (t == Tag::thead) enEncabezado_ = false;
        if (t == Tag::head) --cabeza_;
        if (t == Tag::header) --encabezado_;
        if (t == Tag::table) cerrarTabla();
    }

    // --- tables

    void abrirTabla(const Etiqueta& e) {
        if (tablas_++ > 0) return;  // a table in a cell: its cells become the cell's paragraphs
        tabla_ = Tabla();
        LeerAncho(e.valor(u"width"), tabla_.anchoPorciento, tabla_.anchoPixeles);
        if (e.tiene(u"border")) tabla_.borde = Medida(e.valor(u"border")).value_or(1);
        if (const auto m = Medida(e.valor(u"cellpadding"))) tabla_.relleno = *m;
        margenPendiente_ = 0;
    }

    void cerrarTabla() {
        if (--tablas_ > 0) return;
        celdaAbierta_ = false;
        Bloque b;
        b.tipo = Bloque::tabla;
        b.t = std::move(tabla_);
        bloques().push_back(std::move(b));
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
        celda.columnas = std::clamp(e.valor(u"colspan").toInt(), 1, kColumnasMaximas);
        LeerAncho(e.valor(u"width"), celda.anchoPorciento, celda.anchoPixeles);
        celda.fondo = c.fondo;
        tabla_.filas.back().celdas.push_back(std::move(celda));
        celdaAbierta_ = true;
    }

    // Where a finished block goes: the page header or the body.
    std::vector<Bloque>& bloques() { return encabezado_ > 0 ? doc_.encabezado : doc_.bloques; }

    Celda* celda() {
        return tablas_ > 0 && celdaAbierta_ && !tabla_.filas.empty() &&
                       !tabla_.filas.back().celdas.empty()
                   ? &tabla_.filas.back().celdas.back()
                   : nullptr;
    }

    // --- text

    void texto(QStringView crudo) {
        if (cabeza_ > 0) return;
        // Most text between tags is the template's own line breaks and indentation.
        if (std::all_of(crudo.begin(), crudo.end(),
                        [](QChar ch) { return ch.isSpace() && ch != QChar(0xA0); })) {
            espacio_ = true;
            return;
        }
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

    void abrirParrafo() {
        const Contexto& c = pila_.back();
        if (tablas_ > 0 && !celda()) abrirCelda({}, c);
        if (abierto_) return;
        parrafo_ = Parrafo();
        parrafo_.alineacion = c.alineacion;
        parrafo_.sinCorte = c.sinCorte;
        parrafo_.conSiguiente = c.conSiguiente;
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
        r.imagen = e.valor(u"src");
        r.ancho = Medida(e.valor(u"width")).value_or(0);
        r.alto = Medida(e.valor(u"height")).value_or(0);
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
            bloques().push_back(std::move(b));
            margenPendiente_ = 0;
        }
    }

    const QString& html_;
    DocumentoInforme doc_;
    std::vector<Contexto> pila_;
    std::optional<EstiloTexto> estiloBase_;
    QHash<QString, std::vector<Declaracion>> estilos_;
    Parrafo parrafo_;
    bool abierto_ = false;
    bool espacio_ = false;
    double margenPendiente_ = 0;
    int cabeza_ = 0;
    int encabezado_ = 0;
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
