#pragma once

#include <QString>

#include <optional>
#include <utility>

// The outcome of a step that can fail: success, or a message for the user saying
// what failed and where. Every failure of the core travels up as one of these; the
// window turns it into a box, the headless tool into a line on stderr and an exit
// code.
class [[nodiscard]] Result
{
public:
    // What failed, for a caller that words its box by it: the store (phonebook.db
    // could not be read or written), another program holding the phonebook's
    // folder, or anything else (a file, the input, the network).
    enum class Cause { Other, Store, Locked };

    // Success.
    Result() = default;
    static Result failure(const QString &message, Cause cause = Cause::Other)
    {
        Result r;
        r.m_failed = true;
        r.m_message = message;
        r.m_cause = cause;
        return r;
    }

    bool ok() const { return !m_failed; }
    explicit operator bool() const { return ok(); }
    const QString &message() const { return m_message; }
    Cause cause() const { return m_cause; }

private:
    bool m_failed = false;
    QString m_message;
    Cause m_cause = Cause::Other;
};

// A value, or the failure that kept it from being made.
template <typename T> class [[nodiscard]] Expected
{
public:
    Expected(T value)
        : m_value(std::move(value))
    {
    }
    Expected(Result failure)
        : m_result(std::move(failure))
    {
    }

    bool ok() const { return m_result.ok() && m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    const QString &message() const { return m_result.message(); }
    const Result &result() const { return m_result; }

    T &value() { return *m_value; }
    const T &value() const { return *m_value; }
    T &operator*() { return *m_value; }
    const T &operator*() const { return *m_value; }
    T *operator->() { return &*m_value; }
    const T *operator->() const { return &*m_value; }

private:
    std::optional<T> m_value;
    Result m_result;
};
