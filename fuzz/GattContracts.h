// Entries of the value functions' fuzz target that check contracts: each takes the value after the
// byte that picked it and aborts when the functions it drives break what they promise.
#pragma once

#include "fuzz/FuzzInput.h"

namespace fuzz::contracts {

void hidTexts(Value v);
void hexInputFilter(Value v);
void fobStatus(Value v);
void stationName(Value v);
void locationUrl(Value v);
void bodyMeasures(Value v);
void typedNumber(Value v);
void editUInt16(Value v);
void sensorLocationNames(Value v);
void wheelPositionNames(Value v);
void roundToDecimals(Value v);
void cyclingRide(Value v);
void unreadCounts(Value v);
void alertCategories(Value v);
void firstName(Value v);
void userControlRequests(Value v);
void cumulativeValueRequest(Value v);
void currentTime(Value v);
void timeServiceValues(Value v);
void timeSinceUpdateAndZone(Value v);

} // namespace fuzz::contracts
