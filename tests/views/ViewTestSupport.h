#pragma once
// Shared set-up for the list-window tests: a virtual clock, the in-process
// simulator as the MIDI service (every outgoing message recorded with its
// time), message boxes recorded, an MDI area to hold the windows, and clicks
// at logical list positions (the window scrolls so the point is visible, and
// the click is given in viewport coordinates as the mouse would).
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/core/MessageBox.h"
#include "support/MessageBoxRecorder.h"
#include "framework/core/Profile.h"
#include "framework/core/TimerService.h"
#include "framework/core/VirtualClock.h"
#include "framework/gui/Dialog.h"
#include "framework/gui/ScrollView.h"
#include "midi/MidiService.h"
#include "sim/service/SimMidiService.h"
#include "sim/model/SimDevice.h"
#include "views/CopyBuffer.h"
#include "views/EntryClip.h"
#include "views/ListView.h"
#include "views/ProgramSwitches.h"
#include "support/GuiTestPeers.h"
#include "support/ListViewTestPeer.h"

namespace vantorel::test {

struct CSentMessage {
    int64_t nTimeUs;
    std::vector<uint8_t> bytes;
};

class CViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CTimerService::Install(&m_clock);
        m_pSim = std::make_unique<CSimMidiService>(m_device);
        m_pSim->SetTrafficHook([this](CSimMidiService::EDirection dir, const std::vector<uint8_t>& bytes) {
            if (dir == CSimMidiService::EDirection::Out)
                m_sent.push_back({m_clock.NowUs(), bytes});
        });
        CMidiService::Install(m_pSim.get());
        WriteProfileInt("MIDI", "MidiInDevice", 0);
        WriteProfileInt("MIDI", "MidiOutDevice", 0);
        WriteProfileString("MIDI", "MidiInName", "");
        WriteProfileString("MIDI", "MidiOutName", "");
        CCopyBuffer::Get().Empty();
        CCopyBuffer::Get().SetCursorHost(&m_area);
        SetSendDataSwitch(0);
        m_area.resize(900, 700);
        m_area.show();
        m_pBoxes = std::make_unique<CMessageBoxRecorder>(IDOK);
    }

    void TearDown() override
    {
        CListViewTestPeer::SetPopupHook({});
        CListViewTestPeer::SetDragHook({});
        CDialogTestPeer::SetModalHook({});
        CEntryClip::Get().Forget(); // the next test starts with nothing copied
        QGuiApplication::clipboard()->clear();
        // Windows go first: their ports close through the service.
        for (QMdiSubWindow* sub : m_area.subWindowList())
            delete sub;
        m_docs.clear();
        CCopyBuffer::Get().Empty();
        CCopyBuffer::Get().SetCursorHost(nullptr);
        m_pBoxes.reset();
        CMidiService::Install(nullptr);
        m_pSim.reset();
        CTimerService::Install(nullptr);
    }

    // A window of kind View on a new document of kind Doc, as the document
    // manager makes one.
    template <class View, class Doc>
    View* OpenWindow(Doc** ppDoc = nullptr)
    {
        auto doc = std::make_unique<Doc>();
        auto* view = new View;
        QMdiSubWindow* sub = m_area.addSubWindow(view);
        sub->resize(400, 500);
        doc->AddView(view);
        sub->show();
        view->OnInitialUpdate();
        if (ppDoc)
            *ppDoc = doc.get();
        m_docs.push_back(std::move(doc));
        return view;
    }

    // Scrolls so that the logical point is in view and returns its viewport point.
    static QPoint Show(CScrollView* view, int x, int y)
    {
        const int vpH = view->viewport()->height();
        const int vpW = view->viewport()->width();
        view->ScrollToPosition(QPoint(std::max(0, x - vpW / 2), std::max(0, y - vpH / 2)));
        return QPoint(x, y) - view->GetScrollPosition();
    }
    static void Click(CScrollView* view, int x, int y, unsigned flags = 0)
    {
        CScrollViewTestPeer::LButtonDown(*view, flags | MK_LBUTTON, Show(view, x, y));
    }
    static void ShiftClick(CScrollView* view, int x, int y) { Click(view, x, y, MK_SHIFT); }
    static void RightClick(CScrollView* view, int x, int y)
    {
        CScrollViewTestPeer::RButtonDown(*view, MK_RBUTTON, Show(view, x, y));
    }
    // Right click answered with menu command nId; returns the items shown.
    std::vector<int> RightClickChoose(CScrollView* view, int x, int y, int nId)
    {
        std::vector<int> shown;
        CListViewTestPeer::SetPopupHook([&](const std::vector<CListView::CMenuItem>& items, const QPoint&) {
            for (const auto& item : items)
                shown.push_back(item.nId);
            return nId;
        });
        RightClick(view, x, y);
        CListViewTestPeer::SetPopupHook({});
        return shown;
    }

    // Long messages sent since the last call.
    std::vector<CSentMessage> TakeSent()
    {
        std::vector<CSentMessage> out;
        out.swap(m_sent);
        return out;
    }

    const std::vector<std::string>& Boxes() const { return m_pBoxes->m_texts; }

    CVirtualClock m_clock;
    CSimDevice m_device;
    std::unique_ptr<CSimMidiService> m_pSim;
    std::vector<CSentMessage> m_sent;
    std::unique_ptr<CMessageBoxRecorder> m_pBoxes;
    QMdiArea m_area;
    std::vector<std::unique_ptr<CDocument>> m_docs;
};

// The linear address of a data set or request, from its four wire bytes.
inline uint32_t MessageAddress(const std::vector<uint8_t>& m)
{
    if (m.size() < 10)
        return 0xFFFFFFFF;
    return (uint32_t(m[6]) << 21) | (uint32_t(m[7]) << 14) | (uint32_t(m[8]) << 7) | uint32_t(m[9]);
}

// The data bytes of a data set (between the address and the checksum).
inline std::vector<uint8_t> MessageBody(const std::vector<uint8_t>& m)
{
    if (m.size() < 12)
        return {};
    return std::vector<uint8_t>(m.begin() + 10, m.end() - 2);
}

// y inside a list's row (rows of 16), and inside performance p's double row:
// its middle, its upper half (first patch) or its lower half (second).
constexpr int RowY(int row)
{
    return row * 16 + 5;
}
constexpr int PerfY(int p)
{
    return 32 * p + 10;
}
constexpr int UpperY(int p)
{
    return 32 * p + 4;
}
constexpr int LowerY(int p)
{
    return 32 * p + 20;
}

} // namespace vantorel::test
