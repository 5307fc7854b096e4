#include "services/Resize.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <set>

using namespace tavelin::Resize;

namespace {

// A control whose every property can be missing or refused, and that logs
// the move requests it gets.
struct FakeControl : Control {
    std::string name_;
    std::optional<std::int32_t> index_;
    bool line = false;
    std::map<Property, std::int32_t> values;
    std::set<Property> refusedWrites;
    bool refusesHeight = false;
    std::vector<std::string> requests;
    int integralHeightRequests = 0;

    FakeControl(std::string name, std::int32_t left, std::int32_t top, std::int32_t width,
                std::int32_t height)
        : name_(std::move(name)), values{{Property::Left, left},
                                         {Property::Top, top},
                                         {Property::Width, width},
                                         {Property::Height, height}} {}

    static FakeControl lineShape(std::string name, std::int32_t x1, std::int32_t y1,
                                 std::int32_t x2, std::int32_t y2) {
        FakeControl c(std::move(name), 0, 0, 0, 0);
        c.line = true;
        c.values = {{Property::X1, x1}, {Property::Y1, y1}, {Property::X2, x2}, {Property::Y2, y2}};
        return c;
    }

    std::string name() const override { return name_; }
    std::optional<std::int32_t> index() const override { return index_; }
    bool isLine() const override { return line; }
    std::optional<std::int32_t> get(Property p) const override {
        const auto found = values.find(p);
        return found == values.end() ? std::nullopt : std::optional<std::int32_t>(found->second);
    }
    bool set(Property p, std::int32_t v) override {
        if (refusedWrites.count(p) != 0) {
            return false;
        }
        values[p] = v;
        return true;
    }
    bool move(std::int32_t left, std::int32_t top, std::optional<std::int32_t> width,
              std::optional<std::int32_t> height) override {
        requests.push_back(std::to_string(left) + "," + std::to_string(top) + "," +
                           (width ? std::to_string(*width) : "-") + "," +
                           (height ? std::to_string(*height) : "-"));
        if (height && refusesHeight) {
            return false;
        }
        values[Property::Left] = left;
        values[Property::Top] = top;
        if (width) {
            values[Property::Width] = *width;
        }
        if (height) {
            values[Property::Height] = *height;
        }
        return true;
    }
    bool setIntegralHeight(bool integral) override {
        ++integralHeightRequests;
        return !integral;
    }

    std::array<std::int32_t, 4> geometry() const {
        return {values.at(Property::Left), values.at(Property::Top), values.at(Property::Width),
                values.at(Property::Height)};
    }
};

struct FakeForm : Form {
    std::string name_;
    double width, height;
    std::vector<FakeControl*> controls;

    FakeForm(std::string name, double w, double h, std::vector<FakeControl*> held)
        : name_(std::move(name)), width(w), height(h), controls(std::move(held)) {}

    std::string name() const override { return name_; }
    double clientWidth() const override { return width; }
    double clientHeight() const override { return height; }
    void forEachControl(const std::function<void(Control&)>& visit) override {
        for (FakeControl* c : controls) {
            visit(*c);
        }
    }
};

using Geometry = std::array<std::int32_t, 4>;

} // namespace

TEST(ResizeTest, SnapshotSizeGivesEveryControlItsSnapshotGeometryBack) {
    Engine engine;
    FakeControl list("list1", 75, 1320, 2460, 3675);
    FakeControl box("Text1", 75, 840, 2460, 435);
    FakeForm form("Tavelin", 6435, 6495, {&list, &box});

    engine.ScaleControl(list, form);
    EXPECT_EQ(list.geometry(), (Geometry{75, 1320, 2460, 3675}));

    // Moved elsewhere since, it comes back; the form's size decides, not the control's.
    box.values = {
        {Property::Left, 1}, {Property::Top, 2}, {Property::Width, 3}, {Property::Height, 4}};
    engine.ScaleControl(box, form);
    EXPECT_EQ(box.geometry(), (Geometry{75, 840, 2460, 435}));
    // Three requests: full size, width only, place only.
    EXPECT_EQ(box.requests,
              (std::vector<std::string>{"75,840,2460,435", "75,840,2460,-", "75,840,-,-"}));
}

TEST(ResizeTest, PercentagesAreWholeNumbersTruncatedAndSeparateForWidthAndHeight) {
    Engine engine;
    FakeControl box("Text2", 2620, 840, 3735, 435);
    FakeControl small("Command1", 75, 100, 495, 400);
    FakeForm form("Tavelin", 6435, 6495, {&box, &small});
    engine.ScaleControl(box, form);

    // One unit narrower is a whole percent less: W = 99, H still 100.
    form.width = 6434;
    engine.ScaleControl(box, form);
    EXPECT_EQ(box.geometry(), (Geometry{2593, 840, 3697, 435}));

    // One and a half times as wide: W = 150 and 75 becomes 112; twice as high: H = 200.
    form.width = 6435 * 1.5;
    form.height = 6495 * 2;
    engine.ScaleControl(small, form);
    EXPECT_EQ(small.geometry(), (Geometry{112, 200, 742, 800}));
}

TEST(ResizeTest, ClientSizesAreTakenToTheNearestUnitWithTiesToEven) {
    Engine engine;
    FakeControl a("a", 1000, 1000, 1000, 1000);
    // The snapshot width 1000.5 is taken as 1000 (even), 1001.5 would be 1002.
    FakeForm form("Form1", 1000.5, 1001.5, {&a});
    engine.ScaleControl(a, form);
    EXPECT_EQ(engine.FormGeometry().at(0).BaseScaleWidth, 1000);
    EXPECT_EQ(engine.FormGeometry().at(0).BaseScaleHeight, 1002);

    // The percentages round the size × 100 before dividing: 10.125 × 100 = 1012.5 goes
    // to 1012, and 10.375 × 100 = 1037.5 to 1038.
    Engine other;
    FakeControl b("b", 1000, 1000, 1000, 1000);
    FakeForm second("Form2", 1013, 1038, {&b});
    other.ScaleControl(b, second);
    second.width = 10.125;  // 1012 div 1013 = 0; rounding half up would give 1
    second.height = 10.375; // 1038 div 1038 = 1; truncating would give 0
    other.ScaleControl(b, second);
    EXPECT_EQ(b.geometry(), (Geometry{0, 10, 0, 10}));
}

TEST(ResizeTest, ParkedControlsAreStoredUnparkedAndStayParkedWhileTheirPageIsInactive) {
    Engine engine;
    // On the inactive page: its real left edge 75 reads 75 - 75000.
    FakeControl parked("Text5", 75 - ParkOffset, 840, 2460, 435);
    // Partly outside its container: -100 counts as parked too.
    FakeControl outside("Image2", -100, 0, 300, 200);
    FakeForm form("Tavelin", 6000, 6000, {&parked, &outside});

    engine.ScaleControl(parked, form);
    EXPECT_EQ(engine.ControlGeometry().at(0).BaseLeft, 75);
    EXPECT_EQ(engine.ControlGeometry().at(1).BaseLeft, 74900);
    EXPECT_EQ(parked.geometry(), (Geometry{75 - ParkOffset, 840, 2460, 435}));

    form.width = 12000; // W = 200
    engine.ScaleControl(parked, form);
    EXPECT_EQ(parked.values[Property::Left], 150 - ParkOffset);
    EXPECT_EQ(parked.values[Property::Width], 4920); // widths are never parked

    // Its page becomes active: the tab control moves it back by the offset.
    parked.values[Property::Left] += ParkOffset;
    engine.ScaleControl(parked, form);
    EXPECT_EQ(parked.values[Property::Left], 150);

    // The control partly outside is right only at W = 100.
    engine.ScaleControl(outside, form);
    EXPECT_EQ(outside.values[Property::Left], 74900 * 2 - ParkOffset);
    form.width = 6000;
    outside.values[Property::Left] = -1;
    engine.ScaleControl(outside, form);
    EXPECT_EQ(outside.values[Property::Left], -100);
}

TEST(ResizeTest, ControlArraysMatchByIndexAndAControlWithoutIndexTakesTheFirstEntry) {
    Engine engine;
    FakeControl first("Line1", 100, 0, 10, 10);
    first.index_ = 1;
    FakeControl second("Line1", 200, 0, 10, 10);
    second.index_ = 0;
    FakeControl other("Line2", 300, 0, 10, 10);
    FakeForm form("frmAbout", 1000, 1000, {&first, &second, &other});
    engine.ScaleControl(other, form);
    ASSERT_EQ(engine.ControlGeometry().size(), 3u);

    FakeControl indexZero("Line1", 0, 0, 0, 0);
    indexZero.index_ = 0;
    engine.ScaleControl(indexZero, form);
    EXPECT_EQ(indexZero.values[Property::Left], 200);

    FakeControl noIndex("Line1", 0, 0, 0, 0);
    engine.ScaleControl(noIndex, form);
    EXPECT_EQ(noIndex.values[Property::Left], 100);
}

TEST(ResizeTest, RefusalsAreSkippedAndTheRestStillApplies) {
    Engine engine;
    // A control whose height cannot be set, and one that hides its top.
    FakeControl combo("Combo1", 100, 200, 1000, 300);
    combo.refusesHeight = true;
    FakeControl noTop("Label1", 100, 200, 1000, 300);
    noTop.values.erase(Property::Top);
    FakeForm form("Form1", 1000, 1000, {&combo, &noTop});
    engine.ScaleControl(combo, form);
    EXPECT_EQ(combo.integralHeightRequests, 1);
    EXPECT_EQ(noTop.integralHeightRequests, 1);
    EXPECT_EQ(engine.ControlGeometry().at(1).BaseTop, 0);

    form.width = 2000;
    form.height = 3000;
    engine.ScaleControl(combo, form);
    // The first request is refused; the second places it and sets the width.
    EXPECT_EQ(combo.geometry(), (Geometry{200, 600, 2000, 300}));
    EXPECT_EQ(combo.requests.size(), 6u); // three at the snapshot size, three now

    noTop.values[Property::Top] = 50;
    engine.ScaleControl(noTop, form);
    EXPECT_EQ(noTop.geometry(), (Geometry{200, 0, 2000, 900}));
}

TEST(ResizeTest, LinesScaleTheirEndsAndKeepAParkedEndParked) {
    Engine engine;
    FakeControl line = FakeControl::lineShape("Line1", 1800, 2640, 5550 - ParkOffset, 2640);
    FakeForm form("frmAbout", 5715, 3690, {&line});
    engine.ScaleControl(line, form);
    const ControlEntry& entry = engine.ControlGeometry().at(0);
    EXPECT_EQ((Geometry{entry.BaseLeft, entry.BaseTop, entry.BaseWidth, entry.BaseHeight}),
              (Geometry{1800, 2640, 5550, 2640}));
    EXPECT_TRUE(line.requests.empty());

    form.width = 5715 * 2;
    engine.ScaleControl(line, form);
    EXPECT_EQ(line.values[Property::X1], 3600);
    EXPECT_EQ(line.values[Property::X2], 11100 - ParkOffset);
    EXPECT_EQ(line.values[Property::Y1], 2640);
    EXPECT_EQ(line.values[Property::Y2], 2640);
}

TEST(ResizeTest, AZeroSnapshotSizeReplacesNothingUntilTheFormHasASize) {
    Engine engine;
    FakeControl box("Text1", 75, 840, 2460, 435);
    FakeForm form("Tavelin", 0, 0, {&box});
    engine.ScaleControl(box, form);
    form.height = 6495; // one dimension is not enough
    engine.ScaleControl(box, form);
    EXPECT_TRUE(box.requests.empty());

    // The first size it has counts as 100 %.
    box.values[Property::Left] = 5;
    form.width = 6435;
    engine.ScaleControl(box, form);
    EXPECT_EQ(box.geometry(), (Geometry{75, 840, 2460, 435}));
    form.width *= 2;
    engine.ScaleControl(box, form);
    EXPECT_EQ(box.geometry(), (Geometry{150, 840, 4920, 435}));
}

TEST(ResizeTest, TheSnapshotIsTakenOnceAndSharedByFormsOfOneName) {
    Engine engine;
    FakeControl a("a", 10, 10, 10, 10);
    FakeControl b("b", 20, 20, 20, 20);
    FakeForm form("Form1", 100, 100, {&a, &b});
    engine.ScaleControl(b, form);
    ASSERT_EQ(engine.ControlGeometry().size(), 2u);
    EXPECT_EQ(engine.ControlGeometry().at(0).ControlName, "a"); // in the form's own order

    // A control made after the snapshot has no entry and stays where it is.
    FakeControl late("late", 7, 7, 7, 7);
    form.controls.push_back(&late);
    form.width = 200;
    engine.ScaleControl(late, form);
    EXPECT_TRUE(late.requests.empty());
    EXPECT_EQ(engine.ControlGeometry().size(), 2u);

    // Another instance of the form, at another size, uses the first snapshot.
    FakeControl a2("a", 0, 0, 0, 0);
    FakeForm again("Form1", 300, 100, {&a2});
    engine.ScaleControl(a2, again);
    EXPECT_EQ(a2.geometry(), (Geometry{30, 10, 30, 10}));
    EXPECT_EQ(engine.FormGeometry().size(), 1u);

    // A form of another name is a form of its own.
    FakeForm different("Form2", 300, 100, {&a2});
    engine.ScaleControl(a2, different);
    EXPECT_EQ(engine.FormGeometry().size(), 2u);
    EXPECT_EQ(a2.geometry(), (Geometry{30, 10, 30, 10}));
}
