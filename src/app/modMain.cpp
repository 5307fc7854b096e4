#include "modMain.h"

#include "data/DatabaseError.h"
#include "data/data.h"
#include "platform/InstanceLock.h"
#include "platform/Notice.h"

#include <QApplication>
#include <QDir>

namespace tavelin {
namespace {

const QString kTitle = QStringLiteral("Tavelin");

// Opens one dictionary; reports a failure with the file's name and the engine's error.
bool openDictionary(Database& handle, const QString& directory, const DictionaryKind& kind) {
    const QString name = QString::fromLatin1(kind.fileName);
    const QString path = QDir(directory).filePath(name);
    try {
        handle = Database::open(QFile::encodeName(path).toStdString(), kind);
        return true;
    } catch (const DatabaseError& e) {
        showWarning(kTitle,
                    QStringLiteral("The dictionary %1 cannot be opened.\n\n%2\n\nError %3: %4")
                        .arg(name, QDir::toNativeSeparators(path))
                        .arg(e.code())
                        .arg(QString::fromStdString(e.text())));
        return false;
    }
}

} // namespace

bool refuseSecondCopy(InstanceLock& lock) {
    if (lock.acquire()) {
        return true;
    }
    showWarning(kTitle, QStringLiteral("Tavelin Already Running!"));
    return false;
}

bool openDictionaries(const QString& programDirectory) {
    return openDictionary(db, programDirectory, kEnglishArmenian) &&
           openDictionary(db1, programDirectory, kRussianArmenian);
}

int Main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(kTitle);

    static InstanceLock lock; // held until the process ends
    if (!refuseSecondCopy(lock)) {
        return 1;
    }
    if (!openDictionaries(QApplication::applicationDirPath())) {
        return 1;
    }
    return 0;
}

} // namespace tavelin
