#include "foundation/NSBundle.h"

#include "foundation/NSFileManager.h"
#include "foundation/NSString.h"
#include "foundation/DeviceRoot.h"

#include <cerrno>
#include <cstring>

#include <dlfcn.h>
#include <elf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

RVX_DEFINE_CLASS(NSBundle, NSObject)

namespace {

#if defined(__x86_64__)
constexpr int kMachine = EM_X86_64;
#elif defined(__aarch64__)
constexpr int kMachine = EM_AARCH64;
#else
constexpr int kMachine = EM_NONE; // not checked
#endif

const char* kindOf(mode_t mode)
{
    if (S_ISFIFO(mode))
        return "a FIFO";
    if (S_ISDIR(mode))
        return "a folder";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "a device";
    if (S_ISSOCK(mode))
        return "a socket";
    return "not a regular file";
}

bool readAt(int fd, void* buffer, size_t size, uint64_t offset)
{
    return pread(fd, buffer, size, off_t(offset)) == ssize_t(size);
}

} // namespace

Result<void> isLoadableLibrary(const std::string& hostPath)
{
    // Non-blocking, so that opening a FIFO cannot wait for a writer.
    int fd = open(hostPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return Failure {std::strerror(errno)};
    struct stat status {};
    Elf64_Ehdr header {};
    uint64_t size = 0;
    std::string reason;
    if (fstat(fd, &status) != 0)
        reason = std::strerror(errno);
    else if (!S_ISREG(status.st_mode))
        reason = std::string("it is ") + kindOf(status.st_mode) + ", not a regular file";
    else if ((size = uint64_t(status.st_size)) < sizeof header || !readAt(fd, &header, sizeof header, 0))
        reason = "it is too short for a shared library (" + std::to_string(size) + " bytes)";
    else if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0)
        reason = "it is not an ELF file";
    else if (header.e_ident[EI_CLASS] != ELFCLASS64 || header.e_type != ET_DYN
        || (kMachine != EM_NONE && header.e_machine != kMachine))
        reason = "it is not a shared library for this machine";
    else if (header.e_phentsize != sizeof(Elf64_Phdr) || header.e_phnum == 0
        || header.e_phoff + uint64_t(header.e_phnum) * sizeof(Elf64_Phdr) > size)
        reason = "it is truncated: its program headers lie past its end";
    else if (header.e_shoff && header.e_shoff + uint64_t(header.e_shnum) * header.e_shentsize > size)
        reason = "it is truncated: its section headers lie past its end (" + std::to_string(size) + " bytes)";
    else {
        for (unsigned i = 0; i < header.e_phnum && reason.empty(); ++i) {
            Elf64_Phdr segment {};
            if (!readAt(fd, &segment, sizeof segment, header.e_phoff + uint64_t(i) * sizeof segment))
                reason = "its program headers cannot be read";
            else if (segment.p_type == PT_LOAD && (segment.p_offset > size || segment.p_filesz > size - segment.p_offset))
                reason = "it is truncated: " + std::to_string(size) + " bytes, while its segments need "
                    + std::to_string(segment.p_offset + segment.p_filesz);
        }
    }
    close(fd);
    if (!reason.empty())
        return Failure {reason};
    return {};
}

std::shared_ptr<NSBundle> NSBundle::bundleWithPath(std::string_view phonePath)
{
    bool isDirectory = false;
    if (!NSFileManager::defaultManager().fileExistsAtPath(phonePath, isDirectory) || !isDirectory)
        return nullptr;
    return runtime::make<NSBundle>(std::string(phonePath));
}

NSBundle::NSBundle(std::string phonePath)
    : _path(std::move(phonePath))
{
    while (_path.size() > 1 && _path.back() == '/')
        _path.pop_back();
}

std::optional<std::string> NSBundle::pathForResource(std::string_view name, std::string_view type) const
{
    if (name.empty())
        return std::nullopt;
    std::string file(name);
    if (!type.empty()) {
        file += '.';
        file += type;
    }
    std::string path = NSString::stringByAppendingPathComponent(_path, file);
    bool isDirectory = false;
    if (!NSFileManager::defaultManager().fileExistsAtPath(path, isDirectory))
        return std::nullopt;
    return path;
}

const NSDictionary& NSBundle::infoDictionary() const
{
    if (!_info) {
        std::string phonePath = NSString::stringByAppendingPathComponent(_path, "Info.plist");
        auto info = NSDictionary::dictionaryWithContentsOfFile(phonePath);
        if (!info) {
            struct stat status {};
            _infoProblem = stat(DeviceRoot::resolve(phonePath).c_str(), &status) != 0
                ? "it has no Info.plist"
                : "its Info.plist is not a property list holding a dictionary";
        }
        _info = info.value_or(NSDictionary());
    }
    return *_info;
}

const PlistValue* NSBundle::objectForInfoDictionaryKey(std::string_view key) const
{
    return infoDictionary().objectForKey(key);
}

std::string NSBundle::bundleIdentifier() const
{
    auto* value = objectForInfoDictionaryKey("CFBundleIdentifier");
    return value && value->string() ? *value->string() : std::string();
}

std::string NSBundle::executableName() const
{
    auto* value = objectForInfoDictionaryKey("CFBundleExecutable");
    if (value && value->string() && !value->string()->empty())
        return *value->string();
    return NSString::stringByDeletingPathExtension(NSString::lastPathComponent(_path));
}

Result<void> NSBundle::load()
{
    if (_handle)
        return {};
    std::string executable = NSString::lastPathComponent(executableName());
    std::string path = DeviceRoot::resolve(NSString::stringByAppendingPathComponent(_path, executable));
    if (Result<void> loadable = isLoadableLibrary(path); !loadable)
        return Failure {"its executable " + executable + " cannot be loaded: " + loadable.error()};
    dlerror();
    _handle = dlopen(path.c_str(), RTLD_NOW | RTLD_GLOBAL | RTLD_NODELETE);
    if (!_handle) {
        const char* error = dlerror();
        return Failure {error ? error : "cannot load " + path};
    }
    return {};
}

const Class* NSBundle::principalClass()
{
    if (!load())
        return nullptr;
    auto* name = objectForInfoDictionaryKey("NSPrincipalClass");
    if (!name || !name->string())
        return nullptr;
    return objc_getClass(*name->string());
}
