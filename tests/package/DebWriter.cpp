#include "DebWriter.h"

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <fstream>
#include <memory>

#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {

using Writer = std::unique_ptr<archive, int (*)(archive*)>;

la_ssize_t append(archive*, void* text, const void* buffer, size_t size)
{
    static_cast<std::string*>(text)->append(static_cast<const char*>(buffer), size);
    return la_ssize_t(size);
}

Writer tarInto(std::string& bytes)
{
    Writer writer(archive_write_new(), archive_write_free);
    archive_write_set_format_gnutar(writer.get());
    archive_write_add_filter_gzip(writer.get());
    archive_write_set_bytes_in_last_block(writer.get(), 1);
    archive_write_open(writer.get(), &bytes, nullptr, append, nullptr);
    return writer;
}

bool add(archive* writer, const DebMember& member)
{
    std::unique_ptr<archive_entry, void (*)(archive_entry*)> entry(archive_entry_new(), archive_entry_free);
    archive_entry_set_pathname(entry.get(), member.path.c_str());
    archive_entry_set_perm(entry.get(), member.mode);
    archive_entry_set_uname(entry.get(), "root");
    archive_entry_set_gname(entry.get(), "root");
    switch (member.kind) {
    case DebMember::Kind::Folder: archive_entry_set_filetype(entry.get(), AE_IFDIR); break;
    case DebMember::Kind::File:
        archive_entry_set_filetype(entry.get(), AE_IFREG);
        archive_entry_set_size(entry.get(), la_int64_t(member.zeros ? member.zeros : member.content.size()));
        break;
    case DebMember::Kind::Link:
        archive_entry_set_filetype(entry.get(), AE_IFLNK);
        archive_entry_set_symlink(entry.get(), member.target.c_str());
        break;
    case DebMember::Kind::HardLink:
        archive_entry_set_filetype(entry.get(), AE_IFREG);
        archive_entry_set_hardlink(entry.get(), member.target.c_str());
        break;
    case DebMember::Kind::CharacterDevice:
        archive_entry_set_filetype(entry.get(), AE_IFCHR);
        archive_entry_set_rdev(entry.get(), makedev(1, 3));
        break;
    case DebMember::Kind::Fifo: archive_entry_set_filetype(entry.get(), AE_IFIFO); break;
    }
    if (archive_write_header(writer, entry.get()) != ARCHIVE_OK)
        return false;
    if (member.kind == DebMember::Kind::File) {
        if (member.zeros) {
            // Streamed, so that a member of 100 MB costs no memory here either.
            static const std::string block(1 << 16, '\0');
            for (uint64_t left = member.zeros; left;) {
                size_t count = size_t(std::min<uint64_t>(left, block.size()));
                if (archive_write_data(writer, block.data(), count) < 0)
                    return false;
                left -= count;
            }
        } else if (archive_write_data(writer, member.content.data(), member.content.size()) < 0) {
            return false;
        }
    }
    return true;
}

bool addToAr(archive* ar, const std::string& name, const std::string& bytes)
{
    std::unique_ptr<archive_entry, void (*)(archive_entry*)> entry(archive_entry_new(), archive_entry_free);
    archive_entry_set_pathname(entry.get(), name.c_str());
    archive_entry_set_filetype(entry.get(), AE_IFREG);
    archive_entry_set_perm(entry.get(), 0644);
    archive_entry_set_size(entry.get(), la_int64_t(bytes.size()));
    return archive_write_header(ar, entry.get()) == ARCHIVE_OK
        && archive_write_data(ar, bytes.data(), bytes.size()) == la_ssize_t(bytes.size());
}

} // namespace

std::string controlFor(const std::string& package, const std::string& version, const std::string& more)
{
    return "Package: " + package + "\nVersion: " + version + "\nArchitecture: iphoneos-arm\nMaintainer: Tests <t@example.org>\n"
        + more + "Description: a package of the tests\n";
}

bool writeDeb(const std::string& file, const std::string& control, const std::vector<DebMember>& members)
{
    std::string controlTar;
    {
        Writer tar = tarInto(controlTar);
        if (!add(tar.get(), { "./", DebMember::Kind::Folder, 0755, {}, 0, {} })
            || !add(tar.get(), { "./control", DebMember::Kind::File, 0644, control, 0, {} }))
            return false;
        archive_write_close(tar.get());
    }
    std::string dataTar;
    {
        Writer tar = tarInto(dataTar);
        for (const DebMember& member : members)
            if (!add(tar.get(), member))
                return false;
        archive_write_close(tar.get());
    }
    std::string deb;
    Writer ar(archive_write_new(), archive_write_free);
    archive_write_set_format_ar_bsd(ar.get());
    archive_write_add_filter_none(ar.get());
    archive_write_set_bytes_in_last_block(ar.get(), 1);
    archive_write_open(ar.get(), &deb, nullptr, append, nullptr);
    bool written = addToAr(ar.get(), "debian-binary", "2.0\n") && addToAr(ar.get(), "control.tar.gz", controlTar)
        && addToAr(ar.get(), "data.tar.gz", dataTar);
    archive_write_close(ar.get());
    std::ofstream out(file, std::ios::binary);
    out << deb;
    return written && bool(out);
}
