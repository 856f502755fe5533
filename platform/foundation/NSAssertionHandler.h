#pragma once

// The platform's assertion handler: a failed precondition raises an internal-inconsistency
// error carrying where it happened. what() reads like the platform's log line:
// "*** Assertion failure in -[UIColor red], UIColor-Toolkit:42: <message>".

#include "runtime/NSObject.h"

#include <exception>
#include <string>
#include <string_view>

class NSInternalInconsistencyException : public std::exception {
public:
    NSInternalInconsistencyException(std::string method, std::string objectDescription, std::string file, int line, std::string reason);

    static constexpr const char* name() { return "NSInternalInconsistencyException"; }
    const std::string& method() const { return _method; }
    const std::string& objectDescription() const { return _object; }
    const std::string& file() const { return _file; }
    int line() const { return _line; }
    const std::string& reason() const { return _reason; }
    const char* what() const noexcept override { return _what.c_str(); }

private:
    std::string _method;
    std::string _object;
    std::string _file;
    int _line;
    std::string _reason;
    std::string _what;
};

class NSAssertionHandler {
public:
    static NSAssertionHandler& currentHandler();

    // Raises for a failure in the method `selector` of `object` ("-[Class selector]").
    [[noreturn]] void handleFailureInMethod(std::string_view selector, const NSObject* object, std::string_view file, int line, const char* format, ...)
        __attribute__((format(printf, 6, 7)));
    // Raises for a failure in a free function.
    [[noreturn]] void handleFailureInFunction(std::string_view function, std::string_view file, int line, const char* format, ...)
        __attribute__((format(printf, 5, 6)));

    // "<Class: 0x...>", or "(null)" for no object.
    static std::string describe(const NSObject* object);
};
