#include "modMain.h"

#include "Application.h"
#include "Dictionaries.h"
#include "FileLocations.h"
#include "ListSnapshot.h"
#include "Splash.h"
#include "Version.h"
#include "data/DatabaseError.h"
#include "editing/EditingCommands.h"
#include "ini/modIni.h"
#include "main_window/Tavelin.h"
#include "platform/Fonts.h"
#include "platform/InstanceLock.h"
#include "services/HelpWindow.h"
#include "services/frmAbout.h"
#include "settings/OptionsDialog.h"
#include "widgets/Notice.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <csignal>
#include <cstdio>
#include <exception>
#include <new>
#include <optional>
#include <string_view>
#include <thread>

#ifdef TAVELIN_XCB_PROBE
#include <xcb/xcb.h>
#endif

namespace tavelin {
namespace {

const QString kTitle = QStringLiteral("Tavelin");

// What went wrong, in a user's words.
QString explain(const DatabaseError& e) {
    switch (e.kind()) {
    case DatabaseError::Kind::Missing:
        return QStringLiteral("the file is missing");
    case DatabaseError::Kind::Unreadable:
        return QStringLiteral("the file cannot be read");
    case DatabaseError::Kind::NotADictionary:
        return QStringLiteral("the file is damaged or is no dictionary of this kind");
    case DatabaseError::Kind::Busy:
        return QStringLiteral("another program is using the file");
    case DatabaseError::Kind::ReadOnly:
    case DatabaseError::Kind::Full:
    case DatabaseError::Kind::Other:
        break;
    }
    return QStringLiteral("the file cannot be used");
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

// What a failure to read a dictionary's words says to the user.
QString detailOf(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const DatabaseError& e) {
        return QStringLiteral("Error %1: %2").arg(e.code()).arg(QString::fromStdString(e.text()));
    } catch (const std::bad_alloc&) {
        return QStringLiteral("There is not enough memory for its words.");
    } catch (const std::exception& e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return QStringLiteral("Unknown error");
    }
}

// Reports a dictionary whose words could not be read into the lists.
void reportFillFailure(const Database& dictionary, const std::exception_ptr& failure) {
    const QString detail = detailOf(failure);
    const QString name = QString::fromLatin1(dictionary.kind().fileName);
    const QString path = QDir::toNativeSeparators(QFile::decodeName(dictionary.path().c_str()));
    showWarning(
        kTitle,
        QStringLiteral("The dictionary %1 cannot be read.\n\n%2\n\n%3").arg(name, path, detail));
}

} // namespace

namespace {

// Hands a list's words to a loader on another thread: the list itself is
// emptied before and finished after, on the window's thread, so that its
// views hear of the change there.
class WordsFromAnotherThread : public WordList {
public:
    explicit WordsFromAnotherThread(WordListModel& list) : list_(list) {}
    void clear() override {}
    void append(std::string_view word) override { list_.append(word); }
    void reserve(std::size_t count) override { list_.reserve(count); }
    void finish() override {}

private:
    WordListModel& list_;
};

// Fills a dictionary's two lists, emptied before and finished after on the
// window's thread: from the copy kept at an earlier start while the
// dictionary is exactly as it was then, else from the dictionary. Lists read
// from the dictionary come back as a copy to keep for the next start, when
// the dictionary stood unchanged while they were read.
std::optional<ListSnapshotWriter::Copy> readLists(const Database& dictionary,
                                                  void (*loadSource)(WordList&),
                                                  void (*loadArmenian)(WordList&),
                                                  WordListModel& source, WordListModel& armenian) {
    ListSnapshot snapshot(dictionary.path());
    const std::optional<DictionaryState> before = DictionaryState::of(dictionary.path());
    if (before && snapshot.read(*before, source, armenian)) {
        return std::nullopt;
    }
    WordsFromAnotherThread sourceWords(source);
    WordsFromAnotherThread armenianWords(armenian);
    loadSource(sourceWords);
    loadArmenian(armenianWords);
    if (before && before->settled() && DictionaryState::of(dictionary.path()) == before) {
        return ListSnapshotWriter::Copy{std::move(snapshot), *before, &source, &armenian};
    }
    return std::nullopt;
}

// The copies of lists read from the dictionaries, written while the window
// is in use.
ListSnapshotWriter listCopies;

} // namespace

bool fillLists(Tavelin& window) {
    // The two dictionaries are read at the same time, the Russian-Armenian one
    // on a thread of its own; each list still gets its words in the loaders' order.
    WordListModel* const lists[] = {&window.list1->words(), &window.list2->words(),
                                    &window.List4->words(), &window.List3->words()};
    for (WordListModel* list : lists) {
        list->clear();
    }
    std::optional<ListSnapshotWriter::Copy> russianCopy;
    std::optional<ListSnapshotWriter::Copy> englishCopy;
    std::exception_ptr russianFailure;
    std::thread russian([&] {
        try {
            russianCopy = readLists(db1, LoadRussian, LoadArmenian1, *lists[2], *lists[3]);
        } catch (...) {
            russianFailure = std::current_exception();
        }
    });
    std::exception_ptr englishFailure;
    try {
        englishCopy = readLists(db, LoadEnglish, LoadArmenian, *lists[0], *lists[1]);
    } catch (...) {
        englishFailure = std::current_exception();
    }
    russian.join();
    for (WordListModel* list : lists) {
        list->finish();
        list->setBeforeChange([] { listCopies.wait(); });
    }
    std::vector<ListSnapshotWriter::Copy> copies;
    for (auto* copy : {&englishCopy, &russianCopy}) {
        if (*copy && !englishFailure && !russianFailure) {
            copies.push_back(std::move(**copy));
        }
    }
    listCopies.start(std::move(copies));
    // The word count shows with the window, not one timer tick later.
    window.Timer1_Timer();
    if (englishFailure) {
        reportFillFailure(db, englishFailure);
        return false;
    }
    if (russianFailure) {
        reportFillFailure(db1, russianFailure);
        return false;
    }
    return true;
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

// --help and --version, answered without a display. Returns the exit
// status, or nothing when the program is to start.
std::optional<int> answerCommandLine(int argc, char** argv) {
    bool help = false;
    bool version = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        help = help || argument == "--help" || argument == "-h";
        version = version || argument == "--version";
    }
    if (!help && !version) {
        return std::nullopt;
    }
    if (version) {
        std::printf("tavelin %s\n", kVersion);
        return 0;
    }
    QCoreApplication core(argc, argv);
    const FileLocations files = FileLocations::find(QCoreApplication::applicationDirPath());
    const QString copies = QString::fromStdString(listSnapshotFolder());
    std::printf("Usage: tavelin [--help] [--version]\n\n"
                "Tavelin %s, an English-Armenian and Russian-Armenian dictionary.\n\n%s"
                "  Word-list copies for a quick start (no user data): %s\n\n"
                "Ctrl+F7 hides the dictionary to its notification-area icon and Ctrl+F8\n"
                "brings it back, from any program; Ctrl+F9 looks up the text selected in\n"
                "any program (Tools menu, or SelectionKey in section LookUp of\n"
                "Options.ini). Help > Help Topics (F1) lists the keys.\n",
                kVersion, qPrintable(files.describe()),
                copies.isEmpty() ? "(none)" : qPrintable(QDir::toNativeSeparators(copies)));
    return 0;
}

// Where the files are; in installed mode the user's folders are made ready
// and a missing dictionary is made from the starter one.
std::optional<FileLocations> prepareFiles() {
    const FileLocations files = FileLocations::find(QApplication::applicationDirPath());
    setOptionsFilePath(files.optionsFile);
    if (files.mode == FileLocations::Mode::Installed) {
        QDir().mkpath(QFileInfo(files.optionsFile).absolutePath());
        const QString failures = files.makeMissingDictionaries();
        if (!failures.isEmpty()) {
            showWarning(kTitle, QStringLiteral("Your dictionaries cannot be made in %1.\n\n%2")
                                    .arg(QDir::toNativeSeparators(files.dictionaryDirectory),
                                         failures.trimmed()));
            return std::nullopt;
        }
    }
    return files;
}

// Why no window can be shown, when that is known before Qt tries: the X11
// and Wayland platforms need a display named in the environment.
std::optional<QString> missingDisplay(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) == "-platform") {
            return std::nullopt; // the user chose a platform
        }
    }
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && !platform.startsWith("xcb") && !platform.startsWith("wayland")) {
        return std::nullopt;
    }
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        return std::nullopt;
    }
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        return QStringLiteral("Tavelin: no display found (neither DISPLAY nor WAYLAND_DISPLAY is "
                              "set); start the dictionary from a desktop session.");
    }
#ifdef TAVELIN_XCB_PROBE
    // A display named but not answering (no server there, or one that turns
    // the user away) would end the program inside the toolkit: try the
    // connection it is going to make first.
    if (platform.isEmpty() || platform.startsWith("xcb")) {
        const char* name = nullptr; // DISPLAY
        for (int i = 1; i + 1 < argc; ++i) {
            if (std::string_view(argv[i]) == "-display") {
                name = argv[i + 1];
            }
        }
        xcb_connection_t* connection = xcb_connect(name, nullptr);
        const bool reached = xcb_connection_has_error(connection) == 0;
        xcb_disconnect(connection);
        if (!reached) {
            return QStringLiteral("Tavelin: the display %1 cannot be reached; start the "
                                  "dictionary from a desktop session.")
                .arg(QString::fromLocal8Bit(name ? QByteArray(name) : qgetenv("DISPLAY")));
        }
    }
#endif
    return std::nullopt;
}

int Main(int argc, char** argv) {
    // A write beyond the file-size limit then fails, and is reported, as a
    // write to a full disk is, instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    if (const std::optional<int> status = answerCommandLine(argc, argv)) {
        return *status;
    }
    if (const std::optional<QString> why = missingDisplay(argc, argv)) {
        std::fprintf(stderr, "%s\n", qPrintable(*why));
        return 1;
    }
    Application app(argc, argv);
    QApplication::setApplicationName(kTitle);
    QApplication::setApplicationVersion(QString::fromLatin1(kVersion));
    installFontSubstitutes();

    static InstanceLock lock; // held until the process ends
    if (!refuseSecondCopy(lock)) {
        return 1;
    }
    const std::optional<FileLocations> files = prepareFiles();
    if (!files || !openDictionaries(files->dictionaryDirectory)) {
        return 1;
    }
    // The main window comes into being hidden, and its load sequence runs;
    // then the saved looks of both pages are applied to it. The splash then
    // fills its lists and shows it.
    Tavelin& window = Tavelin::instance();
    attachDictionaries(window);
    OptionsDialog::attach(window.page(0), window.page(1), &window);
    LoadOptions();
    LoadOptions1();
    window.setCommands({[&window](int page) { openAddDialog(window.page(page), &window); },
                        [&window](int page) { openDeleteDialog(window.page(page), &window); },
                        openOptionsDialog, [&window] { openAboutBox(&window); },
                        [&window] { openHelpWindow(&window); }});
    bool filled = true;
    auto* splash = new Splash(
        [&window, &filled] {
            filled = fillLists(window);
            if (!filled) {
                QCoreApplication::exit(1);
            }
            return filled;
        },
        &window);
    splash->show();
    const int status = QApplication::exec();
    listCopies.wait();
    delete &window;
    return filled ? status : 1;
}

} // namespace tavelin
