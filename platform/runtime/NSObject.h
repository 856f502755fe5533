#pragma once

// The object model: reference-counted objects whose classes are known by name and
// whose selectors can be sent by name, as the phone's runtime does for target-action,
// performSelector and classes found with objc_getClass.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

class NSObject;
class Class;

namespace runtime {

// Makes an object in two phases: constructs it, puts it in its shared pointer, then runs its
// didConstruct() once. Every object should be made this way; the class registry does.
template<typename T, typename... Args>
std::shared_ptr<T> make(Args&&... args);

// Proof that runtime::make is the one constructing. A class whose setup lives in
// didConstruct() takes one as the first parameter of its constructors and hands it to its
// base, so that std::make_shared or new, which would skip that setup, do not compile.
class Construction {
    Construction() = default;
    template<typename T, typename... Args>
    friend std::shared_ptr<T> make(Args&&... args);
};

} // namespace runtime

using id = std::shared_ptr<NSObject>;
using SEL = std::string_view;

// A selector implementation: the receiver, one optional object argument, an object result.
using IMP = std::function<id(NSObject& self, const id& argument)>;
// A class method: no receiver, one optional object argument, an object result.
using ClassIMP = std::function<id(const id& argument)>;

class Class {
public:
    using Factory = std::function<id()>;

    Class(std::string name, const Class* superclass, Factory factory);

    const std::string& name() const { return _name; }
    const Class* superclass() const { return _superclass; }

    // alloc + init, through runtime::make (so didConstruct() runs); nothing for a class that
    // cannot be instantiated by name.
    id createInstance() const;

    bool isSubclassOfClass(const Class& other) const;
    bool instancesRespondToSelector(SEL selector) const;
    const IMP* instanceMethodForSelector(SEL selector) const;

    bool respondsToSelector(SEL selector) const;
    id performSelector(SEL selector, const id& argument = nullptr) const;

    Class& addMethod(std::string selector, IMP implementation);
    Class& addClassMethod(std::string selector, ClassIMP implementation);

private:
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
    };
    template<typename T>
    using Table = std::unordered_map<std::string, T, Hash, std::equal_to<>>;

    std::string _name;
    const Class* _superclass;
    Factory _factory;
    Table<IMP> _methods;
    Table<ClassIMP> _classMethods;
};

class NSObject : public std::enable_shared_from_this<NSObject> {
public:
    NSObject() = default;
    NSObject(const NSObject&) = delete;
    NSObject& operator=(const NSObject&) = delete;
    virtual ~NSObject() = default;

    static const Class& classObject();
    virtual const Class& isa() const { return classObject(); }

    const std::string& className() const { return isa().name(); }
    bool isKindOfClass(const Class& cls) const { return isa().isSubclassOfClass(cls); }
    bool respondsToSelector(SEL selector) const { return isa().instancesRespondToSelector(selector); }

    // Sends a selector by name. An unknown selector does nothing and answers nothing;
    // the phone would raise, but nothing of this system sends one it has not checked.
    id performSelector(SEL selector, const id& argument = nullptr);

    id self() { return shared_from_this(); }
    template<typename T>
    std::shared_ptr<T> selfAs() { return std::static_pointer_cast<T>(shared_from_this()); }

protected:
    // The second phase of construction, run once by runtime::make as soon as the shared
    // pointer owns the object: the setup that needs self() (adding subviews, becoming a
    // target) belongs here rather than in a constructor. Overrides call their base first.
    virtual void didConstruct() {}

private:
    template<typename T, typename... Args>
    friend std::shared_ptr<T> runtime::make(Args&&... args);
};

// The class registry. Classes register when their library loads, like +load.
const Class* objc_getClass(std::string_view name);
std::vector<std::string> objc_classNames();

namespace runtime {

// Registers a class, or answers the one already registered under that name.
Class& registerClass(std::string name, const Class* superclass, Class::Factory factory);

// Adapts member functions of T to selector implementations. The argument is cast to the
// parameter's class; an argument of another class arrives as nothing.
template<typename T>
IMP method(void (T::*fn)())
{
    return [fn](NSObject& self, const id&) -> id { (static_cast<T&>(self).*fn)(); return nullptr; };
}

template<typename T, typename A>
IMP method(void (T::*fn)(std::shared_ptr<A>))
{
    return [fn](NSObject& self, const id& arg) -> id {
        (static_cast<T&>(self).*fn)(std::dynamic_pointer_cast<A>(arg));
        return nullptr;
    };
}

template<typename T, typename R>
IMP method(std::shared_ptr<R> (T::*fn)())
{
    return [fn](NSObject& self, const id&) -> id { return (static_cast<T&>(self).*fn)(); };
}

template<typename T, typename R, typename A>
IMP method(std::shared_ptr<R> (T::*fn)(std::shared_ptr<A>))
{
    return [fn](NSObject& self, const id& arg) -> id {
        return (static_cast<T&>(self).*fn)(std::dynamic_pointer_cast<A>(arg));
    };
}

template<typename T, typename... Args>
std::shared_ptr<T> make(Args&&... args)
{
    static_assert(std::is_base_of_v<NSObject, T>, "runtime::make makes objects of the object model");
    std::shared_ptr<T> object;
    if constexpr (std::is_constructible_v<T, Construction, Args&&...>)
        object = std::make_shared<T>(Construction(), std::forward<Args>(args)...);
    else
        object = std::make_shared<T>(std::forward<Args>(args)...);
    static_cast<NSObject&>(*object).didConstruct();
    return object;
}

// Whether runtime::make<T>() compiles: what a class needs to be made by name.
template<typename T>
constexpr bool isMakeableWithoutArguments = !std::is_abstract_v<T>
    && (std::is_default_constructible_v<T> || std::is_constructible_v<T, Construction>);

template<typename T>
Class::Factory factory()
{
    if constexpr (!isMakeableWithoutArguments<T>)
        return nullptr;
    else
        return [] { return std::static_pointer_cast<NSObject>(make<T>()); };
}

} // namespace runtime

// Declares a class of the object model inside its C++ class body.
#define RVX_OBJECT(Name)                                           \
public:                                                            \
    static const Class& classObject();                             \
    const Class& isa() const override { return classObject(); }   \
                                                                   \
private:

// Defines the class object of Name, a subclass of Super. The statements that follow
// run once on the Class& named `cls` (add its selectors there). The class registers
// when its library loads.
#define RVX_DEFINE_CLASS(Name, Super, ...)                                                    \
    const Class& Name::classObject()                                                          \
    {                                                                                         \
        static Class& cls = [] () -> Class& {                                                 \
            Class& cls = runtime::registerClass(#Name, &Super::classObject(),                 \
                runtime::factory<Name>());                                                    \
            __VA_ARGS__;                                                                      \
            return cls;                                                                       \
        }();                                                                                  \
        return cls;                                                                           \
    }                                                                                         \
    [[maybe_unused]] static const Class& Name##_loaded = Name::classObject();
