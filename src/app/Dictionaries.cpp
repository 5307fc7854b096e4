#include "Dictionaries.h"

#include "main_window/Tavelin.h"

namespace tavelin {

Database db;
Database db1;

void LoadEnglish(WordList& list) {
    db.loadWords(Column::Source, list);
}
void LoadArmenian(WordList& list) {
    db.loadWords(Column::Armenian, list);
}
void LoadRussian(WordList& list) {
    db1.loadWords(Column::Source, list);
}
void LoadArmenian1(WordList& list) {
    db1.loadWords(Column::Armenian, list);
}

std::string GetArmenian(std::string_view english) {
    return db.lookUp(Column::Source, english).value_or(std::string());
}
std::string GetEnglish(std::string_view armenian) {
    return db.lookUp(Column::Armenian, armenian).value_or(std::string());
}
std::string GetArmenian1(std::string_view russian) {
    return db1.lookUp(Column::Source, russian).value_or(std::string());
}
std::string GetRussian(std::string_view armenian) {
    return db1.lookUp(Column::Armenian, armenian).value_or(std::string());
}

void AddWord(std::string_view english, std::string_view armenian) {
    db.append(english, armenian);
}
void AddWord1(std::string_view russian, std::string_view armenian) {
    db1.append(russian, armenian);
}
void DeleteWord(std::string_view english) {
    db.removeFirst(english);
}
void DeleteWord1(std::string_view russian) {
    db1.removeFirst(russian);
}

void attachDictionaries(Tavelin& window) {
    PageControls& english = window.page(0);
    english.dictionary = &db;
    english.loadSource = LoadEnglish;
    english.loadArmenian = LoadArmenian;
    english.armenianOf = GetArmenian;
    english.sourceOf = GetEnglish;
    english.append = AddWord;
    english.removeFirst = DeleteWord;

    PageControls& russian = window.page(1);
    russian.dictionary = &db1;
    russian.loadSource = LoadRussian;
    russian.loadArmenian = LoadArmenian1;
    russian.armenianOf = GetArmenian1;
    russian.sourceOf = GetRussian;
    russian.append = AddWord1;
    russian.removeFirst = DeleteWord1;
}

} // namespace tavelin
