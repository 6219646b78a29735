#pragma once
// Currency amounts: a signed 64-bit count of ten-thousandths. A double becomes one by rounding
// to the nearest ten-thousandth, ties to even, on the double's shortest decimal text (so the
// 2,675 a user typed is exactly 2,6750, not the binary 2,67499999...).

#include <QString>
#include <QtGlobal>
#include <optional>

namespace zul {

class Moneda {
  public:
    constexpr Moneda() = default;
    static constexpr Moneda desdeDiezmilesimos(qint64 d) { return Moneda(d); }
    // Beyond the range of ten-thousandths the amount saturates (for reading stored values).
    static Moneda desdeDouble(double valor);
    // nullopt when the value is not finite or beyond the range: a computation must refuse it.
    static std::optional<Moneda> convertir(double valor);
    // "1234,5" and the like (the program's own number texts); nullopt when not a number.
    static std::optional<Moneda> desdeTexto(const QString& texto);
    // An amount as users here type it (TextoImporte): "1.234,50", "1234,5", "1.234.567", or
    // "1234.50" and "0.125" with a lone point as the decimal point. nullopt when not an amount,
    // or when the amount is not held whole (more than four decimals, or out of enRango).
    static std::optional<Moneda> desdeImporte(const QString& texto);
    // Amounts the program takes and writes: fifteen digits at most, four of them decimals, so
    // the database gives every digit back and the boxes show them all.
    static constexpr qint64 kMaximo = 999'999'999'999'999;
    constexpr bool enRango() const { return d_ >= -kMaximo && d_ <= kMaximo; }

    constexpr qint64 diezmilesimos() const { return d_; }
    double aDouble() const { return static_cast<double>(d_) / 10000.0; }
    // Rounded to whole cents, ties to even, on the exact amount.
    qint64 centavos() const;
    // As the program shows numbers: "," decimal, no grouping, no trailing zeros ("1234,5").
    QString texto() const;

    constexpr Moneda operator+(Moneda o) const { return Moneda(d_ + o.d_); }
    constexpr Moneda operator-(Moneda o) const { return Moneda(d_ - o.d_); }
    // nullopt when the sum leaves the range instead of wrapping.
    std::optional<Moneda> mas(Moneda o) const {
        qint64 r;
        if (__builtin_add_overflow(d_, o.d_, &r)) return std::nullopt;
        return Moneda(r);
    }
    Moneda& operator+=(Moneda o) {
        d_ += o.d_;
        return *this;
    }
    constexpr auto operator<=>(const Moneda&) const = default;

  private:
    constexpr explicit Moneda(qint64 d) : d_(d) {}
    qint64 d_ = 0;
};

// Integer division rounded half to even (divisor > 0).
qint64 DividirRedondeoPar(qint64 dividendo, qint64 divisor);

// False for a money box's text that reads as a number the box cannot hold whole (more decimals
// than four, or beyond the range): it is refused with MensajeImporteExcedido, never cut or
// rounded. Any other text (an amount, nothing, no number) is for the box's own checks.
bool ImporteCabe(const QString& texto);
// Each kind of money box is refused in its own words.
enum class CajaImporte { Importe, Porcentaje };
QString MensajeImporteExcedido(CajaImporte caja = CajaImporte::Importe);
// `que` names the salary ("El sueldo"): a salary is never below zero.
QString MensajeImporteNegativo(const QString& que);
// The typing limit of a money box: room for every amount it takes whole, grouped and signed.
constexpr int kLargoImporte = 30;
// What a money box shows once left: the amount it reads as, in the program's notation; a text
// that is no amount stays as typed, for the save to refuse.
QString ImporteLeido(const QString& texto);
// The SQL literal of a money box's amount; "0" for a box that holds none.
QString ImporteSQL(const QString& texto);

}  // namespace zul
