#include "common/Filtro.h"

#include "common/Formato.h"
#include "common/Teclado.h"

namespace zul {
namespace {

enum Limite { kDesde, kHasta, kSolo };

// The operators exactly as the stored filters and report formulas have them, blanks included.
const char* const kOperadorSQL[] = {" >= ", " <=  ", " =  "};
const char* const kOperadorTextoSQL[] = {" >=", " <=  ", " =  "};
const char* const kOperadorFormula[] = {"} >= ", "} <= ", "} = "};
const char* const kOperadorFechaFormula[] = {"} >= date(", "} <=  date(", "} =  date("};
const char* const kOperadorHora[] = {">= '", "<= '", "= '"};

// One condition, or "" when the value does not qualify.
QString Condicion(const QString& tabla, const QString& campo, int tipo, bool modoSQL, Limite limite,
                  const QString& valor) {
    const QString campoSQL = tabla + '.' + campo;
    const QString campoFormula = QStringLiteral(" {") + campoSQL;
    const QString referencia = modoSQL ? campoSQL : campoFormula;
    switch (tipo) {
        case filtroNumero:
            if (!EsNumero(valor)) return {};
            return referencia +
                   QLatin1String(modoSQL ? kOperadorSQL[limite] : kOperadorFormula[limite]) +
                   FormatoSQL(valor, sqlNumero);
        case filtroTexto:
            if (valor.isEmpty()) return {};
            return referencia +
                   QLatin1String(modoSQL ? kOperadorTextoSQL[limite] : kOperadorFormula[limite]) +
                   FormatoSQL(valor, sqlTexto);
        case filtroFecha: {
            const auto fecha = LeerFecha(valor);
            if (!fecha) return {};
            if (modoSQL)
                return referencia + QLatin1String(kOperadorSQL[limite]) +
                       FormatoSQL(valor, sqlFecha);
            return referencia + QLatin1String(kOperadorFechaFormula[limite]) +
                   QStringLiteral("%1,%2,%3)")
                       .arg(fecha->year())
                       .arg(fecha->month())
                       .arg(fecha->day());
        }
        case filtroHora: {
            // Only a time goes between the quotes; any other text would end up inside the SQL.
            const auto hora = LeerHora(valor);
            if (!hora) return {};
            const QString campoHora = modoSQL ? campoSQL : '{' + campoSQL + '}';
            return campoHora + QLatin1String(kOperadorHora[limite]) +
                   hora->toString(QStringLiteral("hh:mm")) + '\'';
        }
        case filtroFechaTexto:
            if (!EsFecha(valor)) return {};
            // The formula closes its field's brace like every other kind.
            return referencia + (modoSQL ? QString() : QStringLiteral("}")) +
                   QLatin1String(kOperadorSQL[limite]) + valor;
        default:
            return {};
    }
}

}  // namespace

void ArmarFiltro(const QString& tabla, const QString& campo, int tipoSQL, QString& filtro,
                 bool modoSQL, QString desde, QString hasta, QString solo, bool describir,
                 bool porNombre, QString& descripcion, const QString& titulo) {
    if (tipoSQL == filtroFecha || tipoSQL == filtroFechaTexto) {
        desde = ArmarFecha(desde, false);
        hasta = ArmarFecha(hasta, true);
        solo = ArmarFecha(solo, false);
    }
    const QString* valores[] = {&desde, &hasta, &solo};
    for (const Limite limite : {kDesde, kHasta, kSolo}) {
        const QString c = Condicion(tabla, campo, tipoSQL, modoSQL, limite, *valores[limite]);
        if (c.isEmpty()) continue;
        if (!filtro.isEmpty()) filtro += QStringLiteral(" and ");
        filtro += c;
    }
    if (!describir) return;
    QString d;
    if (!desde.isEmpty()) d += QStringLiteral(" Desde ") + desde;
    if (!hasta.isEmpty()) d += QStringLiteral(" Hasta ") + hasta;
    if (!solo.isEmpty()) d += QStringLiteral(" Sólo ") + solo;
    if (d.isEmpty()) return;
    const QString palabra = (tipoSQL == filtroFecha || tipoSQL == filtroHora) ? QStringLiteral(" ")
                            : porNombre ? QStringLiteral(" Nombre ")
                                        : QStringLiteral(" Código ");
    descripcion += titulo + palabra + d + QChar(13);
}

}  // namespace zul
