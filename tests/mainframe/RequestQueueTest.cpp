// The GATT client's request queues: one read and one write in flight, in order, with the right call.
#include "support/MainFrameFixture.h"

namespace {

constexpr uint32_t kCid = 7;

class RequestQueueTest : public MainFrameFixture {
protected:
    void SetUp() override {
        MainFrameFixture::SetUp();
        StartUp();
        Discover({{1, "Peer"}});
        Select(0);
        DatabaseBuilder empty;
        Connect(kCid, empty);
        m_host->calls.clear();
    }
    std::vector<int64_t> ReadHandles() const {
        std::vector<int64_t> handles;
        for (const auto& call : m_host->callsNamed("OrvBleClientReadCharByHandle"))
            handles.push_back(call.args.at(1));
        return handles;
    }
};

TEST_F(RequestQueueTest, ReadsAreSentOneAtATimeInOrder) {
    m_frame->ReadCharacteristic(10);
    m_frame->ReadCharacteristic(11);
    m_frame->QueueRead(kCid, 0);
    m_frame->ReadCharacteristic(12);
    EXPECT_EQ(ReadHandles(), std::vector<int64_t>{10});
    ReadResult(kCid, 10, {1});
    EXPECT_EQ(ReadHandles(), (std::vector<int64_t>{10, 11}));
    ReadResult(kCid, 11, {1}, 0x0A);
    EXPECT_EQ(ReadHandles(), (std::vector<int64_t>{10, 11, 12}));
    EXPECT_TRUE(LogContains(QStringLiteral("Failed to read characteristic handle 11, result = 10\n")));
    ReadResult(kCid, 12, {1});
    EXPECT_FALSE(m_frame->IsReadInFlight());
    EXPECT_TRUE(LogContains(QStringLiteral("Reading 12 complete.")));
}

TEST_F(RequestQueueTest, ZeroHandlesAreNeverSent) {
    m_frame->ReadCharacteristic(0);
    m_frame->WriteClientConfiguration(kCid, 0, 5, 1);
    const uint8_t data[] = {1};
    m_frame->WriteCharacteristic(kCid, 0, 1, data, GattWriteRequest::kWriteRequest);
    EXPECT_TRUE(m_host->calls.empty());
    EXPECT_FALSE(m_frame->IsReadInFlight());
    EXPECT_FALSE(m_frame->IsWriteInFlight());
}

TEST_F(RequestQueueTest, WritesUseTheCallOfTheirKindInOrder) {
    const uint8_t request[] = {0x01, 0x02};
    const uint8_t command[] = {0x03};
    m_frame->WriteClientConfiguration(kCid, 20, 21, 2);
    m_frame->WriteCharacteristic(kCid, 30, 2, request, GattWriteRequest::kWriteRequest);
    m_frame->WriteCharacteristic(kCid, 40, 1, command, GattWriteRequest::kWriteCommand);
    ASSERT_EQ(m_host->names(), std::vector<std::string>{"OrvBleClientWriteConfiguration"});
    EXPECT_EQ(m_host->calls[0].args, (std::vector<int64_t>{kCid, 21, 20, 2}));

    WriteResult(21);
    const auto cfm = m_host->callsNamed("OrvBleClientWriteCfmCharByHandle");
    ASSERT_EQ(cfm.size(), 1u);
    EXPECT_EQ(cfm[0].args, (std::vector<int64_t>{kCid, 30, 0, 2}));
    EXPECT_EQ(cfm[0].data, (std::vector<uint8_t>{0x01, 0x02}));
    EXPECT_EQ(m_host->count("OrvBleClientWriteCharByHandle"), 0u);

    WriteResult(30);
    const auto cmd = m_host->callsNamed("OrvBleClientWriteCharByHandle");
    ASSERT_EQ(cmd.size(), 1u);
    EXPECT_EQ(cmd[0].args, (std::vector<int64_t>{kCid, 0, 40, 1}));
    EXPECT_EQ(cmd[0].data, std::vector<uint8_t>{0x03});
    WriteResult(40);
    EXPECT_FALSE(m_frame->IsWriteInFlight());
    EXPECT_TRUE(m_frame->WriteQueue().empty());
    EXPECT_TRUE(LogContains(QStringLiteral("Writing to handle 40 successful.\n")));
    EXPECT_TRUE(LogContains(QStringLiteral("Writing client configuration. Handle: 21\n")));
}

TEST_F(RequestQueueTest, WritesLongerThan128BytesOrOfAnUnknownModeAreRefused) {
    const std::vector<uint8_t> longest(128, 0xAB);
    m_frame->WriteCharacteristic(kCid, 50, 128, longest.data(), GattWriteRequest::kWriteRequest);
    ASSERT_EQ(m_host->count("OrvBleClientWriteCfmCharByHandle"), 1u);
    EXPECT_EQ(m_host->callsNamed("OrvBleClientWriteCfmCharByHandle")[0].data.size(), 128u);
    WriteResult(50);
    const std::vector<uint8_t> tooLong(200, 0xCD);
    m_frame->WriteCharacteristic(kCid, 51, 200, tooLong.data(), GattWriteRequest::kWriteRequest);
    EXPECT_EQ(m_host->count("OrvBleClientWriteCfmCharByHandle"), 1u);
    m_frame->WriteCharacteristic(kCid, 52, 1, tooLong.data(), 7);
    EXPECT_TRUE(LogContains(QStringLiteral("Unknown write type.")));
    EXPECT_TRUE(m_frame->WriteQueue().empty());
}

TEST_F(RequestQueueTest, AConfigurationWriteWithoutDescriptorIsSkippedWithALogLine) {
    m_frame->WriteClientConfiguration(kCid, 60, 0, 1);
    EXPECT_TRUE(m_host->calls.empty());
    EXPECT_TRUE(LogContains(QStringLiteral("Characteristic 60 has no client configuration")));
}

TEST_F(RequestQueueTest, ClearingKeepsTheRequestsInFlightWhichStillComplete) {
    const uint8_t data[] = {9};
    m_frame->ReadCharacteristic(10);
    m_frame->ReadCharacteristic(11);
    m_frame->WriteCharacteristic(kCid, 30, 1, data, GattWriteRequest::kWriteRequest);
    m_frame->WriteCharacteristic(kCid, 31, 1, data, GattWriteRequest::kWriteRequest);
    m_frame->ClearRequestQueues();
    EXPECT_TRUE(m_frame->ReadQueue().empty());
    EXPECT_TRUE(m_frame->IsReadInFlight());
    EXPECT_TRUE(m_frame->IsWriteInFlight());
    ASSERT_EQ(m_frame->WriteQueue().size(), 1u);

    ReadResult(kCid, 10, {1});
    WriteResult(30);
    EXPECT_FALSE(m_frame->IsReadInFlight());
    EXPECT_FALSE(m_frame->IsWriteInFlight());
    EXPECT_EQ(ReadHandles(), std::vector<int64_t>{10});
    EXPECT_EQ(m_host->count("OrvBleClientWriteCfmCharByHandle"), 1u);
}

TEST_F(RequestQueueTest, AWriteResultAlwaysEndsTheWriteInFlight) {
    const uint8_t data[] = {9};
    m_frame->WriteCharacteristic(kCid, 30, 1, data, GattWriteRequest::kWriteRequest);
    m_frame->WriteCharacteristic(kCid, 31, 1, data, GattWriteRequest::kWriteRequest);
    WriteResult(99); // not the head's handle
    EXPECT_EQ(m_host->count("OrvBleClientWriteCfmCharByHandle"), 2u);
    EXPECT_TRUE(m_frame->IsWriteInFlight());
}

TEST_F(RequestQueueTest, ResultsForAnotherConnectionAreIgnored) {
    m_frame->ReadCharacteristic(10);
    ReadResult(kCid + 1, 10, {1});
    EXPECT_TRUE(m_frame->IsReadInFlight());
}

TEST_F(RequestQueueTest, AWriteRefusedForSecurityAsksForEncryptionOnceAndIsResentAtMostThreeTimes) {
    const uint8_t data[] = {9};
    m_frame->WriteCharacteristic(kCid, 30, 1, data, GattWriteRequest::kWriteRequest);
    WriteResult(30, 0x05);
    WriteResult(30, 0x05);
    EXPECT_EQ(m_host->count("OrvBleHostSetEncryption"), 1u);
    EXPECT_EQ(m_host->callsNamed("OrvBleHostSetEncryption")[0].args, (std::vector<int64_t>{kCid, 1}));
    EXPECT_EQ(m_host->count("OrvBleClientWriteCfmCharByHandle"), 3u);
    WriteResult(30, 0x0F);
    EXPECT_EQ(m_host->count("OrvBleClientWriteCfmCharByHandle"), 4u);
    WriteResult(30, 0x0F);
    EXPECT_EQ(m_host->count("OrvBleClientWriteCfmCharByHandle"), 4u);
    EXPECT_FALSE(m_frame->IsWriteInFlight());
    EXPECT_TRUE(m_frame->WriteQueue().empty());
    EXPECT_TRUE(LogContains(QStringLiteral("Failed to write characteristic 30: 0F\n")));
}

TEST_F(RequestQueueTest, AReadRefusedForSecurityWaitsForEncryptionWhileTheLinkIsPlain) {
    m_frame->ReadCharacteristic(10);
    m_frame->ReadCharacteristic(11);
    ReadResult(kCid, 10, {}, 0x0F);
    EXPECT_EQ(m_host->count("OrvBleHostSetEncryption"), 1u);
    EXPECT_TRUE(m_frame->IsReadInFlight());
    EXPECT_EQ(m_frame->ReadQueue(), (std::deque<uint16_t>{11, 10}));
    EXPECT_EQ(ReadHandles(), std::vector<int64_t>{10});
    EXPECT_FALSE(LogContains(QStringLiteral("Failed to read")));
}

TEST_F(RequestQueueTest, AReadRefusedOnAnEncryptedLinkIsDroppedLikeAnyFailure) {
    DeliverRecord(BLE_EVT_ENCRYPTION_RESULT, BleHostEncryptionEvent{kCid, 0, 0});
    m_frame->ReadCharacteristic(10);
    m_frame->ReadCharacteristic(11);
    ReadResult(kCid, 10, {}, 0x05);
    EXPECT_EQ(m_host->count("OrvBleHostSetEncryption"), 0u);
    EXPECT_EQ(ReadHandles(), (std::vector<int64_t>{10, 11}));
    EXPECT_TRUE(LogContains(QStringLiteral("Failed to read characteristic handle 10, result = 5\n")));
}

} // namespace
