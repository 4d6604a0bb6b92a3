#pragma once

#include <QString>
#include <exception>
#include <string>

namespace vantor {

// The one error type: a number, the procedure that raised it and a description, as the
// procedures that trap errors expect to see them.
class Error : public std::exception {
public:
    // The numbers Vantor raises itself.
    enum : int { InvalidCall = 5, FileNotFound = 53, PathAccess = 75, ObjectMissing = 91 };

    Error(int number, QString source, QString description);

    int number() const noexcept { return number_; }
    const QString& source() const noexcept { return source_; }
    const QString& description() const noexcept { return description_; }
    const char* what() const noexcept override { return what_.c_str(); }

private:
    int number_;
    QString source_;
    QString description_;
    std::string what_;
};

} // namespace vantor
