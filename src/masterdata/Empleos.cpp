#include "masterdata/Empleos.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "common/Formato.h"
#include "common/Globales.h"
#include "common/Moneda.h"
#include "platform/Database.h"
#include "platform/MsgBox.h"
#include "platform/Ventana.h"

namespace zul {
namespace {

const QString kPorFavor = QStringLiteral("Por favor, ingrese el Código");
const QString kNoExiste = QStringLiteral("El Código no existe");
const QString kFaltaCodigo = QStringLiteral("Debe ingresar el código");
const QString kFaltaAntiguedad = QStringLiteral("Debe ingresar la antiguedad");
// What a user may type into each box.
constexpr int kLargos[] = {10, 4, 15, 90, kLargoImporte};

bool EsEntero(const QString& t) {
    return Entero32(t).has_value();
}

QString Clave(const QString& codigo, const QString& categoria, const QString& antiguedad) {
    return " where emp_codigo=" + FormatoSQL(codigo, 1) +
           " and emp_catego=" + FormatoSQL(categoria, 3) +
           " and emp_antigu=" + FormatoSQL(antiguedad, 1);
}

}  // namespace

Empleos::Empleos(QWidget* parent)
    : Mantenimiento(
          QStringLiteral("Empleos"), QStringLiteral("Empleos"),
          {{kCodigo, QStringLiteral("Código"), QStringLiteral("0,1"), 1200,
            kCajaClave | kCajaNumero, kLargos[kCodigo]},
           {kCategoria, QStringLiteral("Categoría Empleo"), QStringLiteral("0,3,1,CATEMPLEOS,0"),
            800, kCajaParteClave, kLargos[kCategoria]},
           {kAntiguedad, QStringLiteral("Antiguedad"), QStringLiteral("0,1,,,,1"), 800, kCajaDato,
            kLargos[kAntiguedad]},
           {kNombre, QStringLiteral("Categoría General"), QStringLiteral("1,3"), 6000, kCajaDato,
            kLargos[kNombre]},
           {kTotal, QStringLiteral("Total $"), QStringLiteral("1,6"), 1800, kCajaDato,
            kLargos[kTotal]}},
          parent) {
    // This window calls its captions lblLabels.
    for (int i = kCodigo; i <= kTotal; ++i)
        Label1(i)->setObjectName(QStringLiteral("lblLabels_%1").arg(i));
    denom_ = new QLabel(this);
    denom_->setObjectName(QStringLiteral("denom_0"));
    // Room for a long category name.
    denom_->setMinimumWidth(Twips(6000));
    PonerJunto(kCategoria, denom_);
}

QString Empleos::Texto(int caja) const {
    return texto(caja)->text();
}

QString Empleos::ConsultaCategoria(const QString& categoria) {
    return "SELECT * FROM Categoria where Cat_Id=" + FormatoSQL(categoria, 3);
}

QString Empleos::ConsultaEmpleo(const QString& codigo, const QString& categoria,
                                const QString& antiguedad) {
    return "Select * from Empleo" + Clave(codigo, categoria, antiguedad);
}

QString Empleos::AltaEmpleo(const QString& codigo, const QString& categoria,
                            const QString& antiguedad) {
    // The same number literals the lookup used, never the typed text as it stands.
    return "INSERT INTO Empleo(emp_codigo,emp_catego,emp_antigu) VALUES(" + FormatoSQL(codigo, 1) +
           "," + FormatoSQL(categoria, 3) + "," + FormatoSQL(antiguedad, 1) + ")";
}

QString Empleos::ActualizarEmpleo(const QString& codigo, const QString& categoria,
                                  const QString& antiguedad, const QString& nombre,
                                  const QString& total) {
    return "UPDATE Empleo SET emp_nombre=" + FormatoSQL(nombre, 3) +
           ",emp_sueldo=" + ImporteSQL(total) + Clave(codigo, categoria, antiguedad);
}

QString Empleos::EliminarEmpleo(const QString& codigo, const QString& categoria,
                                const QString& antiguedad) {
    return "delete from Empleo" + Clave(codigo, categoria, antiguedad);
}

void Empleos::AlCargar() {
    btnGrabar()->setEnabled(true);
    btnEliminar()->setEnabled(false);
}

std::optional<ConsultaCaja> Empleos::ConsultaDe(int caja) const {
    if (caja == kCodigo)
        return ConsultaCaja{
            QStringLiteral("Select emp_codigo,emp_catego, cat_nombre,emp_antigu,emp_nombre from "
                           "Empleo, categoria where emp_catego= cat_id order by emp_codigo"),
            QStringLiteral("emp_nombre"),
            QStringLiteral("Consulta de Empleos"),
            QStringLiteral("Código/Cod.Categoría/Categoría/Antiguedad/Nombre"),
            5,
            {{QStringLiteral("emp_codigo"), kCodigo},
             {QStringLiteral("emp_catego"), kCategoria},
             {QStringLiteral("emp_antigu"), kAntiguedad}}};
    if (caja == kCategoria) return ConsultaCategorias(kCategoria);
    return std::nullopt;
}

bool Empleos::ValidarCaja(int indice) {
    if (indice == kTotal) texto(kTotal)->setText(ImporteLeido(Texto(kTotal)));
    if (indice == kCategoria) return ValidarCategoria();
    if (indice == kAntiguedad) return ValidarAntiguedad();
    return true;
}

bool Empleos::ValidarCategoria() {
    if (Texto(kCategoria).isEmpty()) {
        // The box stays usable; the whole key is checked again when the seniority is left.
        MsgBox(kPorFavor, vbExclamation, QString());
        return true;
    }
    try {
        Recordset rs = Database::open(RutaBase).openRecordset(ConsultaCategoria(Texto(kCategoria)));
        if (rs.vacio()) {
            MsgBox(kNoExiste, vbInformation, QString());
            texto(kCategoria)->clear();
            denom_->clear();
            texto(kCategoria)->setFocus();
            return false;
        }
        denom_->setText(FormatoNulo(rs.value(QStringLiteral("Cat_Nombre")), 3));
    } catch (const DatabaseError& e) {
        MostrarError(e);
        return false;
    }
    return true;
}

bool Empleos::ValidarAntiguedad() {
    if (Texto(kCodigo).isEmpty() || Texto(kCategoria).isEmpty() || Texto(kAntiguedad).isEmpty()) {
        MsgBox(kPorFavor, vbExclamation, QString());
        texto(kCodigo)->setEnabled(true);
        texto(kCategoria)->setEnabled(true);
        texto(kCodigo)->setFocus();
        return true;
    }
    // Code and seniority are whole numbers; anything else creates no row.
    if (!EsEntero(Texto(kCodigo))) {
        MsgBox(kFaltaCodigo, vbInformation, QString());
        texto(kCodigo)->setFocus();
        return true;
    }
    if (!EsEntero(Texto(kAntiguedad))) {
        MsgBox(kFaltaAntiguedad, vbInformation, QString());
        return false;
    }
    return ValidarClave();
}

QString Empleos::ConsultaClave() const {
    return ConsultaEmpleo(Texto(kCodigo), Texto(kCategoria), Texto(kAntiguedad));
}

QString Empleos::AltaClave() const {
    return AltaEmpleo(Texto(kCodigo), Texto(kCategoria), Texto(kAntiguedad));
}

void Empleos::AntesDeAlta() {
    MsgBox(kNoExiste, vbInformation, QString());
}

void Empleos::MostrarRegistro(const Recordset& rs) {
    const auto poner = [&](int caja, const char* campo, int tipo) {
        texto(caja)->setText(FormatoNulo(rs.value(QString::fromLatin1(campo)), tipo));
    };
    poner(kCodigo, "emp_codigo", 1);
    poner(kCategoria, "emp_catego", 3);
    poner(kAntiguedad, "emp_antigu", 1);
    poner(kNombre, "Emp_Nombre", 3);
    poner(kTotal, "Emp_Sueldo", 1);
    ValidarCategoria();
    btnGrabar()->setEnabled(true);
    btnEliminar()->setEnabled(true);
}

bool Empleos::AlNoExistir() {
    // The focus stays in the seniority box.
    btnGrabar()->setEnabled(true);
    btnEliminar()->setEnabled(false);
    return false;
}

QList<Requerido> Empleos::Requeridos() const {
    return {{kCodigo, kFaltaCodigo, EsEntero},
            {kCategoria, QStringLiteral("Debe ingresar la categoría")},
            {kAntiguedad, kFaltaAntiguedad, EsEntero},
            {kNombre, QStringLiteral("Debe ingresar el nombre")},
            {kTotal, QStringLiteral("Debe ingresar el total"),
             [](const QString& t) { return TextoImporte(t).has_value(); }},
            ImporteEnRango(kTotal),
            ImporteNoNegativo(kTotal, QStringLiteral("El total"))};
}

bool Empleos::Grabar(Database& db) {
    return db.execute(ActualizarEmpleo(Texto(kCodigo), Texto(kCategoria), Texto(kAntiguedad),
                                       Texto(kNombre), Texto(kTotal))) > 0;
}

int Empleos::EstiloConfirmacion() const {
    return vbYesNo + vbCritical;
}

QStringList Empleos::SentenciasEliminar() const {
    return {EliminarEmpleo(Texto(kCodigo), Texto(kCategoria), Texto(kAntiguedad))};
}

void Empleos::DespuesDeEliminar() {
    MsgBox(QStringLiteral("El Registro se eliminó correctamente"), vbInformation);
}

void Empleos::Limpiar() {
    denom_->clear();
    btnGrabar()->setEnabled(false);
    btnEliminar()->setEnabled(false);
}

}  // namespace zul
