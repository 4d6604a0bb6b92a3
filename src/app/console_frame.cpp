#include "app/console_frame.h"

namespace vantor {

void ConsoleFrame::Status(const QString& text) {
    err_ << text << Qt::endl;
}

} // namespace vantor
