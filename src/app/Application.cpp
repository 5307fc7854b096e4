#include "Application.h"

#include "data/DatabaseError.h"
#include "widgets/Notice.h"

namespace tavelin {

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const DatabaseError& e) {
        showWarning(QStringLiteral("Tavelin"),
                    QStringLiteral("The dictionary could not be used.\n\nError %1: %2")
                        .arg(e.code())
                        .arg(QString::fromStdString(e.text())));
    } catch (const std::exception& e) {
        showWarning(
            QStringLiteral("Tavelin"),
            QStringLiteral("Something went wrong: %1").arg(QString::fromLocal8Bit(e.what())));
    }
    return false;
}

} // namespace tavelin
