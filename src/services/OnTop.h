#pragma once

class QWidget;

namespace tavelin {

// Puts a window into the topmost band, above every window that is not
// topmost, keeping its place and size. It stays there for its whole life.
void MakeTopmost(QWidget* form);

} // namespace tavelin
