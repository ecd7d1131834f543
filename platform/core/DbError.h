#pragma once
#include "Outcome.h"

#include <stdexcept>
#include <utility>

namespace corvane {

// A failure of the database engine inside a transaction, thrown so that the transaction rolls
// back as a whole; the function that runs the transaction returns its Failure. what() is the
// Failure's text.
class DbError : public std::runtime_error {
public:
    explicit DbError(Failure failure) : std::runtime_error(failure.text().toStdString()), m_failure(std::move(failure))
    {}
    const Failure &failure() const { return m_failure; }

private:
    Failure m_failure;
};

// The Failure of a caught exception: a DbError's own, else its text.
inline Failure failureOf(const std::exception &error)
{
    if (const auto *dbError = dynamic_cast<const DbError *>(&error))
        return dbError->failure();
    return {QString::fromStdString(error.what())};
}

} // namespace corvane
