#pragma once
// Answers every file dialog from a queue of paths ("" cancels) and keeps the
// requests for inspection, for as long as it lives.
#include <QString>

#include <vector>

#include "framework/gui/FileDialog.h"

namespace vantorel::test {

class CFileDialogScript {
public:
    CFileDialogScript()
    {
        m_previous = SetFileDialogPresenter([this](const CFileDialogRequest& req) {
            m_requests.push_back(req);
            if (m_answers.empty())
                return QString();
            QString a = m_answers.front();
            m_answers.erase(m_answers.begin());
            return a;
        });
    }
    ~CFileDialogScript() { SetFileDialogPresenter(std::move(m_previous)); }
    CFileDialogScript(const CFileDialogScript&) = delete;
    CFileDialogScript& operator=(const CFileDialogScript&) = delete;

    std::vector<QString> m_answers;
    std::vector<CFileDialogRequest> m_requests;

private:
    FileDialogPresenter m_previous;
};

} // namespace vantorel::test
