#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace tavelin {

// A warning a person must acknowledge: a message box with the warning icon
// and one OK button. Every warning is also written to standard error.
void showWarning(const QString& title, const QString& text, QWidget* parent = nullptr);

// Replaces the message box (not the standard-error line) for in-process
// tests; an empty function restores it.
void setWarningHandler(std::function<void(const QString& title, const QString& text)> handler);

} // namespace tavelin
