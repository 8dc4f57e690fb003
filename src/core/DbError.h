#pragma once

#include <QString>

#include <stdexcept>

// A failed database or file operation; what() carries the message as UTF-8.
class DbError : public std::runtime_error {
public:
    explicit DbError(const QString& message) : std::runtime_error(message.toStdString()), m_message(message) {}
    QString message() const { return m_message; }

private:
    QString m_message;
};
