// A program started (offscreen) with a damaged registry file in place, a FIFO or an 8 GiB sparse
// file: it is up within a second as with a sound file (on a machine where even a sound start takes
// longer, within a second of it), it says once which file it did not read and why (on its error
// stream, and to the user in a message through the prompt service), its peak memory
// stays within 64 MiB of a sound start, and the file is left as it was. Shared by the process tests
// of both programs.
#pragma once

#include "tests/support/qt/ProgramStartProbe.h"

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

// env: what the program needs besides its folders; up: the line that says it is up; name: the
// program's name as its messages start.
inline void ExpectDamagedRegistryFilesNeitherHoldNorBloatTheStart(const QString& program, QProcessEnvironment env,
                                                                  const QByteArray& up, const QByteArray& name)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString root = folder.path();
    for (const char* sub : {"run", "data", "config"}) ASSERT_TRUE(QDir(root).mkpath(sub));
    QFile::setPermissions(root + "/run", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_RUNTIME_DIR", root + "/run");
    env.insert("XDG_DATA_HOME", root + "/data");
    env.insert("XDG_CONFIG_HOME", root + "/config");

    env.insert("ZARN_REGISTRY_FILE", root + "/config/sound.reg");
    const ProgramStartProbe sound = ProgramStartProbe::Run(program, env, up);
    ASSERT_TRUE(sound.up) << sound.said.constData();

    const std::string fifo = (root + "/config/fifo.reg").toStdString();
    const std::string sparse = (root + "/config/sparse.reg").toStdString();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    QFile huge(QString::fromStdString(sparse));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    ASSERT_TRUE(huge.resize(qint64{8} << 30));
    huge.close();

    struct Case {
        std::string file;
        const char* reason;
    };
    for (const Case& c : {Case{fifo, "not a regular file"}, Case{sparse, "larger than 16 MiB"}}) {
        SCOPED_TRACE(c.file);
        struct stat before {};
        ASSERT_EQ(::stat(c.file.c_str(), &before), 0);
        env.insert("ZARN_REGISTRY_FILE", QString::fromStdString(c.file));
        const QByteArray told = name.toLower() + ": prompt: The settings file " + QByteArray::fromStdString(c.file) +
                                " was not read: ";
        const ProgramStartProbe start = ProgramStartProbe::Run(program, env, QList<QByteArray>{up, told});
        ASSERT_TRUE(start.up) << start.said.constData();
        EXPECT_LT(start.tookMs, std::max<qint64>(1000, sound.tookMs + 1000)) << "a sound start took " << sound.tookMs;
        EXPECT_LT(start.peakKb - sound.peakKb, 64 * 1024) << start.peakKb << " KiB against " << sound.peakKb;
        const QByteArray notice = name + ": the settings file \"" + QByteArray::fromStdString(c.file) + "\" was not read: ";
        EXPECT_EQ(start.said.count(notice), 1) << start.said.constData();
        EXPECT_TRUE(start.said.contains(c.reason)) << start.said.constData();
        EXPECT_EQ(start.said.count(told), 1) << start.said.constData();
        struct stat after {};
        ASSERT_EQ(::stat(c.file.c_str(), &after), 0);
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_EQ(after.st_mode, before.st_mode);
        EXPECT_EQ(after.st_size, before.st_size);
    }
}
