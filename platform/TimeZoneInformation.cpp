// Local time and the system time zone, as a zone record with two yearly daylight-saving rules.
#include "platform/TimeZoneInformation.h"

#include <QLocale>
#include <QSet>
#include <QtDebug>
#include <algorithm>
#include <optional>

namespace platform {
namespace {

constexpr int kLastOccurrence = 5;

std::function<QDateTime()>& NowSource() {
    static std::function<QDateTime()> now;
    return now;
}

std::function<QTimeZone()>& ZoneSource() {
    static std::function<QTimeZone()> zone;
    return zone;
}

QDateTime Now() {
    return NowSource() ? NowSource()() : QDateTime::currentDateTimeUtc();
}

QTimeZone Zone() {
    return ZoneSource() ? ZoneSource()() : QTimeZone::systemTimeZone();
}

uint16_t Sunday0(int qtDayOfWeek) {
    return static_cast<uint16_t>(qtDayOfWeek % 7);
}

SYSTEMTIME ToSystemTime(const QDateTime& local) {
    const QDate date = local.date();
    const QTime time = local.time();
    return {static_cast<uint16_t>(date.year()),
            static_cast<uint16_t>(date.month()),
            Sunday0(date.dayOfWeek()),
            static_cast<uint16_t>(date.day()),
            static_cast<uint16_t>(time.hour()),
            static_cast<uint16_t>(time.minute()),
            static_cast<uint16_t>(time.second()),
            static_cast<uint16_t>(time.msec())};
}

// The date of occurrence (1-5, 5 the last) of dayOfWeek (Qt's numbering) in that month.
QDate Occurrence(int year, int month, int dayOfWeek, int occurrence) {
    QDate date(year, month, 1);
    while (date.dayOfWeek() != dayOfWeek)
        date = date.addDays(1);
    for (int i = 1; i < occurrence && date.addDays(7).month() == month; ++i)
        date = date.addDays(7);
    return date;
}

// The transition as a rule, given the local time on the clocks just before it and the local time
// just before the corresponding transition of the next year (if there is one).
SYSTEMTIME Rule(const QDateTime& before, const std::optional<QDateTime>& nextYear) {
    SYSTEMTIME rule = ToSystemTime(before);
    rule.wMilliseconds = 0;
    const QDate date = before.date();
    const bool last = date.addDays(7).month() != date.month();
    for (const int occurrence : {last ? kLastOccurrence : 0, (date.day() - 1) / 7 + 1}) {
        if (occurrence == 0 || !nextYear || nextYear->time() != before.time())
            continue;
        if (Occurrence(date.year() + 1, date.month(), date.dayOfWeek(), occurrence) == nextYear->date()) {
            rule.wYear = 0;
            rule.wDay = static_cast<uint16_t>(occurrence);
            return rule;
        }
    }
    return rule; // a fixed date
}

QTimeZone::OffsetDataList TransitionsOf(const QTimeZone& zone, int year) {
    return zone.transitions(QDateTime(QDate(year, 1, 1), QTime(0, 0), zone),
                            QDateTime(QDate(year + 1, 1, 1), QTime(0, 0), zone).addMSecs(-1));
}

// Local time on the clocks just before the transition, which ended a period of offset seconds.
QDateTime LocalBefore(const QTimeZone::OffsetData& transition, int offset) {
    return transition.atUtc.toOffsetFromUtc(offset);
}

const QTimeZone::OffsetData* Find(const QTimeZone::OffsetDataList& list, int offset) {
    for (const auto& transition : list)
        if (transition.offsetFromUtc == offset)
            return &transition;
    return nullptr;
}

void LogOnce(const QTimeZone& zone, int year, qsizetype transitions) {
    static QSet<QByteArray> logged;
    if (logged.contains(zone.id()))
        return;
    logged.insert(zone.id());
    qWarning().noquote() << QStringLiteral("Time zone %1 has %2 changes of rules in %3 that are not one "
                                           "pair of daylight-saving changes; it is treated as standard "
                                           "time only.")
                                .arg(QString::fromUtf8(zone.id()))
                                .arg(transitions)
                                .arg(year);
}

} // namespace

DWORD ZoneInformation(const QTimeZone& zone, const QDateTime& moment, TIME_ZONE_INFORMATION* info) {
    if (!zone.isValid())
        return TIME_ZONE_ID_INVALID;
    const int year = moment.toTimeZone(zone).date().year();
    const int standard = zone.standardTimeOffset(moment);
    TIME_ZONE_INFORMATION record;
    record.Bias = -standard / 60;
    record.StandardName = zone.displayName(QTimeZone::StandardTime, QTimeZone::LongName, QLocale::c());
    record.DaylightName = zone.displayName(QTimeZone::DaylightTime, QTimeZone::LongName, QLocale::c());

    const QTimeZone::OffsetDataList transitions = TransitionsOf(zone, year);
    const bool onePair =
        transitions.size() == 2 && transitions[0].offsetFromUtc != transitions[1].offsetFromUtc &&
        (transitions[0].daylightTimeOffset == 0) != (transitions[1].daylightTimeOffset == 0) &&
        transitions[0].standardTimeOffset == standard && transitions[1].standardTimeOffset == standard;
    if (!onePair) {
        if (!transitions.isEmpty())
            LogOnce(zone, year, transitions.size());
        *info = record;
        return TIME_ZONE_ID_UNKNOWN;
    }
    // The zone as it is lived: the smaller offset is standard time, the larger daylight time, even
    // where the database calls the smaller one daylight time with a negative saving (Irish winter).
    const int lower = std::min(transitions[0].offsetFromUtc, transitions[1].offsetFromUtc);
    const int higher = std::max(transitions[0].offsetFromUtc, transitions[1].offsetFromUtc);
    const QTimeZone::OffsetDataList next = TransitionsOf(zone, year + 1);
    const auto nextBefore = [&next](int into, int before) {
        const auto* transition = Find(next, into);
        return transition ? std::optional(LocalBefore(*transition, before)) : std::nullopt;
    };
    record.Bias = -lower / 60;
    record.DaylightBias = -(higher - lower) / 60;
    record.DaylightDate = Rule(LocalBefore(*Find(transitions, higher), lower), nextBefore(higher, lower));
    record.StandardDate = Rule(LocalBefore(*Find(transitions, lower), higher), nextBefore(lower, higher));
    *info = record;
    return zone.offsetFromUtc(moment) == higher ? TIME_ZONE_ID_DAYLIGHT : TIME_ZONE_ID_STANDARD;
}

DWORD GetTimeZoneInformation(TIME_ZONE_INFORMATION* info) {
    return ZoneInformation(Zone(), Now(), info);
}

void GetLocalTime(SYSTEMTIME* time) {
    // Without a usable zone the local time is UTC: converting into an invalid zone gives no time at all.
    const QTimeZone zone = Zone();
    const QDateTime now = Now();
    *time = ToSystemTime(zone.isValid() ? now.toTimeZone(zone) : now.toUTC());
}

void SetLocalClock(std::function<QDateTime()> now, std::function<QTimeZone()> zone) {
    NowSource() = std::move(now);
    ZoneSource() = std::move(zone);
}

} // namespace platform
