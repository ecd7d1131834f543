#pragma once

#include "Outcome.h"

namespace corvane {

// An engine's failure as a printing run reports it: what the run could not do, above the
// engine's own message; the detail stays the engine's.
inline Failure runFailure(const QString &what, const Failure &engine)
{
    return Failure{what + u'\n' + engine.message, engine.detail};
}

} // namespace corvane
