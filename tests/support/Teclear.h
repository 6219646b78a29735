#pragma once
// Typing as the user does, accented letters included (QTest::keyClicks knows only ASCII).

#include <QString>

class QWidget;

namespace zul::prueba {

// One key press and release per character, each carrying its text.
void Teclear(QWidget* control, const QString& texto);

}  // namespace zul::prueba
