#pragma once
// Rich text export of rendered reports: paragraphs with their alignment, bold, italic,
// underline, font sizes and colours, tables with their cells, borders and header rows, and
// images (as PNG pictures). Characters beyond ASCII go out as \uN escapes, so any word
// processor reads the Spanish text the same way whatever its code page.

#include <QByteArray>
#include <QList>

namespace zul {

struct DocumentoInforme;

// One RTF file holding the documents one after the other, each on a new page. A4 paper with
// 2 cm margins; widths in CSS pixels count 15 twips each. Columns are as wide as on the printed
// page, and pages break where the printed copy breaks them, each opening with the document's
// page header and the header rows of the table it continues.
QByteArray EscribirRtf(const QList<const DocumentoInforme*>& documentos);

}  // namespace zul
