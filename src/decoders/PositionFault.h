// What the text-to-position decoders give back: a position in signed decimal
// degrees (south and west negative), or the reason the text holds none.
#pragma once

namespace qv {

enum class PositionFault {
    None,
    TooShort,       // the text ends before the position does
    BadSymbolTable, // no symbol table or overlay character where one belongs
    BadCharacter,   // a character that is no digit (or no base-91 digit) where one belongs
    BadHemisphere,  // no N/S or E/W letter where one belongs
    OutOfRange,     // beyond 90 degrees of latitude, 180 of longitude, or 60 minutes
    BadName,        // an item name of the wrong length or an empty name
    BadFlag,        // neither the live nor the killed mark after the name
};

// A short English text for the error file ("not a base-91 character").
const char* describe(PositionFault f);

// The failure number the error file gives it: 13 (Type mismatch) for a
// character that cannot be read as part of a number, 5 (Invalid procedure call
// or argument) for a text cut short or out of shape.
int failureNumber(PositionFault f);

} // namespace qv
