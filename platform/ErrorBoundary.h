#pragma once
#include "MessageBox.h"

#include <exception>
#include <stdexcept>

class QWidget;

namespace corvane {

// An error of the database engine, with the engine's own text.
class DbError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

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
