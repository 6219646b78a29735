#pragma once
// What a window shows cut off: every visible label, button, box, frame title, grid header and
// grid cell whose text does not fit the room it has, measured with the fonts in use.

#include <QStringList>

class QWidget;

namespace zul::prueba {

// One line per text that does not show whole ("Label1_3: 'Domicilio:' 52 > 48").
QStringList TextosCortados(const QWidget* ventana);

}  // namespace zul::prueba
