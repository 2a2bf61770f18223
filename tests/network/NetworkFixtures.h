#pragma once

#include "library/EdsNormaliser.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace corvix::test {

// Library keys of our example EDS files.
inline const char* const IoBlockKey = "1313_7_101_1";       // 10 parameters
inline const char* const DriveKey = "1313_2_202_3";         // 11 parameters
inline const char* const SensorKey = "1313_6_305_1";        // no parameters
inline const char* const ScannerKey = "1313_12_100_1";      // DNS100 scanner

// A library folder holding the example EDS files in stored (normalised) form under their keys.
class ExampleLibrary {
public:
    ExampleLibrary()
    {
        const QDir source(QStringLiteral(CORVIX_SOURCE_DIR "/data/eds"));
        const struct {
            const char* file;
            const char* key;
        } files[] = {{"example_io_block.eds", IoBlockKey},
                     {"example_ac_drive.eds", DriveKey},
                     {"example_sensor_no_params.eds", SensorKey},
                     {"Velmora_DNS100_Scanner.eds", ScannerKey}};
        QDir(folder_.path()).mkpath(QStringLiteral("eds"));
        for (const auto& f : files) {
            QFile in(source.filePath(QLatin1String(f.file)));
            EXPECT_TRUE(in.open(QIODevice::ReadOnly)) << f.file;
            QFile out(edsPath(QLatin1String(f.key)));
            EXPECT_TRUE(out.open(QIODevice::WriteOnly));
            out.write(NormaliseEdsText(in.readAll()));
        }
    }
    QString path() const { return folder_.path(); }
    QString edsPath(const QString& key) const
    {
        return folder_.path() + QStringLiteral("/eds/") + key + QStringLiteral(".eds");
    }

private:
    QTemporaryDir folder_;
};

}  // namespace corvix::test
