#pragma once

#include "main_window/WordBox.h"

#include <functional>

namespace tavelin::editing {

// A word box whose typed characters pass a key handler first. Each typed
// character reaches the handler as its 8-bit code in the box's character set;
// the handler gives back the code to type, or 0 to discard it. A character
// the set has no code for is discarded with a beep. Enter reaches the handler
// as 13 and is never typed. Keys that type nothing (arrows, Home, Delete,
// Backspace, shortcuts) and pasted text do not pass the handler.
class FilteredWordBox : public WordBox {
    Q_OBJECT
public:
    using KeyPress = std::function<int(int code)>;

    FilteredWordBox(Side side, QWidget* parent);
    void setKeyPress(KeyPress keyPress) { keyPress_ = std::move(keyPress); }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    KeyPress keyPress_;
};

} // namespace tavelin::editing
