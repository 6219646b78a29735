#include "masterdata/ImpoEmpleos.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QStringDecoder>
#include <QStyle>
#include <algorithm>

#include "common/Globales.h"
#include "platform/Database.h"
#include "platform/MsgBox.h"
#include "platform/Ventana.h"

namespace zul {

namespace {

// Bytes 0x80-0x9F of Windows-1252; the rest of the code page is Latin-1. The five bytes the
// code page leaves undefined keep their own value, as Windows reads them.
constexpr char16_t kWindows1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString DesdeWindows1252(QByteArrayView bytes) {
    QString texto(bytes.size(), Qt::Uninitialized);
    QChar* w = texto.data();
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *w++ = QChar(b >= 0x80 && b < 0xA0 ? kWindows1252[b - 0x80] : char16_t(b));
    }
    return texto;
}

const QString kSinCambios = QStringLiteral("No se modificó ningún dato.");

// The tables the file replaces: the only ones its statements may read or write.
bool EsTablaImportada(const QString& tabla) {
    return tabla.compare(QLatin1String("Categoria"), Qt::CaseInsensitive) == 0 ||
           tabla.compare(QLatin1String("Empleo"), Qt::CaseInsensitive) == 0;
}

bool PermisoImportacion(Database::Acceso acceso, const QString& tabla) {
    using Acceso = Database::Acceso;
    switch (acceso) {
        case Acceso::Leer:
        case Acceso::Insertar:
        case Acceso::Modificar:
        case Acceso::Borrar:
            return EsTablaImportada(tabla);
        case Acceso::Consultar:
        case Acceso::Funcion:
            return true;
        default:
            return false;
    }
}

// "Unicode" saved without its byte-order mark: the high byte of nearly every character is a
// NUL, always on the same side; a stray NUL is not.
bool PareceUtf16SinMarca(QByteArrayView bytes) {
    if (QStringConverter::encodingForData(bytes)) return false;
    qsizetype nulos[2] = {0, 0};
    for (qsizetype i = 0; i < bytes.size(); ++i)
        if (bytes[i] == '\0') ++nulos[i % 2];
    const qsizetype mas = std::max(nulos[0], nulos[1]);
    const qsizetype menos = std::min(nulos[0], nulos[1]);
    return mas > 0 && 4 * mas >= bytes.size() && mas > 2 * menos;
}

}  // namespace

QString TextoDeArchivo(const QByteArray& contenido) {
    QByteArrayView bytes(contenido);
    // A byte-order mark says the encoding: UTF-8, or the UTF-16 that editors call "Unicode".
    if (const auto marcada = QStringConverter::encodingForData(bytes))
        return QStringDecoder(*marcada).decode(bytes);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString texto = utf8.decode(bytes);
    // Bytes that are not UTF-8 come from a Windows editor.
    return utf8.hasError() ? DesdeWindows1252(bytes) : texto;
}

QList<LineaImportacion> LineasDeImportacion(const QByteArray& contenido) {
    const QString texto = TextoDeArchivo(contenido);
    QList<LineaImportacion> lineas;
    int numero = 1;
    qsizetype inicio = 0;
    const qsizetype n = texto.size();
    for (qsizetype i = 0; i <= n; ++i) {
        if (i < n && texto[i] != '\r' && texto[i] != '\n') continue;
        const QStringView linea = QStringView(texto).mid(inicio, i - inicio);
        if (!linea.trimmed().isEmpty()) lineas.push_back({numero, linea.toString()});
        // CR LF is one line end.
        if (i + 1 < n && texto[i] == '\r' && texto[i + 1] == '\n') ++i;
        inicio = i + 1;
        ++numero;
    }
    return lineas;
}

std::optional<FalloImportacion> ComprobarImportacion(Database& db,
                                                     const QList<LineaImportacion>& lineas) {
    Restriccion soloSueldos(db, PermisoImportacion);
    for (const LineaImportacion& l : lineas) {
        try {
            if (!db.comprobar(l.sql))
                return FalloImportacion{l.numero, 0,
                                        QStringLiteral("La instrucción no agrega, modifica ni "
                                                       "borra registros.")};
        } catch (const DatabaseError& e) {
            return FalloImportacion{l.numero, e.numero(), e.descripcion()};
        }
    }
    return std::nullopt;
}

std::optional<FalloImportacion> EjecutarImportacion(Database& db,
                                                    const QList<LineaImportacion>& lineas) {
    const LineaImportacion* actual = nullptr;
    try {
        Transaction t(db);
        db.execute(QStringLiteral("delete from Categoria"));
        db.execute(QStringLiteral("delete from Empleo"));
        {
            // Lifted before the transaction ends: committing or rolling back is not the file's.
            Restriccion soloSueldos(db, PermisoImportacion);
            for (const LineaImportacion& l : lineas) {
                actual = &l;
                db.execute(l.sql);
            }
        }
        actual = nullptr;
        t.commit();
    } catch (const DatabaseError& e) {
        return FalloImportacion{actual ? actual->numero : 0, e.numero(), e.descripcion()};
    }
    return std::nullopt;
}

std::optional<FalloImportacion> ImportarSueldos(Database& db,
                                                const QList<LineaImportacion>& lineas) {
    if (auto fallo = ComprobarImportacion(db, lineas)) return fallo;
    return EjecutarImportacion(db, lineas);
}

std::function<QString(QWidget*, const QString&, const QString&, const QString&)>
    ImpoEmpleos::ElegirArchivo =
        [](QWidget* padre, const QString& titulo, const QString& carpeta, const QString& filtro) {
            return QFileDialog::getOpenFileName(padre, titulo, carpeta, filtro);
        };

ImpoEmpleos::ImpoEmpleos(QWidget* parent)
    : Mantenimiento(QStringLiteral("ImpoEmpleos"),
                    QStringLiteral("Importación de Actualización de Sueldos"), {}, parent) {
    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    bbuscar = new QPushButton(style()->standardIcon(QStyle::SP_DirOpenIcon), QString(), Frame1);
    bbuscar->setObjectName(QStringLiteral("bbuscar"));
    bbuscar->setIconSize(QSize(24, 24));
    texto = new QLineEdit(Frame1);
    texto->setObjectName(QStringLiteral("texto"));
    texto->setMinimumWidth(Twips(8400));
    auto* fila = new QHBoxLayout(Frame1);
    fila->addWidget(bbuscar);
    fila->addWidget(texto, 1);
    AgregarControl(Frame1);
    connect(bbuscar, &QPushButton::clicked, this, &ImpoEmpleos::bbuscar_Click);

    // The pattern's save button imports; there is nothing to delete.
    btnGrabar()->setObjectName(QStringLiteral("bimportar"));
    btnGrabar()->setText(QStringLiteral("Importar"));
    btnEliminar()->hide();
}

void ImpoEmpleos::bbuscar_Click() {
    try {
        const QString archivo =
            ElegirArchivo(this, QStringLiteral("Búsqueda de Archivo de Importación de Datos"),
                          QDir::homePath(), QStringLiteral("Archivos de texto (*.txt)"));
        if (!archivo.isEmpty()) elegido_ = archivo;
        texto->setText(elegido_);
        if (texto->text().isEmpty())
            MsgBox(QStringLiteral("No se ha seleccionado el Archivo con los datos a Importar!"),
                   vbExclamation, QStringLiteral("Atención"));
    } catch (const std::exception& e) {
        MsgBox(QString::fromUtf8(e.what()) + QStringLiteral("\nEl Proceso se cancelará."),
               vbExclamation, QStringLiteral("Atención"));
    }
}

bool ImpoEmpleos::PuedeGrabar() {
    if (texto->text().isEmpty()) {
        MsgBox(QStringLiteral("Debe seleccionar el archivo de actualización de sueldos"),
               vbInformation, QString());
        bbuscar->setFocus();
        return false;
    }
    QFile archivo(texto->text());
    if (!archivo.open(QIODevice::ReadOnly)) {
        MsgBox(QStringLiteral("No se puede leer el archivo \"%1\": %2\n%3")
                   .arg(texto->text(), CausaDeArchivo(archivo), kSinCambios),
               vbExclamation, QStringLiteral("Atención"));
        return false;
    }
    const QByteArray contenido = archivo.readAll();
    if (PareceUtf16SinMarca(contenido)) {
        MsgBox(QStringLiteral("No se importó el archivo: parece un archivo Unicode (UTF-16) "
                              "guardado sin su marca de orden de bytes.\nGuárdelo de nuevo como "
                              "texto ANSI, UTF-8 o Unicode con marca e impórtelo otra vez. %1")
                   .arg(kSinCambios),
               vbExclamation, QStringLiteral("Atención"));
        return false;
    }
    lineas_ = LineasDeImportacion(contenido);
    std::optional<FalloImportacion> fallo;
    try {
        fallo = ComprobarImportacion(Database::open(RutaBase), lineas_);
    } catch (const DatabaseError& e) {
        MostrarError(e);
        return false;
    }
    if (!fallo) return true;
    MsgBox(QStringLiteral("No se importó el archivo: la línea %1 no es válida.\n%2\n\nCada "
                          "línea debe ser una sola instrucción que agregue, modifique o borre "
                          "registros de Categoria o Empleo. %3")
               .arg(QString::number(fallo->linea), fallo->motivo, kSinCambios),
           vbExclamation, QStringLiteral("Atención"));
    return false;
}

bool ImpoEmpleos::Grabar(Database& db) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const std::optional<FalloImportacion> fallo = EjecutarImportacion(db, lineas_);
    QApplication::restoreOverrideCursor();
    if (!fallo) return true;
    const QString donde = fallo->linea > 0
                              ? QStringLiteral("La línea %1 del archivo falló: ").arg(fallo->linea)
                              : QString();
    throw DatabaseError(fallo->numero, donde + fallo->motivo + '\n' + kSinCambios);
}

QString ImpoEmpleos::MensajeGrabado() const {
    return QStringLiteral("Importación finalizada!");
}

int ImpoEmpleos::EstiloGrabado() const {
    return vbExclamation;
}

std::optional<QString> ImpoEmpleos::TituloGrabado() const {
    return std::nullopt;
}

void ImpoEmpleos::Limpiar() {
    texto->clear();
    bbuscar->setFocus();
}

}  // namespace zul
