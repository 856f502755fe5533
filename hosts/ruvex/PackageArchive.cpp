#include "PackageArchive.h"

#include "Command.h"
#include "Device.h"

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <memory>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ruvex {

namespace {

using ArchivePointer = std::unique_ptr<archive, int (*)(archive*)>;

[[noreturn]] void refuse(const std::string& file, const std::string& reason)
{
    throw ActionError(file + ": " + reason + "; nothing installed");
}

std::string archiveError(archive* reader)
{
    const char* text = archive_error_string(reader);
    return text ? text : "unreadable";
}

// The inner tar archive reads the ar member's data as it comes.
la_ssize_t readOuter(archive*, void* outer, const void** buffer)
{
    size_t size = 0;
    la_int64_t offset = 0;
    int result = archive_read_data_block(static_cast<archive*>(outer), buffer, &size, &offset);
    if (result == ARCHIVE_EOF)
        return 0;
    if (result != ARCHIVE_OK)
        return -1;
    return la_ssize_t(size);
}

ArchivePointer openInner(archive* outer)
{
    ArchivePointer inner(archive_read_new(), archive_read_free);
    archive_read_support_format_tar(inner.get());
    // The compressions dpkg-deb writes, each decoded in process.
    archive_read_support_filter_none(inner.get());
    archive_read_support_filter_gzip(inner.get());
    archive_read_support_filter_xz(inner.get());
    archive_read_support_filter_zstd(inner.get());
    archive_read_support_filter_bzip2(inner.get());
    if (archive_read_open(inner.get(), outer, nullptr, readOuter, nullptr) != ARCHIVE_OK)
        return ArchivePointer(nullptr, archive_read_free);
    return inner;
}

std::string readSmallMember(archive* reader, uint64_t bound)
{
    std::string text;
    char buffer[8192];
    for (;;) {
        la_ssize_t count = archive_read_data(reader, buffer, sizeof buffer);
        if (count < 0)
            throw std::runtime_error(archiveError(reader));
        if (count == 0)
            return text;
        if (text.size() + size_t(count) > bound)
            throw std::runtime_error("larger than " + std::to_string(bound) + " bytes");
        text.append(buffer, size_t(count));
    }
}

void readControl(const std::string& file, archive* outer, PackageContents& contents)
{
    ArchivePointer inner = openInner(outer);
    if (!inner)
        refuse(file, "the control archive cannot be read");
    archive_entry* entry = nullptr;
    bool found = false;
    int result;
    while ((result = archive_read_next_header(inner.get(), &entry)) == ARCHIVE_OK) {
        const char* name = archive_entry_pathname(entry);
        std::string path = name ? name : "";
        while (path.rfind("./", 0) == 0)
            path.erase(0, 2);
        if (archive_entry_size(entry) > la_int64_t(kMaximumControlBytes))
            refuse(file, "control member " + path + " is larger than 1 MB");
        if (archive_entry_filetype(entry) != AE_IFREG)
            continue;
        if (path == "control") {
            try {
                contents.control = readSmallMember(inner.get(), kMaximumControlBytes);
            } catch (const std::runtime_error& error) {
                refuse(file, std::string("the control file cannot be read: ") + error.what());
            }
            found = true;
        } else if (path == "md5sums") {
            try {
                contents.md5sums = readSmallMember(inner.get(), kMaximumControlBytes);
            } catch (const std::runtime_error& error) {
                refuse(file, std::string("the md5sums file cannot be read: ") + error.what());
            }
        } else if (path == "preinst" || path == "postinst" || path == "prerm" || path == "postrm") {
            contents.scripts.push_back(path);
        }
    }
    if (result != ARCHIVE_EOF)
        refuse(file, "the control archive is damaged: " + archiveError(inner.get()));
    if (!found)
        refuse(file, "no control file in the package");
}

// Writes the entry's data to a new file in the staging folder.
void unpackFile(const std::string& file, archive* reader, PackageMember& member, const std::string& staging, size_t index)
{
    member.staged = staging + "/" + std::to_string(index);
    int out = open(member.staged.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (out < 0)
        throw ActionError("could not unpack " + member.path + ": " + std::strerror(errno));
    uint64_t written = 0;
    for (;;) {
        const void* block = nullptr;
        size_t size = 0;
        la_int64_t offset = 0;
        int result = archive_read_data_block(reader, &block, &size, &offset);
        if (result == ARCHIVE_EOF)
            break;
        if (result != ARCHIVE_OK) {
            close(out);
            refuse(file, member.path + " is damaged: " + archiveError(reader));
        }
        if (uint64_t(offset) + size > member.size) {
            close(out);
            refuse(file, member.path + " holds more than its header says");
        }
        // Sparse holes stay holes: write each block at its offset.
        for (size_t done = 0; done < size;) {
            ssize_t count = pwrite(out, static_cast<const char*>(block) + done, size - done, off_t(offset + done));
            if (count < 0) {
                int error = errno;
                close(out);
                throw ActionError("could not unpack " + member.path + ": " + std::strerror(error));
            }
            done += size_t(count);
        }
        written = std::max(written, uint64_t(offset) + size);
    }
    if (ftruncate(out, off_t(member.size)) != 0 || close(out) != 0)
        throw ActionError("could not unpack " + member.path + ": " + std::strerror(errno));
}

void readData(const std::string& file, archive* outer, PackageContents& contents, const std::string& staging)
{
    ArchivePointer inner = openInner(outer);
    if (!inner)
        refuse(file, "the data archive cannot be read");
    std::map<std::string, PackageMember::Kind> seen;
    uint64_t total = 0;
    archive_entry* entry = nullptr;
    int result;
    while ((result = archive_read_next_header(inner.get(), &entry)) == ARCHIVE_OK) {
        const char* name = archive_entry_pathname(entry);
        std::string raw = name ? name : "";
        if (raw.empty())
            refuse(file, "a member without a name");
        if (raw[0] == '/')
            refuse(file, "member " + raw + " has an absolute path");
        std::optional<std::string> path = devicePath(raw);
        mode_t type = archive_entry_filetype(entry);
        if (!path) {
            bool names_root = raw.find("..") == std::string::npos;
            if (names_root && type == AE_IFDIR)
                continue; // "./": the root itself
            refuse(file, "member " + raw + " leaves the root");
        }
        if (archive_entry_hardlink(entry))
            refuse(file, "member " + raw + " is a hard link");
        PackageMember member;
        member.path = *path;
        switch (type) {
        case AE_IFDIR: member.kind = PackageMember::Kind::Folder; break;
        case AE_IFREG: member.kind = PackageMember::Kind::File; break;
        case AE_IFLNK: member.kind = PackageMember::Kind::Link; break;
        case AE_IFCHR:
        case AE_IFBLK: refuse(file, "member " + raw + " is a device file");
        case AE_IFIFO: refuse(file, "member " + raw + " is a FIFO");
        case AE_IFSOCK: refuse(file, "member " + raw + " is a socket");
        default: refuse(file, "member " + raw + " is of an unknown kind");
        }
        mode_t mode = archive_entry_perm(entry);
        if (mode & (S_ISUID | S_ISGID))
            refuse(file, "member " + raw + " is setuid or setgid");
        member.mode = mode & 0777 & ~mode_t(S_IWGRP | S_IWOTH);
        if (member.kind == PackageMember::Kind::Link) {
            const char* target = archive_entry_symlink(entry);
            member.linkTarget = target ? target : "";
            if (std::string reason = checkLinkTarget(member.path, member.linkTarget); !reason.empty())
                refuse(file, "link " + raw + " " + reason);
        }
        if (member.kind == PackageMember::Kind::File) {
            la_int64_t size = archive_entry_size(entry);
            if (size < 0 || uint64_t(size) > kMaximumMemberBytes)
                refuse(file, "member " + raw + " is " + std::to_string(size >> 20) + " MB, more than the "
                        + std::to_string(kMaximumMemberBytes >> 20) + " MB a member may hold");
            member.size = uint64_t(size);
            total += member.size;
            if (total > kMaximumPackageBytes)
                refuse(file, "the package unpacks to more than " + std::to_string(kMaximumPackageBytes >> 20) + " MB");
        }
        if (contents.members.size() >= kMaximumMembers)
            refuse(file, "the package holds more than " + std::to_string(kMaximumMembers) + " members");
        auto [place, fresh] = seen.emplace(member.path, member.kind);
        if (!fresh)
            refuse(file, "member " + raw + " is listed twice");
        // Nothing may lie inside a file or a link of the package: writing there would follow it.
        for (size_t slash = member.path.rfind('/'); slash != std::string::npos; slash = member.path.rfind('/', slash - 1)) {
            auto parent = seen.find(member.path.substr(0, slash));
            if (parent != seen.end() && parent->second != PackageMember::Kind::Folder)
                refuse(file, "member " + raw + " lies inside a link or a file");
            if (slash == 0)
                break;
        }

        if (member.kind == PackageMember::Kind::File && !staging.empty())
            unpackFile(file, inner.get(), member, staging, contents.members.size());
        else if (archive_read_data_skip(inner.get()) != ARCHIVE_OK)
            refuse(file, "member " + raw + " is damaged: " + archiveError(inner.get()));
        contents.members.push_back(std::move(member));
    }
    if (result != ARCHIVE_EOF)
        refuse(file, "the data archive is damaged or truncated: " + archiveError(inner.get()));
}

} // namespace

std::string checkLinkTarget(const std::string& linkPath, const std::string& target)
{
    if (target.empty())
        return "has no target";
    if (target[0] == '/')
        return "points to the absolute path " + target;
    // The folders above the link, which its leading ".." may climb.
    long depth = long(std::count(linkPath.begin(), linkPath.end(), '/'));
    bool named = false;
    size_t start = 0;
    while (start <= target.size()) {
        size_t slash = target.find('/', start);
        std::string part = target.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        if (part == "..") {
            if (named || --depth < 0)
                return "points out of the root (" + target + ")";
        } else if (!part.empty() && part != ".") {
            named = true;
        }
        if (slash == std::string::npos)
            break;
        start = slash + 1;
    }
    return {};
}

PackageContents readPackage(const std::string& file, const std::string& staging)
{
    struct stat info;
    if (stat(file.c_str(), &info) != 0)
        throw ActionError(file + ": " + std::strerror(errno));
    if (!S_ISREG(info.st_mode))
        throw ActionError(file + " is not a regular file");

    ArchivePointer outer(archive_read_new(), archive_read_free);
    archive_read_support_format_ar(outer.get());
    archive_read_support_filter_none(outer.get());
    if (archive_read_open_filename(outer.get(), file.c_str(), 1 << 16) != ARCHIVE_OK)
        refuse(file, "not a Debian package (" + archiveError(outer.get()) + ")");

    PackageContents contents;
    enum { Version, Control, Data, Done } next = Version;
    archive_entry* entry = nullptr;
    int result;
    while ((result = archive_read_next_header(outer.get(), &entry)) == ARCHIVE_OK) {
        const char* name = archive_entry_pathname(entry);
        std::string member = name ? name : "";
        if (next == Version) {
            std::string version;
            try {
                version = member == "debian-binary" ? readSmallMember(outer.get(), 64) : "";
            } catch (const std::runtime_error&) {
            }
            if (version.rfind("2.", 0) != 0)
                refuse(file, "not a Debian package (no debian-binary 2.x first)");
            next = Control;
        } else if (member.rfind("_", 0) == 0) {
            archive_read_data_skip(outer.get()); // members for other tools
        } else if (next == Control && member.rfind("control.tar", 0) == 0) {
            readControl(file, outer.get(), contents);
            next = Data;
        } else if (next == Data && member.rfind("data.tar", 0) == 0) {
            readData(file, outer.get(), contents, staging);
            next = Done;
        } else {
            refuse(file, "unexpected member " + member + (next == Control ? " before the control archive" : ""));
        }
    }
    if (result != ARCHIVE_EOF)
        refuse(file, next == Version ? "not a Debian package" : "the package is damaged or truncated: " + archiveError(outer.get()));
    if (next == Version)
        refuse(file, "not a Debian package");
    if (next == Control)
        refuse(file, "no control archive in the package");
    if (next == Data)
        refuse(file, "no data archive in the package (truncated?)");
    return contents;
}

} // namespace ruvex
