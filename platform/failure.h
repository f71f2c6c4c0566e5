#pragma once
#include <QString>

namespace platform {

// The one kind of failure a handler traps: a folder list that refuses a path, a picture that
// cannot be loaded, a property value out of range. It carries a description for the user.
class Failure {
public:
    explicit Failure(QString description) : m_description(std::move(description)) {}
    const QString& description() const { return m_description; }

private:
    QString m_description;
};

}  // namespace platform
