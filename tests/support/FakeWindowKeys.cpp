// Recording of the keys a posting types.
#include "support/FakeWindowKeys.h"

#include "posting/KeystrokeScript.h"

namespace qv::test {

void FakeWindowKeys::send(const std::vector<KeyEvent>& events) {
    if (sendFails) throw Failure(err::InvalidCall);
    log.push_back("keys " + keys::describe(events));
}

} // namespace qv::test
