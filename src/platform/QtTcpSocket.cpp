// QTcpSocket behind the TCP client port.
#include "platform/QtTcpSocket.h"

#include <QHostAddress>
#include <QNetworkInterface>
#include <QTimer>

namespace qv {

QtTcpSocket::QtTcpSocket() {
    sock_.setReadBufferSize(kReadBuffer);
    defer_.setSingleShot(true);
    QObject::connect(&defer_, &QTimer::timeout, [this] {
        if (onDataArrival) onDataArrival();
    });
    QObject::connect(&sock_, &QTcpSocket::connected, [this] {
        if (onConnected) onConnected();
    });
    QObject::connect(&sock_, &QTcpSocket::readyRead, [this] {
        if (onDataArrival) onDataArrival();
    });
    QObject::connect(&sock_, &QTcpSocket::disconnected, [this] {
        if (closing_) return;
        takeReceived(kReadBuffer);
        if (onClosed) onClosed();
    });
    QObject::connect(&sock_, &QTcpSocket::errorOccurred, [this](QAbstractSocket::SocketError e) {
        // An orderly close by the server is reported by `disconnected`.
        if (closing_ || e == QAbstractSocket::RemoteHostClosedError) return;
        const Failure f = failureFor(e, sock_.errorString());
        if (onError) onError(f);
    });
}

QtTcpSocket::~QtTcpSocket() {
    closing_ = true;
    sock_.abort();
}

std::string QtTcpSocket::localIP() const {
    if (sock_.state() == QAbstractSocket::ConnectedState) return sock_.localAddress().toString().toStdString();
    for (const QHostAddress& a : QNetworkInterface::allAddresses()) {
        if (a.protocol() == QAbstractSocket::IPv4Protocol && !a.isLoopback()) return a.toString().toStdString();
    }
    return "127.0.0.1";
}

TcpSocket::State QtTcpSocket::state() const {
    switch (sock_.state()) {
    case QAbstractSocket::HostLookupState: return State::ResolvingHost;
    case QAbstractSocket::ConnectingState: return State::Connecting;
    case QAbstractSocket::ConnectedState: return State::Connected;
    case QAbstractSocket::ClosingState: return State::Closing;
    default: return State::Closed;
    }
}

void QtTcpSocket::connect() {
    if (port_ < 1 || port_ > 65535) throw Failure(err::InvalidCall);
    if (sock_.state() != QAbstractSocket::UnconnectedState) throw Failure(err::WrongState);
    buf_.clear();
    pos_ = 0;
    sock_.connectToHost(QString::fromStdString(host_), static_cast<quint16>(port_));
}

void QtTcpSocket::close() {
    closing_ = true;
    sock_.abort();
    closing_ = false;
    buf_.clear();
    pos_ = 0;
    defer_.stop();
}

void QtTcpSocket::send(const std::string& text) {
    if (sock_.state() != QAbstractSocket::ConnectedState) throw Failure(err::WrongState);
    if (sock_.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size()))
        throw failureFor(sock_.error(), sock_.errorString());
}

std::size_t QtTcpSocket::bytesAvailable() const {
    const qint64 queued = sock_.bytesAvailable();
    return buf_.size() - pos_ + static_cast<std::size_t>(queued > 0 ? queued : 0);
}

char QtTcpSocket::readChar() {
    if (pos_ >= buf_.size()) {
        takeReceived(kChunk);
        if (pos_ >= buf_.size()) throw Failure(err::WrongState);
    }
    return buf_[pos_++];
}

void QtTcpSocket::deferDataArrival(int delayMs) {
    if (!defer_.isActive()) defer_.start(delayMs);
}

void QtTcpSocket::takeReceived(qint64 limit) {
    if (pos_ == buf_.size()) {
        buf_.clear();
        pos_ = 0;
    }
    const QByteArray bytes = sock_.read(limit);
    buf_.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

Failure QtTcpSocket::failureFor(QAbstractSocket::SocketError error, const QString& description) {
    int number = 10054; // connection reset
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError: number = 10061; break;
    case QAbstractSocket::HostNotFoundError: number = 11001; break;
    case QAbstractSocket::SocketTimeoutError: number = 10060; break;
    case QAbstractSocket::SocketAccessError: number = 10013; break;
    case QAbstractSocket::SocketResourceError: number = 10055; break;
    case QAbstractSocket::NetworkError: number = 10050; break;
    case QAbstractSocket::UnsupportedSocketOperationError: number = 10045; break;
    case QAbstractSocket::AddressInUseError: number = 10048; break;
    default: break;
    }
    return Failure(number, description.toStdString());
}

} // namespace qv
