// A value or an error message: how catalog readers report damaged input without throwing.
#pragma once

#include <optional>
#include <string>
#include <utility>

namespace cw::catalog {

template <class T>
class Result {
public:
    Result(T value) : value_(std::move(value)) {}
    static Result failure(std::string message)
    {
        Result r;
        r.error_ = std::move(message);
        return r;
    }

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    const T& value() const& { return *value_; }
    T& value() & { return *value_; }
    T&& value() && { return std::move(*value_); }
    const T& operator*() const& { return *value_; }
    T& operator*() & { return *value_; }
    const T* operator->() const { return &*value_; }
    T* operator->() { return &*value_; }
    // The message for the player: it names the file, the section and the row.
    const std::string& error() const { return error_; }

private:
    Result() = default;
    std::optional<T> value_;
    std::string error_;
};

} // namespace cw::catalog
