#include "SendmailDePrueba.h"

// GLib names a struct member "signals", which Qt defines as a keyword macro.
#pragma push_macro("signals")
#undef signals
#include <gmime/gmime.h>
#pragma pop_macro("signals")

#include <QDir>
#include <QFile>

namespace zul::prueba {

SendmailDePrueba::SendmailDePrueba(int codigoSalida) : pathAnterior_(qgetenv("PATH")) {
    QFile f(dir_.filePath("sendmail"));
    f.open(QIODevice::WriteOnly);
    f.write(QString("#!/bin/sh\n"
                    "d=\"$(dirname \"$0\")\"\n"
                    "n=$(ls \"$d\" | grep -c '^mensaje')\n"
                    "echo \"$@\" > \"$d/args$n\"\n"
                    "cat > \"$d/mensaje$n\"\n"
                    "if [ %1 -ne 0 ]; then echo 'cola de correo llena' >&2; fi\n"
                    "exit %1\n")
                .arg(codigoSalida)
                .toUtf8());
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("PATH", (dir_.path() + ":").toUtf8() + pathAnterior_);
}

SendmailDePrueba::~SendmailDePrueba() {
    qputenv("PATH", pathAnterior_);
}

int SendmailDePrueba::mensajes() const {
    return int(QDir(dir_.path()).entryList({"mensaje*"}, QDir::Files).size());
}

QByteArray SendmailDePrueba::mensaje(int n) const {
    return leer("mensaje" + QString::number(n));
}

QByteArray SendmailDePrueba::argumentos(int n) const {
    return leer("args" + QString::number(n)).trimmed();
}

QByteArray SendmailDePrueba::leer(const QString& nombre) const {
    QFile f(dir_.filePath(nombre));
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

namespace {

QByteArray Contenido(GMimePart* parte) {
    GMimeStream* salida = g_mime_stream_mem_new();
    g_mime_data_wrapper_write_to_stream(g_mime_part_get_content(parte), salida);
    GByteArray* b = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(salida));
    QByteArray r(reinterpret_cast<const char*>(b->data), int(b->len));
    g_object_unref(salida);
    return r;
}

}  // namespace

MensajeLeido LeerMensaje(const QByteArray& crudo) {
    g_mime_init();
    MensajeLeido r;
    GMimeStream* flujo = g_mime_stream_mem_new_with_buffer(crudo.constData(), crudo.size());
    GMimeParser* parser = g_mime_parser_new_with_stream(flujo);
    GMimeMessage* msg = g_mime_parser_construct_message(parser, nullptr);
    g_object_unref(parser);
    g_object_unref(flujo);
    if (!msg) return r;
    r.valido = true;
    InternetAddressList* to = g_mime_message_get_to(msg);
    for (int i = 0; i < internet_address_list_length(to); ++i) {
        InternetAddress* a = internet_address_list_get_address(to, i);
        if (INTERNET_ADDRESS_IS_MAILBOX(a))
            r.destinatarios << QString::fromUtf8(
                internet_address_mailbox_get_addr(INTERNET_ADDRESS_MAILBOX(a)));
    }
    r.asunto = QString::fromUtf8(g_mime_message_get_subject(msg));

    QList<GMimeObject*> partes;
    GMimeObject* raiz = g_mime_message_get_mime_part(msg);
    if (GMIME_IS_MULTIPART(raiz)) {
        for (int i = 0; i < g_mime_multipart_get_count(GMIME_MULTIPART(raiz)); ++i)
            partes << g_mime_multipart_get_part(GMIME_MULTIPART(raiz), i);
    } else {
        partes << raiz;
    }
    for (GMimeObject* p : partes) {
        if (!GMIME_IS_PART(p)) continue;
        GMimePart* parte = GMIME_PART(p);
        if (g_mime_part_is_attachment(parte)) {
            GMimeContentType* ct = g_mime_object_get_content_type(p);
            char* tipo = g_mime_content_type_get_mime_type(ct);
            r.adjuntos << MensajeLeido::Adjunto{
                QString::fromUtf8(g_mime_part_get_filename(parte)), QString::fromUtf8(tipo),
                QString::fromUtf8(
                    g_mime_content_encoding_to_string(g_mime_part_get_content_encoding(parte))),
                Contenido(parte)};
            g_free(tipo);
        } else if (GMIME_IS_TEXT_PART(p) && r.cuerpo.isEmpty()) {
            char* texto = g_mime_text_part_get_text(GMIME_TEXT_PART(p));
            r.cuerpo = QString::fromUtf8(texto);
            g_free(texto);
        }
    }
    g_object_unref(msg);
    return r;
}

}  // namespace zul::prueba
