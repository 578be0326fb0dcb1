// Which texts can name a station: APRS source addresses and name fields.
#include "core/StationId.h"

#include <gtest/gtest.h>

#include <string>

using namespace qv;

TEST(StationId, SourceAddressesAndNames) {
    struct Case {
        std::string id;
        bool address; // as a packet's source address
        bool name;    // as a name field
    } cases[] = {
        {"N0CALL", true, true},
        {"n0call-9", true, true},
        {"N0CALL-15", true, true},
        {"VE7ABC-L", true, true},  // APRS-IS SSIDs may be letters
        {"FLRDD1234", true, true}, // nine characters, no SSID
        {"W", true, true},
        {"N0CALL-159", false, true}, // ten characters
        {"N0CALL-", false, true},
        {"-9", false, true},
        {"N0-CA-LL", false, true},
        {"N0CALL-123", false, true},
        {"N0 CALL", false, true}, // an inner blank: a name, never an address
        {"Engine 7", false, true},
        {"AID #2", false, true},
        {"N0CALL*", false, true},
        {"", false, false},
        {" N0CALL", false, false},
        {"N0CALL ", false, false},
        {"AB\r", false, false},
        {"\rN0CALL", false, false},
        {"N0\nCALL", false, false},
        {"N0\tCALL", false, false},
        {std::string("N0\0CA", 5), false, false},
        {"N0\x1b[2J", false, false},
        {"N0,CALL", false, false},
        {"N0\"CALL", false, false},
        {"CAF\xc3\xa9", false, false},
        {"N0CALL\x7f", false, false},
        {"CALL ID-3", false, false}, // a free slot's text
        {"call id-8", false, false},
        {"CALL ID-9", false, true},
        {"CALL ID-31", false, true},
        {std::string(kMaxStationName, 'W'), false, true},
        {std::string(kMaxStationName + 1, 'W'), false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isValidStationId(c.id), c.address) << c.id;
        EXPECT_EQ(isValidStationId(c.id, IdForm::Name), c.name) << c.id;
    }
}
