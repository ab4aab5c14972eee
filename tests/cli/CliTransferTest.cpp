// vantorel-cli's transfers in process over the built-in simulator (device 0)
// on the virtual clock: whole kinds and single entries both ways, backup and
// restore, verify, a silent device, Ctrl+C, and refusals before anything is sent.
#include <QDir>
#include <QFile>

#include "cli/CliFixture.h"
#include "cli/ExitCodes.h"
#include "cli/SysExFile.h"
#include "framework/ScratchMount.h"
#include "framework/core/Profile.h"
#include "transfer/SysExExport.h"

namespace vantorel::test {
namespace {

std::string Name(const CSimDevice& device, int nPatch)
{
    return CSimDevice::GetName(device.Patch(nPatch).data());
}

TEST_F(CliInProcess, BackupFetchesAllFiveKindsAsTheDeviceHoldsThem)
{
    m_device.Pattern(5).m_data = {1, 2, 3, 4, 5, 6, 7};
    m_device.Motion(2).m_data.assign(500, 0x11); // more than one packet
    ASSERT_EQ(RunOnSim({"backup", Path("nightly"), "--quiet"}), cli::kExitDone) << m_err.str();
    EXPECT_EQ(m_err.str(), "");
    for (const CDocKind* pKind : DocumentKinds().All()) {
        std::string error, why;
        const std::optional<cli::CLoadedFile> file =
            cli::LoadLibraryFile(Path("nightly/") + pKind->BackupFile(), pKind, error);
        ASSERT_TRUE(file) << error;
        EXPECT_TRUE(DeviceHolds(m_device, *pKind, *file->pDoc, why)) << why;
    }
    EXPECT_FALSE(m_sim.IsInOpen());
    EXPECT_EQ(m_sim.GetOpenOutCount(), 0u);
}

TEST_F(CliInProcess, RestoreBringsBackWhatABackupHeld)
{
    ASSERT_EQ(RunOnSim({"backup", Path("gig"), "--quiet"}), cli::kExitDone) << m_err.str();
    const CSimDevice before = m_device;
    CSimDevice::SetName(m_device.Patch(3).data(), "Changed");
    m_device.Performance(9)[20] ^= 0x7F;
    m_device.System()[30] ^= 0x01;
    m_device.Pattern(40).m_data = {9, 9, 9};
    m_device.Motion(1).m_nValue = 77;
    ASSERT_EQ(RunOnSim({"restore", Path("gig"), "--quiet"}), cli::kExitDone) << m_err.str();
    for (const CDocKind* pKind : DocumentKinds().All()) {
        std::string error, why;
        const std::optional<cli::CLoadedFile> file =
            cli::LoadLibraryFile(Path("gig/") + pKind->BackupFile(), pKind, error);
        ASSERT_TRUE(file) << error;
        EXPECT_TRUE(DeviceHolds(m_device, *pKind, *file->pDoc, why)) << why;
    }
    EXPECT_EQ(m_device.Pattern(40), before.Pattern(40));
}

TEST_F(CliInProcess, GetAndSendOfOneEntryMoveExactlyThatEntry)
{
    ASSERT_EQ(RunOnSim({"get", "patch", "-o", Path("bank.pat"), "--quiet"}), cli::kExitDone) << m_err.str();
    const std::vector<uint8_t> whole = FileBytes(QString::fromStdString(Path("bank.pat")));

    // get patch B17 into the bank: B17 changes in the file, nothing else.
    CSimDevice::SetName(m_device.Patch(70).data(), "New B17");
    CSimDevice::SetName(m_device.Patch(71).data(), "New B18");
    m_nSent = 0;
    ASSERT_EQ(RunOnSim({"get", "patch", "B17", "-o", Path("bank.pat"), "--quiet"}), cli::kExitDone)
        << m_err.str();
    EXPECT_EQ(m_nSent, 1);
    auto bank = Load<CPatchDoc>(Path("bank.pat"), PatchKind());
    ASSERT_TRUE(bank);
    EXPECT_EQ(bank->m_aPatch[70].GetName(), "New B17         ");
    EXPECT_NE(bank->m_aPatch[71].GetName(), "New B18         ");
    std::vector<uint8_t> expected = whole;
    const size_t at = kFileHeaderSize + 70 * CPatchRecord::kSize;
    std::memcpy(expected.data() + at, m_device.Patch(70).data(), CPatchRecord::kSize);
    EXPECT_EQ(FileBytes(QString::fromStdString(Path("bank.pat"))), expected);

    // send FILE B17: one data set, and only B17 changes on the device.
    CSimDevice::SetName(m_device.Patch(70).data(), "Device B17");
    const CSimDevice before = m_device;
    m_nSent = 0;
    ASSERT_EQ(RunOnSim({"send", Path("bank.pat"), "b17", "--quiet"}), cli::kExitDone) << m_err.str();
    EXPECT_EQ(m_nSent, 1);
    EXPECT_EQ(Name(m_device, 70), "New B17         ");
    for (int n = 0; n < 128; ++n) {
        if (n != 70) {
            EXPECT_EQ(m_device.Patch(n), before.Patch(n)) << n;
        }
    }
}

// A .syx written by get holds the device's memory as data sets; convert turns
// it into the library file a get writes, and that file back into the same bytes.
TEST_F(CliInProcess, GetIntoASysExFileAndConvertBackAndForthKeepEveryByte)
{
    m_device.Pattern(5).m_data = {1, 2, 3, 4, 5, 6, 7};
    m_device.Motion(2).m_data.assign(500, 0x11); // more than one packet
    for (const CDocKind* pKind : DocumentKinds().All()) {
        SCOPED_TRACE(pKind->Word());
        const std::string syx = Path(std::string(pKind->Word()) + ".syx");
        const std::string library = Path(std::string(pKind->Word()) + pKind->Extension());
        ASSERT_EQ(RunOnSim({"get", pKind->Word(), "-o", syx, "--quiet"}), cli::kExitDone) << m_err.str();
        const std::vector<uint8_t> dump = FileBytes(QString::fromStdString(syx));
        ASSERT_GT(dump.size(), 2u);
        EXPECT_EQ(dump.front(), 0xF0);
        EXPECT_EQ(dump.back(), 0xF7);

        ASSERT_EQ(Run({"convert", syx, library}), cli::kExitDone) << m_err.str();
        std::string error, why;
        const std::optional<cli::CLoadedFile> file = cli::LoadLibraryFile(library, pKind, error);
        ASSERT_TRUE(file) << error;
        EXPECT_TRUE(DeviceHolds(m_device, *pKind, *file->pDoc, why)) << why;

        ASSERT_EQ(Run({"convert", library, Path("again.syx")}), cli::kExitDone) << m_err.str();
        EXPECT_EQ(FileBytes(QString::fromStdString(Path("again.syx"))), dump);
    }
    // One entry: a file of that entry alone, which converts into a bank
    // holding it and defaults elsewhere.
    ASSERT_EQ(RunOnSim({"get", "patch", "B17", "-o", Path("b17.syx"), "--quiet"}), cli::kExitDone)
        << m_err.str();
    ASSERT_EQ(Run({"convert", Path("b17.syx"), Path("b17.pat")}), cli::kExitDone) << m_err.str();
    auto bank = Load<CPatchDoc>(Path("b17.pat"), PatchKind());
    ASSERT_TRUE(bank);
    const CPatchDoc defaults;
    for (int n = 0; n < 128; ++n) {
        const uint8_t* pWanted = n == 70 ? m_device.Patch(70).data() : defaults.m_aPatch[size_t(n)].Data();
        EXPECT_EQ(std::memcmp(bank->m_aPatch[size_t(n)].Data(), pWanted, CPatchRecord::kSize), 0) << n;
    }
}

TEST_F(CliInProcess, VerifyListsExactlyTheEntriesThatDifferAndExitsOne)
{
    ASSERT_EQ(RunOnSim({"get", "patch", "-o", Path("bank.pat"), "--quiet"}), cli::kExitDone) << m_err.str();
    ASSERT_EQ(RunOnSim({"verify", Path("bank.pat"), "--quiet"}), cli::kExitDone) << m_err.str();
    EXPECT_EQ(Lines(m_out.str()).size(), 1u) << m_out.str();

    CSimDevice::SetName(m_device.Patch(0).data(), "Changed A11");
    m_device.Patch(127)[100] ^= 0x01;
    ASSERT_EQ(RunOnSim({"verify", Path("bank.pat"), "--quiet"}), cli::kExitDiffers) << m_err.str();
    const std::vector<std::string> lines = Lines(m_out.str());
    ASSERT_EQ(lines.size(), 3u) << m_out.str();
    EXPECT_EQ(lines[0].rfind("patch A11 differs", 0), 0u) << lines[0];
    EXPECT_NE(lines[0].find("Changed A11"), std::string::npos);
    EXPECT_EQ(lines[1].rfind("patch B88 differs", 0), 0u) << lines[1];
    EXPECT_NE(lines[2].find("2 of 128 entries differ"), std::string::npos) << lines[2];
}

// diff reads library and .syx files alike: one line per entry that differs
// (names of A, then of B), a summary per kind, exit 1 when anything differs.
TEST_F(CliInProcess, DiffListsEachEntryThatDiffersAndExitsOneWhenAnyDoes)
{
    CPatchDoc a, b;
    for (int n = 0; n < 128; ++n) {
        a.m_aPatch[size_t(n)].m_data[20] = uint8_t(n); // a sound of its own
        a.m_aPatch[size_t(n)].SetName("P" + std::to_string(n));
    }
    b.m_aPatch = a.m_aPatch;
    std::swap(b.m_aPatch[2], b.m_aPatch[5]);
    b.m_aPatch[7].SetName("Renamed");
    b.m_aPatch[9].SetSignedPair(CPatchRecord::kFirstBlockOffset, 3);
    std::string error;
    ASSERT_TRUE(cli::SaveLibraryFile(Path("a.pat"), a, error)) << error;
    ASSERT_TRUE(cli::SaveLibraryFile(Path("b.pat"), b, error)) << error;
    ASSERT_TRUE(cli::SaveSysExFile(Path("b.syx"), b, std::nullopt, error)) << error;
    ASSERT_TRUE(cli::SaveSysExFile(Path("a9.syx"), a, 9, error)) << error;
    ASSERT_TRUE(cli::SaveSysExFile(Path("b9.syx"), b, 9, error)) << error;
    const std::string both = Path("a9.syx") + ".both";
    {
        std::vector<uint8_t> joined = FileBytes(QString::fromStdString(Path("a9.syx")));
        const std::vector<uint8_t> more = FileBytes(QString::fromStdString(Path("b.syx")));
        joined.insert(joined.end(), more.begin(), more.begin() + 251); // b's A11, one data set
        QFile f(QString::fromStdString(both + ".syx"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(reinterpret_cast<const char*>(joined.data()), qint64(joined.size()));
    }
    const struct {
        std::vector<std::string> args;
        int nExit;
        std::vector<std::string> lines;
    } cases[] = {
        {{"diff", Path("a.pat"), Path("a.pat")},
         cli::kExitDone,
         {Path("a.pat") + " and " + Path("a.pat") + " hold the same 128 patch entries."}},
        {{"diff", Path("a.pat"), Path("b.syx")},
         cli::kExitDiffers,
         {"patch A13 moved to A16: 'P2' / 'P2'", "patch A16 moved to A13: 'P5' / 'P5'",
          "patch A18 name only: 'P7' / 'Renamed'", "patch A22 differs (2 bytes): 'P9' / 'P9'",
          Path("a.pat") + " and " + Path("b.syx") + ": 4 of 128 patch entries differ."}},
        {{"diff", Path("b9.syx"), both + ".syx"},
         cli::kExitDiffers,
         {"patch A11 only in " + both + ".syx: 'P0'", "patch A22 differs (2 bytes): 'P9' / 'P9'",
          Path("b9.syx") + " and " + both + ".syx: 2 of 128 patch entries differ."}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[2]);
        EXPECT_EQ(Run(c.args), c.nExit) << m_err.str();
        EXPECT_EQ(Lines(m_out.str()), c.lines);
        EXPECT_EQ(m_err.str(), "");
    }
}

TEST_F(CliInProcess, ASilentDeviceEndsInExitThreeNamingTheEntryAndLeavesTheFile)
{
    // The first ten patches answer, then the device falls silent.
    ASSERT_EQ(RunOnSim({"get", "patch", "-o", Path("bank.pat"), "--quiet"}), cli::kExitDone) << m_err.str();
    const std::vector<uint8_t> old = FileBytes(QString::fromStdString(Path("bank.pat")));
    CSimDevice::SetName(m_device.Patch(10).data(), "Newer");
    int nAnswers = 0;
    int nUnanswered = 0; // requests after the device fell silent
    m_sim.SetTrafficHook([&](CSimMidiService::EDirection dir, const std::vector<uint8_t>&) {
        if (dir != CSimMidiService::EDirection::Out && ++nAnswers == 10)
            m_sim.Faults().m_nDropEvery = 1;
        else if (dir == CSimMidiService::EDirection::Out && m_sim.Faults().m_nDropEvery)
            ++nUnanswered;
    });
    EXPECT_EQ(RunOnSim({"get", "patch", "-o", Path("bank.pat"), "--retries", "2", "--keep-partial"}),
              cli::kExitMidi);
    EXPECT_EQ(nUnanswered, 3); // the request and its two repeats, no more
    const std::vector<std::string> lines = Lines(m_err.str());
    ASSERT_FALSE(lines.empty());
    // The devices, one line per entry that arrived (stderr is no terminal
    // here), then the message and the partial file.
    EXPECT_EQ(lines[0],
              "Getting patch: MIDI in KQ-3300 Simulator (device 0), MIDI out KQ-3300 Simulator (device 0)");
    EXPECT_EQ(lines[1], "got patch A11");
    const std::string& message = lines[lines.size() - 2];
    EXPECT_NE(message.find(
                  "patch A23: no answer from KQ-3300 Simulator after 2 repeats (sent to KQ-3300 Simulator)"),
              std::string::npos)
        << m_err.str();
    EXPECT_EQ(FileBytes(QString::fromStdString(Path("bank.pat"))), old);
    auto partial = Load<CPatchDoc>(Path("bank.pat.partial"), PatchKind());
    ASSERT_TRUE(partial);
    EXPECT_EQ(partial->m_aPatch[9].GetName(), Name(m_device, 9));
    EXPECT_FALSE(m_sim.IsInOpen());
    EXPECT_EQ(m_sim.GetOpenOutCount(), 0u);

    // A pattern's value that never comes: the run stops asking and waits; patience runs out all the same.
    EXPECT_EQ(RunOnSim({"get", "pattern", "-o", Path("set.ptn"), "--retries", "2", "--quiet"}),
              cli::kExitMidi);
    EXPECT_NE(m_err.str().find("pattern C#2: no answer"), std::string::npos) << m_err.str();
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Path("set.ptn"))));
    EXPECT_FALSE(m_sim.IsInOpen());
}

TEST_F(CliInProcess, ADeviceThatGoesAwayIsOneMessageFromTheRunAndExitThree)
{
    ASSERT_EQ(RunOnSim({"get", "patch", "-o", Path("bank.pat"), "--quiet"}), cli::kExitDone) << m_err.str();
    const std::vector<uint8_t> old = FileBytes(QString::fromStdString(Path("bank.pat")));
    const std::string sorry = "vantorel-cli: KQ-3300 Simulator (device 0) ";

    // A send: the seventeen before it went, and the message says so.
    m_sim.m_nFailFrom = 18;
    m_sim.m_nLong = 0;
    EXPECT_EQ(RunOnSim({"send", Path("bank.pat"), "--quiet"}), cli::kExitMidi);
    EXPECT_EQ(Lines(m_err.str()), std::vector<std::string>{
                                      sorry + "stopped taking data: sent 17 of 128 patches. Check that it is "
                                              "connected and switched on, then send again."});

    // A get asks again as often as --retries allows, then says what the port said, once.
    m_sim.m_nFailFrom = 6;
    m_sim.m_nLong = 0;
    m_nSent = 0;
    EXPECT_EQ(RunOnSim({"get", "patch", "-o", Path("bank.pat"), "--retries", "2", "--quiet"}),
              cli::kExitMidi);
    const std::vector<std::string> lines = Lines(m_err.str());
    ASSERT_EQ(lines.size(), 1u) << m_err.str();
    EXPECT_EQ(lines[0].rfind(sorry + "stopped working: ", 0), 0u) << lines[0];
    EXPECT_EQ(m_sim.m_nLong, 8); // five answered, then the request and its two repeats
    EXPECT_EQ(FileBytes(QString::fromStdString(Path("bank.pat"))), old);
    EXPECT_FALSE(m_sim.IsInOpen());
    EXPECT_EQ(m_sim.GetOpenOutCount(), 0u);
    m_sim.m_nFailFrom = 0;
}

TEST_F(CliInProcess, StoppingABackupClosesThePortsWritesNothingAndExits130)
{
    ASSERT_EQ(RunOnSim({"backup", Path("old"), "--quiet"}), cli::kExitDone) << m_err.str();
    const std::vector<uint8_t> old = FileBytes(QString::fromStdString(Path("old/patch.pat")));
    CSimDevice::SetName(m_device.Patch(0).data(), "Changed");
    int nAnswers = 0;
    m_sim.SetTrafficHook([&](CSimMidiService::EDirection dir, const std::vector<uint8_t>&) {
        if (dir != CSimMidiService::EDirection::Out)
            ++nAnswers;
    });
    m_stopWhen = [&] { return nAnswers >= 150; }; // inside the performance bank
    EXPECT_EQ(RunOnSim({"backup", Path("old"), "--quiet"}), cli::kExitInterrupted);
    EXPECT_NE(m_err.str().find("Stopped by the user"), std::string::npos) << m_err.str();
    EXPECT_EQ(FileBytes(QString::fromStdString(Path("old/patch.pat"))), old);
    EXPECT_FALSE(m_sim.IsInOpen());
    EXPECT_EQ(m_sim.GetOpenOutCount(), 0u);
}

TEST_F(CliInProcess, NothingIsSentWhenAFileOrAnEntryIsRefused)
{
    ASSERT_EQ(RunOnSim({"backup", Path("set"), "--quiet"}), cli::kExitDone) << m_err.str();
    m_nSent = 0;
    // An entry the file's kind does not have.
    EXPECT_EQ(RunOnSim({"send", Path("set/patch.pat"), "C#2"}), cli::kExitUsage);
    EXPECT_EQ(Lines(m_err.str()).size(), 1u) << m_err.str();
    // A restore whose motion file is really a pattern file: the four good files are not sent either.
    ASSERT_TRUE(QFile::remove(QString::fromStdString(Path("set/motion.mtn"))));
    ASSERT_TRUE(QFile::copy(QString::fromStdString(Path("set/pattern.ptn")),
                            QString::fromStdString(Path("set/motion.mtn"))));
    EXPECT_EQ(RunOnSim({"restore", Path("set")}), cli::kExitFile);
    EXPECT_NE(m_err.str().find("holds pattern data, not motion data"), std::string::npos) << m_err.str();
    // A pattern holding a byte the device cannot take.
    auto patterns = Load<CPatternDoc>(Path("set/pattern.ptn"), PatternKind());
    ASSERT_TRUE(patterns);
    patterns->m_aPattern[3].SetData(std::vector<uint8_t>{1, 0x90, 2});
    std::string error;
    ASSERT_TRUE(cli::SaveLibraryFile(Path("bad.ptn"), *patterns, error)) << error;
    EXPECT_EQ(RunOnSim({"send", Path("bad.ptn")}), cli::kExitFile);
    EXPECT_NE(m_err.str().find("Pattern 4 holds bytes"), std::string::npos) << m_err.str();
    EXPECT_EQ(m_nSent, 0);
}

// An empty library file opens in the program as a new document of its kind;
// the command line reads it so too (the kind asked for, else its extension's).
TEST_F(CliInProcess, AnEmptyLibraryFileReadsAsANewDocumentOfItsKind)
{
    for (const CDocKind* pKind : DocumentKinds().All()) {
        const std::string path = Path("empty") + pKind->Extension();
        QFile empty(QString::fromStdString(path));
        ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
        empty.close();
        std::string error;
        const std::optional<cli::CLoadedFile> file = cli::LoadLibraryFile(path, nullptr, error);
        ASSERT_TRUE(file) << error;
        EXPECT_EQ(file->pKind, pKind);
        EXPECT_EQ(file->pDoc->SnapshotEntries(), pKind->NewDocument()->SnapshotEntries());
    }
    QFile other(QString::fromStdString(Path("empty.txt")));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.close();
    EXPECT_EQ(Run({"info", Path("empty.txt")}), cli::kExitFile);
    EXPECT_NE(m_err.str().find("is not a library file"), std::string::npos) << m_err.str();
}

// A stored patch, performance or system file may hold bytes after its body:
// info, convert and send read the body alone, never the rest, and say nothing of it.
TEST_F(CliInProcess, BytesAfterAFixedBodyAreNeverReadAndCauseNoMessage)
{
    ASSERT_EQ(RunOnSim({"backup", Path("set"), "--quiet"}), cli::kExitDone) << m_err.str();
    m_device.System()[30] ^= 0x01;
    const std::string path = Path("set/system.syp");
    std::string error, why;
    const std::optional<cli::CLoadedFile> body = cli::LoadLibraryFile(path, &SystemKind(), error);
    ASSERT_TRUE(body) << error;
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const qint64 nBody = file.size();
    // Sparse: reading it whole would fill memory.
    ASSERT_TRUE(file.seek(nBody) && file.write("\x12\xF7", 1) == 1 &&
                file.resize(nBody + (qint64(1536) << 20)));
    file.close();

    EXPECT_EQ(Run({"info", path}), cli::kExitDone) << m_err.str();
    EXPECT_EQ(Run({"convert", path, path + ".syx"}), cli::kExitDone) << m_err.str();
    EXPECT_EQ(RunOnSim({"send", path, "--quiet"}), cli::kExitDone) << m_err.str();
    EXPECT_EQ(m_err.str(), "");
    EXPECT_TRUE(DeviceHolds(m_device, SystemKind(), *body->pDoc, why)) << why;
}

// A pattern larger than the 16,384 bytes the synthesizer keeps for it would
// run into the next pattern's memory: such a file opens, but neither send,
// restore nor convert lets it out.
TEST_F(CliInProcess, APatternLargerThanItsMemoryOpensButIsNeitherSentNorConverted)
{
    ASSERT_EQ(RunOnSim({"backup", Path("set"), "--quiet"}), cli::kExitDone) << m_err.str();
    auto patterns = Load<CPatternDoc>(Path("set/pattern.ptn"), PatternKind());
    ASSERT_TRUE(patterns);
    patterns->m_aPattern[0].SetData(std::vector<uint8_t>(20000, 0x15));
    std::string error;
    ASSERT_TRUE(cli::SaveLibraryFile(Path("set/pattern.ptn"), *patterns, error)) << error;
    ASSERT_TRUE(cli::SaveLibraryFile(Path("over.ptn"), *patterns, error)) << error;
    const CSimDevice before = m_device;

    ASSERT_EQ(Run({"info", Path("over.ptn")}), cli::kExitDone) << m_err.str();
    EXPECT_NE(m_out.str().find("C#2    PATTERN 1, 20000 bytes"), std::string::npos) << m_out.str();
    m_nSent = 0;
    const char* const says =
        "Pattern 1 holds 20000 bytes, more than the 16384 bytes the KQ-3300 keeps for it";
    for (const std::vector<std::string>& args : {std::vector<std::string>{"send", Path("over.ptn"), "C#2"},
                                                 {"send", Path("over.ptn")},
                                                 {"restore", Path("set")},
                                                 {"convert", Path("over.ptn"), Path("over.syx")}}) {
        SCOPED_TRACE(args[0]);
        EXPECT_EQ(args[0] == "convert" ? Run(args) : RunOnSim(args), cli::kExitFile);
        EXPECT_EQ(Lines(m_err.str()).size(), 1u) << m_err.str();
        EXPECT_NE(m_err.str().find(says), std::string::npos) << m_err.str();
    }
    EXPECT_EQ(m_nSent, 0);
    EXPECT_EQ(m_device.SaveImageBytes(), before.SaveImageBytes());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Path("over.syx"))));
}

// convert from a .syx file sums up what it took and skipped, as Import does, and exits 1 unless
// --lenient; a file made for another device ID is named, and taken only with --any-device.
TEST_F(CliInProcess, ConvertFromSysExSaysWhatItSkippedAndTakesAnotherDeviceIdOnlyWhenAsked)
{
    CPatchDoc bank;
    for (int n = 0; n < 128; ++n)
        bank.m_aPatch[size_t(n)].SetName("Bank " + std::to_string(n));
    const std::vector<std::vector<uint8_t>> sets = ExportSysEx(PatchKind(), bank).messages;
    const auto file = [this](const std::string& name, const std::vector<uint8_t>& bytes) {
        QFile f(QString::fromStdString(Path(name)));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
        return Path(name);
    };
    std::vector<std::vector<uint8_t>> damaged = sets;
    damaged[3][damaged[3].size() - 2] ^= 0x01;                     // wrong checksum
    damaged[5].pop_back();                                         // no F7: the next F0 nests in it
    damaged.push_back({0xF0, 0x41, 0x10, 0x00, 0x06, 0x12, 0x02}); // the file ends inside a message
    const std::string bad = file("bad.syx", JoinSysEx(damaged));

    EXPECT_EQ(Run({"convert", bad, Path("bad.pat")}), cli::kExitSkipped);
    const std::vector<std::string> summary = Lines(m_out.str());
    ASSERT_GE(summary.size(), 5u) << m_out.str();
    EXPECT_EQ(summary[0], "Converted from " + bad + ":");
    EXPECT_EQ(summary[1], "126 patches into " + Path("bad.pat"));
    EXPECT_EQ(summary[3], "3 skipped, for example:");
    EXPECT_EQ(Lines(m_err.str()).size(), 1u) << m_err.str();
    EXPECT_NE(m_err.str().find("--lenient"), std::string::npos) << m_err.str();
    auto converted = Load<CPatchDoc>(Path("bad.pat"), PatchKind());
    ASSERT_TRUE(converted);
    EXPECT_TRUE(converted->m_aPatch[2] == bank.m_aPatch[2]);
    EXPECT_FALSE(converted->m_aPatch[3] == bank.m_aPatch[3]);
    EXPECT_EQ(Run({"convert", bad, Path("bad.pat"), "--lenient"}), cli::kExitDone) << m_err.str();
    EXPECT_EQ(m_err.str(), "");
    EXPECT_EQ(Lines(m_out.str()), summary);

    std::vector<uint8_t> bytes = JoinSysEx(sets);
    for (size_t i = 0; i + 2 < bytes.size(); ++i)
        if (bytes[i] == 0xF0)
            bytes[i + 2] = 0x11; // the device ID is not in the checksum
    const std::string other = file("other.syx", bytes);
    EXPECT_EQ(Run({"convert", other, Path("other.pat")}), cli::kExitFile);
    EXPECT_EQ(Lines(m_err.str()).size(), 1u) << m_err.str();
    EXPECT_NE(m_err.str().find("device ID 0x11"), std::string::npos) << m_err.str();
    EXPECT_NE(m_err.str().find("--any-device"), std::string::npos) << m_err.str();
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Path("other.pat"))));
    EXPECT_EQ(Run({"convert", other, Path("other.pat"), "--any-device"}), cli::kExitDone) << m_err.str();
    EXPECT_EQ(m_out.str(), "Converted from " + other + ":\n128 patches into " + Path("other.pat") + "\n");
    converted = Load<CPatchDoc>(Path("other.pat"), PatchKind());
    ASSERT_TRUE(converted);
    EXPECT_TRUE(converted->m_aPatch == bank.m_aPatch);
}

TEST_F(CliInProcess, FileMessagesSayWhatReallyHappened)
{
    CScratchMount readOnly(Path("ro"), true);
    if (!readOnly.IsMounted())
        GTEST_SKIP() << "cannot mount a tmpfs here";
    const std::string library = std::string(VANTOREL_CORPUS_DIR) + "/patch/new.pat";
    const std::string tooLong = Path(std::string(300, 'x'));
    const struct {
        std::vector<std::string> args;
        std::string strSays;
    } cases[] = {
        {{"get", "patch", "A11", "-o", tooLong + ".pat"}, tooLong + ".pat: the name is too long"},
        {{"backup", tooLong, "--quiet"}, tooLong + ": the name is too long"},
        {{"convert", library, Path("ro/new.syx")}, "new.syx cannot be written: the file system is read-only"},
        {{"backup", Path("ro/nightly"), "--quiet"},
         "nightly cannot be written: the file system is read-only"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.strSays.substr(0, 60));
        EXPECT_EQ(c.args[0] == "convert" ? Run(c.args) : RunOnSim(c.args), cli::kExitFile);
        EXPECT_EQ(Lines(m_err.str()).size(), 1u) << m_err.str();
        EXPECT_NE(m_err.str().find(c.strSays), std::string::npos) << m_err.str();
    }
}

TEST_F(CliInProcess, PortsAreFoundByNumberOrName)
{
    EXPECT_EQ(Run({"get", "system", "txrx", "-o", Path("tx.syp"), "--midi-in", "KQ-3300 Simulator",
                   "--midi-out", "kq-3300 simulator", "--quiet"}),
              cli::kExitDone)
        << m_err.str();
    EXPECT_EQ(Run({"get", "system", "-o", Path("all.syp"), "--midi-in", "0", "--midi-out", "1"}),
              cli::kExitUsage);
    EXPECT_NE(m_err.str().find("There is no MIDI output '1'"), std::string::npos) << m_err.str();
}

TEST_F(CliInProcess, ATransfersSummaryNamesTheDevice)
{
    ASSERT_EQ(RunOnSim({"get", "motion", "-o", Path("m.mtn")}), cli::kExitDone) << m_err.str();
    EXPECT_EQ(Lines(m_err.str()).back(), "Got 4 motions from KQ-3300 Simulator (device 0).");
    ASSERT_EQ(RunOnSim({"send", Path("m.mtn"), "A2"}), cli::kExitDone) << m_err.str();
    const std::vector<std::string> sent = Lines(m_err.str());
    EXPECT_EQ(sent.front(), "Sending motion: MIDI out KQ-3300 Simulator (device 0)");
    EXPECT_EQ(sent.back(), "Sent 1 motion to KQ-3300 Simulator (device 0).");
}

// Without PORT options only a device chosen in the program's MIDI Setup is
// used: never the built-in simulator, nor whatever has the number of a chosen
// device that is away. (No choice at all is a usage error of CliTest.)
TEST_F(CliInProcess, WithoutPortOptionsOnlyTheDeviceChosenInMidiSetupIsUsed)
{
    const auto choose = [](const char* szIn, const char* szOut) {
        WriteProfileInt("MIDI", "MidiInDevice", 0);
        WriteProfileInt("MIDI", "MidiOutDevice", 0);
        WriteProfileString("MIDI", "MidiInName", szIn);
        WriteProfileString("MIDI", "MidiOutName", szOut);
    };
    choose("KQ-3300 Simulator", "KQ-3300 Simulator"); // the simulator, chosen in the program
    EXPECT_EQ(Run({"get", "patch", "-o", Path("sim.pat")}), cli::kExitUsage);
    EXPECT_EQ(Lines(m_err.str()).size(), 1u) << m_err.str();
    EXPECT_NE(
        m_err.str().find("No MIDI input and output chosen for the command line. Run vantorel-cli ports "
                         "for the list, then pass --midi-in and --midi-out with a number or a name from it"),
        std::string::npos)
        << m_err.str();

    // The synthesizer was device 0; the simulator has that number now.
    choose("late:out", "late:in");
    EXPECT_EQ(Run({"get", "patch", "-o", Path("late.pat")}), cli::kExitMidi);
    EXPECT_EQ(m_err.str(),
              "vantorel-cli: The MIDI input chosen in Setup > MIDI Setup, late:out (device 0), is "
              "not available; nothing was sent. Check that it is connected, or pass --midi-in "
              "with a number or a name from vantorel-cli ports.\n");
    EXPECT_EQ(m_nSent, 0);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Path("sim.pat"))));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Path("late.pat"))));
    for (const char* key : {"MidiInDevice", "MidiOutDevice", "MidiInName", "MidiOutName"})
        DeleteProfileKey("MIDI", key);
}

} // namespace
} // namespace vantorel::test
