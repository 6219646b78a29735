#include "masterdata/frmActSueld.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QShortcut>
#include <QTimer>

#include "common/Filtro.h"
#include "common/Formato.h"
#include "common/Globales.h"
#include "masterdata/frmEmpleados.h"
#include "platform/Database.h"
#include "platform/MsgBox.h"
#include "platform/Ventana.h"

namespace zul {
namespace {

const QString kTagDecimal = QStringLiteral("1,6");

// Kinds "2" and "6" of a box's descriptor: a decimal box.
bool EsCajaDecimal(const QString& tag) {
    const QString tipo = ItemLista(tag, 2);
    return tipo == QLatin1String("2") || tipo == QLatin1String("6");
}

// Codes and years are whole numbers: a text like "5x" or "2,5" would filter on nothing, and
// the update would reach rows the user did not choose.
bool EsEntero(const QString& texto) {
    static const QRegularExpression entero(QStringLiteral(R"(^\s*\d+\s*$)"));
    return entero.match(texto).hasMatch();
}

}  // namespace

frmActSueld::frmActSueld(QWidget* parent)
    : Mantenimiento(
          QStringLiteral("frmActSueld"), QStringLiteral("Actualización de Sueldos"),
          {{kCodigo, QStringLiteral("Código"), QStringLiteral("0,5,1,EMPLEOS,0"), 1200,
            kCajaClave | kCajaNumero, 10},
           {kCategoria, QStringLiteral("Categoría"), QStringLiteral("0,3,1,CATEMPLEOS,1"), 900,
            kCajaParteClave, 4},
           {kAntiguedad, QStringLiteral("Antiguedad"), QStringLiteral("0,5,,,,1"), 900, kCajaDato,
            15},
           {kImporte, QStringLiteral("Importe"), kTagDecimal, 1800, kCajaDato, kLargoImporte},
           {kPorcentaje, QStringLiteral("Porcentaje"), kTagDecimal, 1800, kCajaDato,
            kLargoImporte}},
          parent) {
    // Room for a long job or category name and a salary in the millions.
    const int anchoNombre = Twips(6000);
    for (int i : {kCodigo, kCategoria}) {
        denom_[i] = new QLabel(this);
        denom_[i]->setObjectName(QStringLiteral("denom_%1").arg(i));
        denom_[i]->setMinimumWidth(anchoNombre);
        PonerJunto(i, denom_[i]);
    }
    Eti_ = new QLabel(this);
    Eti_->setObjectName(QStringLiteral("Eti"));
    Eti_->setMinimumWidth(anchoNombre);
    PonerJunto(kAntiguedad, Eti_);

    // Only an update, a clear and an exit: the pattern's buttons under this window's names.
    btnGrabar()->setObjectName(QStringLiteral("confirmar"));
    btnCancelar()->setObjectName(QStringLiteral("cancelar"));
    btnSalir()->setObjectName(QStringLiteral("salir"));
    btnEliminar()->hide();

    // F3 anywhere in the window acts as the update button does, when it can.
    new QShortcut(
        QKeySequence(Qt::Key_F3), this, this, [this] { btnGrabar()->click(); },
        Qt::WidgetWithChildrenShortcut);
}

QString frmActSueld::ConsultaEmpleo(const QString& codigo) {
    return "select * from Empleo where emp_codigo=" + FormatoSQL(codigo, sqlNumero);
}

QString frmActSueld::FiltroSueldos(const QString& codigo, const QString& categoria,
                                   const QString& antiguedad) {
    QString filtro, descripcion;
    const QString tabla = QStringLiteral("Empleo");
    ArmarFiltro(tabla, QStringLiteral("emp_codigo"), filtroNumero, filtro, true, {}, {}, codigo,
                false, false, descripcion, {});
    ArmarFiltro(tabla, QStringLiteral("emp_catego"), filtroTexto, filtro, true, {}, {}, categoria,
                false, false, descripcion, {});
    ArmarFiltro(tabla, QStringLiteral("emp_antigu"), filtroNumero, filtro, true, {}, {}, antiguedad,
                false, false, descripcion, {});
    return filtro.isEmpty() ? filtro : QStringLiteral(" where ") + filtro;
}

QString frmActSueld::ConsultaSueldos(const QString& filtro) {
    return "select emp_codigo,emp_catego,emp_antigu,emp_sueldo from Empleo" + filtro +
           " order by emp_codigo,emp_catego,emp_antigu";
}

QString frmActSueld::ActualizarSueldo(const QVariant& codigo, const QVariant& categoria,
                                      const QVariant& antiguedad, Moneda sueldo) {
    return "update empleo set emp_sueldo = " + FormatoSQL(sueldo.aDouble(), sqlNumero) +
           " where emp_codigo = " + FormatoSQL(codigo, sqlNumero) +
           " and emp_catego = " + FormatoSQL(categoria, sqlTexto) +
           " and emp_antigu = " + FormatoSQL(antiguedad, sqlNumero);
}

std::optional<Moneda> frmActSueld::SueldoActualizado(Moneda sueldo, std::optional<Moneda> importe,
                                                     std::optional<Moneda> porcentaje) {
    std::optional<Moneda> nuevo;
    if (importe)
        nuevo = sueldo.mas(*importe);
    else if (porcentaje)
        nuevo = Moneda::convertir(sueldo.aDouble() * ((porcentaje->aDouble() + 100) / 100));
    if (!nuevo || !nuevo->enRango()) return std::nullopt;
    return nuevo;
}

void frmActSueld::texto_GotFocus(int) {
    // This window leaves the text as it is: no selection on entry.
}

void frmActSueld::texto_LostFocus(int indice) {
    QLineEdit* caja = texto(indice);
    if (caja->text().isEmpty()) return;
    if (EsCajaDecimal(caja->property("Tag").toString())) caja->setText(ImporteLeido(caja->text()));
    if (indice == kAntiguedad && EsNumero(texto(kCodigo)->text()) &&
        !texto(kCategoria)->text().isEmpty() && EsNumero(caja->text()))
        MostrarSueldo();
}

void frmActSueld::MostrarSueldo() {
    try {
        Recordset rs = Database::open(RutaBase).openRecordset(frmEmpleados::ConsultaSueldoEmpleo(
            texto(kCategoria)->text(), texto(kAntiguedad)->text(), texto(kCodigo)->text()));
        if (rs.vacio()) {
            MsgBox(QStringLiteral("No existe Registro para la categoria y Antigüedad"),
                   vbInformation, QStringLiteral("Mensaje!!!"));
            return;
        }
        Eti_->setText(QStringLiteral("Sueldo Actual ") +
                      FormatoNulo(rs.value(QStringLiteral("emp_sueldo")), nuloNumero));
    } catch (const DatabaseError& e) {
        MostrarError(e);
    }
}

std::optional<ConsultaCaja> frmActSueld::ConsultaDe(int caja) const {
    if (caja == kCodigo)
        return ConsultaCaja{
            QStringLiteral("SELECT Emp_Codigo,emp_catego,emp_antigu,Emp_Nombre FROM Empleo"),
            QStringLiteral("Emp_Nombre"),
            QStringLiteral("Consulta"),
            QStringLiteral("Código/Categoría/Antiguedad/Nombre"),
            4,
            {{QStringLiteral("Emp_Codigo"), kCodigo},
             {QStringLiteral("emp_catego"), kCategoria},
             {QStringLiteral("emp_antigu"), kAntiguedad}}};
    if (caja == kCategoria) return ConsultaCategorias(kCategoria);
    return std::nullopt;
}

bool frmActSueld::ValidarCaja(int indice) {
    const QString t = texto(indice)->text();
    if (indice == kCodigo && EsNumero(t))
        Denominar(kCodigo, ConsultaEmpleo(t), QStringLiteral("emp_nombre"),
                  QStringLiteral("El Empleo es inexistente"));
    else if (indice == kCategoria && !t.isEmpty())
        Denominar(kCategoria, frmEmpleados::ConsultaCategoria(t), QStringLiteral("cat_nombre"),
                  QStringLiteral("La Categoría es inexistente"));
    // The leaving goes on; a code not found only sends the focus back.
    return true;
}

void frmActSueld::Denominar(int caja, const QString& sql, const QString& campo,
                            const QString& inexistente) {
    try {
        Recordset rs = Database::open(RutaBase).openRecordset(sql);
        if (!rs.vacio()) {
            denom_[caja]->setText(FormatoNulo(rs.value(campo), nuloTexto));
            return;
        }
    } catch (const DatabaseError& e) {
        MostrarError(e);
        return;
    }
    MsgBox(inexistente, vbOKOnly);
    // Once the move under way is over.
    QPointer<QLineEdit> volver(texto(caja));
    QTimer::singleShot(0, this, [volver] {
        if (volver) volver->setFocus(Qt::OtherFocusReason);
    });
}

QList<Requerido> frmActSueld::Requeridos() const {
    return {{kCodigo, QStringLiteral("Debe ingresar el código"), EsEntero},
            {kAntiguedad,
             QStringLiteral("La antigüedad debe ser un número entero de años, o quedar vacía"),
             [](const QString& t) { return t.isEmpty() || EsEntero(t); }}};
}

bool frmActSueld::UnCriterio() {
    const QString ingrese = QStringLiteral("Ingrese un importe o porcentaje");
    for (int i : {kImporte, kPorcentaje}) {
        const QString t = texto(i)->text();
        if (t.trimmed().isEmpty() || Moneda::desdeImporte(t)) continue;
        // What was typed is no amount: never taken as none, nor as a nearby one.
        const CajaImporte clase = i == kPorcentaje ? CajaImporte::Porcentaje : CajaImporte::Importe;
        MsgBox(ImporteCabe(t) ? ingrese : MensajeImporteExcedido(clase), vbExclamation,
               QStringLiteral("Atención"));
        texto(i)->setFocus();
        return false;
    }
    const bool importe = Moneda::desdeImporte(texto(kImporte)->text()).has_value();
    const bool porcentaje = Moneda::desdeImporte(texto(kPorcentaje)->text()).has_value();
    if (!importe && !porcentaje) {
        MsgBox(ingrese, vbExclamation, QStringLiteral("Atención"));
        texto(kImporte)->setFocus();
        return false;
    }
    if (importe && porcentaje) {
        MsgBox(QStringLiteral("Solo puede actualizar por un criterio (Importe o Porcentaje)"),
               vbExclamation, QStringLiteral("Atención"));
        return false;
    }
    return true;
}

bool frmActSueld::PuedeGrabar() {
    cambios_.clear();
    return UnCriterio();
}

std::optional<Rechazo> frmActSueld::ComprobarAlGrabar(Database& db) {
    // Read under the write lock: a salary another copy saves meanwhile is the one raised.
    const std::optional<Moneda> importe = Moneda::desdeImporte(texto(kImporte)->text());
    const std::optional<Moneda> porcentaje = Moneda::desdeImporte(texto(kPorcentaje)->text());
    Recordset rs = db.openRecordset(ConsultaSueldos(FiltroSueldos(
        texto(kCodigo)->text(), texto(kCategoria)->text(), texto(kAntiguedad)->text())));
    for (; !rs.eof(); rs.moveNext()) {
        const QVariant actual = rs.value(QStringLiteral("emp_sueldo"));
        // A row never given a salary keeps none.
        if (actual.isNull()) continue;
        const std::optional<Moneda> sueldo = Moneda::convertir(LeerNumero(actual));
        const std::optional<Moneda> nuevo =
            sueldo ? SueldoActualizado(*sueldo, importe, porcentaje) : std::nullopt;
        const QVariant codigo = rs.value(QStringLiteral("emp_codigo"));
        const QVariant categoria = rs.value(QStringLiteral("emp_catego"));
        const QVariant antiguedad = rs.value(QStringLiteral("emp_antigu"));
        if (!nuevo || *nuevo < Moneda()) {
            // All or nothing: one salary out of range stops the whole update.
            cambios_.clear();
            return Rechazo{
                QStringLiteral("El sueldo del código %1, categoría %2, antigüedad %3 no "
                               "se puede actualizar.\n")
                        .arg(TextoValor(codigo), TextoValor(categoria), TextoValor(antiguedad)) +
                    (nuevo ? QStringLiteral("El nuevo sueldo sería negativo: revise el importe o "
                                            "el porcentaje.")
                           : MensajeImporteExcedido()) +
                    QStringLiteral("\nNo se actualizó ningún sueldo."),
                QStringLiteral("Atención"), importe ? kImporte : kPorcentaje};
        }
        cambios_.push_back({codigo, categoria, antiguedad, *nuevo});
    }
    return std::nullopt;
}

bool frmActSueld::Grabar(Database& db) {
    // In the save's transaction, with the salaries read: every row or none.
    for (const Cambio& c : cambios_)
        db.execute(ActualizarSueldo(c.codigo, c.categoria, c.antiguedad, c.sueldo), dbFailOnError);
    cambios_.clear();
    // A filter that matches no salary is no missing record: the process is done all the same.
    return true;
}

QString frmActSueld::MensajeGrabado() const {
    return QStringLiteral("Proceso Finalizado");
}

int frmActSueld::EstiloGrabado() const {
    return vbExclamation;
}

std::optional<QString> frmActSueld::TituloGrabado() const {
    return QStringLiteral("Mensaje");
}

void frmActSueld::Limpiar() {
    for (QLabel* d : denom_) d->clear();
    Eti_->clear();
}

}  // namespace zul
