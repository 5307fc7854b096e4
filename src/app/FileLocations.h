#pragma once

#include <QString>

namespace tavelin {

// Where the dictionaries and the settings live.
//
// Portable: a dictionary (EA.tvl or RA.tvl) stands beside the program; both
// dictionaries and Options.ini are used there. This is the build tree's way.
// Installed: otherwise. The dictionaries are the user's own, in
// $XDG_DATA_HOME/tavelin (~/.local/share/tavelin), the settings in
// $XDG_CONFIG_HOME/tavelin/Options.ini (~/.config/tavelin); a missing
// dictionary is made there from the installed starter dictionary.
struct FileLocations {
    enum class Mode { Portable, Installed };

    Mode mode = Mode::Portable;
    QString dictionaryDirectory;
    QString optionsFile;
    // Where the installed starter dictionaries and word lists are looked
    // for (installed mode); empty when none was found.
    QString starterDirectory;

    static FileLocations find(const QString& programDirectory);

    // Installed mode: makes each missing dictionary from its starter, copied
    // under another name and moved in without replacing anything, so that a
    // dictionary of the user's is never touched. Returns the failures, one a
    // line, naming the files (empty when nothing failed; a starter that is
    // not there is no failure: opening the dictionary then says it is
    // missing).
    QString makeMissingDictionaries() const;

    // A few lines for --help: the mode and the paths.
    QString describe() const;
};

} // namespace tavelin
