#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <gtest/gtest.h>

namespace corvix::test {

// The bytes of a file in the checkout, e.g. "tests/library/fixtures/x.eds" or "data/eds/y.eds".
inline QByteArray ReadSourceFile(const QString& relativePath)
{
    QFile file(QStringLiteral(CORVIX_SOURCE_DIR "/") + relativePath);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << relativePath.toStdString();
    return file.readAll();
}

}  // namespace corvix::test
