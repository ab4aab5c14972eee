// vantorel-cli over a real MIDI stack: a private JACK server, vantorel-sim on
// its ports, and the built program run as a user runs it, the simulator's
// ports named as `ports` prints them.
#include <signal.h>

#include <QElapsedTimer>
#include <QTest>

#include "cli/CliFixture.h"
#include "cli/ExitCodes.h"
#include "e2e/JackRig.h"

namespace vantorel::test {
namespace {

class CliJack : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!e2e::CJackRig::JackdInstalled())
            GTEST_SKIP() << "jackd is not installed";
        std::string error;
        ASSERT_TRUE(m_rig.StartServer(error)) << error;
        ASSERT_TRUE(m_rig.StartSim(VANTOREL_SIM_PATH, Path("sim.img"), {}, error)) << error;
    }
    void TearDown() override { m_rig.Stop(HasFailure()); }

    QString Path(const QString& name) const { return m_dir.path() + "/" + name; }
    QStringList Ports() const
    {
        const QString sim = QString::fromStdString(m_rig.SimName());
        return {"--midi-in", sim + ":out", "--midi-out", sim + ":in"};
    }
    CProgramRun Cli(QStringList args) { return RunProgram(args << Ports()); }

    // Every file of the backup in dir against the simulator's memory now.
    void ExpectSimHolds(const QString& dir)
    {
        CSimDevice device;
        std::string error;
        ASSERT_TRUE(m_rig.ReadSimMemory(device, error)) << error;
        for (const CDocKind* pKind : DocumentKinds().All()) {
            std::string why;
            const auto file =
                cli::LoadLibraryFile((dir + "/" + pKind->BackupFile()).toStdString(), pKind, error);
            ASSERT_TRUE(file) << error;
            EXPECT_TRUE(DeviceHolds(device, *pKind, *file->pDoc, why)) << why;
        }
    }

    QTemporaryDir m_dir;
    e2e::CJackRig m_rig;
};

TEST_F(CliJack, BackupVerifyAndRestoreAgainstTheSimulatorsMemory)
{
    const CProgramRun backup = Cli({"backup", Path("set"), "--quiet"});
    ASSERT_EQ(backup.nExit, cli::kExitDone) << backup.err;
    ASSERT_NO_FATAL_FAILURE(ExpectSimHolds(Path("set")));

    // The simulator's memory changes under the backup: two patches and a pattern.
    CSimDevice device;
    std::string error;
    ASSERT_TRUE(m_rig.ReadSimMemory(device, error)) << error;
    CSimDevice::SetName(device.Patch(70).data(), "Changed B17");
    device.Patch(3)[120] ^= 0x01;
    device.Pattern(3).m_data = {5, 6, 7};
    ASSERT_TRUE(device.SaveImage(Path("changed.img").toStdString(), &error)) << error;
    ASSERT_TRUE(m_rig.StartSim(VANTOREL_SIM_PATH, Path("sim.img"), {"--image", Path("changed.img")}, error))
        << error;

    const CProgramRun patches = Cli({"verify", Path("set/patch.pat"), "--quiet"});
    EXPECT_EQ(patches.nExit, cli::kExitDiffers) << patches.err;
    std::vector<std::string> lines = Lines(patches.out);
    ASSERT_EQ(lines.size(), 3u) << patches.out;
    EXPECT_EQ(lines[0].rfind("patch A14 differs", 0), 0u) << lines[0];
    EXPECT_EQ(lines[1].rfind("patch B17 differs", 0), 0u) << lines[1];
    const CProgramRun patterns = Cli({"verify", Path("set/pattern.ptn"), "--quiet"});
    EXPECT_EQ(patterns.nExit, cli::kExitDiffers) << patterns.err;
    lines = Lines(patterns.out);
    ASSERT_EQ(lines.size(), 2u) << patterns.out;
    EXPECT_EQ(lines[0].rfind("pattern " + PatternKind().EntryLabel(3) + " differs", 0), 0u) << lines[0];
    const CProgramRun same = Cli({"verify", Path("set/system.syp"), "--quiet"});
    EXPECT_EQ(same.nExit, cli::kExitDone) << same.err;

    const CProgramRun restore = Cli({"restore", Path("set"), "--quiet"});
    ASSERT_EQ(restore.nExit, cli::kExitDone) << restore.err;
    ExpectSimHolds(Path("set"));
}

TEST_F(CliJack, CtrlCDuringABackupExits130AndLeavesTheFiles)
{
    const std::string lastNight = "the backup of last night";
    QDir().mkpath(Path("set"));
    QFile old(Path("set/patch.pat"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(lastNight.c_str());
    old.close();

    QProcess p;
    p.start(VANTOREL_CLI_PATH, QStringList{"backup", Path("set")} << Ports());
    ASSERT_TRUE(p.waitForStarted());
    // Stop it once some patches have arrived (one line each: stderr is a pipe).
    QByteArray err;
    QElapsedTimer t;
    t.start();
    while (!err.contains("got patch A21") && t.elapsed() < 60000 && p.state() == QProcess::Running) {
        p.waitForReadyRead(100);
        err += p.readAllStandardError();
    }
    ASSERT_TRUE(err.contains("got patch A21")) << err.toStdString();
    ::kill(pid_t(p.processId()), SIGINT);
    ASSERT_TRUE(p.waitForFinished(10000));
    err += p.readAllStandardError();
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), cli::kExitInterrupted) << err.toStdString();
    EXPECT_TRUE(err.contains("Stopped by the user")) << err.toStdString();
    EXPECT_EQ(FileBytes(Path("set/patch.pat")), std::vector<uint8_t>(lastNight.begin(), lastNight.end()));
    EXPECT_FALSE(QFile::exists(Path("set/performance.pfm")));
}

} // namespace
} // namespace vantorel::test
