#include "masterdata/frmEmpleados.h"

#include "common/Formato.h"

namespace zul {
namespace {

QString Bandera(bool marcada) {
    return marcada ? QStringLiteral("1") : QStringLiteral("0");
}

// Money boxes hold what the user typed; the literal takes the amount the Argentine way.
QString Importe(const QString& texto) {
    return FormatoSQL(TextoImporte(texto).value_or(QString()), sqlNumero);
}

}  // namespace

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
        Importe(e.sueldo),
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
        Importe(e.remunera),
        Importe(e.noRemunera),
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
           ",Ado_Sueldo=" + Importe(e.sueldo) + ",Ado_Remunera=" + Importe(e.remunera) +
           ",Ado_NORemunera=" + Importe(e.noRemunera) + ",Ado_Aporte2= " + Bandera(e.aportes[0]) +
           ",Ado_Aporte25=" + Bandera(e.aportes[1]) + ",Ado_Aporte1=" + Bandera(e.aportes[2]) +
           ",Ado_AporteCS=" + Bandera(e.aportes[3]) +
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
