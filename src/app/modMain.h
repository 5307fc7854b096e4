#pragma once

#include <QString>

namespace tavelin {

class InstanceLock;
class Tavelin;

// The start-up sequence, step by step. Each step returns false when the
// program must end (after telling the user why).

// Refuses to run beside another copy of the program.
bool refuseSecondCopy(InstanceLock& lock);
// Opens EA.tvl into `db`, then RA.tvl into `db1`, from the dictionaries' directory.
bool openDictionaries(const QString& directory);

// Fills the main window's four lists from the two dictionaries. A failure,
// whatever its kind, is reported with the dictionary's name and path, and
// the result is false: the program must end.
bool fillLists(Tavelin& window);

// The entry routine: returns the process's exit status.
int Main(int argc, char** argv);

} // namespace tavelin
