#include "WindowProc.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <unordered_map>

namespace tavelin::winproc {
namespace {

std::unordered_map<Window, ProcedurePtr>& chains() {
    static std::unordered_map<Window, ProcedurePtr> map;
    return map;
}

} // namespace

ProcedurePtr makeProcedure(Procedure procedure) {
    return std::make_shared<const Procedure>(std::move(procedure));
}

const ProcedurePtr& defaultProcedure() {
    static const ProcedurePtr procedure =
        makeProcedure([](Window, unsigned, WParam, LParam) -> Result { return 0; });
    return procedure;
}

ProcedurePtr setWindowProc(Window window, ProcedurePtr procedure) {
    ProcedurePtr& front = chains()[window];
    ProcedurePtr previous = front ? front : defaultProcedure();
    if (procedure) {
        front = std::move(procedure);
    } else {
        front = defaultProcedure();
    }
    return previous;
}

ProcedurePtr windowProc(Window window) {
    const auto found = chains().find(window);
    return found != chains().end() && found->second ? found->second : defaultProcedure();
}

Result callWindowProc(const ProcedurePtr& procedure, Window window, unsigned message, WParam wParam,
                      LParam lParam) {
    // A copy keeps the procedure alive while it runs, even if it takes itself out.
    const ProcedurePtr target = procedure ? procedure : defaultProcedure();
    return (*target)(window, message, wParam, lParam);
}

Result sendMessage(Window window, unsigned message, WParam wParam, LParam lParam) {
    return callWindowProc(windowProc(window), window, message, wParam, lParam);
}

void postMessage(Window window, unsigned message, WParam wParam, LParam lParam) {
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr) {
        sendMessage(window, message, wParam, lParam);
        return;
    }
    QMetaObject::invokeMethod(
        app, [=] { sendMessage(window, message, wParam, lParam); }, Qt::QueuedConnection);
}

void forgetWindow(Window window) {
    chains().erase(window);
}

#ifndef TAVELIN_X11_HOT_KEYS
// No global keys on this build's desktop.
bool hotKeysAvailable() {
    return false;
}

bool registerHotKey(Window, int, unsigned, unsigned) {
    return false;
}

void unregisterHotKey(Window, int) {}
#endif

} // namespace tavelin::winproc
