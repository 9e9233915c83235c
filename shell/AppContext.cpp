#include "shell/AppContext.h"

#include "link/Encodings.h"

namespace orvan::shell {

QString AppContext::UnidadTexto() const
{
    return link::UnidadTexto(config.GradosC);
}

} // namespace orvan::shell
