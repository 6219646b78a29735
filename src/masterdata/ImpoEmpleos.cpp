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
#include <QVBoxLayout>

#include "common/Globales.h"
#include "common/Teclado.h"
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

}  // namespace

QString TextoDeArchivo(const QByteArray& contenido) {
    QByteArrayView bytes(contenido);
    const QByteArrayView bom("\xEF\xBB\xBF");
    if (bytes.startsWith(bom)) return QString::fromUtf8(bytes.sliced(bom.size()));
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

std::optional<FalloImportacion> ImportarSueldos(Database& db,
                                                const QList<LineaImportacion>& lineas) {
    const LineaImportacion* actual = nullptr;
    try {
        // Every line is compiled under the restriction before anything changes.
        {
            Restriccion soloSueldos(db, PermisoImportacion);
            for (const LineaImportacion& l : lineas) {
                actual = &l;
                if (!db.comprobar(l.sql))
                    return FalloImportacion{
                        l.numero, QStringLiteral("La instrucción no agrega, modifica ni borra "
                                                 "registros.")};
            }
        }
        actual = nullptr;
        Transaction t(db);
        db.execute(QStringLiteral("delete from Categoria"));
        db.execute(QStringLiteral("delete from Empleo"));
        {
            Restriccion soloSueldos(db, PermisoImportacion);
            for (const LineaImportacion& l : lineas) {
                actual = &l;
                db.execute(l.sql);
            }
        }
        actual = nullptr;
        t.commit();
    } catch (const DatabaseError& e) {
        return FalloImportacion{actual ? actual->numero : 0, e.descripcion()};
    }
    return std::nullopt;
}

std::function<QString(QWidget*, const QString&, const QString&, const QString&)>
    ImpoEmpleos::ElegirArchivo =
        [](QWidget* padre, const QString& titulo, const QString& carpeta, const QString& filtro) {
            return QFileDialog::getOpenFileName(padre, titulo, carpeta, filtro);
        };

ImpoEmpleos::ImpoEmpleos(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ImpoEmpleos"));
    setWindowTitle(QStringLiteral("Importación de Actualización de Sueldos"));
    setAttribute(Qt::WA_DeleteOnClose);

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    bbuscar = new QPushButton(style()->standardIcon(QStyle::SP_DirOpenIcon), QString(), Frame1);
    bbuscar->setObjectName(QStringLiteral("bbuscar"));
    bbuscar->setIconSize(QSize(24, 24));
    texto = new QLineEdit(Frame1);
    texto->setObjectName(QStringLiteral("texto"));
    texto->setMinimumWidth(Twips(7200));
    InstalarTeclaEnter(texto);
    auto* fila = new QHBoxLayout(Frame1);
    fila->addWidget(bbuscar);
    fila->addWidget(texto, 1);

    bimportar = new QPushButton(QStringLiteral("Importar"), this);
    bimportar->setObjectName(QStringLiteral("bimportar"));
    btnCancelar = new QPushButton(QStringLiteral("&Cancelar"), this);
    btnCancelar->setObjectName(QStringLiteral("btnCancelar"));
    btnSalir = new QPushButton(QStringLiteral("&Salir"), this);
    btnSalir->setObjectName(QStringLiteral("btnSalir"));
    auto* botones = new QHBoxLayout;
    botones->addStretch(1);
    for (QPushButton* b : {bimportar, btnCancelar, btnSalir}) botones->addWidget(b);

    auto* principal = new QVBoxLayout(this);
    principal->addWidget(Frame1);
    principal->addLayout(botones);

    connect(bbuscar, &QPushButton::clicked, this, &ImpoEmpleos::bbuscar_Click);
    connect(bimportar, &QPushButton::clicked, this, &ImpoEmpleos::bimportar_Click);
    connect(btnCancelar, &QPushButton::clicked, this, &ImpoEmpleos::btnCancelar_Click);
    connect(btnSalir, &QPushButton::clicked, this, &ImpoEmpleos::btnSalir_Click);
}

void ImpoEmpleos::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (!cargada_) {
        cargada_ = true;
        Form_Load();
    }
}

void ImpoEmpleos::Form_Load() {
    Centrar(this);
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

void ImpoEmpleos::bimportar_Click() {
    if (texto->text().isEmpty()) {
        MsgBox(QStringLiteral("Debe seleccionar el archivo de actualización de sueldos"),
               vbInformation, QString());
        bbuscar->setFocus();
        return;
    }
    QFile archivo(texto->text());
    if (!archivo.open(QIODevice::ReadOnly)) {
        MsgBox(QStringLiteral("No se puede leer el archivo \"%1\": %2\n%3")
                   .arg(texto->text(), archivo.errorString(), kSinCambios),
               vbExclamation, QStringLiteral("Atención"));
        return;
    }
    const QList<LineaImportacion> lineas = LineasDeImportacion(archivo.readAll());
    archivo.close();
    std::optional<FalloImportacion> fallo;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        fallo = ImportarSueldos(Database::open(RutaBase), lineas);
    } catch (const DatabaseError& e) {
        fallo = FalloImportacion{0, e.descripcion()};
    }
    QApplication::restoreOverrideCursor();
    if (!fallo) {
        MsgBox(QStringLiteral("Importación finalizada!"), vbExclamation);
        return;
    }
    if (fallo->linea == 0) {
        MsgBox(
            QStringLiteral("No se importó el archivo.\n%1\n\n%2").arg(fallo->motivo, kSinCambios),
            vbExclamation, QStringLiteral("Atención"));
        return;
    }
    MsgBox(QStringLiteral("No se importó el archivo: falló la línea %1.\n%2\n\nCada línea debe "
                          "ser una sola instrucción que agregue, modifique o borre registros de "
                          "Categoria o Empleo. %3")
               .arg(QString::number(fallo->linea), fallo->motivo, kSinCambios),
           vbExclamation, QStringLiteral("Atención"));
}

void ImpoEmpleos::btnCancelar_Click() {
    texto->clear();
    bbuscar->setFocus();
}

void ImpoEmpleos::btnSalir_Click() {
    close();
}

}  // namespace zul
