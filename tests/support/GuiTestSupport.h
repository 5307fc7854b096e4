#pragma once

// Helpers shared by the window tests.

#include "data/Database.h"
#include "platform/TextCodec.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <string>
#include <utility>
#include <vector>

namespace tavelin::test {

using Pairs = std::vector<std::pair<std::string, std::string>>;

// Types text into a widget as a user would: one key event per character, each
// carrying its character (sending a whole Armenian or Cyrillic string at once
// is not what a keyboard does).
inline void type(QWidget* box, const QString& text) {
    box->setFocus();
    for (QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(box, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(box, &release);
    }
}

// Dictionary codes of Armenian and Russian words written in UTF-8.
inline std::string hy(const char* utf8) {
    return *fromDisplay(Side::Armenian, QString::fromUtf8(utf8));
}
inline std::string ru(const char* utf8) {
    return *fromDisplay(Side::Russian, QString::fromUtf8(utf8));
}

inline void fillDictionary(Database& database, const Pairs& pairs) {
    database.inTransaction([&] {
        for (const auto& [source, armenian] : pairs) {
            database.append(source, armenian);
        }
    });
}

} // namespace tavelin::test
