#include "profiles/sensor/CTimeCtrl.h"

#include "platform/DialogItems.h"
#include "platform/Prompter.h"
#include "platform/TimeZoneInformation.h"
#include "platform/ui/CmdUI.h"
#include "profiles/sensor/TimeIds.h"
#include "res/resource.h"
#include "ui_TimePane.h"

#include <QAbstractButton>
#include <QCalendarWidget>
#include <QComboBox>
#include <map>

namespace {

[[maybe_unused]] const bool kPaneRegistered = CProfileCtrlView::RegisterTemplate(IDD_TIME, [](QWidget* pane) {
    Ui::TimePane form;
    form.setupUi(pane);
});

constexpr UINT kSecondPeriodMs = 1000;
constexpr UINT kMinutePeriodMs = 60000;
constexpr UINT kReferenceTimeoutMs = 30000;
constexpr int kZoneUnreadable = 255;
constexpr uint8_t kDstNotKnown = 255;
constexpr int kHourUnits = 4; // an hour in 15-minute units

const std::map<int, QString>& DstNames() {
    static const std::map<int, QString> names{
        {0, QStringLiteral("Standard Time")},       {2, QStringLiteral("Half An Hour Daylight Time (+0.5h)")},
        {4, QStringLiteral("Daylight Time (+1h)")}, {8, QStringLiteral("Double Daylight Time (+2h)")},
        {255, QStringLiteral("DST not known")},
    };
    return names;
}

ZoneChangeRule RuleOf(const platform::SYSTEMTIME& t) {
    return {t.wYear, t.wMonth, t.wDayOfWeek, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

QString TwoDigits(int value) {
    return QString::asprintf("%02d", value);
}

} // namespace

CTimeCtrl::CTimeCtrl(QWidget* parent) : CChildFrame(parent), m_timers([this](UINT id) { OnTimer(id); }) {}

CTimeCtrl::~CTimeCtrl() = default;

void CTimeCtrl::OnCreate() {
    m_wndView.Create(IDD_TIME, PaneParent());
    setWindowTitle(QStringLiteral("Time"));
    m_boldFont = m_wndView.PaneFont().value_or(font());
    m_boldFont.setWeight(QFont::Bold);
    for (UINT id : {IDC_TIME_DST_NAME, IDC_TIME_DST_DAY, IDC_TIME_DST_MONTH, IDC_TIME_DST_YEAR,
                    IDC_TIME_DST_HOUR, IDC_TIME_DST_MINUTE, IDC_TIME_DST_SECOND, IDC_TIME_DAYS_SINCE_UPDATE,
                    IDC_TIME_HOURS_SINCE_UPDATE, IDC_TIME_LAST_UPDATE_RESULT, IDC_TIME_UPDATE_STATE})
        if (QWidget* value = platform::GetDlgItem(this, id))
            value->setFont(m_boldFont);

    LoadClock();
    ShowTime();
    StartClock();
    if (auto* calendar = qobject_cast<QCalendarWidget*>(platform::GetDlgItem(this, IDC_TIME_CALENDAR))) {
        calendar->setDateRange(QDate(1601, 1, 1), QDate(9999, 12, 31));
        QPalette colours = calendar->palette();
        for (const auto role : {QPalette::Base, QPalette::AlternateBase, QPalette::Window})
            colours.setColor(role, QColor(192, 192, 192));
        colours.setColor(QPalette::Text, Qt::black);
        colours.setColor(QPalette::Highlight, QColor(128, 128, 255)); // the title bar
        colours.setColor(QPalette::HighlightedText, Qt::black);
        colours.setColor(QPalette::Disabled, QPalette::Text, QColor(0, 255, 255)); // other months' days
        calendar->setPalette(colours);
        connect(calendar, &QCalendarWidget::selectionChanged, this, [this] {
            if (!m_bShowingDate)
                IssueCommand(IDC_TIME_CALENDAR);
        });
    }
    ShowCalendarDate();
    LoadZone();
    ShowSinceUpdate();
    ShowUpdateResult();
    ShowUpdateState();
    OnTimeoutCheck();

    BindCommandButton(IDC_TIME_UPDATE);
    BindCommandButton(IDC_TIME_SIMULATE_TIMEOUT);
    BindCommandButton(IDC_TIME_CANCEL_UPDATE);
    BindCommandControl(IDC_TIME_ZONE);
    BindCommandControl(IDC_TIME_CALENDAR);
    if (auto* zones = qobject_cast<QComboBox*>(platform::GetDlgItem(this, IDC_TIME_ZONE)))
        connect(zones, &QComboBox::activated, this, [this] { IssueCommand(IDC_TIME_ZONE); });
    GetCommandTarget()->onCommand(IDC_TIME_CANCEL_UPDATE, [this] { EndReferenceUpdate(false); });
    GetCommandTarget()->onUpdate(IDC_TIME_CANCEL_UPDATE,
                                 [this](platform::CmdUI& ui) { ui.Enable(m_bUpdatePending); });
    InitScrollMetrics(&m_wndView);
}

void CTimeCtrl::DestroyWindow() {
    m_timers.killTimer(TIMER_TIME_CLOCK);
    m_timers.killTimer(TIMER_TIME_REFERENCE);
    CChildFrame::DestroyWindow();
}

// ---- Served values --------------------------------------------------------------------------------

std::array<uint8_t, 10> CTimeCtrl::GetCurrentTimeValue() const {
    return EncodeCurrentTime(m_clock, m_nDayOfWeek, TimeAdjustReason::None);
}

std::array<uint8_t, 8> CTimeCtrl::GetNextDstChangeValue() const {
    return EncodeTimeWithDst(m_nextChange, static_cast<uint8_t>(m_nDstOffset));
}

std::array<uint8_t, 2> CTimeCtrl::GetLocalTimeInfoValue() const {
    if (!m_bZoneRead)
        return EncodeLocalTimeInformation(m_nTimeZone, kDstNotKnown);
    return EncodeLocalTimeInformation(m_nTimeZone, m_bDaylightTime ? m_nZoneDstOffset : 0);
}

std::array<uint8_t, 4> CTimeCtrl::GetReferenceTimeInfoValue() const {
    return EncodeReferenceTimeInformation(m_sinceUpdate.days, m_sinceUpdate.hours);
}

std::array<uint8_t, 2> CTimeCtrl::GetTimeUpdateStateValue() const {
    return EncodeTimeUpdateState(m_nUpdateState, m_nUpdateResult);
}

// ---- Clock, zone and daylight saving ---------------------------------------------------------------

void CTimeCtrl::LoadClock() {
    platform::SYSTEMTIME now;
    platform::GetLocalTime(&now);
    m_clock = {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
    m_nDayOfWeek = now.wDayOfWeek == 0 ? 7 : now.wDayOfWeek;
}

void CTimeCtrl::LoadZone() {
    platform::TIME_ZONE_INFORMATION zone;
    const DWORD result = platform::GetTimeZoneInformation(&zone);
    auto* zones = qobject_cast<QComboBox*>(platform::GetDlgItem(this, IDC_TIME_ZONE));
    if (zones)
        zones->clear();
    if (result == platform::TIME_ZONE_ID_INVALID) {
        platform::AfxMessageBox(QStringLiteral("Couldn't get the system time zone"));
        m_bZoneRead = false;
        m_bHasDaylightRule = false;
        m_nZoneSelection = kZoneUnreadable;
        if (zones) {
            zones->addItem(TimeZoneItemText(0));
            zones->setCurrentIndex(-1);
        }
        ShowDst();
        return;
    }
    m_bZoneRead = true;
    m_nTimeZone = -zone.Bias / 15;
    m_standardDate = RuleOf(zone.StandardDate);
    m_daylightDate = RuleOf(zone.DaylightDate);
    m_bHasDaylightRule = zone.DaylightDate.wMonth != 0;
    m_nZoneDstOffset = m_bHasDaylightRule ? DstOffsetCode(zone.StandardBias, zone.DaylightBias) : 0;
    m_bDaylightTime = result == platform::TIME_ZONE_ID_DAYLIGHT;
    if (m_bDaylightTime) {
        m_nDstOffset = 0;
        SetNextChange(NextChange(m_standardDate, m_clock));
    } else if (m_bHasDaylightRule) {
        m_nDstOffset = m_nZoneDstOffset;
        SetNextChange(NextChange(m_daylightDate, m_clock));
    } else {
        m_nDstOffset = 0;
        SetNextChange(std::nullopt);
    }
    if (zones) {
        zones->addItem(TimeZoneItemText(zone.Bias));
        zones->insertItem(0, m_bDaylightTime ? zone.DaylightName : zone.StandardName);
        zones->setCurrentIndex(0);
    }
    m_nZoneSelection = 0;
    ShowDst();
}

bool CTimeCtrl::ApplyMoment(const CivilTime& moment) {
    if (!m_bHasDaylightRule)
        return false;
    m_bDaylightTime = IsDaylightTime(m_standardDate, m_daylightDate, moment);
    m_nDstOffset = m_bDaylightTime ? 0 : m_nZoneDstOffset;
    const CivilTime before = m_nextChange;
    SetNextChange(NextChange(m_bDaylightTime ? m_standardDate : m_daylightDate, moment));
    ShowDst();
    return m_nextChange != before;
}

void CTimeCtrl::SetNextChange(const std::optional<CivilTime>& change) {
    m_nextChange = change.value_or(CivilTime{});
}

void CTimeCtrl::SyncWithSystemTime() {
    m_nUpdateState = TimeUpdate::UpdatePending;
    ShowUpdateState();
    LoadClock();
    ShowCalendarDate();
    ShowTime();
    LoadZone();
    m_sinceUpdate = {};
    ShowSinceUpdate();
    m_timers.killTimer(TIMER_TIME_REFERENCE);
    m_bUpdatePending = false;
    m_nUpdateState = TimeUpdate::Idle;
    ShowUpdateState();
    m_nUpdateResult = TimeUpdate::Successful;
    ShowUpdateResult();
    if (m_timers.isRunning(TIMER_TIME_CLOCK))
        StartClock();
}

bool CTimeCtrl::OnDateSelected() {
    auto* calendar = qobject_cast<QCalendarWidget*>(platform::GetDlgItem(this, IDC_TIME_CALENDAR));
    if (!calendar)
        return false;
    const QDate date = calendar->selectedDate();
    const bool dstChanged =
        ApplyMoment({date.year(), date.month(), date.day(), m_clock.hour, m_clock.minute, m_clock.second});
    m_clock.year = date.year();
    m_clock.month = date.month();
    m_clock.day = date.day();
    m_nDayOfWeek = DayOfWeek(m_clock.year, m_clock.month, m_clock.day);
    return dstChanged;
}

bool CTimeCtrl::OnSetTime(bool* dstChanged) {
    *dstChanged = false;
    const QString hourText = platform::GetDlgItemText(this, IDC_TIME_HOUR);
    const QString minuteText = platform::GetDlgItemText(this, IDC_TIME_MINUTE);
    bool hourOk = false;
    bool minuteOk = false;
    const int hour = hourText.toInt(&hourOk);
    const int minute = minuteText.toInt(&minuteOk);
    if (!hourOk || !minuteOk || hour < 0 || hour > 23 || minute < 0 || minute > 59) {
        platform::AfxMessageBox(QStringLiteral("Valid Time Values\n Hour:0-23\n Minute: 0-59"));
        ShowTime();
        return false;
    }
    const bool changed = hour != m_clock.hour || minute != m_clock.minute;
    if (changed) {
        *dstChanged = ApplyMoment({m_clock.year, m_clock.month, m_clock.day, hour, minute, m_clock.second});
        m_clock.hour = hour;
        m_clock.minute = minute;
    }
    ShowTime();
    return changed;
}

bool CTimeCtrl::OnDstSelected() {
    auto* zones = qobject_cast<QComboBox*>(platform::GetDlgItem(this, IDC_TIME_ZONE));
    if (!zones || !m_bZoneRead || zones->currentIndex() == m_nZoneSelection)
        return false;
    m_nZoneSelection = zones->currentIndex();
    if (m_nZoneSelection == 1) {
        m_nTimeZone += kHourUnits;
        m_clock.hour = (m_clock.hour + 1) % 24;
        if (m_clock.hour == 0)
            MoveDate(1);
    } else {
        m_nTimeZone -= kHourUnits;
        if (m_clock.hour == 0) {
            m_clock.hour = 23;
            MoveDate(-1);
        } else {
            --m_clock.hour;
        }
    }
    ShowTime();
    return true;
}

void CTimeCtrl::MoveDate(int days) {
    m_clock = AddDays(m_clock, days);
    m_nDayOfWeek = DayOfWeek(m_clock.year, m_clock.month, m_clock.day);
    ShowCalendarDate();
}

void CTimeCtrl::StartClock() {
    m_bFirstClockPhase = true;
    m_timers.setTimer(TIMER_TIME_CLOCK, kSecondPeriodMs);
}

void CTimeCtrl::OnTimer(UINT id) {
    if (id == TIMER_TIME_CLOCK) {
        OnClockTick();
    } else if (id == TIMER_TIME_REFERENCE) {
        m_timers.killTimer(TIMER_TIME_REFERENCE);
        EndReferenceUpdate(true);
    }
}

void CTimeCtrl::OnClockTick() {
    if (!m_bFirstClockPhase) {
        OnMinuteTick();
        return;
    }
    m_clock.second = (m_clock.second + 1) % 60;
    if (m_clock.second != 0)
        return;
    OnMinuteTick();
    m_bFirstClockPhase = false;
    m_timers.setTimer(TIMER_TIME_CLOCK, kMinutePeriodMs);
}

void CTimeCtrl::OnMinuteTick() {
    m_clock.minute = (m_clock.minute + 1) % 60;
    if (m_clock.minute == 0) {
        m_clock.hour = (m_clock.hour + 1) % 24;
        if (m_clock.hour == 0)
            MoveDate(1);
    }
    ShowTime();
    m_sinceUpdate = AddMinute(m_sinceUpdate);
    ShowSinceUpdate();
}

// ---- Reference update -----------------------------------------------------------------------------

void CTimeCtrl::OnGetReferenceUpdate() {
    if (!m_bSimulateTimeout) {
        SyncWithSystemTime();
        return;
    }
    m_nUpdateState = TimeUpdate::UpdatePending;
    ShowUpdateState();
    m_bUpdatePending = true;
    if (!m_timers.isRunning(TIMER_TIME_REFERENCE))
        m_timers.setTimer(TIMER_TIME_REFERENCE, kReferenceTimeoutMs);
}

void CTimeCtrl::EndReferenceUpdate(bool timeout) {
    if (m_nUpdateState != TimeUpdate::UpdatePending)
        return;
    // A later Get Reference Update waits its own full time.
    m_timers.killTimer(TIMER_TIME_REFERENCE);
    m_nUpdateState = TimeUpdate::Idle;
    ShowUpdateState();
    m_bUpdatePending = false;
    m_nUpdateResult = timeout ? TimeUpdate::Timeout : TimeUpdate::Cancelled;
    ShowUpdateResult();
}

void CTimeCtrl::OnTimeoutCheck() {
    auto* check = qobject_cast<QAbstractButton*>(platform::GetDlgItem(this, IDC_TIME_SIMULATE_TIMEOUT));
    m_bSimulateTimeout = check && check->isChecked();
}

// ---- Display ----------------------------------------------------------------------------------------

void CTimeCtrl::ShowTime() {
    platform::SetDlgItemText(this, IDC_TIME_HOUR, TwoDigits(m_clock.hour));
    platform::SetDlgItemText(this, IDC_TIME_MINUTE, TwoDigits(m_clock.minute));
}

void CTimeCtrl::ShowCalendarDate() {
    auto* calendar = qobject_cast<QCalendarWidget*>(platform::GetDlgItem(this, IDC_TIME_CALENDAR));
    if (!calendar)
        return;
    m_bShowingDate = true;
    calendar->setSelectedDate(QDate(m_clock.year, m_clock.month, m_clock.day));
    m_bShowingDate = false;
}

void CTimeCtrl::ShowDst() {
    const auto name = DstNames().find(m_nDstOffset);
    platform::SetDlgItemText(this, IDC_TIME_DST_NAME, name == DstNames().end() ? QString() : name->second);
    platform::SetDlgItemText(this, IDC_TIME_DST_DAY, TwoDigits(m_nextChange.day));
    platform::SetDlgItemText(this, IDC_TIME_DST_MONTH, TwoDigits(m_nextChange.month));
    platform::SetDlgItemText(this, IDC_TIME_DST_YEAR, QString::asprintf("%04d", m_nextChange.year));
    platform::SetDlgItemText(this, IDC_TIME_DST_HOUR, TwoDigits(m_nextChange.hour));
    platform::SetDlgItemText(this, IDC_TIME_DST_MINUTE, TwoDigits(m_nextChange.minute));
    platform::SetDlgItemText(this, IDC_TIME_DST_SECOND, TwoDigits(m_nextChange.second));
}

void CTimeCtrl::ShowSinceUpdate() {
    platform::SetDlgItemText(this, IDC_TIME_DAYS_SINCE_UPDATE, QString::number(m_sinceUpdate.days));
    platform::SetDlgItemText(this, IDC_TIME_HOURS_SINCE_UPDATE, TwoDigits(m_sinceUpdate.hours));
}

void CTimeCtrl::ShowUpdateState() {
    platform::SetDlgItemText(this, IDC_TIME_UPDATE_STATE,
                             m_nUpdateState == TimeUpdate::UpdatePending ? QStringLiteral("Update Pending")
                                                                         : QStringLiteral("Idle"));
}

void CTimeCtrl::ShowUpdateResult() {
    QString text = QStringLiteral("Successful");
    if (m_nUpdateResult == TimeUpdate::Cancelled)
        text = QStringLiteral("Cancelled");
    else if (m_nUpdateResult == TimeUpdate::Timeout)
        text = QStringLiteral("Timeout");
    platform::SetDlgItemText(this, IDC_TIME_LAST_UPDATE_RESULT, text);
}
