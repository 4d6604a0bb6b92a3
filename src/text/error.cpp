#include "text/error.h"

namespace vantor {

Error::Error(int number, QString source, QString description)
    : number_(number), source_(std::move(source)), description_(std::move(description)),
      what_((source_ + QStringLiteral(": ") + description_).toStdString()) {}

} // namespace vantor
