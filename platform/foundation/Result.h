#pragma once

// What an operation that can fail for a reason answers: its value, or the reason in words.
//
//     Result<std::string> bytes = posix::readRegularFile(path, limit);
//     if (!bytes)
//         return fail(bytes.error());
//
// A failure is made from `Failure {"why"}`; asking a failure for its value, or a value for
// its error, is a programming fault and aborts.

#include <cstdlib>
#include <string>
#include <utility>
#include <variant>

struct Failure {
    std::string reason;
};

template<typename T>
class [[nodiscard]] Result {
public:
    Result(T value)
        : _state(std::in_place_index<0>, std::move(value))
    {
    }
    Result(Failure failure)
        : _state(std::in_place_index<1>, std::move(failure.reason))
    {
    }

    bool ok() const { return _state.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() & { return *checked(std::get_if<0>(&_state)); }
    const T& value() const& { return *checked(std::get_if<0>(&_state)); }
    T&& value() && { return std::move(*checked(std::get_if<0>(&_state))); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }

    const std::string& error() const { return *checked(std::get_if<1>(&_state)); }

private:
    template<typename P>
    static P* checked(P* pointer)
    {
        if (!pointer)
            std::abort();
        return pointer;
    }

    std::variant<T, std::string> _state;
};

// An operation with nothing to answer but whether it worked.
template<>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Failure failure)
        : _failed(true)
        , _error(std::move(failure.reason))
    {
    }

    bool ok() const { return !_failed; }
    explicit operator bool() const { return ok(); }
    const std::string& error() const
    {
        if (!_failed)
            std::abort();
        return _error;
    }

private:
    bool _failed = false;
    std::string _error;
};
