#pragma once

#include <QString>

namespace tavelin {

// Tells whether another copy of the program runs for this user: a lock on a
// file in the user's runtime directory, held until the process ends. The
// system drops the lock with its process, so a killed copy blocks nothing.
class InstanceLock {
public:
    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // True when this process now holds the lock; false when another does.
    bool acquire();
    bool held() const { return fd_ >= 0; }

    // Where the lock lives: $XDG_RUNTIME_DIR, or the temporary directory.
    static QString lockPath();

private:
    int fd_ = -1;
};

} // namespace tavelin
