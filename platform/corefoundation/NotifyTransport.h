#pragma once

// Carries notification names between the processes of one device root, without a daemon.
//
// Every process with at least one observer binds a Unix datagram socket, its endpoint,
// in a directory private to the user, named "<pid>.<nonce>". A post sends one datagram
// holding the name to every other endpoint there: only to sockets of this user (looked at
// with lstat, never through a link), and only those are ever removed. A send refused because
// nobody is bound any more means the endpoint's process died: its file is removed.
//
// Sends never block, and one deaf peer (a stopped process) fails only itself: its full
// queue refuses our datagram, and since an unread datagram stays charged to the socket that
// sent it, a sending socket that has been charged too much is replaced rather than let fill
// up and refuse every peer. A peer whose queue has refused every post for a while is
// forgotten (counted in forgottenPeers()) and only tried about once a second after that; a
// post it takes makes it live again. Posts of one name may be coalesced anyway, so a full
// queue loses nothing whenever it still holds that name.
//
// The per-device directory is removed when its last endpoint leaves.

#include "foundation/Result.h"

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
    static Result<void> makePrivateDirectory(const std::string& path);

    // Uses `directory`; leaves the previous one, unbinding from it.
    Result<void> open(const std::string& directory);
    void close();
    bool isOpen() const { return !_directory.empty(); }
    const std::string& directory() const { return _directory; }

    Result<void> bind();
    void unbind();
    bool isBound() const { return _endpoint >= 0; }
    int endpointDescriptor() const { return _endpoint; }
    const std::string& endpointName() const { return _endpointName; }

    struct SendReport {
        size_t peers = 0;     // other endpoints in the directory
        size_t reached = 0;   // those that took the datagram
        size_t full = 0;      // those whose queue was full
        size_t forgotten = 0; // those skipped, forgotten as deaf
    };
    // Sends `name` to every other endpoint and tells what each did with it. Fails when the
    // directory cannot be read or no sending socket can be had.
    Result<SendReport> send(std::string_view name);
    // Peers forgotten so far because their queue stayed full.
    size_t forgottenPeers() const { return _forgottenPeers; }
    // How long a peer's queue must refuse every post before it is forgotten.
    static constexpr double kForgetAfterSeconds = 2;
    static constexpr double kProbeIntervalSeconds = 1;
    // Reads the waiting datagrams, at most `limit`; malformed ones are skipped.
    std::vector<std::string> receive(size_t limit);

    // In a forked child: lets go of the parent's descriptors and endpoint, touching no file.
    void abandonInheritedState();

private:
    Result<void> ensureSender();
    Result<void> refreshPeers();

    Result<void> replaceSender();
    size_t senderCharge() const;

    struct Peer {
        std::string name;
        size_t refusals = 0;   // posts refused in a row because its queue was full
        double fullSince = 0;  // when the first of them was refused
        bool forgotten = false;
        double lastProbe = 0;
    };
    // The other endpoints, read again whenever the directory may have changed.
    std::vector<Peer> _peers;
    size_t _forgottenPeers = 0;
    size_t _senderBudget = 0;
    bool _peersValid = false;
    struct timespec _peersStamp {};

    std::string _directory;
    int _endpoint = -1;
    std::string _endpointName;
    int _sender = -1;
};

// Whether `name` may be carried: 1 to kCFNotificationNameMaxLength bytes, no NUL.
bool isValidNotificationName(std::string_view name);
