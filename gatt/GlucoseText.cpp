// Glucose service: the texts and colour levels the glucose window shows for records and their context.
#include "gatt/GlucoseText.h"

#include <array>
#include <cmath>

namespace {

constexpr double kMmolPerMol = 1000.0;
constexpr double kMgPerDlPerKgPerL = 100000.0;
constexpr double kGramsPerKilogram = 1000.0;
constexpr double kMilligramsPerKilogram = 1.0e6;
constexpr double kMillilitresPerLitre = 1000.0;
constexpr uint16_t kExerciseOverrun = 0xFFFF;

// names[index], or empty beyond the table; index 0 is the table's first entry.
template <size_t N> QString Named(const std::array<const char*, N>& names, uint32_t index) {
    return index < N ? QString::fromLatin1(names[index]) : QString();
}

QString OneDecimal(double value) {
    return QString::asprintf("%.01f", value);
}

QString CarbohydrateText(const GlucoseContextItem& item) {
    static constexpr std::array<const char*, 8> kMeals = {"",        ", Breakfast", ", Lunch",  ", Dinner",
                                                          ", Snack", ", Drink",     ", Supper", ", Brunch"};
    return OneDecimal(item.value * kGramsPerKilogram) + QStringLiteral("g") + Named(kMeals, item.code);
}

QString MealText(uint32_t code) {
    static constexpr std::array<const char*, 6> kMeals = {
        "Reserved", "Preprandial (before meal)",     "Postprandial (after meal)",
        "Fasting",  "Casual (snacks, drinks, etc.)", "Bedtime"};
    const QString name = Named(kMeals, code);
    return name.isEmpty() ? QStringLiteral("Reserved") : name;
}

QString TesterHealthText(uint32_t code) {
    static constexpr std::array<const char*, 4> kTesters = {"Reserved", "Self", "Health Care Professional",
                                                            "Lab test"};
    static constexpr std::array<const char*, 6> kHealth = {"",
                                                           ", Minor health issues",
                                                           ", Major health issues",
                                                           ", During menses",
                                                           ", Under stress",
                                                           ", No health issuess"};
    constexpr uint32_t kTesterNotAvailable = 15;
    const uint32_t tester = (code >> 4) & 0x0F;
    QString text = tester == kTesterNotAvailable ? QStringLiteral("N/A") : Named(kTesters, tester);
    if (text.isEmpty()) {
        text = QStringLiteral("Reserved");
    }
    return text + Named(kHealth, code & 0x0F);
}

QString ExerciseText(const GlucoseContextItem& item) {
    const QString duration = item.code == kExerciseOverrun ? QStringLiteral("Overrun, ")
                                                           : QStringLiteral("%1 seconds, ").arg(item.code);
    return duration + QStringLiteral("%1%").arg(static_cast<int>(item.value));
}

QString MedicationText(const GlucoseContextItem& item) {
    static constexpr std::array<const char*, 6> kMedications = {"",
                                                                "Rapid acting insulin, ",
                                                                "Short acting insulin, ",
                                                                "Intermediate acting insulin, ",
                                                                "Long acting insulin, ",
                                                                "Pre-mixed insulin, "};
    const bool litres = (item.code & GlucoseContextItem::kMedicationInLitres) != 0;
    const double amount = item.value * (litres ? kMillilitresPerLitre : kMilligramsPerKilogram);
    return Named(kMedications, item.code & 0xFF) + OneDecimal(amount) +
           (litres ? QStringLiteral("ml") : QStringLiteral("mg"));
}

} // namespace

ShownConcentration ShowConcentration(double concentration, uint8_t unit) {
    const bool mmol = unit == GlucoseUnit::MolPerLitre;
    ShownConcentration shown;
    shown.value = std::round(concentration * (mmol ? kMmolPerMol : kMgPerDlPerKgPerL) * 10.0) / 10.0;
    shown.unit = mmol ? QStringLiteral("mmol/L") : QStringLiteral("mg/dL");
    const double low = mmol ? 6.1 : 110.0;
    const double high = mmol ? 7.0 : 125.0;
    shown.level = shown.value < low     ? GlucoseLevel::Low
                  : shown.value >= high ? GlucoseLevel::High
                                        : GlucoseLevel::Elevated;
    return shown;
}

QString GlucoseMeasurementText(std::optional<double> concentration, uint8_t unit, bool statusPresent) {
    if (concentration) {
        const ShownConcentration shown = ShowConcentration(*concentration, unit);
        return OneDecimal(shown.value) + QLatin1Char(' ') + shown.unit;
    }
    return statusPresent ? QStringLiteral("Sensor error") : QString();
}

QString GlucoseSampleText(uint8_t location, uint8_t type) {
    static constexpr std::array<const char*, 5> kLocations = {"", "Finger, ", "Alternate Test Site, ",
                                                              "Earlobe, ", "Control Solution, "};
    static constexpr std::array<const char*, 11> kTypes = {"",
                                                           "Capillary Whole blood",
                                                           "Capillary Plasma",
                                                           "Venous Whole blood",
                                                           "Venous Plasma",
                                                           "Arterial Whole blood",
                                                           "Arterial Plasma",
                                                           "Undetermined Whole blood",
                                                           "Undetermined Plasma",
                                                           "Interstitial Fluid",
                                                           "Control Solution"};
    return Named(kLocations, location) + Named(kTypes, type);
}

QString GlucoseContextParameter(GlucoseContextKind kind) {
    switch (kind) {
    case GlucoseContextKind::Carbohydrate:
        return QStringLiteral("Carbohydrate");
    case GlucoseContextKind::Meal:
        return QStringLiteral("Meal");
    case GlucoseContextKind::TesterHealth:
        return QStringLiteral("Tester and Health information");
    case GlucoseContextKind::Exercise:
        return QStringLiteral("Exercise information");
    case GlucoseContextKind::Medication:
        return QStringLiteral("Medication");
    case GlucoseContextKind::HbA1c:
        return QStringLiteral("HbA1c");
    case GlucoseContextKind::ExtendedFlags:
        return QStringLiteral("Extended flags");
    }
    return {};
}

QString GlucoseContextValue(const GlucoseContextItem& item) {
    switch (item.kind) {
    case GlucoseContextKind::Carbohydrate:
        return std::isfinite(item.value) ? CarbohydrateText(item) : QStringLiteral("N/A");
    case GlucoseContextKind::Meal:
        return MealText(item.code);
    case GlucoseContextKind::TesterHealth:
        return TesterHealthText(item.code);
    case GlucoseContextKind::Exercise:
        return ExerciseText(item);
    case GlucoseContextKind::Medication:
        return std::isfinite(item.value) ? MedicationText(item) : QStringLiteral("N/A");
    case GlucoseContextKind::HbA1c:
        return std::isfinite(item.value) ? OneDecimal(item.value) + QLatin1Char('%') : QStringLiteral("N/A");
    case GlucoseContextKind::ExtendedFlags:
        return QString::asprintf("%02Xh", item.code);
    }
    return {};
}
