#pragma once
// Answers every message box with one button for its lifetime and keeps the
// texts and button sets, so that a test can say exactly what the user saw.
#include <string>
#include <vector>

#include "framework/core/MessageBox.h"

namespace vantorel {

class CMessageBoxRecorder {
public:
    explicit CMessageBoxRecorder(int answer = IDOK) : m_nAnswer(answer)
    {
        m_previous = SetMessageBoxHandler([this](const std::string& text, unsigned type) {
            m_texts.push_back(text);
            m_types.push_back(type);
            return m_nAnswer;
        });
    }
    ~CMessageBoxRecorder() { SetMessageBoxHandler(m_previous); }
    CMessageBoxRecorder(const CMessageBoxRecorder&) = delete;
    CMessageBoxRecorder& operator=(const CMessageBoxRecorder&) = delete;

    std::vector<std::string> m_texts;
    std::vector<unsigned> m_types;
    int m_nAnswer;

private:
    MessageBoxHandler m_previous;
};

} // namespace vantorel
