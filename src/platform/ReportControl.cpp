#include "platform/ReportControl.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QWidget>
#include <kainjow/mustache.hpp>

#include "platform/ImpresionInforme.h"
#include "platform/MsgBox.h"
#include "platform/RtfWriter.h"

namespace zul {

namespace mus = kainjow::mustache;

ReportError::ReportError(int numero, const QString& mensaje)
    : std::runtime_error(mensaje.toStdString()), numero_(numero), mensaje_(mensaje) {}

namespace {

QString Ruta(const QString& ruta) {
    return QDir::toNativeSeparators(ruta);
}

// Builds the template's data in place: the library copies whatever it is handed, and a
// declaration's rows would otherwise be copied once per level of nesting.
mus::data Dato(const QVariant& v) {
    switch (v.typeId()) {
        case QMetaType::QVariantMap: {
            mus::data d(mus::data::type::object);
            const QVariantMap m = v.toMap();
            for (auto it = m.cbegin(); it != m.cend(); ++it)
                d[it.key().toStdString()] = Dato(it.value());
            return d;
        }
        case QMetaType::QVariantList:
        case QMetaType::QStringList: {
            mus::data d(mus::data::type::list);
            // The list is ours, held by `d`; the library only lets it be read.
            auto& lista = const_cast<mus::list&>(d.list_value());
            const QVariantList l = v.toList();
            lista.reserve(static_cast<size_t>(l.size()));
            for (const QVariant& e : l) lista.push_back(Dato(e));
            return d;
        }
        case QMetaType::Bool:
            return mus::data(v.toBool());
        default:
            return mus::data(v.toString().toStdString());
    }
}

// The template text of a report file of ours.
QString LeerPlantilla(const QString& archivo) {
    QFile f(archivo);
    if (archivo.isEmpty() || !f.exists())
        throw ReportError(
            53, QStringLiteral("No se encontró el archivo de informe %1.").arg(Ruta(archivo)));
    if (!f.open(QIODevice::ReadOnly))
        throw ReportError(53, QStringLiteral("No se puede leer el archivo de informe %1: %2")
                                  .arg(Ruta(archivo), CausaDeArchivo(f)));
    QString texto = QString::fromUtf8(f.readAll());
    if (texto.startsWith(QChar(0xFEFF))) texto.remove(0, 1);
    if (texto.section(u'\n', 0, 0).trimmed() != QLatin1String(kMarcaInforme))
        throw ReportError(20500,
                          QStringLiteral("El archivo %1 no es un informe de este programa (su "
                                         "primera línea debe ser %2).")
                              .arg(Ruta(archivo), QLatin1String(kMarcaInforme)));
    return texto;
}

std::unique_ptr<DocumentoInforme> Renderizar(const QString& archivo, const QString& plantilla,
                                             const DatosInforme& datos) {
    mus::mustache tmpl(plantilla.toStdString());
    if (!tmpl.is_valid())
        throw ReportError(20500,
                          QStringLiteral("El informe %1 tiene un error: %2")
                              .arg(Ruta(archivo), QString::fromStdString(tmpl.error_message())));
    const std::string html = tmpl.render(Dato(datos.datos));
    return std::make_unique<DocumentoInforme>(
        LeerHtml(QString::fromStdString(html), datos.imagenes));
}

// Lays the document out on the printer's pages, 2 cm inside the printable area, and paints
// it page by page with a page number. Returns the number of pages.
int Paginar(const DocumentoInforme& doc, QPrinter& impresora) {
    QPainter p;
    if (!p.begin(&impresora))
        throw ReportError(482, QStringLiteral("No se pudo comenzar la impresión."));
    // Images go out lossless: bar codes must stay sharp.
    p.setRenderHint(QPainter::LosslessImageRendering);
    const QRectF area = AreaDeTexto(impresora);
    const double margen = area.left();
    const QSizeF hoja(impresora.width(), impresora.height());
    ImpresionInforme paginas(doc, &impresora, area);
    const int total = static_cast<int>(paginas.paginas().size());
    const QFont& fuente = paginas.fuente(doc.estiloBase);
    const QFontMetricsF fm(fuente, &impresora);
    for (int i = 0; i < total; ++i) {
        if (i > 0 && !impresora.newPage())
            throw ReportError(482, QStringLiteral("No se pudo pasar a la página %1.").arg(i + 1));
        paginas.pintar(p, i);
        p.setFont(fuente);
        p.setPen(Qt::black);
        const QString numero = QStringLiteral("Página %1 de %2").arg(i + 1).arg(total);
        p.drawText(QPointF(hoja.width() - margen - fm.horizontalAdvance(numero),
                           hoja.height() - margen / 2),
                   numero);
    }
    p.end();
    return total;
}

}  // namespace

void PrepararHoja(QPrinter& impresora) {
    impresora.setPageSize(QPageSize(QPageSize::A4));
    const double m = kMargenImpresoraMm;
    impresora.setPageMargins(QMarginsF(m, m, m, m), QPageLayout::Millimeter);
}

QRectF AreaDeTexto(const QPrinter& impresora) {
    const double margen = kMargenTextoMm / 25.4 * impresora.logicalDpiY();
    return QRectF(margen, margen, impresora.width() - 2 * margen, impresora.height() - 2 * margen);
}

std::optional<QString> Seleccion::valor(const QString& campo) const {
    for (const auto& [c, v] : condiciones)
        if (c.compare(campo, Qt::CaseInsensitive) == 0) return v;
    return std::nullopt;
}

Seleccion LeerFormula(const QString& formula) {
    static const QRegularExpression condicion(
        QStringLiteral(R"(\s*\{\s*([A-Za-z_]\w*)\s*\.\s*([A-Za-z_]\w*)\s*\}\s*=\s*)"
                       R"((-?\d+(?:\.\d+)?|'[^']*'|"[^"]*")\s*)"));
    static const QRegularExpression y(QStringLiteral(R"(and\b)"),
                                      QRegularExpression::CaseInsensitiveOption);
    Seleccion s{formula, {}};
    if (formula.trimmed().isEmpty()) return s;
    const auto invalida = [&] {
        return ReportError(20515,
                           QStringLiteral("La fórmula de selección no es válida: %1").arg(formula));
    };
    qsizetype pos = 0;
    for (;;) {
        const auto m = condicion.match(formula, pos, QRegularExpression::NormalMatch,
                                       QRegularExpression::AnchorAtOffsetMatchOption);
        if (!m.hasMatch()) throw invalida();
        QString valor = m.captured(3);
        if (valor.startsWith(u'\'') || valor.startsWith(u'"'))
            valor = valor.mid(1, valor.size() - 2);
        s.condiciones.append({m.captured(1) + u'.' + m.captured(2), valor});
        pos = m.capturedEnd();
        if (pos >= formula.size()) return s;
        const auto a = y.match(formula, pos, QRegularExpression::NormalMatch,
                               QRegularExpression::AnchorAtOffsetMatchOption);
        if (!a.hasMatch()) throw invalida();
        pos = a.capturedEnd();
    }
}

std::unique_ptr<DocumentoInforme> RenderizarInforme(const QString& archivo,
                                                    const DatosInforme& datos) {
    return Renderizar(archivo, LeerPlantilla(archivo), datos);
}

ReportControl::ReportControl(QObject* padre) : QObject(padre) {}
ReportControl::~ReportControl() = default;

ReportControl* ReportControl::de(QWidget* ventana) {
    static ReportControl* sinVentana = nullptr;
    if (!ventana) {
        if (!sinVentana) sinVentana = new ReportControl;
        return sinVentana;
    }
    auto* r =
        ventana->findChild<ReportControl*>(QStringLiteral("rpt1"), Qt::FindDirectChildrenOnly);
    if (!r) {
        r = new ReportControl(ventana);
        r->setObjectName(QStringLiteral("rpt1"));
    }
    return r;
}

const DocumentoInforme* ReportControl::lastDocument() const {
    if (ultimo_) return ultimo_.get();
    return exportados_.empty() ? nullptr : exportados_.back().get();
}

void ReportControl::setAction(int accion) {
    if (accion != 1) return;
    Ejecucion e{reportFileName_, destination_, {}, {}, selectionFormula_, {}};
    const bool aArchivo = destination_ == ReportControl::aArchivo;
    if (!aArchivo && destination_ != aImpresora && destination_ != 1)
        throw ReportError(20526,
                          QStringLiteral("Destino de informe no admitido: %1").arg(destination_));
    if (aArchivo && printFileType_ != formatoRtf)
        throw ReportError(
            20526, QStringLiteral("Formato de exportación no admitido: %1").arg(printFileType_));
    const QString plantilla = LeerPlantilla(reportFileName_);
    const Seleccion seleccion = LeerFormula(selectionFormula_);
    if (!proveedor_)
        throw ReportError(20525, QStringLiteral("El informe no tiene de dónde leer sus datos."));
    auto doc = Renderizar(reportFileName_, plantilla, proveedor_(seleccion));
    if (aArchivo) {
        exportar(std::move(doc), e);
    } else {
        ultimo_ = std::move(doc);
        imprimir(*ultimo_, e);
    }
    runs_.append(e);
}

void ReportControl::imprimir(const DocumentoInforme& doc, Ejecucion& e) {
    QPrinter impresora(QPrinter::HighResolution);
    if (!pdfOutput_.isEmpty()) {
        impresora.setOutputFormat(QPrinter::PdfFormat);
        QString ruta = pdfOutput_;
        const auto previas = std::count_if(
            runs_.cbegin(), runs_.cend(), [](const Ejecucion& r) { return r.destino != aArchivo; });
        if (previas > 0) {
            const QFileInfo fi(pdfOutput_);
            ruta = fi.path() + u'/' + fi.completeBaseName() + u'-' + QString::number(previas + 1) +
                   u'.' + fi.suffix();
        }
        QFile::remove(ruta);
        impresora.setOutputFileName(ruta);
        e.salida = ruta;
        e.impresora = printerName_;
    } else {
        if (QPrinterInfo::availablePrinters().isEmpty())
            throw ReportError(482,
                              QStringLiteral("No hay ninguna impresora instalada en este equipo."));
        if (!printerName_.isEmpty()) impresora.setPrinterName(printerName_);
        if (!impresora.isValid())
            throw ReportError(
                482, QStringLiteral("No se puede imprimir en la impresora %1.").arg(printerName_));
        e.impresora = impresora.printerName();
    }
    // The queue tells one report from another by the title the template gives it.
    e.documento = doc.titulo;
    if (e.documento.isEmpty()) e.documento = QFileInfo(reportFileName_).completeBaseName();
    impresora.setDocName(e.documento);
    PrepararHoja(impresora);
    e.paginas = Paginar(doc, impresora);
    const bool fallo = impresora.printerState() == QPrinter::Error ||
                       (!e.salida.isEmpty() && QFileInfo(e.salida).size() == 0);
    if (fallo)
        throw ReportError(
            482,
            e.salida.isEmpty()
                ? QStringLiteral("La impresora %1 no pudo imprimir el informe.").arg(e.impresora)
                : QStringLiteral("No se pudo grabar el archivo %1.").arg(Ruta(e.salida)));
}

void ReportControl::exportar(std::unique_ptr<DocumentoInforme> doc, Ejecucion& e) {
    if (printFileName_.isEmpty())
        throw ReportError(75, QStringLiteral("Falta el nombre del archivo de exportación."));
    if (!exportAppend_ || exportadoA_ != printFileName_) exportados_.clear();
    ultimo_.reset();
    exportados_.push_back(std::move(doc));
    QList<const DocumentoInforme*> docs;
    for (const auto& d : exportados_) docs.append(d.get());
    const QByteArray rtf = EscribirRtf(docs);

    QSaveFile f(printFileName_);
    if (!f.open(QIODevice::WriteOnly) || f.write(rtf) != rtf.size() || !f.commit()) {
        exportadoA_.clear();
        throw ReportError(75, QStringLiteral("No se pudo grabar el archivo %1: %2")
                                  .arg(Ruta(printFileName_), CausaDeArchivo(f)));
    }
    exportadoA_ = printFileName_;
    e.salida = printFileName_;
}

}  // namespace zul
