#include "foundation/NSAssertionHandler.h"

#include "foundation/NSString.h"

#include <cstdarg>
#include <cstdio>

namespace {

std::string formatArguments(const char* format, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    int length = vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length <= 0)
        return {};
    std::string text(size_t(length) + 1, '\0');
    vsnprintf(text.data(), text.size(), format, args);
    text.resize(size_t(length));
    return text;
}

} // namespace

NSInternalInconsistencyException::NSInternalInconsistencyException(std::string method, std::string objectDescription, std::string file, int line, std::string reason)
    : _method(std::move(method))
    , _object(std::move(objectDescription))
    , _file(std::move(file))
    , _line(line)
    , _reason(std::move(reason))
{
    _what = "*** Assertion failure in " + _method + ", " + _file + ":" + std::to_string(_line);
    if (!_reason.empty())
        _what += ": " + _reason;
}

NSAssertionHandler& NSAssertionHandler::currentHandler()
{
    static NSAssertionHandler handler;
    return handler;
}

std::string NSAssertionHandler::describe(const NSObject* object)
{
    if (!object)
        return "(null)";
    return NSString::format("<%s: %p>", object->className().c_str(), static_cast<const void*>(object));
}

void NSAssertionHandler::handleFailureInMethod(std::string_view selector, const NSObject* object, std::string_view file, int line, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string reason = formatArguments(format, args);
    va_end(args);
    std::string className = object ? object->className() : std::string("nil");
    std::string method = "-[" + className + " " + std::string(selector) + "]";
    throw NSInternalInconsistencyException(method, describe(object), std::string(file), line, reason);
}

void NSAssertionHandler::handleFailureInFunction(std::string_view function, std::string_view file, int line, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string reason = formatArguments(format, args);
    va_end(args);
    throw NSInternalInconsistencyException(std::string(function) + "()", "(null)", std::string(file), line, reason);
}
