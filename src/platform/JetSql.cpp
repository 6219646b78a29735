#include "platform/JetSql.h"

#include <QDate>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QVarLengthArray>
#include <algorithm>
#include <charconv>
#include <stdexcept>
#include <string_view>

namespace zul::jet {
namespace {

// "#mm/dd/yyyy#" (optionally with a time) or "#hh:mm#" to an ISO text literal.
QString literalFecha(const QString& dentro) {
    static const QRegularExpression fecha(QStringLiteral(
        R"(^\s*(\d{1,2})/(\d{1,2})/(\d{4})(?:\s+(\d{1,2}):(\d{2})(?::(\d{2}))?)?\s*$)"));
    static const QRegularExpression hora(
        QStringLiteral(R"(^\s*(\d{1,2}):(\d{2})(?::(\d{2}))?\s*$)"));
    auto m = fecha.match(dentro);
    if (m.hasMatch()) {
        const int mes = m.captured(1).toInt(), dia = m.captured(2).toInt(),
                  anio = m.captured(3).toInt();
        if (!QDate(anio, mes, dia).isValid())
            throw std::invalid_argument("fecha no válida: #" + dentro.toStdString() + "#");
        return QStringLiteral("'%1-%2-%3'")
            .arg(anio, 4, 10, QChar('0'))
            .arg(mes, 2, 10, QChar('0'))
            .arg(dia, 2, 10, QChar('0'));
    }
    m = hora.match(dentro);
    if (m.hasMatch())
        return QStringLiteral("'%1:%2'")
            .arg(m.captured(1).toInt(), 2, 10, QChar('0'))
            .arg(m.captured(2));
    throw std::invalid_argument("fecha no válida: #" + dentro.toStdString() + "#");
}

// Rewrites quoted parts and date literals. `mascara` gets the same text with every
// quoted character blanked, so keyword patterns can be matched on it safely.
void lexear(const QString& sql, QString& salida, QString& mascara) {
    const int n = sql.size();
    // Most statements of numbers only have nothing to rewrite: share the text as it is.
    const auto especial = [](QChar c) { return c == '\'' || c == '"' || c == '#'; };
    if (std::none_of(sql.cbegin(), sql.cend(), especial)) {
        salida = mascara = sql;
        return;
    }
    salida.reserve(n + 8);
    mascara.reserve(n + 8);
    for (int i = 0; i < n;) {
        // Plain text up to the next quote or date mark goes over as it is.
        int j = i;
        while (j < n && sql[j] != '\'' && sql[j] != '"' && sql[j] != '#') ++j;
        if (j > i) {
            const QStringView corrido = QStringView(sql).mid(i, j - i);
            salida += corrido;
            mascara += corrido;
            i = j;
            continue;
        }
        const QChar c = sql[i];
        if (c == '\'' || c == '"') {
            QString contenido;
            int k = i + 1;
            for (; k < n; ++k) {
                if (sql[k] == c) {
                    if (k + 1 < n && sql[k + 1] == c) {
                        contenido += c;
                        ++k;
                        continue;
                    }
                    break;
                }
                contenido += sql[k];
            }
            // Unterminated text: hand it on unchanged and let the engine refuse it.
            if (k >= n) {
                salida += QStringView(sql).mid(i);
                mascara += QString(n - i, ' ');
                return;
            }
            contenido.replace('\'', QStringLiteral("''"));
            salida += '\'' + contenido + '\'';
            mascara += '\'' + QString(salida.size() - mascara.size() - 2, ' ') + '\'';
            i = k + 1;
        } else {
            const int fin = sql.indexOf('#', i + 1);
            if (fin < 0) throw std::invalid_argument("fecha no válida: falta el # de cierre");
            const QString lit = literalFecha(sql.mid(i + 1, fin - i - 1));
            salida += lit;
            mascara += '\'' + QString(lit.size() - 2, ' ') + '\'';
            i = fin + 1;
        }
    }
}

// Splits at the commas that stand outside quotes and parentheses.
QStringList partirPorComas(const QString& texto, const QString& mascara) {
    QStringList partes;
    int nivel = 0, desde = 0;
    for (int i = 0; i < mascara.size(); ++i) {
        const QChar c = mascara[i];
        if (c == '(')
            ++nivel;
        else if (c == ')')
            --nivel;
        else if (c == ',' && nivel == 0) {
            partes << texto.mid(desde, i - desde).trimmed();
            desde = i + 1;
        }
    }
    partes << texto.mid(desde).trimmed();
    return partes;
}

// Folds one character the way the program compares text: ASCII and accented capitals to
// small letters, nothing else changes.
inline char16_t plegar(char16_t c) {
    if (c < 0x80) return (c >= 'A' && c <= 'Z') ? char16_t(c + 32) : c;
    // Latin-1 capitals (Á, Ñ, Ü...) sit 32 below their small letters; × does not pair.
    if (c >= 0xC0 && c <= 0xDE) return c == 0xD7 ? c : char16_t(c + 32);
    return QChar(c).toLower().unicode();
}

// "%" any run, "_" any one character, on folded texts; the last "%" seen is the only one
// ever gone back to, which is enough for these patterns.
template <class C>
bool likeEnPlegados(const C* p, qsizetype np, const C* t, qsizetype nt) {
    qsizetype i = 0, j = 0, estrella = -1, marca = 0;
    while (j < nt) {
        if (i < np && p[i] == '%') {
            estrella = i++;
            marca = j;
        } else if (i < np && (p[i] == '_' || p[i] == t[j])) {
            ++i;
            ++j;
        } else if (estrella >= 0) {
            i = estrella + 1;
            j = ++marca;
        } else {
            return false;
        }
    }
    while (i < np && p[i] == '%') ++i;
    return i == np;
}

// One item of a VALUES list as a bindable value, when it is a plain literal.
bool esDigito(QChar c) {
    return c >= '0' && c <= '9';
}
inline bool esDeNombre(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x80) {
        const char16_t l = u | 0x20;
        return (l >= 'a' && l <= 'z') || (u >= '0' && u <= '9') || u == '_';
    }
    return c.isLetterOrNumber();
}

// ASCII keyword comparison without regard to case (`palabra` is written in small letters).
bool esPalabra(QStringView texto, std::u16string_view palabra) {
    if (texto.size() != qsizetype(palabra.size())) return false;
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const char16_t c = texto[i].unicode();
        if ((c >= 'A' && c <= 'Z' ? char16_t(c | 0x20) : c) != palabra[size_t(i)]) return false;
    }
    return true;
}

// Does `mascara` begin (after blanks) with the keyword?
bool empiezaCon(const QString& mascara, std::u16string_view palabra) {
    qsizetype i = 0;
    while (i < mascara.size() && mascara[i].isSpace()) ++i;
    if (mascara.size() - i < qsizetype(palabra.size())) return false;
    if (!esPalabra(QStringView(mascara).mid(i, palabra.size()), palabra)) return false;
    const qsizetype fin = i + qsizetype(palabra.size());
    return fin == mascara.size() || !esDeNombre(mascara[fin]);
}

// Statements with their text and number literals replaced by "?": every literal of a write
// (INSERT, UPDATE, DELETE), and those after the WHERE of a SELECT. From an ORDER BY, GROUP BY,
// HAVING or LIMIT on, where a number could name a column, the text stays as it is.
std::optional<Parametrizada> parametrizarConMascara(const QString& sql, const QString& mascara) {
    const bool escritura = empiezaCon(mascara, u"insert") || empiezaCon(mascara, u"update") ||
                           empiezaCon(mascara, u"delete");
    if (!escritura && !empiezaCon(mascara, u"select")) return std::nullopt;
    bool activo = escritura;
    Parametrizada p;
    // Written straight into a buffer: the result is never longer than the statement.
    QString salida(sql.size(), Qt::Uninitialized);
    QChar* w = salida.data();
    const QChar* const fuente = sql.constData();
    const qsizetype n = mascara.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = mascara[i];
        if (c == '\'' && activo) {
            qsizetype fin = i + 1;
            while (fin < n && mascara[fin] != '\'') ++fin;  // inner quotes are blanked in the mask
            QString texto = sql.mid(i + 1, fin - i - 1);
            if (texto.contains('\'')) texto.replace(QStringLiteral("''"), QStringLiteral("'"));
            p.valores << QVariant(texto);
            *w++ = '?';
            i = fin + 1;
        } else if (c == '\'') {
            qsizetype fin = i + 1;
            while (fin < n && mascara[fin] != '\'') ++fin;
            w = std::copy(fuente + i, fuente + std::min(fin + 1, n), w);
            i = fin + 1;
        } else if (esDeNombre(c) && !esDigito(c)) {
            // A name (digits inside it are part of it): copied, keywords noted.
            qsizetype fin = i + 1;
            while (fin < n && esDeNombre(mascara[fin])) ++fin;
            const QStringView nombre = QStringView(mascara).mid(i, fin - i);
            const char16_t inicial = nombre[0].unicode() | 0x20;
            if ((nombre.size() == 5 || nombre.size() == 6) &&
                (inicial == 'w' || inicial == 'o' || inicial == 'g' || inicial == 'l' ||
                 inicial == 'h')) {
                if (esPalabra(nombre, u"where")) {
                    activo = true;
                } else {
                    for (const std::u16string_view clave :
                         {u"order", u"group", u"limit", u"having"})
                        if (esPalabra(nombre, clave)) {
                            w = std::copy(fuente + i, fuente + n, w);
                            i = n;
                            break;
                        }
                    if (i == n) break;
                }
            }
            w = std::copy(fuente + i, fuente + fin, w);
            i = fin;
        } else if (activo && esDigito(c) && (i == 0 || mascara[i - 1] != '.')) {
            qsizetype fin = i;
            while (fin < n && esDigito(mascara[fin])) ++fin;
            bool real = false;
            if (fin < n && mascara[fin] == '.') {
                real = true;
                ++fin;
                while (fin < n && esDigito(mascara[fin])) ++fin;
            }
            if (fin < n && (esDeNombre(mascara[fin]) || mascara[fin] == '.')) return std::nullopt;
            // Plain ASCII digits and a point: read without the locale machinery.
            char cifras[64];
            const qsizetype largo = fin - i;
            if (largo >= qsizetype(sizeof cifras)) return std::nullopt;
            for (qsizetype k = 0; k < largo; ++k) cifras[k] = char(fuente[i + k].unicode());
            qlonglong entero = 0;
            const auto r = real || largo > 18
                               ? std::from_chars_result{cifras, std::errc::invalid_argument}
                               : std::from_chars(cifras, cifras + largo, entero);
            if (r.ec == std::errc() && r.ptr == cifras + largo) {
                p.valores << QVariant(entero);
            } else {
                double d = 0;
                std::from_chars(cifras, cifras + largo, d);
                p.valores << QVariant(d);
            }
            *w++ = '?';
            i = fin;
        } else {
            qsizetype fin = i + 1;
            while (fin < n && mascara[fin] != '\'' && !esDeNombre(mascara[fin])) ++fin;
            w = std::copy(fuente + i, fuente + fin, w);
            i = fin;
        }
    }
    salida.truncate(w - salida.constData());
    p.sql = std::move(salida);
    if (p.valores.isEmpty()) return std::nullopt;
    return p;
}

}  // namespace

Preparada preparar(const QString& sql) {
    QString salida, mascara;
    lexear(sql, salida, mascara);

    if (empiezaCon(mascara, u"delete")) {
        static const QRegularExpression borrarTodo(
            QStringLiteral(R"(^(\s*DELETE)\s+\*(\s+FROM\b))"),
            QRegularExpression::CaseInsensitiveOption);
        const auto m = borrarTodo.match(mascara);
        if (m.hasMatch()) {
            const int desde = m.capturedEnd(1), hasta = m.capturedStart(2);
            salida.remove(desde, hasta - desde);
            mascara.remove(desde, hasta - desde);
        }
    } else if (empiezaCon(mascara, u"alter")) {
        static const QRegularExpression alterar(
            QStringLiteral(R"(^\s*ALTER\s+TABLE\s+(\S+)\s+ADD\s+(?:COLUMN\s+)?)"),
            QRegularExpression::CaseInsensitiveOption);
        const auto m = alterar.match(mascara);
        if (m.hasMatch()) {
            const int cuerpo = m.capturedEnd(0);
            Preparada r;
            for (const QString& col : partirPorComas(salida.mid(cuerpo), mascara.mid(cuerpo)))
                r.sentencias
                    << QStringLiteral("ALTER TABLE %1 ADD COLUMN %2").arg(m.captured(1), col);
            return r;
        }
    }
    Preparada r;
    r.parametrizada = parametrizarConMascara(salida, mascara);
    r.sentencias << salida;
    return r;
}

QStringList traducir(const QString& sql) {
    return preparar(sql).sentencias;
}

std::optional<Parametrizada> parametrizar(const QString& sqlTraducido) {
    return preparar(sqlTraducido).parametrizada;
}

int compararSinMayusculas(const QString& a, const QString& b) {
    const int n = std::min(a.size(), b.size());
    for (int i = 0; i < n; ++i) {
        const char16_t x = plegar(a[i].unicode()), y = plegar(b[i].unicode());
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

namespace {

QString plegarTexto(const QString& texto) {
    QString r(texto.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < texto.size(); ++i) r[i] = QChar(plegar(texto[i].unicode()));
    return r;
}

// Folds UTF-8 text byte by byte when it holds nothing beyond Latin-1 (the names of this
// program); false for any other text.
bool plegarLatin1(const unsigned char* s, qsizetype n, unsigned char* r) {
    for (qsizetype i = 0; i < n; ++i) {
        const unsigned char c = s[i];
        if (c < 0x80) {
            r[i] = (c >= 'A' && c <= 'Z') ? c + 32 : c;
        } else if ((c == 0xC2 || c == 0xC3) && i + 1 < n) {
            const unsigned char d = s[i + 1];
            r[i] = c;
            // Á..Þ (except ×) are U+00C0..U+00DE: C3 80..9E, their small letters C3 A0..BE.
            r[i + 1] = (c == 0xC3 && d >= 0x80 && d <= 0x9E && d != 0x97) ? d + 0x20 : d;
            ++i;
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

Patron prepararPatron(const QString& patron) {
    Patron p;
    p.plegado = plegarTexto(patron);
    p.utf8 = p.plegado.toUtf8();
    // "_" is one character, not one byte: such a pattern takes the decoded road.
    QVarLengthArray<unsigned char, 256> prueba(p.utf8.size());
    p.porBytes = !patron.contains(QLatin1Char('_')) &&
                 plegarLatin1(reinterpret_cast<const unsigned char*>(p.utf8.constData()),
                              p.utf8.size(), prueba.data());
    return p;
}

bool like(const Patron& patron, const char* utf8, qsizetype bytes) {
    // On the stack: a pattern is tried on every row of a table.
    if (patron.porBytes) {
        QVarLengthArray<unsigned char, 256> t(bytes);
        if (plegarLatin1(reinterpret_cast<const unsigned char*>(utf8), bytes, t.data()))
            return likeEnPlegados(reinterpret_cast<const unsigned char*>(patron.utf8.constData()),
                                  patron.utf8.size(), t.constData(), bytes);
    }
    QVarLengthArray<QChar, 256> t(bytes);
    QStringDecoder decodificador(QStringDecoder::Utf8);
    const QChar* fin = decodificador.appendToBuffer(t.data(), QByteArrayView(utf8, bytes));
    const qsizetype n = fin - t.constData();
    auto* u = reinterpret_cast<char16_t*>(t.data());
    for (qsizetype i = 0; i < n; ++i) u[i] = plegar(u[i]);
    return likeEnPlegados(reinterpret_cast<const char16_t*>(patron.plegado.constData()),
                          patron.plegado.size(), static_cast<const char16_t*>(u), n);
}

bool like(const QString& patron, const QString& texto) {
    const QByteArray t = texto.toUtf8();
    return like(prepararPatron(patron), t.constData(), t.size());
}

}  // namespace zul::jet
