#pragma once
// Ties a document kind to its view and frame: the seven document strings
// (window title, document name, File New name, filter name, extension, file
// type id, file type name), the factories, the kind's menu and icon ids.
#include <functional>
#include <memory>
#include <string>

#include "framework/core/Document.h"

class QWidget;

namespace vantorel {

class CScrollView;

class CDocTemplate {
public:
    enum DocStringIndex {
        windowTitle = 0,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName
    };

    CDocTemplate(int nIdResource, std::string strDocStrings,
                 std::function<std::unique_ptr<CDocument>()> createDoc,
                 std::function<CScrollView*(QWidget* parent)> createView)
        : m_nIdResource(nIdResource), m_strDocStrings(std::move(strDocStrings)),
          m_createDoc(std::move(createDoc)), m_createView(std::move(createView))
    {
    }

    int GetResourceId() const { return m_nIdResource; }
    // One field of the document string ("" when missing).
    std::string GetDocString(DocStringIndex index) const
    {
        size_t start = 0;
        for (int i = 0; i < index; ++i) {
            const size_t nl = m_strDocStrings.find('\n', start);
            if (nl == std::string::npos)
                return {};
            start = nl + 1;
        }
        const size_t end = m_strDocStrings.find('\n', start);
        return m_strDocStrings.substr(start, end == std::string::npos ? std::string::npos : end - start);
    }
    std::unique_ptr<CDocument> CreateDocument() const { return m_createDoc(); }
    CScrollView* CreateView(QWidget* parent) const { return m_createView(parent); }

private:
    int m_nIdResource;
    std::string m_strDocStrings;
    std::function<std::unique_ptr<CDocument>()> m_createDoc;
    std::function<CScrollView*(QWidget*)> m_createView;
};

} // namespace vantorel
