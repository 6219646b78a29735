#include "platform/MsgBox.h"

#include <QApplication>
#include <QFileDevice>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <cerrno>
#include <cstring>

namespace zul {
namespace {

bool modoPrueba = false;
quint64 mostradas = 0;
QList<int> respuestas;
QList<msgbox_prueba::Mensaje> registro;

int respuestaNeutra(int botones) {
    switch (botones) {
        case 4:
            return vbNo;
        case 5:
            return vbCancel;
        default:
            return vbOK;
    }
}

}  // namespace

int MsgBox(const QString& texto, int estilo, const std::optional<QString>& titulo) {
    const QString t = titulo.value_or(QApplication::applicationDisplayName());
    const int botones = estilo & 0x0F;
    ++mostradas;
    if (modoPrueba) {
        registro.append({texto, estilo, t});
        return respuestas.isEmpty() ? respuestaNeutra(botones) : respuestas.takeFirst();
    }
    QMessageBox caja(QApplication::activeWindow());
    caja.setWindowTitle(t);
    caja.setText(texto);
    switch (estilo & 0x70) {
        case 16:
            caja.setIcon(QMessageBox::Critical);
            break;
        case 32:
            caja.setIcon(QMessageBox::Question);
            break;
        case 48:
            caja.setIcon(QMessageBox::Warning);
            break;
        case 64:
            caja.setIcon(QMessageBox::Information);
            break;
        default:
            break;
    }
    struct Boton {
        QString texto;
        int respuesta;
    };
    QList<Boton> lista;
    if (botones == 4)
        lista = {{"&Sí", vbYes}, {"&No", vbNo}};
    else if (botones == 5)
        lista = {{"&Reintentar", vbRetry}, {"Cancelar", vbCancel}};
    else
        lista = {{"Aceptar", vbOK}};
    QList<QPushButton*> creados;
    for (const Boton& b : lista) creados << caja.addButton(b.texto, QMessageBox::AcceptRole);
    caja.setDefaultButton(creados.first());
    // Esc answers No / Cancel / OK, as the buttons without consequence.
    caja.setEscapeButton(creados.last());
    caja.exec();
    for (int i = 0; i < creados.size(); ++i)
        if (caja.clickedButton() == creados[i]) return lista[i].respuesta;
    return respuestaNeutra(botones);
}

quint64 CajasMostradas() {
    return mostradas;
}

QString TextoError(int numero, const QString& descripcion) {
    return QStringLiteral("Error Nro.: %1 %2").arg(numero).arg(descripcion);
}

namespace {

// The system's error numbers the clerk may meet, each in one Spanish sentence.
const struct {
    int error;
    const char* causa;
} kCausasComunes[] = {
    {ENOSPC, "El disco está lleno."},
    {EDQUOT, "El disco está lleno."},
    {EROFS, "La unidad es de sólo lectura."},
    {EACCES, "No tiene permiso para usar el archivo."},
    {EPERM, "No tiene permiso para usar el archivo."},
    {EBUSY, "El archivo está en uso."},
    {ETXTBSY, "El archivo está en uso."},
    {EIO, "Error de lectura o escritura en la unidad."},
    {ENOENT, "El archivo o la carpeta no existe."},
    {EISDIR, "La ruta es una carpeta, no un archivo."},
    {ENOTDIR, "Parte de la ruta es un archivo, no una carpeta."},
    {ENAMETOOLONG, "El nombre del archivo es demasiado largo."},
    {EMFILE, "Hay demasiados archivos abiertos."},
    {ENFILE, "Hay demasiados archivos abiertos."},
    {ENOMEM, "No hay memoria suficiente."},
};

}  // namespace

QString CausaComunDelSistema(int error) {
    for (const auto& c : kCausasComunes)
        if (c.error == error) return QString::fromUtf8(c.causa);
    return {};
}

QString CausaDelSistema(int error) {
    const QString comun = CausaComunDelSistema(error);
    return comun.isEmpty() ? QString::fromLocal8Bit(std::strerror(error)) : comun;
}

QString CausaDeArchivo(const QFileDevice& archivo) {
    if (QFileInfo(archivo.fileName()).isDir()) return CausaComunDelSistema(EISDIR);
    // Qt keeps only the system's words for the failure: the number behind them is found by them.
    const QString texto = archivo.errorString();
    for (const auto& c : kCausasComunes)
        if (texto == QString::fromLocal8Bit(std::strerror(c.error)))
            return QString::fromUtf8(c.causa);
    return texto;
}

namespace msgbox_prueba {
void activar(bool activo) {
    modoPrueba = activo;
}
void responder(int respuesta) {
    respuestas.append(respuesta);
}
QList<Mensaje> mostrados() {
    return registro;
}
void limpiar() {
    registro.clear();
    respuestas.clear();
}
}  // namespace msgbox_prueba
}  // namespace zul
