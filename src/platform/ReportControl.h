#pragma once
// The report control: runs a report file for the rows a selection formula picks, printing it
// or exporting it to a file. Settings are kept until changed, for as long as the control
// lives (one per window, see ReportControl::de).
//
// Report files are Mustache templates of HTML (the part DocumentoInforme reads) whose first
// line is the marker kMarcaInforme. The control knows no tables: the data come from the
// provider the caller registers, which receives the parsed selection formula and returns the
// Mustache data (texts, yes/no values, lists of maps) and any images the template names in
// <img src="...">. Images are drawn as pictures, so bar codes print as real bars.
//
//     ReportControl* rpt = ReportControl::de(ventana);
//     rpt->setDataProvider(proveedor);
//     rpt->setDestination(ReportControl::aImpresora);
//     rpt->setSelectionFormula("{DDJJ.DDJJ_Id}=7 and  {DDJJ.ddjj_IdEmpresa}= 3");
//     rpt->setReportFileName(CarpetaPrograma + "/DDJJ.rpt");
//     rpt->setAction(1);  // throws ReportError with a Spanish text on failure

#include <QImage>
#include <QList>
#include <QMap>
#include <QObject>
#include <QRectF>
#include <QString>
#include <QVariantMap>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

#include "platform/DocumentoInforme.h"

class QPrinter;
class QWidget;

namespace zul {

// The first line of every report file of ours.
inline constexpr char kMarcaInforme[] = "<!-- ZUL informe -->";

class ReportError : public std::runtime_error {
  public:
    // Numbers: 53 report file missing or unreadable, 75 export file not written, 482 printer
    // failure, 20500 not a report of ours or broken template, 20515 bad selection formula,
    // 20525 no data for the selection, 20526 unsupported setting.
    ReportError(int numero, const QString& mensaje);
    int numero() const { return numero_; }
    QString mensaje() const { return mensaje_; }

  private:
    int numero_;
    QString mensaje_;
};

// A selection formula read into its conditions: {Tabla.Campo}=valor joined by "and".
struct Seleccion {
    QString formula;
    QList<QPair<QString, QString>> condiciones;  // ("Tabla.Campo", valor without quotes)
    // The value required of a field, "Tabla.Campo" without regard to case.
    std::optional<QString> valor(const QString& campo) const;
};

// Reads "{DDJJ.DDJJ_Id}=7 and  {DDJJ.ddjj_IdEmpresa}= 3" with any blanks around the parts;
// numbers, 'text' or "text" values. An empty formula has no conditions. Throws ReportError.
Seleccion LeerFormula(const QString& formula);

struct DatosInforme {
    QVariantMap datos;
    QMap<QString, QImage> imagenes;  // by the name the template uses in <img src="...">
};

using ProveedorInforme = std::function<DatosInforme(const Seleccion&)>;

// Reads a report file and renders it with the data into a document ready to print or export.
// Throws ReportError when the file is missing, is not ours or its template is broken.
std::unique_ptr<DocumentoInforme> RenderizarInforme(const QString& archivo,
                                                    const DatosInforme& datos);

// The sheet every report prints on: A4 with 5 mm printer margins, the text 2 cm inside them.
void PrepararHoja(QPrinter& impresora);
QRectF AreaDeTexto(const QPrinter& impresora);

class ReportControl : public QObject {
    Q_OBJECT

  public:
    enum Destino { aImpresora = 0, aArchivo = 2 };
    enum { formatoRtf = 15 };

    explicit ReportControl(QObject* padre = nullptr);
    ~ReportControl() override;
    // The window's control (objectName "rpt1"), created the first time it is asked for.
    static ReportControl* de(QWidget* ventana);

    void setPrinterDriver(const QString& driver) { printerDriver_ = driver; }
    void setPrinterName(const QString& nombre) { printerName_ = nombre; }
    void setPrinterPort(const QString& puerto) { printerPort_ = puerto; }
    QString printerDriver() const { return printerDriver_; }
    QString printerName() const { return printerName_; }  // "" = the system's default printer
    QString printerPort() const { return printerPort_; }

    // Kept for the callers that set it first; runs never open a preview window.
    void setWindowState(int estado) { windowState_ = estado; }
    int windowState() const { return windowState_; }

    void setDestination(int destino) { destination_ = destino; }  // 0 (or 1) printer, 2 file
    int destination() const { return destination_; }
    void setPrintFileType(int tipo) { printFileType_ = tipo; }  // 15 = RTF
    int printFileType() const { return printFileType_; }
    void setPrintFileName(const QString& ruta) { printFileName_ = ruta; }
    QString printFileName() const { return printFileName_; }
    // When set, an export to the same file as the previous export of this control adds the
    // report after the ones already there (on a new page) instead of replacing them.
    void setExportAppend(bool agregar) { exportAppend_ = agregar; }
    bool exportAppend() const { return exportAppend_; }

    void setSelectionFormula(const QString& formula) { selectionFormula_ = formula; }
    QString selectionFormula() const { return selectionFormula_; }
    void setReportFileName(const QString& ruta) { reportFileName_ = ruta; }
    QString reportFileName() const { return reportFileName_; }

    void setDataProvider(ProveedorInforme proveedor) { proveedor_ = std::move(proveedor); }

    // Prints go to this PDF file instead of a printer (tests, and no printer needed); the
    // second and later prints of the control get "-2", "-3"... before the extension.
    void setPdfOutput(const QString& ruta) { pdfOutput_ = ruta; }

    // 1 runs the report with the settings held; any other value does nothing.
    void setAction(int accion);

    // What each run did, oldest first.
    struct Ejecucion {
        QString informe;    // report file
        int destino;        // as set for the run
        QString salida;     // PDF or export file written; "" for a printer
        QString impresora;  // printer name used ("" default)
        QString formula;
        QString documento;  // print job name: the report's title, else its file name
        int paginas = 0;    // printed pages
    };
    const QList<Ejecucion>& runs() const { return runs_; }
    // The document of the latest run, rendered before painting (tests read its text).
    const DocumentoInforme* lastDocument() const;

  private:
    void imprimir(const DocumentoInforme& doc, Ejecucion& e);
    void exportar(std::unique_ptr<DocumentoInforme> doc, Ejecucion& e);

    QString printerDriver_, printerName_, printerPort_;
    int windowState_ = 0;
    int destination_ = aImpresora;
    int printFileType_ = formatoRtf;
    QString printFileName_;
    bool exportAppend_ = false;
    QString selectionFormula_;
    QString reportFileName_;
    ProveedorInforme proveedor_;
    QString pdfOutput_;
    QList<Ejecucion> runs_;
    std::unique_ptr<DocumentoInforme> ultimo_;
    // Documents already in the latest export file, for appending.
    QString exportadoA_;
    std::vector<std::unique_ptr<DocumentoInforme>> exportados_;
};

}  // namespace zul
