// The hand-fed serial port.
#include "support/FakeSerialPort.h"

#include "core/Failure.h"

namespace qv::test {

void FakeSerialPort::feedReceived(const std::string& bytes, bool fire) {
    buffer.insert(buffer.end(), bytes.begin(), bytes.end());
    event = Event::Receive;
    if (fire && onEvent) onEvent();
}

void FakeSerialPort::raise(Event e) {
    event = e;
    if (onEvent) onEvent();
}

void FakeSerialPort::open() {
    if (openFailure) throw Failure(openFailure);
    opened = true;
}

char FakeSerialPort::readChar() {
    if (buffer.empty()) throw Failure(err::InputPastEnd);
    const char c = buffer.front();
    buffer.pop_front();
    return c;
}

} // namespace qv::test
