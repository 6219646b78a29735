#include "masterdata/frmCategoria.h"

#include <QLineEdit>

#include "common/Formato.h"
#include "platform/Database.h"

namespace zul {

frmCategoria::frmCategoria(QWidget* parent)
    : Mantenimiento(QStringLiteral("frmCategoria"), QStringLiteral("Categoría"),
                    {{kCodigo, QStringLiteral("Código:"), QString(), 1000, kCajaClave},
                     {kDescripcion, QStringLiteral("Descripción:"), QString(), 5000}},
                    parent) {}

QString frmCategoria::Codigo() const {
    return texto(kCodigo)->text();
}

QString frmCategoria::ConsultaCategoria(const QString& codigo) {
    return "SELECT * FROM Categoria where Cat_Id=" + FormatoSQL(codigo, 3);
}

QString frmCategoria::AltaCategoria(const QString& codigo) {
    return "insert into Categoria(Cat_Id,Cat_Nombre) values(" + FormatoSQL(codigo, 3) + ",'' )";
}

QString frmCategoria::ActualizarCategoria(const QString& codigo, const QString& descripcion) {
    return "update Categoria set cat_nombre= " + FormatoSQL(descripcion, 3) +
           " where cat_id= " + FormatoSQL(codigo, 3);
}

QString frmCategoria::EmpleadosDeCategoria(const QString& codigo) {
    return "SELECT * FROM Empleado where ado_categoria=" + FormatoSQL(codigo, 3);
}

QString frmCategoria::EliminarCategoria(const QString& codigo) {
    return "delete from categoria where cat_id=" + FormatoSQL(codigo, 3);
}

std::optional<ConsultaCaja> frmCategoria::ConsultaDe(int caja) const {
    if (caja != kCodigo) return std::nullopt;
    return ConsultaCategorias(kCodigo);
}

QString frmCategoria::ConsultaClave() const {
    // An empty code box is not looked up.
    return Codigo().isEmpty() ? QString() : ConsultaCategoria(Codigo());
}

QString frmCategoria::AltaClave() const {
    return AltaCategoria(Codigo());
}

void frmCategoria::MostrarRegistro(const Recordset& rs) {
    texto(kCodigo)->setText(FormatoNulo(rs.value(QStringLiteral("Cat_Id")), 3));
    texto(kDescripcion)->setText(FormatoNulo(rs.value(QStringLiteral("Cat_Nombre")), 3));
}

QList<Requerido> frmCategoria::Requeridos() const {
    return {{kCodigo,
             QStringLiteral("No se puede grabar el registro, debe primero ingresar el código")},
            {kDescripcion, QStringLiteral("Debe ingresar la descripción")}};
}

bool frmCategoria::Grabar(Database& db) {
    return db.execute(ActualizarCategoria(Codigo(), texto(kDescripcion)->text())) > 0;
}

QString frmCategoria::ConsultaDependientes() const {
    return EmpleadosDeCategoria(Codigo());
}

QString frmCategoria::MensajeDependientes() const {
    return QStringLiteral("No se puede eliminar la categoria porque existen datos asociados");
}

QStringList frmCategoria::SentenciasEliminar() const {
    return {EliminarCategoria(Codigo())};
}

}  // namespace zul
