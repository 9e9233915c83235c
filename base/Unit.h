#pragma once
// The temperature unit of everything shown, exported and printed. The settings record keeps it
// as its GradosC flag (-1 Celsius, any other value Fahrenheit); unitFromGradosC is the one place
// that flag is read and gradosCFor the one place it is made.

#include <QtGlobal>

namespace orvan {

enum class Unit { Celsius, Fahrenheit };

constexpr Unit unitFromGradosC(int gradosC)
{
    return gradosC == -1 ? Unit::Celsius : Unit::Fahrenheit;
}

constexpr qint16 gradosCFor(Unit unit)
{
    return unit == Unit::Celsius ? qint16(-1) : qint16(0);
}

} // namespace orvan
