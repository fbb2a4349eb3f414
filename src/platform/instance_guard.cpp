#include "platform/instance_guard.h"

#include <QFileSystemWatcher>
#include <QLocalServer>
#include <QLocalSocket>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "platform/hand_over_wire.h"

namespace vellix {
namespace {

constexpr int kConnectTimeoutMs = 1000;
constexpr int kAnswerTimeoutMs = 5000;
// A lock held by an instance that has not started listening yet: keep trying this long.
constexpr auto kListenGrace = std::chrono::milliseconds(2000);

bool isSocket(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISSOCK(info.st_mode);
}

// A listening socket made with the lock, so a later start that finds the lock held also
// finds someone to talk to; QLocalServer adopts it once the listening thread runs.
int listeningSocket(const std::string& path) {
    sockaddr_un address{};
    if (path.size() >= sizeof(address.sun_path)) return -1;
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, path.size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    ::unlink(path.c_str());  // we hold the lock: a socket file here belongs to a dead instance
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
        ::chmod(path.c_str(), 0600) != 0 || ::listen(fd, 16) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool isPrivateFolder(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::getuid();
}

}  // namespace

InstanceGuard::InstanceGuard(std::string folder) : folder_(std::move(folder)) {
}

InstanceGuard::~InstanceGuard() {
    stopListening();
    if (earlySocket_ >= 0) {
        ::close(earlySocket_);
        ::unlink(socketPath().c_str());
    }
    if (lockFd_ >= 0) ::close(lockFd_);
}

std::string InstanceGuard::runtimeFolder() {
    std::string base;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        runtime && *runtime && isPrivateFolder(runtime)) {
        base = std::string(runtime) + "/vellix";
    } else {
        base = "/tmp/vellix-" + std::to_string(::getuid());
    }
    ::mkdir(base.c_str(), 0700);
    return base;
}

std::string InstanceGuard::socketPath() const {
    return folder_ + "/instance.sock";
}

bool InstanceGuard::acquire(Milliseconds timeout) {
    if (lockFd_ < 0) {
        lockFd_ = ::open((folder_ + "/instance.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (lockFd_ < 0) return true;  // no lock can be had at all: run rather than refuse
    }
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (true) {
        if (::flock(lockFd_, LOCK_EX | LOCK_NB) == 0) {
            // Failing here is reported by listen(), which then tries the usual way.
            if (earlySocket_ < 0) earlySocket_ = listeningSocket(socketPath());
            return true;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

std::optional<bool> InstanceGuard::exchange(const std::string& request) {
    const auto giveUp = std::chrono::steady_clock::now() + kListenGrace;
    QLocalSocket socket;
    while (true) {
        socket.connectToServer(QString::fromStdString(socketPath()));
        if (socket.waitForConnected(kConnectTimeoutMs)) break;
        if (std::chrono::steady_clock::now() >= giveUp) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    socket.write(request.data(), static_cast<qint64>(request.size()));
    if (!socket.waitForBytesWritten(kAnswerTimeoutMs)) return std::nullopt;
    if (!socket.waitForReadyRead(kAnswerTimeoutMs)) return std::nullopt;
    char answer = 0;
    if (socket.read(&answer, 1) != 1) return std::nullopt;
    socket.disconnectFromServer();
    return answer != 0;
}

bool InstanceGuard::postToRunning(MessageId id, WParam w, LParam l) {
    return exchange(encodePostRequest(PostRequest{id, w, l})).has_value();
}

std::optional<bool> InstanceGuard::copyDataToRunning(std::uint32_t kind, std::string_view data) {
    if (data.size() > kMaxHandOverData) data = data.substr(0, kMaxHandOverData);
    return exchange(encodeCopyDataRequest(kind, data));
}

Status InstanceGuard::listen(HandOverHandler handler) {
    handler_ = std::move(handler);
    Status listening = listenHere();
    if (!listening) return listening;
    watcher_ = std::make_unique<QFileSystemWatcher>();
    watcher_->addPath(QString::fromStdString(folder_));
    QObject::connect(watcher_.get(), &QFileSystemWatcher::directoryChanged, watcher_.get(),
                     [this] { socketFolderChanged(); });
    return success();
}

Status InstanceGuard::listenHere() {
    if (server_) server_->close();
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    const QString path = QString::fromStdString(socketPath());
    // We hold the lock, so a socket file left here belongs to a dead instance.
    bool listening = false;
    if (earlySocket_ >= 0) {
        // The server owns the descriptor from here, closing it itself when it refuses it.
        listening = server_->listen(earlySocket_);
        earlySocket_ = -1;
    }
    if (!listening) {
        QLocalServer::removeServer(path);
        listening = server_->listen(path);
    }
    if (!listening || !isSocket(socketPath())) {
        const std::string why =
            "cannot listen on " + socketPath() + ": " + server_->errorString().toStdString();
        // Later starts cannot hand "/stop" or "mailto:" over: say so where it can be seen.
        std::fprintf(stderr, "vellix: %s\n", why.c_str());
        server_.reset();
        return failure(why);
    }
    // Everything runs on the listening thread: the context objects are the server and sockets.
    QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(),
                     [this] { serve(); });
    return success();
}

void InstanceGuard::socketFolderChanged() {
    if (isSocket(socketPath())) return;
    (void)listenHere();
}

void InstanceGuard::stopListening() {
    watcher_.reset();
    if (!server_) return;
    server_->close();
    server_.reset();
}

void InstanceGuard::serve() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto buffer = std::make_shared<std::string>();
        QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket, buffer] {
            const QByteArray bytes = socket->readAll();
            buffer->append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
            while (true) {
                DecodedRequest decoded = decodeHandOverRequest(*buffer);
                if (decoded.state == DecodeState::NeedMore) return;
                if (decoded.state == DecodeState::Malformed) {
                    socket->abort();
                    return;
                }
                buffer->erase(0, decoded.consumed);
                LResult answer = 0;
                if (auto* post = std::get_if<PostRequest>(&decoded.request)) {
                    // Only a stop request may come from outside as a plain message.
                    if (post->id == UM_STOP) {
                        Message message{post->id, post->w, post->l, nullptr};
                        answer = handler_ ? (handler_(message), 1) : 0;
                    }
                } else {
                    auto& copy = std::get<CopyData>(decoded.request);
                    Message message{WM_COPYDATA, copy.kind, 0, makePayload(std::move(copy))};
                    answer = handler_ ? handler_(message) : 0;
                }
                const char reply = answer ? 1 : 0;
                socket->write(&reply, 1);
            }
        });
    }
}

}  // namespace vellix
