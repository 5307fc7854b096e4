#pragma once

class QWidget;

namespace tavelin {

// A short help window: what the dictionary does and its keys. Shown above
// every window; returns when it is closed.
void openHelpWindow(QWidget* parent = nullptr);

// The text it shows (HTML).
const char* helpText();

} // namespace tavelin
