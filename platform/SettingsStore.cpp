#include "platform/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>
#include <QtDebug>
#include <cmath>
#include <map>
#include <optional>
#include <variant>

namespace platform {

struct SettingsNode {
    struct Value {
        QString name;
        std::variant<uint32_t, QString> data;
    };

    QString name;
    std::map<QString, Value> values;                          // keyed by the case-folded name
    std::map<QString, std::unique_ptr<SettingsNode>> subkeys; // keyed by the case-folded name
};

namespace {

const QString kDwordType = QStringLiteral("dword");
const QString kStringType = QStringLiteral("string");
constexpr int kMaxSetAsideAttempts = 100;

QString folded(const QString& name) {
    return name.toCaseFolded();
}

QStringList segments(const QString& path) {
    return path.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
}

SettingsStore* g_installed = nullptr;

QJsonObject toJson(const SettingsNode& node) {
    QJsonArray values;
    for (const auto& [key, value] : node.values) {
        const auto* number = std::get_if<uint32_t>(&value.data);
        values.append(QJsonObject{
            {"name", value.name},
            {"type", number != nullptr ? kDwordType : kStringType},
            {"data",
             number != nullptr ? QJsonValue(static_cast<double>(*number)) : std::get<QString>(value.data)},
        });
    }
    QJsonArray subkeys;
    for (const auto& [key, child] : node.subkeys)
        subkeys.append(toJson(*child));
    QJsonObject object{{"values", values}, {"subkeys", subkeys}};
    if (!node.name.isEmpty())
        object.insert("name", node.name);
    return object;
}

std::optional<SettingsNode::Value> valueFromJson(const QJsonValue& json) {
    const QJsonObject entry = json.toObject();
    const QJsonValue name = entry.value("name");
    const QJsonValue type = entry.value("type");
    const QJsonValue data = entry.value("data");
    if (!name.isString())
        return std::nullopt;
    if (type.toString() == kStringType && data.isString())
        return SettingsNode::Value{name.toString(), data.toString()};
    if (type.toString() != kDwordType || !data.isDouble())
        return std::nullopt;
    const double number = data.toDouble();
    if (number < 0 || number > UINT32_MAX || std::floor(number) != number)
        return std::nullopt;
    return SettingsNode::Value{name.toString(), static_cast<uint32_t>(number)};
}

// Fills node from its JSON form; false when anything in it is not what save() writes.
bool fromJson(const QJsonObject& object, SettingsNode& node) {
    const QJsonValue values = object.value("values");
    const QJsonValue subkeys = object.value("subkeys");
    if (!values.isArray() || !subkeys.isArray())
        return false;
    for (const QJsonValue& entry : values.toArray()) {
        auto value = valueFromJson(entry);
        if (!value || !node.values.emplace(folded(value->name), *value).second)
            return false;
    }
    for (const QJsonValue& entry : subkeys.toArray()) {
        const QJsonValue name = entry.toObject().value("name");
        if (!name.isString() || segments(name.toString()) != QStringList{name.toString()})
            return false;
        auto child = std::make_unique<SettingsNode>();
        child->name = name.toString();
        if (!fromJson(entry.toObject(), *child))
            return false;
        if (!node.subkeys.emplace(folded(child->name), std::move(child)).second)
            return false;
    }
    return true;
}

void assign(SettingsNode& node, const QString& name, std::variant<uint32_t, QString> data) {
    auto [it, inserted] = node.values.try_emplace(folded(name), SettingsNode::Value{name, data});
    if (!inserted)
        it->second.data = std::move(data);
}

template <typename T> LONG query(const SettingsNode* node, const QString& name, T* out) {
    if (node == nullptr)
        return ERROR_FILE_NOT_FOUND;
    auto it = node->values.find(folded(name));
    if (it == node->values.end())
        return ERROR_FILE_NOT_FOUND;
    const T* data = std::get_if<T>(&it->second.data);
    if (data == nullptr)
        return ERROR_INVALID_DATA;
    if (out != nullptr)
        *out = *data;
    return ERROR_SUCCESS;
}

} // namespace

SettingsStore::SettingsStore(QString filePath)
    : m_filePath(std::move(filePath)), m_root(std::make_unique<SettingsNode>()) {
    load();
}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::defaultFilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Orvane/Tindrel.settings.json");
}

void SettingsStore::load() {
    QFile file(m_filePath);
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly)) {
        setAside(QStringLiteral("cannot be read (%1)").arg(file.errorString()));
        return;
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    file.close();
    if (error.error != QJsonParseError::NoError) {
        setAside(
            QStringLiteral("is not valid JSON (%1 at offset %2)").arg(error.errorString()).arg(error.offset));
        return;
    }
    auto root = std::make_unique<SettingsNode>();
    if (!document.isObject() || !fromJson(document.object(), *root)) {
        setAside(QStringLiteral("does not hold a settings tree"));
        return;
    }
    m_root = std::move(root);
}

void SettingsStore::setAside(const QString& reason) {
    QString target = m_filePath + QStringLiteral(".corrupt");
    for (int n = 1; QFileInfo::exists(target) && n <= kMaxSetAsideAttempts; ++n)
        target = m_filePath + QStringLiteral(".corrupt.%1").arg(n);
    QString outcome;
    if (!QFileInfo::exists(target) && QFile::rename(m_filePath, target)) {
        outcome = QStringLiteral("it was kept as %1").arg(target);
    } else {
        m_saveBlocked = true;
        outcome = QStringLiteral("it could not be set aside, so changes will not be saved");
    }
    m_loadWarning = QStringLiteral("Settings file %1 %2; starting with empty settings, %3.")
                        .arg(m_filePath, reason, outcome);
    qWarning().noquote() << m_loadWarning;
}

LONG SettingsStore::save() {
    if (m_saveBlocked)
        return ERROR_ACCESS_DENIED;
    QDir().mkpath(QFileInfo(m_filePath).absolutePath());
    QSaveFile file(m_filePath);
    const QByteArray bytes = QJsonDocument(toJson(*m_root)).toJson(QJsonDocument::Indented);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        qWarning().noquote() << QStringLiteral("Settings file %1 could not be written (%2).")
                                    .arg(m_filePath, file.errorString());
        return ERROR_ACCESS_DENIED;
    }
    return ERROR_SUCCESS;
}

SettingsNode* SettingsStore::find(const QString& path) const {
    SettingsNode* node = m_root.get();
    for (const QString& segment : segments(path)) {
        auto it = node->subkeys.find(folded(segment));
        if (it == node->subkeys.end())
            return nullptr;
        node = it->second.get();
    }
    return node;
}

SettingsNode* SettingsStore::findOrCreate(const QString& path, bool* created) {
    *created = false;
    SettingsNode* node = m_root.get();
    for (const QString& segment : segments(path)) {
        auto& child = node->subkeys[folded(segment)];
        if (!child) {
            child = std::make_unique<SettingsNode>();
            child->name = segment;
            *created = true;
        }
        node = child.get();
    }
    return node;
}

LONG SettingsStore::createKey(const QString& path) {
    bool created = false;
    findOrCreate(path, &created);
    return created ? save() : ERROR_SUCCESS;
}

LONG SettingsStore::openKey(const QString& path) const {
    return find(path) != nullptr ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
}

LONG SettingsStore::deleteTree(const QString& path) {
    QStringList parts = segments(path);
    if (parts.isEmpty())
        return ERROR_ACCESS_DENIED;
    const QString last = parts.takeLast();
    SettingsNode* parent = find(parts.join(QLatin1Char('\\')));
    if (parent == nullptr || parent->subkeys.erase(folded(last)) == 0)
        return ERROR_FILE_NOT_FOUND;
    return save();
}

LONG SettingsStore::setDword(const QString& path, const QString& name, uint32_t value) {
    bool created = false;
    assign(*findOrCreate(path, &created), name, value);
    return save();
}

LONG SettingsStore::setString(const QString& path, const QString& name, const QString& value) {
    bool created = false;
    assign(*findOrCreate(path, &created), name, value);
    return save();
}

LONG SettingsStore::queryDword(const QString& path, const QString& name, uint32_t* out) const {
    return query(find(path), name, out);
}

LONG SettingsStore::queryString(const QString& path, const QString& name, QString* out) const {
    return query(find(path), name, out);
}

QStringList SettingsStore::subkeys(const QString& path) const {
    QStringList names;
    if (const SettingsNode* node = find(path)) {
        for (const auto& [key, child] : node->subkeys)
            names.append(child->name);
    }
    return names;
}

SettingsStore& settingsStore() {
    if (g_installed != nullptr)
        return *g_installed;
    static SettingsStore defaultStore;
    return defaultStore;
}

void setSettingsStore(SettingsStore* store) {
    g_installed = store;
}

} // namespace platform
