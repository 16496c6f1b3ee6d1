#pragma once
#include <QString>

#include <stdexcept>

// The scrambler of the stored password: a 16-bit state, fed back with each
// scrambled byte, so that decoding is the exact inverse of encoding for texts
// whose characters lie in U+0000..U+00FF.
namespace qv {

class PasswordFormatError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

QString CodificaPassword(const QString &password);
// Raises PasswordFormatError when a pair of digits is not hexadecimal; an odd
// last digit is ignored.
QString DecodificaPassword(const QString &hex);

// Whether a new password can be stored and typed again: at most 255
// characters, each within U+0000..U+00FF.
bool isStorablePassword(const QString &password);

} // namespace qv
