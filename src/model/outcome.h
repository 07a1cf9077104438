#pragma once
// A value or the one-line reason why there is none.
#include <optional>
#include <string>
#include <utility>

namespace fw {

template <class T>
class Outcome {
  public:
    static Outcome Ok(T value) { return Outcome(std::move(value), {}); }
    static Outcome Fail(std::string reason) { return Outcome(std::nullopt, std::move(reason)); }

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    const T& value() const& { return *value_; }
    T&& value() && { return std::move(*value_); }
    const T* operator->() const { return &*value_; }
    // Empty when ok().
    const std::string& reason() const { return reason_; }

  private:
    Outcome(std::optional<T> value, std::string reason)
        : value_(std::move(value)), reason_(std::move(reason)) {}
    std::optional<T> value_;
    std::string reason_;
};

}  // namespace fw
