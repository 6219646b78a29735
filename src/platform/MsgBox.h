#pragma once
// Message boxes by style number, as every window of the program shows them:
// 0 OK, 4 Yes/No, 5 Retry/Cancel, plus 16 stop, 32 question, 48 exclamation, 64 information.
// Tests switch on the answering seam so that no box ever blocks.

#include <QList>
#include <QString>
#include <QtGlobal>
#include <optional>

class QFileDevice;
class QWidget;

namespace zul {

// Styles: buttons plus icon.
enum Estilo {
    vbOKOnly = 0,
    vbYesNo = 4,
    vbRetryCancel = 5,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
};

// The buttons' answers.
enum Respuesta { vbOK = 1, vbCancel = 2, vbRetry = 4, vbYes = 6, vbNo = 7 };

// Shows a modal box and returns the button chosen. Without a title the box shows the
// application's title; an empty title stays empty.
int MsgBox(const QString& texto, int estilo = 0,
           const std::optional<QString>& titulo = std::nullopt);

// Boxes shown so far, the seam's answers included: a caller can tell that one came up while it
// waited (a box that comes up under a pressed mouse button takes that button's release).
quint64 CajasMostradas();

// Text of a failed statement as the handlers show it: "Error Nro.: <número> <descripción>".
QString TextoError(int numero, const QString& descripcion);

// A system error number (errno) the clerk may meet (disk full, read-only drive, no permission,
// file in use, read or write error) in one Spanish sentence; "" for the rest.
QString CausaComunDelSistema(int error);
// The same, with the system's own text for the rest.
QString CausaDelSistema(int error);
// Why a file could not be opened, read or written, as CausaDelSistema words it.
QString CausaDeArchivo(const QFileDevice& archivo);

namespace msgbox_prueba {

struct Mensaje {
    QString texto;
    int estilo;
    QString titulo;
};

// While active, boxes are recorded instead of shown, answered from the queue; with no queued
// answer: OK, No or Cancel (the answer that changes nothing).
void activar(bool activo = true);
void responder(int respuesta);
QList<Mensaje> mostrados();
void limpiar();

}  // namespace msgbox_prueba
}  // namespace zul
