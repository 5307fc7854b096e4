#include "FileLocations.h"

#include "data/DictionaryKind.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tavelin {
namespace {

const QString kFolder = QStringLiteral("tavelin");

const char* const kDictionaries[] = {kEnglishArmenian.fileName, kRussianArmenian.fileName};

bool hasDictionary(const QString& directory) {
    for (const char* name : kDictionaries) {
        if (QFileInfo::exists(QDir(directory).filePath(QString::fromLatin1(name)))) {
            return true;
        }
    }
    return false;
}

// The installed starter files: share/tavelin beside the program's bin/ first
// (an install anywhere, a staged one included), then the system's data
// folders. The user's own data folder is never a starter.
QString findStarterDirectory(const QString& programDirectory, const QString& userData) {
    QStringList candidates{QDir(programDirectory).filePath(QStringLiteral("../share/") + kFolder)};
    for (const QString& data :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
        candidates << QDir(data).filePath(kFolder);
    }
    for (const QString& candidate : candidates) {
        QString clean = QDir::cleanPath(QDir(candidate).absolutePath());
        if (clean != QDir::cleanPath(userData) && hasDictionary(clean)) {
            return clean;
        }
    }
    return {};
}

QString failure(const QString& path, const char* what) {
    return QStringLiteral("%1: %2: %3\n")
        .arg(QDir::toNativeSeparators(path), QString::fromLatin1(what),
             QString::fromLocal8Bit(std::strerror(errno)));
}

// Copies `from` to `to` unless `to` exists: written whole under a name of
// its own, made durable, then linked in (a link never replaces a file).
QString copyWithoutReplacing(const QString& from, const QString& to) {
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly)) {
        return QStringLiteral("%1: %2\n").arg(QDir::toNativeSeparators(from), source.errorString());
    }
    const QByteArray part = QFile::encodeName(to + QStringLiteral(".part-%1").arg(::getpid()));
    const int fd = ::open(part.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        return failure(QFile::decodeName(part), "cannot be made");
    }
    QString failed;
    const QByteArray bytes = source.readAll();
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + written,
                                  static_cast<std::size_t>(bytes.size() - written));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        written += n;
    }
    // Everything read and written, then on the disk (fsync only after a whole write).
    if (written != bytes.size() || source.error() != QFileDevice::NoError || ::fsync(fd) != 0) {
        failed = failure(to, "cannot be written");
    }
    ::close(fd);
    if (failed.isEmpty() && ::link(part.constData(), QFile::encodeName(to).constData()) != 0 &&
        errno != EEXIST) {
        failed = failure(to, "cannot be made");
    }
    ::unlink(part.constData());
    return failed;
}

} // namespace

FileLocations FileLocations::find(const QString& programDirectory) {
    FileLocations found;
    if (hasDictionary(programDirectory)) {
        found.mode = Mode::Portable;
        found.dictionaryDirectory = programDirectory;
        found.optionsFile = QDir(programDirectory).filePath(QStringLiteral("Options.ini"));
        return found;
    }
    found.mode = Mode::Installed;
    found.dictionaryDirectory =
        QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
            .filePath(kFolder);
    found.optionsFile =
        QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
            .filePath(kFolder + QStringLiteral("/Options.ini"));
    found.starterDirectory = findStarterDirectory(programDirectory, found.dictionaryDirectory);
    return found;
}

QString FileLocations::makeMissingDictionaries() const {
    if (mode != Mode::Installed || starterDirectory.isEmpty()) {
        return {};
    }
    QString failures;
    if (!QDir().mkpath(dictionaryDirectory)) {
        return failure(dictionaryDirectory, "cannot be made");
    }
    for (const char* name : kDictionaries) {
        const QString file = QString::fromLatin1(name);
        const QString target = QDir(dictionaryDirectory).filePath(file);
        const QString starter = QDir(starterDirectory).filePath(file);
        if (QFileInfo::exists(target) || QFileInfo(target).isSymLink() ||
            !QFileInfo::exists(starter)) {
            continue;
        }
        failures += copyWithoutReplacing(starter, target);
    }
    return failures;
}

QString FileLocations::describe() const {
    QString text = mode == Mode::Portable
                       ? QStringLiteral("Portable mode: the dictionaries and the settings "
                                        "stand beside the program.\n")
                       : QStringLiteral("Installed mode: the dictionaries and the settings are "
                                        "your own,\nin your data and configuration folders.\n");
    text += QStringLiteral("  Dictionaries: %1\n  Settings:     %2\n")
                .arg(QDir::toNativeSeparators(dictionaryDirectory),
                     QDir::toNativeSeparators(optionsFile));
    if (mode == Mode::Installed) {
        text += QStringLiteral("  Starter dictionaries: %1\n")
                    .arg(starterDirectory.isEmpty() ? QStringLiteral("(none found)")
                                                    : QDir::toNativeSeparators(starterDirectory));
    }
    return text;
}

} // namespace tavelin
