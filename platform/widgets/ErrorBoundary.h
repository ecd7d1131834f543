#pragma once
#include "DbError.h"
#include "MessageBox.h"

#include <exception>
#include <stdexcept>

class QWidget;

namespace corvane {

// Shows a caught error in a message box: a short Japanese lead, then the engine's text.
void reportError(QWidget *parent, const std::exception &error);

// Runs one event handler's work; an error ends that work with a message instead of
// ending the program. Returns false when an error was reported.
template <class Work>
bool guarded(QWidget *parent, Work &&work)
{
    try {
        work();
        return true;
    } catch (const std::exception &error) {
        reportError(parent, error);
        return false;
    }
}

// Inside work run by guarded(): the value of a database write that returned a Result, or its
// failure ending the work as an engine error does (the same message box).
template <class T>
T savedOrThrow(Result<T> result)
{
    if (!result)
        throw DbError(result.failure());
    return std::move(*result);
}

inline void savedOrThrow(const Outcome &outcome)
{
    if (!outcome)
        throw DbError(outcome.failure());
}

} // namespace corvane
