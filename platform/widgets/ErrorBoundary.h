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

} // namespace corvane
