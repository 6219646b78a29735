#pragma once
// Saving and deleting a declaration, apart from the window: the window copies what it shows
// into DDJJEnPantalla and calls these functions; they talk to the database at RutaBase for the
// current company (IdEmpresa) and show their own messages.
//
// What the declaration window does around them:
//   Grabar: before GrabarDDJJ, the three required-box checks ("Debe ingresar la fecha de
//     vencimiento", "... el número de inscripción", "... el importe de la cuota societaria").
//     When the result is not Grabada, stop there: the window keeps what it shows and, when
//     `foco` names a control, puts the focus there. When it is Grabada: IdDDJJ = idDDJJ, then
//     the print offer ("La Declaración Jurada se grabo correctamente!. Desea imprimirla? "),
//     the e-mail offer ("Desea enviar el e-mail?") and the reset to the current month.
//   Eliminar: the confirmation ("Confirma eliminación del registro? ") before EliminarDDJJ; when
//     it is Eliminada, Grabar enabled, Eliminar disabled and the reset to the current month;
//     NoExiste reloads the period; on Fallo the window stays as it is (still saved).

#include <QString>
#include <QtGlobal>
#include <vector>

namespace zul {

// One row of the employee grid, cells as the grid holds them.
struct EmpleadoDDJJ {
    QString codigo;        // "codigo"; rows whose code is empty or not a number are not saved
    QString sueldo;        // "Sueldo"
    bool aporte2 = false;  // "Aporte2"
    bool aporteFarmacia = false;  // "AporteFarmacia"
    bool aporteAmec = false;      // "AporteAmec"
    bool cuotaSoc = false;        // "CuotaSoc"
    QString idCatego;             // "IdCatego"
    bool afiliado = false;        // "afiliado"
    QString prestamo;             // "prestamo"; empty means 0
};

// One row of the leavers' grid; rows without a code or a valid leaving date are not saved.
struct BajaDDJJ {
    QString codigo;       // "codigo"
    QString fechaEgreso;  // "FechaEgreso", dd/mm/yyyy
    QString sueldo;       // "Sueldo"
    QString idCatego;     // "IdCatego"
};

// The texts of the window's boxes, as shown (numbers with ",", dates dd/mm/yyyy).
struct DDJJEnPantalla {
    QString periodo;                      // mskPeriodo, "mm/yyyy"
    QString vencimiento;                  // texto(14)
    QString nroInscripcion;               // texto(15)
    QString cantEmpleados;                // texto(5)
    QString totalRemu;                    // texto(6)
    QString remu2;                        // texto(8)  2%
    QString farmacia;                     // texto(9)  2,5
    QString amec;                         // texto(10) 1%
    QString cuotaSocietaria;              // texto(11)
    QString total;                        // texto(12) total to deposit, also the bar code's amount
    QString valorCuota;                   // texto(16) fee per member
    QString tope;                         // texto(17) cap
    QString amec3;                        // texto(18) 3%
    QString prestamos;                    // texto(19)
    std::vector<EmpleadoDDJJ> empleados;  // every data row of Grilla, in order
    std::vector<BajaDDJJ> bajas;          // every data row of Grilla2, in order
};

struct ResultadoGrabar {
    enum class Estado {
        Grabada,    // every row written; idDDJJ is the new number
        Rechazada,  // refused before writing (message shown); see foco
        Fallo       // a statement failed; everything rolled back (message shown)
    };
    Estado estado = Estado::Rechazada;
    qint32 idDDJJ = 0;
    // objectName of the control that should get the focus after a refusal: "mskPeriodo",
    // "texto_14" or "texto_15"; empty when none.
    QString foco;
    // Refused because the file changed under the window: load the period again.
    bool recargar = false;
    bool grabada() const { return estado == Estado::Grabada; }
};

// Saves the declaration in one transaction: the duplicate-period check, the new number (the
// highest DDJJ_Id over all companies plus 1), the DDJJ row with its payment bar code, one
// EmpleadoXDDJJ row per employee, and per leaver its Bajas row and the employee's leaving date.
// Refuses, with a message saying what is wrong and before writing anything: a due date that is
// not a date, a registration number that is not a whole number from 1 to 2147483647, a period
// that is not a month, a month that already has a declaration of the company, a bar code that
// cannot be built. Any failure after that rolls everything back and shows one "Error Nro.:"
// message.
ResultadoGrabar GrabarDDJJ(const DDJJEnPantalla& ddjj);

class Database;

// The number a damaged declaration is reported with, as a damaged file is.
constexpr int kErrorDDJJDanada = 11;

// "" when the lines stored for declaration `idDDJJ` of company `idEmpresa`, as the window and
// the reports list them, agree with its stored count of employees and its totals of salaries
// and loans; otherwise the message that says it is damaged (a line lost or changed on disk).
QString DDJJDanada(Database& db, qint32 idDDJJ, qint32 idEmpresa);

enum class ResultadoEliminar {
    Eliminada,  // the three tables cleared and said so
    NoExiste,   // no longer there (another copy deleted it): nothing deleted, said so
    Fallo       // a statement failed: rolled back, the error shown
};

// Deletes the declaration `idDDJJ` of the current company and the period "mm/yyyy" on screen:
// its leavers, employee lines and DDJJ row together, and says it did ("El registro se eliminó
// correctamente"). The employees' leaving dates stay as the save wrote them.
ResultadoEliminar EliminarDDJJ(qint32 idDDJJ, const QString& periodo);

}  // namespace zul
