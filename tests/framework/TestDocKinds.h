#pragma once
// Two small document kinds for testing the document manager and the frames
// without the program's own documents: a file is the 8-byte magic of its kind
// and then a 4-byte body. A view counts its initial updates and handles the
// commands a test gives it.
#include <QFile>
#include <QString>

#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/core/Archive.h"
#include "framework/core/Document.h"
#include "framework/gui/DocManager.h"
#include "framework/gui/DocTemplate.h"
#include "framework/gui/ScrollView.h"
#include "support/FileDialogScript.h"

namespace vantorel::test {

inline constexpr size_t kTestMagicSize = 8;
inline constexpr size_t kTestBodySize = 4;

class CTestDoc : public CDocument {
public:
    explicit CTestDoc(std::string magic) : m_strMagic(std::move(magic)) {}
    LoadResult Serialize(CArchive& ar) override
    {
        if (ar.IsStoring()) {
            ar.Write(m_strMagic.data(), kTestMagicSize);
            ar.Write(m_body.data(), m_body.size());
            return LoadResult::Ok;
        }
        std::array<char, kTestMagicSize> magic{};
        ar.Read(magic.data(), magic.size());
        if (std::memcmp(magic.data(), m_strMagic.data(), kTestMagicSize) != 0)
            return LoadResult::HeaderMismatch;
        std::array<uint8_t, kTestBodySize> body{};
        ar.Read(body.data(), body.size()); // a short body throws before anything changes
        m_body = body;
        return LoadResult::Ok;
    }
    CFileBounds GetFileBounds() const override { return {kTestMagicSize, kTestMagicSize + kTestBodySize}; }
    std::string m_strMagic;
    std::array<uint8_t, kTestBodySize> m_body{{1, 2, 3, 4}}; // the initial contents
};

class CTestView : public CScrollView {
public:
    explicit CTestView(QWidget* parent = nullptr) : CScrollView(parent) {}
    void OnInitialUpdate() override
    {
        ++m_nInitialUpdates;
        CScrollView::OnInitialUpdate();
    }
    // Handles nId; the handler counts calls.
    void Handle(int nId)
    {
        OnCommand(nId, [this, nId] { ++m_calls[nId]; });
    }
    // Handles nId, enabled while enabled() says so.
    void HandleWhen(int nId, std::function<bool()> enabled)
    {
        OnCommand(
            nId, [this, nId] { ++m_calls[nId]; }, [enabled](CCmdUI& ui) { ui.Enable(enabled()); });
    }
    int m_nInitialUpdates = 0;
    std::map<int, int> m_calls;

protected:
    void OnDraw(CDC&) override {}
};

// "Alpha" (.alp, magic ALPHADOC) and "Beta" (.bet, magic BETADOC!) by default.
inline std::unique_ptr<CDocTemplate> MakeTestTemplate(int nId, const std::string& name,
                                                      const std::string& ext, const std::string& magic)
{
    const std::string strings = "\n" + name + "\n" + name + " Kind\n" + name + " Files (*" + ext + ")\n" +
                                ext + "\n" + name + ".Document\n" + name + " Document";
    return std::make_unique<CDocTemplate>(
        nId, strings, [magic] { return std::unique_ptr<CDocument>(std::make_unique<CTestDoc>(magic)); },
        [](QWidget* parent) -> CScrollView* { return new CTestView(parent); });
}

inline const std::string kAlphaMagic = "ALPHADOC";
inline const std::string kBetaMagic = "BETADOC!";

inline void RegisterTestKinds(CDocManager& mgr, int nAlphaId = 130, int nBetaId = 131)
{
    mgr.AddDocTemplate(MakeTestTemplate(nAlphaId, "Alpha", ".alp", kAlphaMagic));
    mgr.AddDocTemplate(MakeTestTemplate(nBetaId, "Beta", ".bet", kBetaMagic));
}

inline void WriteBytes(const QString& path, const std::string& bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes.data(), qint64(bytes.size()));
}

inline std::string ReadBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray b = f.readAll();
    return std::string(b.constData(), size_t(b.size()));
}

} // namespace vantorel::test
