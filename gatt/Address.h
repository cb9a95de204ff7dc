// Bluetooth device addresses: identity and text form.
#pragma once

#include <veyrahost.h>

#include <QString>

// "12:34:56:78:9A:BC": NAP high and low byte, UAP, then the three LAP bytes, most significant
// first in upper-case hex. The address type is not part of the text.
QString BdAddrToString(const BleTypedAddress& address);

// Two addresses name the same device when type, NAP, UAP and LAP are equal; reserved bytes and
// the unused top byte of the LAP do not count.
bool IsSameAddress(const BleTypedAddress& a, const BleTypedAddress& b);
