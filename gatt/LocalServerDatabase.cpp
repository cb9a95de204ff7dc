// The PC's own GATT database: the seven services it serves and the handles the host library assigns.
#include "gatt/LocalServerDatabase.h"

#include "gatt/UuidFunctions.h"
#include "gatt/Uuids.h"

#include <optional>

namespace {

namespace Svc = ServiceUuid;
namespace Chr = CharacteristicUuid;

constexpr uint8_t kRead = 0x02;
constexpr uint8_t kWriteWithoutResponse = 0x04;
constexpr uint8_t kWrite = 0x08;
constexpr uint8_t kNotify = 0x10;

// The notification center's UUIDs, as two 64-bit halves.
const BleUuid kAncsService = MakeUuid128(0x7905F431B5CE4E99ULL, 0xA40F4B1E122D00D0ULL);
const BleUuid kAncsControlPoint = MakeUuid128(0x69D1D8F345E149A8ULL, 0x98219BBDFDAAD9D9ULL);
const BleUuid kAncsNotificationSource = MakeUuid128(0x9FBF120D630142D9ULL, 0x8C5825E699A21DBDULL);
const BleUuid kAncsDataSource = MakeUuid128(0x22EAC6E924D64BB5ULL, 0xBE44B36ACE7C7BFBULL);

struct Row {
    BleUuid uuid;
    uint8_t properties;
    uint16_t extraFlags;
    uint16_t permissions;
    uint16_t length;
    std::optional<std::vector<uint8_t>> value; // none: no value buffer
};

struct ServiceRows {
    BleUuid uuid;
    std::vector<Row> characteristics;
};

std::vector<ServiceRows> Table() {
    const auto u = MakeUuid16;
    return {
        {u(Svc::ImmediateAlert), {{u(Chr::AlertLevel), kWriteWithoutResponse, 4, 0x20, 1, {{0xFF}}}}},
        {u(Svc::AlertNotification),
         {{u(Chr::SupportedNewAlertCategory), kRead, 0, 0x00, 2, {{0xFF, 0x03}}},
          {u(Chr::NewAlert), kNotify, 0, 0x08, 0, std::nullopt},
          {u(Chr::SupportedUnreadAlertCategory), kRead, 0, 0x00, 2, {{0xFF, 0x03}}},
          {u(Chr::UnreadAlertStatus), kNotify, 0, 0x00, 3, std::nullopt},
          {u(Chr::AlertNotificationControlPoint), kWrite, 0, 0x20, 3, {{0x00, 0x00, 0x00}}}}},
        {u(Svc::PhoneAlertStatus),
         {{u(Chr::AlertStatus), kRead | kNotify, 0, 0x10, 1, {{0x00}}},
          {u(Chr::RingerSetting), kRead | kNotify, 0, 0x10, 1, {{0x01}}},
          {u(Chr::RingerControlPoint), kWriteWithoutResponse, 0, 0x20, 1, {{0x00}}}}},
        {u(Svc::CurrentTime),
         {{u(Chr::CurrentTime), kRead | kNotify, 0, 0x10, 10, {std::vector<uint8_t>(10, 0x00)}},
          {u(Chr::LocalTimeInformation), kRead, 0, 0x10, 2, {{0xFF, 0xFF}}},
          {u(Chr::ReferenceTimeInformation), kRead, 0, 0x10, 4, {{0xFF, 0xFF, 0xFF, 0x00}}}}},
        {u(Svc::NextDstChange), {{u(Chr::TimeWithDst), kRead, 0, 0x10, 8, {{0xFF, 0, 0, 0, 0, 0, 0, 0}}}}},
        {u(Svc::ReferenceTimeUpdate),
         {{u(Chr::TimeUpdateControlPoint), kWriteWithoutResponse, 4, 0x20, 1, {{0x00}}},
          {u(Chr::TimeUpdateState), kRead, 0, 0x10, 2, {{0x00, 0xFF}}}}},
        {kAncsService,
         {{kAncsControlPoint, kWrite, 0, 0x28, 0, std::nullopt},
          {kAncsNotificationSource, kRead | kNotify, 4, 0x20, 8, {std::vector<uint8_t>(8, 0xFF)}},
          {kAncsDataSource, kRead | kNotify, 4, 0x28, 0, std::nullopt}}},
    };
}

} // namespace

LocalServerDatabase::LocalServerDatabase() {
    const std::vector<ServiceRows> table = Table();
    m_characteristics.reserve(table.size());
    for (const ServiceRows& service : table) {
        std::vector<BleServerCharacteristicRecord>& records = m_characteristics.emplace_back();
        for (const Row& row : service.characteristics) {
            BleServerCharacteristicRecord record{};
            record.uuid = row.uuid;
            record.properties = row.properties;
            record.extraFlags = row.extraFlags;
            record.permissions = row.permissions;
            record.length = row.length;
            if (row.value)
                record.value = m_values.emplace_back(*row.value).data();
            records.push_back(record);
        }
        BleServerServiceRecord serviceRecord{};
        serviceRecord.uuid = service.uuid;
        serviceRecord.characteristicCount = static_cast<uint16_t>(records.size());
        serviceRecord.characteristics = records.data();
        m_services.push_back(serviceRecord);
    }
}

LocalServerHandles LocalServerDatabase::Handles() const {
    const auto value = [this](size_t service, size_t index) {
        return m_characteristics[service][index].valueHandle;
    };
    const auto config = [this](size_t service, size_t index) {
        return m_characteristics[service][index].configHandle;
    };
    LocalServerHandles handles;
    handles.immediateAlertLevel = value(0, 0);
    handles.newAlert = value(1, 1);
    handles.newAlertConfig = config(1, 1);
    handles.unreadAlertStatus = value(1, 3);
    handles.unreadAlertStatusConfig = config(1, 3);
    handles.alertControlPoint = value(1, 4);
    handles.alertStatus = value(2, 0);
    handles.alertStatusConfig = config(2, 0);
    handles.ringerSetting = value(2, 1);
    handles.ringerSettingConfig = config(2, 1);
    handles.ringerControlPoint = value(2, 2);
    handles.currentTime = value(3, 0);
    handles.currentTimeConfig = config(3, 0);
    handles.localTimeInformation = value(3, 1);
    handles.referenceTimeInformation = value(3, 2);
    handles.timeWithDst = value(4, 0);
    handles.timeUpdateControlPoint = value(5, 0);
    handles.timeUpdateState = value(5, 1);
    handles.ancs = {value(6, 0), value(6, 1), config(6, 1), value(6, 2), config(6, 2)};
    return handles;
}
