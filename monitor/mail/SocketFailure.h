#pragma once
// The failures of the POP3 client's socket that are raised to the caller of
// a client operation (a name that does not resolve, a read or send that
// fails), with the texts and error numbers of the original socket layer:
// "Error 10057 in function Send" + CR LF + "Socket is not connected".

#include <QAbstractSocket>
#include <QString>

#include <stdexcept>

class ESocketException : public std::runtime_error {
public:
    explicit ESocketException(const QString& text);
    QString text() const { return QString::fromUtf8(what()); }
};

namespace SocketFailure {

// Error numbers used by the socket layer itself.
enum Code {
    kConnectionReset = 10054,
    kNotConnected = 10057,
    kNoData = 11004,
};

// The description of a WinSock error number ("Connection refused" for
// 10061); "Not a WinSock error" for any other number.
QString describe(int code);
// The nearest WinSock error number of a Qt socket error.
int codeOf(QAbstractSocket::SocketError error);
// "Error " + code + " in function " + function + CR LF + the description.
QString text(int code, const QString& function);

} // namespace SocketFailure
