#include "platform/RunGuarded.h"

#include "platform/Services.h"
#include "platform/TessivoError.h"

#include <QString>

#include <exception>

bool RunGuarded(IMessages &messages, QWidget *owner, const std::function<void()> &action)
{
    try {
        action();
        return true;
    } catch (const TessivoError &e) {
        messages.error(owner, e.message());
    } catch (const std::exception &e) {
        messages.error(owner, QString::fromLocal8Bit(e.what()));
    }
    return false;
}
