// defaults domains / read / read-type / write / delete / export / import on the device's
// preference files, in the forms of the desktop `defaults` tool: a value read alone prints
// bare (strings as they are, numbers, booleans as 1 or 0), arrays and dictionaries in the
// ASCII property-list form. Every change goes through the writers' lock.

#include "Command.h"
#include "Json.h"

#include "foundation/DeviceRoot.h"
#include "foundation/NSString.h"
#include "foundation/PreferenceFile.h"
#include "foundation/PropertyList.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace ruvex {
namespace {

void checkDomain(const std::string& domain)
{
    if (domain.empty() || domain.find('/') != std::string::npos || domain.front() == '.')
        throw UsageError("'" + domain + "' is not a domain name (like com.vastelmark.ruvexpro)");
}

constexpr const char* kPreferencesFolder = "/var/mobile/Library/Preferences";

bool exists(const std::string& hostPath)
{
    struct stat info {};
    return lstat(hostPath.c_str(), &info) == 0;
}

// The domain's dictionary; an action error naming why there is none.
NSDictionary readDomain(const std::string& domain)
{
    PreferenceFile file = PreferenceFile::forDomain(domain);
    std::optional<NSDictionary> dictionary = file.readIfPresent();
    if (!dictionary) {
        throw ActionError(exists(file.hostPath()) ? "the file of domain " + domain + " is not a readable property list"
                                                  : "domain " + domain + " does not exist");
    }
    return std::move(*dictionary);
}

const PlistValue& valueOf(const NSDictionary& dictionary, const std::string& domain, const std::string& key)
{
    const PlistValue* value = dictionary.objectForKey(key);
    if (!value)
        throw ActionError("the domain/default pair of (" + domain + ", " + key + ") does not exist");
    return *value;
}

// A value read alone, as the desktop tool prints it.
std::string bareText(const PlistValue& value)
{
    if (const std::string* text = value.string())
        return *text;
    if (const int64_t* number = value.integer())
        return std::to_string(*number);
    if (const double* real = value.real()) {
        char buffer[40];
        for (int digits = 1; digits <= 17; ++digits) {
            std::snprintf(buffer, sizeof buffer, "%.*g", digits, *real);
            if (std::strtod(buffer, nullptr) == *real)
                break;
        }
        return buffer;
    }
    if (const bool* flag = value.boolean())
        return *flag ? "1" : "0";
    return defaultsText(value);
}

int readDefaults(const Options& options, const Arguments& arguments)
{
    checkDomain(arguments[0]);
    NSDictionary dictionary = readDomain(arguments[0]);
    if (arguments.size() == 1) {
        PlistValue shown = dictionary;
        std::printf("%s\n", (options.json ? json::write(jsonFromPlist(shown)) : defaultsText(shown)).c_str());
        return 0;
    }
    const PlistValue& value = valueOf(dictionary, arguments[0], arguments[1]);
    std::printf("%s\n", (options.json ? json::write(jsonFromPlist(value)) : bareText(value)).c_str());
    return 0;
}

const char* typeName(const PlistValue& value)
{
    switch (value.kind()) {
    case PlistValue::Kind::String: return "string";
    case PlistValue::Kind::Integer: return "integer";
    case PlistValue::Kind::Real: return "float";
    case PlistValue::Kind::Boolean: return "boolean";
    case PlistValue::Kind::Date: return "date";
    case PlistValue::Kind::Data: return "data";
    case PlistValue::Kind::Array: return "array";
    case PlistValue::Kind::Dictionary: return "dictionary";
    }
    return "unknown";
}

int readTypeDefaults(const Options& options, const Arguments& arguments)
{
    checkDomain(arguments[0]);
    NSDictionary domain = readDomain(arguments[0]);
    const PlistValue& value = valueOf(domain, arguments[0], arguments[1]);
    if (options.json)
        std::printf("{\"type\":\"%s\"}\n", typeName(value));
    else
        std::printf("Type is %s\n", typeName(value));
    return 0;
}

int listDomains(const Options& options, const Arguments&)
{
    std::vector<std::string> domains;
    std::error_code error;
    std::filesystem::directory_iterator it(DeviceRoot::resolve(kPreferencesFolder), error);
    for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        std::string name = it->path().filename().string();
        std::error_code ignored;
        if (name.size() > 6 && name.compare(name.size() - 6, 6, ".plist") == 0 && name.front() != '.'
            && it->is_regular_file(ignored))
            domains.push_back(name.substr(0, name.size() - 6));
    }
    std::sort(domains.begin(), domains.end());
    std::string text;
    for (const std::string& domain : domains)
        text += (text.empty() ? "" : ", ") + domain;
    if (options.json) {
        NSArray list;
        for (const std::string& domain : domains)
            list.addObject(domain);
        text = json::write(jsonFromPlist(PlistValue(list)));
    }
    std::printf("%s\n", text.c_str());
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

// The whole text is the number: no white space around it, as for -float.
std::optional<long long> parseInteger(const std::string& text)
{
    if (text.empty() || std::isspace((unsigned char)text[0]))
        return std::nullopt;
    errno = 0;
    char* end = nullptr;
    long long number = std::strtoll(text.c_str(), &end, 10);
    if (*end || errno == ERANGE)
        return std::nullopt;
    return number;
}

PlistValue typedValue(const std::string& type, const std::string& text)
{
    if (type == "-string")
        return PlistValue(text);
    if (type == "-int" || type == "-integer") {
        std::optional<long long> number = parseInteger(text);
        if (!number)
            throw UsageError("'" + text + "' is not an integer");
        return PlistValue(*number);
    }
    if (type == "-float") {
        std::optional<double> number = parseNumber(text);
        if (!number)
            throw UsageError("'" + text + "' is not a finite number");
        return PlistValue(*number);
    }
    if (type == "-bool" || type == "-boolean") {
        bool flag = false;
        if (!parseBool(text, flag))
            throw UsageError("'" + text + "' is not a boolean (YES, NO, true, false, 1, 0)");
        return PlistValue(flag);
    }
    throw UsageError("unknown type " + type + " (use -string, -int, -float, -bool, -array, -array-add or -dict)");
}

void checkText(const std::string& text)
{
    if (!NSString::isValidUTF8(text))
        throw UsageError("keys and values must be UTF-8 text");
}

// Writes under the writers' lock; a new domain whose write failed leaves no lock file behind.
void changeDomain(const std::string& domain, const std::function<bool(NSDictionary&)>& change)
{
    PreferenceFile file = PreferenceFile::forDomain(domain);
    bool fresh = !exists(file.hostPath()) && !exists(file.lockPath());
    if (file.changeWith(change))
        return;
    if (fresh && !exists(file.hostPath()))
        unlink(file.lockPath().c_str());
    throw ActionError("could not write domain " + domain);
}

int writeDefaults(const Options&, const Arguments& arguments)
{
    checkDomain(arguments[0]);
    const std::string& key = arguments[1];
    checkText(key);
    const std::string& type = arguments[2];
    std::vector<std::string> words(arguments.begin() + 3, arguments.end());
    for (const std::string& word : words)
        checkText(word);
    if (arguments.size() == 3 && type != "-array" && type != "-array-add" && type != "-dict") {
        // One word alone is a string, whatever it looks like ("-h" included).
        checkText(type);
        PlistValue value(type);
        changeDomain(arguments[0], [&](NSDictionary& d) { d.setObject(value, key); return true; });
        return 0;
    }
    if (type == "-array" || type == "-array-add") {
        bool adding = type == "-array-add";
        changeDomain(arguments[0], [&](NSDictionary& d) {
            NSArray list;
            if (const PlistValue* stored = adding ? d.objectForKey(key) : nullptr) {
                if (!stored->array())
                    throw ActionError("the value of " + key + " is a " + typeName(*stored) + ", not an array to add to");
                list = *stored->array();
            }
            for (const std::string& word : words)
                list.addObject(word);
            d.setObject(PlistValue(std::move(list)), key);
            return true;
        });
        return 0;
    }
    if (type == "-dict") {
        if (words.size() % 2)
            throw UsageError("-dict takes pairs: KEY VALUE ...");
        NSDictionary entries;
        for (size_t i = 0; i < words.size(); i += 2)
            entries.setObject(PlistValue(words[i + 1]), words[i]);
        changeDomain(arguments[0], [&](NSDictionary& d) { d.setObject(PlistValue(entries), key); return true; });
        return 0;
    }
    if (type.empty() || type.front() != '-')
        throw UsageError("a value takes one word; a type comes before it: -string, -int, -float, -bool, -array, "
                         "-array-add or -dict");
    if (words.size() != 1)
        throw UsageError(type + " takes one value");
    PlistValue value = typedValue(type, words[0]);
    changeDomain(arguments[0], [&](NSDictionary& d) { d.setObject(value, key); return true; });
    return 0;
}

int deleteDefaults(const Options&, const Arguments& arguments)
{
    checkDomain(arguments[0]);
    PreferenceFile file = PreferenceFile::forDomain(arguments[0]);
    readDomain(arguments[0]); // a missing domain, or one that is not a property list, is named as such
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

int exportDefaults(const Options&, const Arguments& arguments)
{
    checkDomain(arguments[0]);
    const std::string& target = arguments[1];
    if (target.empty())
        throw UsageError("export needs a file name, or - for standard output");
    std::optional<std::string> xml = PropertyList::xmlData(PlistValue(readDomain(arguments[0])));
    if (!xml)
        throw ActionError("domain " + arguments[0] + " holds text that XML cannot carry");
    if (target == "-") {
        std::fwrite(xml->data(), 1, xml->size(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    struct stat info {};
    if (stat(target.c_str(), &info) == 0 && !S_ISREG(info.st_mode))
        throw UsageError(target + " is not a regular file");
    // Written beside the target and renamed over it, so a failure leaves the old file.
    std::string temporary = target + ".tmp." + std::to_string(getpid());
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << *xml;
        out.flush();
        if (!out) {
            unlink(temporary.c_str());
            throw ActionError("could not write " + target);
        }
    }
    if (rename(temporary.c_str(), target.c_str()) != 0) {
        unlink(temporary.c_str());
        throw ActionError("could not write " + target);
    }
    return 0;
}

int importDefaults(const Options&, const Arguments& arguments)
{
    checkDomain(arguments[0]);
    const std::string& source = arguments[1];
    if (source.empty())
        throw UsageError("import needs a file name, or - for standard input");
    std::string bytes;
    if (source == "-") {
        bytes.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    } else {
        struct stat info {};
        if (stat(source.c_str(), &info) != 0)
            throw ActionError("cannot read " + source + ": " + std::strerror(errno));
        if (!S_ISREG(info.st_mode))
            throw UsageError(source + " is not a regular file");
        if (size_t(info.st_size) > PropertyList::maximumSize)
            throw ActionError(source + " is larger than a property list may be");
        std::ifstream in(source, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (in.bad())
            throw ActionError("cannot read " + source);
    }
    std::optional<PlistValue> imported = PropertyList::parse(bytes);
    if (!imported || !imported->dictionary())
        throw ActionError((source == "-" ? std::string("standard input") : source)
            + " is not a property list holding a dictionary");
    if (!PropertyList::xmlData(*imported))
        throw ActionError((source == "-" ? std::string("standard input") : source) + " holds text that XML cannot carry");
    NSDictionary replacement = *imported->dictionary();
    changeDomain(arguments[0], [&](NSDictionary& dictionary) {
        dictionary = replacement;
        return true;
    });
    return 0;
}

const char* kDomainHelp = "DOMAIN names a file /var/mobile/Library/Preferences/DOMAIN.plist of the device;\n"
                          "the system's own is com.vastelmark.ruvexpro.";

CommandRegistration domainsVerb({"defaults domains", "", "list the device's preference domains",
    "Prints the names of the domains in /var/mobile/Library/Preferences, joined by \", \".", 0, 0, listDomains});

CommandRegistration readVerb({"defaults read", "DOMAIN [KEY]", "print a preference domain, or one key of it",
    std::string(kDomainHelp) + "\nA domain prints in the ASCII property-list form; one key's value prints bare: a\n"
                               "string as it is, a number, a boolean as 1 or 0, an array or dictionary in the ASCII form.",
    1, 2, readDefaults});

CommandRegistration readTypeVerb({"defaults read-type", "DOMAIN KEY", "tell the type of one key's value",
    std::string(kDomainHelp) + "\nPrints \"Type is string\" (integer, float, boolean, date, data, array, dictionary).",
    2, 2, readTypeDefaults});

CommandRegistration writeVerb({"defaults write",
    "DOMAIN KEY [-string|-int|-float|-bool] VALUE | DOMAIN KEY -array|-array-add VALUE... | DOMAIN KEY -dict [KEY VALUE]...",
    "set one key of a preference domain (a string unless a type is given)",
    std::string(kDomainHelp) + "\n-array stores the words as an array of strings, -array-add adds them to the stored\n"
                               "array (making one when the key is missing), -dict stores the pairs as a dictionary of\n"
                               "strings. A value alone is a string, whatever it looks like.\n"
                               "The file is changed whole under the writers' lock; a missing file is created.",
    3, size_t(-1), writeDefaults});

CommandRegistration deleteVerb({"defaults delete", "DOMAIN [KEY]", "remove one key, or the whole domain",
    kDomainHelp, 1, 2, deleteDefaults});

CommandRegistration exportVerb({"defaults export", "DOMAIN FILE|-", "write a domain as an XML property list",
    std::string(kDomainHelp) + "\nFILE is replaced whole (written beside it, then renamed); - is standard output.",
    2, 2, exportDefaults});

CommandRegistration importVerb({"defaults import", "DOMAIN FILE|-", "replace a domain with a property list",
    std::string(kDomainHelp) + "\nFILE (or standard input for -) may be XML, binary or the ASCII form, and must hold a\n"
                               "dictionary. The domain is replaced whole under the writers' lock; nothing is posted.",
    2, 2, importDefaults});

} // namespace
} // namespace ruvex
