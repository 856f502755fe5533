// defaults read / write / delete on the device's preference files, in the forms of the
// desktop `defaults` tool. Writes go through the locked change-one-key write.

#include "Command.h"
#include "Json.h"

#include "foundation/NSString.h"
#include "foundation/PreferenceFile.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace ruvex {
namespace {

void checkDomain(const std::string& domain)
{
    if (domain.empty() || domain.find('/') != std::string::npos || domain.front() == '.')
        throw UsageError("'" + domain + "' is not a domain name (like com.vastelmark.ruvexpro)");
}

int readDefaults(const Options& options, const Arguments& arguments)
{
    checkDomain(arguments[0]);
    PreferenceFile file = PreferenceFile::forDomain(arguments[0]);
    std::optional<NSDictionary> dictionary = file.readIfPresent();
    if (!dictionary) {
        bool exists = access(file.hostPath().c_str(), F_OK) == 0;
        throw ActionError(exists ? "the file of domain " + arguments[0] + " is not a readable property list"
                                 : "domain " + arguments[0] + " does not exist");
    }
    PlistValue shown = *dictionary;
    if (arguments.size() == 2) {
        const PlistValue* value = dictionary->objectForKey(arguments[1]);
        if (!value)
            throw ActionError("the domain/default pair of (" + arguments[0] + ", " + arguments[1] + ") does not exist");
        shown = *value;
    }
    std::printf("%s\n", (options.json ? jsonFromPlist(shown) : defaultsText(shown)).c_str());
    return 0;
}

bool parseBool(const std::string& text, bool& value)
{
    static const char* yes[] = {"YES", "yes", "true", "TRUE", "1"};
    static const char* no[] = {"NO", "no", "false", "FALSE", "0"};
    for (const char* word : yes)
        if (text == word)
            return value = true, true;
    for (const char* word : no)
        if (text == word)
            return value = false, true;
    return false;
}

PlistValue typedValue(const std::string& type, const std::string& text)
{
    if (type == "-string")
        return PlistValue(text);
    if (type == "-int" || type == "-integer") {
        errno = 0;
        char* end = nullptr;
        long long number = std::strtoll(text.c_str(), &end, 10);
        if (text.empty() || *end || errno == ERANGE)
            throw UsageError("'" + text + "' is not an integer");
        return PlistValue(number);
    }
    if (type == "-float") {
        std::optional<double> number = parseNumber(text);
        if (!number || !std::isfinite(*number))
            throw UsageError("'" + text + "' is not a finite number");
        return PlistValue(*number);
    }
    if (type == "-bool" || type == "-boolean") {
        bool flag = false;
        if (!parseBool(text, flag))
            throw UsageError("'" + text + "' is not a boolean (YES, NO, true, false, 1, 0)");
        return PlistValue(flag);
    }
    throw UsageError("unknown type " + type + " (use -string, -int, -float or -bool)");
}

int writeDefaults(const Options&, const Arguments& arguments)
{
    checkDomain(arguments[0]);
    if (arguments.size() == 4 && arguments[2].front() != '-')
        throw UsageError("a value takes one word; a type comes before it: -string, -int, -float or -bool");
    PlistValue value = arguments.size() == 4 ? typedValue(arguments[2], arguments[3]) : PlistValue(arguments[2]);
    if (!NSString::isValidUTF8(arguments[1]) || (value.string() && !NSString::isValidUTF8(*value.string())))
        throw UsageError("keys and values must be UTF-8 text");
    if (!PreferenceFile::forDomain(arguments[0]).setObject(value, arguments[1]))
        throw ActionError("could not write domain " + arguments[0]);
    return 0;
}

int deleteDefaults(const Options&, const Arguments& arguments)
{
    checkDomain(arguments[0]);
    PreferenceFile file = PreferenceFile::forDomain(arguments[0]);
    if (!file.readIfPresent())
        throw ActionError("domain " + arguments[0] + " does not exist");
    if (arguments.size() == 1) {
        bool removed = file.changeWith([](NSDictionary& dictionary) {
            dictionary = NSDictionary();
            return true;
        });
        if (!removed || unlink(file.hostPath().c_str()) != 0)
            throw ActionError("could not delete domain " + arguments[0]);
        return 0;
    }
    if (!file.read().objectForKey(arguments[1]))
        throw ActionError("the domain/default pair of (" + arguments[0] + ", " + arguments[1] + ") does not exist");
    if (!file.removeObjectForKey(arguments[1]))
        throw ActionError("could not write domain " + arguments[0]);
    return 0;
}

const char* kDomainHelp = "DOMAIN names a file /var/mobile/Library/Preferences/DOMAIN.plist of the device;\n"
                          "the system's own is com.vastelmark.ruvexpro.";

CommandRegistration readVerb({"defaults read", "DOMAIN [KEY]", "print a preference domain, or one key of it",
    kDomainHelp, 1, 2, readDefaults});

CommandRegistration writeVerb({"defaults write", "DOMAIN KEY [-string|-int|-float|-bool] VALUE",
    "set one key of a preference domain (a string unless a type is given)",
    std::string(kDomainHelp) + "\nThe file is changed whole under the writers' lock; a missing file is created.",
    3, 4, writeDefaults});

CommandRegistration deleteVerb({"defaults delete", "DOMAIN [KEY]", "remove one key, or the whole domain",
    kDomainHelp, 1, 2, deleteDefaults});

} // namespace
} // namespace ruvex
