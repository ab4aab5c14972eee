#pragma once
// What the vantorel-cli tests share: running the built program, running the
// commands in process over the simulator on the virtual clock, and comparing
// library files with the simulator's memory.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "cli/Context.h"
#include "cli/LibraryFile.h"
#include "data/MotionDoc.h"
#include "data/PatchDoc.h"
#include "data/PatternDoc.h"
#include "data/PerformDoc.h"
#include "data/SystemDoc.h"
#include "framework/core/VirtualClock.h"
#include "midi/MidiService.h"
#include "sim/model/SimDevice.h"
#include "sim/service/SimMidiService.h"
#include "transfer/kinds/DocumentKinds.h"
#include "transfer/plans/PatchPlan.h"
#include "transfer/plans/PerformPlan.h"
#include "transfer/plans/SystemPlan.h"
#include "transfer/plans/VarPlan.h"

namespace vantorel::test {

struct CProgramRun {
    int nExit = -1;
    std::string out;
    std::string err;
};

// Runs the built vantorel-cli with a private profile; env: extra variables.
inline CProgramRun RunProgram(const QStringList& args, const QProcessEnvironment& extra = {})
{
    static QTemporaryDir s_config;
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", s_config.path());
    for (const QString& key : extra.keys())
        env.insert(key, extra.value(key));
    p.setProcessEnvironment(env);
    p.start(VANTOREL_CLI_PATH, args);
    CProgramRun run;
    if (!p.waitForFinished(300000))
        return run;
    run.nExit = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    run.out = p.readAllStandardOutput().toStdString();
    run.err = p.readAllStandardError().toStdString();
    return run;
}

inline std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// Every entry of a library file of kind against the device's memory; the
// first difference is described in why.
inline bool DeviceHolds(const CSimDevice& device, const CDocKind& kind, const CDocument& doc,
                        std::string& why)
{
    for (int n = 0; n < kind.EntryCount(); ++n) {
        bool bSame = true;
        if (auto* p = dynamic_cast<const CPatchDoc*>(&doc)) {
            bSame = std::memcmp(&p->m_aPatch[size_t(n)], device.Patch(n).data(), CPatchRecord::kSize) == 0;
        } else if (auto* p = dynamic_cast<const CPerformDoc*>(&doc)) {
            bSame = std::memcmp(&p->m_aPerform[size_t(n)], device.Performance(n).data(),
                                CPerformRecord::kSize) == 0;
        } else if (auto* p = dynamic_cast<const CSystemDoc*>(&doc)) {
            bSame = n > 0 || std::memcmp(p->m_aSystem.data(), device.System().data(), CSystemDoc::kSize) == 0;
        } else {
            const auto* pPatterns = dynamic_cast<const CPatternDoc*>(&doc);
            const CVarEntry& e = pPatterns ? static_cast<const CVarEntry&>(pPatterns->m_aPattern[size_t(n)])
                                           : static_cast<const CMotionDoc&>(doc).m_aMotion[size_t(n)];
            const CSimItem& item = pPatterns ? device.Pattern(n) : device.Motion(n);
            bSame = e.m_byValue == item.m_nValue && e.GetBytes() == item.m_data;
        }
        if (!bSame) {
            why = std::string(kind.Word()) + " " + kind.EntryLabel(n) + " differs";
            return false;
        }
    }
    return true;
}

inline std::vector<uint8_t> FileBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = f.readAll();
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

// The simulator, whose long messages fail from the m_nFailFrom-th on, as a
// device that has gone away (0: never).
class CGoneSimService : public CSimMidiService {
public:
    using CSimMidiService::CSimMidiService;
    MMRESULT OutLongMsg(HMIDIOUT h, MIDIHDR* pHdr) override
    {
        if (m_nFailFrom > 0 && ++m_nLong >= m_nFailFrom)
            return MIDIERR_DISCONNECTED;
        return CSimMidiService::OutLongMsg(h, pHdr);
    }
    int m_nFailFrom = 0;
    int m_nLong = 0;
};

// The commands in process: the simulator as the only MIDI device (0), wire
// speed off, time on the virtual clock.
class CliInProcess : public ::testing::Test {
protected:
    CliInProcess() : m_sim(m_device)
    {
        CTimerService::Install(&m_clock);
        CMidiService::Install(&m_sim);
        m_sim.SetTrafficHook([this](CSimMidiService::EDirection dir, const std::vector<uint8_t>&) {
            if (dir == CSimMidiService::EDirection::Out)
                ++m_nSent;
        });
        m_ctx.backendOf = [](bool, unsigned) { return CDefaultMidiService::EBackend::Simulator; };
        m_ctx.runUntil = [this](const std::function<bool()>& done) {
            m_clock.RunUntil([&] { return done() || m_ctx.bStopRequested || (m_stopWhen && m_stopWhen()); },
                             int64_t(3600) * 1'000'000);
            if (m_stopWhen && m_stopWhen())
                m_ctx.bStopRequested = true;
        };
    }
    ~CliInProcess() override
    {
        CMidiService::Install(nullptr);
        CTimerService::Install(nullptr);
    }

    int Run(const std::vector<std::string>& args)
    {
        m_out.str({});
        m_err.str({});
        m_ctx.bStopRequested = false;
        return cli::RunCli(args, m_ctx);
    }
    // A command on the simulator, asked for on the command line as device 0.
    int RunOnSim(std::vector<std::string> args)
    {
        args.insert(args.end(), {"--midi-in", "0", "--midi-out", "0"});
        return Run(args);
    }

    std::string Path(const std::string& name) const { return (m_dir.path() + "/").toStdString() + name; }

    template <class TDoc>
    std::unique_ptr<TDoc> Load(const std::string& path, const CDocKind& kind)
    {
        std::string error;
        std::optional<cli::CLoadedFile> file = cli::LoadLibraryFile(path, &kind, error);
        EXPECT_TRUE(file) << error;
        if (!file)
            return nullptr;
        return std::unique_ptr<TDoc>(static_cast<TDoc*>(file->pDoc.release()));
    }

    CVirtualClock m_clock;
    CSimDevice m_device;
    CGoneSimService m_sim;
    std::ostringstream m_out;
    std::ostringstream m_err;
    cli::CContext m_ctx{m_out, m_err};
    std::function<bool()> m_stopWhen; // stops the command (as SIGINT would) once it holds
    int m_nSent = 0;                  // messages that reached the simulator
    QTemporaryDir m_dir;
};

} // namespace vantorel::test
