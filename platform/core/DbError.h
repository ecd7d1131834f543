#pragma once
#include <stdexcept>

namespace corvane {

// An error of the database engine, with the engine's own text.
class DbError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace corvane
