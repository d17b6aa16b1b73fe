// Errors of the runtime conversions, carried like the store's errors: the
// description is what a clerk sees after "Error : ".
#pragma once

#include <QString>

#include <exception>
#include <stdexcept>

class ConversionError : public std::runtime_error {
public:
    explicit ConversionError(const QString& description)
        : std::runtime_error(description.toStdString()), description_(description)
    {
    }
    QString description() const { return description_; }

private:
    QString description_;
};

// The description of any error the program can meet, for the "Error :" report.
QString errorDescription(const std::exception& e);

// The report itself: "Error :", one blank and the description.
QString errorReport(const std::exception& e);
