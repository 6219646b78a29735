#include "masterdata/frmEmpleados.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include "common/Cuit.h"
#include "common/Formato.h"
#include "common/Globales.h"
#include "common/Moneda.h"
#include "common/Teclado.h"
#include "platform/Database.h"
#include "platform/MsgBox.h"
#include "platform/Ventana.h"

namespace zul {
namespace {

const QColor kGrisMuestra(224, 224, 224);
const QColor kAzulSueldo(0, 0, 192);
const QColor kRojoBaja(255, 0, 0);
constexpr int kPuntosBaja = 12;
constexpr int kLargoObservaciones = 100;
constexpr int kHorasJornada = 8;
const QString kSueldoSugerido = QStringLiteral("Sueldo sugerido: ");

QString Bandera(bool marcada) {
    return marcada ? QStringLiteral("1") : QStringLiteral("0");
}

std::optional<Moneda> Monto(const QString& texto) {
    return Moneda::desdeImporte(texto);
}

// The boxes in tab order; the two names sit beside their codes.
QList<CajaMantenimiento> Cajas() {
    using F = frmEmpleados;
    return {
        {F::kCodigo, QStringLiteral("Código:"), QString(), 900, kCajaClave | kCajaNumero},
        {F::kNombre, QStringLiteral("Apellido y Nombres:"), QString(), 8250},
        {F::kFechaNac, QStringLiteral("Fecha Nacimiento:"), QStringLiteral(",8"), 1350},
        {F::kCuil, QStringLiteral("CUIL:"), QString(), 1800},
        {F::kFechaIng, QStringLiteral("Fecha Ingreso:"), QStringLiteral(",8"), 1350},
        {F::kSueldo, QStringLiteral("Sueldo:"), QString(), 1800},
        {F::kAntiguedad, QStringLiteral("Antiguedad:"), QString(), 600, kCajaMuestra},
        {F::kHoras, QStringLiteral("Cant. Horas:"), QString(), 600},
        {F::kRemunera, QStringLiteral("Remunerativo:"), QString(), 1800},
        {F::kNoRemunera, QStringLiteral("No Remunerativo:"), QString(), 1800},
        {F::kCategoria, QStringLiteral("Categoría Empleo:"), QString(), 900},
        {F::kNombreCategoria, QString(), QString(), 8700, kCajaMuestra | kCajaAlLado},
        {F::kEmpleo, QStringLiteral("Categoría General:"), QString(), 900, kCajaNumero},
        {F::kNombreEmpleo, QString(), QString(), 8700, kCajaMuestra | kCajaAlLado},
        {F::kFechaEgreso, QStringLiteral("Fecha Egreso:"), QStringLiteral(",4"), 1350},
        {F::kObservaciones, QStringLiteral("Observaciones:"), QString(), 9750, kCajaDato,
         kLargoObservaciones},
    };
}

}  // namespace

frmEmpleados::frmEmpleados(QWidget* parent)
    : Mantenimiento(QStringLiteral("frmEmpleados"), QStringLiteral("Empleados"), Cajas(), parent) {
    Armar();
}

void frmEmpleados::Armar() {
    for (int i : {kNombreCategoria, kNombreEmpleo}) {
        QPalette gris = texto(i)->palette();
        gris.setColor(QPalette::Base, kGrisMuestra);
        texto(i)->setPalette(gris);
        texto(i)->setFocusPolicy(Qt::NoFocus);
    }

    LblSueldo_ = new QLabel(this);
    LblSueldo_->setObjectName(QStringLiteral("LblSueldo"));
    QPalette azul = LblSueldo_->palette();
    azul.setColor(QPalette::WindowText, kAzulSueldo);
    LblSueldo_->setPalette(azul);
    QFont negrita = LblSueldo_->font();
    negrita.setBold(true);
    LblSueldo_->setFont(negrita);
    PonerJunto(kSueldo, LblSueldo_);

    // The leaving reason and the "DE BAJA" mark stand beside the leaving date.
    auto* egreso = new QWidget(this);
    auto* filaEgreso = new QHBoxLayout(egreso);
    filaEgreso->setContentsMargins(0, 0, 0, 0);
    auto* lblMotivo = new QLabel(QStringLiteral("Motivo Egreso:"), egreso);
    lblMotivo->setObjectName(QStringLiteral("lblMotivoEgreso"));
    CmbEgreso_ = new QComboBox(egreso);
    CmbEgreso_->setObjectName(QStringLiteral("CmbEgreso"));
    CmbEgreso_->addItem(QStringLiteral("DESPIDO"), 1);
    CmbEgreso_->addItem(QStringLiteral("RENUNCIA"), 2);
    CmbEgreso_->addItem(QStringLiteral("OTRO"), 3);
    CmbEgreso_->setCurrentIndex(-1);
    CmbEgreso_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    lblMotivo->setBuddy(CmbEgreso_);
    Label3_ = new QLabel(QStringLiteral("DE BAJA"), egreso);
    Label3_->setObjectName(QStringLiteral("Label3"));
    QPalette rojo = Label3_->palette();
    rojo.setColor(QPalette::WindowText, kRojoBaja);
    Label3_->setPalette(rojo);
    QFont baja = negrita;
    baja.setPointSize(kPuntosBaja);
    Label3_->setFont(baja);
    // Its place is kept: showing it must not squeeze the leaving reason.
    QSizePolicy reservado = Label3_->sizePolicy();
    reservado.setRetainSizeWhenHidden(true);
    Label3_->setSizePolicy(reservado);
    Label3_->hide();
    filaEgreso->addWidget(lblMotivo);
    filaEgreso->addWidget(CmbEgreso_);
    filaEgreso->addSpacing(Twips(300));
    filaEgreso->addWidget(Label3_);
    filaEgreso->addStretch(1);
    PonerJunto(kFechaEgreso, egreso);
    InstalarTeclaEnter(CmbEgreso_);

    auto* aportes = new QWidget(this);
    aportes->setObjectName(QStringLiteral("Aportes"));
    auto* filaAportes = new QHBoxLayout(aportes);
    filaAportes->setContentsMargins(0, 0, 0, 0);
    const QStringList caras = {QStringLiteral("2 %"), QStringLiteral("2,5"), QStringLiteral("1 %"),
                               QStringLiteral("C.S.")};
    for (int i = 0; i < int(chkAporte_.size()); ++i) {
        chkAporte_[i] = new QCheckBox(caras[i], aportes);
        chkAporte_[i]->setObjectName(QStringLiteral("chkAporte_%1").arg(i));
        filaAportes->addWidget(chkAporte_[i]);
    }
    filaAportes->addStretch(1);
    AgregarControl(aportes, QStringLiteral("Aportes:"));
    afiliado_ = new QCheckBox(QStringLiteral("Es afiliado?"), this);
    afiliado_->setObjectName(QStringLiteral("afiliado"));
    afiliado_->setFont(negrita);
    AgregarControl(afiliado_);

    // The leaving reason comes right after the leaving date, and is open as soon as a date is
    // typed there, so that Enter from the date lands on it.
    setTabOrder(texto(kFechaEgreso), CmbEgreso_);
    setTabOrder(CmbEgreso_, texto(kObservaciones));
    CmbEgreso_->setEnabled(false);
    connect(texto(kFechaEgreso), &QLineEdit::textChanged, this, [this] {
        if (texto(kFechaEgreso)->hasFocus()) ValidarEgreso();
    });
}

QString frmEmpleados::Texto(int caja) const {
    return texto(caja)->text();
}

std::optional<ConsultaCaja> frmEmpleados::ConsultaDe(int caja) const {
    const QString columnas = QStringLiteral("Código/Nombre");
    switch (caja) {
        case kCodigo:
            return ConsultaCaja{"SELECT Ado_id,ado_nombre FROM Empleado where  ado_idEmpresa=" +
                                    QString::number(IdEmpresa),
                                QStringLiteral("ado_nombre"),
                                QStringLiteral("Consulta de Empleados"),
                                QStringLiteral("Cuenta/Nombre"),
                                2,
                                {{QStringLiteral("Ado_id"), kCodigo}}};
        case kCategoria:
            return ConsultaCategorias(kCategoria);
        case kEmpleo:
            return ConsultaCaja{"SELECT Emp_Codigo,Emp_Nombre FROM Empleo where Emp_Catego=" +
                                    FormatoSQL(Texto(kCategoria), sqlTexto) +
                                    " and Emp_antigu= " + FormatoSQL(Texto(kAntiguedad), sqlNumero),
                                QStringLiteral("Emp_Nombre"),
                                QStringLiteral("Consulta de Empleos"),
                                columnas,
                                2,
                                {{QStringLiteral("Emp_Codigo"), kEmpleo}}};
        default:
            return std::nullopt;
    }
}

QString frmEmpleados::ConsultaClave() const {
    // A box left empty, or holding no number, is looked up as 0: a new number is given out.
    return ConsultaEmpleado(Texto(kCodigo), IdEmpresa);
}

bool frmEmpleados::AlNoExistir() {
    try {
        Recordset rs = Database::open(RutaBase).openRecordset(ConsultaUltimoNumero(IdEmpresa));
        const qint64 ultimo = rs.vacio() ? 0 : qint64(LeerNumero(rs.value(QStringLiteral("Max"))));
        texto(kCodigo)->setText(QString::number(ultimo + 1));
    } catch (const DatabaseError& e) {
        // No number given out: the box stays open for another try.
        MostrarError(e);
        texto(kCodigo)->setEnabled(true);
        Modo = 0;
        return false;
    }
    texto(kNombre)->setFocus();
    return false;
}

void frmEmpleados::MostrarRegistro(const Recordset& rs) {
    const auto poner = [&](int caja, const char* campo, int tipo) {
        texto(caja)->setText(FormatoNulo(rs.value(QString::fromLatin1(campo)), tipo));
    };
    poner(kCodigo, "Ado_Id", nuloNumero);
    poner(kNombre, "Ado_Nombre", nuloTexto);
    poner(kFechaNac, "Ado_FechaNac", nuloFecha);
    poner(kCuil, "Ado_Cuil", nuloTexto);
    poner(kFechaIng, "Ado_FechaIng", nuloFecha);
    poner(kSueldo, "Ado_Sueldo", nuloNumero);
    poner(kRemunera, "Ado_remunera", nuloNumero);
    poner(kNoRemunera, "Ado_noremunera", nuloNumero);
    const char* aportes[] = {"Ado_Aporte2", "Ado_Aporte25", "Ado_Aporte1", "Ado_AporteCS"};
    for (int i = 0; i < int(chkAporte_.size()); ++i)
        chkAporte_[i]->setChecked(rs.boolValue(QString::fromLatin1(aportes[i])));
    afiliado_->setChecked(rs.boolValue(QStringLiteral("Ado_Afiliado")));
    poner(kFechaEgreso, "Ado_FechaEgreso", nuloFecha);
    Label3_->setVisible(EsFecha(rs.value(QStringLiteral("Ado_FechaEgreso"))));
    poner(kCategoria, "Ado_Categoria", nuloTexto);
    poner(kEmpleo, "Ado_Empleo", nuloNumero);
    poner(kObservaciones, "ado_observ", nuloTexto);
    poner(kHoras, "Ado_horas", nuloNumero);
    const QString motivo = FormatoNulo(rs.value(QStringLiteral("Ado_motivoegreso")), nuloNumero);
    const int item = CmbEgreso_->findData(motivo.toInt());
    if (!motivo.isEmpty() && item >= 0) CmbEgreso_->setCurrentIndex(item);
    // The seniority first: the job is looked up on the scale row of these years.
    CalcularAntiguedad();
    ValidarCategoria(true);
    ValidarEgreso();
}

bool frmEmpleados::ValidarCaja(int indice) {
    bool sigue = true;
    try {
        switch (indice) {
            case kCodigo:
                return ValidarClave();
            case kFechaIng:
                CalcularAntiguedad();
                break;
            case kSueldo:
                ValidarSueldo();
                break;
            case kCategoria:
                ValidarCategoria(false);
                break;
            case kEmpleo:
                ValidarEmpleo(false);
                break;
            case kFechaEgreso:
                ValidarEgreso();
                break;
            case kCuil:
                sigue = ComprobarCajaCuit(texto(kCuil));
                break;
            default:
                break;
        }
    } catch (const DatabaseError& e) {
        MostrarError(e);
    }
    if (sigue && (indice == kSueldo || indice == kRemunera || indice == kNoRemunera))
        sigue = ValidarReparto();
    return sigue;
}

void frmEmpleados::CalcularAntiguedad() {
    if (const auto ingreso = LeerFecha(Texto(kFechaIng)))
        texto(kAntiguedad)->setText(QString::number(Antiguedad(*ingreso, QDate::currentDate())));
}

void frmEmpleados::ValidarSueldo() {
    const std::optional<QString> limpio = TextoImporte(Texto(kSueldo));
    if (!limpio) return;
    texto(kSueldo)->setText(*limpio);
    if (Texto(kCategoria).isEmpty() || !EsNumero(Texto(kEmpleo)) || !EsNumero(Texto(kAntiguedad)) ||
        !EsNumero(Texto(kHoras)))
        return;
    Recordset rs = Database::open(RutaBase).openRecordset(
        ConsultaSueldoEmpleo(Texto(kCategoria), Texto(kAntiguedad), Texto(kEmpleo)));
    // A scale row without a salary suggests nothing.
    if (rs.vacio() || !EsNumero(rs.value(QStringLiteral("emp_sueldo")))) return;
    const Moneda escala =
        Moneda::desdeDouble(LeerNumero(FormatoNulo(rs.value(QStringLiteral("emp_sueldo")), 1)));
    const Moneda sugerido =
        Moneda::desdeDouble(escala.aDouble() / kHorasJornada * LeerNumero(Texto(kHoras)));
    if (const std::optional<Moneda> sueldo = Monto(*limpio); sueldo && *sueldo < sugerido)
        MsgBox(QStringLiteral("El Sueldos es menor al sugerido!!"), vbExclamation,
               QStringLiteral("Mensaje"));
}

void frmEmpleados::ValidarCategoria(bool alCargar) {
    Recordset rs = Database::open(RutaBase).openRecordset(ConsultaCategoria(Texto(kCategoria)));
    if (rs.vacio()) {
        texto(kCategoria)->clear();
        texto(kNombreCategoria)->clear();
        return;
    }
    texto(kNombreCategoria)
        ->setText(FormatoNulo(rs.value(QStringLiteral("cat_nombre")), nuloTexto));
    if (EsNumero(Texto(kEmpleo))) ValidarEmpleo(alCargar);
}

void frmEmpleados::ValidarEmpleo(bool alCargar) {
    Recordset rs = Database::open(RutaBase).openRecordset(
        ConsultaEmpleo(Texto(kCategoria), Texto(kAntiguedad), Texto(kEmpleo)));
    if (rs.vacio()) {
        // A stored job stays: the scale may lack the row for this year's seniority.
        if (!alCargar) texto(kEmpleo)->clear();
        texto(kNombreEmpleo)->clear();
        LblSueldo_->clear();
        return;
    }
    texto(kNombreEmpleo)->setText(FormatoNulo(rs.value(QStringLiteral("emp_nombre")), nuloTexto));
    const QVariant sueldo = rs.value(QStringLiteral("emp_sueldo"));
    LblSueldo_->setText(kSueldoSugerido +
                        (EsNumero(sueldo) ? FormatoSQL(sueldo, sqlNumero) : QString()));
}

void frmEmpleados::ValidarEgreso() {
    // The date as it reads once leaving the box has completed it.
    CmbEgreso_->setEnabled(EsFecha(CompletarFecha(Texto(kFechaEgreso))));
}

bool frmEmpleados::ValidarReparto() {
    // An empty part is none; a part that is no amount stays as typed, for the save to refuse.
    for (int i : {kRemunera, kNoRemunera})
        if (Texto(i).trimmed().isEmpty())
            texto(i)->setText(QStringLiteral("0"));
        else if (const std::optional<QString> limpio = TextoImporte(Texto(i)))
            texto(i)->setText(*limpio);
    // Without three amounts there is nothing to compare yet; the save asks for them.
    const std::optional<Moneda> sueldo = Monto(Texto(kSueldo));
    const std::optional<Moneda> remunera = Monto(Texto(kRemunera));
    const std::optional<Moneda> noRemunera = Monto(Texto(kNoRemunera));
    if (!sueldo || !remunera || !noRemunera) return true;
    if (*sueldo >= *remunera + *noRemunera) return true;
    MsgBox(QStringLiteral("La suma de sueldo remunerativo más el no remunerativo no puede ser "
                          "mayor al Sueldo"),
           vbOKOnly);
    return false;
}

QList<Requerido> frmEmpleados::Requeridos() const {
    const auto esImporte = [](const QString& t) { return TextoImporte(t).has_value(); };
    const auto vacioOImporte = [](const QString& t) {
        return t.trimmed().isEmpty() || TextoImporte(t).has_value();
    };
    return {
        {kNombre, QStringLiteral("Debe ingresar el apellido y nombres")},
        {kFechaNac, QStringLiteral("Debe ingresar la fecha de nacimiento")},
        {kCuil, QStringLiteral("Debe ingresar el número de C.U.I.L.")},
        {kFechaIng, QStringLiteral("Debe ingresar la fecha de ingreso")},
        {kSueldo, QStringLiteral("Debe ingresar el sueldo"), esImporte},
        ImporteEnRango(kSueldo),
        ImporteNoNegativo(kSueldo, QStringLiteral("El sueldo")),
        {kRemunera, QStringLiteral("Debe ingresar el importe remunerativo"), vacioOImporte},
        ImporteEnRango(kRemunera),
        ImporteNoNegativo(kRemunera, QStringLiteral("El importe remunerativo")),
        {kNoRemunera, QStringLiteral("Debe ingresar el importe no remunerativo"), vacioOImporte},
        ImporteEnRango(kNoRemunera),
        ImporteNoNegativo(kNoRemunera, QStringLiteral("El importe no remunerativo")),
        {kCategoria, QStringLiteral("Debe seleccionar una categoría")},
    };
}

DatosEmpleado frmEmpleados::Datos() const {
    DatosEmpleado e;
    e.codigo = Texto(kCodigo);
    e.nombre = Texto(kNombre);
    e.fechaNac = Texto(kFechaNac);
    e.cuil = Texto(kCuil);
    e.fechaIng = Texto(kFechaIng);
    e.sueldo = Texto(kSueldo);
    e.categoria = Texto(kCategoria);
    e.fechaEgreso = Texto(kFechaEgreso);
    e.empleo = Texto(kEmpleo);
    e.observ = Texto(kObservaciones);
    e.horas = Texto(kHoras);
    e.remunera = Texto(kRemunera);
    e.noRemunera = Texto(kNoRemunera);
    for (int i = 0; i < int(chkAporte_.size()); ++i) e.aportes[i] = chkAporte_[i]->isChecked();
    e.afiliado = afiliado_->isChecked();
    // A reason chosen while the leaving date was cleared is no reason.
    if (CmbEgreso_->isEnabled() && CmbEgreso_->currentIndex() >= 0)
        e.motivoEgreso = CmbEgreso_->currentData().toInt();
    return e;
}

std::optional<Rechazo> frmEmpleados::ComprobarAlGrabar(Database& db) {
    // A category deleted since it was chosen would leave the employee out of the declaration.
    if (!db.openRecordset(ConsultaCategoria(Texto(kCategoria))).vacio()) return std::nullopt;
    return Rechazo{QStringLiteral("La categoría ") + Texto(kCategoria) +
                       QStringLiteral(" ya no existe: se eliminó (en otra ventana o en otra copia "
                                      "del programa) después de elegirla. Elija otra categoría "
                                      "y vuelva a grabar. No se realizó ningún cambio."),
                   QString(), kCategoria};
}

bool frmEmpleados::Grabar(Database& db) {
    return db.execute(Modo == 1 ? SentenciaActualizar(Datos(), IdEmpresa)
                                : SentenciaInsertar(Datos(), IdEmpresa)) > 0;
}

QString frmEmpleados::ConsultaDependientes() const {
    return ConsultaDeclarado(Texto(kCodigo), IdEmpresa);
}

QString frmEmpleados::MensajeDependientes() const {
    return QStringLiteral("No se puede eliminar el empleado porque existen datos asociados");
}

QStringList frmEmpleados::SentenciasEliminar() const {
    return {SentenciaEliminar(Texto(kCodigo), IdEmpresa)};
}

void frmEmpleados::Limpiar() {
    for (QCheckBox* c : chkAporte_) c->setChecked(false);
    afiliado_->setChecked(false);
    CmbEgreso_->setCurrentIndex(-1);
    Label3_->hide();
}

QString frmEmpleados::ConsultaEmpleado(const QString& codigo, qint32 idEmpresa) {
    return "SELECT * FROM Empleado where Ado_Id=" + FormatoSQL(codigo, sqlNumero) +
           " and ado_IdEmpresa=" + QString::number(idEmpresa);
}

QString frmEmpleados::ConsultaUltimoNumero(qint32 idEmpresa) {
    const QString e = QString::number(idEmpresa);
    return "SELECT max(n) as Max FROM (SELECT max(Ado_Id) as n FROM Empleado where ado_IdEmpresa=" +
           e + " union all SELECT max(pre_idEmpleado) FROM Prestamo where pre_IdEmpresa=" + e +
           " union all SELECT max(pcu_idempleado) FROM PrestamoCuota where pcu_IdEmpresa=" + e +
           " union all SELECT max(ExD_IdEmpleado) FROM EmpleadoXDDJJ where ExD_idempresa=" + e +
           " union all SELECT max(Baj_Empleado) FROM Bajas where baj_idempresa=" + e + ")";
}

QString frmEmpleados::ConsultaCategoria(const QString& categoria) {
    return "SELECT * FROM Categoria where Cat_Id=" + FormatoSQL(categoria, sqlTexto);
}

QString frmEmpleados::ConsultaEmpleo(const QString& categoria, const QString& antiguedad,
                                     const QString& empleo) {
    return "select * from Empleo where emp_catego=" + FormatoSQL(categoria, sqlTexto) +
           " and emp_antigu=" + FormatoSQL(antiguedad, sqlNumero) +
           " and emp_codigo=" + FormatoSQL(empleo, sqlNumero);
}

QString frmEmpleados::ConsultaSueldoEmpleo(const QString& categoria, const QString& antiguedad,
                                           const QString& empleo) {
    return "select emp_sueldo from Empleo where emp_catego=" + FormatoSQL(categoria, sqlTexto) +
           " and emp_antigu=" + FormatoSQL(antiguedad, sqlNumero) +
           " and emp_codigo=" + FormatoSQL(empleo, sqlNumero);
}

QString frmEmpleados::ConsultaDeclarado(const QString& codigo, qint32 idEmpresa) {
    return "SELECT * FROM EmpleadoXDDJJ where ExD_IdEmpleado=" + FormatoSQL(codigo, sqlNumero) +
           " and ExD_IdEmpresa=" + QString::number(idEmpresa);
}

QString frmEmpleados::SentenciaInsertar(const DatosEmpleado& e, qint32 idEmpresa) {
    const QStringList valores = {
        e.codigo,
        FormatoSQL(e.nombre, sqlTexto),
        FormatoSQL(e.fechaNac, sqlFecha),
        FormatoSQL(e.cuil, sqlTexto),
        FormatoSQL(e.fechaIng, sqlFecha),
        ImporteSQL(e.sueldo),
        FormatoSQL(e.categoria, sqlTexto),
        Bandera(e.aportes[0]),
        Bandera(e.aportes[1]),
        Bandera(e.aportes[2]),
        Bandera(e.aportes[3]),
        FormatoSQL(e.fechaEgreso, sqlFecha),
        FormatoSQL(e.empleo, sqlNumero),
        Bandera(e.afiliado),
        QString::number(idEmpresa),
        FormatoSQL(e.observ, sqlTexto),
        QString::number(e.motivoEgreso),
        FormatoSQL(e.horas, sqlNumero),
        ImporteSQL(e.remunera),
        ImporteSQL(e.noRemunera),
    };
    return "insert into "
           "Empleado(Ado_Id,Ado_Nombre,Ado_FechaNac,Ado_Cuil,Ado_FechaIng,Ado_Sueldo,Ado_Categoria,"
           "Ado_Aporte2,Ado_Aporte25,Ado_Aporte1,Ado_AporteCS,Ado_FechaEgreso,Ado_Empleo,"
           "Ado_Afiliado,ado_IdEmpresa,ado_observ,ado_motivoegreso,ado_horas,Ado_Remunera,"
           "Ado_noRemunera) values(" +
           valores.join(',') + ')';
}

QString frmEmpleados::SentenciaActualizar(const DatosEmpleado& e, qint32 idEmpresa) {
    return "update empleado set ado_nombre= " + FormatoSQL(e.nombre, sqlTexto) +
           ",Ado_FechaNac=" + FormatoSQL(e.fechaNac, sqlFecha) +
           ",Ado_Cuil=" + FormatoSQL(e.cuil, sqlTexto) +
           ",Ado_FechaIng= " + FormatoSQL(e.fechaIng, sqlFecha) +
           ",Ado_Categoria= " + FormatoSQL(e.categoria, sqlTexto) +
           ",Ado_Sueldo=" + ImporteSQL(e.sueldo) + ",Ado_Remunera=" + ImporteSQL(e.remunera) +
           ",Ado_NORemunera=" + ImporteSQL(e.noRemunera) +
           ",Ado_Aporte2= " + Bandera(e.aportes[0]) + ",Ado_Aporte25=" + Bandera(e.aportes[1]) +
           ",Ado_Aporte1=" + Bandera(e.aportes[2]) + ",Ado_AporteCS=" + Bandera(e.aportes[3]) +
           ",Ado_FechaEgreso= " + FormatoSQL(e.fechaEgreso, sqlFecha) +
           ",Ado_Empleo=" + FormatoSQL(e.empleo, sqlNumero) +
           ",Ado_Afiliado=" + Bandera(e.afiliado) +
           ", ado_observ= " + FormatoSQL(e.observ, sqlTexto) +
           ",Ado_MotivoEgreso=" + QString::number(e.motivoEgreso) +
           ",ado_horas=" + FormatoSQL(e.horas, sqlNumero) +
           " where ado_id= " + FormatoSQL(e.codigo, sqlNumero) +
           " and ado_idEmpresa=" + QString::number(idEmpresa);
}

QString frmEmpleados::SentenciaEliminar(const QString& codigo, qint32 idEmpresa) {
    return "delete from empleado where ado_id=" + FormatoSQL(codigo, sqlNumero) +
           " and ado_idEmpresa=" + QString::number(idEmpresa);
}

int frmEmpleados::Antiguedad(const QDate& ingreso, const QDate& hoy) {
    return hoy.year() - ingreso.year();
}

}  // namespace zul
