#include "InstanceLock.h"

#include <QDir>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace tavelin {

InstanceLock::~InstanceLock() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

QString InstanceLock::lockPath() {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(QString::fromLocal8Bit(runtime)).exists()) {
        return QString::fromLocal8Bit(runtime) + "/tavelin.lock";
    }
    return QDir::tempPath() + QString("/tavelin-%1.lock").arg(::getuid());
}

bool InstanceLock::acquire() {
    if (fd_ >= 0) {
        return true;
    }
    const QByteArray path = QFile::encodeName(lockPath());
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        // Without a place for the lock nothing can tell two copies apart; let this one run.
        return true;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

} // namespace tavelin
