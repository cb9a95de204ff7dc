// Renaming the connected peer: label editing in the device tree, the Device Name write, its end.
#include "PairingFixture.h"

#include "panes/CConnectProgressDlg.h"
#include "panes/CDeviceView.h"
#include "panes/CLogDialog.h"
#include "panes/CPropertiesWnd.h"
#include "panes/CViewTree.h"
#include "platform/ui/Property.h"
#include "platform/ui/PropertyGrid.h"
#include "res/resource.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStatusBar>
#include <cstring>

namespace {

class PairingRenameTest : public PairingFixture {
protected:
    void SetUp() override {
        PairingFixture::SetUp();
        StartUp();
        Discover({{1, "Pulse"}, {2, "Scale"}});
        Select(0);
    }
    // The user renames the selected device in the tree: F2's command, the text, then Enter.
    void RenameInTree(const QString& text) {
        ASSERT_TRUE(m_frame->ExecuteCommand(ID_RENAME_DEVICE));
        auto* editor = qobject_cast<QLineEdit*>(m_frame->DeviceView()->Tree()->LabelEditor());
        ASSERT_NE(editor, nullptr);
        editor->setText(text);
        Press(editor, Qt::Key_Return);
    }
    static void Press(QWidget* widget, int key) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(widget, &press);
        QCoreApplication::processEvents();
    }
    std::vector<HostCall> Writes() const { return Calls("OrvBleClientWriteCfmCharByHandle"); }
    static std::vector<uint8_t> Bytes(const QString& text) {
        const QByteArray utf8 = text.toUtf8();
        return std::vector<uint8_t>(utf8.begin(), utf8.end());
    }
};

TEST_F(PairingRenameTest, NonAsciiNameIsWrittenAsItsUtf8BytesAndShownAsUpdating) {
    ConnectPeer();
    const QString name = QStringLiteral("Zo\u00eb \u6771\u4eac");
    RenameInTree(name);

    ASSERT_EQ(Writes().size(), 1u);
    EXPECT_EQ(Writes()[0].args, (std::vector<int64_t>{kCid, kDeviceName, 0, 11}));
    EXPECT_EQ(Writes()[0].data,
              (std::vector<uint8_t>{'Z', 'o', 0xC3, 0xAB, ' ', 0xE6, 0x9D, 0xB1, 0xE4, 0xBA, 0xAC}));
    EXPECT_EQ(Row(0)->text(0), name + QStringLiteral(" (updating)"));
    EXPECT_EQ(Record(0).GetName(), QStringLiteral("Pulse"));
    EXPECT_TRUE(m_frame->IsRenamePending());
    EXPECT_EQ(m_frame->OperationState(), 4);
    EXPECT_EQ(m_frame->StatusText(), QStringLiteral("Renaming device..."));
    EXPECT_TRUE(m_frame->ProgressWindow()->isVisible());
    EXPECT_EQ(m_frame->ProgressWindow()->windowTitle(), QStringLiteral("Renaming Pulse"));
    EXPECT_EQ(m_frame->ProgressWindow()->Text(), QStringLiteral("Renaming the device is in progress"));
    EXPECT_FALSE(m_frame->ProgressWindow()->IsStopEnabled());
    EXPECT_TRUE(m_frame->IsInModalState());
    EXPECT_EQ(NameRow()->value(), name);
    EXPECT_FALSE(NameRow()->isEnabled());

    WriteResult(kDeviceName);
    EXPECT_EQ(Record(0).GetName(), name);
    EXPECT_EQ(Row(0)->text(0), name);
    EXPECT_EQ(NameRow()->value(), name);
    EXPECT_TRUE(NameRow()->isEnabled());
    EXPECT_FALSE(m_frame->ProgressWindow()->isVisible());
    EXPECT_FALSE(m_frame->IsInModalState());
    EXPECT_FALSE(m_frame->IsRenamePending());
    EXPECT_EQ(m_frame->OperationState(), 0);
    EXPECT_EQ(m_frame->StatusText(), QStringLiteral("Ready"));
    EXPECT_TRUE(Host().updatedEntries.empty());
}

TEST_F(PairingRenameTest, FailedWriteRestoresTheRecordsName) {
    ConnectPeer();
    RenameInTree(QStringLiteral("Other"));
    WriteResult(kDeviceName, 0x03);
    EXPECT_EQ(Record(0).GetName(), QStringLiteral("Pulse"));
    EXPECT_EQ(Row(0)->text(0), QStringLiteral("Pulse"));
    EXPECT_EQ(NameRow()->value(), QStringLiteral("Pulse"));
    EXPECT_TRUE(NameRow()->isEnabled());
    EXPECT_FALSE(m_frame->ProgressWindow()->isVisible());
    EXPECT_FALSE(m_frame->IsRenamePending());
    EXPECT_EQ(m_frame->OperationState(), 0);
    EXPECT_EQ(m_frame->StatusText(), QStringLiteral("Ready"));
}

TEST_F(PairingRenameTest, DisconnectionDuringTheRenameRestoresTheNameAndALateResultChangesNothing) {
    ConnectPeer();
    RenameInTree(QStringLiteral("Other"));
    Disconnected(0x08);
    EXPECT_FALSE(m_frame->IsRenamePending());
    EXPECT_EQ(Row(0)->text(0), QStringLiteral("Pulse"));
    EXPECT_EQ(Row(0)->parent(), m_frame->DeviceView()->DiscoveredGroup());
    EXPECT_EQ(NameRow()->value(), QStringLiteral("Pulse"));
    EXPECT_TRUE(NameRow()->isEnabled());
    EXPECT_FALSE(m_frame->ProgressWindow()->isVisible());
    EXPECT_FALSE(m_frame->IsInModalState());
    EXPECT_EQ(m_frame->OperationState(), 0);

    WriteResult(kDeviceName);
    EXPECT_EQ(Record(0).GetName(), QStringLiteral("Pulse"));
    EXPECT_EQ(Row(0)->text(0), QStringLiteral("Pulse"));
}

TEST_F(PairingRenameTest, LongNamesAreCutAtACharacterBoundaryToFitOneWrite) {
    struct Case {
        QString name;
        size_t written;
    };
    const Case cases[] = {
        {QString(100, QChar(0x00E9)), 128},                    // 200 bytes of two-byte characters
        {QString(127, QLatin1Char('x')) + QChar(0x00E9), 127}, // the last character would straddle
        {QString(128, QLatin1Char('x')), 128},                 // fits exactly
        {QString(126, QLatin1Char('x')) + QChar(0x6771), 126}, // a three-byte character at the end
    };
    ConnectPeer();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.written);
        const size_t before = Writes().size();
        m_frame->RenameDevice(c.name);
        ASSERT_EQ(Writes().size(), before + 1);
        const std::vector<uint8_t> expected = Bytes(c.name);
        EXPECT_EQ(Writes().back().data, std::vector<uint8_t>(expected.begin(), expected.begin() + c.written));
        WriteResult(kDeviceName);
        EXPECT_EQ(Record(0).GetName().toUtf8().size(), static_cast<qsizetype>(c.written));
        EXPECT_TRUE(c.name.startsWith(Record(0).GetName()));
    }
    EXPECT_TRUE(
        LogContains(QStringLiteral("The new name is 200 bytes long; its first 128 bytes are written.")));
}

TEST_F(PairingRenameTest, EmptyOrCancelledLabelEditShowsTheMessageAndWritesNothing) {
    ConnectPeer();
    for (const int key : {int(Qt::Key_Return), int(Qt::Key_Escape)}) {
        SCOPED_TRACE(key);
        m_prompter.prompts.clear();
        ASSERT_TRUE(m_frame->ExecuteCommand(ID_RENAME_DEVICE));
        auto* editor = qobject_cast<QLineEdit*>(m_frame->DeviceView()->Tree()->LabelEditor());
        ASSERT_NE(editor, nullptr);
        editor->setText(key == Qt::Key_Return ? QString() : QStringLiteral("Typed but cancelled"));
        Press(editor, key);
        ASSERT_EQ(m_prompter.prompts.size(), 1u);
        EXPECT_EQ(m_prompter.prompts[0].text, QStringLiteral("Device name cannot be empty"));
        EXPECT_EQ(m_prompter.prompts[0].caption, QStringLiteral("Device Renaming"));
        EXPECT_EQ(m_prompter.prompts[0].type, MB_ICONEXCLAMATION | MB_TASKMODAL);
        EXPECT_TRUE(Writes().empty());
        EXPECT_EQ(Row(0)->text(0), QStringLiteral("Pulse"));
        EXPECT_EQ(m_frame->OperationState(), 0);
    }
}

TEST_F(PairingRenameTest, RenamingAPairedDeviceUpdatesTheHostsEntryWithANameCutTo50Bytes) {
    ConnectPeer();
    SecurityResult(0);
    ASSERT_TRUE(Record(0).paired);
    Record(0).appearance = 0x03C1;
    const QString name = QString(49, QLatin1Char('k')) + QChar(0x00E9) + QStringLiteral("tail");
    m_frame->RenameDevice(name);
    WriteResult(kDeviceName);

    ASSERT_EQ(Host().updatedEntries.size(), 1u);
    const BleHostPairedDevice& entry = Host().updatedEntries[0];
    EXPECT_EQ(entry.address.lap, TestAddress(1).lap);
    EXPECT_EQ(entry.address.nap, TestAddress(1).nap);
    EXPECT_EQ(entry.appearance, 0x03C1);
    EXPECT_EQ(std::string(entry.name, strnlen(entry.name, sizeof entry.name)), std::string(49, 'k'));
    EXPECT_EQ(Record(0).GetName(), name);
}

TEST_F(PairingRenameTest, RenameIsOfferedOnlyForTheSelectedConnectedPeerWithAWritableName) {
    EXPECT_EQ(Update(ID_RENAME_DEVICE).enabled(), false);
    ConnectPeer();
    EXPECT_EQ(Update(ID_RENAME_DEVICE).enabled(), true);

    Select(1);
    EXPECT_EQ(Update(ID_RENAME_DEVICE).enabled(), false);
    EXPECT_FALSE(m_frame->DeviceView()->EditLabel(Row(0)));
    EXPECT_FALSE(m_frame->DeviceView()->EditLabel(Row(1)));

    Select(0);
    m_frame->RenameDevice(QStringLiteral("Busy"));
    EXPECT_EQ(Update(ID_RENAME_DEVICE).enabled(), false);
    EXPECT_FALSE(m_frame->DeviceView()->EditLabel(Row(0)));
    m_frame->RenameDevice(QStringLiteral("Second"));
    EXPECT_EQ(Writes().size(), 1u);
    WriteResult(kDeviceName);
    EXPECT_EQ(Update(ID_RENAME_DEVICE).enabled(), true);
    EXPECT_EQ(Record(0).GetName(), QStringLiteral("Busy"));
}

TEST_F(PairingRenameTest, RenameIsRefusedWhenDeviceNameIsReadOnly) {
    ConnectPeer(kReadOnly);
    EXPECT_EQ(Update(ID_RENAME_DEVICE).enabled(), false);
    EXPECT_FALSE(m_frame->ExecuteCommand(ID_RENAME_DEVICE));
    EXPECT_FALSE(m_frame->DeviceView()->EditLabel(Row(0)));
}

TEST_F(PairingRenameTest, NameRowChangeRenamesAndOtherRowsDoNot) {
    ConnectPeer();
    platform::PropertyGrid* grid = m_frame->PropertiesView()->PropertyList();
    platform::Property* address = grid->property(0)->subItem(0);
    grid->notifyPropertyChanged(address);
    EXPECT_TRUE(Writes().empty());

    NameRow()->setValue(QStringLiteral("From grid"));
    grid->notifyPropertyChanged(NameRow());
    ASSERT_EQ(Writes().size(), 1u);
    EXPECT_EQ(Writes()[0].data, Bytes(QStringLiteral("From grid")));
}

TEST_F(PairingRenameTest, RenameWithoutAConnectionWritesNothing) {
    m_frame->RenameDevice(QStringLiteral("Nobody"));
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(m_frame->OperationState(), 0);
    EXPECT_FALSE(m_frame->IsRenamePending());
}

} // namespace
