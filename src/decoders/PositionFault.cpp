// Texts and failure numbers of the decoder faults.
#include "decoders/PositionFault.h"

#include "core/Failure.h"

namespace qv {

const char* describe(PositionFault f) {
    switch (f) {
    case PositionFault::None: return "no fault";
    case PositionFault::TooShort: return "report cut short";
    case PositionFault::BadSymbolTable: return "no symbol table character";
    case PositionFault::BadCharacter: return "not a digit of the position";
    case PositionFault::BadHemisphere: return "no hemisphere letter";
    case PositionFault::OutOfRange: return "position out of range";
    case PositionFault::BadName: return "bad object or item name";
    case PositionFault::BadFlag: return "no live or killed mark";
    }
    return "unknown fault";
}

int failureNumber(PositionFault f) {
    return f == PositionFault::BadCharacter || f == PositionFault::BadHemisphere ? err::TypeMismatch : err::InvalidCall;
}

} // namespace qv
