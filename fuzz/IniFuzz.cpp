// The INI reader and writer on any file and any names.
//
// Input: "SECTION\nKEY\nVALUE\n" followed by the bytes of the file. The file is
// read with those names and with names found in it; then VALUE is stored under
// SECTION and KEY, and what the file holds afterwards is read back.
#include "FuzzCheck.h"

#include "ini/modIni.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdio>
#include <vector>

namespace tavelin::fuzz {
namespace {

QString fromBytes(std::string_view bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string show(const QString& text) {
    return "\"" + text.toStdString() + "\"";
}

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f' || c == u'\r';
}

// A name that the writer stores on a line of its own and the reader finds
// again: one line, no blanks at its ends, and a key that is not taken for a
// comment or a section header and has no "=".
bool storableName(const QString& name, bool key) {
    if (name.contains(u'\n') ||
        (!name.isEmpty() && (isBlank(name.front()) || isBlank(name.back())))) {
        return false;
    }
    return !key || (!name.contains(u'=') && !name.startsWith(u';') && !name.startsWith(u'['));
}

// What a read gives for a stored value: line breaks stored as blanks, blanks
// at the ends dropped, one enclosing pair of quotes dropped, at most 1023
// UTF-16 units and never half a character.
QString readBackOf(QString value) {
    value.replace(QLatin1String("\r\n"), QLatin1String(" "));
    value.replace(u'\r', u' ');
    value.replace(u'\n', u' ');
    QByteArray bytes = value.toUtf8();
    auto blank = [](char c) {
        return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r';
    };
    while (!bytes.isEmpty() && blank(bytes.front())) {
        bytes.remove(0, 1);
    }
    while (!bytes.isEmpty() && blank(bytes.back())) {
        bytes.chop(1);
    }
    if (bytes.size() >= 2 && (bytes.front() == '"' || bytes.front() == '\'') &&
        bytes.back() == bytes.front()) {
        bytes = bytes.mid(1, bytes.size() - 2);
    }
    QString text = QString::fromUtf8(bytes);
    if (text.size() > 1023) {
        text.truncate(1023);
        if (text.back().isHighSurrogate()) {
            text.chop(1);
        }
    }
    return text;
}

// Section and key names that appear in the file, roughly: they only serve as
// names to ask for.
void namesIn(std::string_view file, std::vector<QString>& sections, std::vector<QString>& keys) {
    while (!file.empty() && (sections.size() < 6 || keys.size() < 6)) {
        std::string_view line = takeField(file, '\n');
        const size_t open = line.find('[');
        const size_t close = line.rfind(']');
        if (open != std::string_view::npos && close != std::string_view::npos && open < close) {
            if (sections.size() < 6) {
                sections.push_back(fromBytes(line.substr(open + 1, close - open - 1)).trimmed());
            }
        } else if (const size_t eq = line.find('='); eq != std::string_view::npos) {
            if (keys.size() < 6) {
                keys.push_back(fromBytes(line.substr(0, eq)).trimmed());
            }
        }
    }
}

// Whatever the file holds, a value is one line of at most 1023 UTF-16 units
// without a broken surrogate pair.
void checkValue(const QString& value, const QString& section, const QString& key) {
    const std::string where =
        "section " + show(section) + ", key " + show(key) + ": " + show(value);
    FUZZ_CHECK(value.size() <= 1023, where);
    FUZZ_CHECK(!value.contains(u'\n'), where);
    for (qsizetype i = 0; i < value.size(); ++i) {
        const bool pairStart =
            value[i].isHighSurrogate() && i + 1 < value.size() && value[i + 1].isLowSurrogate();
        FUZZ_CHECK(pairStart || !value[i].isSurrogate(), where);
        i += pairStart ? 1 : 0;
    }
}

struct Probe {
    QString section;
    QString key;
    QString value;
};

// The file's lines, each without one carriage return before its line feed.
std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        std::string_view line = takeField(text, '\n');
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
    }
    return lines;
}

// A write changes one place of the file: the lines before it and after it are
// those of the old file, and at most one old line is gone.
void checkOnePlaceChanged(const std::string& before, const std::string& after) {
    const auto old = linesOf(before);
    const auto now = linesOf(after);
    size_t head = 0;
    while (head < old.size() && head < now.size() && old[head] == now[head]) {
        ++head;
    }
    size_t tail = 0;
    while (tail < old.size() - head && tail < now.size() - head &&
           old[old.size() - 1 - tail] == now[now.size() - 1 - tail]) {
        ++tail;
    }
    const std::string files = "before:\n" + before + "\nafter:\n" + after;
    FUZZ_CHECK(old.size() - head - tail <= 1, "more than one old line changed; " + files);
    FUZZ_CHECK(now.size() - head - tail <= 4, "more than four new lines; " + files);
}

} // namespace

int fuzzIni(const uint8_t* data, size_t size) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    const QString section = fromBytes(takeField(rest, '\n'));
    const QString key = fromBytes(takeField(rest, '\n'));
    const QString value = fromBytes(takeField(rest, '\n'));
    const std::string content(rest);

    const std::string path = scratchDirectory() + "/Options.ini";
    const QString file = QString::fromStdString(path);
    std::remove(path.c_str());
    FUZZ_CHECK(GetINIValue(section, key, file).isEmpty(), "a missing file gives the empty text");
    FUZZ_CHECK(readBytes(path).empty() && !QFile::exists(file), "reading made the file");
    writeBytes(path, content);

    std::vector<QString> sections{section, section.toUpper(), QStringLiteral("EnglishList")};
    std::vector<QString> keys{key, key.toLower(), QStringLiteral("ForeColor")};
    namesIn(content, sections, keys);
    std::vector<Probe> probes;
    for (const QString& s : sections) {
        for (const QString& k : keys) {
            const QString v = GetINIValue(s, k, file);
            checkValue(v, s, k);
            probes.push_back({s, k, v});
        }
    }
    FUZZ_CHECK(readBytes(path) == content, "reading changed the file");

    FUZZ_CHECK(SetINIValue(section, key, value, file) == -1,
               "a plain file in a writable directory takes the value");
    const std::string written = readBytes(path);
    // A name the reader cannot find again (one with a line break or an "=" in
    // it, say) makes a line that reads as something else; the program's own
    // names are all plain words.
    const bool storable = storableName(section, false) && storableName(key, true);
    for (const Probe& probe : probes) {
        const QString now = GetINIValue(probe.section, probe.key, file);
        checkValue(now, probe.section, probe.key);
        const bool same = probe.section.compare(section, Qt::CaseInsensitive) == 0 &&
                          probe.key.compare(key, Qt::CaseInsensitive) == 0;
        if (storable && !same) {
            FUZZ_CHECK(now == probe.value,
                       "another key changed: section " + show(probe.section) + ", key " +
                           show(probe.key) + " was " + show(probe.value) + ", is " + show(now) +
                           "\nfile before:\n" + content + "\nafter:\n" + written);
        }
    }
    if (!storable) {
        return 0;
    }
    const QString stored = GetINIValue(section, key, file);
    FUZZ_CHECK(stored == readBackOf(value), "the value read back is " + show(stored) + ", stored " +
                                                show(value) + "\nfile before:\n" + content +
                                                "\nafter:\n" + written);
    checkOnePlaceChanged(content, written);
    // Again, under the names spelt another way where case allows it.
    const QString otherSection = section.toLower();
    const QString otherKey = key.toUpper();
    const bool caseAllows = otherSection.compare(section, Qt::CaseInsensitive) == 0 &&
                            otherKey.compare(key, Qt::CaseInsensitive) == 0;
    FUZZ_CHECK(SetINIValue(caseAllows ? otherSection : section, caseAllows ? otherKey : key, value,
                           file) == -1,
               "the second write");
    FUZZ_CHECK(readBytes(path) == written, "storing the same value again changed the file:\n" +
                                               written + "\nbecame:\n" + readBytes(path));
    return 0;
}

} // namespace tavelin::fuzz
