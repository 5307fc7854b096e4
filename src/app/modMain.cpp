#include "modMain.h"

#include "Splash.h"
#include "data/DatabaseError.h"
#include "data/data.h"
#include "main_window/Tavelin.h"
#include "platform/Fonts.h"
#include "platform/InstanceLock.h"
#include "platform/Notice.h"

#include <QApplication>
#include <QDir>

#include <cstdlib>

namespace tavelin {
namespace {

const QString kTitle = QStringLiteral("Tavelin");

// What went wrong, in a user's words, from the engine's error number.
QString explain(const DatabaseError& e) {
    switch (e.code() & 0xFF) {
    case 14: // cannot open
        return QStringLiteral("the file is missing or cannot be read");
    case 11: // damaged
    case 26: // not a database
        return QStringLiteral("the file is damaged or is not a dictionary");
    case 1: // no such table or field
        return QStringLiteral("the file holds no dictionary of this kind");
    default:
        return QStringLiteral("the file cannot be used");
    }
}

// Opens one dictionary; reports a failure with the file's name and the engine's error.
bool openDictionary(Database& handle, const QString& directory, const DictionaryKind& kind) {
    const QString name = QString::fromLatin1(kind.fileName);
    const QString path = QDir(directory).filePath(name);
    try {
        handle = Database::open(QFile::encodeName(path).toStdString(), kind);
        return true;
    } catch (const DatabaseError& e) {
        showWarning(kTitle, QStringLiteral("The dictionary %1 cannot be opened: %2.\n\n%3\n\n"
                                           "Error %4: %5")
                                .arg(name, explain(e), QDir::toNativeSeparators(path))
                                .arg(e.code())
                                .arg(QString::fromStdString(e.text())));
        return false;
    }
}

// Reports a dictionary that fails while the program runs and ends the program.
[[noreturn]] void endOnFailure(const DatabaseError& e) {
    showWarning(kTitle, QStringLiteral("The dictionary cannot be read.\n\nError %1: %2")
                            .arg(e.code())
                            .arg(QString::fromStdString(e.text())));
    std::exit(1);
}

} // namespace

void fillLists(Tavelin& window) {
    try {
        LoadEnglish(window.list1->words());
        LoadArmenian(window.list2->words());
        LoadArmenian1(window.List3->words());
        LoadRussian(window.List4->words());
    } catch (const DatabaseError& e) {
        endOnFailure(e);
    }
}

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
    installFontSubstitutes();

    static InstanceLock lock; // held until the process ends
    if (!refuseSecondCopy(lock)) {
        return 1;
    }
    if (!openDictionaries(QApplication::applicationDirPath())) {
        return 1;
    }
    // The main window is made hidden and loads before the splash appears; the
    // splash fills its lists and shows it.
    Tavelin& window = Tavelin::instance();
    auto* splash = new Splash([&window] { fillLists(window); }, &window);
    splash->show();
    const int status = QApplication::exec();
    delete &window;
    return status;
}

} // namespace tavelin
