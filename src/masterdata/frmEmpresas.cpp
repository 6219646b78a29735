#include "masterdata/frmEmpresas.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>

#include "common/Combos.h"
#include "common/Cuit.h"
#include "common/Formato.h"
#include "platform/Database.h"

namespace zul {
namespace {

// Widths in twips.
constexpr int kAnchoCodigo = 1500;
constexpr int kAnchoTexto = 7500;
constexpr int kAnchoCorto = 2600;
constexpr int kAnchoFecha = 1500;

// The values of a save in the order both statements list them.
struct Literales {
    QString codigo, nombre, domicilio, localidad, cuit, telefono, fecha, juridica, rubro;
};

Literales Literal(const frmEmpresas::Datos& d) {
    return {FormatoSQL(d.codigo, 1), FormatoSQL(d.nombre, 3), FormatoSQL(d.domicilio, 3),
            FormatoSQL(d.localidad, 3), FormatoSQL(d.cuit, 3), FormatoSQL(d.telefono, 3),
            FormatoSQL(d.fechaInicio, 4), FormatoSQL(d.juridica, 6),
            // No sector to choose (rubros empty): nothing stored rather than a blank text.
            d.rubro.isValid() ? FormatoSQL(d.rubro, 3) : QStringLiteral("NULL")};
}

}  // namespace

frmEmpresas::frmEmpresas(QWidget* parent)
    : Mantenimiento(
          QStringLiteral("frmEmpresas"), QStringLiteral("Datos de Empresa"),
          {{kCodigo, QStringLiteral("Código:"), QString(), kAnchoCodigo, kCajaClave | kCajaNumero},
           {kNombre, QStringLiteral("Razón Social:"), QString(), kAnchoTexto},
           {kDomicilio, QStringLiteral("Domicilio:"), QString(), kAnchoTexto},
           {kLocalidad, QStringLiteral("Localidad:"), QString(), kAnchoTexto},
           {kCuit, QStringLiteral("C.U.I.T Nº:"), QString(), kAnchoCorto},
           {kTelefono, QStringLiteral("Teléfono:"), QString(), kAnchoTexto},
           {kFechaInicio, QStringLiteral("Fec. Inicio Act.:"), QStringLiteral(",4"), kAnchoFecha}},
          parent) {
    auto* persona = new QGroupBox(QStringLiteral("Persona"), this);
    persona->setObjectName(QStringLiteral("Frame1"));
    auto* fila = new QHBoxLayout(persona);
    const QString caras[2] = {QStringLiteral("Jurídica"), QStringLiteral("Física")};
    for (int i : {kJuridica, kFisica}) {
        OptPersona_[i] = new QRadioButton(caras[i], persona);
        OptPersona_[i]->setObjectName(QStringLiteral("OptPersona_%1").arg(i));
        fila->addWidget(OptPersona_[i]);
    }
    OptPersona_[kJuridica]->setChecked(true);
    AgregarControl(persona);

    CmbRubro_ = new QComboBox(this);
    CmbRubro_->setObjectName(QStringLiteral("CmbRubro"));
    CmbRubro_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    CmbRubro_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    AgregarControl(CmbRubro_, QStringLiteral("Rubro:"));
}

QString frmEmpresas::ConsultaEmpresa(const QString& codigo) {
    return QStringLiteral("SELECT * FROM Empresa  where emp_Id>0 and emp_Id=") +
           FormatoSQL(codigo, 1);
}

QString frmEmpresas::ConsultaNuevoNumero() {
    return QStringLiteral(
        "SELECT max(n) as Max FROM (SELECT max(emp_Id) as n FROM Empresa "
        "UNION ALL SELECT max(emp_empresanro) FROM Empresa "
        "UNION ALL SELECT max(ado_IdEmpresa) FROM Empleado "
        "UNION ALL SELECT max(pre_IdEmpresa) FROM Prestamo "
        "UNION ALL SELECT max(pcu_IdEmpresa) FROM PrestamoCuota "
        "UNION ALL SELECT max(ddjj_idempresa) FROM DDJJ "
        "UNION ALL SELECT max(ExD_idempresa) FROM EmpleadoXDDJJ "
        "UNION ALL SELECT max(baj_idempresa) FROM Bajas)");
}

QString frmEmpresas::AltaEmpresa(const Datos& d) {
    const Literales l = Literal(d);
    return QStringLiteral(
               "insert into Empresa(Emp_Id,Emp_Nombre,Emp_Domicilio, Emp_Localidad,Emp_CUIT,"
               "Emp_Telefono,emp_fecini,emp_perjur,emp_rubro) values(") +
           l.codigo + QStringLiteral(", ") + l.nombre + u',' + l.domicilio + u',' + l.localidad +
           u',' + l.cuit + u',' + l.telefono + u',' + l.fecha + u',' + l.juridica +
           QStringLiteral(" ,") + l.rubro + u')';
}

QString frmEmpresas::ModificacionEmpresa(const Datos& d) {
    const Literales l = Literal(d);
    return QStringLiteral("update empresa set emp_nombre= ") + l.nombre +
           QStringLiteral(",emp_domicilio= ") + l.domicilio + QStringLiteral(",emp_Localidad= ") +
           l.localidad + QStringLiteral(",emp_CUIT=") + l.cuit + QStringLiteral(",emp_telefono=") +
           l.telefono + QStringLiteral(",emp_fecini=") + l.fecha + QStringLiteral(",emp_perjur=") +
           l.juridica + QStringLiteral(" ,emp_rubro =") + l.rubro +
           QStringLiteral(" where emp_id=") + l.codigo;
}

QString frmEmpresas::ConsultaDeclaraciones(const QString& codigo) {
    return QStringLiteral("SELECT * FROM DDJJ where ddjj_idempresa=") + FormatoSQL(codigo, 1);
}

QString frmEmpresas::BajaEmpresa(const QString& codigo) {
    return QStringLiteral("delete from empresa where emp_id=") + FormatoSQL(codigo, 1);
}

QString frmEmpresas::Codigo() const {
    return texto(kCodigo)->text();
}

void frmEmpresas::AlCargar() {
    try {
        LlenarCombo(CmbRubro_, QStringLiteral("rubros  order by descripcion  "),
                    QStringLiteral("codigo"), QStringLiteral("descripcion"), QString(),
                    QStringLiteral("codigo"));
    } catch (const DatabaseError& e) {
        MostrarError(e);
    }
}

std::optional<ConsultaCaja> frmEmpresas::ConsultaDe(int caja) const {
    if (caja != kCodigo) return std::nullopt;
    return ConsultaCaja{QStringLiteral("SELECT emp_id,emp_nombre FROM Empresa  where emp_Id>0"),
                        QStringLiteral("emp_nombre"),
                        QStringLiteral("Consulta de Emplesas"),
                        QStringLiteral("Código/Nombre"),
                        2,
                        {{QStringLiteral("emp_id"), kCodigo}}};
}

bool frmEmpresas::ValidarCaja(int indice) {
    return indice == kCuit ? ComprobarCajaCuit(texto(kCuit)) : Mantenimiento::ValidarCaja(indice);
}

QString frmEmpresas::ConsultaClave() const {
    // An empty or unknown code starts a new company.
    return ConsultaEmpresa(Codigo());
}

void frmEmpresas::MostrarRegistro(const Recordset& rs) {
    const std::pair<int, const char*> campos[] = {{kNombre, "Emp_Nombre"},
                                                  {kDomicilio, "Emp_Domicilio"},
                                                  {kLocalidad, "Emp_Localidad"},
                                                  {kCuit, "Emp_CUIT"},
                                                  {kTelefono, "Emp_Telefono"}};
    for (const auto& [caja, campo] : campos)
        texto(caja)->setText(FormatoNulo(rs.value(QLatin1String(campo)), 3));
    texto(kFechaInicio)->setText(FormatoNulo(rs.value(QStringLiteral("emp_fecini")), 4));
    // A row written elsewhere without the option shows the option the window starts with.
    const QVariant persona = rs.value(QStringLiteral("emp_perjur"));
    const bool juridica = persona.isNull() || rs.boolValue(QStringLiteral("emp_perjur"));
    OptPersona_[juridica ? kJuridica : kFisica]->setChecked(true);
    const QVariant rubro = rs.value(QStringLiteral("emp_rubro"));
    if (!rubro.isNull()) PosicionarCombo(CmbRubro_, FormatoNulo(rubro, 1));
}

QList<Requerido> frmEmpresas::Requeridos() const {
    // A blank date template or an impossible date is no start date.
    auto esFecha = [](const QString& t) { return LeerFecha(t).has_value(); };
    return {
        {kNombre, QStringLiteral("Debe ingresar la razón social")},
        {kDomicilio, QStringLiteral("Debe ingresar el domicilio")},
        {kCuit, QStringLiteral("Debe ingresar el número de C.U.I.T.")},
        {kFechaInicio, QStringLiteral("Debe ingresar la fecha de inicio de actividades"), esFecha}};
}

frmEmpresas::Datos frmEmpresas::DatosEnPantalla() const {
    return {Codigo(),
            texto(kNombre)->text(),
            texto(kDomicilio)->text(),
            texto(kLocalidad)->text(),
            texto(kCuit)->text(),
            texto(kTelefono)->text(),
            texto(kFechaInicio)->text(),
            OptPersona_[kJuridica]->isChecked(),
            CmbRubro_->currentIndex() >= 0 ? CmbRubro_->currentData() : QVariant()};
}

bool frmEmpresas::Grabar(Database& db) {
    // Only a company looked up is updated; anything else is a new one.
    if (Modo == 1) return db.execute(ModificacionEmpresa(DatosEnPantalla())) > 0;
    const Recordset rs = db.openRecordset(ConsultaNuevoNumero());
    const qint64 mayor = rs.vacio() ? 0 : static_cast<qint64>(LeerNumero(rs.value(0)));
    Datos d = DatosEnPantalla();
    d.codigo = QString::number(mayor + 1);
    db.execute(AltaEmpresa(d));
    texto(kCodigo)->setText(d.codigo);
    return true;
}

QString frmEmpresas::MensajeGrabado() const {
    return QStringLiteral("Los datos se grabaron correctamente\nEmpresa: ") + Codigo();
}

std::optional<QString> frmEmpresas::TituloGrabado() const {
    return QStringLiteral("Mensaje");
}

QString frmEmpresas::ConsultaDependientes() const {
    // Only saved declarations keep a company; its employees and loans do not.
    return ConsultaDeclaraciones(Codigo());
}

QString frmEmpresas::MensajeDependientes() const {
    return QStringLiteral("No se puede eliminar la empresa porque existen datos asociados");
}

QStringList frmEmpresas::SentenciasEliminar() const {
    return {BajaEmpresa(Codigo())};
}

void frmEmpresas::Limpiar() {
    if (CmbRubro_->count() > 0) CmbRubro_->setCurrentIndex(0);
    OptPersona_[kJuridica]->setChecked(true);
}

}  // namespace zul
