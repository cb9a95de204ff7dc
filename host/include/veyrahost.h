/* BLE host library: public C interface (host, search, connection, security, GATT client, GATT server).
 *
 * Threading and ownership, for every function below:
 * - Calls never wait for their answer. An answer, if any, is posted later to the window given to
 *   OrvBleHostStartWnd as the message id returned by OrvBleHostInit: wParam is the event code
 *   (BleHostEvent), lParam a plain value (codes 0, 1, 6, 513) or a pointer to the event's record.
 * - A record belongs to the library. It stays valid until OrvBleHostFreeMessageContents(code, lParam)
 *   gives it back; records never given back are released by OrvBleHostDeinit.
 * - Calls made while the library is not initialised are harmless no-ops that return
 *   ORV_BLE_E_NOT_INITIALISED (or 0 where the result is a message id or a success flag).
 * - Records use the native layout of this build; field order and types are the contract.
 */
#ifndef VEYRAHOST_H
#define VEYRAHOST_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Basic types ------------------------------------------------------------------------------ */

typedef void* OrvHwnd; /* the window that receives host events (opaque to the library) */

/* Result of the calls that return a status. */
typedef int32_t OrvBleResult;
enum {
    ORV_BLE_OK = 0,
    ORV_BLE_E_NOT_INITIALISED = 1, /* OrvBleHostInit has not succeeded, or OrvBleHostDeinit ran */
    ORV_BLE_E_NOT_STARTED = 2,     /* OrvBleHostStartWnd has not succeeded yet */
    ORV_BLE_E_INVALID_ARGUMENT = 3,
    ORV_BLE_E_BUSY = 4,          /* a request of the same kind is already outstanding */
    ORV_BLE_E_NOT_CONNECTED = 5, /* no link with that connection id or address */
    ORV_BLE_E_NO_RESOURCES = 6,
    ORV_BLE_E_WRONG_STATE = 7 /* e.g. stopping a search that is not running */
};

/* Typed Bluetooth device address (12 bytes). */
typedef struct BleTypedAddress {
    uint8_t type; /* 0 public, 1 random */
    uint8_t reserved0;
    uint16_t nap; /* address bits 47-32 */
    uint8_t uap;  /* address bits 31-24 */
    uint8_t reserved1[3];
    uint32_t lap; /* address bits 23-0; the top byte is not used */
} BleTypedAddress;

/* UUID record (20 bytes): kind 2 = 16-bit value, kind 16 = 128-bit value (least significant byte first). */
typedef struct BleUuid {
    uint8_t kind;
    uint8_t reserved;
    uint16_t uuid16;
    uint8_t uuid128[16];
} BleUuid;

enum { BLE_UUID_KIND_16 = 2, BLE_UUID_KIND_128 = 16 };

/* A kind-2 UUID with every unused byte zero. */
static inline BleUuid MakeUuid16(uint16_t value) {
    BleUuid uuid = {BLE_UUID_KIND_16, 0, value, {0}};
    return uuid;
}

/* Characteristic property bits, as carried by BleHostCharacteristicRecord and
 * BleServerCharacteristicRecord. */
enum {
    kPropertyBroadcast = 0x01,
    kPropertyRead = 0x02,
    kPropertyWriteWithoutResponse = 0x04,
    kPropertyWrite = 0x08,
    kPropertyNotify = 0x10,
    kPropertyIndicate = 0x20,
    kPropertySignedWrite = 0x40,
    kPropertyExtended = 0x80
};

/* ---- Event codes ---------------------------------------------------------------------------- */

typedef enum BleHostEvent {
    BLE_EVT_HOST_STARTED = 0,          /* lParam: non-zero = the library is up */
    BLE_EVT_HOST_ERROR = 1,            /* lParam: 0 none, 1 start-up failure, other = communication lost */
    BLE_EVT_DEVICE_FOUND = 2,          /* BleHostDeviceFoundEvent */
    BLE_EVT_SEARCH_ENDED = 3,          /* BleHostSearchEndedEvent */
    BLE_EVT_CONNECT_RESULT = 4,        /* BleHostConnectEvent */
    BLE_EVT_DISCONNECTED = 5,          /* BleHostDisconnectEvent */
    BLE_EVT_CONN_PARAMS_SET = 6,       /* lParam: status, 0 = success */
    BLE_EVT_RSSI_READ = 7,             /* BleHostRssiEvent */
    BLE_EVT_DEBOND_RESULT = 8,         /* BleHostDebondEvent */
    BLE_EVT_JUST_WORKS_REQUEST = 9,    /* BleHostJustWorksEvent */
    BLE_EVT_SECURITY_RESULT = 10,      /* BleHostSecurityEvent */
    BLE_EVT_ENCRYPTION_RESULT = 11,    /* BleHostEncryptionEvent */
    BLE_EVT_REMOTE_CONN_PARAMS = 12,   /* BleHostConnParamRequestEvent */
    BLE_EVT_CONN_PARAMS_UPDATED = 13,  /* BleHostConnParamsUpdatedEvent */
    BLE_EVT_PASSKEY_DISPLAY = 14,      /* BleHostPasskeyEvent */
    BLE_EVT_DATABASE_DISCOVERED = 262, /* BleHostDatabaseEvent */
    BLE_EVT_CHAR_READ = 263,           /* BleHostReadEvent */
    BLE_EVT_CHAR_READ2 = 264,          /* BleHostReadEvent (second read result) */
    BLE_EVT_CHAR_WRITTEN = 265,        /* BleHostWriteEvent */
    BLE_EVT_NOTIFICATION = 266,        /* BleHostNotificationEvent */
    BLE_EVT_SERVER_DB_ALLOCATED = 512, /* BleHostServerAllocEvent */
    BLE_EVT_SERVER_DB_ADDED = 513,     /* lParam: status, 0 = success */
    BLE_EVT_SERVER_READ = 514,         /* BleHostServerReadEvent */
    BLE_EVT_SERVER_WRITE = 515         /* BleHostServerWriteEvent */
} BleHostEvent;

/* Present-mask bits of BleHostDeviceFoundEvent. */
enum { BLE_PRESENT_TX_POWER = 0x0020, BLE_PRESENT_SLAVE_INTERVAL = 0x0100, BLE_PRESENT_APPEARANCE = 0x1000 };

/* Status of BleHostConnectEvent when OrvBleHostCancelConnect ended the attempt. */
enum { BLE_STATUS_CONNECT_CANCELLED = 0x0002, BLE_STATUS_CONNECT_FAILED = 0x0001 };

/* ---- Event records ------------------------------------------------------------------------- */

typedef struct BleHostDeviceFoundEvent {
    BleTypedAddress address;
    int8_t rssi; /* dBm */
    uint8_t reserved0;
    uint16_t presentMask;
    const char* name; /* UTF-8, NUL-terminated, or null when the report has no name */
    uint8_t adFlags;
    int8_t txPower;      /* dBm, valid with BLE_PRESENT_TX_POWER */
    uint16_t appearance; /* valid with BLE_PRESENT_APPEARANCE */
    uint8_t reserved1[28];
    uint16_t slaveIntervalMin; /* valid with BLE_PRESENT_SLAVE_INTERVAL, units of 1.25 ms */
    uint16_t slaveIntervalMax;
} BleHostDeviceFoundEvent;

typedef struct BleHostSearchEndedEvent {
    uint16_t reserved;
    uint16_t status;
} BleHostSearchEndedEvent;

typedef struct BleHostConnectEvent {
    uint16_t reserved;
    uint16_t status; /* 0 success, BLE_STATUS_CONNECT_CANCELLED, or another failure */
    uint32_t cid;
} BleHostConnectEvent;

typedef struct BleHostDisconnectEvent {
    uint16_t reserved;
    uint16_t reason; /* HCI reason code */
    uint32_t cid;
} BleHostDisconnectEvent;

typedef struct BleHostRssiEvent {
    uint16_t reserved0;
    uint16_t status;
    uint8_t reserved1[12];
    int8_t rssi;
} BleHostRssiEvent;

typedef struct BleHostDebondEvent {
    uint16_t reserved;
    uint16_t status;
    BleTypedAddress address;
} BleHostDebondEvent;

typedef struct BleHostJustWorksEvent {
    BleTypedAddress address;
} BleHostJustWorksEvent;

/* Results of BleHostSecurityEvent; other values are failures the peer reported with its own code. */
enum { BLE_SECURITY_SUCCESS = 0, BLE_SECURITY_FAILED = 1, BLE_SECURITY_TIMEOUT = 2 };

typedef struct BleHostSecurityEvent {
    BleTypedAddress address;
    uint16_t reserved;
    uint16_t result; /* BLE_SECURITY_SUCCESS, BLE_SECURITY_FAILED (failed, refused or cancelled),
                        BLE_SECURITY_TIMEOUT, or another failure code */
} BleHostSecurityEvent;

/* Supplier of BleHostEncryptionEvent: where the key that encrypts the link came from. */
enum { BLE_KEY_FROM_PAIRING = 1, BLE_KEY_FROM_BOND = 2 };

typedef struct BleHostEncryptionEvent {
    uint32_t cid;
    uint16_t supplier; /* BLE_KEY_FROM_PAIRING or BLE_KEY_FROM_BOND */
    uint16_t result;   /* 0 = encrypted, otherwise the controller's HCI error */
} BleHostEncryptionEvent;

typedef struct BleHostConnParamRequestEvent {
    uint32_t cid;
    uint16_t intervalMin;
    uint16_t intervalMax;
    uint16_t slaveLatency;
    uint16_t supervisionTimeout;
    uint16_t requestId;
} BleHostConnParamRequestEvent;

typedef struct BleHostConnParamsUpdatedEvent {
    uint32_t cid;
    uint16_t intervalMin;
    uint16_t intervalMax;
    uint16_t slaveLatency;
    uint16_t supervisionTimeout;
} BleHostConnParamsUpdatedEvent;

typedef struct BleHostPasskeyEvent {
    BleTypedAddress address;
    uint32_t passkey;
} BleHostPasskeyEvent;

/* One descriptor of a discovered characteristic (22 bytes). */
typedef struct BleHostDescriptorRecord {
    BleUuid uuid;
    uint16_t handle;
} BleHostDescriptorRecord;

typedef struct BleHostCharacteristicRecord {
    BleUuid uuid;
    uint16_t declarationHandle;
    uint16_t valueHandle;
    uint8_t properties;
    uint8_t reserved;
    uint16_t descriptorCount;
    BleHostDescriptorRecord* descriptors;
} BleHostCharacteristicRecord;

typedef struct BleHostServiceRecord {
    BleUuid uuid;
    uint16_t startHandle;
    uint16_t endHandle;
    uint16_t characteristicCount;
    uint16_t reserved;
    BleHostCharacteristicRecord* characteristics;
} BleHostServiceRecord;

typedef struct BleHostDatabaseEvent {
    uint32_t cid;
    uint16_t status;
    uint16_t reserved0;
    uint16_t serviceCount;
    uint16_t reserved1;
    BleHostServiceRecord* services;
} BleHostDatabaseEvent;

typedef struct BleHostReadEvent {
    uint16_t reserved;
    uint16_t status; /* ATT error code when non-zero */
    uint32_t cid;
    uint16_t handle;
    uint16_t length;
    const uint8_t* value;
} BleHostReadEvent;

typedef struct BleHostWriteEvent {
    uint16_t reserved0;
    uint16_t status; /* ATT error code when non-zero */
    uint32_t cid;
    uint16_t handle; /* the value handle, or the descriptor handle of a configuration write */
} BleHostWriteEvent;

typedef struct BleHostNotificationEvent {
    uint32_t cid;
    uint8_t indication; /* 1 for an indication (already confirmed by the library) */
    uint8_t reserved[11];
    uint16_t handle;
    uint16_t length;
    const uint8_t* value;
} BleHostNotificationEvent;

typedef struct BleHostServerAllocEvent {
    uint16_t reserved;
    uint16_t status;
    uint16_t databaseId;
} BleHostServerAllocEvent;

typedef struct BleHostServerReadEvent {
    uint32_t cid;
    uint16_t handle;
} BleHostServerReadEvent;

typedef struct BleHostWriteEntry {
    uint16_t handle;
    uint16_t reserved0;
    uint16_t length;
    uint16_t reserved1;
    const uint8_t* value;
} BleHostWriteEntry;

typedef struct BleHostServerWriteEvent {
    uint32_t cid;
    uint16_t handle;
    uint16_t count;
    BleHostWriteEntry* entries;
} BleHostServerWriteEvent;

/* The library's paired-device entry (68 bytes). */
typedef struct BleHostPairedDevice {
    BleTypedAddress address;
    char name[51]; /* UTF-8, NUL-terminated within the field */
    uint8_t reserved0;
    uint16_t appearance;
    uint8_t reserved1[2];
} BleHostPairedDevice;

/* ---- Local GATT server registration records ------------------------------------------------ */

typedef struct BleServerCharacteristicRecord {
    BleUuid uuid;
    uint8_t properties; /* kPropertyRead, kPropertyWrite, kPropertyNotify, ... */
    uint8_t reserved0;
    uint16_t extraFlags;
    uint16_t permissions;
    uint16_t valueHandle;  /* out: filled in by OrvBleServerAddDatabase */
    uint16_t configHandle; /* out: filled in for characteristics with the notify property */
    uint16_t length;
    const uint8_t* value; /* copied by OrvBleServerAddDatabase; may be null */
} BleServerCharacteristicRecord;

typedef struct BleServerServiceRecord {
    BleUuid uuid;
    uint16_t reserved;
    uint16_t characteristicCount;
    BleServerCharacteristicRecord* characteristics;
} BleServerServiceRecord;

/* ---- Embedding ---------------------------------------------------------------------------- */

/* What the library needs from the windowing platform. postMessage must be callable from any thread;
 * it returns non-zero when the message was queued. registerMessage returns a process-wide id per name. */
typedef struct OrvBleHostPlatform {
    uint32_t (*registerMessage)(const char* name);
    int (*postMessage)(OrvHwnd window, uint32_t message, uintptr_t wParam, intptr_t lParam);
} OrvBleHostPlatform;

/* Installs the platform hooks; must precede OrvBleHostInit. The structure is copied. */
void OrvBleHostSetPlatform(const OrvBleHostPlatform* platform);

/* Parameters of OrvBleHostInit. */
typedef struct OrvBleHostInitParams {
    uint16_t flags; /* 0 */
    uint16_t reserved[3];
} OrvBleHostInitParams;

/* ---- Host ------------------------------------------------------------------------------- */

/* Opens the dongle (present, with its driver, not held by another process). Returns the message id of
 * host events (registered as "VeyraHostEvent"), 0 on failure or without platform hooks. Calling it
 * again while initialised returns the same id. With debug non-zero the library writes a text log and
 * a btsnoop capture (HCI H4) of the ATT traffic and connection events until OrvBleHostDeinit.
 * reserved is not used; params must not be null. */
uint32_t OrvBleHostInit(int debug, int reserved, const OrvBleHostInitParams* params);
/* Attaches the window that receives host events and starts the dongle. Returns 0 when not initialised,
 * for a null window, when already started or when the dongle refuses. After a short delay the outcome
 * arrives as BLE_EVT_HOST_STARTED (lParam 1 up, 0 failed) or as BLE_EVT_HOST_ERROR with an error code.
 * Requests that need the running host return ORV_BLE_E_NOT_STARTED until the library is up. */
int OrvBleHostStartWnd(OrvHwnd window);
/* Stops the dongle, drops every link and search without further events and releases every record not
 * given back (records still queued in the window become invalid). The local GATT database is kept for
 * a later OrvBleHostInit in the same process. Called from inside the platform's postMessage it is
 * refused with a log line and changes nothing: call it once the hook has returned. */
void OrvBleHostDeinit(void);
/* Gives an event record back, exactly once. Plain-value codes (0, 1, 6, 513) and a null lParam are
 * accepted and ignored; a record not handed out, given twice or under another code is ignored (and
 * counted for tests). Callable in any state. */
void OrvBleHostFreeMessageContents(uint32_t code, intptr_t lParam);

/* ---- Search and paired devices ------------------------------------------------------------ */

/* Starts a search (mode is not used): BLE_EVT_DEVICE_FOUND per advertising report until the search
 * ends with BLE_EVT_SEARCH_ENDED, after OrvBleHostStopDeviceSearch or by itself. ORV_BLE_E_BUSY while a
 * search runs or is stopping. */
OrvBleResult OrvBleHostStartDeviceSearch(uint32_t mode);
/* Ends the running search; BLE_EVT_SEARCH_ENDED follows and no report comes after it.
 * ORV_BLE_E_WRONG_STATE when no search runs (or it is already stopping). */
OrvBleResult OrvBleHostStopDeviceSearch(void);
/* Copies the bonded devices into a new array. Returns non-zero on success (count 0 gives a null
 * array); 0 when not initialised, for null arguments or when the bond store cannot be read, leaving
 * both untouched. The array is the caller's until OrvBleHostFreePairedDeviceList (callable in any state). */
int OrvBleHostGetPairedDeviceList(uint16_t* count, BleHostPairedDevice** array);
void OrvBleHostFreePairedDeviceList(BleHostPairedDevice* array);
/* Replaces the name and appearance stored for a bonded device (matched by address and type) and saves
 * the bond store at once. The name is read up to its NUL or the end of the field and cut at a UTF-8
 * character boundary to 50 bytes. ORV_BLE_E_INVALID_ARGUMENT for a null device or an address without a
 * bond. No event follows. */
OrvBleResult OrvBleHostUpdatePairedDeviceList(const BleHostPairedDevice* device);

/* ---- Connection --------------------------------------------------------------------------- */

/* Sets the scan timing (0xFFFF: the library's own) and the parameters of later connections.
 * Answered by BLE_EVT_CONN_PARAMS_SET: 0, or 0x12 when the values break the Bluetooth Core limits
 * (intervals 6..3200 with min <= max, latency <= 499, timeout 10..3200 and longer than
 * (1 + latency) * max interval * 2); then the previous parameters stay. */
OrvBleResult OrvBleHostSetConnectionParams(uint16_t scanInterval, uint16_t scanWindow, uint16_t intervalMin,
                                           uint16_t intervalMax, uint16_t slaveLatency,
                                           uint16_t supervisionTimeout);
/* Connects to an advertiser. BLE_EVT_CONNECT_RESULT follows: status 0 with the connection id, or
 * BLE_STATUS_CONNECT_FAILED after a time-out when the device cannot be reached (no BLE_EVT_DISCONNECTED
 * follows a failed attempt). ORV_BLE_E_BUSY while another attempt runs, ORV_BLE_E_WRONG_STATE when
 * already connected to that device. */
OrvBleResult OrvBleHostConnect(BleTypedAddress address);
/* Ends the running attempt: BLE_EVT_CONNECT_RESULT with BLE_STATUS_CONNECT_CANCELLED follows (no
 * disconnection event). ORV_BLE_E_WRONG_STATE without an attempt. */
OrvBleResult OrvBleHostCancelConnect(void);
/* Drops the link: BLE_EVT_DISCONNECTED follows with reason 0x16. Outstanding client requests of the
 * link get no answer. ORV_BLE_E_NOT_CONNECTED for an unknown id, ORV_BLE_E_WRONG_STATE while already
 * disconnecting. A link the peer drops ends the same way with the peer's reason. */
OrvBleResult OrvBleHostDisconnect(uint32_t cid);
/* Asks for new parameters on the link to address (the CE lengths are not used). Answered by
 * BLE_EVT_CONN_PARAMS_UPDATED with the new values, or BLE_EVT_CONN_PARAMS_SET with a non-zero status
 * (0x12: outside the Core limits, see OrvBleHostSetConnectionParams). */
OrvBleResult OrvBleHostUpdateConnectionParams(BleTypedAddress address, uint16_t intervalMin,
                                              uint16_t intervalMax, uint16_t slaveLatency,
                                              uint16_t supervisionTimeout, uint16_t minCeLength,
                                              uint16_t maxCeLength);
/* Answers the peer's request of a BLE_EVT_REMOTE_CONN_PARAMS event, once. Accepting is followed by
 * BLE_EVT_CONN_PARAMS_UPDATED (or BLE_EVT_CONN_PARAMS_SET with a failure); rejecting by nothing.
 * ORV_BLE_E_INVALID_ARGUMENT for a request id the peer did not send or already answered. */
OrvBleResult OrvBleHostAcceptConnUpdate(uint32_t cid, uint16_t requestId, int accept);
/* Reads the signal strength of the link to address; BLE_EVT_RSSI_READ follows. */
OrvBleResult OrvBleHostGetRssi(BleTypedAddress address);

/* ---- Security ----------------------------------------------------------------------------- */

/* Man-in-the-middle protection asked for the pairings that follow (mitm non-zero), as long as the
 * library stays initialised. No event follows. */
OrvBleResult OrvBleHostChangeSecurityLevel(int mitm);
/* Encrypts the link: level 1, or 2 to ask for man-in-the-middle protection (as does
 * OrvBleHostChangeSecurityLevel(1)). While this runs, the link's client requests wait and are sent
 * when it ends, so a request refused for insufficient security may be sent again at once.
 * - A bonded peer is encrypted with the stored key: BLE_EVT_ENCRYPTION_RESULT (supplier
 *   BLE_KEY_FROM_BOND), then BLE_EVT_SECURITY_RESULT. When the peer has lost the key, or the key lacks
 *   the protection asked for, the library pairs instead.
 * - Otherwise the library pairs: BLE_EVT_PASSKEY_DISPLAY when protection is asked and the peer can
 *   take a passkey (answer with OrvBleHostPasskeyNotificationResult; the bond is kept), else
 *   BLE_EVT_JUST_WORKS_REQUEST (answer with OrvBleHostJustWorksResult). Then BLE_EVT_SECURITY_RESULT,
 *   and on success BLE_EVT_ENCRYPTION_RESULT (supplier BLE_KEY_FROM_PAIRING); with bonding the bond,
 *   with the peer's name and appearance, is in the bond store by then. A pairing that does not end
 *   within 30 s of its last step ends with BLE_SECURITY_TIMEOUT.
 * - A link already as secure as asked gets BLE_EVT_ENCRYPTION_RESULT and BLE_EVT_SECURITY_RESULT.
 * ORV_BLE_E_INVALID_ARGUMENT for another level, ORV_BLE_E_NOT_CONNECTED for an unknown link,
 * ORV_BLE_E_BUSY while the link is already being secured. */
OrvBleResult OrvBleHostSetEncryption(uint32_t cid, int level);
/* Answers BLE_EVT_JUST_WORKS_REQUEST of the link to address: accept 0 ends the pairing with
 * BLE_SECURITY_FAILED; bond non-zero keeps the bond. ORV_BLE_E_NOT_CONNECTED without a link to address,
 * ORV_BLE_E_WRONG_STATE when no such question is open. */
OrvBleResult OrvBleHostJustWorksResult(BleTypedAddress address, int accept, int bond);
/* Answers BLE_EVT_PASSKEY_DISPLAY once the passkey is shown: accept 0 ends the pairing with
 * BLE_SECURITY_FAILED; otherwise the peer's user has 30 s to type it. Errors as above. */
OrvBleResult OrvBleHostPasskeyNotificationResult(BleTypedAddress address, int accept);
/* Ends the pairing under way on the link to address: BLE_EVT_SECURITY_RESULT with BLE_SECURITY_FAILED
 * follows. ORV_BLE_E_NOT_CONNECTED (no link, e.g. it is gone) and ORV_BLE_E_WRONG_STATE (no pairing)
 * change nothing and post nothing. */
OrvBleResult OrvBleHostCancelBonding(BleTypedAddress address);
/* Ends every pairing under way, each as OrvBleHostCancelBonding does; ORV_BLE_OK also when none runs. */
OrvBleResult OrvBleHostCancel(void);
/* Deletes the bond of address (matched with its type) from the bond store, which is saved at once:
 * BLE_EVT_DEBOND_RESULT follows with status 0, or 1 when there was no such bond. A link to the
 * device stays up. */
OrvBleResult OrvBleHostDebond(BleTypedAddress address);

/* ---- GATT client -------------------------------------------------------------------------- */
/* Per link at most one read (and one discovery) and one write are outstanding; another is refused
 * with ORV_BLE_E_BUSY and a log line. ATT MTU is 23. A request the peer leaves unanswered for 30 s
 * drops the link (BLE_EVT_DISCONNECTED). Statuses in the answering events are ATT error codes. A PDU
 * from the peer longer than the MTU is a protocol error: it is logged and dropped, and a request it
 * answers ends with status 0x04 (Invalid PDU). */

/* Discovers the peer's primary services, characteristics and descriptors: BLE_EVT_DATABASE_DISCOVERED
 * with the whole database in one record, or a non-zero status and no services. */
OrvBleResult OrvBleClientDiscoverDatabase(uint32_t cid);
/* Reads a value (a long one whole, up to 512 bytes): BLE_EVT_CHAR_READ with the bytes or the error. */
OrvBleResult OrvBleClientReadCharByHandle(uint32_t cid, uint16_t handle);
/* Write request (acknowledged by the peer): BLE_EVT_CHAR_WRITTEN with the status. A value longer than
 * 20 bytes, or one at a non-zero offset, is written with prepared writes. data is copied. */
OrvBleResult OrvBleClientWriteCfmCharByHandle(uint32_t cid, uint16_t handle, uint16_t offset, uint8_t length,
                                              const uint8_t* data);
/* Write command (without response; flags is not used; at most 20 bytes are sent): the library still
 * posts BLE_EVT_CHAR_WRITTEN with status 0 once the command is on the air. data is copied. */
OrvBleResult OrvBleClientWriteCharByHandle(uint32_t cid, uint16_t flags, uint16_t handle, uint8_t length,
                                           const uint8_t* data);
/* Writes value (0 off, 1 notify, 2 indicate) to a Client Characteristic Configuration descriptor with
 * a write request: BLE_EVT_CHAR_WRITTEN carries configHandle. valueHandle is not used. */
OrvBleResult OrvBleClientWriteConfiguration(uint32_t cid, uint16_t configHandle, uint16_t valueHandle,
                                            uint32_t value);

/* ---- GATT server -------------------------------------------------------------------------- */

/* Reserves a local database of attributeCount attributes (discarding an earlier one):
 * BLE_EVT_SERVER_DB_ALLOCATED with the status and the database id. */
OrvBleResult OrvBleServerAllocDatabase(uint16_t attributeCount);
/* Registers the services; fills valueHandle and configHandle of every characteristic during the call
 * and copies the values (a null value with a length stands for that many zero bytes). Answered by
 * BLE_EVT_SERVER_DB_ADDED. ORV_BLE_E_INVALID_ARGUMENT for an unknown id or malformed records, a value
 * longer than 512 bytes among them (nothing filled in), ORV_BLE_E_NO_RESOURCES beyond the allocated size,
 * ORV_BLE_E_WRONG_STATE when added already. */
OrvBleResult OrvBleServerAddDatabase(uint16_t databaseId, uint16_t serviceCount,
                                     BleServerServiceRecord* services);
/* A connected peer's reads of characteristics with permission 0x10, and of the configuration
 * descriptor of Current Time (0x2A2B), arrive as BLE_EVT_SERVER_READ and are answered here: result 0
 * (or negative) sends data, a positive result is the ATT error. Other values are served from the
 * registered copies; other configuration descriptors answer what the peer wrote to them on this link
 * (0000 until then). ORV_BLE_E_WRONG_STATE when no such read waits. */
OrvBleResult OrvBleServerReadResponse(uint32_t cid, uint16_t handle, int32_t result, uint16_t length,
                                      const uint8_t* data);
/* Every write of a peer (request, command, prepared writes at execution, configuration descriptors)
 * arrives as BLE_EVT_SERVER_WRITE and is answered here with the handle of the event. Result 0 answers
 * the peer with success and keeps a configuration descriptor's new value for the link; a positive
 * result is the ATT error; -1 (the program took nothing from the value) answers ATT 0x13 (value not
 * allowed) and keeps nothing. Write commands get no answer on the air, whatever the result.
 * ORV_BLE_E_WRONG_STATE when no such write waits. */
OrvBleResult OrvBleServerWriteResponse(uint32_t cid, uint16_t handle, int32_t result);
/* Notifies the peer of a value of a characteristic with the notify property (at most 20 bytes).
 * No event follows. ORV_BLE_E_INVALID_ARGUMENT for another handle or a longer value. */
OrvBleResult OrvBleServerSendNotification(uint32_t cid, uint16_t handle, uint16_t length,
                                          const uint8_t* data);

#ifdef __cplusplus
}
#endif

#endif /* VEYRAHOST_H */
