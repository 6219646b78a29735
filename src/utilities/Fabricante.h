#pragma once
// Who makes this program, as the about box shows it. These are the only place to change them.

#include <QString>

namespace zul::fabricante {

inline QString Nombre() {
    return QStringLiteral("ZUL Sistemas Contables");
}

// The web address the about box's link opens, and the text the link shows.
inline QString Url() {
    return QStringLiteral("https://www.zul.example/");
}
inline QString TextoUrl() {
    return QStringLiteral("www.zul.example");
}

inline QString Direccion() {
    return QStringLiteral(
        "Av. de Mayo 1370, piso 3º, oficina 12\n"
        "C1085ABE Ciudad Autónoma de Buenos Aires\n"
        "Correo: soporte@zul.example");
}

inline QString Aviso() {
    return QStringLiteral(
        "Advertencia: este programa está protegido por las leyes de derechos de autor y los "
        "tratados internacionales. La reproducción o distribución no autorizadas de este "
        "programa, o de cualquier parte de él, pueden dar lugar a sanciones civiles y penales.");
}

}  // namespace zul::fabricante
