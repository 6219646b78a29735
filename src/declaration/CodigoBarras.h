#pragma once
// The payment bar code of a declaration: 32 digits ("4520", the company's CUIT, the period as
// MMYYYY, the total in cents as 10 digits, a check digit), the text an Interleaved 2 of 5 font
// draws from them, and the bars themselves for the printed coupon.

#include <QImage>
#include <QString>
#include <QVariant>
#include <optional>

namespace zul {

// The digits and the font text stored with a saved declaration.
struct CodigoDePago {
    QString digitos;  // DDJJ_CODBAR
    QString fuente;   // DDJJ_fcodbar
};

// Either the code or, when it cannot be built, the reason in words the user can read.
struct ResultadoCodBar {
    std::optional<CodigoDePago> codigo;
    QString error;
    explicit operator bool() const { return codigo.has_value(); }
};

// Check digit over a digit text: weights 9, 7, 1, 3 repeated from the left; (10 - sum) mod 10.
int DigitoVerificador(const QString& digitos);

// The digits of a text, first n kept (0 means 11), zero-padded on the left to n.
QString SoloNumeros(const QString& texto, int n = 0);

// Font text: start "«", one character per digit pair (v + 33 below 90, v + 71 from 90), stop
// "¬". An odd-length text gets a leading "0".
QString I2of5(const QString& digitos);

// Builds the code from the stored CUIT (any separators; Null counts as empty), the period
// "mm/yyyy" and the total to deposit as the window shows it ("1234,5"). The total is rounded to
// cents half to even on its exact value. Refuses a period that is not a month, a total that is
// not a number, below 0, or of 100.000.000 or more (it would not fit the 10 digits).
ResultadoCodBar ArmarCodBar(const QVariant& cuit, const QString& periodo, const QString& total);

// The same for the current company (IdEmpresa), its CUIT read from the database at RutaBase.
// A company row that no longer exists refuses the code. Database failures throw DatabaseError.
ResultadoCodBar ArmarCodBar(const QString& periodo, const QString& total);

// Interleaved 2 of 5 bars: narrow modules of `modulo` pixels, wide ones 2.5 times as wide,
// start and stop patterns and quiet zones of 10 narrow modules on each side, on white. An odd
// number of digits gets a leading "0"; anything but digits gives a null image.
QImage ImagenI2of5(const QString& digitos, int modulo = 4, int alto = 200);

}  // namespace zul
