#pragma once

#include "app/ScriptedPrompt.h"
#include "library/EdsWizardLog.h"
#include "library/TDeviceNetLib.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace corvix::test {

class RecordingLog : public EdsWizardLog {
public:
    void AddLogLine(const QString& line) override { lines.append(line); }
    QStringList lines;
};

// A small EDS text with the identity given; extra is added at the end.
inline QByteArray MiniEds(const QByteArray& vendor, const QByteArray& type, const QByteArray& code,
                          const QByteArray& major, const QByteArray& minor = "1",
                          const QByteArray& name = "Test Device", const QByteArray& extra = {})
{
    return "[File]\n DescText = \"small, test\";\n CreateDate = 01-02-2024;\n"
           " CreateTime = 10:00:00;\n Revision = 1.0;\n[Device]\n VendCode = " +
           vendor + ";\n ProdType = " + type + ";\n ProdCode = " + code + ";\n MajRev = " + major +
           ";\n MinRev = " + minor + ";\n VendName = \"Vendor\";\n ProdTypeStr = \"Type\";\n"
           " ProdName = \"" + name + "\";\n" + extra;
}

// A library in a folder of its own, with a scripted prompt and a recorded wizard log.
class LibraryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        library = std::make_unique<TDeviceNetLib>(nullptr, &prompt, dir.filePath("lib"));
        library->SetWizardLog(&log);
    }

    QString libraryFile(const QString& relative) const { return library->LibraryPath() + relative; }

    // Writes bytes to a file in the source folder (outside the library) and returns its path.
    QString source(const QString& name, const QByteArray& bytes) const
    {
        QDir(dir.path()).mkpath("src");
        const QString path = dir.filePath("src/" + name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    static QByteArray read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir dir;
    ScriptedPrompt prompt;
    RecordingLog log;
    std::unique_ptr<TDeviceNetLib> library;
};

}  // namespace corvix::test
