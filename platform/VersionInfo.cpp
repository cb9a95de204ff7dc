#include "platform/VersionInfo.h"

namespace platform {
namespace {

const QString kTranslationKey = QStringLiteral("\\VarFileInfo\\Translation");
constexpr DWORD kBlockHeaderBytes = 92;
constexpr int kBytesPerTranslation = 4;

VersionInfoProvider& installedProvider() {
    static VersionInfoProvider provider;
    return provider;
}

std::optional<VersionBlock> queryProvider(const QString& modulePath) {
    const VersionInfoProvider& provider = installedProvider();
    return provider ? provider(modulePath) : programVersionBlock();
}

} // namespace

void setVersionInfoProvider(VersionInfoProvider provider) {
    installedProvider() = std::move(provider);
}

VersionBlock programVersionBlock() {
    return VersionBlock{
        {{0x0409, 0x04b0}},
        {{QStringLiteral("\\StringFileInfo\\040904b0\\FileVersion"), QStringLiteral("2, 6, 0, 3")}}};
}

DWORD GetFileVersionInfoSize(const QString& modulePath) {
    const auto block = queryProvider(modulePath);
    if (!block)
        return 0;
    // The size of the block as UTF-16 text with a fixed header, as a resource would hold it.
    DWORD size = kBlockHeaderBytes + kBytesPerTranslation * static_cast<DWORD>(block->translations.size());
    for (const auto& [key, value] : block->strings)
        size += static_cast<DWORD>((key.size() + value.size() + 2) * 2);
    return size;
}

std::optional<VersionBlock> GetFileVersionInfo(const QString& modulePath) {
    return queryProvider(modulePath);
}

bool VerQueryValue(const VersionBlock& block, const QString& subBlock, QString* text, int* length) {
    if (subBlock.compare(kTranslationKey, Qt::CaseInsensitive) == 0) {
        if (block.translations.empty())
            return false;
        if (length != nullptr)
            *length = kBytesPerTranslation * static_cast<int>(block.translations.size());
        return true;
    }
    for (const auto& [key, value] : block.strings) {
        if (key.compare(subBlock, Qt::CaseInsensitive) != 0)
            continue;
        if (text != nullptr)
            *text = value;
        if (length != nullptr)
            *length = static_cast<int>(value.size());
        return true;
    }
    return false;
}

} // namespace platform
