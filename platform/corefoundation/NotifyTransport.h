#pragma once

// Carries notification names between the processes of one device root, without a daemon.
//
// Every process with at least one observer binds a Unix datagram socket, its endpoint,
// in a directory private to the user, named "<pid>.<nonce>". A post sends one datagram
// holding the name to every other endpoint there. A send refused because nobody is bound
// any more means the endpoint's process died: its file is removed. Sends never block: a
// receiver whose queue is full loses that datagram. Posts of one name may be coalesced
// anyway, so this is lossless whenever the full queue still holds that name.

#include <string>
#include <string_view>
#include <vector>

#include <time.h>

class NotifyTransport {
public:
    NotifyTransport() = default;
    ~NotifyTransport();
    NotifyTransport(const NotifyTransport&) = delete;
    NotifyTransport& operator=(const NotifyTransport&) = delete;

    // The directory for a device root under `base`: base/<16 hex digits>.
    static std::string directoryForDeviceRoot(const std::string& deviceRoot, const std::string& base);
    static std::string defaultBase();
    // Creates `path` with mode 0700 if missing; refuses a link, a non-directory or a
    // directory owned by someone else, and takes group and other access away otherwise.
    static bool makePrivateDirectory(const std::string& path, std::string& error);

    // Uses `directory`; leaves the previous one, unbinding from it.
    bool open(const std::string& directory, std::string& error);
    void close();
    bool isOpen() const { return !_directory.empty(); }
    const std::string& directory() const { return _directory; }

    bool bind(std::string& error);
    void unbind();
    bool isBound() const { return _endpoint >= 0; }
    int endpointDescriptor() const { return _endpoint; }
    const std::string& endpointName() const { return _endpointName; }

    // Sends `name` to every other endpoint. Answers false when the directory cannot be read.
    bool send(std::string_view name, std::string& error);
    // Reads the waiting datagrams, at most `limit`; malformed ones are skipped.
    std::vector<std::string> receive(size_t limit);

    // In a forked child: lets go of the parent's descriptors and endpoint, touching no file.
    void abandonInheritedState();

private:
    bool ensureSender(std::string& error);
    bool refreshPeers(std::string& error);

    // The other endpoints, read again whenever the directory may have changed.
    std::vector<std::string> _peers;
    bool _peersValid = false;
    struct timespec _peersStamp {};

    std::string _directory;
    int _endpoint = -1;
    std::string _endpointName;
    int _sender = -1;
};

// Whether `name` may be carried: 1 to kCFNotificationNameMaxLength bytes, no NUL.
bool isValidNotificationName(std::string_view name);
