#include "utilities/backup.h"

#include <sys/stat.h>

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QStorageInfo>
#include <QThread>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>
#include <new>

#include "common/Globales.h"
#include "platform/MsgBox.h"
#include "platform/Ventana.h"
#include "utilities/CopiaSeguridad.h"

namespace zul {

// The folder tree shows the chosen volume only, with its root as the top entry.
class FiltroDeUnidad : public QSortFilterProxyModel {
  public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    void setRaiz(const QString& raiz) {
        raiz_ = raiz.endsWith(QLatin1Char('/')) ? raiz : raiz + QLatin1Char('/');
        invalidateFilter();
    }

  protected:
    bool filterAcceptsRow(int fila, const QModelIndex& padre) const override {
        const auto* modelo = static_cast<const QFileSystemModel*>(sourceModel());
        QString ruta = modelo->filePath(modelo->index(fila, 0, padre));
        if (!ruta.endsWith(QLatin1Char('/'))) ruta += QLatin1Char('/');
        return ruta.startsWith(raiz_) || raiz_.startsWith(ruta);
    }

  private:
    QString raiz_ = QStringLiteral("/");
};

namespace {

const QString kInstruccion =
    QStringLiteral("Seleccione la ruta donde desea guardar la copia de seguridad");

// Long folder names break after each "/" instead of running past the label's edge.
QString ConCortes(const QString& ruta) {
    QString t = ruta;
    return t.replace(QLatin1Char('/'), QStringLiteral("/\u200B"));
}

// Restores the pointer on every way out of the backup.
struct RelojDeArena {
    RelojDeArena() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~RelojDeArena() { QApplication::restoreOverrideCursor(); }
};

}  // namespace

std::function<QList<backup::Unidad>()> backup::ListarUnidades = [] {
    QList<Unidad> unidades;
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
        if (!v.isValid()) continue;
        unidades.append(
            {v.rootPath(), v.name().isEmpty() ? v.displayName() : v.name(), v.isReady()});
    }
    std::sort(unidades.begin(), unidades.end(),
              [](const Unidad& a, const Unidad& b) { return a.raiz < b.raiz; });
    return unidades;
};

std::function<backup::Identidad(const QString&)> backup::Identificar = [](const QString& carpeta) {
    struct stat datos {};
    if (::stat(QFile::encodeName(carpeta).constData(), &datos) != 0) return Identidad{};
    const QStorageInfo volumen(carpeta);
    return Identidad{
        QString::fromLocal8Bit(volumen.device()) + QLatin1Char(' ') + volumen.rootPath(),
        static_cast<qulonglong>(datos.st_dev), static_cast<qulonglong>(datos.st_ino)};
};

backup::backup(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("backup"));
    setFont(FuenteVentana());
    setWindowTitle(QStringLiteral("Copia de Seguridad"));
    setAttribute(Qt::WA_DeleteOnClose);
    ArmarVentana();
    Form_Load();
}

void backup::ArmarVentana() {
    Label2 = new QLabel(kInstruccion, this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setWordWrap(true);

    Drive1 = new QComboBox(this);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    Drive1->setSizeAdjustPolicy(QComboBox::AdjustToContents);

    carpetas_ = new QFileSystemModel(this);
    carpetas_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    carpetas_->setReadOnly(true);
    filtro_ = new FiltroDeUnidad(this);
    // A folder removed or renamed on disk moves the list's current entry to a neighbour, which
    // the user did not choose. The flag is up from before the filter passes the removal on
    // until after it has.
    connect(carpetas_, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this] { quitando_ = true; });
    filtro_->setSourceModel(carpetas_);
    connect(carpetas_, &QAbstractItemModel::rowsRemoved, this, [this] { quitando_ = false; });
    Dir1 = new QTreeView(this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    Dir1->setModel(filtro_);
    Dir1->setHeaderHidden(true);
    for (int c = 1; c < carpetas_->columnCount(); ++c) Dir1->hideColumn(c);
    Dir1->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    Dir1->header()->setStretchLastSection(false);
    Dir1->setMinimumSize(Twips(4800), Twips(2700));

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Label1->setFrameShape(QFrame::StyledPanel);
    Label1->setMinimumHeight(Twips(615));
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    confirmar = new QPushButton(QStringLiteral("Confirmar"), this);
    confirmar->setObjectName(QStringLiteral("confirmar"));
    confirmar->setToolTip(QStringLiteral("Realiza las copias de seguridad"));
    salir = new QPushButton(QStringLiteral("Salir"), this);
    salir->setObjectName(QStringLiteral("salir"));
    salir->setToolTip(QStringLiteral("Sale"));

    auto* botones = new QHBoxLayout;
    botones->addWidget(confirmar);
    botones->addStretch();
    botones->addWidget(salir);
    auto* columna = new QVBoxLayout(this);
    columna->addWidget(Label2);
    columna->addWidget(Drive1);
    columna->addWidget(Dir1, 1);
    columna->addWidget(Label1);
    columna->addLayout(botones);

    setTabOrder(Drive1, confirmar);
    setTabOrder(confirmar, salir);
    setTabOrder(salir, Dir1);

    connect(Drive1, &QComboBox::currentIndexChanged, this, &backup::Drive1_Change);
    connect(Dir1->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        if (!quitando_) Dir1_Change();
    });
    // Where the list landed after a removal is chosen with a click on it.
    connect(Dir1, &QTreeView::clicked, this, &backup::Dir1_Change);
    // The folders are read and sorted in the background and push the chosen one out of view:
    // it is brought back until the user moves about the list.
    const auto seguir = [this] {
        if (seguir_) QTimer::singleShot(0, this, &backup::MostrarElegida);
    };
    connect(filtro_, &QAbstractItemModel::rowsInserted, this, seguir);
    connect(filtro_, &QAbstractItemModel::layoutChanged, this, seguir);
    connect(Dir1, &QTreeView::pressed, this, [this] { seguir_ = false; });
    connect(Dir1->verticalScrollBar(), &QScrollBar::actionTriggered, this,
            [this] { seguir_ = false; });
    connect(confirmar, &QPushButton::clicked, this, &backup::confirmar_Click);
    connect(salir, &QPushButton::clicked, this, &backup::salir_Click);
}

void backup::Form_Load() {
    // Starts where the user keeps files: the home folder, on its volume.
    const QString casa = QDir::homePath();
    const QList<Unidad> unidades = ListarUnidades();
    int elegida = 0;
    qsizetype largo = -1;
    {
        const QSignalBlocker sinAvisos(Drive1);
        for (int i = 0; i < unidades.size(); ++i) {
            const Unidad& u = unidades[i];
            const bool rotulada = !u.nombre.isEmpty() && u.nombre != u.raiz;
            Drive1->addItem(
                rotulada ? u.raiz + QStringLiteral(" [") + u.nombre + QLatin1Char(']') : u.raiz,
                u.raiz);
            const QString raiz = u.raiz.endsWith(QLatin1Char('/')) ? u.raiz : u.raiz + '/';
            if ((casa + QLatin1Char('/')).startsWith(raiz) && raiz.size() > largo) {
                elegida = i;
                largo = raiz.size();
            }
        }
        Drive1->setCurrentIndex(unidades.isEmpty() ? -1 : elegida);
    }
    if (!unidades.isEmpty() && UnidadLista(unidades[elegida].raiz)) {
        unidadAnterior_ = elegida;
        MostrarUnidad(unidades[elegida].raiz);
        if (largo >= 0) ElegirCarpeta(casa);
    }
    MsgBox(QStringLiteral("Asegurarse que ningún usuario\nesté utilizando el sistema."), vbCritical,
           QStringLiteral("Mensaje"));
    adjustSize();
    Centrar(this);
}

bool backup::UnidadLista(const QString& raiz) const {
    for (const Unidad& u : ListarUnidades())
        if (u.raiz == raiz) return u.lista && QFileInfo(raiz).isDir();
    return false;
}

void backup::MostrarUnidad(const QString& raiz) {
    filtro_->setRaiz(raiz);
    carpetas_->setRootPath(raiz);
    Dir1->setRootIndex(filtro_->mapFromSource(carpetas_->index(raiz).parent()));
    ElegirCarpeta(raiz);
}

void backup::Drive1_Change() {
    for (;;) {
        const QString raiz = Drive1->currentData().toString();
        if (UnidadLista(raiz)) {
            unidadAnterior_ = Drive1->currentIndex();
            MostrarUnidad(raiz);
            return;
        }
        if (MsgBox(QStringLiteral("Unidad no está lista"), vbRetryCancel,
                   QStringLiteral("Mensaje")) != vbRetry)
            break;
    }
    // Back to the volume the folder list still shows.
    const QSignalBlocker sinAvisos(Drive1);
    Drive1->setCurrentIndex(unidadAnterior_);
}

void backup::ElegirCarpeta(const QString& ruta) {
    const QModelIndex i = filtro_->mapFromSource(carpetas_->index(ruta));
    if (i.isValid()) Dir1->setCurrentIndex(i);
    seguir_ = true;
    Dir1_Change();
    MostrarElegida();
}

void backup::MostrarElegida() {
    const QModelIndex i = Dir1->currentIndex();
    for (QModelIndex p = i.parent(); p.isValid(); p = p.parent()) Dir1->expand(p);
    if (!i.isValid()) return;
    // The scroll range must know the rows just read before it can reach the folder.
    Dir1->doItemsLayout();
    Dir1->scrollTo(i);
}

void backup::Dir1_Change() {
    const QModelIndex i = Dir1->currentIndex();
    carpeta_ = i.isValid() ? carpetas_->filePath(filtro_->mapToSource(i))
                           : Drive1->currentData().toString();
    Label1->setText(ConCortes(carpeta_));
    elegida_ = Identificar(carpeta_);
}

void backup::confirmar_Click() {
    if (carpeta_.isEmpty() || copiando_) return;
    QString motivo = CarpetaCambiada();
    if (motivo.isEmpty())
        motivo = Copiar(QDir(carpeta_).filePath(NombreCopia(QDate::currentDate())));
    if (motivo.isEmpty())
        MsgBox(QStringLiteral("La copia de seguridad se ha realizado con éxito"), vbExclamation,
               QString());
    else
        MsgBox(QStringLiteral("Se ha producido un error al copiar\n") + motivo, vbExclamation,
               QStringLiteral("Mensaje"));
}

// Why the chosen folder is no longer the one chosen; nothing when it is. A missing folder, or
// a file in its place, is told by the archive's own checks.
QString backup::CarpetaCambiada() const {
    if (!QFileInfo(carpeta_).isDir()) return {};
    const Identidad ahora = Identificar(carpeta_);
    if (ahora.unidad != elegida_.unidad)
        return QStringLiteral(
                   "La carpeta %1 ya no está en la unidad elegida: la unidad fue "
                   "retirada o cambiada. Elija la carpeta de nuevo.")
            .arg(carpeta_);
    if (ahora != elegida_)
        return QStringLiteral(
                   "La carpeta %1 fue movida o reemplazada por otra. Elija la carpeta "
                   "de nuevo.")
            .arg(carpeta_);
    return {};
}

// Writes the archive in a thread of its own (with connections of its own) while the window keeps
// painting; returns why it failed, or nothing. The window may be deleted meanwhile, when the
// program ends: nothing of it is touched then.
QString backup::Copiar(const QString& archivo) {
    QString motivo;
    const QString rutaBase = RutaBase;
    const std::unique_ptr<QThread> hilo(QThread::create([&] {
        try {
            GenerarCopia(rutaBase, archivo);
        } catch (const ErrorCopia& e) {
            motivo = e.motivo();
        } catch (const std::bad_alloc&) {
            motivo = QStringLiteral("No hay memoria suficiente para copiar la base de datos.");
        }
    }));
    const QPointer<backup> ventana(this);
    Ocupada(true);
    {
        RelojDeArena reloj;
        QEventLoop espera;
        connect(hilo.get(), &QThread::finished, &espera, &QEventLoop::quit);
        hilo->start();
        espera.exec();
        // The program ending stops every event loop: the archive is finished all the same.
        hilo->wait();
    }
    if (ventana) Ocupada(false);
    return motivo;
}

void backup::Ocupada(bool ocupada) {
    copiando_ = ocupada;
    for (QWidget* control : std::initializer_list<QWidget*>{Drive1, Dir1, confirmar, salir})
        control->setEnabled(!ocupada);
    Label2->setText(ocupada ? QStringLiteral("Generando la copia de seguridad, espere por favor...")
                            : kInstruccion);
}

void backup::closeEvent(QCloseEvent* evento) {
    // Not while the archive is being written: the window reports how it ended.
    if (copiando_)
        evento->ignore();
    else
        QWidget::closeEvent(evento);
}

void backup::salir_Click() {
    close();
}

}  // namespace zul
