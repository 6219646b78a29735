#include "declaration/InformeDDJJ.h"

#include <QLineEdit>
#include <QPointer>
#include <QVariantList>
#include <QWidget>

#include "common/Formato.h"
#include "common/Globales.h"
#include "common/Impresoras.h"
#include "common/Moneda.h"
#include "declaration/CodigoBarras.h"
#include "declaration/GrabarDDJJ.h"
#include "platform/Database.h"
#include "platform/Mail.h"
#include "platform/MsgBox.h"

namespace zul {

namespace {

constexpr int kErrorCorreo = 440;  // the number mail failures show in "Error Nro.:"

// The hourglass on the window while a handler works; back to the default on every path.
class Reloj {
  public:
    explicit Reloj(QWidget* ventana) : ventana_(ventana) {
        if (ventana_) ventana_->setCursor(Qt::WaitCursor);
    }
    ~Reloj() { restaurar(); }
    void restaurar() {
        if (ventana_) ventana_->unsetCursor();
        ventana_ = nullptr;
    }
    Reloj(const Reloj&) = delete;
    Reloj& operator=(const Reloj&) = delete;

  private:
    QPointer<QWidget> ventana_;
};

// Runs the steps; the first failure restores the pointer and shows one "Error Nro.:" message.
template <class Pasos>
bool Intentar(Reloj& reloj, Pasos&& pasos) {
    QString error;
    try {
        pasos();
        return true;
    } catch (const ReportError& e) {
        error = TextoError(e.numero(), e.mensaje());
    } catch (const MailError& e) {
        error = TextoError(kErrorCorreo, e.mensaje());
    } catch (const DatabaseError& e) {
        error = TextoError(e.numero(), e.descripcion());
    }
    reloj.restaurar();
    MsgBox(error, 0);
    return false;
}

// The report files of the firm's row: the first (or DDJJ.rpt), then the second when named.
QStringList InformesDelEstudio(const Recordset& estudio) {
    const QString carpeta = CarpetaPrograma + u'/';
    if (estudio.vacio()) return {carpeta + QStringLiteral("DDJJ.rpt")};
    const QString primero = FormatoNulo(estudio.value(QStringLiteral("emp_rptDJ1")), 3);
    const QString segundo = FormatoNulo(estudio.value(QStringLiteral("emp_rptDJ2")), 3);
    QStringList informes{carpeta + (primero.isEmpty() ? QStringLiteral("DDJJ.rpt") : primero)};
    if (!segundo.isEmpty()) informes << carpeta + segundo;
    return informes;
}

// Amounts as a printed report shows them: "1.234,56".
QString Importe(const QVariant& v) {
    if (v.isNull() || !EsNumero(v)) return {};
    const qint64 centavos = Moneda::desdeDouble(LeerNumero(v)).centavos();
    const qint64 a = qAbs(centavos);
    QString enteros = QString::number(a / 100);
    for (int i = enteros.size() - 3; i > 0; i -= 3) enteros.insert(i, u'.');
    return (centavos < 0 ? QStringLiteral("-") : QString()) + enteros + u',' +
           QStringLiteral("%1").arg(a % 100, 2, 10, QChar(u'0'));
}

QString Marca(bool si) {
    return si ? QStringLiteral("X") : QString();
}

QString Texto(const Recordset& rs, const char* campo) {
    return FormatoNulo(rs.value(QString::fromLatin1(campo)), 3);
}

// The join to the category of a stored line: its stored code, or the employee's own category
// when the code was stored as 0.
QString CategoriaGuardada(const char* campo) {
    const QString c = QString::fromLatin1(campo);
    return QStringLiteral("(") + c + QStringLiteral("<>0 and cat_id=") + c +
           QStringLiteral(" or ") + c + QStringLiteral("=0 and cat_id=ado_categoria)");
}

bool DeclaracionGrabada(qint32 idDDJJ, const QString& paraQue) {
    if (idDDJJ != 0) return true;
    MsgBox(QStringLiteral("Grabe la declaración jurada antes de ") + paraQue, 48);
    return false;
}

void Preparar(ReportControl& rpt) {
    rpt.setWindowState(2);
    rpt.setDataProvider(DatosDDJJ);
}

}  // namespace

QString FormulaDDJJ(qint32 idDDJJ, qint32 idEmpresa) {
    return QStringLiteral("{DDJJ.DDJJ_Id}=") + QString::number(idDDJJ) +
           QStringLiteral(" and  {DDJJ.ddjj_IdEmpresa}= ") + FormatoSQL(idEmpresa, 1);
}

DatosInforme DatosDDJJ(const Seleccion& seleccion) {
    const auto id = seleccion.valor(QStringLiteral("DDJJ.DDJJ_Id"));
    const auto empresa = seleccion.valor(QStringLiteral("DDJJ.ddjj_IdEmpresa"));
    if (!id || !empresa)
        throw ReportError(20515, QStringLiteral("La fórmula de selección no indica la declaración "
                                                "jurada: %1")
                                     .arg(seleccion.formula));
    const QString nId = FormatoSQL(*id, 1), nEmpresa = FormatoSQL(*empresa, 1);
    Database& db = Database::open(RutaBase);
    Recordset dj = db.openRecordset(QStringLiteral("select * from DDJJ where DDJJ_Id=") + nId +
                                    QStringLiteral(" and ddjj_idempresa=") + nEmpresa);
    if (dj.vacio())
        throw ReportError(20525, QStringLiteral("No se encontró la declaración jurada Nº %1 de la "
                                                "empresa %2.")
                                     .arg(nId, nEmpresa));
    // Nothing is printed or mailed of a declaration whose lines were lost or changed on disk.
    if (const QString danada = DDJJDanada(db, dj.value(QStringLiteral("DDJJ_Id")).toInt(),
                                          dj.value(QStringLiteral("ddjj_idempresa")).toInt());
        !danada.isEmpty())
        throw DatabaseError(kErrorDDJJDanada, danada);

    DatosInforme d;
    Recordset emp =
        db.openRecordset(QStringLiteral("select * from Empresa where emp_id=") + nEmpresa);
    QVariantMap e;
    if (!emp.vacio())
        e = {{"nombre", Texto(emp, "Emp_Nombre")},
             {"domicilio", Texto(emp, "Emp_Domicilio")},
             {"localidad", Texto(emp, "Emp_Localidad")},
             {"cuit", Texto(emp, "Emp_CUIT")},
             {"telefono", Texto(emp, "Emp_Telefono")}};
    d.datos["empresa"] = e;

    const auto periodo = LeerFecha(dj.value(QStringLiteral("DDJJ_Periodo")));
    const QString codbar = Texto(dj, "DDJJ_CODBAR");
    d.datos["ddjj"] =
        QVariantMap{{"id", nId},
                    {"periodo", periodo ? periodo->toString(QStringLiteral("MM/yyyy")) : QString()},
                    {"fecha", FormatoNulo(dj.value(QStringLiteral("DDJJ_Fecha")), 4)},
                    {"vencimiento", FormatoNulo(dj.value(QStringLiteral("DDJJ_Vencimiento")), 4)},
                    {"nroInscripcion", FormatoNulo(dj.value(QStringLiteral("DDJJ_NroIns")), 1)},
                    {"cantEmpleados", FormatoNulo(dj.value(QStringLiteral("DDJJ_CantEmp")), 1)},
                    {"totalRemuneraciones", Importe(dj.value(QStringLiteral("DDJJ_TotalRemu")))},
                    {"aporte2", Importe(dj.value(QStringLiteral("DDJJ_2Remu")))},
                    {"farmacia", Importe(dj.value(QStringLiteral("DDJJ_Farmacia")))},
                    {"aporte1", Importe(dj.value(QStringLiteral("DDJJ_Amec")))},
                    {"aporte3", Importe(dj.value(QStringLiteral("DDJJ_Amec3")))},
                    {"cuotaSocietaria", Importe(dj.value(QStringLiteral("DDJJ_Cuota")))},
                    {"prestamos", Importe(dj.value(QStringLiteral("DDJJ_Prestamo")))},
                    {"total", Importe(dj.value(QStringLiteral("DDJJ_Total")))},
                    {"valorCuota", Importe(dj.value(QStringLiteral("DDJJ_ValorCuota")))},
                    {"tope", Importe(dj.value(QStringLiteral("DDJJ_Tope")))},
                    {"codigoBarras", codbar}};

    // Stored lines in the order they were saved; name and CUIL from the employee's row when it
    // still exists, the category as stored. A code that is not a number is stored as 0: that
    // line shows the employee's category, as the declaration window does.
    Recordset rs = db.openRecordset(
        QStringLiteral("select ExD_IdEmpleado, ExD_Sueldo, ExD_Aporte2, ExD_AporteFar, "
                       "ExD_AporteAmec, ExD_Cuota, ExD_Afiliado, ExD_Prestamo, ado_nombre, "
                       "ado_cuil, cat_nombre from EmpleadoXDDJJ left join Empleado on "
                       "ado_id=ExD_IdEmpleado and ado_idempresa=ExD_idempresa left join "
                       "Categoria on ") +
        CategoriaGuardada("ExD_IdCatego") + QStringLiteral(" where ExD_IdDDJJ=") + nId +
        QStringLiteral(" order by EmpleadoXDDJJ.rowid"));
    QVariantList empleados;
    empleados.reserve(rs.recordCount());
    for (; !rs.eof(); rs.moveNext())
        empleados.append(
            QVariantMap{{"codigo", FormatoNulo(rs.value(QStringLiteral("ExD_IdEmpleado")), 1)},
                        {"nombre", Texto(rs, "ado_nombre")},
                        {"cuil", Texto(rs, "ado_cuil")},
                        {"categoria", Texto(rs, "cat_nombre")},
                        {"sueldo", Importe(rs.value(QStringLiteral("ExD_Sueldo")))},
                        {"aporte2", Marca(rs.boolValue(QStringLiteral("ExD_Aporte2")))},
                        {"farmacia", Marca(rs.boolValue(QStringLiteral("ExD_AporteFar")))},
                        {"aporte1", Marca(rs.boolValue(QStringLiteral("ExD_AporteAmec")))},
                        {"afiliado", Marca(rs.boolValue(QStringLiteral("ExD_Afiliado")))},
                        {"cuota", Marca(rs.boolValue(QStringLiteral("ExD_Cuota")))},
                        {"prestamo", Importe(rs.value(QStringLiteral("ExD_Prestamo")))}});
    d.datos["hayEmpleados"] = !empleados.isEmpty();
    d.datos["empleados"] = empleados;

    Recordset rb = db.openRecordset(
        QStringLiteral("select Baj_Empleado, Baj_FecEgreso, Baj_Sueldo, ado_nombre, ado_cuil, "
                       "cat_nombre from Bajas left join Empleado on ado_id=Baj_Empleado and "
                       "ado_idempresa=baj_idempresa left join Categoria on ") +
        CategoriaGuardada("Baj_IdCatego") + QStringLiteral(" where Baj_DDJJ=") + nId +
        QStringLiteral(" order by Bajas.rowid"));
    QVariantList bajas;
    bajas.reserve(rb.recordCount());
    for (; !rb.eof(); rb.moveNext())
        bajas.append(
            QVariantMap{{"codigo", FormatoNulo(rb.value(QStringLiteral("Baj_Empleado")), 1)},
                        {"nombre", Texto(rb, "ado_nombre")},
                        {"cuil", Texto(rb, "ado_cuil")},
                        {"fechaEgreso", FormatoNulo(rb.value(QStringLiteral("Baj_FecEgreso")), 4)},
                        {"categoria", Texto(rb, "cat_nombre")},
                        {"sueldo", Importe(rb.value(QStringLiteral("Baj_Sueldo")))}});
    d.datos["hayBajas"] = !bajas.isEmpty();
    d.datos["bajas"] = bajas;

    // Bars 3 image pixels per document pixel: a narrow module of about 0,35 mm on paper.
    const QImage barras = ImagenI2of5(codbar, 4, 180);
    d.datos["hayCodigo"] = !codbar.isEmpty() && !barras.isNull();
    if (!barras.isNull()) {
        d.imagenes.insert(QStringLiteral("barras"), barras);
        d.datos["barrasAncho"] = QString::number(barras.width() / 3);
    }
    return d;
}

QString ArchivoExportDDJJ(const QString& razonSocial, const QString& periodo) {
    const auto mes = LeerFecha(QStringLiteral("01/") + periodo);
    if (!mes) return {};
    QString nombre = razonSocial;
    nombre.replace(u'/', u'_');  // a "/" would make a folder of the name
    return CarpetaPrograma + QStringLiteral("/DJ_") + nombre + u'_' +
           mes->toString(QStringLiteral("MM-yyyy")) + QStringLiteral(".rtf");
}

bool ImprimirDDJJ(qint32 idDDJJ, QWidget* ventana) {
    if (!DeclaracionGrabada(idDDJJ, QStringLiteral("imprimirla."))) return false;
    Reloj reloj(ventana);
    ReportControl& rpt = *ReportControl::de(ventana);
    return Intentar(reloj, [&] {
        Preparar(rpt);
        rpt.setSelectionFormula(FormulaDDJJ(idDDJJ, IdEmpresa));
        // A mail before left the export settings: this run prints.
        rpt.setDestination(ReportControl::aImpresora);
        const Recordset estudio = Database::open(RutaBase).openRecordset(
            QStringLiteral("SELECT emp_rptDJ1,emp_rptDJ2 FROM Empresa where emp_id=0 "));
        for (const QString& informe : InformesDelEstudio(estudio)) {
            rpt.setReportFileName(informe);
            SeleccionarImpresora(rpt, 3);
            rpt.setAction(1);
        }
    });
}

bool EnviarDDJJ(qint32 idDDJJ, const QString& razonSocial, const QString& periodo,
                QLineEdit* destinoEmail, QWidget* ventana) {
    if (!DeclaracionGrabada(idDDJJ, QStringLiteral("enviarla."))) return false;
    const QString archivo = ArchivoExportDDJJ(razonSocial, periodo);
    if (archivo.isEmpty()) {
        MsgBox(QStringLiteral("El período ingresado no es válido!"), 48, QString());
        return false;
    }
    Reloj reloj(ventana);
    ReportControl& rpt = *ReportControl::de(ventana);
    bool enviado = false;
    const bool sinError = Intentar(reloj, [&] {
        Preparar(rpt);
        rpt.setDestination(ReportControl::aArchivo);
        rpt.setPrintFileType(ReportControl::formatoRtf);
        rpt.setPrintFileName(archivo);
        rpt.setSelectionFormula(FormulaDDJJ(idDDJJ, IdEmpresa));

        const Recordset estudio = Database::open(RutaBase).openRecordset(
            QStringLiteral("SELECT emp_rptDJ1,emp_rptDJ2,emp_emaild FROM Empresa where emp_id=0 "));
        if (estudio.vacio()) {
            reloj.restaurar();
            MsgBox(QStringLiteral("Ingrese el e-mail destino en los datos del Estudio"), 0);
            return;
        }
        const QString direccion = FormatoNulo(estudio.value(QStringLiteral("Emp_emaild")), 3);
        if (direccion.isEmpty()) {
            reloj.restaurar();
            MsgBox(QStringLiteral("Ingrese el e_mail destino en los datos del Estudio"), 0);
            return;
        }
        if (destinoEmail) destinoEmail->setText(direccion);

        // Both reports go into the one file the mail carries, the second on a new page.
        const QStringList informes = InformesDelEstudio(estudio);
        for (int i = 0; i < informes.size(); ++i) {
            rpt.setExportAppend(i > 0);
            rpt.setReportFileName(informes[i]);
            rpt.setAction(1);
        }
        rpt.setExportAppend(false);

        MailItem item;
        item.setTo(direccion);
        item.setSubject(QStringLiteral("DJ_") + razonSocial + u'_' + periodo);
        item.addAttachment(archivo);
        item.send();
        enviado = true;
    });
    return sinError && enviado;
}

}  // namespace zul
