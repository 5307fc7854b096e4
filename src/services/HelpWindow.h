#pragma once

#include <QString>

class QWidget;

namespace tavelin {

// A short help window: what the dictionary does and its keys. Shown above
// every window; returns when it is closed.
void openHelpWindow(QWidget* parent = nullptr);

// The text it shows (HTML).
const char* helpText();

// What the help window adds about the key that looks up the selection when
// it is not Ctrl+F9 at work: another key, none, a key another program holds
// or a text that names none (HTML; empty when there is nothing to say).
namespace hotkey {
struct LookUpKey;
}
QString lookUpKeyNote(const hotkey::LookUpKey& key);

} // namespace tavelin
