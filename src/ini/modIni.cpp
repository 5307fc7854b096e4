// The INI file routines. The file is read whole at every call and never held
// open; a write makes the new text in memory and puts it in place with
// QSaveFile (a temporary file beside the old one, renamed over it), so the
// file is always either the old one or the new one.
#include "modIni.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>

#include <filesystem>
#include <optional>

#include <sys/stat.h>
#include <unistd.h>

namespace tavelin {
namespace {

constexpr qsizetype kMaxValueLength = 1023;

const char* const kGetSource = "GetINIValue";
const char* const kGetDescription = "Cannot read from INI File.";
const char* const kSetSource = "SetINIValue";
const char* const kSetDescription = "Cannot write To INI file.";

QString& pathOverride() {
    static QString path;
    return path;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r';
}

// One line of the file: [begin, end) is its text without the line break,
// [end, next) the line break (empty on a last line without one).
struct Line {
    qsizetype begin;
    qsizetype end;
    qsizetype next;
};

// What a line is, from its text with the blanks around it removed.
struct LineKind {
    enum { Other, Header, Key, Comment } kind = Other;
    qsizetype nameBegin = 0; // the section or key name (absolute positions)
    qsizetype nameEnd = 0;
    qsizetype valueBegin = 0; // the value, blanks removed (absolute positions)
    qsizetype valueEnd = 0;
};

LineKind classify(const QByteArray& data, const Line& line) {
    const char* d = data.constData();
    qsizetype b = line.begin;
    qsizetype e = line.end;
    while (b < e && isBlank(d[b])) {
        ++b;
    }
    while (e > b && isBlank(d[e - 1])) {
        --e;
    }
    LineKind k;
    if (b == e) {
        return k;
    }
    if (d[b] == ';') {
        k.kind = LineKind::Comment;
        return k;
    }
    if (d[b] == '[') {
        qsizetype close = e;
        while (close > b + 1 && d[close - 1] != ']') {
            --close;
        }
        if (close > b + 1) { // the name runs to the last "]"
            qsizetype nb = b + 1;
            qsizetype ne = close - 1;
            while (nb < ne && isBlank(d[nb])) {
                ++nb;
            }
            while (ne > nb && isBlank(d[ne - 1])) {
                --ne;
            }
            k.kind = LineKind::Header;
            k.nameBegin = nb;
            k.nameEnd = ne;
            return k;
        }
    }
    const qsizetype eq = data.indexOf('=', b);
    if (eq < 0 || eq >= e) {
        return k;
    }
    qsizetype ne = eq;
    while (ne > b && isBlank(d[ne - 1])) {
        --ne;
    }
    qsizetype vb = eq + 1;
    while (vb < e && isBlank(d[vb])) {
        ++vb;
    }
    k.kind = LineKind::Key;
    k.nameBegin = b;
    k.nameEnd = ne;
    k.valueBegin = vb;
    k.valueEnd = e;
    return k;
}

bool sameName(const QByteArray& data, qsizetype begin, qsizetype end, const QString& name) {
    const QString text = QString::fromLocal8Bit(data.constData() + begin, end - begin);
    return text.compare(name, Qt::CaseInsensitive) == 0;
}

// The UTF-8 byte-order mark some editors (Windows Notepad) put first; it
// belongs to no line, and a rewritten file keeps it.
qsizetype byteOrderMarkLength(const QByteArray& data) {
    return data.startsWith("\xEF\xBB\xBF") ? 3 : 0;
}

// Calls `visit(line, kind)` for every line in order until it returns false.
template <typename Visit> void forEachLine(const QByteArray& data, Visit visit) {
    qsizetype pos = byteOrderMarkLength(data);
    const qsizetype size = data.size();
    while (pos < size) {
        qsizetype nl = data.indexOf('\n', pos);
        Line line;
        line.begin = pos;
        if (nl < 0) {
            line.end = size;
            line.next = size;
        } else {
            line.end = (nl > pos && data[nl - 1] == '\r') ? nl - 1 : nl;
            line.next = nl + 1;
        }
        if (!visit(line, classify(data, line))) {
            return;
        }
        pos = line.next;
    }
}

// Where a key stands in the file: its line, or where a new line for it goes.
struct KeyPlace {
    bool sectionFound = false;
    std::optional<Line> headerLine;
    std::optional<Line> keyLine;
    LineKind keyKind;
    std::optional<Line> lastKeyLine; // of the section, when the key is missing
};

KeyPlace findKey(const QByteArray& data, const QString& section, const QString& key) {
    KeyPlace place;
    bool inSection = false;
    forEachLine(data, [&](const Line& line, const LineKind& kind) {
        if (kind.kind == LineKind::Header) {
            if (inSection) {
                return false; // only the first matching section counts
            }
            if (sameName(data, kind.nameBegin, kind.nameEnd, section)) {
                inSection = true;
                place.sectionFound = true;
                place.headerLine = line;
            }
            return true;
        }
        if (inSection && kind.kind == LineKind::Key) {
            if (sameName(data, kind.nameBegin, kind.nameEnd, key)) {
                place.keyLine = line;
                place.keyKind = kind;
                return false;
            }
            place.lastKeyLine = line;
        }
        return true;
    });
    return place;
}

enum class Existing { Missing, Read, Unusable };

// The file's bytes; Unusable when it exists but is not a plain readable file.
Existing readWhole(const QString& path, QByteArray& data) {
    std::error_code error;
    const std::filesystem::path file(QFile::encodeName(path).toStdString());
    const auto status = std::filesystem::status(file, error);
    if (error || !std::filesystem::exists(status)) {
        return std::filesystem::exists(status) ? Existing::Unusable : Existing::Missing;
    }
    if (!std::filesystem::is_regular_file(status)) {
        return Existing::Unusable; // a directory or a pipe, which reading could wait on forever
    }
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly)) {
        return Existing::Unusable;
    }
    data = in.readAll();
    return in.error() == QFileDevice::NoError ? Existing::Read : Existing::Unusable;
}

QByteArray lineBreakOf(const QByteArray& data) {
    const qsizetype nl = data.indexOf('\n');
    return (nl > 0 && data[nl - 1] == '\r') ? QByteArrayLiteral("\r\n") : QByteArrayLiteral("\n");
}

QByteArray withNewValue(const QByteArray& data, const QString& section, const QString& key,
                        const QByteArray& value) {
    const KeyPlace place = findKey(data, section, key);
    const QByteArray eol = lineBreakOf(data);
    QByteArray out;
    out.reserve(data.size() + key.size() + value.size() + section.size() + 16);
    if (place.keyLine) {
        // Same indentation and spelling of the key; only the value changes.
        out.append(data.constData(), place.keyKind.nameEnd);
        out.append('=');
        out.append(value);
        out.append(data.constData() + place.keyLine->end, data.size() - place.keyLine->end);
        return out;
    }
    const QByteArray newLine = key.toLocal8Bit() + '=' + value;
    if (place.sectionFound) {
        const Line after = place.lastKeyLine ? *place.lastKeyLine : *place.headerLine;
        out.append(data.constData(), after.end);
        out.append(after.next > after.end ? data.mid(after.end, after.next - after.end) : eol);
        out.append(newLine);
        out.append(eol);
        out.append(data.constData() + after.next, data.size() - after.next);
        return out;
    }
    out = data;
    if (out.size() > byteOrderMarkLength(out)) {
        if (!out.endsWith('\n')) {
            out.append(eol);
        }
        if (!out.endsWith(eol + eol) && out != eol) {
            out.append(eol); // a blank line between sections
        }
    }
    out.append('[' + section.toLocal8Bit() + ']' + eol + newLine + eol);
    return out;
}

// The new file takes the place of the old one (through a symbolic link, of
// the link's target): it gets the old one's owner and mode, so that saving as
// another user (root) neither takes the file from its owner nor opens it to
// others.
void keepOwnerAndMode(const QString& path, QSaveFile& out) {
    struct stat old {};
    if (::stat(QFile::encodeName(path).constData(), &old) != 0) {
        return; // a new file: the default owner and mode
    }
    const int fd = static_cast<int>(out.handle());
    if (fd < 0) {
        return;
    }
    // Not being allowed to give the file away is no reason not to save it.
    [[maybe_unused]] const int owner = ::fchown(fd, old.st_uid, old.st_gid);
    ::fchmod(fd, old.st_mode & 07777);
}

} // namespace

IniError::IniError(int number, QString source, QString description)
    : std::runtime_error(description.toStdString()), number_(number), source_(std::move(source)),
      description_(std::move(description)) {}

QString GetINIValue(QString section, QString key, QString iniFile) {
    return detail::underIniTrap(kGetSource, kGetDescription, [&]() -> QString {
        QByteArray data;
        if (readWhole(iniFile, data) != Existing::Read) {
            return {};
        }
        const KeyPlace place = findKey(data, section, key);
        if (!place.keyLine) {
            return {};
        }
        qsizetype b = place.keyKind.valueBegin;
        qsizetype e = place.keyKind.valueEnd;
        if (e - b >= 2 && (data[b] == '"' || data[b] == '\'') && data[e - 1] == data[b]) {
            ++b;
            --e;
        }
        QString value = QString::fromLocal8Bit(data.constData() + b, e - b);
        if (value.size() > kMaxValueLength) {
            value.truncate(kMaxValueLength);
            if (value.back().isHighSurrogate()) {
                value.chop(1); // never half a character
            }
        }
        return value;
    });
}

short SetINIValue(QString section, QString key, QString value, QString iniFile) {
    return detail::underIniTrap(kSetSource, kSetDescription, [&]() -> short {
        QByteArray data;
        if (readWhole(iniFile, data) == Existing::Unusable) {
            return 0; // replacing a file that cannot be read would lose what it holds
        }
        // A line break in the value would make lines of its own in the file.
        value.replace(QLatin1String("\r\n"), QLatin1String(" "));
        value.replace(QLatin1Char('\r'), QLatin1Char(' '));
        value.replace(QLatin1Char('\n'), QLatin1Char(' '));
        const QByteArray updated = withNewValue(data, section, key, value.toLocal8Bit());
        if (updated == data && QFile::exists(iniFile)) {
            return -1;
        }
        // Unbuffered: a buffered QSaveFile learns of a failing write (a full
        // disk) only while flushing in commit(), too late to stop it putting a
        // cut-off file in place of the old one.
        QSaveFile out(iniFile);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
            return 0;
        }
        keepOwnerAndMode(iniFile, out);
        if (out.write(updated) != updated.size() || !out.flush() ||
            out.error() != QFileDevice::NoError) {
            out.cancelWriting();
            out.commit(); // only removes the temporary file
            return 0;
        }
        return out.commit() ? -1 : 0;
    });
}

QString optionsFilePath() {
    if (!pathOverride().isEmpty()) {
        return pathOverride();
    }
    return QCoreApplication::applicationDirPath() + QStringLiteral("/Options.ini");
}

void setOptionsFilePath(const QString& path) {
    pathOverride() = path;
}

} // namespace tavelin
