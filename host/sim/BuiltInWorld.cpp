// Simulated radio: the built-in world, one advertiser for every profile the application supports.
#include "veyrasim.h"

namespace orv::sim {

const std::string& builtInWorldJson() {
    static const std::string world = R"json({
  "seed": 20261206,
  "searchDurationMs": 0,
  "dongle": { "present": true, "driver": true, "busy": false, "startup": "up", "startupDelayMs": 300 },
  "usbDevices": [
    { "hardwareIds": ["USB\\VID_046D&PID_C52B&REV_1211"], "service": "hidusb",
      "interfacePath": "\\\\?\\usb#vid_046d&pid_c52b#5&1a2b3c4d&0&2#{a5dcbf10-6530-11d2-901f-00c04fb951ed}" }
  ],
  "peers": [
    { "kind": "heartRate", "address": "00:1A:7D:DA:71:01", "name": "Orvane HR Strap",
      "appearance": 833, "txPower": 0, "advIntervalMs": 250, "rssi": { "mean": -58, "jitter": 5 } },
    { "kind": "bloodPressure", "address": "00:1A:7D:DA:71:02", "name": "Orvane BP Cuff",
      "appearance": 897, "advIntervalMs": 400, "rssi": { "mean": -66, "jitter": 4 } },
    { "kind": "glucose", "address": "00:1A:7D:DA:71:03", "name": "Orvane Glucose Meter",
      "appearance": 1024, "advIntervalMs": 500, "rssi": { "mean": -70, "jitter": 4 } },
    { "kind": "thermometer", "address": "00:1A:7D:DA:71:04", "name": "Orvane Thermometer",
      "appearance": 769, "txPower": -4, "advIntervalMs": 400, "rssi": { "mean": -62, "jitter": 3 } },
    { "kind": "weightScale", "address": "00:1A:7D:DA:71:05", "name": "Orvane Scale",
      "appearance": 3200, "advIntervalMs": 500, "rssi": { "mean": -72, "jitter": 5 } },
    { "kind": "bodyComposition", "address": "00:1A:7D:DA:71:06", "name": "Orvane Body Analyser",
      "appearance": 3200, "advIntervalMs": 500, "rssi": { "mean": -74, "jitter": 5 } },
    { "kind": "cycling", "address": "00:1A:7D:DA:71:07", "name": "Orvane Cadence",
      "appearance": 1157, "advIntervalMs": 300, "rssi": { "mean": -68, "jitter": 6 } },
    { "kind": "running", "address": "00:1A:7D:DA:71:08", "name": "Orvane Stride",
      "appearance": 1089, "advIntervalMs": 300, "rssi": { "mean": -64, "jitter": 6 } },
    { "kind": "environment", "address": "00:1A:7D:DA:71:09", "name": "Orvane Weather Station",
      "appearance": 1344, "advIntervalMs": 1000, "rssi": { "mean": -76, "jitter": 4 } },
    { "kind": "battery", "address": "00:1A:7D:DA:71:0A", "name": "Orvane Battery Pack",
      "advIntervalMs": 800, "rssi": { "mean": -60, "jitter": 3 } },
    { "address": "00:1A:7D:DA:71:0B", "name": "Orvane Dev Board",
      "txPower": 4, "advIntervalMs": 800, "rssi": { "mean": -55, "jitter": 3 },
      "gatt": [
        { "uuid": "1800", "characteristics": [
          { "uuid": "2A00", "properties": ["read", "write"], "text": "Orvane Dev Board" }] },
        { "uuid": "180A", "characteristics": [
          { "uuid": "2A29", "properties": ["read"], "text": "Orvane" },
          { "uuid": "2A24", "properties": ["read"], "text": "ODB-2640" },
          { "uuid": "2A25", "properties": ["read"], "text": "2640-00417" },
          { "uuid": "2A27", "properties": ["read"], "text": "Rev C" },
          { "uuid": "2A26", "properties": ["read"], "value": "32 2E 36 2E 30 00" },
          { "uuid": "2A28", "properties": ["read"], "text": "1.4.2-\u03b2" },
          { "uuid": "2A23", "properties": ["read"], "value": "0B 71 DA FE FF 7D 1A 00" },
          { "uuid": "2A2A", "properties": ["read"], "value": "00 02 00 04 02 01 00 01" },
          { "uuid": "2A50", "properties": ["read"], "value": "01 1E 2F 02 01 23 01" }] }] },
    { "kind": "keyboard", "address": "00:1A:7D:DA:71:0C", "name": "Orvane Veyra Keyboard",
      "appearance": 961, "slaveInterval": { "min": 6, "max": 24 }, "advIntervalMs": 100,
      "rssi": { "mean": -52, "jitter": 4 },
      "security": "encryption", "passkeyInput": true, "passkey": "right" },
    { "address": "00:1A:7D:DA:71:13", "name": "Orvane Bond Manager",
      "advIntervalMs": 500, "rssi": { "mean": -61, "jitter": 4 },
      "gatt": [
        { "uuid": "1800", "characteristics": [
          { "uuid": "2A00", "properties": ["read", "write"], "text": "Orvane Bond Manager" }] },
        { "uuid": "181E", "characteristics": [
          { "uuid": "2AA4", "properties": ["write"], "security": "encryption" },
          { "uuid": "2AA5", "properties": ["read"], "value": "10 00 00", "security": "encryption" }] }] },
    { "kind": "remote", "address": "00:1A:7D:DA:71:0D", "name": "SKY Remote",
      "appearance": 384, "advIntervalMs": 150, "rssi": { "mean": -57, "jitter": 4 } },
    { "kind": "steeringWheel", "address": "00:1A:7D:DA:71:0E", "name": "Orvane Wheel Controls",
      "appearance": 970, "advIntervalMs": 150, "rssi": { "mean": -61, "jitter": 4 } },
    { "kind": "securityTag", "address": "C4:1A:7D:DA:71:0F", "addressType": "random", "name": "Orvane Key Tag",
      "appearance": 576, "txPower": -8, "advIntervalMs": 600, "rssi": { "mean": -69, "jitter": 7 } },
    { "kind": "tyrePressure", "address": "00:1A:7D:DA:71:10", "name": "Orvane Tyre Sensor",
      "advIntervalMs": 1000, "rssi": { "mean": -78, "jitter": 5 }, "bonded": true },
    { "kind": "vehicleInformation", "address": "00:1A:7D:DA:71:11", "name": "Orvane Car Info",
      "advIntervalMs": 1000, "rssi": { "mean": -75, "jitter": 5 } },
    { "address": "00:1A:7D:DA:71:12", "name": "Orvane OTA Target",
      "advIntervalMs": 500, "rssi": { "mean": -63, "jitter": 4 },
      "gatt": [
        { "uuid": "1800", "characteristics": [
          { "uuid": "2A00", "properties": ["read", "write"], "text": "Orvane OTA Target" }] },
        { "uuid": "00001016-4b7e-11e2-8c3a-5f8c2e10b7d4", "characteristics": [
          { "uuid": "00001013-4b7e-11e2-8c3a-5f8c2e10b7d4", "properties": ["read"], "value": "01" }] }] },
    { "address": "00:1A:7D:DA:71:14", "name": "Orvane OTA Bootloader",
      "advIntervalMs": 500, "rssi": { "mean": -64, "jitter": 4 },
      "gatt": [
        { "uuid": "1800", "characteristics": [
          { "uuid": "2A00", "properties": ["read", "write"], "text": "Orvane OTA Bootloader" }] },
        { "uuid": "00001010-4b7e-11e2-8c3a-5f8c2e10b7d4", "characteristics": [
          { "uuid": "00001013-4b7e-11e2-8c3a-5f8c2e10b7d4", "properties": ["read"], "value": "01" },
          { "uuid": "00001011-4b7e-11e2-8c3a-5f8c2e10b7d4", "properties": ["read"], "value": "03" }] }] },
    { "kind": "mouse", "address": "00:1A:7D:DA:71:15", "name": "Orvane Mouse",
      "appearance": 962, "advIntervalMs": 100, "rssi": { "mean": -54, "jitter": 4 } },
    { "kind": "remote", "address": "00:1A:7D:DA:71:16", "name": "Orvane Media Remote",
      "appearance": 384, "advIntervalMs": 150, "rssi": { "mean": -63, "jitter": 4 } },
    { "kind": "phone", "address": "5E:3B:90:11:42:77", "addressType": "random", "name": "Mira's Phone",
      "appearance": 64, "adFlags": 26, "advIntervalMs": 200, "rssi": { "mean": -59, "jitter": 6 },
      "security": "encryption",
      "parameterRequest": { "afterMs": 6000, "intervalMin": 24, "intervalMax": 40, "slaveLatency": 0,
                            "supervisionTimeout": 400 } }
  ]
})json";
    return world;
}

} // namespace orv::sim
