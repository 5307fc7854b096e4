#include "Resize.h"

#include "platform/Twips.h"

#include <QLayout>
#include <QMainWindow>
#include <QVariant>
#include <QWidget>

#include <cmath>
#include <limits>

namespace tavelin::Resize {
namespace {

std::int64_t unpark(std::int64_t coordinate) {
    return coordinate < 0 ? coordinate + ParkOffset : coordinate;
}

// A value for a 32-bit field; out of range it is refused like any other write.
std::optional<std::int32_t> fit(std::int64_t value) {
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

bool isParked(const Control& control, Property coordinate) {
    const std::optional<std::int32_t> now = control.get(coordinate);
    return now && *now < 0;
}

// (base × percent) div 100, less the park offset for a parked coordinate.
std::optional<std::int32_t> scaled(std::int32_t base, std::int64_t percent, bool parked = false) {
    return fit(std::int64_t{base} * percent / 100 - (parked ? ParkOffset : 0));
}

} // namespace

std::int64_t nearest(double value) {
    return static_cast<std::int64_t>(std::nearbyint(value)); // the default rounding: ties to even
}

Engine& engine() {
    static Engine theEngine;
    return theEngine;
}

FormEntry* Engine::findForm(const std::string& formName) {
    for (FormEntry& entry : forms_) {
        if (entry.FormName == formName) {
            return &entry;
        }
    }
    return nullptr;
}

FormEntry& Engine::recordForm(Form& form) {
    const std::string formName = form.name();
    forms_.push_back({formName, fit(nearest(form.clientWidth())).value_or(0),
                      fit(nearest(form.clientHeight())).value_or(0)});
    const std::size_t at = forms_.size() - 1;
    form.forEachControl([&](Control& control) {
        if (findControl(control, formName) == nullptr) {
            recordControl(control, formName);
        }
    });
    return forms_[at];
}

const ControlEntry* Engine::findControl(const Control& control, const std::string& formName) const {
    const std::string name = control.name();
    const std::optional<std::int32_t> index = control.index();
    for (const ControlEntry& entry : controls_) {
        if (entry.FormName == formName && entry.ControlName == name &&
            (!index || *index == entry.ControlIndex)) {
            return &entry;
        }
    }
    return nullptr;
}

void Engine::recordControl(Control& control, const std::string& formName) {
    ControlEntry entry;
    entry.ControlName = control.name();
    entry.ControlIndex = control.index().value_or(0);
    entry.FormName = formName;
    const bool line = control.isLine();
    auto read = [&](Property property, bool horizontal) -> std::int32_t {
        const std::optional<std::int32_t> value = control.get(property);
        if (!value) {
            return 0;
        }
        return horizontal ? fit(unpark(*value)).value_or(0) : *value;
    };
    entry.BaseTop = read(line ? Property::Y1 : Property::Top, false);
    entry.BaseLeft = read(line ? Property::X1 : Property::Left, true);
    entry.BaseHeight = read(line ? Property::Y2 : Property::Height, false);
    entry.BaseWidth = read(line ? Property::X2 : Property::Width, line);
    controls_.push_back(std::move(entry));
    control.setIntegralHeight(false);
}

void Engine::ScaleControl(Control& control, Form& form) {
    const std::string formName = form.name();
    FormEntry* entry = findForm(formName);
    if (entry == nullptr) {
        entry = &recordForm(form);
    }
    // A form first seen with no width or height has no scale yet; it gets one
    // from the first size that has it.
    if (entry->BaseScaleWidth == 0) {
        entry->BaseScaleWidth = fit(nearest(form.clientWidth())).value_or(0);
    }
    if (entry->BaseScaleHeight == 0) {
        entry->BaseScaleHeight = fit(nearest(form.clientHeight())).value_or(0);
    }
    if (entry->BaseScaleWidth == 0 || entry->BaseScaleHeight == 0) {
        return;
    }
    const std::int64_t H = nearest(form.clientHeight() * 100) / entry->BaseScaleHeight;
    const std::int64_t W = nearest(form.clientWidth() * 100) / entry->BaseScaleWidth;

    const ControlEntry* base = findControl(control, formName);
    if (base == nullptr) {
        return;
    }

    if (control.isLine()) {
        if (auto x1 = scaled(base->BaseLeft, W, isParked(control, Property::X1))) {
            control.set(Property::X1, *x1);
        }
        if (auto y1 = scaled(base->BaseTop, H)) {
            control.set(Property::Y1, *y1);
        }
        if (auto x2 = scaled(base->BaseWidth, W, isParked(control, Property::X2))) {
            control.set(Property::X2, *x2);
        }
        if (auto y2 = scaled(base->BaseHeight, H)) {
            control.set(Property::Y2, *y2);
        }
        return;
    }

    const auto left = scaled(base->BaseLeft, W, isParked(control, Property::Left));
    const auto top = scaled(base->BaseTop, H);
    const auto width = scaled(base->BaseWidth, W);
    const auto height = scaled(base->BaseHeight, H);
    if (!left || !top) {
        return;
    }
    // Three requests: a control that refuses one part of the first (say its
    // height) still takes the rest from the next.
    if (width && height) {
        control.move(*left, *top, width, height);
    }
    if (width) {
        control.move(*left, *top, width, std::nullopt);
    }
    control.move(*left, *top, std::nullopt, std::nullopt);
}

// ---- The program's forms ----

namespace {

class WidgetControl : public Control {
public:
    explicit WidgetControl(QWidget* widget) : widget_(widget) {}

    std::string name() const override { return widget_->objectName().toStdString(); }

    std::optional<std::int32_t> index() const override {
        const QVariant index = widget_->property("index");
        bool ok = false;
        const int value = index.toInt(&ok);
        return index.isValid() && ok ? std::optional<std::int32_t>(value) : std::nullopt;
    }

    bool isLine() const override { return false; }

    std::optional<std::int32_t> get(Property property) const override {
        const QRect g = twips::geometry(widget_);
        switch (property) {
        case Property::Left:
            return g.x();
        case Property::Top:
            return g.y();
        case Property::Width:
            return g.width();
        case Property::Height:
            return g.height();
        default:
            return std::nullopt;
        }
    }

    bool set(Property property, std::int32_t value) override {
        QRect g = twips::geometry(widget_);
        switch (property) {
        case Property::Left:
            g.moveLeft(value);
            break;
        case Property::Top:
            g.moveTop(value);
            break;
        case Property::Width:
            g.setWidth(value);
            break;
        case Property::Height:
            g.setHeight(value);
            break;
        default:
            return false;
        }
        twips::place(widget_, g.x(), g.y(), g.width(), g.height());
        return true;
    }

    bool move(std::int32_t left, std::int32_t top, std::optional<std::int32_t> width,
              std::optional<std::int32_t> height) override {
        if (width && height) {
            twips::place(widget_, left, top, *width, *height);
        } else if (width) {
            widget_->setGeometry(twips::toPixels(left), twips::toPixels(top),
                                 twips::toPixels(*width), widget_->height());
        } else {
            widget_->move(twips::toPixels(left), twips::toPixels(top));
        }
        return true;
    }

    bool setIntegralHeight(bool integral) override {
        if (widget_->metaObject()->indexOfProperty("IntegralHeight") < 0) {
            return false;
        }
        return widget_->setProperty("IntegralHeight", integral);
    }

private:
    QWidget* widget_;
};

class WidgetForm : public Form {
public:
    explicit WidgetForm(QWidget* form) : form_(form) {}

    std::string name() const override {
        const QString name = form_->objectName();
        return (name.isEmpty() ? QString::fromLatin1(form_->metaObject()->className()) : name)
            .toStdString();
    }

    double clientWidth() const override { return twips::fromPixels(clientArea()->width()); }
    double clientHeight() const override { return twips::fromPixels(clientArea()->height()); }

    void forEachControl(const std::function<void(Control&)>& visit) override {
        for (QWidget* child : form_->findChildren<QWidget*>()) {
            const QString name = child->objectName();
            if (child->isWindow() || name.isEmpty() || name.startsWith(QLatin1String("qt_"))) {
                continue;
            }
            WidgetControl control(child);
            visit(control);
        }
    }

private:
    QWidget* clientArea() const {
        // A hidden window lays itself out only when shown; settle its layout
        // so that its client area has the window's size now.
        if (!form_->isVisible() && form_->layout() != nullptr) {
            form_->layout()->invalidate();
            form_->layout()->activate();
        }
        if (auto* main = qobject_cast<QMainWindow*>(form_); main && main->centralWidget()) {
            return main->centralWidget();
        }
        return form_;
    }

    QWidget* form_;
};

} // namespace

void ScaleControl(QWidget* control, QWidget* form) {
    if (control == nullptr || form == nullptr) {
        return;
    }
    WidgetControl c(control);
    WidgetForm f(form);
    engine().ScaleControl(c, f);
}

} // namespace tavelin::Resize
