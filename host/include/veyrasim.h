// Simulated dongle: the driver-side and test-side interface of the virtual radio behind the host library.
//
// Everything here runs on the thread that drives the virtual clock (the UI thread in the application,
// the test's thread in tests). Deliveries are never re-entrant: listeners and host events are invoked
// from advanceTo(), never from inside the call that caused them.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orv::sim {

// ---- Worlds ------------------------------------------------------------------------------------

// A world is a JSON object. Members are optional unless said otherwise (a peer's "address", the
// "uuid" of a service, characteristic or descriptor, an event's "action"); a member not listed here,
// or one given twice in an object, refuses the world:
//   "seed": 7, "searchDurationMs": 0 (0: a search runs until stopped),
//   "dongle": {"present", "driver", "busy", "initFails", "startWndFails": bools,
//              "startup": "up" | "failed" | "error", "startupError": 1, "startupDelayMs": 300},
//   "usbDevices": [{"hardwareIds": ["USB\\VID_1234&PID_5678"], "service": "x", "interfacePath": "p"}],
//   "peers": [peer...], "events": [event...]
// A peer: "kind": "heartRate", "address": "12:34:56:78:9A:BC", "addressType": "public" | "random",
//   "name": "..." (absent or null: no name), "txPower": -4, "appearance": 833,
//   "slaveInterval": {"min": 6, "max": 24}, "adFlags": 6, "advIntervalMs": 100,
//   "rssi": {"mean": -60, "jitter": 4}, "connectable", "advertising", "bonded": bools,
//   "security": "none" | "encryption" | "mitm" (what every characteristic needs unless it says
//   otherwise), "passkeyInput": false (true: the peer has a keyboard and can take a passkey),
//   "passkey": "right" | "wrong" | "none" (what its user types when the host shows a passkey),
//   "parameterRequest": {"afterMs", "intervalMin", "intervalMax", "slaveLatency", "supervisionTimeout"},
//   "gatt": [{"uuid": "180D" (or 128-bit "0000fff0-4b7e-..."), "characteristics": [characteristic...]}]
// A characteristic: "uuid": "2A37", "properties": ["read", "write", "writeWithoutResponse", "notify",
//   "indicate"] (or a number), "value": "00 48" (hex) or "text": "UTF-8", "readError": 0,
//   "writeError": 0, "silent": false, "security": "none" | "encryption" | "mitm",
//   "descriptors": [{"uuid": "2901", "text": "..."}]
// An event: "at": 5000, "action": "unplugDongle" | "unplugUsb" | "suspend" | "resume" | "hostError" |
//   "disconnect", with "interfacePath" (unplugUsb: one of "usbDevices"), "code" (hostError; disconnect
//   reason) or "address" (disconnect).
// Characteristics that notify or indicate get a configuration descriptor unless they list one.
// Behaviour: "kind" selects what the peer does beyond serving its database; a peer of a kind with
// behaviour that lists no "gatt" serves that kind's own database. "heartRate": Generic Access (Device
// Name) and Heart Rate (3 Device Name, 6 Measurement with 7 its configuration, 9 Body Sensor Location,
// 11 Control Point); one measurement a second while notifications are on, values drawn from the
// seed; control point op code 0x01 resets the energy expended, any other is refused with ATT 0x80.
// "weightScale": Generic Access, Weight Scale (feature 0x000001BF) and User Data (User Control Point,
// First Name, Database Change Increment, User Index; four users, user 0 "Ann" with consent code 1234);
// a weigh-in every 5 s while measurement indications are on, its flags varying, sometimes failed.
// "bodyComposition" adds Body Composition (feature 0x0001BFFF), each weigh-in also sending a
// composition measurement, split into packets when it does not fit one indication. The user's name
// and increment answer ATT 0x80 without consent on the link; the control point refuses writes with
// 0xFD while its indications are off and 0xFE while a request is being answered.
// "cycling": Cycling Speed and Cadence (Measurement notified once a second with the wheel and crank
// counts and the event times of their last revolutions; Feature 0x07; Sensor Location 12 of 4, 5, 6,
// 12) on a ride that varies, coasts and stops, from the counts of a bike ridden for a while. "running":
// Running Speed and Cadence (Measurement notified once a second, walking and running by turns, stride
// and total distance sometimes left out; Feature 0x1F; Sensor Location 2 of 1, 2, 3; a calibration
// fails while running). Both serve the SC Control Point. "environment":
// Environmental Sensing with Pressure, Temperature and Humidity (with their ES Measurement, ES Trigger
// Setting and, for Temperature, ES Configuration descriptors), the maker's accelerometer (AAA1),
// gyroscope (AAA2) and magnetometer calibration (AAA4: takes 01 and 00 only) and Magnetic Flux Density
// 3D, all read on demand; the values drift once a second while linked and the heading turns.
// "phone": Generic Access (the built-in phone needs an encrypted link for it, so a client's first
// read pairs it). Once the link is encrypted the phone is a client of the host's own database (below): it
// discovers Current Time, Next DST Change, Reference Time Update, Alert Notification and Phone Alert
// Status by UUID; reads Current Time, Local Time Information, Reference Time Information, Time with
// DST and Time Update State; subscribes to Current Time and writes Get Reference Update (1, a write
// command) to the Time Update Control Point then and every 2 minutes; subscribes to New Alert and
// Unread Alert Status with one queued write of both configurations, then to Alert Status and Ringer
// Setting; writes the Alert Notification Control Point [00 FF], [01 FF], [04 FF], [05 FF]; reads
// Alert Status and Ringer Setting. Each time the Alert Status it reads or is notified turns the
// ringer on, it writes Mute Once (2, a write command) to the Ringer Control Point 5 s later if the
// ringer still rings. It also consumes the notification center's notifications: discovers that
// service, subscribes to Notification Source and Data Source, writes Get Notification Attributes
// [00, UID, 00, 01 20 00, 03 40 00] to the Control Point for each notification added or modified and
// records each answer put back together from the Data Source pieces (an Answer value).
// The health kinds also serve Device Information (Manufacturer Name, Model Number, System ID) after
// Generic Access. "bloodPressure": Blood Pressure with Measurement (indicate), Intermediate Cuff
// Pressure (notify) and Feature; while indications are on, every 30 s ten falling cuff pressures a
// second apart, then an indicated measurement in mmHg whose optional fields vary. "glucose": Glucose
// with Measurement and Context (notify), Feature and Record Access Control Point (write, indicate),
// all behind an encrypted link; twelve records (sequence numbers 1 to 12) reported, counted, deleted
// and aborted through the control point, which refuses writes with ATT 0x81 while its indications are
// off and 0x80 while a procedure runs. "thermometer": Health Thermometer with Temperature Measurement
// (indicate) and Temperature Type (read: 3, ear); a measurement every 5 s while indications are on.
// "tyrePressure": Generic Access, the vendor tyre service D000 (6 pressure in kPa with 7 its
// configuration, 9 blow-out threshold in kPa, 11 discoverability, 13 wheel position, 15 temperature in
// degrees Celsius with 16 its configuration) and the pairing removal service AB14 (19 pairing removal);
// every 2 s the pressure leaks 2 kPa from 230 down to 170 and is then refilled, the temperature
// wanders from the seed between -6 and 12, both notified; the threshold takes 69..207 kPa and the
// position 1..5 or 0xFF (ATT 0x13 otherwise, 0x0D for another length); 0x01 written to the pairing
// removal makes the sensor forget its bond. "vehicleInformation": Generic Access, the vendor vehicle
// service AB09 (its ten values at 6, 9, ..., 33, readable and notified, each followed by its
// configuration) and AB14 (37 Delete Pairing); every field has all bits set for the first 6 s of a
// link, then the vehicle's state follows every 2 s; the fob leaves the link 90 s after connecting, and
// 1 s after 0x01 is written to Delete Pairing, which also makes it forget its bond.
// "securityTag": Generic Access, Immediate Alert (6 Alert Level, write without response), Link Loss
// (9 Alert Level, read and write, both with an encrypted link only) and Tx Power (12 Tx Power Level,
// -8 dBm); it takes alert levels 0-2 (ATT 0x13 otherwise) and records them (takePeerRecordedWrites);
// over each link the RSSI it reports cycles from near (about -58 dBm) to far (about -102 dBm) and back
// in about a minute, the length and a jitter of +-3 dBm drawn from the seed. Once its link is
// encrypted it is a client of the host's Immediate Alert: every 45 s its button writes the host's Alert
// Level (a write command), 2 and 1 in turn; a level 1 is followed by a 0 3 s later.
// "keyboard", "mouse" and "steeringWheel": Generic Access and a HID service (every attribute of it needs
// an encrypted link) with Protocol Mode (not the wheel), HID Information, a Report Map longer than
// one read, reports with their Report Reference, boot input reports (keyboard and mouse) and the HID
// Control Point; each connection starts in report protocol; Protocol Mode 0 or 1 (written without
// response) sends the input on the boot or the report characteristic; Control Point 0 holds input
// back until 1; output and feature reports keep what is written. The keyboard types a short text, the
// mouse draws a square, the wheel presses its buttons (alone, in pairs, in the code field); input
// goes to the first report whose Report Reference says input, so a world may give its own database.
// "remote": Generic Access and the legacy HID service 0x3231 (2C00 to 2C04, Flags 0x0005); while
// Interrupt (2C03) notifies, a key (00 00 <usage> 00) is pressed every 1.5 s and held for 300 ms.
// A peer without "kind" only advertises and serves what its entry lists; any other kind refuses the world.
// A peer that uses the host's database does so over ATT as a real client does, one request at a time
// in the order its model asks: primary service by UUID, characteristic declarations, configuration
// descriptors; reads (long values with blob reads), write requests, write commands, queued (prepared
// and executed) writes, configuration writes; it confirms indications at once. What it receives is
// kept for takePeerClientValues.
// Security: a value and its descriptors answer ATT 0x0F (insufficient encryption) until the link is
// encrypted ("encryption"), or ATT 0x05 (insufficient authentication) until it is encrypted with a key
// from a passkey pairing ("mitm"). Pairing is Just Works unless man-in-the-middle protection is asked
// and the peer has "passkeyInput"; its user then types the passkey some seconds after it is shown
// ("right"), types another one ("wrong": the pairing fails) or never types ("none": the host's pairing
// time-out ends it). A peer holds the key of its bond in the dongle's bond store unless it was told to
// forget it since the world was loaded; keys it did not get from a passkey pairing in this world count
// as unprotected against a man in the middle.
// Peers behave as their profiles say: Device Name (2A00) takes at most 248 bytes (ATT 0x0D beyond) and
// a written name becomes the peer's name, also in its advertising; Bond Management Control Point
// (2AA4) takes op code 0x03 (delete the bond of the requesting device: the peer forgets its bond)
// and answers other op codes with ATT 0x80. Whether a value may be written at all is its properties'.

// Replaces the current world with the one described by the JSON text, resets the virtual clock to 0
// and reseeds the random generator. On a malformed world returns false, fills *error (naming the
// offending member) and keeps the current world.
bool loadWorldJson(const std::string& json, std::string* error);
bool loadWorldFile(const std::string& path, std::string* error);
// Loads the file named by the environment variable TINDREL_SIM_WORLD, or the built-in world.
bool loadDefaultWorld(std::string* error);
// The built-in world (one peer of every supported kind) as JSON text.
const std::string& builtInWorldJson();

// ---- Virtual time ------------------------------------------------------------------------------

uint64_t now(); // milliseconds since the world was loaded
// Earliest scheduled action, if any.
std::optional<uint64_t> nextDueTime();
// Runs every action due at or before t, in time order (ties in scheduling order), then sets now to t.
void advanceTo(uint64_t t);
void advance(uint64_t ms);
// Called whenever an action is scheduled earlier than every other pending one, so that a driver
// sleeping until nextDueTime() can wake up sooner. May be called from within any host call.
void setWakeupListener(std::function<void()> listener);
// The wall clock, in milliseconds since 1 January 1970 UTC; empty (the default) selects the system
// clock. Loading a world reads it: that reading is the date of virtual time 0, and the host library
// dates its capture from it, so that while virtual time keeps pace with the wall clock (as the
// application's clock driver keeps it) each record carries the date and time it happened.
void setWallClock(std::function<int64_t()> clock);

// ---- USB device list (stand-in for the platform's device-setup interface) ---------------------

struct UsbDevice {
    std::vector<std::string> hardwareIds; // e.g. "USB\\VID_2F1E&PID_0001&REV_0100"
    std::string service;                  // driver service name, empty without a driver
    std::string interfacePath;            // path of the device interface, opened by openUsbInterface
};

std::vector<UsbDevice> presentUsbDevices();
// Opens and closes a device interface at once. Returns 0 on success, 170 (busy) when another process
// holds the device open, 2 when no present device has that path.
uint32_t openUsbInterface(const std::string& path);

// ---- Notifications the platform forwards to windows --------------------------------------------

enum : uint32_t { kDeviceArrival = 0x8000, kDeviceRemoveComplete = 0x8004 };
enum : uint32_t { kPowerSuspend = 4, kPowerResumeSuspend = 7 };

// Device arrival and removal of any USB device (the dongle's unplug among them).
void setDeviceChangeListener(std::function<void(uint32_t eventType)> listener);
// System suspend and resume.
void setPowerListener(std::function<void(uint32_t powerEvent)> listener);

// ---- Test hooks --------------------------------------------------------------------------------

// Removes the dongle from the USB list at once; the removal is reported at the current virtual time
// (on the next advance), after which a running host posts host error 2 (communication lost).
void unplugDongle();
// Removes another USB device (by interface path) and reports the removal; the host is not affected.
void unplugUsbDevice(const std::string& interfacePath);
// Reports a system suspend, then (resume) a system resume.
void suspendSystem();
void resumeSystem();
// Posts host error code to the attached window at the current virtual time, delivered by the next
// advance (as if the dongle failed). A non-zero code takes the host down; 0 leaves it running.
void injectHostError(uint32_t code);

// Bond store file; empty selects $XDG_DATA_HOME/tindrel/bonds.json (else ~/.local/share/tindrel/).
// The file is read again on next use. When it does not exist, the world's "bonded" peers seed it.
void setBondStorePath(const std::string& path);
// While set, OrvBleHostGetPairedDeviceList fails (returns 0). Cleared by loading a world.
void setPairedListFailure(bool fail);

// ---- Peer fault hooks ---------------------------------------------------------------------------
// A peer is named by its address text ("12:34:56:78:9A:BC", any address type). Hooks that need a
// link return false when the peer is not connected; deliveries happen on later advances.

// Sends a notification (or indication) with exactly these value bytes to the host. An indication
// waits, as the peer's own do, until the host has confirmed the one before it.
bool injectNotification(const std::string& peer, uint16_t handle, const std::vector<uint8_t>& value,
                        bool indication = false);
// Sends exactly these bytes as one ATT PDU to the host (for malformed or unexpected PDUs).
bool injectAttPdu(const std::string& peer, const std::vector<uint8_t>& pdu);
// The peer drops the link with that HCI reason (e.g. 0x13 remote user terminated, 0x08 timeout).
bool disconnectPeer(const std::string& peer, uint8_t reason);
// The peer asks for new connection parameters (host event 12 follows).
bool requestConnectionParameters(const std::string& peer, uint16_t intervalMin, uint16_t intervalMax,
                                 uint16_t slaveLatency, uint16_t supervisionTimeout);
// Hooks on the peer's GATT database; they last until the world is replaced and return false when
// the world has no such peer (or attribute).
// Every read and write of that attribute answers with the ATT error (0 clears it).
bool setPeerAttError(const std::string& peer, uint16_t handle, uint8_t error);
// While set, the peer answers no ATT request at all (the host's transaction times out).
bool setPeerSilent(const std::string& peer, bool silent);
// While set, the peer's control points that answer by indication (User Control Point and the like)
// accept requests and never answer them; each stays busy until the link goes.
bool setControlPointsUnanswered(const std::string& peer, bool unanswered);
// While set, the SC Control Point of the peer ("cycling", "running") answers every request it accepts
// with Operation Failed.
bool setControlPointsFailing(const std::string& peer, bool failing);
// The next pairing with the peer that reaches its end (the user's answer given, a typed passkey)
// ends with this security result instead of its own outcome: 0 succeeds (with the protection of the
// pairing's method), any other code fails with that code. Once; cleared by loading a world.
bool injectSecurityResult(const std::string& peer, uint16_t result);
// The PDUs the host has sent to the peer other than requests to the peer's database: responses and
// notifications of the host's own GATT server, and confirmations of the peer's indications; oldest
// first. Taking them empties the list.
std::vector<std::vector<uint8_t>> takePeerReceived(const std::string& peer);
// The current value of one of the peer's attributes (for example after a write).
std::optional<std::vector<uint8_t>> peerAttributeValue(const std::string& peer, uint16_t handle);
// From now on every RSSI read of the peer's link reports rssi; nullopt returns to the peer's own model.
bool setPeerRssi(const std::string& peer, std::optional<int8_t> rssi);
// Values written to the peer that its behaviour model keeps a record of (a security tag: every alert
// level), oldest first; taking them empties the list. Kept until the world is replaced.
struct PeerWrite {
    uint16_t handle = 0;
    std::vector<uint8_t> value;

    bool operator==(const PeerWrite&) const = default;
};
std::vector<PeerWrite> takePeerRecordedWrites(const std::string& peer);

// What a peer that acts as a client of the host's own database received: the characteristic (its
// UUID as in world files: "2A2B", or the 128-bit form), how, the ATT error (0: none) and the value.
// A written configuration descriptor counts as its characteristic's. Answer: a whole answer that the
// peer put back together from the pieces notified (the phone's notification-center attributes).
struct PeerClientValue {
    enum class Kind { Read, Written, Notification, Indication, Answer };
    std::string characteristic;
    Kind kind = Kind::Read;
    uint8_t error = 0;
    std::vector<uint8_t> value;

    bool operator==(const PeerClientValue&) const = default;
};
// Oldest first; taking them empties the list. Kept until the world is replaced.
std::vector<PeerClientValue> takePeerClientValues(const std::string& peer);

// Directory of the host library's debug output (OrvBleHostInit with debug non-zero): the text log
// "veyrahost.log" and the capture "veyrahost.btsnoop", both replaced at each initialisation. Empty
// selects the working directory.
void setDebugOutputDirectory(const std::string& directory);

// Event records handed out by the host library and not yet given back.
std::size_t liveRecordCount();
// Calls of OrvBleHostFreeMessageContents with a record the library did not hand out (or gave twice).
std::size_t unknownFreeCount();

} // namespace orv::sim
