#include "InstanceLock.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tavelin {
namespace {

const char* const kLockName = "/tavelin.lock";

QString fromEnvironment(const char* name) {
    return QFile::decodeName(qgetenv(name));
}

// A folder only this user can write to: the user's own, open to no one else.
bool isPrivateFolder(const QByteArray& path) {
    struct stat info {};
    return ::lstat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::geteuid() && (info.st_mode & 022) == 0;
}

// Makes the folder (mode 700) when it is missing; its parents as needed.
void makePrivateFolder(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    if (::mkdir(name.constData(), 0700) == 0 || errno != ENOENT) {
        return;
    }
    const QString parent = QFileInfo(path).absolutePath();
    if (parent != path) {
        makePrivateFolder(parent);
        ::mkdir(name.constData(), 0700);
    }
}

} // namespace

InstanceLock::~InstanceLock() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

QStringList InstanceLock::places() {
    QStringList folders;
    const QString runtime = fromEnvironment("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty()) {
        folders << runtime;
    }
    QString cache = fromEnvironment("XDG_CACHE_HOME");
    const QString home = fromEnvironment("HOME");
    if (cache.isEmpty() && !home.isEmpty()) {
        cache = home + QStringLiteral("/.cache");
    }
    if (!cache.isEmpty()) {
        folders << cache + QStringLiteral("/tavelin");
    }
    if (!home.isEmpty()) {
        folders << home + QStringLiteral("/.tavelin");
    }
    return folders;
}

InstanceLock::Outcome InstanceLock::tryPlace(const QString& folder, bool create) {
    if (create) {
        makePrivateFolder(folder);
    }
    const QByteArray folderName = QFile::encodeName(folder);
    if (!isPrivateFolder(folderName)) {
        return Outcome::Unusable;
    }
    const QByteArray file = folderName + kLockName;
    // Never through a link, never someone else's file.
    const int fd = ::open(file.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        return Outcome::Unusable;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) {
        ::close(fd);
        return Outcome::Unusable;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(fd);
        return held ? Outcome::HeldElsewhere : Outcome::Unusable;
    }
    fd_ = fd;
    path_ = QFile::decodeName(file);
    return Outcome::Held;
}

bool InstanceLock::acquire() {
    if (fd_ >= 0) {
        return true;
    }
    const QStringList folders = places();
    for (int i = 0; i < folders.size(); ++i) {
        // The runtime directory is the system's to make; the others are ours.
        const bool create = i > 0 || folders[i] != fromEnvironment("XDG_RUNTIME_DIR");
        switch (tryPlace(folders[i], create)) {
        case Outcome::Held:
            return true;
        case Outcome::HeldElsewhere:
            return false;
        case Outcome::Unusable:
            break;
        }
    }
    std::fprintf(stderr,
                 "Tavelin: no private folder can hold the lock that keeps a second copy "
                 "from starting (tried %s); starting without it.\n",
                 qPrintable(folders.join(QStringLiteral(", "))));
    return true;
}

} // namespace tavelin
