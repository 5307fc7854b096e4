#pragma once

// Proportional resizing: keeps the controls of a form in the same
// proportional place and size whenever the form's client area changes size.
//
// The first request about a form takes a snapshot of it: its client width and
// height and the place and size of every control it holds at that moment.
// Each request then re-places one control by scaling its snapshot geometry
// by the whole-number percentage between the form's current and snapshot
// client size, separately across and down. Positions and sizes are in twips;
// fonts are never scaled. Nothing here reports an error: whatever a control
// refuses is skipped.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace tavelin::Resize {

// The tab control parks the controls of its inactive pages this far to the
// left; every negative horizontal coordinate counts as parked.
inline constexpr std::int32_t ParkOffset = 75000;

struct FormEntry {
    std::string FormName;
    std::int32_t BaseScaleWidth = 0;
    std::int32_t BaseScaleHeight = 0;
};

struct ControlEntry {
    std::string ControlName;
    std::int32_t ControlIndex = 0;
    std::string FormName;
    // For a line: X1, Y1, X2, Y2. Horizontal coordinates are stored unparked.
    std::int32_t BaseLeft = 0;
    std::int32_t BaseTop = 0;
    std::int32_t BaseWidth = 0;
    std::int32_t BaseHeight = 0;
};

enum class Property { Left, Top, Width, Height, X1, Y1, X2, Y2 };

// A control as the engine sees it. Any read may be refused (no value) and
// any write or move refused (false).
class Control {
public:
    virtual ~Control() = default;
    virtual std::string name() const = 0;
    // Its index in its control array; none for a control in no array.
    virtual std::optional<std::int32_t> index() const = 0;
    virtual bool isLine() const = 0;
    virtual std::optional<std::int32_t> get(Property property) const = 0;
    virtual bool set(Property property, std::int32_t value) = 0;
    // A move request: the place, and the width and height where given.
    virtual bool move(std::int32_t left, std::int32_t top, std::optional<std::int32_t> width,
                      std::optional<std::int32_t> height) = 0;
    // Asks the control to stop rounding its height to whole rows.
    virtual bool setIntegralHeight(bool integral) = 0;
};

class Form {
public:
    virtual ~Form() = default;
    virtual std::string name() const = 0;
    virtual double clientWidth() const = 0;
    virtual double clientHeight() const = 0;
    // Every control the form holds, in the form's own order.
    virtual void forEachControl(const std::function<void(Control&)>& visit) = 0;
};

// The tables and the arithmetic. The program uses one engine for its whole
// run (engine()); tests make their own.
class Engine {
public:
    // Re-places one control of the form for the form's current client size.
    // The first call naming a form records the form and all its controls.
    // While a snapshot dimension is 0 nothing is re-placed; it is filled in
    // from the first non-zero client size, which then counts as 100 %. A
    // control recorded after the snapshot has no entry and stays where it is.
    void ScaleControl(Control& control, Form& form);

    const std::vector<FormEntry>& FormGeometry() const { return forms_; }
    const std::vector<ControlEntry>& ControlGeometry() const { return controls_; }

private:
    FormEntry* findForm(const std::string& formName);
    FormEntry& recordForm(Form& form);
    const ControlEntry* findControl(const Control& control, const std::string& formName) const;
    void recordControl(Control& control, const std::string& formName);

    std::vector<FormEntry> forms_;
    std::vector<ControlEntry> controls_;
};

Engine& engine();

// Nearest whole number, ties to even.
std::int64_t nearest(double value);

// The program's forms: a control is a named child widget at any depth (its
// objectName; an integer property "index" makes it a member of a control
// array), the form is a top-level widget named by its objectName, and its
// client area is its central widget for a main window. Geometry is read and
// written in twips.
void ScaleControl(QWidget* control, QWidget* form);

} // namespace tavelin::Resize
