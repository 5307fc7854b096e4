#pragma once

#include "modIni.h"
#include "widgets/Notice.h"

#include <QDir>

namespace tavelin {

// Runs one step of a user's action; an error of the INI routines ends the
// step and is told to the user (the program goes on), as an error of a
// settings file must never stop the dictionary.
template <typename Step> void reportingIniErrors(Step step) {
    try {
        step();
    } catch (const IniError& e) {
        showWarning(
            QStringLiteral("Tavelin"),
            QStringLiteral("Run-time error '%1':\n\n%2\n(%3)\n\n%4")
                .arg(e.number())
                .arg(e.description(), e.source(), QDir::toNativeSeparators(optionsFilePath())));
    }
}

} // namespace tavelin
