#pragma once

#include <QString>
#include <QStringList>

namespace tavelin {

// Tells whether another copy of the program runs for this user: a lock on a
// file in a place only the user can write to, held until the process ends.
// The system drops the lock with its process, so a killed copy blocks nothing.
//
// The places, in order: the user's runtime directory ($XDG_RUNTIME_DIR),
// then a folder of mode 700 under the user's cache ($XDG_CACHE_HOME or
// ~/.cache), then one under the home. A place that is missing, not the
// user's, open to others, or where the lock file is a link or another
// user's file is passed over for the next: another user can neither hold the
// lock nor make the program create a file elsewhere.
class InstanceLock {
public:
    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // True when this process now holds the lock; false when another does.
    // Only when no place can hold a lock does the program run unlocked (it
    // says so on standard error).
    bool acquire();
    bool held() const { return fd_ >= 0; }
    // The lock file held, or empty.
    const QString& path() const { return path_; }

    // The folders tried, in order.
    static QStringList places();

private:
    enum class Outcome { Held, HeldElsewhere, Unusable };
    Outcome tryPlace(const QString& folder, bool create);

    int fd_ = -1;
    QString path_;
};

} // namespace tavelin
