#pragma once
// The backup window: the user picks a volume and a folder, and Confirmar archives the database
// in use there as " ZULddmmyyyy.zip" holding ZUL.mdb.

#include <QList>
#include <QString>
#include <QWidget>
#include <functional>

class QComboBox;
class QFileSystemModel;
class QLabel;
class QPushButton;
class QTreeView;

namespace zul {

class FiltroDeUnidad;

class backup : public QWidget {
    Q_OBJECT
  public:
    // A mounted volume, as the volume list shows it.
    struct Unidad {
        QString raiz;    // where it is mounted
        QString nombre;  // its label, or what the system calls it
        bool lista = true;
    };
    // The mounted volumes (QStorageInfo); tests put their own.
    static std::function<QList<Unidad>()> ListarUnidades;

    // Which folder a path is: its volume, and the folder itself on that volume.
    struct Identidad {
        QString unidad;
        qulonglong dispositivo = 0;
        qulonglong nodo = 0;
        bool operator==(const Identidad&) const = default;
    };
    // Tests put their own, to take a volume away.
    static std::function<Identidad(const QString& carpeta)> Identificar;

    explicit backup(QWidget* parent = nullptr);

    void Form_Load();
    void Drive1_Change();
    void Dir1_Change();
    void confirmar_Click();
    void salir_Click();

    // The folder the archive goes to, as Label1 shows it.
    QString carpeta() const { return carpeta_; }
    // Moves the folder list to `ruta` inside the chosen volume, as a click there does.
    void ElegirCarpeta(const QString& ruta);

  protected:
    void closeEvent(QCloseEvent* evento) override;

  private:
    void ArmarVentana();
    bool UnidadLista(const QString& raiz) const;
    void MostrarUnidad(const QString& raiz);
    void MostrarElegida();
    QString CarpetaCambiada() const;
    QString Copiar(const QString& archivo);
    void Ocupada(bool ocupada);

    QLabel* Label2 = nullptr;
    QComboBox* Drive1 = nullptr;
    QTreeView* Dir1 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* confirmar = nullptr;
    QPushButton* salir = nullptr;
    QFileSystemModel* carpetas_ = nullptr;
    FiltroDeUnidad* filtro_ = nullptr;
    int unidadAnterior_ = -1;  // where Cancel on a volume that is not ready goes back to
    QString carpeta_;
    Identidad elegida_;      // carpeta_ when the user chose it
    bool seguir_ = false;    // keep the chosen folder in view while the list fills
    bool quitando_ = false;  // folders are leaving the list: its current entry is not a choice
    bool copiando_ = false;
};

}  // namespace zul
