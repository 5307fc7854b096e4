#pragma once

// The two dictionaries of a run and the routines the windows use on them.
// Each routine works on one of the two process-wide dictionaries, `db`
// (English-Armenian) and `db1` (Russian-Armenian), which start-up opens and
// keeps open until the end. The main window and its dialogs never reach for
// them: start-up hands each page its dictionary and routines.

#include "data/Database.h"

#include <string>
#include <string_view>

namespace tavelin {

extern Database db;
extern Database db1;

// Loaders: empty the list, then append the column's words in dictionary order.
void LoadEnglish(WordList& list);
void LoadArmenian(WordList& list);
void LoadRussian(WordList& list);
void LoadArmenian1(WordList& list);

// Look-ups: the translation of a stored word; the last matching pair wins;
// the empty text when no pair matches.
std::string GetArmenian(std::string_view english);
std::string GetEnglish(std::string_view armenian);
std::string GetArmenian1(std::string_view russian);
std::string GetRussian(std::string_view armenian);

// Append a pair; delete the first pair with the source word (nothing when
// there is none).
void AddWord(std::string_view english, std::string_view armenian);
void AddWord1(std::string_view russian, std::string_view armenian);
void DeleteWord(std::string_view english);
void DeleteWord1(std::string_view russian);

class Tavelin;
// Gives each page of the main window its dictionary and the routines above.
void attachDictionaries(Tavelin& window);

} // namespace tavelin
