// QTcpSocket as the byte port of a network TNC.
#include "platform/QtTcpStreamPort.h"

#include "core/Failure.h"
#include "platform/QtSerialPort.h"

#include <QTimer>

#include <climits>

namespace qv {

namespace {

// "host:port" or "[v6]:port"; false when it is neither.
bool split(const std::string& target, QString& host, quint16& port) {
    const std::size_t colon = target.rfind(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 >= target.size()) return false;
    std::string h = target.substr(0, colon);
    if (h.size() >= 2 && h.front() == '[' && h.back() == ']') h = h.substr(1, h.size() - 2);
    const std::string p = target.substr(colon + 1);
    if (h.empty() || p.size() > 5 || p.find_first_not_of("0123456789") != std::string::npos) return false;
    const int n = std::stoi(p);
    if (n < 1 || n > 65535) return false;
    host = QString::fromStdString(h);
    port = static_cast<quint16>(n);
    return true;
}

} // namespace

std::unique_ptr<SerialPort> makeTncBytePort(bool tcp) {
    if (tcp) return std::make_unique<QtTcpStreamPort>();
    return std::make_unique<QtSerialPort>();
}

QtTcpStreamPort::QtTcpStreamPort() {
    sock_.setReadBufferSize(kReadBuffer);
    QObject::connect(&sock_, &QTcpSocket::connected, [this] {
        if (onStatus) onStatus();
    });
    QObject::connect(&sock_, &QTcpSocket::readyRead, [this] {
        last_ = Event::Receive;
        if (onEvent) onEvent();
    });
    QObject::connect(&sock_, &QTcpSocket::disconnected, [this] {
        if (!closing_) lost("the TNC at " + target_ + " closed the connection");
    });
    QObject::connect(&sock_, &QTcpSocket::errorOccurred, [this](QAbstractSocket::SocketError e) {
        if (closing_) return;
        if (e == QAbstractSocket::RemoteHostClosedError) return; // `disconnected` tells
        lost(target_ + ": " + sock_.errorString().toStdString());
    });
}

QtTcpStreamPort::~QtTcpStreamPort() {
    onEvent = nullptr;
    onStatus = nullptr;
    closing_ = true;
    sock_.abort();
}

void QtTcpStreamPort::open() {
    if (isOpen()) throw Failure(err::PortInUse);
    QString host;
    quint16 port = 0;
    if (!split(target_, host, port)) throw Failure(err::NoSuchPort, "No TCP address HOST:PORT in " + target_);
    ++generation_;
    last_ = Event::None;
    reason_.clear();
    sock_.connectToHost(host, port);
}

void QtTcpStreamPort::close() {
    ++generation_;
    closing_ = true;
    sock_.abort();
    closing_ = false;
}

bool QtTcpStreamPort::isOpen() const { return sock_.state() != QAbstractSocket::UnconnectedState; }

bool QtTcpStreamPort::connected() const { return sock_.state() == QAbstractSocket::ConnectedState; }

int QtTcpStreamPort::inBufferCount() const {
    const qint64 n = sock_.bytesAvailable();
    return n > INT_MAX ? INT_MAX : static_cast<int>(n);
}

char QtTcpStreamPort::readChar() {
    char c = 0;
    if (!sock_.getChar(&c)) throw Failure(err::InputPastEnd);
    return c;
}

void QtTcpStreamPort::write(const std::string& bytes) {
    if (!connected()) throw Failure(8018);
    if (sock_.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()))
        throw Failure(57, sock_.errorString().toStdString());
    sock_.flush();
}

// Told from the event loop, never from inside a call of ours: the receive
// handler that acts on it may close and reopen this port.
void QtTcpStreamPort::lost(const std::string& reason) {
    closing_ = true;
    sock_.abort();
    closing_ = false;
    const unsigned gen = generation_;
    QTimer::singleShot(0, &sock_, [this, gen, reason] {
        if (gen != generation_) return;
        reason_ = reason;
        last_ = Event::Error;
        if (onEvent) onEvent();
    });
}

} // namespace qv
