#pragma once

// Options.ini: every setting of the program lives in this one INI file beside
// the program. Every read and every write goes to the file at once; nothing is
// cached, so a hand edit made while the program runs is seen by the next read.

#include <QString>

#include <stdexcept>

namespace tavelin {

// A run-time error inside GetINIValue or SetINIValue (such as running out of
// memory), raised again to the caller with the routine's name as its source
// and the routine's fixed description. Missing files, sections and keys are no
// errors, and neither is a write the file system refuses.
class IniError : public std::runtime_error {
public:
    IniError(int number, QString source, QString description);

    int number() const { return number_; }
    const QString& source() const { return source_; }
    const QString& description() const { return description_; }

private:
    int number_;
    QString source_;
    QString description_;
};

// The value of a key of a section of an INI file. Section and key names match
// without regard to case and the first matching section and key win; the value
// is the text after the first "=", without its leading and trailing blanks and
// without one enclosing pair of quotes (single or double), at most 1023
// characters. A missing file, section or key, or an empty value, gives the
// empty text. Throws IniError (source "GetINIValue").
QString GetINIValue(QString section, QString key, QString iniFile);

// Stores a value: replaces the value of the first matching key in place,
// appends a missing key to the end of its section and a missing section to
// the end of the file, and makes the file when there is none. Every other line
// of the file stays as it was, byte for byte. The new file is written beside
// the old one and takes its place in one step, so a failure part-way (a full
// disk, a crash) leaves the old file whole. Returns -1 when the value was
// stored, 0 when it was not (the directory or file cannot be written, the
// existing file cannot be read, the path is not a plain file). Line breaks in
// the value are stored as blanks. Throws IniError (source "SetINIValue").
short SetINIValue(QString section, QString key, QString value, QString iniFile);

// The full path of Options.ini: the program directory followed by
// "/Options.ini", asked for again at every call; or the path set below.
QString optionsFilePath();
// Points every user of Options.ini at another file (tests); the empty text
// goes back to the file beside the program.
void setOptionsFilePath(const QString& path);

namespace detail {

// Runs a routine's body under its error trap: any exception other than
// IniError leaves as an IniError with the given source and description (error
// number 7 for memory, 51 for anything else).
template <typename Body>
auto underIniTrap(const char* source, const char* description, Body body) -> decltype(body()) {
    try {
        return body();
    } catch (const IniError&) {
        throw;
    } catch (const std::bad_alloc&) {
        throw IniError(7, QString::fromLatin1(source), QString::fromLatin1(description));
    } catch (const std::exception&) {
        throw IniError(51, QString::fromLatin1(source), QString::fromLatin1(description));
    }
}

} // namespace detail
} // namespace tavelin
