// GATT UUIDs: the application's way to the one table of named 16-bit UUIDs.
#pragma once

#include <veyrauuids.h>
