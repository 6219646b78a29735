#include "common/Formato.h"

#include <QDateTime>
#include <QRegularExpression>
#include <charconv>
#include <cmath>

namespace zul {
namespace {

bool esTipoNumerico(const QVariant& v) {
    switch (v.typeId()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Double:
        case QMetaType::Float:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Long:
        case QMetaType::ULong:
            return true;
        default:
            return false;
    }
}

// A typed number: sign, digits with "," as decimal separator (later commas are dropped, as
// the SQL literal does), "." only as a correct thousands grouping. Blanks around are allowed.
std::optional<double> numeroDeTexto(const QString& texto) {
    const QStringView t = QStringView(texto).trimmed();
    // The digits are gathered in C form ("-1234.5") on the stack, then read in one go.
    char limpio[80];
    int k = 0;
    const auto poner = [&](char c) {
        if (k < int(sizeof limpio)) limpio[k++] = c;
    };
    qsizetype i = 0;
    bool negativo = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) negativo = t[i++] == '-';
    // Whole part: plain digits, or groups of three after "." (1.234.567).
    const qsizetype inicio = i;
    qsizetype grupo = 0;
    bool agrupado = false;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c >= '0' && c <= '9') {
            poner(char(c.unicode()));
            ++grupo;
        } else if (c == '.') {
            if ((agrupado ? grupo != 3 : (grupo < 1 || grupo > 3))) return std::nullopt;
            agrupado = true;
            grupo = 0;
        } else {
            break;
        }
    }
    if (agrupado && grupo != 3) return std::nullopt;
    const bool hayEnteros = i > inicio;
    if (!hayEnteros) poner('0');
    // Decimal part: the first "," is the separator, later ones are dropped.
    bool hayDecimales = false;
    if (i < t.size() && t[i] == ',') {
        poner('.');
        for (; i < t.size(); ++i) {
            const QChar c = t[i];
            if (c >= '0' && c <= '9') {
                poner(char(c.unicode()));
                hayDecimales = true;
            } else if (c != ',') {
                return std::nullopt;
            }
        }
    }
    if (i != t.size() || (!hayEnteros && !hayDecimales) || k >= int(sizeof limpio))
        return std::nullopt;
    double d = 0;
    const auto r = std::from_chars(limpio, limpio + k, d);
    if (r.ec != std::errc() || r.ptr != limpio + k) return std::nullopt;
    return negativo ? -d : d;
}

std::optional<double> numero(const QVariant& v) {
    if (v.isNull()) return std::nullopt;
    if (esTipoNumerico(v)) return v.toDouble();
    if (v.typeId() == QMetaType::QString) return numeroDeTexto(v.toString());
    return std::nullopt;
}

// The database's own "yyyy-mm-dd" and nothing else, read without the patterns: lists show
// thousands of dates. Null when the text has another shape.
std::optional<QDate> fechaIso(QStringView t) {
    if (t.size() != 10 || t[4] != u'-' || t[7] != u'-') return std::nullopt;
    int partes[3] = {0, 0, 0};
    const int desde[3] = {0, 5, 8};
    const int largo[3] = {4, 2, 2};
    for (int p = 0; p < 3; ++p)
        for (int i = desde[p]; i < desde[p] + largo[p]; ++i) {
            if (t[i] < u'0' || t[i] > u'9') return std::nullopt;
            partes[p] = partes[p] * 10 + (t[i].unicode() - u'0');
        }
    return QDate(partes[0], partes[1], partes[2]);
}

// "dd/mm/yyyy" of a date of four-digit year, written digit by digit for the same reason.
QString textoFecha(const QDate& d) {
    if (d.year() < 1000 || d.year() > 9999) return d.toString(QStringLiteral("dd/MM/yyyy"));
    QString t(10, u'/');
    const auto poner = [&t](int desde, int numero, int cifras) {
        for (int i = desde + cifras - 1; i >= desde; --i, numero /= 10)
            t[i] = QChar(u'0' + numero % 10);
    };
    poner(0, d.day(), 2);
    poner(3, d.month(), 2);
    poner(6, d.year(), 4);
    return t;
}

// After "," became "." a number reads with "." as its decimal point.
bool esNumeroConPunto(const QString& t) {
    static const QRegularExpression forma(QStringLiteral(R"(^\s*[+-]?(\d+\.?\d*|\.\d+)\s*$)"));
    return forma.match(t).hasMatch();
}

}  // namespace

bool EsNumero(const QVariant& valor) {
    return numero(valor).has_value();
}

double LeerNumero(const QVariant& valor) {
    return numero(valor).value_or(0.0);
}

std::optional<qint32> Entero32(const QVariant& valor) {
    const auto n = numero(valor);
    if (!n || *n != std::floor(*n) || *n < -2147483648.0 || *n > 2147483647.0) return std::nullopt;
    return static_cast<qint32>(*n);
}

QString TextoNumero(double n) {
    if (n == 0) return QStringLiteral("0");  // also -0
    if (std::abs(n) < 1e15 && n == std::trunc(n)) return QString::number(static_cast<qlonglong>(n));
    // Amounts have few decimals: when four give back the very same double, those are its
    // shortest digits, written without the general conversion.
    if (std::abs(n) < 1e10) {
        const double escalado = std::round(n * 10000.0);
        if (escalado / 10000.0 == n) {
            const qlonglong d = static_cast<qlonglong>(std::abs(escalado));
            QString dec = QString::number(d % 10000).rightJustified(4, QLatin1Char('0'));
            while (dec.endsWith(QLatin1Char('0'))) dec.chop(1);
            return (n < 0 ? QStringLiteral("-") : QString()) + QString::number(d / 10000) + ',' +
                   dec;
        }
    }
    QString t = QString::number(n, 'g', 15);
    if (t.contains('e')) {
        // No exponents on screen or in SQL: tiny values keep their digits, huge ones are whole.
        t = QString::number(n, 'f', std::abs(n) < 1 ? 20 : 0);
        if (t.contains('.')) {
            while (t.endsWith('0')) t.chop(1);
            if (t.endsWith('.')) t.chop(1);
        }
    }
    return t.replace('.', ',');
}

std::optional<QDate> LeerFecha(const QVariant& valor) {
    if (valor.isNull()) return std::nullopt;
    if (valor.typeId() == QMetaType::QDate) return valor.toDate();
    if (valor.typeId() == QMetaType::QDateTime) return valor.toDateTime().date();
    if (valor.typeId() != QMetaType::QString) return std::nullopt;
    const QString t = valor.toString().trimmed();
    if (const auto iso = fechaIso(t)) {
        if (!iso->isValid()) return std::nullopt;
        return iso;
    }
    static const QRegularExpression dma(
        QStringLiteral(R"(^(\d{1,2})/(\d{1,2})/(\d{2}|\d{4})(?:\s.*)?$)"));
    static const QRegularExpression iso(QStringLiteral(R"(^(\d{4})-(\d{2})-(\d{2})(?:[ T].*)?$)"));
    QDate d;
    if (auto m = dma.match(t); m.hasMatch()) {
        int anio = m.captured(3).toInt();
        if (m.captured(3).size() == 2) anio += anio < 30 ? 2000 : 1900;
        d = QDate(anio, m.captured(2).toInt(), m.captured(1).toInt());
    } else if (auto m2 = iso.match(t); m2.hasMatch()) {
        d = QDate(m2.captured(1).toInt(), m2.captured(2).toInt(), m2.captured(3).toInt());
    }
    if (!d.isValid()) return std::nullopt;
    return d;
}

std::optional<QTime> LeerHora(const QVariant& valor) {
    if (valor.isNull()) return std::nullopt;
    if (valor.typeId() == QMetaType::QTime) return valor.toTime();
    if (valor.typeId() == QMetaType::QDateTime) return valor.toDateTime().time();
    if (valor.typeId() == QMetaType::QString) {
        static const QRegularExpression hm(
            QStringLiteral(R"((?:^|\s)(\d{1,2}):(\d{2})(?::(\d{2}))?\s*$)"));
        const auto m = hm.match(valor.toString().trimmed());
        if (m.hasMatch()) {
            const QTime t(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
            if (t.isValid()) return t;
            return std::nullopt;
        }
    }
    if (LeerFecha(valor)) return QTime(0, 0);  // a date alone is midnight
    return std::nullopt;
}

bool EsFecha(const QVariant& valor) {
    return LeerFecha(valor).has_value();
}

QString TextoValor(const QVariant& v) {
    if (v.isNull()) return {};
    if (v.typeId() == QMetaType::QDate) return v.toDate().toString(QStringLiteral("dd/MM/yyyy"));
    if (v.typeId() == QMetaType::QDateTime) {
        const QDateTime dt = v.toDateTime();
        return dt.time() == QTime(0, 0) ? dt.toString(QStringLiteral("dd/MM/yyyy"))
                                        : dt.toString(QStringLiteral("dd/MM/yyyy hh:mm:ss"));
    }
    if (v.typeId() == QMetaType::Bool)
        return v.toBool() ? QStringLiteral("Verdadero") : QStringLiteral("Falso");
    if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float)
        return TextoNumero(v.toDouble());
    return v.toString();
}

QString FormatoSQL(const QVariant& valor, int tipoSQL) {
    switch (tipoSQL) {
        case 1: {
            const auto n = numero(valor);
            // The number's own text has one "," at most: it becomes the SQL decimal point.
            return n ? TextoNumero(*n).replace(',', '.') : QStringLiteral("0");
        }
        case 3: {
            QString t = TextoValor(valor);
            return '\'' + t.replace('\'', QStringLiteral("''")) + '\'';
        }
        case 4: {
            const auto d = LeerFecha(valor);
            return d ? '#' + d->toString(QStringLiteral("MM/dd/yyyy")) + '#'
                     : QStringLiteral("NULL");
        }
        case 5: {
            const auto h = LeerHora(valor);
            return h ? '#' + h->toString(QStringLiteral("hh:mm")) + '#' : QStringLiteral("NULL");
        }
        case 6: {
            const bool verdadero = (valor.typeId() == QMetaType::Bool && valor.toBool()) ||
                                   (esTipoNumerico(valor) && valor.toDouble() == -1);
            return verdadero ? QStringLiteral("1") : QStringLiteral("0");
        }
        default:
            return {};
    }
}

QString FormatoNulo(const QVariant& valor, int tipoFormato) {
    switch (tipoFormato) {
        case 1:
        case 2: {
            const auto n = numero(valor);
            if (n) return TextoNumero(*n);
            return tipoFormato == 2 ? QStringLiteral("0") : QString();
        }
        case 3:
            return TextoValor(valor);
        case 4: {
            const auto d = LeerFecha(valor);
            return d ? textoFecha(*d) : QString();
        }
        default:
            return {};
    }
}

QString ReemplazarTexto(const QString& texto, const QString& buscar, const QString& nuevo,
                        int modo) {
    if (buscar.isEmpty()) return texto;
    QString r;
    bool yaReemplazo = false;
    for (int i = 0; i < texto.size();) {
        if (QStringView(texto).mid(i).startsWith(buscar)) {
            if (!(modo == 0 && yaReemplazo)) r += nuevo;
            yaReemplazo = true;
            i += buscar.size();
            if (modo == 2) return r + texto.mid(i);
        } else {
            r += texto[i];
            ++i;
        }
    }
    return r;
}

QString Reemplazar(const QString& texto, const QString& buscar, const QString& nuevo, int modo) {
    QString r = texto;
    if (nuevo != buscar && !buscar.isEmpty()) {
        // Each search starts again from the beginning; when the new text holds the one sought,
        // it goes on after the replacement instead, so the loop always ends.
        const bool reexplorar = !nuevo.contains(buscar);
        bool primera = true;
        int desde = 0;
        for (int p; (p = r.indexOf(buscar, desde)) >= 0;) {
            const QString puesto = (modo == 0 && !primera) ? QString() : nuevo;
            r.replace(p, buscar.size(), puesto);
            primera = false;
            desde = reexplorar ? 0 : p + puesto.size();
            if (modo == 2) break;
        }
    }
    if (modo == 0) {
        if (r.startsWith('.')) r.prepend('0');
        // The caller has just made its decimal mark: "." or the program's own ",".
        if (!esNumeroConPunto(r) && !numeroDeTexto(r)) r = QStringLiteral("0");
    }
    return r;
}

QString ReemplazarStr(const QString& texto, const QString& buscar, const QString& nuevo, int modo) {
    return Reemplazar(texto, buscar, nuevo, modo);
}

std::optional<QString> TextoImporte(const QString& texto) {
    const QString t = texto.trimmed();
    // A second comma is a slip, not a decimal to drop: "12,345,678" is no amount.
    if (t.count(',') > 1) return std::nullopt;
    // A lone point is the keypad's decimal point: "0.250" is a quarter, never 250.
    if (!t.contains(',') && t.count('.') == 1) {
        QString conComa = QString(t).replace('.', ',');
        if (!numeroDeTexto(conComa)) return std::nullopt;
        return conComa;
    }
    // Dots group thousands only beside a decimal comma or two and more of them.
    if (numeroDeTexto(t)) return QString(t).remove('.');
    return std::nullopt;
}

QString ItemLista(const QString& lista, int n) {
    if (lista.isEmpty() || n < 1) return {};
    const QStringList items = lista.split(',');
    return n <= items.size() ? items[n - 1].trimmed() : QString();
}

}  // namespace zul
