// The window-procedure chain, and the hot-key and notification-area layers
// on it, driven by messages alone: no tray host, no X server.
#include "platform/WindowProc.h"
#include "services/HotKey.h"
#include "services/SysTray.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

using namespace tavelin;
using winproc::Result;
using winproc::Window;

namespace {

constexpr unsigned kTray = SysTray::TrayCallbackMessage;

// A procedure that records what reaches it and answers a fixed result.
winproc::ProcedurePtr recorder(std::vector<std::string>& log, const std::string& name,
                               Result result) {
    return winproc::makeProcedure(
        [&log, name, result](Window, unsigned message, winproc::WParam w, winproc::LParam l) {
            log.push_back(name + " " + std::to_string(message) + "/" + std::to_string(w) + "/" +
                          std::to_string(l));
            return result;
        });
}

TEST(WindowProcChainTest, InstallingReturnsThePreviousAndRemovingPutsItBack) {
    int window = 0;
    std::vector<std::string> log;
    const auto bottom = recorder(log, "bottom", 7);
    EXPECT_EQ(winproc::setWindowProc(&window, bottom), winproc::defaultProcedure());

    // A layer that consumes message 1 and passes the rest on.
    winproc::ProcedurePtr previous;
    const auto layer = winproc::makeProcedure(
        [&](Window w, unsigned message, winproc::WParam wp, winproc::LParam lp) -> Result {
            if (message == 1) {
                log.push_back("layer");
                return -1;
            }
            return winproc::callWindowProc(previous, w, message, wp, lp);
        });
    previous = winproc::setWindowProc(&window, layer);
    EXPECT_EQ(previous, bottom);
    EXPECT_EQ(winproc::windowProc(&window), layer);

    EXPECT_EQ(winproc::sendMessage(&window, 1, 0, 0), -1);
    EXPECT_EQ(winproc::sendMessage(&window, 2, 3, 4), 7);
    EXPECT_EQ(log, (std::vector<std::string>{"layer", "bottom 2/3/4"}));

    EXPECT_EQ(winproc::setWindowProc(&window, previous), layer);
    EXPECT_EQ(winproc::sendMessage(&window, 1, 0, 0), 7);

    // Another window has a chain of its own; a forgotten one meets the default.
    int other = 0;
    EXPECT_EQ(winproc::sendMessage(&other, 1, 0, 0), 0);
    winproc::forgetWindow(&window);
    EXPECT_EQ(winproc::sendMessage(&window, 2, 0, 0), 0);
    EXPECT_EQ(winproc::windowProc(&window), winproc::defaultProcedure());
}

TEST(WindowProcChainTest, ALayerThatTakesItselfOutWhileRunningStillFinishes) {
    int window = 0;
    std::vector<std::string> log;
    const winproc::ProcedurePtr below = recorder(log, "bottom", 5);
    winproc::setWindowProc(&window, below);
    winproc::setWindowProc(
        &window,
        winproc::makeProcedure([&](Window w, unsigned m, winproc::WParam wp, winproc::LParam lp) {
            winproc::setWindowProc(w, below); // drops the only other reference to this layer
            return winproc::callWindowProc(below, w, m, wp, lp) + 1;
        }));
    EXPECT_EQ(winproc::sendMessage(&window, 9, 0, 0), 6);
    EXPECT_EQ(winproc::sendMessage(&window, 9, 0, 0), 5);
    winproc::forgetWindow(&window);
}

// The main window as the hot keys and the icon see it.
class LayersTest : public ::testing::Test {
protected:
    int window = 0;
    bool visible = true;
    std::vector<std::string> calls;
    std::vector<std::pair<QString, QString>> failures;

    void SetUp() override {
        SysTray::setFailureReport([this](const QString& caption, const QString& text) {
            failures.push_back({caption, text});
        });
        SysTray::setHandlers({[this] { calls.push_back("double click"); },
                              [this] { calls.push_back("menu"); }, nullptr});
        // Load: the hot-key layer first, then the resize handler's mnuTray hooks.
        hotkey::install(&window, {[this] { mnuTray(); }, [this] { return visible; },
                                  [this] {
                                      calls.push_back("hide");
                                      visible = false;
                                  },
                                  [this] {
                                      calls.push_back("show");
                                      visible = true;
                                  },
                                  nullptr});
        mnuTray();
        calls.clear();
    }

    void TearDown() override {
        hotkey::uninstall(&window);
        SysTray::windowGone(&window);
        SysTray::setFailureReport({});
    }

    void mnuTray() {
        calls.push_back("mnuTray");
        SysTray::Hook(&window);
    }

    Result send(unsigned message, winproc::WParam w, winproc::LParam l) {
        return winproc::sendMessage(&window, message, w, l);
    }
};

TEST_F(LayersTest, TheIconLayerAnswersRightClickAndDoubleClickAndPassesTheRestOn) {
    EXPECT_TRUE(SysTray::isHooked());
    EXPECT_EQ(send(kTray, 0, winproc::kRightButtonDown), -1);
    EXPECT_EQ(send(kTray, 0, winproc::kLeftButtonDoubleClick), -1);
    // Single clicks, releases and movement reach the hot-key layer and the
    // window's own procedure, and do nothing.
    for (winproc::LParam code : {winproc::kLeftButtonDown, winproc::kLeftButtonUp,
                                 winproc::kRightButtonUp, winproc::kMouseMove}) {
        EXPECT_EQ(send(kTray, 0, code), 0);
    }
    // Another message with a mouse code is not the icon's.
    EXPECT_EQ(send(kTray + 1, 0, winproc::kRightButtonDown), 0);
    EXPECT_EQ(calls, (std::vector<std::string>{"menu", "double click"}));
}

TEST_F(LayersTest, HotKeysPassThroughTheIconLayerAndKeepWorkingAfterUnhook) {
    EXPECT_EQ(send(winproc::kHotKeyMessage, hotkey::kHideId, 0), 1);
    EXPECT_EQ(calls, (std::vector<std::string>{"mnuTray", "hide"}));

    // Ctrl+F8 restores: Unhook, normal and in front, then mnuTray hooks again.
    calls.clear();
    EXPECT_EQ(send(winproc::kHotKeyMessage, hotkey::kShowId, 0), 1);
    EXPECT_EQ(calls, (std::vector<std::string>{"show", "mnuTray"}));
    EXPECT_TRUE(SysTray::isHooked());

    // Unhook takes out only the icon layer: the icon's double click goes
    // unanswered, the hot keys still arrive.
    SysTray::Unhook();
    calls.clear();
    EXPECT_EQ(send(kTray, 0, winproc::kLeftButtonDoubleClick), 0);
    EXPECT_EQ(send(winproc::kHotKeyMessage, hotkey::kHideId, 0), 1);
    EXPECT_EQ(calls, (std::vector<std::string>{"mnuTray", "hide"}));
}

TEST_F(LayersTest, RestoreKeyActsOnlyWhenHiddenAndOtherIdentifiersDoNothing) {
    send(winproc::kHotKeyMessage, hotkey::kShowId, 0); // visible: nothing, not even in front
    send(winproc::kHotKeyMessage, 3, 0);
    send(winproc::kHotKeyMessage, 255, 0);
    EXPECT_TRUE(calls.empty());

    // Hidden twice over: still one hook.
    send(winproc::kHotKeyMessage, hotkey::kHideId, 0);
    send(winproc::kHotKeyMessage, hotkey::kHideId, 0);
    EXPECT_FALSE(visible);
    SysTray::Unhook();
    EXPECT_FALSE(SysTray::isHooked());
    EXPECT_EQ(send(kTray, 0, winproc::kRightButtonDown), 0);

    // While hidden the restore key unhooks before showing, and mnuTray hooks
    // again: the layer is in the chain once.
    SysTray::Hook(&window);
    send(winproc::kHotKeyMessage, hotkey::kShowId, 0);
    calls.clear();
    EXPECT_EQ(send(kTray, 0, winproc::kRightButtonDown), -1);
    EXPECT_EQ(calls, (std::vector<std::string>{"menu"}));
    SysTray::Unhook();
    EXPECT_EQ(send(kTray, 0, winproc::kRightButtonDown), 0);
}

TEST_F(LayersTest, AHotKeyActionThatFailsEndsSilently) {
    hotkey::install(&window, {[] { throw std::runtime_error("no icon"); }, [] { return false; },
                              [this] { calls.push_back("hide"); },
                              [this] { calls.push_back("show"); }, nullptr});
    EXPECT_EQ(send(winproc::kHotKeyMessage, hotkey::kHideId, 0), 1);
    EXPECT_EQ(send(winproc::kHotKeyMessage, hotkey::kShowId, 0), 1);
    // Ctrl+F7 stopped before hiding; Ctrl+F8 got as far as showing.
    EXPECT_EQ(calls, (std::vector<std::string>{"show"}));
    EXPECT_TRUE(failures.empty());
}

TEST_F(LayersTest, FailuresInTheIconLayerAreReportedWithRoutineAndLine) {
    SysTray::setHandlers({[] { throw std::runtime_error("Object required"); }, nullptr, nullptr});
    EXPECT_EQ(send(kTray, 0, winproc::kLeftButtonDoubleClick), 0);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].first, QString("Tavelin"));
    EXPECT_EQ(failures[0].second,
              QString("Object required\r\nin RodaRivIzoz.SysTray.WindowProc at line 2"));

    // What fails further down the chain is reported as the passing-on line.
    SysTray::Unhook();
    int fragile = 0;
    winproc::setWindowProc(&fragile, winproc::makeProcedure([](Window, unsigned, winproc::WParam,
                                                               winproc::LParam) -> Result {
        throw std::runtime_error("Overflow");
    }));
    SysTray::Hook(&fragile);
    EXPECT_EQ(winproc::sendMessage(&fragile, 1, 0, 0), 0);
    ASSERT_EQ(failures.size(), 2u);
    EXPECT_EQ(failures[1].second,
              QString("Overflow\r\nin RodaRivIzoz.SysTray.WindowProc at line 3"));
    SysTray::windowGone(&fragile);

    EXPECT_EQ(SysTray::failureText("Out of memory", "RemoveIconFromTray", 0),
              QString("Out of memory\r\nin RodaRivIzoz.SysTray.RemoveIconFromTray at line 0"));
}

} // namespace
