#include "platform/ui/Icons.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <gtest/gtest.h>
#include <map>
#include <vector>

namespace platform {
namespace {

const std::vector<UINT> kIconIds = {128, 289, 374, 388, 389, 390, 391, 409, 410, 411, 452, 457, 458};

QDir resDir() {
    return QDir(QStringLiteral(TINDREL_SOURCE_DIR "/res"));
}

// Resource path (":" + prefix + "/" + alias) to file, relative to res/, as the resource file lists them.
std::map<QString, QString> resourceFiles() {
    QFile qrc(resDir().filePath(QStringLiteral("icons.qrc")));
    std::map<QString, QString> files;
    if (!qrc.open(QIODevice::ReadOnly))
        return files;
    QXmlStreamReader xml(&qrc);
    QString prefix;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("qresource"))
            prefix = xml.attributes().value(QLatin1String("prefix")).toString();
        if (xml.name() == QLatin1String("file")) {
            const QString alias = xml.attributes().value(QLatin1String("alias")).toString();
            const QString file = xml.readElementText();
            files[QStringLiteral(":") + prefix + QStringLiteral("/") + (alias.isEmpty() ? file : alias)] =
                file;
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return files;
}

TEST(IconsTest, IconPathNamesTheIdUnderTheIconsPrefix) {
    EXPECT_EQ(iconPath(389), QStringLiteral(":/icons/389.svg"));
}

TEST(IconsTest, ResourceFileListsEveryIconAtItsPath) {
    const std::map<QString, QString> files = resourceFiles();
    ASSERT_EQ(files.size(), kIconIds.size());
    for (UINT id : kIconIds) {
        const auto found = files.find(iconPath(id));
        ASSERT_NE(found, files.end()) << id;
        EXPECT_TRUE(QFileInfo::exists(resDir().filePath(found->second))) << id;
    }
}

TEST(IconsTest, EveryIconIsASquareSvgThatDrawsSomethingAtSixteenPixels) {
    for (const auto& [path, file] : resourceFiles()) {
        QSvgRenderer renderer(resDir().filePath(file));
        ASSERT_TRUE(renderer.isValid()) << file.toStdString();
        EXPECT_EQ(renderer.viewBoxF().width(), renderer.viewBoxF().height()) << file.toStdString();

        QImage image(16, 16, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        int painted = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                painted += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
        }
        EXPECT_GT(painted, 16) << file.toStdString();
    }
}

TEST(IconsTest, MissingIconGivesANullIcon) {
    EXPECT_TRUE(loadIcon(4242).isNull());
}

} // namespace
} // namespace platform
