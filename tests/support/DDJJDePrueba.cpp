#include "support/DDJJDePrueba.h"

#include <QDir>
#include <QFile>

#include "declaration/CodigoBarras.h"
#include "support/BaseDePrueba.h"

namespace zul::prueba {

QString GrabarDDJJDePrueba(const BaseDePrueba& base) {
    const QString codbar =
        ArmarCodBar(QString("30-99887766-5"), "05/2024", "19270,52").codigo->digitos;
    for (const char* sql : {
             "insert into Categoria (Cat_Id, Cat_Nombre) values ('1', 'Maestranza A')",
             "insert into Categoria (Cat_Id, Cat_Nombre) values ('2', 'Administrativo B')",
             "insert into Empresa (emp_id, emp_nombre, emp_domicilio, emp_localidad, emp_cuit, "
             "emp_telefono) values (3, 'Compañía Ñandú & Hijos S.A.', 'Av. Siempre Viva 742', "
             "'Córdoba', '30-99887766-5', '0351-4445566')",
             "insert into Empleado (Ado_Id, ado_IdEmpresa, Ado_Nombre, Ado_Cuil, Ado_Categoria) "
             "values (1, 3, 'Pérez, José', '20-12345678-9', '1')",
             "insert into Empleado (Ado_Id, ado_IdEmpresa, Ado_Nombre, Ado_Cuil, Ado_Categoria) "
             "values (2, 3, 'D''Angelo, María', '27-23456789-0', '2')",
             "insert into Empleado (Ado_Id, ado_IdEmpresa, Ado_Nombre, Ado_Cuil, Ado_Categoria, "
             "Ado_FechaEgreso) values (3, 3, 'Gómez, Ana', '27-34567890-1', '1', '2024-05-15')",
             "insert into EmpleadoXDDJJ values (7, 1, 200000, 1, 1, 1, 1, 1, 1, 1500, 3)",
             "insert into EmpleadoXDDJJ values (7, 2, 150000.5, 1, 0, 1, 0, 2, 0, NULL, 3)",
             "insert into Bajas values (7, 3, '2024-05-15', 90000, 1, 3)",
         })
        base.ejecutar(QString::fromUtf8(sql));
    base.ejecutar(
        "insert into DDJJ values (7, '2024-05-01', '2024-06-02', '2024-06-10', 4567, 2, "
        "350000.5, 7000.01, 8750.01, 3500, 20, 19270.52, 10, 5000, 1500, 0, 3, '" +
        codbar + "', 'x')");
    return codbar;
}

void CopiarInformes(const QString& carpeta) {
    const QDir informes(QStringLiteral(ZUL_SOURCE_DIR) + QStringLiteral("/reports"));
    for (const QString& nombre : informes.entryList({QStringLiteral("*.rpt")}, QDir::Files)) {
        QFile::remove(carpeta + u'/' + nombre);
        QFile::copy(informes.filePath(nombre), carpeta + u'/' + nombre);
    }
}

}  // namespace zul::prueba
