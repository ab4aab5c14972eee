#include "midi/MidiPorts.h"
#include "midi/PortBufferSource.h"

#include <cstring>
#include <new>

#include "framework/core/Settings.h"
#include "midi/DeviceNames.h"
#include "midi/msg/SysEx.h"
#include "res/Strings.h"
#include "res/strings/midi.h"

namespace vantorel {

namespace {

void FromTheHeap(CPortBuffer& buffer)
{
    buffer.m_pHeader.reset(new (std::nothrow) MIDIHDR{});
    buffer.m_pData.reset(new (std::nothrow) uint8_t[sysex::kPortBufferSize]{});
}

PortBufferSource g_pBufferSource = &FromTheHeap;

constexpr uint32_t kShortDataShift1 = 8;
constexpr uint32_t kShortDataShift2 = 16;

void ReplaceAll(std::string& text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

} // namespace

void CPortReports::Report(CPortError error)
{
    if (m_bReported)
        return;
    m_bReported = true;
    if (m_onError)
        m_onError(error);
}

void CPortReports::ReportNoMemory(bool bInput, uint16_t wDevice)
{
    if (m_bNoMemoryTold || !m_onError)
        return;
    m_bNoMemoryTold = true;
    m_onError(CPortError{
        CPortError::EKind::NoMemory, bInput, wDevice, MMSYSERR_NOMEM, res::kCantAllocateHeader, {}});
}

std::string GetPortDeviceName(bool bInput, uint16_t nDevice)
{
    std::string name = bInput ? GetMidiInName(nDevice) : GetMidiOutName(nDevice);
    if (name.empty())
        name = CSettings::ReadMidiDeviceName(bInput ? CSettings::MidiPort::In : CSettings::MidiPort::Out);
    if (name.empty())
        name = bInput ? res::kUnnamedMidiIn : res::kUnnamedMidiOut;
    return name;
}

std::string FormatPortText(const char* szPattern, const std::string& strName, uint16_t nDevice,
                           const std::string& detail)
{
    std::string text = szPattern;
    // The detail first: a device name may itself hold "%3".
    ReplaceAll(text, "%3", detail);
    ReplaceAll(text, "%2", std::to_string(nDevice));
    ReplaceAll(text, "%1", strName);
    return text;
}

std::string FormatPortText(const char* szPattern, bool bInput, uint16_t nDevice, const std::string& detail)
{
    return FormatPortText(szPattern, GetPortDeviceName(bInput, nDevice), nDevice, detail);
}

// ---------------------------------------------------------------- device

void CPortDevice::UseChosenDevice()
{
    const CChosenDevice chosen = m_bInput ? FindChosenMidiIn() : FindChosenMidiOut();
    SetDevice(static_cast<uint16_t>(chosen.nDevice), chosen.strName);
}

void CPortDevice::SetDevice(uint16_t nDevice, std::string strName)
{
    m_wDeviceId = nDevice;
    m_strDeviceName = std::move(strName);
}

std::string CPortDevice::DeviceName() const
{
    return m_strDeviceName.empty() ? GetPortDeviceName(m_bInput, m_wDeviceId) : m_strDeviceName;
}

std::optional<int> CPortDevice::Locate() const
{
    CMidiService& s = CMidiService::Get();
    return LocateDevice(m_bInput ? s.InGetDevNames() : s.OutGetDevNames(), m_wDeviceId, m_strDeviceName);
}

bool CPortDevice::IsAvailable() const
{
    return Locate().has_value();
}

std::string CPortDevice::NotAvailableText() const
{
    return FormatPortText(res::kPortNotAvailable, DeviceName(), m_wDeviceId);
}

bool CPortDevice::LocateNamedDevice()
{
    if (m_strDeviceName.empty())
        return true;
    const std::optional<int> nAt = Locate();
    if (!nAt)
        return false;
    m_wDeviceId = static_cast<uint16_t>(*nAt);
    return true;
}

void SetPortBufferSource(PortBufferSource source)
{
    g_pBufferSource = source ? source : &FromTheHeap;
}

MIDIHDR* CPortBuffer::Allocate()
{
    g_pBufferSource(*this);
    if (!m_pHeader || !m_pData) {
        m_pHeader.reset();
        m_pData.reset();
        return nullptr;
    }
    m_pHeader->lpData = m_pData.get();
    m_pHeader->dwBufferLength = uint32_t(sysex::kPortBufferSize);
    m_pHeader->dwFlags = 0;
    return m_pHeader.get();
}

// ---------------------------------------------------------------- input

CMidiIn::CMidiIn(PortErrorHandler onError) : CPortDevice(true), m_reports(std::move(onError))
{
    m_pHeader = m_buffer.Allocate();
    if (!m_pHeader)
        m_reports.ReportNoMemory(true, m_wDeviceId);
}

CMidiIn::~CMidiIn()
{
    // The owner may be gone already: nobody is told of a failure from here.
    m_reports.SetHandler({});
    if (m_hMidiIn) {
        CMidiService& s = CMidiService::Get();
        // Stop, Reset, Unprepare, Close; the first failure ends it.
        (void)(Check(s.InStop(m_hMidiIn)) && Check(s.InReset(m_hMidiIn)) &&
               (!m_pHeader || Check(s.InUnprepareHeader(m_hMidiIn, m_pHeader))) &&
               Check(s.InClose(m_hMidiIn)));
        m_hMidiIn = nullptr;
    }
}

bool CMidiIn::Check(MMRESULT result)
{
    if (result == MMSYSERR_NOERROR)
        return true;
    // The service's sentence first: naming the device asks the service again.
    const std::string detail = CMidiService::Get().InGetErrorText(result);
    m_reports.Report({CPortError::EKind::CallFailed, true, m_wDeviceId, result,
                      FormatPortText(res::kPortCallFailed, DeviceName(), m_wDeviceId, detail), DeviceName()});
    return false;
}

bool CMidiIn::Open(IMidiNotify* pWnd)
{
    if (m_hMidiIn)
        Close();
    if (m_pHeader)
        m_pHeader->dwFlags = 0;
    else
        m_reports.ReportNoMemory(true, m_wDeviceId);
    CMidiService& s = CMidiService::Get();
    HMIDIIN h = nullptr;
    // A named device listed nowhere is not there, whatever has its number.
    const MMRESULT result = LocateNamedDevice() ? s.InOpen(&h, m_wDeviceId, pWnd) : MMSYSERR_BADDEVICEID;
    if (result != MMSYSERR_NOERROR) {
        m_reports.Report(
            {CPortError::EKind::NotAvailable, true, m_wDeviceId, result, NotAvailableText(), DeviceName()});
        return false;
    }
    m_reports.Opened();
    // The device is open from here on, even if the rest fails.
    m_hMidiIn = h;
    if (!Check(s.InReset(h)))
        return false;
    if (m_pHeader && !(Check(s.InPrepareHeader(h, m_pHeader)) && Check(s.InAddBuffer(h, m_pHeader))))
        return false;
    return Check(s.InStart(h)) && m_pHeader;
}

bool CMidiIn::Requeue()
{
    if (!m_pHeader || !m_hMidiIn)
        return false;
    CMidiService& s = CMidiService::Get();
    return Check(s.InPrepareHeader(m_hMidiIn, m_pHeader)) && Check(s.InAddBuffer(m_hMidiIn, m_pHeader));
}

bool CMidiIn::CheckConnection(std::string& detail)
{
    if (!m_hMidiIn)
        return true;
    CMidiService& s = CMidiService::Get();
    const MMRESULT result = s.InCheckConnection(m_hMidiIn);
    if (result == MMSYSERR_NOERROR)
        return true;
    detail = s.InGetErrorText(result);
    return false;
}

bool CMidiIn::Close()
{
    const HMIDIIN h = m_hMidiIn;
    if (!h)
        return true;
    CMidiService& s = CMidiService::Get();
    m_hMidiIn = nullptr;
    return Check(s.InStop(h)) && Check(s.InReset(h)) &&
           (!m_pHeader || Check(s.InUnprepareHeader(h, m_pHeader))) && Check(s.InClose(h));
}

// ---------------------------------------------------------------- output

CMidiOut::CMidiOut(PortErrorHandler onError) : CPortDevice(false), m_reports(std::move(onError))
{
    m_pHeader = m_buffer.Allocate();
    if (!m_pHeader)
        m_reports.ReportNoMemory(false, m_wDeviceId);
}

CMidiOut::~CMidiOut()
{
    // The owner may be gone already: nobody is told of a failure from here.
    m_reports.SetHandler({});
    if (m_hMidiOut) {
        CMidiService& s = CMidiService::Get();
        // Reset first here (Close unprepares first): a message still in
        // flight is cut off before its header is released.
        (void)(Check(s.OutReset(m_hMidiOut)) &&
               (!m_pHeader || Check(s.OutUnprepareHeader(m_hMidiOut, m_pHeader))) &&
               Check(s.OutClose(m_hMidiOut)));
        m_hMidiOut = nullptr;
    }
}

bool CMidiOut::Check(MMRESULT result)
{
    if (result == MMSYSERR_NOERROR)
        return true;
    const std::string detail = CMidiService::Get().OutGetErrorText(result);
    m_reports.Report({CPortError::EKind::CallFailed, false, m_wDeviceId, result,
                      FormatPortText(res::kPortCallFailed, DeviceName(), m_wDeviceId, detail), DeviceName()});
    return false;
}

void CMidiOut::Refuse(const std::string& text)
{
    m_reports.Report(
        {CPortError::EKind::Refused, false, m_wDeviceId, MMSYSERR_INVALPARAM, text, DeviceName()});
}

bool CMidiOut::Open(IMidiNotify* pWnd)
{
    if (m_hMidiOut)
        Close();
    HMIDIOUT h = nullptr;
    const MMRESULT result =
        LocateNamedDevice() ? CMidiService::Get().OutOpen(&h, m_wDeviceId, pWnd) : MMSYSERR_BADDEVICEID;
    if (result != MMSYSERR_NOERROR) {
        m_reports.Report(
            {CPortError::EKind::NotAvailable, false, m_wDeviceId, result, NotAvailableText(), DeviceName()});
        return false;
    }
    m_hMidiOut = h;
    m_reports.Opened();
    return true;
}

bool CMidiOut::ShortMessage(uint8_t status, uint8_t data1, uint8_t data2)
{
    // A port that never opened has already said so.
    if (!m_hMidiOut)
        return false;
    const uint32_t dwMsg =
        uint32_t(status) | (uint32_t(data1) << kShortDataShift1) | (uint32_t(data2) << kShortDataShift2);
    return Check(CMidiService::Get().OutShortMsg(m_hMidiOut, dwMsg));
}

bool CMidiOut::LongMessage(const uint8_t* bytes, size_t count)
{
    if (!m_pHeader)
        m_reports.ReportNoMemory(false, m_wDeviceId);
    if (!m_pHeader || (!bytes && count) || !m_hMidiOut)
        return false;
    if (count > sysex::kPortBufferSize) {
        Refuse(FormatMidiText(res::kLongMessageTooLong, static_cast<long long>(count)));
        return false;
    }
    if (count)
        std::memcpy(m_pHeader->lpData, bytes, count);
    m_pHeader->dwBufferLength = uint32_t(count);
    m_pHeader->dwUser = reinterpret_cast<uintptr_t>(m_pHeader->lpData);
    m_pHeader->dwFlags = 0;
    CMidiService& s = CMidiService::Get();
    return Check(s.OutPrepareHeader(m_hMidiOut, m_pHeader)) && Check(s.OutLongMsg(m_hMidiOut, m_pHeader));
}

bool CMidiOut::LongMessage(const CSysExMessage& msg)
{
    return LongMessage(msg.data(), msg.size());
}

bool CMidiOut::SendDataRequest(uint32_t address, uint32_t size)
{
    const std::vector<uint8_t> bytes = BuildDataRequest(address, size);
    return LongMessage(bytes.data(), bytes.size());
}

bool CMidiOut::SendDataSet(uint32_t address, const uint8_t* data, size_t count)
{
    if (count > sysex::kMaxDataSetBody) {
        Refuse(FormatMidiText(res::kDataSetTooLong, static_cast<long long>(count)));
        return false;
    }
    const std::vector<uint8_t> bytes = BuildDataSet(address, data, count);
    if (bytes.empty())
        return false;
    return LongMessage(bytes.data(), bytes.size());
}

bool CMidiOut::ReleaseHeader(HMIDIOUT hOut, MIDIHDR* pHeader, CPortError* pError)
{
    if (!pHeader)
        return false;
    const MMRESULT result = CMidiService::Get().OutUnprepareHeader(hOut, pHeader);
    if (result == MMSYSERR_NOERROR)
        return true;
    // Nothing to name here: the done notice only hands the header back.
    if (pError)
        *pError = {
            CPortError::EKind::CallFailed, false, 0, result, CMidiService::Get().OutGetErrorText(result), {}};
    return false;
}

bool CMidiOut::Close()
{
    const HMIDIOUT h = m_hMidiOut;
    if (!h)
        return true;
    CMidiService& s = CMidiService::Get();
    m_hMidiOut = nullptr;
    return (!m_pHeader || Check(s.OutUnprepareHeader(h, m_pHeader))) && Check(s.OutReset(h)) &&
           Check(s.OutClose(h));
}

} // namespace vantorel
