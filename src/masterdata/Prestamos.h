#pragma once
// Loans and their instalments apart from the window: the SQL texts as functions of the values,
// the instalments a loan generates, the next number of a company, the test of a declared loan,
// and the writes, each in one transaction. The database functions throw DatabaseError; the
// window tells the user.

#include <QDate>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <optional>
#include <vector>

#include "common/Moneda.h"

namespace zul {

class Database;

// A loan once every box of the window was read and checked.
struct Prestamo {
    qint64 numero = 0;  // 0 while it is new
    qint64 empleado = 0;
    Moneda importe;
    int cuotas = 0;
    QDate fecha;
    QDate vencimiento1;
};

struct CuotaPrestamo {
    int numero = 0;
    Moneda importe;
    QDate vencimiento;
};

// The boxes' texts as a loan takes them: an amount above 0 (read as every money box reads) and a
// whole count of instalments from 1 to kMaxCuotas; nothing when the text does not qualify.
constexpr int kMaxCuotas = 999;  // beyond any loan: a mistyped count never floods the table
std::optional<Moneda> ImportePrestamo(const QString& texto);
std::optional<int> CantidadCuotas(const QString& texto);

// The total shared evenly to the cent, a half cent going to the even cent (the sum is left as
// it falls: 1000 in 3 is 333,33 three times); due monthly from the first due date, on the
// month's last day where the day does not exist (31/01 gives 28/02 or 29/02, then 31/03).
std::vector<CuotaPrestamo> CuotasPrestamo(const Prestamo& prestamo);

// Look-ups of the window's F2 and of its boxes; `numero` and `empleado` are the boxes' texts.
QString ConsultaPrestamos(qint32 idEmpresa);
QString ConsultaEmpleados(qint32 idEmpresa);
QString SqlBuscarPrestamo(const QString& numero, qint32 idEmpresa);
QString SqlBuscarEmpleado(const QString& empleado, qint32 idEmpresa);
// Lines of a saved declaration of the company that list the employee in the month and year of
// the loan's first due date.
QString SqlPrestamoDeclarado(qint64 empleado, const QDate& vencimiento1, qint32 idEmpresa);
// The same lines for the loan as stored: its employee and the month of its first due date.
QString SqlPrestamoGuardadoDeclarado(qint64 numero, qint32 idEmpresa);
QString SqlMaximoPrestamo(qint32 idEmpresa);
QString SqlInsertarPrestamo(const Prestamo& prestamo, qint32 idEmpresa);
QString SqlActualizarPrestamo(const Prestamo& prestamo, qint32 idEmpresa);
QString SqlInsertarCuota(const Prestamo& prestamo, const CuotaPrestamo& cuota, qint32 idEmpresa);
QString SqlBorrarCuotas(qint64 numero, qint32 idEmpresa);

// Loans are numbered per company from 1.
qint64 ProximoPrestamo(Database& db, qint32 idEmpresa);
// A declared loan can only be viewed: its first instalment's month is already declared.
bool PrestamoDeclarado(Database& db, qint64 empleado, const QDate& vencimiento1, qint32 idEmpresa);
// A new loan (numero 0) takes the company's next number and is inserted; an existing one is
// updated. Either way every instalment is written anew, all in one transaction. Returns the
// loan's number; nothing, with nothing written, when the loan to update is no longer there.
std::optional<qint64> GrabarPrestamo(Database& db, const Prestamo& prestamo, qint32 idEmpresa);
// The statements that delete the loan and its instalments (run together by the caller), the
// loan's own row last.
QStringList SentenciasEliminarPrestamo(qint64 numero, qint32 idEmpresa);

}  // namespace zul
