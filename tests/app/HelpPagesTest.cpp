#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace {

const QDir HelpFolder(QStringLiteral(CORVIX_SOURCE_DIR "/help"));

// The pages the program's windows open by name.
TEST(HelpPagesTest, EveryTopicTheProgramOpensExists)
{
    const char* topics[] = {"welcometopic.htm",
                            "editindeviceproperties.htm",
                            "addingslavestoascnnerssca.htm",
                            "scanlisttableiomapping.htm",
                            "adr.htm",
                            "advanced.htm",
                            "scanlistdiagnostics.htm",
                            "quickconnect.htm",
                            "scanlisttableslaveioconf.htm"};
    for (const char* topic : topics) {
        EXPECT_TRUE(HelpFolder.exists(QString::fromLatin1(topic))) << topic;
    }
}

TEST(HelpPagesTest, LinksBetweenPagesResolve)
{
    const QRegularExpression link(QStringLiteral("href=\"([^\"#:]+)\""));
    for (const QString& page : HelpFolder.entryList({QStringLiteral("*.htm")})) {
        QFile file(HelpFolder.filePath(page));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        for (const QRegularExpressionMatch& match : link.globalMatch(text)) {
            EXPECT_TRUE(HelpFolder.exists(match.captured(1)))
                << qPrintable(page) << " -> " << qPrintable(match.captured(1));
        }
    }
}

}  // namespace
