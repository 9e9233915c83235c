#include "base/AppContext.h"

#include "base/Encodings.h"

namespace orvan {

QString AppContext::UnidadTexto() const
{
    return orvan::UnidadTexto(unit());
}

} // namespace orvan
