#pragma once
// A stand-in sendmail for tests: an executable "sendmail" put first on PATH that keeps its
// arguments and every message it receives (or fails, when asked to), and a reader that parses
// a kept message back with GMime.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace zul::prueba {

class SendmailDePrueba {
  public:
    // With a non-zero code the script writes "cola de correo llena" to stderr and exits with it.
    explicit SendmailDePrueba(int codigoSalida = 0);
    ~SendmailDePrueba();  // PATH as it was
    SendmailDePrueba(const SendmailDePrueba&) = delete;
    SendmailDePrueba& operator=(const SendmailDePrueba&) = delete;

    int mensajes() const;                // messages received so far
    QByteArray mensaje(int n) const;     // the n-th (from 0), as sendmail read it
    QByteArray argumentos(int n) const;  // its command line arguments, "-t -i"

  private:
    QByteArray leer(const QString& nombre) const;
    QTemporaryDir dir_;
    QByteArray pathAnterior_;
};

// A message parsed back: recipients, decoded subject, body text and attachments.
struct MensajeLeido {
    struct Adjunto {
        QString nombre;
        QString tipo;          // "application/rtf"
        QString codificacion;  // "base64"
        QByteArray datos;      // decoded bytes
    };
    bool valido = false;
    QStringList destinatarios;
    QString asunto;
    QString cuerpo;
    QList<Adjunto> adjuntos;
};
MensajeLeido LeerMensaje(const QByteArray& crudo);

}  // namespace zul::prueba
