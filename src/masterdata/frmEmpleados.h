#pragma once
// The employees of the current company: loading by number, the checks made as each box is
// left, the suggested salary from the scale, and the save and delete of the row.

#include <QDate>
#include <QString>
#include <QtGlobal>
#include <array>

namespace zul {

// One employee as the window holds it: the texts of its boxes and the state of its choices.
struct DatosEmpleado {
    QString codigo, nombre, fechaNac, cuil, fechaIng, sueldo, categoria, fechaEgreso, empleo,
        observ, horas, remunera, noRemunera;
    std::array<bool, 4> aportes{};  // 2 %, 2,5, 1 %, C.S.
    bool afiliado = false;
    int motivoEgreso = 0;  // 0 none, 1 DESPIDO, 2 RENUNCIA, 3 OTRO
};

class frmEmpleados {
  public:
    // The SQL texts of the window, for the values given.
    static QString ConsultaEmpleado(const QString& codigo, qint32 idEmpresa);
    // The highest number the company uses for an employee anywhere: its employees, loans,
    // instalments, declaration lines and leavers, so a new one never inherits a deleted one's.
    static QString ConsultaUltimoNumero(qint32 idEmpresa);
    static QString ConsultaCategoria(const QString& categoria);
    static QString ConsultaEmpleo(const QString& categoria, const QString& antiguedad,
                                  const QString& empleo);
    static QString ConsultaSueldoEmpleo(const QString& categoria, const QString& antiguedad,
                                        const QString& empleo);
    static QString ConsultaDeclarado(const QString& codigo, qint32 idEmpresa);
    static QString SentenciaInsertar(const DatosEmpleado& e, qint32 idEmpresa);
    static QString SentenciaActualizar(const DatosEmpleado& e, qint32 idEmpresa);
    static QString SentenciaEliminar(const QString& codigo, qint32 idEmpresa);

    // Whole years from the hiring year to this one; day and month do not count.
    static int Antiguedad(const QDate& ingreso, const QDate& hoy);
};

}  // namespace zul
