#include "foundation/NSFileManager.h"

#include "foundation/DeviceRoot.h"

#include <cerrno>
#include <filesystem>
#include <sys/stat.h>

NSFileManager& NSFileManager::defaultManager()
{
    static NSFileManager manager;
    return manager;
}

bool NSFileManager::fileExistsAtPath(std::string_view phonePath) const
{
    bool isDirectory = false;
    return fileExistsAtPath(phonePath, isDirectory);
}

bool NSFileManager::fileExistsAtPath(std::string_view phonePath, bool& isDirectory) const
{
    struct stat info {};
    if (stat(DeviceRoot::resolve(phonePath).c_str(), &info) != 0)
        return false;
    isDirectory = S_ISDIR(info.st_mode);
    return true;
}

bool NSFileManager::createDirectoryAtPath(std::string_view phonePath, bool withIntermediateDirectories) const
{
    std::string path = DeviceRoot::resolve(phonePath);
    if (withIntermediateDirectories)
        return createDirectoryAtHostPath(path);
    return mkdir(path.c_str(), 0777) == 0;
}

bool NSFileManager::removeItemAtPath(std::string_view phonePath) const
{
    std::error_code error;
    return std::filesystem::remove_all(DeviceRoot::resolve(phonePath), error) > 0 && !error;
}

bool NSFileManager::createDirectoryAtHostPath(const std::string& hostPath)
{
    std::error_code error;
    std::filesystem::create_directories(hostPath, error);
    return std::filesystem::is_directory(hostPath, error);
}
