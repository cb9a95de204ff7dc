// The built-in world's body analyser and scale followed through their windows over virtual time:
// weigh-ins fill both tables, a user registers, consents, renames herself and deletes her data, and the
// scale opens only its own windows. A control point that never answers is tested on the user-data window.
#include "E2eFixture.h"
#include "platform/StringTable.h"
#include "profiles/sensor/BodyCompIds.h"
#include "profiles/sensor/UserDataIds.h"
#include "profiles/sensor/WeightScaleIds.h"
#include "res/resource.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTreeWidget>

namespace {

class ScaleE2eTest : public E2eFixture {
protected:
    QString Status() const { return Text(Frame()->UserDataWindow(), IDC_UD_STATUS); }
    // Types the texts into the user-data window's edits and presses the button; then waits (up to
    // ten seconds) until the status changes.
    void Press(UINT button, std::initializer_list<std::pair<UINT, QString>> edits) {
        CUserDataCtrl* window = Frame()->UserDataWindow();
        for (const auto& [id, text] : edits)
            platform::SetDlgItemText(window, id, text);
        ASSERT_TRUE(Run(window, button));
        const QString before = Status();
        AdvanceUntil([&] { return Status() != before; }, 10000, 50);
    }
    int WeightRows() const { return Frame()->WeightScaleWindow()->Records()->topLevelItemCount(); }
    int CompositionRows() const { return Frame()->BodyCompWindow()->Records()->topLevelItemCount(); }
};

TEST_F(ScaleE2eTest, AUserRegistersConsentsRenamesHerselfAndDeletesHerData) {
    ASSERT_TRUE(ConnectedWorld("", QStringLiteral("Orvane Body Analyser")));
    ASSERT_TRUE(Frame()->WeightScaleWindow() && Frame()->BodyCompWindow() && Frame()->UserDataWindow());
    EXPECT_EQ(Frame()->MdiArea()->activeSubWindow()->widget(), Frame()->UserDataWindow());
    Advance(30000);
    EXPECT_GE(WeightRows(), 2);
    EXPECT_GE(CompositionRows(), 2);
    EXPECT_EQ(Text(Frame()->WeightScaleWindow(), IDC_WS_USER_ID), QStringLiteral("255"));

    Press(ID_UD_REGISTER, {{IDC_UD_REGISTER_CODE, "4321"}});
    EXPECT_EQ(Status(), QStringLiteral("Success: User registered with user id = 1"));
    Press(ID_UD_CONSENT, {{IDC_UD_CONSENT_INDEX, "0"}, {IDC_UD_CONSENT_CODE, "1234"}});
    EXPECT_EQ(Status(), platform::LoadString(IDS_UD_CONSENT_PROVIDED));
    Advance(30000);
    EXPECT_EQ(Text(Frame()->UserDataWindow(), IDC_UD_FIRST_NAME), QStringLiteral("Ann"));
    EXPECT_EQ(Text(Frame()->WeightScaleWindow(), IDC_WS_USER_ID), QStringLiteral("0"));
    EXPECT_EQ(Text(Frame()->BodyCompWindow(), IDC_BC_USER_ID), QStringLiteral("0"));

    Press(ID_UD_UPDATE_NAME, {{IDC_UD_FIRST_NAME, QStringLiteral("Zoë")}});
    EXPECT_EQ(Status(), platform::LoadString(IDS_UD_NAME_UPDATED));
    EXPECT_EQ(Text(Frame()->UserDataWindow(), IDC_UD_CHANGES), QStringLiteral("1"));

    Press(ID_UD_DELETE_USER, {});
    EXPECT_EQ(Status(), platform::LoadString(IDS_UD_USER_DELETED));
    EXPECT_EQ(WeightRows(), 0);
    EXPECT_EQ(CompositionRows(), 0);
    EXPECT_EQ(Text(Frame()->WeightScaleWindow(), IDC_WS_USER_ID), QStringLiteral("N/A"));
    EXPECT_EQ(Text(Frame()->BodyCompWindow(), IDC_BC_USER_ID), QStringLiteral("N/A"));
}

TEST_F(ScaleE2eTest, TheScaleOpensWeightScaleAndUserDataButNoBodyComposition) {
    ASSERT_TRUE(ConnectedWorld("", QStringLiteral("Orvane Scale")));
    EXPECT_NE(Frame()->WeightScaleWindow(), nullptr);
    EXPECT_NE(Frame()->UserDataWindow(), nullptr);
    EXPECT_EQ(Frame()->BodyCompWindow(), nullptr);
}

} // namespace
