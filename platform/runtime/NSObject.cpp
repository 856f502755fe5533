#include "runtime/NSObject.h"

#include <map>
#include <mutex>

namespace {

struct Registry {
    std::mutex lock;
    std::map<std::string, std::unique_ptr<Class>, std::less<>> classes;
};

Registry& registry()
{
    static Registry* instance = new Registry; // never destroyed: classes outlive static teardown
    return *instance;
}

} // namespace

Class::Class(std::string name, const Class* superclass, Factory factory)
    : _name(std::move(name))
    , _superclass(superclass)
    , _factory(std::move(factory))
{
}

id Class::createInstance() const
{
    return _factory ? _factory() : nullptr;
}

bool Class::isSubclassOfClass(const Class& other) const
{
    for (const Class* cls = this; cls; cls = cls->_superclass) {
        if (cls == &other)
            return true;
    }
    return false;
}

const IMP* Class::instanceMethodForSelector(SEL selector) const
{
    for (const Class* cls = this; cls; cls = cls->_superclass) {
        if (auto it = cls->_methods.find(selector); it != cls->_methods.end())
            return &it->second;
    }
    return nullptr;
}

bool Class::instancesRespondToSelector(SEL selector) const
{
    return instanceMethodForSelector(selector) != nullptr;
}

bool Class::respondsToSelector(SEL selector) const
{
    for (const Class* cls = this; cls; cls = cls->_superclass) {
        if (cls->_classMethods.contains(selector))
            return true;
    }
    return false;
}

id Class::performSelector(SEL selector, const id& argument) const
{
    for (const Class* cls = this; cls; cls = cls->_superclass) {
        if (auto it = cls->_classMethods.find(selector); it != cls->_classMethods.end())
            return it->second(argument);
    }
    return nullptr;
}

Class& Class::addMethod(std::string selector, IMP implementation)
{
    _methods[std::move(selector)] = std::move(implementation);
    return *this;
}

Class& Class::addClassMethod(std::string selector, ClassIMP implementation)
{
    _classMethods[std::move(selector)] = std::move(implementation);
    return *this;
}

const Class& NSObject::classObject()
{
    static Class& cls = runtime::registerClass("NSObject", nullptr, runtime::factory<NSObject>());
    return cls;
}

id NSObject::performSelector(SEL selector, const id& argument)
{
    const IMP* imp = isa().instanceMethodForSelector(selector);
    if (!imp)
        return nullptr;
    id keepAlive = shared_from_this(); // the receiver survives its own method
    return (*imp)(*this, argument);
}

const Class* objc_getClass(std::string_view name)
{
    Registry& reg = registry();
    std::lock_guard guard(reg.lock);
    auto it = reg.classes.find(name);
    return it == reg.classes.end() ? nullptr : it->second.get();
}

std::vector<std::string> objc_classNames()
{
    Registry& reg = registry();
    std::lock_guard guard(reg.lock);
    std::vector<std::string> names;
    for (auto& [name, cls] : reg.classes)
        names.push_back(name);
    return names;
}

Class& runtime::registerClass(std::string name, const Class* superclass, Class::Factory factory)
{
    Registry& reg = registry();
    std::lock_guard guard(reg.lock);
    auto& slot = reg.classes[name];
    if (!slot)
        slot = std::make_unique<Class>(name, superclass, std::move(factory));
    return *slot;
}
