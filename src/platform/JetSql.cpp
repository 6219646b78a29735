#include "platform/JetSql.h"

#include <QDate>
#include <QRegularExpression>
#include <stdexcept>

namespace zul::jet {
namespace {

// "#mm/dd/yyyy#" (optionally with a time) or "#hh:mm#" to an ISO text literal.
QString literalFecha(const QString& dentro) {
    static const QRegularExpression fecha(
        QStringLiteral(R"(^\s*(\d{1,2})/(\d{1,2})/(\d{4})(?:\s+(\d{1,2}):(\d{2})(?::(\d{2}))?)?\s*$)"));
    static const QRegularExpression hora(QStringLiteral(R"(^\s*(\d{1,2}):(\d{2})(?::(\d{2}))?\s*$)"));
    auto m = fecha.match(dentro);
    if (m.hasMatch()) {
        const int mes = m.captured(1).toInt(), dia = m.captured(2).toInt(), anio = m.captured(3).toInt();
        if (!QDate(anio, mes, dia).isValid()) throw std::invalid_argument("fecha no válida: #" + dentro.toStdString() + "#");
        return QStringLiteral("'%1-%2-%3'")
            .arg(anio, 4, 10, QChar('0'))
            .arg(mes, 2, 10, QChar('0'))
            .arg(dia, 2, 10, QChar('0'));
    }
    m = hora.match(dentro);
    if (m.hasMatch())
        return QStringLiteral("'%1:%2'").arg(m.captured(1).toInt(), 2, 10, QChar('0')).arg(m.captured(2));
    throw std::invalid_argument("fecha no válida: #" + dentro.toStdString() + "#");
}

// Rewrites quoted parts and date literals. `mascara` gets the same text with every
// quoted character blanked, so keyword patterns can be matched on it safely.
void lexear(const QString& sql, QString& salida, QString& mascara) {
    const int n = sql.size();
    for (int i = 0; i < n;) {
        const QChar c = sql[i];
        if (c == '\'' || c == '"') {
            QString contenido;
            int j = i + 1;
            for (; j < n; ++j) {
                if (sql[j] == c) {
                    if (j + 1 < n && sql[j + 1] == c) {
                        contenido += c;
                        ++j;
                        continue;
                    }
                    break;
                }
                contenido += sql[j];
            }
            // Unterminated text: hand it on unchanged and let the engine refuse it.
            if (j >= n) {
                salida += sql.mid(i);
                mascara += QString(n - i, ' ');
                return;
            }
            contenido.replace('\'', QStringLiteral("''"));
            const QString lit = '\'' + contenido + '\'';
            salida += lit;
            mascara += '\'' + QString(lit.size() - 2, ' ') + '\'';
            i = j + 1;
        } else if (c == '#') {
            const int fin = sql.indexOf('#', i + 1);
            if (fin < 0) throw std::invalid_argument("fecha no válida: falta el # de cierre");
            const QString lit = literalFecha(sql.mid(i + 1, fin - i - 1));
            salida += lit;
            mascara += '\'' + QString(lit.size() - 2, ' ') + '\'';
            i = fin + 1;
        } else {
            salida += c;
            mascara += c;
            ++i;
        }
    }
}

// Splits at the commas that stand outside quotes and parentheses.
QStringList partirPorComas(const QString& texto, const QString& mascara) {
    QStringList partes;
    int nivel = 0, desde = 0;
    for (int i = 0; i < mascara.size(); ++i) {
        const QChar c = mascara[i];
        if (c == '(') ++nivel;
        else if (c == ')') --nivel;
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
    return QChar(c).toLower().unicode();
}

bool likeDesde(const QString& p, int i, const QString& t, int j) {
    while (i < p.size()) {
        const char16_t pc = p[i].unicode();
        if (pc == '%') {
            while (i < p.size() && p[i] == '%') ++i;
            if (i == p.size()) return true;
            for (int k = j; k <= t.size(); ++k)
                if (likeDesde(p, i, t, k)) return true;
            return false;
        }
        if (j >= t.size()) return false;
        if (pc != '_' && plegar(pc) != plegar(t[j].unicode())) return false;
        ++i;
        ++j;
    }
    return j == t.size();
}

// One item of a VALUES list as a bindable value, when it is a plain literal.
std::optional<QVariant> valorLiteral(const QString& item) {
    static const QRegularExpression entero(QStringLiteral(R"(^[+-]?\d{1,18}$)"));
    static const QRegularExpression real(QStringLiteral(R"(^[+-]?(\d+\.\d*|\.\d+|\d+)([eE][+-]?\d+)?$)"));
    if (item.size() >= 2 && item.front() == '\'' && item.back() == '\'') {
        // One literal only when every inner quote is a doubled one.
        QString t;
        for (int i = 1; i < item.size() - 1; ++i) {
            if (item[i] == '\'') {
                if (i + 1 >= item.size() - 1 || item[i + 1] != '\'') return std::nullopt;
                ++i;
            }
            t += item[i];
        }
        return QVariant(t);
    }
    if (item.compare(QStringLiteral("NULL"), Qt::CaseInsensitive) == 0) return QVariant();
    if (entero.match(item).hasMatch()) return QVariant(item.toLongLong());
    if (real.match(item).hasMatch()) return QVariant(item.toDouble());
    return std::nullopt;
}

}  // namespace

std::optional<Parametrizada> parametrizarInsert(const QString& sql) {
    // Mask of the quoted parts, so keywords and commas are found only outside them.
    QString mascara = sql;
    for (int i = 0; i < mascara.size(); ++i) {
        if (mascara[i] != '\'') continue;
        int j = i + 1;
        for (; j < mascara.size(); ++j) {
            if (sql[j] == '\'') {
                if (j + 1 < sql.size() && sql[j + 1] == '\'') {
                    mascara[j] = mascara[j + 1] = ' ';
                    ++j;
                    continue;
                }
                break;
            }
            mascara[j] = ' ';
        }
        i = j;
    }
    static const QRegularExpression forma(QStringLiteral(R"(^\s*INSERT\s+INTO\b.*?\bVALUES\s*\()"),
                                          QRegularExpression::CaseInsensitiveOption |
                                              QRegularExpression::DotMatchesEverythingOption);
    const auto m = forma.match(mascara);
    if (!m.hasMatch()) return std::nullopt;
    const int abre = m.capturedEnd(0);
    const int cierra = mascara.lastIndexOf(')');
    if (cierra < abre || !mascara.mid(cierra + 1).trimmed().isEmpty()) return std::nullopt;
    const QString cuerpo = sql.mid(abre, cierra - abre);
    const QStringList items = partirPorComas(cuerpo, mascara.mid(abre, cierra - abre));
    Parametrizada p;
    QStringList marcas;
    for (const QString& item : items) {
        const auto v = valorLiteral(item);
        if (!v) return std::nullopt;
        p.valores << *v;
        marcas << QStringLiteral("?");
    }
    p.sql = sql.left(abre) + marcas.join(',') + sql.mid(cierra);
    return p;
}

QStringList traducir(const QString& sql) {
    QString salida, mascara;
    lexear(sql, salida, mascara);

    static const QRegularExpression borrarTodo(QStringLiteral(R"(^(\s*DELETE)\s+\*(\s+FROM\b))"),
                                               QRegularExpression::CaseInsensitiveOption);
    auto m = borrarTodo.match(mascara);
    if (m.hasMatch()) {
        const int desde = m.capturedEnd(1), hasta = m.capturedStart(2);
        salida.remove(desde, hasta - desde);
        mascara.remove(desde, hasta - desde);
    }

    static const QRegularExpression alterar(
        QStringLiteral(R"(^\s*ALTER\s+TABLE\s+(\S+)\s+ADD\s+(?:COLUMN\s+)?)"),
        QRegularExpression::CaseInsensitiveOption);
    m = alterar.match(mascara);
    if (m.hasMatch()) {
        const int cuerpo = m.capturedEnd(0);
        const QStringList columnas = partirPorComas(salida.mid(cuerpo), mascara.mid(cuerpo));
        QStringList sentencias;
        for (const QString& col : columnas)
            sentencias << QStringLiteral("ALTER TABLE %1 ADD COLUMN %2").arg(m.captured(1), col);
        return sentencias;
    }
    return {salida};
}

int compararSinMayusculas(const QString& a, const QString& b) {
    const int n = std::min(a.size(), b.size());
    for (int i = 0; i < n; ++i) {
        const char16_t x = plegar(a[i].unicode()), y = plegar(b[i].unicode());
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool like(const QString& patron, const QString& texto) { return likeDesde(patron, 0, texto, 0); }

}  // namespace zul::jet
