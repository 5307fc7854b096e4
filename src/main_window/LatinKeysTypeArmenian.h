#pragma once

#include <QObject>

namespace tavelin {

// Lets a user without an Armenian keyboard layout type Armenian: in the
// boxes it watches, a character typed with a Latin layout becomes the
// Armenian letter of the same key on the phonetic Armenian layout
// (text/PhoneticArmenian.h), so the box and its key filter see the Armenian
// letter. Armenian typed with an Armenian layout, keys with Ctrl, Alt or Meta,
// the keypad and pasted text pass unchanged. One object serves every
// Armenian box of the program, and is switched on and off for all at once.
class LatinKeysTypeArmenian : public QObject {
    Q_OBJECT
public:
    explicit LatinKeysTypeArmenian(QObject* parent = nullptr);

    void setOn(bool on) { on_ = on; }
    bool isOn() const { return on_; }
    // Watches the keys typed into the box.
    void watch(QObject* box) { box->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool on_ = true;
};

} // namespace tavelin
