// QSerialPort behind the serial port interface.
#include "platform/QtSerialPort.h"

#include "core/Failure.h"
#include "platform/SerialSettings.h"

#include <QSerialPort>
#include <QTimer>

#include <cerrno>
#include <sys/file.h>
#include <unistd.h>

namespace qv {

namespace {

QSerialPort::Parity parity(char p) {
    switch (p) {
    case 'E': return QSerialPort::EvenParity;
    case 'O': return QSerialPort::OddParity;
    case 'M': return QSerialPort::MarkParity;
    case 'S': return QSerialPort::SpaceParity;
    default: return QSerialPort::NoParity;
    }
}

QSerialPort::StopBits stopBits(int s) {
    switch (s) {
    case 2: return QSerialPort::TwoStop;
    case 3: return QSerialPort::OneAndHalfStop;
    default: return QSerialPort::OneStop;
    }
}

[[noreturn]] void noSuchPort() { throw Failure(err::NoSuchPort); }
[[noreturn]] void portInUse() { throw Failure(err::PortInUse); }

} // namespace

struct QtSerialPort::Impl {
    QSerialPort port;
    QTimer retry;
    std::string name = "1";
    std::string settings = "9600,n,8,1";
    Event last = Event::None;
    QSerialPort::SerialPortError openError = QSerialPort::NoError;
    bool delivering = false;
    SerialPort* self = nullptr;

    void apply(const SerialSettings& s) {
        port.setBaudRate(s.baud);
        port.setParity(parity(s.parity));
        port.setDataBits(static_cast<QSerialPort::DataBits>(s.dataBits));
        port.setStopBits(stopBits(s.stopBits));
        port.setFlowControl(QSerialPort::NoFlowControl);
    }

    void deliver(Event e) {
        last = e;
        if (delivering || !self->onEvent) return; // the running handler reads on
        delivering = true;
        self->onEvent();
        delivering = false;
        if (port.isOpen() && port.bytesAvailable() > 0) retry.start();
    }

    void onError(QSerialPort::SerialPortError error) {
        if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError) return;
        // A failing open() reports here first; open() itself turns it into a failure.
        if (!port.isOpen()) {
            openError = error;
            return;
        }
        // The device went away (a USB adapter pulled, the other end of a
        // pseudo-terminal closed): reading on would only repeat the error.
        // A hung-up terminal reports a read error (EIO) rather than a lost
        // resource, and would report it again on every turn of the event
        // loop, keeping a core busy for as long as the port stayed open.
        if (error == QSerialPort::ResourceError || error == QSerialPort::ReadError) {
            retry.stop();
            port.close();
        }
        port.clearError();
        deliver(Event::Error);
    }
};

QtSerialPort::QtSerialPort() : d_(std::make_unique<Impl>()) {
    d_->self = this;
    d_->retry.setSingleShot(true);
    d_->retry.setInterval(kRetryMs);
    QObject::connect(&d_->retry, &QTimer::timeout, [this] {
        if (d_->port.isOpen() && d_->port.bytesAvailable() > 0) d_->deliver(Event::Receive);
    });
    QObject::connect(&d_->port, &QSerialPort::readyRead, [this] { d_->deliver(Event::Receive); });
    QObject::connect(&d_->port, &QSerialPort::errorOccurred,
                     [this](QSerialPort::SerialPortError e) { d_->onError(e); });
}

QtSerialPort::~QtSerialPort() {
    onEvent = nullptr;
    close();
}

void QtSerialPort::setPort(const std::string& port) {
    if (d_->port.isOpen()) portInUse();
    d_->name = port;
}

std::string QtSerialPort::port() const { return d_->name; }

void QtSerialPort::setSettings(const std::string& settings) {
    const SerialSettings s = parseSerialSettings(settings);
    d_->settings = settings;
    // Takes effect at once, also on an open port.
    d_->apply(s);
}

std::string QtSerialPort::settings() const { return d_->settings; }

void QtSerialPort::open() {
    if (d_->port.isOpen()) portInUse();
    const std::string device = serialDevice(d_->name);
    if (device.empty()) noSuchPort();
    if (::access(device.c_str(), F_OK) != 0) noSuchPort();
    if (::access(device.c_str(), R_OK | W_OK) != 0)
        throw Failure(err::NoSuchPort, Failure::describe(err::PermissionDenied));
    d_->apply(parseSerialSettings(d_->settings));
    d_->port.setPortName(QString::fromStdString(device));
    d_->openError = QSerialPort::NoError;
    if (!d_->port.open(QIODevice::ReadWrite)) {
        const auto e = d_->openError;
        d_->port.clearError();
        // Qt holds a lock file per device and opens it exclusively; being
        // refused after the access test above means someone else has it.
        if (e == QSerialPort::PermissionError) portInUse();
        noSuchPort();
    }
    // Programs that lock the device itself rather than through a lock file.
    if (::flock(static_cast<int>(d_->port.handle()), LOCK_EX | LOCK_NB) != 0) {
        const int e = errno;
        d_->port.close();
        if (e == EWOULDBLOCK) portInUse();
        noSuchPort();
    }
}

void QtSerialPort::close() {
    d_->retry.stop();
    if (!d_->port.isOpen()) return;
    d_->port.flush();
    d_->port.close();
}

bool QtSerialPort::isOpen() const { return d_->port.isOpen(); }

int QtSerialPort::inBufferCount() const {
    if (!d_->port.isOpen()) return 0;
    return static_cast<int>(d_->port.bytesAvailable());
}

char QtSerialPort::readChar() {
    char c = 0;
    if (!d_->port.isOpen() || !d_->port.getChar(&c)) throw Failure(err::InputPastEnd);
    return c;
}

void QtSerialPort::write(const std::string& text) {
    if (!d_->port.isOpen()) throw Failure(8018);
    if (d_->port.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size()))
        throw Failure(57);
    // Hand it to the device now rather than at the next turn of the event loop.
    d_->port.flush();
}

SerialPort::Event QtSerialPort::lastEvent() const { return d_->last; }

} // namespace qv
