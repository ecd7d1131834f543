#pragma once
#include <QString>

#include <optional>
#include <utility>
#include <variant>

namespace corvane {

// A failure the user is told about: what happened, in Japanese, and the words of the library,
// driver or system that failed (often English), for whoever helps the user.
struct Failure {
    QString message;
    QString detail = {};

    // The message, and the detail on a last line 「詳細: …」 when there is one.
    QString text() const;
    // The same failure told after a line of its own (what the caller was doing).
    Failure after(const QString &lead) const;
};

// What an operation the user can see fail returns: success, or the one Failure that ended it.
// Library code never shows it; the program decides whether it becomes a message box, lines on
// standard error or an exit status. Exceptions (DbError) are used only inside a transaction,
// where they roll the whole transaction back; the function that runs the transaction turns
// them into a Failure.
class [[nodiscard]] Outcome {
public:
    Outcome() = default;
    Outcome(Failure failure) : m_failure(std::move(failure)) {}
    static Outcome failed(QString message, QString detail = {})
    {
        return Failure{std::move(message), std::move(detail)};
    }

    bool ok() const { return !m_failure; }
    explicit operator bool() const { return ok(); }
    // Only when !ok().
    const Failure &failure() const { return *m_failure; }
    // Empty when ok(); else Failure::text().
    QString errorText() const { return m_failure ? m_failure->text() : QString(); }

private:
    std::optional<Failure> m_failure;
};

// A value, or the Failure that kept the operation from making it.
template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value) : m_content(std::move(value)) {}
    Result(Failure failure) : m_content(std::move(failure)) {}

    bool ok() const { return std::holds_alternative<T>(m_content); }
    explicit operator bool() const { return ok(); }
    // Only when ok().
    T &value() { return std::get<T>(m_content); }
    const T &value() const { return std::get<T>(m_content); }
    T *operator->() { return &value(); }
    const T *operator->() const { return &value(); }
    T &operator*() { return value(); }
    const T &operator*() const { return value(); }
    // Only when !ok().
    const Failure &failure() const { return std::get<Failure>(m_content); }
    QString errorText() const { return ok() ? QString() : failure().text(); }
    Outcome outcome() const { return ok() ? Outcome() : Outcome(failure()); }

private:
    std::variant<T, Failure> m_content;
};

} // namespace corvane
