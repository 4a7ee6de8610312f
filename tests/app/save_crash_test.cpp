// A process killed while it saves a large pad: afterwards the pad file and its backup are each
// one whole save, never a cut one. The saving process is this test program itself, started again
// to save and nothing else.
#include "app/PadFile.h"
#include "tests/app/padfile_support.h"
#include "tests/common/TestProcess.h"

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <random>

namespace {

const char kChildFolder[] = "PLUMO_SAVE_CHILD_FOLDER";

TPadFile BigPad(char mark)
{
    TPadFile pad;
    pad.Date = "1 Jan 2026 08:00:00";
    pad.Description = std::string("Crash pad ") + mark;
    for (int i = 0; i < 30000; ++i) pad.Lines.push_back(mark + std::to_string(i) + "' 6 1/2\" + 3' 4\"");
    return pad;
}

// The saving process: this test program started again, saving the two pads in turn into the folder
// it is given until it is killed.
const ChildEntry saveUntilKilled("save-until-killed", [] {
    const char* folder = std::getenv(kChildFolder);
    if (!folder) return 2;
    const AnsiString path = AnsiString(folder) + "/big.pad";
    const TPadFile pads[2] = {BigPad('a'), BigPad('b')};
    for (int n = 0;; ++n) {
        if (!SavePadFile(path, pads[n % 2]).Saved()) return 3;
        std::printf("saved\n");
        std::fflush(stdout);
    }
});

}  // namespace

TEST(PadSaveCrash, KilledWhileSavingLeavesWholeFiles)
{
    QTemporaryDir dir;
    const AnsiString folder = dir.path().toStdString();
    const AnsiString whole[2] = {FormatPadText(BigPad('a')), FormatPadText(BigPad('b'))};
    auto isWhole = [&](const AnsiString& bytes) { return bytes == whole[0] || bytes == whole[1]; };

    std::mt19937 random(20260107);
    bool backupSeen = false;
    for (int kill = 0; kill < 4; ++kill) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(kChildFolder, dir.path());
        env.insert(kChildEntryVariable, "save-until-killed");
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);  // a child that fails says why
        child.start(QCoreApplication::applicationFilePath(), {});
        ASSERT_TRUE(child.waitForStarted(5000));
        // Once the child has saved at least once, it is killed somewhere inside a later save.
        while (!child.readAllStandardOutput().contains("saved")) ASSERT_TRUE(child.waitForReadyRead(10000));
        QThread::msleep(std::uniform_int_distribution<unsigned>(0, 40)(random));
        child.kill();
        ASSERT_TRUE(child.waitForFinished(5000));
        ASSERT_EQ(child.exitStatus(), QProcess::CrashExit) << "the child stopped by itself";

        EXPECT_TRUE(isWhole(PadTestFiles::Read(folder + "/big.pad"))) << "after kill " << kill;
        const AnsiString backup = PadTestFiles::Read(folder + "/big.p~d");
        if (backupSeen || !backup.empty()) {
            EXPECT_TRUE(isWhole(backup)) << "backup after kill " << kill;
        }
        backupSeen = backupSeen || !backup.empty();
    }
}
