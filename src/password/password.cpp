#include "password/password.h"

#include "core/text.h"

namespace qv {
namespace {

constexpr quint16 kStart = 3097;
constexpr quint16 kMultiplier = 30517;
constexpr quint16 kAddend = 28590;

quint16 nextState(quint16 state, quint8 scrambled)
{
    return quint16(quint16(quint16(state + scrambled) * kMultiplier) + kAddend);
}

} // namespace

QString CodificaPassword(const QString &password)
{
    static const char digits[] = "0123456789ABCDEF";
    QString hex;
    hex.reserve(password.size() * 2);
    quint16 state = kStart;
    for (const QChar c : password) {
        const quint8 plain = quint8(c.unicode() & 0xFF);
        const quint8 scrambled = quint8(plain ^ (state >> 8));
        hex += QLatin1Char(digits[scrambled >> 4]);
        hex += QLatin1Char(digits[scrambled & 0x0F]);
        state = nextState(state, scrambled);
    }
    return hex;
}

QString DecodificaPassword(const QString &hex)
{
    const qsizetype pairs = hex.size() / 2;
    QString password;
    password.reserve(pairs);
    quint16 state = kStart;
    for (qsizetype j = 0; j < pairs; ++j) {
        const int high = hexDigit(hex.at(2 * j));
        const int low = hexDigit(hex.at(2 * j + 1));
        if (high < 0 || low < 0)
            throw PasswordFormatError("stored password is not hexadecimal");
        const quint8 scrambled = quint8(high * 16 + low);
        password += QChar(char16_t(scrambled ^ (state >> 8)));
        state = nextState(state, scrambled);
    }
    return password;
}

bool isStorablePassword(const QString &password)
{
    if (password.size() > 255)
        return false;
    for (const QChar c : password)
        if (c.unicode() > 0xFF)
            return false;
    return true;
}

} // namespace qv
