#pragma once

#include <QString>
#include <stdexcept>

namespace quelvarino {

// Base of every error the program reports to the operator with its own text.
class Error : public std::runtime_error {
public:
    explicit Error(const QString& text) : std::runtime_error(text.toStdString()), text_(text) {}
    QString text() const { return text_; }

private:
    QString text_;
};

// A text typed by the operator that does not convert to a number or a date.
class ConversionError : public Error {
public:
    using Error::Error;
};

// Anything the store refuses or fails at: missing file, duplicate key, I/O.
class StoreError : public Error {
public:
    using Error::Error;
};

// The connection to a server store broke (restart, network): a read may be
// tried again once the server answers.
class ConnectionLostError : public StoreError {
public:
    using StoreError::StoreError;
};

// A post refused because another record has the same key (another
// workstation took the number meanwhile).
class KeyExistsError : public StoreError {
public:
    using StoreError::StoreError;
};

// Edit refused because another user (process or table object) holds the record.
class RecordLockedError : public StoreError {
public:
    using StoreError::StoreError;
};

// A refusal the operator can act on: shown as a warning with the standard
// title, not as an error box (the dot-matrix printer that is not set up).
class NoticeError : public Error {
public:
    using Error::Error;
};

}  // namespace quelvarino
