#pragma once

// The outcome of an operation that can fail in a way the user is told about: success, or the
// message (GBK) the user sees. The operation never shows the message itself; its caller does
// (through the message sink, a message box or standard error). Bugs are asserted instead
// (base/Assert.h).

#include <optional>
#include <string>
#include <utility>

namespace quarrant {

class [[nodiscard]] Status {
public:
    // Success.
    Status() = default;
    static Status Failure(std::string gbkMessage) { return Status(std::move(gbkMessage)); }

    bool Ok() const { return !m_failed; }
    explicit operator bool() const { return Ok(); }
    // The message the user sees; empty on success.
    const std::string& Message() const { return m_message; }

private:
    explicit Status(std::string message) : m_failed(true), m_message(std::move(message)) {}

    bool m_failed = false;
    std::string m_message;
};

// A value, or the message of why there is none.
template <class T>
class [[nodiscard]] Result {
public:
    Result(T value) : m_value(std::move(value)) {}            // NOLINT: a value converts to success
    Result(Status failure) : m_status(std::move(failure)) {}  // NOLINT: so does a failure

    bool Ok() const { return m_value.has_value(); }
    explicit operator bool() const { return Ok(); }
    const std::string& Message() const { return m_status.Message(); }
    const Status& GetStatus() const { return m_status; }

    T& Value() & { return *m_value; }
    // The value, or fallback when there is none (the caller goes on without it).
    T ValueOr(T fallback) const& { return m_value ? *m_value : std::move(fallback); }
    const T& Value() const& { return *m_value; }
    T&& Value() && { return std::move(*m_value); }

private:
    std::optional<T> m_value;
    Status m_status;
};

}  // namespace quarrant
